#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "contest/check/contest_analysis.h"
#include "contest/check/cross_check.h"
#include "contest/decisions/decisions.h"
#include "contest/intake/contest_log.h"

namespace zeb::contest {

// A decision of the evaluator as the check of the contest took it.
struct AppliedDecision {
    Decision decision;
    std::vector<std::size_t> logs;  // the logs of the file name it names
    std::vector<int> qsos;          // for a QSO: the QSOs of its line in the first of them
    bool applied = false;
    std::string effect;  // what it did, or why it does nothing, in Czech
};

// The whole contest checked: the cross-check (when it runs) with the checked results, the flags
// and the summary of the contest, and the evaluator's decisions as they were applied.
struct CheckedContest {
    std::optional<CrossCheck> crossCheck;
    ContestSummary summary;
    std::vector<AppliedDecision> decisions;
    std::vector<DecisionProblem> decisionProblems;  // lines of the file that are no decision
};

// Applies the evaluator's decisions, settles which of one station's logs counts, cross-checks
// the logs (when `withCrossCheck`), computes their checked results and flags them. `progress` is
// told of each log whose checked result is computed and may stop the work by answering false:
// nothing is then returned.
std::optional<CheckedContest> checkContest(
    std::vector<ContestLog>& logs, const DecisionFile& decisions, bool withCrossCheck,
    int windowMinutes, const std::function<bool(std::size_t, std::size_t)>& progress = {});

// The QSOs of the log whose line is the decision's.
std::vector<int> qsosOfLine(const ContestLog& log, const std::string& line);

}  // namespace zeb::contest
