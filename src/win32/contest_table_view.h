#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "contest/publish/contest_table.h"
#include "contest/workspace/contest_workspace.h"
#include "platform/windows_text.h"

namespace zeb::win32 {

// The contest window's table: an owner-data list view over the contest layer's rows, one per log
// and one per file that is no log, kept to the logs to look at when asked and sorted by the column
// clicked as the contest layer orders it; each row in its tone, the headings on the lines that the
// contest layer breaks them into, and a row's reasons in its tip.
class ContestTableView {
  public:
    ContestTableView(HWND parent, int id, HINSTANCE instance);
    ContestTableView(const ContestTableView&) = delete;
    ContestTableView& operator=(const ContestTableView&) = delete;

    HWND handle() const { return table_; }
    void setFont(HFONT font, UINT dpi);

    // The rows of the contest; `keep` (an index into them) stays selected when it is shown, the
    // first row shown otherwise.
    void setRows(std::shared_ptr<const contest::ContestWorkspace> contest,
                 std::optional<std::size_t> keep);
    void setOnlyToLookAt(bool only);
    // Each column as wide as its heading and widest cell, within what an evaluator reads at a
    // glance; the last takes what is left.
    void fitColumns();

    const std::vector<contest::LogRow>& rows() const { return rows_; }
    // The row selected, an index into the rows.
    std::optional<std::size_t> selectedRow() const;
    void selectRow(std::size_t row);

    // Answers the notifications that concern the table alone (its cells, colours, sorting and
    // tips) into `result`; false for the others.
    bool onNotify(const NMHDR& header, LRESULT& result);

  private:
    static LRESULT CALLBACK tableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK headerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
    void arrange(std::optional<std::size_t> keep);
    void drawHeading(const DRAWITEMSTRUCT& item);
    int scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }

    HWND table_ = nullptr;
    HWND header_ = nullptr;
    HFONT font_ = nullptr;
    UINT dpi_ = 96;
    std::shared_ptr<const contest::ContestWorkspace> contest_;
    std::vector<contest::LogRow> rows_;
    std::vector<std::size_t> shown_;  // indexes into rows_, in the table's order
    contest::ViewColumn sortColumn_ = contest::ViewColumn::Rank;
    bool ascending_ = true;
    bool onlyToLookAt_ = false;
    std::vector<std::vector<std::wstring>> headings_;  // each column's heading, on its lines
    std::wstring cell_;                                // the text the table asked for last
};

}  // namespace zeb::win32
