#pragma once

#include <cstdint>

#include "platform/window.h"
#include "state/evaluation_state.h"

namespace zeb {

struct BandRange {
    std::int32_t low;
    std::int32_t high;
};

inline constexpr int kBandCount = 5;

// The contest bands in kHz, both limits inclusive: 10, 15, 20, 40 and 80 m.
inline constexpr BandRange kBandPlan[kBandCount] = {
    {28000, 29700}, {21000, 21450}, {14000, 14350}, {7000, 7200}, {3500, 3800},
};

inline constexpr int kBand80m = 4;

bool inRange(std::int32_t value, std::int32_t low, std::int32_t high);

// Within the contest bands, or within 80 m alone when "Jen 80 m" is ticked.
bool inContestBands(std::int32_t frequency, const Window& window);

bool sameBand(std::int32_t first, std::int32_t second);

// The row of the band plan that holds the frequency, or -1.
int bandIndex(std::int32_t frequency);

// Marks every loaded QSO outside the contest bands with status 2.
void markOutOfBand(EvaluationState& state, const Window& window);

}  // namespace zeb
