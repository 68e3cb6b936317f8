#include "contest/publish/contest_index.h"

#include <algorithm>

#include "contest/publish/contest_view.h"
#include "contest/publish/report_table.h"
#include "contest/publish/results_table.h"
#include "intake/load_command.h"
#include "state/decimal.h"

namespace zeb::contest {

namespace {

std::string number(std::int64_t value) {
    return formatDecimal(value);
}

}  // namespace

std::string contestTitle(const ContestSummary& summary, Language language) {
    return summary.name.empty() ? std::string(tr(language, "Contest evaluation"))
                                : format(tr(language, "Evaluation: %1"), {summary.name});
}

std::string contestFacts(const std::vector<ContestLog>& logs, const ContestSummary& summary,
                         const CrossCheck* check, Language language) {
    std::int64_t ranked = 0;
    std::int64_t apart = 0;
    std::int64_t checkLogs = 0;
    std::int64_t setAside = 0;
    std::int64_t notScored = 0;
    std::int64_t qsos = 0;
    for (const ContestLog& log : logs) {
        if (log.outcome != LogOutcome::Scored) {
            ++notScored;
            continue;
        }
        qsos += log.takesPart() ? log.totals.qsoTotal : 0;
        ranked += log.ranked() ? 1 : 0;
        apart += log.rankedApart() ? 1 : 0;
        checkLogs += log.takesPart() && log.checkLog ? 1 : 0;
        setAside += log.setAside ? 1 : 0;
    }
    std::string text;
    if (!summary.firstDate.empty()) {
        text += format(summary.lastDate != summary.firstDate ? tr(language, "Date: %1 to %2. ")
                                                             : tr(language, "Date: %1. "),
                       {summary.firstDate, summary.lastDate});
    }
    text += format(tr(language,
                      "Logs: %1: ranked %2, ranked apart %3, check logs %4, set aside "
                      "%5, not scored %6. QSOs in the logs that count: %7."),
                   {number(static_cast<std::int64_t>(logs.size())), number(ranked), number(apart),
                    number(checkLogs), number(setAside), number(notScored), number(qsos)});
    if (check != nullptr) {
        std::int64_t findings = 0;
        for (const LogCrossCheck& result : check->logs) {
            findings += static_cast<std::int64_t>(result.findings.size());
        }
        text += format(tr(language, " Findings of the cross-check: %1."), {number(findings)});
    }
    return text;
}

namespace {

Table resultsWithLinks(const std::vector<ContestLog>& logs, const CrossCheck* check,
                       const std::vector<LogLinks>& links) {
    const bool checked = anyChecked(logs);
    Table table;
    table.columns = {{"Pořadí", "rank", Align::Right},
                     {"Značka", "call", Align::Left},
                     {"Stav", "outcome", Align::Left},
                     {"QSO", "qsos", Align::Right},
                     {"Deklarováno", "claimed_score", Align::Right},
                     {checked ? "Před kontrolou" : "Výsledek", "result", Align::Right}};
    if (checked) {
        table.columns.push_back({"Po kontrole", "checked_result", Align::Right});
        table.columns.push_back({"Vyřazená QSO", "removed_qsos", Align::Right});
    }
    const std::size_t firstLink = table.columns.size() + 1;
    table.columns.insert(table.columns.end(), {{"Ke kontrole", "flags", Align::Left},
                                               {"Deník", "log", Align::Left},
                                               {"Protokol", "protocol", Align::Left},
                                               {"Opravená kopie", "copy", Align::Left},
                                               {"Zpráva pro účastníka", "report", Align::Left}});
    const auto optionalNumber = [](const std::optional<std::int64_t>& value) {
        return value ? number(*value) : std::string();
    };
    for (const LogRow& log : rowsInResultsOrder(logs, check)) {
        std::vector<std::string> row = {log.rank,         log.call,
                                        log.outcome,      log.scored ? number(log.qsos) : "",
                                        log.claimedScore, log.scored ? number(log.result) : ""};
        if (checked) {
            row.push_back(optionalNumber(log.checkedResult));
            row.push_back(optionalNumber(log.removedQsos));
        }
        const LogLinks& files = links[log.log];
        row.insert(row.end(),
                   {flagPhrases(logs[log.log], Language::Czech), log.file,
                    files.protocol.empty() ? "" : "protokol", files.copy.empty() ? "" : "kopie",
                    files.report.empty() ? "" : "zpráva"});
        std::vector<std::string> rowLinks(row.size());
        rowLinks[firstLink + 1] = files.protocol;
        rowLinks[firstLink + 2] = files.copy;
        rowLinks[firstLink + 3] = files.report;
        table.rows.push_back(std::move(row));
        table.links.push_back(std::move(rowLinks));
    }
    return table;
}

}  // namespace

Table decisionTable(const CheckedContest& checked) {
    Table table;
    table.columns = {{"Rozhodnutí", "decision", Align::Left},
                     {"Deník", "log", Align::Left},
                     {"Řádek QSO", "qso", Align::Left},
                     {"Důvod", "reason", Align::Left},
                     {"Účinek", "effect", Align::Left}};
    for (const AppliedDecision& applied : checked.decisions) {
        const Decision& decision = applied.decision;
        table.rows.push_back({decisionKeyword(decision.kind), decision.log, decision.qsoLine,
                              decision.reason,
                              (applied.applied ? "" : "neplatí: ") + applied.effect});
    }
    for (const DecisionProblem& problem : checked.decisionProblems) {
        table.rows.push_back({"?", "", "", "", decisionProblemText(problem)});
    }
    return table;
}

std::string contestIndexPage(const std::vector<ContestLog>& logs, const CheckedContest& checked,
                             const std::vector<LogLinks>& links,
                             const std::vector<std::string>& pages,
                             const std::vector<OtherFile>& others) {
    const ContestSummary& summary = checked.summary;
    const CrossCheck* check = checked.crossCheck ? &*checked.crossCheck : nullptr;
    const std::string title = contestTitle(summary, Language::Czech);
    std::string body = "<h1>" + htmlEscape(title) + "</h1>\n";
    body += "<p class=\"note\">" + htmlEscape(contestFacts(logs, summary, check, Language::Czech));
    if (!summary.name.empty()) {
        body += " Název soutěže podle řádku CONTEST: " + number(summary.nameCount) + " z " +
                number(summary.sessionLogs) + " deníků.";
    }
    body += "</p>\n";
    if (!pages.empty()) {
        body += "<p>";
        for (std::size_t i = 0; i < pages.size(); ++i) {
            body += std::string(i > 0 ? " · " : "") + "<a href=\"" + htmlEscape(urlPath(pages[i])) +
                    "\">" + htmlEscape(pages[i]) + "</a>";
        }
        body += "</p>\n";
    }
    body += flagSection(logs, ReportFormat::Html);
    if (!checked.decisions.empty() || !checked.decisionProblems.empty()) {
        body += "<h2>Rozhodnutí vyhodnocovatele</h2>\n";
        body += "<p class=\"note\">Ze souboru decisions.txt; platí při každém vyhodnocení.</p>\n";
        body += htmlTable(decisionTable(checked), "decisions");
    }
    body += "<h2>Výsledky</h2>\n";
    body +=
        "<p class=\"note\">" +
        htmlEscape(check != nullptr
                       ? "Pořadí podle výsledku po křížové kontrole; „mimo“: deník jiného kola, "
                         "nebo bez jediné protistanice."
                       : "Pořadí podle výsledku.") +
        "</p>\n";
    body += htmlTable(resultsWithLinks(logs, check, links), "results");
    if (!others.empty()) {
        Table table;
        table.columns = {{"Soubor", "file", Align::Left},
                         {"Proč není hodnocen", "reason", Align::Left}};
        for (const OtherFile& other : others) {
            table.rows.push_back({baseName(other.path), other.reason});
        }
        body += "<h2>Soubory, které nejsou deníky: " +
                number(static_cast<std::int64_t>(others.size())) + "</h2>\n";
        body += htmlTable(table, "others");
    }
    return htmlPage(title, body);
}

}  // namespace zeb::contest
