#include "contest/results_table.h"

#include <algorithm>
#include <tuple>

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

Table scoredTable(const std::vector<ContestLog>& logs, const std::vector<int>& bandRows) {
    Table table;
    table.columns = {
        {"Pořadí", "rank", Align::Right},
        {"Značka", "call", Align::Left},
        {"QSO", "qsos", Align::Right},
        {"Chyby", "errors", Align::Right},
        {"Body", "points", Align::Right},
        {"Násobiče ZEB", "zeb_mults", Align::Right},
        {"Násobiče DXCC", "dxcc_mults", Align::Right},
        {"Výsledek", "result", Align::Right},
        {"Stejná čísla ZEB", "same_numbers", Align::Right},
    };
    for (const int row : bandRows) {
        const std::string name = bandName(row);
        table.columns.push_back({"QSO", "qsos_" + name, Align::Right, false, name});
        table.columns.push_back({"platná", "valid_" + name, Align::Right, false, name});
        table.columns.push_back({"body", "points_" + name, Align::Right, false, name});
        table.columns.push_back({"DXCC", "dxcc_mults_" + name, Align::Right, false, name});
    }
    table.columns.push_back({"Shoda sloupců (%)", "column_agreement_percent", Align::Right});
    table.columns.push_back({"Deník", "log", Align::Left});

    for (const RankedLog& ranked : rankLogs(logs)) {
        const ContestLog& log = logs[ranked.log];
        const EvaluationTotals& t = log.totals;
        std::vector<std::string> row = {
            number(ranked.rank),     callOrFileName(log),   number(t.qsoTotal),
            number(t.errorTotal),    number(t.pointsTotal), number(t.clubMultTotal),
            number(t.dxccMultTotal), number(t.result),      number(t.sameNumberCount),
        };
        for (const int bandRow : bandRows) {
            const BandTotals band = bandOf(log, bandRow);
            row.insert(row.end(), {number(band.qsos), number(band.valid), number(band.points),
                                   number(band.dxccMult)});
        }
        row.push_back(number(log.columnCheck.percent()));
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

// One table under one header row: the scored logs, then the others with their outcome and
// message and without numbers.
std::string csvResults(const std::vector<ContestLog>& logs, const Table& scored) {
    std::vector<std::string> header;
    for (const TableColumn& column : scored.columns) {
        header.push_back(column.key);
    }
    header.insert(header.end(), {"outcome", "message"});
    std::string out = csvRecord(header);
    for (std::vector<std::string> row : scored.rows) {
        row.insert(row.end(), {outcomeName(LogOutcome::Scored), ""});
        out += csvRecord(row);
    }
    const std::size_t width = scored.columns.size();
    for (const ContestLog& log : logs) {
        if (log.outcome == LogOutcome::Scored) {
            continue;
        }
        std::vector<std::string> row(width + 2);
        row[1] = callOrFileName(log);
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
        if (logs[i].outcome == LogOutcome::Scored) {
            order.push_back(i);
        }
    }
    const auto key = [&](std::size_t i) {
        return std::make_tuple(-std::int64_t{logs[i].totals.result}, callOrFileName(logs[i]),
                               baseName(logs[i].path), i);
    };
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    std::vector<RankedLog> ranked;
    for (std::size_t place = 0; place < order.size(); ++place) {
        const bool tied =
            place > 0 && logs[order[place]].totals.result == logs[order[place - 1]].totals.result;
        ranked.push_back({order[place], tied ? ranked.back().rank : static_cast<int>(place) + 1});
    }
    return ranked;
}

std::string resultsTable(const std::vector<ContestLog>& logs, ReportFormat format, bool withBands) {
    const Table scored = scoredTable(logs, withBands ? bandsInUse(logs) : std::vector<int>{});
    const Table unscored = unscoredTable(logs);
    const std::string scoredCount = "Hodnocené deníky: " + number(scored.rows.size());
    const std::string unscoredCount = "Nehodnocené deníky: " + number(unscored.rows.size());
    switch (format) {
        case ReportFormat::Csv:
            return csvResults(logs, scored);
        case ReportFormat::Text: {
            std::string out = std::string(kTitle) + "\n\n" + scoredCount + "\n\n";
            out += textTable(scored);
            if (!unscored.rows.empty()) {
                out += "\n" + unscoredCount + "\n\n" + textTable(unscored);
            }
            return out;
        }
        case ReportFormat::Html: {
            std::string body = "<h1>" + std::string(kTitle) + "</h1>\n";
            body += "<p class=\"note\">" + htmlEscape(scoredCount) + "</p>\n";
            body += htmlTable(scored, "results");
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
