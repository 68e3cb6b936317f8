#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "contest/workspace/contest_workspace.h"
#include "contest/workspace/waiting_requests.h"
#include "platform/windows_text.h"

#include <richedit.h>

#include "win32/background_work.h"
#include "win32/rich_text.h"

namespace zeb::win32 {

class ContestTableView;
class TForm1;

// The window of a whole contest on Windows: every log of a folder taken in, checked and shown in
// one table with the folder's other files, the details and QSO lines of the selected log below;
// from it a log goes into the form and its changes come back, and the results are published. What
// it shows, what it offers and what it says come from the contest layer; the work runs on a thread
// of its own. Nothing in it ends the program but its own closing when the form is not shown.
class ContestWindow {
  public:
    ContestWindow(HINSTANCE instance, TForm1& form);
    ~ContestWindow();
    ContestWindow(const ContestWindow&) = delete;
    ContestWindow& operator=(const ContestWindow&) = delete;

    HWND handle() const { return window_; }
    // Shows it in front of the program's windows.
    void show(int showCommand = SW_SHOW);
    bool shown() const;

    // Takes in a folder of logs, or the logs named (UTF-8 paths), with the output folder beside
    // them.
    void openPaths(const std::vector<std::string>& paths);
    // Asks for the folder of the logs.
    void chooseLogsFolder();

    // The form asks to end the program (Konec, &Abort at an unknown prefix, a log that its reader
    // refuses): while this window is shown, the form closes instead, once its handler returned,
    // and this window says why. False when the program is to end.
    bool closeFormInsteadOfEnding();
    // The form's close box: while this window is shown the form only hides, and what changed
    // meanwhile is taken back here. False when the form is to close as it always has.
    bool hideClosedForm();

    // The commands.
    void chooseOutputFolder();
    void saveResults();
    void openResults();
    void openSelectedInForm();
    void cancelWork();
    // The evaluator's decisions on the selected log, written into the decisions file of the
    // output folder; the contest is checked again with them.
    void setSelectedAside();
    void decideOnSelected(contest::DecisionKind kind);
    void undoSelectedDecisions();
    // ... and on the QSO selected among its lines (an index into its QSOs).
    void selectQso(std::size_t qso);
    void decideOnSelectedQso(contest::DecisionKind kind);
    void undoSelectedQsoDecisions();

  private:
    using Work = std::function<bool(contest::ContestWorkspace& contest,
                                    const contest::WorkProgress& progress)>;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id, int code);
    LRESULT onNotify(const NMHDR& header);
    void onClose();
    void onQsoLinesMouse(const MSGFILTER& mouse);
    // A menu of the commands (control ids, 0 for a separator), each as its button is now.
    void popUpMenu(const std::vector<int>& commands);

    void createControls(HINSTANCE instance);
    void makeFonts();
    void layOut();
    int scale(int pixels) const;
    HWND control(int id) const { return GetDlgItem(window_, id); }

    // Work on a copy of `base`, shown once the work ran to its end; `done` is then said, and
    // `then` follows. Work that may not stop half-way is not `stoppable`; a work that fails may
    // say why in `failure`.
    void runOnContest(std::shared_ptr<const contest::ContestWorkspace> base, Work work,
                      std::string done, std::function<void()> then = {}, bool stoppable = true,
                      std::shared_ptr<const std::string> failure = nullptr);
    void onWorkDone();
    void afterWork();
    void load(const std::vector<std::string>& paths, const std::string& out);
    void takeBackChanges(std::function<void()> then = {});
    void recheck();
    void publish();
    void closeLater();
    void formClosingDone();

    void showContest(std::shared_ptr<const contest::ContestWorkspace> contest);
    // The details follow the row selected, once its change settled.
    void selectionChanged();
    void showSelected();
    void showQsoLines();
    void changeDecisions(const std::vector<std::size_t>& undone,
                         std::optional<contest::Decision> decision, std::string done);
    void updateCommands();
    void setStatus(const std::string& text);
    int timeWindow() const;
    std::optional<std::size_t> selectedRow() const;  // index into the table's rows
    std::optional<std::size_t> selectedLog() const;
    std::optional<std::size_t> selectedOther() const;
    bool unsaved() const;
    std::string nativePath(const std::string& path) const;

    TForm1& form_;
    HWND window_ = nullptr;
    std::unique_ptr<BackgroundWork> work_;
    std::shared_ptr<const contest::ContestWorkspace> contest_;
    std::weak_ptr<const contest::ContestWorkspace> published_;
    std::unique_ptr<ContestTableView> table_;
    std::optional<std::size_t> detailsOf_;    // the row whose details are shown
    std::optional<std::size_t> selectedQso_;  // ... and the QSO selected in its lines
    std::string logsFolder_;
    std::vector<std::string> opened_;
    // What follows the work under way once it ended, on this window's thread.
    std::function<void(const BackgroundWork::End&)> finished_;
    std::string formClosedWhy_;
    RichTextFonts richFonts_;
    HFONT font_ = nullptr;
    UINT dpi_ = 96;
    bool stoppable_ = false;
    bool formClosing_ = false;
    contest::WaitingRequests waiting_;
    bool selectionPosted_ = false;
};

}  // namespace zeb::win32
