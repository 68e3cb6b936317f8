#include "support/recording_platform.h"

#include <cstdio>
#include <cstring>

#include "platform/cp1250.h"
#include "report/protocol.h"
#include "scoring/scoring_passes.h"
#include "state/window_logic.h"

namespace zeb::test {

DialogButton RecordingPlatform::messageDialog(const std::string& text, DialogKind kind,
                                              DialogButtons buttons) {
    dialogs.push_back({cp1250ToUtf8(text), kind, buttons});
    if (!answers.empty()) {
        const DialogButton answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == DialogButtons::AbortIgnore ? DialogButton::Ignore : DialogButton::Ok;
}

std::unique_ptr<TextInput> RecordingPlatform::openTextForReading(const std::string& path) {
    const auto found = files.find(path);
    if (found == files.end()) {
        return nullptr;
    }
    return std::make_unique<MemoryTextInput>(found->second);
}

WriteOutcome RecordingPlatform::writeTextFile(const std::string& path, const std::string& content) {
    if (failWritesWith) {
        return {false, *failWritesWith};
    }
    files[path] = content;
    return {};
}

Evaluation::Evaluation() : state(makeEvaluationState()), window(*state, platform) {
    formCreate(*state, window);
}

LoadOutcome Evaluation::load(const std::string& log) {
    platform.files["test.cbr"] = log;
    prepareLoad(*state, window);
    return loadLog(*state, window, platform, "test.cbr", true);
}

bool Evaluation::compute() {
    return computeCommand(*state, window, platform);
}

std::string Evaluation::protocol() {
    return writeProtocol(*state);
}

std::string Evaluation::dialogTexts() const {
    std::string all;
    for (const RecordedDialog& dialog : platform.dialogs) {
        all += dialog.text + "|";
    }
    return all;
}

std::string lineOf(const EvaluationState& state, int slot) {
    return std::string(state.qsoTable.slots[slot].line);
}

}  // namespace zeb::test

namespace zeb::test {

std::string qsoLine(const std::string& frequency, const std::string& call,
                    const std::string& exchange, const std::string& ownCall) {
    char line[256];
    std::snprintf(line, sizeof line, "QSO: %5s PH 2024-05-01 1200 %-13s 59  001    %-13s 59  %s",
                  frequency.c_str(), ownCall.c_str(), call.c_str(), exchange.c_str());
    return line;
}

std::string cabrilloLog(const std::vector<std::string>& lines, const std::string& ownCall) {
    std::string log = "START-OF-LOG: 3.0\nCALLSIGN: " + ownCall + "\nCONTEST: ZEB-QSO-PARTY\n";
    for (const std::string& line : lines) {
        log += line + "\n";
    }
    return log + "END-OF-LOG:\n";
}

}  // namespace zeb::test
