#include "win32/tform1.h"

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "form/start_arguments.h"
#include "intake/column_config_file.h"
#include "intake/load_command.h"
#include "platform/cp1250.h"
#include "scoring/scoring_passes.h"
#include "state/window_logic.h"
#include "win32/control_ids.h"
#include "win32/message_box.h"
#include "win32/resources.h"
#include "win32/top_window.h"
#include "win32/windows_1250.h"

namespace zeb::win32 {

namespace {

std::wstring withCrLf(const std::wstring& text) {
    std::wstring lines;
    for (const wchar_t c : text) {
        if (c == L'\n') {
            lines += L'\r';
        }
        lines += c;
    }
    return lines;
}

// A page or a group box: a window that holds controls and hands their notifications to the form.
// As a dialog it takes the background of the page control's body under a visual style.
const DLGTEMPLATE* containerTemplate() {
    // No menu, the dialog class, no title, no controls of its own.
    struct alignas(4) Empty {
        DLGTEMPLATE header;
        WORD menu;
        WORD windowClass;
        WORD title;
    };
    static const Empty container{
        {DS_CONTROL | WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, 0, 0}, 0, 0, 0};
    return &container.header;
}

}  // namespace

TForm1::TForm1(HINSTANCE instance, Platform& platform, FileDialogs& fileDialogs)
    : state_(makeEvaluationState()), platform_(platform), fileDialogs_(fileDialogs) {
    registerTopWindowClass(instance, kFormClass, formProc);
    const FormDescription& form = formDescription();
    CreateWindowExW(0, kFormClass, fromCore(form.caption).c_str(),
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, form.left, form.top, form.width,
                    form.height, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("the window of the form cannot be created");
    }
    dpi_ = GetDpiForWindow(window_);
    if (dpi_ != 96) {
        SetWindowPos(window_, nullptr, 0, 0, scale(form.width), scale(form.height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    createControls(instance);
    makeFonts();
    layOut();
    fitMemos();
    syncPages();
    DragAcceptFiles(window_, TRUE);
    FormCreate();
}

TForm1::~TForm1() {
    if (window_ != nullptr) {
        // The window goes without the form's handlers: the form is no longer there to run them.
        const HWND window = window_;
        window_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    for (const auto& [points, font] : fonts_) {
        DeleteObject(font);
    }
}

void TForm1::show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    SetFocus(byName("PageControl1"));
}

void TForm1::hide() {
    ShowWindow(window_, SW_HIDE);
}

bool TForm1::shown() const {
    return window_ != nullptr && IsWindowVisible(window_);
}

// The controls.

void TForm1::createControls(HINSTANCE instance) {
    const FormDescription& form = formDescription();
    for (const FormControl& c : form.controls) {
        const HWND parent = c.parent == kFormName ? window_ : byName(c.parent);
        const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(c.name)));
        const std::wstring caption = fromCore(c.caption);
        const DWORD child = WS_CHILD | WS_VISIBLE;
        HWND created = nullptr;
        switch (c.kind) {
            case ControlKind::PageControl:
                created = CreateWindowExW(0, WC_TABCONTROLW, L"",
                                          child | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                                          0, 0, 0, parent, id, instance, nullptr);
                SetWindowSubclass(created, pageControlProc, 0, reinterpret_cast<DWORD_PTR>(this));
                break;
            case ControlKind::Page: {
                created = createContainer(instance, parent, c);
                TCITEMW tab{};
                tab.mask = TCIF_TEXT;
                std::wstring text = caption;
                tab.pszText = text.data();
                const auto count = static_cast<int>(SendMessageW(parent, TCM_GETITEMCOUNT, 0, 0));
                SendMessageW(parent, TCM_INSERTITEMW, static_cast<WPARAM>(count),
                             reinterpret_cast<LPARAM>(&tab));
                break;
            }
            case ControlKind::GroupBox:
                created = createContainer(instance, parent, c);
                ShowWindow(created, SW_SHOW);
                groupFrames_[created] =
                    CreateWindowExW(0, WC_BUTTONW, caption.c_str(), child | BS_GROUPBOX, 0, 0, 0, 0,
                                    created, nullptr, instance, nullptr);
                break;
            case ControlKind::Label:
                created = CreateWindowExW(0, WC_STATICW, caption.c_str(),
                                          child | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 0, 0, 0,
                                          parent, id, instance, nullptr);
                break;
            case ControlKind::Edit:
                created = CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, caption.c_str(),
                                          child | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0, parent,
                                          id, instance, nullptr);
                break;
            case ControlKind::Button:
                created = CreateWindowExW(0, WC_BUTTONW, caption.c_str(),
                                          child | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, parent,
                                          id, instance, nullptr);
                break;
            case ControlKind::CheckBox:
                created = CreateWindowExW(0, WC_BUTTONW, caption.c_str(),
                                          child | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0, 0, 0, parent,
                                          id, instance, nullptr);
                break;
            case ControlKind::ProgressBar:
                created = CreateWindowExW(0, PROGRESS_CLASSW, L"", child, 0, 0, 0, 0, parent, id,
                                          instance, nullptr);
                SendMessageW(created, PBM_SETRANGE32, 0, 100);
                SendMessageW(created, PBM_SETPOS, 20, 0);
                break;
            case ControlKind::Memo:
                created = CreateWindowExW(
                    WS_EX_CLIENTEDGE, WC_EDITW, withCrLf(caption).c_str(),
                    child | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                    0, 0, 0, 0, parent, id, instance, nullptr);
                break;
        }
        if (created == nullptr) {
            throw std::runtime_error("a control of the form cannot be created");
        }
        controls_.push_back(created);
    }
    for (const Edit pattern : {Edit::cvzor, Edit::ivzor}) {
        SetWindowSubclass(edit(pattern), patternEditProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }
}

HWND TForm1::createContainer(HINSTANCE instance, HWND parent, const FormControl& control) {
    const HWND container = CreateDialogIndirectParamW(
        instance, containerTemplate(), parent, containerProc, reinterpret_cast<LPARAM>(this));
    if (container != nullptr) {
        SetWindowLongPtrW(container, GWLP_ID, controlId(control.name));
        SetWindowTextW(container, fromCore(control.caption).c_str());
    }
    return container;
}

HFONT TForm1::fontOf(int points) {
    HFONT& font = fonts_[points];
    if (font == nullptr) {
        // The code page's own letters, as on the Czech systems the program was made for, where
        // the face lacks them elsewhere.
        font = CreateFontW(-MulDiv(points, static_cast<int>(dpi_), 72), 0, 0, 0, FW_NORMAL, FALSE,
                           FALSE, FALSE, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                           widen(formDescription().fontFace).c_str());
    }
    return font;
}

void TForm1::makeFonts() {
    const FormDescription& form = formDescription();
    std::map<int, HFONT> before;
    before.swap(fonts_);
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        const FormControl& c = form.controls[i];
        const HFONT font = fontOf(form.fontPointsOf(c));
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (const auto frame = groupFrames_.find(controls_[i]); frame != groupFrames_.end()) {
            SendMessageW(frame->second, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        if (c.kind == ControlKind::Edit) {
            // The start edits are narrow: two figures fit only beside a thin margin.
            SendMessageW(controls_[i], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(scale(1), scale(1)));
        }
    }
    for (const auto& [points, font] : before) {
        DeleteObject(font);
    }
}

// Every line of a memo was written to fit it, as it does in the pages' own size where the face
// is as narrow as it was made for; where this system draws it wider, the memo takes the largest
// size at which no line breaks.
void TForm1::fitMemos() {
    const FormDescription& form = formDescription();
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        const FormControl& c = form.controls[i];
        if (c.kind != ControlKind::Memo) {
            continue;
        }
        const HWND memo = controls_[i];
        const std::wstring text = fromCore(c.caption);
        for (int points = form.fontPointsOf(c); points > 6; --points) {
            const HFONT font = fontOf(points);
            SendMessageW(memo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            RECT room{};
            SendMessageW(memo, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
            const HDC dc = GetDC(memo);
            const HGDIOBJ previous = SelectObject(dc, font);
            LONG widest = 0;
            for (std::size_t start = 0; start <= text.size();) {
                const std::size_t end = std::min(text.find(L'\n', start), text.size());
                std::wstring line = text.substr(start, end - start);
                line.erase(line.find_last_not_of(L' ') + 1);
                SIZE size{};
                GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
                widest = std::max(widest, size.cx);
                start = end + 1;
            }
            SelectObject(dc, previous);
            ReleaseDC(memo, dc);
            if (widest <= room.right - room.left) {
                break;
            }
        }
        InvalidateRect(memo, nullptr, TRUE);
    }
}

int TForm1::scale(int pixels) const {
    return MulDiv(pixels, static_cast<int>(dpi_), 96);
}

void TForm1::layOut() {
    if (controls_.empty()) {
        return;  // the window is still being made
    }
    const FormDescription& form = formDescription();
    RECT client{};
    GetClientRect(window_, &client);
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        const FormControl& c = form.controls[i];
        const HWND control = controls_[i];
        if (c.kind == ControlKind::Page) {
            const HWND pages = GetParent(control);
            RECT body{};
            GetClientRect(pages, &body);
            SendMessageW(pages, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&body));
            MoveWindow(control, body.left, body.top, body.right - body.left, body.bottom - body.top,
                       TRUE);
        } else if (c.name == form.alignedToTop) {
            MoveWindow(control, 0, 0, client.right, scale(c.height), TRUE);
        } else if (c.kind == ControlKind::Label) {
            SetWindowPos(control, nullptr, scale(c.left), scale(c.top), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            fitToText(control);
        } else {
            MoveWindow(control, scale(c.left), scale(c.top), scale(c.width), scale(c.height), TRUE);
        }
        if (const auto frame = groupFrames_.find(control); frame != groupFrames_.end()) {
            MoveWindow(frame->second, 0, 0, scale(c.width), scale(c.height), TRUE);
        }
    }
}

// A label is as large as its text, as the labels of the form have always been.
void TForm1::fitToText(HWND label) {
    const std::wstring text = windowText(label);
    const HDC dc = GetDC(label);
    const HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.empty() ? L" " : text.c_str(),
                          text.empty() ? 1 : static_cast<int>(text.size()), &size);
    SelectObject(dc, before);
    ReleaseDC(label, dc);
    SetWindowPos(label, nullptr, 0, 0, text.empty() ? 0 : size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string_view TForm1::activePage() const {
    const auto selected =
        static_cast<int>(SendMessageW(byName("PageControl1"), TCM_GETCURSEL, 0, 0));
    int page = 0;
    for (const FormControl& c : formDescription().controls) {
        if (c.kind == ControlKind::Page && page++ == selected) {
            return c.name;
        }
    }
    return {};
}

void TForm1::syncPages() {
    const std::string_view active = activePage();
    const HWND focus = GetFocus();
    HWND shown = nullptr;
    for (const FormControl& c : formDescription().controls) {
        if (c.kind != ControlKind::Page) {
            continue;
        }
        const HWND page = byName(c.name);
        if (c.name == active) {
            shown = page;
        } else {
            // A hidden control keeps the keyboard unless the focus leaves it first.
            if (focus != nullptr && IsChild(page, focus)) {
                SetFocus(byName("PageControl1"));
            }
            ShowWindow(page, SW_HIDE);
        }
    }
    if (shown != nullptr) {
        ShowWindow(shown, SW_SHOW);
    }
}

void TForm1::moveFocus(bool backwards) {
    std::vector<HWND> order;
    for (const FormControl* c : tabOrder(formDescription(), activePage())) {
        const HWND control = byName(c->name);
        if (IsWindowVisible(control) && IsWindowEnabled(control)) {
            order.push_back(control);
        }
    }
    if (order.empty()) {
        return;
    }
    const auto count = static_cast<int>(order.size());
    const HWND focus = GetFocus();
    int current = backwards ? 0 : -1;
    for (int i = 0; i < count; ++i) {
        if (order[static_cast<std::size_t>(i)] == focus) {
            current = i;
        }
    }
    const HWND next =
        order[static_cast<std::size_t>((current + (backwards ? count - 1 : 1)) % count)];
    SetFocus(next);
    // An edit reached with Tab has its whole text selected, ready to be typed over.
    wchar_t windowClass[16] = {};
    GetClassNameW(next, windowClass, 16);
    if (lstrcmpiW(windowClass, WC_EDITW) == 0 &&
        (GetWindowLongPtrW(next, GWL_STYLE) & ES_MULTILINE) == 0) {
        SendMessageW(next, EM_SETSEL, 0, -1);
    }
}

bool TForm1::takeKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
        (message.hwnd != window_ && !IsChild(window_, message.hwnd)) || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    const bool backwards = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_CONTROL) < 0) {
        const HWND pages = byName("PageControl1");
        const auto count = static_cast<int>(SendMessageW(pages, TCM_GETITEMCOUNT, 0, 0));
        const auto selected = static_cast<int>(SendMessageW(pages, TCM_GETCURSEL, 0, 0));
        SendMessageW(pages, TCM_SETCURSEL,
                     static_cast<WPARAM>((selected + (backwards ? count - 1 : 1)) % count), 0);
    } else {
        moveFocus(backwards);
    }
    return true;
}

HWND TForm1::byName(std::string_view name) const {
    const int id = controlId(name);
    const std::size_t place = static_cast<std::size_t>(id - 1000);
    return id != 0 && place < controls_.size() ? controls_[place] : nullptr;
}

HWND TForm1::edit(Edit which) const {
    switch (which) {
        case Edit::radek1:
            return byName("radek1");
        case Edit::cstart:
            return byName("cstart");
        case Edit::istart:
            return byName("istart");
        case Edit::cvzor:
            return byName("cvzor");
        case Edit::ivzor:
            return byName("ivzor");
    }
    return nullptr;
}

HWND TForm1::label(Label which) const {
    switch (which) {
        case Label::qsos:
            return byName("qsos");
        case Label::dubly:
            return byName("dubly");
        case Label::body:
            return byName("body");
        case Label::zeby:
            return byName("zeby");
        case Label::dxcc:
            return byName("dxcc");
        case Label::celkem:
            return byName("celkem");
        case Label::povel:
            return byName("povel");
    }
    return nullptr;
}

HWND TForm1::control(Control which) const {
    switch (which) {
        case Control::bvypocet:
            return byName("bvypocet");
        case Control::bukladani:
            return byName("bukladani");
        case Control::radek1:
            return byName("radek1");
        case Control::konfigurace:
            return byName("konfigurace");
    }
    return nullptr;
}

// The messages.

LRESULT CALLBACK TForm1::formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return answerAsOwner(window, message, wParam, lParam, &TForm1::window_, &TForm1::onMessage);
}

LRESULT TForm1::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) {
                onCommand(LOWORD(wParam), HIWORD(wParam));
            }
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == byName("PageControl1") && header->code == TCN_SELCHANGE) {
                syncPages();
            }
            return 0;
        }
        case WM_DROPFILES:
            onDrop(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_SIZE:
            layOut();
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            makeFonts();
            moveToSuggestedRect(window_, lParam);
            layOut();
            fitMemos();
            return 0;
        }
        case WM_ACTIVATE:
            // The focus comes back where it was when the evaluator returns to the window.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) {
                    focusWhenDeactivated_ = focus;
                }
            } else if (HIWORD(wParam) == 0) {
                SetFocus(focusWhenDeactivated_ != nullptr && IsWindow(focusWhenDeactivated_)
                             ? focusWhenDeactivated_
                             : byName("PageControl1"));
            }
            return 0;
        case WM_CLOSE:
            if (!closeHook_ || !closeHook_()) {
                DestroyWindow(window_);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void TForm1::onCommand(int id, int code) {
    const auto& controls = formDescription().controls;
    const auto place = static_cast<std::size_t>(id - 1000);
    if (id < 1000 || place >= controls.size()) {
        return;
    }
    const std::string_view name = controls[place].name;
    if (code == BN_CLICKED) {
        if (name == "Button1") {
            Button1Click();
        } else if (name == "nactidenik") {
            nactidenikClick();
        } else if (name == "bvypocet") {
            bvypocetClick();
        } else if (name == "bukladani") {
            bukladaniClick();
        } else if (name == "Button2") {
            Button2Click();
        } else if (name == "Button3") {
            Button3Click();
        }
    } else if (code == EN_CHANGE && !settingText_) {
        // Every change counts, typed, pasted, undone or set from outside; the program's own
        // settings run the handler themselves (setEditText).
        if (name == "cstart") {
            ccstart();
        } else if (name == "istart") {
            cistart();
        } else if (name == "radek1") {
            c1radek();
        }
    }
}

void TForm1::onDrop(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(narrow(path));
    }
    DragFinish(drop);
    openPaths(paths);
}

INT_PTR CALLBACK TForm1::containerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(window, DWLP_USER, lParam);
            EnableThemeDialogTexture(window, ETDT_ENABLETAB);
            return FALSE;
        case WM_COMMAND:
        case WM_NOTIFY: {
            const auto* form =
                reinterpret_cast<const TForm1*>(GetWindowLongPtrW(window, DWLP_USER));
            if (form != nullptr && form->window_ != nullptr) {
                SendMessageW(form->window_, message, wParam, lParam);
            }
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            // The memos are read-only, but they are pages of text to read, on the window's white.
            const auto control = reinterpret_cast<HWND>(lParam);
            if ((GetWindowLongPtrW(control, GWL_STYLE) & ES_MULTILINE) != 0) {
                const auto dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

LRESULT CALLBACK TForm1::patternEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, patternEditProc, 0);
    }
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_KILLFOCUS) {
        // Leaving the edit is the focus going to another control of the form; going to another
        // program or to a message box is not.
        auto* form = reinterpret_cast<TForm1*>(data);
        const auto to = reinterpret_cast<HWND>(wParam);
        if (to != nullptr && form->window_ != nullptr &&
            (to == form->window_ || IsChild(form->window_, to))) {
            if (window == form->edit(Edit::cvzor)) {
                form->setcall();
            } else {
                form->setzeb();
            }
        }
    }
    return result;
}

LRESULT CALLBACK TForm1::pageControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, pageControlProc, 0);
    }
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    // A page chosen by the program tells nobody; the pages follow it here.
    if (message == TCM_SETCURSEL) {
        reinterpret_cast<TForm1*>(data)->syncPages();
    }
    return result;
}

// The handlers.

template <typename Work>
void TForm1::guarded(Work&& work) {
    try {
        work();
    } catch (const std::exception& error) {
        showExceptionBox(window_, error.what());
    } catch (...) {
        showExceptionBox(window_, "");
    }
}

FileDialog TForm1::dialog(std::optional<std::string> (FileDialogs::*show)(HWND,
                                                                          const std::string&)) {
    return
        [this, show](const std::string& preset) { return (fileDialogs_.*show)(window_, preset); };
}

void TForm1::FormCreate() {
    guarded([this] { formCreate(*state_, *this); });
}

void TForm1::Button1Click() {
    platform_.endProcess(0);
}

void TForm1::nactidenikClick() {
    guarded([this] {
        const During reading(activity_, FormActivity::Reading);
        commands_.nactidenikClick(*state_, *this, platform_, [this](const std::string& preset) {
            const std::optional<std::string> chosen = fileDialogs_.openLog(window_, preset);
            logFile_ = chosen.value_or(std::string());
            return chosen;
        });
    });
}

LoadOutcome TForm1::load(const std::string& path) {
    logFile_ = path;
    const During reading(activity_, FormActivity::Reading);
    prepareLoad(*state_, *this);
    return loadLog(*state_, *this, platform_, path, true);
}

void TForm1::openPaths(const std::vector<std::string>& paths) {
    if (opensContest(paths)) {
        if (contestOpener_) {
            contestOpener_(paths);
        }
    } else if (!paths.empty()) {
        guarded([&] { load(paths.front()); });
    }
}

void TForm1::openEvaluatedLog(const EvaluatedLog& log) {
    guarded([&] {
        // Refused, the form is told to end: there are no columns to set.
        if (load(log.file) != LoadOutcome::Refused) {
            commands_.useEvaluatedColumns(*state_, *this, platform_, log);
        }
    });
}

void TForm1::bvypocetClick() {
    guarded([this] {
        const During computing(activity_, FormActivity::Computing);
        computeCommand(*state_, *this, platform_);
    });
}

void TForm1::bukladaniClick() {
    guarded([this] {
        commands_.bukladaniClick(*state_, *this, platform_, dialog(&FileDialogs::saveProtocol));
    });
}

void TForm1::Button2Click() {
    guarded(
        [this] { commands_.Button2Click(*state_, platform_, dialog(&FileDialogs::saveConfig)); });
}

void TForm1::Button3Click() {
    guarded([this] {
        commands_.Button3Click(*state_, *this, platform_, dialog(&FileDialogs::openConfig));
    });
}

void TForm1::ccstart() {
    guarded([this] { zeb::ccstart(*state_, *this); });
}

void TForm1::cistart() {
    guarded([this] { zeb::cistart(*state_, *this); });
}

void TForm1::c1radek() {
    guarded([this] { zeb::c1radek(*state_, *this, platform_); });
}

void TForm1::setcall() {
    guarded([this] { zeb::setcall(*state_, *this); });
}

void TForm1::setzeb() {
    guarded([this] { zeb::setzeb(*state_, *this); });
}

// Window.

void TForm1::setEditText(Edit which, const std::string& text) {
    {
        // The system tells the change at once; the handler runs below, once, also when the text
        // does not change.
        const bool before = settingText_;
        settingText_ = true;
        SetWindowTextW(edit(which), fromCore(text).c_str());
        settingText_ = before;
    }
    switch (which) {
        case Edit::radek1:
            zeb::c1radek(*state_, *this, platform_);
            break;
        case Edit::cstart:
            zeb::ccstart(*state_, *this);
            break;
        case Edit::istart:
            zeb::cistart(*state_, *this);
            break;
        case Edit::cvzor:
        case Edit::ivzor:
            break;
    }
}

std::string TForm1::editText(Edit which) const {
    return toCore(windowText(edit(which)));
}

void TForm1::setLabelText(Label which, const std::string& text) {
    const HWND target = label(which);
    SetWindowTextW(target, fromCore(text).c_str());
    fitToText(target);
}

void TForm1::setEnabled(Control which, bool enabled) {
    const HWND target = control(which);
    const HWND focus = GetFocus();
    if (!enabled && focus != nullptr && (focus == target || IsChild(target, focus))) {
        moveFocus(false);
    }
    EnableWindow(target, enabled);
    // A group box greys what it holds as well.
    for (HWND child = GetWindow(target, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        EnableWindow(child, enabled);
    }
}

bool TForm1::only80m() const {
    return SendMessageW(byName("jen80"), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TForm1::setProgressVisible(bool visible) {
    const HWND bar = byName("paska");
    ShowWindow(bar, visible ? SW_SHOWNA : SW_HIDE);
    if (visible) {
        UpdateWindow(bar);
    }
}

void TForm1::setProgressPosition(int position) {
    const HWND bar = byName("paska");
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    // The computation holds the message loop until it ends: paint the bar now.
    if (IsWindowVisible(bar)) {
        UpdateWindow(bar);
    }
}

void TForm1::setCaption(const std::string& caption) {
    SetWindowTextW(window_, widen(caption).c_str());
}

void TForm1::showConfigurationPage() {
    SendMessageW(byName("PageControl1"), TCM_SETCURSEL, 0, 0);
}

}  // namespace zeb::win32
