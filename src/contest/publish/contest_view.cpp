#include "contest/publish/contest_view.h"

#include <algorithm>

#include "contest/check/contest_analysis.h"
#include "contest/publish/results_table.h"
#include "intake/load_command.h"
#include "intake/qso_fields.h"
#include "state/decimal.h"

namespace zeb::contest {

std::string standingOf(const std::vector<ContestLog>& logs, std::size_t l, Language language) {
    const ContestLog& log = logs[l];
    if (log.setAside) {
        const std::string by = baseName(logs[log.setAside->by].path);
        switch (log.setAside->kind) {
            case SetAsideKind::Decision:
                return tr(language, "set aside");
            case SetAsideKind::Copy:
                return format(tr(language, "copy of the log %1"), {by});
            case SetAsideKind::Superseded:
                return format(tr(language, "superseded by the log %1"), {by});
        }
    }
    return log.takesPart() && log.checkLog ? tr(language, "check log") : "";
}

std::vector<LogRow> logRows(const std::vector<ContestLog>& logs, const CrossCheck* check,
                            Language language) {
    std::vector<LogRow> rows(logs.size());
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const ContestLog& log = logs[l];
        LogRow& row = rows[l];
        row.log = l;
        row.call = callOrFileName(log);
        row.file = baseName(log.path);
        row.outcome = standingOf(logs, l, language);
        if (row.outcome.empty()) {
            row.outcome = tr(language, outcomeName(log.outcome));
        }
        row.claimedScore = log.claimedScore;
        row.scored = log.outcome == LogOutcome::Scored;
        row.flags = flagCodes(log);
        row.flagPhrases = flagPhrases(log, language);
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
            // TRANSLATORS: the rank of a log ranked apart, in a narrow column.
            rows[l].rank = tr(language, "apart");
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

std::vector<LogRow> otherFileRows(const std::vector<OtherFile>& others, std::size_t logs,
                                  Language language) {
    std::vector<LogRow> rows;
    for (std::size_t o = 0; o < others.size(); ++o) {
        LogRow row;
        row.log = logs;
        row.order = logs + o;
        row.call = baseName(others[o].path);
        row.file = row.call;
        row.outcome = tr(language, "no log");
        row.other = o;
        row.reason = others[o].reason;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string setAsideText(const std::vector<ContestLog>& logs, std::size_t l, Language language) {
    const std::optional<SetAside>& aside = logs[l].setAside;
    if (!aside) {
        return {};
    }
    switch (aside->kind) {
        case SetAsideKind::Decision:
            return tr(language, "set aside by the evaluator") +
                   (aside->reason.empty() ? std::string() : ": " + aside->reason);
        case SetAsideKind::Copy:
            return format(tr(language, "a copy of the log %1, which counts instead"),
                          {baseName(logs[aside->by].path)});
        case SetAsideKind::Superseded:
            return format(aside->chosen ? tr(language,
                                             "superseded by the log %1, which the evaluator "
                                             "chose to count")
                                        : tr(language,
                                             "superseded by the log %1, which the station sent "
                                             "later"),
                          {baseName(logs[aside->by].path)});
    }
    return {};
}

namespace {

// The decisions on the log, each with its index, as the check named them.
template <typename Each>
void forDecisionsOn(const CheckedContest& checked, std::size_t l, const Each& each) {
    for (std::size_t d = 0; d < checked.decisions.size(); ++d) {
        const AppliedDecision& applied = checked.decisions[d];
        const auto& named = applied.logs;
        // A QSO is looked for in the first log of the name only.
        const bool onLog = applied.decision.aboutQso()
                               ? !named.empty() && named.front() == l
                               : std::find(named.begin(), named.end(), l) != named.end();
        if (onLog) {
            each(d, applied);
        }
    }
}

}  // namespace

std::vector<DecisionNote> decisionNotes(const std::vector<ContestLog>& logs,
                                        const CheckedContest& checked, std::size_t l) {
    const ContestLog& log = logs[l];
    std::vector<DecisionNote> notes;
    forDecisionsOn(checked, l, [&](std::size_t d, const AppliedDecision& applied) {
        DecisionNote note;
        note.decision = d;
        note.kind = applied.decision.kind;
        note.what = decisionName(note.kind);
        note.reason = applied.decision.reason;
        note.applies = applied.applied;
        note.effect = applied.effect;
        if (applied.decision.aboutQso()) {
            note.qsoLine = applied.decision.qsoLine;
            std::vector<int> numbers;
            for (const int number : qsosOfLine(log, note.qsoLine)) {
                const ContestQso& qso = log.qsos[static_cast<std::size_t>(number - 1)];
                note.qsos.push_back(static_cast<std::size_t>(number - 1));
                numbers.push_back(qso.submittedNumber > 0 ? qso.submittedNumber : qso.number);
            }
            if (!numbers.empty()) {
                note.what += numbers.size() == 1 ? ", řádek " : ", řádky ";
                note.what += lineList(std::move(numbers));
            }
        }
        notes.push_back(std::move(note));
    });
    return notes;
}

DecisionChoices decisionChoices(const std::vector<ContestLog>& logs, const CheckedContest& checked,
                                std::size_t l) {
    const ContestLog& log = logs[l];
    DecisionChoices choices;
    if (log.outcome != LogOutcome::Scored) {
        return choices;
    }
    const auto replaces = [&](const ContestLog& other) {
        return other.setAside && other.setAside->kind != SetAsideKind::Decision &&
               other.setAside->by == l;
    };
    choices.setAside = true;
    choices.checkLog = !log.setAside && !log.checkLog;
    choices.counts = (log.setAside && log.setAside->kind != SetAsideKind::Decision) ||
                     std::any_of(logs.begin(), logs.end(), replaces);
    forDecisionsOn(checked, l, [&](std::size_t, const AppliedDecision& applied) {
        choices.undo = choices.undo || !applied.decision.aboutQso();
    });
    choices.onQsos = log.takesPart() && !log.checkLog;
    return choices;
}

Decision decisionOnLog(const ContestLog& log, DecisionKind kind, std::string reason) {
    Decision decision;
    decision.kind = kind;
    decision.log = baseName(log.path);
    decision.reason = std::move(reason);
    return decision;
}

Decision decisionOnQso(const ContestLog& log, std::size_t qso, DecisionKind kind,
                       std::string reason) {
    Decision decision = decisionOnLog(log, kind, std::move(reason));
    decision.qsoLine = log.qsos[qso].asSubmitted();
    return decision;
}

std::string decisionProblemText(const DecisionProblem& problem) {
    return (problem.fileLine > 0 ? "řádek " + std::to_string(problem.fileLine) + " nelze přečíst: "
                                 : std::string()) +
           problem.text;
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

std::string singleSpaced(std::string_view line) {
    std::string spaced;
    for (const std::string_view word : qsoWords(line)) {
        spaced.append(spaced.empty() ? "" : " ").append(word);
    }
    return spaced;
}

}  // namespace zeb::contest
