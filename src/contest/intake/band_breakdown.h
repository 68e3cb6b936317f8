#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "scoring/band_plan.h"
#include "state/evaluation_state.h"

namespace zeb::contest {

// The contest bands as zebscore lists them, from 80 m up to 10 m: rows of the band plan.
inline constexpr std::array<int, kBandCount> kBandOrder = {4, 3, 2, 1, 0};

// "80m" and so on, for a row of the band plan.
const char* bandName(int bandRow);

// One band of one log. `qsos` counts every QSO whose frequency lies in the band, whatever its
// status; `valid`, `points` and `dxccMult` count and sum the valid QSOs (status 0) alone, so that
// the bands add up to the totals.
struct BandTotals {
    int bandRow = 0;
    std::int32_t qsos = 0;
    std::int32_t valid = 0;
    std::int32_t points = 0;
    std::int32_t dxccMult = 0;
};

// The bands with at least one QSO, in the order of kBandOrder, from a computed state.
std::vector<BandTotals> bandBreakdown(const EvaluationState& state);

}  // namespace zeb::contest
