#pragma once

#include <cstddef>
#include <vector>

#include "contest/intake/contest_log.h"

namespace zeb::contest {

// The logs that name one station (their own call, in any case) within one session, where there is
// more than one: each group in the order of the logs. Logs not scored, and logs the evaluator set
// aside, are left out.
std::vector<std::vector<std::size_t>> stationGroups(const std::vector<ContestLog>& logs);

// One log counts for each station of a session; the others are set aside. Logs with the same QSO
// lines are one log: of them, the one the evaluator chose counts, else one whose copy the evaluator
// corrected, else the first received; the others are copies of it. Of different logs, the one the
// evaluator chose counts, else the newest (by its file's time, then its name); the others are
// superseded by it. `chosen` lists the logs the evaluator chose.
void settleStations(std::vector<ContestLog>& logs, const std::vector<std::size_t>& chosen);

// Whether two logs hold the same QSO lines, as submitted, blanks aside.
bool sameQsoLines(const ContestLog& first, const ContestLog& second);

}  // namespace zeb::contest
