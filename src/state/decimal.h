#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zeb {

// Reads a decimal integer the way the program reads every number from text: leading blanks
// skipped, an optional sign, figures up to the first other character; no figures gives 0.
// Reading stops at a NUL byte. A value beyond the 32-bit range saturates at the nearest bound.
std::int32_t parseDecimal(std::string_view text);

std::string formatDecimal(std::int64_t value);

}  // namespace zeb
