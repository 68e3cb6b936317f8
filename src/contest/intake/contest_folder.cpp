#include "contest/intake/contest_folder.h"

#include "platform/paths.h"

namespace zeb::contest {

namespace {

constexpr const char* kExtensions[] = {".html", ".csv", ".txt"};

std::string inFolder(const std::string& folder, const std::string& name) {
    return pathInFolder(folder, name);
}

}  // namespace

std::string ContestFolder::fixed() const {
    return inFolder(out, "fixed");
}

std::string ContestFolder::protocols() const {
    return inFolder(out, "protocols");
}

std::string ContestFolder::entrants() const {
    return inFolder(out, "entrants");
}

std::string ContestFolder::index() const {
    return inFolder(out, "index.html");
}

std::vector<std::string> ContestFolder::results() const {
    std::vector<std::string> files;
    for (const char* extension : kExtensions) {
        files.push_back(inFolder(out, std::string("results") + extension));
    }
    return files;
}

std::vector<std::string> ContestFolder::crossChecks() const {
    std::vector<std::string> files;
    for (const char* extension : kExtensions) {
        files.push_back(inFolder(out, std::string("cross-check") + extension));
    }
    return files;
}

}  // namespace zeb::contest
