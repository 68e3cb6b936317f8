#include "contest/check/contest_analysis.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "intake/load_command.h"
#include "intake/qso_fields.h"
#include "state/decimal.h"

namespace zeb::contest {

namespace {

constexpr std::int64_t kHour = 60;
constexpr std::int64_t kDay = 24 * kHour;
// Logs whose QSOs lie closer than this belong to one session: a contest of a weekend is one
// session, the evenings of a monthly contest are not.
constexpr std::int64_t kSessionGap = 12 * kHour;
// A QSO this far from the middle of its log is a slip of its date, not a session of its own.
constexpr std::int64_t kStrayQso = 36 * kHour;

std::string number(std::int64_t value) {
    return formatDecimal(value);
}

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

std::string dateSpan(std::int64_t first, std::int64_t last) {
    const std::string from = dateOf(first);
    const std::string to = dateOf(last);
    return from == to ? from : from + " až " + to;
}

// The span of a log's QSOs, stray dates left out.
struct LogSpan {
    std::size_t log;
    std::int64_t first;
    std::int64_t last;
    std::size_t qsos;
};

std::optional<LogSpan> spanOf(std::size_t index, const ContestLog& log) {
    std::vector<std::int64_t> minutes;
    for (const ContestQso& qso : log.qsos) {
        if (qso.minute) {
            minutes.push_back(*qso.minute);
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

struct Session {
    std::vector<std::size_t> logs;
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::size_t qsos = 0;
};

// The logs whose spans touch or lie closer than the gap, chained; the session of the contest is
// the one of most logs (then of most QSOs, then the earliest).
std::optional<Session> mainSession(const std::vector<ContestLog>& logs) {
    std::vector<LogSpan> spans;
    for (std::size_t l = 0; l < logs.size(); ++l) {
        if (const auto span = spanOf(l, logs[l])) {
            spans.push_back(*span);
        }
    }
    std::sort(spans.begin(), spans.end(), [](const LogSpan& a, const LogSpan& b) {
        return std::tie(a.first, a.log) < std::tie(b.first, b.log);
    });
    std::vector<Session> sessions;
    for (const LogSpan& span : spans) {
        if (sessions.empty() || span.first > sessions.back().last + kSessionGap) {
            sessions.push_back({{}, span.first, span.last, 0});
        }
        Session& session = sessions.back();
        session.logs.push_back(span.log);
        session.last = std::max(session.last, span.last);
        session.qsos += span.qsos;
    }
    const auto best =
        std::max_element(sessions.begin(), sessions.end(), [](const Session& a, const Session& b) {
            // The earlier of two equal sessions wins: max_element keeps the first of equals.
            return std::make_tuple(a.logs.size(), a.qsos) < std::make_tuple(b.logs.size(), b.qsos);
        });
    if (best == sessions.end()) {
        return std::nullopt;
    }
    return *best;
}

std::vector<int> submittedNumbers(const ContestLog& log, const std::vector<int>& qsoNumbers) {
    std::vector<int> lines;
    for (const int number : qsoNumbers) {
        const bool known = number >= 1 && static_cast<std::size_t>(number) <= log.qsos.size();
        lines.push_back(known ? log.qsos[static_cast<std::size_t>(number - 1)].submittedNumber : 0);
    }
    return lines;
}

// "řádky 3, 7–9" or "řádek 3" of the file the entrant submitted; "QSO 4" where the line is not
// known.
std::string linesOf(const ContestLog& log, const std::vector<int>& qsoNumbers) {
    const std::vector<int> lines = submittedNumbers(log, qsoNumbers);
    if (std::find(lines.begin(), lines.end(), 0) != lines.end()) {
        return (qsoNumbers.size() == 1 ? "QSO " : "QSO č. ") + lineList(qsoNumbers);
    }
    return (lines.size() == 1 ? "řádek " : "řádky ") + lineList(lines);
}

std::string fileLines(const std::vector<int>& lines) {
    return (lines.size() == 1 ? "řádek " : "řádky ") + lineList(lines);
}

std::string capitalCall(const ContestLog& log) {
    const std::optional<std::string> call = crossCheckCall(log);
    return call ? inCapitals(*call) : std::string();
}

class Flagger {
  public:
    Flagger(std::vector<ContestLog>& logs, const CrossCheck* check) : logs_(logs), check_(check) {}

    ContestSummary run() {
        ContestSummary summary;
        const std::optional<Session> session = mainSession(logs_);
        for (ContestLog& log : logs_) {
            log.flags.clear();
        }
        if (session) {
            summary.firstDate = dateOf(session->first);
            summary.lastDate = dateOf(session->last);
            summary.sessionLogs = static_cast<int>(session->logs.size());
            flagOtherSessions(*session);
        }
        for (std::size_t l = 0; l < logs_.size(); ++l) {
            flagLog(l);
        }
        flagSameCalls();
        nameContest(summary, session);
        return summary;
    }

  private:
    void flag(std::size_t l, const char* code, std::string text) {
        logs_[l].flags.push_back({code, std::move(text)});
    }

    void flagOtherSessions(const Session& session) {
        for (std::size_t l = 0; l < logs_.size(); ++l) {
            const std::optional<LogSpan> span = spanOf(l, logs_[l]);
            if (!span ||
                std::find(session.logs.begin(), session.logs.end(), l) != session.logs.end()) {
                continue;
            }
            std::vector<int> outside;
            for (const ContestQso& qso : logs_[l].qsos) {
                if (qso.minute && (*qso.minute < session.first - kSessionGap ||
                                   *qso.minute > session.last + kSessionGap)) {
                    outside.push_back(qso.number);
                }
            }
            flag(l, "other-session",
                 "QSO z " + dateSpan(span->first, span->last) + " (" + linesOf(logs_[l], outside) +
                     "), soutěž proběhla " + dateSpan(session.first, session.last) +
                     ": deník jiného kola");
        }
    }

    void flagLog(std::size_t l) {
        const ContestLog& log = logs_[l];
        if (log.outcome != LogOutcome::Scored) {
            flag(l, outcomeName(log.outcome),
                 log.reason + (log.message.empty() ? "" : " – „" + log.message + "“"));
            return;
        }
        const bool repaired = log.repaired && log.repaired->copy;
        const bool poorColumns = !repaired && log.columnCheck.poor();
        // Columns that misread the lines make QSOs of nothing: that, not another contest, is
        // then why none meets another log.
        if (!poorColumns) {
            flagNoPartner(l);
        } else {
            const ColumnCheck& check = log.columnCheck;
            std::string text = "sloupce čtou značku a výměnu správně jen v " +
                               number(check.agreeing) + " z " + number(check.lines) + " řádků QSO";
            if (!check.disagreeing.empty()) {
                text += " (nesouhlasí " + linesOf(log, check.disagreeing) + ")";
            }
            flag(l, "columns", text + ": opravte deník (--repair) nebo sloupce v okně");
        }
        if (log.copyEdited()) {
            flag(l, "edited",
                 "opravená kopie " + log.evaluated +
                     " byla změněna ručně: výsledek stojí na těchto opravách");
        }
        flagUnread(l);
        const bool anyRead = std::any_of(log.qsos.begin(), log.qsos.end(),
                                         [](const ContestQso& qso) { return qso.read; });
        const bool anySent =
            std::any_of(log.qsos.begin(), log.qsos.end(),
                        [](const ContestQso& qso) { return !qso.sentExchange.empty(); });
        if (anyRead && !anySent) {
            flag(l, "no-sent-number",
                 "žádný řádek QSO neuvádí vyslané členské číslo ani NM: přijaté výměny "
                 "protistanic nelze ověřit");
        }
        if (log.utf8 && !repaired) {
            flag(l, "encoding",
                 "deník je v UTF-8, ne ve Windows-1250: písmena mimo ASCII se čtou chybně "
                 "(--repair jej převede)");
        } else if (log.utf8 && !log.repaired->repair.unmappedLines.empty()) {
            flag(l, "encoding",
                 "deník je v UTF-8; znaky, které Windows-1250 nemá, jsou v opravené kopii "
                 "zapsány jako ? (" +
                     fileLines(log.repaired->repair.unmappedLines) + ")");
        }
    }

    void flagNoPartner(std::size_t l) {
        if (check_ == nullptr) {
            return;
        }
        const auto scored = std::count_if(logs_.begin(), logs_.end(), [](const ContestLog& log) {
            return log.outcome == LogOutcome::Scored;
        });
        if (scored < 3) {
            return;
        }
        const LogCrossCheck& result = check_->logs[l];
        const bool met = result.confirmed > 0 ||
                         std::any_of(result.findings.begin(), result.findings.end(),
                                     [](const Finding& f) { return f.partnerQso.has_value(); });
        if (met) {
            return;
        }
        const std::string qsos = number(static_cast<std::int64_t>(logs_[l].qsos.size()));
        flag(l, "no-partner",
             result.checked
                 ? "žádné z jeho " + qsos + " QSO není v deníku jiné stanice (hodnoceno " +
                       number(scored) + " deníků): jiná soutěž, nebo chybné datum"
                 : std::string("deník nemá značku (řádek CALLSIGN: ani čitelné řádky QSO): "
                               "jeho QSO nelze porovnat s jinými deníky"));
    }

    void flagUnread(std::size_t l) {
        const ContestLog& log = logs_[l];
        std::vector<std::string> parts;
        if (!log.repaired || !log.repaired->copy) {
            return;  // a log scored without the repair says how its columns read it
        }
        if (log.copyEdited()) {
            // The copy as the evaluator left it, read as the cross-check reads it.
            std::vector<int> unread;
            std::vector<int> noMember;
            for (const ContestQso& qso : log.qsos) {
                if (!qso.read) {
                    unread.push_back(qso.number);
                } else if (qso.noMember) {
                    noMember.push_back(qso.number);
                }
            }
            if (!unread.empty()) {
                parts.push_back(linesOf(log, unread) + " nelze přečíst po polích");
            }
            if (!noMember.empty()) {
                parts.push_back(linesOf(log, noMember) +
                                ": přijatá výměna nemá členské číslo ani NM");
            }
        } else {
            const LogRepair& repair = log.repaired->repair;
            if (!repair.unreadLines.empty()) {
                parts.push_back(fileLines(repair.unreadLines) +
                                " nelze přečíst: opravená kopie je má tak, jak stály");
            }
            if (!repair.noMemberLines.empty()) {
                parts.push_back(fileLines(repair.noMemberLines) +
                                ": přijatá výměna nemá členské číslo ani NM, zapsáno -");
            }
        }
        if (!parts.empty()) {
            std::string text = parts.front();
            for (std::size_t i = 1; i < parts.size(); ++i) {
                text += "; " + parts[i];
            }
            flag(l, "unread", text);
        }
    }

    // Two logs sent by one station in one session: which of them counts is the evaluator's
    // decision.
    void flagSameCalls() {
        std::map<std::string, std::vector<std::size_t>> byCall;
        for (std::size_t l = 0; l < logs_.size(); ++l) {
            const std::string call = capitalCall(logs_[l]);
            if (!call.empty() && !logs_[l].flagged("other-session")) {
                byCall[call].push_back(l);
            }
        }
        for (const auto& [call, sent] : byCall) {
            if (sent.size() < 2) {
                continue;
            }
            for (const std::size_t l : sent) {
                std::string others;
                for (const std::size_t other : sent) {
                    if (other != l) {
                        others += (others.empty() ? "" : ", ") + baseName(logs_[other].path);
                    }
                }
                flag(l, "same-call",
                     "stanice " + call + " poslala i " + (sent.size() == 2 ? "deník " : "deníky ") +
                         others);
            }
        }
    }

    void nameContest(ContestSummary& summary, const std::optional<Session>& session) {
        // Spellings that differ in case or blanks only are one name.
        std::map<std::string, std::pair<int, std::string>> names;
        for (std::size_t l = 0; l < logs_.size(); ++l) {
            const ContestLog& log = logs_[l];
            if (log.contestName.empty() ||
                (session &&
                 std::find(session->logs.begin(), session->logs.end(), l) == session->logs.end())) {
                continue;
            }
            std::string key;
            const std::string capitals = inCapitals(log.contestName);
            for (const std::string_view word : qsoWords(capitals)) {
                key += (key.empty() ? "" : " ") + std::string(word);
            }
            auto& [count, spelling] = names[key];
            if (count++ == 0) {
                spelling = log.contestName;
            }
        }
        for (const auto& [key, entry] : names) {
            if (entry.first > summary.nameCount) {
                summary.nameCount = entry.first;
                summary.name = entry.second;
            }
        }
    }

    std::vector<ContestLog>& logs_;
    const CrossCheck* check_;
};

}  // namespace

std::string lineList(std::vector<int> numbers) {
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    // A reason stays readable: a log of another contest may have every line to name.
    constexpr int kShownRuns = 12;
    std::string text;
    int runs = 0;
    for (std::size_t i = 0; i < numbers.size();) {
        if (runs++ == kShownRuns) {
            return text + " a další (celkem " + number(static_cast<std::int64_t>(numbers.size())) +
                   ")";
        }
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) {
            ++j;
        }
        text += (text.empty() ? "" : ", ") + number(numbers[i]);
        if (j > i) {
            text += (j == i + 1 ? ", " : "–") + number(numbers[j]);
        }
        i = j + 1;
    }
    return text;
}

ContestSummary analyzeContest(std::vector<ContestLog>& logs, const CrossCheck* check) {
    return Flagger(logs, check).run();
}

std::vector<RemovedQso> removedQsos(const LogCrossCheck& check, const ContestLog& log) {
    std::vector<RemovedQso> removed;
    for (const Finding& finding : check.findings) {
        if (removesQso(finding.kind)) {
            removed.push_back({log.qsos[finding.qso].number, finding.kind});
        }
    }
    std::sort(removed.begin(), removed.end(),
              [](const RemovedQso& a, const RemovedQso& b) { return a.number < b.number; });
    return removed;
}

bool computeCheckedResults(std::vector<ContestLog>& logs, const CrossCheck& check,
                           const std::function<bool(std::size_t, std::size_t)>& progress) {
    for (std::size_t l = 0; l < logs.size(); ++l) {
        ContestLog& log = logs[l];
        if (progress && !progress(l + 1, logs.size())) {
            return false;
        }
        if (log.outcome != LogOutcome::Scored) {
            log.checked.reset();
            continue;
        }
        CheckedResult checked;
        checked.removed = removedQsos(check.logs[l], log);
        checked.totals = log.totals;
        // The same result again, computed anew, unless the removal changes something; a log's
        // checked result is kept while its removed QSOs stay the same.
        if (!checked.removed.empty()) {
            if (log.checked && log.checked->removed.size() == checked.removed.size() &&
                std::equal(checked.removed.begin(), checked.removed.end(),
                           log.checked->removed.begin(),
                           [](const RemovedQso& a, const RemovedQso& b) {
                               return a.number == b.number;
                           })) {
                checked.totals = log.checked->totals;
            } else {
                std::vector<int> leftOut;
                for (const RemovedQso& removed : checked.removed) {
                    leftOut.push_back(removed.number);
                }
                const LogEvaluation again = evaluateLog(log.evaluated, log.settings, {}, leftOut);
                if (again.outcome != LogOutcome::Scored) {
                    // The file changed since it was scored: no checked result is better than one
                    // that is not the file's.
                    log.checked.reset();
                    continue;
                }
                checked.totals = again.state->totals;
            }
        }
        log.checked = std::move(checked);
    }
    return true;
}

}  // namespace zeb::contest
