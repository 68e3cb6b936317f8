#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace zeb {

// The platform services of the desktop: message boxes, the process end and the real files.
class QtPlatform final : public Platform {
  public:
    // The window over which the message boxes stand; without one, the active window.
    void setDialogParent(QWidget* parent) { dialogParent_ = parent; }

    // Asked first when the program is to end: true when it took the end upon itself and the
    // program goes on (the caller stops what it was doing); false, or no hook, and it ends.
    void setEndHook(std::function<bool(int exitCode)> hook) { endHook_ = std::move(hook); }

    DialogButton messageDialog(const std::string& text, DialogKind kind,
                               DialogButtons buttons) override;
    // Ends at once, without unwinding: the caller may be deep inside a handler.
    void endProcess(int exitCode) override;
    std::unique_ptr<TextInput> openTextForReading(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    WriteOutcome writeTextFile(const std::string& path, const std::string& content) override;

  private:
    QPointer<QWidget> dialogParent_;
    std::function<bool(int)> endHook_;
};

// Qt's own texts (the file dialogs' buttons and columns) in Czech, for an evaluator whose language
// is Czech, when the system has Qt's Czech catalogue; otherwise they stay as they are. Whether it
// has it.
bool useCzechQtTexts();

// The box for an exception that escaped a handler; `what` is the exception's message.
void showExceptionBox(QWidget* parent, const char* what);

}  // namespace zeb
