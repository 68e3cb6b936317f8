#pragma once

// What both fuzz targets share: a platform that lives in memory, a reset of the evaluation state
// to the way a fresh program starts, and the properties every evaluation must keep whatever its
// input. A broken property aborts, so that libFuzzer keeps the input like any crash.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "intake/load_command.h"
#include "platform/platform.h"
#include "platform/text_input.h"
#include "state/decimal.h"
#include "state/evaluation_state.h"

#define ZEB_FUZZ_CHECK(condition)                                                                 \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

namespace zeb::fuzz {

// Every file opened for reading holds `content`; the prefix question is answered Ignore and every
// other dialog OK, as an evaluator who clicks through would.
class MemoryPlatform final : public Platform {
  public:
    explicit MemoryPlatform(std::string_view content) : content_(content) {}

    DialogButton messageDialog(const std::string& text, DialogKind,
                               DialogButtons buttons) override {
        ZEB_FUZZ_CHECK(!text.empty());
        ++dialogCount;
        return buttons == DialogButtons::AbortIgnore ? DialogButton::Ignore : DialogButton::Ok;
    }
    void endProcess(int exitCode) override { exitCodes.push_back(exitCode); }
    std::unique_ptr<TextInput> openTextForReading(const std::string&) override {
        return std::make_unique<MemoryTextInput>(std::string(content_));
    }
    bool fileExists(const std::string&) override { return false; }
    WriteOutcome writeTextFile(const std::string&, const std::string& content) override {
        written = content;
        return {};
    }

    int dialogCount = 0;
    std::vector<int> exitCodes;
    std::string written;

  private:
    std::string_view content_;
};

// A state allocated once per fuzzing process and reused: each input starts it afresh with
// resetToProgramStart, so that fields a new program never sees set (rowEditActive, the count of
// the previous log) cannot make one input's outcome depend on the inputs run before it.
inline EvaluationState& sharedState() {
    static const std::unique_ptr<EvaluationState> state = makeEvaluationState();
    return *state;
}

inline bool isTerminatedWithin(const char* text, std::size_t size) {
    return strnlen(text, size) < size;
}

// What every load must leave, whatever the bytes of the log.
inline void checkLoad(const EvaluationState& state, LoadOutcome outcome,
                      const MemoryPlatform& platform) {
    ZEB_FUZZ_CHECK(outcome != LoadOutcome::CannotOpen);
    if (outcome == LoadOutcome::Refused) {
        ZEB_FUZZ_CHECK(platform.exitCodes == std::vector<int>{0});
        return;
    }
    ZEB_FUZZ_CHECK(platform.exitCodes.empty());
    const QsoTable& table = state.qsoTable;
    ZEB_FUZZ_CHECK(table.qsoCount >= 0 && table.qsoCount <= kMaxQsoLines);
    ZEB_FUZZ_CHECK(state.headerLines.headerLineCount >= 0 &&
                   state.headerLines.headerLineCount <= kMaxHeaderLines);
    for (int h = 0; h < state.headerLines.headerLineCount; ++h) {
        ZEB_FUZZ_CHECK(isTerminatedWithin(state.headerLines.entries[h], kHeaderEntrySize));
    }
    for (int i = 0; i < table.qsoCount; ++i) {
        const char* line = table.slots[i].line;
        const std::size_t length = strnlen(line, kLineBufferSize);
        ZEB_FUZZ_CHECK(length >= 4 && length <= kKeptLineChars);
        ZEB_FUZZ_CHECK(std::memcmp(line, "QSO:", 4) == 0);
        ZEB_FUZZ_CHECK(line[length - 1] != ' ' && line[length - 1] != '\n');
    }
    ZEB_FUZZ_CHECK(isTerminatedWithin(state.ownCall, sizeof state.ownCall));
    ZEB_FUZZ_CHECK(isTerminatedWithin(state.displayLine, sizeof state.displayLine));
    // The column finding only steps forward from the own call (at most column 80), by word ends
    // at most 79 columns away; the widths are those of the load.
    const ColumnConfig& columns = state.columns;
    ZEB_FUZZ_CHECK(columns.callWidth == 10 && columns.exchWidth == 10);
    ZEB_FUZZ_CHECK(columns.callStart >= 0 && columns.callStart <= 80 + 2 * 79 + 2);
    ZEB_FUZZ_CHECK(columns.exchStart >= columns.callStart && columns.exchStart <= 80 + 3 * 79 + 2);
}

inline bool isFigures(const char* text) {
    if (*text == '\0') {
        return false;
    }
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9') {
            return false;
        }
    }
    return true;
}

// What every computation must leave, whatever the log and the columns.
inline void checkComputation(const EvaluationState& state) {
    const QsoTable& table = state.qsoTable;
    std::int64_t errors = 0;
    std::int64_t points = 0;
    std::int64_t clubMults = 0;
    std::int64_t dxccMults = 0;
    for (int i = 0; i < table.qsoCount; ++i) {
        const QsoRecord& record = table.slots[i];
        ZEB_FUZZ_CHECK(isTerminatedWithin(record.freqText, sizeof record.freqText));
        ZEB_FUZZ_CHECK(isTerminatedWithin(record.callText, sizeof record.callText));
        ZEB_FUZZ_CHECK(isTerminatedWithin(record.exchText, sizeof record.exchText));
        ZEB_FUZZ_CHECK(isTerminatedWithin(record.country, sizeof record.country));
        const bool nonMember = std::strcmp(record.exchText, "NM") == 0;
        if (nonMember) {
            ZEB_FUZZ_CHECK(record.memberNumber == 0);
        } else {
            ZEB_FUZZ_CHECK(isFigures(record.exchText));
            ZEB_FUZZ_CHECK(record.memberNumber == parseDecimal(record.exchText));
            ZEB_FUZZ_CHECK(record.memberNumber != 0);
        }
        ZEB_FUZZ_CHECK(record.status >= 0 && record.status <= 2);
        if (record.status != kStatusValid) {
            ++errors;
            continue;
        }
        ZEB_FUZZ_CHECK(record.points == 1 || record.points == 10);
        ZEB_FUZZ_CHECK(record.points == 10 || nonMember || record.sameNumberFlag == 1);
        ZEB_FUZZ_CHECK(record.clubMult == 0 || record.clubMult == 1);
        ZEB_FUZZ_CHECK(record.dxccMult == 0 || record.dxccMult == 1);
        ZEB_FUZZ_CHECK(!nonMember || record.clubMult == 0);
        ZEB_FUZZ_CHECK(record.country[0] != ' ' || record.dxccMult == 0);
        points += record.points;
        clubMults += record.clubMult;
        dxccMults += record.dxccMult;
    }
    const EvaluationTotals& totals = state.totals;
    ZEB_FUZZ_CHECK(totals.qsoTotal == table.qsoCount);
    ZEB_FUZZ_CHECK(totals.errorTotal == errors);
    ZEB_FUZZ_CHECK(totals.pointsTotal == points);
    ZEB_FUZZ_CHECK(totals.clubMultTotal == clubMults);
    ZEB_FUZZ_CHECK(totals.dxccMultTotal == dxccMults);
    ZEB_FUZZ_CHECK(totals.result == (dxccMults + clubMults) * points);
    ZEB_FUZZ_CHECK(totals.sameNumberCount >= 0);
}

// The tail of every protocol: one line per QSO of 96 (verdict) or 99 (valid) characters and a
// closing space, whose first 80 columns are the start of the loaded line, then the end marker.
inline void checkProtocol(const EvaluationState& state, const std::string& protocol) {
    static const std::string kEnd = "END-OF-LOG:\n";
    ZEB_FUZZ_CHECK(protocol.size() > kEnd.size() &&
                   protocol.compare(protocol.size() - kEnd.size(), kEnd.size(), kEnd) == 0);
    std::size_t end = protocol.size() - kEnd.size();
    for (int i = state.qsoTable.qsoCount - 1; i >= 0; --i) {
        ZEB_FUZZ_CHECK(end >= 2);
        const std::size_t begin = protocol.rfind('\n', end - 2) + 1;
        const std::string_view line(protocol.data() + begin, end - 1 - begin);
        const QsoRecord& record = state.qsoTable.slots[i];
        ZEB_FUZZ_CHECK(line.size() == (record.status == kStatusValid ? 99u : 96u));
        ZEB_FUZZ_CHECK(line.back() == ' ');
        const std::string_view loaded(record.line, strnlen(record.line, kLineBufferSize));
        const std::string_view printed = line.substr(0, 80);
        const std::size_t text = printed.find_last_not_of(' ') + 1;
        ZEB_FUZZ_CHECK(text <= loaded.size() && loaded.substr(0, text) == printed.substr(0, text));
        end = begin;
    }
    ZEB_FUZZ_CHECK(end >= 100 &&
                   protocol.compare(end - 100, 100, std::string(99, '-') + "\n") == 0);
}

}  // namespace zeb::fuzz
