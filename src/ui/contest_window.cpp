#include "ui/contest_window.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTimer>

#include "contest/intake/log_intake.h"
#include "contest/publish/contest_index.h"
#include "intake/load_command.h"
#include "ui/background_work.h"
#include "ui/contest_details.h"
#include "ui/contest_table_model.h"
#include "ui/tform1.h"
#include "ui_contest_window.h"

namespace zeb {

using contest::ContestLog;
using contest::ContestWorkspace;
using contest::WorkProgress;
using contest::WorkStage;

namespace {

// The output folder proposed beside the logs.
const QString kOutputFolderName = QStringLiteral("vyhodnoceni");

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

QString stageText(WorkStage stage) {
    switch (stage) {
        case WorkStage::Intake:
            return QStringLiteral("Čtu, opravuji a hodnotím deníky");
        case WorkStage::Check:
            return QStringLiteral("Křížová kontrola a výsledky po kontrole");
        case WorkStage::Publish:
            return QStringLiteral("Ukládám výsledky");
    }
    return {};
}

}  // namespace

ContestWindow::ContestWindow(FolderDialogs& folders, ClosingQuestion& closing, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::ContestWindow>()),
      folders_(folders),
      closing_(closing),
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
    ui_->tabulka->setModel(rows_);
    ui_->tabulka->sortByColumn(ContestTableModel::Rank, Qt::AscendingOrder);
    ui_->tabulka->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui_->tabulka->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    ui_->rozdeleni->setStretchFactor(0, 1);
    ui_->rozdeleni->setStretchFactor(1, 1);
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
    return contest_ && (contest_ != published_.lock() || !contest_->changedLogs().empty());
}

void ContestWindow::updateCommands() {
    const bool idle = !busy();
    const bool loaded = contest_ != nullptr;
    ui_->otevritSlozku->setEnabled(idle);
    ui_->zmenitVystup->setEnabled(idle && loaded);
    ui_->ulozitVysledky->setEnabled(idle && loaded);
    ui_->otevritVysledky->setEnabled(loaded &&
                                     QFileInfo::exists(pathText(contest_->folder().index())));
    const std::optional<std::size_t> log = selectedLog();
    ui_->otevritVeFormulari->setEnabled(
        form_ && log && contest_->logs()[*log].outcome == contest::LogOutcome::Scored);
    ui_->prubeh->setVisible(!idle);
    ui_->zrusit->setVisible(!idle);
    ui_->zrusit->setEnabled(stoppable_);
}

void ContestWindow::setStatus(const QString& status) {
    ui_->stav->setText(status);
}

void ContestWindow::openPaths(const QStringList& paths) {
    if (paths.isEmpty()) {
        return;
    }
    std::vector<std::string> logs;
    for (const QString& path : paths) {
        const QString full = absolute(path);
        if (const auto inFolder = contest::logsInFolder(pathBytes(full))) {
            logs.insert(logs.end(), inFolder->begin(), inFolder->end());
        } else {
            // A file that is no log is a row that says why.
            logs.push_back(pathBytes(full));
        }
    }
    const QFileInfo first(absolute(paths.front()));
    const QString folder = first.isDir() ? first.absoluteFilePath() : first.absolutePath();
    if (logs.empty()) {
        setStatus(QStringLiteral("Ve složce %1 nejsou žádné deníky (soubory *.cbr a *.log).")
                      .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    logsFolder_ = folder;
    load(std::move(logs), QDir(folder).filePath(kOutputFolderName));
}

void ContestWindow::load(std::vector<std::string> logs, const QString& out) {
    if (busy()) {
        setStatus(QStringLiteral("Ještě běží předchozí práce: počkejte na ni, nebo ji zrušte."));
        return;
    }
    const QString done = QStringLiteral(
                             "Deníků načteno a zkontrolováno: %1. Výsledky zatím "
                             "nejsou uloženy (Uložit výsledky).")
                             .arg(logs.size());
    auto fresh = std::make_shared<const ContestWorkspace>(std::move(logs), pathBytes(out),
                                                          ui_->casoveOkno->value());
    setStatus(QStringLiteral("Načítám deníky…"));
    runOnContest(
        fresh,
        [](ContestWorkspace& contest, const WorkProgress& progress) {
            return contest.load(progress);
        },
        done);
}

void ContestWindow::runOnContest(std::shared_ptr<const ContestWorkspace> base, Work work,
                                 const QString& done, std::function<void()> then) {
    auto result = std::make_shared<std::shared_ptr<const ContestWorkspace>>();
    stoppable_ = true;
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
        [this, result, done, then](bool completed, const QString& failure) {
            if (completed) {
                showContest(*result);
                setStatus(done);
                if (then) {
                    then();
                }
            } else if (!failure.isEmpty()) {
                setStatus(QStringLiteral("Práce skončila chybou: %1").arg(failure));
            } else {
                setStatus(QStringLiteral("Zrušeno: okno ukazuje soutěž, jak byla předtím."));
            }
            afterWork();
        });
    if (!started) {
        setStatus(QStringLiteral("Ještě běží předchozí práce: počkejte na ni, nebo ji zrušte."));
    }
}

void ContestWindow::afterWork() {
    updateCommands();
    if (busy()) {
        return;
    }
    // A save before closing that did not reach its end leaves the window open.
    closeAfterSave_ = false;
    if (closeWhenIdle_) {
        // What was pending waits: the closing question may keep the window.
        closeWhenIdle_ = false;
        closeLater();
        return;
    }
    if (takeBackPending_) {
        takeBackPending_ = false;
        takeBackChanges();
    } else if (recheckPending_) {
        recheck();
    }
}

void ContestWindow::cancelWork() {
    if (busy() && stoppable_) {
        work_->stop();
        setStatus(QStringLiteral("Ruším…"));
    }
}

void ContestWindow::chooseLogsFolder() {
    if (busy()) {
        return;
    }
    const std::optional<QString> chosen =
        folders_.chooseFolder(this, QStringLiteral("Složka s deníky soutěže"), logsFolder_);
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
        folders_.chooseFolder(this, QStringLiteral("Výstupní složka vyhodnocení"), current);
    if (!chosen || absolute(*chosen) == current) {
        return;
    }
    // The repaired copies are those of the new folder: the logs are taken in anew.
    load(contest_->inputs(), absolute(*chosen));
}

void ContestWindow::takeBackChanges(std::function<void()> then) {
    if (!contest_) {
        return;
    }
    if (busy()) {
        takeBackPending_ = true;
        return;
    }
    const std::vector<std::size_t> changed = contest_->changedLogs();
    if (changed.empty()) {
        if (then) {
            then();
        }
        return;
    }
    QStringList names;
    for (const std::size_t log : changed) {
        names.push_back(text(contest::callOrFileName(contest_->logs()[log])));
    }
    runOnContest(
        contest_,
        [changed](ContestWorkspace& contest, const WorkProgress& progress) {
            return contest.retake(changed, progress);
        },
        QStringLiteral("Přepočítáno po změně: %1. Výsledky zatím nejsou uloženy.")
            .arg(names.join(QStringLiteral(", "))),
        std::move(then));
}

void ContestWindow::recheck() {
    const int minutes = ui_->casoveOkno->value();
    if (!contest_ || minutes == contest_->windowMinutes()) {
        recheckPending_ = false;
        return;
    }
    if (busy()) {
        recheckPending_ = true;
        return;
    }
    recheckPending_ = false;
    runOnContest(
        contest_,
        [minutes](ContestWorkspace& contest, const WorkProgress& progress) {
            return contest.recheck(minutes, progress);
        },
        QStringLiteral("Křížová kontrola s časovým oknem %1 min. Výsledky zatím nejsou uloženy.")
            .arg(minutes));
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
    setStatus(QStringLiteral("Ukládám výsledky…"));
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
            if (!completed) {
                setStatus(QStringLiteral("Výsledky se nepodařilo uložit: %1").arg(failure));
            } else if (*written) {
                setStatus(QStringLiteral("Výsledky uloženy do %1.").arg(out));
            } else {
                QStringList lines;
                for (const std::string& note : *notes) {
                    lines.push_back(text(note));
                }
                setStatus(QStringLiteral("Některé soubory výsledků v %1 se nepodařilo uložit: %2")
                              .arg(out, lines.join(QStringLiteral("; "))));
            }
            if (closeAfterSave_ && saved) {
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
        setStatus(QStringLiteral("Výsledky ještě nejsou uloženy (Uložit výsledky)."));
        return;
    }
    if (!openUrl_(QUrl::fromLocalFile(index))) {
        setStatus(QStringLiteral("Stránku %1 se nepodařilo otevřít v prohlížeči.")
                      .arg(QDir::toNativeSeparators(index)));
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
        setStatus(QStringLiteral("Deník %1 nebyl hodnocen, ve formuláři se neotevírá: %2")
                      .arg(text(contest::callOrFileName(log)), text(log.reason)));
        return;
    }
    TForm1::EvaluatedLog opened;
    opened.file = pathText(log.evaluated);
    if (log.settings.config) {
        opened.config = pathText(*log.settings.config);
    }
    if (log.settings.callStart) {
        opened.callStart = text(*log.settings.callStart);
    }
    if (log.settings.exchStart) {
        opened.exchStart = text(*log.settings.exchStart);
    }
    opened.configBeside = pathText(contest::configPathBeside(log.evaluated));
    form_->show();
    form_->raise();
    form_->activateWindow();
    form_->openEvaluatedLog(opened);
    if (formClosing_) {
        return;  // refused: this window says so once the form closed
    }
    setStatus(QStringLiteral("Deník %1 je ve formuláři. Konfigurace sloupců uložená tam (Ulož "
                             "konfiguaci) vedle kopie a změny kopie se po návratu sem započítají.")
                  .arg(text(contest::callOrFileName(log))));
}

bool ContestWindow::closeFormInsteadOfEnding() {
    if (!form_ || !isVisible()) {
        return false;
    }
    if (formClosing_) {
        return true;
    }
    // Told now, while the form still knows what it was doing.
    const QString log = QFileInfo(form_->logFile()).fileName();
    QString why;
    switch (form_->activity()) {
        case TForm1::Activity::Reading:
            why = QStringLiteral(
                      "Formulář odmítl deník %1 (důvod uvedl ve svém hlášení) a zavřel se.")
                      .arg(log);
            break;
        case TForm1::Activity::Computing:
            why = QStringLiteral(
                      "Výpočet deníku %1 ve formuláři byl přerušen (Abort) a formulář "
                      "se zavřel.")
                      .arg(log);
            break;
        case TForm1::Activity::Idle:
            why = log.isEmpty() ? QStringLiteral("Formulář zavřen (Konec).")
                                : QStringLiteral("Formulář s deníkem %1 zavřen (Konec).").arg(log);
            break;
    }
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
        closeWhenIdle_ = true;
        cancelWork();
        setStatus(QStringLiteral("Okno se zavře, jakmile doběhne rozběhnutá práce."));
        return;
    }
    if (unsaved()) {
        const QString out = QDir::toNativeSeparators(pathText(contest_->folder().out));
        switch (closing_.askBeforeClosing(
            this, QStringLiteral("Zavřít vyhodnocení"),
            QStringLiteral("Výsledky soutěže nejsou uloženy.\n\nUložit je před zavřením okna do "
                           "složky %1?")
                .arg(out))) {
            case ClosingAnswer::Save:
                event->ignore();
                closeAfterSave_ = true;
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
    contest_ = std::move(contest);
    model_->setContest(contest_);
    if (sameLogs && selected) {
        selectLog(*selected);
    } else if (rows_->rowCount() > 0) {
        ui_->tabulka->selectRow(0);
    }
    ui_->vystupniSlozka->setText(QDir::toNativeSeparators(pathText(contest_->folder().out)));
    const auto& checked = contest_->checked();
    QString summary =
        QStringLiteral("<b>%1</b><br>%2")
            .arg(text(contest::contestTitle(checked.summary)).toHtmlEscaped(),
                 text(contest::contestFacts(contest_->logs(), checked.summary,
                                            checked.crossCheck ? &*checked.crossCheck : nullptr))
                     .toHtmlEscaped());
    for (const std::string& note : contest_->folderNotes()) {
        summary += QStringLiteral("<br><span style=\"color:#b00000\">%1</span>")
                       .arg(text(note).toHtmlEscaped());
    }
    ui_->souhrn->setText(summary);
    showSelected();
}

void ContestWindow::showSelected() {
    const std::optional<std::size_t> log = selectedLog();
    if (!log) {
        ui_->podrobnosti->clear();
        ui_->radkyQso->clear();
    } else {
        ui_->podrobnosti->setHtml(logDetailsHtml(*contest_, *log));
        ui_->radkyQso->setHtml(qsoLinesHtml(*contest_, *log));
    }
    updateCommands();
}

void ContestWindow::showProgress(WorkStage stage, qint64 done, qint64 total) {
    ui_->prubeh->setMaximum(static_cast<int>(total));
    ui_->prubeh->setValue(static_cast<int>(done));
    ui_->stav->setText(QStringLiteral("%1: %2 z %3").arg(stageText(stage)).arg(done).arg(total));
}

std::optional<std::size_t> ContestWindow::selectedLog() const {
    const QModelIndex current = ui_->tabulka->currentIndex();
    if (!contest_ || !current.isValid()) {
        return std::nullopt;
    }
    const std::size_t log = rows_->data(current, ContestTableModel::kLogRole).value<qulonglong>();
    if (log >= contest_->logs().size()) {
        return std::nullopt;
    }
    return log;
}

void ContestWindow::selectLog(std::size_t log) {
    const QModelIndex row = rows_->mapFromSource(model_->index(static_cast<int>(log), 0));
    if (row.isValid()) {
        ui_->tabulka->setCurrentIndex(row);
        ui_->tabulka->selectRow(row.row());
    }
}

}  // namespace zeb
