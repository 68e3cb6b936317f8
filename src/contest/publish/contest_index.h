#pragma once

#include <string>
#include <vector>

#include "contest/check/checked_contest.h"
#include "contest/check/contest_analysis.h"
#include "contest/check/cross_check.h"
#include "contest/intake/contest_folder.h"
#include "contest/intake/contest_log.h"
#include "contest/publish/report_table.h"

namespace zeb::contest {

// The files of one log on the index page, relative to it; empty where none was written.
struct LogLinks {
    std::string protocol;
    std::string copy;
    std::string report;
};

// "Vyhodnocení: NAME", or "Vyhodnocení soutěže" without a name: the heading of the index page
// (Czech) and of the contest window (the user's language).
std::string contestTitle(const ContestSummary& summary, Language language);

// The contest's date and its counts of logs (ranked, ranked apart, check logs, set aside, not
// scored), QSOs and (when the cross-check ran) findings, a sentence each: the line under that
// heading.
std::string contestFacts(const std::vector<ContestLog>& logs, const ContestSummary& summary,
                         const CrossCheck* check, Language language);

// The page to open after a whole contest was evaluated: the contest's name and date as the logs
// give them, its counts, the logs to look at, the evaluator's decisions and what each did, the
// results with each log's protocol, repaired copy and entrant report, the files given that are no
// logs (`others`, named relative to the page), and the pages of the results and of the
// cross-check (`pages`: relative file names).
std::string contestIndexPage(const std::vector<ContestLog>& logs, const CheckedContest& checked,
                             const std::vector<LogLinks>& links,
                             const std::vector<std::string>& pages,
                             const std::vector<OtherFile>& others = {});

// The evaluator's decisions and what each did: a row per decision, then a row per line of the
// file that is no decision.
Table decisionTable(const CheckedContest& checked);

}  // namespace zeb::contest
