// zebcontest.exe: the form TForm1 on Windows. Started on its own it shows the empty form; a log
// dropped onto the program's icon arrives as its argument and is loaded at once.

// windows.h first, which the other system headers assume.
#include "platform/windows_text.h"

#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "win32/file_dialogs.h"
#include "win32/message_box.h"
#include "win32/tform1.h"
#include "win32/win32_platform.h"

namespace {

// The arguments after the program's name, from the wide command line, as UTF-8.
std::vector<std::string> arguments() {
    std::vector<std::string> paths;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        return paths;
    }
    for (int i = 1; i < count; ++i) {
        paths.push_back(zeb::narrow(words[i]));
    }
    LocalFree(words);
    return paths;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    try {
        zeb::win32::Win32Platform platform;
        zeb::win32::FileDialogs fileDialogs;
        zeb::win32::TForm1 form(instance, platform, fileDialogs);
        platform.setDialogOwner(form.handle());
        form.show(showCommand);
        form.openPaths(arguments());
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!form.takeKey(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    } catch (const std::exception& error) {
        zeb::win32::showExceptionBox(nullptr, error.what());
    } catch (...) {
        zeb::win32::showExceptionBox(nullptr, "");
    }
    return 0;
}
