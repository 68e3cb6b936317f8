#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace zeb {

// Files known by what the system knows them by, device and inode, so that every spelling of a
// path ("a.cbr", "./a.cbr", "../dir/a.cbr"), a symbolic link to it and a hard link of it are the
// same file. The identity is taken when a path is added: a file replaced afterwards (a new inode
// under the same name) is another file.
class FileSet {
  public:
    // Remembers the file that `path` names now; a path that names no file is left out.
    void add(const std::string& path);

    // The path under which the file that `path` names was added, or nothing when it was not.
    std::optional<std::string> find(const std::string& path) const;

  private:
    std::map<std::pair<dev_t, ino_t>, std::string> files_;
};

}  // namespace zeb
