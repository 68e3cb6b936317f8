#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "intake/load_command.h"
#include "platform/std_files.h"
#include "report/protocol.h"
#include "scoring/scoring_passes.h"
#include "state/window_logic.h"
#include "support/recording_platform.h"

namespace zeb::test {
namespace {

std::vector<std::string> corpusLogs() {
    std::vector<std::string> logs;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(ZEB_CORPUS_DIR, error)) {
        if (entry.path().extension() == ".cbr") {
            logs.push_back(entry.path().string());
        }
    }
    std::sort(logs.begin(), logs.end());
    return logs;
}

// A platform that reads the real files and answers every question as the recording one does.
class CorpusPlatform final : public Platform {
  public:
    DialogButton messageDialog(const std::string& text, DialogKind kind,
                               DialogButtons buttons) override {
        return recorder.messageDialog(text, kind, buttons);
    }
    void endProcess(int exitCode) override { recorder.endProcess(exitCode); }
    std::unique_ptr<TextInput> openTextForReading(const std::string& path) override {
        return openTextFileForReading(path);
    }
    bool fileExists(const std::string& path) override { return isReadableFile(path); }
    WriteOutcome writeTextFile(const std::string&, const std::string&) override { return {}; }
    RecordingPlatform recorder;
};

TEST(Corpus, EveryRealLogIsReadConfiguredAndScoredWithoutFault) {
    const std::vector<std::string> logs = corpusLogs();
    if (logs.empty()) {
        GTEST_SKIP() << "no corpus of real logs beside the checkout";
    }
    int loaded = 0;
    for (const std::string& path : logs) {
        SCOPED_TRACE(path);
        const auto state = makeEvaluationState();
        CorpusPlatform platform;
        HeadlessWindow window(*state, platform);
        formCreate(*state, window);
        prepareLoad(*state, window);
        const LoadOutcome outcome = loadLog(*state, window, platform, path, true);
        ASSERT_NE(outcome, LoadOutcome::CannotOpen);
        if (outcome == LoadOutcome::Refused) {
            EXPECT_EQ(platform.recorder.exitCodes, std::vector<int>{0});
            continue;
        }
        ++loaded;
        ASSERT_TRUE(computeCommand(*state, window, platform));
        const EvaluationTotals& totals = state->totals;
        EXPECT_EQ(totals.qsoTotal, state->qsoTable.qsoCount);
        EXPECT_LE(totals.errorTotal, totals.qsoTotal);
        EXPECT_GE(totals.pointsTotal, 0);
        const std::string protocol = writeProtocol(*state);
        EXPECT_EQ(protocol.substr(protocol.size() - 12), "END-OF-LOG:\n");
    }
    EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace zeb::test
