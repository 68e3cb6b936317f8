#pragma once

#include <string>
#include <string_view>

#include "platform/windows_text.h"

namespace zeb::win32 {

// The core keeps its texts as Windows-1250 bytes; the window shows them through the wide API.
inline std::wstring fromCore(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(1250, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(1250, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

// What the evaluator typed, as the core's bytes. A character without a byte in the code page
// becomes '?', as on every other front end, never a look-alike letter.
inline std::string toCore(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(1250, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr,
                                           0, "?", nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(1250, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length, "?",
                        nullptr);
    return bytes;
}

// A control's or window's whole text.
inline std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace zeb::win32
