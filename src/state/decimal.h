#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zeb {

// Reads a decimal integer the way the program reads every number from text: leading blanks
// skipped, an optional sign, figures up to the first other character; no figures gives 0.
// Reading stops at a NUL byte. A value beyond the 32-bit range saturates at the nearest bound.
std::int32_t parseDecimal(std::string_view text);
// The same for a text ended by a NUL byte, without measuring it first: the fields of the state
// are read this way several times per QSO and computation.
std::int32_t parseDecimal(const char* text);

std::string formatDecimal(std::int64_t value);

}  // namespace zeb
