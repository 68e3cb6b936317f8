#include "state/evaluation_state.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

namespace zeb {

void* EvaluationState::operator new(std::size_t size) {
    if (void* memory = std::calloc(1, size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void EvaluationState::operator delete(void* state) noexcept {
    std::free(state);
}

std::unique_ptr<EvaluationState> makeEvaluationState() {
    // calloc creates the state with every byte zero (all its members are plain data), so it is
    // not initialised again: a value-initialisation would write all 700 KB at once.
    return std::unique_ptr<EvaluationState>(
        static_cast<EvaluationState*>(EvaluationState::operator new(sizeof(EvaluationState))));
}

void resetLoadCounters(EvaluationState& state) {
    state.qsoTable.qsoCount = 0;
    state.autoConfigRow = 0;
}

void resetToProgramStart(EvaluationState& state) {
    static_assert(std::is_trivially_copyable_v<EvaluationState>);
    state.qsoTable.qsoCount = 0;
    std::memset(static_cast<void*>(&state.headerLines), 0, sizeof state.headerLines);
    state.columns = {};
    std::memset(state.displayLine, 0, sizeof state.displayLine);
    std::memset(state.ownCall, 0, sizeof state.ownCall);
    state.autoConfigRow = 0;
    state.totals = {};
    state.rowEditActive = false;
    state.longLineFound = false;
}

void removeQsos(QsoTable& table, const std::vector<int>& numbers) {
    const int count = std::clamp(table.qsoCount, 0, kQsoSlots);
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (std::find(numbers.begin(), numbers.end(), i + 1) == numbers.end()) {
            if (kept != i) {
                table.slots[kept] = table.slots[i];
            }
            ++kept;
        }
    }
    for (int i = kept; i < count; ++i) {
        std::memset(static_cast<void*>(&table.slots[i]), 0, sizeof(QsoRecord));
    }
    table.qsoCount = kept;
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
