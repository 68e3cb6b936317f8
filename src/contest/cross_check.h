#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/contest_log.h"

namespace zeb::contest {

inline constexpr int kDefaultTimeWindow = 10;  // minutes

enum class FindingKind { NotInLog, BustedCall, BustedExchange, Unique };

// One QSO of a log that the other logs do not confirm as it stands.
struct Finding {
    FindingKind kind = FindingKind::NotInLog;
    std::size_t qso = 0;         // index into the log's QSOs
    std::size_t partnerLog = 0;  // index into the logs; not for a unique call
    // The partner's QSO: the matching one for a busted exchange, the one with the wrong call for
    // a busted call; none for not in log and unique.
    std::optional<std::size_t> partnerQso;
};

struct LogCrossCheck {
    bool checked = false;  // a scored log with an own call
    int validQsos = 0;
    int confirmed = 0;              // valid QSOs matched by a QSO of the partner's log
    std::vector<Finding> findings;  // in the order of the kinds, then of the QSOs
};

struct CrossCheck {
    int windowMinutes = kDefaultTimeWindow;
    std::vector<LogCrossCheck> logs;  // one per log, in the order of the logs
};

// Compares the valid QSOs (status 0) of the scored logs that have an own call. A QSO of log A with
// the own call of log B matches the QSO of B, on the same band and within the window, whose
// received call is A's own call; each QSO matches at most one, the nearest in time first.
// Calls compare without regard to case. Without a match the QSO is a busted call when B holds,
// on the same band and within the window, an unmatched QSO whose call differs from A's own call
// by one character changed, added or dropped (the finding is A's: B logged A's call wrongly),
// and otherwise not in log. A matched QSO whose received exchange is not the exchange that B's
// line records as sent is a busted exchange. A call that is the own call of no log, however it
// ended, and that no other scored log holds is unique. A QSO whose date or time cannot be read
// lies within no window.
CrossCheck crossCheck(const std::vector<ContestLog>& logs, int windowMinutes);

// True when the texts differ by exactly one character changed, added or dropped.
bool differByOneEdit(std::string_view first, std::string_view second);

}  // namespace zeb::contest
