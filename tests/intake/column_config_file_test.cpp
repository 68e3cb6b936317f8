#include "intake/column_config_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/recording_platform.h"

namespace zeb {

void PrintTo(const ColumnConfig& c, std::ostream* os) {
    *os << c.callStart << "," << c.callWidth << "," << c.exchStart << "," << c.exchWidth;
}

namespace test {
namespace {

TEST(ConfigurationSave, WritesTheFourValuesOnePerLine) {
    Evaluation evaluation;
    evaluation.state->columns = {30, 10, 50, 10};
    EXPECT_TRUE(saveColumnConfig(*evaluation.state, evaluation.platform, "a.ini").ok);
    EXPECT_EQ(evaluation.platform.files["a.ini"], "30\n10\n50\n10\n");
    evaluation.state->columns = {-5, 0, INT_MIN, INT_MAX};
    EXPECT_TRUE(saveColumnConfig(*evaluation.state, evaluation.platform, "a.ini").ok);
    EXPECT_EQ(evaluation.platform.files["a.ini"], "-5\n0\n-2147483648\n2147483647\n");
    EXPECT_TRUE(evaluation.platform.dialogs.empty());
}

TEST(ConfigurationSave, ACancelledDialogWritesNothing) {
    Evaluation evaluation;
    EXPECT_TRUE(saveColumnConfig(*evaluation.state, evaluation.platform, std::nullopt).ok);
    EXPECT_TRUE(evaluation.platform.files.empty());
}

struct ReadCase {
    const char* name;
    std::string file;
    ColumnConfig expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigurationRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ConfigurationRead, ReadsValuesAsScanfDoes) {
    ColumnConfig columns{1, 2, 3, 4};
    MemoryTextInput input(GetParam().file);
    readColumnConfig(input, columns);
    EXPECT_EQ(columns, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConfigurationRead,
    testing::Values(ReadCase{"four_lines", "30\n10\n50\n10\n", {30, 10, 50, 10}},
                    ReadCase{"four_lines_with_crlf", "30\r\n10\r\n50\r\n10\r\n", {30, 10, 50, 10}},
                    ReadCase{"one_line_with_blanks_and_tabs", "  30 10\t50   10", {30, 10, 50, 10}},
                    ReadCase{"letters_on_the_second_line", "30\nabc\n50\n10\n", {30, 2, 3, 4}},
                    ReadCase{"an_empty_file", "", {1, 2, 3, 4}},
                    ReadCase{"negative_and_signed_values", "-7\n+8\n-0\n9", {-7, 8, 0, 9}},
                    ReadCase{"a_lone_sign_stops_the_reading", "30\n-\n50\n", {30, 2, 3, 4}},
                    ReadCase{"figures_followed_by_letters", "30x 40", {30, 2, 3, 4}},
                    ReadCase{"more_than_four_values", "5 6 7 8 9 10", {5, 6, 7, 8}},
                    ReadCase{"values_beyond_32_bits_saturate",
                             "99999999999\n-99999999999\n2147483648\n-2147483649\n",
                             {INT_MAX, INT_MIN, INT_MAX, INT_MIN}},
                    ReadCase{"leading_zeros",
                             "-000000000000000000000000042 0000 00000000000000000000001 +0",
                             {-42, 0, 1, 0}},
                    ReadCase{"a_number_of_a_thousand_figures",
                             std::string(1000, '9') + " 1 2 3",
                             {INT_MAX, 1, 2, 3}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(ConfigurationLoad, SetsTheColumnsAndShowsTheStartColumns) {
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(cabrilloLog({qsoLine("3520", "OK1AA", "123")})), LoadOutcome::Loaded);
    evaluation.platform.files["wide.ini"] = "51\n4\n71\n2\n";
    EXPECT_TRUE(
        loadColumnConfig(*evaluation.state, evaluation.window, evaluation.platform, "wide.ini"));
    EXPECT_EQ(evaluation.state->columns, (ColumnConfig{51, 4, 71, 2}));
    EXPECT_EQ(evaluation.window.editText(Edit::cstart), "51");
    EXPECT_EQ(evaluation.window.editText(Edit::istart), "71");
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "    ");
    EXPECT_EQ(evaluation.window.editText(Edit::ivzor), "  ");
    evaluation.platform.files["wide.ini"] = "55\n5\n73\n2\n";
    loadColumnConfig(*evaluation.state, evaluation.window, evaluation.platform, "wide.ini");
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "OK1AA");
    EXPECT_EQ(evaluation.window.editText(Edit::ivzor), "12");
}

TEST(ConfigurationLoad, AnEmptyFileChangesNothingButRefreshesTheEdits) {
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(cabrilloLog({qsoLine("3520", "OK1AA", "123")})), LoadOutcome::Loaded);
    evaluation.window.setEditText(Edit::cvzor, "typed");
    evaluation.platform.files["empty.ini"] = "";
    EXPECT_TRUE(
        loadColumnConfig(*evaluation.state, evaluation.window, evaluation.platform, "empty.ini"));
    EXPECT_EQ(evaluation.state->columns, (ColumnConfig{55, 10, 73, 10}));
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "OK1AA     ");
}

TEST(ConfigurationLoad, AFileThatCannotBeOpenedChangesNothing) {
    Evaluation evaluation;
    evaluation.window.setEditText(Edit::cvzor, "typed");
    EXPECT_FALSE(
        loadColumnConfig(*evaluation.state, evaluation.window, evaluation.platform, "missing.ini"));
    EXPECT_FALSE(
        loadColumnConfig(*evaluation.state, evaluation.window, evaluation.platform, std::nullopt));
    EXPECT_EQ(evaluation.state->columns, kWindowColumns);
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "typed");
    EXPECT_TRUE(evaluation.platform.dialogs.empty());
}

TEST(ConfigurationLoad, AStartColumnOfTenFiguresIsReadBackFromItsFirstNine) {
    // The start edits are read as their first nine characters, so showing a ten-figure column
    // changes it.
    Evaluation evaluation;
    evaluation.platform.files["big.ini"] = "1234567890 10 -2147483648 10";
    loadColumnConfig(*evaluation.state, evaluation.window, evaluation.platform, "big.ini");
    EXPECT_EQ(evaluation.state->columns.callStart, 123456789);
    EXPECT_EQ(evaluation.state->columns.exchStart, -21474836);
}

TEST(ConfigurationFile, ANegativeValueSurvivesSavingAndLoading) {
    Evaluation evaluation;
    evaluation.state->columns = {-3, 10, 60, -1};
    saveColumnConfig(*evaluation.state, evaluation.platform, "n.ini");
    evaluation.state->columns = kWindowColumns;
    loadColumnConfig(*evaluation.state, evaluation.window, evaluation.platform, "n.ini");
    EXPECT_EQ(evaluation.state->columns, (ColumnConfig{-3, 10, 60, -1}));
}

}  // namespace
}  // namespace test
}  // namespace zeb
