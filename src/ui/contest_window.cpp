#include "ui/contest_window.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QTimer>

#include "contest/intake/contest_folder.h"
#include "contest/intake/log_intake.h"
#include "contest/publish/contest_index.h"
#include "contest/publish/contest_view.h"
#include "contest/workspace/contest_details.h"
#include "contest/workspace/contest_screen.h"
#include "intake/load_command.h"
#include "ui/background_work.h"
#include "ui/contest_details.h"
#include "ui/contest_table_model.h"
#include "ui/tform1.h"
#include "ui_contest_window.h"

namespace zeb {

using contest::ContestLog;
using contest::ContestWorkspace;
using contest::Decision;
using contest::DecisionKind;
using contest::WorkProgress;
using contest::WorkStage;

namespace {

std::string pathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString pathText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Room for the sort arrow only in the section that shows it: Qt reserves it in every section, as
// wide as the section's own text is high, which with headings on several lines would push columns
// off the table; and the style draws it half as wide as the whole header is high, which is more
// than that beside a heading of one line.
class CompactHeader final : public QHeaderView {
  public:
    using QHeaderView::QHeaderView;

  protected:
    QSize sectionSizeFromContents(int section) const override {
        QSize size = QHeaderView::sectionSizeFromContents(section);
        if (!isSortIndicatorShown()) {
            return size;
        }
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
        size.rwidth() -= size.height() + margin;
        if (section == sortIndicatorSection()) {
            int tallest = 0;
            for (int other = 0; other < count(); ++other) {
                tallest = std::max(tallest, QHeaderView::sectionSizeFromContents(other).height());
            }
            size.rwidth() += tallest / 2 + 2 * margin;
        }
        return size;
    }
};

// The calls, names and outcomes no wider than an evaluator reads at a glance: a longer one is
// elided, and its tooltip holds it whole.
class NarrowNames final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const int characters =
            contest::widestCharacters(static_cast<contest::ViewColumn>(index.column()));
        if (characters == 0) {
            return size;
        }
        size.setWidth(std::min(size.width(), option.fontMetrics.averageCharWidth() * characters));
        return size;
    }
};

}  // namespace

ContestWindow::ContestWindow(FolderDialogs& folders, ClosingQuestion& closing,
                             ReasonQuestion& reasons, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::ContestWindow>()),
      folders_(folders),
      closing_(closing),
      reasons_(reasons),
      openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      model_(new ContestTableModel(this)),
      rows_(new QSortFilterProxyModel(this)),
      work_(new BackgroundWork(this)),
      windowChange_(new QTimer(this)) {
    ui_->setupUi(this);
    rows_->setSourceModel(model_);
    rows_->setSortRole(ContestTableModel::kSortRole);
    rows_->setFilterRole(ContestTableModel::kFlaggedRole);
    rows_->setFilterKeyColumn(0);
    rows_->setSortLocaleAware(true);
    auto* columns = new CompactHeader(Qt::Horizontal, ui_->tabulka);
    columns->setSectionsClickable(true);
    columns->setHighlightSections(true);
    ui_->tabulka->setHorizontalHeader(columns);
    ui_->tabulka->setModel(rows_);
    ui_->tabulka->setSortingEnabled(true);
    ui_->tabulka->sortByColumn(ContestTableModel::Rank, Qt::AscendingOrder);
    columns->setSectionResizeMode(QHeaderView::ResizeToContents);
    // A long file name or outcome is elided rather than the columns after it pushed off, and the
    // flags or reason take what is left: the tooltip and the details hold the whole text.
    ui_->tabulka->setItemDelegate(new NarrowNames(ui_->tabulka));
    ui_->tabulka->setWordWrap(false);
    columns->setSectionResizeMode(ContestTableModel::Flags, QHeaderView::Stretch);
    columns->setMinimumSectionSize(fontMetrics().averageCharWidth() * 6);
    ui_->tabulka->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // The table has the larger part: it is what the evaluator goes through.
    ui_->rozdeleni->setStretchFactor(0, 3);
    ui_->rozdeleni->setStretchFactor(1, 2);
    ui_->casoveOkno->setValue(contest::kDefaultTimeWindow);
    windowChange_->setSingleShot(true);
    windowChange_->setInterval(400);
    connectControls();
    updateCommands();
}

ContestWindow::~ContestWindow() {
    // The work ends before the controls that it reports to.
    delete work_;
}

void ContestWindow::connectControls() {
    connect(ui_->otevritSlozku, &QPushButton::clicked, this, &ContestWindow::chooseLogsFolder);
    connect(ui_->zmenitVystup, &QPushButton::clicked, this, &ContestWindow::chooseOutputFolder);
    connect(ui_->ulozitVysledky, &QPushButton::clicked, this, &ContestWindow::saveResults);
    connect(ui_->otevritVysledky, &QPushButton::clicked, this, &ContestWindow::openResults);
    connect(ui_->otevritVeFormulari, &QPushButton::clicked, this,
            &ContestWindow::openSelectedInForm);
    connect(ui_->tabulka, &QTableView::doubleClicked, this, &ContestWindow::openSelectedInForm);
    connect(ui_->tabulka, &QWidget::customContextMenuRequested, this,
            &ContestWindow::showTableMenu);
    connect(ui_->odlozit, &QPushButton::clicked, this, &ContestWindow::setSelectedAside);
    connect(ui_->kontrolni, &QPushButton::clicked, this, &ContestWindow::makeSelectedCheckLog);
    connect(ui_->platiTento, &QPushButton::clicked, this, &ContestWindow::makeSelectedCount);
    connect(ui_->zrusitRozhodnuti, &QPushButton::clicked, this,
            &ContestWindow::undoSelectedDecisions);
    connect(ui_->radkyQso, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        if (const std::optional<std::size_t> qso = qsoOfLink(link)) {
            selectQso(*qso);
        }
    });
    connect(ui_->radkyQso, &QWidget::customContextMenuRequested, this, &ContestWindow::showQsoMenu);
    connect(ui_->uznatQso, &QPushButton::clicked, this, &ContestWindow::keepSelectedQso);
    connect(ui_->vyraditQso, &QPushButton::clicked, this, &ContestWindow::removeSelectedQso);
    connect(ui_->zrusitRozhodnutiQso, &QPushButton::clicked, this,
            &ContestWindow::undoSelectedQsoDecisions);
    connect(ui_->zrusit, &QPushButton::clicked, this, &ContestWindow::cancelWork);
    connect(ui_->jenKeKontrole, &QCheckBox::toggled, this, [this](bool only) {
        rows_->setFilterFixedString(only ? QStringLiteral("1") : QString());
        showSelected();
    });
    connect(ui_->tabulka->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ContestWindow::showSelected);
    connect(ui_->casoveOkno, &QSpinBox::valueChanged, windowChange_, qOverload<>(&QTimer::start));
    connect(windowChange_, &QTimer::timeout, this, &ContestWindow::recheck);
    connect(work_, &BackgroundWork::progressed, this, &ContestWindow::showProgress);
    connect(work_, &BackgroundWork::busyChanged, this, &ContestWindow::updateCommands);
}

void ContestWindow::setForm(TForm1* form) {
    if (form_) {
        form_->removeEventFilter(this);
    }
    form_ = form;
    if (form_) {
        form_->installEventFilter(this);
    }
    updateCommands();
}

bool ContestWindow::busy() const {
    return work_->busy();
}

bool ContestWindow::unsaved() const {
    return contest::unsavedContest(contest_.get(), published_.lock().get());
}

void ContestWindow::updateCommands() {
    const contest::ScreenCommands commands = contest::screenCommands(
        {contest_.get(), selectedLog(), selectedQso_, busy(), stoppable_, !form_.isNull()});
    ui_->otevritSlozku->setEnabled(commands.openFolder);
    ui_->zmenitVystup->setEnabled(commands.changeOutput);
    ui_->ulozitVysledky->setEnabled(commands.save);
    ui_->otevritVysledky->setEnabled(commands.openResults);
    ui_->otevritVeFormulari->setEnabled(commands.openInForm);
    ui_->odlozit->setEnabled(commands.setAside);
    ui_->kontrolni->setEnabled(commands.checkLog);
    ui_->platiTento->setEnabled(commands.counts);
    ui_->zrusitRozhodnuti->setEnabled(commands.undo);
    ui_->uznatQso->setEnabled(commands.keepQso);
    ui_->vyraditQso->setEnabled(commands.removeQso);
    ui_->zrusitRozhodnutiQso->setEnabled(commands.undoQso);
    ui_->prubeh->setVisible(commands.showProgress);
    ui_->zrusit->setVisible(commands.showProgress);
    ui_->zrusit->setEnabled(commands.cancel);
}

void ContestWindow::setStatus(const QString& status) {
    ui_->stav->setText(status);
}

void ContestWindow::openPaths(const QStringList& paths) {
    if (paths.isEmpty()) {
        return;
    }
    const contest::OpenedFolders folders =
        contest::openedFolders(pathBytes(absolute(paths.front())));
    logsFolder_ = pathText(folders.logs);
    load(paths, pathText(folders.out));
}

void ContestWindow::load(const QStringList& paths, const QString& out) {
    if (busy()) {
        setStatus(text(contest::stillWorkingText()));
        return;
    }
    std::vector<std::string> full;
    for (const QString& path : paths) {
        full.push_back(pathBytes(absolute(path)));
    }
    auto [logs, others] = contest::contestInputs(full, pathBytes(out));
    if (logs.empty()) {
        setStatus(text(contest::noLogsText(QDir::toNativeSeparators(logsFolder_).toStdString(),
                                           others.size())));
        return;
    }
    opened_ = paths;
    const QString done = text(contest::loadedText(logs.size(), others.size()));
    auto fresh = std::make_shared<const ContestWorkspace>(
        std::move(logs), pathBytes(out), ui_->casoveOkno->value(), std::move(others));
    setStatus(text(contest::readingText()));
    runOnContest(
        fresh,
        [](ContestWorkspace& contest, const WorkProgress& progress) {
            return contest.load(progress);
        },
        done);
}

void ContestWindow::runOnContest(std::shared_ptr<const ContestWorkspace> base, Work work,
                                 const QString& done, std::function<void()> then, bool stoppable,
                                 std::shared_ptr<const std::string> failed) {
    auto result = std::make_shared<std::shared_ptr<const ContestWorkspace>>();
    stoppable_ = stoppable;
    ui_->prubeh->setValue(0);
    // The copy is made on the work's thread too: the window goes on showing `base`.
    const bool started = work_->start(
        [base, work, result](const WorkProgress& progress) {
            auto next = std::make_shared<ContestWorkspace>(*base);
            if (!work(*next, progress)) {
                return false;
            }
            *result = std::move(next);
            return true;
        },
        [this, result, done, then, failed](bool completed, const QString& failure) {
            if (completed) {
                showContest(*result);
                setStatus(done);
                if (then) {
                    then();
                }
            } else {
                setStatus(text(contest::unfinishedText(failure.toStdString(),
                                                       failed ? *failed : std::string())));
            }
            afterWork();
        });
    if (!started) {
        setStatus(text(contest::stillWorkingText()));
    }
}

void ContestWindow::afterWork() {
    updateCommands();
    waiting_.serve({[this] { return busy(); }, [this] { closeLater(); },
                    [this] { takeBackChanges(); }, [this] { recheck(); }});
}

void ContestWindow::cancelWork() {
    if (busy() && stoppable_) {
        work_->stop();
        setStatus(text(contest::cancellingText()));
    }
}

void ContestWindow::chooseLogsFolder() {
    if (busy()) {
        return;
    }
    const std::optional<QString> chosen =
        folders_.chooseFolder(this, text(contest::logsFolderTitle()), logsFolder_);
    if (chosen) {
        openPaths({*chosen});
    }
}

void ContestWindow::chooseOutputFolder() {
    if (busy() || !contest_) {
        return;
    }
    const QString current = pathText(contest_->folder().out);
    const std::optional<QString> chosen =
        folders_.chooseFolder(this, text(contest::outputFolderTitle()), current);
    if (!chosen || absolute(*chosen) == current) {
        return;
    }
    // The repaired copies are those of the new folder: the logs are taken in anew.
    load(opened_, absolute(*chosen));
}

void ContestWindow::takeBackChanges(std::function<void()> then) {
    if (!contest_) {
        return;
    }
    if (busy()) {
        waiting_.takeBackWhenIdle();
        return;
    }
    const auto takeBack = contest::changesToTakeBack(
        *contest_,
        QDir::toNativeSeparators(pathText(contest_->folder().decisions())).toStdString());
    if (!takeBack) {
        if (then) {
            then();
        }
        return;
    }
    runOnContest(contest_, takeBack->work, text(takeBack->done), std::move(then));
}

void ContestWindow::recheck() {
    const int minutes = ui_->casoveOkno->value();
    if (!contest_ || minutes == contest_->windowMinutes()) {
        return;
    }
    if (busy()) {
        waiting_.recheckWhenIdle();
        return;
    }
    runOnContest(
        contest_,
        [minutes](ContestWorkspace& contest, const WorkProgress& progress) {
            return contest.recheck(minutes, progress);
        },
        text(contest::recheckedText(minutes)));
}

void ContestWindow::saveResults() {
    if (busy() || !contest_) {
        return;
    }
    // Published results are those of the files as they are now.
    takeBackChanges([this] { publish(); });
}

void ContestWindow::publish() {
    auto contest = contest_;
    auto notes = std::make_shared<std::vector<std::string>>();
    auto written = std::make_shared<bool>(false);
    stoppable_ = false;
    ui_->prubeh->setValue(0);
    setStatus(text(contest::savingText()));
    work_->start(
        [contest, notes, written](const WorkProgress& progress) {
            *written = contest->publish(
                [notes](const std::string& note) { notes->push_back(note); }, progress);
            return true;
        },
        [this, contest, notes, written](bool completed, const QString& failure) {
            const QString out = QDir::toNativeSeparators(pathText(contest->folder().out));
            const bool saved = completed && *written;
            if (saved) {
                published_ = contest;
            }
            setStatus(text(contest::publishedText(completed, *written, failure.toStdString(),
                                                  out.toStdString(), *notes)));
            if (waiting_.closesAfterSave() && saved) {
                closeLater();
            }
            afterWork();
        });
}

void ContestWindow::openResults() {
    if (!contest_) {
        return;
    }
    const QString index = pathText(contest_->folder().index());
    if (!QFileInfo::exists(index)) {
        setStatus(text(contest::resultsNotYetText()));
        return;
    }
    if (!openUrl_(QUrl::fromLocalFile(index))) {
        setStatus(text(contest::pageNotOpenedText(QDir::toNativeSeparators(index).toStdString())));
    }
}

void ContestWindow::openSelectedInForm() {
    const std::optional<std::size_t> l = selectedLog();
    if (!form_ || !l) {
        return;
    }
    const ContestLog& log = contest_->logs()[*l];
    if (log.outcome != contest::LogOutcome::Scored) {
        // The form's reader refuses it: there would be nothing to see.
        setStatus(text(contest::notInFormText(log)));
        return;
    }
    const EvaluatedLog opened = contest::evaluatedLogOf(log);
    // Told from the log as it is now: a box of the form may let work end meanwhile and replace
    // the contest that `log` belongs to.
    const QString told = text(contest::inFormText(log));
    form_->show();
    form_->raise();
    form_->activateWindow();
    form_->openEvaluatedLog(opened);
    if (formClosing_) {
        return;  // refused: this window says so once the form closed
    }
    setStatus(told);
}

bool ContestWindow::closeFormInsteadOfEnding() {
    if (!form_ || !isVisible()) {
        return false;
    }
    if (formClosing_) {
        return true;
    }
    // Told now, while the form still knows what it was doing.
    const QString why =
        text(contest::formClosedText(form_->activity(), pathBytes(form_->logFile())));
    formClosing_ = true;
    // The handler that asked returns first, stopping what it was doing.
    QTimer::singleShot(0, this, [this, why] {
        formClosing_ = false;
        if (form_) {
            // An abandoned computation leaves its bar, which the form opened next must not show.
            form_->setProgressVisible(false);
            form_->hide();
        }
        setStatus(why);
    });
    return true;
}

bool ContestWindow::eventFilter(QObject* watched, QEvent* event) {
    // The evaluator is back from the form when it closes.
    if (watched == form_ && event->type() == QEvent::Hide) {
        QTimer::singleShot(0, this, [this] { takeBackChanges(); });
    }
    return QWidget::eventFilter(watched, event);
}

void ContestWindow::changeEvent(QEvent* event) {
    // ... or when this window is theirs again: changes made meanwhile, in the form or in an
    // editor, count.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        takeBackChanges();
    }
    QWidget::changeEvent(event);
}

void ContestWindow::closeEvent(QCloseEvent* event) {
    if (busy()) {
        // Work that can stop stops, a publication runs to its end so that no folder is left half
        // written; then the window closes, asking about the contest that the work left shown.
        event->ignore();
        waiting_.closeWhenIdle();
        cancelWork();
        setStatus(text(contest::closesWhenIdleText()));
        return;
    }
    if (unsaved()) {
        const QString out = QDir::toNativeSeparators(pathText(contest_->folder().out));
        switch (closing_.askBeforeClosing(this, text(contest::closingTitle()),
                                          text(contest::closingQuestion(out.toStdString())))) {
            case ClosingAnswer::Save:
                event->ignore();
                waiting_.closeAfterSave();
                saveResults();
                return;
            case ClosingAnswer::Cancel:
                event->ignore();
                // The window stays: what waited for the question goes on.
                afterWork();
                return;
            case ClosingAnswer::CloseWithoutSaving:
                break;
        }
    }
    windowChange_->stop();
    QWidget::closeEvent(event);
}

void ContestWindow::closeLater() {
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) {
            close();
        }
    });
}

void ContestWindow::showContest(std::shared_ptr<const ContestWorkspace> contest) {
    const bool sameLogs = contest_ && contest && contest_->inputs() == contest->inputs();
    const std::optional<std::size_t> selected = selectedLog();
    const std::optional<std::size_t> selectedOther = this->selectedOther();
    const std::optional<std::size_t> qso = selectedQso_;
    const int detailsScroll = ui_->podrobnosti->verticalScrollBar()->value();
    const int linesScroll = ui_->radkyQso->verticalScrollBar()->value();
    contest_ = std::move(contest);
    model_->setContest(contest_);
    if (sameLogs && selected) {
        selectLog(*selected);
    } else if (sameLogs && selectedOther) {
        const QModelIndex row = rows_->mapFromSource(
            model_->index(static_cast<int>(contest_->logs().size() + *selectedOther), 0));
        ui_->tabulka->setCurrentIndex(row);
        ui_->tabulka->selectRow(row.row());
    } else if (rows_->rowCount() > 0) {
        ui_->tabulka->selectRow(0);
    }
    ui_->vystupniSlozka->setText(QDir::toNativeSeparators(pathText(contest_->folder().out)));
    ui_->souhrn->setText(summaryHtml(contest::contestSummary(*contest_, userLanguage())));
    // The same log stays where the evaluator was in it, with the QSO line chosen there.
    const bool sameLog = sameLogs && selected && selectedLog() == selected;
    linesOf_ = sameLog ? selected : std::nullopt;
    showSelected();
    if (sameLog) {
        if (qso && *qso < contest_->logs()[*selected].qsos.size()) {
            selectedQso_ = qso;
            showQsoLines(false);
        }
        ui_->podrobnosti->verticalScrollBar()->setValue(detailsScroll);
        ui_->radkyQso->verticalScrollBar()->setValue(linesScroll);
    }
}

void ContestWindow::showSelected() {
    const std::optional<std::size_t> log = selectedLog();
    if (log != linesOf_) {
        selectedQso_.reset();
    }
    const bool sameLog = log && log == linesOf_;
    linesOf_ = log;
    if (log) {
        const int scroll = ui_->podrobnosti->verticalScrollBar()->value();
        ui_->podrobnosti->setHtml(
            detailsHtml(contest::logDetails(*contest_, *log, userLanguage())));
        if (sameLog) {
            ui_->podrobnosti->verticalScrollBar()->setValue(scroll);
        }
        showQsoLines(!sameLog);
    } else if (const std::optional<std::size_t> other = selectedOther()) {
        ui_->podrobnosti->setHtml(
            detailsHtml(contest::otherFileDetails(*contest_, *other, userLanguage())));
        ui_->radkyQso->setHtml(
            QStringLiteral("<p>%1</p>")
                .arg(text(contest::noQsoLinesOfOtherFile(userLanguage())).toHtmlEscaped()));
        ui_->vybraneQso->clear();
    } else {
        ui_->podrobnosti->clear();
        ui_->radkyQso->clear();
        ui_->vybraneQso->clear();
    }
    updateCommands();
}

void ContestWindow::showQsoLines(bool fromTop) {
    if (!linesOf_) {
        return;
    }
    const std::size_t l = *linesOf_;
    QScrollBar* down = ui_->radkyQso->verticalScrollBar();
    QScrollBar* across = ui_->radkyQso->horizontalScrollBar();
    const int downAt = down->value();
    const int acrossAt = across->value();
    ui_->radkyQso->setHtml(
        qsoLinesHtml(contest::qsoLines(*contest_, l, selectedQso_, userLanguage())));
    if (!fromTop) {
        down->setValue(downAt);
        across->setValue(acrossAt);
    }
    ui_->vybraneQso->setText(
        text(contest::qsoChoiceText(*contest_, l, selectedQso_, userLanguage())));
}

void ContestWindow::selectQso(std::size_t qso) {
    if (!linesOf_ || qso >= contest_->logs()[*linesOf_].qsos.size()) {
        return;
    }
    selectedQso_ = qso;
    showQsoLines(false);
    updateCommands();
}

void ContestWindow::changeDecisions(const std::vector<std::size_t>& undone,
                                    std::optional<Decision> decision, const QString& done) {
    if (busy() || !contest_) {
        return;
    }
    std::vector<Decision> undo;
    for (const std::size_t d : undone) {
        undo.push_back(contest_->checked().decisions[d].decision);
    }
    auto failure = std::make_shared<std::string>();
    // Not stopped half-way: the file written, the contest shown is checked with it.
    runOnContest(
        contest_,
        [undo, decision, failure](ContestWorkspace& contest, const WorkProgress& progress) {
            return contest.redecide(undo, decision, failure.get(), progress);
        },
        done, {}, false, failure);
}

void ContestWindow::setSelectedAside() {
    const std::optional<std::size_t> l = selectedLog();
    if (busy() || !l) {
        return;
    }
    const contest::ReasonQuestion question = contest::setAsideQuestion(*contest_, *l);
    const std::optional<QString> reason =
        reasons_.askReason(this, text(question.title), text(question.text), text(question.preset));
    if (!reason) {
        return;
    }
    decideOnLog(*l, DecisionKind::SetAside, *reason);
}

void ContestWindow::makeSelectedCheckLog() {
    if (const std::optional<std::size_t> l = selectedLog()) {
        decideOnLog(*l, DecisionKind::CheckLog, {});
    }
}

void ContestWindow::makeSelectedCount() {
    if (const std::optional<std::size_t> l = selectedLog()) {
        decideOnLog(*l, DecisionKind::Counts, {});
    }
}

void ContestWindow::decideOnLog(std::size_t l, DecisionKind kind, const QString& reason) {
    const Decision decision =
        contest::decisionOnLog(contest_->logs()[l], kind, reason.toStdString());
    changeDecisions({}, decision, text(contest::decisionWrittenText(decision)));
}

void ContestWindow::undoSelectedDecisions() {
    if (const std::optional<std::size_t> l = selectedLog()) {
        undoDecisions(contest::decisionsOnLog(*contest_, *l));
    }
}

void ContestWindow::undoDecisions(const std::vector<std::size_t>& decisions) {
    if (!decisions.empty()) {
        changeDecisions(decisions, std::nullopt,
                        text(contest::decisionsUndoneText(*contest_, decisions)));
    }
}

void ContestWindow::keepSelectedQso() {
    decideOnSelectedQso(DecisionKind::KeepQso);
}

void ContestWindow::removeSelectedQso() {
    decideOnSelectedQso(DecisionKind::RemoveQso);
}

void ContestWindow::decideOnSelectedQso(DecisionKind kind) {
    const std::optional<std::size_t> l = selectedLog();
    if (busy() || !l || !selectedQso_ || l != linesOf_) {
        return;
    }
    const std::size_t q = *selectedQso_;
    const contest::ReasonQuestion question = contest::qsoQuestion(*contest_, *l, q, kind);
    const std::optional<QString> reason =
        reasons_.askReason(this, text(question.title), text(question.text), text(question.preset));
    if (!reason) {
        return;
    }
    const Decision decision =
        contest::decisionOnQso(contest_->logs()[*l], q, kind, reason->toStdString());
    changeDecisions({}, decision, text(contest::decisionWrittenText(decision)));
}

void ContestWindow::undoSelectedQsoDecisions() {
    const std::optional<std::size_t> l = selectedLog();
    if (l && selectedQso_ && l == linesOf_) {
        undoDecisions(contest::decisionsOnQso(*contest_, *l, *selectedQso_));
    }
}

void ContestWindow::popUpMenu(QWidget* over, const QPoint& at,
                              const std::vector<QPushButton*>& commands) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QPushButton* command : commands) {
        if (command == nullptr) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(command->text(), command, &QPushButton::click);
        action->setEnabled(command->isEnabled());
    }
    menu->popup(over->mapToGlobal(at));
}

void ContestWindow::showTableMenu(const QPoint& at) {
    const QModelIndex row = ui_->tabulka->indexAt(at);
    if (!row.isValid()) {
        return;
    }
    ui_->tabulka->setCurrentIndex(row);
    ui_->tabulka->selectRow(row.row());
    if (!selectedLog()) {
        return;
    }
    popUpMenu(ui_->tabulka->viewport(), at,
              {ui_->otevritVeFormulari, nullptr, ui_->odlozit, ui_->kontrolni, ui_->platiTento,
               ui_->zrusitRozhodnuti});
}

void ContestWindow::showQsoMenu(const QPoint& at) {
    const std::optional<std::size_t> qso = qsoOfLink(QUrl(ui_->radkyQso->anchorAt(at)));
    if (!qso) {
        return;
    }
    selectQso(*qso);
    popUpMenu(ui_->radkyQso->viewport(), at,
              {ui_->uznatQso, ui_->vyraditQso, ui_->zrusitRozhodnutiQso});
}

void ContestWindow::showProgress(WorkStage stage, qint64 done, qint64 total) {
    ui_->prubeh->setMaximum(static_cast<int>(total));
    ui_->prubeh->setValue(static_cast<int>(done));
    ui_->stav->setText(text(contest::progressText(stage, static_cast<std::size_t>(done),
                                                  static_cast<std::size_t>(total))));
}

std::optional<std::size_t> ContestWindow::selectedLog() const {
    const QModelIndex current = ui_->tabulka->currentIndex();
    if (!contest_ || !current.isValid()) {
        return std::nullopt;
    }
    const QVariant log = rows_->data(current, ContestTableModel::kLogRole);
    if (!log.isValid() || log.value<qulonglong>() >= contest_->logs().size()) {
        return std::nullopt;
    }
    return log.value<qulonglong>();
}

std::optional<std::size_t> ContestWindow::selectedOther() const {
    const QModelIndex current = ui_->tabulka->currentIndex();
    if (!contest_ || !current.isValid()) {
        return std::nullopt;
    }
    const QVariant other = rows_->data(current, ContestTableModel::kOtherRole);
    if (!other.isValid() || other.value<qulonglong>() >= contest_->others().size()) {
        return std::nullopt;
    }
    return other.value<qulonglong>();
}

void ContestWindow::selectLog(std::size_t log) {
    const QModelIndex row = rows_->mapFromSource(model_->index(static_cast<int>(log), 0));
    if (row.isValid()) {
        ui_->tabulka->setCurrentIndex(row);
        ui_->tabulka->selectRow(row.row());
    }
}

}  // namespace zeb
