#include "contest/check/contest_analysis.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <tuple>

#include "contest/check/sessions.h"
#include "contest/check/stations.h"
#include "intake/load_command.h"
#include "intake/qso_fields.h"
#include "platform/paths.h"
#include "state/decimal.h"

namespace zeb::contest {

namespace {

std::string number(std::int64_t value) {
    return formatDecimal(value);
}

std::string dateSpan(std::int64_t first, std::int64_t last) {
    const std::string from = dateOf(first);
    const std::string to = dateOf(last);
    return from == to ? from : from + " až " + to;
}

std::vector<int> submittedNumbers(const ContestLog& log, const std::vector<int>& qsoNumbers) {
    std::vector<int> lines;
    for (const int number : qsoNumbers) {
        const bool known = number >= 1 && static_cast<std::size_t>(number) <= log.qsos.size();
        lines.push_back(known ? log.qsos[static_cast<std::size_t>(number - 1)].submittedNumber : 0);
    }
    return lines;
}

std::string fileLines(const std::vector<int>& lines) {
    return (lines.size() == 1 ? "řádek " : "řádky ") + lineList(lines);
}

std::string capitalCall(const ContestLog& log) {
    const std::optional<std::string> call = crossCheckCall(log);
    return call ? inCapitals(*call) : std::string();
}

// "fixed/NAME": a repaired copy named by its folder and file, the same text whichever program
// wrote the reports and wherever their folder lies.
std::string copyName(const std::string& copy) {
    const std::filesystem::path path = pathFromUtf8(copy);
    const std::string folder = utf8FromPath(path.parent_path().filename());
    const std::string name = utf8FromPath(path.filename());
    return folder.empty() ? name : folder + "/" + name;
}

// A log causing this many findings of its partners, and this many times the median, is looked at.
constexpr int kFewestCausedFindings = 5;
constexpr int kCausedFindingsOverMedian = 3;

std::string withReason(std::string text, const std::string& reason) {
    return reason.empty() ? text : text + " (" + reason + ")";
}

class Flagger {
  public:
    Flagger(std::vector<ContestLog>& logs, const CrossCheck* check,
            const std::vector<std::vector<QsoDecision>>& decided)
        : logs_(logs), check_(check), decided_(decided) {}

    ContestSummary run() {
        ContestSummary summary;
        for (ContestLog& log : logs_) {
            log.flags.clear();
        }
        const ContestSessions sessions =
            findSessions(logs_, [](const ContestLog& log) { return log.takesPart(); });
        const Session* session = sessions.mainSession();
        if (session != nullptr) {
            summary.firstDate = dateOf(session->first);
            summary.lastDate = dateOf(session->last);
            summary.sessionLogs = static_cast<int>(session->logs.size());
            flagOtherSessions(*session);
        }
        for (std::size_t l = 0; l < logs_.size(); ++l) {
            if (logs_[l].setAside) {
                flagSetAside(l);
            } else {
                flagLog(l);
            }
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
            if (!span || !logs_[l].takesPart() ||
                std::find(session.logs.begin(), session.logs.end(), l) != session.logs.end()) {
                continue;
            }
            std::vector<int> outside;
            for (const ContestQso& qso : logs_[l].qsos) {
                const auto minute = logs_[l].checkedMinute(qso);
                if (minute && (*minute < session.first - kSessionGap ||
                               *minute > session.last + kSessionGap)) {
                    outside.push_back(qso.number);
                }
            }
            flag(l, "other-session",
                 "QSO z " + dateSpan(span->first, span->last) + " (" + linesOf(logs_[l], outside) +
                     "), soutěž proběhla " + dateSpan(session.first, session.last) +
                     ": deník jiného kola");
        }
    }

    void flagSetAside(std::size_t l) {
        const SetAside& aside = *logs_[l].setAside;
        const std::string other =
            aside.kind == SetAsideKind::Decision ? std::string() : baseName(logs_[aside.by].path);
        switch (aside.kind) {
            case SetAsideKind::Decision:
                flag(l, "set-aside",
                     withReason("odložen vyhodnocovatelem", aside.reason) +
                         ": nehodnotí se a křížová kontrola jej nepoužije");
                break;
            case SetAsideKind::Copy:
                flag(l, "copy",
                     "kopie deníku " + other +
                         ": stejné řádky QSO, deník se hodnotí jen jednou, jako " + other);
                break;
            case SetAsideKind::Superseded:
                flag(l, "superseded",
                     "nahrazen deníkem " + other +
                         (aside.chosen ? " podle rozhodnutí vyhodnocovatele"
                                       : ", který stanice poslala později") +
                         ": nehodnotí se a křížová kontrola jej nepoužije");
                break;
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
        // The columns found in a repaired copy are those the repair wrote; the evaluator's own
        // columns (a NAME.ini) or corrections of the copy may read it otherwise.
        const bool ownColumns = !repaired || log.settings.config || log.copyEdited();
        const bool poorColumns = ownColumns && log.columnCheck.poor();
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
            flag(l, "columns",
                 text + (repaired ? ": opravte sloupce v okně (Ulož konfiguaci) nebo kopii"
                                  : ": opravte deník (--repair) nebo sloupce v okně"));
        }
        if (log.copyEdited()) {
            flag(l, "edited",
                 "opravená kopie " + copyName(log.evaluated) +
                     " byla změněna ručně: výsledek stojí na těchto opravách");
        }
        if (log.repaired && log.repaired->resent) {
            flag(l, "resent",
                 "deník přišel znovu (změnil se od minulého vyhodnocení): opravená kopie " +
                     copyName(log.evaluated) + " je napsána znovu z nového deníku");
        }
        if (log.repaired && log.repaired->resentAfterEdit) {
            flag(l, "resent-after-edit",
                 "deník " + baseName(log.path) +
                     " přišel znovu poté, co byla jeho opravená kopie " + copyName(log.evaluated) +
                     " ručně opravena: hodnotí se ručně opravená kopie; porovnejte ji s novým "
                     "deníkem a opravy přeneste");
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
        if (log.clockOffset != 0) {
            flag(l, "clock",
                 "čas deníku posunut o " + clockOffsetInWords(log.clockOffset) +
                     " proti protistanicím (souhlasí " + number(log.clockAgreeing) + " z " +
                     number(log.clockPairable) +
                     " QSO, která lze spárovat): jeho QSO se porovnávají s touto opravou");
        }
        if (headerCallContradicted(log)) {
            flag(l, "header-call",
                 "řádek CALLSIGN: uvádí " + *log.ownCall + ", řádky QSO vysílají " + *log.sentCall +
                     ": platí značka z řádků QSO");
        }
        flagCausedFindings(l);
        if (log.checkLog) {
            flag(l, "checklog",
                 std::string(log.checkLogHeader ? "kontrolní deník (kategorie CHECKLOG)"
                                                : "kontrolní deník podle rozhodnutí "
                                                  "vyhodnocovatele") +
                     ": potvrzuje QSO ostatních, sám se nehodnotí");
        }
        flagDecided(l);
    }

    // A log that causes several times as many findings in its partners' logs as the median log
    // has something wrong throughout: its clock, or its call. The other logs are counted without
    // the findings of its own that they cause: a log wrong throughout makes its partners look as
    // if they caused its findings.
    void flagCausedFindings(std::size_t l) {
        if (check_ == nullptr || !check_->logs[l].checked) {
            return;
        }
        const int caused = check_->logs[l].causedFindings;
        if (caused < kFewestCausedFindings) {
            return;
        }
        std::map<std::size_t, int> causedByOthers;
        for (const Finding& finding : check_->logs[l].findings) {
            if (finding.kind == FindingKind::NotInLog || finding.kind == FindingKind::BustedCall) {
                ++causedByOthers[finding.partnerLog];
            }
        }
        std::vector<int> others;
        for (std::size_t p = 0; p < check_->logs.size(); ++p) {
            if (p != l && check_->logs[p].checked) {
                const auto own = causedByOthers.find(p);
                others.push_back(check_->logs[p].causedFindings -
                                 (own == causedByOthers.end() ? 0 : own->second));
            }
        }
        std::sort(others.begin(), others.end());
        const int median = others.empty() ? 0 : others[others.size() / 2];
        if (caused >= kCausedFindingsOverMedian * median) {
            flag(l, "causes-findings",
                 "v denících protistanic způsobuje " + number(caused) +
                     " nálezů (QSO, která nemá, a jejich značky zapsané chybně; medián ostatních "
                     "deníků je " +
                     number(median) + "): zkontrolujte jeho čas a značku");
        }
    }

    void flagDecided(std::size_t l) {
        if (l >= decided_.size() || decided_[l].empty()) {
            return;
        }
        std::string text;
        for (const QsoDecision& decision : decided_[l]) {
            text += text.empty() ? "" : "; ";
            text += withReason(std::string(decision.keep ? "uznáno" : "vyřazeno") + " QSO, " +
                                   linesOf(logs_[l], {decision.number}),
                               decision.reason);
        }
        flag(l, "decided", "rozhodnutí vyhodnocovatele: " + text);
    }

    void flagNoPartner(std::size_t l) {
        if (check_ == nullptr) {
            return;
        }
        const auto scored = std::count_if(logs_.begin(), logs_.end(),
                                          [](const ContestLog& log) { return log.takesPart(); });
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

    // Two logs sent by one station in one session: one of them counts, and the evaluator may
    // choose another.
    void flagSameCalls() {
        for (const std::vector<std::size_t>& sent : stationGroups(logs_)) {
            const std::string call = capitalCall(logs_[sent.front()]);
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

    void nameContest(ContestSummary& summary, const Session* session) {
        // Spellings that differ in case or blanks only are one name.
        std::map<std::string, std::pair<int, std::string>> names;
        for (std::size_t l = 0; l < logs_.size(); ++l) {
            const ContestLog& log = logs_[l];
            if (log.contestName.empty() || !log.takesPart() ||
                (session != nullptr &&
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
    const std::vector<std::vector<QsoDecision>>& decided_;
};

}  // namespace

std::string clockOffsetInWords(std::int64_t minutes) {
    const std::int64_t size = minutes < 0 ? -minutes : minutes;
    std::string text = (minutes < 0 ? "−" : "+") + number(size) + " min";
    const auto counted = [&](std::int64_t count, const char* one, const char* few,
                             const char* many) {
        return number(count) + " " + (count == 1 ? one : count < 5 ? few : many);
    };
    if (size % (24 * 60) == 0) {
        text += " (" + counted(size / (24 * 60), "den", "dny", "dní") + ")";
    } else if (size % 60 == 0) {
        text += " (" + counted(size / 60, "hodina", "hodiny", "hodin") + ")";
    }
    return text;
}

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

std::string linesOf(const ContestLog& log, const std::vector<int>& qsoNumbers) {
    const std::vector<int> lines = submittedNumbers(log, qsoNumbers);
    if (std::find(lines.begin(), lines.end(), 0) != lines.end()) {
        return (qsoNumbers.size() == 1 ? "QSO " : "QSO č. ") + lineList(qsoNumbers);
    }
    return (lines.size() == 1 ? "řádek " : "řádky ") + lineList(lines);
}

ContestSummary analyzeContest(std::vector<ContestLog>& logs, const CrossCheck* check,
                              const std::vector<std::vector<QsoDecision>>& decided) {
    return Flagger(logs, check, decided).run();
}

std::vector<RemovedQso> removedQsos(const LogCrossCheck& check, const ContestLog& log) {
    std::vector<RemovedQso> removed;
    for (const Finding& finding : check.findings) {
        if (removesQso(finding.kind)) {
            RemovedQso qso;
            qso.number = log.qsos[finding.qso].number;
            qso.finding = finding.kind;
            removed.push_back(std::move(qso));
        }
    }
    std::sort(removed.begin(), removed.end(),
              [](const RemovedQso& a, const RemovedQso& b) { return a.number < b.number; });
    return removed;
}

bool computeCheckedResults(std::vector<ContestLog>& logs, const CrossCheck& check,
                           const std::vector<std::vector<QsoDecision>>& decided,
                           const std::function<bool(std::size_t, std::size_t)>& progress) {
    static const std::vector<QsoDecision> kNone;
    for (std::size_t l = 0; l < logs.size(); ++l) {
        ContestLog& log = logs[l];
        if (progress && !progress(l + 1, logs.size())) {
            return false;
        }
        // A check log is not ranked, and a log set aside is not checked: neither has a result.
        if (!log.takesPart() || log.checkLog) {
            log.checked.reset();
            continue;
        }
        CheckedResult checked;
        const std::vector<QsoDecision>& decisions = l < decided.size() ? decided[l] : kNone;
        const auto decisionOn = [&](int number) -> const QsoDecision* {
            const auto found =
                std::find_if(decisions.begin(), decisions.end(),
                             [number](const QsoDecision& d) { return d.number == number; });
            return found == decisions.end() ? nullptr : &*found;
        };
        for (const RemovedQso& removed : removedQsos(check.logs[l], log)) {
            const QsoDecision* decision = decisionOn(removed.number);
            if (decision == nullptr) {
                checked.removed.push_back(removed);
            } else if (decision->keep) {
                checked.kept.push_back({removed.number, removed.finding, decision->reason});
            }
        }
        for (const QsoDecision& decision : decisions) {
            if (!decision.keep) {
                RemovedQso removed;
                removed.number = decision.number;
                removed.decided = true;
                removed.reason = decision.reason;
                checked.removed.push_back(std::move(removed));
            }
        }
        std::sort(checked.removed.begin(), checked.removed.end(),
                  [](const RemovedQso& a, const RemovedQso& b) { return a.number < b.number; });
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
