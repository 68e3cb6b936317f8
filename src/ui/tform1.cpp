#include "ui/tform1.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QIcon>
#include <QMimeData>
#include <QStringDecoder>
#include <QUrl>
#include <exception>

#include "form/start_arguments.h"
#include "intake/column_config_file.h"
#include "intake/load_command.h"
#include "platform/cp1250.h"
#include "report/protocol.h"
#include "scoring/scoring_passes.h"
#include "state/window_logic.h"
#include "ui/command_line.h"
#include "ui/qt_platform.h"
#include "ui_tform1.h"

namespace zeb {

namespace {

QString fromCore(const std::string& bytes) {
    return QString::fromStdString(cp1250ToUtf8(bytes));
}

std::string toCore(const QString& text) {
    return utf8ToCp1250(text.toStdString());
}

// File names go to the core as the bytes the file system knows them by.
std::string pathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString pathText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

// The caption after a load is the base name of the log as the file system spells it (UTF-8
// here), not a Windows-1250 text; other captions are Windows-1250.
QString captionText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? fromCore(bytes) : text;
}

// The installed theme's icon, which the desktop shows too; the built-in one where none is
// installed (a build run from its folder).
QIcon programIcon() {
    QIcon builtIn;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        builtIn.addFile(QStringLiteral(":/icons/zebcontest-%1.png").arg(size), QSize(size, size));
    }
    return QIcon::fromTheme(QStringLiteral("zebcontest"), builtIn);
}

// The first local file among the dropped ones.
std::optional<QString> droppedFile(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls()) {
        return std::nullopt;
    }
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir()) {
            return url.toLocalFile();
        }
    }
    return std::nullopt;
}

// The local files and folders among the dropped ones.
QStringList droppedPaths(const QMimeData* mime) {
    QStringList paths;
    if (mime == nullptr || !mime->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile());
        }
    }
    return paths;
}

}  // namespace

TForm1::TForm1(Platform& platform, FileDialogs& fileDialogs, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::TForm1>()),
      state_(makeEvaluationState()),
      platform_(platform),
      fileDialogs_(fileDialogs) {
    ui_->setupUi(this);
    setWindowTitle(QStringLiteral("ZEB contest ver. " ZEB_VERSION));
    setWindowIcon(programIcon());
    move(238, 209);
    ui_->cvzor->installEventFilter(this);
    ui_->ivzor->installEventFilter(this);
    connectHandlers();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::connectHandlers() {
    connect(ui_->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(ui_->nactidenik, &QPushButton::clicked, this, &TForm1::nactidenikClick);
    connect(ui_->bvypocet, &QPushButton::clicked, this, &TForm1::bvypocetClick);
    connect(ui_->bukladani, &QPushButton::clicked, this, &TForm1::bukladaniClick);
    connect(ui_->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ui_->Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    // textChanged, not textEdited: undo, paste and drag change the text as much as typing does.
    // setEditText blocks these signals and runs the handler itself.
    connect(ui_->cstart, &QLineEdit::textChanged, this, &TForm1::ccstart);
    connect(ui_->istart, &QLineEdit::textChanged, this, &TForm1::cistart);
    connect(ui_->radek1, &QLineEdit::textChanged, this, &TForm1::c1radek);
    // Leaving cvzor and ivzor: eventFilter.
}

template <typename Work>
void TForm1::guarded(Work&& work) {
    try {
        work();
    } catch (const std::exception& error) {
        showExceptionBox(this, error.what());
    } catch (...) {
        showExceptionBox(this, "");
    }
}

void TForm1::FormCreate() {
    guarded([this] { formCreate(*state_, *this); });
}

void TForm1::Button1Click() {
    platform_.endProcess(0);
}

void TForm1::nactidenikClick() {
    guarded([this] {
        const During reading(activity_, FormActivity::Reading);
        commands_.nactidenikClick(*state_, *this, platform_, [this](const std::string& preset) {
            const std::optional<QString> chosen = fileDialogs_.openLog(this, pathText(preset));
            logFile_ = chosen.value_or(QString());
            return chosen ? std::optional(pathBytes(*chosen)) : std::nullopt;
        });
    });
}

LoadOutcome TForm1::loadLogFile(const QString& path) {
    LoadOutcome outcome = LoadOutcome::CannotOpen;
    guarded([&] {
        prepareLoad(*state_, *this);
        outcome = load(path);
    });
    return outcome;
}

LoadOutcome TForm1::load(const QString& path) {
    logFile_ = path;
    const During reading(activity_, FormActivity::Reading);
    return loadLog(*state_, *this, platform_, pathBytes(path), true);
}

FileDialog TForm1::dialog(std::optional<QString> (FileDialogs::*show)(QWidget*, const QString&)) {
    return [this, show](const std::string& preset) -> std::optional<std::string> {
        const std::optional<QString> chosen = (fileDialogs_.*show)(this, pathText(preset));
        return chosen ? std::optional(pathBytes(*chosen)) : std::nullopt;
    };
}

void TForm1::openArguments(const QStringList& arguments) {
    const CommandLine line = readCommandLine(arguments);
    if (line.request == StartRequest::Window && line.log) {
        loadLogFile(*line.log);
    }
}

void TForm1::openEvaluatedLog(const EvaluatedLog& log) {
    // Refused, the form is told to end: there are no columns to set.
    if (loadLogFile(pathText(log.file)) == LoadOutcome::Refused) {
        return;
    }
    guarded([&] { commands_.useEvaluatedColumns(*state_, *this, platform_, log); });
}

void TForm1::bvypocetClick() {
    guarded([this] {
        const During computing(activity_, FormActivity::Computing);
        computeCommand(*state_, *this, platform_);
    });
}

void TForm1::bukladaniClick() {
    guarded([this] {
        commands_.bukladaniClick(*state_, *this, platform_, dialog(&FileDialogs::saveProtocol));
    });
}

void TForm1::Button2Click() {
    guarded(
        [this] { commands_.Button2Click(*state_, platform_, dialog(&FileDialogs::saveConfig)); });
}

void TForm1::Button3Click() {
    guarded([this] {
        commands_.Button3Click(*state_, *this, platform_, dialog(&FileDialogs::openConfig));
    });
}

void TForm1::ccstart() {
    guarded([this] { zeb::ccstart(*state_, *this); });
}

void TForm1::cistart() {
    guarded([this] { zeb::cistart(*state_, *this); });
}

void TForm1::c1radek() {
    guarded([this] { zeb::c1radek(*state_, *this, platform_); });
}

void TForm1::setcall() {
    guarded([this] { zeb::setcall(*state_, *this); });
}

void TForm1::setzeb() {
    guarded([this] { zeb::setzeb(*state_, *this); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // Focus lost to another application or to a message box is not leaving the edit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == ui_->cvzor) {
                setcall();
            } else if (watched == ui_->ivzor) {
                setzeb();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<QStringList> TForm1::droppedContest(const QMimeData* mime) const {
    const QStringList paths = droppedPaths(mime);
    std::vector<std::string> utf8;
    for (const QString& path : paths) {
        utf8.push_back(path.toStdString());
    }
    if (contestOpener_ && opensContest(utf8)) {
        return paths;
    }
    return std::nullopt;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedContest(event->mimeData()) || droppedFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
    if (droppedContest(event->mimeData()) || droppedFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    if (const std::optional<QStringList> contest = droppedContest(event->mimeData())) {
        event->acceptProposedAction();
        contestOpener_(*contest);
        return;
    }
    const std::optional<QString> file = droppedFile(event->mimeData());
    if (!file) {
        return;
    }
    event->acceptProposedAction();
    loadLogFile(*file);
}

QLineEdit* TForm1::lineEdit(Edit edit) const {
    switch (edit) {
        case Edit::radek1:
            return ui_->radek1;
        case Edit::cstart:
            return ui_->cstart;
        case Edit::istart:
            return ui_->istart;
        case Edit::cvzor:
            return ui_->cvzor;
        case Edit::ivzor:
            return ui_->ivzor;
    }
    return nullptr;
}

QLabel* TForm1::label(Label label) const {
    switch (label) {
        case Label::qsos:
            return ui_->qsos;
        case Label::dubly:
            return ui_->dubly;
        case Label::body:
            return ui_->body;
        case Label::zeby:
            return ui_->zeby;
        case Label::dxcc:
            return ui_->dxcc;
        case Label::celkem:
            return ui_->celkem;
        case Label::povel:
            return ui_->povel;
    }
    return nullptr;
}

QWidget* TForm1::control(Control control) const {
    switch (control) {
        case Control::bvypocet:
            return ui_->bvypocet;
        case Control::bukladani:
            return ui_->bukladani;
        case Control::radek1:
            return ui_->radek1;
        case Control::konfigurace:
            return ui_->konfigurace;
    }
    return nullptr;
}

void TForm1::setEditText(Edit edit, const std::string& text) {
    QLineEdit* const target = lineEdit(edit);
    {
        const QSignalBlocker quiet(target);
        target->setText(fromCore(text));
    }
    // Qt stays silent when the text does not change, but the handler must run every time.
    switch (edit) {
        case Edit::radek1:
            zeb::c1radek(*state_, *this, platform_);
            break;
        case Edit::cstart:
            zeb::ccstart(*state_, *this);
            break;
        case Edit::istart:
            zeb::cistart(*state_, *this);
            break;
        case Edit::cvzor:
        case Edit::ivzor:
            break;
    }
}

std::string TForm1::editText(Edit edit) const {
    return toCore(lineEdit(edit)->text());
}

void TForm1::setLabelText(Label which, const std::string& text) {
    label(which)->setText(fromCore(text));
}

void TForm1::setEnabled(Control which, bool enabled) {
    control(which)->setEnabled(enabled);
}

bool TForm1::only80m() const {
    return ui_->jen80->isChecked();
}

void TForm1::setProgressVisible(bool visible) {
    ui_->paska->setVisible(visible);
}

void TForm1::setProgressPosition(int position) {
    ui_->paska->setValue(position);
    // The computation holds the event loop until it ends: paint the bar now.
    if (ui_->paska->isVisible()) {
        ui_->paska->repaint();
    }
}

void TForm1::setCaption(const std::string& caption) {
    setWindowTitle(captionText(caption));
}

void TForm1::showConfigurationPage() {
    ui_->PageControl1->setCurrentWidget(ui_->tabsoub);
}

}  // namespace zeb
