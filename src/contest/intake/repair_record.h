#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zeb::contest {

// A digest of bytes, to tell whether a file is still what it was (FNV-1a, 64 bits).
std::uint64_t digestOf(std::string_view bytes);

// What the repair wrote into its folder: for each copy, the digest of the copy as written, of the
// log it was made from, and of the log its first copy was made from (which tells, run after run,
// that the log was sent again). A copy whose digest is still the one written was not touched by
// hand, so a log sent again may be repaired anew over it; a copy that changed holds the evaluator's
// corrections and is never replaced. Kept in the folder of the copies, as a hidden file.
class RepairRecord {
  public:
    struct Entry {
        std::uint64_t copy = 0;
        std::uint64_t log = 0;
        std::uint64_t firstLog = 0;
    };

    // The record of the folder; empty when it has none or it cannot be read.
    static RepairRecord of(const std::string& folder);

    std::optional<Entry> find(const std::string& copyName) const;
    void set(const std::string& copyName, Entry entry);
    // Writes the record when it changed; false (with the reason) when it could not be written.
    bool save(std::string* error = nullptr);

    // The file's name in the folder.
    static constexpr const char* kFileName = ".repaired";

  private:
    std::string path_;
    std::map<std::string, Entry> entries_;
    bool changed_ = false;
};

}  // namespace zeb::contest
