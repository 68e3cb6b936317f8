// The whole evaluation of one log given as bytes, as an evaluator who clicks through runs it:
// start-up, load (reading, cutting and trimming, column finding), computation with the prefix
// question answered Ignore, and the protocol. The lowest bit of the last byte ticks "Jen 80 m";
// a real log ends with a line feed, which leaves it unticked.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "intake/load_command.h"
#include "report/protocol.h"
#include "scoring/scoring_passes.h"
#include "state/headless_window.h"
#include "state/window_logic.h"

namespace {
constexpr int kRecomputeLimit = 100;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zeb;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    EvaluationState& state = fuzz::sharedState();
    resetToProgramStart(state);
    fuzz::MemoryPlatform platform(bytes);
    HeadlessWindow window(state, platform);
    window.setOnly80m(size > 0 && (data[size - 1] & 1) != 0);
    formCreate(state, window);

    prepareLoad(state, window);
    const LoadOutcome outcome = loadLog(state, window, platform, "fuzz.cbr", true);
    fuzz::checkLoad(state, outcome, platform);
    if (outcome != LoadOutcome::Loaded) {
        return 0;
    }
    ZEB_FUZZ_CHECK(computeCommand(state, window, platform));
    fuzz::checkComputation(state);
    const std::string protocol = writeProtocol(state);
    fuzz::checkProtocol(state, protocol);

    // The protocol leaves the loaded lines as they were, so computing again must give the same.
    // The passes compare every QSO with every earlier one, so this runs on short logs only, where
    // it costs little and where a fault of this kind shows just as well.
    if (state.qsoTable.qsoCount <= kRecomputeLimit) {
        ZEB_FUZZ_CHECK(computeCommand(state, window, platform));
        ZEB_FUZZ_CHECK(writeProtocol(state) == protocol);
    }
    return 0;
}
