#include "contest/intake/batch_platform.h"

#include "platform/std_files.h"

namespace zeb::contest {

BatchPlatform::BatchPlatform(UnknownPrefixAnswer unknownPrefix, MessageSink onMessage)
    : unknownPrefix_(unknownPrefix), onMessage_(std::move(onMessage)) {}

DialogButton BatchPlatform::messageDialog(const std::string& text, DialogKind kind,
                                          DialogButtons buttons) {
    messages_.push_back({kind, text});
    if (onMessage_) {
        onMessage_(messages_.back());
    }
    switch (buttons) {
        case DialogButtons::Ok:
            return DialogButton::Ok;
        case DialogButtons::Abort:
            return DialogButton::Abort;
        case DialogButtons::OkCancel:
            // Nobody is asked, so a question that would consent to something is declined.
            return DialogButton::Cancel;
        case DialogButtons::AbortIgnore:
            return unknownPrefix_ == UnknownPrefixAnswer::Abort ? DialogButton::Abort
                                                                : DialogButton::Ignore;
    }
    return DialogButton::Cancel;
}

std::unique_ptr<TextInput> BatchPlatform::openTextForReading(const std::string& path) {
    if (preloadedPath_ && path == *preloadedPath_) {
        return std::make_unique<ViewTextInput>(preloaded_);
    }
    return openTextFileForReading(path);
}

bool BatchPlatform::fileExists(const std::string& path) {
    return isReadableFile(path);
}

WriteOutcome BatchPlatform::writeTextFile(const std::string& path, const std::string& content) {
    return writeTextFileAtomically(path, content);
}

}  // namespace zeb::contest
