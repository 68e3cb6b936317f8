#include "scoring/prefix_table.h"

#include <cstring>
#include <vector>

#include "state/decimal.h"

namespace zeb {

namespace {

// The rows grouped by the first character of their prefix, each group in table order, with the
// length field of every row read once. A lookup then visits only the rows that can match, and
// still meets them in the order of the table, so the first match is the same row.
struct RowIndex {
    RowIndex() {
        for (std::int32_t r = 0; r < kPrefixTable.rowCount && r < kPrefixRows; ++r) {
            lengths[r] = parseDecimal(kPrefixTable.rows[r].prefixLength);
            byFirstCharacter[static_cast<unsigned char>(kPrefixTable.rows[r].prefix[0])].push_back(
                r);
        }
    }
    std::int32_t lengths[kPrefixRows] = {};
    std::vector<std::int32_t> byFirstCharacter[256];
};

}  // namespace

const char* findCountryKey(const char* call) {
    static const RowIndex index;
    const std::size_t callLength = std::strlen(call);
    for (const std::int32_t r : index.byFirstCharacter[static_cast<unsigned char>(call[0])]) {
        const PrefixEntry& row = kPrefixTable.rows[r];
        const std::int32_t length = index.lengths[r];
        if (length >= 0 && static_cast<std::size_t>(length) <= callLength &&
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
