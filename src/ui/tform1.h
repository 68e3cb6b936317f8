#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "form/form_commands.h"
#include "intake/load_command.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "state/evaluation_state.h"
#include "ui/file_dialogs.h"

QT_BEGIN_NAMESPACE
namespace Ui {
class TForm1;
}
class QLabel;
class QLineEdit;
class QMimeData;
QT_END_NAMESPACE

namespace zeb {

// The evaluator's one window. Its controls come from tform1.ui; every handler hands its work to
// the core and the core drives the controls back through the Window interface.
class TForm1 final : public QWidget, public Window {
    Q_OBJECT

  public:
    TForm1(Platform& platform, FileDialogs& fileDialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // Window. Texts cross as Windows-1250 bytes.
    void setEditText(Edit edit, const std::string& text) override;
    std::string editText(Edit edit) const override;
    void setLabelText(Label label, const std::string& text) override;
    using QWidget::setEnabled;
    void setEnabled(Control control, bool enabled) override;
    bool only80m() const override;
    void setProgressVisible(bool visible) override;
    void setProgressPosition(int position) override;
    void setCaption(const std::string& caption) override;
    void showConfigurationPage() override;

    const EvaluationState& state() const { return *state_; }

    // Loads the log as "Načti deník" does when the file is chosen in its dialog.
    LoadOutcome loadLogFile(const QString& path);
    // `zebcontest LOG` (or `zebcontest -- LOG`) loads LOG; without one nothing happens.
    void openArguments(const QStringList& arguments);

    // Loads a log of the contest with the columns the contest used (FormCommands::
    // useEvaluatedColumns).
    void openEvaluatedLog(const EvaluatedLog& log);
    // What the form is doing, and the log file it reads or read last (empty when the dialog was
    // cancelled): the contest window tells by them why the form asked to end the program.
    FormActivity activity() const { return activity_; }
    const QString& logFile() const { return logFile_; }
    // Where a dropped folder, or more than one dropped file, goes. Without it the window takes only
    // a single file.
    void setContestOpener(std::function<void(const QStringList&)> open) {
        contestOpener_ = std::move(open);
    }

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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void connectHandlers();
    LoadOutcome load(const QString& path);
    // A file dialog of the commands, shown over this window.
    FileDialog dialog(std::optional<QString> (FileDialogs::*show)(QWidget*, const QString&));
    // The dropped folder or files that the contest opener takes, if any.
    std::optional<QStringList> droppedContest(const QMimeData* mime) const;
    QLineEdit* lineEdit(Edit edit) const;
    QLabel* label(Label label) const;
    QWidget* control(Control control) const;
    // Runs a handler so that an exception never crosses the event loop: it is shown instead.
    template <typename Work>
    void guarded(Work&& work);

    std::unique_ptr<Ui::TForm1> ui_;
    std::unique_ptr<EvaluationState> state_;
    Platform& platform_;
    FileDialogs& fileDialogs_;
    FormCommands commands_;
    std::function<void(const QStringList&)> contestOpener_;
    FormActivity activity_ = FormActivity::Idle;
    QString logFile_;
};

}  // namespace zeb
