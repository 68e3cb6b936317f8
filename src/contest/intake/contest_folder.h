#pragma once

#include <string>
#include <vector>

namespace zeb::contest {

// The folders and files of a whole contest under its output folder OUT.
struct ContestFolder {
    std::string out;

    std::string fixed() const;      // OUT/fixed: the repaired copies
    std::string protocols() const;  // OUT/protocols
    std::string entrants() const;   // OUT/entrants
    std::string index() const;      // OUT/index.html
    // OUT/results.EXT and OUT/cross-check.EXT, in the order html, csv, txt.
    std::vector<std::string> results() const;
    std::vector<std::string> crossChecks() const;
};

}  // namespace zeb::contest
