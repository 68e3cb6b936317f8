#include "cli/zebscore.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>

#include "cli/interrupt.h"
#include "cli/log_json.h"
#include "cli/options.h"
#include "cli/plain_answer.h"
#include "cli/progress_line.h"
#include "contest/contest_log.h"
#include "contest/cross_check.h"
#include "contest/cross_check_report.h"
#include "contest/log_evaluation.h"
#include "contest/log_repair.h"
#include "contest/results_table.h"
#include "platform/cp1250.h"
#include "platform/file_set.h"
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
          err_(progress_.stream()) {
        // Taken before anything is written, so that no output of the run can replace an input.
        for (const std::string& log : options_.logs) {
            inputs_.add(log);
        }
        if (options_.evaluation.config) {
            inputs_.add(*options_.evaluation.config);
        }
    }

    int evaluateAll() {
        int status = makeOutputDir();
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
        for (const std::string& file : options_.results) {
            const std::string table = resultsTable(contest_, *reportFormatOf(file), options_.bands);
            status = std::max(status, writeOutput("zebscore: ", "results table", file, table));
        }
        if (options_.crossCheck) {
            const CrossCheck check =
                crossCheck(contest_, options_.timeWindow.value_or(kDefaultTimeWindow));
            const std::string report =
                crossCheckReport(contest_, check, *reportFormatOf(*options_.crossCheck));
            status = std::max(status, writeOutput("zebscore: ", "cross-check report",
                                                  *options_.crossCheck, report));
        }
        return status;
    }

  private:
    // Before the first log, so that every protocol has its folder; one that cannot be made leaves
    // each protocol to fail with the reason of its own write.
    int makeOutputDir() {
        int status = kExitScored;
        for (const auto& dir : {options_.outputDir, options_.repairDir}) {
            if (!dir) {
                continue;
            }
            const WriteOutcome outcome = makeFolders(*dir);
            if (!outcome.ok) {
                err_ << "zebscore: cannot make the folder " << *dir << ": "
                     << cp1250ToUtf8(outcome.error) << '\n';
                status = kExitFailure;
            }
        }
        return status;
    }

    int stopInterrupted(std::size_t finished) {
        progress_.clear();
        // The contest's tables would be those of the finished logs only: none is written.
        const bool results = !options_.results.empty();
        const bool crossCheck = options_.crossCheck.has_value();
        const char* unwritten = results && crossCheck ? "; the results table and the cross-check "
                                                        "report are not written"
                                : results             ? "; the results table is not written"
                                : crossCheck          ? "; the cross-check report is not written"
                                                      : "";
        err_ << "zebscore: interrupted after " << finished << " of " << options_.logs.size()
             << " LOGs" << unwritten << '\n';
        err_.flush();
        return kExitInterrupted;
    }

    int evaluateOne(const std::string& log) {
        int status = kExitScored;
        std::string evaluated = log;
        EvaluationSettings settings = options_.evaluation;
        std::optional<RepairedLog> repaired;
        if (options_.repairDir) {
            repaired = repair(log, status);
            if (repaired->copy) {
                evaluated = *repaired->copy;
            }
        }
        if (options_.configBeside) {
            const std::string beside = configPathBeside(evaluated);
            if (isReadableFile(beside)) {
                settings.config = beside;
            }
        }
        if (repaired && repaired->repair.columnsMustBeSet && !settings.config &&
            !settings.callStart && !settings.exchStart) {
            settings.callStart = std::to_string(kRepairedCallColumn);
            settings.exchStart = std::to_string(kRepairedExchangeColumn);
        }
        LogEvaluation evaluation =
            evaluateLog(evaluated, settings, [this, &evaluated](const DialogMessage& message) {
                err_ << "zebscore: " << evaluated << ": " << kindName(message.kind) << ": "
                     << cp1250ToUtf8(message.text) << '\n';
                err_.flush();
            });
        evaluation.log = log;
        status = std::max(status, statusOf(evaluation.outcome));
        if (evaluation.configUnreadable) {
            err_ << "zebscore: " << evaluated << ": cannot open the column configuration "
                 << *settings.config << "; the columns stay as found\n";
            status = std::max(status, kExitFailure);
        }
        if (evaluation.columnCheck && evaluation.columnCheck->poor()) {
            const ColumnCheck& check = *evaluation.columnCheck;
            err_ << "zebscore: " << evaluated << ": the columns found agree with the QSO fields on "
                 << check.agreeing << " of " << check.lines << " lines"
                 << (options_.repairDir ? "; check the columns in the window\n"
                                        : "; --repair rewrites the log so that they are found, "
                                          "or check the columns in the window\n");
        }
        if (evaluation.outcome == LogOutcome::Scored) {
            if (options_.output) {
                status = std::max(status, saveProtocol(evaluation, *options_.output));
            } else if (options_.outputDir) {
                status = std::max(
                    status, saveProtocol(evaluation, protocolPathIn(*options_.outputDir, log)));
            }
        }
        if (options_.json) {
            // Standard output may be the terminal that shows the progress line.
            progress_.clear();
            out_ << logJsonLine(evaluation, repaired ? &*repaired : nullptr) << '\n';
            out_.flush();
        } else if (!protocolToStandardOutput()) {
            progress_.clear();
            out_ << answerLine(evaluation) << '\n';
            out_.flush();
        }
        // Only what the contest's tables need is kept, not the whole evaluation state.
        if (!options_.results.empty() || options_.crossCheck) {
            contest_.push_back(summarizeLog(evaluation));
        }
        return status;
    }

    // Writes the repaired copy of a log into the repair folder. Without a copy (the log cannot be
    // read, or the copy cannot be written) the log is evaluated as it stands.
    RepairedLog repair(const std::string& log, int& status) {
        RepairedLog repaired;
        const std::optional<FileBytes> file = readRegularFile(log, std::string().max_size());
        if (!file || !file->whole) {
            return repaired;
        }
        if (!repairScratch_) {
            repairScratch_ = makeEvaluationState();
        }
        repaired.repair = repairLog(file->bytes, repairScratch_.get());
        const std::string target = repairPathIn(*options_.repairDir, log);
        const int written =
            writeOutput("zebscore: " + log + ": ", "repaired copy", target, repaired.repair.copy);
        if (written != kExitScored) {
            err_ << "zebscore: " << log << ": the log is evaluated as it stands\n";
            status = std::max(status, written);
            return repaired;
        }
        repaired.copy = target;
        return repaired;
    }

    int saveProtocol(LogEvaluation& evaluation, const std::string& target) {
        const std::string protocol = writeProtocol(*evaluation.state);
        if (target == "-") {
            out_.write(protocol.data(), static_cast<std::streamsize>(protocol.size()));
            out_.flush();
            return out_ ? kExitScored : kExitFailure;
        }
        return writeOutput("zebscore: " + evaluation.log + ": ", "protocol", target, protocol);
    }

    bool protocolToStandardOutput() const { return options_.output && *options_.output == "-"; }

    // A target that is one of the run's inputs, however it is spelled, is refused: an input is
    // never lost, --force or not.
    bool refuseInput(const std::string& prefix, const std::string& what,
                     const std::string& target) {
        const std::optional<std::string> input = inputs_.find(target);
        if (!input) {
            return false;
        }
        err_ << prefix << what << " " << target << " would replace the input " << *input
             << "; an input is never replaced\n";
        return true;
    }

    int writeOutput(const std::string& prefix, const std::string& what, const std::string& target,
                    const std::string& content) {
        if (refuseInput(prefix, what, target)) {
            return kExitFailure;
        }
        // Two logs of one name in different folders would share DIR/NAME.prn, and a report may
        // name the file of a protocol; --force allows replacing what was there before the run,
        // never a file this run has just written.
        if (written_.find(target)) {
            err_ << prefix << what << " " << target
                 << " was already written for an earlier LOG of this run; it is not replaced\n";
            return kExitFailure;
        }
        struct stat existing {};
        if (!options_.force && ::lstat(target.c_str(), &existing) == 0 &&
            !S_ISDIR(existing.st_mode)) {
            err_ << prefix << what << " " << target
                 << " exists and stays untouched; --force replaces it\n";
            return kExitFailure;
        }
        const WriteOutcome outcome = writeFileAtomically(target, content);
        if (!outcome.ok) {
            err_ << prefix << "cannot write the " << what << " " << target << ": "
                 << cp1250ToUtf8(outcome.error) << '\n';
            return kExitFailure;
        }
        written_.add(target);
        return kExitScored;
    }

    const Options& options_;
    std::ostream& out_;
    ProgressLine progress_;
    std::ostream& err_;
    FileSet inputs_;
    FileSet written_;
    std::unique_ptr<EvaluationState> repairScratch_;  // reused by the repair of every log
    std::vector<ContestLog> contest_;
};

}  // namespace

std::string repairPathIn(const std::string& dir, const std::string& log) {
    return (std::filesystem::path(dir) / std::filesystem::path(log).filename()).string();
}

std::string configPathBeside(const std::string& log) {
    return std::filesystem::path(log).replace_extension(".ini").string();
}

std::string protocolPathIn(const std::string& dir, const std::string& log) {
    std::filesystem::path name = std::filesystem::path(log).filename().stem();
    name += ".prn";
    return (std::filesystem::path(dir) / name).string();
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
    try {
        Run run(parsed.options, out, err, errIsTerminal);
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
