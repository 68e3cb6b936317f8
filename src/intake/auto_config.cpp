#include "intake/auto_config.h"

#include <cstring>
#include <string_view>

#include "intake/text_helpers.h"
#include "state/decimal.h"
#include "state/texts.h"
#include "state/window_logic.h"

namespace zeb {

namespace {

constexpr int kLastHeaderForCall = 10;
constexpr int kScanLimit = 88;
constexpr int kLastOwnCallColumn = 80;

// Takes the own call from the first "CALLSIGN:" line among the first 11 header lines.
bool takeOwnCall(EvaluationState& state) {
    const HeaderLines& header = state.headerLines;
    for (int h = 0; h <= kLastHeaderForCall && h < header.headerLineCount; ++h) {
        const char* entry = header.entries[h];
        if (std::strncmp(entry, "CALLSIGN:", 9) != 0) {
            continue;
        }
        // A copy, so that cutting the token leaves the header line whole; the zero tail lets
        // trimToken look 32 positions ahead.
        char copy[kHeaderEntrySize + 40] = {};
        std::memcpy(copy, entry + 9, kHeaderEntrySize - 9);
        copy[kHeaderEntrySize - 9] = '\0';
        const int start = trimToken(copy, static_cast<int>(sizeof copy));
        const char* token = copy + start;
        const std::size_t length = std::min<std::size_t>(std::strlen(token), kOwnCallChars);
        std::memcpy(state.ownCall, token, length);
        state.ownCall[length] = '\0';
        return true;
    }
    return false;
}

}  // namespace

int autoConfigureRow(EvaluationState& state, Window& window, int row) {
    if (!takeOwnCall(state)) {
        return -1;
    }
    const std::string_view line(state.qsoTable.slots[row].line, kLineBufferSize);
    const auto at = [&](long long column) -> char {
        return column >= 0 && column < kLineBufferSize ? line[static_cast<std::size_t>(column)]
                                                       : '\0';
    };
    const std::string_view ownCall(state.ownCall);

    long long p = 0;
    for (; p < kScanLimit; ++p) {
        bool match = true;
        for (std::size_t k = 0; k < ownCall.size(); ++k) {
            if (at(p + static_cast<long long>(k)) != ownCall[k]) {
                match = false;
                break;
            }
        }
        if (match) {
            break;
        }
    }
    if (p == kScanLimit || p > kLastOwnCallColumn) {
        return -1;
    }
    long long q = p + findWordEnd(line, p);
    q += findWordEnd(line, q);
    q += 2;
    while (q < kScanLimit && at(q) != ' ') {
        ++q;
    }
    if (q < kScanLimit) {
        while (at(q) == ' ' && q < kScanLimit) {
            ++q;
        }
    }
    state.columns.callStart = static_cast<std::int32_t>(q);
    setcall(state, window);
    q += findWordEnd(line, q);
    while (q < kScanLimit && at(q) == ' ') {
        ++q;
    }
    while (q < kScanLimit && at(q) != '\0' && at(q) != '\n' && at(q) != ' ') {
        ++q;
    }
    if (at(q) == '\0' || at(q) == '\n') {
        return -1;
    }
    while (q < kScanLimit && at(q) == ' ') {
        ++q;
    }
    state.columns.exchStart = static_cast<std::int32_t>(q);
    state.autoConfigRow = row;
    showStartColumns(state, window);
    return 0;
}

bool findColumns(EvaluationState& state, Window& window, Platform& platform) {
    bool found = false;
    for (int row = 0; row < state.qsoTable.qsoCount; ++row) {
        if (autoConfigureRow(state, window, row) == 0) {
            found = true;
            break;
        }
    }
    window.setEnabled(Control::radek1, false);
    setRowEditQuietly(state, window, formatDecimal(state.autoConfigRow + 1));
    std::memcpy(state.displayLine, state.qsoTable.slots[state.autoConfigRow].line, kLineBufferSize);
    window.setEnabled(Control::bvypocet, true);
    if (!found) {
        platform.messageDialog(texts::kAutoConfigFailed, DialogKind::Warning, DialogButtons::Ok);
        setRowEditQuietly(state, window, "1");
        std::memcpy(state.displayLine, state.qsoTable.slots[0].line, kLineBufferSize);
        state.columns = kFallbackColumns;
        // The start edits would otherwise still show the columns of an earlier log while the
        // computation uses these.
        showStartColumns(state, window);
    }
    return found;
}

}  // namespace zeb
