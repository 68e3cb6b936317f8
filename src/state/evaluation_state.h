#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zeb {

// Capacities of the evaluation state. Texts are NUL-terminated single-byte (Windows-1250) texts;
// a capacity counts characters without the terminator.
inline constexpr int kQsoSlots = 2220;
inline constexpr int kMaxQsoLines = 2000;
inline constexpr int kRawLineChars = 222;
inline constexpr int kLineBufferSize = kRawLineChars + 1;
inline constexpr int kLineFillColumns = 122;
inline constexpr int kKeptLineChars = 80;
inline constexpr int kCountryChars = 9;
inline constexpr int kFreqChars = 14;
inline constexpr int kCallChars = 19;
inline constexpr int kExchChars = 12;
inline constexpr int kHeaderEntries = 40;
inline constexpr int kHeaderEntrySize = 150;
inline constexpr int kHeaderLineChars = 148;
inline constexpr int kMaxHeaderLines = 25;
inline constexpr int kOwnCallChars = 17;

enum QsoStatus : std::int32_t {
    kStatusValid = 0,
    kStatusDuplicate = 1,
    kStatusOutOfBand = 2,
};

struct QsoRecord {
    char line[kLineBufferSize];
    char country[kCountryChars + 1];
    std::int32_t points;
    std::int32_t clubMult;
    std::int32_t dxccMult;
    std::int32_t status;
    std::int32_t memberNumber;
    std::int32_t sameNumberFlag;
    char freqText[kFreqChars + 1];
    char callText[kCallChars + 1];
    char exchText[kExchChars + 1];
};

struct QsoTable {
    QsoRecord slots[kQsoSlots];
    std::int32_t qsoCount;
    // Slots 0 to slotsInUse - 1 may hold something since the table was last cleared; the others
    // are as cleared. The reader counts every slot it starts.
    std::int32_t slotsInUse;
};

struct HeaderLines {
    char entries[kHeaderEntries][kHeaderEntrySize];
    std::int32_t headerLineCount;
};

struct ColumnConfig {
    std::int32_t callStart;
    std::int32_t callWidth;
    std::int32_t exchStart;
    std::int32_t exchWidth;

    friend bool operator==(const ColumnConfig&, const ColumnConfig&) = default;
};

inline constexpr ColumnConfig kWindowColumns{55, 14, 73, 14};
inline constexpr ColumnConfig kLoadColumns{4, 10, 10, 10};
inline constexpr ColumnConfig kFallbackColumns{55, 10, 73, 10};

struct EvaluationTotals {
    std::int32_t qsoTotal;
    std::int32_t errorTotal;
    std::int32_t pointsTotal;
    std::int32_t clubMultTotal;
    std::int32_t dxccMultTotal;
    std::int32_t result;
    std::int32_t sameNumberCount;
};

// The one body of data every command works on. It is large (about 700 KB): allocate it once,
// on the heap, and keep it for the whole run.
struct EvaluationState {
    // Zeroed memory straight from the system is not written on allocation: a page is touched
    // only when a log reaches it, which spares a short log most of the state's page faults.
    static void* operator new(std::size_t size);
    static void operator delete(void* state) noexcept;

    QsoTable qsoTable;
    HeaderLines headerLines;
    ColumnConfig columns;
    char displayLine[kLineBufferSize];
    char ownCall[kOwnCallChars + 1];
    std::int32_t autoConfigRow;
    EvaluationTotals totals;
    bool rowEditActive;
    bool longLineFound;
};

// Every field zero, empty or false, as at program start.
[[nodiscard]] std::unique_ptr<EvaluationState> makeEvaluationState();

void resetLoadCounters(EvaluationState& state);

// Makes a state that was used before what a program that has just started holds, without
// writing the QSO slots, which every load clears before it reads. A state is large: one kept
// and reset for every log costs less than a new one.
void resetToProgramStart(EvaluationState& state);

// Clears all slots completely before a load, so that nothing of an earlier log, not even beyond
// the fill of a short line, can influence how the next log is read or configured. Only the slots
// in use are written: the rest are still as cleared, and a short log then costs a short clear.
void clearQsoTable(QsoTable& table);

// Takes the QSOs with these numbers (from 1) out of the table, the others moving up in their
// order, as if their lines had not been in the log.
void removeQsos(QsoTable& table, const std::vector<int>& numbers);

}  // namespace zeb
