#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace zeb::cli {

// "zebscore: n/N LOG" on one terminal line, rewritten for every log and taken away again before
// anything else is written through stream(), so that messages never run into it. When disabled
// (standard error is no terminal, or there is a single log) it shows nothing and stream() is the
// terminal stream itself.
class ProgressLine {
  public:
    ProgressLine(std::ostream& terminal, bool enabled);
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    std::ostream& stream() { return enabled_ ? clearing_ : terminal_; }
    void show(std::size_t done, std::size_t total, const std::string& log);
    void clear();

  private:
    // Passes every character on, after erasing the progress line when one is shown.
    class ClearingBuffer final : public std::streambuf {
      public:
        explicit ClearingBuffer(std::ostream& target) : target_(target) {}
        bool shown = false;
        void eraseLine();

      protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;
        int sync() override;

      private:
        std::ostream& target_;
    };

    std::ostream& terminal_;
    bool enabled_;
    ClearingBuffer buffer_;
    std::ostream clearing_;
};

}  // namespace zeb::cli
