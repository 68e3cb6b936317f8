#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/zebscore.h"
#include "cli_test_support.h"
#include "report/protocol.h"
#include "support/recording_platform.h"

namespace zeb::cli::test {
namespace {

struct GoldenCase {
    const char* name;  // the expected files are NAME.jsonl and, with a protocol, NAME.prn
    std::vector<std::string> logs;
    std::vector<std::string> options;
    int status;
    bool protocol;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

// The JSON names each log by the path as given; the expected files name it relative to the
// fixture folder, so that they hold wherever the sources are.
std::string withoutDataFolder(std::string text) {
    const std::string folder = dataPath("");
    for (std::size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at)) {
        text.erase(at, folder.size());
    }
    return text;
}

class GoldenTest : public testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTest, ProtocolAndJsonMatchTheExpectedFiles) {
    const GoldenCase& c = GetParam();
    TempDir temp;
    const std::string protocolPath = temp.file(std::string(c.name) + ".prn");
    std::vector<std::string> args = {"--json"};
    for (const std::string& option : c.options) {
        args.push_back(option.rfind("@", 0) == 0 ? dataPath(option.substr(1)) : option);
    }
    if (c.logs.size() == 1) {
        args.insert(args.end(), {"-o", protocolPath});
    }
    for (const std::string& log : c.logs) {
        args.push_back(dataPath(log));
    }

    const RunResult result = runZebscore(args);

    EXPECT_EQ(result.status, c.status) << result.err;
    expectMatchesFile(withoutDataFolder(result.out), dataPath(std::string(c.name) + ".jsonl"));
    if (c.protocol) {
        ASSERT_TRUE(std::filesystem::exists(protocolPath)) << result.err;
        expectMatchesFile(readFile(protocolPath), dataPath(std::string(c.name) + ".prn"), true);
    } else {
        EXPECT_FALSE(std::filesystem::exists(protocolPath));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, GoldenTest,
    testing::Values(GoldenCase{"party-crlf", {"party-crlf.cbr"}, {}, kExitScored, true},
                    GoldenCase{"party-crlf-abort",
                               {"party-crlf.cbr"},
                               {"--unknown-prefix", "abort"},
                               kExitAborted,
                               false},
                    GoldenCase{"party-lf", {"party-lf.cbr"}, {}, kExitScored, true},
                    GoldenCase{
                        "party-lf-only-80m", {"party-lf.cbr"}, {"--only-80m"}, kExitScored, true},
                    GoldenCase{"no-callsign", {"no-callsign.cbr"}, {}, kExitScored, true},
                    GoldenCase{"no-callsign-columns",
                               {"no-callsign.cbr"},
                               {"--config", "@no-callsign.ini", "--exch-start", "53"},
                               kExitScored,
                               true},
                    GoldenCase{"several",
                               {"party-lf.cbr", "tab-on-line-3.cbr", "missing.cbr"},
                               {},
                               kExitRefused,
                               false}),
    [](const testing::TestParamInfo<GoldenCase>& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

// The window's "ulož" after the same load and computation writes the same bytes.
TEST(ProtocolOfZebscore, IsWhatTheWindowSaves) {
    for (const bool only80m : {false, true}) {
        for (const char* log : {"party-crlf.cbr", "party-lf.cbr"}) {
            SCOPED_TRACE(std::string(log) + (only80m ? " only 80 m" : ""));
            zeb::test::Evaluation window;
            window.window.setOnly80m(only80m);
            ASSERT_EQ(window.load(readFile(dataPath(log))), LoadOutcome::Loaded);
            ASSERT_TRUE(window.compute());
            ASSERT_EQ(saveProtocolCommand(*window.state, window.window, window.platform,
                                          std::string("saved.prn")),
                      SaveOutcome::Saved);

            std::vector<std::string> args = {"-o", "-", dataPath(log)};
            if (only80m) {
                args.insert(args.begin(), "--only-80m");
            }
            const RunResult result = runZebscore(args);
            EXPECT_EQ(result.status, kExitScored);
            EXPECT_EQ(result.out, asWrittenHere(window.platform.files["saved.prn"]));
        }
    }
}

}  // namespace
}  // namespace zeb::cli::test
