#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "contest/contest_analysis.h"
#include "contest/contest_log.h"
#include "contest/contest_run.h"
#include "contest/cross_check.h"

namespace zeb::contest {

// The folders and files of a whole contest under its output folder OUT.
struct ContestFolder {
    std::string out;

    std::string fixed() const;      // OUT/fixed: the repaired copies
    std::string protocols() const;  // OUT/protocols
    std::string entrants() const;   // OUT/entrants
    std::string index() const;      // OUT/index.html
    // OUT/results.EXT and OUT/cross-check.EXT, in the order html, csv, txt.
    std::vector<std::string> results() const;
    std::vector<std::string> crossChecks() const;
};

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

// Writes every report of a checked contest to its targets. The protocols are the logs' own
// (ContestLog::protocolFile). False when a file could not be written (a note says why).
bool writeContestReports(const ReportTargets& targets, const std::vector<ContestLog>& logs,
                         const CheckedContest& checked, OutputFiles& files);

}  // namespace zeb::contest
