#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "contest/check/checked_contest.h"
#include "contest/check/cross_check.h"
#include "contest/intake/contest_folder.h"
#include "contest/intake/contest_log.h"
#include "contest/intake/log_intake.h"

namespace zeb::contest {

// Where the reports of a contest go.
struct ReportTargets {
    std::vector<std::string> results;      // results tables, one per format
    std::vector<std::string> crossChecks;  // cross-check reports, one per format
    std::optional<std::string> entrants;   // the folder of the entrant reports
    std::optional<std::string> index;      // the index page, linking files relative to its folder
    bool bands = false;                    // per-band columns in the results tables
    bool replace = false;                  // the files are the run's own: replaced without force

    static ReportTargets of(const ContestFolder& folder, bool bands);
};

// Writes every report of a checked contest to its targets. The protocols are the logs' own
// (ContestLog::protocolFile). False when a file could not be written (a note says why).
// `others` are the files given that are no logs, which the index page names. A log set aside has
// no entrant report: the station's report is that of the log that counts.
bool writeContestReports(const ReportTargets& targets, const std::vector<ContestLog>& logs,
                         const CheckedContest& checked, OutputFiles& files,
                         const std::vector<OtherFile>& others = {});

}  // namespace zeb::contest
