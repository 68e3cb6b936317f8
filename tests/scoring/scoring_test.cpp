#include "scoring/scoring_passes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "support/recording_platform.h"

namespace zeb::test {
namespace {

struct Qso {
    std::string frequency;
    std::string call;
    std::string exchange;
};

// One line per QSO: call, exchange, country, status, points, club and DXCC multiplier and the
// same-number flag; the multipliers and points only where the status is 0.
std::string rendering(const EvaluationState& state) {
    std::string text;
    for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
        const QsoRecord& r = state.qsoTable.slots[i];
        text += std::string(r.callText) + " " + r.exchText + " [" + r.country + "] s" +
                std::to_string(r.status);
        if (r.status == 0) {
            text += " p" + std::to_string(r.points) + " z" + std::to_string(r.clubMult) + " d" +
                    std::to_string(r.dxccMult);
        }
        text += " f" + std::to_string(r.sameNumberFlag) + "\n";
    }
    return text;
}

std::string totalsOf(const EvaluationTotals& t) {
    return std::to_string(t.qsoTotal) + " " + std::to_string(t.errorTotal) + " " +
           std::to_string(t.pointsTotal) + " " + std::to_string(t.clubMultTotal) + " " +
           std::to_string(t.dxccMultTotal) + " " + std::to_string(t.result) + " " +
           std::to_string(t.sameNumberCount);
}

std::string logOf(const std::vector<Qso>& qsos) {
    std::vector<std::string> lines;
    for (const Qso& q : qsos) {
        lines.push_back(qsoLine(q.frequency, q.call, q.exchange));
    }
    return cabrilloLog(lines);
}

// Calls A to E of the worked example: five stations, four in OK and one in DL.
std::vector<Qso> workedExample() {
    return {{"3520", "OK1AA", "123"}, {"3520", "OK1AA", "123"}, {"7010", "DL1BB", "NM"},
            {"7020", "OK2CC", "123"}, {"7030", "OK3DD", "123"}, {"50100", "OK4EE", "456"},
            {"14020", "OK4EE", "456"}};
}

class Scoring : public testing::Test {
  protected:
    void evaluate(const std::vector<Qso>& qsos, bool only80m = false) {
        ASSERT_EQ(evaluation.load(logOf(qsos)), LoadOutcome::Loaded);
        evaluation.window.setOnly80m(only80m);
        ASSERT_TRUE(evaluation.compute());
    }
    std::string totals() const { return totalsOf(evaluation.state->totals); }
    Evaluation evaluation;
};

const std::string kPadding = "         ";

TEST_F(Scoring, TheWorkedExampleGivesItsTotals) {
    evaluate(workedExample());
    EXPECT_EQ(rendering(*evaluation.state),
              "OK1AA 123 [OK] s0 p10 z1 d1 f0\n"
              "OK1AA 123 [OK] s1 f0\n"
              "DL1BB NM [DL] s0 p1 z0 d1 f0\n"
              "OK2CC 123 [OK] s0 p10 z0 d1 f0\n"
              "OK3DD 123 [OK] s0 p1 z0 d0 f1\n"
              "OK4EE 456 [OK] s2 f0\n"
              "OK4EE 456 [OK] s0 p10 z0 d1 f0\n");
    EXPECT_EQ(totals(), "7 2 32 1 4 160 1");
}

TEST_F(Scoring, ADuplicateAtAnotherFrequencyOfTheSameBandChangesNothing) {
    auto qsos = workedExample();
    qsos[1].frequency = "3525";
    evaluate(qsos);
    EXPECT_EQ(totals(), "7 2 32 1 4 160 1");
}

TEST_F(Scoring, TheSameCallOnAnotherBandIsNoDuplicate) {
    auto qsos = workedExample();
    qsos[1].frequency = "7040";
    evaluate(qsos);
    EXPECT_EQ(rendering(*evaluation.state),
              "OK1AA 123 [OK] s0 p10 z1 d1 f0\n"
              "OK1AA 123 [OK] s0 p10 z0 d1 f0\n"
              "DL1BB NM [DL] s0 p1 z0 d1 f0\n"
              "OK2CC 123 [OK] s0 p1 z0 d0 f1\n"
              "OK3DD 123 [OK] s0 p1 z0 d0 f1\n"
              "OK4EE 456 [OK] s2 f0\n"
              "OK4EE 456 [OK] s0 p10 z0 d1 f0\n");
    EXPECT_EQ(totals(), "7 1 33 1 4 165 3");
}

TEST_F(Scoring, OnlyEightyMetresMarksEveryOtherBand) {
    evaluate(workedExample(), true);
    EXPECT_EQ(totals(), "7 6 10 1 1 20 0");
}

TEST_F(Scoring, AMemberNumberUnderThreeCallsOnOneBandFlagsTheLaterTwo) {
    evaluate({{"3510", "OK1AA", "77"}, {"3520", "OK1BB", "77"}, {"3530", "OK1CC", "77"}});
    EXPECT_EQ(rendering(*evaluation.state),
              "OK1AA 77 [OK] s0 p10 z1 d1 f0\n"
              "OK1BB 77 [OK] s0 p1 z0 d0 f1\n"
              "OK1CC 77 [OK] s0 p1 z0 d0 f1\n");
    EXPECT_EQ(evaluation.state->totals.sameNumberCount, 3);
    EXPECT_EQ(evaluation.window.labelText(Label::povel),
              utf8ToCp1250("Nalezeny různé call u stejného ZEB"));
}

TEST_F(Scoring, TheSameNumberOnAnotherBandIsNotFlagged) {
    evaluate({{"3510", "OK1AA", "77"}, {"7020", "OK1BB", "77"}});
    EXPECT_EQ(totals(), "2 0 20 1 2 60 0");
    EXPECT_EQ(evaluation.window.labelText(Label::povel), utf8ToCp1250("deník načten"));
}

TEST_F(Scoring, LeadingZerosWriteTheSameMember) {
    evaluate({{"3510", "OK1AA", "0042"}, {"7020", "OK1BB", "42"}});
    EXPECT_EQ(rendering(*evaluation.state),
              "OK1AA 0042 [OK] s0 p10 z1 d1 f0\n"
              "OK1BB 42 [OK] s0 p10 z0 d1 f0\n");
    EXPECT_EQ(evaluation.state->qsoTable.slots[0].memberNumber, 42);
}

TEST_F(Scoring, NonMembersOnlyMultiplyTheirPointsByTheCountries) {
    evaluate({{"3510", "OK1AA", "NM"}, {"3520", "DL1BB", "NM"}, {"7020", "OK1CC", "nm"}});
    EXPECT_EQ(totals(), "3 0 3 0 3 9 0");
}

TEST_F(Scoring, ALogWithoutQsosGivesZeros) {
    ASSERT_EQ(evaluation.load(cabrilloLog({})), LoadOutcome::Loaded);
    ASSERT_TRUE(evaluation.compute());
    EXPECT_EQ(totals(), "0 0 0 0 0 0 0");
}

TEST_F(Scoring, TheCommandFillsTheLabelsAndEnablesSaving) {
    evaluate(workedExample());
    const HeadlessWindow& window = evaluation.window;
    EXPECT_EQ(cp1250ToUtf8(window.labelText(Label::celkem)), "výsledek = 160");
    EXPECT_EQ(cp1250ToUtf8(window.labelText(Label::qsos)), "QSOs =7");
    EXPECT_EQ(cp1250ToUtf8(window.labelText(Label::dubly)), "dublů =2");
    EXPECT_EQ(cp1250ToUtf8(window.labelText(Label::body)), "bodů = 32");
    EXPECT_EQ(cp1250ToUtf8(window.labelText(Label::zeby)), "ZEBů = 1");
    EXPECT_EQ(cp1250ToUtf8(window.labelText(Label::dxcc)), "DXCC = 4");
    EXPECT_TRUE(window.isEnabled(Control::bukladani));
    EXPECT_EQ(window.progressPositions(), (std::vector<int>{20, 30, 40, 50, 20}));
    EXPECT_FALSE(window.progressVisible());
}

TEST_F(Scoring, ComputingTwiceGivesTheSameAndNewColumnsGiveNewTotals) {
    evaluate(workedExample());
    const std::string first = rendering(*evaluation.state);
    ASSERT_TRUE(evaluation.compute());
    EXPECT_EQ(rendering(*evaluation.state), first);
    // The exchange column one to the right turns "123" into "23" and "NM" into "M" (a non-member).
    evaluation.window.setEditText(Edit::istart, "74");
    ASSERT_TRUE(evaluation.compute());
    EXPECT_EQ(evaluation.state->qsoTable.slots[0].memberNumber, 23);
}

TEST_F(Scoring, AnUnknownPrefixIsAskedAboutForEveryRecordAndIgnoreGoesOn) {
    evaluate({{"3510", "ok1aa", "1"}, {"3520", "OK1BB", "2"}, {"3530", "", "3"}});
    EXPECT_EQ(
        evaluation.dialogTexts(),
        "pro call ok1aa\nna radku 1\nnenalezen prefix|pro call \nna radku 3\nnenalezen prefix|");
    EXPECT_EQ(evaluation.platform.dialogs[0].kind, DialogKind::Error);
    EXPECT_EQ(evaluation.platform.dialogs[0].buttons, DialogButtons::AbortIgnore);
    EXPECT_EQ(rendering(*evaluation.state), "ok1aa 1 [" + kPadding +
                                                "] s0 p10 z1 d0 f0\n"
                                                "OK1BB 2 [OK] s0 p10 z1 d1 f0\n"
                                                " 3 [" +
                                                kPadding + "] s0 p10 z1 d0 f0\n");
}

TEST_F(Scoring, AbortAtAnUnknownPrefixEndsTheProgramWithMinusOne) {
    ASSERT_EQ(evaluation.load(logOf({{"3510", "ok1aa", "1"}, {"3520", "OK1BB", "2"}})),
              LoadOutcome::Loaded);
    evaluation.platform.answers.push_back(DialogButton::Abort);
    EXPECT_FALSE(evaluation.compute());
    EXPECT_EQ(evaluation.platform.exitCodes, std::vector<int>{-1});
    EXPECT_EQ(evaluation.window.labelText(Label::qsos), "");
    EXPECT_FALSE(evaluation.window.isEnabled(Control::bukladani));
}

TEST_F(Scoring, ACountryFoundEarlierStaysWhenTheNewCallHasNoKnownPrefix) {
    evaluate({{"3510", "OK1AA", "1"}});
    evaluation.window.setEditText(Edit::cstart, "56");  // "K1AA" -> K
    ASSERT_TRUE(evaluation.compute());
    EXPECT_STREQ(evaluation.state->qsoTable.slots[0].country, "K");
    evaluation.window.setEditText(Edit::cstart, "100");  // an empty call: no prefix
    ASSERT_TRUE(evaluation.compute());
    EXPECT_STREQ(evaluation.state->qsoTable.slots[0].country, "K");
}

}  // namespace
}  // namespace zeb::test
