#pragma once

#include <string>
#include <vector>

#include "contest/intake/contest_log.h"
#include "contest/publish/report_table.h"
#include "platform/translation.h"

namespace zeb::contest {

// The scored logs ranked by result (the checked result when there is one), highest first, then by
// call and file name; equal results share a rank ("1, 1, 3"). Only the logs that ContestLog::ranked
// takes are ranked: not those ranked apart (of another session, or meeting no other log), check
// logs or logs set aside. Returns indexes into `logs`, with the rank of
// each.
struct RankedLog {
    std::size_t log;
    int rank;
};
std::vector<RankedLog> rankLogs(const std::vector<ContestLog>& logs);

// Some log has a checked result: the cross-check ran.
bool anyChecked(const std::vector<ContestLog>& logs);

// The codes of a log's flags, one space apart: for scripts (CSV, JSON).
std::string flagCodes(const ContestLog& log);

// A flag as a person reads it: a short phrase ("jiné kolo", "bez protistanice"), in the language
// given; and a log's flags so, a comma apart.
const char* flagPhrase(std::string_view code, Language language);
std::string flagPhrases(const ContestLog& log, Language language);

// The result a log is ranked by.
std::int32_t rankingResult(const ContestLog& log);

// The logs to look at: a row per flag, with its reason.
Table flagTable(const std::vector<ContestLog>& logs);
// The section of them that opens a page (nothing in CSV).
std::string flagSection(const std::vector<ContestLog>& logs, ReportFormat format);

// The results table of a contest, opened by the logs to look at. With `withBands`, four columns
// per band (QSOs, valid QSOs, points, DXCC multipliers) for every band on which any scored log has
// a QSO. With checked results, the checked result and the number of removed QSOs follow the
// result. The logs ranked apart, the check logs and the logs set aside follow the ranking, each
// part under its heading.
std::string resultsTable(const std::vector<ContestLog>& logs, ReportFormat format, bool withBands);

}  // namespace zeb::contest
