#include "contest/intake/contest_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "contest/check/cross_check.h"
#include "contest/intake/log_evaluation.h"

namespace zeb::contest {
namespace {

// A log without a CALLSIGN: line is known by the call that most of its QSO lines send: every
// line's sent call counts, not only that of the line read last.
TEST(SummarizeLog, KnowsALogWithoutCallsignByTheCallMostOfItsLinesSend) {
    const struct {
        const char* name;
        std::vector<std::string> sent;
        std::optional<std::string> call;
    } cases[] = {
        {"every line", {"OK1AAA", "OK1AAA", "OK1AAA"}, "OK1AAA"},
        {"most lines, the last not", {"OK1AAA", "ok1aaa", "OK2BBB"}, "OK1AAA"},
        {"no call on most lines", {"OK1AAA", "OK2BBB", "OL3CCC"}, std::nullopt},
    };
    const std::filesystem::path log =
        std::filesystem::temp_directory_path() /
        ("zeb-sent-calls-" + std::to_string(std::random_device()()) + ".cbr");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            std::ofstream file(log, std::ios::binary);
            file << "START-OF-LOG: 3.0\nCONTEST: ZEB-QSO-PARTY\n";
            for (std::size_t i = 0; i < c.sent.size(); ++i) {
                file << "QSO:  3510 CW 2024-03-02 070" << i << ' ' << c.sent[i]
                     << "        599 11     OK9XY" << i << "        599 23\n";
            }
            file << "END-OF-LOG:\n";
        }
        const LogEvaluation evaluation = evaluateLog(log.string(), {});
        ASSERT_EQ(evaluation.outcome, LogOutcome::Scored);
        EXPECT_EQ(crossCheckCall(summarizeLog(evaluation)), c.call);
    }
    std::filesystem::remove(log);
}

}  // namespace
}  // namespace zeb::contest
