#include "scoring/scoring_passes.h"

#include <cstring>

#include "scoring/band_plan.h"
#include "scoring/exchange_extraction.h"
#include "scoring/prefix_table.h"
#include "state/decimal.h"
#include "state/texts.h"

namespace zeb {

namespace {

bool isNonMember(const QsoRecord& record) {
    return std::strcmp(record.exchText, "NM") == 0;
}

// The frequency of every loaded QSO in kHz, read once per pass instead of once per comparison.
struct Frequencies {
    explicit Frequencies(const QsoTable& table) {
        for (int i = 0; i < table.qsoCount; ++i) {
            kHz[i] = parseDecimal(table.slots[i].freqText);
        }
    }
    std::int32_t kHz[kQsoSlots] = {};
};

// The decimal value of every loaded QSO's exchange ("NM" reads as 0).
struct ExchangeValues {
    explicit ExchangeValues(const QsoTable& table) {
        for (int i = 0; i < table.qsoCount; ++i) {
            values[i] = parseDecimal(table.slots[i].exchText);
        }
    }
    std::int32_t values[kQsoSlots] = {};
};

}  // namespace

void assignPoints(EvaluationState& state) {
    for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
        QsoRecord& record = state.qsoTable.slots[i];
        record.points = 0;
        if (record.status == kStatusValid) {
            record.points = isNonMember(record) ? 1 : 10;
        }
    }
}

void markClubMultipliers(EvaluationState& state) {
    QsoTable& table = state.qsoTable;
    const auto numbers = std::make_unique<ExchangeValues>(table);
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        if (record.status != kStatusValid) {
            continue;
        }
        record.clubMult = 0;
        if (isNonMember(record)) {
            continue;
        }
        record.clubMult = 1;
        for (int j = 0; j < i; ++j) {
            if (numbers->values[j] == numbers->values[i]) {
                record.clubMult = 0;
                break;
            }
        }
    }
}

void markDxccMultipliers(EvaluationState& state) {
    QsoTable& table = state.qsoTable;
    const auto frequencies = std::make_unique<Frequencies>(table);
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        if (record.status != kStatusValid) {
            continue;
        }
        if (record.country[0] == ' ') {
            record.dxccMult = 0;
            continue;
        }
        record.dxccMult = 1;
        for (int j = 0; j < i; ++j) {
            if (std::strcmp(table.slots[j].country, record.country) == 0 &&
                sameBand(frequencies->kHz[i], frequencies->kHz[j])) {
                record.dxccMult = 0;
                break;
            }
        }
    }
}

void markDuplicates(EvaluationState& state) {
    QsoTable& table = state.qsoTable;
    const auto frequencies = std::make_unique<Frequencies>(table);
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        if (record.status != kStatusValid) {
            continue;
        }
        for (int j = 0; j < i; ++j) {
            if (std::strcmp(table.slots[j].callText, record.callText) == 0 &&
                sameBand(frequencies->kHz[i], frequencies->kHz[j])) {
                record.status = kStatusDuplicate;
                break;
            }
        }
    }
}

void markSameNumbers(EvaluationState& state) {
    QsoTable& table = state.qsoTable;
    const auto frequencies = std::make_unique<Frequencies>(table);
    state.totals.sameNumberCount = 0;
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        record.sameNumberFlag = 0;
        if (isNonMember(record) || record.status != kStatusValid || record.memberNumber == 0) {
            continue;
        }
        for (int j = 0; j < i; ++j) {
            const QsoRecord& earlier = table.slots[j];
            if (sameBand(frequencies->kHz[i], frequencies->kHz[j]) && earlier.memberNumber != 0 &&
                earlier.memberNumber == record.memberNumber) {
                record.points = 1;
                record.sameNumberFlag = 1;
                ++state.totals.sameNumberCount;
            }
        }
    }
}

std::int32_t computeTotals(EvaluationState& state) {
    EvaluationTotals& totals = state.totals;
    totals.qsoTotal = state.qsoTable.qsoCount;
    totals.dxccMultTotal = 0;
    totals.clubMultTotal = 0;
    totals.errorTotal = 0;
    totals.result = 0;
    totals.pointsTotal = 0;
    for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
        const QsoRecord& record = state.qsoTable.slots[i];
        if (record.status != kStatusValid) {
            ++totals.errorTotal;
        } else {
            totals.dxccMultTotal += record.dxccMult;
            totals.clubMultTotal += record.clubMult;
            totals.pointsTotal += record.points;
        }
    }
    totals.result = (totals.dxccMultTotal + totals.clubMultTotal) * totals.pointsTotal;
    return totals.result;
}

bool computeEvaluation(EvaluationState& state, Window& window, Platform& platform) {
    for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
        state.qsoTable.slots[i].status = kStatusValid;
    }
    EvaluationTotals& totals = state.totals;
    totals.clubMultTotal = 0;
    totals.pointsTotal = 0;
    totals.qsoTotal = 0;
    totals.dxccMultTotal = 0;
    totals.errorTotal = 0;
    totals.result = 0;
    window.setProgressVisible(true);
    window.setProgressPosition(20);
    extractFields(state);
    markOutOfBand(state, window);
    assignPoints(state);
    window.setProgressPosition(30);
    markClubMultipliers(state);
    window.setProgressPosition(40);
    if (!lookupCountries(state, platform)) {
        return false;
    }
    window.setProgressPosition(50);
    markDxccMultipliers(state);
    markDuplicates(state);
    markSameNumbers(state);
    window.setProgressPosition(20);
    computeTotals(state);
    window.setProgressVisible(false);
    return true;
}

bool computeCommand(EvaluationState& state, Window& window, Platform& platform) {
    if (!computeEvaluation(state, window, platform)) {
        return false;
    }
    const EvaluationTotals& totals = state.totals;
    window.setLabelText(Label::celkem, texts::kCaptionResult + formatDecimal(totals.result));
    window.setLabelText(Label::qsos, texts::kCaptionQsos + formatDecimal(totals.qsoTotal));
    window.setLabelText(Label::dubly, texts::kCaptionErrors + formatDecimal(totals.errorTotal));
    window.setLabelText(Label::body, texts::kCaptionPoints + formatDecimal(totals.pointsTotal));
    window.setLabelText(Label::zeby,
                        texts::kCaptionClubMults + formatDecimal(totals.clubMultTotal));
    window.setLabelText(Label::dxcc,
                        texts::kCaptionDxccMults + formatDecimal(totals.dxccMultTotal));
    window.setEnabled(Control::bukladani, true);
    if (totals.sameNumberCount > 0) {
        window.setLabelText(Label::povel, texts::kStatusSameNumbers);
    }
    return true;
}

}  // namespace zeb
