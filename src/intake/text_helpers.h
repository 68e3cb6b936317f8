#pragma once

#include <string_view>

namespace zeb {

// Finds the first word of a writable text of at least `size` bytes (positions beyond `size` read
// as terminators and are never written): skips at most 20 leading spaces, cuts the text after
// the word by writing a terminator at the first space, line feed or terminator between the
// word's second character and position 32, and returns the position where the word begins.
// A text that begins with a line feed yields the empty word at 0.
int trimToken(char* text, int size);

// The offset from `start` of the first space after the next word of `buffer` (0 to 79), or 0
// when there is none within 80 characters. Terminators and line feeds count as word characters
// here; columns outside the buffer read as terminators.
int findWordEnd(std::string_view buffer, long long start = 0);

}  // namespace zeb
