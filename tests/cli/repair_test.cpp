#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/zebscore.h"
#include "cli_test_support.h"

namespace zeb::cli::test {
namespace {

namespace fs = std::filesystem;

// A small contest of one session: eight stations that work each other, each log written as one
// real logger writes it (the file is named after the layout). OK1CC logged OK1BB as OK1BC, OK1DD
// copied OK1EE's number as 115, OK1GG's log lacks its QSO with OK1AA, OK1FF worked OK9ZZ.
const std::vector<std::string> kLayouts = {"name-and-number", "past-80-columns", "glued",
                                           "slashed",         "no-report",       "tabs",
                                           "long-header",     "no-end-marker"};

std::string repairData(const std::string& name) {
    return std::string(ZEB_TEST_DATA_DIR) + "/repair/" + name;
}

// The logs copied into a folder of the test, so that nothing can touch the fixtures.
std::vector<std::string> copyLogs(const TempDir& temp) {
    fs::create_directory(temp.path() / "logs");
    std::vector<std::string> logs;
    for (const std::string& layout : kLayouts) {
        logs.push_back(temp.file("logs/" + layout + ".cbr"));
        fs::copy_file(repairData(layout + ".cbr"), logs.back());
    }
    return logs;
}

std::string withoutFolder(std::string text, const std::string& folder) {
    for (std::size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at)) {
        text.erase(at, folder.size());
    }
    return text;
}

TEST(Repair, ScoresAWholeContestAsTheLoggersWroteIt) {
    TempDir temp;
    const std::vector<std::string> logs = copyLogs(temp);
    std::vector<std::string> args = {"--repair",
                                     temp.file("fixed/copies"),
                                     "--json",
                                     "--cross-check",
                                     temp.file("cross-check.txt"),
                                     "--results",
                                     temp.file("results.txt")};
    args.insert(args.end(), logs.begin(), logs.end());

    const RunResult result = runZebscore(args);

    EXPECT_EQ(result.status, kExitScored) << result.err;
    const std::string folder = temp.path().string() + "/";
    expectMatchesFile(withoutFolder(result.out, folder), repairData("repair.jsonl"));
    expectMatchesFile(readFile(temp.file("cross-check.txt")), repairData("cross-check.txt"));
    expectMatchesFile(readFile(temp.file("results.txt")), repairData("results.txt"));
    for (const std::string& layout : kLayouts) {
        expectMatchesFile(readFile(temp.file("fixed/copies/" + layout + ".cbr")),
                          repairData("fixed/" + layout + ".cbr"));
        EXPECT_EQ(readFile(temp.file("logs/" + layout + ".cbr")),
                  readFile(repairData(layout + ".cbr")))
            << "the log itself was changed";
    }
}

TEST(Repair, WithoutItTheColumnCheckNamesTheLogsToRepair) {
    const RunResult result =
        runZebscore({repairData("name-and-number.cbr"), repairData("slashed.cbr")});
    EXPECT_NE(result.err.find("name-and-number.cbr: the columns found agree with the QSO fields "
                              "on 0 of 7 lines; --repair rewrites the log"),
              std::string::npos)
        << result.err;
}

TEST(Repair, NeverReplacesALogAndEvaluatesItAsItStandsInstead) {
    TempDir temp;
    const std::vector<std::string> logs = copyLogs(temp);
    const std::string before = readFile(logs[0]);

    const RunResult result =
        runZebscore({"--repair", temp.file("logs"), "--force", "--json", logs[0]});

    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_NE(result.err.find("would replace the input"), std::string::npos) << result.err;
    EXPECT_EQ(readFile(logs[0]), before);
    EXPECT_NE(result.out.find("\"outcome\":\"scored\""), std::string::npos);
    EXPECT_NE(result.out.find("\"repair\":{\"copy\":null"), std::string::npos) << result.out;
}

TEST(ConfigBeside, TheColumnsSavedBesideALogApplyToItAlone) {
    TempDir temp;
    const std::vector<std::string> logs = copyLogs(temp);
    writeFile(temp.file("logs/slashed.ini"), "40\n10\n60\n10\n");

    const RunResult result = runZebscore({"--config-beside", "--json", logs[3], logs[4]});

    const std::size_t second = result.out.find('\n');
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(result.out.substr(0, second).find(
                  "\"columns\":{\"callStart\":40,\"callWidth\":10,\"exchStart\":60"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.substr(second).find("\"callStart\":40"), std::string::npos);
}

}  // namespace
}  // namespace zeb::cli::test

namespace zeb::cli::test {
namespace {

// Every file under a folder with its bytes, by its path within the folder.
std::map<std::string, std::string> filesUnder(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).generic_string()] =
                readFile(entry.path().string());
        }
    }
    return files;
}

TEST(WholeContest, OneCommandWritesEveryOutputAndASecondRunTheSame) {
    TempDir temp;
    copyLogs(temp);
    const std::string out = temp.file("out");

    const RunResult first = runZebscore({"--contest", out, temp.file("logs")});

    EXPECT_EQ(first.status, kExitScored) << first.err;
    const std::map<std::string, std::string> written = filesUnder(out);
    for (const std::string& layout : kLayouts) {
        EXPECT_EQ(written.count("fixed/" + layout + ".cbr"), 1u) << layout;
        EXPECT_EQ(written.count("protocols/" + layout + ".prn"), 1u) << layout;
    }
    for (const char* call :
         {"OK1AA", "OK1BB", "OK1CC", "OK1DD", "OK1EE", "OK1FF", "OK1GG", "OK1HH"}) {
        EXPECT_EQ(written.count(std::string("entrants/") + call + ".txt"), 1u) << call;
    }
    expectMatchesFile(written.at("index.html"), repairData("contest/index.html"));
    // A wrong call, a busted exchange and a QSO not in the partner's log, each quoting the lines
    // as the entrants wrote them.
    for (const char* report : {"OK1CC", "OK1DD", "OK1AA"}) {
        expectMatchesFile(written.at(std::string("entrants/") + report + ".txt"),
                          repairData(std::string("contest/") + report + ".txt"));
    }
    EXPECT_EQ(written.at("results.txt"), readFile(repairData("results.txt")));

    // The copies are there: they are evaluated, not written again, and nothing else changes.
    const RunResult second = runZebscore({"--contest", out, temp.file("logs")});
    EXPECT_EQ(second.status, kExitScored) << second.err;
    EXPECT_EQ(second.out, first.out);
    EXPECT_EQ(filesUnder(out), written);
}

TEST(WholeContest, ScoresTheEvaluatorsCorrectionsInTheCopy) {
    TempDir temp;
    const std::vector<std::string> logs = copyLogs(temp);
    const std::string out = temp.file("out");
    ASSERT_EQ(runZebscore({"--contest", out, logs[2]}).status, kExitScored);
    EXPECT_NE(readFile(temp.file("out/results.txt")).find("  nepřečtené výměny  "),
              std::string::npos);
    // The evaluator corrects the call that OK1CC miscopied, and the exchange the repair could not
    // read (written -) to what OK1HH sent.
    const std::string copy = temp.file("out/fixed/glued.cbr");
    std::string corrected = readFile(copy);
    corrected.replace(corrected.find("OK1BC"), 5, "OK1BB");
    corrected.replace(corrected.find("599 -\n"), 6, "599 NM\n");
    writeFile(copy, corrected);
    fs::last_write_time(logs[2], fs::last_write_time(copy) + std::chrono::hours(1));

    const RunResult edited = runZebscore({"--contest", out, "--json", logs[2]});

    // A log written again with the same bytes was not sent again.
    EXPECT_EQ(edited.err.find("the log changed"), std::string::npos) << edited.err;
    EXPECT_NE(edited.out.find("\"code\":\"edited\""), std::string::npos) << edited.out;
    EXPECT_NE(edited.out.find("\"call\":\"OK1BB\""), std::string::npos);
    EXPECT_EQ(edited.out.find("\"code\":\"unread\""), std::string::npos) << edited.out;
    EXPECT_EQ(readFile(copy), corrected);

    const RunResult forced = runZebscore({"--contest", out, "--force", "--json", logs[2]});
    EXPECT_EQ(forced.out.find("\"code\":\"edited\""), std::string::npos) << forced.out;
    EXPECT_NE(forced.out.find("\"code\":\"unread\""), std::string::npos);
    EXPECT_NE(readFile(copy), corrected);
}

// The checked result is what a copy of the repaired log scores with its removed QSO lines
// deleted.
TEST(WholeContest, CheckedResultsAreTheCopiesScoredWithoutTheRemovedLines) {
    TempDir temp;
    copyLogs(temp);
    const RunResult run = runZebscore({"--contest", temp.file("out"), "--json", temp.file("logs")});
    ASSERT_EQ(run.status, kExitScored) << run.err;
    int removals = 0;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        const QJsonObject log = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        const QJsonObject checked = log["checked"].toObject();
        std::set<int> removed;
        for (const QJsonValue qso : checked["removed"].toArray()) {
            removed.insert(qso.toObject()["qso"].toInt());
        }
        removals += static_cast<int>(removed.size());
        std::string kept;
        int qso = 0;
        std::istringstream copy(
            readFile(log["repair"].toObject()["copy"].toString().toStdString()));
        for (std::string text; std::getline(copy, text);) {
            if (text.rfind("QSO:", 0) != 0 || removed.count(++qso) == 0) {
                kept += text + "\n";
            }
        }
        const std::string without = temp.file("without.cbr");
        writeFile(without, kept);
        const RunResult alone = runZebscore({"--json", "--call-start", "55", without});
        const QJsonObject totals = QJsonDocument::fromJson(QByteArray::fromStdString(alone.out))
                                       .object()["totals"]
                                       .toObject();
        EXPECT_EQ(totals["result"].toInt(), checked["totals"].toObject()["result"].toInt())
            << log["log"].toString().toStdString();
    }
    EXPECT_EQ(removals, 3);  // the wrong call, the busted exchange, the QSO not in the log
}

TEST(WholeContest, ALogInUtf8IsConvertedByTheRepairAndFlaggedWithoutIt) {
    TempDir temp;
    const std::string log = temp.file("utf8.cbr");
    writeFile(log,
              "START-OF-LOG: 3.0\nCALLSIGN: OK1AA\nNAME: Jiří Dvořák ☺\n"
              "QSO:  3510 CW 2024-03-02 0700 OK1AA         599 101    OK1BB         599 102\n"
              "END-OF-LOG:\n");

    const RunResult raw = runZebscore({"--results", temp.file("r.csv"), "--json", log});
    EXPECT_NE(raw.err.find("the log is in UTF-8"), std::string::npos) << raw.err;
    EXPECT_NE(raw.out.find("\"code\":\"encoding\""), std::string::npos) << raw.out;

    // Letters that Windows-1250 has are converted without loss: nothing to look at.
    const std::string czech = temp.file("czech.cbr");
    writeFile(czech,
              "START-OF-LOG: 3.0\nCALLSIGN: OK1BB\nNAME: Jiří Dvořák\n"
              "QSO:  3510 CW 2024-03-02 0700 OK1BB         599 102    OK1AA         599 101\n"
              "END-OF-LOG:\n");

    const RunResult repaired = runZebscore({"--repair", temp.file("fixed"), "--results",
                                            temp.file("r.csv"), "--force", "--json", log, czech});
    EXPECT_NE(readFile(temp.file("fixed/utf8.cbr")).find("NAME: Ji\xF8\xED Dvo\xF8\xE1k ?\n"),
              std::string::npos);
    EXPECT_NE(repaired.out.find("converted from UTF-8 to Windows-1250"), std::string::npos);
    EXPECT_NE(repaired.out.find("{\"line\":3,\"text\":\"characters that Windows-1250 lacks "
                                "written ?\"}"),
              std::string::npos)
        << repaired.out;
    const std::size_t second = repaired.out.find('\n') + 1;
    EXPECT_NE(repaired.out.substr(0, second).find("\"code\":\"encoding\""), std::string::npos);
    EXPECT_NE(repaired.out.find("converted from UTF-8 to Windows-1250", second), std::string::npos);
    EXPECT_EQ(repaired.out.find("\"code\":\"encoding\"", second), std::string::npos)
        << repaired.out.substr(second);
}

TEST(WholeContest, PagesQuoteWhatTheLogsHoldAsText) {
    TempDir temp;
    fs::create_directory(temp.path() / "logs");
    writeFile(temp.file("logs/a.cbr"),
              "START-OF-LOG: 3.0\nCONTEST: <script>alert(1)</script>\nCALLSIGN: <b>OK1AA\n"
              "QSO:  3510 CW 2024-03-02 0700 OK1AA 599 101 OK1BB 599 <i>102\nEND-OF-LOG:\n");
    ASSERT_NE(runZebscore({"--contest", temp.file("out"), temp.file("logs")}).status, -1);
    for (const auto& [name, text] : filesUnder(temp.path() / "out")) {
        if (name.size() > 5 && name.substr(name.size() - 5) == ".html") {
            EXPECT_EQ(text.find("<script>"), std::string::npos) << name;
            EXPECT_EQ(text.find("<b>"), std::string::npos) << name;
            EXPECT_EQ(text.find("<i>"), std::string::npos) << name;
        }
    }
    EXPECT_NE(readFile(temp.file("out/index.html")).find("&lt;script&gt;alert(1)&lt;/script&gt;"),
              std::string::npos);
}

TEST(WholeContest, TwoLogsOfOneNameNeverShareACopy) {
    TempDir temp;
    for (const char* folder : {"a", "b"}) {
        fs::create_directory(temp.path() / folder);
        fs::copy_file(repairData("glued.cbr"), temp.path() / folder / "log.cbr");
    }
    fs::copy_file(repairData("slashed.cbr"), temp.path() / "b" / "log.cbr",
                  fs::copy_options::overwrite_existing);
    const std::string out = temp.file("out");
    for (int run = 0; run < 2; ++run) {
        const RunResult result =
            runZebscore({"--contest", out, "--json", temp.file("a"), temp.file("b")});
        EXPECT_EQ(result.status, kExitFailure);
        EXPECT_NE(result.err.find("repaired copy " + out +
                                  "/fixed/log.cbr belongs to an earlier "
                                  "LOG of this run; the log is evaluated as it stands"),
                  std::string::npos)
            << result.err;
        // The second log is its own: OK1DD's, not OK1CC's copy.
        EXPECT_NE(result.out.find("\"ownCall\":\"OK1DD\""), std::string::npos) << result.out;
    }
}

// A mistyped folder or one without logs stops the run before it writes a thing.
TEST(WholeContest, AFolderWithoutLogsOrAMissingOneWritesNothing) {
    TempDir temp;
    fs::create_directory(temp.path() / "empty");
    writeFile(temp.file("empty/notes.txt"), "no logs here\n");
    const RunResult empty = runZebscore({"--contest", temp.file("out"), temp.file("empty")});
    EXPECT_EQ(empty.status, kExitFailure);
    EXPECT_NE(empty.err.find("the folder " + temp.file("empty") + " holds no log"),
              std::string::npos)
        << empty.err;
    EXPECT_NE(empty.err.find("notes.txt: není to deník Cabrillo"), std::string::npos) << empty.err;

    const RunResult missing =
        runZebscore({"--contest", temp.file("out"), temp.file("empty"), temp.file("nonexist")});
    EXPECT_EQ(missing.status, kExitNoSuchInput);
    EXPECT_NE(missing.err.find(temp.file("nonexist") + ": no such LOG or FOLDER"),
              std::string::npos)
        << missing.err;
    EXPECT_FALSE(fs::exists(temp.path() / "out"));
}

}  // namespace
}  // namespace zeb::cli::test
