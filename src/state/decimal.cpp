#include "state/decimal.h"

#include <limits>

namespace zeb {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The reading itself, over the bytes for which `more` holds.
template <typename More>
std::int32_t parse(const char* text, More more) {
    const char* c = text;
    while (more(c) && isBlank(*c)) {
        ++c;
    }
    bool negative = false;
    if (more(c) && (*c == '+' || *c == '-')) {
        negative = *c == '-';
        ++c;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; more(c) && *c >= '0' && *c <= '9'; ++c) {
        if (magnitude <= kLimit) {
            magnitude = magnitude * 10 + (*c - '0');
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t parseDecimal(std::string_view text) {
    const char* end = text.data() + text.size();
    return parse(text.data(), [end](const char* c) { return c != end; });
}

std::int32_t parseDecimal(const char* text) {
    // A NUL is neither a blank, a sign nor a figure, so the reading stops there by itself.
    return parse(text, [](const char*) { return true; });
}

std::string formatDecimal(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace zeb
