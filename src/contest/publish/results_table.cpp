#include "contest/publish/results_table.h"

#include <algorithm>
#include <tuple>

#include "platform/translation.h"
#include "state/decimal.h"

namespace zeb::contest {

namespace {

constexpr const char* kTitle = "Výsledková listina";

std::string number(std::int64_t value) {
    return formatDecimal(value);
}

// The bands on which any scored log has a QSO, in the order of kBandOrder.
std::vector<int> bandsInUse(const std::vector<ContestLog>& logs) {
    std::vector<int> rows;
    for (const int row : kBandOrder) {
        const bool used = std::any_of(logs.begin(), logs.end(), [row](const ContestLog& log) {
            return std::any_of(log.bands.begin(), log.bands.end(),
                               [row](const BandTotals& band) { return band.bandRow == row; });
        });
        if (used) {
            rows.push_back(row);
        }
    }
    return rows;
}

BandTotals bandOf(const ContestLog& log, int row) {
    for (const BandTotals& band : log.bands) {
        if (band.bandRow == row) {
            return band;
        }
    }
    return BandTotals{row};
}

// The scored logs of a part of the results, each with its rank (none but in the ranking).
enum class Part { Ranking, Apart, CheckLogs, SetAside };

std::vector<RankedLog> rowsOf(const std::vector<ContestLog>& logs, Part part) {
    if (part == Part::Ranking) {
        return rankLogs(logs);
    }
    std::vector<RankedLog> rows;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        const ContestLog& log = logs[i];
        const bool inPart = part == Part::Apart       ? log.rankedApart()
                            : part == Part::CheckLogs ? log.takesPart() && log.checkLog
                                                      : log.setAside.has_value();
        if (inPart) {
            rows.push_back({i, 0});
        }
    }
    return rows;
}

// The logs ranked apart, check logs and logs set aside say why in words on the pages, and by
// their codes in the CSV.
std::string whyApart(const ContestLog& log) {
    std::string why;
    for (const LogFlag& flag : log.flags) {
        if (flag.code == "other-session" || flag.code == "no-partner" || flag.code == "checklog" ||
            flag.code == "set-aside" || flag.code == "copy" || flag.code == "superseded") {
            why += (why.empty() ? "" : "; ") + flag.text;
        }
    }
    return why;
}

// Below the ranking the pages say why in words; the CSV names the flags by their codes.
Table scoredTable(const std::vector<ContestLog>& logs, const std::vector<int>& bandRows, Part part,
                  ReportFormat format) {
    const bool csv = format == ReportFormat::Csv;
    const bool reasons = part != Part::Ranking && !csv;
    const bool checked = anyChecked(logs);
    Table table;
    table.columns = {
        {"Pořadí", "rank", Align::Right},
        {"Značka", "call", Align::Left},
        {"QSO", "qsos", Align::Right},
        {"Chyby", "errors", Align::Right},
        {"Body", "points", Align::Right},
        {"Násobiče ZEB", "zeb_mults", Align::Right},
        {"Násobiče DXCC", "dxcc_mults", Align::Right},
        {"Deklarováno", "claimed_score", Align::Right},
        {checked ? "Před kontrolou" : "Výsledek", "result", Align::Right},
    };
    if (checked) {
        table.columns.push_back({"Po kontrole", "checked_result", Align::Right});
        table.columns.push_back({"Vyřazená QSO", "removed_qsos", Align::Right});
    }
    table.columns.push_back({"Stejná čísla ZEB", "same_numbers", Align::Right});
    for (const int row : bandRows) {
        const std::string name = bandName(row);
        table.columns.push_back({"QSO", "qsos_" + name, Align::Right, false, name});
        table.columns.push_back({"platná", "valid_" + name, Align::Right, false, name});
        table.columns.push_back({"body", "points_" + name, Align::Right, false, name});
        table.columns.push_back({"DXCC", "dxcc_mults_" + name, Align::Right, false, name});
    }
    table.columns.push_back({"Shoda sloupců (%)", "column_agreement_percent", Align::Right});
    table.columns.push_back(reasons ? TableColumn{"Důvod", "reason", Align::Left}
                                    : TableColumn{"Ke kontrole", "flags", Align::Left});
    table.columns.push_back({"Deník", "log", Align::Left});

    for (const RankedLog& ranked : rowsOf(logs, part)) {
        const ContestLog& log = logs[ranked.log];
        const EvaluationTotals& t = log.totals;
        std::vector<std::string> row = {
            ranked.rank > 0 ? number(ranked.rank) : std::string(),
            callOrFileName(log),
            number(t.qsoTotal),
            number(t.errorTotal),
            number(t.pointsTotal),
            number(t.clubMultTotal),
            number(t.dxccMultTotal),
            log.claimedScore,
            number(t.result),
        };
        if (checked) {
            row.push_back(log.checked ? number(log.checked->totals.result) : std::string());
            row.push_back(log.checked
                              ? number(static_cast<std::int64_t>(log.checked->removed.size()))
                              : std::string());
        }
        row.push_back(number(t.sameNumberCount));
        for (const int bandRow : bandRows) {
            const BandTotals band = bandOf(log, bandRow);
            row.insert(row.end(), {number(band.qsos), number(band.valid), number(band.points),
                                   number(band.dxccMult)});
        }
        row.push_back(number(log.columnCheck.percent()));
        row.push_back(reasons ? whyApart(log)
                      : csv   ? flagCodes(log)
                              : flagPhrases(log, Language::Czech));
        row.push_back(baseName(log.path));
        table.rows.push_back(std::move(row));
    }
    return table;
}

// The logs that have no result, in the order given.
Table unscoredTable(const std::vector<ContestLog>& logs) {
    Table table;
    table.columns = {
        {"Deník", "log", Align::Left},
        {"Značka", "call", Align::Left},
        {"Stav", "outcome", Align::Left},
        {"Zpráva", "message", Align::Left},
    };
    for (const ContestLog& log : logs) {
        if (log.outcome != LogOutcome::Scored) {
            table.rows.push_back({baseName(log.path), callOrFileName(log),
                                  czechOutcomeName(log.outcome), log.message});
        }
    }
    return table;
}

// One table under one header row: the ranked logs, those below the ranking without a rank, then
// the others with their outcome and message and without numbers.
std::string csvResults(const std::vector<ContestLog>& logs, const Table& scored,
                       const std::vector<const Table*>& below) {
    std::vector<std::string> header;
    for (const TableColumn& column : scored.columns) {
        header.push_back(column.key);
    }
    header.insert(header.end(), {"outcome", "message"});
    std::string out = csvRecord(header);
    std::vector<const Table*> tables = {&scored};
    tables.insert(tables.end(), below.begin(), below.end());
    for (const Table* table : tables) {
        for (std::vector<std::string> row : table->rows) {
            row.insert(row.end(), {outcomeName(LogOutcome::Scored), ""});
            out += csvRecord(row);
        }
    }
    const std::size_t width = scored.columns.size();
    for (const ContestLog& log : logs) {
        if (log.outcome == LogOutcome::Scored) {
            continue;
        }
        std::vector<std::string> row(width + 2);
        row[1] = callOrFileName(log);
        row[width - 2] = flagCodes(log);
        row[width - 1] = baseName(log.path);
        row[width] = outcomeName(log.outcome);
        row[width + 1] = log.message;
        out += csvRecord(row);
    }
    return out;
}

}  // namespace

std::vector<RankedLog> rankLogs(const std::vector<ContestLog>& logs) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        if (logs[i].ranked()) {
            order.push_back(i);
        }
    }
    const auto result = [&](std::size_t i) { return std::int64_t{rankingResult(logs[i])}; };
    const auto key = [&](std::size_t i) {
        return std::make_tuple(-result(i), callOrFileName(logs[i]), baseName(logs[i].path), i);
    };
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    std::vector<RankedLog> ranked;
    for (std::size_t place = 0; place < order.size(); ++place) {
        const bool tied = place > 0 && result(order[place]) == result(order[place - 1]);
        ranked.push_back({order[place], tied ? ranked.back().rank : static_cast<int>(place) + 1});
    }
    return ranked;
}

bool anyChecked(const std::vector<ContestLog>& logs) {
    return std::any_of(logs.begin(), logs.end(),
                       [](const ContestLog& log) { return log.checked.has_value(); });
}

std::string flagCodes(const ContestLog& log) {
    std::string codes;
    for (const LogFlag& flag : log.flags) {
        codes += (codes.empty() ? "" : " ") + flag.code;
    }
    return codes;
}

const char* flagPhrase(std::string_view code, Language language) {
    static constexpr std::pair<std::string_view, const char*> kPhrases[] = {
        {"other-session", N_("another session")},
        {"no-partner", N_("no partner")},
        {"same-call", N_("two logs of one station")},
        {"copy", N_("a copy of another log")},
        {"superseded", N_("superseded by another log")},
        {"set-aside", N_("set aside")},
        {"checklog", N_("check log")},
        {"decided", N_("the evaluator's decision")},
        {"clock", N_("clock off")},
        {"header-call", N_("another call in the header")},
        {"causes-findings", N_("causes its partners' findings")},
        {"columns", N_("columns misread")},
        {"edited", N_("copy corrected by hand")},
        {"resent", N_("sent again")},
        {"resent-after-edit", N_("sent again after a correction")},
        {"unread", N_("unread exchanges")},
        {"no-sent-number", N_("no sent number")},
        {"encoding", N_("UTF-8 log")},
        {"refused", N_("refused")},
        {"unreadable", N_("unreadable")},
        {"aborted", N_("aborted")},
    };
    for (const auto& [known, phrase] : kPhrases) {
        if (known == code) {
            return tr(language, phrase);
        }
    }
    return "";
}

std::string flagPhrases(const ContestLog& log, Language language) {
    std::string phrases;
    for (const LogFlag& flag : log.flags) {
        phrases += (phrases.empty() ? "" : ", ") + std::string(flagPhrase(flag.code, language));
    }
    return phrases;
}

std::int32_t rankingResult(const ContestLog& log) {
    return log.checked ? log.checked->totals.result : log.totals.result;
}

Table flagTable(const std::vector<ContestLog>& logs) {
    Table table;
    table.columns = {
        {"Značka", "call", Align::Left},
        {"Deník", "log", Align::Left},
        {"Příznak", "flag", Align::Left},
        {"Důvod", "reason", Align::Left},
    };
    for (const ContestLog& log : logs) {
        for (const LogFlag& flag : log.flags) {
            table.rows.push_back({callOrFileName(log), baseName(log.path),
                                  flagPhrase(flag.code, Language::Czech), flag.text});
        }
    }
    return table;
}

std::string flagSection(const std::vector<ContestLog>& logs, ReportFormat format) {
    const Table table = flagTable(logs);
    const auto flagged = std::count_if(logs.begin(), logs.end(),
                                       [](const ContestLog& log) { return !log.flags.empty(); });
    const std::string heading = "Deníky ke kontrole: " + number(flagged);
    switch (format) {
        case ReportFormat::Csv:
            return {};
        case ReportFormat::Text:
            return heading + "\n" + (table.rows.empty() ? "" : "\n" + textTable(table));
        case ReportFormat::Html:
            return "<h2>" + htmlEscape(heading) + "</h2>\n" +
                   (table.rows.empty() ? "" : htmlTable(table, "flags"));
    }
    return {};
}

std::string resultsTable(const std::vector<ContestLog>& logs, ReportFormat format, bool withBands) {
    const std::vector<int> bandRows = withBands ? bandsInUse(logs) : std::vector<int>{};
    const Table scored = scoredTable(logs, bandRows, Part::Ranking, format);
    // Below the ranking, each part with its heading.
    const std::vector<std::pair<std::string, Table>> below = {
        {"Mimo pořadí (jiné kolo, nebo žádná protistanice)",
         scoredTable(logs, bandRows, Part::Apart, format)},
        {"Kontrolní deníky (potvrzují QSO ostatních, nehodnotí se)",
         scoredTable(logs, bandRows, Part::CheckLogs, format)},
        {"Odložené deníky (kopie, nahrazené a odložené vyhodnocovatelem)",
         scoredTable(logs, bandRows, Part::SetAside, format)},
    };
    const Table unscored = unscoredTable(logs);
    const std::string scoredCount = "Deníky v pořadí: " + number(scored.rows.size());
    const std::string unscoredCount = "Nehodnocené deníky: " + number(unscored.rows.size());
    const std::string ranking =
        anyChecked(logs) ? "Pořadí podle výsledku po křížové kontrole." : "Pořadí podle výsledku.";
    switch (format) {
        case ReportFormat::Csv:
            return csvResults(logs, scored, {&below[0].second, &below[1].second, &below[2].second});
        case ReportFormat::Text: {
            std::string out = std::string(kTitle) + "\n\n" + flagSection(logs, format) + "\n" +
                              scoredCount + ". " + ranking + "\n\n";
            out += textTable(scored);
            for (const auto& [heading, table] : below) {
                if (!table.rows.empty()) {
                    out += "\n" + heading + ": " + number(table.rows.size()) + "\n\n" +
                           textTable(table);
                }
            }
            if (!unscored.rows.empty()) {
                out += "\n" + unscoredCount + "\n\n" + textTable(unscored);
            }
            return out;
        }
        case ReportFormat::Html: {
            std::string body = "<h1>" + std::string(kTitle) + "</h1>\n";
            body += flagSection(logs, format);
            body += "<h2>" + htmlEscape(scoredCount) + "</h2>\n";
            body += "<p class=\"note\">" + htmlEscape(ranking) + "</p>\n";
            body += htmlTable(scored, "results");
            for (const auto& [heading, table] : below) {
                if (!table.rows.empty()) {
                    body +=
                        "<h2>" + htmlEscape(heading + ": " + number(table.rows.size())) + "</h2>\n";
                    body += htmlTable(table, "apart");
                }
            }
            if (!unscored.rows.empty()) {
                body += "<h2>Nehodnocené deníky</h2>\n";
                body += htmlTable(unscored, "unscored");
            }
            return htmlPage(kTitle, body, withBands);
        }
    }
    return {};
}

}  // namespace zeb::contest
