#pragma once

// What the drivers of zebcontest.exe share: their checks and waits, and the windows they find by
// class, caption and control id, every wait polling with a deadline.

#include "platform/windows_text.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zeb::test {

using zeb::narrow;
using zeb::widen;

inline int failures = 0;
inline int checks = 0;

// A fault after which the round cannot go on.
struct Stop : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline auto roundStart = std::chrono::steady_clock::now();

// What the driver is doing, so that a failure's log tells where it came.
inline void step(const char* what) {
    const std::chrono::duration<double> since = std::chrono::steady_clock::now() - roundStart;
    std::printf("%6.1f s  %s\n", since.count(), what);
    std::fflush(stdout);
}

inline void check(bool ok, const std::string& what) {
    ++checks;
    if (!ok) {
        ++failures;
        std::printf("FAIL: %s\n", what.c_str());
        std::fflush(stdout);
    }
}

inline void checkEqual(const std::wstring& actual, const std::wstring& expected,
                       const std::string& what) {
    check(actual == expected,
          what + ": \"" + narrow(actual) + "\", expected \"" + narrow(expected) + "\"");
}

// Polls until `probe` gives something, for at most `seconds`.
template <typename Probe>
auto waitFor(const std::string& what, Probe probe, double seconds = 30) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    for (;;) {
        if (auto found = probe()) {
            return found;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            throw Stop("gave up waiting for " + what);
        }
        Sleep(20);
    }
}

inline std::wstring textOf(HWND window) {
    std::wstring text(8192, L'\0');
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 10000, &length)) {
        return L"<no answer>";
    }
    text.resize(length);
    return text;
}

inline std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

inline HWND childById(HWND parent, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(child) == s->id) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A visible top-level window of the process with the class and, when given, the caption.
inline HWND topWindow(DWORD process, const std::wstring& windowClass,
                      const std::optional<std::wstring>& caption = std::nullopt) {
    struct Search {
        DWORD process;
        const std::wstring& windowClass;
        const std::optional<std::wstring>& caption;
        HWND found;
    } search{process, windowClass, caption, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->process && IsWindowVisible(window) &&
                classOf(window) == s->windowClass &&
                (!s->caption || textOf(window) == *s->caption)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::string fileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::wstring fullPath(const std::wstring& name) {
    wchar_t path[MAX_PATH] = {};
    GetFullPathNameW(name.c_str(), MAX_PATH, path, nullptr);
    return path;
}

// The file name box of a file dialog: a combo box (cmb13) holding an edit, or an edit of its own
// (edt1); none while the dialog is still being made.
inline HWND fileNameBox(HWND dialog) {
    const HWND combo = childById(dialog, 0x47C);
    HWND edit = combo != nullptr ? FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
    if (edit == nullptr && combo != nullptr) {
        edit = FindWindowExW(FindWindowExW(combo, nullptr, L"ComboBox", nullptr), nullptr, L"Edit",
                             nullptr);
    }
    return edit != nullptr ? edit : childById(dialog, 0x480);
}

// A message box of the program's process, with its text and the captions of its buttons.
struct MessageBoxSeen {
    HWND window;
    std::wstring text;
    std::vector<std::wstring> buttons;
};

inline MessageBoxSeen messageBoxOf(DWORD process, const std::wstring& title) {
    MessageBoxSeen found{};
    found.window = waitFor("a box \"" + narrow(title) + "\"",
                           [&] { return topWindow(process, L"#32770", title); });
    found.text = textOf(childById(found.window, 0xFFFF));
    for (HWND child = GetWindow(found.window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (classOf(child) == L"Button" && IsWindowVisible(child)) {
            found.buttons.push_back(textOf(child));
        }
    }
    return found;
}

inline void answer(const MessageBoxSeen& box, int button) {
    PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(childById(box.window, button)));
    waitFor("the box to close",
            [&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
}

}  // namespace zeb::test
