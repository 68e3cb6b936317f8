#include "win32/file_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace zeb::win32 {

namespace {

// The dialogs name their masks as the window's dialogs on every system do.
constexpr wchar_t kLogFilter[] = L"Deník cabrillo (*.cbr)\0*.cbr\0Všechny soubory (*.*)\0*.*\0";
constexpr wchar_t kProtocolFilter[] =
    L"Protokol o výpočtu (*.prn)\0*.prn\0Všechny soubory (*.*)\0*.*\0";
constexpr wchar_t kConfigFilter[] =
    L"Konfigurace sloupců (*.ini)\0*.ini\0Všechny soubory (*.*)\0*.*\0";

bool isMask(const std::wstring& name) {
    return name.find_first_of(L"*?") != std::wstring::npos;
}

}  // namespace

std::optional<std::string> FileDialogs::openLog(HWND owner, const std::string& preset) {
    return show(owner, {false, L"Načti deník", kLogFilter, nullptr}, preset);
}

std::optional<std::string> FileDialogs::saveProtocol(HWND owner, const std::string& preset) {
    return show(owner, {true, L"Ulož výsledek", kProtocolFilter, L"prn"}, preset);
}

std::optional<std::string> FileDialogs::saveConfig(HWND owner, const std::string& preset) {
    return show(owner, {true, L"Ulož konfiguraci", kConfigFilter, L"ini"}, preset);
}

std::optional<std::string> FileDialogs::openConfig(HWND owner, const std::string& preset) {
    return show(owner, {false, L"Načti konfiguraci", kConfigFilter, nullptr}, preset);
}

std::optional<std::string> FileDialogs::show(HWND owner, const Kind& kind,
                                             const std::string& preset) {
    const std::wstring name = widen(preset);
    // Room for any path that the wide API takes.
    std::vector<wchar_t> file(32768, L'\0');
    name.copy(file.data(), std::min(name.size(), file.size() - 1));

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kind.filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = kind.title;
    // A name typed without a suffix gets the mask's, so that the file shows in the dialog that
    // opens it again.
    dialog.lpstrDefExt = kind.defaultExtension;
    if (isMask(name) && !lastFolder_.empty()) {
        dialog.lpstrInitialDir = lastFolder_.c_str();
    }
    // The protocol save asks its own question before it overwrites, and a configuration is
    // overwritten without one. The program's own current folder never changes.
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   OFN_PATHMUSTEXIST | (kind.save ? 0 : OFN_FILEMUSTEXIST);
    const BOOL chosen = kind.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) {
        return std::nullopt;
    }
    const std::wstring path(file.data());
    lastFolder_ = path.substr(0, dialog.nFileOffset);
    return narrow(path);
}

}  // namespace zeb::win32
