#include "contest/check/sessions.h"

#include <algorithm>
#include <tuple>

#include "state/decimal.h"

namespace zeb::contest {

namespace {

constexpr std::int64_t kDay = 24 * 60;
// A QSO this far from the middle of its log is a slip of its date, not a session of its own.
constexpr std::int64_t kStrayQso = 36 * 60;

std::string number(std::int64_t value) {
    return formatDecimal(value);
}

}  // namespace

// "YYYY-MM-DD" of minutes since 1970-01-01.
std::string dateOf(std::int64_t minute) {
    std::int64_t days = minute >= 0 ? minute / kDay : (minute - kDay + 1) / kDay;
    // From days since 1970-01-01 to a civil date.
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    const unsigned month = shifted < 10 ? shifted + 3 : shifted - 9;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);
    std::string text = number(year) + "-";
    text += (month < 10 ? "0" : "") + number(month) + "-";
    text += (day < 10 ? "0" : "") + number(day);
    return text;
}

std::optional<LogSpan> spanOf(std::size_t index, const ContestLog& log) {
    std::vector<std::int64_t> minutes;
    for (const ContestQso& qso : log.qsos) {
        if (const auto minute = log.checkedMinute(qso)) {
            minutes.push_back(*minute);
        }
    }
    if (log.outcome != LogOutcome::Scored || minutes.empty()) {
        return std::nullopt;
    }
    std::sort(minutes.begin(), minutes.end());
    const std::int64_t middle = minutes[minutes.size() / 2];
    LogSpan span{index, middle, middle, minutes.size()};
    for (const std::int64_t minute : minutes) {
        if (minute >= middle - kStrayQso && minute <= middle + kStrayQso) {
            span.first = std::min(span.first, minute);
            span.last = std::max(span.last, minute);
        }
    }
    return span;
}

std::optional<std::size_t> ContestSessions::sessionOf(std::size_t log) const {
    return log < of.size() && of[log] ? of[log] : main;
}

bool ContestSessions::inMainSession(std::size_t log) const {
    return !main || sessionOf(log) == main;
}

ContestSessions findSessions(const std::vector<ContestLog>& logs,
                             const std::function<bool(const ContestLog&)>& taken) {
    ContestSessions found;
    found.of.resize(logs.size());
    std::vector<LogSpan> spans;
    for (std::size_t l = 0; l < logs.size(); ++l) {
        if (!taken(logs[l])) {
            continue;
        }
        if (const auto span = spanOf(l, logs[l])) {
            spans.push_back(*span);
        }
    }
    std::sort(spans.begin(), spans.end(), [](const LogSpan& a, const LogSpan& b) {
        return std::tie(a.first, a.log) < std::tie(b.first, b.log);
    });
    for (const LogSpan& span : spans) {
        if (found.sessions.empty() || span.first > found.sessions.back().last + kSessionGap) {
            found.sessions.push_back({{}, span.first, span.last, 0});
        }
        Session& session = found.sessions.back();
        session.logs.push_back(span.log);
        session.last = std::max(session.last, span.last);
        session.qsos += span.qsos;
        found.of[span.log] = found.sessions.size() - 1;
    }
    const auto best = std::max_element(
        found.sessions.begin(), found.sessions.end(), [](const Session& a, const Session& b) {
            // The earlier of two equal sessions wins: max_element keeps the first of equals.
            return std::make_tuple(a.logs.size(), a.qsos) < std::make_tuple(b.logs.size(), b.qsos);
        });
    if (best != found.sessions.end()) {
        found.main = static_cast<std::size_t>(best - found.sessions.begin());
    }
    return found;
}

}  // namespace zeb::contest
