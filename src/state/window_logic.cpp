#include "state/window_logic.h"

#include <cstring>

#include "state/decimal.h"
#include "state/texts.h"

namespace zeb {

namespace {

// The start edits are read as at most their first 9 characters.
std::int32_t startEditValue(const Window& window, Edit edit) {
    const std::string text = window.editText(edit);
    return parseDecimal(std::string_view(text).substr(0, 9));
}

}  // namespace

std::string patternText(const char* line, std::int32_t start, std::int32_t width) {
    const auto length = static_cast<std::int64_t>(strnlen(line, kLineBufferSize));
    if (start < 0 || width < 1 || start >= length) {
        return {};
    }
    const std::int64_t end = std::min<std::int64_t>(length, std::int64_t{start} + width);
    return std::string(line + start, static_cast<std::size_t>(end - start));
}

void setcall(EvaluationState& state, Window& window) {
    window.setEditText(Edit::cvzor, patternText(state.displayLine, state.columns.callStart,
                                                state.columns.callWidth));
}

void setzeb(EvaluationState& state, Window& window) {
    window.setEditText(Edit::ivzor, patternText(state.displayLine, state.columns.exchStart,
                                                state.columns.exchWidth));
}

void showStartColumns(EvaluationState& state, Window& window) {
    window.setEditText(Edit::cstart, formatDecimal(state.columns.callStart));
    window.setEditText(Edit::istart, formatDecimal(state.columns.exchStart));
}

void ccstart(EvaluationState& state, Window& window) {
    state.columns.callStart = startEditValue(window, Edit::cstart);
    setcall(state, window);
}

void cistart(EvaluationState& state, Window& window) {
    state.columns.exchStart = startEditValue(window, Edit::istart);
    setzeb(state, window);
}

void c1radek(EvaluationState& state, Window& window, Platform& platform) {
    const std::int32_t row = parseDecimal(window.editText(Edit::radek1));
    if (!state.rowEditActive) {
        return;
    }
    if (row < 1) {
        platform.messageDialog(texts::kRowBelowOne, DialogKind::Error, DialogButtons::Abort);
        return;
    }
    if (row > state.qsoTable.qsoCount) {
        platform.messageDialog(texts::kRowAboveCount, DialogKind::Error, DialogButtons::Abort);
        return;
    }
    std::memcpy(state.displayLine, state.qsoTable.slots[row - 1].line, kLineBufferSize);
    showStartColumns(state, window);
}

void clearResultLabels(Window& window) {
    for (const Label label : {Label::body, Label::povel, Label::zeby, Label::dxcc, Label::celkem,
                              Label::qsos, Label::dubly}) {
        window.setLabelText(label, {});
    }
}

void setRowEditQuietly(EvaluationState& state, Window& window, const std::string& text) {
    state.rowEditActive = false;
    window.setEditText(Edit::radek1, text);
    state.rowEditActive = true;
}

void formCreate(EvaluationState& state, Window& window) {
    window.setEnabled(Control::bvypocet, false);
    window.setEnabled(Control::bukladani, false);
    clearResultLabels(window);
    window.setEditText(Edit::radek1, "1");
    state.columns = kWindowColumns;
    state.rowEditActive = true;
    resetLoadCounters(state);
    window.setProgressVisible(false);
    window.setEnabled(Control::konfigurace, true);
    window.setEnabled(Control::radek1, false);
}

}  // namespace zeb
