#include "scoring/band_plan.h"

#include "state/decimal.h"

namespace zeb {

bool inRange(std::int32_t value, std::int32_t low, std::int32_t high) {
    return low <= value && value <= high;
}

bool inContestBands(std::int32_t frequency, const Window& window) {
    if (window.only80m()) {
        return inRange(frequency, kBandPlan[kBand80m].low, kBandPlan[kBand80m].high);
    }
    return bandIndex(frequency) >= 0;
}

bool sameBand(std::int32_t first, std::int32_t second) {
    for (const BandRange& band : kBandPlan) {
        if (inRange(first, band.low, band.high) && inRange(second, band.low, band.high)) {
            return true;
        }
    }
    return false;
}

int bandIndex(std::int32_t frequency) {
    for (int row = 0; row < kBandCount; ++row) {
        if (inRange(frequency, kBandPlan[row].low, kBandPlan[row].high)) {
            return row;
        }
    }
    return -1;
}

void markOutOfBand(EvaluationState& state, const Window& window) {
    for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
        QsoRecord& record = state.qsoTable.slots[i];
        if (!inContestBands(parseDecimal(record.freqText), window)) {
            record.status = kStatusOutOfBand;
        }
    }
}

}  // namespace zeb
