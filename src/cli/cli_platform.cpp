#include "cli/cli_platform.h"

#include "platform/cp1250.h"
#include "platform/std_files.h"

namespace zeb::cli {

CliPlatform::CliPlatform(std::string log, UnknownPrefixAnswer unknownPrefix,
                         std::ostream* messageStream)
    : log_(std::move(log)), unknownPrefix_(unknownPrefix), messageStream_(messageStream) {}

DialogButton CliPlatform::messageDialog(const std::string& text, DialogKind kind,
                                        DialogButtons buttons) {
    messages_.push_back({kind, text});
    if (messageStream_ != nullptr) {
        *messageStream_ << "zebscore: " << log_ << ": " << kindName(kind) << ": "
                        << cp1250ToUtf8(text) << '\n';
        messageStream_->flush();
    }
    switch (buttons) {
        case DialogButtons::Ok:
            return DialogButton::Ok;
        case DialogButtons::Abort:
            return DialogButton::Abort;
        case DialogButtons::OkCancel:
            // zebscore asks nobody, so a question that would consent to something is declined.
            return DialogButton::Cancel;
        case DialogButtons::AbortIgnore:
            return unknownPrefix_ == UnknownPrefixAnswer::Abort ? DialogButton::Abort
                                                                : DialogButton::Ignore;
    }
    return DialogButton::Cancel;
}

std::unique_ptr<TextInput> CliPlatform::openTextForReading(const std::string& path) {
    return openTextFileForReading(path);
}

bool CliPlatform::fileExists(const std::string& path) {
    return isReadableFile(path);
}

WriteOutcome CliPlatform::writeTextFile(const std::string& path, const std::string& content) {
    return writeFileAtomically(path, content);
}

}  // namespace zeb::cli
