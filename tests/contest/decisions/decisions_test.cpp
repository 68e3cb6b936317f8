#include "contest/decisions/decisions.h"

#include <gtest/gtest.h>

#include <string>

namespace zeb::contest {
namespace {

// A decisions file as a person writes it: keywords with or without their diacritics, any case,
// blanks anywhere, comments, a line that is no decision, a file saved in Windows-1250.
TEST(DecisionFile, IsReadAsAPersonWritesIt) {
    const DecisionFile file = parseDecisions(
        "# poznámka\n"
        "\n"
        "  ODLOZIT  ntc-XX.cbr |  přišel pozdě  \r\n"
        "kontrolní ntc-YY.cbr\n"
        "Platí ntc-ZZ.cbr|\n"
        "uznat a.cbr | QSO: 3540 CW 2024-03-21 1903 A|B 599 1 | protistanice ztratila deník\n"
        "vyřadit a.cbr | QSO: 1\n"
        "vyřadit a.cbr\n"
        "zrušit a.cbr | proč\n");

    ASSERT_EQ(file.decisions.size(), 5u);
    const Decision& setAside = file.decisions[0];
    EXPECT_EQ(setAside.kind, DecisionKind::SetAside);
    EXPECT_EQ(setAside.log, "ntc-XX.cbr");
    EXPECT_EQ(setAside.reason, "přišel pozdě");
    EXPECT_EQ(setAside.fileLine, 3);
    EXPECT_EQ(file.decisions[1].kind, DecisionKind::CheckLog);
    EXPECT_EQ(file.decisions[1].reason, "");
    EXPECT_EQ(file.decisions[2].kind, DecisionKind::Counts);
    // A bar within the QSO line stays in it: the reason follows the last one.
    EXPECT_EQ(file.decisions[3].qsoLine, "QSO: 3540 CW 2024-03-21 1903 A|B 599 1");
    EXPECT_EQ(file.decisions[3].reason, "protistanice ztratila deník");
    EXPECT_EQ(file.decisions[4].kind, DecisionKind::RemoveQso);
    EXPECT_EQ(file.decisions[4].reason, "");
    ASSERT_EQ(file.problems.size(), 2u);
    EXPECT_EQ(file.problems[0].fileLine, 8);
    EXPECT_NE(file.problems[0].text.find("chybí řádek QSO"), std::string::npos);
    EXPECT_NE(file.problems[1].text.find("neznámé rozhodnutí „zrušit“"), std::string::npos);

    const DecisionFile cp1250 = parseDecisions("odlo\x9eit x.cbr | p\xf8i\x9Al pozd\xec\n");
    ASSERT_EQ(cp1250.decisions.size(), 1u);
    EXPECT_EQ(cp1250.decisions[0].reason, "přišl pozdě");
}

// The window adds and takes out decisions line by line: what the person wrote stays.
TEST(DecisionFile, ChangesKeepEveryOtherLine) {
    const std::string written =
        "# moje poznámky\n"
        "odložit a.cbr | pozdě\n"
        "uznat b.cbr | QSO:  3540 CW  2024-03-21 1903 B 599 1 C 599 2 | ztratil deník\n";
    Decision keep{DecisionKind::RemoveQso, "b.cbr", "QSO: 3540 CW 2024-03-21 1903 B 599 1 C 599 2",
                  "stanice nebyla v soutěži"};
    // Removing a QSO that was kept replaces the keeping, in its place.
    EXPECT_EQ(withDecision(written, keep),
              "# moje poznámky\n"
              "odložit a.cbr | pozdě\n"
              "vyřadit b.cbr | QSO: 3540 CW 2024-03-21 1903 B 599 1 C 599 2 | stanice nebyla v "
              "soutěži\n");
    // A check log cannot be set aside too; the new decision goes where the old one stood.
    EXPECT_EQ(withDecision(written, {DecisionKind::CheckLog, "a.cbr", "", "kontrola"}),
              "# moje poznámky\n"
              "kontrolní a.cbr | kontrola\n"
              "uznat b.cbr | QSO:  3540 CW  2024-03-21 1903 B 599 1 C 599 2 | ztratil deník\n");
    EXPECT_EQ(withDecision(written, {DecisionKind::Counts, "c|d.cbr", "", "nový\nřádek"}),
              written + "platí c/d.cbr | nový řádek\n");
    // A blank line the person left at the end stays; a last line without its end gets one.
    EXPECT_EQ(withDecision(written + "\n", {DecisionKind::CheckLog, "e.cbr", "", ""}),
              written + "\nkontrolní e.cbr |\n");
    EXPECT_EQ(withDecision("# x", {DecisionKind::CheckLog, "e.cbr", "", ""}),
              "# x\nkontrolní e.cbr |\n");
    EXPECT_EQ(withoutDecision(written, {DecisionKind::KeepQso, "b.cbr",
                                        "QSO: 3540 CW 2024-03-21 1903 B 599 1 C 599 2", ""}),
              "# moje poznámky\n"
              "odložit a.cbr | pozdě\n");
    // A new file explains itself before its first decision.
    const std::string fresh = withDecision("", {DecisionKind::SetAside, "a.cbr", "", "pozdě"});
    EXPECT_EQ(fresh.rfind("# ", 0), 0u);
    EXPECT_EQ(parseDecisions(fresh).decisions.size(), 1u);
    EXPECT_TRUE(parseDecisions(fresh).problems.empty());
}

}  // namespace
}  // namespace zeb::contest
