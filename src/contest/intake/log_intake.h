#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "contest/intake/contest_log.h"
#include "contest/intake/log_evaluation.h"
#include "contest/intake/repair_record.h"
#include "platform/file_set.h"

namespace zeb::contest {

// What a contest run tells the evaluator, in English, one line at a time: "LOG: what happened".
using NoteSink = std::function<void(const std::string&)>;

// The files a run writes. None replaces one of the run's inputs, under whatever name; none is
// written twice in one run; an existing file is replaced only when that is allowed.
class OutputFiles {
  public:
    OutputFiles(NoteSink notes, bool force);

    // A file that the run reads: no output may replace it.
    void protect(const std::string& input);
    // The name under which the file that `path` names was protected.
    std::optional<std::string> inputNamed(const std::string& path) const {
        return inputs_.find(path);
    }

    // Writes the whole file atomically. `prefix` begins every note ("LOG: " or nothing), `what`
    // names the file ("protocol"). `replace` allows replacing an existing file without --force:
    // for the files that a run keeps as its own. False, with a note, when nothing was written.
    bool write(const std::string& prefix, const std::string& what, const std::string& target,
               const std::string& content, bool replace = false);

    bool force() const { return force_; }

  private:
    NoteSink notes_;
    bool force_;
    FileSet inputs_;
    FileSet written_;
};

// How every log of a run is taken in.
struct ContestSettings {
    EvaluationSettings evaluation;
    // Where the repaired copies go. An existing copy is evaluated as it stands (it may hold the
    // evaluator's corrections) unless the output files may be forced, which writes it anew.
    std::optional<std::string> repairDir;
    bool configBeside = false;  // NAME.ini beside the file evaluated configures its columns
    // Say of a log in UTF-8 scored without the repair that its letters are read wrongly. A run
    // of single logs keeps its messages as they always were.
    bool warnOfUtf8 = false;
};

// One log as a run took it in: its evaluation, with the state the protocol and the JSON are made
// from, and what the contest keeps of it.
struct ContestEntry {
    LogEvaluation evaluation;
    ContestLog log;
    bool fileFailed = false;  // a file of it could not be read or written
};

// Repairs (when asked), configures, evaluates and summarizes one log after another.
class LogIntake {
  public:
    LogIntake(ContestSettings settings, OutputFiles& files, NoteSink notes);

    ContestEntry take(const std::string& log);
    // Keeps the record of the repaired copies for the next run; false (with a note) when it could
    // not be written.
    bool finish();

  private:
    std::optional<RepairedLog> repair(const std::string& log, const std::string& bytes,
                                      ContestEntry& entry);

    ContestSettings settings_;
    OutputFiles& files_;
    NoteSink notes_;
    std::unique_ptr<EvaluationState> repairScratch_;  // reused by the repair of every log
    FileSet copies_;  // the repaired copies of the logs taken so far
    RepairRecord record_;
};

// Makes each folder with its missing parents, before anything is written into them; a note says
// why one cannot be made. False when one could not.
bool makeOutputFolders(const std::vector<std::string>& folders, const NoteSink& notes);

// DIR/NAME.EXT: the repaired copy of a log keeps the log's file name.
std::string repairPathIn(const std::string& dir, const std::string& log);

// The column configuration saved beside a log under its name: NAME.ini in the log's folder.
std::string configPathBeside(const std::string& log);

// DIR/NAME.prn, NAME being the log's file name without its extension.
std::string protocolPathIn(const std::string& dir, const std::string& log);

// The logs of a folder (see scanLogsFolder); nothing when it is no folder.
std::optional<std::vector<std::string>> logsInFolder(const std::string& folder);

// Why a log was not scored, in plain Czech words beside the message that stopped it: an empty
// file, no Cabrillo log, a folder, over the QSO limit and so on. `path` is the file evaluated,
// `bytes` what it holds.
std::string plainReason(const LogEvaluation& evaluation, const std::string& path,
                        std::string_view bytes);

}  // namespace zeb::contest
