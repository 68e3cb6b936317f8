#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

inline constexpr int kEndOfFile = -1;

// Text-mode reading, one byte at a time: a run of carriage returns that stands right before a line
// feed is not delivered, every other byte is (0 to 255); kEndOfFile at the end.
class TextInput {
  public:
    TextInput() = default;
    TextInput(const TextInput&) = delete;
    TextInput& operator=(const TextInput&) = delete;
    virtual ~TextInput() = default;

    // A log is read a byte at a time, so the common byte is served inline from the bytes at hand.
    int get() {
        if (next_ != end_ && *next_ != '\r' && pendingCarriageReturns_ == 0 &&
            pendingByte_ == kNothing) {
            return *next_++;
        }
        return getSlowly();
    }

  protected:
    // The next raw byte, or kEndOfFile; asked only when the bytes at hand are used up. A source
    // that reads in blocks hands out the first byte of a block and the rest with `present`.
    virtual int rawGet() = 0;
    void present(const unsigned char* begin, const unsigned char* end) {
        next_ = begin;
        end_ = end;
    }

  private:
    static constexpr int kNothing = -2;
    int getSlowly();
    int nextRaw() { return next_ != end_ ? *next_++ : rawGet(); }

    const unsigned char* next_ = nullptr;
    const unsigned char* end_ = nullptr;
    long long pendingCarriageReturns_ = 0;
    int pendingByte_ = kNothing;
};

// The lines of bytes read in text mode, without their line ends, as views into the bytes: a run of
// carriage returns right before a line feed belongs to the line end, as TextInput does not
// deliver it. An empty last piece after the final line feed is no line.
std::vector<std::string_view> textLines(std::string_view bytes);

class MemoryTextInput final : public TextInput {
  public:
    explicit MemoryTextInput(std::string bytes);

  protected:
    int rawGet() override { return kEndOfFile; }

  private:
    std::string bytes_;
};

// Reads bytes that someone else keeps for as long as the input is read.
class ViewTextInput final : public TextInput {
  public:
    explicit ViewTextInput(std::string_view bytes) {
        const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
        present(begin, begin + bytes.size());
    }

  protected:
    int rawGet() override { return kEndOfFile; }
};

class FileTextInput final : public TextInput {
  public:
    // Takes ownership of an open file.
    explicit FileTextInput(std::FILE* file) : file_(file) {}
    ~FileTextInput() override;
    FileTextInput(const FileTextInput&) = delete;
    FileTextInput& operator=(const FileTextInput&) = delete;

  protected:
    int rawGet() override;

  private:
    std::FILE* file_;
    std::unique_ptr<unsigned char[]> block_;
};

}  // namespace zeb
