#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zeb {

// Every file name the program handles is UTF-8 text. A std::filesystem::path made from a plain
// std::string reads it in the system's narrow code page, which on Windows is not UTF-8: paths are
// made and read back through char8_t, which means UTF-8 on every system.
inline std::filesystem::path pathFromUtf8(std::string_view name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

inline std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

// The path with slashes whatever the system, as the link of a web page wants it.
inline std::string utf8WithSlashes(const std::filesystem::path& path) {
    const std::u8string name = path.generic_u8string();
    return std::string(name.begin(), name.end());
}

// FOLDER/NAME. On Windows a folder goes on with its system's backslash, unless it is written with
// slashes (a path a script or a test builds), which it goes on with; elsewhere with a slash. The
// person reading the paths in the messages and the JSON reads them as the system writes them.
inline std::string pathInFolder(std::string_view folder, std::string_view name) {
    constexpr bool windows = std::filesystem::path::preferred_separator == L'\\';
    std::string path(folder);
    if (!path.empty()) {
        const char last = path.back();
        const bool separated = last == '/' || (windows && (last == '\\' || last == ':'));
        const bool backslashes = windows && path.find('/') == std::string::npos;
        if (!separated) {
            path += backslashes ? '\\' : '/';
        }
    }
    path += name;
    return path;
}

}  // namespace zeb
