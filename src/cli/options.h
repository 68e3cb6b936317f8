#pragma once

#include <optional>
#include <string>
#include <vector>

#include "contest/intake/log_evaluation.h"

namespace zeb::cli {

struct Options {
    contest::EvaluationSettings evaluation;
    std::optional<std::string> output;  // "-" is standard output
    std::optional<std::string> outputDir;
    bool force = false;
    bool json = false;
    std::vector<std::string> results;  // results tables, one per format named by the extension
    bool bands = false;
    std::vector<std::string> crossChecks;       // cross-check reports, one per format
    std::optional<int> timeWindow;              // minutes; the cross-check's default when not given
    std::optional<std::string> repairDir;       // where the repaired copies go
    bool configBeside = false;                  // NAME.ini beside a log configures its columns
    std::optional<std::string> entrantReports;  // the folder of the reports for the entrants
    // The folder of the whole contest: repaired copies, protocols, results, cross-check, entrant
    // reports and the index page. The LOGs may then be folders of logs.
    std::optional<std::string> contest;
    std::vector<std::string> logs;

    // The cross-check runs, with the checked results, for a report of it or for the entrants.
    bool crossCheckRuns() const { return !crossChecks.empty() || entrantReports || contest; }
    // Something is written about the contest as a whole: every log is then kept for it.
    bool contestOutputs() const { return !results.empty() || crossCheckRuns(); }
};

enum class ParseStatus { Run, Help, Version, UsageError };

struct ParseResult {
    ParseStatus status = ParseStatus::Run;
    Options options;
    std::string error;  // the usage error, without the program name
};

// Reads the arguments after the program name. --help and --version win as soon as they are met;
// a repeated option keeps its last value, except --results and --cross-check, which add a file.
ParseResult parseOptions(const std::vector<std::string>& args);

// The text of --help.
std::string usageText();

}  // namespace zeb::cli
