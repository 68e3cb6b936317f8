#include "contest/intake/band_breakdown.h"

#include "scoring/band_plan.h"
#include "state/decimal.h"

namespace zeb::contest {

const char* bandName(int bandRow) {
    static constexpr const char* kNames[kBandCount] = {"10m", "15m", "20m", "40m", "80m"};
    return bandRow >= 0 && bandRow < kBandCount ? kNames[bandRow] : "";
}

std::vector<BandTotals> bandBreakdown(const EvaluationState& state) {
    std::array<BandTotals, kBandCount> byRow{};
    for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
        const QsoRecord& record = state.qsoTable.slots[i];
        const int row = bandIndex(parseDecimal(record.freqText));
        if (row < 0) {
            continue;
        }
        BandTotals& band = byRow[static_cast<std::size_t>(row)];
        ++band.qsos;
        if (record.status == kStatusValid) {
            ++band.valid;
            band.points += record.points;
            band.dxccMult += record.dxccMult;
        }
    }
    std::vector<BandTotals> bands;
    for (const int row : kBandOrder) {
        BandTotals band = byRow[static_cast<std::size_t>(row)];
        if (band.qsos > 0) {
            band.bandRow = row;
            bands.push_back(band);
        }
    }
    return bands;
}

}  // namespace zeb::contest
