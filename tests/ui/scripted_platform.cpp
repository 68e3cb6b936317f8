#include "scripted_platform.h"

#include <QStringList>

#include "platform/cp1250.h"
#include "platform/std_files.h"

namespace zeb::test {

DialogButton ScriptedPlatform::messageDialog(const std::string& text, DialogKind kind,
                                             DialogButtons buttons) {
    messages.push_back({QString::fromStdString(cp1250ToUtf8(text)), kind, buttons});
    if (!answers.empty()) {
        const DialogButton answer = answers.front();
        answers.pop_front();
        return answer;
    }
    switch (buttons) {
        case DialogButtons::Ok:
        case DialogButtons::OkCancel:
            return DialogButton::Ok;
        case DialogButtons::Abort:
        case DialogButtons::AbortIgnore:
            return DialogButton::Abort;
    }
    return DialogButton::Ok;
}

std::unique_ptr<TextInput> ScriptedPlatform::openTextForReading(const std::string& path) {
    return openTextFileForReading(path);
}

bool ScriptedPlatform::fileExists(const std::string& path) {
    return isReadableFile(path);
}

WriteOutcome ScriptedPlatform::writeTextFile(const std::string& path, const std::string& content) {
    return writeTextFileAtomically(path, content);
}

QString ScriptedPlatform::messageTexts() const {
    QStringList texts;
    for (const ShownMessage& message : messages) {
        texts << message.text;
    }
    return texts.join(QLatin1Char('\n'));
}

std::optional<QString> ScriptedFileDialogs::openLog(QWidget*, const QString& preset) {
    return answer("openLog", preset);
}

std::optional<QString> ScriptedFileDialogs::saveProtocol(QWidget*, const QString& preset) {
    return answer("saveProtocol", preset);
}

std::optional<QString> ScriptedFileDialogs::saveConfig(QWidget*, const QString& preset) {
    return answer("saveConfig", preset);
}

std::optional<QString> ScriptedFileDialogs::openConfig(QWidget*, const QString& preset) {
    return answer("openConfig", preset);
}

std::optional<QString> ScriptedFileDialogs::answer(const char* dialog, const QString& preset) {
    shown.push_back({QString::fromLatin1(dialog), preset});
    std::optional<QString> chosen;
    if (!answers.empty()) {
        chosen.swap(answers.front());
        answers.pop_front();
    }
    return chosen;
}

std::optional<QString> ScriptedFolderDialogs::chooseFolder(QWidget*, const QString& title,
                                                           const QString& start) {
    shown.push_back({title, start});
    std::optional<QString> chosen;
    if (!answers.empty()) {
        chosen.swap(answers.front());
        answers.pop_front();
    }
    return chosen;
}

ClosingAnswer ScriptedClosingQuestion::askBeforeClosing(QWidget*, const QString& title,
                                                        const QString& text) {
    shown.push_back({title, text});
    ClosingAnswer answer = ClosingAnswer::Cancel;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    return answer;
}

std::optional<QString> ScriptedReasonQuestion::askReason(QWidget*, const QString& title,
                                                         const QString& text,
                                                         const QString& preset) {
    shown.push_back({title, text, preset});
    std::optional<QString> reason;
    if (!answers.empty()) {
        reason.swap(answers.front());
        answers.pop_front();
    }
    return reason;
}

}  // namespace zeb::test
