#include "contest/publish/report_table.h"

#include <algorithm>

namespace zeb::contest {

namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) {
        return false;
    }
    const std::string_view tail = text.substr(text.size() - ending.size());
    return std::equal(tail.begin(), tail.end(), ending.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

void pad(std::string& out, std::size_t count) {
    out.append(count, ' ');
}

constexpr std::string_view kStyle =
    R"(body { font-family: "DejaVu Sans", Arial, sans-serif; margin: 2em; color: #111; }
h1 { font-size: 1.5em; margin-bottom: 0.3em; }
h2 { font-size: 1.2em; margin-top: 1.6em; }
h3 { font-size: 1em; margin: 1em 0 0.3em; }
p.note { color: #444; margin-top: 0; }
table.flags td:nth-child(3) { white-space: nowrap; color: #8a1c00; }
table { border-collapse: collapse; margin: 0.5em 0 1em; }
th, td { border: 1px solid #bbb; padding: 0.2em 0.5em; vertical-align: top; }
th { background: #e4ebf2; text-align: center; }
td.num { text-align: right; font-variant-numeric: tabular-nums; }
tbody tr:nth-child(even) { background: #f5f7f9; }
code { font-family: "DejaVu Sans Mono", "Courier New", monospace; white-space: pre; }
@page { margin: 12mm; }
@media print {
  body { margin: 0; font-size: 9pt; color: #000; }
  th { background: none; border-bottom: 2px solid #000; }
  tbody tr:nth-child(even) { background: none; }
  thead { display: table-header-group; }
  tr { break-inside: avoid; }
  h2, h3 { break-after: avoid; }
}
)";

}  // namespace

std::optional<ReportFormat> reportFormatOf(std::string_view path) {
    if (endsWithIgnoringCase(path, ".csv")) {
        return ReportFormat::Csv;
    }
    if (endsWithIgnoringCase(path, ".html")) {
        return ReportFormat::Html;
    }
    if (endsWithIgnoringCase(path, ".txt")) {
        return ReportFormat::Text;
    }
    return std::nullopt;
}

std::size_t displayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        // Continuation bytes belong to the character before them.
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            ++width;
        }
    }
    return width;
}

std::string textTable(const Table& table, std::string_view indent) {
    std::vector<std::string> headings;
    for (const TableColumn& column : table.columns) {
        headings.push_back(column.group.empty() ? column.heading
                                                : column.group + " " + column.heading);
    }
    std::vector<std::size_t> widths;
    for (const std::string& heading : headings) {
        widths.push_back(displayWidth(heading));
    }
    for (const auto& row : table.rows) {
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
            widths[c] = std::max(widths[c], displayWidth(row[c]));
        }
    }
    const auto line = [&](const std::vector<std::string>& cells) {
        std::string out(indent);
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const std::string cell = c < cells.size() ? cells[c] : std::string();
            const std::size_t gap = widths[c] - displayWidth(cell);
            if (c > 0) {
                pad(out, 2);
            }
            if (table.columns[c].align == Align::Right) {
                pad(out, gap);
                out += cell;
            } else {
                out += cell;
                pad(out, gap);
            }
        }
        while (!out.empty() && out.back() == ' ') {
            out.pop_back();
        }
        return out + '\n';
    };
    std::string out = line(headings);
    std::size_t ruleWidth = 2 * (widths.empty() ? 0 : widths.size() - 1);
    for (const std::size_t width : widths) {
        ruleWidth += width;
    }
    out += std::string(indent);
    out.append(ruleWidth, '-');
    out += '\n';
    for (const auto& row : table.rows) {
        out += line(row);
    }
    return out;
}

namespace {

// A number as the tables write it: figures, perhaps after a minus sign.
bool isNumber(std::string_view text) {
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::string csvField(std::string_view text) {
    // A log is written by strangers: a spreadsheet would run a cell that begins like a formula.
    // A leading apostrophe makes it text.
    if (!text.empty() &&
        std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
        !isNumber(text)) {
        return csvField("'" + std::string(text));
    }
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    return out + '"';
}

std::string csvRecord(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out += csvField(fields[i]);
    }
    return out + "\r\n";
}

std::string htmlEscape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string urlPath(std::string_view path) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            std::string_view("-._~/").find(c) != std::string_view::npos) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

namespace {

// One header row, or two when columns are grouped: a group's name spans its columns and the
// columns without a group span both rows.
std::string htmlHead(const std::vector<TableColumn>& columns) {
    const bool grouped = std::any_of(columns.begin(), columns.end(),
                                     [](const TableColumn& c) { return !c.group.empty(); });
    if (!grouped) {
        std::string row = "<tr>";
        for (const TableColumn& column : columns) {
            row += "<th>" + htmlEscape(column.heading) + "</th>";
        }
        return "<thead>" + row + "</tr></thead>\n";
    }
    std::string upper = "<tr>";
    std::string lower = "<tr>";
    for (std::size_t c = 0; c < columns.size();) {
        const std::string& group = columns[c].group;
        if (group.empty()) {
            upper += "<th rowspan=\"2\">" + htmlEscape(columns[c].heading) + "</th>";
            ++c;
            continue;
        }
        std::size_t span = 0;
        for (; c < columns.size() && columns[c].group == group; ++c, ++span) {
            lower += "<th>" + htmlEscape(columns[c].heading) + "</th>";
        }
        upper += "<th colspan=\"" + std::to_string(span) + "\">" + htmlEscape(group) + "</th>";
    }
    return "<thead>" + upper + "</tr>\n" + lower + "</tr></thead>\n";
}

}  // namespace

std::string htmlTable(const Table& table, std::string_view cssClass) {
    std::string out = "<table class=\"" + htmlEscape(cssClass) + "\">\n";
    out += htmlHead(table.columns) + "<tbody>\n";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        out += "<tr>";
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            const std::string cell = c < row.size() ? row[c] : std::string();
            std::string shown =
                table.columns[c].code ? "<code>" + htmlEscape(cell) + "</code>" : htmlEscape(cell);
            if (r < table.links.size() && c < table.links[r].size() && !table.links[r][c].empty()) {
                shown =
                    "<a href=\"" + htmlEscape(urlPath(table.links[r][c])) + "\">" + shown + "</a>";
            }
            out += table.columns[c].align == Align::Right ? "<td class=\"num\">" : "<td>";
            out += shown + "</td>";
        }
        out += "</tr>\n";
    }
    return out + "</tbody>\n</table>\n";
}

std::string htmlPage(std::string_view title, std::string_view body, bool landscape) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\">\n";
    out += "<title>" + htmlEscape(title) + "</title>\n<style>\n";
    out += kStyle;
    if (landscape) {
        out += "@page { size: A4 landscape; }\n";
    }
    out += "</style>\n</head>\n<body>\n";
    out += body;
    return out + "</body>\n</html>\n";
}

}  // namespace zeb::contest
