#pragma once

#include "platform/platform.h"
#include "platform/window.h"
#include "state/evaluation_state.h"

namespace zeb {

// Finds the start columns of the received call and exchange on QSO row `row` (from 0), stepping
// from the own call of the "CALLSIGN:" header line over the sent report and exchange. Returns 0
// when both were found, -1 otherwise.
int autoConfigureRow(EvaluationState& state, Window& window, int row);

// Tries the QSO lines in order; when none succeeds, warns and falls back to the columns of the
// Cabrillo template. Returns true when a line succeeded.
bool findColumns(EvaluationState& state, Window& window, Platform& platform);

}  // namespace zeb
