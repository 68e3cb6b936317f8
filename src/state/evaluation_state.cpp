#include "state/evaluation_state.h"

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
    for (QsoRecord& slot : table.slots) {
        std::memset(slot.line, 0, sizeof slot.line);
        std::memset(slot.country, 0, sizeof slot.country);
        std::memset(slot.freqText, 0, sizeof slot.freqText);
        std::memset(slot.callText, 0, sizeof slot.callText);
        std::memset(slot.exchText, 0, sizeof slot.exchText);
        slot.points = 0;
        slot.clubMult = 0;
        slot.dxccMult = 0;
        slot.status = 0;
    }
}

}  // namespace zeb
