#pragma once

#include "state/evaluation_state.h"

namespace zeb {

// True when the text is made only of the figures 0 to 9 and its value is not 0.
bool isMemberNumber(const char* text);

// Derives frequency, received call and received exchange of every loaded QSO from its line and the
// current columns; an exchange that is not a member number becomes "NM".
void extractFields(EvaluationState& state);

}  // namespace zeb
