#include "cli/help_text.h"

#include <sstream>
#include <vector>

namespace zeb::cli {

namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

// Columns, not bytes: a Czech help text has letters of two bytes.
std::size_t widthOf(std::string_view utf8) {
    std::size_t width = 0;
    for (const char c : utf8) {
        width += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 1;
    }
    return width;
}

// Where the column stands in the line, in bytes; the line's size when it is shorter.
std::size_t byteOfColumn(std::string_view utf8, std::size_t column) {
    std::size_t at = 0;
    for (std::size_t seen = 0; at < utf8.size(); ++at) {
        if ((static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80 && seen++ == column) {
            break;
        }
    }
    return at;
}

bool isProse(std::string_view line) {
    return !line.empty() && line.front() != ' ';
}

bool isOptionHead(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string_view::npos && first > 0 && first < kDescriptionColumn &&
           line[first] == '-';
}

bool isDescriptionContinuation(std::string_view line) {
    return line.size() > kDescriptionColumn && line.find_first_not_of(' ') == kDescriptionColumn;
}

// The words of `words`, filled into lines of `width`; the first line goes on after `first`
// (already `first.size()` wide, or on a line of its own when that leaves no room), the others
// start with `indent` spaces.
std::string fill(std::string first, std::string_view words, std::size_t indent, std::size_t width) {
    std::string out;
    std::string line = std::move(first);
    bool lineHasWord = false;
    std::istringstream stream{std::string(words)};
    std::string word;
    while (stream >> word) {
        const std::size_t needed = widthOf(line) + (lineHasWord ? 1 : 0) + widthOf(word);
        if (needed > width && (lineHasWord || widthOf(line) > indent)) {
            out += line + '\n';
            line.assign(indent, ' ');
            lineHasWord = false;
        }
        if (lineHasWord) {
            line += ' ';
        } else if (widthOf(line) < indent) {
            line.append(indent - widthOf(line), ' ');
        }
        line += word;
        lineHasWord = true;
    }
    return out + line + '\n';
}

}  // namespace

std::string wrapHelp(std::string_view text, std::size_t width) {
    const std::vector<std::string_view> lines = linesOf(text);
    std::string out;
    for (std::size_t i = 0; i < lines.size();) {
        const std::string_view line = lines[i];
        if (isProse(line)) {
            std::string paragraph;
            bool tooWide = false;
            for (; i < lines.size() && isProse(lines[i]); ++i) {
                paragraph += std::string(lines[i]) + '\n';
                tooWide = tooWide || widthOf(lines[i]) > width;
            }
            // A paragraph that fits keeps the breaks it was written with.
            out += tooWide ? fill("", paragraph, 0, width) : paragraph;
        } else if (isOptionHead(line)) {
            const std::size_t column = byteOfColumn(line, kDescriptionColumn);
            const bool described =
                column < line.size() && line[column - 1] == ' ' && line[column - 2] == ' ';
            std::string head(described ? line.substr(0, column) : line);
            std::string description(described ? line.substr(column) : "");
            for (++i; i < lines.size() && isDescriptionContinuation(lines[i]); ++i) {
                description += ' ' + std::string(lines[i]);
            }
            while (!head.empty() && head.back() == ' ') {
                head.pop_back();
            }
            if (description.find_first_not_of(' ') == std::string::npos) {
                out += head + '\n';
            } else if (widthOf(head) + 2 > kDescriptionColumn) {
                out += head + '\n' + fill("", description, kDescriptionColumn, width);
            } else {
                head.append(kDescriptionColumn - widthOf(head), ' ');
                out += fill(head, description, kDescriptionColumn, width);
            }
        } else {
            out += std::string(line) + '\n';
            ++i;
        }
    }
    return out;
}

}  // namespace zeb::cli
