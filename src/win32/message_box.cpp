// The program's message dialogs on Windows.
//
// MessageBoxW offers no set of "&Abort" alone nor of "&Abort" and "&Ignore", and it captions its
// buttons in the system's language: a Czech Windows shows "Storno" for "Cancel". Only "OK" reads
// the same everywhere, so a dialog with "OK" alone is the system's message box and every other set
// is a small dialog of this file, laid out as the system lays out its own: icon, text, the buttons
// on the right below. A task dialog could caption its buttons too, but it draws them where no
// window message reaches them, and neither an evaluator's screen reader nor the tests that answer
// the dialogs could find them; the buttons here are ordinary buttons with the ids the system's
// message box gives its own (IDOK, IDCANCEL, IDABORT, IDIGNORE) and the text is a static control
// with its text's id (0xFFFF), so the two kinds are read and answered alike.

#include "win32/message_box.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "win32/windows_1250.h"

namespace zeb::win32 {

namespace {

constexpr WORD kTextId = 0xFFFF;
constexpr WORD kIconId = 0x14;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;

struct Button {
    WORD id;
    std::wstring caption;
    DialogButton answer;
};

std::vector<Button> buttonsOf(DialogButtons set) {
    switch (set) {
        case DialogButtons::Ok:
            return {{IDOK, L"OK", DialogButton::Ok}};
        case DialogButtons::Abort:
            return {{IDABORT, L"&Abort", DialogButton::Abort}};
        case DialogButtons::OkCancel:
            return {{IDOK, L"OK", DialogButton::Ok}, {IDCANCEL, L"Cancel", DialogButton::Cancel}};
        case DialogButtons::AbortIgnore:
            return {{IDABORT, L"&Abort", DialogButton::Abort},
                    {IDIGNORE, L"&Ignore", DialogButton::Ignore}};
    }
    return {};
}

DialogButton answerWhenClosed(DialogButtons set) {
    switch (set) {
        case DialogButtons::Ok:
            return DialogButton::Ok;
        case DialogButtons::Abort:
            return DialogButton::Abort;
        case DialogButtons::OkCancel:
            return DialogButton::Cancel;
        case DialogButtons::AbortIgnore:
            return DialogButton::Ignore;
    }
    return DialogButton::Ok;
}

LPCWSTR iconOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Error:
            return IDI_ERROR;
        case DialogKind::Warning:
            return IDI_WARNING;
        case DialogKind::Confirmation:
            return IDI_QUESTION;
    }
    return IDI_INFORMATION;
}

UINT soundOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Error:
            return MB_ICONERROR;
        case DialogKind::Warning:
            return MB_ICONWARNING;
        case DialogKind::Confirmation:
            return MB_ICONQUESTION;
    }
    return MB_OK;
}

// A dialog template in memory: the dialog manager creates the controls and scales the dialog
// and its font to the screen's resolution; the sizes come later, from the text.
class DialogTemplate {
  public:
    DialogTemplate(DWORD style, const std::wstring& title, WORD fontPoints,
                   const std::wstring& fontFace, WORD items) {
        add32(style);
        add32(0);  // extended style
        add16(items);
        add16(0);  // x, y, width, height
        add16(0);
        add16(0);
        add16(0);
        add16(0);  // no menu
        add16(0);  // the dialog class
        addText(title);
        add16(fontPoints);
        addText(fontFace);
    }

    void addItem(DWORD style, WORD id, WORD windowClass, const std::wstring& text) {
        if (words_.size() % 2 != 0) {
            add16(0);  // every item starts on a DWORD
        }
        add32(style);
        add32(0);
        add16(0);
        add16(0);
        add16(0);
        add16(0);
        add16(id);
        add16(0xFFFF);
        add16(windowClass);
        addText(text);
        add16(0);  // no creation data
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void add16(WORD word) { words_.push_back(word); }
    void add32(DWORD word) {
        add16(LOWORD(word));
        add16(HIWORD(word));
    }
    void addText(const std::wstring& text) {
        for (const wchar_t c : text) {
            add16(static_cast<WORD>(c));
        }
        add16(0);
    }

    std::vector<WORD> words_;
};

struct Box {
    std::wstring title;
    std::wstring text;
    DialogKind kind;
    std::vector<Button> buttons;
};

SIZE textSize(HWND control, const std::wstring& text, int maxWidth, UINT format) {
    const HDC dc = GetDC(control);
    const HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT bounds{0, 0, maxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, format | DT_CALCRECT);
    SelectObject(dc, before);
    ReleaseDC(control, dc);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void layOut(HWND dialog, const Box& box) {
    const UINT dpi = GetDpiForWindow(dialog);
    // The spacings of the system's dialogs, in dialog units: margins of 7, buttons of 50 by 14
    // at least, 4 between two buttons.
    RECT units{7, 7, 50, 14};
    MapDialogRect(dialog, &units);
    RECT gapUnits{4, 0, 0, 0};
    MapDialogRect(dialog, &gapUnits);
    const int margin = units.left;
    const int gap = gapUnits.left;
    const int iconSize = GetSystemMetricsForDpi(SM_CXICON, dpi);

    const HWND text = GetDlgItem(dialog, kTextId);
    const SIZE textExtent = textSize(text, box.text, MulDiv(440, static_cast<int>(dpi), 96),
                                     DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    int buttonWidth = units.right;
    for (const Button& button : box.buttons) {
        const HWND control = GetDlgItem(dialog, button.id);
        buttonWidth = std::max<int>(
            buttonWidth, textSize(control, button.caption, 0, DT_SINGLELINE).cx + 2 * margin);
    }
    const int buttonHeight = units.bottom;
    const int buttonsWidth = static_cast<int>(box.buttons.size()) * (buttonWidth + gap) - gap;

    const int contentHeight = std::max<int>(iconSize, textExtent.cy);
    const int clientWidth =
        std::max<int>(3 * margin + iconSize + textExtent.cx + margin, 2 * margin + buttonsWidth);
    const int buttonsTop = 2 * margin + contentHeight;
    const int clientHeight = buttonsTop + buttonHeight + margin;

    MoveWindow(GetDlgItem(dialog, kIconId), 2 * margin, margin, iconSize, iconSize, FALSE);
    MoveWindow(text, 3 * margin + iconSize, margin + (contentHeight - textExtent.cy) / 2,
               textExtent.cx, textExtent.cy, FALSE);
    int left = clientWidth - margin - buttonsWidth;
    for (const Button& button : box.buttons) {
        MoveWindow(GetDlgItem(dialog, button.id), left, buttonsTop, buttonWidth, buttonHeight,
                   FALSE);
        left += buttonWidth + gap;
    }

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)),
                             FALSE, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)),
                             dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Over the middle of its owner, within the owner's screen.
    const HWND owner = GetWindow(dialog, GW_OWNER);
    RECT over{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : dialog, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    if (owner == nullptr || !GetWindowRect(owner, &over) || IsIconic(owner)) {
        over = monitor.rcWork;
    }
    const RECT& work = monitor.rcWork;
    const int x = std::clamp<int>((over.left + over.right - width) / 2, work.left,
                                  std::max<int>(work.left, work.right - width));
    const int y = std::clamp<int>((over.top + over.bottom - height) / 2, work.top,
                                  std::max<int>(work.top, work.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    // The system's own icon at this resolution's size: a system icon loads only shared, and a
    // shared icon is never destroyed.
    const HANDLE icon =
        LoadImageW(nullptr, iconOf(box.kind), IMAGE_ICON, iconSize, iconSize, LR_SHARED);
    SendDlgItemMessageW(dialog, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

INT_PTR CALLBACK boxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const Box& box = *reinterpret_cast<const Box*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            layOut(dialog, box);
            MessageBeep(soundOf(box.kind));
            SetFocus(GetDlgItem(dialog, box.buttons.front().id));
            return FALSE;  // the focus is set
        }
        case WM_COMMAND: {
            const auto* box = reinterpret_cast<const Box*>(GetWindowLongPtrW(dialog, DWLP_USER));
            const WORD id = LOWORD(wParam);
            const bool isButton =
                std::any_of(box->buttons.begin(), box->buttons.end(),
                            [id](const Button& button) { return button.id == id; });
            // Escape and the close box send IDCANCEL, also where Cancel is no button.
            if (isButton || id == IDCANCEL) {
                EndDialog(dialog, id);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

// The id of the button pressed, IDCANCEL when the box was closed without one.
INT_PTR showBox(HWND owner, const Box& box) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const int systemDpi = static_cast<int>(GetDpiForSystem());
    const auto points =
        static_cast<WORD>(MulDiv(std::abs(metrics.lfMessageFont.lfHeight), 72, systemDpi));

    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                          box.title, points, metrics.lfMessageFont.lfFaceName,
                          static_cast<WORD>(2 + box.buttons.size()));
    dialog.addItem(WS_CHILD | WS_VISIBLE | SS_ICON, kIconId, kStaticClass, L"");
    dialog.addItem(WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kTextId, kStaticClass, box.text);
    for (std::size_t i = 0; i < box.buttons.size(); ++i) {
        const DWORD first = i == 0 ? (WS_GROUP | BS_DEFPUSHBUTTON) : BS_PUSHBUTTON;
        dialog.addItem(WS_CHILD | WS_VISIBLE | WS_TABSTOP | first, box.buttons[i].id, kButtonClass,
                       box.buttons[i].caption);
    }
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, boxProc,
                                   reinterpret_cast<LPARAM>(&box));
}

DialogButton showOwnBox(HWND owner, const std::wstring& text, DialogKind kind,
                        DialogButtons buttons) {
    const Box box{widen(dialogTitle(kind)), text, kind, buttonsOf(buttons)};
    const INT_PTR id = showBox(owner, box);
    for (const Button& button : box.buttons) {
        if (button.id == id) {
            return button.answer;
        }
    }
    return answerWhenClosed(buttons);
}

constexpr WORD kReasonId = 0x100;

// The question of a reason: its text above a line to write on, the answer and Cancel below.
struct Reason {
    std::wstring text;
    std::wstring preset;
    std::wstring written;
};

void layOutReason(HWND dialog, const Reason& reason) {
    const UINT dpi = GetDpiForWindow(dialog);
    RECT units{7, 7, 50, 14};
    MapDialogRect(dialog, &units);
    RECT gapUnits{4, 0, 0, 0};
    MapDialogRect(dialog, &gapUnits);
    const int margin = units.left;
    const int gap = gapUnits.left;
    // Wide enough for a sentence; the file keeps a reason on one line.
    const int width = MulDiv(520, static_cast<int>(dpi), 96);
    const HWND text = GetDlgItem(dialog, kTextId);
    const SIZE extent = textSize(text, reason.text, width, DT_WORDBREAK | DT_NOPREFIX);
    const int editHeight = units.bottom;
    int buttonWidth = units.right;
    for (const WORD id : {WORD{IDOK}, WORD{IDCANCEL}}) {
        const HWND button = GetDlgItem(dialog, id);
        buttonWidth = std::max<int>(
            buttonWidth, textSize(button, windowText(button), 0, DT_SINGLELINE).cx + 2 * margin);
    }
    MoveWindow(text, margin, margin, width, extent.cy, FALSE);
    const int editTop = 2 * margin + extent.cy;
    MoveWindow(GetDlgItem(dialog, kReasonId), margin, editTop, width, editHeight, FALSE);
    const int buttonsTop = editTop + editHeight + margin;
    MoveWindow(GetDlgItem(dialog, IDOK), margin + width - 2 * buttonWidth - gap, buttonsTop,
               buttonWidth, units.bottom, FALSE);
    MoveWindow(GetDlgItem(dialog, IDCANCEL), margin + width - buttonWidth, buttonsTop, buttonWidth,
               units.bottom, FALSE);
    RECT frame{0, 0, width + 2 * margin, buttonsTop + units.bottom + margin};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)),
                             FALSE, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)),
                             dpi);
    RECT over{};
    const HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner == nullptr || !GetWindowRect(owner, &over)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    }
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, (over.left + over.right - frameWidth) / 2,
                 (over.top + over.bottom - frameHeight) / 2, frameWidth, frameHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK reasonProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto& reason = *reinterpret_cast<Reason*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            layOutReason(dialog, reason);
            const HWND edit = GetDlgItem(dialog, kReasonId);
            SetWindowTextW(edit, reason.preset.c_str());
            SetFocus(edit);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND: {
            const WORD id = LOWORD(wParam);
            if (id == IDOK) {
                auto* reason = reinterpret_cast<Reason*>(GetWindowLongPtrW(dialog, DWLP_USER));
                reason->written = windowText(GetDlgItem(dialog, kReasonId));
            }
            if (id == IDOK || id == IDCANCEL) {
                EndDialog(dialog, id);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

std::optional<std::wstring> askReason(HWND owner, const std::wstring& title,
                                      const std::wstring& text, const std::wstring& preset,
                                      const std::wstring& decide, const std::wstring& cancel) {
    Reason reason{text, preset, {}};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const auto points = static_cast<WORD>(
        MulDiv(std::abs(metrics.lfMessageFont.lfHeight), 72, static_cast<int>(GetDpiForSystem())));
    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, title,
                          points, metrics.lfMessageFont.lfFaceName, 4);
    constexpr WORD kEditClass = 0x0081;
    dialog.addItem(WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kTextId, kStaticClass, text);
    dialog.addItem(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kReasonId,
                   kEditClass, L"");
    dialog.addItem(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, IDOK,
                   kButtonClass, decide);
    dialog.addItem(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, kButtonClass,
                   cancel);
    if (DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, reasonProc,
                                reinterpret_cast<LPARAM>(&reason)) != IDOK) {
        return std::nullopt;
    }
    return reason.written;
}

DialogButton showMessageBox(HWND owner, const std::wstring& text, DialogKind kind,
                            DialogButtons buttons) {
    if (buttons != DialogButtons::Ok) {
        return showOwnBox(owner, text, kind, buttons);
    }
    MessageBoxW(owner, text.c_str(), widen(dialogTitle(kind)).c_str(), MB_OK | soundOf(kind));
    return DialogButton::Ok;
}

int showQuestion(HWND owner, const std::wstring& title, const std::wstring& text,
                 const std::vector<QuestionButton>& buttons) {
    Box box{title, text, DialogKind::Confirmation, {}};
    for (const QuestionButton& button : buttons) {
        box.buttons.push_back({button.id, button.caption, DialogButton::Ok});
    }
    return static_cast<int>(showBox(owner, box));
}

void showExceptionBox(HWND owner, const char* what) {
    MessageBoxW(owner, widen(what).c_str(), L"zebcontest", MB_OK | MB_ICONERROR);
}

}  // namespace zeb::win32
