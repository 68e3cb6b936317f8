#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "intake/load_command.h"
#include "platform/platform.h"
#include "state/evaluation_state.h"
#include "state/headless_window.h"

namespace zeb::test {

struct RecordedDialog {
    std::string text;  // as UTF-8, for readable comparisons
    DialogKind kind;
    DialogButtons buttons;
};

// A platform whose dialogs are recorded and answered from a preset queue (Ok, or Ignore for the
// Abort/Ignore question, when the queue is empty), whose process end is recorded instead of
// ending the test, and whose files live in memory.
class RecordingPlatform final : public Platform {
  public:
    DialogButton messageDialog(const std::string& text, DialogKind kind,
                               DialogButtons buttons) override;
    void endProcess(int exitCode) override { exitCodes.push_back(exitCode); }
    std::unique_ptr<TextInput> openTextForReading(const std::string& path) override;
    bool fileExists(const std::string& path) override { return files.count(path) != 0; }
    WriteOutcome writeTextFile(const std::string& path, const std::string& content) override;

    std::vector<RecordedDialog> dialogs;
    std::deque<DialogButton> answers;
    std::vector<int> exitCodes;
    std::map<std::string, std::string> files;
    std::optional<std::string> failWritesWith;  // when set, every write fails with this reason
};

// One evaluation as the window runs it: state, platform and a headless window after start-up.
struct Evaluation {
    Evaluation();
    // Loads the text as the log "test.cbr".
    LoadOutcome load(const std::string& log);
    bool compute();
    std::string protocol();
    std::string dialogTexts() const;

    std::unique_ptr<EvaluationState> state;
    RecordingPlatform platform;
    HeadlessWindow window;
};

// The text of a loaded QSO line or a header entry.
std::string lineOf(const EvaluationState& state, int slot);

}  // namespace zeb::test

namespace zeb::test {

// A QSO line in the columns of the Cabrillo template: frequency, own call at column 30, received
// call at column 55 and received exchange at column 73.
std::string qsoLine(const std::string& frequency, const std::string& call,
                    const std::string& exchange, const std::string& ownCall = "OK1ZEB");

// A log with a short header naming the own call, the given lines and the end marker.
std::string cabrilloLog(const std::vector<std::string>& lines,
                        const std::string& ownCall = "OK1ZEB");

}  // namespace zeb::test
