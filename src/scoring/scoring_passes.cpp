#include "scoring/scoring_passes.h"

#include <algorithm>
#include <cstring>
#include <string_view>

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

// Each pass asks, of every QSO, whether an earlier one has the same key (an exchange value, or a
// text or number together with a band). An open-addressing table of QSO indices answers that
// with one probe sequence per QSO, and keeps the first QSO of every key. It has at least twice as
// many places as the log has QSOs, so the sequences stay short; only the places a log of this
// size needs are cleared, so a short log pays for a short table.
class FirstQsoIndex {
  public:
    static constexpr int kNone = -1;

    explicit FirstQsoIndex(int qsoCount) {
        int places = 16;
        while (places < 2 * qsoCount && places < kPlaces) {
            places *= 2;
        }
        mask_ = static_cast<std::uint32_t>(places - 1);
        std::fill_n(qsos_, places, static_cast<std::int16_t>(kNone));
    }

    // The place of the key along the probe sequence of `hash`: the place of the first QSO q for
    // which `sameKey(q)` holds, or the empty place where the key would go.
    template <typename SameKey>
    std::uint32_t find(std::uint32_t hash, SameKey sameKey) const {
        for (std::uint32_t place = hash & mask_;; place = (place + 1) & mask_) {
            if (qsos_[place] == kNone || sameKey(qsos_[place])) {
                return place;
            }
        }
    }

    int qsoAt(std::uint32_t place) const { return qsos_[place]; }
    void put(std::uint32_t place, int qso) { qsos_[place] = static_cast<std::int16_t>(qso); }

  private:
    static constexpr int kPlaces = 8192;
    static_assert(kPlaces >= 2 * kQsoSlots, "every slot fits with room to spare");
    static_assert(kQsoSlots <= INT16_MAX, "a QSO index fits a place");

    std::int16_t qsos_[kPlaces];
    std::uint32_t mask_ = 0;
};

std::uint32_t mixed(std::uint32_t value) {
    value ^= value >> 16;
    value *= 0x7feb352dU;
    value ^= value >> 15;
    value *= 0x846ca68bU;
    value ^= value >> 16;
    return value;
}

std::uint32_t hashOf(std::int32_t number, int band) {
    return mixed(static_cast<std::uint32_t>(number) * 8U + static_cast<std::uint32_t>(band + 1));
}

std::uint32_t hashOf(std::string_view text, int band) {
    std::uint32_t hash = 2166136261U;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619U;
    }
    return mixed(hash ^ static_cast<std::uint32_t>(band + 1));
}

template <std::size_t N>
std::string_view textOf(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

// The band row of every loaded QSO's frequency, or -1 outside every band: two QSOs lie in the
// same band exactly when they have the same row and it is not -1, so a frequency outside the
// bands never shares a band, not even with an equal one.
struct Bands {
    explicit Bands(const QsoTable& table) {
        for (int i = 0; i < table.qsoCount; ++i) {
            row[i] = static_cast<std::int8_t>(bandIndex(parseDecimal(table.slots[i].freqText)));
        }
    }
    std::int8_t row[kQsoSlots];
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

// Every earlier QSO counts, whatever its status: one outside the bands, or one that will turn out
// to be a duplicate, still takes the member number from the later ones.
void markClubMultipliers(EvaluationState& state) {
    QsoTable& table = state.qsoTable;
    std::int32_t values[kQsoSlots];
    FirstQsoIndex firstOfValue(table.qsoCount);
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        // "NM" and other texts without figures read as 0, which no member number does.
        values[i] = parseDecimal(record.exchText);
        const std::uint32_t place =
            firstOfValue.find(hashOf(values[i], 0), [&](int j) { return values[j] == values[i]; });
        const bool takenEarlier = firstOfValue.qsoAt(place) != FirstQsoIndex::kNone;
        if (!takenEarlier) {
            firstOfValue.put(place, i);
        }
        if (record.status != kStatusValid) {
            continue;
        }
        record.clubMult = 0;
        if (!isNonMember(record)) {
            record.clubMult = takenEarlier ? 0 : 1;
        }
    }
}

void markDxccMultipliers(EvaluationState& state) {
    QsoTable& table = state.qsoTable;
    const Bands bands(table);
    FirstQsoIndex firstOfCountry(table.qsoCount);
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        const int band = bands.row[i];
        bool takenEarlier = false;
        if (band >= 0) {
            const std::string_view country = textOf(record.country);
            const std::uint32_t place = firstOfCountry.find(hashOf(country, band), [&](int j) {
                return bands.row[j] == band && textOf(table.slots[j].country) == country;
            });
            takenEarlier = firstOfCountry.qsoAt(place) != FirstQsoIndex::kNone;
            if (!takenEarlier) {
                firstOfCountry.put(place, i);
            }
        }
        if (record.status != kStatusValid) {
            continue;
        }
        if (record.country[0] == ' ') {
            record.dxccMult = 0;
            continue;
        }
        record.dxccMult = takenEarlier ? 0 : 1;
    }
}

// A QSO marked here still counts as an earlier QSO for the later ones: it bears the same call.
void markDuplicates(EvaluationState& state) {
    QsoTable& table = state.qsoTable;
    const Bands bands(table);
    FirstQsoIndex firstOfCall(table.qsoCount);
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        const int band = bands.row[i];
        if (band < 0) {
            continue;
        }
        const std::string_view call = textOf(record.callText);
        const std::uint32_t place = firstOfCall.find(hashOf(call, band), [&](int j) {
            return bands.row[j] == band && textOf(table.slots[j].callText) == call;
        });
        if (firstOfCall.qsoAt(place) == FirstQsoIndex::kNone) {
            firstOfCall.put(place, i);
        } else if (record.status == kStatusValid) {
            record.status = kStatusDuplicate;
        }
    }
}

// The count adds one for every earlier QSO of the number on the band, so it counts pairs, not
// flagged QSOs: the third QSO of one number on one band adds two.
void markSameNumbers(EvaluationState& state) {
    QsoTable& table = state.qsoTable;
    const Bands bands(table);
    FirstQsoIndex firstOfNumber(table.qsoCount);
    std::int32_t earlierCount[kQsoSlots];
    state.totals.sameNumberCount = 0;
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        record.sameNumberFlag = 0;
        const int band = bands.row[i];
        if (band < 0 || record.memberNumber == 0) {
            continue;
        }
        const std::int32_t number = record.memberNumber;
        const std::uint32_t place = firstOfNumber.find(hashOf(number, band), [&](int j) {
            return bands.row[j] == band && table.slots[j].memberNumber == number;
        });
        int first = firstOfNumber.qsoAt(place);
        if (first == FirstQsoIndex::kNone) {
            first = i;
            firstOfNumber.put(place, i);
            earlierCount[i] = 0;
        }
        if (!isNonMember(record) && record.status == kStatusValid && earlierCount[first] > 0) {
            record.points = 1;
            record.sameNumberFlag = 1;
            state.totals.sameNumberCount += earlierCount[first];
        }
        ++earlierCount[first];
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
