#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/band_breakdown.h"
#include "contest/log_evaluation.h"
#include "intake/load_command.h"

namespace zeb::contest {

// One QSO as the results table and the cross-check see it. Texts are UTF-8.
struct ContestQso {
    int number = 0;    // from 1, as the window and the messages number QSO lines
    std::string line;  // as loaded: cut to 80 columns, trailing blanks removed
    std::int32_t kHz = 0;
    std::int32_t status = kStatusValid;
    std::string call;      // the received call of the columns found
    std::string exchange;  // the received exchange of the columns found: a member number or "NM"
    // The fields of the Cabrillo QSO template: date, time and the sent exchange as written
    // (empty when the line has too few fields).
    std::string date;
    std::string time;
    std::string sentExchange;
    std::optional<std::int64_t> minute;  // date and time in minutes, when both can be read
};

// What is kept of one evaluated log once its evaluation state is gone.
struct ContestLog {
    std::string path;  // as given
    LogOutcome outcome = LogOutcome::Unreadable;
    std::optional<std::string> ownCall;  // from the "CALLSIGN:" header line
    std::string message;  // why a log was not scored: its last error message, on one line
    EvaluationTotals totals{};
    std::vector<BandTotals> bands;  // scored logs only
    std::vector<ContestQso> qsos;   // scored logs only
};

ContestLog summarizeLog(const LogEvaluation& evaluation);

// The first word after "CALLSIGN:" on the first header line that begins so. Every header line is
// looked at, not only the first eleven that the column finding reads.
std::optional<std::string> headerCall(const EvaluationState& state);

// "odmítnut" and so on: an outcome as the Czech reports name it.
const char* czechOutcomeName(LogOutcome outcome);

// The log's own call, or its file name when it has none.
std::string callOrFileName(const ContestLog& log);

// The whitespace-separated fields of a QSO line.
std::vector<std::string_view> lineFields(std::string_view line);

// An exchange as a member number without leading zeros, or "NM": the rule of the exchange
// extraction ("0042" and "42" are one member; "0", letters and the empty text are "NM").
std::string normalizedExchange(std::string_view exchange);

// "YYYY-MM-DD" and "HHMM" as minutes since 1970-01-01 00:00, or nothing when either cannot be read.
std::optional<std::int64_t> minuteOf(std::string_view date, std::string_view time);

}  // namespace zeb::contest
