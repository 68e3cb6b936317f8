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
        const std::size_t needed = line.size() + (lineHasWord ? 1 : 0) + word.size();
        if (needed > width && (lineHasWord || line.size() > indent)) {
            out += line + '\n';
            line.assign(indent, ' ');
            lineHasWord = false;
        }
        if (lineHasWord) {
            line += ' ';
        } else if (line.size() < indent) {
            line.resize(indent, ' ');
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
                tooWide = tooWide || lines[i].size() > width;
            }
            // A paragraph that fits keeps the breaks it was written with.
            out += tooWide ? fill("", paragraph, 0, width) : paragraph;
        } else if (isOptionHead(line)) {
            const bool described = line.size() > kDescriptionColumn &&
                                   line[kDescriptionColumn - 1] == ' ' &&
                                   line[kDescriptionColumn - 2] == ' ';
            std::string head(described ? line.substr(0, kDescriptionColumn) : line);
            std::string description(described ? line.substr(kDescriptionColumn) : "");
            for (++i; i < lines.size() && isDescriptionContinuation(lines[i]); ++i) {
                description += ' ' + std::string(lines[i]);
            }
            while (!head.empty() && head.back() == ' ') {
                head.pop_back();
            }
            if (description.find_first_not_of(' ') == std::string::npos) {
                out += head + '\n';
            } else if (head.size() + 2 > kDescriptionColumn) {
                out += head + '\n' + fill("", description, kDescriptionColumn, width);
            } else {
                head.resize(kDescriptionColumn, ' ');
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
