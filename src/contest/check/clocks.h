#pragma once

#include <vector>

#include "contest/intake/contest_log.h"

namespace zeb::contest {

// Estimates how far the clock of each log that takes part is off, from the QSOs that pair up with
// its partners' (the same band, each log's call in the other's line): the offset that most of them
// agree on, taken to its median minute. Whole hours (local time logged for UTC), a whole day (a
// wrong date) and a few minutes are found. An offset beyond the window is set only when the
// evidence is clear: most of the log's pairable QSOs, and at least two, agree on it, more than on
// its times as they stand; an offset within the window only when it is at least half the window.
// Sets ContestLog::clockOffset, clockAgreeing and clockPairable of every log.
void estimateClocks(std::vector<ContestLog>& logs, int windowMinutes);

}  // namespace zeb::contest
