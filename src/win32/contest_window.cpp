#include "win32/contest_window.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <algorithm>
#include <stdexcept>

#include "contest/intake/contest_folder.h"
#include "contest/intake/log_intake.h"
#include "contest/workspace/contest_details.h"
#include "contest/workspace/contest_screen.h"
#include "platform/translation.h"
#include "win32/contest_ids.h"
#include "win32/contest_table_view.h"
#include "win32/folder_dialog.h"
#include "win32/message_box.h"
#include "win32/resources.h"
#include "win32/tform1.h"
#include "win32/top_window.h"
#include "win32/windows_1250.h"

namespace zeb::win32 {

using contest::ContestLog;
using contest::ContestWorkspace;
using contest::WorkProgress;

namespace {

// What the window posts to itself: the work's progress and end (from the work's thread), and what
// waits until the handler under way returned.
constexpr UINT kWorkProgress = WM_APP + 1;
constexpr UINT kWorkDone = WM_APP + 2;
constexpr UINT kFormClosed = WM_APP + 3;
constexpr UINT kSelectionChanged = WM_APP + 4;
constexpr UINT kCloseLater = WM_APP + 5;
constexpr UINT kFormHidden = WM_APP + 6;
constexpr UINT_PTR kRecheckTimer = 1;

std::wstring said(const std::string& utf8) {
    return widen(utf8);
}

std::wstring said(const char* utf8) {
    return widen(utf8);
}

std::string absolute(const std::string& path) {
    const std::wstring wide = widen(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return path;
    }
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), size, full.data(), nullptr));
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) {
        full.pop_back();
    }
    return narrow(full);
}

// The rich edit of the system's current version, whose window class its library registers.
const wchar_t* richEditClass() {
    static const wchar_t* const name = [] {
        if (LoadLibraryW(L"Msftedit.dll") != nullptr) {
            return MSFTEDIT_CLASS;
        }
        LoadLibraryW(L"Riched20.dll");
        return RICHEDIT_CLASSW;
    }();
    return name;
}

bool fontExists(const std::wstring& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    const HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM data) -> int {
            *reinterpret_cast<bool*>(data) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

}  // namespace

ContestWindow::ContestWindow(HINSTANCE instance, TForm1& form) : form_(form) {
    registerTopWindowClass(instance, kContestWindowClass, windowProc);
    CreateWindowExW(0, kContestWindowClass, said(tr("ZEB contest – contest evaluation")).c_str(),
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 1280, 760,
                    nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("the contest window cannot be created");
    }
    dpi_ = GetDpiForWindow(window_);
    if (dpi_ != 96) {
        SetWindowPos(window_, nullptr, 0, 0, scale(1280), scale(760),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    work_ = std::make_unique<BackgroundWork>(window_, kWorkProgress, kWorkDone);
    createControls(instance);
    makeFonts();
    layOut();
    updateCommands();
}

ContestWindow::~ContestWindow() {
    // The work ends before the window that it reports to.
    work_.reset();
    if (window_ != nullptr) {
        const HWND window = window_;
        window_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    DeleteObject(font_);
}

int ContestWindow::scale(int pixels) const {
    return MulDiv(pixels, static_cast<int>(dpi_), 96);
}

void ContestWindow::show(int showCommand) {
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : showCommand);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
}

bool ContestWindow::shown() const {
    return IsWindowVisible(window_) != 0;
}

// The controls.

void ContestWindow::createControls(HINSTANCE instance) {
    const auto make = [&](DWORD exStyle, const wchar_t* windowClass, const std::wstring& text,
                          DWORD style, int id) {
        const HWND made = CreateWindowExW(
            exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (made == nullptr) {
            throw std::runtime_error("a control of the contest window cannot be created");
        }
        return made;
    };
    const DWORD button = WS_TABSTOP | BS_PUSHBUTTON;
    const DWORD label = SS_LEFT | SS_NOPREFIX;
    make(0, WC_BUTTONW, said(tr("Open folder…")), button, kOpenFolderButton);
    make(0, WC_BUTTONW, said(tr("Save results")), button, kSaveResultsButton);
    make(0, WC_BUTTONW, said(tr("Open results")), button, kOpenResultsButton);
    make(0, WC_STATICW, said(tr("Time window of the cross-check:")), label | SS_CENTERIMAGE,
         kTimeWindowLabel);
    make(WS_EX_CLIENTEDGE, WC_EDITW, L"", WS_TABSTOP | ES_NUMBER | ES_RIGHT, kTimeWindowEdit);
    const HWND upDown =
        make(0, UPDOWN_CLASSW, L"",
             UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, kTimeWindowUpDown);
    SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(control(kTimeWindowEdit)), 0);
    SendMessageW(upDown, UDM_SETRANGE32, 1, 1440);
    SendMessageW(upDown, UDM_SETPOS32, 0, contest::kDefaultTimeWindow);
    make(0, WC_STATICW, L"min", label | SS_CENTERIMAGE, kMinutesLabel);
    make(0, WC_BUTTONW, said(tr("only the logs to look at")), WS_TABSTOP | BS_AUTOCHECKBOX,
         kOnlyToLookAtCheck);
    make(0, WC_STATICW, said(tr("Output folder:")), label | SS_CENTERIMAGE, kOutputLabel);
    make(0, WC_STATICW, L"", label | SS_CENTERIMAGE | SS_PATHELLIPSIS, kOutputFolderText);
    make(0, WC_BUTTONW, said(tr("Change…")), button, kChangeOutputButton);

    const wchar_t* rich = richEditClass();
    const HWND summary = make(0, rich, L"", ES_MULTILINE | ES_READONLY, kSummaryText);
    SendMessageW(summary, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_BTNFACE)));

    table_ = std::make_unique<ContestTableView>(window_, kTable, instance);

    make(0, WC_BUTTONW, said(tr("Open in the form")), button, kOpenInFormButton);
    make(0, WC_BUTTONW, said(tr("Set aside…")), button, kSetAsideButton);
    make(0, WC_BUTTONW, said(tr("Check log")), button, kCheckLogButton);
    make(0, WC_BUTTONW, said(tr("This log counts")), button, kCountsButton);
    make(0, WC_BUTTONW, said(tr("Undo decision")), button, kUndoButton);
    make(0, WC_STATICW,
         said(tr("A double click opens the log in the form; columns saved there beside the "
                 "repaired copy and changes of the copy count once you are back. Decisions are "
                 "written into decisions.txt in the output folder.")),
         label, kHintText);

    const HWND pages = make(0, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, kPages);
    for (const char* page : {tr("Details"), tr("QSO lines")}) {
        std::wstring text = said(page);
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = text.data();
        const auto count = static_cast<int>(SendMessageW(pages, TCM_GETITEMCOUNT, 0, 0));
        SendMessageW(pages, TCM_INSERTITEMW, static_cast<WPARAM>(count),
                     reinterpret_cast<LPARAM>(&tab));
    }
    const DWORD text = WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
    make(WS_EX_CLIENTEDGE, rich, L"", text, kDetailsText);
    const HWND lines =
        make(WS_EX_CLIENTEDGE, rich, L"", text | WS_HSCROLL | ES_AUTOHSCROLL, kQsoLinesText);
    // The lines of a log stay whole, their columns one under the other.
    SendMessageW(lines, EM_SETTARGETDEVICE, 0, 1);
    // A click on a line selects its QSO.
    SendMessageW(lines, EM_SETEVENTMASK, 0, ENM_MOUSEEVENTS);
    ShowWindow(lines, SW_HIDE);
    ShowWindow(make(0, WC_STATICW, L"", label | SS_CENTERIMAGE | SS_ENDELLIPSIS, kQsoChoiceText),
               SW_HIDE);
    ShowWindow(make(0, WC_BUTTONW, said(tr("Keep QSO…")), button, kKeepQsoButton), SW_HIDE);
    ShowWindow(make(0, WC_BUTTONW, said(tr("Remove QSO…")), button, kRemoveQsoButton), SW_HIDE);
    ShowWindow(make(0, WC_BUTTONW, said(tr("Undo QSO decision")), button, kUndoQsoButton), SW_HIDE);

    const HWND bar = make(0, PROGRESS_CLASSW, L"", 0, kProgressBar);
    ShowWindow(bar, SW_HIDE);
    ShowWindow(make(0, WC_BUTTONW, said(tr("Cancel")), button, kCancelButton), SW_HIDE);
    make(0, WC_STATICW, L"", label, kStatusText);
}

void ContestWindow::makeFonts() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi_);
    const HFONT before = font_;
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    table_->setFont(font_, dpi_);
    DeleteObject(before);
    richFonts_.face = metrics.lfMessageFont.lfFaceName;
    richFonts_.points =
        std::max(9, MulDiv(std::abs(metrics.lfMessageFont.lfHeight), 72, static_cast<int>(dpi_)));
    richFonts_.codeFace = L"Courier New";
    for (const wchar_t* face : {L"Consolas", L"Courier New", L"Courier"}) {
        if (fontExists(face)) {
            richFonts_.codeFace = face;
            break;
        }
    }
}

void ContestWindow::layOut() {
    RECT client{};
    GetClientRect(window_, &client);
    const HDC dc = GetDC(window_);
    const HGDIOBJ before = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const auto widthOf = [&](int id) {
        const std::wstring text = windowText(control(id));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const int margin = scale(8);
    const int gap = scale(6);
    const int buttonHeight = std::max<int>(scale(25), metrics.tmHeight + scale(10));
    const int line = metrics.tmHeight;
    const auto buttonWidth = [&](int id) { return std::max(scale(80), widthOf(id) + scale(24)); };
    const auto place = [&](int id, int x, int y, int width, int height) {
        MoveWindow(control(id), x, y, std::max(0, width), std::max(0, height), TRUE);
    };

    // The commands, and on the right what chooses what is checked and shown.
    int x = margin;
    int y = margin;
    for (const int id : {kOpenFolderButton, kSaveResultsButton, kOpenResultsButton}) {
        place(id, x, y, buttonWidth(id), buttonHeight);
        x += buttonWidth(id) + gap;
    }
    int right = client.right - margin;
    const int checkWidth = widthOf(kOnlyToLookAtCheck) + scale(24);
    place(kOnlyToLookAtCheck, right - checkWidth, y, checkWidth, buttonHeight);
    right -= checkWidth + 2 * gap;
    place(kMinutesLabel, right - widthOf(kMinutesLabel), y, widthOf(kMinutesLabel), buttonHeight);
    right -= widthOf(kMinutesLabel) + gap;
    const int editWidth = scale(64);
    const int editHeight = line + scale(8);
    place(kTimeWindowEdit, right - editWidth, y + (buttonHeight - editHeight) / 2, editWidth,
          editHeight);
    SendMessageW(control(kTimeWindowUpDown), UDM_SETBUDDY,
                 reinterpret_cast<WPARAM>(control(kTimeWindowEdit)), 0);
    right -= editWidth + gap;
    place(kTimeWindowLabel, right - widthOf(kTimeWindowLabel), y, widthOf(kTimeWindowLabel),
          buttonHeight);

    y += buttonHeight + gap;
    place(kOutputLabel, margin, y, widthOf(kOutputLabel), buttonHeight);
    const int changeWidth = buttonWidth(kChangeOutputButton);
    place(kChangeOutputButton, client.right - margin - changeWidth, y, changeWidth, buttonHeight);
    const int pathLeft = margin + widthOf(kOutputLabel) + gap;
    place(kOutputFolderText, pathLeft, y, client.right - margin - changeWidth - gap - pathLeft,
          buttonHeight);

    y += buttonHeight + gap;
    const auto summaryLines =
        static_cast<int>(SendMessageW(control(kSummaryText), EM_GETLINECOUNT, 0, 0));
    const int summaryHeight = std::clamp(summaryLines, 2, 5) * (line + scale(2));
    place(kSummaryText, margin, y, client.right - 2 * margin, summaryHeight);
    y += summaryHeight + gap;

    // At the bottom the progress and the status line, of two lines.
    const int statusHeight = std::max(buttonHeight, 2 * line + scale(4));
    const int bottom = client.bottom - margin - statusHeight;
    int statusLeft = margin;
    if (IsWindowVisible(control(kProgressBar))) {
        const int barWidth = scale(200);
        place(kProgressBar, margin, bottom + (statusHeight - buttonHeight) / 2, barWidth,
              buttonHeight);
        const int cancelWidth = buttonWidth(kCancelButton);
        place(kCancelButton, margin + barWidth + gap, bottom + (statusHeight - buttonHeight) / 2,
              cancelWidth, buttonHeight);
        statusLeft = margin + barWidth + gap + cancelWidth + gap;
    }
    place(kStatusText, statusLeft, bottom, client.right - margin - statusLeft, statusHeight);

    // The table has the larger part: it is what the evaluator goes through.
    const int formRow = std::max(buttonHeight, 2 * line + scale(4));
    const int flexible = std::max(0, bottom - gap - y - formRow - 2 * gap);
    const int tableHeight = flexible * 3 / 5;
    place(kTable, margin, y, client.right - 2 * margin, tableHeight);
    y += tableHeight + gap;
    x = margin;
    for (const int id : std::initializer_list<int>{kOpenInFormButton, 0, kSetAsideButton,
                                                   kCheckLogButton, kCountsButton, kUndoButton}) {
        if (id == 0) {
            x += 2 * gap;  // the form apart from the decisions
            continue;
        }
        place(id, x, y + (formRow - buttonHeight) / 2, buttonWidth(id), buttonHeight);
        x += buttonWidth(id) + gap;
    }
    place(kHintText, x + gap, y, client.right - margin - x - gap, formRow);
    y += formRow + gap;
    place(kPages, margin, y, client.right - 2 * margin, bottom - gap - y);
    RECT body{margin, y, client.right - margin, bottom - gap};
    SendMessageW(control(kPages), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&body));
    place(kDetailsText, body.left, body.top, body.right - body.left, body.bottom - body.top);
    // Under the QSO lines, the QSO selected and the decisions on it.
    const int qsoRow = body.bottom - buttonHeight;
    place(kQsoLinesText, body.left, body.top, body.right - body.left, qsoRow - gap - body.top);
    int qsoRight = body.right;
    for (const int id : {kUndoQsoButton, kRemoveQsoButton, kKeepQsoButton}) {
        qsoRight -= buttonWidth(id);
        place(id, qsoRight, qsoRow, buttonWidth(id), buttonHeight);
        qsoRight -= gap;
    }
    place(kQsoChoiceText, body.left, qsoRow, qsoRight - gap - body.left, buttonHeight);
    for (const int id : {kDetailsText, kQsoLinesText, kQsoChoiceText, kKeepQsoButton,
                         kRemoveQsoButton, kUndoQsoButton}) {
        SetWindowPos(control(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SelectObject(dc, before);
    ReleaseDC(window_, dc);
    table_->fitColumns();
}

// The messages.

LRESULT CALLBACK ContestWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    return answerAsOwner(window, message, wParam, lParam, &ContestWindow::window_,
                         &ContestWindow::onMessage);
}

LRESULT ContestWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) {
                onCommand(LOWORD(wParam), HIWORD(wParam));
            } else if (LOWORD(wParam) == IDOK && GetFocus() == control(kTable)) {
                openSelectedInForm();  // Enter on a row
            } else if (HIWORD(wParam) == 0 && LOWORD(wParam) > IDHELP) {
                onCommand(LOWORD(wParam), BN_CLICKED);  // a menu's command, as its button's
            }
            return 0;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CTLCOLORSTATIC:
            // The line under the QSO lines stands on the page's white, as they do.
            if (reinterpret_cast<HWND>(lParam) == control(kQsoChoiceText)) {
                const auto dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_TIMER:
            if (wParam == kRecheckTimer) {
                KillTimer(window_, kRecheckTimer);
                recheck();
            }
            return 0;
        case kWorkProgress:
            if (work_->busy()) {
                const BackgroundWork::Progress progress = work_->progress();
                const HWND bar = control(kProgressBar);
                SendMessageW(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(progress.total));
                SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(progress.done), 0);
                setStatus(contest::progressText(progress.stage, progress.done, progress.total));
            }
            return 0;
        case kWorkDone:
            onWorkDone();
            return 0;
        case kFormClosed:
            formClosingDone();
            return 0;
        case kFormHidden:
            takeBackChanges();
            return 0;
        case kSelectionChanged:
            selectionPosted_ = false;
            showSelected();
            return 0;
        case kCloseLater:
            if (shown()) {
                onClose();
            }
            return 0;
        case WM_ACTIVATE:
            // The evaluator is back: changes made meanwhile, in the form or in an editor, count.
            if (LOWORD(wParam) != WA_INACTIVE) {
                takeBackChanges();
            }
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_SIZE:
            layOut();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {scale(760), scale(520)};
            return 0;
        }
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            makeFonts();
            moveToSuggestedRect(window_, lParam);
            layOut();
            showSelected();
            return 0;
        }
        case WM_CLOSE:
            onClose();
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void ContestWindow::onCommand(int id, int code) {
    if (code == BN_CLICKED) {
        switch (id) {
            case kOpenFolderButton:
                chooseLogsFolder();
                break;
            case kSaveResultsButton:
                saveResults();
                break;
            case kOpenResultsButton:
                openResults();
                break;
            case kChangeOutputButton:
                chooseOutputFolder();
                break;
            case kOpenInFormButton:
                openSelectedInForm();
                break;
            case kCancelButton:
                cancelWork();
                break;
            case kSetAsideButton:
                setSelectedAside();
                break;
            case kCheckLogButton:
                decideOnSelected(contest::DecisionKind::CheckLog);
                break;
            case kCountsButton:
                decideOnSelected(contest::DecisionKind::Counts);
                break;
            case kUndoButton:
                undoSelectedDecisions();
                break;
            case kKeepQsoButton:
                decideOnSelectedQso(contest::DecisionKind::KeepQso);
                break;
            case kRemoveQsoButton:
                decideOnSelectedQso(contest::DecisionKind::RemoveQso);
                break;
            case kUndoQsoButton:
                undoSelectedQsoDecisions();
                break;
            case kOnlyToLookAtCheck:
                table_->setOnlyToLookAt(
                    SendMessageW(control(kOnlyToLookAtCheck), BM_GETCHECK, 0, 0) == BST_CHECKED);
                selectionChanged();
                break;
            default:
                break;
        }
    } else if (code == EN_CHANGE && id == kTimeWindowEdit) {
        // Checked again once the evaluator stops changing it.
        SetTimer(window_, kRecheckTimer, 400, nullptr);
    }
}

LRESULT ContestWindow::onNotify(const NMHDR& header) {
    LRESULT result = 0;
    if (table_->onNotify(header, result)) {
        return result;
    }
    if (header.idFrom == kTable) {
        switch (header.code) {
            case LVN_ITEMCHANGED: {
                const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
                if ((change.uChanged & LVIF_STATE) != 0 &&
                    ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) != 0) {
                    selectionChanged();
                }
                break;
            }
            case LVN_ITEMACTIVATE:
                openSelectedInForm();
                break;
            case NM_RCLICK:
                if (selectedLog()) {
                    popUpMenu({kOpenInFormButton, 0, kSetAsideButton, kCheckLogButton,
                               kCountsButton, kUndoButton});
                }
                break;
            default:
                break;
        }
        return 0;
    }
    if (header.idFrom == kPages && header.code == TCN_SELCHANGE) {
        const bool lines = SendMessageW(control(kPages), TCM_GETCURSEL, 0, 0) == 1;
        ShowWindow(control(kDetailsText), lines ? SW_HIDE : SW_SHOW);
        for (const int id :
             {kQsoLinesText, kQsoChoiceText, kKeepQsoButton, kRemoveQsoButton, kUndoQsoButton}) {
            ShowWindow(control(id), lines ? SW_SHOW : SW_HIDE);
        }
    }
    if (header.idFrom == kQsoLinesText && header.code == EN_MSGFILTER) {
        onQsoLinesMouse(reinterpret_cast<const MSGFILTER&>(header));
    }
    return 0;
}

// The work.

void ContestWindow::runOnContest(std::shared_ptr<const ContestWorkspace> base, Work work,
                                 std::string done, std::function<void()> then, bool stoppable,
                                 std::shared_ptr<const std::string> failed) {
    auto result = std::make_shared<std::shared_ptr<const ContestWorkspace>>();
    // The copy is made on the work's thread too: the window goes on showing `base`.
    const bool started = work_->start([base, work, result](const WorkProgress& progress) {
        auto next = std::make_shared<ContestWorkspace>(*base);
        if (!work(*next, progress)) {
            return false;
        }
        *result = std::move(next);
        return true;
    });
    if (!started) {
        setStatus(contest::stillWorkingText());
        return;
    }
    stoppable_ = stoppable;
    SendMessageW(control(kProgressBar), PBM_SETPOS, 0, 0);
    finished_ = [this, result, done = std::move(done), then = std::move(then),
                 failed](const BackgroundWork::End& end) {
        if (end.completed) {
            showContest(*result);
            setStatus(done);
            if (then) {
                then();
            }
        } else {
            setStatus(contest::unfinishedText(end.failure, failed ? *failed : std::string()));
        }
        afterWork();
    };
    updateCommands();
}

void ContestWindow::onWorkDone() {
    if (!work_->busy()) {
        return;
    }
    const BackgroundWork::End end = work_->finish();
    const auto finished = std::move(finished_);
    finished_ = nullptr;
    updateCommands();
    if (finished) {
        finished(end);
    }
}

void ContestWindow::afterWork() {
    updateCommands();
    waiting_.serve({[this] { return work_->busy(); }, [this] { closeLater(); },
                    [this] { takeBackChanges(); }, [this] { recheck(); }});
}

void ContestWindow::cancelWork() {
    if (work_->busy() && stoppable_) {
        work_->stop();
        setStatus(contest::cancellingText());
    }
}

void ContestWindow::openPaths(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    const contest::OpenedFolders folders = contest::openedFolders(absolute(paths.front()));
    logsFolder_ = folders.logs;
    load(paths, folders.out);
}

void ContestWindow::load(const std::vector<std::string>& paths, const std::string& out) {
    if (work_->busy()) {
        setStatus(contest::stillWorkingText());
        return;
    }
    std::vector<std::string> full;
    for (const std::string& path : paths) {
        full.push_back(absolute(path));
    }
    auto [logs, others] = contest::contestInputs(full, out);
    if (logs.empty()) {
        setStatus(contest::noLogsText(nativePath(logsFolder_), others.size()));
        return;
    }
    opened_ = paths;
    std::string done = contest::loadedText(logs.size(), others.size());
    auto fresh = std::make_shared<const ContestWorkspace>(std::move(logs), out, timeWindow(),
                                                          std::move(others));
    setStatus(contest::readingText());
    runOnContest(
        fresh,
        [](ContestWorkspace& contest, const WorkProgress& progress) {
            return contest.load(progress);
        },
        std::move(done));
}

void ContestWindow::chooseLogsFolder() {
    if (work_->busy()) {
        return;
    }
    if (const std::optional<std::string> chosen =
            chooseFolder(window_, contest::logsFolderTitle(), logsFolder_)) {
        openPaths({*chosen});
    }
}

void ContestWindow::chooseOutputFolder() {
    if (work_->busy() || !contest_) {
        return;
    }
    const std::string current = contest_->folder().out;
    const std::optional<std::string> chosen =
        chooseFolder(window_, contest::outputFolderTitle(), current);
    if (!chosen || absolute(*chosen) == absolute(current)) {
        return;
    }
    // The repaired copies are those of the new folder: the logs are taken in anew.
    load(opened_, absolute(*chosen));
}

void ContestWindow::takeBackChanges(std::function<void()> then) {
    if (!contest_) {
        return;
    }
    if (work_->busy()) {
        waiting_.takeBackWhenIdle();
        return;
    }
    const auto takeBack =
        contest::changesToTakeBack(*contest_, nativePath(contest_->folder().decisions()));
    if (!takeBack) {
        if (then) {
            then();
        }
        return;
    }
    runOnContest(contest_, takeBack->work, takeBack->done, std::move(then));
}

int ContestWindow::timeWindow() const {
    BOOL failed = FALSE;
    const auto minutes = static_cast<int>(SendMessageW(control(kTimeWindowUpDown), UDM_GETPOS32, 0,
                                                       reinterpret_cast<LPARAM>(&failed)));
    return failed ? contest::kDefaultTimeWindow : std::clamp(minutes, 1, 1440);
}

void ContestWindow::recheck() {
    const int minutes = timeWindow();
    if (!contest_ || minutes == contest_->windowMinutes()) {
        return;
    }
    if (work_->busy()) {
        waiting_.recheckWhenIdle();
        return;
    }
    runOnContest(
        contest_,
        [minutes](ContestWorkspace& contest, const WorkProgress& progress) {
            return contest.recheck(minutes, progress);
        },
        contest::recheckedText(minutes));
}

void ContestWindow::saveResults() {
    if (work_->busy() || !contest_) {
        return;
    }
    // Published results are those of the files as they are now.
    takeBackChanges([this] { publish(); });
}

void ContestWindow::publish() {
    auto contest = contest_;
    auto notes = std::make_shared<std::vector<std::string>>();
    auto written = std::make_shared<bool>(false);
    const bool started = work_->start([contest, notes, written](const WorkProgress& progress) {
        *written = contest->publish([notes](const std::string& note) { notes->push_back(note); },
                                    progress);
        return true;
    });
    if (!started) {
        setStatus(contest::stillWorkingText());
        return;
    }
    stoppable_ = false;
    SendMessageW(control(kProgressBar), PBM_SETPOS, 0, 0);
    setStatus(contest::savingText());
    finished_ = [this, contest, notes, written](const BackgroundWork::End& end) {
        const std::string out = nativePath(contest->folder().out);
        const bool saved = end.completed && *written;
        if (saved) {
            published_ = contest;
        }
        setStatus(contest::publishedText(end.completed, *written, end.failure, out, *notes));
        if (waiting_.closesAfterSave() && saved) {
            closeLater();
        }
        afterWork();
    };
    updateCommands();
}

void ContestWindow::openResults() {
    if (!contest_) {
        return;
    }
    const std::string index = contest_->folder().index();
    if (!contest::FileStamp::of(index).exists) {
        setStatus(contest::resultsNotYetText());
        return;
    }
    const auto opened = reinterpret_cast<INT_PTR>(
        ShellExecuteW(window_, L"open", widen(index).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened <= 32) {
        setStatus(contest::pageNotOpenedText(nativePath(index)));
    }
}

void ContestWindow::openSelectedInForm() {
    const std::optional<std::size_t> l = selectedLog();
    if (!l) {
        return;
    }
    const ContestLog& log = contest_->logs()[*l];
    if (log.outcome != contest::LogOutcome::Scored) {
        // The form's reader refuses it: there would be nothing to see.
        setStatus(contest::notInFormText(log));
        return;
    }
    const EvaluatedLog opened = contest::evaluatedLogOf(log);
    form_.show(SW_SHOWNORMAL);
    SetForegroundWindow(form_.handle());
    // The log is kept: the contest shown may change while the form reads it.
    const std::string told = contest::inFormText(log);
    form_.openEvaluatedLog(opened);
    if (formClosing_) {
        return;  // refused: this window says so once the form closed
    }
    setStatus(told);
}

bool ContestWindow::closeFormInsteadOfEnding() {
    if (!shown()) {
        return false;
    }
    if (formClosing_) {
        return true;
    }
    // Told now, while the form still knows what it was doing.
    formClosedWhy_ = contest::formClosedText(form_.activity(), form_.logFile());
    formClosing_ = true;
    // The handler that asked returns first, stopping what it was doing.
    PostMessageW(window_, kFormClosed, 0, 0);
    return true;
}

void ContestWindow::formClosingDone() {
    formClosing_ = false;
    // An abandoned computation leaves its bar, which the form opened next must not show.
    form_.setProgressVisible(false);
    form_.hide();
    setStatus(formClosedWhy_);
    takeBackChanges();
}

bool ContestWindow::hideClosedForm() {
    if (!shown()) {
        return false;
    }
    form_.hide();
    PostMessageW(window_, kFormHidden, 0, 0);
    return true;
}

void ContestWindow::onClose() {
    if (work_->busy()) {
        // Work that can stop stops, a publication runs to its end so that no folder is left half
        // written; then the window closes, asking about the contest that the work left shown.
        waiting_.closeWhenIdle();
        cancelWork();
        setStatus(contest::closesWhenIdleText());
        return;
    }
    if (unsaved()) {
        switch (showQuestion(window_, said(contest::closingTitle()),
                             said(contest::closingQuestion(nativePath(contest_->folder().out))),
                             {{IDYES, said(tr("Save"))},
                              {IDNO, said(tr("Close without saving"))},
                              {IDCANCEL, said(tr("Cancel"))}})) {
            case IDYES:
                waiting_.closeAfterSave();
                saveResults();
                return;
            case IDNO:
                break;
            default:
                // The window stays: what waited for the question goes on.
                afterWork();
                return;
        }
    }
    KillTimer(window_, kRecheckTimer);
    ShowWindow(window_, SW_HIDE);
    // Without the form, the program was this window.
    if (!form_.shown()) {
        PostQuitMessage(0);
    }
}

void ContestWindow::closeLater() {
    PostMessageW(window_, kCloseLater, 0, 0);
}

bool ContestWindow::unsaved() const {
    return contest::unsavedContest(contest_.get(), published_.lock().get());
}

std::string ContestWindow::nativePath(const std::string& path) const {
    std::string native = path;
    std::replace(native.begin(), native.end(), '/', '\\');
    return native;
}

// What is shown.

void ContestWindow::showContest(std::shared_ptr<const ContestWorkspace> contest) {
    const bool sameLogs = contest_ && contest && contest_->inputs() == contest->inputs();
    const std::optional<std::size_t> selected = sameLogs ? selectedRow() : std::nullopt;
    if (!sameLogs) {
        detailsOf_.reset();
    }
    contest_ = std::move(contest);
    SetWindowTextW(control(kOutputFolderText), said(nativePath(contest_->folder().out)).c_str());
    setRichText(control(kSummaryText),
                summaryRtf(contest::contestSummary(*contest_, userLanguage()), richFonts_));
    table_->setRows(contest_, selected);
    layOut();
    selectionChanged();
}

void ContestWindow::selectionChanged() {
    // Once, after the old row lost the selection and the new one took it.
    if (!selectionPosted_) {
        selectionPosted_ = true;
        PostMessageW(window_, kSelectionChanged, 0, 0);
    }
}

std::optional<std::size_t> ContestWindow::selectedRow() const {
    return table_->selectedRow();
}

std::optional<std::size_t> ContestWindow::selectedLog() const {
    const std::optional<std::size_t> row = selectedRow();
    if (!contest_ || !row || table_->rows()[*row].other) {
        return std::nullopt;
    }
    return table_->rows()[*row].log;
}

std::optional<std::size_t> ContestWindow::selectedOther() const {
    const std::optional<std::size_t> row = selectedRow();
    if (!contest_ || !row) {
        return std::nullopt;
    }
    return table_->rows()[*row].other;
}

void ContestWindow::showSelected() {
    const std::optional<std::size_t> row = selectedRow();
    const HWND details = control(kDetailsText);
    const HWND lines = control(kQsoLinesText);
    // The same row stays where the evaluator was in it.
    const bool same = row && row == detailsOf_;
    POINT detailsAt{};
    POINT linesAt{};
    SendMessageW(details, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&detailsAt));
    SendMessageW(lines, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&linesAt));
    if (!same) {
        selectedQso_.reset();
    }
    SetWindowTextW(control(kQsoChoiceText), L"");
    if (const std::optional<std::size_t> log = selectedLog()) {
        setRichText(details,
                    detailsRtf(contest::logDetails(*contest_, *log, userLanguage()), richFonts_));
        if (selectedQso_ && *selectedQso_ >= contest_->logs()[*log].qsos.size()) {
            selectedQso_.reset();
        }
        setRichText(lines,
                    qsoLinesRtf(contest::qsoLines(*contest_, *log, selectedQso_, userLanguage()),
                                richFonts_));
        SetWindowTextW(
            control(kQsoChoiceText),
            said(contest::qsoChoiceText(*contest_, *log, selectedQso_, userLanguage())).c_str());
    } else if (const std::optional<std::size_t> other = selectedOther()) {
        setRichText(
            details,
            detailsRtf(contest::otherFileDetails(*contest_, *other, userLanguage()), richFonts_));
        setRichText(lines, plainRtf(contest::noQsoLinesOfOtherFile(userLanguage()), richFonts_));
    } else {
        SetWindowTextW(details, L"");
        SetWindowTextW(lines, L"");
    }
    if (same) {
        SendMessageW(details, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&detailsAt));
        SendMessageW(lines, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&linesAt));
    }
    detailsOf_ = row;
    updateCommands();
}

void ContestWindow::updateCommands() {
    const contest::ScreenCommands commands = contest::screenCommands(
        {contest_.get(), selectedLog(), selectedQso_, work_->busy(), stoppable_, true});
    EnableWindow(control(kSetAsideButton), commands.setAside);
    EnableWindow(control(kCheckLogButton), commands.checkLog);
    EnableWindow(control(kCountsButton), commands.counts);
    EnableWindow(control(kUndoButton), commands.undo);
    EnableWindow(control(kKeepQsoButton), commands.keepQso);
    EnableWindow(control(kRemoveQsoButton), commands.removeQso);
    EnableWindow(control(kUndoQsoButton), commands.undoQso);
    EnableWindow(control(kOpenFolderButton), commands.openFolder);
    EnableWindow(control(kChangeOutputButton), commands.changeOutput);
    EnableWindow(control(kSaveResultsButton), commands.save);
    EnableWindow(control(kOpenResultsButton), commands.openResults);
    EnableWindow(control(kOpenInFormButton), commands.openInForm);
    EnableWindow(control(kCancelButton), commands.cancel);
    const bool progressShown = IsWindowVisible(control(kProgressBar)) != 0;
    if (progressShown != commands.showProgress) {
        const int show = commands.showProgress ? SW_SHOWNA : SW_HIDE;
        ShowWindow(control(kProgressBar), show);
        ShowWindow(control(kCancelButton), show);
        layOut();
    }
}

void ContestWindow::showQsoLines() {
    const std::optional<std::size_t> log = selectedLog();
    if (!log) {
        return;
    }
    // Where the evaluator is in the lines, the line chosen there standing out.
    const HWND lines = control(kQsoLinesText);
    POINT at{};
    SendMessageW(lines, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
    setRichText(lines, qsoLinesRtf(contest::qsoLines(*contest_, *log, selectedQso_, userLanguage()),
                                   richFonts_));
    SendMessageW(lines, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
    SetWindowTextW(
        control(kQsoChoiceText),
        said(contest::qsoChoiceText(*contest_, *log, selectedQso_, userLanguage())).c_str());
    updateCommands();
}

void ContestWindow::onQsoLinesMouse(const MSGFILTER& mouse) {
    if (mouse.msg != WM_LBUTTONDOWN && mouse.msg != WM_RBUTTONDOWN) {
        return;
    }
    const std::optional<std::size_t> log = selectedLog();
    if (!log) {
        return;
    }
    // The legend is the first line, then a line per QSO.
    POINTL point{static_cast<short>(LOWORD(mouse.lParam)),
                 static_cast<short>(HIWORD(mouse.lParam))};
    const HWND lines = control(kQsoLinesText);
    const auto at = SendMessageW(lines, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point));
    const auto line = SendMessageW(lines, EM_EXLINEFROMCHAR, 0, at);
    if (line < 1 || static_cast<std::size_t>(line) > contest_->logs()[*log].qsos.size()) {
        return;
    }
    selectQso(static_cast<std::size_t>(line - 1));
    if (mouse.msg == WM_RBUTTONDOWN) {
        popUpMenu({kKeepQsoButton, kRemoveQsoButton, kUndoQsoButton});
    }
}

void ContestWindow::popUpMenu(const std::vector<int>& commands) {
    const HMENU menu = CreatePopupMenu();
    for (const int id : commands) {
        if (id == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state = IsWindowEnabled(control(id)) ? MF_ENABLED : MF_GRAYED;
        AppendMenuW(menu, MF_STRING | state, static_cast<UINT_PTR>(id),
                    windowText(control(id)).c_str());
    }
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_,
                   nullptr);
    DestroyMenu(menu);
}

void ContestWindow::selectQso(std::size_t qso) {
    const std::optional<std::size_t> log = selectedLog();
    if (!log || qso >= contest_->logs()[*log].qsos.size()) {
        return;
    }
    selectedQso_ = qso;
    showQsoLines();
}

void ContestWindow::changeDecisions(const std::vector<std::size_t>& undone,
                                    std::optional<contest::Decision> decision, std::string done) {
    if (work_->busy() || !contest_) {
        return;
    }
    std::vector<contest::Decision> undo;
    for (const std::size_t d : undone) {
        undo.push_back(contest_->checked().decisions[d].decision);
    }
    auto failure = std::make_shared<std::string>();
    // Not stopped half-way: the file written, the contest shown is checked with it.
    runOnContest(
        contest_,
        [undo, decision, failure](ContestWorkspace& contest, const WorkProgress& progress) {
            return contest.redecide(undo, decision, failure.get(), progress);
        },
        std::move(done), {}, false, failure);
}

void ContestWindow::setSelectedAside() {
    const std::optional<std::size_t> l = selectedLog();
    if (work_->busy() || !l) {
        return;
    }
    const contest::ReasonQuestion question = contest::setAsideQuestion(*contest_, *l);
    const std::optional<std::wstring> reason =
        askReason(window_, said(question.title), said(question.text), said(question.preset),
                  said(tr("Decide")), said(tr("Cancel")));
    if (reason) {
        const contest::Decision decision = contest::decisionOnLog(
            contest_->logs()[*l], contest::DecisionKind::SetAside, narrow(*reason));
        changeDecisions({}, decision, contest::decisionWrittenText(decision));
    }
}

void ContestWindow::decideOnSelected(contest::DecisionKind kind) {
    if (const std::optional<std::size_t> l = selectedLog()) {
        const contest::Decision decision = contest::decisionOnLog(contest_->logs()[*l], kind);
        changeDecisions({}, decision, contest::decisionWrittenText(decision));
    }
}

void ContestWindow::undoSelectedDecisions() {
    if (const std::optional<std::size_t> l = selectedLog()) {
        const std::vector<std::size_t> decisions = contest::decisionsOnLog(*contest_, *l);
        if (!decisions.empty()) {
            changeDecisions(decisions, std::nullopt,
                            contest::decisionsUndoneText(*contest_, decisions));
        }
    }
}

void ContestWindow::decideOnSelectedQso(contest::DecisionKind kind) {
    const std::optional<std::size_t> l = selectedLog();
    if (work_->busy() || !l || !selectedQso_) {
        return;
    }
    const std::size_t q = *selectedQso_;
    const contest::ReasonQuestion question = contest::qsoQuestion(*contest_, *l, q, kind);
    const std::optional<std::wstring> reason =
        askReason(window_, said(question.title), said(question.text), said(question.preset),
                  said(tr("Decide")), said(tr("Cancel")));
    if (reason) {
        const contest::Decision decision =
            contest::decisionOnQso(contest_->logs()[*l], q, kind, narrow(*reason));
        changeDecisions({}, decision, contest::decisionWrittenText(decision));
    }
}

void ContestWindow::undoSelectedQsoDecisions() {
    const std::optional<std::size_t> l = selectedLog();
    if (l && selectedQso_) {
        const std::vector<std::size_t> decisions =
            contest::decisionsOnQso(*contest_, *l, *selectedQso_);
        if (!decisions.empty()) {
            changeDecisions(decisions, std::nullopt,
                            contest::decisionsUndoneText(*contest_, decisions));
        }
    }
}

void ContestWindow::setStatus(const std::string& text) {
    SetWindowTextW(control(kStatusText), said(text).c_str());
}

}  // namespace zeb::win32
