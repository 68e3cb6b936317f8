#include "state/window_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "support/recording_platform.h"

namespace zeb::test {
namespace {

class RowEdit : public testing::Test {
  protected:
    void SetUp() override {
        std::vector<std::string> lines;
        for (int i = 1; i <= 12; ++i) {
            lines.push_back(qsoLine("3520", "OK" + std::to_string(i) + "AA", std::to_string(i)));
        }
        ASSERT_EQ(evaluation.load(cabrilloLog(lines)), LoadOutcome::Loaded);
    }
    // Types the text one keystroke at a time, as the evaluator does.
    void type(Edit edit, const std::string& text) {
        std::string typed = evaluation.window.editText(edit);
        for (const char c : text) {
            typed += c;
            evaluation.window.setEditText(edit, typed);
        }
    }
    Evaluation evaluation;
};

TEST_F(RowEdit, TypingTwelveShowsLineOneThenLineTwelve) {
    evaluation.window.setEditText(Edit::radek1, "");
    ASSERT_EQ(evaluation.dialogTexts(), "Řádky se počítají od jedničky nahoru!|");
    evaluation.window.setEditText(Edit::radek1, "1");
    EXPECT_STREQ(evaluation.state->displayLine, evaluation.state->qsoTable.slots[0].line);
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "OK1AA     ");
    evaluation.window.setEditText(Edit::radek1, "12");
    EXPECT_STREQ(evaluation.state->displayLine, evaluation.state->qsoTable.slots[11].line);
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "OK12AA    ");
    EXPECT_EQ(evaluation.window.editText(Edit::ivzor), "12");
    EXPECT_EQ(evaluation.platform.dialogs.size(), 1u);
}

TEST_F(RowEdit, NumbersOutsideTheLogBringUpTheirMessagesAndChangeNothing) {
    evaluation.window.setEditText(Edit::radek1, "5");
    const std::string shown = evaluation.state->displayLine;
    const ColumnConfig columns = evaluation.state->columns;
    for (const char* text : {"13", "0", "-1", "", "abc"}) {
        evaluation.window.setEditText(Edit::radek1, text);
    }
    EXPECT_EQ(evaluation.dialogTexts(),
              "Tolik QSO tu není!|Řádky se počítají od jedničky nahoru!|"
              "Řádky se počítají od jedničky nahoru!|Řádky se počítají od jedničky nahoru!|"
              "Řádky se počítají od jedničky nahoru!|");
    for (const RecordedDialog& dialog : evaluation.platform.dialogs) {
        EXPECT_EQ(dialog.kind, DialogKind::Error);
        EXPECT_EQ(dialog.buttons, DialogButtons::Abort);
    }
    EXPECT_EQ(std::string(evaluation.state->displayLine), shown);
    EXPECT_EQ(evaluation.state->columns.callStart, columns.callStart);
}

TEST_F(RowEdit, IsQuietWhileTheProgramSetsIt) {
    setRowEditQuietly(*evaluation.state, evaluation.window, "999");
    EXPECT_TRUE(evaluation.platform.dialogs.empty());
    EXPECT_TRUE(evaluation.state->rowEditActive);
}

TEST_F(RowEdit, TypingIntoAStartEditRefreshesItsPatternAtEachKeystroke) {
    evaluation.window.setEditText(Edit::cstart, "");
    EXPECT_EQ(evaluation.state->columns.callStart, 0);
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "QSO:  3520");
    type(Edit::cstart, "5");
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), " 3520 PH 2");
    type(Edit::cstart, "6");
    EXPECT_EQ(evaluation.state->columns.callStart, 56);
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "K1AA      ");
    evaluation.window.setEditText(Edit::istart, "74");
    EXPECT_EQ(evaluation.state->columns.exchStart, 74);
    EXPECT_EQ(evaluation.window.editText(Edit::ivzor), "");
}

TEST_F(RowEdit, StartEditsReadOnlyTheirFirstNineCharacters) {
    evaluation.window.setEditText(Edit::cstart, "0000000055");
    EXPECT_EQ(evaluation.state->columns.callStart, 5);
    evaluation.window.setEditText(Edit::cstart, "  -3x");
    EXPECT_EQ(evaluation.state->columns.callStart, -3);
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "");
}

TEST_F(RowEdit, LeavingAPatternEditRestoresTheTextOfTheLine) {
    evaluation.window.setEditText(Edit::cvzor, "typed");
    setcall(*evaluation.state, evaluation.window);
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "OK1AA     ");
}

struct PatternCase {
    const char* name;
    int start;
    int width;
    std::string text;
};

void PrintTo(const PatternCase& c, std::ostream* os) {
    *os << c.name;
}

class PatternText : public testing::TestWithParam<PatternCase> {};

TEST_P(PatternText, TakesTheWindowOfTheLine) {
    char line[kLineBufferSize] = "QSO: W1AW 599";
    EXPECT_EQ(patternText(line, GetParam().start, GetParam().width), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PatternText,
    testing::Values(PatternCase{"inside", 5, 4, "W1AW"},
                    PatternCase{"stopping_at_the_end_of_the_line", 10, 100, "599"},
                    PatternCase{"starting_at_the_end", 13, 5, ""},
                    PatternCase{"a_negative_column", -1, 5, ""},
                    PatternCase{"a_zero_width", 5, 0, ""},
                    PatternCase{"a_negative_width", 5, -4, ""},
                    PatternCase{"the_largest_column", 2147483647, 2147483647, ""},
                    PatternCase{"the_largest_width", 0, 2147483647, "QSO: W1AW 599"}),
    [](const testing::TestParamInfo<PatternCase>& info) { return info.param.name; });

TEST(FormCreate, SetsTheStartStateOfTheWindow) {
    Evaluation evaluation;
    EXPECT_EQ(evaluation.state->columns.callStart, 55);
    EXPECT_EQ(evaluation.state->columns.callWidth, 14);
    EXPECT_EQ(evaluation.state->columns.exchStart, 73);
    EXPECT_EQ(evaluation.state->columns.exchWidth, 14);
    EXPECT_TRUE(evaluation.state->rowEditActive);
    EXPECT_EQ(evaluation.window.editText(Edit::radek1), "1");
    EXPECT_FALSE(evaluation.window.isEnabled(Control::radek1));
    EXPECT_FALSE(evaluation.window.isEnabled(Control::bvypocet));
    EXPECT_FALSE(evaluation.window.isEnabled(Control::bukladani));
    EXPECT_FALSE(evaluation.window.progressVisible());
    EXPECT_TRUE(evaluation.platform.dialogs.empty());
}

TEST(LoadCommand, AFailedLoadClearsTheLogAndDisablesComputing) {
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(cabrilloLog({qsoLine("3520", "OK1AA", "123")})), LoadOutcome::Loaded);
    ASSERT_TRUE(evaluation.compute());
    prepareLoad(*evaluation.state, evaluation.window);
    EXPECT_EQ(loadLog(*evaluation.state, evaluation.window, evaluation.platform, "*.cbr", false),
              LoadOutcome::CannotOpen);
    EXPECT_EQ(evaluation.state->qsoTable.qsoCount, 0);
    EXPECT_EQ(evaluation.window.caption(), "*.cbr");
    EXPECT_EQ(evaluation.window.labelText(Label::povel), utf8ToCp1250("načtení se nezdařilo"));
    EXPECT_EQ(evaluation.window.labelText(Label::qsos), "");
    EXPECT_FALSE(evaluation.window.isEnabled(Control::bvypocet));
    EXPECT_FALSE(evaluation.window.isEnabled(Control::bukladani));
    EXPECT_FALSE(evaluation.window.isEnabled(Control::radek1));
}

TEST(LoadCommand, ASuccessfulLoadSetsCaptionStatusAndControls) {
    Evaluation evaluation;
    evaluation.platform.files["/logs/ok1zeb.cbr"] = cabrilloLog({qsoLine("3520", "OK1AA", "1")});
    prepareLoad(*evaluation.state, evaluation.window);
    ASSERT_EQ(loadLog(*evaluation.state, evaluation.window, evaluation.platform, "/logs/ok1zeb.cbr",
                      true),
              LoadOutcome::Loaded);
    EXPECT_EQ(evaluation.window.caption(), "ok1zeb.cbr");
    EXPECT_EQ(evaluation.window.labelText(Label::povel), utf8ToCp1250("deník načten"));
    EXPECT_TRUE(evaluation.window.isEnabled(Control::bvypocet));
    EXPECT_FALSE(evaluation.window.isEnabled(Control::bukladani));
    EXPECT_TRUE(evaluation.window.isEnabled(Control::radek1));
    EXPECT_EQ(evaluation.window.configurationPageShown(), 1);
}

}  // namespace
}  // namespace zeb::test
