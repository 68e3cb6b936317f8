#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/window.h"
#include "state/evaluation_state.h"

namespace zeb {

// The handlers of the main window that do not start a command of their own; both the real window
// and the headless one call them.

// Up to `width` characters of the text of `line` from column `start`, stopping at the end of the
// text; empty for a column outside the text or a width below 1.
std::string patternText(const char* line, std::int32_t start, std::int32_t width);

void setcall(EvaluationState& state, Window& window);
void setzeb(EvaluationState& state, Window& window);

// Writes the start columns into the start edits; their change handlers read them back.
void showStartColumns(EvaluationState& state, Window& window);

void ccstart(EvaluationState& state, Window& window);
void cistart(EvaluationState& state, Window& window);
void c1radek(EvaluationState& state, Window& window, Platform& platform);

void clearResultLabels(Window& window);

// Sets the row edit's text with its change handler kept quiet.
void setRowEditQuietly(EvaluationState& state, Window& window, const std::string& text);

// The window's start-up: texts, default columns and control states.
void formCreate(EvaluationState& state, Window& window);

}  // namespace zeb
