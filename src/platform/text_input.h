#pragma once

#include <cstdio>
#include <string>

namespace zeb {

inline constexpr int kEndOfFile = -1;

// Text-mode reading, one byte at a time: a run of carriage returns that stands right before a line
// feed is not delivered, every other byte is (0 to 255); kEndOfFile at the end.
class TextInput {
  public:
    virtual ~TextInput() = default;
    int get();

  protected:
    // The next raw byte, or kEndOfFile.
    virtual int rawGet() = 0;

  private:
    static constexpr int kNothing = -2;
    long long pendingCarriageReturns_ = 0;
    int pendingByte_ = kNothing;
};

class MemoryTextInput final : public TextInput {
  public:
    explicit MemoryTextInput(std::string bytes) : bytes_(std::move(bytes)) {}

  protected:
    int rawGet() override;

  private:
    std::string bytes_;
    std::size_t position_ = 0;
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
};

}  // namespace zeb
