#include "cli/zebscore.h"

#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>

#include "cli/interrupt.h"
#include "cli/log_json.h"
#include "cli/options.h"
#include "cli/plain_answer.h"
#include "cli/progress_line.h"
#include "contest/contest_analysis.h"
#include "contest/contest_index.h"
#include "contest/contest_log.h"
#include "contest/contest_run.h"
#include "contest/cross_check.h"
#include "contest/cross_check_report.h"
#include "contest/entrant_report.h"
#include "contest/log_evaluation.h"
#include "contest/results_table.h"
#include "platform/cp1250.h"
#include "platform/std_files.h"
#include "report/protocol.h"

namespace zeb::cli {

using namespace zeb::contest;

namespace {

int statusOf(LogOutcome outcome) {
    switch (outcome) {
        case LogOutcome::Scored:
            return kExitScored;
        case LogOutcome::Unreadable:
            return kExitFailure;
        case LogOutcome::Refused:
            return kExitRefused;
        case LogOutcome::Aborted:
            return kExitAborted;
    }
    return kExitFailure;
}

class Run {
  public:
    Run(const Options& options, std::ostream& out, std::ostream& err, bool errIsTerminal)
        : options_(options),
          out_(out),
          progress_(err, errIsTerminal && options.logs.size() > 1),
          err_(progress_.stream()),
          files_([this](const std::string& text) { note(text); }, options.force),
          intake_(settings(options), files_, [this](const std::string& text) { note(text); }) {
        // Taken before anything is written, so that no output of the run can replace an input.
        for (const std::string& log : options_.logs) {
            files_.protect(log);
        }
        if (options_.evaluation.config) {
            files_.protect(*options_.evaluation.config);
        }
    }

    int evaluateAll() {
        int status = makeOutputDirs();
        const std::size_t total = options_.logs.size();
        for (std::size_t i = 0; i < total; ++i) {
            if (interruptRequested()) {
                return stopInterrupted(i);
            }
            progress_.show(i + 1, total, baseName(options_.logs[i]));
            status = std::max(status, evaluateOne(options_.logs[i]));
        }
        progress_.clear();
        if (interruptRequested()) {
            return stopInterrupted(total);
        }
        if (options_.contestOutputs()) {
            status = std::max(status, finishContest());
        }
        return status;
    }

  private:
    static ContestSettings settings(const Options& options) {
        ContestSettings settings;
        settings.evaluation = options.evaluation;
        settings.repairDir =
            options.contest ? inFolder(*options.contest, "fixed") : options.repairDir;
        settings.configBeside = options.configBeside;
        return settings;
    }

    static std::string inFolder(const std::string& folder, const std::string& name) {
        return (std::filesystem::path(folder) / name).string();
    }

    void note(const std::string& text) {
        err_ << "zebscore: " << text << '\n';
        err_.flush();
    }

    std::optional<std::string> outputDir() const {
        return options_.contest ? inFolder(*options_.contest, "protocols") : options_.outputDir;
    }

    std::optional<std::string> entrantDir() const {
        return options_.contest ? inFolder(*options_.contest, "entrants") : options_.entrantReports;
    }

    // Before the first log, so that every file has its folder; one that cannot be made leaves
    // each file to fail with the reason of its own write.
    int makeOutputDirs() {
        int status = kExitScored;
        for (const auto& dir :
             {options_.contest, outputDir(), settings(options_).repairDir, entrantDir()}) {
            if (!dir) {
                continue;
            }
            const WriteOutcome outcome = makeFolders(*dir);
            if (!outcome.ok) {
                note("cannot make the folder " + *dir + ": " + cp1250ToUtf8(outcome.error));
                status = kExitFailure;
            }
        }
        return status;
    }

    int stopInterrupted(std::size_t finished) {
        progress_.clear();
        // The contest's tables would be those of the finished logs only: none is written.
        const bool results = !options_.results.empty();
        const bool crossCheck = !options_.crossChecks.empty();
        const char* unwritten =
            options_.contest || options_.entrantReports ? "; the contest's reports are not written"
            : results && crossCheck ? "; the results table and the cross-check report are not "
                                      "written"
            : results               ? "; the results table is not written"
            : crossCheck            ? "; the cross-check report is not written"
                                    : "";
        err_ << "zebscore: interrupted after " << finished << " of " << options_.logs.size()
             << " LOGs" << unwritten << '\n';
        err_.flush();
        return kExitInterrupted;
    }

    int evaluateOne(const std::string& log) {
        ContestEntry entry = intake_.take(log);
        const LogEvaluation& evaluation = entry.evaluation;
        int status =
            std::max(statusOf(evaluation.outcome), entry.fileFailed ? kExitFailure : kExitScored);
        if (evaluation.outcome == LogOutcome::Scored) {
            if (options_.output) {
                status = std::max(status, saveProtocol(evaluation, *options_.output));
            } else if (const auto dir = outputDir()) {
                const std::string target = protocolPathIn(*dir, log);
                const int saved = saveProtocol(evaluation, target);
                if (saved == kExitScored) {
                    protocols_.emplace(contest_.size(), target);
                }
                status = std::max(status, saved);
            }
        }
        const RepairedLog* repaired = entry.log.repaired ? &*entry.log.repaired : nullptr;
        if (options_.json && options_.contestOutputs()) {
            // Its checked result and flags are known once every log is in.
            jsonLines_.push_back(logJsonLine(evaluation, repaired));
        } else if (options_.json) {
            // Standard output may be the terminal that shows the progress line.
            progress_.clear();
            out_ << logJsonLine(evaluation, repaired) << '\n';
            out_.flush();
        } else if (!protocolToStandardOutput()) {
            progress_.clear();
            out_ << answerLine(evaluation) << '\n';
            out_.flush();
        }
        // Only what the contest's tables need is kept, not the whole evaluation state.
        if (options_.contestOutputs()) {
            contest_.push_back(std::move(entry.log));
        }
        return status;
    }

    int saveProtocol(const LogEvaluation& evaluation, const std::string& target) {
        const std::string protocol = writeProtocol(*evaluation.state);
        if (target == "-") {
            out_.write(protocol.data(), static_cast<std::streamsize>(protocol.size()));
            out_.flush();
            return out_ ? kExitScored : kExitFailure;
        }
        return written(
            files_.write(evaluation.log + ": ", "protocol", target, protocol, replaceOwn()));
    }

    bool protocolToStandardOutput() const { return options_.output && *options_.output == "-"; }

    // The files of --contest are its own: a second run replaces them (never the repaired copies,
    // which may hold the evaluator's corrections).
    bool replaceOwn() const { return options_.contest.has_value(); }

    static int written(bool ok) { return ok ? kExitScored : kExitFailure; }

    int writeReport(const std::string& what, const std::string& target,
                    const std::string& content) {
        return written(files_.write("", what, target, content, replaceOwn()));
    }

    int finishContest() {
        int status = kExitScored;
        std::optional<CrossCheck> check;
        if (options_.crossCheckRuns()) {
            check = crossCheck(contest_, options_.timeWindow.value_or(kDefaultTimeWindow));
            const bool finished = computeCheckedResults(
                contest_, *check, [this](std::size_t done, std::size_t total) {
                    progress_.show(done, total, "checked results");
                    return !interruptRequested();
                });
            progress_.clear();
            if (!finished) {
                return stopInterrupted(options_.logs.size());
            }
        }
        const ContestSummary summary = analyzeContest(contest_, check ? &*check : nullptr);
        std::vector<std::string> results = options_.results;
        std::vector<std::string> crossChecks = options_.crossChecks;
        if (options_.contest) {
            for (const char* extension : {".html", ".csv", ".txt"}) {
                results.push_back(inFolder(*options_.contest, std::string("results") + extension));
                crossChecks.push_back(
                    inFolder(*options_.contest, std::string("cross-check") + extension));
            }
        }
        for (const std::string& file : results) {
            const std::string table = resultsTable(contest_, *reportFormatOf(file), options_.bands);
            status = std::max(status, writeReport("results table", file, table));
        }
        for (const std::string& file : crossChecks) {
            const std::string report = crossCheckReport(contest_, *check, *reportFormatOf(file));
            status = std::max(status, writeReport("cross-check report", file, report));
        }
        std::vector<std::string> reportNames;
        if (const auto dir = entrantDir()) {
            reportNames = entrantReportNames(contest_);
            for (std::size_t l = 0; l < contest_.size(); ++l) {
                const int report = written(files_.write(
                    contest_[l].path + ": ", "entrant report", inFolder(*dir, reportNames[l]),
                    entrantReport(contest_, *check, l, summary), replaceOwn()));
                if (report != kExitScored) {
                    reportNames[l].clear();
                }
                status = std::max(status, report);
            }
        }
        if (options_.contest) {
            status = std::max(status, writeIndex(summary, *check, reportNames));
        }
        for (std::size_t l = 0; l < jsonLines_.size(); ++l) {
            out_ << withContestFields(std::move(jsonLines_[l]), contest_[l]) << '\n';
        }
        out_.flush();
        return status;
    }

    int writeIndex(const ContestSummary& summary, const CrossCheck& check,
                   const std::vector<std::string>& reportNames) {
        const std::filesystem::path out(*options_.contest);
        const auto relative = [&](const std::string& file) {
            return std::filesystem::path(file).lexically_relative(out).generic_string();
        };
        std::vector<LogLinks> links(contest_.size());
        for (std::size_t l = 0; l < contest_.size(); ++l) {
            if (const auto found = protocols_.find(l); found != protocols_.end()) {
                links[l].protocol = relative(found->second);
            }
            const ContestLog& log = contest_[l];
            if (log.repaired && log.repaired->copy) {
                links[l].copy = relative(*log.repaired->copy);
            }
            if (!reportNames[l].empty()) {
                links[l].report = "entrants/" + reportNames[l];
            }
        }
        const std::vector<std::string> pages = {"results.html",    "results.csv",
                                                "results.txt",     "cross-check.html",
                                                "cross-check.csv", "cross-check.txt"};
        return writeReport("index page", inFolder(*options_.contest, "index.html"),
                           contestIndexPage(contest_, summary, &check, links, pages));
    }

    const Options& options_;
    std::ostream& out_;
    ProgressLine progress_;
    std::ostream& err_;
    OutputFiles files_;
    LogIntake intake_;
    std::vector<ContestLog> contest_;
    std::vector<std::string> jsonLines_;            // held until the contest is checked
    std::map<std::size_t, std::string> protocols_;  // the protocol written for a log
};

}  // namespace

std::string protocolPathIn(const std::string& dir, const std::string& log) {
    return contest::protocolPathIn(dir, log);
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool errIsTerminal) {
    const ParseResult parsed = parseOptions(args);
    switch (parsed.status) {
        case ParseStatus::Help:
            out << usageText();
            return kExitScored;
        case ParseStatus::Version:
            out << "zebscore " ZEB_VERSION "\n";
            return kExitScored;
        case ParseStatus::UsageError:
            err << "zebscore: " << parsed.error
                << "\nTry 'zebscore --help' for more information.\n";
            return kExitFailure;
        case ParseStatus::Run:
            break;
    }
    Options options = parsed.options;
    if (options.contest) {
        std::vector<std::string> logs;
        for (const std::string& log : options.logs) {
            const std::optional<std::vector<std::string>> inFolder = logsInFolder(log);
            if (!inFolder) {
                logs.push_back(log);
            } else if (inFolder->empty()) {
                err << "zebscore: the folder " << log << " holds no .cbr or .log file\n";
                return kExitFailure;
            } else {
                logs.insert(logs.end(), inFolder->begin(), inFolder->end());
            }
        }
        options.logs = std::move(logs);
    }
    try {
        Run run(options, out, err, errIsTerminal);
        return run.evaluateAll();
    } catch (const std::exception& e) {
        err << "zebscore: " << e.what() << '\n';
        return kExitFailure;
    }
}

int run(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    stopOnInterrupt();
    return run(args, out, err, ::isatty(STDERR_FILENO) == 1);
}

}  // namespace zeb::cli
