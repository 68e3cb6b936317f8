#include "win32/top_window.h"

#include <stdexcept>

#include "win32/resources.h"
#include "win32/windows_1250.h"

namespace zeb::win32 {

void registerTopWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name, &existing)) {
        return;
    }
    const auto icon = [instance](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(ZEB_ICON), IMAGE_ICON,
                                             GetSystemMetrics(width), GetSystemMetrics(height),
                                             LR_SHARED));
    };
    WNDCLASSEXW window{};
    window.cbSize = sizeof window;
    window.lpfnWndProc = proc;
    window.hInstance = instance;
    window.hIcon = icon(SM_CXICON, SM_CYICON);
    window.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    window.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window.lpszClassName = name;
    if (RegisterClassExW(&window) == 0) {
        throw std::runtime_error("the window class " + narrow(name) + " cannot be registered");
    }
}

}  // namespace zeb::win32
