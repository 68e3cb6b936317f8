#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zeb::cli {

// The column where an option's description starts in --help.
inline constexpr std::size_t kDescriptionColumn = 29;

// Fills a help text into lines of at most `width` characters, so that the text in the source can
// be written and extended without counting columns. Lines that begin at the margin are prose: each
// run of them is one paragraph, filled anew when one of its lines is too long. An indented line
// that begins with "-" heads an option; its description, from kDescriptionColumn on and in the
// lines below indented that far, is filled from that column. Blank lines stay; any other line is
// kept as it stands. A word longer than a line gets a line of its own.
std::string wrapHelp(std::string_view text, std::size_t width = 79);

}  // namespace zeb::cli
