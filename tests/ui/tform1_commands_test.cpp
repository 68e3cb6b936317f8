#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

#include "platform/cp1250.h"
#include "scripted_platform.h"
#include "ui/tform1.h"

using zeb::DialogButton;
using zeb::DialogButtons;
using zeb::DialogKind;
using zeb::test::ScriptedFileDialogs;
using zeb::test::ScriptedPlatform;

namespace {

QString dataFile(const char* name) {
    return QStringLiteral(ZEB_UI_TEST_DATA_DIR "/") + QLatin1String(name);
}

QByteArray cp1250(const char* utf8) {
    return QByteArray::fromStdString(zeb::utf8ToCp1250(utf8));
}

const QString kLine3Title = QStringLiteral("line3.cbr");
const QString kLoaded = QStringLiteral("deník načten");

}  // namespace

// Drives the real window through its controls; the message boxes and file dialogs are scripted.
class TForm1CommandsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void loadFindsColumnsOnThirdLine();
    void loadFallsBackWhenNoLineFits();
    void cancelledLoadClearsThePreviousLog();
    void refusedLogEndsTheProgram();
    void typingIntoRowEditShowsEachLine();
    void rowNumberOutsideTheLog_data();
    void rowNumberOutsideTheLog();
    void typingIntoStartEditFollowsEachKeystroke_data();
    void typingIntoStartEditFollowsEachKeystroke();
    void leavingPatternEditRestoresIt_data();
    void leavingPatternEditRestoresIt();
    void computationFillsTheLabels_data();
    void computationFillsTheLabels();
    void sameNumberNoticeInStatus();
    void secondLoadDisablesSave();
    void configurationFileSetsColumns();
    void configurationOpenCancelledBeforeAnyChoice();
    void configurationSave();
    void protocolSave();
    void konecEndsTheProgram();
    void logFromCommandLine();
    void logDroppedOnTheWindow_data();
    void logDroppedOnTheWindow();
    void captionKeepsDiacriticsOfFileName();

  private:
    template <typename T>
    T* child(const char* name) const {
        T* const found = form_->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no control %s", name);
        }
        return found;
    }
    QString text(const char* edit) const { return child<QLineEdit>(edit)->text(); }
    QString labelText(const char* label) const { return child<QLabel>(label)->text(); }
    bool enabled(const char* control) const { return child<QWidget>(control)->isEnabled(); }
    void click(const char* button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    // "Načti deník" with the file chosen in its dialog.
    void loadThroughDialog(const QString& path) {
        dialogs_->answers.push_back(path);
        click("nactidenik");
    }
    QString displayLine() const { return QString::fromLatin1(form_->state().displayLine); }

    std::unique_ptr<ScriptedPlatform> platform_;
    std::unique_ptr<ScriptedFileDialogs> dialogs_;
    std::unique_ptr<zeb::TForm1> form_;
};

void TForm1CommandsTest::init() {
    platform_ = std::make_unique<ScriptedPlatform>();
    dialogs_ = std::make_unique<ScriptedFileDialogs>();
    form_ = std::make_unique<zeb::TForm1>(*platform_, *dialogs_);
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void TForm1CommandsTest::cleanup() {
    form_.reset();
    dialogs_.reset();
    platform_.reset();
}

void TForm1CommandsTest::loadFindsColumnsOnThirdLine() {
    auto* pages = child<QTabWidget>("PageControl1");
    pages->setCurrentIndex(2);

    loadThroughDialog(dataFile("line3.cbr"));

    QCOMPARE(platform_->messageTexts(), QString());
    QCOMPARE(dialogs_->shown.size(), std::size_t{1});
    QCOMPARE(dialogs_->shown[0].dialog, QStringLiteral("openLog"));
    QCOMPARE(dialogs_->shown[0].preset, QStringLiteral("*.cbr"));
    QCOMPARE(text("radek1"), QStringLiteral("3"));
    QVERIFY(enabled("radek1"));
    QVERIFY(displayLine().endsWith(QStringLiteral("OK1CCC        599 101")));
    QCOMPARE(text("cstart"), QStringLiteral("55"));
    QCOMPARE(text("istart"), QStringLiteral("73"));
    QCOMPARE(text("cvzor"), QStringLiteral("OK1CCC    "));
    QCOMPARE(text("ivzor"), QStringLiteral("101"));
    QCOMPARE(form_->windowTitle(), kLine3Title);
    QCOMPARE(labelText("povel"), kLoaded);
    QVERIFY(enabled("bvypocet"));
    QVERIFY(!enabled("bukladani"));
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("tabsoub"));
}

void TForm1CommandsTest::loadFallsBackWhenNoLineFits() {
    loadThroughDialog(dataFile("fallback.cbr"));

    QCOMPARE(platform_->messages.size(), std::size_t{1});
    QCOMPARE(platform_->messages[0].text,
             QStringLiteral("Automatická konfigurace selhala!\nZkus ruční konfiguraci\n"
                            "Potom se třeba dá něco spočítat"));
    QCOMPARE(platform_->messages[0].kind, DialogKind::Warning);
    QCOMPARE(platform_->messages[0].buttons, DialogButtons::Ok);
    QCOMPARE(text("radek1"), QStringLiteral("1"));
    const zeb::ColumnConfig& columns = form_->state().columns;
    QCOMPARE(columns.callStart, 55);
    QCOMPARE(columns.callWidth, 10);
    QCOMPARE(columns.exchStart, 73);
    QCOMPARE(columns.exchWidth, 10);
    QCOMPARE(text("cvzor"), QStringLiteral("OK1AAA    "));
    QCOMPARE(text("ivzor"), QString());
    QCOMPARE(labelText("povel"), kLoaded);
    QVERIFY(enabled("bvypocet"));
    QVERIFY(enabled("radek1"));
}

void TForm1CommandsTest::cancelledLoadClearsThePreviousLog() {
    loadThroughDialog(dataFile("line3.cbr"));
    click("bvypocet");
    QVERIFY(enabled("bukladani"));

    click("nactidenik");  // nothing queued: the dialog is cancelled

    QCOMPARE(platform_->messages.size(), std::size_t{1});
    QCOMPARE(platform_->messages[0].text, QStringLiteral("Nelze otevřít deník cabrillo!"));
    QCOMPARE(platform_->messages[0].kind, DialogKind::Error);
    QCOMPARE(platform_->messages[0].buttons, DialogButtons::Abort);
    QCOMPARE(form_->windowTitle(), QStringLiteral("*.cbr"));
    QCOMPARE(labelText("povel"), QStringLiteral("načtení se nezdařilo"));
    QVERIFY(!enabled("bvypocet"));
    QVERIFY(!enabled("bukladani"));
    QVERIFY(!enabled("radek1"));
    QCOMPARE(labelText("qsos"), QString());
    QCOMPARE(form_->state().qsoTable.qsoCount, 0);
    QVERIFY(platform_->exitCodes.empty());
}

void TForm1CommandsTest::refusedLogEndsTheProgram() {
    loadThroughDialog(dataFile("tab.cbr"));

    QCOMPARE(platform_->messages.size(), std::size_t{1});
    QVERIFY(platform_->messages[0].text.contains(QStringLiteral("tabulátor")));
    QCOMPARE(platform_->exitCodes, std::vector<int>{0});
}

void TForm1CommandsTest::typingIntoRowEditShowsEachLine() {
    loadThroughDialog(dataFile("line3.cbr"));
    auto* row = child<QLineEdit>("radek1");
    row->setFocus();
    row->selectAll();

    QTest::keyClick(row, Qt::Key_1);
    QCOMPARE(text("cvzor"), QStringLiteral("OK1AAA    "));
    QVERIFY(displayLine().endsWith(QStringLiteral("OK1AAA        599")));

    QTest::keyClick(row, Qt::Key_2);
    QCOMPARE(text("radek1"), QStringLiteral("12"));
    QCOMPARE(text("cvzor"), QStringLiteral("OK1JJJ    "));
    QCOMPARE(text("ivzor"), QStringLiteral("106"));
    QCOMPARE(platform_->messageTexts(), QString());
}

void TForm1CommandsTest::rowNumberOutsideTheLog_data() {
    QTest::addColumn<QTestEventList>("keys");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("call");

    const QString above = QStringLiteral("Tolik QSO tu není!");
    const QString below = QStringLiteral("Řádky se počítají od jedničky nahoru!");
    QTestEventList fifteen;
    fifteen.addKeyClick(Qt::Key_1);
    fifteen.addKeyClick(Qt::Key_5);
    QTest::newRow("15 of 14 QSOs, at the second keystroke") << fifteen << above << "OK1AAA    ";
    QTestEventList emptied;
    emptied.addKeyClick(Qt::Key_Backspace);
    QTest::newRow("emptied") << emptied << below << "OK1CCC    ";
    QTestEventList zero;
    zero.addKeyClick(Qt::Key_0);
    QTest::newRow("0") << zero << below << "OK1CCC    ";
}

void TForm1CommandsTest::rowNumberOutsideTheLog() {
    QFETCH(QTestEventList, keys);
    QFETCH(QString, message);
    QFETCH(QString, call);
    loadThroughDialog(dataFile("line3.cbr"));
    auto* row = child<QLineEdit>("radek1");
    row->setFocus();
    row->selectAll();

    keys.simulate(row);

    QCOMPARE(platform_->messages.size(), std::size_t{1});
    QCOMPARE(platform_->messages[0].text, message);
    QCOMPARE(platform_->messages[0].kind, DialogKind::Error);
    QCOMPARE(platform_->messages[0].buttons, DialogButtons::Abort);
    // The line on display stays the last valid one.
    QCOMPARE(text("cvzor"), call);
}

void TForm1CommandsTest::typingIntoStartEditFollowsEachKeystroke_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("afterEachKey");

    QTest::newRow("call") << "cstart"
                          << "cvzor"
                          << QStringList{QStringLiteral(":  3550 CW"),
                                         QStringLiteral("OK1ZEB    ")};
    QTest::newRow("exchange") << "istart"
                              << "ivzor"
                              << QStringList{QStringLiteral("  3550 CW "),
                                             QStringLiteral("599 123   ")};
}

void TForm1CommandsTest::typingIntoStartEditFollowsEachKeystroke() {
    QFETCH(QString, edit);
    QFETCH(QString, pattern);
    QFETCH(QStringList, afterEachKey);
    loadThroughDialog(dataFile("line3.cbr"));
    auto* start = child<QLineEdit>(edit.toLatin1().constData());
    auto* shown = child<QLineEdit>(pattern.toLatin1().constData());
    start->setFocus();
    start->selectAll();

    // "3" then "30" for the call, "4" then "44" for the exchange.
    const QList<Qt::Key> keys = edit == QStringLiteral("cstart") ? QList{Qt::Key_3, Qt::Key_0}
                                                                 : QList{Qt::Key_4, Qt::Key_4};
    for (int i = 0; i < keys.size(); ++i) {
        QTest::keyClick(start, keys[i]);
        QCOMPARE(shown->text(), afterEachKey[i]);
    }
    const zeb::ColumnConfig& columns = form_->state().columns;
    QCOMPARE(edit == QStringLiteral("cstart") ? columns.callStart : columns.exchStart,
             start->text().toInt());
}

void TForm1CommandsTest::leavingPatternEditRestoresIt_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("found");
    QTest::newRow("call") << "cvzor"
                          << "OK1CCC    ";
    QTest::newRow("exchange") << "ivzor"
                              << "101";
}

void TForm1CommandsTest::leavingPatternEditRestoresIt() {
    QFETCH(QString, edit);
    QFETCH(QString, found);
    loadThroughDialog(dataFile("line3.cbr"));
    auto* pattern = child<QLineEdit>(edit.toLatin1().constData());
    pattern->setFocus();
    QVERIFY(pattern->hasFocus());
    QTest::keyClicks(pattern, QStringLiteral("XYZ"));
    QCOMPARE(pattern->text(), found + QStringLiteral("XYZ"));

    QTest::keyClick(pattern, Qt::Key_Tab);

    QVERIFY(!pattern->hasFocus());
    QCOMPARE(pattern->text(), found);
}

void TForm1CommandsTest::computationFillsTheLabels_data() {
    QTest::addColumn<bool>("only80m");
    QTest::addColumn<QStringList>("labels");  // qsos, dubly, body, zeby, dxcc, celkem

    QTest::newRow("all bands") << false << QStringList{"QSOs =14", "dublů =2",  "bodů = 75",
                                                       "ZEBů = 5", "DXCC = 10", "výsledek = 1125"};
    QTest::newRow("Jen 80 m") << true << QStringList{"QSOs =14", "dublů =9", "bodů = 32",
                                                     "ZEBů = 3", "DXCC = 3", "výsledek = 192"};
}

void TForm1CommandsTest::computationFillsTheLabels() {
    QFETCH(bool, only80m);
    QFETCH(QStringList, labels);
    loadThroughDialog(dataFile("line3.cbr"));
    if (only80m) {
        auto* box = child<QCheckBox>("jen80");
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(box->isChecked());
    }

    click("bvypocet");

    const char* names[] = {"qsos", "dubly", "body", "zeby", "dxcc", "celkem"};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(labelText(names[i]), labels[i]);
    }
    QVERIFY(enabled("bukladani"));
    QVERIFY(child<QWidget>("paska")->isHidden());
    QCOMPARE(labelText("povel"), kLoaded);
    QCOMPARE(platform_->messageTexts(), QString());
}

void TForm1CommandsTest::sameNumberNoticeInStatus() {
    loadThroughDialog(dataFile("same_number.cbr"));
    click("bvypocet");
    QCOMPARE(labelText("povel"), QStringLiteral("Nalezeny různé call u stejného ZEB"));
}

void TForm1CommandsTest::secondLoadDisablesSave() {
    loadThroughDialog(dataFile("line3.cbr"));
    click("bvypocet");
    QVERIFY(enabled("bukladani"));

    loadThroughDialog(dataFile("line3.cbr"));

    QVERIFY(!enabled("bukladani"));
    QVERIFY(enabled("bvypocet"));
    QCOMPARE(labelText("celkem"), QString());
    QCOMPARE(labelText("povel"), kLoaded);
}

void TForm1CommandsTest::configurationFileSetsColumns() {
    loadThroughDialog(dataFile("line3.cbr"));
    const QString file = dataFile("columns.ini");
    dialogs_->answers.push_back(file);

    click("Button3");

    QCOMPARE(dialogs_->shown.back().preset, QStringLiteral("*.ini"));
    QCOMPARE(text("cstart"), QStringLiteral("30"));
    QCOMPARE(text("istart"), QStringLiteral("44"));
    QCOMPARE(text("cvzor"), QStringLiteral("OK1ZEB"));
    QCOMPARE(text("ivzor"), QStringLiteral("599"));

    // A cancelled dialog still names the file chosen last time, and it is read again.
    child<QLineEdit>("cstart")->setText(QStringLiteral("55"));
    QCOMPARE(text("cvzor"), QStringLiteral("OK1CCC"));
    click("Button3");
    QCOMPARE(dialogs_->shown.back().preset, file);
    QCOMPARE(text("cstart"), QStringLiteral("30"));
    QCOMPARE(text("cvzor"), QStringLiteral("OK1ZEB"));
    QCOMPARE(platform_->messageTexts(), QString());
}

void TForm1CommandsTest::configurationOpenCancelledBeforeAnyChoice() {
    loadThroughDialog(dataFile("line3.cbr"));
    child<QLineEdit>("cstart")->setText(QStringLiteral("30"));

    click("Button3");

    QCOMPARE(dialogs_->shown.back().preset, QStringLiteral("*.ini"));
    QCOMPARE(text("cstart"), QStringLiteral("30"));
    QCOMPARE(form_->state().columns.callStart, 30);
    QCOMPARE(platform_->messageTexts(), QString());
}

void TForm1CommandsTest::configurationSave() {
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString file = directory.filePath(QStringLiteral("columns.ini"));
    const auto contents = [&] {
        QFile saved(file);
        return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray("(none)");
    };

    click("Button2");  // cancelled
    QCOMPARE(dialogs_->shown.back().preset, QStringLiteral("*.ini"));
    QVERIFY(!QFile::exists(file));

    dialogs_->answers.push_back(file);
    click("Button2");
    QCOMPARE(contents(), QByteArray("55\n14\n73\n14\n"));

    child<QLineEdit>("cstart")->setText(QStringLiteral("30"));
    click("Button2");  // cancelled again: the file keeps the saved columns
    QCOMPARE(dialogs_->shown.back().preset, file);
    QCOMPARE(contents(), QByteArray("55\n14\n73\n14\n"));
    QCOMPARE(platform_->messageTexts(), QString());

    const QString nowhere = directory.filePath(QStringLiteral("missing/columns.ini"));
    dialogs_->answers.push_back(nowhere);
    click("Button2");
    QCOMPARE(platform_->messages.size(), std::size_t{1});
    QCOMPARE(platform_->messages[0].text,
             QStringLiteral("Konfiguraci se nepodařilo uložit do souboru\n") + nowhere +
                 QStringLiteral("\nSložka neexistuje."));
    QCOMPARE(platform_->messages[0].kind, DialogKind::Error);
}

void TForm1CommandsTest::protocolSave() {
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString file = directory.filePath(QStringLiteral("result.prn"));
    loadThroughDialog(dataFile("line3.cbr"));
    click("bvypocet");

    dialogs_->answers.push_back(file);
    click("bukladani");
    QCOMPARE(dialogs_->shown.back().preset, QStringLiteral("*.prn"));
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray protocol = saved.readAll();
    saved.close();
    QVERIFY(
        protocol.startsWith(cp1250("Toto není deník, ale protokol o výpočtu!\npočet QSO=14\n")));
    QVERIFY(protocol.endsWith("END-OF-LOG:\n"));
    QCOMPARE(labelText("povel"), QStringLiteral("Výsledek uložen"));

    // Cancelled: nothing is written, not even under the remembered name.
    QVERIFY(QFile::remove(file));
    child<QLabel>("povel")->clear();
    click("bukladani");
    QCOMPARE(dialogs_->shown.back().preset, file);
    QVERIFY(!QFile::exists(file));
    QCOMPARE(labelText("povel"), QString());

    // An existing file is replaced only after the question.
    QFile existing(file);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("keep");
    existing.close();
    dialogs_->answers.push_back(file);
    platform_->answers.push_back(DialogButton::Cancel);
    click("bukladani");
    QCOMPARE(platform_->messages.size(), std::size_t{1});
    QCOMPARE(platform_->messages[0].text, QStringLiteral("Soubor existuje, chceš ho přepsat?"));
    QCOMPARE(platform_->messages[0].kind, DialogKind::Confirmation);
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("keep"));
}

void TForm1CommandsTest::konecEndsTheProgram() {
    click("Button1");
    QCOMPARE(platform_->exitCodes, std::vector<int>{0});
}

void TForm1CommandsTest::logFromCommandLine() {
    form_->openArguments({QStringLiteral("zebcontest")});
    QCOMPARE(form_->windowTitle(), QStringLiteral("ZEB contest ver. 3.05"));
    QCOMPARE(form_->state().qsoTable.qsoCount, 0);
    QCOMPARE(labelText("povel"), QString());

    form_->openArguments({QStringLiteral("zebcontest"), dataFile("line3.cbr")});

    QVERIFY(dialogs_->shown.empty());
    QCOMPARE(form_->windowTitle(), kLine3Title);
    QCOMPARE(text("radek1"), QStringLiteral("3"));
    QCOMPARE(text("cvzor"), QStringLiteral("OK1CCC    "));
    QCOMPARE(labelText("povel"), kLoaded);
    QVERIFY(enabled("bvypocet"));
    QCOMPARE(form_->state().qsoTable.qsoCount, 14);
}

void TForm1CommandsTest::logDroppedOnTheWindow_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("loads");

    const QUrl log = QUrl::fromLocalFile(dataFile("line3.cbr"));
    QTest::newRow("on the window") << "TForm1" << QList{log} << true;
    QTest::newRow("on a pattern edit") << "cvzor" << QList{log} << true;
    QTest::newRow("on the help text") << "Memo1" << QList{log} << true;
    QTest::newRow("remote file") << "TForm1" << QList{QUrl("https://example.org/a.cbr")} << false;
    QTest::newRow("a folder") << "TForm1" << QList{QUrl::fromLocalFile(ZEB_UI_TEST_DATA_DIR)}
                              << false;
}

void TForm1CommandsTest::logDroppedOnTheWindow() {
    QFETCH(QString, target);
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, loads);
    QWidget* widget = form_.get();
    if (target == QStringLiteral("Memo1")) {
        // Drops on a text edit arrive at its viewport.
        child<QTabWidget>("PageControl1")->setCurrentIndex(1);
        widget = child<QPlainTextEdit>("Memo1")->viewport();
    } else if (target != QStringLiteral("TForm1")) {
        widget = child<QWidget>(target.toLatin1().constData());
    }
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at = widget->rect().center();

    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    QCOMPARE(enter.isAccepted(), loads);
    if (!loads) {
        return;
    }
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);

    QVERIFY(drop.isAccepted());
    QCOMPARE(form_->windowTitle(), kLine3Title);
    QCOMPARE(text("radek1"), QStringLiteral("3"));
    QCOMPARE(labelText("povel"), kLoaded);
    QCOMPARE(child<QTabWidget>("PageControl1")->currentIndex(), 0);
    QVERIFY(dialogs_->shown.empty());
}

void TForm1CommandsTest::captionKeepsDiacriticsOfFileName() {
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString log = directory.filePath(QStringLiteral("deník Čížek.cbr"));
    QVERIFY(QFile::copy(dataFile("line3.cbr"), log));

    loadThroughDialog(log);

    QCOMPARE(form_->windowTitle(), QStringLiteral("deník Čížek.cbr"));
    QCOMPARE(labelText("povel"), kLoaded);
}

QTEST_MAIN(TForm1CommandsTest)
#include "tform1_commands_test.moc"
