#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "contest/check/cross_check.h"
#include "contest/intake/contest_log.h"
#include "contest/intake/log_intake.h"
#include "contest/publish/contest_reports.h"

namespace zeb::contest {

// The stages of the long work on a contest, as a progress bar names them.
enum class WorkStage { Intake, Check, Publish };

// Told how far the work is: `done` of `total` in `stage`. Answering false stops it.
using WorkProgress = std::function<bool(WorkStage stage, std::size_t done, std::size_t total)>;

// What a file looked like when it was last read, to tell whether somebody changed it since.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t written = 0;  // the last write time, in the file system's ticks

    bool operator==(const FileStamp&) const = default;
    static FileStamp of(const std::string& path);
};

// A whole contest kept between the evaluator's commands. Every log is taken in as
// `zebscore --contest OUT --config-beside` takes it: repaired into OUT/fixed, where an existing
// copy and the NAME.ini beside it are evaluated as they stand, so that the evaluator's corrections
// count, and checked with the evaluator's decisions of OUT/decisions.txt. Publishing writes what
// that command writes, byte for byte, for the same logs and time window.
//
// Work that is stopped leaves the workspace half-way between two states: a caller that may stop
// it works on a copy and keeps the copy only when the work ended.
class ContestWorkspace {
  public:
    // `others` are the files of the folders given that are no logs, which the published index
    // names.
    ContestWorkspace(std::vector<std::string> logs, std::string out,
                     int windowMinutes = kDefaultTimeWindow, std::vector<OtherFile> others = {});

    // Takes every log in and checks the contest. False when `progress` stopped it.
    bool load(const WorkProgress& progress = {});
    // Takes the logs at the indexes in again, then checks the whole contest again: their partners'
    // findings and checked results and the ranking follow.
    bool retake(const std::vector<std::size_t>& logs, const WorkProgress& progress = {});
    // The contest checked again with another time window of the cross-check.
    bool recheck(int windowMinutes, const WorkProgress& progress = {});
    // The logs whose submitted file, evaluated file or the NAME.ini beside it changed since they
    // were taken in.
    std::vector<std::size_t> changedLogs() const;
    // The evaluator's decisions file changed since the contest was last checked (by hand, or by
    // another program).
    bool decisionsChanged() const;
    // The contest checked again, with the decisions file as it is now.
    bool recheckDecisions(const WorkProgress& progress = {});

    // Adds the decision to the decisions file of OUT (replacing one it contradicts) and checks the
    // contest again. False when the file could not be written (`error` says
    // why, in Czech) or the work was stopped.
    bool decide(const Decision& decision, std::string* error = nullptr,
                const WorkProgress& progress = {});
    // Takes the decisions in `undone` out and adds `decided`, then checks the contest once.
    bool redecide(const std::vector<Decision>& undone, const std::optional<Decision>& decided,
                  std::string* error = nullptr, const WorkProgress& progress = {});

    // Writes every log's protocol and the contest's reports into OUT. It is not stopped half-way:
    // a folder half written would mix two states of the contest. False when a file could not be
    // written; `notes` tells which and why.
    bool publish(const NoteSink& notes, const WorkProgress& progress = {}) const;

    const std::vector<std::string>& inputs() const { return inputs_; }
    const std::vector<OtherFile>& others() const { return others_; }
    const ContestFolder& folder() const { return folder_; }
    int windowMinutes() const { return windowMinutes_; }
    const std::vector<ContestLog>& logs() const { return logs_; }
    const CheckedContest& checked() const { return checked_; }
    // What the intake said of the log, in English, one line each ("LOG: what happened"); a file
    // of it that could not be read or written is among them.
    const std::vector<std::string>& notes(std::size_t log) const { return kept_[log].notes; }
    // What went wrong with the output folder itself.
    const std::vector<std::string>& folderNotes() const { return folderNotes_; }

  private:
    // What is kept of a log besides its ContestLog.
    struct Kept {
        std::string protocol;  // the protocol's text, for a scored log
        std::vector<std::string> notes;
        FileStamp submitted;
        FileStamp evaluated;
        FileStamp config;
    };

    ContestSettings intakeSettings() const;
    void take(LogIntake& intake, std::vector<std::string>*& noted, std::size_t log);
    bool check(const WorkProgress& progress);
    bool changeDecisions(const std::string& text, std::string* error, const WorkProgress& progress);
    // Every input, and the repaired copies of the logs other than `except`: no output replaces
    // them, as in a run that takes all logs in their order.
    void protectInputs(OutputFiles& files, const std::vector<std::size_t>& except = {}) const;

    std::vector<std::string> inputs_;
    std::vector<OtherFile> others_;
    ContestFolder folder_;
    int windowMinutes_;
    std::vector<ContestLog> logs_;
    std::vector<Kept> kept_;
    CheckedContest checked_;
    FileStamp decisions_;  // the decisions file when the contest was last checked
    std::vector<std::string> folderNotes_;
};

}  // namespace zeb::contest
