#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/window.h"
#include "state/evaluation_state.h"

namespace zeb {

void assignPoints(EvaluationState& state);
void markClubMultipliers(EvaluationState& state);
void markDxccMultipliers(EvaluationState& state);
void markDuplicates(EvaluationState& state);
void markSameNumbers(EvaluationState& state);

// Sets the first six totals from the QSO table and returns the result.
std::int32_t computeTotals(EvaluationState& state);

// Every pass of a computation, in order, with the progress bar. Returns false when the evaluator
// aborted at a call without a known prefix (the program was told to end).
bool computeEvaluation(EvaluationState& state, Window& window, Platform& platform);

// "Výpočet": computes and shows the totals. Returns false when aborted.
bool computeCommand(EvaluationState& state, Window& window, Platform& platform);

}  // namespace zeb
