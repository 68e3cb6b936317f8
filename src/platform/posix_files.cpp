// The file services on POSIX systems.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/file_set.h"
#include "platform/std_files.h"
#include "platform/system_files.h"

namespace zeb {

namespace system_files {

std::FILE* openRegularFile(const std::string& path, std::uint64_t* size) {
    // Opened without blocking, so that a FIFO or device named as a log cannot hang the program;
    // only regular files are logs.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return nullptr;
    }
    if (size != nullptr) {
        *size = static_cast<std::uint64_t>(std::max<off_t>(info.st_size, 0));
    }
    return file;
}

}  // namespace system_files

namespace {

using system_files::WriteFailure;

WriteOutcome failure(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return system_files::failure(WriteFailure::NoSpace, error);
        case EACCES:
        case EPERM:
            return system_files::failure(WriteFailure::NoPermission, error);
        case EROFS:
            return system_files::failure(WriteFailure::ReadOnlyDisk, error);
        case ENOENT:
        case ENOTDIR:
            return system_files::failure(WriteFailure::NoFolder, error);
        case EISDIR:
            return system_files::failure(WriteFailure::IsFolder, error);
        default:
            return system_files::failure(WriteFailure::Other, error);
    }
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

std::string toSystemLineEnds(std::string text) {
    return text;
}

bool existsOtherThanFolder(const std::string& path) {
    struct stat existing {};
    return ::lstat(path.c_str(), &existing) == 0 && !S_ISDIR(existing.st_mode);
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    // stat() follows symbolic links: a link that names a file is that file.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), 0,
                        static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace zeb
