#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <sstream>

#include "cli/zebscore.h"
#include "contest/intake/contest_log.h"
#include "contest/publish/contest_view.h"
#include "contest/publish/results_table.h"
#include "platform/translation.h"
#include "scripted_platform.h"
#include "support/folder_files.h"
#include "synthetic_log.h"
#include "ui/command_line.h"
#include "ui/contest_table_model.h"
#include "ui/contest_window.h"
#include "ui/tform1.h"
#include "ui/window_texts.h"

using zeb::ContestTableModel;
using zeb::StartRequest;

namespace {

namespace fs = std::filesystem;

QString contestFile(const char* name) {
    return QStringLiteral(ZEB_TEST_DATA_DIR "/contest/") + QLatin1String(name);
}

// The fields of a CSV record of the results table (RFC 4180).
QStringList csvFields(const QString& record) {
    QStringList fields = {QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < record.size(); ++i) {
        const QChar c = record.at(i);
        if (c == QLatin1Char('"') && quoted && i + 1 < record.size() &&
            record.at(i + 1) == QLatin1Char('"')) {
            fields.back() += c;
            ++i;
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(',') && !quoted) {
            fields.push_back(QString());
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The Czech outcome that the window shows for zebscore's English one.
QString czechOutcome(const QString& english) {
    using zeb::contest::LogOutcome;
    for (const LogOutcome outcome :
         {LogOutcome::Scored, LogOutcome::Refused, LogOutcome::Unreadable, LogOutcome::Aborted}) {
        if (english == QLatin1String(zeb::contest::outcomeName(outcome))) {
            return QString::fromUtf8(zeb::contest::czechOutcomeName(outcome));
        }
    }
    return english;
}

// The flags of zebscore's codes as the window names them.
QString flagPhrasesOf(const QString& codes) {
    QStringList phrases;
    for (const QString& code : codes.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        phrases.push_back(
            QString::fromUtf8(zeb::contest::flagPhrase(code.toStdString(), zeb::userLanguage())));
    }
    return phrases.join(QStringLiteral(", "));
}

}  // namespace

// The contest window over the small test contest and a file that is no log, its folder dialogs
// and the form's dialogs scripted, compared with zebscore --contest over the same folder.
class ContestWindowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void commandLine_data();
    void commandLine();
    void folderShowsWhatZebscoreRanks();
    void filterShowsTheLogsToLookAt();
    void flagReasonsShowWhatTheLogsWrite();
    void logCorrectedInTheFormCountsWhenBack();
    void savedResultsAreWhatZebscoreWrites();
    void droppedFolderOrFilesGoToTheContest();
    void windowAnswersWhileAContestIsChecked();
    void formEndingReturnsToTheContest_data();
    void formEndingReturnsToTheContest();
    void closingWithUnsavedResultsAsks();
    void decisionMadeInTheWindowIsWhatZebscoreReads_data();
    void decisionMadeInTheWindowIsWhatZebscoreReads();
    void decisionsEditedByHandAreTakenBack();
    void filesThatAreNoLogsAreRowsWithTheirReasons();
    void windowSpeaksTheUserLanguage_data();
    void windowSpeaksTheUserLanguage();
    void corpusFitsAWindow1280Wide_data();
    void corpusFitsAWindow1280Wide();

  private:
    template <typename T>
    T* child(const char* name) const {
        T* const found = window_->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no control %s", name);
        }
        return found;
    }
    QAbstractItemModel* table() const { return child<QTableView>("tabulka")->model(); }
    QString cell(int row, int column) const {
        return table()->index(row, column).data().toString();
    }
    QStringList tableCells() const {
        QStringList cells;
        for (int row = 0; row < table()->rowCount(); ++row) {
            for (int column = 0; column < table()->columnCount(); ++column) {
                cells.push_back(cell(row, column));
            }
        }
        return cells;
    }
    int rowOf(const QString& file) const {
        for (int row = 0; row < table()->rowCount(); ++row) {
            if (cell(row, ContestTableModel::File) == file) {
                return row;
            }
        }
        return -1;
    }
    QString out() const { return logs_ + QStringLiteral("/vyhodnoceni"); }
    std::string outBytes() const { return QFile::encodeName(out()).toStdString(); }
    void openAndWait(const QString& folder) {
        window_->openPaths({folder});
        QTRY_VERIFY_WITH_TIMEOUT(!window_->busy(), 60000);
    }
    // zebscore --contest into the window's output folder, its reports of before removed first.
    void runZebscore(const std::vector<std::string>& options = {}) const;
    // The table in its first order against zebscore's results table.
    void expectTableIsZebscores() const;
    void correctOl3cccCopy() const;
    // A click on the log's row; then the details or the QSO lines shown.
    void selectRow(const QString& file);
    QString details() const { return child<QTextBrowser>("podrobnosti")->toPlainText(); }
    // A click on the QSO line that holds `text`, in the QSO lines of the log selected.
    void selectQsoLine(const QString& text);
    void click(const char* button) {
        QVERIFY2(child<QPushButton>(button)->isEnabled(), button);
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window_->busy(), 30000);
    }
    void writeFile(const QString& path, const QByteArray& bytes) const {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // A double click on the log's row.
    void openInForm(const QString& file);
    // The form and the contest window, made anew: their texts are set as they are made.
    void makeWindows();

    std::unique_ptr<QTemporaryDir> temp_;
    QString logs_;
    std::unique_ptr<zeb::test::ScriptedPlatform> platform_;
    std::unique_ptr<zeb::test::ScriptedFileDialogs> dialogs_;
    std::unique_ptr<zeb::test::ScriptedFolderDialogs> folders_;
    std::unique_ptr<zeb::test::ScriptedClosingQuestion> closing_;
    std::unique_ptr<zeb::test::ScriptedReasonQuestion> reasons_;
    std::unique_ptr<zeb::TForm1> form_;
    std::unique_ptr<zeb::ContestWindow> window_;
    QList<QUrl> opened_;
};

// The window speaks the evaluator's language, Czech, as on the club's machines.
void ContestWindowTest::initTestCase() {
    qputenv("LANGUAGE", "cs");
    zeb::useUserLanguage();
    zeb::useWindowTexts();
}

void ContestWindowTest::init() {
    temp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(temp_->isValid());
    logs_ = temp_->filePath(QStringLiteral("logs"));
    QVERIFY(QDir().mkpath(logs_));
    for (const char* name :
         {"ok1aaa.cbr", "ok2bbb.cbr", "ol3ccc.cbr", "om4ddd.cbr", "dl5eee.cbr", "ok1fff-tab.cbr"}) {
        QVERIFY(QFile::copy(contestFile(name), logs_ + QLatin1Char('/') + QLatin1String(name)));
    }
    QFile notes(logs_ + QStringLiteral("/notes.log"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("what to bring to the contest\n");
    notes.close();

    platform_ = std::make_unique<zeb::test::ScriptedPlatform>();
    dialogs_ = std::make_unique<zeb::test::ScriptedFileDialogs>();
    folders_ = std::make_unique<zeb::test::ScriptedFolderDialogs>();
    closing_ = std::make_unique<zeb::test::ScriptedClosingQuestion>();
    reasons_ = std::make_unique<zeb::test::ScriptedReasonQuestion>();
    makeWindows();
}

void ContestWindowTest::makeWindows() {
    window_.reset();
    form_ = std::make_unique<zeb::TForm1>(*platform_, *dialogs_);
    window_ = std::make_unique<zeb::ContestWindow>(*folders_, *closing_, *reasons_);
    window_->setForm(form_.get());
    // As main.cpp wires the desktop's platform.
    platform_->endHook = [this](int) { return window_->closeFormInsteadOfEnding(); };
    window_->setUrlOpener([this](const QUrl& url) {
        opened_.push_back(url);
        return true;
    });
    window_->show();
}

void ContestWindowTest::cleanup() {
    // A test that spoke another language leaves Czech to the next.
    qputenv("LANGUAGE", "cs");
    zeb::useUserLanguage();
    window_.reset();
    form_.reset();
    reasons_.reset();
    closing_.reset();
    folders_.reset();
    dialogs_.reset();
    platform_.reset();
    opened_.clear();
    temp_.reset();
}

void ContestWindowTest::runZebscore(const std::vector<std::string>& options) const {
    for (const fs::directory_entry& entry : fs::directory_iterator(outBytes())) {
        // The evaluator's copies and decisions are what zebscore reads.
        if (entry.path().filename() != "fixed" && entry.path().filename() != "decisions.txt") {
            fs::remove_all(entry.path());
        }
    }
    std::ostringstream output;
    std::ostringstream errors;
    std::vector<std::string> args = {"--contest", outBytes(), "--config-beside"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(QFile::encodeName(logs_).toStdString());
    const int status = zeb::cli::run(args, output, errors);
    QCOMPARE(status, zeb::cli::kExitRefused);  // notes.log
}

void ContestWindowTest::expectTableIsZebscores() const {
    runZebscore();
    QFile csv(out() + QStringLiteral("/results.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QStringList records =
        QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    // The files that are no logs follow the logs, which zebscore's table holds alone.
    const int logs = static_cast<int>(window_->contest()->logs().size());
    QCOMPARE(table()->rowCount(), logs + static_cast<int>(window_->contest()->others().size()));
    QCOMPARE(logs, records.size() - 1);
    for (int row = 0; row < logs; ++row) {
        const QStringList zebscore = csvFields(records.at(row + 1));
        const QString rank = cell(row, ContestTableModel::Rank);
        // Ranked apart or not scored, zebscore's table has no rank.
        QCOMPARE(rank.toInt() > 0 ? rank : QString(), zebscore.at(0));
        QCOMPARE(cell(row, ContestTableModel::Call), zebscore.at(1));
        QCOMPARE(cell(row, ContestTableModel::Qsos), zebscore.at(2));
        QCOMPARE(cell(row, ContestTableModel::Claimed), zebscore.at(7));
        QCOMPARE(cell(row, ContestTableModel::Result), zebscore.at(8));
        QCOMPARE(cell(row, ContestTableModel::CheckedResult), zebscore.at(9));
        QCOMPARE(cell(row, ContestTableModel::RemovedQsos), zebscore.at(10));
        QCOMPARE(cell(row, ContestTableModel::Flags), flagPhrasesOf(zebscore.at(13)));
        QCOMPARE(cell(row, ContestTableModel::File), zebscore.at(14));
        // A scored log below the ranking says what it is instead.
        const std::size_t log =
            table()->index(row, 0).data(ContestTableModel::kLogRole).value<qulonglong>();
        const QString standing =
            QString::fromStdString(zeb::contest::standingOf(window_->contest()->logs(), log));
        QCOMPARE(cell(row, ContestTableModel::Outcome),
                 standing.isEmpty() ? czechOutcome(zebscore.at(15)) : standing);
    }
}

// OL3CCC's copy with the QSO that OK2BBB logged and OL3CCC forgot, as an evaluator adds it.
void ContestWindowTest::correctOl3cccCopy() const {
    QFile copy(out() + QStringLiteral("/fixed/ol3ccc.cbr"));
    QVERIFY(copy.open(QIODevice::ReadWrite));
    QByteArray text = copy.readAll();
    text.insert(text.indexOf("QSO:  7050"),
                "QSO:  7030 CW 2024-03-02 0730 OL3CCC        599 NM     OK2BBB        599 22\n");
    QVERIFY(copy.resize(0));
    copy.write(text);
}

void ContestWindowTest::selectRow(const QString& file) {
    auto* view = child<QTableView>("tabulka");
    const int row = rowOf(file);
    QVERIFY2(row >= 0, qPrintable(file));
    view->scrollTo(table()->index(row, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(table()->index(row, 1)).center());
    QCOMPARE(view->currentIndex().row(), row);
}

void ContestWindowTest::selectQsoLine(const QString& text) {
    child<QTabWidget>("detaily")->setCurrentWidget(child<QWidget>("strankaRadky"));
    auto* lines = child<QTextBrowser>("radkyQso");
    const QTextCursor at = lines->document()->find(text);
    QVERIFY2(!at.isNull(), qPrintable(text));
    lines->setTextCursor(at);
    lines->ensureCursorVisible();
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, lines->cursorRect(at).center());
    QVERIFY2(child<QLabel>("vybraneQso")->text().contains(text),
             qPrintable(child<QLabel>("vybraneQso")->text()));
}

void ContestWindowTest::openInForm(const QString& file) {
    auto* view = child<QTableView>("tabulka");
    const QRect row = view->visualRect(table()->index(rowOf(file), 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
    QVERIFY(form_->isVisible());
}

void ContestWindowTest::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<StartRequest>("request");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QStringList>("contest");

    const QString folder = QStringLiteral(ZEB_TEST_DATA_DIR "/contest");
    const QString a = contestFile("ok1aaa.cbr");
    const QString b = contestFile("ok2bbb.cbr");
    QTest::newRow("one log: the form")
        << QStringList{"zebcontest", a} << StartRequest::Window << a << QStringList{};
    QTest::newRow("a folder: the contest")
        << QStringList{"zebcontest", folder} << StartRequest::Contest << QString()
        << QStringList{folder};
    QTest::newRow("two logs: the contest")
        << QStringList{"zebcontest", a, b} << StartRequest::Contest << QString()
        << QStringList{a, b};
    QTest::newRow("--contest alone asks for a folder")
        << QStringList{"zebcontest", "--contest"} << StartRequest::Contest << QString()
        << QStringList{};
    QTest::newRow("--contest with one log") << QStringList{"zebcontest", "--contest", a}
                                            << StartRequest::Contest << QString() << QStringList{a};
    QTest::newRow("an unknown option") << QStringList{"zebcontest", "--bogus", folder}
                                       << StartRequest::UsageError << QString() << QStringList{};
}

void ContestWindowTest::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(StartRequest, request);
    QFETCH(QString, log);
    QFETCH(QStringList, contest);
    const zeb::CommandLine line = zeb::readCommandLine(arguments);
    QCOMPARE(line.request, request);
    QCOMPARE(line.log.value_or(QString()), log);
    QCOMPARE(line.contest, contest);
}

void ContestWindowTest::folderShowsWhatZebscoreRanks() {
    QFile ok1aaa(logs_ + QStringLiteral("/ok1aaa.cbr"));
    QVERIFY(ok1aaa.open(QIODevice::ReadWrite));
    QByteArray text = ok1aaa.readAll();
    text.insert(text.indexOf("QSO:"), "CLAIMED-SCORE: 470\n");
    QVERIFY(ok1aaa.resize(0));
    ok1aaa.write(text);
    ok1aaa.close();
    openAndWait(logs_);

    expectTableIsZebscores();
    QCOMPARE(cell(rowOf(QStringLiteral("ok1aaa.cbr")), ContestTableModel::Claimed), "470");
    const int notes = rowOf(QStringLiteral("notes.log"));
    QCOMPARE(cell(notes, ContestTableModel::Outcome), QStringLiteral("odmítnut"));
    QVERIFY(table()
                ->index(notes, ContestTableModel::Call)
                .data(Qt::ToolTipRole)
                .toString()
                .contains(QStringLiteral("není to deník Cabrillo")));
    QCOMPARE(cell(rowOf(QStringLiteral("ok1aaa.cbr")), ContestTableModel::FirstFinding), "0");
    QCOMPARE(cell(rowOf(QStringLiteral("ok2bbb.cbr")), ContestTableModel::FirstFinding), "1");
    QVERIFY2(child<QLabel>("souhrn")->text().contains(
                 QStringLiteral("Deníků: 7 – v pořadí 6, mimo pořadí 0, kontrolních 0, "
                                "odložených 0, nehodnocených 1")),
             qPrintable(child<QLabel>("souhrn")->text()));
    QCOMPARE(child<QLabel>("vystupniSlozka")->text(), QDir::toNativeSeparators(out()));
    // Nothing in the contest window asks, stops or ends anything.
    QVERIFY(window_->isVisible());
    QVERIFY(platform_->messages.empty());
    QVERIFY(platform_->exitCodes.empty());
}

void ContestWindowTest::filterShowsTheLogsToLookAt() {
    openAndWait(logs_);
    int flagged = 0;
    for (const zeb::contest::ContestLog& log : window_->contest()->logs()) {
        flagged += log.flags.empty() ? 0 : 1;
    }
    QVERIFY(flagged > 0 && flagged < table()->rowCount());

    QTest::mouseClick(child<QCheckBox>("jenKeKontrole"), Qt::LeftButton);
    QCOMPARE(table()->rowCount(), flagged);
    for (int row = 0; row < table()->rowCount(); ++row) {
        QVERIFY(!cell(row, ContestTableModel::Flags).isEmpty());
    }
    QTest::mouseClick(child<QCheckBox>("jenKeKontrole"), Qt::LeftButton);
    QCOMPARE(table()->rowCount(), 7);
}

void ContestWindowTest::flagReasonsShowWhatTheLogsWrite() {
    // Two logs of a station whose call holds markup, one of them named with an ampersand.
    const QString folder = temp_->filePath(QStringLiteral("markup"));
    QVERIFY(QDir().mkpath(folder));
    for (const char* name : {"ok1aa.cbr", "ok1aa & co.cbr"}) {
        QFile log(folder + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write(
            "START-OF-LOG: 3.0\nCALLSIGN: <b>OK1AA\n"
            "QSO:  3510 CW 2024-03-02 0700 <b>OK1AA      599 101    OK1BB         599 102\n"
            "END-OF-LOG:\n");
    }
    openAndWait(folder);

    QTextDocument tooltip;
    tooltip.setHtml(table()
                        ->index(rowOf(QStringLiteral("ok1aa.cbr")), ContestTableModel::Call)
                        .data(Qt::ToolTipRole)
                        .toString());
    QVERIFY2(tooltip.toPlainText().contains(
                 QStringLiteral("dva deníky jedné stanice: stanice <B>OK1AA poslala i deník "
                                "ok1aa & co.cbr")),
             qPrintable(tooltip.toPlainText()));
}

void ContestWindowTest::logCorrectedInTheFormCountsWhenBack() {
    openAndWait(logs_);
    QCOMPARE(cell(rowOf(QStringLiteral("ok2bbb.cbr")), ContestTableModel::CheckedResult),
             QStringLiteral("287"));
    const QString ol3cccResult =
        cell(rowOf(QStringLiteral("ol3ccc.cbr")), ContestTableModel::Result);

    openInForm(QStringLiteral("ol3ccc.cbr"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("ol3ccc.cbr"));
    QCOMPARE(form_->state().qsoTable.qsoCount, 6);

    // In the form the exchange is read from column 0, and saved beside the copy where the
    // dialog proposes; meanwhile the copy gets the QSO that OL3CCC forgot.
    form_->findChild<QLineEdit*>(QStringLiteral("istart"))->setText(QStringLiteral("0"));
    const QString config = out() + QStringLiteral("/fixed/ol3ccc.ini");
    dialogs_->answers.push_back(config);
    QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    QCOMPARE(dialogs_->shown.back().preset, config);
    QVERIFY(QFile::exists(config));
    correctOl3cccCopy();
    form_->close();

    // OK2BBB's QSO is in its partner's log now; OL3CCC's own result follows its columns.
    QTRY_COMPARE_WITH_TIMEOUT(
        cell(rowOf(QStringLiteral("ok2bbb.cbr")), ContestTableModel::CheckedResult),
        QStringLiteral("294"), 30000);
    QVERIFY(!window_->busy());
    const int ol3ccc = rowOf(QStringLiteral("ol3ccc.cbr"));
    QCOMPARE(cell(ol3ccc, ContestTableModel::Qsos), QStringLiteral("7"));
    QVERIFY(cell(ol3ccc, ContestTableModel::Result) != ol3cccResult);
    expectTableIsZebscores();
}

void ContestWindowTest::savedResultsAreWhatZebscoreWrites() {
    openAndWait(logs_);
    QVERIFY(!child<QPushButton>("otevritVysledky")->isEnabled());
    // OK1AAA and DL5EEE logged their 80 m QSO three minutes apart.
    child<QSpinBox>("casoveOkno")->setValue(1);
    QTRY_COMPARE(window_->contest()->windowMinutes(), 1);
    QTRY_VERIFY(!window_->busy());
    QTest::mouseClick(child<QPushButton>("ulozitVysledky"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window_->busy(), 30000);
    QVERIFY2(child<QLabel>("stav")->text().startsWith(QStringLiteral("Výsledky uloženy")),
             qPrintable(child<QLabel>("stav")->text()));

    const zeb::test::FolderFiles saved = zeb::test::filesUnder(outBytes());
    QVERIFY(saved.count("index.html") && saved.count("protocols/om4ddd.prn"));
    runZebscore({"--time-window", "1"});
    QCOMPARE(zeb::test::folderDifferences(saved, zeb::test::filesUnder(outBytes())), std::string());

    QTest::mouseClick(child<QPushButton>("otevritVysledky"), Qt::LeftButton);
    QCOMPARE(opened_, QList{QUrl::fromLocalFile(out() + QStringLiteral("/index.html"))});
}

void ContestWindowTest::droppedFolderOrFilesGoToTheContest() {
    QList<QStringList> opened;
    form_->setContestOpener([&](const QStringList& paths) { opened.push_back(paths); });
    const QString a = logs_ + QStringLiteral("/ok1aaa.cbr");
    const QString b = logs_ + QStringLiteral("/ok2bbb.cbr");
    for (const QStringList& paths : {QStringList{logs_}, QStringList{a, b}}) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& path : paths) {
            urls.push_back(QUrl::fromLocalFile(path));
        }
        mime.setUrls(urls);
        const QPoint at = form_->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form_.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form_.get(), &drop);
        QCOMPARE(opened.back(), paths);
    }
    QCOMPARE(form_->state().qsoTable.qsoCount, 0);
}

void ContestWindowTest::windowAnswersWhileAContestIsChecked() {
    // The 500 stations of the benchmarks.
    const QString folder = temp_->filePath(QStringLiteral("stations"));
    zeb::bench::syntheticContestFolder(QFile::encodeName(folder).toStdString(), 500, 300);
    int ticksWhileBusy = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ticksWhileBusy += window_->busy() ? 1 : 0; });
    ticker.start(0);

    window_->openPaths({folder});
    QVERIFY(window_->busy());
    auto* progress = child<QProgressBar>("prubeh");
    QTRY_VERIFY(progress->value() >= 3);
    QVERIFY(window_->busy());
    QVERIFY(ticksWhileBusy > 0);
    QTest::mouseClick(child<QPushButton>("zrusit"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window_->busy(), 30000);

    // Stopped: nothing shown, nothing written but whole repaired copies.
    QCOMPARE(table()->rowCount(), 0);
    QVERIFY(child<QLabel>("stav")->text().startsWith(QStringLiteral("Zrušeno")));
    QCOMPARE(QDir(folder + QStringLiteral("/vyhodnoceni"))
                 .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{QStringLiteral("fixed")});
}

void ContestWindowTest::formEndingReturnsToTheContest_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("status");

    QTest::newRow("Konec closes the form")
        << "Konec" << QStringLiteral("Formulář s deníkem ol3ccc.cbr zavřen (Konec).");
    QTest::newRow("Abort at an unknown prefix abandons the computation")
        << "Abort" << QStringLiteral("Výpočet deníku ol3ccc.cbr ve formuláři byl přerušen");
    QTest::newRow("a log that the form refuses closes it")
        << "refused" << QStringLiteral("Formulář odmítl deník tab.cbr");
}

// Whatever would end the program in the form on its own closes the form opened from here.
void ContestWindowTest::formEndingReturnsToTheContest() {
    QFETCH(QString, command);
    QFETCH(QString, status);
    openAndWait(logs_);
    openInForm(QStringLiteral("ol3ccc.cbr"));

    const auto click = [this](const char* button) {
        QTest::mouseClick(form_->findChild<QPushButton*>(QString::fromLatin1(button)),
                          Qt::LeftButton);
    };
    if (command == QLatin1String("Konec")) {
        click("Button1");
    } else if (command == QLatin1String("Abort")) {
        // The call read from column 0 is "QSO:"; the scripted box answers "&Abort".
        form_->findChild<QLineEdit*>(QStringLiteral("cstart"))->setText(QStringLiteral("0"));
        click("bvypocet");
        QVERIFY(platform_->messageTexts().contains(QStringLiteral("nenalezen prefix")));
    } else {
        dialogs_->answers.push_back(QStringLiteral(ZEB_UI_TEST_DATA_DIR "/tab.cbr"));
        click("nactidenik");
        QVERIFY(platform_->messageTexts().contains(QStringLiteral("tabulátor")));
    }

    QTRY_VERIFY(!form_->isVisible());
    QVERIFY2(child<QLabel>("stav")->text().startsWith(status),
             qPrintable(child<QLabel>("stav")->text()));
    QVERIFY(window_->isVisible());
    QCOMPARE(table()->rowCount(), 7);
    QVERIFY(platform_->exitCodes.empty());
    QVERIFY(form_->findChild<QProgressBar*>(QStringLiteral("paska"))->isHidden());
    QTRY_VERIFY_WITH_TIMEOUT(!window_->busy(), 30000);
}

void ContestWindowTest::closingWithUnsavedResultsAsks() {
    openAndWait(logs_);

    // Loaded and not saved: "Zrušit" keeps the window.
    window_->close();
    QCOMPARE(closing_->shown.size(), std::size_t{1});
    QCOMPARE(closing_->shown[0].title, QStringLiteral("Zavřít vyhodnocení"));
    QVERIFY(closing_->shown[0].text.startsWith(QStringLiteral("Výsledky soutěže nejsou uloženy.")));
    QVERIFY(window_->isVisible());

    // Saved with "Uložit výsledky": no question.
    QTest::mouseClick(child<QPushButton>("ulozitVysledky"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window_->busy(), 30000);
    window_->close();
    QCOMPARE(closing_->shown.size(), std::size_t{1});
    QVERIFY(!window_->isVisible());

    // Checked again with another time window: "Uložit" saves, then the window closes.
    window_->show();
    child<QSpinBox>("casoveOkno")->setValue(1);
    QTRY_COMPARE(window_->contest()->windowMinutes(), 1);
    QTRY_VERIFY(!window_->busy());
    closing_->answers.push_back(zeb::ClosingAnswer::Save);
    window_->close();
    QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 30000);
    QCOMPARE(closing_->shown.size(), std::size_t{2});
    QVERIFY(child<QLabel>("stav")->text().startsWith(QStringLiteral("Výsledky uloženy")));
    QVERIFY(!window_->unsaved());

    // Closed while the logs are taken in again: the work stops, then the question comes about
    // the contest it left shown, and "Zavřít bez uložení" closes.
    window_->show();
    child<QSpinBox>("casoveOkno")->setValue(2);
    QTRY_COMPARE(window_->contest()->windowMinutes(), 2);
    QTRY_VERIFY(!window_->busy());
    window_->openPaths({logs_});
    QVERIFY(window_->busy());
    closing_->answers.push_back(zeb::ClosingAnswer::CloseWithoutSaving);
    window_->close();
    QVERIFY(window_->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 30000);
    QVERIFY(!window_->busy());
    QCOMPARE(closing_->shown.size(), std::size_t{3});
    QCOMPARE(window_->contest()->windowMinutes(), 2);
}

void ContestWindowTest::decisionMadeInTheWindowIsWhatZebscoreReads_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("qsoLine");  // the QSO line decided about, or none for the log
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("reason");  // the answer to the reason's box; none: no box
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("value");  // of the log's cell in that column once decided
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("undo");
    QTest::addColumn<QString>("copyOf");  // the log of which the file is a byte copy

    QTest::newRow("a QSO that its partner did not log is kept")
        << "ok2bbb.cbr"
        << "0730 OK2BBB"
        << "uznatQso"
        << "OL3CCC ho potvrdil e-mailem" << int(ContestTableModel::CheckedResult) << "294"
        << "QSO uznáno, řádek 11, důvod: OL3CCC ho potvrdil e-mailem"
        << "zrusitRozhodnutiQso" << QString();
    QTest::newRow("a confirmed QSO is removed")
        << "ok1aaa.cbr"
        << "0705 OK1AAA"
        << "vyraditQso"
        << "mimo povolený úsek pásma" << int(ContestTableModel::RemovedQsos) << "2"
        << "QSO vyřazeno, řádek 8, důvod: mimo povolený úsek pásma"
        << "zrusitRozhodnutiQso" << QString();
    QTest::newRow("a log is set aside")
        << "om4ddd.cbr" << QString() << "odlozit"
        << "deník přišel po termínu" << int(ContestTableModel::Outcome) << "odložen"
        << "Nehodnotí se: odložen vyhodnocovatelem: deník přišel po termínu."
        << "zrusitRozhodnuti" << QString();
    QTest::newRow("a log becomes a check log")
        << "dl5eee.cbr" << QString() << "kontrolni" << QString() << int(ContestTableModel::Outcome)
        << "kontrolní deník"
        << "Účinek: kontrolní deník: potvrzuje QSO ostatních, nehodnotí se"
        << "zrusitRozhodnuti" << QString();
    QTest::newRow("the copy of a log sent twice counts")
        << "ok2bbb-znovu.cbr" << QString() << "platiTento" << QString()
        << int(ContestTableModel::Outcome) << "hodnocen"
        << "Účinek: platí tento deník stanice; ostatní jsou nahrazeny"
        << "zrusitRozhodnuti"
        << "ok2bbb.cbr";
}

// Each decision is written into OUT/decisions.txt, which zebscore reads: the saved results are
// zebscore's with it, and undone it leaves the table as it was.
void ContestWindowTest::decisionMadeInTheWindowIsWhatZebscoreReads() {
    QFETCH(QString, file);
    QFETCH(QString, qsoLine);
    QFETCH(QString, command);
    QFETCH(QString, reason);
    QFETCH(int, column);
    QFETCH(QString, value);
    QFETCH(QString, detail);
    QFETCH(QString, undo);
    QFETCH(QString, copyOf);
    if (!copyOf.isEmpty()) {
        QVERIFY(QFile::copy(logs_ + QLatin1Char('/') + copyOf, logs_ + QLatin1Char('/') + file));
    }
    openAndWait(logs_);
    const QStringList before = tableCells();
    QVERIFY(cell(rowOf(file), column) != value);

    selectRow(file);
    if (!qsoLine.isEmpty()) {
        selectQsoLine(qsoLine);
    }
    if (!reason.isNull()) {
        reasons_->answers.push_back(reason);
    }
    click(qPrintable(command));
    QCOMPARE(reasons_->shown.size(), std::size_t{reason.isNull() ? 0U : 1U});
    QCOMPARE(cell(rowOf(file), column), value);
    QVERIFY2(details().contains(detail), qPrintable(details()));

    click("ulozitVysledky");
    const zeb::test::FolderFiles saved = zeb::test::filesUnder(outBytes());
    QVERIFY(saved.count("decisions.txt"));
    runZebscore();
    QCOMPARE(zeb::test::folderDifferences(saved, zeb::test::filesUnder(outBytes())), std::string());
    expectTableIsZebscores();

    if (!qsoLine.isEmpty()) {
        selectQsoLine(qsoLine);
    }
    click(qPrintable(undo));
    QCOMPARE(tableCells(), before);
    QVERIFY(zeb::contest::readDecisionFile(outBytes() + "/decisions.txt").decisions.empty());
    QVERIFY(!details().contains(QStringLiteral("Rozhodnutí vyhodnocovatele")));
}

// A decisions file edited while the window is up counts once the window is the evaluator's
// again; its decisions that do nothing and its lines that are none say why.
void ContestWindowTest::decisionsEditedByHandAreTakenBack() {
    openAndWait(logs_);
    click("ulozitVysledky");
    QVERIFY(!window_->unsaved());
    writeFile(out() + QStringLiteral("/decisions.txt"),
              "platí om4ddd.cbr\n"
              "uznat ok1aaa.cbr | QSO: 3510 CW 2024-03-02 0659 OK1AAA 599 11 OK2BBB 599 23 | "
              "překlep\n"
              "odlozit ok2bbb.cbr | poslal dva různé deníky\n"
              "zamítnout dl5eee.cbr\n");
    QVERIFY(window_->unsaved());
    QEvent activation(QEvent::ActivationChange);
    window_->activateWindow();
    QTRY_VERIFY(window_->isActiveWindow());
    QApplication::sendEvent(window_.get(), &activation);
    QTRY_COMPARE_WITH_TIMEOUT(cell(rowOf(QStringLiteral("ok2bbb.cbr")), ContestTableModel::Outcome),
                              QStringLiteral("odložen"), 30000);
    QTRY_VERIFY(!window_->busy());
    QVERIFY(child<QLabel>("stav")->text().contains(QStringLiteral("decisions.txt se změnil")));
    QVERIFY(child<QLabel>("souhrn")->text().contains(
        QStringLiteral("decisions.txt: řádek 4 nelze přečíst: neznámé rozhodnutí „zamítnout“")));

    selectRow(QStringLiteral("ok1aaa.cbr"));
    QVERIFY2(details().contains(QStringLiteral("Neplatí: deník ok1aaa.cbr takový řádek QSO nemá")),
             qPrintable(details()));
    selectRow(QStringLiteral("om4ddd.cbr"));
    QVERIFY2(details().contains(
                 QStringLiteral("Účinek: deník je jediný deník své stanice: nic se nemění")),
             qPrintable(details()));
    selectRow(QStringLiteral("ok2bbb.cbr"));
    QVERIFY2(details().contains(QStringLiteral("Nehodnotí se: odložen vyhodnocovatelem: poslal "
                                               "dva různé deníky.")),
             qPrintable(details()));
    // Its QSOs are no longer decided about.
    QVERIFY(!child<QPushButton>("uznatQso")->isEnabled());
    expectTableIsZebscores();
}

void ContestWindowTest::filesThatAreNoLogsAreRowsWithTheirReasons() {
    writeFile(logs_ + QStringLiteral("/ok9xyz.zip"), QByteArray("PK\x03\x04", 4) + "rest");
    writeFile(logs_ + QStringLiteral("/propozice.docx"), QByteArray("PK\x03\x04", 4) + "word");
    // An evaluation of before: its folder is no file of the contest.
    QVERIFY(QDir().mkpath(out()));
    openAndWait(logs_);

    QVERIFY2(child<QLabel>("stav")->text().startsWith(
                 QStringLiteral("Deníků načteno a zkontrolováno: 7, dalších souborů, které "
                                "nejsou deníky: 2.")),
             qPrintable(child<QLabel>("stav")->text()));
    QCOMPARE(rowOf(QStringLiteral("vyhodnoceni")), -1);
    for (const auto& [file, reason] :
         {std::pair{"ok9xyz.zip", "archiv"}, std::pair{"propozice.docx", "dokument"}}) {
        const int row = rowOf(QLatin1String(file));
        QVERIFY2(row >= 7, file);
        QCOMPARE(cell(row, ContestTableModel::Outcome), QStringLiteral("není deník"));
        QVERIFY2(cell(row, ContestTableModel::Flags).contains(QLatin1String(reason)),
                 qPrintable(cell(row, ContestTableModel::Flags)));
        QVERIFY(table()
                    ->index(row, ContestTableModel::Call)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains(cell(row, ContestTableModel::Flags).toHtmlEscaped()));
        selectRow(QLatin1String(file));
        QVERIFY2(details().contains(cell(row, ContestTableModel::Flags)), qPrintable(details()));
        QVERIFY(!child<QPushButton>("odlozit")->isEnabled());
    }
    // They are among what the filter keeps to look at.
    QTest::mouseClick(child<QCheckBox>("jenKeKontrole"), Qt::LeftButton);
    QVERIFY(rowOf(QStringLiteral("propozice.docx")) >= 0);
    QTest::mouseClick(child<QCheckBox>("jenKeKontrole"), Qt::LeftButton);
    expectTableIsZebscores();

    // The index page names them as zebscore's does.
    click("ulozitVysledky");
    const zeb::test::FolderFiles saved = zeb::test::filesUnder(outBytes());
    runZebscore();
    QCOMPARE(zeb::test::folderDifferences(saved, zeb::test::filesUnder(outBytes())), std::string());
}

void ContestWindowTest::windowSpeaksTheUserLanguage_data() {
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("bustedCall");  // the heading of its column, on one line
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("outcome");  // of a log sent twice
    QTest::addColumn<QString>("flags");

    QTest::newRow("Czech") << QByteArray("cs") << "Otevřít složku…"
                           << "Podrobnosti"
                           << "Protistanice zapsala vaši značku chybně"
                           << "Deníků načteno a zkontrolováno: 8"
                           << "kopie deníku ok2bbb.cbr"
                           << "kopie jiného deníku, dva deníky jedné stanice";
    QTest::newRow("English") << QByteArray("en") << "Open folder…"
                             << "Details"
                             << "The partner logged your call wrongly"
                             << "Logs read and checked: 8"
                             << "copy of the log ok2bbb.cbr"
                             << "a copy of another log, two logs of one station";
}

// The contest window in the user's language, the reasons of its flags in Czech beside their
// phrases; the form is Czech in every language.
void ContestWindowTest::windowSpeaksTheUserLanguage() {
    QFETCH(QByteArray, language);
    QFETCH(QString, button);
    QFETCH(QString, tab);
    QFETCH(QString, bustedCall);
    QFETCH(QString, status);
    QFETCH(QString, outcome);
    QFETCH(QString, flags);
    qputenv("LANGUAGE", language);
    zeb::useUserLanguage();
    makeWindows();
    const QString copy = QStringLiteral("ok2bbb-znovu.cbr");
    QVERIFY(QFile::copy(logs_ + QStringLiteral("/ok2bbb.cbr"), logs_ + QLatin1Char('/') + copy));
    openAndWait(logs_);

    QCOMPARE(child<QPushButton>("otevritSlozku")->text(), button);
    QCOMPARE(child<QTabWidget>("detaily")->tabText(0), tab);
    const int bustedColumn = ContestTableModel::FirstFinding + 1;
    QCOMPARE(table()->headerData(bustedColumn, Qt::Horizontal).toString().replace('\n', ' '),
             bustedCall);
    QVERIFY2(child<QLabel>("stav")->text().startsWith(status),
             qPrintable(child<QLabel>("stav")->text()));
    QCOMPARE(cell(rowOf(copy), ContestTableModel::Outcome), outcome);
    QCOMPARE(cell(rowOf(copy), ContestTableModel::Flags), flags);
    // The window may elide the name.
    QVERIFY(table()
                ->index(rowOf(copy), ContestTableModel::File)
                .data(Qt::ToolTipRole)
                .toString()
                .contains(copy));
    selectRow(copy);
    const std::size_t log =
        table()->index(rowOf(copy), 0).data(ContestTableModel::kLogRole).value<qulonglong>();
    const zeb::contest::LogFlag& flag = window_->contest()->logs()[log].flags.back();
    QVERIFY2(details().contains(flags.split(QStringLiteral(", ")).back() + QStringLiteral(": ") +
                                QString::fromStdString(flag.text)),
             qPrintable(details()));

    QCOMPARE(form_->findChild<QPushButton*>(QStringLiteral("nactidenik"))->text(),
             QStringLiteral("Načti deník"));
    QCOMPARE(form_->findChild<QPushButton*>(QStringLiteral("bvypocet"))->text(),
             QStringLiteral("Výpočet"));
}

void ContestWindowTest::corpusFitsAWindow1280Wide_data() {
    QTest::addColumn<QByteArray>("language");
    QTest::newRow("Czech") << QByteArray("cs");
    QTest::newRow("English") << QByteArray("en");
}

// The real logs of the corpus, long names, many flags and all, in a window as wide as the club's
// laptops: every column of the table shows without scrolling across, the flags last.
void ContestWindowTest::corpusFitsAWindow1280Wide() {
    QFETCH(QByteArray, language);
    const QDir corpus(QStringLiteral(ZEB_CORPUS_DIR));
    if (!corpus.exists()) {
        QSKIP("no corpus");
    }
    qputenv("LANGUAGE", language);
    zeb::useUserLanguage();
    makeWindows();
    const QString folder = temp_->filePath(QStringLiteral("corpus"));
    QVERIFY(QDir().mkpath(folder));
    for (const QString& name : corpus.entryList(QDir::Files)) {
        QVERIFY(QFile::copy(corpus.filePath(name), folder + QLatin1Char('/') + name));
    }
    window_->resize(1280, 760);
    openAndWait(folder);

    QCOMPARE(window_->width(), 1280);
    QCOMPARE(table()->rowCount(), 81);
    auto* view = child<QTableView>("tabulka");
    QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
    const QHeaderView* columns = view->horizontalHeader();
    QVERIFY2(columns->sectionSize(ContestTableModel::Flags) >=
                 view->fontMetrics().averageCharWidth() * 16,
             qPrintable(QString::number(columns->sectionSize(ContestTableModel::Flags))));
}

QTEST_MAIN(ContestWindowTest)
#include "contest_window_test.moc"
