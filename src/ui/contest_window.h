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

#include "contest/workspace/contest_workspace.h"
#include "ui/file_dialogs.h"

QT_BEGIN_NAMESPACE
namespace Ui {
class ContestWindow;
}
class QCloseEvent;
class QSortFilterProxyModel;
class QTimer;
QT_END_NAMESPACE

namespace zeb {

class BackgroundWork;
class ContestTableModel;
class TForm1;

// The window of a whole contest: every log of a folder taken in, checked and shown in one table,
// with the details of the selected log; from it a log goes into the form and its results are
// published. What it shows is computed by the contest layer, on a thread of its own; it shows no
// modal dialog but the folder dialogs and the question before it closes with its results not
// saved, and nothing in it ends the program: while it is shown, the form that would end the
// program closes and the evaluator is back here.
class ContestWindow final : public QWidget {
    Q_OBJECT

  public:
    ContestWindow(FolderDialogs& folders, ClosingQuestion& closing, QWidget* parent = nullptr);
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

    // The contest as shown; none before one was taken in.
    std::shared_ptr<const contest::ContestWorkspace> contest() const { return contest_; }
    bool busy() const;
    // Whether the contest shown differs from what this window published last, or a log's copy
    // or configuration changed since it was taken in.
    bool unsaved() const;

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectControls();
    void updateCommands();
    // Work on a copy of `base`, which is shown once the work ran to its end; false from the work:
    // stopped, and the contest shown stays. `then` follows a work that ended.
    using Work = std::function<bool(contest::ContestWorkspace& contest,
                                    const contest::WorkProgress& progress)>;
    void runOnContest(std::shared_ptr<const contest::ContestWorkspace> base, Work work,
                      const QString& done, std::function<void()> then = {});
    void load(std::vector<std::string> logs, const QString& out);
    // Takes in again the logs whose copy or configuration the evaluator changed, and everything
    // that follows from them.
    void takeBackChanges(std::function<void()> then = {});
    void recheck();
    void publish();
    void afterWork();
    void closeLater();
    void showContest(std::shared_ptr<const contest::ContestWorkspace> contest);
    void showSelected();
    void showProgress(contest::WorkStage stage, qint64 done, qint64 total);
    void setBusy(bool busy);
    void setStatus(const QString& text);
    std::optional<std::size_t> selectedLog() const;
    void selectLog(std::size_t log);

    std::unique_ptr<Ui::ContestWindow> ui_;
    FolderDialogs& folders_;
    ClosingQuestion& closing_;
    QPointer<TForm1> form_;
    std::function<bool(const QUrl&)> openUrl_;
    ContestTableModel* model_;
    QSortFilterProxyModel* rows_;
    BackgroundWork* work_;
    QTimer* windowChange_;  // the time window is checked again once the evaluator stops changing it
    std::shared_ptr<const contest::ContestWorkspace> contest_;
    std::weak_ptr<const contest::ContestWorkspace> published_;
    QString logsFolder_;  // where the logs were taken from, for the folder dialog
    bool takeBackPending_ = false;
    bool recheckPending_ = false;
    bool stoppable_ = false;
    bool formClosing_ = false;
    bool closeWhenIdle_ = false;   // closed while work ran: closed again once it ended
    bool closeAfterSave_ = false;  // "Uložit" in the closing question
};

}  // namespace zeb
