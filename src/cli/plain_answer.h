#pragma once

#include <string>

#include "contest/intake/log_evaluation.h"

namespace zeb::cli {

// What came of one log, on one line without its line end, for a person at a terminal and for
// grep: "LOG: OUTCOME", and for a scored log its totals as the window shows them.
std::string answerLine(const contest::LogEvaluation& evaluation);

}  // namespace zeb::cli
