#include "state/evaluation_state.h"

#include <algorithm>
#include <cstring>

namespace zeb {

std::unique_ptr<EvaluationState> makeEvaluationState() {
    return std::make_unique<EvaluationState>();
}

void resetLoadCounters(EvaluationState& state) {
    state.qsoTable.qsoCount = 0;
    state.autoConfigRow = 0;
}

void clearQsoTable(QsoTable& table) {
    // Whole slots, in one pass: memberNumber and sameNumberFlag would need no clearing (every
    // computation sets them before they are read), but nothing of an earlier log may stay.
    const int used = std::clamp(table.slotsInUse, 0, kQsoSlots);
    std::memset(static_cast<void*>(table.slots), 0,
                sizeof(QsoRecord) * static_cast<std::size_t>(used));
    table.slotsInUse = 0;
}

}  // namespace zeb
