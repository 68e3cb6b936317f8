#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "form/form_description.h"
#include "platform/cp1250.h"
#include "scripted_platform.h"
#include "ui/tform1.h"

namespace {

// The parent as the evaluator sees it: Qt's own helper widgets (the tab widget's page stack)
// do not count.
QWidget* visibleParent(const QWidget* widget) {
    QWidget* parent = widget->parentWidget();
    while (parent != nullptr && parent->objectName().startsWith(QLatin1String("qt_"))) {
        parent = parent->parentWidget();
    }
    return parent;
}

QString captionOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
        return box->title();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text();
    }
    if (const auto* pages = qobject_cast<const QTabWidget*>(visibleParent(widget))) {
        return pages->tabText(pages->indexOf(const_cast<QWidget*>(widget)));
    }
    return {};
}

const char* qtClassOf(zeb::ControlKind kind) {
    switch (kind) {
        case zeb::ControlKind::PageControl:
            return "QTabWidget";
        case zeb::ControlKind::Page:
            return "QWidget";
        case zeb::ControlKind::Label:
            return "QLabel";
        case zeb::ControlKind::Edit:
            return "QLineEdit";
        case zeb::ControlKind::GroupBox:
            return "QGroupBox";
        case zeb::ControlKind::Button:
            return "QPushButton";
        case zeb::ControlKind::CheckBox:
            return "QCheckBox";
        case zeb::ControlKind::ProgressBar:
            return "QProgressBar";
        case zeb::ControlKind::Memo:
            return "QPlainTextEdit";
    }
    return "";
}

QString withoutTrailingBlanks(QString line) {
    while (line.endsWith(QLatin1Char(' '))) {
        line.chop(1);
    }
    return line;
}

const QStringList kHelpText = {
    "Deník musí mít formát cabrillo.",
    "Po načtení deníku se automaticky ",
    "nastaví konfigurace pro příslušný deník. ",
    "Pohledem zkontrolujeme na panelu, zda ",
    "je správně zobrazen přijatý call a číslo ",
    "ZEB (nebo ekvivalentní přijatý údaj). ",
    "Pokud to nesouhlasí, nejspíš jde o ",
    "nějakou podstatnou chybu v deníku a ",
    "měli bychom jej důkladně ",
    "překontrolovat. Potom ještě máme ",
    "možnost nastavit konfiguraci ručně, ",
    "případně tuto konfiguraci si uložit do ",
    "souboru pro příští načtení takto ",
    "podivného deníku. Pokud v prvním řádku ",
    "není údaj o přijatém číslu ZEB, můžeme si ",
    "nechat zobrazit jiný řádek.",
    "Po nahrání deníku a nastavení ",
    "konfigurace je možno spustit výpočet. ",
    "Podrobný výpis řešení lze uložit do ",
    "souboru a pokochat se jím.",
    "Program není určen pro výpočet SWL.",
};

}  // namespace

// The window as built: its controls, texts, order and fonts.
class TForm1LayoutTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void controlsAsDescribed();
    void stateAfterCreation();
    void tabOrder();
    void memos();
    void everyCaptionFits();
    void controlsStayInsideTheirParents();

  private:
    template <typename T>
    T* child(const char* name) const {
        T* const found = form_->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no control %s", name);
        }
        return found;
    }

    std::unique_ptr<zeb::test::ScriptedPlatform> platform_;
    std::unique_ptr<zeb::test::ScriptedFileDialogs> dialogs_;
    std::unique_ptr<zeb::TForm1> form_;
};

void TForm1LayoutTest::init() {
    platform_ = std::make_unique<zeb::test::ScriptedPlatform>();
    dialogs_ = std::make_unique<zeb::test::ScriptedFileDialogs>();
    form_ = std::make_unique<zeb::TForm1>(*platform_, *dialogs_);
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void TForm1LayoutTest::cleanup() {
    form_.reset();
    dialogs_.reset();
    platform_.reset();
}

void TForm1LayoutTest::window() {
    QCOMPARE(form_->objectName(), QStringLiteral("TForm1"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("ZEB contest ver. 3.05"));
    // The program's icon, also where no icon theme has it.
    QVERIFY(!form_->windowIcon().pixmap(32, 32).isNull());
    QVERIFY(!QIcon(QStringLiteral(":/icons/zebcontest-32.png")).pixmap(32, 32).isNull());
    QCOMPARE(form_->size(), QSize(314, 454));
    QCOMPARE(form_->pos(), QPoint(238, 209));
    auto* pages = child<QTabWidget>("PageControl1");
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->widget(0)->objectName(), QStringLiteral("tabsoub"));
    QCOMPARE(pages->widget(1)->objectName(), QStringLiteral("TabSheet2"));
    QCOMPARE(pages->widget(2)->objectName(), QStringLiteral("TabSheet3"));
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(form_->acceptDrops());
}

void TForm1LayoutTest::controls_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");  // an empty size: only the position is given

    const auto row = [](const char* name, const char* kind, const char* parent, const char* caption,
                        QRect geometry) {
        QTest::newRow(name) << kind << parent << caption << geometry;
    };
    const auto at = [](int x, int y) { return QRect(x, y, 0, 0); };
    row("PageControl1", "QTabWidget", "TForm1", "", QRect(0, 0, 298, 257));
    row("tabsoub", "QWidget", "PageControl1", "Konfigurace", QRect());
    row("Label2", "QLabel", "tabsoub", "Číslo zobrazovaného řádku:", at(24, 8));
    row("radek1", "QLineEdit", "tabsoub", "1", QRect(200, 8, 33, 24));
    row("konfigurace", "QGroupBox", "tabsoub", "Pozice sloupců v tom řádku",
        QRect(24, 40, 241, 121));
    row("Label5", "QLabel", "konfigurace", "start", at(48, 24));
    row("Label7", "QLabel", "konfigurace", "vzor", at(128, 24));
    row("Label1", "QLabel", "konfigurace", "call", at(16, 40));
    row("cstart", "QLineEdit", "konfigurace", "55", QRect(48, 40, 25, 24));
    row("cvzor", "QLineEdit", "konfigurace", "OK1ABC/TEST", QRect(88, 40, 137, 24));
    row("Label4", "QLabel", "konfigurace", "ZEB", at(16, 72));
    row("istart", "QLineEdit", "konfigurace", "73", QRect(48, 72, 25, 24));
    row("ivzor", "QLineEdit", "konfigurace", "NM", QRect(88, 72, 137, 24));
    row("Button3", "QPushButton", "tabsoub", "Načti konfiguraci", QRect(40, 176, 89, 33));
    row("Button2", "QPushButton", "tabsoub", "Ulož konfiguaci", QRect(160, 176, 89, 33));
    row("TabSheet2", "QWidget", "PageControl1", "Návod", QRect());
    row("Memo1", "QPlainTextEdit", "TabSheet2", "", QRect(16, 8, 265, 209));
    row("TabSheet3", "QWidget", "PageControl1", "O programu", QRect());
    row("Memo2", "QPlainTextEdit", "TabSheet3", "", QRect(8, 24, 273, 201));
    row("jen80", "QCheckBox", "TForm1", "Jen 80 m", QRect(24, 272, 97, 17));
    row("nactidenik", "QPushButton", "TForm1", "Načti deník", QRect(16, 296, 75, 25));
    row("bvypocet", "QPushButton", "TForm1", "Výpočet", QRect(104, 296, 75, 25));
    row("bukladani", "QPushButton", "TForm1", "ulož", QRect(16, 328, 75, 25));
    row("Button1", "QPushButton", "TForm1", "Konec", QRect(104, 328, 75, 25));
    row("qsos", "QLabel", "TForm1", "", at(192, 264));
    row("dubly", "QLabel", "TForm1", "", at(192, 280));
    row("body", "QLabel", "TForm1", "", at(192, 296));
    row("zeby", "QLabel", "TForm1", "", at(192, 312));
    row("dxcc", "QLabel", "TForm1", "", at(192, 328));
    row("celkem", "QLabel", "TForm1", "", at(192, 344));
    row("paska", "QProgressBar", "TForm1", "", QRect(16, 368, 161, 17));
    row("povel", "QLabel", "TForm1", "", at(16, 384));
}

void TForm1LayoutTest::controls() {
    QFETCH(QString, kind);
    QFETCH(QString, parent);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    const QWidget* control = child<QWidget>(QTest::currentDataTag());

    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
    QCOMPARE(visibleParent(control)->objectName(), parent);
    QCOMPARE(captionOf(control), caption);
    if (geometry == QRect()) {  // a page: placed by its tab widget
        return;
    }
    QCOMPARE(control->pos(), geometry.topLeft());
    if (!geometry.isEmpty()) {
        QCOMPARE(control->size(), geometry.size());
    }
}

// The window of Windows draws the same description: the two must not drift apart.
void TForm1LayoutTest::controlsAsDescribed() {
    const zeb::FormDescription& form = zeb::formDescription();
    QCOMPARE(form_->windowTitle(), QString::fromStdString(zeb::cp1250ToUtf8(form.caption)));
    for (const zeb::FormControl& described : form.controls) {
        const QString name = QString::fromLatin1(described.name.data(), described.name.size());
        const QWidget* control = form_->findChild<QWidget*>(name);
        QVERIFY2(control != nullptr, qPrintable(name));
        QCOMPARE(QString::fromLatin1(control->metaObject()->className()),
                 QString::fromLatin1(qtClassOf(described.kind)));
        QCOMPARE(visibleParent(control)->objectName(),
                 QString::fromLatin1(described.parent.data(), described.parent.size()));
        const QString caption = QString::fromStdString(zeb::cp1250ToUtf8(described.caption));
        if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control)) {
            QCOMPARE(memo->toPlainText(), caption);
        } else {
            QCOMPARE(captionOf(control), caption);
        }
        if (described.kind != zeb::ControlKind::Page) {
            QCOMPARE(control->pos(), QPoint(described.left, described.top));
        }
        if (described.width > 0) {
            QCOMPARE(control->size(), QSize(described.width, described.height));
        }
    }
}

void TForm1LayoutTest::stateAfterCreation() {
    QVERIFY(!child<QPushButton>("bvypocet")->isEnabled());
    QVERIFY(!child<QPushButton>("bukladani")->isEnabled());
    QVERIFY(!child<QLineEdit>("radek1")->isEnabled());
    QVERIFY(child<QGroupBox>("konfigurace")->isEnabled());
    QVERIFY(child<QPushButton>("nactidenik")->isEnabled());
    QVERIFY(!child<QCheckBox>("jen80")->isChecked());
    auto* bar = child<QProgressBar>("paska");
    QVERIFY(bar->isHidden());
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(child<QLineEdit>("cvzor")->text().size(), 11);
    const zeb::EvaluationState& state = form_->state();
    QCOMPARE(state.columns.callStart, 55);
    QCOMPARE(state.columns.callWidth, 14);
    QCOMPARE(state.columns.exchStart, 73);
    QCOMPARE(state.columns.exchWidth, 14);
    QVERIFY(state.rowEditActive);
    QVERIFY(platform_->messages.empty());
}

void TForm1LayoutTest::tabOrder() {
    for (const char* name : {"bvypocet", "bukladani", "radek1"}) {
        child<QWidget>(name)->setEnabled(true);
    }
    child<QTabWidget>("PageControl1")->setFocus(Qt::TabFocusReason);
    const QStringList expected = {"PageControl1", "cvzor",       "istart",   "ivzor",
                                  "cstart",       "Button2",     "Button3",  "radek1",
                                  "Button1",      "nactidenik",  "bvypocet", "bukladani",
                                  "jen80",        "PageControl1"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused != nullptr);
        // The tab widget takes the focus with its tab bar.
        if (focused->objectName().startsWith(QLatin1String("qt_"))) {
            focused = visibleParent(focused);
        }
        visited << focused->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

void TForm1LayoutTest::memos() {
    auto* help = child<QPlainTextEdit>("Memo1");
    QCOMPARE(help->toPlainText().split(QLatin1Char('\n')), kHelpText);

    auto* about = child<QPlainTextEdit>("Memo2");
    const QString text = about->toPlainText();
    const qsizetype lines = text.count(QLatin1Char('\n')) + 1;
    QVERIFY2(lines >= 25 && lines <= 35, qPrintable(QString::number(lines)));
    for (const char* fact : {"ZEB QSO party", "10", "NM", "tabulátor", "2024", "Autor: "}) {
        QVERIFY2(text.contains(QString::fromUtf8(fact)), fact);
    }
    for (QPlainTextEdit* memo : {help, about}) {
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
}

// The captions must show whole with the fonts found on this platform.
void TForm1LayoutTest::everyCaptionFits() {
    // The longest texts the labels get: a result of a full 2000-QSO log and the longest status.
    const auto show = [&](zeb::Label label, const char* text) {
        form_->setLabelText(label, zeb::utf8ToCp1250(text));
    };
    show(zeb::Label::qsos, "QSOs =2000");
    show(zeb::Label::dubly, "dublů =2000");
    show(zeb::Label::body, "bodů = 20000");
    show(zeb::Label::zeby, "ZEBů = 2000");
    show(zeb::Label::dxcc, "DXCC = 1700");
    show(zeb::Label::celkem, "výsledek = 74000000");
    show(zeb::Label::povel, "Nalezeny různé call u stejného ZEB");

    for (const QLabel* label : form_->findChildren<QLabel*>()) {
        const QSize needed = label->sizeHint();
        QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                 qPrintable(label->objectName()));
    }
    for (const QPushButton* button : form_->findChildren<QPushButton*>()) {
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const int needed = button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin;
        QVERIFY2(needed <= button->width(), qPrintable(button->objectName()));
    }
    auto* check = child<QCheckBox>("jen80");
    QVERIFY(check->sizeHint().width() <= check->width());
    auto* box = child<QGroupBox>("konfigurace");
    QVERIFY(box->minimumSizeHint().width() <= box->width());
    auto* pages = child<QTabWidget>("PageControl1");
    QVERIFY(pages->tabBar()->sizeHint().width() <= pages->width());

    // Every line of the help and about texts fits its memo without wrapping.
    for (const char* name : {"Memo1", "Memo2"}) {
        auto* memo = child<QPlainTextEdit>(name);
        pages->setCurrentWidget(visibleParent(memo));
        const int room =
            memo->viewport()->width() - 2 * static_cast<int>(memo->document()->documentMargin());
        for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'))) {
            QVERIFY2(memo->fontMetrics().horizontalAdvance(withoutTrailingBlanks(line)) <= room,
                     qPrintable(line));
        }
    }
}

void TForm1LayoutTest::controlsStayInsideTheirParents() {
    auto* pages = child<QTabWidget>("PageControl1");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        for (const QWidget* control :
             pages->widget(page)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            QVERIFY2(pages->widget(page)->rect().contains(control->geometry()),
                     qPrintable(control->objectName()));
        }
    }
    for (const QWidget* control : child<QGroupBox>("konfigurace")->findChildren<QWidget*>()) {
        QVERIFY2(control->parentWidget()->rect().contains(control->geometry()),
                 qPrintable(control->objectName()));
    }
    for (const QWidget* control :
         form_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        QVERIFY2(form_->rect().contains(control->geometry()), qPrintable(control->objectName()));
    }
}

QTEST_MAIN(TForm1LayoutTest)
#include "tform1_layout_test.moc"
