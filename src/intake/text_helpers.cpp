#include "intake/text_helpers.h"

namespace zeb {

namespace {

char charAt(std::string_view buffer, long long column) {
    if (column < 0 || column >= static_cast<long long>(buffer.size())) {
        return '\0';
    }
    return buffer[static_cast<std::size_t>(column)];
}

}  // namespace

int trimToken(char* text, int size) {
    const auto at = [&](int i) { return i < size ? text[i] : '\0'; };
    if (at(0) == '\n') {
        text[0] = '\0';
        return 0;
    }
    int i = 0;
    while (at(i) == ' ' && i < 20) {
        ++i;
    }
    if (at(i) == '\0') {
        return i;
    }
    for (int j = i + 1; j <= 32 && j < size; ++j) {
        if (text[j] == '\0' || text[j] == '\n' || text[j] == ' ') {
            text[j] = '\0';
            break;
        }
    }
    return i;
}

int findWordEnd(std::string_view buffer, long long start) {
    int i = 0;
    while (charAt(buffer, start + i) == ' ' && i < 80) {
        ++i;
    }
    for (; i < 80; ++i) {
        if (charAt(buffer, start + i) == ' ') {
            return i;
        }
    }
    return 0;
}

}  // namespace zeb
