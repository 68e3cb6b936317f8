#include "cli/zebscore.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "cli/console.h"
#include "cli/interrupt.h"
#include "cli/log_json.h"
#include "cli/options.h"
#include "cli/plain_answer.h"
#include "cli/progress_line.h"
#include "contest/intake/contest_folder.h"
#include "contest/intake/contest_log.h"
#include "contest/intake/log_evaluation.h"
#include "contest/intake/log_intake.h"
#include "contest/publish/contest_reports.h"
#include "platform/cp1250.h"
#include "platform/paths.h"
#include "platform/std_files.h"
#include "platform/translation.h"
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
    Run(const Options& options, const std::vector<OtherFile>& others, std::ostream& out,
        std::ostream& err, bool errIsTerminal)
        : options_(options),
          others_(others),
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
        // Nothing of the folders is left out without a word.
        for (const OtherFile& other : others_) {
            note(format(tr("%1: not taken as a log: %2"), {other.path, other.reason}));
        }
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
        status = std::max(status, written(intake_.finish()));
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
            options.contest ? ContestFolder{*options.contest}.fixed() : options.repairDir;
        settings.configBeside = options.configBeside;
        settings.warnOfUtf8 = options.contestOutputs();
        return settings;
    }

    void note(const std::string& text) {
        err_ << "zebscore: " << text << '\n';
        err_.flush();
    }

    std::optional<std::string> outputDir() const {
        return options_.contest ? ContestFolder{*options_.contest}.protocols() : options_.outputDir;
    }

    std::optional<std::string> entrantDir() const {
        return options_.contest ? ContestFolder{*options_.contest}.entrants()
                                : options_.entrantReports;
    }

    // Before the first log, so that every file has its folder; one that cannot be made leaves
    // each file to fail with the reason of its own write.
    int makeOutputDirs() {
        std::vector<std::string> folders;
        for (const auto& dir :
             {options_.contest, outputDir(), settings(options_).repairDir, entrantDir()}) {
            if (dir) {
                folders.push_back(*dir);
            }
        }
        return written(makeOutputFolders(folders, [this](const std::string& text) { note(text); }));
    }

    int stopInterrupted(std::size_t finished) {
        progress_.clear();
        // The contest's tables would be those of the finished logs only: none is written.
        const bool results = !options_.results.empty();
        const bool crossCheck = !options_.crossChecks.empty();
        const char* interrupted =
            options_.contest || options_.entrantReports
                ? tr("interrupted after %1 of %2 LOGs; the contest's reports are not written")
            : results && crossCheck ? tr("interrupted after %1 of %2 LOGs; the results table and "
                                         "the cross-check report are not written")
            : results    ? tr("interrupted after %1 of %2 LOGs; the results table is not written")
            : crossCheck ? tr("interrupted after %1 of %2 LOGs; the cross-check report is not "
                              "written")
                         : tr("interrupted after %1 of %2 LOGs");
        err_ << "zebscore: "
             << format(interrupted,
                       {std::to_string(finished), std::to_string(options_.logs.size())})
             << '\n';
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
                    entry.log.protocolFile = target;
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
        // A text file: CR LF line ends on Windows, on standard output too.
        const std::string protocol = toSystemLineEnds(writeProtocol(*evaluation.state));
        if (target == "-") {
            out_.write(protocol.data(), static_cast<std::streamsize>(protocol.size()));
            out_.flush();
            return out_ ? kExitScored : kExitFailure;
        }
        return written(
            files_.write(evaluation.log + ": ", tr("protocol"), target, protocol, replaceOwn()));
    }

    bool protocolToStandardOutput() const { return options_.output && *options_.output == "-"; }

    // The files of --contest are its own: a second run replaces them (never the repaired copies,
    // which may hold the evaluator's corrections).
    bool replaceOwn() const { return options_.contest.has_value(); }

    static int written(bool ok) { return ok ? kExitScored : kExitFailure; }

    int finishContest() {
        // The evaluator's decisions belong to the contest's folder.
        const DecisionFile decisions =
            options_.contest ? readDecisionFile(ContestFolder{*options_.contest}.decisions())
                             : DecisionFile{};
        const std::optional<CheckedContest> checked =
            checkContest(contest_, decisions, options_.crossCheckRuns(),
                         options_.timeWindow.value_or(kDefaultTimeWindow),
                         [this](std::size_t done, std::size_t total) {
                             progress_.show(done, total, tr("checked results"));
                             return !interruptRequested();
                         });
        progress_.clear();
        if (!checked) {
            return stopInterrupted(options_.logs.size());
        }
        ReportTargets targets;
        if (options_.contest) {
            targets = ReportTargets::of(ContestFolder{*options_.contest}, options_.bands);
        } else {
            targets.results = options_.results;
            targets.crossChecks = options_.crossChecks;
            targets.entrants = options_.entrantReports;
            targets.bands = options_.bands;
        }
        const int status =
            written(writeContestReports(targets, contest_, *checked, files_, others_));
        if (options_.contest && status == kExitScored) {
            note(format(tr("the whole contest is in %1; open %2"),
                        {*options_.contest, ContestFolder{*options_.contest}.index()}));
        }
        for (std::size_t l = 0; l < jsonLines_.size(); ++l) {
            out_ << withContestFields(std::move(jsonLines_[l]), contest_, l, *checked) << '\n';
        }
        out_.flush();
        return status;
    }

    const Options& options_;
    const std::vector<OtherFile>& others_;  // the files of the folders given that are no logs
    std::ostream& out_;
    ProgressLine progress_;
    std::ostream& err_;
    OutputFiles files_;
    LogIntake intake_;
    std::vector<ContestLog> contest_;
    std::vector<std::string> jsonLines_;  // held until the contest is checked
};

bool exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(pathFromUtf8(path), error);
}

// The LOGs of a contest, a folder standing for its logs; the files of the folders that are no logs
// go to `others`. A status when the run stops before anything is written: a LOG or FOLDER that is
// not there, a folder without a log, a folder given for a single log's evaluation.
std::optional<int> takeFolders(Options& options, std::vector<OtherFile>& others,
                               std::ostream& err) {
    if (!options.contest) {
        for (const std::string& log : options.logs) {
            std::error_code error;
            if (std::filesystem::is_directory(pathFromUtf8(log), error)) {
                err << "zebscore: "
                    << format(tr("%1 is a folder: a whole contest in a folder is evaluated with "
                                 "--contest OUT %1"),
                              {log})
                    << "\n"
                    << tr("Try 'zebscore --help' for more information.") << "\n";
                return kExitFailure;
            }
        }
        return std::nullopt;
    }
    for (const std::string& log : options.logs) {
        if (!exists(log)) {
            err << "zebscore: "
                << format(tr("%1: no such LOG or FOLDER; nothing was written"), {log}) << "\n";
            return kExitNoSuchInput;
        }
    }
    std::vector<std::string> logs;
    for (const std::string& log : options.logs) {
        std::optional<FolderContents> contents = scanLogsFolder(log, {*options.contest});
        if (!contents) {
            logs.push_back(log);
            continue;
        }
        if (contents->logs.empty()) {
            err << "zebscore: "
                << format(tr("the folder %1 holds no log (no .cbr or .log file, and no other "
                             "file that is a Cabrillo log); nothing was written"),
                          {log})
                << "\n";
            for (const OtherFile& other : contents->others) {
                err << "zebscore: " << other.path << ": " << other.reason << "\n";
            }
            return kExitFailure;
        }
        logs.insert(logs.end(), contents->logs.begin(), contents->logs.end());
        others.insert(others.end(), contents->others.begin(), contents->others.end());
    }
    options.logs = std::move(logs);
    return std::nullopt;
}

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
            err << "zebscore: " << parsed.error << "\n"
                << tr("Try 'zebscore --help' for more information.") << "\n";
            return kExitFailure;
        case ParseStatus::Run:
            break;
    }
    Options options = parsed.options;
    std::vector<OtherFile> others;
    if (const std::optional<int> status = takeFolders(options, others, err)) {
        return *status;
    }
    try {
        Run run(options, others, out, err, errIsTerminal);
        return run.evaluateAll();
    } catch (const std::exception& e) {
        err << "zebscore: " << e.what() << '\n';
        return kExitFailure;
    }
}

int run(int argc, char** argv, std::ostream& out, std::ostream& err) {
    useUserLanguage();
    prepareConsole(out, err);
    stopOnInterrupt();
    const std::vector<std::string> args = programArguments(argc, argv);
    if (const std::optional<int> status = runInOwnConsole(args, out, err)) {
        return *status;
    }
    return run(args, out, err, standardErrorIsTerminal());
}

}  // namespace zeb::cli
