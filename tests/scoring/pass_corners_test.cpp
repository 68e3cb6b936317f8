// The scoring passes on QSO fields set directly, where every corner of which earlier QSOs count
// can be reached: statuses, frequencies and member numbers that a load never produces together.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "scoring/band_plan.h"
#include "scoring/scoring_passes.h"
#include "state/decimal.h"

namespace zeb::test {
namespace {

// The passes as plain comparisons of every QSO with every earlier one: slow, but read straight
// off the rules, so the indexed passes of the product are checked against them.
namespace reference {

bool isNonMember(const QsoRecord& record) {
    return std::strcmp(record.exchText, "NM") == 0;
}

void markClubMultipliers(QsoTable& table) {
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
            if (parseDecimal(table.slots[j].exchText) == parseDecimal(record.exchText)) {
                record.clubMult = 0;
            }
        }
    }
}

bool sameBandOf(const QsoRecord& a, const QsoRecord& b) {
    return sameBand(parseDecimal(a.freqText), parseDecimal(b.freqText));
}

void markDxccMultipliers(QsoTable& table) {
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
                sameBandOf(record, table.slots[j])) {
                record.dxccMult = 0;
            }
        }
    }
}

void markDuplicates(QsoTable& table) {
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        if (record.status != kStatusValid) {
            continue;
        }
        for (int j = 0; j < i; ++j) {
            if (std::strcmp(table.slots[j].callText, record.callText) == 0 &&
                sameBandOf(record, table.slots[j])) {
                record.status = kStatusDuplicate;
            }
        }
    }
}

std::int32_t markSameNumbers(QsoTable& table) {
    std::int32_t count = 0;
    for (int i = 0; i < table.qsoCount; ++i) {
        QsoRecord& record = table.slots[i];
        record.sameNumberFlag = 0;
        if (isNonMember(record) || record.status != kStatusValid || record.memberNumber == 0) {
            continue;
        }
        for (int j = 0; j < i; ++j) {
            const QsoRecord& earlier = table.slots[j];
            if (sameBandOf(record, earlier) && earlier.memberNumber != 0 &&
                earlier.memberNumber == record.memberNumber) {
                record.points = 1;
                record.sameNumberFlag = 1;
                ++count;
            }
        }
    }
    return count;
}

}  // namespace reference

struct Fields {
    std::string frequency;
    std::string call;
    std::string exchange;
    std::int32_t memberNumber;
    std::string country;
    std::int32_t status = kStatusValid;
};

void setFields(QsoRecord& record, const Fields& fields) {
    std::strncpy(record.freqText, fields.frequency.c_str(), kFreqChars);
    std::strncpy(record.callText, fields.call.c_str(), kCallChars);
    std::strncpy(record.exchText, fields.exchange.c_str(), kExchChars);
    std::strncpy(record.country, fields.country.c_str(), kCountryChars);
    record.memberNumber = fields.memberNumber;
    record.status = fields.status;
}

// Every value a pass may write, whatever the status, so that a value left unchanged shows too.
std::string rendering(const QsoTable& table) {
    std::string text;
    for (int i = 0; i < table.qsoCount; ++i) {
        const QsoRecord& r = table.slots[i];
        text += std::string(r.callText) + " s" + std::to_string(r.status) + " p" +
                std::to_string(r.points) + " z" + std::to_string(r.clubMult) + " d" +
                std::to_string(r.dxccMult) + " f" + std::to_string(r.sameNumberFlag) + "\n";
    }
    return text;
}

// The passes from the points on, in the order of a computation.
void scorePasses(EvaluationState& state) {
    assignPoints(state);
    markClubMultipliers(state);
    markDxccMultipliers(state);
    markDuplicates(state);
    markSameNumbers(state);
}

struct CornerCase {
    const char* name;
    std::vector<Fields> qsos;
    std::string expected;
    std::int32_t sameNumberCount;
};

void PrintTo(const CornerCase& c, std::ostream* os) {
    *os << c.name;
}

class PassCorners : public testing::TestWithParam<CornerCase> {};

TEST_P(PassCorners, GiveTheValuesOfTheRules) {
    const CornerCase& c = GetParam();
    const auto state = makeEvaluationState();
    for (std::size_t i = 0; i < c.qsos.size(); ++i) {
        setFields(state->qsoTable.slots[i], c.qsos[i]);
    }
    state->qsoTable.qsoCount = static_cast<std::int32_t>(c.qsos.size());
    scorePasses(*state);
    EXPECT_EQ(rendering(state->qsoTable), c.expected);
    EXPECT_EQ(state->totals.sameNumberCount, c.sameNumberCount);
}

constexpr std::int32_t kHuge = 2147483647;

INSTANTIATE_TEST_SUITE_P(
    EarlierQsos, PassCorners,
    testing::Values(
        CornerCase{"a_duplicate_blocks_a_later_member_multiplier",
                   {{"3510", "A", "11", 11, "OK"},
                    {"3520", "A", "22", 22, "OK"},
                    {"7010", "B", "22", 22, "OK"}},
                   "A s0 p10 z1 d1 f0\nA s1 p10 z1 d0 f0\nB s0 p10 z0 d1 f0\n",
                   0},
        CornerCase{
            "a_qso_outside_the_bands_blocks_a_later_member_multiplier",
            {{"50100", "C", "33", 33, "OK", kStatusOutOfBand}, {"7020", "D", "33", 33, "OK"}},
            "C s2 p0 z0 d0 f0\nD s0 p10 z0 d1 f0\n",
            0},
        CornerCase{"equal_frequencies_outside_every_band_share_no_band",
                   {{"5000", "E", "44", 44, "OK"}, {"5000", "E", "44", 44, "OK"}},
                   "E s0 p10 z1 d1 f0\nE s0 p10 z0 d1 f0\n",
                   0},
        CornerCase{"three_qsos_of_one_number_on_one_band_count_three",
                   {{"3510", "F", "77", 77, "OK"},
                    {"3520", "G", "77", 77, "OK"},
                    {"3530", "H", "77", 77, "OK"}},
                   "F s0 p10 z1 d1 f0\nG s0 p1 z0 d0 f1\nH s0 p1 z0 d0 f1\n",
                   3},
        CornerCase{"a_duplicate_still_counts_as_an_earlier_qso_of_its_number",
                   {{"3510", "F", "77", 77, "OK"},
                    {"3520", "F", "77", 77, "OK"},
                    {"3530", "G", "77", 77, "DL"},
                    {"7010", "H", "77", 77, "DL"}},
                   "F s0 p10 z1 d1 f0\nF s1 p10 z0 d0 f0\nG s0 p1 z0 d1 f1\nH s0 p10 z0 d1 f0\n",
                   2},
        CornerCase{"a_qso_of_another_status_counts_as_an_earlier_call",
                   {{"14010", "J", "NM", 0, "OK", 5}, {"14020", "J", "NM", 0, "OK"}},
                   "J s5 p0 z0 d0 f0\nJ s1 p1 z0 d0 f0\n",
                   0},
        CornerCase{
            "numbers_beyond_the_range_saturate_to_one_member",
            {{"21010", "K", "99999999999", kHuge, "OK"}, {"21020", "L", "2147483647", kHuge, "OK"}},
            "K s0 p10 z1 d1 f0\nL s0 p1 z0 d0 f1\n",
            1},
        CornerCase{"countries_compare_as_whole_texts_and_blank_is_none",
                   {{"28010", "M", "NM", 0, "OK"},
                    {"28020", "N", "NM", 0, "OKX"},
                    {"28030", "P", "NM", 0, ""},
                    {"28040", "Q", "NM", 0, ""},
                    {"28050", "R", "NM", 0, "         "},
                    {"28060", "S", "NM", 0, "         "}},
                   "M s0 p1 z0 d1 f0\nN s0 p1 z0 d1 f0\nP s0 p1 z0 d1 f0\nQ s0 p1 z0 d0 f0\n"
                   "R s0 p1 z0 d0 f0\nS s0 p1 z0 d0 f0\n",
                   0}));

// Logs of fields drawn from small pools, so that keys collide often, with values a load never
// gives together: any status, member numbers that disagree with the exchange text, frequencies
// outside the bands (equal ones too), empty and blank countries.
std::vector<Fields> randomLog(std::mt19937& random, int qsoCount) {
    static const char* const kFrequencies[] = {
        "3500",  "3800",  "3499",  "3801",  "3650",  "7000",        "7200",  "7201",
        "14000", "14350", "21450", "21451", "28000", "29700",       "29701", "5000",
        "5000",  "0",     "",      "3.5",   "-3600", "99999999999", "abc",   " 7100"};
    static const char* const kCalls[] = {"OK1AA", "OK1BB", "DL1CC", "", "W1AW", "ok1aa", "K"};
    static const char* const kExchanges[] = {
        "NM", "NM",  "42", "0042", "7", "99999999999", "2147483647", "2147483648",
        "nm", "abc", "",   "0",    "1"};
    static const std::int32_t kNumbers[] = {0, 0, 42, 7, 1, kHuge, -1, -2147483647 - 1};
    static const char* const kCountries[] = {"OK", "DL", "K", "OKX", "", " ", "         ", "9M2"};
    static const std::int32_t kStatuses[] = {0, 0, 0, 0, 1, 2, 2, 3, -1};
    auto pick = [&random](const auto& pool) { return pool[random() % std::size(pool)]; };
    std::vector<Fields> log;
    for (int i = 0; i < qsoCount; ++i) {
        Fields fields{pick(kFrequencies), pick(kCalls),   pick(kExchanges), 0,
                      pick(kCountries),   pick(kStatuses)};
        fields.memberNumber =
            random() % 3 == 0 ? pick(kNumbers) : parseDecimal(fields.exchange.c_str());
        log.push_back(fields);
    }
    return log;
}

TEST(PassesAgainstTheirReference, AgreeOnManyGeneratedLogs) {
    std::mt19937 random(11);
    const auto product = makeEvaluationState();
    const auto expected = makeEvaluationState();
    for (int round = 0; round < 400; ++round) {
        const int qsoCount = round == 0 ? kMaxQsoLines : static_cast<int>(random() % 80);
        const std::vector<Fields> log = randomLog(random, qsoCount);
        for (EvaluationState* state : {product.get(), expected.get()}) {
            std::mt19937 leftovers(round);
            for (int i = 0; i < qsoCount; ++i) {
                QsoRecord& record = state->qsoTable.slots[i];
                setFields(record, log[i]);
                // Values of an earlier computation, which some passes keep for some QSOs.
                record.clubMult = static_cast<std::int32_t>(leftovers() % 2);
                record.dxccMult = static_cast<std::int32_t>(leftovers() % 2);
                record.sameNumberFlag = static_cast<std::int32_t>(leftovers() % 2);
            }
            state->qsoTable.qsoCount = qsoCount;
            state->totals.sameNumberCount = 12345;
        }
        QsoTable& table = expected->qsoTable;
        assignPoints(*product);
        assignPoints(*expected);
        markClubMultipliers(*product);
        reference::markClubMultipliers(table);
        ASSERT_EQ(rendering(product->qsoTable), rendering(table)) << "club, round " << round;
        markDxccMultipliers(*product);
        reference::markDxccMultipliers(table);
        ASSERT_EQ(rendering(product->qsoTable), rendering(table)) << "DXCC, round " << round;
        markDuplicates(*product);
        reference::markDuplicates(table);
        ASSERT_EQ(rendering(product->qsoTable), rendering(table)) << "duplicates, round " << round;
        markSameNumbers(*product);
        const std::int32_t count = reference::markSameNumbers(table);
        ASSERT_EQ(rendering(product->qsoTable), rendering(table))
            << "same numbers, round " << round;
        ASSERT_EQ(product->totals.sameNumberCount, count) << "round " << round;
    }
}

}  // namespace
}  // namespace zeb::test
