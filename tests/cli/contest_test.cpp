#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/zebscore.h"
#include "cli_test_support.h"

namespace zeb::cli::test {
namespace {

// The test contest: five stations that work each other (with a not-in-log QSO, a busted call,
// a busted member number, a unique call and a tie in result), a refused log and a missing one.
std::vector<std::string> contestLogs() {
    std::vector<std::string> logs;
    for (const char* name : {"ok1aaa.cbr", "ok2bbb.cbr", "ol3ccc.cbr", "om4ddd.cbr", "dl5eee.cbr",
                             "ok1fff-tab.cbr", "missing.cbr"}) {
        logs.push_back(contestPath(name));
    }
    return logs;
}

struct ReportCase {
    const char* expected;              // in tests/data/contest; its extension names the format
    std::vector<std::string> options;  // "@" stands for the path of the file written
};

void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << c.expected;
}

class ContestReport : public testing::TestWithParam<ReportCase> {};

TEST_P(ContestReport, MatchesTheExpectedFile) {
    const ReportCase& c = GetParam();
    TempDir temp;
    const std::string written = temp.file(c.expected);
    std::vector<std::string> args;
    for (std::string option : c.options) {
        if (const std::size_t at = option.find('@'); at != std::string::npos) {
            option.replace(at, 1, written);
        }
        args.push_back(option);
    }
    const std::vector<std::string> logs = contestLogs();
    args.insert(args.end(), logs.begin(), logs.end());

    const RunResult result = runZebscore(args);

    // The refused log decides the status; the table itself was written.
    EXPECT_EQ(result.status, kExitRefused) << result.err;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 7) << result.out;
    expectMatchesFile(readFile(written), contestPath(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ContestReport,
    testing::Values(ReportCase{"results.txt", {"--results", "@"}},
                    ReportCase{"results.csv", {"--results", "@"}},
                    ReportCase{"results.html", {"--results", "@"}},
                    ReportCase{"results-bands.txt", {"--bands", "--results", "@"}},
                    ReportCase{"results-bands.csv", {"--results=@", "--bands"}},
                    ReportCase{"results-bands.html", {"--results", "@", "--bands"}},
                    ReportCase{"cross-check.txt", {"--cross-check", "@"}},
                    ReportCase{"cross-check.csv", {"--cross-check", "@"}},
                    ReportCase{"cross-check.html", {"--cross-check", "@"}},
                    // OK1AAA and DL5EEE logged their 80 m QSO three minutes apart; every other
                    // pair agrees within a minute.
                    ReportCase{"cross-check-window-1.txt",
                               {"--time-window", "1", "--cross-check", "@"}}),
    [](const testing::TestParamInfo<ReportCase>& info) {
        std::string name = info.param.expected;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return c == '-' || c == '.'; }, '_');
        return name;
    });

// Every band object adds up to the totals, in the test contest and in the real logs.
TEST(Bands, AddUpToTheTotals) {
    std::vector<std::string> args = {"--json"};
    const std::vector<std::string> logs = contestLogs();
    args.insert(args.end(), logs.begin(), logs.end() - 2);
    args.push_back(dataPath("party-crlf.cbr"));
    args.push_back(dataPath("party-lf.cbr"));
    const RunResult result = runZebscore(args);
    std::istringstream lines(result.out);
    std::string line;
    int scored = 0;
    while (std::getline(lines, line)) {
        const QJsonObject log = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        SCOPED_TRACE(log.value("log").toString().toStdString());
        const QJsonObject totals = log.value("totals").toObject();
        int qsos = 0;
        int valid = 0;
        int points = 0;
        int dxcc = 0;
        QStringList names;
        for (const QJsonValue value : log.value("bands").toArray()) {
            const QJsonObject band = value.toObject();
            EXPECT_GT(band.value("qsos").toInt(), 0);
            names.push_back(band.value("band").toString());
            qsos += band.value("qsos").toInt();
            valid += band.value("valid").toInt();
            points += band.value("points").toInt();
            dxcc += band.value("dxccMult").toInt();
        }
        const QJsonArray qsoArray = log.value("qsos").toArray();
        const int outOfBand = static_cast<int>(
            std::count_if(qsoArray.begin(), qsoArray.end(),
                          [](const QJsonValue& q) { return q.toObject().value("status") == 2; }));
        EXPECT_LE(qsos, totals.value("qsoTotal").toInt());
        EXPECT_GE(qsos, totals.value("qsoTotal").toInt() - outOfBand);
        EXPECT_EQ(valid, totals.value("qsoTotal").toInt() - totals.value("errorTotal").toInt());
        EXPECT_EQ(points, totals.value("pointsTotal").toInt());
        EXPECT_EQ(dxcc, totals.value("dxccMultTotal").toInt());
        // From 80 m up, each band once.
        const QStringList order = {"80m", "40m", "20m", "15m", "10m"};
        int last = -1;
        for (const QString& name : names) {
            EXPECT_GT(order.indexOf(name), last) << name.toStdString();
            last = static_cast<int>(order.indexOf(name));
        }
        ++scored;
    }
    EXPECT_EQ(scored, 7);
}

TEST(Bands, FollowTheTotalsInTheJsonObject) {
    const RunResult result = runZebscore({"--json", contestPath("ok1aaa.cbr")});
    const std::size_t totals = result.out.find("\"totals\":{");
    const std::size_t bands = result.out.find(
        "},\"bands\":[{\"band\":\"80m\",\"qsos\":6,\"valid\":5,\"points\":41,\"dxccMult\":3},"
        "{\"band\":\"40m\",\"qsos\":2,\"valid\":2,\"points\":11,\"dxccMult\":1}],\"qsos\":[");
    ASSERT_NE(totals, std::string::npos);
    EXPECT_NE(bands, std::string::npos) << result.out;
    EXPECT_LT(totals, bands);
}

TEST(Progress, IsShownOnATerminalAndClearedAtTheEnd) {
    const RunResult result = runZebscore(
        {contestPath("ok1aaa.cbr"), contestPath("ok1fff-tab.cbr"), contestPath("ok2bbb.cbr")},
        true);
    EXPECT_EQ(result.status, kExitRefused);
    // The refusal's message and each answer line on standard output, which may be the same
    // terminal, erase the progress line first, so that the two never share a line.
    EXPECT_EQ(result.err,
              "\rzebscore: 1/3 ok1aaa.cbr\x1b[K"
              "\r\x1b[K"
              "\rzebscore: 2/3 ok1fff-tab.cbr\x1b[K"
              "\r\x1b[K"
              "zebscore: " +
                  contestPath("ok1fff-tab.cbr") +
                  ": error: Na řádku č. 5 je nepřípustný\nznak tabulátor!\n(ASCII kód 9)\n"
                  "\rzebscore: 3/3 ok2bbb.cbr\x1b[K"
                  "\r\x1b[K");
}

TEST(Progress, GivesWayToJsonLines) {
    const RunResult result =
        runZebscore({"--json", contestPath("ok1aaa.cbr"), contestPath("ok2bbb.cbr")}, true);
    EXPECT_EQ(result.err,
              "\rzebscore: 1/2 ok1aaa.cbr\x1b[K\r\x1b[K\rzebscore: 2/2 ok2bbb.cbr\x1b[K\r\x1b[K");
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 2);
}

TEST(Progress, IsNotShownWithoutATerminalOrForASingleLog) {
    const std::vector<std::string> two = {contestPath("ok1aaa.cbr"), contestPath("ok2bbb.cbr")};
    EXPECT_EQ(runZebscore(two, false).err, "");
    EXPECT_EQ(runZebscore({contestPath("ok1aaa.cbr")}, true).err, "");
}

TEST(Reports, ReplaceAnExistingFileOnlyWithForce) {
    TempDir temp;
    const std::string table = temp.file("results.txt");
    const std::string report = temp.file("cross.csv");
    writeFile(table, "keep me\n");
    writeFile(report, "keep me too\n");
    const std::vector<std::string> logs = {contestPath("ok1aaa.cbr"), contestPath("ok2bbb.cbr")};
    std::vector<std::string> args = {"--results", table, "--cross-check", report};
    args.insert(args.end(), logs.begin(), logs.end());

    const RunResult kept = runZebscore(args);
    EXPECT_EQ(kept.status, kExitFailure);
    EXPECT_EQ(readFile(table), "keep me\n");
    EXPECT_EQ(readFile(report), "keep me too\n");
    EXPECT_NE(kept.err.find("zebscore: results table " + table +
                            " exists and stays untouched; --force replaces it\n"),
              std::string::npos)
        << kept.err;
    EXPECT_NE(kept.err.find("zebscore: cross-check report " + report + " exists"),
              std::string::npos);

    args.push_back("--force");
    const RunResult forced = runZebscore(args);
    EXPECT_EQ(forced.status, kExitScored) << forced.err;
    EXPECT_EQ(readFile(table).rfind("Výsledková listina\n", 0), 0u);
    EXPECT_EQ(readFile(report).rfind("log,call,finding,", 0), 0u);
}

TEST(Reports, NeverReplaceAProtocolOfTheSameRun) {
    TempDir temp;
    const std::string target = temp.file("ok1aaa.txt");
    const RunResult result =
        runZebscore({"--force", "-o", target, "--results", target, contestPath("ok1aaa.cbr")});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(readFile(target).rfind("Výsledková listina", 0), std::string::npos);
    EXPECT_NE(result.err.find("results table " + target + " was already written"),
              std::string::npos)
        << result.err;
}

TEST(Reports, OfEveryFormatComeFromOneRun) {
    TempDir temp;
    std::vector<std::string> args = {"--results",        temp.file("r.csv"), "--results",
                                     temp.file("r.txt"), "--cross-check",    temp.file("c.html")};
    const std::vector<std::string> logs = contestLogs();
    args.insert(args.end(), logs.begin(), logs.end());

    EXPECT_EQ(runZebscore(args).status, kExitRefused);

    // With the cross-check, the results hold the checked results and rank by them.
    expectMatchesFile(readFile(temp.file("r.csv")), contestPath("results-checked.csv"));
    expectMatchesFile(readFile(temp.file("r.txt")), contestPath("results-checked.txt"));
    expectMatchesFile(readFile(temp.file("c.html")), contestPath("cross-check.html"));
}

// The fields of a CSV record that quotes none.
std::vector<std::string> csvFields(const std::string& record) {
    std::vector<std::string> fields(1);
    for (const char c : record) {
        if (c == ',') {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

// The line of `text` from `from` on that holds `what`.
std::string lineWith(const std::string& text, std::size_t from, const std::string& what) {
    const std::size_t at = text.find(what, from);
    if (from == std::string::npos || at == std::string::npos) {
        return {};
    }
    const std::size_t start = text.rfind('\n', at) + 1;
    return text.substr(start, text.find('\n', at) - start);
}

// OK6GGG was on the air that evening but worked nobody who sent a log: it is listed below the
// ranking, without a rank, in every format, and told why. A log scored as it stands quotes its
// lines by their numbers in the file.
TEST(Reports, ListALogThatMeetsNobodyBelowTheRanking) {
    TempDir temp;
    std::vector<std::string> args = {"--results",         temp.file("r.txt"),   "--results",
                                     temp.file("r.csv"),  "--results",          temp.file("r.html"),
                                     "--entrant-reports", temp.file("entrants")};
    const std::vector<std::string> logs = contestLogs();
    args.insert(args.end(), logs.begin(), logs.begin() + 5);
    args.push_back(contestPath("ok6ggg-meets-nobody.cbr"));
    const RunResult result = runZebscore(args);
    ASSERT_EQ(result.status, kExitScored) << result.err;
    const std::string reason =
        "žádné z jeho 2 QSO není v deníku jiné stanice (hodnoceno 6 deníků): jiná soutěž, nebo "
        "chybné datum";

    const std::string text = readFile(temp.file("r.txt"));
    const std::size_t ranking = text.find("Deníky v pořadí: 5.");
    const std::size_t apart = text.find("Mimo pořadí (jiné kolo, nebo žádná protistanice): 1\n");
    ASSERT_NE(ranking, std::string::npos) << text;
    ASSERT_NE(apart, std::string::npos) << text;
    EXPECT_EQ(lineWith(text.substr(0, apart), ranking, "OK6GGG"), "") << text;
    const std::string row = lineWith(text, apart, "OK6GGG");
    EXPECT_EQ(row.find_first_not_of(' '), row.find("OK6GGG")) << row;  // no rank
    EXPECT_NE(row.find("  " + reason + "  ok6ggg-meets-nobody.cbr"), std::string::npos) << row;

    const std::string html = readFile(temp.file("r.html"));
    const std::size_t apartTable = html.find("<table class=\"apart\">");
    ASSERT_NE(apartTable, std::string::npos) << html;
    EXPECT_NE(lineWith(html, apartTable, "<td>OK6GGG</td>")
                  .find("<tr><td class=\"num\"></td><td>OK6GGG</td>"),
              std::string::npos);
    EXPECT_NE(lineWith(html, apartTable, "<td>OK6GGG</td>").find("<td>" + reason + "</td>"),
              std::string::npos);
    const std::size_t rankingTable = html.find("<table class=\"results\">");
    ASSERT_NE(rankingTable, std::string::npos) << html;
    EXPECT_EQ(html.substr(0, apartTable).find("<td>OK6GGG</td>", rankingTable), std::string::npos);

    // The CSV gives the flags' codes in their column, as for every other log.
    const std::string csv = readFile(temp.file("r.csv"));
    const std::vector<std::string> header = csvFields(csv.substr(0, csv.find('\n')));
    const std::vector<std::string> fields = csvFields(lineWith(csv, 0, ",OK6GGG,"));
    ASSERT_EQ(fields.size(), header.size()) << csv;
    std::map<std::string, std::string> cell;
    for (std::size_t f = 0; f < header.size(); ++f) {
        cell[header[f]] = fields[f];
    }
    EXPECT_EQ(cell["rank"], "");
    EXPECT_EQ(cell["flags"], "no-partner");
    EXPECT_EQ(cell["outcome"], "scored");
    EXPECT_EQ(cell["log"], "ok6ggg-meets-nobody.cbr");

    const std::string report = readFile(temp.file("entrants/OK6GGG.txt"));
    EXPECT_NE(report.find("\nDeník je hodnocen mimo pořadí: žádné jeho QSO není v deníku jiné "
                          "stanice.\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("  OK9RRR\n    váš řádek 9: QSO:  7070 CW 2024-03-02 0745 OK6GGG"),
              std::string::npos)
        << report;
}

TEST(Reports, NeverReplaceOneAnotherUnderAnotherSpelling) {
    TempDir temp;
    const std::string table = temp.file("r.txt");
    const std::string sameTable = temp.path().string() + "/./r.txt";
    const RunResult result = runZebscore(
        {"--force", "--results", table, "--cross-check", sameTable, contestPath("ok1aaa.cbr")});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(readFile(table).rfind("Výsledková listina\n", 0), 0u);
    EXPECT_NE(result.err.find("cross-check report " + sameTable + " was already written"),
              std::string::npos)
        << result.err;
}

TEST(Reports, ThatCannotBeWrittenFailTheRun) {
    TempDir temp;
    const RunResult result =
        runZebscore({"--results", temp.file("no-such-folder/r.html"), contestPath("ok1aaa.cbr")});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_NE(result.err.find("zebscore: cannot write the results table " +
                              temp.file("no-such-folder/r.html") + ": Složka neexistuje.\n"),
              std::string::npos)
        << result.err;
}

}  // namespace
}  // namespace zeb::cli::test
