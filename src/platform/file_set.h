#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace zeb {

// What the system knows a file by, whatever the path that names it: device and inode on POSIX
// systems, volume serial number and file index on Windows.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t indexHigh = 0;
    std::uint64_t indexLow = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// The identity of the file that `path` names now, following links; nothing when it names none.
std::optional<FileIdentity> fileIdentity(const std::string& path);

// Files known by their identity, so that every spelling of a path ("a.cbr", "./a.cbr",
// "../dir/a.cbr"), a symbolic link to it and a hard link of it are the same file. The identity is
// taken when a path is added: a file replaced afterwards (a new file under the same name) is
// another file.
class FileSet {
  public:
    // Remembers the file that `path` names now; a path that names no file is left out.
    void add(const std::string& path);

    // The path under which the file that `path` names was added, or nothing when it was not.
    std::optional<std::string> find(const std::string& path) const;

  private:
    std::map<FileIdentity, std::string> files_;
};

}  // namespace zeb
