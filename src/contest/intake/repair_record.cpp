#include "contest/intake/repair_record.h"

#include <cinttypes>
#include <cstdio>

#include "platform/cp1250.h"
#include "platform/paths.h"
#include "platform/std_files.h"

namespace zeb::contest {

namespace {

constexpr std::size_t kMaxRecordBytes = std::size_t{16} << 20;

std::optional<std::uint64_t> hexValue(std::string_view text) {
    if (text.size() != 16) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::string hexText(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

}  // namespace

std::uint64_t digestOf(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

RepairRecord RepairRecord::of(const std::string& folder) {
    RepairRecord record;
    record.path_ = pathInFolder(folder, kFileName);
    const std::optional<FileBytes> file = readRegularFile(record.path_, kMaxRecordBytes);
    if (!file || !file->whole) {
        return record;
    }
    // One line per copy: the three digests, then the copy's file name, which may hold blanks.
    std::string_view text = file->bytes;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.size() < 52 || line[16] != ' ' || line[33] != ' ' || line[50] != ' ') {
            continue;
        }
        const auto copy = hexValue(line.substr(0, 16));
        const auto log = hexValue(line.substr(17, 16));
        const auto firstLog = hexValue(line.substr(34, 16));
        if (copy && log && firstLog) {
            record.entries_[std::string(line.substr(51))] = {*copy, *log, *firstLog};
        }
    }
    return record;
}

std::optional<RepairRecord::Entry> RepairRecord::find(const std::string& copyName) const {
    const auto found = entries_.find(copyName);
    if (found == entries_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void RepairRecord::set(const std::string& copyName, Entry entry) {
    Entry& there = entries_[copyName];
    changed_ |=
        there.copy != entry.copy || there.log != entry.log || there.firstLog != entry.firstLog;
    there = entry;
}

bool RepairRecord::save(std::string* error) {
    if (!changed_ || path_.empty()) {
        return true;
    }
    std::string text;
    for (const auto& [name, entry] : entries_) {
        text += hexText(entry.copy) + " " + hexText(entry.log) + " " + hexText(entry.firstLog) +
                " " + name + "\n";
    }
    const WriteOutcome written = writeFileAtomically(path_, text);
    if (!written.ok) {
        if (error != nullptr) {
            *error = cp1250ToUtf8(written.error);
        }
        return false;
    }
    changed_ = false;
    return true;
}

}  // namespace zeb::contest
