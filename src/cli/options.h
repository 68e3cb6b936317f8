#pragma once

#include <optional>
#include <string>
#include <vector>

#include "contest/log_evaluation.h"

namespace zeb::cli {

struct Options {
    contest::EvaluationSettings evaluation;
    std::optional<std::string> output;  // "-" is standard output
    std::optional<std::string> outputDir;
    bool force = false;
    bool json = false;
    std::vector<std::string> results;  // results tables, one per format named by the extension
    bool bands = false;
    std::optional<std::string> crossCheck;  // the cross-check report, in the same formats
    std::optional<int> timeWindow;          // minutes; the cross-check's default when not given
    std::optional<std::string> repairDir;   // where the repaired copies go
    bool configBeside = false;              // NAME.ini beside a log configures its columns
    std::vector<std::string> logs;
};

enum class ParseStatus { Run, Help, Version, UsageError };

struct ParseResult {
    ParseStatus status = ParseStatus::Run;
    Options options;
    std::string error;  // the usage error, without the program name
};

// Reads the arguments after the program name. --help and --version win as soon as they are met;
// a repeated option keeps its last value, except --results, which adds a table.
ParseResult parseOptions(const std::vector<std::string>& args);

// The text of --help.
std::string usageText();

}  // namespace zeb::cli
