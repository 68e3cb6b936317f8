#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/form_commands.h"
#include "form/form_description.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "platform/windows_text.h"
#include "state/evaluation_state.h"
#include "win32/file_dialogs.h"

#include <shellapi.h>

namespace zeb::win32 {

// The evaluator's one window, drawn with the system's own controls from the form's description.
// Every handler hands its work to the core, and the core drives the controls back through the
// Window interface.
class TForm1 final : public Window {
  public:
    TForm1(HINSTANCE instance, Platform& platform, FileDialogs& fileDialogs);
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    HWND handle() const { return window_; }
    void show(int showCommand);
    void hide();
    bool shown() const;

    // Paths given to the program or dropped onto the window. One log is loaded as "Načti deník"
    // loads the file chosen in its dialog; a folder, or more than one path, is a contest
    // (opensContest) and goes to the contest opener: without one, such a drop does nothing.
    void openPaths(const std::vector<std::string>& paths);
    void setContestOpener(std::function<void(const std::vector<std::string>&)> open) {
        contestOpener_ = std::move(open);
    }

    // Loads a log of the contest with the columns the contest used (FormCommands::
    // useEvaluatedColumns).
    void openEvaluatedLog(const EvaluatedLog& log);
    // What the form is doing, and the log file it reads or read last (UTF-8; empty when the dialog
    // was cancelled): the contest window tells by them why the form asked to end the program.
    FormActivity activity() const { return activity_; }
    const std::string& logFile() const { return logFile_; }
    // Asked when the form's close box is pressed: true when it took the closing upon itself, and
    // the form stays. Without it, or false, the form closes and the program ends, as always.
    void setCloseHook(std::function<bool()> hook) { closeHook_ = std::move(hook); }

    // Tab, Shift+Tab and Ctrl+Tab move through the form's own tab order, which is not the order in
    // which the controls lie on each other. True when the message was taken.
    bool takeKey(const MSG& message);

    // Window. Texts cross as Windows-1250 bytes.
    void setEditText(Edit edit, const std::string& text) override;
    std::string editText(Edit edit) const override;
    void setLabelText(Label label, const std::string& text) override;
    void setEnabled(Control control, bool enabled) override;
    bool only80m() const override;
    void setProgressVisible(bool visible) override;
    void setProgressPosition(int position) override;
    void setCaption(const std::string& caption) override;
    void showConfigurationPage() override;

    // The handlers.
    void FormCreate();
    void Button1Click();
    void nactidenikClick();
    void bvypocetClick();
    void bukladaniClick();
    void Button2Click();
    void Button3Click();
    void ccstart();
    void cistart();
    void c1radek();
    void setcall();
    void setzeb();

  private:
    static LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK containerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK patternEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR form);
    static LRESULT CALLBACK pageControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR form);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id, int code);
    void onDrop(HDROP drop);

    void createControls(HINSTANCE instance);
    HWND createContainer(HINSTANCE instance, HWND parent, const FormControl& control);
    HFONT fontOf(int points);
    void makeFonts();
    void fitMemos();
    void layOut();
    void fitToText(HWND label);
    void syncPages();
    std::string_view activePage() const;
    void moveFocus(bool backwards);
    int scale(int pixels) const;

    HWND byName(std::string_view name) const;
    HWND edit(Edit edit) const;
    HWND label(Label label) const;
    HWND control(Control control) const;

    // Runs a handler so that an exception never crosses into the system: it is shown instead.
    template <typename Work>
    void guarded(Work&& work);
    FileDialog dialog(std::optional<std::string> (FileDialogs::*show)(HWND, const std::string&));
    LoadOutcome load(const std::string& path);

    std::unique_ptr<EvaluationState> state_;
    Platform& platform_;
    FileDialogs& fileDialogs_;
    FormCommands commands_;
    std::function<void(const std::vector<std::string>&)> contestOpener_;
    std::function<bool()> closeHook_;
    FormActivity activity_ = FormActivity::Idle;
    std::string logFile_;
    HWND window_ = nullptr;
    std::vector<HWND> controls_;        // by place in the form's description
    std::map<HWND, HWND> groupFrames_;  // the frame drawn in each group box
    std::map<int, HFONT> fonts_;        // by size in points
    HWND focusWhenDeactivated_ = nullptr;
    UINT dpi_ = 96;
    bool settingText_ = false;
};

}  // namespace zeb::win32
