#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <vector>

#include "platform/cp1250.h"
#include "platform/translation.h"
#include "ui/qt_file_dialogs.h"
#include "ui/qt_platform.h"

using zeb::DialogButton;
using zeb::DialogButtons;
using zeb::DialogKind;

namespace {

// Runs `act` on the modal dialog as soon as it is up, so that the code under test never waits
// for a person.
template <typename Dialog>
void whenShown(std::function<void(Dialog*)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            qFatal("no dialog came up");
        }
        act(dialog);
    });
}

QString dataFile(const char* name) {
    return QStringLiteral(ZEB_UI_TEST_DATA_DIR "/") + QLatin1String(name);
}

}  // namespace

class QtPlatformTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void messageDialog_data();
    void messageDialog();
    void fileDialogPresets();
    void endHookTakesTheEndUponItself();
    void closingQuestion_data();
    void closingQuestion();
    // Last: the translation stays installed.
    void messageDialogInCzech_data();
    void messageDialogInCzech();
};

// The contest window's questions in the evaluator's language, Czech, as on the club's machines.
void QtPlatformTest::initTestCase() {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    qputenv("LANGUAGE", "cs");
    zeb::useUserLanguage();
}

void QtPlatformTest::messageDialog_data() {
    QTest::addColumn<DialogKind>("kind");
    QTest::addColumn<DialogButtons>("buttons");
    QTest::addColumn<QString>("press");  // a button's caption, or empty for Escape
    QTest::addColumn<DialogButton>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QStringList>("captions");

    const QStringList ok{"OK"};
    const QStringList abort{"&Abort"};
    const QStringList okCancel{"Cancel", "OK"};
    const QStringList abortIgnore{"&Abort", "&Ignore"};
    QTest::newRow("warning") << DialogKind::Warning << DialogButtons::Ok << "OK" << DialogButton::Ok
                             << "Warning" << QMessageBox::Warning << ok;
    QTest::newRow("error, Abort") << DialogKind::Error << DialogButtons::Abort << "&Abort"
                                  << DialogButton::Abort << "Error" << QMessageBox::Critical
                                  << abort;
    QTest::newRow("overwrite, OK")
        << DialogKind::Confirmation << DialogButtons::OkCancel << "OK" << DialogButton::Ok
        << "Confirm" << QMessageBox::Question << okCancel;
    QTest::newRow("overwrite, Cancel")
        << DialogKind::Confirmation << DialogButtons::OkCancel << "Cancel" << DialogButton::Cancel
        << "Confirm" << QMessageBox::Question << okCancel;
    QTest::newRow("overwrite, closed")
        << DialogKind::Confirmation << DialogButtons::OkCancel << "" << DialogButton::Cancel
        << "Confirm" << QMessageBox::Question << okCancel;
    QTest::newRow("unknown prefix, Abort")
        << DialogKind::Error << DialogButtons::AbortIgnore << "&Abort" << DialogButton::Abort
        << "Error" << QMessageBox::Critical << abortIgnore;
    QTest::newRow("unknown prefix, Ignore")
        << DialogKind::Error << DialogButtons::AbortIgnore << "&Ignore" << DialogButton::Ignore
        << "Error" << QMessageBox::Critical << abortIgnore;
    QTest::newRow("unknown prefix, closed goes on")
        << DialogKind::Error << DialogButtons::AbortIgnore << "" << DialogButton::Ignore << "Error"
        << QMessageBox::Critical << abortIgnore;
}

void QtPlatformTest::messageDialog() {
    QFETCH(DialogKind, kind);
    QFETCH(DialogButtons, buttons);
    QFETCH(QString, press);
    QFETCH(DialogButton, answer);
    QFETCH(QString, title);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QStringList, captions);

    QString seenTitle;
    QString seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QStringList seenCaptions;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            seenCaptions << button->text();
        }
        seenCaptions.sort();
        if (press.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == press) {
                button->click();
            }
        }
    });

    zeb::QtPlatform platform;
    const DialogButton pressed = platform.messageDialog(
        zeb::utf8ToCp1250("Na řádku č. 3 je nepřípustný\nznak tabulátor!"), kind, buttons);

    QCOMPARE(pressed, answer);
    QCOMPARE(seenTitle, title);
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seenCaptions, captions);
    QCOMPARE(seenText, QStringLiteral("Na řádku č. 3 je nepřípustný\nznak tabulátor!"));
}

void QtPlatformTest::fileDialogPresets() {
    zeb::QtFileDialogs dialogs;
    QTemporaryDir directory;
    QVERIFY(directory.isValid());

    // A mask preset: the dialog filters by it; cancelled, nothing is chosen.
    QStringList filters;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        dialog->reject();
    });
    QCOMPARE(dialogs.openLog(nullptr, QStringLiteral("*.cbr")), std::nullopt);
    QVERIFY(!filters.isEmpty());
    QVERIFY(filters.first().contains(QStringLiteral("(*.cbr)")));

    // Chosen in the open dialog: its path comes back.
    const QString config = dataFile("columns.ini");
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectFile(config);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
    });
    QCOMPARE(dialogs.openConfig(nullptr, QStringLiteral("*.ini")), std::optional(config));

    // The next mask-preset dialog opens where the last choice was.
    QString openedIn;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        openedIn = dialog->directory().absolutePath();
        dialog->reject();
    });
    QCOMPARE(dialogs.saveConfig(nullptr, QStringLiteral("*.ini")), std::nullopt);
    QCOMPARE(openedIn, QFileInfo(config).absolutePath());

    // A remembered name is preset and saved to as it stands, without Qt's overwrite question:
    // the protocol save asks its own.
    const QString protocol = directory.filePath(QStringLiteral("result.prn"));
    QFile existing(protocol);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    QStringList preselected;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        preselected = dialog->selectedFiles();
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
    });
    QCOMPARE(dialogs.saveProtocol(nullptr, protocol), std::optional(protocol));
    QCOMPARE(preselected, QStringList{protocol});

    // A name typed without a suffix is saved with the mask's, as the open dialogs look for it; one
    // typed with a suffix keeps it.
    const struct {
        std::optional<QString> (zeb::QtFileDialogs::*save)(QWidget*, const QString&);
        QString typed;
        QString saved;
    } typings[] = {
        {&zeb::QtFileDialogs::saveProtocol, QStringLiteral("df1dx"), QStringLiteral("df1dx.prn")},
        {&zeb::QtFileDialogs::saveConfig, QStringLiteral("sloupce"), QStringLiteral("sloupce.ini")},
        {&zeb::QtFileDialogs::saveProtocol, QStringLiteral("df1dx.txt"),
         QStringLiteral("df1dx.txt")},
    };
    for (const auto& typing : typings) {
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            dialog->selectFile(typing.typed);  // into the file name box, as if typed
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        });
        QCOMPARE((dialogs.*typing.save)(nullptr, directory.filePath(QStringLiteral("x.prn"))),
                 std::optional(directory.filePath(typing.saved)));
    }
}

// The form beside the contest window: the program goes on, the test with it.
void QtPlatformTest::endHookTakesTheEndUponItself() {
    zeb::QtPlatform platform;
    std::vector<int> asked;
    platform.setEndHook([&asked](int exitCode) {
        asked.push_back(exitCode);
        return true;
    });
    platform.endProcess(-1);
    platform.endProcess(0);
    QCOMPARE(asked, (std::vector<int>{-1, 0}));
}

void QtPlatformTest::closingQuestion_data() {
    QTest::addColumn<QString>("press");  // a button's caption, or empty for Escape
    QTest::addColumn<zeb::ClosingAnswer>("answer");

    QTest::newRow("Uložit saves") << "Uložit" << zeb::ClosingAnswer::Save;
    QTest::newRow("Zavřít bez uložení closes")
        << "Zavřít bez uložení" << zeb::ClosingAnswer::CloseWithoutSaving;
    QTest::newRow("Zrušit stays") << "Zrušit" << zeb::ClosingAnswer::Cancel;
    QTest::newRow("closed without a button stays") << "" << zeb::ClosingAnswer::Cancel;
}

void QtPlatformTest::closingQuestion() {
    QFETCH(QString, press);
    QFETCH(zeb::ClosingAnswer, answer);

    QString seenTitle;
    QStringList seenCaptions;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        seenTitle = box->windowTitle();
        for (QAbstractButton* button : box->buttons()) {
            seenCaptions << button->text();
            if (button->text() == press) {
                button->click();
                return;
            }
        }
        QTest::keyClick(box, Qt::Key_Escape);
    });

    zeb::QtClosingQuestion question;
    QCOMPARE(question.askBeforeClosing(nullptr, QStringLiteral("Zavřít vyhodnocení"),
                                       QStringLiteral("Výsledky soutěže nejsou uloženy.")),
             answer);
    QCOMPARE(seenTitle, QStringLiteral("Zavřít vyhodnocení"));
    if (press.isEmpty()) {
        seenCaptions.sort();
        QCOMPARE(seenCaptions, (QStringList{"Uložit", "Zavřít bez uložení", "Zrušit"}));
    }
}

void QtPlatformTest::messageDialogInCzech_data() {
    messageDialog_data();
}

// Qt's Czech catalogue translates its own texts, never the titles and captions that the program
// gives its message boxes.
void QtPlatformTest::messageDialogInCzech() {
    static const bool translated = zeb::useCzechQtTexts();
    QVERIFY2(translated, "Qt's Czech catalogue (qt6-translations-l10n) is not installed");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Zrušit"));
    messageDialog();
}

QTEST_MAIN(QtPlatformTest)
#include "qt_platform_test.moc"
