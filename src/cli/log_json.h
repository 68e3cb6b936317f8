#pragma once

#include <string>

#include "cli/json_writer.h"
#include "contest/log_evaluation.h"

namespace zeb::cli {

// The JSON object of one evaluated log, its fields in their published order.
void writeLogJson(JsonWriter& writer, const contest::LogEvaluation& evaluation);

// The object as one line of JSON Lines, without the line end.
std::string logJsonLine(const contest::LogEvaluation& evaluation);

}  // namespace zeb::cli
