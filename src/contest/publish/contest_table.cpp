#include "contest/publish/contest_table.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include "contest/publish/results_table.h"

namespace zeb::contest {

namespace {

// The text as a whole number, blanks around it allowed; nothing for any other text.
std::optional<std::int64_t> wholeNumber(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t last = text.find_last_not_of(" \t");
    const std::string word = text.substr(first, last - first + 1);
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(word.c_str(), &end, 10);
    if (errno != 0 || end != word.c_str() + word.size() ||
        word.find_first_of("0123456789") == std::string::npos ||
        word.find_first_of(" \t") != std::string::npos) {
        return std::nullopt;
    }
    return value;
}

// Characters, not bytes: a Czech letter is as wide as any other.
std::size_t lengthOf(const std::string& utf8) {
    std::size_t length = 0;
    for (const char c : utf8) {
        length += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return length;
}

}  // namespace

std::vector<std::string> headingLines(const std::string& heading) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at < heading.size();) {
        const std::size_t end = std::min(heading.find(' ', at), heading.size());
        if (end > at) {
            words.push_back(heading.substr(at, end - at));
        }
        at = end + 1;
    }
    std::size_t widest = 10;
    for (const std::string& word : words) {
        widest = std::max(widest, lengthOf(word));
    }
    std::vector<std::string> best;
    std::size_t bestCost = std::numeric_limits<std::size_t>::max();
    for (std::size_t width = widest; width <= std::max(widest, lengthOf(heading)); ++width) {
        std::vector<std::string> lines;
        for (const std::string& word : words) {
            if (!lines.empty() && lengthOf(lines.back()) + 1 + lengthOf(word) <= width) {
                lines.back() += ' ' + word;
            } else {
                lines.push_back(word);
            }
        }
        // A line more costs as much as two characters of width.
        const std::size_t cost = width + 2 * lines.size();
        if (lines.size() <= 4 && cost < bestCost) {
            best = lines;
            bestCost = cost;
        }
    }
    return best;
}

std::vector<std::string> columnHeadingLines(ViewColumn column, Language language) {
    const std::string heading = columnHeading(column, language);
    if (!isNumberColumn(column) || column == ViewColumn::Qsos) {
        return {heading};
    }
    return headingLines(heading);
}

int widestCharacters(ViewColumn column) {
    switch (column) {
        case ViewColumn::Call:
            return 11;
        case ViewColumn::File:
            return 20;
        case ViewColumn::Outcome:
            return 16;
        default:
            return 0;
    }
}

std::optional<FindingKind> findingOfColumn(ViewColumn column) {
    const int kind = static_cast<int>(column) - static_cast<int>(ViewColumn::FirstFinding);
    if (kind < 0 || kind >= static_cast<int>(kFindingKindCount)) {
        return std::nullopt;
    }
    return kFindingKinds[static_cast<std::size_t>(kind)];
}

bool isNumberColumn(ViewColumn column) {
    return column != ViewColumn::Flags &&
           static_cast<int>(column) >= static_cast<int>(ViewColumn::Qsos);
}

std::optional<std::int64_t> cellNumber(const LogRow& row, ViewColumn column) {
    switch (column) {
        case ViewColumn::Claimed:
            // As the log declares it: a text that is no whole number counts as none.
            return wholeNumber(row.claimedScore);
        case ViewColumn::Qsos:
            return row.scored ? std::optional(row.qsos) : std::nullopt;
        case ViewColumn::Result:
            return row.scored ? std::optional(row.result) : std::nullopt;
        case ViewColumn::CheckedResult:
            return row.checkedResult;
        case ViewColumn::RemovedQsos:
            return row.removedQsos;
        default:
            break;
    }
    const int kind = static_cast<int>(column) - static_cast<int>(ViewColumn::FirstFinding);
    if (findingOfColumn(column) && row.findings) {
        return (*row.findings)[static_cast<std::size_t>(kind)];
    }
    return std::nullopt;
}

std::string cellText(const LogRow& row, ViewColumn column) {
    switch (column) {
        case ViewColumn::Rank:
            return row.rank;
        case ViewColumn::Call:
            return row.call;
        case ViewColumn::File:
            return row.file;
        case ViewColumn::Outcome:
            return row.outcome;
        case ViewColumn::Claimed:
            return row.claimedScore;
        case ViewColumn::Flags:
            return row.other ? row.reason : row.flagPhrases;
        default:
            break;
    }
    const std::optional<std::int64_t> value = cellNumber(row, column);
    return value ? std::to_string(*value) : std::string();
}

SortBy sortByOf(ViewColumn column) {
    if (column == ViewColumn::Rank) {
        return SortBy::Order;
    }
    return isNumberColumn(column) ? SortBy::Number : SortBy::Text;
}

std::int64_t sortNumber(const LogRow& row, ViewColumn column) {
    return cellNumber(row, column).value_or(std::numeric_limits<std::int64_t>::min());
}

std::string columnHeading(ViewColumn column, Language language) {
    if (const std::optional<FindingKind> kind = findingOfColumn(column)) {
        return findingColumnHeading(*kind, language);
    }
    switch (column) {
        case ViewColumn::Rank:
            return tr(language, "Rank");
        case ViewColumn::Call:
            return tr(language, "Call");
        case ViewColumn::File:
            return tr(language, "Log");
        case ViewColumn::Outcome:
            return tr(language, "Outcome");
        case ViewColumn::Qsos:
            return tr(language, "QSOs");
        case ViewColumn::Claimed:
            return tr(language, "Claimed");
        case ViewColumn::Result:
            return tr(language, "Before the check");
        case ViewColumn::CheckedResult:
            return tr(language, "After the check");
        case ViewColumn::RemovedQsos:
            return tr(language, "Removed QSOs");
        case ViewColumn::Flags:
            return tr(language, "To look at");
        default:
            return {};
    }
}

std::string columnExplanation(ViewColumn column, Language language) {
    if (const std::optional<FindingKind> kind = findingOfColumn(column)) {
        return findingHeading(*kind, language);
    }
    switch (column) {
        case ViewColumn::Claimed:
            return tr(language, "The result that the log itself declares (CLAIMED-SCORE)");
        case ViewColumn::Result:
            return tr(language, "The log's result as the program computed it");
        case ViewColumn::CheckedResult:
            return tr(language,
                      "The result without the QSOs that the cross-check or the evaluator removed");
        default:
            return {};
    }
}

RowTone rowTone(const LogRow& row) {
    if (row.other) {
        return RowTone::NoLog;
    }
    if (!row.scored) {
        return RowTone::NotScored;
    }
    return row.flags.empty() ? RowTone::Plain : RowTone::ToLookAt;
}

bool toLookAt(const LogRow& row) {
    return row.other.has_value() || !row.flags.empty();
}

std::vector<RowReason> rowReasons(const std::vector<ContestLog>& logs, const LogRow& row,
                                  Language language) {
    if (row.other) {
        return {{{}, row.reason}};
    }
    std::vector<RowReason> reasons;
    for (const LogFlag& flag : logs[row.log].flags) {
        reasons.push_back({flagPhrase(flag.code, language), flag.text});
    }
    return reasons;
}

std::vector<LogRow> tableRows(const std::vector<ContestLog>& logs, const CrossCheck* check,
                              const std::vector<OtherFile>& others, Language language) {
    std::vector<LogRow> rows = logRows(logs, check, language);
    for (LogRow& other : otherFileRows(others, logs.size(), language)) {
        rows.push_back(std::move(other));
    }
    return rows;
}

}  // namespace zeb::contest
