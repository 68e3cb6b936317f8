#pragma once

#include <string>
#include <vector>

#include "contest/check/cross_check.h"
#include "contest/intake/contest_log.h"
#include "contest/publish/report_table.h"

namespace zeb::contest {

// The cross-check of a contest, per log: a summary of the counts, then each log's findings with
// the QSO lines concerned (the partner's line beside a busted call or exchange), then the logs
// that were not checked and why. The CSV holds one row per finding.
std::string crossCheckReport(const std::vector<ContestLog>& logs, const CrossCheck& check,
                             ReportFormat format);

// What the partner's QSO of a finding says, in words, as the report writes it: the partner's call
// and file, its QSO and who logged what ("zapsáno OK2BM místo OK2BMA", "přijato 23, vysláno 22";
// a window has them in the user's language).
std::string partnerNote(const std::vector<ContestLog>& logs, const ContestLog& log,
                        const Finding& finding, Language language = Language::Czech);

// Why a QSO of log `l` was confirmed only with an adjustment, in Czech ("čas deníku OE8TIR
// posunut o +60 min (1 hodina); zapsáno OK1LO, deník OK1LO/P: táž stanice") or in English.
std::string adjustmentNote(const std::vector<ContestLog>& logs, std::size_t l,
                           const AdjustedMatch& adjusted, bool czech);

}  // namespace zeb::contest
