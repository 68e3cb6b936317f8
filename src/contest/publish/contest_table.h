#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "contest/check/cross_check.h"
#include "contest/publish/contest_view.h"
#include "platform/translation.h"

namespace zeb::contest {

// The columns of a window's table of the contest, one row per LogRow, as each window shows them.
enum class ViewColumn {
    Rank,
    Call,
    File,
    Outcome,
    Qsos,
    Claimed,
    Result,
    CheckedResult,
    RemovedQsos,
    FirstFinding,
    // Last, where a long reason takes what width is left.
    Flags = FirstFinding + static_cast<int>(kFindingKindCount),
    Count
};
inline constexpr int kViewColumnCount = static_cast<int>(ViewColumn::Count);

// The kind of finding counted in the column, when it counts findings.
std::optional<FindingKind> findingOfColumn(ViewColumn column);

// A column of numbers: they stand to the right and sort as numbers.
bool isNumberColumn(ViewColumn column);

// The number in the cell, when the column is of numbers and the cell holds one.
std::optional<std::int64_t> cellNumber(const LogRow& row, ViewColumn column);

// The cell as a person reads it: an empty text where there is no number.
std::string cellText(const LogRow& row, ViewColumn column);

// How the column sorts: by the row's place in the results (rank), by its number (a cell without
// one before every number), or by its text in the user's alphabet.
enum class SortBy { Order, Number, Text };
SortBy sortByOf(ViewColumn column);
// The number a row sorts by in a column of numbers: the least of all for an empty cell.
std::int64_t sortNumber(const LogRow& row, ViewColumn column);

// The column's heading, and what it means more fully where its few words do not tell it (empty
// otherwise).
std::string columnHeading(ViewColumn column, Language language);
std::string columnExplanation(ViewColumn column, Language language);

// The words of a heading on up to four lines, as narrow as its longest word or ten characters
// allow without many lines, so that the narrow columns of numbers fit a screen.
std::vector<std::string> headingLines(const std::string& heading);

// A column's heading as a table shows it: the narrow columns of numbers (all but the QSOs) on the
// lines of headingLines, the others on one line as wide as their texts.
std::vector<std::string> columnHeadingLines(ViewColumn column, Language language);

// How many average characters wide a column of names is at most, its texts elided beyond it and
// whole in their tooltips, so that the table fits a screen; 0 where it takes its texts' width.
int widestCharacters(ViewColumn column);

// How a row stands out: a file that is no log, a log not scored, a log to look at, or none.
enum class RowTone { Plain, ToLookAt, NotScored, NoLog };
RowTone rowTone(const LogRow& row);

// The rows that "only the logs to look at" keeps: a flagged log, or a file that is no log.
bool toLookAt(const LogRow& row);

// Why a row is to be looked at, one line per reason: a flag's phrase with its reason (Czech, the
// club's language), or why a file is no log.
struct RowReason {
    std::string phrase;  // empty for a file that is no log
    std::string text;
};
std::vector<RowReason> rowReasons(const std::vector<ContestLog>& logs, const LogRow& row,
                                  Language language);

// Every row of the contest: its logs in their order, then its files that are no logs.
std::vector<LogRow> tableRows(const std::vector<ContestLog>& logs, const CrossCheck* check,
                              const std::vector<OtherFile>& others, Language language);

}  // namespace zeb::contest
