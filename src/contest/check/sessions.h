#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "contest/intake/contest_log.h"

namespace zeb::contest {

// Logs whose QSOs lie closer than this belong to one session: a contest of a weekend is one
// session, the evenings of a monthly contest are not.
inline constexpr std::int64_t kSessionGap = 12 * 60;

// The span of a log's QSOs, stray dates left out.
struct LogSpan {
    std::size_t log = 0;
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::size_t qsos = 0;
};

// The span of a scored log's QSOs as the check takes their times (its clock's offset taken off), a
// QSO far from the middle of the log (a slip of its date) left out; nothing for a log without a
// QSO whose date and time can be read.
std::optional<LogSpan> spanOf(std::size_t index, const ContestLog& log);

struct Session {
    std::vector<std::size_t> logs;
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::size_t qsos = 0;
};

// The sessions of a contest: the spans of the logs taken, chained where they touch or lie closer
// than the gap. The session of the contest is the one of most logs (then of most QSOs, then the
// earliest); a log without dates belongs to it.
struct ContestSessions {
    std::vector<Session> sessions;
    std::optional<std::size_t> main;             // index into sessions
    std::vector<std::optional<std::size_t>> of;  // per log: its session; none for a log not taken

    const Session* mainSession() const { return main ? &sessions[*main] : nullptr; }
    // The session of the log, the main one for a log without dates.
    std::optional<std::size_t> sessionOf(std::size_t log) const;
    bool inMainSession(std::size_t log) const;
};

ContestSessions findSessions(const std::vector<ContestLog>& logs,
                             const std::function<bool(const ContestLog&)>& taken);

// "YYYY-MM-DD" of minutes since 1970-01-01.
std::string dateOf(std::int64_t minute);

}  // namespace zeb::contest
