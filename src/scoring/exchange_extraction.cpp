#include "scoring/exchange_extraction.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "intake/text_helpers.h"
#include "state/decimal.h"

namespace zeb {

namespace {

// Room for the longest window (a whole line) and the 32 positions trimToken may look at.
constexpr int kScratchSize = kLineBufferSize + 40;
constexpr std::size_t kTrimmedPlaces = 40;

// Stores the first word of the window of `width` characters of `line` (of `length` characters)
// from column `start` in `field`, cut to its capacity.
void takeWord(const char* line, std::int64_t length, std::int32_t start, std::int32_t width,
              char* field, int capacity) {
    // trimToken looks no further than position 32, and the word ends at the window's end: only
    // those places need clearing, not the whole scratch (three times per QSO).
    char scratch[kScratchSize];
    std::memset(scratch, 0, kTrimmedPlaces);
    std::size_t copied = 0;
    if (start >= 0 && width > 0 && start < length) {
        const std::int64_t end = std::min<std::int64_t>(length, std::int64_t{start} + width);
        copied = static_cast<std::size_t>(end - start);
        std::memcpy(scratch, line + start, copied);
    }
    scratch[copied] = '\0';
    const int begin = trimToken(scratch, kScratchSize);
    const std::size_t wordLength = std::min<std::size_t>(
        strnlen(scratch + begin, kScratchSize - begin), static_cast<std::size_t>(capacity));
    std::memcpy(field, scratch + begin, wordLength);
    field[wordLength] = '\0';
}

}  // namespace

bool isMemberNumber(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
    }
    return parseDecimal(text) != 0;
}

void extractFields(EvaluationState& state) {
    const ColumnConfig& columns = state.columns;
    for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
        QsoRecord& record = state.qsoTable.slots[i];
        const auto length = static_cast<std::int64_t>(strnlen(record.line, kLineBufferSize));
        takeWord(record.line, length, 4, 10, record.freqText, kFreqChars);
        takeWord(record.line, length, columns.callStart, columns.callWidth, record.callText,
                 kCallChars);
        takeWord(record.line, length, columns.exchStart, columns.exchWidth, record.exchText,
                 kExchChars);
        char* exchange = record.exchText;
        if (std::strcmp(exchange, "NM") == 0) {
            record.memberNumber = 0;
        } else if (exchange[0] == '\0' || std::strcmp(exchange, "0000") == 0 ||
                   std::strcmp(exchange, "0") == 0 || !isMemberNumber(exchange)) {
            std::strcpy(exchange, "NM");
            record.memberNumber = 0;
        } else {
            record.memberNumber = parseDecimal(exchange);
        }
    }
}

}  // namespace zeb
