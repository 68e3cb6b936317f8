#include "contest/workspace/contest_screen.h"

#include <algorithm>
#include <filesystem>

#include "contest/publish/contest_view.h"
#include "intake/load_command.h"
#include "platform/paths.h"

namespace zeb::contest {

OpenedFolders openedFolders(const std::string& firstPath) {
    const std::filesystem::path first = pathFromUtf8(firstPath);
    std::error_code error;
    const std::string logs =
        utf8FromPath(std::filesystem::is_directory(first, error) ? first : first.parent_path());
    return {logs, pathInFolder(logs, kOutputFolderName)};
}

FolderContents contestInputs(const std::vector<std::string>& paths, const std::string& out) {
    FolderContents inputs;
    for (const std::string& path : paths) {
        if (std::optional<FolderContents> inFolder = scanLogsFolder(path, {out})) {
            inputs.logs.insert(inputs.logs.end(), inFolder->logs.begin(), inFolder->logs.end());
            inputs.others.insert(inputs.others.end(), inFolder->others.begin(),
                                 inFolder->others.end());
        } else {
            inputs.logs.push_back(path);
        }
    }
    return inputs;
}

ScreenCommands screenCommands(const ScreenState& state) {
    ScreenCommands commands;
    const bool idle = !state.busy;
    const ContestWorkspace* contest = state.contest;
    commands.openFolder = idle;
    commands.changeOutput = idle && contest != nullptr;
    commands.save = idle && contest != nullptr;
    commands.openResults = contest != nullptr && FileStamp::of(contest->folder().index()).exists;
    commands.showProgress = state.busy;
    commands.cancel = state.busy && state.stoppable;
    if (contest == nullptr || !state.log || *state.log >= contest->logs().size()) {
        return commands;
    }
    const std::size_t log = *state.log;
    commands.openInForm = state.form && contest->logs()[log].outcome == LogOutcome::Scored;
    const DecisionChoices choices = decisionChoices(contest->logs(), contest->checked(), log);
    commands.setAside = idle && choices.setAside;
    commands.checkLog = idle && choices.checkLog;
    commands.counts = idle && choices.counts;
    commands.undo = idle && choices.undo;
    commands.keepQso = idle && choices.onQsos && state.qso.has_value();
    commands.removeQso = commands.keepQso;
    if (state.qso) {
        for (const DecisionNote& note : decisionNotes(contest->logs(), contest->checked(), log)) {
            commands.undoQso = commands.undoQso || std::find(note.qsos.begin(), note.qsos.end(),
                                                             *state.qso) != note.qsos.end();
        }
        commands.undoQso = idle && commands.undoQso;
    }
    return commands;
}

bool unsavedContest(const ContestWorkspace* contest, const ContestWorkspace* published) {
    return contest != nullptr &&
           (contest != published || !contest->changedLogs().empty() || contest->decisionsChanged());
}

std::string stageText(WorkStage stage, Language language) {
    switch (stage) {
        case WorkStage::Intake:
            return tr(language, "Reading, repairing and scoring the logs");
        case WorkStage::Check:
            return tr(language, "Cross-check and checked results");
        case WorkStage::Publish:
            return tr(language, "Saving the results");
    }
    return {};
}

std::string progressText(WorkStage stage, std::size_t done, std::size_t total, Language language) {
    return format(tr(language, "%1: %2 of %3"),
                  {stageText(stage, language), std::to_string(done), std::to_string(total)});
}

std::string readingText(Language language) {
    return tr(language, "Reading the logs…");
}

std::string loadedText(std::size_t logs, std::size_t others, Language language) {
    std::string text = format(tr(language, "Logs read and checked: %1"), {std::to_string(logs)});
    if (others > 0) {
        text +=
            format(tr(language, ", other files that are no logs: %1"), {std::to_string(others)});
    }
    return text + tr(language, ". The results are not saved yet (Save results).");
}

std::string noLogsText(const std::string& folder, std::size_t others, Language language) {
    return format(tr(language,
                     "The folder %1 holds no logs (no *.cbr or *.log files and no other "
                     "Cabrillo logs); other files: %2."),
                  {folder, std::to_string(others)});
}

std::string stillWorkingText(Language language) {
    return tr(language, "The work before is still running: wait for it, or cancel it.");
}

std::string cancellingText(Language language) {
    return tr(language, "Cancelling…");
}

std::string cancelledText(Language language) {
    return tr(language, "Cancelled: the window shows the contest as it was before.");
}

std::string failedText(const std::string& failure, Language language) {
    return format(tr(language, "The work ended with an error: %1"), {failure});
}

std::string nothingChangedText(const std::string& why, Language language) {
    return format(tr(language, "Nothing changed: %1"), {why});
}

std::string retakenText(const ContestWorkspace& contest, const std::vector<std::size_t>& logs,
                        Language language) {
    std::string names;
    for (const std::size_t log : logs) {
        names += (names.empty() ? "" : ", ") + callOrFileName(contest.logs()[log]);
    }
    return format(tr(language, "Computed again after a change: %1. The results are not saved yet."),
                  {names});
}

std::string decisionsChangedText(const std::string& decisionsFile, Language language) {
    return format(tr(language,
                     "The decisions file %1 changed: the contest is computed again with "
                     "it. The results are not saved yet."),
                  {decisionsFile});
}

std::optional<TakeBackWork> changesToTakeBack(const ContestWorkspace& contest,
                                              const std::string& decisionsFile, Language language) {
    const std::vector<std::size_t> changed = contest.changedLogs();
    if (!changed.empty()) {
        return TakeBackWork{[changed](ContestWorkspace& next, const WorkProgress& progress) {
                                return next.retake(changed, progress);
                            },
                            retakenText(contest, changed, language)};
    }
    if (contest.decisionsChanged()) {
        return TakeBackWork{[](ContestWorkspace& next, const WorkProgress& progress) {
                                return next.recheckDecisions(progress);
                            },
                            decisionsChangedText(decisionsFile, language)};
    }
    return std::nullopt;
}

std::string recheckedText(int minutes, Language language) {
    return format(
        tr(language, "Cross-check with a time window of %1 min. The results are not saved yet."),
        {std::to_string(minutes)});
}

std::string unfinishedText(const std::string& failure, const std::string& nothingChanged,
                           Language language) {
    if (!failure.empty()) {
        return failedText(failure, language);
    }
    if (!nothingChanged.empty()) {
        return nothingChangedText(nothingChanged, language);
    }
    return cancelledText(language);
}

std::string publishedText(bool completed, bool written, const std::string& failure,
                          const std::string& out, const std::vector<std::string>& notes,
                          Language language) {
    if (!completed) {
        return notSavedText(failure, language);
    }
    return written ? savedText(out, language) : partlySavedText(out, notes, language);
}

std::string savingText(Language language) {
    return tr(language, "Saving the results…");
}

std::string savedText(const std::string& out, Language language) {
    return format(tr(language, "Results saved in %1."), {out});
}

std::string notSavedText(const std::string& failure, Language language) {
    return format(tr(language, "The results could not be saved: %1"), {failure});
}

std::string partlySavedText(const std::string& out, const std::vector<std::string>& notes,
                            Language language) {
    std::string lines;
    for (const std::string& note : notes) {
        lines += (lines.empty() ? "" : "; ") + note;
    }
    return format(tr(language, "Some files of the results in %1 could not be saved: %2"),
                  {out, lines});
}

std::string resultsNotYetText(Language language) {
    return tr(language, "The results are not saved yet (Save results).");
}

std::string pageNotOpenedText(const std::string& page, Language language) {
    return format(tr(language, "The page %1 could not be opened in the browser."), {page});
}

std::string closesWhenIdleText(Language language) {
    return tr(language, "The window closes as soon as the work under way ends.");
}

EvaluatedLog evaluatedLogOf(const ContestLog& log) {
    return {log.evaluated, log.settings.config, log.settings.callStart, log.settings.exchStart,
            configPathBeside(log.evaluated)};
}

std::string notInFormText(const ContestLog& log, Language language) {
    return format(tr(language, "The log %1 was not scored and does not open in the form: %2"),
                  {callOrFileName(log), log.reason});
}

std::string inFormText(const ContestLog& log, Language language) {
    return format(tr(language,
                     "The log %1 is in the form. A column configuration saved there "
                     "(Ulož konfiguaci) beside the copy and changes of the copy count "
                     "once you are back here."),
                  {callOrFileName(log)});
}

std::string formClosedText(FormActivity activity, const std::string& logPath, Language language) {
    const std::string log = baseName(logPath);
    switch (activity) {
        case FormActivity::Reading:
            return format(
                tr(language, "The form refused the log %1 (its message said why) and closed."),
                {log});
        case FormActivity::Computing:
            return format(tr(language,
                             "The computation of the log %1 in the form was aborted "
                             "(Abort) and the form closed."),
                          {log});
        case FormActivity::Idle:
            break;
    }
    return log.empty() ? tr(language, "The form closed (Konec).")
                       : format(tr(language, "The form with the log %1 closed (Konec)."), {log});
}

namespace {

// The reason of the decision of the kind on the log (on the QSO, when one is given) that a new one
// replaces: the last of the file.
std::string presetReason(const ContestWorkspace& contest, std::size_t log, DecisionKind kind,
                         std::optional<std::size_t> qso = std::nullopt) {
    std::string preset;
    for (const DecisionNote& note : decisionNotes(contest.logs(), contest.checked(), log)) {
        if (note.kind == kind &&
            (!qso || std::find(note.qsos.begin(), note.qsos.end(), *qso) != note.qsos.end())) {
            preset = note.reason;
        }
    }
    return preset;
}

}  // namespace

ReasonQuestion setAsideQuestion(const ContestWorkspace& contest, std::size_t l, Language language) {
    const ContestLog& log = contest.logs()[l];
    return {tr(language, "Set the log aside"),
            format(tr(language,
                      "The log %1 (%2) will not be evaluated and the cross-check will "
                      "not use it.\n\nReason (written into the decisions file):"),
                   {callOrFileName(log), baseName(log.path)}),
            presetReason(contest, l, DecisionKind::SetAside)};
}

ReasonQuestion qsoQuestion(const ContestWorkspace& contest, std::size_t l, std::size_t qso,
                           DecisionKind kind, Language language) {
    const ContestLog& log = contest.logs()[l];
    const bool keep = kind == DecisionKind::KeepQso;
    const std::string what =
        keep ? tr(language, "The QSO stays in the log %1, whatever the cross-check found:")
             : tr(language, "The QSO is taken off the checked result of the log %1:");
    return {keep ? tr(language, "Keep the QSO") : tr(language, "Remove the QSO"),
            format(what, {callOrFileName(log)}) + "\n\n" +
                singleSpaced(log.qsos[qso].asSubmitted()) +
                tr(language, "\n\nReason (written into the decisions file):"),
            presetReason(contest, l, kind, qso)};
}

std::vector<std::size_t> decisionsOnLog(const ContestWorkspace& contest, std::size_t log) {
    std::vector<std::size_t> decisions;
    for (const DecisionNote& note : decisionNotes(contest.logs(), contest.checked(), log)) {
        if (note.qsoLine.empty()) {
            decisions.push_back(note.decision);
        }
    }
    return decisions;
}

std::vector<std::size_t> decisionsOnQso(const ContestWorkspace& contest, std::size_t log,
                                        std::size_t qso) {
    std::vector<std::size_t> decisions;
    for (const DecisionNote& note : decisionNotes(contest.logs(), contest.checked(), log)) {
        if (std::find(note.qsos.begin(), note.qsos.end(), qso) != note.qsos.end()) {
            decisions.push_back(note.decision);
        }
    }
    return decisions;
}

std::string decisionWrittenText(const Decision& decision, Language language) {
    return format(tr(language, "Decision written: %1. The results are not saved yet."),
                  {decisionLine(decision)});
}

std::string decisionsUndoneText(const ContestWorkspace& contest,
                                const std::vector<std::size_t>& decisions, Language language) {
    std::string lines;
    for (const std::size_t d : decisions) {
        lines +=
            (lines.empty() ? "" : "; ") + decisionLine(contest.checked().decisions[d].decision);
    }
    return format(tr(language, "Decision undone: %1. The results are not saved yet."), {lines});
}

std::string logsFolderTitle(Language language) {
    return tr(language, "Folder of the contest's logs");
}

std::string outputFolderTitle(Language language) {
    return tr(language, "Output folder of the evaluation");
}

std::string closingTitle(Language language) {
    return tr(language, "Close the evaluation");
}

std::string closingQuestion(const std::string& out, Language language) {
    return format(tr(language,
                     "The results of the contest are not saved.\n\nSave them in the "
                     "folder %1 before the window closes?"),
                  {out});
}

}  // namespace zeb::contest
