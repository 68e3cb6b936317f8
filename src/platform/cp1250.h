#pragma once

#include <string>
#include <string_view>

namespace zeb {

// The program keeps every text as Windows-1250 bytes; these convert at the edges.
// A byte without a character in the code page becomes U+FFFD.
std::string cp1250ToUtf8(std::string_view bytes);

// A character that the code page lacks becomes the replacement byte.
std::string utf8ToCp1250(std::string_view text, char replacement = '?');

}  // namespace zeb
