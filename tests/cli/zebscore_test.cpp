#include "cli/zebscore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_test_support.h"

namespace zeb::cli::test {
namespace {

using Args = std::vector<std::string>;

// A log name that the test resolves: "@NAME" a fixture, "%NAME" a path in the test's folder.
struct StatusCase {
    const char* name;
    Args args;
    int status;
    std::string errPart;  // a part of standard error; empty: standard error stays empty
};

void PrintTo(const StatusCase& c, std::ostream* os) {
    *os << c.name;
}

class ExitStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(ExitStatus, IsTheHighestThatApplies) {
    TempDir temp;
    std::filesystem::create_directory(temp.file("folder.cbr"));
    const auto resolve = [&](std::string text) {
        for (const auto& [mark, base] : {std::pair{std::string("@"), dataPath("")},
                                         std::pair{std::string("%"), temp.file("")}}) {
            for (std::size_t at = text.find(mark); at != std::string::npos;
                 at = text.find(mark, at)) {
                text.replace(at, 1, base);
            }
        }
        return text;
    };
    Args args;
    for (const std::string& arg : GetParam().args) {
        args.push_back(resolve(arg));
    }

    const RunResult result = runZebscore(args);

    EXPECT_EQ(result.status, GetParam().status) << result.err;
    if (GetParam().errPart.empty()) {
        EXPECT_EQ(result.err, "");
    } else {
        EXPECT_NE(result.err.find(resolve(GetParam().errPart)), std::string::npos) << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitStatus,
    testing::Values(
        StatusCase{"a_clean_log_is_scored",
                   {"@no-callsign.cbr", "--config", "@no-callsign.ini"},
                   kExitScored,
                   "zebscore: @no-callsign.cbr: warning: Automatická konfigurace selhala!\n"
                   "Zkus ruční konfiguraci\nPotom se třeba dá něco spočítat\n"},
        StatusCase{"an_ignored_prefix_question_does_not_count",
                   {"@party-crlf.cbr"},
                   kExitScored,
                   "zebscore: @party-crlf.cbr: error: pro call ok1zzz\nna radku 9\n"
                   "nenalezen prefix\n"},
        StatusCase{"a_refused_log",
                   {"@tab-on-line-3.cbr"},
                   kExitRefused,
                   "zebscore: @tab-on-line-3.cbr: error: Na řádku č. 3 je nepřípustný\n"
                   "znak tabulátor!\n(ASCII kód 9)\n"},
        StatusCase{"a_missing_log",
                   {"%missing.cbr"},
                   kExitFailure,
                   "zebscore: %missing.cbr: error: Nelze otevřít deník cabrillo!\n"},
        StatusCase{"a_folder_given_as_log",
                   {"%folder.cbr"},
                   kExitFailure,
                   "zebscore: %folder.cbr is a folder: a whole contest in a folder is evaluated "
                   "with --contest OUT %folder.cbr\n"},
        StatusCase{"an_aborted_log",
                   {"--unknown-prefix", "abort", "@party-crlf.cbr"},
                   kExitAborted,
                   "nenalezen prefix\n"},
        StatusCase{"a_refused_log_does_not_stop_the_next",
                   {"@tab-on-line-3.cbr", "%missing.cbr"},
                   kExitRefused,
                   "zebscore: %missing.cbr: error: Nelze otevřít deník cabrillo!\n"},
        StatusCase{
            "an_aborted_log_does_not_stop_the_next",
            {"--unknown-prefix=abort", "@party-crlf.cbr", "@tab-on-line-3.cbr", "@no-callsign.cbr"},
            kExitAborted,
            "zebscore: @no-callsign.cbr: error: pro call \nna radku 1\nnenalezen prefix\n"},
        StatusCase{"a_configuration_that_does_not_open",
                   {"-c", "%none.ini", "@party-lf.cbr"},
                   kExitFailure,
                   "zebscore: @party-lf.cbr: cannot open the column configuration %none.ini"},
        StatusCase{
            "a_protocol_that_cannot_be_written",
            {"--output-dir", "@party-crlf.cbr/out", "@party-lf.cbr"},
            kExitFailure,
            "zebscore: @party-lf.cbr: cannot write the protocol @party-crlf.cbr/out/party-lf.prn: "
            "Složka neexistuje.\n"},
        StatusCase{"a_protocol_over_a_folder",
                   {"-o", "%folder.cbr", "--force", "@party-lf.cbr"},
                   kExitFailure,
                   "cannot write the protocol %folder.cbr: Je to složka, ne soubor.\n"}),
    [](const testing::TestParamInfo<StatusCase>& info) { return info.param.name; });

TEST(Force, ProtectsAnExistingProtocol) {
    TempDir temp;
    const std::string protocol = temp.file("party-lf.prn");
    writeFile(protocol, "keep me\n");

    const RunResult refused =
        runZebscore({"--json", "--output-dir", temp.path().string(), dataPath("party-lf.cbr")});
    EXPECT_EQ(refused.status, kExitFailure);
    EXPECT_EQ(readFile(protocol), "keep me\n");
    EXPECT_NE(refused.err.find(protocol + " exists and stays untouched; --force replaces it\n"),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.out.find("\"outcome\":\"scored\""), std::string::npos);
    // zebscore's own errors are no dialog messages.
    EXPECT_EQ(refused.out.find("force"), std::string::npos);

    const RunResult forced =
        runZebscore({"--force", "--output-dir", temp.path().string(), dataPath("party-lf.cbr")});
    EXPECT_EQ(forced.status, kExitScored) << forced.err;
    EXPECT_EQ(readFile(protocol), asWrittenHere(readFile(dataPath("party-lf.prn"))));
}

TEST(Force, NeverReplacesAProtocolOfTheSameRun) {
    TempDir temp;
    std::filesystem::create_directory(temp.file("copy"));
    const std::string copy = temp.file("copy/party-lf.cbr");
    writeFile(copy, readFile(dataPath("no-callsign.cbr")));
    const std::string out = temp.file("out");
    std::filesystem::create_directory(out);

    const RunResult result =
        runZebscore({"--force", "--output-dir", out, dataPath("party-lf.cbr"), copy});

    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(readFile(out + "/party-lf.prn"), asWrittenHere(readFile(dataPath("party-lf.prn"))));
    EXPECT_NE(result.err.find("zebscore: " + copy + ": protocol " + out +
                              "/party-lf.prn was already written for an earlier LOG of this run"),
              std::string::npos)
        << result.err;
}

// Every output of a run is refused when it is one of the run's inputs, whatever the spelling and
// --force or not; the log is still evaluated and the input keeps its bytes.
TEST(Inputs, AreNeverReplaced) {
    TempDir temp;
    std::filesystem::create_directory(temp.file("logs"));
    const std::string log = temp.file("logs/party.cbr");
    const std::string original = readFile(dataPath("party-lf.cbr"));
    writeFile(log, original);
    std::filesystem::create_hard_link(log, temp.file("hard.cbr"));
    // Windows makes symbolic links only with a privilege, and Wine none.
    std::error_code noSymbolicLinks;
    std::filesystem::create_symlink(log, temp.file("soft.cbr"), noSymbolicLinks);
    writeFile(temp.file("logs/party.prn"), original);
    writeFile(temp.file("logs/results.txt"), original);
    const struct {
        const char* name;
        Args args;  // the run's other arguments; "%" stands for the test's folder
        std::string refusal;
    } cases[] = {
        {"the log as its own protocol",
         {"-o", "%/logs/party.cbr", "%/logs/party.cbr"},
         "protocol %/logs/party.cbr would replace the input %/logs/party.cbr"},
        {"another spelling of the log",
         {"-o", "%/logs/../logs/./party.cbr", "%/logs/party.cbr"},
         "protocol %/logs/../logs/./party.cbr would replace the input %/logs/party.cbr"},
        {"a hard link of the log",
         {"-o", "%/hard.cbr", "%/logs/party.cbr"},
         "protocol %/hard.cbr would replace the input %/logs/party.cbr"},
        {"a symbolic link to the log",
         {"-o", "%/soft.cbr", "%/logs/party.cbr"},
         "protocol %/soft.cbr would replace the input %/logs/party.cbr"},
        {"a log named as the protocol of another",
         {"--output-dir", "%/logs", "%/logs/party.cbr", "%/logs/party.prn"},
         "protocol %/logs/party.prn would replace the input %/logs/party.prn"},
        {"a log named as the results table",
         {"--results", "%/logs/results.txt", "%/logs/party.cbr", "%/logs/results.txt"},
         "results table %/logs/results.txt would replace the input %/logs/results.txt"},
        {"the column configuration as the protocol",
         {"-c", "%/logs/party.prn", "-o", "%/logs/party.prn", "%/logs/party.cbr"},
         "protocol %/logs/party.prn would replace the input %/logs/party.prn"},
        {"the log as the cross-check report through a link",
         {"--cross-check", "%/hard.cbr.txt", "%/logs/party.cbr"},
         "cross-check report %/hard.cbr.txt would replace the input %/logs/party.cbr"},
    };
    std::filesystem::create_hard_link(log, temp.file("hard.cbr.txt"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (noSymbolicLinks && std::string(c.name) == "a symbolic link to the log") {
            continue;
        }
        const auto resolve = [&](std::string text) {
            for (std::size_t at = text.find('%'); at != std::string::npos;
                 at = text.find('%', at)) {
                text.replace(at, 1, temp.path().string());
            }
            return text;
        };
        Args args = {"--force"};
        for (const std::string& arg : c.args) {
            args.push_back(resolve(arg));
        }

        const RunResult result = runZebscore(args);

        EXPECT_EQ(result.status, kExitFailure);
        EXPECT_NE(result.err.find(resolve(c.refusal) + "; an input is never replaced\n"),
                  std::string::npos)
            << result.err;
        EXPECT_NE(result.out.find(log + ": scored: QSOs 9,"), std::string::npos) << result.out;
        EXPECT_EQ(readFile(log), original);
        EXPECT_EQ(readFile(temp.file("logs/party.prn")), original);
        EXPECT_EQ(readFile(temp.file("logs/results.txt")), original);
    }
}

TEST(OutputDir, IsMadeWithItsParentsBeforeTheFirstLog) {
    TempDir temp;
    const std::string dir = temp.file("contest/2024/protocols");

    const RunResult made = runZebscore({"--output-dir", dir, dataPath("party-lf.cbr")});

    EXPECT_EQ(made.status, kExitScored) << made.err;
    EXPECT_EQ(readFile(dir + "/party-lf.prn"), asWrittenHere(readFile(dataPath("party-lf.prn"))));
    // Made even when no log is scored, and -o makes none.
    const RunResult refused =
        runZebscore({"--output-dir", temp.file("empty"), dataPath("tab-on-line-3.cbr")});
    EXPECT_EQ(refused.status, kExitRefused);
    EXPECT_TRUE(std::filesystem::is_directory(temp.file("empty")));
    const RunResult single = runZebscore({"-o", temp.file("none/p.prn"), dataPath("party-lf.cbr")});
    EXPECT_EQ(single.status, kExitFailure);
    EXPECT_FALSE(std::filesystem::exists(temp.file("none")));
    // A folder that cannot be made is said once; each protocol then fails as it would anyway.
    const RunResult blocked =
        runZebscore({"--output-dir", dataPath("party-lf.cbr") + "/out", dataPath("party-lf.cbr")});
    EXPECT_EQ(blocked.status, kExitFailure);
    EXPECT_EQ(blocked.err.find("zebscore: cannot make the folder " + dataPath("party-lf.cbr") +
                               "/out: Složka neexistuje.\n"),
              0u)
        << blocked.err;
}

TEST(Answer, IsOneLinePerLogUnlessJsonOrAProtocolTakesStandardOutput) {
    TempDir temp;
    const std::string scored = contestPath("ok1aaa.cbr");
    const std::string tab = dataPath("tab-on-line-3.cbr");
    const std::string missing = temp.file("missing\x1b[2J.cbr");
    const std::string crlf = dataPath("party-crlf.cbr");
    const RunResult result = runZebscore({scored, tab, missing, "--unknown-prefix=abort", crlf});
    EXPECT_EQ(result.out, scored +
                              ": scored: QSOs 8, errors 1, points 52, ZEB multipliers 5, DXCC "
                              "multipliers 4, result 468\n" +
                              tab + ": refused\n" + temp.file("missing?[2J.cbr") +
                              ": unreadable\n" + crlf + ": aborted\n");
    // Messages stay on standard error.
    EXPECT_EQ(result.out.find("prefix"), std::string::npos);
    EXPECT_NE(result.err.find("nenalezen prefix"), std::string::npos);
    EXPECT_EQ(runZebscore({"--json", crlf}).out.rfind("{\"log\":", 0), 0u);
    EXPECT_EQ(runZebscore({"-o", "-", crlf}).out,
              asWrittenHere(readFile(dataPath("party-crlf.prn"))));
}

TEST(Output, ADashWritesTheProtocolToStandardOutput) {
    const RunResult result = runZebscore({"-o", "-", dataPath("party-crlf.cbr")});
    EXPECT_EQ(result.status, kExitScored);
    EXPECT_EQ(result.out, asWrittenHere(readFile(dataPath("party-crlf.prn"))));
    // The dialog message goes to standard error, never into the protocol.
    EXPECT_EQ(result.err, "zebscore: " + dataPath("party-crlf.cbr") +
                              ": error: pro call ok1zzz\nna radku 9\nnenalezen prefix\n");
}

TEST(Output, NothingIsWrittenForALogThatWasNotScored) {
    TempDir temp;
    for (const std::string& log :
         {dataPath("tab-on-line-3.cbr"), temp.file("missing.cbr"), dataPath("party-crlf.cbr")}) {
        const std::string protocol = temp.file("p.prn");
        const RunResult result = runZebscore({"--unknown-prefix", "abort", "-o", protocol, log});
        EXPECT_NE(result.status, kExitScored);
        EXPECT_FALSE(std::filesystem::exists(protocol)) << log;
        const RunResult toStdout = runZebscore({"--unknown-prefix", "abort", "-o", "-", log});
        EXPECT_EQ(toStdout.out, "") << log;
    }
}

// In a folder named without a separator, the system's own goes between (a backslash on Windows).
TEST(ProtocolPath, IsTheLogNameWithoutItsExtension) {
    const std::string out =
        std::filesystem::path::preferred_separator == L'\\' ? "out\\" : "out/";
    EXPECT_EQ(protocolPathIn("out", "logs/OK1ABC.cbr"), out + "OK1ABC.prn");
    EXPECT_EQ(protocolPathIn("out/", "OK1ABC.cbr"), "out/OK1ABC.prn");
    EXPECT_EQ(protocolPathIn("out", "a/b/contest.2024.log"), out + "contest.2024.prn");
    EXPECT_EQ(protocolPathIn("out", "OK1ABC"), out + "OK1ABC.prn");
    EXPECT_EQ(protocolPathIn("/tmp", "../x.cbr"), "/tmp/x.prn");
}

TEST(Evaluation, StartsAfreshForEveryLog) {
    const std::string crlf = dataPath("party-crlf.cbr");
    const std::string lf = dataPath("party-lf.cbr");
    const std::string none = dataPath("no-callsign.cbr");
    const RunResult together = runZebscore({"--json", lf, crlf, none, lf});
    EXPECT_EQ(together.out, runZebscore({"--json", lf}).out + runZebscore({"--json", crlf}).out +
                                runZebscore({"--json", none}).out +
                                runZebscore({"--json", lf}).out);
}

TEST(StartOptions, AreReadAsTheStartEditsReadThem) {
    // Only the first nine characters count, and reading stops at the first other character.
    const RunResult result = runZebscore({"--json", "--call-start", " 42xyz", "--exch-start",
                                          "000000051999", dataPath("party-lf.cbr")});
    EXPECT_NE(result.out.find("\"columns\":{\"callStart\":42,\"callWidth\":10,\"exchStart\":51,"),
              std::string::npos)
        << result.out;
    // The start options come after the configuration file.
    const RunResult afterConfig =
        runZebscore({"--json", "--call-start=43", "-c", dataPath("no-callsign.ini"),
                     dataPath("no-callsign.cbr")});
    EXPECT_NE(
        afterConfig.out.find("\"columns\":{\"callStart\":43,\"callWidth\":10,\"exchStart\":60,"
                             "\"exchWidth\":6}"),
        std::string::npos)
        << afterConfig.out;
}

}  // namespace
}  // namespace zeb::cli::test
