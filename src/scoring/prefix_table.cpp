#include "scoring/prefix_table.h"

#include <cstring>

#include "state/decimal.h"

namespace zeb {

namespace {

// The length field of every row, read once instead of at every visit.
struct RowLengths {
    RowLengths() {
        for (std::int32_t r = 0; r < kPrefixTable.rowCount && r < kPrefixRows; ++r) {
            values[r] = parseDecimal(kPrefixTable.rows[r].prefixLength);
        }
    }
    std::int32_t values[kPrefixRows] = {};
};

}  // namespace

const char* findCountryKey(const char* call) {
    static const RowLengths lengths;
    const std::size_t callLength = std::strlen(call);
    for (std::int32_t r = 0; r < kPrefixTable.rowCount && r < kPrefixRows; ++r) {
        const PrefixEntry& row = kPrefixTable.rows[r];
        const std::int32_t length = lengths.values[r];
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
