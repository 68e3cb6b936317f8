#pragma once

#include <string>
#include <string_view>

#include "platform/cp1250.h"
#include "platform/windows_text.h"

namespace zeb::win32 {

// The core keeps its texts as Windows-1250 bytes; the window shows them through the wide API, read
// by the core's own table, so that a byte the code page leaves undefined shows as in the Qt window.
inline std::wstring fromCore(std::string_view bytes) {
    return widen(cp1250ToUtf8(bytes));
}

// What the evaluator typed, as the core's bytes. A character without a byte in the code page
// becomes '?', as on every other front end, never a look-alike letter.
inline std::string toCore(std::wstring_view text) {
    return utf8ToCp1250(narrow(text));
}

// A control's or window's whole text.
inline std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace zeb::win32
