#pragma once

#include <optional>
#include <string>

#include "platform/windows_text.h"

namespace zeb::win32 {

// The four file dialogs of the form, the system's own. Each shows `preset` in its file name box (a
// mask such as "*.cbr", or the file chosen in that dialog before; UTF-8) and returns the chosen
// file's path in UTF-8, or nothing when the evaluator cancelled.
class FileDialogs {
  public:
    std::optional<std::string> openLog(HWND owner, const std::string& preset);
    std::optional<std::string> saveProtocol(HWND owner, const std::string& preset);
    std::optional<std::string> saveConfig(HWND owner, const std::string& preset);
    std::optional<std::string> openConfig(HWND owner, const std::string& preset);

  private:
    struct Kind {
        bool save;
        const wchar_t* title;
        const wchar_t* filter;  // pairs of texts ended by a NUL each, the whole by another NUL
        const wchar_t* defaultExtension;
    };
    std::optional<std::string> show(HWND owner, const Kind& kind, const std::string& preset);

    // Where the last accepted dialog was, so that a dialog preset with a bare mask opens there.
    std::wstring lastFolder_;
};

}  // namespace zeb::win32
