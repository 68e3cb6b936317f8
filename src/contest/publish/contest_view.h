#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "contest/check/cross_check.h"
#include "contest/intake/contest_log.h"

namespace zeb::contest {

inline constexpr std::size_t kFindingKindCount = std::size(kFindingKinds);

// One log as a row of a window's table of the contest: the values of the results table and of the
// cross-check report side by side. Texts are UTF-8.
struct LogRow {
    std::size_t log = 0;  // index into the logs
    // "1", "mimo" (ranked apart: another session, or meeting no other log), or empty (not scored).
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
    std::string flags;  // the codes, one space apart
};

// What a log that takes no part in the ranking is, in a few Czech words; empty for the others.
std::string standingOf(const std::vector<ContestLog>& logs, std::size_t log);

// The rows of the logs, in the order of the logs; `check` is their cross-check, when it ran.
std::vector<LogRow> logRows(const std::vector<ContestLog>& logs, const CrossCheck* check);

// The same rows in the order of the results table.
std::vector<LogRow> rowsInResultsOrder(const std::vector<ContestLog>& logs,
                                       const CrossCheck* check);

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
