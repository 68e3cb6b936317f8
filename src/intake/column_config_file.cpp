#include "intake/column_config_file.h"

#include <cstdint>

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
        std::string number;
        if (c == '+' || c == '-') {
            number += static_cast<char>(c);
            take();
            c = peek();
        }
        if (c < '0' || c > '9') {
            failed_ = true;
            return std::nullopt;
        }
        // Leading zeros are dropped and figures beyond twelve significant ones saturate anyway,
        // so a file of endless figures costs no memory.
        int significant = 0;
        while (c >= '0' && c <= '9') {
            if (c != '0' || significant > 0) {
                if (significant < 12) {
                    number += static_cast<char>(c);
                }
                ++significant;
            }
            take();
            c = peek();
        }
        return significant == 0 ? 0 : parseDecimal(number);
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
