// The file services on Windows. Every name goes through the wide-character API, so that UTF-8 names
// of any letters work whatever the system's code page.

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <vector>

#include "platform/file_set.h"
#include "platform/std_files.h"
#include "platform/system_files.h"
#include "platform/windows_text.h"

namespace zeb {

namespace system_files {

std::FILE* openRegularFile(const std::string& path, std::uint64_t* size) {
    // Others may go on reading, writing, renaming or deleting the file while it is read, as they
    // may on POSIX systems.
    const HANDLE handle = CreateFileW(widen(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    // Pipes, consoles and devices (NUL, COM1) are no logs.
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(handle);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "rb");
    if (file == nullptr) {
        _close(fd);
        return nullptr;
    }
    if (size != nullptr) {
        *size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    }
    return file;
}

}  // namespace system_files

namespace {

using system_files::WriteFailure;

// ERROR_DISK_QUOTA_EXCEEDED, which the headers of mingw-w64 lack.
constexpr DWORD kDiskQuotaExceeded = 1295;

WriteOutcome failure(DWORD error) {
    switch (error) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
        case kDiskQuotaExceeded:
            return system_files::failure(WriteFailure::NoSpace, error);
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return system_files::failure(WriteFailure::NoPermission, error);
        case ERROR_WRITE_PROTECT:
            return system_files::failure(WriteFailure::ReadOnlyDisk, error);
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return system_files::failure(WriteFailure::NoFolder, error);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            // A results table still open in a spreadsheet, as a rule.
            return system_files::failure(WriteFailure::InUse, error);
        default:
            return system_files::failure(WriteFailure::Other, static_cast<long>(error));
    }
}

WriteOutcome lastFailure() {
    return failure(GetLastError());
}

bool writeAll(HANDLE handle, const std::string& content) {
    constexpr std::size_t kMostAtOnce = 1 << 30;
    std::size_t written = 0;
    while (written < content.size()) {
        const auto portion = static_cast<DWORD>(std::min(content.size() - written, kMostAtOnce));
        DWORD count = 0;
        if (!WriteFile(handle, content.data() + written, portion, &count, nullptr)) {
            return false;
        }
        written += count;
    }
    return true;
}

// NUL, CON, COM1 or a pipe: a name that no file can replace.
bool namesDevice(const std::wstring& path) {
    const HANDLE handle =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool device = GetFileType(handle) != FILE_TYPE_DISK;
    CloseHandle(handle);
    return device;
}

WriteOutcome writeDirectly(const std::wstring& path, const std::string& content) {
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return lastFailure();
    }
    const bool written = writeAll(handle, content);
    const DWORD error = GetLastError();
    CloseHandle(handle);
    return written ? WriteOutcome{} : failure(error);
}

// The folder part of a path with its separator ("out\", "C:"), empty for a bare name.
std::wstring folderPrefixOf(const std::wstring& path) {
    const std::size_t end = path.find_last_of(L"\\/:");
    return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

// A new, empty file beside the target that nobody else has opened.
HANDLE createTemporaryBeside(const std::wstring& target, std::wstring& name) {
    static unsigned counter = 0;
    const std::wstring folder = folderPrefixOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t suffix[32];
        swprintf(suffix, sizeof suffix / sizeof suffix[0], L".zeb-%lx-%x",
                 static_cast<unsigned long>(GetCurrentProcessId()), ++counter);
        name = folder + suffix;
        const HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return handle;
        }
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

WriteOutcome writeFileAtomically(const std::string& path, const std::string& content) {
    const std::wstring target = widen(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return system_files::failure(WriteFailure::IsFolder, ERROR_DIRECTORY);
    }
    if (namesDevice(target)) {
        return writeDirectly(target, content);
    }
    std::wstring temporary;
    const HANDLE handle = createTemporaryBeside(target, temporary);
    if (handle == INVALID_HANDLE_VALUE) {
        return lastFailure();
    }
    if (!writeAll(handle, content) || !FlushFileBuffers(handle)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        DeleteFileW(temporary.c_str());
        return failure(error);
    }
    CloseHandle(handle);
    // One rename that replaces the target at once. ReplaceFileW would keep the target's
    // attributes, but one of its failures leaves the target gone and the new file beside it.
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        return failure(error);
    }
    return {};
}

WriteOutcome makeFolders(const std::string& path) {
    std::wstring folder = widen(path);
    while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) {
        folder.pop_back();
    }
    // The missing folders, innermost first, down to the first one that exists.
    std::vector<std::wstring> missing;
    std::wstring existing = folder;
    while (!existing.empty()) {
        const DWORD attributes = GetFileAttributesW(existing.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                // A file of that name, or of a parent's, is no folder to write into.
                return system_files::failure(WriteFailure::NoFolder, ERROR_DIRECTORY);
            }
            break;
        }
        missing.push_back(existing);
        const std::size_t separator = existing.find_last_of(L"\\/");
        if (separator == std::wstring::npos || separator == 0 || existing[separator - 1] == L':') {
            break;
        }
        existing.resize(separator);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!CreateDirectoryW(it->c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            return lastFailure();
        }
    }
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return system_files::failure(WriteFailure::NoFolder, ERROR_DIRECTORY);
    }
    return {};
}

std::string toSystemLineEnds(std::string text) {
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    return crlf;
}

bool existsOtherThanFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    // Opening follows symbolic links, as stat() does; no access is asked, so a file that others
    // hold open is still known.
    const HANDLE handle =
        CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!known) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

}  // namespace zeb
