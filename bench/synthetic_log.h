#pragma once

#include <string>

namespace zeb::bench {

// A Cabrillo log of `qsoCount` QSO lines with many distinct calls, countries and member numbers
// spread over the five bands, the same for the same arguments.
std::string syntheticLog(int qsoCount, unsigned seed = 1);

}  // namespace zeb::bench
