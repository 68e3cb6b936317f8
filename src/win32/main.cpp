// zebcontest.exe: the form TForm1 on Windows, and the window of a whole contest. Started on its own
// it shows the empty form; a log dropped onto the program's icon arrives as its argument and is
// loaded at once; a folder of logs, or more than one log, or "--contest" (which asks for the
// folder) opens the contest window instead, and the form comes up only when a log is opened in it
// from there.

// windows.h first, which the other system headers assume.
#include "platform/windows_text.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "form/start_arguments.h"
#include "platform/translation.h"
#include "win32/contest_window.h"
#include "win32/file_dialogs.h"
#include "win32/message_box.h"
#include "win32/tform1.h"
#include "win32/win32_platform.h"

namespace {

// The arguments, the program's name first, from the wide command line, as UTF-8.
std::vector<std::string> arguments() {
    std::vector<std::string> paths;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        return paths;
    }
    for (int i = 0; i < count; ++i) {
        paths.push_back(zeb::narrow(words[i]));
    }
    LocalFree(words);
    return paths;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                     ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS;
    InitCommonControlsEx(&controls);
    // Before any text is made; the form's texts are Czech whatever the language.
    zeb::useUserLanguage();
    try {
        const zeb::StartArguments start = zeb::readStartArguments(arguments());
        // A program without a console answers in a box.
        switch (start.request) {
            case zeb::StartRequest::Help:
                MessageBoxW(nullptr, zeb::widen(zeb::zebcontestHelp(false)).c_str(), L"zebcontest",
                            MB_OK | MB_ICONINFORMATION);
                return 0;
            case zeb::StartRequest::Version:
                MessageBoxW(nullptr, zeb::widen("zebcontest " ZEB_VERSION).c_str(), L"zebcontest",
                            MB_OK | MB_ICONINFORMATION);
                return 0;
            case zeb::StartRequest::UsageError:
                MessageBoxW(nullptr,
                            zeb::widen(start.error + "\n" +
                                       zeb::tr("Try 'zebcontest --help' for more information."))
                                .c_str(),
                            L"zebcontest", MB_OK | MB_ICONERROR);
                return 1;
            default:
                break;
        }
        const bool contestWindow = start.request == zeb::StartRequest::Contest;
        const std::vector<std::string>& paths = start.paths;

        zeb::win32::Win32Platform platform;
        zeb::win32::FileDialogs fileDialogs;
        zeb::win32::TForm1 form(instance, platform, fileDialogs);
        platform.setDialogOwner(form.handle());
        zeb::win32::ContestWindow contest(instance, form);
        // The form on its own ends the program as it always has; beside the contest window it
        // closes and the evaluator is back there.
        platform.setEndHook([&contest](int) { return contest.closeFormInsteadOfEnding(); });
        form.setCloseHook([&contest] { return contest.hideClosedForm(); });
        form.setContestOpener([&contest](const std::vector<std::string>& dropped) {
            contest.show();
            contest.openPaths(dropped);
        });
        if (contestWindow) {
            contest.show(showCommand);
            if (paths.empty()) {
                contest.chooseLogsFolder();
            } else {
                contest.openPaths(paths);
            }
        } else {
            form.show(showCommand);
            form.openPaths(paths);
        }
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (form.takeKey(message) || IsDialogMessageW(contest.handle(), &message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    } catch (const std::exception& error) {
        zeb::win32::showExceptionBox(nullptr, error.what());
    } catch (...) {
        zeb::win32::showExceptionBox(nullptr, "");
    }
    return 0;
}
