#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "ui/file_dialogs.h"

namespace zeb::test {

struct ShownMessage {
    QString text;
    DialogKind kind;
    DialogButtons buttons;
};

// A platform whose message boxes are recorded and answered from a queue (without an answer: the
// first button of the set), whose process end is recorded unless the hook takes it upon itself,
// as the desktop's does, and whose files are the real ones.
class ScriptedPlatform final : public Platform {
  public:
    DialogButton messageDialog(const std::string& text, DialogKind kind,
                               DialogButtons buttons) override;
    void endProcess(int exitCode) override {
        if (!endHook || !endHook(exitCode)) {
            exitCodes.push_back(exitCode);
        }
    }
    std::unique_ptr<TextInput> openTextForReading(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    WriteOutcome writeTextFile(const std::string& path, const std::string& content) override;

    // The texts of the messages shown so far, one per line.
    QString messageTexts() const;

    std::vector<ShownMessage> messages;
    std::deque<DialogButton> answers;
    std::vector<int> exitCodes;
    std::function<bool(int exitCode)> endHook;
};

struct ShownFileDialog {
    QString dialog;  // "openLog", "saveProtocol", "saveConfig" or "openConfig"
    QString preset;
};

// File dialogs answered from a queue: a path is chosen, nothing is a cancel; an empty queue
// cancels too.
class ScriptedFileDialogs final : public FileDialogs {
  public:
    std::optional<QString> openLog(QWidget* parent, const QString& preset) override;
    std::optional<QString> saveProtocol(QWidget* parent, const QString& preset) override;
    std::optional<QString> saveConfig(QWidget* parent, const QString& preset) override;
    std::optional<QString> openConfig(QWidget* parent, const QString& preset) override;

    std::deque<std::optional<QString>> answers;
    std::vector<ShownFileDialog> shown;

  private:
    std::optional<QString> answer(const char* dialog, const QString& preset);
};

// The folder dialog answered from a queue, as the file dialogs are.
class ScriptedFolderDialogs final : public FolderDialogs {
  public:
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                        const QString& start) override;

    std::deque<std::optional<QString>> answers;
    std::vector<ShownFileDialog> shown;  // the title and the folder it started in
};

struct ShownQuestion {
    QString title;
    QString text;
};

// The closing question answered from a queue; an empty queue is "Zrušit", as Escape is.
class ScriptedClosingQuestion final : public ClosingQuestion {
  public:
    ClosingAnswer askBeforeClosing(QWidget* parent, const QString& title,
                                   const QString& text) override;

    std::deque<ClosingAnswer> answers;
    std::vector<ShownQuestion> shown;
};

struct ShownReasonQuestion {
    QString title;
    QString text;
    QString preset;
};

// The reason of a decision answered from a queue; an empty queue cancels, as Escape does.
class ScriptedReasonQuestion final : public ReasonQuestion {
  public:
    std::optional<QString> askReason(QWidget* parent, const QString& title, const QString& text,
                                     const QString& preset) override;

    std::deque<std::optional<QString>> answers;
    std::vector<ShownReasonQuestion> shown;
};

}  // namespace zeb::test
