#include "intake/column_config_file.h"

#include <cstdint>
#include <limits>

#include "state/decimal.h"
#include "state/window_logic.h"

namespace zeb {

namespace {

bool isScanSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%d" conversion: white space skipped, an optional sign, then figures. Text that is not a
// number is left unread (apart from a lone sign, as the C library does), so every later
// conversion fails too.
class IntegerScanner {
  public:
    explicit IntegerScanner(TextInput& input) : input_(input) {}

    std::optional<std::int32_t> next() {
        if (failed_) {
            return std::nullopt;
        }
        int c = peek();
        while (isScanSpace(c)) {
            take();
            c = peek();
        }
        bool negative = false;
        if (c == '+' || c == '-') {
            negative = c == '-';
            take();
            c = peek();
        }
        if (c < '0' || c > '9') {
            failed_ = true;
            return std::nullopt;
        }
        constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
        std::int64_t magnitude = 0;
        while (c >= '0' && c <= '9') {
            if (magnitude <= kLimit) {
                magnitude = magnitude * 10 + (c - '0');
            }
            take();
            c = peek();
        }
        const std::int64_t value = negative ? -magnitude : magnitude;
        if (value > std::numeric_limits<std::int32_t>::max()) {
            return std::numeric_limits<std::int32_t>::max();
        }
        if (value < std::numeric_limits<std::int32_t>::min()) {
            return std::numeric_limits<std::int32_t>::min();
        }
        return static_cast<std::int32_t>(value);
    }

  private:
    int peek() {
        if (!havePeeked_) {
            peeked_ = input_.get();
            havePeeked_ = true;
        }
        return peeked_;
    }
    void take() { havePeeked_ = false; }

    TextInput& input_;
    int peeked_ = kEndOfFile;
    bool havePeeked_ = false;
    bool failed_ = false;
};

}  // namespace

std::string formatColumnConfig(const ColumnConfig& columns) {
    std::string text;
    for (const std::int32_t value :
         {columns.callStart, columns.callWidth, columns.exchStart, columns.exchWidth}) {
        text += formatDecimal(value);
        text += '\n';
    }
    return text;
}

int readColumnConfig(TextInput& input, ColumnConfig& columns) {
    IntegerScanner scanner(input);
    int read = 0;
    for (std::int32_t* field :
         {&columns.callStart, &columns.callWidth, &columns.exchStart, &columns.exchWidth}) {
        const std::optional<std::int32_t> value = scanner.next();
        if (!value) {
            break;
        }
        *field = *value;
        ++read;
    }
    return read;
}

WriteOutcome saveColumnConfig(const EvaluationState& state, Platform& platform,
                              const std::optional<std::string>& path) {
    if (!path) {
        return {};
    }
    return platform.writeTextFile(*path, formatColumnConfig(state.columns));
}

bool loadColumnConfig(EvaluationState& state, Window& window, Platform& platform,
                      const std::optional<std::string>& path) {
    if (!path) {
        return false;
    }
    const std::unique_ptr<TextInput> input = platform.openTextForReading(*path);
    if (!input) {
        return false;
    }
    readColumnConfig(*input, state.columns);
    showStartColumns(state, window);
    return true;
}

}  // namespace zeb
