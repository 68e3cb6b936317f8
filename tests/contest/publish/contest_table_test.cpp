#include "contest/publish/contest_table.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "contest/workspace/contest_details.h"

namespace zeb::contest {
namespace {

TEST(ContestTable, NumbersAreReadAsTheyStandAndAnEmptyCellSortsFirst) {
    LogRow row;
    row.scored = true;
    row.qsos = 12;
    row.result = 0;
    row.claimedScore = " 470 ";
    EXPECT_EQ(cellNumber(row, ViewColumn::Claimed), 470);
    EXPECT_EQ(cellText(row, ViewColumn::Claimed), " 470 ");  // shown as the log declares it
    row.claimedScore = "470 points";
    EXPECT_EQ(cellNumber(row, ViewColumn::Claimed), std::nullopt);
    EXPECT_EQ(cellText(row, ViewColumn::Result), "0");
    EXPECT_EQ(cellText(row, ViewColumn::CheckedResult), "");
    EXPECT_EQ(sortNumber(row, ViewColumn::CheckedResult), std::numeric_limits<std::int64_t>::min());
    EXPECT_LT(sortNumber(row, ViewColumn::CheckedResult), sortNumber(row, ViewColumn::Result));

    row.scored = false;
    EXPECT_EQ(cellText(row, ViewColumn::Qsos), "");
    EXPECT_EQ(cellText(row, ViewColumn::FirstFinding), "");
    row.findings = std::array<int, kFindingKindCount>{3, 0, 0, 0, 0};
    EXPECT_EQ(cellText(row, ViewColumn::FirstFinding), "3");

    EXPECT_EQ(sortByOf(ViewColumn::Rank), SortBy::Order);
    EXPECT_EQ(sortByOf(ViewColumn::Call), SortBy::Text);
    EXPECT_EQ(sortByOf(ViewColumn::Flags), SortBy::Text);
    EXPECT_EQ(sortByOf(ViewColumn::RemovedQsos), SortBy::Number);
}

TEST(ContestTable, RowsStandOutByWhatTheyAre) {
    LogRow row;
    row.scored = true;
    EXPECT_EQ(rowTone(row), RowTone::Plain);
    EXPECT_FALSE(toLookAt(row));
    row.flags = "clock";
    EXPECT_EQ(rowTone(row), RowTone::ToLookAt);
    EXPECT_TRUE(toLookAt(row));
    row.scored = false;
    EXPECT_EQ(rowTone(row), RowTone::NotScored);
    LogRow other;
    other.other = 0;
    EXPECT_EQ(rowTone(other), RowTone::NoLog);
    EXPECT_TRUE(toLookAt(other));
}

// Characters, not bytes, decide where a heading breaks: a Czech letter is as wide as any other.
TEST(ContestTable, HeadingsBreakAtWordsOnUpToFourLines) {
    EXPECT_EQ(headingLines("Značku protistanice jste zapsali chybně"),
              (std::vector<std::string>{"Značku", "protistanice", "jste zapsali", "chybně"}));
    EXPECT_EQ(headingLines("Protistanice zapsala vaši značku chybně"),
              (std::vector<std::string>{"Protistanice", "zapsala vaši", "značku chybně"}));
    EXPECT_EQ(headingLines("Před kontrolou"), (std::vector<std::string>{"Před", "kontrolou"}));
    EXPECT_EQ(headingLines("QSO"), (std::vector<std::string>{"QSO"}));
    // In a table only the narrow columns of numbers break; names and the QSOs keep one line.
    EXPECT_EQ(columnHeadingLines(ViewColumn::Result, Language::Czech),
              (std::vector<std::string>{"Před", "kontrolou"}));
    EXPECT_EQ(columnHeadingLines(ViewColumn::Qsos, Language::Czech).size(), 1u);
    EXPECT_EQ(columnHeadingLines(ViewColumn::Flags, Language::Czech).size(), 1u);
}

TEST(ContestDetails, ATranslationMayMoveTheArgumentsWhichKeepTheirEmphasis) {
    TextPiece call{"OK1AA"};
    call.strong = true;
    TextPiece line{"QSO: 3510"};
    line.code = true;
    TextPiece rest;
    rest.tone = Tone::Alert;
    const TextLine pieces = formatPieces("%2 before %1, 100%", {call, line}, rest);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].text, "QSO: 3510");
    EXPECT_TRUE(pieces[0].code);
    EXPECT_EQ(pieces[1].text, " before ");
    EXPECT_EQ(pieces[1].tone, Tone::Alert);
    EXPECT_FALSE(pieces[1].strong);
    EXPECT_EQ(pieces[2].text, "OK1AA");
    EXPECT_TRUE(pieces[2].strong);
    EXPECT_EQ(pieces[2].tone, Tone::Normal);
    EXPECT_EQ(pieces[3].text, ", 100%");
}

}  // namespace
}  // namespace zeb::contest
