// The Win32 form inside the test's own process, for what no other process can reach: a drop hands
// its files to the window of the process it lands in, and the keyboard's place is the thread's own.

#include "win32/tform1.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "support/recording_platform.h"
#include "win32/control_ids.h"
#include "win32/windows_1250.h"

namespace zeb::win32 {
namespace {

class Win32Form : public testing::Test {
  protected:
    void SetUp() override {
        platform.files["C:\\deníky\\party.cbr"] = test::cabrilloLog(
            {test::qsoLine("3520", "OK1AA", "7"), test::qsoLine("3530", "OK2BB", "NM")});
        form.show(SW_SHOWNORMAL);
    }

    // Drops the files onto the form as the shell does: a DROPFILES block in this process.
    void drop(const std::vector<std::wstring>& paths) {
        std::wstring names;
        for (const std::wstring& path : paths) {
            names += path + L'\0';
        }
        const HGLOBAL block =
            GlobalAlloc(GHND, sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t));
        auto* files = static_cast<DROPFILES*>(GlobalLock(block));
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        names.copy(reinterpret_cast<wchar_t*>(files + 1), names.size());
        GlobalUnlock(block);
        SendMessageW(form.handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    }

    HWND control(const char* name) const { return GetDlgItem(form.handle(), controlId(name)); }
    HWND nested(const char* name) const {
        struct Search {
            int id;
            HWND found;
        } search{controlId(name), nullptr};
        EnumChildWindows(
            form.handle(),
            [](HWND child, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                s->found = GetDlgCtrlID(child) == s->id ? child : s->found;
                return s->found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    std::string caption() const { return narrow(windowText(form.handle())); }

    test::RecordingPlatform platform;
    FileDialogs dialogs;
    TForm1 form{GetModuleHandleW(nullptr), platform, dialogs};
};

TEST_F(Win32Form, ADroppedLogIsLoadedAsTheLoadCommandLoadsIt) {
    drop({L"C:\\deníky\\party.cbr"});
    EXPECT_EQ(caption(), "party.cbr");
    EXPECT_EQ(cp1250ToUtf8(form.editText(Edit::cvzor)), "OK1AA     ");
    EXPECT_EQ(narrow(windowText(control("povel"))), "deník načten");
    EXPECT_TRUE(IsWindowEnabled(control("bvypocet")));
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(Win32Form, AFolderOrSeveralLogsGoToTheContestWindowAndOnlyThere) {
    const std::wstring folder = std::filesystem::temp_directory_path().wstring();
    drop({folder});
    drop({L"C:\\deníky\\party.cbr", L"C:\\deníky\\party.cbr"});
    EXPECT_EQ(caption(), "ZEB contest ver. 3.05");  // without an opener nothing opens a contest

    std::vector<std::vector<std::string>> contests;
    form.setContestOpener(
        [&](const std::vector<std::string>& paths) { contests.push_back(paths); });
    drop({folder});
    drop({L"C:\\deníky\\party.cbr", L"C:\\deníky\\party.cbr"});
    ASSERT_EQ(contests.size(), 2u);
    EXPECT_EQ(contests[0], std::vector<std::string>{narrow(folder)});
    EXPECT_EQ(contests[1].size(), 2u);
    EXPECT_EQ(caption(), "ZEB contest ver. 3.05");
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(Win32Form, LeavingAPatternEditForAnotherControlPutsBackTheLineButLeavingTheWindowDoesNot) {
    drop({L"C:\\deníky\\party.cbr"});
    const HWND pattern = nested("cvzor");
    SetFocus(pattern);
    SetWindowTextW(pattern, L"typed over");
    const HWND elsewhere = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                           nullptr, nullptr, nullptr, nullptr);
    SetFocus(elsewhere);
    EXPECT_EQ(narrow(windowText(pattern)), "typed over");
    SetFocus(pattern);
    SetFocus(nested("istart"));
    EXPECT_EQ(narrow(windowText(pattern)), "OK1AA     ");
    DestroyWindow(elsewhere);
}

}  // namespace
}  // namespace zeb::win32
