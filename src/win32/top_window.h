#pragma once

#include <windows.h>

#include <exception>

#include "win32/message_box.h"

namespace zeb::win32 {

// Registers, once, the class `name` of one of the program's own windows: the program's icon, the
// arrow, and the dialog colour behind the controls.
void registerTopWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc);

// At WM_DPICHANGED: the window takes the place and size that the system suggests for the new
// resolution, given in the message's `lParam`.
inline void moveToSuggestedRect(HWND window, LPARAM lParam) {
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// What the window procedure of a window kept by an `Owner` does: the owner, given to
// CreateWindowExW as its last argument, learns its window at WM_NCCREATE, answers every message
// from then on and forgets the window at WM_NCDESTROY; an exception that would cross the system's
// code is shown in a box instead.
template <typename Owner>
LRESULT answerAsOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HWND Owner::*handle,
                      LRESULT (Owner::*answer)(UINT, WPARAM, LPARAM)) {
    if (message == WM_NCCREATE) {
        auto* created =
            static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->*handle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The window's last message: the owner has no window from here on.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        owner->*handle = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return (owner->*answer)(message, wParam, lParam);
    } catch (const std::exception& error) {
        showExceptionBox(window, error.what());
    } catch (...) {
        showExceptionBox(window, "");
    }
    return 0;
}

}  // namespace zeb::win32
