#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "scoring/band_plan.h"
#include "scoring/exchange_extraction.h"
#include "scoring/prefix_table.h"
#include "support/recording_platform.h"

namespace zeb::test {
namespace {

const std::string kTemplate =
    "QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  001";

struct ExtractionCase {
    const char* name;
    std::string line;
    ColumnConfig columns;
    std::string freq;
    std::string call;
    std::string exchange;
    int memberNumber;
};

void PrintTo(const ExtractionCase& c, std::ostream* os) {
    *os << c.name;
}

class Extraction : public testing::TestWithParam<ExtractionCase> {};

TEST_P(Extraction, TakesTheFirstWordOfEachWindow) {
    const ExtractionCase& c = GetParam();
    const auto state = makeEvaluationState();
    std::strncpy(state->qsoTable.slots[0].line, c.line.c_str(), kLineBufferSize - 1);
    state->qsoTable.qsoCount = 1;
    state->columns = c.columns;
    extractFields(*state);
    const QsoRecord& record = state->qsoTable.slots[0];
    EXPECT_EQ(std::string(record.freqText), c.freq);
    EXPECT_EQ(std::string(record.callText), c.call);
    EXPECT_EQ(std::string(record.exchText), c.exchange);
    EXPECT_EQ(record.memberNumber, c.memberNumber);
}

std::string withExchange(const std::string& exchange) {
    return kTemplate.substr(0, 73) + exchange;
}

INSTANTIATE_TEST_SUITE_P(
    Windows, Extraction,
    testing::Values(
        ExtractionCase{"the_template_line", kTemplate, {55, 14, 73, 10}, "3799", "W1AW", "001", 1},
        ExtractionCase{"nm_stays", withExchange("NM"), {55, 14, 73, 10}, "3799", "W1AW", "NM", 0},
        ExtractionCase{"zero", withExchange("0"), {55, 14, 73, 10}, "3799", "W1AW", "NM", 0},
        ExtractionCase{
            "four_zeros", withExchange("0000"), {55, 14, 73, 10}, "3799", "W1AW", "NM", 0},
        ExtractionCase{"two_zeros", withExchange("00"), {55, 14, 73, 10}, "3799", "W1AW", "NM", 0},
        ExtractionCase{
            "a_letter_behind", withExchange("12A"), {55, 14, 73, 10}, "3799", "W1AW", "NM", 0},
        ExtractionCase{
            "a_letter_in_front", withExchange("A12"), {55, 14, 73, 10}, "3799", "W1AW", "NM", 0},
        ExtractionCase{
            "lower_case_nm", withExchange("nm"), {55, 14, 73, 10}, "3799", "W1AW", "NM", 0},
        ExtractionCase{"a_sign", withExchange("-5"), {55, 14, 73, 10}, "3799", "W1AW", "NM", 0},
        ExtractionCase{"five_figures",
                       withExchange("12345"),
                       {55, 14, 73, 10},
                       "3799",
                       "W1AW",
                       "12345",
                       12345},
        ExtractionCase{"leading_zeros_kept",
                       withExchange("0042"),
                       {55, 14, 73, 10},
                       "3799",
                       "W1AW",
                       "0042",
                       42},
        ExtractionCase{"only_the_first_word",
                       withExchange("123 XY"),
                       {55, 14, 73, 10},
                       "3799",
                       "W1AW",
                       "123",
                       123},
        ExtractionCase{
            "a_window_of_spaces", withExchange(""), {55, 14, 73, 10}, "3799", "W1AW", "NM", 0},
        ExtractionCase{
            "one_column_too_far_right", kTemplate, {56, 14, 74, 10}, "3799", "1AW", "01", 1},
        ExtractionCase{"two_columns_early", kTemplate, {53, 14, 73, 10}, "3799", "W1AW", "001", 1},
        ExtractionCase{
            "a_window_narrower_than_the_word", kTemplate, {55, 2, 73, 2}, "3799", "W1", "NM", 0},
        ExtractionCase{
            "columns_beyond_the_line", kTemplate, {200, 10, 80, 10}, "3799", "", "NM", 0},
        ExtractionCase{
            "negative_columns_and_widths", kTemplate, {-5, 10, 73, -3}, "3799", "", "NM", 0},
        ExtractionCase{"huge_columns_and_widths",
                       kTemplate,
                       {2147483647, 2147483647, 0, 2147483647},
                       "3799",
                       "",
                       "NM",
                       0},
        ExtractionCase{"a_word_wider_than_the_fields",
                       "QSO: " + std::string(30, '7') + " " + std::string(40, 'W') + " " +
                           std::string(20, '9'),
                       {36, 60, 77, 40},
                       std::string(9, '7'),
                       std::string(19, 'W'),
                       std::string(12, '9'),
                       2147483647},
        ExtractionCase{"a_frequency_in_megahertz",
                       "QSO: 3.5 CW 1999-03-06 0711 HC8N 599 001 W1AW 599 123",
                       {41, 10, 50, 10},
                       "3.5",
                       "W1AW",
                       "123",
                       123}),
    [](const testing::TestParamInfo<ExtractionCase>& info) { return info.param.name; });

TEST(MemberNumber, IsMadeOfFiguresWithAValueOtherThanZero) {
    EXPECT_TRUE(isMemberNumber("1"));
    EXPECT_TRUE(isMemberNumber("0042"));
    EXPECT_TRUE(isMemberNumber("999999999999"));
    EXPECT_FALSE(isMemberNumber(""));
    EXPECT_FALSE(isMemberNumber("000"));
    EXPECT_FALSE(isMemberNumber("12 "));
    EXPECT_FALSE(isMemberNumber("+12"));
}

struct BandCase {
    int frequency;
    bool inBands;
    bool in80m;
};

TEST(BandPlan, KeepsItsEdgesInside) {
    const BandCase cases[] = {
        {3500, true, true},    {3800, true, true},    {3499, false, false},  {3801, false, false},
        {28000, true, false},  {29700, true, false},  {29701, false, false}, {21450, true, false},
        {21451, false, false}, {14350, true, false},  {14000, true, false},  {7200, true, false},
        {7201, false, false},  {7050, true, false},   {0, false, false},     {1850, false, false},
        {50100, false, false}, {-3600, false, false},
    };
    RecordingPlatform platform;
    const auto state = makeEvaluationState();
    HeadlessWindow window(*state, platform);
    for (const BandCase& c : cases) {
        window.setOnly80m(false);
        EXPECT_EQ(inContestBands(c.frequency, window), c.inBands) << c.frequency;
        window.setOnly80m(true);
        EXPECT_EQ(inContestBands(c.frequency, window), c.in80m) << c.frequency;
    }
}

TEST(BandPlan, SameBandNeedsOneRowHoldingBoth) {
    EXPECT_TRUE(sameBand(3510, 3790));
    EXPECT_TRUE(sameBand(7010, 7150));
    EXPECT_FALSE(sameBand(3600, 7050));
    EXPECT_FALSE(sameBand(50100, 50100));
    EXPECT_FALSE(sameBand(0, 0));
}

struct PrefixCase {
    const char* call;
    const char* country;  // nullptr: no prefix matches
};

TEST(PrefixTable, TheLongestPrefixWins) {
    const PrefixCase cases[] = {
        {"4U1UN", "4U1U"},  {"4U0ITU", "4U1I"}, {"4U0RXX", "4U1V"},  {"4U9X", "I"},
        {"W1AW", "K"},      {"HC8N", "HC8"},    {"HC1AB", "HC"},     {"KH6ABC", "KH6"},
        {"9M2AA", "9M2"},   {"9M8X", "9M2"},    {"9M4CKR", "9M6"},   {"9M0SI", "1S"},
        {"K", "K"},         {"OK1ZEB", "OK"},   {"DL1ABC", "DL"},    {"F/OK1ZEB", "F"},
        {"OK1ZEB/P", "OK"}, {"", nullptr},      {"ok1zeb", nullptr}, {"/OK1ZEB", nullptr},
    };
    for (const PrefixCase& c : cases) {
        const char* key = findCountryKey(c.call);
        if (c.country == nullptr) {
            EXPECT_EQ(key, nullptr) << c.call;
        } else {
            ASSERT_NE(key, nullptr) << c.call;
            EXPECT_STREQ(key, c.country) << c.call;
        }
    }
}

// The first matching row in table order, visiting every row.
const char* firstMatchingRow(const std::string& call) {
    for (int r = 0; r < kPrefixTable.rowCount; ++r) {
        const PrefixEntry& row = kPrefixTable.rows[r];
        const std::size_t length = std::strlen(row.prefix);
        if (length <= call.size() && call.compare(0, length, row.prefix) == 0) {
            return row.countryKey;
        }
    }
    return nullptr;
}

TEST(PrefixTable, EveryPrefixGivesTheKeyOfItsFirstRow) {
    for (int r = 0; r < kPrefixTable.rowCount; ++r) {
        for (const std::string suffix : {"", "1", "0ABC", "/P"}) {
            const std::string call = kPrefixTable.rows[r].prefix + suffix;
            EXPECT_EQ(findCountryKey(call.c_str()), firstMatchingRow(call)) << call;
        }
    }
}

// Calls shorter than a prefix, and characters that no prefix holds, in every position.
TEST(PrefixTable, LeadingPartsAndForeignCharactersGiveTheKeyOfTheFirstMatchingRow) {
    for (int r = 0; r < kPrefixTable.rowCount; ++r) {
        const std::string prefix = kPrefixTable.rows[r].prefix;
        for (std::size_t length = 1; length < prefix.size(); ++length) {
            for (const std::string tail : {"", "a", "/", "\xC8"}) {
                const std::string call = prefix.substr(0, length) + tail;
                EXPECT_EQ(findCountryKey(call.c_str()), firstMatchingRow(call)) << call;
            }
        }
    }
}

TEST(PrefixTable, RowsStandByNonIncreasingLength) {
    ASSERT_EQ(kPrefixTable.rowCount, 1475);
    int perLength[7] = {};
    int previous = 6;
    for (int r = 0; r < kPrefixTable.rowCount; ++r) {
        const PrefixEntry& row = kPrefixTable.rows[r];
        const int length = std::atoi(row.prefixLength);
        ASSERT_EQ(length, static_cast<int>(std::strlen(row.prefix))) << r;
        ASSERT_LE(length, previous) << r;
        ASSERT_GE(length, 1) << r;
        previous = length;
        ++perLength[length];
        for (const char* c = row.prefix; *c != '\0'; ++c) {
            ASSERT_TRUE((*c >= '0' && *c <= '9') || (*c >= 'A' && *c <= 'Z')) << r;
        }
    }
    EXPECT_EQ(perLength[6], 2);
    EXPECT_EQ(perLength[5], 52);
    EXPECT_EQ(perLength[4], 228);
    EXPECT_EQ(perLength[3], 371);
    EXPECT_EQ(perLength[2], 809);
    EXPECT_EQ(perLength[1], 13);
    EXPECT_STREQ(kPrefixTable.rows[730].prefix, "9M");
    EXPECT_STREQ(kPrefixTable.rows[730].countryKey, "9M2");
}

}  // namespace
}  // namespace zeb::test
