#include "platform/text_input.h"

namespace zeb {

int TextInput::get() {
    if (pendingCarriageReturns_ > 0) {
        --pendingCarriageReturns_;
        return '\r';
    }
    if (pendingByte_ != kNothing) {
        const int byte = pendingByte_;
        pendingByte_ = kNothing;
        return byte;
    }
    const int byte = rawGet();
    if (byte != '\r') {
        return byte;
    }
    // A line end written as CR CR LF (or with more CRs) is still one line end: a CR left at the
    // end of a line would change the last word of every line.
    long long run = 1;
    int next = rawGet();
    while (next == '\r') {
        ++run;
        next = rawGet();
    }
    if (next == '\n') {
        return '\n';
    }
    pendingCarriageReturns_ = run - 1;
    pendingByte_ = next;
    return '\r';
}

int MemoryTextInput::rawGet() {
    if (position_ >= bytes_.size()) {
        return kEndOfFile;
    }
    return static_cast<unsigned char>(bytes_[position_++]);
}

FileTextInput::~FileTextInput() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

int FileTextInput::rawGet() {
    const int byte = std::getc(file_);
    return byte == EOF ? kEndOfFile : byte;
}

}  // namespace zeb
