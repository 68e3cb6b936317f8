#pragma once

#include <optional>
#include <string>

#include "platform/windows_text.h"

namespace zeb::win32 {

// The system's folder dialog, titled `title` (UTF-8) and opened at `start` when it is a folder:
// the chosen folder's path in UTF-8, or nothing when the evaluator cancelled.
std::optional<std::string> chooseFolder(HWND owner, const std::string& title,
                                        const std::string& start);

}  // namespace zeb::win32
