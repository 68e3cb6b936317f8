#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/check/checked_contest.h"
#include "contest/check/cross_check.h"
#include "contest/decisions/decisions.h"
#include "contest/intake/contest_folder.h"
#include "contest/intake/contest_log.h"
#include "platform/translation.h"

namespace zeb::contest {

inline constexpr std::size_t kFindingKindCount = std::size(kFindingKinds);

// One log as a row of a window's table of the contest: the values of the results table and of the
// cross-check report side by side. Texts are UTF-8, the words of the row in its language.
struct LogRow {
    std::size_t log = 0;  // index into the logs
    // "1", "mimo" or "apart" (ranked apart: another session, or meeting no other log), or empty
    // (not scored).
    std::string rank;
    // The row's place in the results table: the ranking, then the logs ranked apart, then the
    // others; equal ranks stand in the table's order.
    std::size_t order = 0;
    std::string call;  // its own call, or its file name
    std::string file;  // the file name of the log
    // "hodnocen", "odmítnut", ...; for a scored log that is not ranked, what it is instead:
    // "kontrolní deník", "kopie deníku X", "nahrazen deníkem X", "odložen".
    std::string outcome;
    std::string claimedScore;  // as the log's header declares it
    bool scored = false;
    std::int64_t qsos = 0;  // scored logs only, as the following
    std::int64_t result = 0;
    std::optional<std::int64_t> checkedResult;  // when the cross-check gave one
    std::optional<std::int64_t> removedQsos;
    // Per kind of kFindingKinds, for a log the cross-check could check.
    std::optional<std::array<int, kFindingKindCount>> findings;
    std::string flags;        // the codes, one space apart
    std::string flagPhrases;  // the same as a person reads them
    // For the row of a file that is no log: its index into the other files, and why it is none.
    std::optional<std::size_t> other;
    std::string reason;
};

// What a log that takes no part in the ranking is, in a few words ("kontrolní deník", "kopie
// deníku X"); empty for the others. The pages have them in Czech, a window in the user's language.
std::string standingOf(const std::vector<ContestLog>& logs, std::size_t log,
                       Language language = Language::Czech);

// The rows of the logs, in the order of the logs; `check` is their cross-check, when it ran.
std::vector<LogRow> logRows(const std::vector<ContestLog>& logs, const CrossCheck* check,
                            Language language = Language::Czech);

// The same rows in the order of the results table.
std::vector<LogRow> rowsInResultsOrder(const std::vector<ContestLog>& logs,
                                       const CrossCheck* check);

// The files of the folders given that are no logs, as rows after those of the logs: their file
// name where a log's call and file stand, "není deník" as their outcome, and their reason (Czech,
// the club's language). `logs` is the number of logs, whose rows come first in the results order.
std::vector<LogRow> otherFileRows(const std::vector<OtherFile>& others, std::size_t logs,
                                  Language language = Language::Czech);

// Why a log set aside is not evaluated: by which log it is replaced, or the evaluator's reason;
// empty for a log that is not set aside.
std::string setAsideText(const std::vector<ContestLog>& logs, std::size_t log,
                         Language language = Language::Czech);

// A decision of the evaluator on one log or on its QSOs, as a window tells it.
struct DecisionNote {
    std::size_t decision = 0;  // index into CheckedContest::decisions
    DecisionKind kind = DecisionKind::SetAside;
    std::string what;  // "odložen vyhodnocovatelem", "QSO uznáno, řádek 12", ...
    std::string qsoLine;
    std::string reason;
    bool applies = false;
    std::string effect;             // what it did, or why it does nothing
    std::vector<std::size_t> qsos;  // for a QSO: the indexes of the log's QSOs of its line
};

// The decisions of the file on the log and on its QSOs, in the order of the file. A decision on
// a QSO names the first log of its file name only, as the check applies it.
std::vector<DecisionNote> decisionNotes(const std::vector<ContestLog>& logs,
                                        const CheckedContest& checked, std::size_t log);

// The decisions a window offers on a log and on its QSOs.
struct DecisionChoices {
    bool setAside = false;  // a scored log
    bool checkLog = false;  // ... not set aside, and no check log yet
    bool counts = false;    // ... of a station that sent other logs too
    bool undo = false;      // the file holds decisions on the log (not on its QSOs)
    bool onQsos = false;    // its QSOs count: it takes part and is no check log
};
DecisionChoices decisionChoices(const std::vector<ContestLog>& logs, const CheckedContest& checked,
                                std::size_t log);

// A decision on the log, and on its QSO (an index into its QSOs), as a window makes it: the log
// named by its file name, the QSO by its line as submitted.
Decision decisionOnLog(const ContestLog& log, DecisionKind kind, std::string reason = {});
Decision decisionOnQso(const ContestLog& log, std::size_t qso, DecisionKind kind,
                       std::string reason = {});

// A line of the decisions file that is no decision, and why.
std::string decisionProblemText(const DecisionProblem& problem);

// A QSO line with the blanks that line up its columns as one between its words, for a sentence.
std::string singleSpaced(std::string_view line);

enum class LineMark { None, Call, Exchange };

struct LinePiece {
    std::string text;
    LineMark mark = LineMark::None;
};

// The QSO's line as the entrant submitted it, in pieces, so that the received call and the
// received exchange that were read from it can be marked. A call or exchange that the line does
// not hold as a word of its own (an exchange glued to a name: "VOLKER084") is marked where it
// stands in the word; one that it does not hold at all is not marked.
std::vector<LinePiece> markedLine(const ContestQso& qso);

}  // namespace zeb::contest
