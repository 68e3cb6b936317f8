#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/intake/log_evaluation.h"
#include "platform/platform.h"

namespace zeb::contest {

// The platform of one log's evaluation without a screen: every dialog is recorded and handed to
// `onMessage` as it comes up, the only question that matters (a call without a known prefix) is
// answered from the settings, and ending the process is only noted, so that a batch goes on with
// the next log.
class BatchPlatform final : public Platform {
  public:
    BatchPlatform(UnknownPrefixAnswer unknownPrefix, MessageSink onMessage);

    DialogButton messageDialog(const std::string& text, DialogKind kind,
                               DialogButtons buttons) override;
    void endProcess(int exitCode) override { endCode_ = exitCode; }
    std::unique_ptr<TextInput> openTextForReading(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    WriteOutcome writeTextFile(const std::string& path, const std::string& content) override;

    // The log file as it was read beforehand: opening `path` reads these bytes, which the caller
    // keeps, instead of the file again.
    void preload(std::string path, std::string_view bytes) {
        preloadedPath_ = std::move(path);
        preloaded_ = bytes;
    }

    const std::vector<DialogMessage>& messages() const { return messages_; }
    std::vector<DialogMessage> takeMessages() { return std::move(messages_); }
    // The exit code the window would have ended with, if it was told to end.
    std::optional<int> endCode() const { return endCode_; }

  private:
    UnknownPrefixAnswer unknownPrefix_;
    MessageSink onMessage_;
    std::vector<DialogMessage> messages_;
    std::optional<int> endCode_;
    std::optional<std::string> preloadedPath_;
    std::string_view preloaded_;
};

}  // namespace zeb::contest
