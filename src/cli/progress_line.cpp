#include "cli/progress_line.h"

namespace zeb::cli {

namespace {

// Back to the start of the line and clear it to its end.
constexpr char kEraseLine[] = "\r\x1b[K";

}  // namespace

void ProgressLine::ClearingBuffer::eraseLine() {
    if (shown) {
        target_ << kEraseLine;
        shown = false;
    }
}

ProgressLine::ClearingBuffer::int_type ProgressLine::ClearingBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    eraseLine();
    target_.put(traits_type::to_char_type(c));
    return target_ ? c : traits_type::eof();
}

std::streamsize ProgressLine::ClearingBuffer::xsputn(const char* text, std::streamsize count) {
    eraseLine();
    target_.write(text, count);
    return target_ ? count : 0;
}

int ProgressLine::ClearingBuffer::sync() {
    target_.flush();
    return target_ ? 0 : -1;
}

ProgressLine::ProgressLine(std::ostream& terminal, bool enabled)
    : terminal_(terminal), enabled_(enabled), buffer_(terminal), clearing_(&buffer_) {}

void ProgressLine::show(std::size_t done, std::size_t total, const std::string& log) {
    if (!enabled_) {
        return;
    }
    terminal_ << "\rzebscore: " << done << '/' << total << ' ' << log << "\x1b[K";
    terminal_.flush();
    buffer_.shown = true;
}

void ProgressLine::clear() {
    buffer_.eraseLine();
    terminal_.flush();
}

}  // namespace zeb::cli
