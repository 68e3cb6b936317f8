#include "intake/text_helpers.h"

#include <gtest/gtest.h>

#include <string>

namespace zeb {
namespace {

struct TrimCase {
    const char* name;
    std::string text;
    std::string token;
};

void PrintTo(const TrimCase& c, std::ostream* os) {
    *os << c.name;
}

class TrimTokenTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimTokenTest, TakesTheFirstWord) {
    std::string buffer = GetParam().text;
    buffer.resize(64, '\0');
    const int start = trimToken(buffer.data(), static_cast<int>(buffer.size()));
    EXPECT_EQ(std::string(buffer.c_str() + start), GetParam().token);
}

INSTANTIATE_TEST_SUITE_P(
    Words, TrimTokenTest,
    testing::Values(TrimCase{"three_spaces_then_a_call", "   W1AW\n", "W1AW"},
                    TrimCase{"twenty_five_spaces_give_one_space", std::string(25, ' ') + "W1AW",
                             " "},
                    TrimCase{"a_line_feed_alone_is_empty", "\n", ""},
                    TrimCase{"only_spaces_are_empty", "     ", ""},
                    TrimCase{"a_space_and_a_line_feed_give_the_line_feed", " \n", "\n"},
                    TrimCase{"the_first_of_two_words", "123 456", "123"},
                    TrimCase{"a_word_running_past_position_32_is_not_cut", std::string(40, 'A'),
                             std::string(40, 'A')},
                    TrimCase{"a_word_ending_at_position_32_is_cut", std::string(32, 'B') + " x",
                             std::string(32, 'B')}),
    [](const testing::TestParamInfo<TrimCase>& info) { return info.param.name; });

TEST(FindWordEnd, StepsOverTheNextWord) {
    EXPECT_EQ(findWordEnd("59  001"), 2);
    EXPECT_EQ(findWordEnd(std::string("  59\0     ", 10)), 5);
    EXPECT_EQ(findWordEnd(std::string(80, ' ')), 0);
}

TEST(FindWordEnd, ReadsColumnsOutsideTheBufferAsTerminators) {
    const std::string buffer = "QSO: 12345";
    EXPECT_EQ(findWordEnd(buffer, 5), 0);
    EXPECT_EQ(findWordEnd(buffer, 1000), 0);
    // Columns before the buffer are terminators too, which count as word characters.
    EXPECT_EQ(findWordEnd(buffer, -5), 9);
}

}  // namespace
}  // namespace zeb
