#include "contest/publish/cross_check_report.h"

#include <algorithm>

#include "contest/check/contest_analysis.h"
#include "contest/publish/contest_view.h"
#include "contest/publish/results_table.h"
#include "scoring/band_plan.h"
#include "state/decimal.h"

namespace zeb::contest {

namespace {

constexpr const char* kTitle = "Křížová kontrola deníků";
constexpr const char* kAdjustedHeading = "Potvrzeno s úpravou";

std::string number(std::int64_t value) {
    return formatDecimal(value);
}

std::string logTitle(const ContestLog& log) {
    return crossCheckName(log) + " (" + baseName(log.path) + ")";
}

std::string bandOf(const ContestQso& qso) {
    return bandName(bandIndex(qso.kHz));
}

// A log that meets no other log has no findings because nothing could be checked.
const char* noFindings(const LogCrossCheck& result) {
    return result.confirmed == 0 && result.validQsos > 0
               ? "bez nálezů, ale také bez potvrzení: žádné QSO není v jiném deníku"
               : "bez nálezů";
}

}  // namespace

std::string partnerNote(const std::vector<ContestLog>& logs, const ContestLog& log,
                        const Finding& finding, Language language) {
    const ContestLog& partner = logs[finding.partnerLog];
    const ContestQso& ours = log.qsos[finding.qso];
    std::string note = logTitle(partner);
    if (!finding.partnerQso) {
        return note;
    }
    const ContestQso& theirs = partner.qsos[*finding.partnerQso];
    note += " QSO " + number(theirs.number);
    const auto orNothing = [language](const std::string& text) {
        return text.empty() ? std::string(tr(language, "(nothing)")) : text;
    };
    if (finding.kind == FindingKind::BustedCall) {
        note += format(tr(language, ", logged %1"), {theirs.call});
    } else if (finding.kind == FindingKind::WrongCall) {
        note +=
            format(tr(language, ", logged %1 instead of %2"), {ours.call, crossCheckName(partner)});
    } else {
        note += format(tr(language, ", received %1, sent %2"),
                       {orNothing(ours.exchange), orNothing(theirs.sentExchange)});
    }
    return note;
}

namespace {

// Whose clock was off, and by how much: the log's own or its partner's.
struct ClockOf {
    const ContestLog* log;
    std::int64_t offset;
};

std::vector<ClockOf> clocksOf(const std::vector<ContestLog>& logs, std::size_t l,
                              const AdjustedMatch& adjusted) {
    std::vector<ClockOf> clocks;
    for (const ContestLog* log : {&logs[l], &logs[adjusted.partnerLog]}) {
        if (log->clockOffset != 0) {
            clocks.push_back({log, log->clockOffset});
        }
    }
    return clocks;
}

}  // namespace

std::string adjustmentNote(const std::vector<ContestLog>& logs, std::size_t l,
                           const AdjustedMatch& adjusted, bool czech) {
    std::string note;
    const auto add = [&note](const std::string& part) {
        note += (note.empty() ? "" : "; ") + part;
    };
    if (adjusted.clock) {
        for (const ClockOf& clock : clocksOf(logs, l, adjusted)) {
            const std::string offset = clockOffsetInWords(clock.offset);
            add(czech ? "čas deníku " + crossCheckName(*clock.log) + " posunut o " + offset
                      : "the clock of " + crossCheckName(*clock.log) + "'s log was off by " +
                            offset.substr(0, offset.find(" (")));
        }
    }
    if (adjusted.designator) {
        const std::string logged = logs[l].qsos[adjusted.qso].call;
        const std::string partner = crossCheckName(logs[adjusted.partnerLog]);
        add(czech ? "zapsáno " + logged + ", deník " + partner + ": táž stanice"
                  : "logged " + logged + ", the log is " + partner + "'s: the same station");
    }
    return note;
}

namespace {

Table summaryTable(const std::vector<ContestLog>& logs, const CrossCheck& check) {
    Table table;
    table.columns = {
        {"Značka", "call", Align::Left},
        {"Deník", "log", Align::Left},
        {"Platná QSO", "valid", Align::Right},
        {"Potvrzená", "confirmed", Align::Right},
        {findingColumnHeading(FindingKind::NotInLog), "not_in_log", Align::Right},
        {findingColumnHeading(FindingKind::BustedCall), "busted_call", Align::Right},
        {findingColumnHeading(FindingKind::WrongCall), "wrong_call", Align::Right},
        {findingColumnHeading(FindingKind::BustedExchange), "busted_exchange", Align::Right},
        {"Neověřitelná výměna", "unverifiable_exchange", Align::Right},
        {findingColumnHeading(FindingKind::Unique), "unique", Align::Right},
        {"Potvrzená s úpravou", "confirmed_adjusted", Align::Right},
        {"Způsobené nálezy", "caused_findings", Align::Right},
    };
    constexpr int kCounts = 10;
    std::int64_t sums[kCounts] = {};
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const LogCrossCheck& result = check.logs[l];
        if (!result.checked) {
            continue;
        }
        const std::int64_t values[kCounts] = {result.validQsos,
                                              result.confirmed,
                                              findingCount(result, FindingKind::NotInLog),
                                              findingCount(result, FindingKind::BustedCall),
                                              findingCount(result, FindingKind::WrongCall),
                                              findingCount(result, FindingKind::BustedExchange),
                                              result.unverifiable,
                                              findingCount(result, FindingKind::Unique),
                                              static_cast<std::int64_t>(result.adjusted.size()),
                                              result.causedFindings};
        std::vector<std::string> row = {crossCheckName(logs[l]), baseName(logs[l].path)};
        for (int i = 0; i < kCounts; ++i) {
            row.push_back(number(values[i]));
            sums[i] += values[i];
        }
        table.rows.push_back(std::move(row));
    }
    std::vector<std::string> total = {"Celkem", ""};
    for (const std::int64_t sum : sums) {
        total.push_back(number(sum));
    }
    table.rows.push_back(std::move(total));
    return table;
}

Table uncheckedTable(const std::vector<ContestLog>& logs, const CrossCheck& check) {
    Table table;
    table.columns = {
        {"Deník", "log", Align::Left},
        {"Značka", "call", Align::Left},
        {"Důvod", "reason", Align::Left},
    };
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const ContestLog& log = logs[l];
        if (check.logs[l].checked) {
            continue;
        }
        const std::string reason =
            log.setAside ? standingOf(logs, l) + ": křížová kontrola jej nepoužije"
            : log.outcome == LogOutcome::Scored
                ? std::string("chybí značka: žádný řádek CALLSIGN: ani čitelný řádek QSO")
                : std::string(czechOutcomeName(log.outcome)) + ": " + log.message;
        table.rows.push_back({baseName(log.path), crossCheckName(log), reason});
    }
    return table;
}

std::string textReport(const std::vector<ContestLog>& logs, const CrossCheck& check,
                       const std::string& intro) {
    std::string out = std::string(kTitle) + "\n\n" + intro + "\n\n" +
                      flagSection(logs, ReportFormat::Text) + "\n" +
                      textTable(summaryTable(logs, check));
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const LogCrossCheck& result = check.logs[l];
        if (!result.checked) {
            continue;
        }
        const ContestLog& log = logs[l];
        out += "\n" + logTitle(log) + "\n";
        if (result.findings.empty() && result.adjusted.empty()) {
            out += "  " + std::string(noFindings(result)) + "\n";
        }
        for (const FindingKind kind : kFindingKinds) {
            const int count = findingCount(result, kind);
            if (count == 0) {
                continue;
            }
            out += "  " + std::string(findingHeading(kind)) + ": " + number(count) + "\n";
            for (const Finding& finding : result.findings) {
                if (finding.kind != kind) {
                    continue;
                }
                const ContestQso& qso = log.qsos[finding.qso];
                out += "    QSO " + number(qso.number) + ": " + qso.line + "\n";
                if (finding.partnerQso) {
                    out += "      " + partnerNote(logs, log, finding) + ": " +
                           logs[finding.partnerLog].qsos[*finding.partnerQso].line + "\n";
                }
            }
        }
        if (!result.adjusted.empty()) {
            out += "  " + std::string(kAdjustedHeading) + ": " +
                   number(static_cast<std::int64_t>(result.adjusted.size())) + "\n";
            for (const AdjustedMatch& adjusted : result.adjusted) {
                const ContestLog& partner = logs[adjusted.partnerLog];
                out += "    QSO " + number(log.qsos[adjusted.qso].number) + ": " +
                       log.qsos[adjusted.qso].line + "\n";
                out += "      " + logTitle(partner) + " QSO " +
                       number(partner.qsos[adjusted.partnerQso].number) + ", " +
                       adjustmentNote(logs, l, adjusted, true) + ": " +
                       partner.qsos[adjusted.partnerQso].line + "\n";
            }
        }
    }
    const Table unchecked = uncheckedTable(logs, check);
    if (!unchecked.rows.empty()) {
        out += "\nNekontrolované deníky: " + number(unchecked.rows.size()) + "\n\n" +
               textTable(unchecked);
    }
    return out;
}

// For the busted kinds, the partner's line stands under the log's own, so that the two can be
// compared column by column.
Table kindTable(const std::vector<ContestLog>& logs, const ContestLog& log,
                const LogCrossCheck& result, FindingKind kind) {
    const bool withPartnerQso = kind == FindingKind::BustedCall || kind == FindingKind::WrongCall ||
                                kind == FindingKind::BustedExchange;
    Table table;
    table.columns = {{"QSO", "qso", Align::Right},
                     {withPartnerQso ? "Řádek deníku a řádek protistanice" : "Řádek deníku", "line",
                      Align::Left, true}};
    if (kind != FindingKind::Unique) {
        table.columns.push_back({"Protistanice", "partner", Align::Left});
    }
    for (const Finding& finding : result.findings) {
        if (finding.kind != kind) {
            continue;
        }
        const ContestQso& qso = log.qsos[finding.qso];
        std::vector<std::string> row = {number(qso.number), qso.line};
        if (withPartnerQso) {
            row[1] += "\n" + logs[finding.partnerLog].qsos[*finding.partnerQso].line;
        }
        if (kind != FindingKind::Unique) {
            row.push_back(partnerNote(logs, log, finding));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

Table adjustedTable(const std::vector<ContestLog>& logs, std::size_t l,
                    const LogCrossCheck& result) {
    Table table;
    table.columns = {{"QSO", "qso", Align::Right},
                     {"Řádek deníku a řádek protistanice", "line", Align::Left, true},
                     {"Protistanice a úprava", "partner", Align::Left}};
    const ContestLog& log = logs[l];
    for (const AdjustedMatch& adjusted : result.adjusted) {
        const ContestLog& partner = logs[adjusted.partnerLog];
        table.rows.push_back(
            {number(log.qsos[adjusted.qso].number),
             log.qsos[adjusted.qso].line + "\n" + partner.qsos[adjusted.partnerQso].line,
             logTitle(partner) + " QSO " + number(partner.qsos[adjusted.partnerQso].number) + ", " +
                 adjustmentNote(logs, l, adjusted, true)});
    }
    return table;
}

std::string htmlReport(const std::vector<ContestLog>& logs, const CrossCheck& check,
                       const std::string& intro) {
    std::string body = "<h1>" + std::string(kTitle) + "</h1>\n";
    body += "<p class=\"note\">" + htmlEscape(intro) + "</p>\n";
    body += flagSection(logs, ReportFormat::Html);
    body += "<h2>Přehled</h2>\n" + htmlTable(summaryTable(logs, check), "summary");
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const LogCrossCheck& result = check.logs[l];
        if (!result.checked) {
            continue;
        }
        body += "<h2>" + htmlEscape(logTitle(logs[l])) + "</h2>\n";
        if (result.findings.empty() && result.adjusted.empty()) {
            body += "<p>" + std::string(noFindings(result)) + "</p>\n";
        }
        for (const FindingKind kind : kFindingKinds) {
            const int count = findingCount(result, kind);
            if (count > 0) {
                body +=
                    "<h3>" + htmlEscape(findingHeading(kind)) + ": " + number(count) + "</h3>\n";
                body += htmlTable(kindTable(logs, logs[l], result, kind), findingKey(kind));
            }
        }
        if (!result.adjusted.empty()) {
            body += "<h3>" + std::string(kAdjustedHeading) + ": " +
                    number(static_cast<std::int64_t>(result.adjusted.size())) + "</h3>\n";
            body += htmlTable(adjustedTable(logs, l, result), "adjusted");
        }
    }
    const Table unchecked = uncheckedTable(logs, check);
    if (!unchecked.rows.empty()) {
        body += "<h2>Nekontrolované deníky</h2>\n" + htmlTable(unchecked, "unchecked");
    }
    return htmlPage(kTitle, body);
}

// One row per finding under one header row.
std::string csvReport(const std::vector<ContestLog>& logs, const CrossCheck& check) {
    std::string out =
        csvRecord({"log", "call", "finding", "qso", "band", "date", "time", "worked_call",
                   "received_exchange", "partner_log", "partner_call", "partner_qso",
                   "partner_logged_call", "partner_sent_exchange", "line", "partner_line"});
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const ContestLog& log = logs[l];
        for (const Finding& finding : check.logs[l].findings) {
            const ContestQso& qso = log.qsos[finding.qso];
            std::vector<std::string> row = {baseName(log.path),
                                            crossCheckName(log),
                                            findingKey(finding.kind),
                                            number(qso.number),
                                            bandOf(qso),
                                            qso.date,
                                            qso.time,
                                            qso.call,
                                            qso.exchange};
            if (finding.kind == FindingKind::Unique) {
                row.resize(row.size() + 5);
            } else {
                const ContestLog& partner = logs[finding.partnerLog];
                row.insert(row.end(), {baseName(partner.path), crossCheckName(partner)});
                if (finding.partnerQso) {
                    const ContestQso& theirs = partner.qsos[*finding.partnerQso];
                    row.insert(row.end(),
                               {number(theirs.number), theirs.call, theirs.sentExchange});
                } else {
                    row.resize(row.size() + 3);
                }
            }
            row.push_back(qso.line);
            row.push_back(finding.partnerQso
                              ? logs[finding.partnerLog].qsos[*finding.partnerQso].line
                              : std::string());
            out += csvRecord(row);
        }
        // Confirmed only with an adjustment: for information, as a finding that removes nothing.
        for (const AdjustedMatch& adjusted : check.logs[l].adjusted) {
            const ContestQso& qso = log.qsos[adjusted.qso];
            const ContestLog& partner = logs[adjusted.partnerLog];
            const ContestQso& theirs = partner.qsos[adjusted.partnerQso];
            out += csvRecord({baseName(log.path), crossCheckName(log),
                              adjusted.clock ? "confirmed-clock" : "confirmed-designator",
                              number(qso.number), bandOf(qso), qso.date, qso.time, qso.call,
                              qso.exchange, baseName(partner.path), crossCheckName(partner),
                              number(theirs.number), theirs.call, theirs.sentExchange, qso.line,
                              theirs.line});
        }
    }
    return out;
}

}  // namespace

std::string crossCheckReport(const std::vector<ContestLog>& logs, const CrossCheck& check,
                             ReportFormat format) {
    const std::string intro = "Časové okno: " + number(check.windowMinutes) +
                              " min. Kontrolují se platná QSO hodnocených deníků, jejichž značka "
                              "je v řádku CALLSIGN: nebo v řádcích QSO; řádky QSO se čtou celé, "
                              "po polích.";
    switch (format) {
        case ReportFormat::Csv:
            return csvReport(logs, check);
        case ReportFormat::Text:
            return textReport(logs, check, intro);
        case ReportFormat::Html:
            return htmlReport(logs, check, intro);
    }
    return {};
}

}  // namespace zeb::contest
