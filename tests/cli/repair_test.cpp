#include <gtest/gtest.h>

#include <filesystem>
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
