#pragma once

#include <functional>
#include <optional>
#include <string>

#include "intake/load_command.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "report/protocol.h"
#include "state/evaluation_state.h"

namespace zeb {

// What the main window is doing while one of its handlers runs: a window that keeps it (the
// contest window) tells by it why the form asked to end the program.
enum class FormActivity { Idle, Reading, Computing };

// The window's activity while this lives, and what it was before once it is gone.
class During {
  public:
    During(FormActivity& activity, FormActivity now) : activity_(activity), before_(activity) {
        activity_ = now;
    }
    ~During() { activity_ = before_; }
    During(const During&) = delete;
    During& operator=(const During&) = delete;

  private:
    FormActivity& activity_;
    FormActivity before_;
};

// A file dialog of the main window: shown with `preset` in its file name box (a mask such as
// "*.cbr", or the file chosen in that dialog before), it returns the chosen file's path as the
// file services take it, or nothing when the evaluator cancelled.
using FileDialog = std::function<std::optional<std::string>(const std::string& preset)>;

// A log that a contest took in, as the form opens it from the contest window: its file (the
// repaired copy), the configuration, call and exchange columns the contest used, and the file
// beside it where the contest takes a configuration from. Paths and columns are UTF-8.
struct EvaluatedLog {
    std::string file;
    std::optional<std::string> config;
    std::optional<std::string> callStart;
    std::optional<std::string> exchStart;
    std::string configBeside;
};

// The commands of the main window that take their file from a dialog, and the file names that the
// dialogs remember between uses. Every front end runs them, so that a cancelled dialog means the
// same in each.
class FormCommands {
  public:
    // "Načti deník". A cancelled dialog leaves its mask, which names no file: the load fails, the
    // previous log is gone and the caption shows the mask.
    LoadOutcome nactidenikClick(EvaluationState& state, Window& window, Platform& platform,
                                const FileDialog& openLog);

    // "ulož". A cancelled dialog writes nothing, not even under the name it remembers: a cancel
    // that replaced the protocol saved last would surprise the evaluator.
    SaveOutcome bukladaniClick(EvaluationState& state, Window& window, Platform& platform,
                               const FileDialog& saveProtocol);

    // "Ulož konfiguaci". A cancelled dialog writes nothing; a file that cannot be written is
    // reported, since the evaluator relies on it for the next log of this kind.
    void Button2Click(const EvaluationState& state, Platform& platform,
                      const FileDialog& saveConfig);

    // "Načti konfiguraci". After a cancel the dialog still names the file chosen last time, and
    // that file is read again; before any choice there is nothing to read.
    void Button3Click(EvaluationState& state, Window& window, Platform& platform,
                      const FileDialog& openConfig);

    // Both configuration dialogs offer `path` next, as if it had been chosen in them.
    void offerConfigFile(const std::string& path);

    // Once `log` is loaded: the columns the contest used, as if the evaluator had chosen the
    // configuration in its dialog and typed the start columns; the configuration dialogs then
    // offer the file beside it, so that "Ulož konfiguaci" saves where the contest reads.
    void useEvaluatedColumns(EvaluationState& state, Window& window, Platform& platform,
                             const EvaluatedLog& log);

  private:
    std::optional<std::string> protocolName_;
    std::optional<std::string> configSaveName_;
    std::optional<std::string> configOpenName_;
};

}  // namespace zeb
