#pragma once

#include <string_view>

namespace zeb {

// The Czech message catalogue, compiled from po/cs.po, as built into the program.
std::string_view czechCatalogue();

}  // namespace zeb
