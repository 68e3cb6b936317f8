#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <sstream>

#include "cli/zebscore.h"
#include "contest/intake/contest_log.h"
#include "scripted_platform.h"
#include "support/folder_files.h"
#include "synthetic_log.h"
#include "ui/command_line.h"
#include "ui/contest_table_model.h"
#include "ui/contest_window.h"
#include "ui/tform1.h"

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

}  // namespace

// The contest window over the small test contest and a file that is no log, its folder dialogs
// and the form's dialogs scripted, compared with zebscore --contest over the same folder.
class ContestWindowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
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
    // A double click on the log's row.
    void openInForm(const QString& file);

    std::unique_ptr<QTemporaryDir> temp_;
    QString logs_;
    std::unique_ptr<zeb::test::ScriptedPlatform> platform_;
    std::unique_ptr<zeb::test::ScriptedFileDialogs> dialogs_;
    std::unique_ptr<zeb::test::ScriptedFolderDialogs> folders_;
    std::unique_ptr<zeb::test::ScriptedClosingQuestion> closing_;
    std::unique_ptr<zeb::TForm1> form_;
    std::unique_ptr<zeb::ContestWindow> window_;
    QList<QUrl> opened_;
};

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
    form_ = std::make_unique<zeb::TForm1>(*platform_, *dialogs_);
    window_ = std::make_unique<zeb::ContestWindow>(*folders_, *closing_);
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
    window_.reset();
    form_.reset();
    closing_.reset();
    folders_.reset();
    dialogs_.reset();
    platform_.reset();
    opened_.clear();
    temp_.reset();
}

void ContestWindowTest::runZebscore(const std::vector<std::string>& options) const {
    for (const fs::directory_entry& entry : fs::directory_iterator(outBytes())) {
        if (entry.path().filename() != "fixed") {
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
    QCOMPARE(table()->rowCount(), records.size() - 1);
    for (int row = 0; row < table()->rowCount(); ++row) {
        const QStringList zebscore = csvFields(records.at(row + 1));
        const QString rank = cell(row, ContestTableModel::Rank);
        // Ranked apart or not scored, zebscore's table has no rank.
        QCOMPARE(rank.toInt() > 0 ? rank : QString(), zebscore.at(0));
        QCOMPARE(cell(row, ContestTableModel::Call), zebscore.at(1));
        QCOMPARE(cell(row, ContestTableModel::Qsos), zebscore.at(2));
        QCOMPARE(cell(row, ContestTableModel::Result), zebscore.at(8));
        QCOMPARE(cell(row, ContestTableModel::CheckedResult), zebscore.at(9));
        QCOMPARE(cell(row, ContestTableModel::RemovedQsos), zebscore.at(10));
        QCOMPARE(cell(row, ContestTableModel::Flags), zebscore.at(13));
        QCOMPARE(cell(row, ContestTableModel::File), zebscore.at(14));
        QCOMPARE(cell(row, ContestTableModel::Outcome), czechOutcome(zebscore.at(15)));
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
    openAndWait(logs_);

    expectTableIsZebscores();
    const int notes = rowOf(QStringLiteral("notes.log"));
    QCOMPARE(cell(notes, ContestTableModel::Outcome), QStringLiteral("odmítnut"));
    QVERIFY(table()
                ->index(notes, ContestTableModel::Call)
                .data(Qt::ToolTipRole)
                .toString()
                .contains(QStringLiteral("není to deník Cabrillo")));
    QCOMPARE(cell(rowOf(QStringLiteral("ok1aaa.cbr")), ContestTableModel::FirstFinding), "0");
    QCOMPARE(cell(rowOf(QStringLiteral("ok2bbb.cbr")), ContestTableModel::FirstFinding), "1");
    QVERIFY(child<QLabel>("souhrn")->text().contains(QStringLiteral("Deníků: 7, hodnoceno 6")));
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
                 QStringLiteral("same-call: stanice <B>OK1AA poslala i deník ok1aa & co.cbr")),
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

QTEST_MAIN(ContestWindowTest)
#include "contest_window_test.moc"
