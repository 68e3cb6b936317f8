#include "win32/contest_table_view.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "platform/translation.h"

namespace zeb::win32 {

using contest::ViewColumn;

namespace {

std::wstring said(const std::string& utf8) {
    return widen(utf8);
}

COLORREF toneColour(contest::RowTone tone) {
    switch (tone) {
        case contest::RowTone::NoLog:
            return RGB(0xe4, 0xe4, 0xe4);
        case contest::RowTone::NotScored:
            return RGB(0xf6, 0xcf, 0xcf);
        case contest::RowTone::ToLookAt:
            return RGB(0xff, 0xec, 0xb3);
        case contest::RowTone::Plain:
            break;
    }
    return GetSysColor(COLOR_WINDOW);
}

}  // namespace

ContestTableView::ContestTableView(HWND parent, int id, HINSTANCE instance) {
    table_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                 LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                             0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             instance, nullptr);
    if (table_ == nullptr) {
        throw std::runtime_error("the table of the contest window cannot be created");
    }
    const HWND table = table_;
    SendMessageW(table, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
    for (int c = 0; c < contest::kViewColumnCount; ++c) {
        const auto column = static_cast<ViewColumn>(c);
        std::vector<std::wstring> lines;
        for (const std::string& line : contest::columnHeadingLines(column, userLanguage())) {
            lines.push_back(said(line));
        }
        headings_.push_back(lines);
        std::wstring heading = lines.front();
        for (std::size_t l = 1; l < lines.size(); ++l) {
            heading += L" " + lines[l];
        }
        LVCOLUMNW item{};
        item.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        item.fmt = contest::isNumberColumn(column) && c > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        item.cx = scale(60);
        item.pszText = heading.data();
        SendMessageW(table, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c),
                     reinterpret_cast<LPARAM>(&item));
    }
    header_ = reinterpret_cast<HWND>(SendMessageW(table, LVM_GETHEADER, 0, 0));
    // The headings are drawn here, on as many lines as they need, which the header cannot do.
    for (int c = 0; c < contest::kViewColumnCount; ++c) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(header_, HDM_GETITEMW, static_cast<WPARAM>(c),
                     reinterpret_cast<LPARAM>(&item));
        item.fmt |= HDF_OWNERDRAW;
        SendMessageW(header_, HDM_SETITEMW, static_cast<WPARAM>(c),
                     reinterpret_cast<LPARAM>(&item));
    }
    SetWindowSubclass(table, tableProc, 0, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(header_, headerProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void ContestTableView::setFont(HFONT font, UINT dpi) {
    font_ = font;
    dpi_ = dpi;
    SendMessageW(table_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(header_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void ContestTableView::setRows(std::shared_ptr<const contest::ContestWorkspace> contest,
                               std::optional<std::size_t> keep) {
    // The list view lets go of the rows before they change under it.
    shown_.clear();
    SendMessageW(table_, LVM_SETITEMCOUNT, 0, 0);
    contest_ = std::move(contest);
    rows_.clear();
    if (contest_) {
        const auto& check = contest_->checked().crossCheck;
        rows_ = contest::tableRows(contest_->logs(), check ? &*check : nullptr, contest_->others(),
                                   userLanguage());
    }
    fitColumns();
    arrange(keep);
}

void ContestTableView::setOnlyToLookAt(bool only) {
    onlyToLookAt_ = only;
    arrange(selectedRow());
}

// Each column as wide as its heading and widest cell, but the calls, names and outcomes no wider
// than an evaluator reads at a glance (the tip holds them whole); the flags or reasons take what is
// left.
void ContestTableView::fitColumns() {
    const HWND table = table_;
    const HDC dc = GetDC(table);
    const HGDIOBJ before = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const auto widthOf = [&](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const int padding = scale(14);
    int used = 0;
    for (int c = 0; c < contest::kViewColumnCount; ++c) {
        const auto column = static_cast<ViewColumn>(c);
        int width = 0;
        for (const std::wstring& line : headings_[static_cast<std::size_t>(c)]) {
            width = std::max(width, widthOf(line));
        }
        // Room for the sort mark beside the heading.
        width += scale(10);
        if (column == ViewColumn::Flags) {
            width = std::max(width, widthOf(L"MMMMMMMMMMMMMMMM"));
        } else {
            for (const contest::LogRow& row : rows_) {
                width = std::max(width, widthOf(said(contest::cellText(row, column))));
            }
        }
        if (const int characters = contest::widestCharacters(column); characters > 0) {
            width = std::min(width, static_cast<int>(metrics.tmAveCharWidth) * characters);
        }
        width += padding;
        if (column == ViewColumn::Flags) {
            RECT client{};
            GetClientRect(table, &client);
            // Room for the scroll bar that a long table brings.
            const int room = static_cast<int>(client.right) - used -
                             ((GetWindowLongPtrW(table, GWL_STYLE) & WS_VSCROLL) != 0
                                  ? 0
                                  : GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_));
            width = std::max(width, room);
        }
        used += width;
        SendMessageW(table, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), MAKELPARAM(width, 0));
    }
    SelectObject(dc, before);
    ReleaseDC(table, dc);
}

void ContestTableView::drawHeading(const DRAWITEMSTRUCT& item) {
    const auto c = static_cast<std::size_t>(item.itemID);
    if (c >= headings_.size()) {
        return;
    }
    RECT place = item.rcItem;
    FillRect(item.hDC, &place, GetSysColorBrush(COLOR_BTNFACE));
    const HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
    const HGDIOBJ penBefore = SelectObject(item.hDC, pen);
    MoveToEx(item.hDC, place.right - 1, place.top + scale(2), nullptr);
    LineTo(item.hDC, place.right - 1, place.bottom - scale(2));
    MoveToEx(item.hDC, place.left, place.bottom - 1, nullptr);
    LineTo(item.hDC, place.right, place.bottom - 1);
    std::wstring text;
    for (const std::wstring& line : headings_[c]) {
        text += (text.empty() ? L"" : L"\n") + line;
    }
    const HGDIOBJ fontBefore = SelectObject(item.hDC, font_);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    RECT bounds = place;
    InflateRect(&bounds, -scale(3), 0);
    RECT measured = bounds;
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CENTER | DT_NOPREFIX | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    bounds.top += (bounds.bottom - bounds.top - height) / 2;
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (static_cast<int>(c) == static_cast<int>(sortColumn_)) {
        // The sort mark over the heading, pointing the way the column is sorted.
        const int middle = (place.left + place.right) / 2;
        const int size = scale(4);
        const int top = place.top + scale(1);
        const POINT up[] = {
            {middle - size, top + size}, {middle + size, top + size}, {middle, top}};
        const POINT down[] = {{middle - size, top}, {middle + size, top}, {middle, top + size}};
        const HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_3DDKSHADOW));
        const HGDIOBJ brushBefore = SelectObject(item.hDC, brush);
        Polygon(item.hDC, ascending_ ? up : down, 3);
        SelectObject(item.hDC, brushBefore);
        DeleteObject(brush);
    }
    SelectObject(item.hDC, fontBefore);
    SelectObject(item.hDC, penBefore);
    DeleteObject(pen);
}

LRESULT CALLBACK ContestTableView::tableProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, tableProc, 0);
    }
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        auto* self = reinterpret_cast<ContestTableView*>(data);
        if (item->CtlType == ODT_HEADER && item->hwndItem == self->header_) {
            self->drawHeading(*item);
            return TRUE;
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK ContestTableView::headerProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, headerProc, 0);
    }
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == HDM_LAYOUT && result) {
        // As high as the heading of the most lines.
        auto* self = reinterpret_cast<ContestTableView*>(data);
        auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
        std::size_t lines = 1;
        for (const std::vector<std::wstring>& heading : self->headings_) {
            lines = std::max(lines, heading.size());
        }
        const HDC dc = GetDC(window);
        const HGDIOBJ before = SelectObject(dc, self->font_);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, before);
        ReleaseDC(window, dc);
        const int height = static_cast<int>(lines) * metrics.tmHeight + self->scale(10);
        layout->pwpos->cy = height;
        layout->prc->top = layout->pwpos->y + height;
    }
    return result;
}

bool ContestTableView::onNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != table_) {
        return false;
    }
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& display =
                const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
            LVITEMW& item = display.item;
            if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0 &&
                static_cast<std::size_t>(item.iItem) < shown_.size() && item.cchTextMax > 0) {
                cell_ = said(contest::cellText(rows_[shown_[static_cast<std::size_t>(item.iItem)]],
                                               static_cast<ViewColumn>(item.iSubItem)));
                lstrcpynW(item.pszText, cell_.c_str(), item.cchTextMax);
            }
            return true;
        }
        case LVN_ODFINDITEMW:
            result = -1;
            return true;
        case NM_CUSTOMDRAW: {
            auto& draw =
                const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
                result = CDRF_NOTIFYITEMDRAW;
                return true;
            }
            if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT &&
                draw.nmcd.dwItemSpec < shown_.size()) {
                const bool selected = SendMessageW(header.hwndFrom, LVM_GETITEMSTATE,
                                                   draw.nmcd.dwItemSpec, LVIS_SELECTED) != 0;
                if (selected && GetFocus() == header.hwndFrom) {
                    result = CDRF_DODEFAULT;  // in the colours of a selection
                    return true;
                }
                if (selected) {
                    // Still plain to see while the evaluator reads its details.
                    draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
                    draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
                    draw.clrTextBk = RGB(0xc4, 0xd8, 0xf2);
                    result = CDRF_NEWFONT;
                    return true;
                }
                draw.clrTextBk = toneColour(contest::rowTone(rows_[shown_[draw.nmcd.dwItemSpec]]));
                result = CDRF_NEWFONT;
                return true;
            }
            result = CDRF_DODEFAULT;
            return true;
        }
        case LVN_COLUMNCLICK: {
            const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
            const auto column = static_cast<ViewColumn>(click.iSubItem);
            ascending_ = column == sortColumn_ ? !ascending_ : true;
            sortColumn_ = column;
            arrange(selectedRow());
            InvalidateRect(header_, nullptr, TRUE);
            return true;
        }
        case LVN_GETINFOTIPW: {
            auto& tip =
                const_cast<NMLVGETINFOTIPW&>(reinterpret_cast<const NMLVGETINFOTIPW&>(header));
            if (tip.iItem < 0 || static_cast<std::size_t>(tip.iItem) >= shown_.size() ||
                !contest_) {
                return true;
            }
            const contest::LogRow& row = rows_[shown_[static_cast<std::size_t>(tip.iItem)]];
            std::string text = row.call + " – " + row.file + " (" + row.outcome + ")";
            for (const contest::RowReason& reason :
                 contest::rowReasons(contest_->logs(), row, userLanguage())) {
                text += "\n" +
                        (reason.phrase.empty() ? reason.text : reason.phrase + ": " + reason.text);
            }
            lstrcpynW(tip.pszText, said(text).c_str(), tip.cchTextMax);
            return true;
        }
        default:
            return false;
    }
}

void ContestTableView::arrange(std::optional<std::size_t> keepSelected) {
    const bool only = onlyToLookAt_;
    shown_.clear();
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (!only || contest::toLookAt(rows_[r])) {
            shown_.push_back(r);
        }
    }
    const ViewColumn column = sortColumn_;
    std::vector<std::wstring> texts;
    if (contest::sortByOf(column) == contest::SortBy::Text) {
        for (const contest::LogRow& row : rows_) {
            texts.push_back(said(contest::cellText(row, column)));
        }
    }
    const auto less = [&](std::size_t a, std::size_t b) {
        switch (contest::sortByOf(column)) {
            case contest::SortBy::Order:
                return rows_[a].order < rows_[b].order;
            case contest::SortBy::Number:
                return contest::sortNumber(rows_[a], column) <
                       contest::sortNumber(rows_[b], column);
            case contest::SortBy::Text:
                break;
        }
        // In the alphabet of the evaluator's language.
        return CompareStringEx(LOCALE_NAME_USER_DEFAULT, 0, texts[a].c_str(), -1, texts[b].c_str(),
                               -1, nullptr, nullptr, 0) == CSTR_LESS_THAN;
    };
    std::stable_sort(shown_.begin(), shown_.end(), [&](std::size_t a, std::size_t b) {
        return ascending_ ? less(a, b) : less(b, a);
    });
    const HWND table = table_;
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(table, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    SendMessageW(table, LVM_SETITEMCOUNT, shown_.size(), 0);
    InvalidateRect(table, nullptr, TRUE);
    if (keepSelected && std::find(shown_.begin(), shown_.end(), *keepSelected) != shown_.end()) {
        selectRow(*keepSelected);
    } else if (!shown_.empty()) {
        selectRow(shown_.front());
    }
}

void ContestTableView::selectRow(std::size_t row) {
    const auto at = std::find(shown_.begin(), shown_.end(), row);
    if (at == shown_.end()) {
        return;
    }
    const auto item = static_cast<WPARAM>(at - shown_.begin());
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    const HWND table = table_;
    SendMessageW(table, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
    SendMessageW(table, LVM_ENSUREVISIBLE, item, FALSE);
}

std::optional<std::size_t> ContestTableView::selectedRow() const {
    const auto item = static_cast<int>(
        SendMessageW(table_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (item < 0 || static_cast<std::size_t>(item) >= shown_.size()) {
        return std::nullopt;
    }
    return shown_[static_cast<std::size_t>(item)];
}

}  // namespace zeb::win32
