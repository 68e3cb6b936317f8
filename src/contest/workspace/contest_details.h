#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/publish/contest_view.h"
#include "contest/workspace/contest_workspace.h"
#include "platform/translation.h"

namespace zeb::contest {

// The details of a contest as plain data, which each window renders in its own way: the Qt window
// as rich text, the Windows window into a rich edit. What is said, in which order, and what stands
// out is decided here once.

// How a piece of text stands out from the text around it.
enum class Tone {
    Normal,
    Alert,  // a fault, a QSO taken off the score, a decision that removes
    Quiet,  // a finding that costs nothing, a decision that does not apply
    Kept,   // a QSO the evaluator kept
};

struct TextPiece {
    std::string text;  // UTF-8
    bool strong = false;
    bool code = false;  // a line of a log, whose blanks line up its columns
    Tone tone = Tone::Normal;
    LineMark mark = LineMark::None;  // the received call or exchange that were read from a line
};

using TextLine = std::vector<TextPiece>;

struct TextBlock {
    enum class Kind { Title, Heading, Subheading, Paragraph, List };
    Kind kind = Kind::Paragraph;
    std::vector<TextLine> lines;               // but for a list
    std::vector<std::vector<TextLine>> items;  // a list's items, each of its lines
};

using DetailsText = std::vector<TextBlock>;

// The message with "%1" to "%9" replaced by the pieces in turn, which keep their own emphasis
// wherever a translation puts them; the rest of the message takes `rest`'s.
TextLine formatPieces(std::string_view message, std::initializer_list<TextPiece> arguments,
                      const TextPiece& rest = {});

// The details of one log: its results, why it is not scored or not evaluated, the evaluator's
// decisions on it, its flags with their reasons, its cross-check findings with its own and its
// partner's line, what the repair changed, its files, and what the intake said of it.
DetailsText logDetails(const ContestWorkspace& contest, std::size_t log, Language language);

// A file of the contest's folders that is no log (an index into its other files), and why.
DetailsText otherFileDetails(const ContestWorkspace& contest, std::size_t other, Language language);

// The contest's name and facts, then what went wrong with its output folder or its decisions file:
// the lines over the table.
std::vector<TextLine> contestSummary(const ContestWorkspace& contest, Language language);

// One QSO line of a log as shown among its QSO lines: a mark when it is the one selected, its
// number in the submitted file, the line as submitted with the received call and exchange that
// were read marked, then the findings of the cross-check and the evaluator's decision on it.
struct QsoLineText {
    std::size_t qso = 0;  // index into the log's QSOs
    bool selected = false;
    TextLine pieces;
};

struct QsoLinesText {
    TextLine legend;  // what the marks and colours mean; empty when the log has no lines
    std::vector<QsoLineText> lines;
    std::string none;  // instead of the lines, when there are none
};

QsoLinesText qsoLines(const ContestWorkspace& contest, std::size_t log,
                      std::optional<std::size_t> selected, Language language);

// The QSO lines of a file that is no log: none, and why.
std::string noQsoLinesOfOtherFile(Language language);

// What is said under the QSO lines of a log about deciding on one of them: whether its QSOs take
// decisions, and which line is selected.
std::string qsoChoiceText(const ContestWorkspace& contest, std::size_t log,
                          std::optional<std::size_t> selected, Language language);

}  // namespace zeb::contest
