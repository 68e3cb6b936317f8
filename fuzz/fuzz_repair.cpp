// The field reader and the repair on a log given as bytes, with the repair's promise as the
// property: whatever the log holds, the reader takes its repaired copy (unless it is over the
// QSO limit, a rule of the contest and no fault of format), the copy holds every QSO line of the
// log, and its columns are those of the layout whenever a line could be rewritten.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "contest/intake/log_repair.h"
#include "fuzz_support.h"
#include "intake/load_command.h"
#include "intake/qso_fields.h"
#include "state/headless_window.h"
#include "state/window_logic.h"

namespace {

bool beginsIgnoringCase(std::string_view line, std::string_view prefix) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || line.size() - start < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = line[start + i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// The QSO lines of the log counted on their own: the lines up to the end marker whose tag is
// "QSO:" in any case, blanks before it allowed.
int countQsoLines(std::string_view bytes) {
    zeb::MemoryTextInput input{std::string(bytes)};
    std::string line;
    int count = 0;
    bool ended = false;
    const auto complete = [&] {
        ended = beginsIgnoringCase(line, "END-OF-LOG");
        count += !ended && beginsIgnoringCase(line, "QSO:") ? 1 : 0;
        line.clear();
    };
    for (int c = input.get(); c != zeb::kEndOfFile && !ended; c = input.get()) {
        if (c == '\n') {
            complete();
        } else {
            line += static_cast<char>(c);
        }
    }
    if (!ended && !line.empty()) {
        complete();
    }
    return count;
}

void checkReadings(std::string_view bytes) {
    const std::vector<std::string_view> lines = zeb::qsoLinesOf(bytes);
    const std::vector<zeb::QsoLineReading> readings = zeb::readQsoLines(lines, "");
    ZEB_FUZZ_CHECK(readings.size() == lines.size());
    for (const zeb::QsoLineReading& reading : readings) {
        if (!reading.fields) {
            continue;
        }
        for (const zeb::MemberReading* member :
             {&reading.fields->sentMember, &reading.fields->receivedMember}) {
            const std::string value = member->value();
            ZEB_FUZZ_CHECK(
                member->kind != zeb::Membership::Member ||
                (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos));
        }
        ZEB_FUZZ_CHECK(!reading.fields->receivedCall.empty() && !reading.fields->sentCall.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zeb;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkReadings(bytes);

    EvaluationState& state = fuzz::sharedState();
    const contest::LogRepair repair = contest::repairLog(bytes, &state);
    const int qsoLines = countQsoLines(bytes);
    ZEB_FUZZ_CHECK(repair.qsoLines == qsoLines);
    const auto unread = static_cast<int>(repair.unreadLines.size());
    ZEB_FUZZ_CHECK(unread <= qsoLines);

    resetToProgramStart(state);
    fuzz::MemoryPlatform platform(repair.copy);
    HeadlessWindow window(state, platform);
    formCreate(state, window);
    prepareLoad(state, window);
    const LoadOutcome outcome = loadLog(state, window, platform, "copy.cbr", true);
    fuzz::checkLoad(state, outcome, platform);
    if (qsoLines > kMaxQsoLines) {
        ZEB_FUZZ_CHECK(outcome == LoadOutcome::Refused);
        return 0;
    }
    ZEB_FUZZ_CHECK(outcome == LoadOutcome::Loaded);
    ZEB_FUZZ_CHECK(state.qsoTable.qsoCount == qsoLines);
    if (qsoLines > unread && !repair.columnsMustBeSet) {
        ZEB_FUZZ_CHECK(state.columns.callStart == contest::kRepairedCallColumn);
        ZEB_FUZZ_CHECK(state.columns.exchStart == contest::kRepairedExchangeColumn);
    }
    // Every rewritten line is read again into its fields from the copy.
    const std::vector<QsoLineReading> copied = readQsoLines(zeb::qsoLinesOf(repair.copy), "");
    int read = 0;
    for (const QsoLineReading& reading : copied) {
        read += reading.fields ? 1 : 0;
    }
    ZEB_FUZZ_CHECK(read >= qsoLines - unread);
    return 0;
}
