#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/log_evaluation.h"
#include "platform/platform.h"

namespace zeb::cli {

// The platform of one log's evaluation without a screen: dialogs become lines on a stream and
// records, the only question that matters (a call without a known prefix) is answered from the
// options, and ending the process is only noted, so that zebscore goes on with the next log.
class CliPlatform final : public Platform {
  public:
    CliPlatform(std::string log, UnknownPrefixAnswer unknownPrefix, std::ostream* messageStream);

    DialogButton messageDialog(const std::string& text, DialogKind kind,
                               DialogButtons buttons) override;
    void endProcess(int exitCode) override { endCode_ = exitCode; }
    std::unique_ptr<TextInput> openTextForReading(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    WriteOutcome writeTextFile(const std::string& path, const std::string& content) override;

    const std::vector<DialogMessage>& messages() const { return messages_; }
    std::vector<DialogMessage> takeMessages() { return std::move(messages_); }
    // The exit code the window would have ended with, if it was told to end.
    std::optional<int> endCode() const { return endCode_; }

  private:
    std::string log_;
    UnknownPrefixAnswer unknownPrefix_;
    std::ostream* messageStream_;
    std::vector<DialogMessage> messages_;
    std::optional<int> endCode_;
};

}  // namespace zeb::cli
