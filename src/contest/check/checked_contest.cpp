#include "contest/check/checked_contest.h"

namespace zeb::contest {

std::optional<CheckedContest> checkContest(
    std::vector<ContestLog>& logs, bool withCrossCheck, int windowMinutes,
    const std::function<bool(std::size_t, std::size_t)>& progress) {
    CheckedContest checked;
    if (withCrossCheck) {
        checked.crossCheck = crossCheck(logs, windowMinutes);
        if (!computeCheckedResults(logs, *checked.crossCheck, progress)) {
            return std::nullopt;
        }
    }
    checked.summary = analyzeContest(logs, checked.crossCheck ? &*checked.crossCheck : nullptr);
    return checked;
}

}  // namespace zeb::contest
