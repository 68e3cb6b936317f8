#pragma once

#include <QString>
#include <optional>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace zeb {

// The four file dialogs of the main window. Each shows `preset` in its file name box (a mask such
// as "*.cbr", or the file chosen in that dialog last time) and returns the chosen file's path, or
// nothing when the evaluator cancelled. The window decides what a cancel means, so tests can
// answer the dialogs from a script.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    virtual std::optional<QString> openLog(QWidget* parent, const QString& preset) = 0;
    virtual std::optional<QString> saveProtocol(QWidget* parent, const QString& preset) = 0;
    virtual std::optional<QString> saveConfig(QWidget* parent, const QString& preset) = 0;
    virtual std::optional<QString> openConfig(QWidget* parent, const QString& preset) = 0;
};

// The folder dialog of the contest window: the folder of the logs and the output folder. Returns
// the chosen folder, or nothing when the evaluator cancelled.
class FolderDialogs {
  public:
    virtual ~FolderDialogs() = default;

    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                                const QString& start) = 0;
};

// What the evaluator answers when the contest window is closed with its results not saved.
enum class ClosingAnswer { Save, CloseWithoutSaving, Cancel };

// The question of the contest window before it closes with its results not saved: "Save", "Close
// without saving" or "Cancel", the last also when the question is closed without a button.
class ClosingQuestion {
  public:
    virtual ~ClosingQuestion() = default;

    virtual ClosingAnswer askBeforeClosing(QWidget* parent, const QString& title,
                                           const QString& text) = 0;
};

// The evaluator's reason for a decision of the contest window, written on one line of a box
// that shows `preset` (the reason of the decision it replaces). The reason written, possibly
// empty, or nothing when the evaluator cancelled.
class ReasonQuestion {
  public:
    virtual ~ReasonQuestion() = default;

    virtual std::optional<QString> askReason(QWidget* parent, const QString& title,
                                             const QString& text, const QString& preset) = 0;
};

}  // namespace zeb
