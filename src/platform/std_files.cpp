#include "platform/std_files.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "platform/cp1250.h"
#include "platform/system_files.h"

namespace zeb {

namespace system_files {

WriteOutcome failure(WriteFailure kind, long code) {
    switch (kind) {
        case WriteFailure::NoSpace:
            return {false, utf8ToCp1250("Na disku není dost místa.")};
        case WriteFailure::NoPermission:
            return {false, utf8ToCp1250("Chybí oprávnění k zápisu.")};
        case WriteFailure::ReadOnlyDisk:
            return {false, utf8ToCp1250("Disk je jen pro čtení.")};
        case WriteFailure::NoFolder:
            return {false, utf8ToCp1250("Složka neexistuje.")};
        case WriteFailure::IsFolder:
            return {false, utf8ToCp1250("Je to složka, ne soubor.")};
        case WriteFailure::InUse:
            return {false, utf8ToCp1250("Soubor má otevřený jiný program.")};
        case WriteFailure::Other:
            break;
    }
    return {false, utf8ToCp1250("Chyba zápisu (kód ") + std::to_string(code) + ")."};
}

}  // namespace system_files

std::unique_ptr<TextInput> openTextFileForReading(const std::string& path) {
    std::FILE* file = system_files::openRegularFile(path, nullptr);
    if (file == nullptr) {
        return nullptr;
    }
    return std::make_unique<FileTextInput>(file);
}

std::optional<FileBytes> readRegularFile(const std::string& path, std::size_t limit) {
    std::uint64_t size = 0;
    std::FILE* opened = system_files::openRegularFile(path, &size);
    if (opened == nullptr) {
        return std::nullopt;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(opened, std::fclose);
    // The bytes go straight into the string, not through a buffer of the C library.
    std::setvbuf(opened, nullptr, _IONBF, 0);
    FileBytes file;
    // The size is a first guess only: a file may grow or shrink while it is read. What comes after
    // it goes through a small buffer, so that the common case reads no further than the end.
    file.bytes.resize(static_cast<std::size_t>(
        std::min<std::uint64_t>(size, std::min<std::uint64_t>(limit, file.bytes.max_size()))));
    std::size_t filled = 0;
    char more[4096];
    while (true) {
        const bool guessed = filled < file.bytes.size();
        char* into = guessed ? file.bytes.data() + filled : more;
        const std::size_t room = guessed ? file.bytes.size() - filled : sizeof more;
        const std::size_t count = std::fread(into, 1, room, opened);
        if (count == 0) {
            file.whole = std::ferror(opened) == 0;
            break;
        }
        if (!guessed) {
            const std::size_t kept = std::min(count, limit - std::min(limit, filled));
            file.bytes.resize(filled);
            file.bytes.append(more, kept);
            if (kept < count) {
                file.whole = false;
                break;
            }
        }
        filled += count;
    }
    file.bytes.resize(std::min(filled, file.bytes.size()));
    return file;
}

bool isReadableFile(const std::string& path) {
    std::FILE* file = system_files::openRegularFile(path, nullptr);
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

WriteOutcome writeTextFileAtomically(const std::string& path, const std::string& text) {
    return writeFileAtomically(path, toSystemLineEnds(text));
}

}  // namespace zeb
