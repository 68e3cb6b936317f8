#include "ui/qt_platform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/cp1250.h"
#include "platform/std_files.h"

namespace zeb {

namespace {

QMessageBox::Icon iconFor(DialogKind kind) {
    switch (kind) {
        case DialogKind::Error:
            return QMessageBox::Critical;
        case DialogKind::Warning:
            return QMessageBox::Warning;
        case DialogKind::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

DialogButton QtPlatform::messageDialog(const std::string& text, DialogKind kind,
                                       DialogButtons buttons) {
    QWidget* parent = dialogParent_ ? dialogParent_.data() : QApplication::activeWindow();
    QMessageBox box(iconFor(kind), QString::fromUtf8(dialogTitle(kind)),
                    QString::fromStdString(cp1250ToUtf8(text)), QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);

    std::vector<std::pair<QAbstractButton*, DialogButton>> answers;
    const auto add = [&](const char* caption, QMessageBox::ButtonRole role, DialogButton answer) {
        QPushButton* button = box.addButton(QString::fromLatin1(caption), role);
        answers.emplace_back(button, answer);
        return button;
    };
    // Closing the box without a button gives the harmless answer: Cancel before an overwrite,
    // Ignore rather than ending the program.
    DialogButton closed = DialogButton::Ok;
    switch (buttons) {
        case DialogButtons::Ok:
            box.setDefaultButton(add("OK", QMessageBox::AcceptRole, DialogButton::Ok));
            break;
        case DialogButtons::Abort:
            box.setDefaultButton(add("&Abort", QMessageBox::RejectRole, DialogButton::Abort));
            closed = DialogButton::Abort;
            break;
        case DialogButtons::OkCancel:
            box.setDefaultButton(add("OK", QMessageBox::AcceptRole, DialogButton::Ok));
            box.setEscapeButton(add("Cancel", QMessageBox::RejectRole, DialogButton::Cancel));
            closed = DialogButton::Cancel;
            break;
        case DialogButtons::AbortIgnore:
            box.setDefaultButton(add("&Abort", QMessageBox::DestructiveRole, DialogButton::Abort));
            box.setEscapeButton(add("&Ignore", QMessageBox::RejectRole, DialogButton::Ignore));
            closed = DialogButton::Ignore;
            break;
    }
    box.exec();
    for (const auto& [button, answer] : answers) {
        if (box.clickedButton() == button) {
            return answer;
        }
    }
    return closed;
}

void QtPlatform::endProcess(int exitCode) {
    if (endHook_ && endHook_(exitCode)) {
        return;
    }
    std::exit(exitCode);
}

std::unique_ptr<TextInput> QtPlatform::openTextForReading(const std::string& path) {
    return openTextFileForReading(path);
}

bool QtPlatform::fileExists(const std::string& path) {
    return isReadableFile(path);
}

WriteOutcome QtPlatform::writeTextFile(const std::string& path, const std::string& content) {
    return writeTextFileAtomically(path, content);
}

bool useCzechQtTexts() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::Czech), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
        return true;
    }
    delete translator;
    return false;
}

void showExceptionBox(QWidget* parent, const char* what) {
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                    QString::fromLocal8Bit(what), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace zeb
