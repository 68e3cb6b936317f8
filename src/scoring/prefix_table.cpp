#include "scoring/prefix_table.h"

#include <algorithm>
#include <cstring>

#include "state/decimal.h"

namespace zeb {

namespace {

// Prefixes are made of figures and capital letters only.
constexpr int kSymbols = 36;

int symbolOf(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'Z') {
        return 10 + (c - 'A');
    }
    return -1;
}

// The rows of two or more characters grouped by their first two, and the rows of one character
// by it, each group in table order, with the length field of every row read once. A lookup visits
// only the two groups that can match and merges them in table order, so the first match is the
// row a scan of the whole table would find.
struct RowIndex {
    RowIndex() {
        std::int32_t pairCount[kSymbols * kSymbols + 1] = {};
        std::int32_t singleCount[kSymbols + 1] = {};
        for (int r = 0; r < rowCount; ++r) {
            lengths[r] = parseDecimal(kPrefixTable.rows[r].prefixLength);
            keys[r] = keyOf(r);
            if (keys[r] >= 0) {
                ++(lengths[r] >= 2 ? pairCount : singleCount)[keys[r] + 1];
            }
        }
        for (int k = 0; k < kSymbols * kSymbols; ++k) {
            pairStart[k + 1] = pairStart[k] + pairCount[k + 1];
        }
        for (int k = 0; k < kSymbols; ++k) {
            singleStart[k + 1] = singleStart[k] + singleCount[k + 1];
        }
        std::int32_t pairFill[kSymbols * kSymbols] = {};
        std::int32_t singleFill[kSymbols] = {};
        for (int r = 0; r < rowCount; ++r) {
            if (keys[r] < 0) {
                continue;
            }
            if (lengths[r] >= 2) {
                pairRows[pairStart[keys[r]] + pairFill[keys[r]]++] = r;
            } else {
                singleRows[singleStart[keys[r]] + singleFill[keys[r]]++] = r;
            }
        }
    }

    // The group of a row, or -1 for a row that no call can match by this index (none in the
    // table: every prefix has one to six figures and letters, as its length says).
    static int keyOf(int r) {
        const char* prefix = kPrefixTable.rows[r].prefix;
        const std::int32_t length = parseDecimal(kPrefixTable.rows[r].prefixLength);
        const int first = symbolOf(prefix[0]);
        if (length < 1 || first < 0) {
            return -1;
        }
        if (length == 1) {
            return first;
        }
        const int second = symbolOf(prefix[1]);
        return second < 0 ? -1 : first * kSymbols + second;
    }

    const int rowCount = std::min<std::int32_t>(kPrefixTable.rowCount, kPrefixRows);
    std::int32_t lengths[kPrefixRows] = {};
    int keys[kPrefixRows] = {};
    std::int32_t pairStart[kSymbols * kSymbols + 1] = {};
    std::int32_t pairRows[kPrefixRows] = {};
    std::int32_t singleStart[kSymbols + 1] = {};
    std::int32_t singleRows[kPrefixRows] = {};
};

}  // namespace

const char* findCountryKey(const char* call) {
    static const RowIndex index;
    const std::size_t callLength = std::strlen(call);
    if (callLength == 0) {
        return nullptr;
    }
    const int first = symbolOf(call[0]);
    if (first < 0) {
        return nullptr;
    }
    const int second = callLength >= 2 ? symbolOf(call[1]) : -1;
    const std::int32_t* pairs = index.pairRows;
    const std::int32_t* pairsEnd = index.pairRows;
    if (second >= 0) {
        pairs += index.pairStart[first * kSymbols + second];
        pairsEnd += index.pairStart[first * kSymbols + second + 1];
    }
    const std::int32_t* singles = index.singleRows + index.singleStart[first];
    const std::int32_t* singlesEnd = index.singleRows + index.singleStart[first + 1];
    while (pairs != pairsEnd || singles != singlesEnd) {
        const bool pairFirst = singles == singlesEnd || (pairs != pairsEnd && *pairs < *singles);
        const std::int32_t r = pairFirst ? *pairs++ : *singles++;
        const PrefixEntry& row = kPrefixTable.rows[r];
        const std::int32_t length = index.lengths[r];
        if (static_cast<std::size_t>(length) <= callLength &&
            std::memcmp(call, row.prefix, static_cast<std::size_t>(length)) == 0) {
            return row.countryKey;
        }
    }
    return nullptr;
}

bool lookupCountries(EvaluationState& state, Platform& platform) {
    QsoTable& table = state.qsoTable;
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        if (const char* key = findCountryKey(record.callText)) {
            std::strncpy(record.country, key, kCountryChars);
            record.country[kCountryChars] = '\0';
            continue;
        }
        const std::string message = "pro call " + std::string(record.callText) + "\nna radku " +
                                    formatDecimal(i + 1) + "\nnenalezen prefix";
        if (platform.messageDialog(message, DialogKind::Error, DialogButtons::AbortIgnore) ==
            DialogButton::Abort) {
            platform.endProcess(-1);
            return false;
        }
    }
    return true;
}

}  // namespace zeb
