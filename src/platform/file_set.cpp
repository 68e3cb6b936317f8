#include "platform/file_set.h"

#include <sys/stat.h>

namespace zeb {

namespace {

// stat() follows symbolic links: a link that names an added file is that file.
std::optional<std::pair<dev_t, ino_t>> identityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return std::pair{info.st_dev, info.st_ino};
}

}  // namespace

void FileSet::add(const std::string& path) {
    if (const auto identity = identityOf(path)) {
        files_.emplace(*identity, path);
    }
}

std::optional<std::string> FileSet::find(const std::string& path) const {
    const auto identity = identityOf(path);
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
