#pragma once

#include <string>
#include <vector>

#include "contest/check/contest_analysis.h"
#include "contest/check/cross_check.h"
#include "contest/intake/contest_log.h"

namespace zeb::contest {

// The file name of each log's entrant report: CALL.txt, or the log's file name with ".txt" when
// its call is unknown or sent more than one log. A character that a file name cannot hold on any
// system ("/" of "OK1ABC/P" among them) is written "_"; no two logs share a name, in any case. A
// log set aside has none (an empty name): the station's report is that of its log that counts.
std::vector<std::string> entrantReportNames(const std::vector<ContestLog>& logs);

// The report for the entrant of `logs[l]`, in UTF-8, in Czech and then in English: the call and
// the log file, the claimed and the checked result, every removed QSO with its finding, the
// entrant's line as submitted (its number in the submitted file) and the partner's line; then, for
// information, the busted calls the partners made of the entrant's call, the unique calls, the
// exchanges that could not be verified, and what the repair read differently from the lines.
// `check` is the cross-check of the logs.
std::string entrantReport(const std::vector<ContestLog>& logs, const CrossCheck& check,
                          std::size_t l, const ContestSummary& summary);

}  // namespace zeb::contest
