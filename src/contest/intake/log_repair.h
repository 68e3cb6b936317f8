#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/evaluation_state.h"

namespace zeb::contest {

// One thing that the repair changed, at a line of the log (from 1; an added line has the number of
// the line it stands before, or one past the last line).
struct RepairChange {
    int line = 0;
    std::string text;  // in the log's bytes where it quotes them
    std::string
        czech;  // the same in Czech, in UTF-8, for the evaluator's and the entrant's reports
    // It tells how the content of a QSO line was read where that is not plainly what the line
    // writes (a member number glued to a name, an exchange without one, a time written otherwise),
    // not only how the line was laid out.
    bool reading = false;
};

// The columns in which every rewritten QSO line holds the received call and exchange.
inline constexpr int kRepairedCallColumn = 55;
inline constexpr int kRepairedExchangeColumn = 73;

struct LogRepair {
    std::string copy;  // the repaired log, with LF line ends
    std::vector<RepairChange> changes;
    std::vector<int> unreadLines;  // the QSO lines that could not be read: copied as they stood
    // The QSO lines whose received exchange holds no member number or NM (a name only, nothing at
    // all): written "-".
    std::vector<int> noMemberLines;
    int qsoLines = 0;  // the QSO lines of the log, every one of them in the copy
    // The line of the log of every QSO line of the copy, in their order (from 1).
    std::vector<int> qsoLineNumbers;
    // The log was UTF-8 and was converted to Windows-1250; the lines named held characters that
    // Windows-1250 lacks, written "?".
    bool fromUtf8 = false;
    std::vector<int> unmappedLines;
    // The column finding of the copy stops on a line that was not rewritten (or finds the own call
    // in the wrong place), so an evaluation of the copy has to set the start columns itself.
    bool columnsMustBeSet = false;
};

// A line that the repair takes for a QSO line: "QSO:" in any case, after blanks or tabs.
bool isQsoLine(std::string_view line);

// "CONTEST", "X-Q" and so on for a header line of the form "KEY: ...", in capitals; empty
// otherwise.
std::string headerKey(std::string_view line);

// What the repair made of a log in a run: the copy that was evaluated instead (none when it could
// not be written) and what was changed.
struct RepairedLog {
    std::optional<std::string> copy;
    LogRepair repair;
    bool kept = false;    // the copy was there already and is evaluated as it stands
    bool edited = false;  // ... and it was changed by hand since the repair wrote it
    // The log changed since its copy was written, which nobody had touched: the copy was written
    // anew.
    bool resent = false;
    // The log changed since its copy was written, and the copy was changed by hand: the copy is
    // evaluated, and the two are for the evaluator to merge.
    bool resentAfterEdit = false;
};

// Repairs what keeps the log reader from taking a log, and rewrites its QSO lines in one layout
// that the column finding reads:
// - tabs become blanks; a line longer than the reader's line is cut;
// - the lines before the first QSO line are shortened to what the reader allows, free text first,
//   keeping "START-OF-LOG:", "CALLSIGN:" and the other keys as long as there is room; the
//   "CALLSIGN:" line is moved up to where the column finding looks for it, and added from the sent
//   call when the log has none;
// - "END-OF-LOG:" is added when missing;
// - every QSO line that can be read into its fields is rewritten within 80 columns in the layout
//   of the Cabrillo template, the received call in column 55 and its member number (or "NM") in
//   column 73; what a line does not hold is written as "-", never guessed. A line that cannot be
//   read is copied as it stands.
// - a log in UTF-8 (valid UTF-8 with characters beyond ASCII) is converted to Windows-1250 first.
// Every QSO line stays, in its order; the lines after the end marker are kept as they are.
// The copy is loaded once to learn what its evaluation will find; `scratch`, when given, is the
// state that load uses (any state: it is loaded over), which spares a batch or a fuzzer from
// making one for every log.
LogRepair repairLog(std::string_view logBytes, EvaluationState* scratch = nullptr);

}  // namespace zeb::contest
