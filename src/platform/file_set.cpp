#include "platform/file_set.h"

namespace zeb {

void FileSet::add(const std::string& path) {
    if (const auto identity = fileIdentity(path)) {
        files_.emplace(*identity, path);
    }
}

std::optional<std::string> FileSet::find(const std::string& path) const {
    const auto identity = fileIdentity(path);
    if (!identity) {
        return std::nullopt;
    }
    const auto found = files_.find(*identity);
    if (found == files_.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace zeb
