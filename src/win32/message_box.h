#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/windows_text.h"

namespace zeb::win32 {

// The program's message dialog, modal over `owner`: its title is "Error", "Warning" or "Confirm",
// its buttons exactly the set asked for. Closing it without a button gives the harmless answer:
// Cancel before an overwrite, Ignore rather than ending the program.
DialogButton showMessageBox(HWND owner, const std::wstring& text, DialogKind kind,
                            DialogButtons buttons);

// A question of the program's own, laid out as the message dialog: its buttons in their order, the
// first the default. The id of the button pressed; IDCANCEL when it was closed without one.
struct QuestionButton {
    WORD id;
    std::wstring caption;
};
int showQuestion(HWND owner, const std::wstring& title, const std::wstring& text,
                 const std::vector<QuestionButton>& buttons);

// The evaluator's reason for a decision, written on one line under `text`, with `preset` in it at
// first; `decide` and `cancel` caption the buttons. Nothing when it was cancelled or closed.
std::optional<std::wstring> askReason(HWND owner, const std::wstring& title,
                                      const std::wstring& text, const std::wstring& preset,
                                      const std::wstring& decide, const std::wstring& cancel);

// The box for an exception that escaped a handler; `what` is the exception's message.
void showExceptionBox(HWND owner, const char* what);

}  // namespace zeb::win32
