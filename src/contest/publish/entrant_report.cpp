#include "contest/publish/entrant_report.h"

#include <algorithm>
#include <set>

#include "contest/check/contest_analysis.h"
#include "contest/publish/cross_check_report.h"
#include "contest/publish/report_table.h"
#include "intake/load_command.h"
#include "intake/qso_fields.h"
#include "platform/cp1250.h"
#include "state/decimal.h"

namespace zeb::contest {

namespace {

// The phrases of the report in one language.
struct Words {
    bool czech;  // the repair's notes are in both languages
    const char* title;
    const char* call;
    const char* log;
    const char* contest;
    const char* declared;
    const char* claimed;
    const char* checked;
    const char* removedCount;
    const char* qsos;
    const char* points;
    const char* clubMults;
    const char* dxccMults;
    const char* notScored;
    const char* apart;
    const char* otherSession;
    const char* noPartner;
    const char* noCheck;
    const char* checkLog;
    const char* nothingRemoved;
    const char* removedHeading;
    const char* informationHeading;
    const char* yourLine;
    const char* line;
    const char* qso;
    const char* partner;
    const char* loggedInstead;   // "logged %1 for %2"
    const char* receivedSent;    // "received %1, sent %2"
    const char* bustedYourCall;  // "%1 logged your call as %2"
    // The heading of each kind of finding where it says more than the contest's own heading.
    const char* kindNames[5];
    const char* unverifiable;
    const char* decidedRemoved;  // the evaluator's own removals, a group of the removed QSOs
    const char* decidedKept;     // QSOs a finding would remove, kept: "kept by the evaluator"
    const char* asSubmitted;     // "as submitted" beside a line the evaluator corrected
    const char* clock;           // "%1": the offset of the log's clock
    const char* headerCall;      // "%1" the header's call, "%2" the lines'
    const char* adjustedHeading;
    const char* readingHeading;
    const char* unreadLine;
    const char* nothing;
};

constexpr Words kCzech = {
    true,
    "Zpráva o kontrole deníku",
    "Značka",
    "Deník",
    "Soutěž",
    "Deklarováno",
    "Před kontrolou",
    "Po kontrole",
    "Vyřazená QSO",
    "QSO",
    "body",
    "násobiče ZEB",
    "násobiče DXCC",
    "Deník nebyl hodnocen",
    "Deník je hodnocen mimo pořadí",
    "jeho QSO nejsou z doby soutěže",
    "žádné jeho QSO není v deníku jiné stanice",
    "Křížová kontrola deník neověřila: není známa jeho značka.",
    "Kontrolní deník: potvrzuje QSO ostatních stanic, sám se nehodnotí.",
    "Kontrola nenašla nic, co by se odečítalo.",
    "Vyřazená QSO",
    "Pro informaci (nic se neodečítá)",
    "váš řádek",
    "řádek",
    "QSO",
    "protistanice",
    "zapsáno %1 místo %2",
    "přijato %1, protistanice vyslala %2",
    "%1 zapsala vaši značku jako %2",
    {nullptr, nullptr, nullptr, nullptr, "Jedinečné značky (nejsou v žádném jiném deníku)"},
    "QSO, jejichž výměnu nelze ověřit (protistanice neuvádí vyslané číslo)",
    "Vyřazeno vyhodnocovatelem",
    "uznáno vyhodnocovatelem",
    "odesláno",
    "Čas vašeho deníku se od časů protistanic liší o %1; QSO byla porovnána s touto opravou. "
    "Zkontrolujte hodiny a časové pásmo (UTC) v programu, kterým deník píšete.",
    "Řádek CALLSIGN: uvádí %1, řádky QSO vysílají %2; deník je hodnocen jako %2.",
    "QSO potvrzená s úpravou",
    "Oprava deníku přečetla jinak, než je zapsáno",
    "řádek nelze přečíst po polích: hodnotí se tak, jak stojí",
    "(nic)",
};

constexpr Words kEnglish = {
    false,
    "Log check report",
    "Call",
    "Log",
    "Contest",
    "Claimed",
    "Before the check",
    "After the check",
    "Removed QSOs",
    "QSOs",
    "points",
    "ZEB multipliers",
    "DXCC multipliers",
    "The log was not scored",
    "The log is scored but not ranked",
    "its QSOs are not from the time of the contest",
    "none of its QSOs is in another station's log",
    "The cross-check could not check the log: its call is not known.",
    "Check log: it confirms the other stations' QSOs and is not ranked itself.",
    "The check found nothing to remove.",
    "Removed QSOs",
    "For your information (nothing removed)",
    "your line",
    "line",
    "QSO",
    "partner",
    "logged %1 for %2",
    "received %1, the partner sent %2",
    "%1 logged your call as %2",
    {nullptr, nullptr, nullptr, nullptr, "Unique calls (in no other log)"},
    "QSOs whose exchange cannot be verified (the partner does not log the number it sent)",
    "Removed by the evaluator",
    "kept by the evaluator",
    "as submitted",
    "The times of your log differ from your partners' by %1; the QSOs were compared with that "
    "adjustment. Check the clock and the time zone (UTC) of the program that writes your log.",
    "The CALLSIGN: line gives %1, the QSO lines send %2; the log is evaluated as %2.",
    "QSOs confirmed with an adjustment",
    "The repair of the log read differently from what is written",
    "the line cannot be read into its fields: it is scored as it stands",
    "(nothing)",
};

std::string number(std::int64_t value) {
    return formatDecimal(value);
}

std::string filled(std::string text, const std::string& first, const std::string& second = {}) {
    for (const auto& [mark, value] : {std::pair{"%1", &first}, std::pair{"%2", &second}}) {
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + value->size())) {
            text.replace(at, 2, *value);
        }
    }
    return text;
}

std::string orNothing(const std::string& text, const Words& words) {
    return text.empty() ? words.nothing : text;
}

class Report {
  public:
    Report(const std::vector<ContestLog>& logs, const CrossCheck& check, std::size_t l,
           const ContestSummary& summary, const Words& words)
        : logs_(logs), check_(check), l_(l), log_(logs[l]), summary_(summary), words_(words) {}

    std::string write() {
        out_ = std::string(words_.title) + "\n" + std::string(displayWidth(words_.title), '=') +
               "\n\n";
        field(words_.call, crossCheckName(log_));
        field(words_.log, baseName(log_.path));
        if (!summary_.name.empty() || !summary_.firstDate.empty()) {
            std::string contest = summary_.name;
            if (!summary_.firstDate.empty()) {
                contest += (contest.empty() ? "" : ", ") + summary_.firstDate;
                if (summary_.lastDate != summary_.firstDate) {
                    contest += " – " + summary_.lastDate;
                }
            }
            field(words_.contest, contest);
        }
        out_ += "\n";
        if (log_.outcome != LogOutcome::Scored) {
            out_ += std::string(words_.notScored) + ": " + log_.reason +
                    (log_.message.empty() ? "" : " – „" + log_.message + "“") + "\n";
            return out_;
        }
        if (!log_.claimedScore.empty()) {
            field(words_.declared, log_.claimedScore);
        }
        field(words_.claimed, totals(log_.totals));
        const LogCrossCheck& result = check_.logs[l_];
        if (log_.checked) {
            field(words_.checked, totals(log_.checked->totals));
            field(words_.removedCount,
                  number(static_cast<std::int64_t>(log_.checked->removed.size())));
        }
        if (log_.checkLog) {
            out_ += "\n" + std::string(words_.checkLog) + "\n";
        }
        if (log_.clockOffset != 0) {
            std::string offset = clockOffsetInWords(log_.clockOffset);
            if (!words_.czech) {
                offset = offset.substr(0, offset.find(" ("));
            }
            out_ += "\n" + filled(words_.clock, offset) + "\n";
        }
        if (headerCallContradicted(log_)) {
            out_ += "\n" + filled(words_.headerCall, *log_.ownCall, *log_.sentCall) + "\n";
        }
        if (log_.rankedApart()) {
            out_ += "\n" + std::string(words_.apart) + ": " +
                    (log_.flagged("other-session") ? words_.otherSession : words_.noPartner) +
                    ".\n";
        }
        if (!result.checked) {
            out_ += "\n" + std::string(words_.noCheck) + "\n";
        }
        const std::vector<Finding> removed = findings(result, Removal::Removed);
        const std::vector<const RemovedQso*> decided = decidedRemovals();
        out_ += "\n";
        if (removed.empty() && decided.empty()) {
            out_ += std::string(words_.nothingRemoved) + "\n";
        } else {
            heading(words_.removedHeading);
            listFindings(removed);
            listDecidedRemovals(decided);
        }
        const std::vector<Finding> information = findings(result, Removal::Kept);
        const std::vector<std::pair<int, std::string>> readings = repairReadings();
        if (!information.empty() || result.unverifiable > 0 || !readings.empty() ||
            !result.adjusted.empty()) {
            out_ += "\n";
            heading(words_.informationHeading);
            listFindings(information);
            listAdjusted(result);
            if (result.unverifiable > 0) {
                out_ +=
                    std::string(words_.unverifiable) + ": " + number(result.unverifiable) + "\n";
            }
            if (!readings.empty()) {
                out_ += std::string(words_.readingHeading) + "\n";
                for (const auto& [line, text] : readings) {
                    out_ +=
                        "  " + std::string(words_.line) + " " + number(line) + ": " + text + "\n";
                }
            }
        }
        return out_;
    }

  private:
    void field(const char* name, const std::string& value) {
        out_ += std::string(name) + ": " + value + "\n";
    }

    void heading(const char* text) {
        out_ += std::string(text) + "\n" + std::string(displayWidth(text), '-') + "\n";
    }

    std::string totals(const EvaluationTotals& t) const {
        return number(t.result) + " (" + words_.qsos + " " + number(t.qsoTotal) + ", " +
               words_.points + " " + number(t.pointsTotal) + ", " + words_.clubMults + " " +
               number(t.clubMultTotal) + ", " + words_.dxccMults + " " + number(t.dxccMultTotal) +
               ")";
    }

    enum class Removal { Removed, Kept };

    // The findings that take their QSO off (but for those the evaluator kept), or the others.
    std::vector<Finding> findings(const LogCrossCheck& result, Removal removal) const {
        std::vector<Finding> chosen;
        for (const Finding& finding : result.findings) {
            const bool removes = removesQso(finding.kind) && !keptReason(finding.qso);
            if (removes == (removal == Removal::Removed)) {
                chosen.push_back(finding);
            }
        }
        return chosen;
    }

    // The evaluator's reason for keeping a QSO that a finding removes (perhaps empty); nothing
    // when it was not kept.
    std::optional<std::string> keptReason(std::size_t qso) const {
        if (!log_.checked) {
            return std::nullopt;
        }
        for (const KeptQso& kept : log_.checked->kept) {
            if (kept.number == log_.qsos[qso].number) {
                return kept.reason;
            }
        }
        return std::nullopt;
    }

    std::vector<const RemovedQso*> decidedRemovals() const {
        std::vector<const RemovedQso*> decided;
        if (log_.checked) {
            for (const RemovedQso& removed : log_.checked->removed) {
                if (removed.decided) {
                    decided.push_back(&removed);
                }
            }
        }
        return decided;
    }

    void listAdjusted(const LogCrossCheck& result) {
        if (result.adjusted.empty()) {
            return;
        }
        out_ += words_.adjustedHeading + std::string(": ") +
                number(static_cast<std::int64_t>(result.adjusted.size())) + "\n";
        for (const AdjustedMatch& adjusted : result.adjusted) {
            // The log's own clock is told once, above: only its partners' errors are listed.
            const bool ownClockOnly = !adjusted.designator && log_.clockOffset != 0 &&
                                      logs_[adjusted.partnerLog].clockOffset == 0;
            if (ownClockOnly) {
                continue;
            }
            const ContestLog& partner = logs_[adjusted.partnerLog];
            out_ += "  " + crossCheckName(partner) + ": " +
                    adjustmentNote(logs_, l_, adjusted, words_.czech) + "\n";
            out_ += quote(log_.qsos[adjusted.qso], words_.yourLine);
            out_ += quote(partner.qsos[adjusted.partnerQso],
                          crossCheckName(partner) + ", " + words_.line);
        }
    }

    void listDecidedRemovals(const std::vector<const RemovedQso*>& decided) {
        if (decided.empty()) {
            return;
        }
        out_ += words_.decidedRemoved + std::string("\n");
        for (const RemovedQso* removed : decided) {
            out_ += "  " + (removed->reason.empty() ? std::string("-") : removed->reason) + "\n";
            out_ +=
                quote(log_.qsos[static_cast<std::size_t>(removed->number - 1)], words_.yourLine);
        }
    }

    // "your line 45: QSO: ..." or, for a line that cannot be traced to the submitted file,
    // "QSO 12: ...".
    // A line the evaluator corrected in the repaired copy is quoted as it was evaluated, then as
    // it was submitted.
    std::string quote(const ContestQso& qso, const std::string& who) const {
        const std::string where = qso.submittedNumber > 0
                                      ? who + " " + number(qso.submittedNumber)
                                      : std::string(words_.qso) + " " + number(qso.number);
        if (qso.editedLine && !qso.submittedLine.empty()) {
            return "    " + where + ": " + qso.line + "\n    (" + words_.asSubmitted + ": " +
                   qso.submittedLine + ")\n";
        }
        return "    " + where + ": " + qso.asSubmitted() + "\n";
    }

    void listFindings(const std::vector<Finding>& chosen) {
        std::optional<FindingKind> shown;
        for (const Finding& finding : chosen) {
            if (finding.kind != shown) {
                shown = finding.kind;
                const char* name = words_.kindNames[static_cast<int>(finding.kind)];
                out_ += std::string(name != nullptr
                                        ? name
                                        : findingHeading(finding.kind, words_.czech
                                                                           ? Language::Czech
                                                                           : Language::English)) +
                        "\n";
            }
            const ContestQso& ours = log_.qsos[finding.qso];
            const ContestLog* partner =
                finding.kind == FindingKind::Unique ? nullptr : &logs_[finding.partnerLog];
            std::string what;
            const ContestQso* theirs =
                partner && finding.partnerQso ? &partner->qsos[*finding.partnerQso] : nullptr;
            switch (finding.kind) {
                case FindingKind::NotInLog:
                    what = std::string(words_.partner) + " " + crossCheckName(*partner);
                    break;
                case FindingKind::WrongCall:
                    what = filled(words_.loggedInstead, ours.call, crossCheckName(*partner));
                    break;
                case FindingKind::BustedExchange:
                    what = filled(words_.receivedSent, orNothing(ours.exchange, words_),
                                  orNothing(theirs ? theirs->sentExchange : "", words_));
                    break;
                case FindingKind::BustedCall:
                    what = filled(words_.bustedYourCall, crossCheckName(*partner),
                                  theirs ? theirs->call : "");
                    break;
                case FindingKind::Unique:
                    what = ours.call;
                    break;
            }
            if (const std::optional<std::string> kept = keptReason(finding.qso)) {
                what +=
                    " – " + std::string(words_.decidedKept) + (kept->empty() ? "" : ": " + *kept);
            }
            out_ += "  " + what + "\n";
            out_ += quote(ours, words_.yourLine);
            if (theirs != nullptr) {
                out_ += quote(*theirs, crossCheckName(*partner) + ", " + words_.line);
            }
        }
    }

    // The repair's readings of the QSO lines that differ from what they write, and the lines it
    // could not read.
    std::vector<std::pair<int, std::string>> repairReadings() const {
        std::vector<std::pair<int, std::string>> readings;
        if (!log_.repaired || !log_.repaired->copy) {
            return readings;
        }
        const LogRepair& repair = log_.repaired->repair;
        for (const RepairChange& change : repair.changes) {
            if (change.reading) {
                readings.emplace_back(change.line,
                                      words_.czech ? change.czech : cp1250ToUtf8(change.text));
            }
        }
        for (const int line : repair.unreadLines) {
            readings.emplace_back(line, words_.unreadLine);
        }
        std::stable_sort(readings.begin(), readings.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        return readings;
    }

    const std::vector<ContestLog>& logs_;
    const CrossCheck& check_;
    std::size_t l_;
    const ContestLog& log_;
    const ContestSummary& summary_;
    const Words& words_;
    std::string out_;
};

std::string stemOf(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// A name that every system takes as one file name.
std::string fileNameOf(const std::string& text) {
    std::string name;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        name += byte < ' ' || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos
                    ? '_'
                    : c;
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        name.pop_back();
    }
    if (name.empty() || name.front() == '.') {
        name.insert(0, "_");
    }
    // The names that Windows keeps for its devices.
    static const std::set<std::string> kDevices = {"CON",  "PRN",  "AUX",  "NUL",  "COM1",
                                                   "COM2", "COM3", "COM4", "LPT1", "LPT2"};
    if (kDevices.count(inCapitals(name.substr(0, name.find('.')))) != 0) {
        name.insert(0, "_");
    }
    return name;
}

}  // namespace

std::vector<std::string> entrantReportNames(const std::vector<ContestLog>& logs) {
    // A log set aside has no report, and shares no name.
    std::vector<std::string> calls;
    for (const ContestLog& log : logs) {
        const std::optional<std::string> call = crossCheckCall(log);
        calls.push_back(call && !log.setAside ? inCapitals(*call) : std::string());
    }
    std::set<std::string> taken;
    std::vector<std::string> names;
    for (std::size_t l = 0; l < logs.size(); ++l) {
        if (logs[l].setAside) {
            names.emplace_back();
            continue;
        }
        const bool shared = std::count(calls.begin(), calls.end(), calls[l]) > 1;
        std::string stem = calls[l].empty() || shared ? fileNameOf(stemOf(baseName(logs[l].path)))
                                                      : fileNameOf(calls[l]);
        std::string name = stem + ".txt";
        for (int n = 2; !taken.insert(inCapitals(name)).second; ++n) {
            name = stem + "-" + number(n) + ".txt";
        }
        names.push_back(name);
    }
    return names;
}

std::string entrantReport(const std::vector<ContestLog>& logs, const CrossCheck& check,
                          std::size_t l, const ContestSummary& summary) {
    return Report(logs, check, l, summary, kCzech).write() + "\n\n" +
           Report(logs, check, l, summary, kEnglish).write();
}

}  // namespace zeb::contest
