#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/band_breakdown.h"
#include "contest/column_check.h"
#include "contest/log_evaluation.h"
#include "intake/load_command.h"

namespace zeb::contest {

// One QSO as the results table and the cross-check see it. Texts are UTF-8.
struct ContestQso {
    int number = 0;    // from 1, as the window and the messages number QSO lines
    std::string line;  // the whole QSO line, without trailing blanks
    std::int32_t kHz = 0;
    std::int32_t status = kStatusValid;
    // Read from the whole line into the fields of the Cabrillo QSO template, or, when the line
    // could not be read, from the columns found (the call and exchange) and from the words of the
    // template in their order (date and time).
    bool read = false;
    std::string call;      // the received call
    std::string exchange;  // the received member number without leading zeros, or "NM"
    // The member number the partner sent, without leading zeros, "NM", or the empty text when the
    // line records neither.
    std::string sentExchange;
    std::string date;                    // YYYY-MM-DD
    std::string time;                    // HHMM
    std::optional<std::int64_t> minute;  // date and time in minutes, when both can be read
};

// What is kept of one evaluated log once its evaluation state is gone.
struct ContestLog {
    std::string path;  // as given
    LogOutcome outcome = LogOutcome::Unreadable;
    std::optional<std::string> ownCall;   // from the "CALLSIGN:" header line
    std::optional<std::string> sentCall;  // the call that its QSO lines send, when they agree
    std::string message;  // why a log was not scored: its last error message, on one line
    EvaluationTotals totals{};
    std::vector<BandTotals> bands;  // scored logs only
    std::vector<ContestQso> qsos;   // scored logs only
    ColumnCheck columnCheck;        // scored logs only
};

ContestLog summarizeLog(const LogEvaluation& evaluation);

// "odmítnut" and so on: an outcome as the Czech reports name it.
const char* czechOutcomeName(LogOutcome outcome);

// The log's own call, or its file name when it has none.
std::string callOrFileName(const ContestLog& log);

// An exchange as a member number without leading zeros, or "NM": the rule of the exchange
// extraction ("0042" and "42" are one member; "0", letters and the empty text are "NM").
std::string normalizedExchange(std::string_view exchange);

// "YYYY-MM-DD" and "HHMM" as minutes since 1970-01-01 00:00, or nothing when either cannot be read.
std::optional<std::int64_t> minuteOf(std::string_view date, std::string_view time);

}  // namespace zeb::contest
