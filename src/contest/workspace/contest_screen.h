#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "contest/intake/contest_folder.h"
#include "contest/workspace/contest_workspace.h"
#include "form/form_commands.h"
#include "platform/translation.h"

namespace zeb::contest {

// What a window of the contest offers and says besides its table and details, decided once for
// every window: which of its commands it offers now, and its status lines, progress and questions
// in the user's language. Paths are given as the window shows them.

// The output folder that a window proposes inside the folder of the logs.
inline constexpr const char* kOutputFolderName = "vyhodnoceni";

// The folder of logs that the paths given to a window name (the first path when it is a folder, or
// else the folder of that file; absolute) and the output folder the window proposes inside it.
struct OpenedFolders {
    std::string logs;
    std::string out;
};
OpenedFolders openedFolders(const std::string& firstPath);

// The logs and other files of the paths given (absolute), a folder's without the output folder
// `out` inside it. A path that is no folder is taken as a log: a file that is no log is then a row
// of the table that says why.
FolderContents contestInputs(const std::vector<std::string>& paths, const std::string& out);

// Where the window stands.
struct ScreenState {
    const ContestWorkspace* contest = nullptr;  // none before one was taken in
    std::optional<std::size_t> log;             // the log selected in the table
    std::optional<std::size_t> qso;             // ... and the QSO selected among its lines
    bool busy = false;                          // work runs on the contest
    bool stoppable = false;                     // ... and may be cancelled
    bool form = false;                          // a form is there to open a log in
};

// Which commands are offered now.
struct ScreenCommands {
    bool openFolder = false;
    bool changeOutput = false;
    bool save = false;
    bool openResults = false;  // the results were saved into the output folder
    bool openInForm = false;   // a scored log is selected
    bool setAside = false;
    bool checkLog = false;
    bool counts = false;
    bool undo = false;
    bool keepQso = false;
    bool removeQso = false;
    bool undoQso = false;
    bool showProgress = false;  // the progress bar and Cancel
    bool cancel = false;
};
ScreenCommands screenCommands(const ScreenState& state);

// Whether the contest shown differs from what the window published last (`published`), or a log's
// copy or configuration, or the decisions file, changed since it was taken in.
bool unsavedContest(const ContestWorkspace* contest, const ContestWorkspace* published);

// The progress of long work: "Cross-check and checked results: 3 of 7".
std::string stageText(WorkStage stage, Language language = userLanguage());
std::string progressText(WorkStage stage, std::size_t done, std::size_t total,
                         Language language = userLanguage());

// The status lines.
std::string readingText(Language language = userLanguage());
std::string loadedText(std::size_t logs, std::size_t others, Language language = userLanguage());
std::string noLogsText(const std::string& folder, std::size_t others,
                       Language language = userLanguage());
std::string stillWorkingText(Language language = userLanguage());
std::string cancellingText(Language language = userLanguage());
std::string cancelledText(Language language = userLanguage());
std::string failedText(const std::string& failure, Language language = userLanguage());
std::string nothingChangedText(const std::string& why, Language language = userLanguage());
std::string retakenText(const ContestWorkspace& contest, const std::vector<std::size_t>& logs,
                        Language language = userLanguage());
std::string decisionsChangedText(const std::string& decisionsFile,
                                 Language language = userLanguage());
std::string recheckedText(int minutes, Language language = userLanguage());
// The status line once work on the contest stopped before its end: why, or that nothing changed
// (`nothingChanged`, when the work says so), or that it was cancelled.
std::string unfinishedText(const std::string& failure, const std::string& nothingChanged,
                           Language language = userLanguage());
// The status line once the results were being saved into `out` (as the window shows it):
// `completed` when the work ran to its end, `written` when every file was written, `notes` what
// was not.
std::string publishedText(bool completed, bool written, const std::string& failure,
                          const std::string& out, const std::vector<std::string>& notes,
                          Language language = userLanguage());

// What a window runs to take back what changed on disk since the contest was taken in: the logs
// whose copy or configuration changed, or else a decisions file edited by hand; `done` is its
// status line, naming the decisions file as `decisionsFile`. Nothing when nothing changed.
struct TakeBackWork {
    std::function<bool(ContestWorkspace& contest, const WorkProgress& progress)> work;
    std::string done;
};
std::optional<TakeBackWork> changesToTakeBack(const ContestWorkspace& contest,
                                              const std::string& decisionsFile,
                                              Language language = userLanguage());
std::string savingText(Language language = userLanguage());
std::string savedText(const std::string& out, Language language = userLanguage());
std::string notSavedText(const std::string& failure, Language language = userLanguage());
std::string partlySavedText(const std::string& out, const std::vector<std::string>& notes,
                            Language language = userLanguage());
std::string resultsNotYetText(Language language = userLanguage());
std::string pageNotOpenedText(const std::string& page, Language language = userLanguage());
std::string closesWhenIdleText(Language language = userLanguage());

// A log opened in the form: why it does not open there, or what counts once the evaluator is back.
// A log of the contest as the form opens it: its evaluated file with the columns it was read with.
EvaluatedLog evaluatedLogOf(const ContestLog& log);
std::string notInFormText(const ContestLog& log, Language language = userLanguage());
std::string inFormText(const ContestLog& log, Language language = userLanguage());

// The status line that tells why the form closed beside a contest window, by what the form was
// doing when it asked to end the program (`logPath` is the path of its log, empty when it had
// none).
std::string formClosedText(FormActivity activity, const std::string& logPath,
                           Language language = userLanguage());

// What a window asks before it writes a decision that takes a reason: its title, its text, and the
// reason it offers (that of the decision it replaces, or none).
struct ReasonQuestion {
    std::string title;
    std::string text;
    std::string preset;
};
ReasonQuestion setAsideQuestion(const ContestWorkspace& contest, std::size_t log,
                                Language language = userLanguage());
// For keeping (KeepQso) or removing (RemoveQso) the QSO, an index into the log's QSOs.
ReasonQuestion qsoQuestion(const ContestWorkspace& contest, std::size_t log, std::size_t qso,
                           DecisionKind kind, Language language = userLanguage());

// The decisions of the file (indexes into the checked contest's) that undoing takes out: those on
// the log itself, or those on one of its QSOs.
std::vector<std::size_t> decisionsOnLog(const ContestWorkspace& contest, std::size_t log);
std::vector<std::size_t> decisionsOnQso(const ContestWorkspace& contest, std::size_t log,
                                        std::size_t qso);

// The status lines once a decision was written, or decisions were undone.
std::string decisionWrittenText(const Decision& decision, Language language = userLanguage());
std::string decisionsUndoneText(const ContestWorkspace& contest,
                                const std::vector<std::size_t>& decisions,
                                Language language = userLanguage());

// The titles of the folder dialogs.
std::string logsFolderTitle(Language language = userLanguage());
std::string outputFolderTitle(Language language = userLanguage());

// The question before a window closes with its results not saved.
std::string closingTitle(Language language = userLanguage());
std::string closingQuestion(const std::string& out, Language language = userLanguage());

}  // namespace zeb::contest
