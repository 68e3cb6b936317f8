#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/windows_text.h"

namespace zeb::win32 {

// The program's message dialog, modal over `owner`: its title is "Error", "Warning" or "Confirm",
// its buttons exactly the set asked for. Closing it without a button gives the harmless answer:
// Cancel before an overwrite, Ignore rather than ending the program.
DialogButton showMessageBox(HWND owner, const std::wstring& text, DialogKind kind,
                            DialogButtons buttons);

// The box for an exception that escaped a handler; `what` is the exception's message.
void showExceptionBox(HWND owner, const char* what);

}  // namespace zeb::win32
