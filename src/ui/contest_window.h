#pragma once

#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "contest/publish/contest_view.h"
#include "contest/workspace/contest_workspace.h"
#include "contest/workspace/waiting_requests.h"
#include "ui/file_dialogs.h"

QT_BEGIN_NAMESPACE
namespace Ui {
class ContestWindow;
}
class QCloseEvent;
class QPushButton;
class QSortFilterProxyModel;
class QTimer;
QT_END_NAMESPACE

namespace zeb {

class BackgroundWork;
class ContestTableModel;
class TForm1;

// The window of a whole contest: every log of a folder taken in, checked and shown in one table
// with the folder's other files, with the details of the selected log; from it a log goes into
// the form, the evaluator decides about a log or a QSO line, and the results are published. What
// it shows is computed by the contest layer, on a thread of its own; it shows no modal dialog but
// the folder dialogs, the box asking a decision's reason and the question before it closes with
// its results not saved, and nothing in it ends the program: while it is shown, the form that
// would end the program closes and the evaluator is back here.
class ContestWindow final : public QWidget {
    Q_OBJECT

  public:
    ContestWindow(FolderDialogs& folders, ClosingQuestion& closing, ReasonQuestion& reasons,
                  QWidget* parent = nullptr);
    ~ContestWindow() override;

    // The form into which a log is opened; without one, logs are only shown.
    void setForm(TForm1* form);
    // How the index page is opened: in the browser by default.
    void setUrlOpener(std::function<bool(const QUrl&)> open) { openUrl_ = std::move(open); }

    // The form asks to end the program (Konec, Abort at an unknown prefix, a log that its reader
    // refuses): while this window is shown, the form closes instead, once its handler returned,
    // and this window says why. False when the program is to end.
    bool closeFormInsteadOfEnding();

    // Takes in a folder of logs, or the logs named, with the output folder beside them.
    void openPaths(const QStringList& paths);

    // The commands.
    void chooseLogsFolder();
    void chooseOutputFolder();
    void saveResults();
    void openResults();
    void openSelectedInForm();
    void cancelWork();
    // The evaluator's decisions on the selected log, written into the decisions file of the
    // output folder; the contest is checked again with them.
    void setSelectedAside();
    void makeSelectedCheckLog();
    void makeSelectedCount();
    void undoSelectedDecisions();
    // ... and on the QSO line selected in the QSO lines of the log.
    void selectQso(std::size_t qso);
    void keepSelectedQso();
    void removeSelectedQso();
    void undoSelectedQsoDecisions();

    // The contest as shown; none before one was taken in.
    std::shared_ptr<const contest::ContestWorkspace> contest() const { return contest_; }
    bool busy() const;
    // Whether the contest shown differs from what this window published last, or a log's copy
    // or configuration, or the decisions file, changed since it was taken in.
    bool unsaved() const;

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Takes out the decisions (indexes into the checked contest's), with one check of the contest.
    void undoDecisions(const std::vector<std::size_t>& decisions);
    void connectControls();
    void updateCommands();
    // Work on a copy of `base`, which is shown once the work ran to its end; false from the work:
    // stopped, and the contest shown stays. `then` follows a work that ended.
    using Work = std::function<bool(contest::ContestWorkspace& contest,
                                    const contest::WorkProgress& progress)>;
    // Work that may not be stopped half-way (a decision written, the contest not yet checked
    // with it) is not `stoppable`; a work that fails may say why in `failure`.
    void runOnContest(std::shared_ptr<const contest::ContestWorkspace> base, Work work,
                      const QString& done, std::function<void()> then = {}, bool stoppable = true,
                      std::shared_ptr<const std::string> failure = nullptr);
    // The logs and other files of the paths given, a folder without the output folder `out`.
    void load(const QStringList& paths, const QString& out);
    // Takes in again the logs whose copy or configuration the evaluator changed, and everything
    // that follows from them; a decisions file changed by hand is read again.
    void takeBackChanges(std::function<void()> then = {});
    void recheck();
    void publish();
    void afterWork();
    void closeLater();
    void showContest(std::shared_ptr<const contest::ContestWorkspace> contest);
    void showSelected();
    // The QSO lines of the log shown, at the top or where the evaluator was in them.
    void showQsoLines(bool fromTop);
    // Undoes the decisions (indexes into the checked contest's) and makes `decision`.
    void changeDecisions(const std::vector<std::size_t>& undone,
                         std::optional<contest::Decision> decision, const QString& done);
    void decideOnLog(std::size_t log, contest::DecisionKind kind, const QString& reason);
    // Asks the reason and keeps or removes the QSO selected.
    void decideOnSelectedQso(contest::DecisionKind kind);
    // A menu of the commands, each as its button is now; a null stands for a separator.
    void popUpMenu(QWidget* over, const QPoint& at, const std::vector<QPushButton*>& commands);
    void showTableMenu(const QPoint& at);
    void showQsoMenu(const QPoint& at);
    void showProgress(contest::WorkStage stage, qint64 done, qint64 total);
    void setBusy(bool busy);
    void setStatus(const QString& text);
    std::optional<std::size_t> selectedLog() const;
    std::optional<std::size_t> selectedOther() const;
    void selectLog(std::size_t log);

    std::unique_ptr<Ui::ContestWindow> ui_;
    FolderDialogs& folders_;
    ClosingQuestion& closing_;
    ReasonQuestion& reasons_;
    QPointer<TForm1> form_;
    std::function<bool(const QUrl&)> openUrl_;
    ContestTableModel* model_;
    QSortFilterProxyModel* rows_;
    BackgroundWork* work_;
    QTimer* windowChange_;  // the time window is checked again once the evaluator stops changing it
    std::shared_ptr<const contest::ContestWorkspace> contest_;
    std::weak_ptr<const contest::ContestWorkspace> published_;
    QString logsFolder_;  // where the logs were taken from, for the folder dialog
    QStringList opened_;  // the folders and logs taken in, for another output folder
    // The QSO (an index into its QSOs) of the log whose QSO lines are shown, selected there.
    std::optional<std::size_t> linesOf_;
    std::optional<std::size_t> selectedQso_;
    bool stoppable_ = false;
    bool formClosing_ = false;
    contest::WaitingRequests waiting_;
};

}  // namespace zeb
