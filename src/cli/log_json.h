#pragma once

#include <optional>
#include <string>

#include "cli/json_writer.h"
#include "contest/check/checked_contest.h"
#include "contest/intake/contest_log.h"
#include "contest/intake/log_evaluation.h"
#include "contest/intake/log_repair.h"

namespace zeb::cli {

using contest::RepairedLog;

// The JSON object of one evaluated log, its fields in their published order; "repair" last, for a
// log that went through --repair.
void writeLogJson(JsonWriter& writer, const contest::LogEvaluation& evaluation,
                  const RepairedLog* repaired = nullptr);

// The object as one line of JSON Lines, without the line end.
std::string logJsonLine(const contest::LogEvaluation& evaluation,
                        const RepairedLog* repaired = nullptr);

// The line of a log of a contest with what the whole contest tells of it added last: "checked"
// (when the cross-check ran: the removed QSOs with their findings or the evaluator's reason, the
// QSOs the evaluator kept, and the checked totals), "flags" (a list of {"code", "text"}),
// "claimedScore" (as the header declares it, or null), "checkLog", "clockOffset" (minutes that the
// log's clock is ahead of its partners', as the check applied it), "setAside" (null, or
// {"kind", "by", "reason"}) and "decisions" (the evaluator's decisions on the log: {"decision",
// "qso", "reason", "applied", "effect"}). `l` is the log's index among `logs`.
std::string withContestFields(std::string line, const std::vector<contest::ContestLog>& logs,
                              std::size_t l, const contest::CheckedContest& checked);

}  // namespace zeb::cli
