#include "platform/text_input.h"

namespace zeb {

int TextInput::getSlowly() {
    if (pendingCarriageReturns_ > 0) {
        --pendingCarriageReturns_;
        return '\r';
    }
    if (pendingByte_ != kNothing) {
        const int byte = pendingByte_;
        pendingByte_ = kNothing;
        return byte;
    }
    const int byte = nextRaw();
    if (byte != '\r') {
        return byte;
    }
    // A line end written as CR CR LF (or with more CRs) is still one line end: a CR left at the
    // end of a line would change the last word of every line.
    long long run = 1;
    int next = nextRaw();
    while (next == '\r') {
        ++run;
        next = nextRaw();
    }
    if (next == '\n') {
        return '\n';
    }
    pendingCarriageReturns_ = run - 1;
    pendingByte_ = next;
    return '\r';
}

std::vector<std::string_view> textLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lineFeed = bytes.find('\n', start);
        if (lineFeed == std::string_view::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        std::size_t end = lineFeed;
        while (end > start && bytes[end - 1] == '\r') {
            --end;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = lineFeed + 1;
    }
    return lines;
}

MemoryTextInput::MemoryTextInput(std::string bytes) : bytes_(std::move(bytes)) {
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes_.data());
    present(begin, begin + bytes_.size());
}

FileTextInput::~FileTextInput() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

namespace {
// Few reads per log, and few fresh pages for the block: a fresh page costs more than a read.
constexpr std::size_t kBlockSize = 16 * 1024;
}  // namespace

int FileTextInput::rawGet() {
    if (!block_) {
        block_ = std::make_unique_for_overwrite<unsigned char[]>(kBlockSize);
    }
    const std::size_t count = std::fread(block_.get(), 1, kBlockSize, file_);
    if (count == 0) {
        return kEndOfFile;
    }
    present(block_.get() + 1, block_.get() + count);
    return block_[0];
}

}  // namespace zeb
