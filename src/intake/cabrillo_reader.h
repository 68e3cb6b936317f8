#pragma once

#include "platform/platform.h"
#include "platform/text_input.h"
#include "state/evaluation_state.h"

namespace zeb {

inline constexpr int kReadOk = 0;
inline constexpr int kReadCannotOpen = -1;
// The log broke a rule: its message was shown and the program was told to end.
inline constexpr int kReadRefused = 1;

// Reads a Cabrillo log into the QSO table and the header lines. `input` is null when the file
// could not be opened.
int readCabrilloLog(EvaluationState& state, Platform& platform, TextInput* input);

// Cuts every loaded QSO line to 80 columns (warning once when one was longer) and removes
// trailing spaces and line ends.
void cutAndTrimQsoLines(EvaluationState& state, Platform& platform);

}  // namespace zeb
