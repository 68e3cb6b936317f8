#pragma once

#include <string>
#include <string_view>

namespace zeb {

// The program keeps every text as Windows-1250 bytes; these convert at the edges.
// A byte without a character in the code page becomes U+FFFD.
std::string cp1250ToUtf8(std::string_view bytes);

// A character that the code page lacks becomes the replacement byte.
std::string utf8ToCp1250(std::string_view text, char replacement = '?');

// Well-formed UTF-8 that holds at least one character beyond ASCII: a text saved in UTF-8, not in
// the code page (whose letters beyond ASCII are almost never well-formed UTF-8).
bool isUtf8BeyondAscii(std::string_view bytes);

}  // namespace zeb
