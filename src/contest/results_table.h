#pragma once

#include <string>
#include <vector>

#include "contest/contest_log.h"
#include "contest/report_table.h"

namespace zeb::contest {

// The scored logs ranked by result, highest first, then by call and file name; equal results
// share a rank ("1, 1, 3"). Returns indexes into `logs`, with the rank of each.
struct RankedLog {
    std::size_t log;
    int rank;
};
std::vector<RankedLog> rankLogs(const std::vector<ContestLog>& logs);

// The results table of a contest. With `withBands`, four columns per band (QSOs, valid QSOs,
// points, DXCC multipliers) for every band on which any scored log has a QSO.
std::string resultsTable(const std::vector<ContestLog>& logs, ReportFormat format, bool withBands);

}  // namespace zeb::contest
