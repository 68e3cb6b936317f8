#include "contest/workspace/contest_workspace.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/cp1250.h"
#include "platform/paths.h"
#include "platform/std_files.h"
#include "platform/translation.h"
#include "report/protocol.h"

namespace zeb::contest {

namespace fs = std::filesystem;

FileStamp FileStamp::of(const std::string& name) {
    const fs::path path = pathFromUtf8(name);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) {
        return {};
    }
    FileStamp stamp;
    stamp.exists = true;
    if (fs::is_regular_file(status)) {
        stamp.size = fs::file_size(path, error);
    }
    const fs::file_time_type written = fs::last_write_time(path, error);
    if (!error) {
        stamp.written = static_cast<std::int64_t>(written.time_since_epoch().count());
    }
    return stamp;
}

ContestWorkspace::ContestWorkspace(std::vector<std::string> logs, std::string out,
                                   int windowMinutes, std::vector<OtherFile> others)
    : inputs_(std::move(logs)),
      others_(std::move(others)),
      folder_{std::move(out)},
      windowMinutes_(windowMinutes) {}

ContestSettings ContestWorkspace::intakeSettings() const {
    ContestSettings settings;
    settings.repairDir = folder_.fixed();
    settings.configBeside = true;
    settings.warnOfUtf8 = true;
    return settings;
}

void ContestWorkspace::protectInputs(OutputFiles& files,
                                     const std::vector<std::size_t>& except) const {
    for (const std::string& input : inputs_) {
        files.protect(input);
    }
    for (std::size_t l = 0; l < logs_.size(); ++l) {
        const ContestLog& log = logs_[l];
        if (log.repaired && log.repaired->copy &&
            std::find(except.begin(), except.end(), l) == except.end()) {
            files.protect(*log.repaired->copy);
        }
    }
}

void ContestWorkspace::take(LogIntake& intake, std::vector<std::string>*& noted, std::size_t l) {
    Kept& kept = kept_[l];
    kept.notes.clear();
    noted = &kept.notes;
    ContestEntry entry = intake.take(inputs_[l]);
    noted = nullptr;
    // A protocol is a text file: written as the system writes text, as zebscore writes it.
    kept.protocol = entry.evaluation.outcome == LogOutcome::Scored
                        ? toSystemLineEnds(writeProtocol(*entry.evaluation.state))
                        : std::string();
    logs_[l] = std::move(entry.log);
    // Taken after the intake, which may have written the copy just now.
    kept.submitted = FileStamp::of(inputs_[l]);
    kept.evaluated = FileStamp::of(logs_[l].evaluated);
    kept.config = FileStamp::of(configPathBeside(logs_[l].evaluated));
}

bool ContestWorkspace::check(const WorkProgress& progress) {
    decisions_ = FileStamp::of(folder_.decisions());
    std::optional<CheckedContest> checked =
        checkContest(logs_, readDecisionFile(folder_.decisions()), true, windowMinutes_,
                     [&](std::size_t done, std::size_t total) {
                         return !progress || progress(WorkStage::Check, done, total);
                     });
    if (!checked) {
        return false;
    }
    checked_ = std::move(*checked);
    return true;
}

bool ContestWorkspace::load(const WorkProgress& progress) {
    folderNotes_.clear();
    makeOutputFolders({folder_.out, folder_.fixed()},
                      [this](const std::string& text) { folderNotes_.push_back(text); });
    logs_.assign(inputs_.size(), ContestLog{});
    kept_.assign(inputs_.size(), Kept{});
    std::vector<std::size_t> all(inputs_.size());
    for (std::size_t l = 0; l < all.size(); ++l) {
        all[l] = l;
    }
    return retake(all, progress);
}

bool ContestWorkspace::retake(const std::vector<std::size_t>& logs, const WorkProgress& progress) {
    // Each log's notes are its own: the sink writes into the notes of the log being taken.
    std::vector<std::string>* noted = nullptr;
    const NoteSink sink = [&noted](const std::string& text) {
        if (noted != nullptr) {
            noted->push_back(text);
        }
    };
    OutputFiles files(sink, false);
    protectInputs(files, logs);
    LogIntake intake(intakeSettings(), files, sink);
    for (std::size_t i = 0; i < logs.size(); ++i) {
        if (progress && !progress(WorkStage::Intake, i, logs.size())) {
            return false;
        }
        take(intake, noted, logs[i]);
    }
    if (!intake.finish()) {
        folderNotes_.push_back(
            format(tr("cannot write the record of the repaired copies in %1"), {folder_.fixed()}));
    }
    return check(progress);
}

bool ContestWorkspace::recheck(int windowMinutes, const WorkProgress& progress) {
    windowMinutes_ = windowMinutes;
    return check(progress);
}

std::vector<std::size_t> ContestWorkspace::changedLogs() const {
    std::vector<std::size_t> changed;
    for (std::size_t l = 0; l < logs_.size(); ++l) {
        const std::string& evaluated = logs_[l].evaluated;
        if (FileStamp::of(inputs_[l]) != kept_[l].submitted ||
            FileStamp::of(evaluated) != kept_[l].evaluated ||
            FileStamp::of(configPathBeside(evaluated)) != kept_[l].config) {
            changed.push_back(l);
        }
    }
    return changed;
}

bool ContestWorkspace::decisionsChanged() const {
    return FileStamp::of(folder_.decisions()) != decisions_;
}

bool ContestWorkspace::recheckDecisions(const WorkProgress& progress) {
    return check(progress);
}

bool ContestWorkspace::changeDecisions(const std::string& text, std::string* error,
                                       const WorkProgress& progress) {
    const WriteOutcome made = makeFolders(folder_.out);
    const WriteOutcome written = made.ok ? writeFileAtomically(folder_.decisions(), text) : made;
    if (!written.ok) {
        if (error != nullptr) {
            *error = format(tr("the decisions file %1 could not be written: %2"),
                            {folder_.decisions(), cp1250ToUtf8(written.error)});
        }
        return false;
    }
    return check(progress);
}

bool ContestWorkspace::decide(const Decision& decision, std::string* error,
                              const WorkProgress& progress) {
    return redecide({}, decision, error, progress);
}

bool ContestWorkspace::redecide(const std::vector<Decision>& undone,
                                const std::optional<Decision>& decided, std::string* error,
                                const WorkProgress& progress) {
    const DecisionFileText file = readDecisionFileText(folder_.decisions());
    if (file.error) {
        if (error != nullptr) {
            *error = *file.error;
        }
        return false;
    }
    std::string text = file.text.value_or("");
    for (const Decision& decision : undone) {
        text = withoutDecision(text, decision);
    }
    if (decided) {
        text = withDecision(text, *decided);
    }
    return changeDecisions(text, error, progress);
}

bool ContestWorkspace::publish(const NoteSink& notes, const WorkProgress& progress) const {
    bool ok = makeOutputFolders({folder_.out, folder_.protocols(), folder_.entrants()}, notes);
    OutputFiles files(notes, false);
    protectInputs(files);
    // The index links the protocols that were written.
    std::vector<ContestLog> logs = logs_;
    for (std::size_t l = 0; l < logs.size(); ++l) {
        if (progress) {
            progress(WorkStage::Publish, l, logs.size());
        }
        if (logs[l].outcome != LogOutcome::Scored) {
            continue;
        }
        const std::string target = protocolPathIn(folder_.protocols(), inputs_[l]);
        if (files.write(inputs_[l] + ": ", tr("protocol"), target, kept_[l].protocol, true)) {
            logs[l].protocolFile = target;
        } else {
            ok = false;
        }
    }
    ok &= writeContestReports(ReportTargets::of(folder_, false), logs, checked_, files, others_);
    if (progress) {
        progress(WorkStage::Publish, logs.size(), logs.size());
    }
    return ok;
}

}  // namespace zeb::contest
