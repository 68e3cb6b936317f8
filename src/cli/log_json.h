#pragma once

#include <optional>
#include <string>

#include "cli/json_writer.h"
#include "contest/log_evaluation.h"
#include "contest/log_repair.h"

namespace zeb::cli {

// What --repair made of a log: the copy that was evaluated instead (none when it could not be
// written) and what was changed.
struct RepairedLog {
    std::optional<std::string> copy;
    contest::LogRepair repair;
};

// The JSON object of one evaluated log, its fields in their published order; "repair" last, for a
// log that went through --repair.
void writeLogJson(JsonWriter& writer, const contest::LogEvaluation& evaluation,
                  const RepairedLog* repaired = nullptr);

// The object as one line of JSON Lines, without the line end.
std::string logJsonLine(const contest::LogEvaluation& evaluation,
                        const RepairedLog* repaired = nullptr);

}  // namespace zeb::cli
