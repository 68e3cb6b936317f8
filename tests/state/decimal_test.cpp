#include "state/decimal.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace zeb {
namespace {

TEST(ParseDecimal, ReadsLikeTheCLibrary) {
    EXPECT_EQ(parseDecimal("3799"), 3799);
    EXPECT_EQ(parseDecimal("  42abc"), 42);
    EXPECT_EQ(parseDecimal("-17"), -17);
    EXPECT_EQ(parseDecimal("+17"), 17);
    EXPECT_EQ(parseDecimal("3.5"), 3);
    EXPECT_EQ(parseDecimal(""), 0);
    EXPECT_EQ(parseDecimal("NM"), 0);
    EXPECT_EQ(parseDecimal("- 5"), 0);
    EXPECT_EQ(parseDecimal("0042"), 42);
    EXPECT_EQ(parseDecimal(std::string("12\0"
                                       "34",
                                       5)),
              12);
}

TEST(ParseDecimal, SaturatesBeyondTheThirtyTwoBitRange) {
    EXPECT_EQ(parseDecimal("2147483647"), INT_MAX);
    EXPECT_EQ(parseDecimal("2147483648"), INT_MAX);
    EXPECT_EQ(parseDecimal("-2147483648"), INT_MIN);
    EXPECT_EQ(parseDecimal("-2147483649"), INT_MIN);
    EXPECT_EQ(parseDecimal(std::string(500, '9')), INT_MAX);
}

}  // namespace
}  // namespace zeb
