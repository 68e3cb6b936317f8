#include "contest/publish/contest_view.h"

#include <algorithm>

#include "contest/publish/results_table.h"
#include "intake/load_command.h"
#include "intake/qso_fields.h"
#include "state/decimal.h"

namespace zeb::contest {

std::string standingOf(const std::vector<ContestLog>& logs, std::size_t l) {
    const ContestLog& log = logs[l];
    if (log.setAside) {
        switch (log.setAside->kind) {
            case SetAsideKind::Decision:
                return "odložen";
            case SetAsideKind::Copy:
                return "kopie deníku " + baseName(logs[log.setAside->by].path);
            case SetAsideKind::Superseded:
                return "nahrazen deníkem " + baseName(logs[log.setAside->by].path);
        }
    }
    return log.takesPart() && log.checkLog ? "kontrolní deník" : "";
}

std::vector<LogRow> logRows(const std::vector<ContestLog>& logs, const CrossCheck* check) {
    std::vector<LogRow> rows(logs.size());
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const ContestLog& log = logs[l];
        LogRow& row = rows[l];
        row.log = l;
        row.call = callOrFileName(log);
        row.file = baseName(log.path);
        row.outcome = standingOf(logs, l);
        if (row.outcome.empty()) {
            row.outcome = czechOutcomeName(log.outcome);
        }
        row.claimedScore = log.claimedScore;
        row.scored = log.outcome == LogOutcome::Scored;
        row.flags = flagCodes(log);
        if (row.scored) {
            row.qsos = log.totals.qsoTotal;
            row.result = log.totals.result;
        }
        if (log.checked) {
            row.checkedResult = log.checked->totals.result;
            row.removedQsos = static_cast<std::int64_t>(log.checked->removed.size());
        }
        if (check != nullptr && check->logs[l].checked) {
            std::array<int, kFindingKindCount> counts{};
            for (std::size_t k = 0; k < kFindingKindCount; ++k) {
                counts[k] = findingCount(check->logs[l], kFindingKinds[k]);
            }
            row.findings = counts;
        }
    }
    // The order of the results table: its ranking, the logs ranked apart, the check logs, the logs
    // set aside, the logs not scored.
    std::size_t place = 0;
    for (const RankedLog& ranked : rankLogs(logs)) {
        rows[ranked.log].rank = formatDecimal(ranked.rank);
        rows[ranked.log].order = place++;
    }
    const auto placeWhere = [&](const auto& belongs) {
        for (std::size_t l = 0; l < logs.size(); ++l) {
            if (belongs(logs[l])) {
                rows[l].order = place++;
            }
        }
    };
    placeWhere([](const ContestLog& log) { return log.rankedApart(); });
    placeWhere([](const ContestLog& log) { return log.takesPart() && log.checkLog; });
    placeWhere([](const ContestLog& log) { return log.setAside.has_value(); });
    placeWhere([](const ContestLog& log) { return log.outcome != LogOutcome::Scored; });
    for (std::size_t l = 0; l < logs.size(); ++l) {
        if (logs[l].rankedApart()) {
            rows[l].rank = "mimo";
        }
    }
    return rows;
}

std::vector<LogRow> rowsInResultsOrder(const std::vector<ContestLog>& logs,
                                       const CrossCheck* check) {
    std::vector<LogRow> rows = logRows(logs, check);
    std::sort(rows.begin(), rows.end(),
              [](const LogRow& a, const LogRow& b) { return a.order < b.order; });
    return rows;
}

namespace {

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::size_t offsetIn(const std::string& line, std::string_view word) {
    return static_cast<std::size_t>(word.data() - line.data());
}

}  // namespace

std::vector<LinePiece> markedLine(const ContestQso& qso) {
    const std::string& line = qso.asSubmitted();
    const std::vector<std::string_view> words = qsoWords(line);
    // The received call follows the sent call, which may be the same text in another case.
    std::optional<std::size_t> callWord;
    for (std::size_t w = words.size(); !qso.call.empty() && w-- > 1;) {
        if (inCapitals(words[w]) == inCapitals(qso.call)) {
            callWord = w;
            break;
        }
    }
    if (!callWord) {
        return {{line, LineMark::None}};
    }
    const Span call{offsetIn(line, words[*callWord]),
                    offsetIn(line, words[*callWord]) + words[*callWord].size()};
    std::optional<Span> exchange;
    // The first word after the call that holds the exchange that was read: a report before it
    // reads as a number too, but not as this one.
    for (std::size_t w = *callWord + 1; !qso.noMember && !exchange && w < words.size(); ++w) {
        const MemberReading reading = readMember({words[w]});
        if (reading.kind == Membership::None || normalizedExchange(reading.text) != qso.exchange) {
            continue;
        }
        const std::size_t at = inCapitals(words[w]).find(inCapitals(reading.text));
        if (at != std::string::npos) {
            const std::size_t begin = offsetIn(line, words[w]) + at;
            exchange = Span{begin, begin + reading.text.size()};
        }
    }
    std::vector<LinePiece> pieces;
    const auto add = [&](std::size_t begin, std::size_t end, LineMark mark) {
        if (end > begin) {
            pieces.push_back({line.substr(begin, end - begin), mark});
        }
    };
    add(0, call.begin, LineMark::None);
    add(call.begin, call.end, LineMark::Call);
    const std::size_t rest = exchange ? exchange->end : call.end;
    if (exchange) {
        add(call.end, exchange->begin, LineMark::None);
        add(exchange->begin, exchange->end, LineMark::Exchange);
    }
    add(rest, line.size(), LineMark::None);
    return pieces;
}

}  // namespace zeb::contest
