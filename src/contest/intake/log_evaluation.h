#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "contest/intake/column_check.h"
#include "intake/qso_fields.h"
#include "platform/platform.h"
#include "state/evaluation_state.h"

namespace zeb::contest {

enum class UnknownPrefixAnswer { Ignore, Abort };

// What the evaluator would do in the window between the load and the computation.
struct EvaluationSettings {
    std::optional<std::string> config;
    std::optional<std::string> callStart;  // typed into the call start edit, as given (UTF-8)
    std::optional<std::string> exchStart;
    bool only80m = false;
    UnknownPrefixAnswer unknownPrefix = UnknownPrefixAnswer::Ignore;
};

enum class LogOutcome { Scored, Refused, Unreadable, Aborted };

// "scored", "refused", ...: the key of JSON and CSV, and the message of the catalogue.
const char* outcomeName(LogOutcome outcome);

struct DialogMessage {
    DialogKind kind;
    std::string text;  // Windows-1250, as the dialog would show it
};

// "error", "warning" or "confirmation": the key of the JSON, and the message of the catalogue.
const char* kindName(DialogKind kind);

// One log evaluated as by a freshly started window.
struct LogEvaluation {
    std::string log;  // the path as given
    LogOutcome outcome = LogOutcome::Unreadable;
    std::vector<DialogMessage> messages;
    bool autoConfigSucceeded = false;
    int autoConfigRow = 0;  // as the row edit shows it, from 1
    // The column configuration file named in the settings did not open (it changed nothing).
    bool configUnreadable = false;
    // The state when the evaluation ended: loaded, configured and, when scored, computed.
    std::unique_ptr<EvaluationState> state;
    // The bytes of the file that was evaluated, as they were loaded (the first 16 MiB of a
    // larger file, which is loaded from the file itself).
    std::string bytes;
    // How well the columns of the computation read the lines; for a scored log.
    std::optional<ColumnCheck> columnCheck;
};

// The own call of the log's "CALLSIGN:" header line, in the log's bytes: the first word after the
// colon on the first header line that begins so. Every header line is looked at, not only the
// first eleven that the column finding reads.
std::optional<std::string> headerCallBytes(const EvaluationState& state);

// Told of every dialog message of an evaluation as it comes up.
using MessageSink = std::function<void(const DialogMessage&)>;

// Loads, configures and computes one log, as a freshly started window would. Every dialog message
// is recorded and handed to `onMessage`, when given. The QSO lines numbered in `leftOut` (from 1)
// are taken out after the load, before the columns are configured and the log computed: the
// result of the log as if those lines were absent, its columns as found with them.
LogEvaluation evaluateLog(const std::string& log, const EvaluationSettings& settings,
                          const MessageSink& onMessage = {}, const std::vector<int>& leftOut = {});

}  // namespace zeb::contest
