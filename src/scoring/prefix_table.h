#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "state/evaluation_state.h"

namespace zeb {

inline constexpr int kPrefixRows = 1475;

struct PrefixEntry {
    char prefix[10];
    char countryKey[10];
    char prefixLength[10];  // the length of the prefix, as decimal text
};

struct PrefixTable {
    PrefixEntry rows[kPrefixRows];
    std::int32_t rowCount;
};

extern const PrefixTable kPrefixTable;

// The country key of the first row whose prefix begins `call`, or nullptr.
const char* findCountryKey(const char* call);

// Gives every loaded QSO the country of its call. A call without a known prefix is reported and
// keeps the country it had; Abort ends the program. Returns false when it was aborted.
bool lookupCountries(EvaluationState& state, Platform& platform);

}  // namespace zeb
