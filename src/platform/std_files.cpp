#include "platform/std_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/cp1250.h"

namespace zeb {

namespace {

std::string reasonFor(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return utf8ToCp1250("Na disku není dost místa.");
        case EACCES:
        case EPERM:
            return utf8ToCp1250("Chybí oprávnění k zápisu.");
        case EROFS:
            return utf8ToCp1250("Disk je jen pro čtení.");
        case ENOENT:
        case ENOTDIR:
            return utf8ToCp1250("Složka neexistuje.");
        case EISDIR:
            return utf8ToCp1250("Je to složka, ne soubor.");
        default:
            return utf8ToCp1250("Chyba zápisu (kód ") + std::to_string(error) + ").";
    }
}

WriteOutcome failure(int error) {
    return {false, reasonFor(error)};
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t newFileMode(const std::string& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        return existing.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, const std::string& content) {
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

WriteOutcome writeDirectly(const std::string& path, const std::string& content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return failure(errno);
    }
    if (!writeAll(fd, content)) {
        const int error = errno;
        ::close(fd);
        return failure(error);
    }
    if (::close(fd) != 0) {
        return failure(errno);
    }
    return {};
}

}  // namespace

namespace {

// Opened without blocking, so that a FIFO or device named as a log cannot hang the program; only
// regular files are logs. A descriptor, or -1.
int openRegularFile(const std::string& path, struct stat* status) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    if (status != nullptr) {
        *status = info;
    }
    return fd;
}

}  // namespace

std::unique_ptr<TextInput> openTextFileForReading(const std::string& path) {
    const int fd = openRegularFile(path, nullptr);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FileTextInput>(file);
}

std::optional<FileBytes> readRegularFile(const std::string& path, std::size_t limit) {
    struct stat info {};
    const int fd = openRegularFile(path, &info);
    if (fd < 0) {
        return std::nullopt;
    }
    FileBytes file;
    // The size is a first guess only: a file may grow or shrink while it is read. What comes after
    // it goes through a small buffer, so that the common case reads no further than the end.
    file.bytes.resize(std::min(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)), limit));
    std::size_t filled = 0;
    char more[4096];
    while (true) {
        const bool guessed = filled < file.bytes.size();
        char* into = guessed ? file.bytes.data() + filled : more;
        const std::size_t room = guessed ? file.bytes.size() - filled : sizeof more;
        const ssize_t got = ::read(fd, into, room);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            file.whole = got == 0;
            break;
        }
        const auto count = static_cast<std::size_t>(got);
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
    ::close(fd);
    file.bytes.resize(std::min(filled, file.bytes.size()));
    return file;
}

bool isReadableFile(const std::string& path) {
    return openTextFileForReading(path) != nullptr;
}

WriteOutcome writeFileAtomically(const std::string& path, const std::string& content) {
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode)) {
        if (S_ISDIR(target.st_mode)) {
            return failure(EISDIR);
        }
        // A device or pipe (/dev/stdout, a FIFO) cannot be replaced: it is written directly.
        return writeDirectly(path, content);
    }
    const std::string directory = directoryOf(path);
    std::string pattern = directory + "/.zeb-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return failure(errno);
    }
    const std::string temporary(name.data());
    const auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return failure(error);
    };
    if (!writeAll(fd, content)) {
        return abandon(errno);
    }
    if (::fchmod(fd, newFileMode(path)) != 0 || ::fsync(fd) != 0) {
        return abandon(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return failure(error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return failure(error);
    }
    return {};
}

WriteOutcome makeFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        return {};
    }
    // A file of that name, or of a parent's, is no folder to write into.
    return failure(!error || error.value() == EEXIST ? ENOTDIR : error.value());
}

}  // namespace zeb
