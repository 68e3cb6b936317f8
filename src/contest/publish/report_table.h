#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb::contest {

// The formats of the results table and the cross-check report, named by the file's extension.
enum class ReportFormat { Csv, Html, Text };

// ".csv", ".html" or ".txt", in any case; nothing for any other name.
std::optional<ReportFormat> reportFormatOf(std::string_view path);

enum class Align { Left, Right };

struct TableColumn {
    std::string heading;  // Czech, for the text and HTML tables
    std::string key;      // English, for the CSV header
    Align align = Align::Left;
    bool code = false;  // log lines: kept in a monospaced font in HTML, one a line
    // Neighbouring columns of one group share a heading above theirs in HTML; the text table
    // puts the group before each heading.
    std::string group = {};
};

// A table of UTF-8 cells, rendered alike in every format.
struct Table {
    std::vector<TableColumn> columns;
    std::vector<std::vector<std::string>> rows;
    // In HTML, a cell whose link (a relative file name) is not empty links to it.
    std::vector<std::vector<std::string>> links = {};
};

// The number of characters of a UTF-8 text (code points), which is what a monospaced column
// takes: every byte counts except the continuation bytes of a character.
std::size_t displayWidth(std::string_view utf8);

// Columns two spaces apart, each as wide as its widest cell; no blanks at the line ends.
std::string textTable(const Table& table, std::string_view indent = "");

// RFC 4180: a field is quoted when it holds a comma, a quote, CR or LF, and a quote is doubled;
// records end with CR LF. A field that is no number and begins with =, +, -, @, a tab or CR, which
// a spreadsheet takes for a formula, is written after an apostrophe, as text.
std::string csvField(std::string_view text);
std::string csvRecord(const std::vector<std::string>& fields);

std::string htmlEscape(std::string_view text);
// A relative file name as the path of a link: every byte but letters, figures, "-._~/" escaped.
std::string urlPath(std::string_view path);
std::string htmlTable(const Table& table, std::string_view cssClass);
// A complete page with its style sheet inside, for the screen and for print; a wide table prints
// on landscape pages.
std::string htmlPage(std::string_view title, std::string_view body, bool landscape = false);

}  // namespace zeb::contest
