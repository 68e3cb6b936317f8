#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb::contest {

// What the evaluator decided about a log or one of its QSOs. A decision outlives the run that made
// it: it is kept in a plain-text file of the contest's output folder, which the evaluator may edit
// by hand, and every later run applies it again.
enum class DecisionKind {
    SetAside,   // the log takes no part: late, disqualified, of another contest
    CheckLog,   // the log confirms its partners' QSOs but is not ranked
    Counts,     // of one station's logs, this one counts
    KeepQso,    // the QSO stays, whatever the cross-check found
    RemoveQso,  // the QSO is taken off the score
};

struct Decision {
    DecisionKind kind = DecisionKind::SetAside;
    std::string log;      // the log's file name, without its folder
    std::string qsoLine;  // for a QSO: its line as the entrant submitted it
    std::string reason;   // may be empty
    int fileLine = 0;     // where it stands in the file (from 1); 0 for one not read from a file

    bool aboutQso() const {
        return kind == DecisionKind::KeepQso || kind == DecisionKind::RemoveQso;
    }
    // The same decision, whatever its reason and wherever it stands.
    bool sameAs(const Decision& other) const;
};

// A line of the file that is no decision, and why, in Czech.
struct DecisionProblem {
    int fileLine = 0;
    std::string text;
};

struct DecisionFile {
    std::vector<Decision> decisions;  // in the order of the file
    std::vector<DecisionProblem> problems;
};

// The keyword that begins a decision's line: "odložit", "kontrolní", "platí", "uznat", "vyřadit".
const char* decisionKeyword(DecisionKind kind);
// What the decision does, in Czech words: "odložen", "kontrolní deník", ...
const char* decisionName(DecisionKind kind);

// Reads the decisions of a file's text (UTF-8). Blank lines and lines beginning with '#' are
// comments; every other line is one decision, "KEYWORD LOG | REASON" or, for a QSO,
// "KEYWORD LOG | QSO LINE | REASON". Keywords are taken with or without their diacritics and in
// any case.
DecisionFile parseDecisions(std::string_view text);

// The line of a decision as the file holds it.
std::string decisionLine(const Decision& decision);

// The text of a new file: what it is for and how its lines read, as comments, then the decisions.
std::string newDecisionFile(const std::vector<Decision>& decisions);

// The text with the decision added at its end, every other line kept as it stands. A decision
// already there (the same log, QSO and kind) is replaced in its place, with the new reason. A
// decision on a log or QSO that contradicts one there (keep and remove one QSO; set aside and
// check log or counts for one log) replaces it.
std::string withDecision(std::string_view text, const Decision& decision);

// The text without the lines of the decision (whatever their reason), every other line kept.
std::string withoutDecision(std::string_view text, const Decision& decision);

// Two QSO lines are one when their words agree: blanks between and around them do not count.
bool sameQsoLine(std::string_view first, std::string_view second);

// The file's text: nothing when there is no file; a file that cannot be read is a problem.
struct DecisionFileText {
    std::optional<std::string> text;
    std::optional<std::string> error;  // why it could not be read
};
DecisionFileText readDecisionFileText(const std::string& path);

// The decisions of the file, with a problem for a file that cannot be read.
DecisionFile readDecisionFile(const std::string& path);

}  // namespace zeb::contest
