#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "contest/check/contest_analysis.h"
#include "contest/check/cross_check.h"
#include "contest/intake/contest_log.h"

namespace zeb::contest {

// The whole contest checked: the cross-check (when it runs) with the checked results, and the
// flags and the summary of the contest.
struct CheckedContest {
    std::optional<CrossCheck> crossCheck;
    ContestSummary summary;
};

// Cross-checks the logs (when `withCrossCheck`), computes their checked results and flags them.
// `progress` is told of each log whose checked result is computed and may stop the work by
// answering false: nothing is then returned.
std::optional<CheckedContest> checkContest(
    std::vector<ContestLog>& logs, bool withCrossCheck, int windowMinutes,
    const std::function<bool(std::size_t, std::size_t)>& progress = {});

}  // namespace zeb::contest
