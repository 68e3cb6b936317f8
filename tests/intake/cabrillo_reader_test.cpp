#include "intake/cabrillo_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/recording_platform.h"

namespace zeb::test {
namespace {

std::string repeatLines(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += line + "\n";
    }
    return text;
}

const std::string kQso = qsoLine("3520", "OK1AA", "123");

struct RefusalCase {
    const char* name;
    std::string log;
    std::string message;
    DialogButtons buttons;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class ReaderRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(ReaderRefusal, ShowsItsMessageAndEndsTheProgramWithCodeZero) {
    Evaluation evaluation;
    EXPECT_EQ(evaluation.load(GetParam().log), LoadOutcome::Refused);
    ASSERT_EQ(evaluation.platform.dialogs.size(), 1u) << evaluation.dialogTexts();
    const RecordedDialog& dialog = evaluation.platform.dialogs[0];
    EXPECT_EQ(dialog.text, GetParam().message);
    EXPECT_EQ(dialog.kind, DialogKind::Error);
    EXPECT_EQ(dialog.buttons, GetParam().buttons);
    EXPECT_EQ(evaluation.platform.exitCodes, std::vector<int>{0});
}

const std::string kNoEnd = "To neni denik cabrillo!\nDeník ma končit\nEND-OF-LOG: ";
const std::string k25Lines = "To neni denik cabrillo!\nNačteno 25 řádků a QSO nikde!";
const std::string kTooMany = "Načteno QSO č.2000\nTo není deník z ZEB QSO party!";

std::string tabMessage(int line) {
    return "Na řádku č. " + std::to_string(line) +
           " je nepřípustný\nznak tabulátor!\n(ASCII kód 9)";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ReaderRefusal,
    testing::Values(RefusalCase{"an_empty_file", "", kNoEnd, DialogButtons::Abort},
                    RefusalCase{"a_log_without_end_marker", "CALLSIGN: OK1ZEB\n" + kQso + "\n",
                                kNoEnd, DialogButtons::Abort},
                    RefusalCase{"a_tab_in_a_header_line", "START-OF-LOG: 3.0\nCALLSIGN:\tOK1ZEB\n",
                                tabMessage(2), DialogButtons::Abort},
                    RefusalCase{"a_tab_in_a_dropped_line_after_the_first_qso",
                                "CALLSIGN: OK1ZEB\n" + kQso + "\nSOAPBOX:\tfun\nEND-OF-LOG:\n",
                                tabMessage(3), DialogButtons::Abort},
                    RefusalCase{"a_tab_on_line_4_after_a_300_character_line_split_in_two",
                                std::string(300, 'X') + "\nCALLSIGN: OK1ZEB\n\t\n", tabMessage(4),
                                DialogButtons::Abort},
                    RefusalCase{"26_lines_without_qso_then_a_qso_line",
                                repeatLines("X-NOTE: a", 26) + kQso, k25Lines, DialogButtons::Ok},
                    RefusalCase{"26_lines_without_qso_then_the_end_marker",
                                repeatLines("X-NOTE: a", 26) + "END-OF-LOG:\n", k25Lines,
                                DialogButtons::Ok},
                    RefusalCase{"26_lines_without_qso_then_the_end_of_the_file",
                                repeatLines("X-NOTE: a", 26), k25Lines, DialogButtons::Ok},
                    RefusalCase{"a_tab_opening_line_27_wins_over_the_25_line_rule",
                                repeatLines("X-NOTE: a", 26) + "\tQSO:", tabMessage(27),
                                DialogButtons::Abort},
                    RefusalCase{"2001_qso_lines",
                                "CALLSIGN: OK1ZEB\n" + repeatLines(kQso, 2001) + "END-OF-LOG:\n",
                                kTooMany, DialogButtons::Ok}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(ReaderOpening, AFileThatCannotBeOpenedIsReportedAndTheProgramGoesOn) {
    Evaluation evaluation;
    prepareLoad(*evaluation.state, evaluation.window);
    EXPECT_EQ(
        loadLog(*evaluation.state, evaluation.window, evaluation.platform, "missing.cbr", true),
        LoadOutcome::CannotOpen);
    EXPECT_EQ(evaluation.dialogTexts(), "Nelze otevřít deník cabrillo!|");
    EXPECT_EQ(evaluation.platform.dialogs[0].buttons, DialogButtons::Abort);
    EXPECT_TRUE(evaluation.platform.exitCodes.empty());
    EXPECT_EQ(evaluation.state->qsoTable.qsoCount, 0);
}

TEST(ReaderOpening, ACancelledDialogNeverTouchesAFileNamedLikeTheMask) {
    Evaluation evaluation;
    evaluation.platform.files["*.cbr"] = cabrilloLog({kQso});
    prepareLoad(*evaluation.state, evaluation.window);
    EXPECT_EQ(loadLog(*evaluation.state, evaluation.window, evaluation.platform, "*.cbr", false),
              LoadOutcome::CannotOpen);
    EXPECT_EQ(evaluation.window.caption(), "*.cbr");
}

TEST(ReaderLines, LfAndCrLfLogsReadTheSame) {
    const std::string lf = cabrilloLog({kQso, qsoLine("7010", "DL1BB", "NM")});
    std::string crlf;
    for (const char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    Evaluation a;
    Evaluation b;
    ASSERT_EQ(a.load(lf), LoadOutcome::Loaded);
    ASSERT_EQ(b.load(crlf), LoadOutcome::Loaded);
    ASSERT_EQ(a.state->qsoTable.qsoCount, 2);
    EXPECT_EQ(lineOf(*a.state, 0), lineOf(*b.state, 0));
    EXPECT_EQ(lineOf(*a.state, 1), lineOf(*b.state, 1));
    EXPECT_STREQ(a.state->headerLines.entries[1], b.state->headerLines.entries[1]);
    EXPECT_EQ(a.protocol(), b.protocol());
}

TEST(ReaderLines, CrCrLfLineEndsLeaveNoCarriageReturnInTheLines) {
    std::string log = cabrilloLog({kQso});
    std::string doubled;
    for (const char c : log) {
        doubled += c == '\n' ? std::string("\r\r\n") : std::string(1, c);
    }
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(doubled), LoadOutcome::Loaded);
    EXPECT_EQ(lineOf(*evaluation.state, 0), kQso);
    EXPECT_STREQ(evaluation.state->ownCall, "OK1ZEB");
    ASSERT_TRUE(evaluation.compute());
    EXPECT_STREQ(evaluation.state->qsoTable.slots[0].exchText, "123");
}

TEST(ReaderLines, ALineLongerThan222CharactersIsSplitAndBothPartsCount) {
    const std::string log = "CALLSIGN: OK1ZEB\n" + kQso + std::string(222 - kQso.size(), 'Y') +
                            "QSO: rest\nEND-OF-LOG:\n";
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(log), LoadOutcome::Loaded);
    // The 222 characters and the rest that begins with "QSO:" are two QSO lines.
    ASSERT_EQ(evaluation.state->qsoTable.qsoCount, 2);
    EXPECT_EQ(lineOf(*evaluation.state, 0), (kQso + std::string(80, 'Y')).substr(0, 80));
    EXPECT_EQ(lineOf(*evaluation.state, 1), "QSO: rest");
}

TEST(ReaderLines, TwentyFiveHeaderLinesAndTheFirstQsoOnLine26AreAccepted) {
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load("CALLSIGN: OK1ZEB\n" + repeatLines("X-NOTE: a", 24) + kQso +
                              "\nEND-OF-LOG:\n"),
              LoadOutcome::Loaded);
    EXPECT_EQ(evaluation.state->headerLines.headerLineCount, 25);
    EXPECT_EQ(evaluation.state->qsoTable.qsoCount, 1);
    // The first QSO line is kept in the entry after the header.
    EXPECT_EQ(std::string(evaluation.state->headerLines.entries[25]), kQso + "\n");
}

TEST(ReaderLines, TheEndMarkerAsLine26StillEndsTheLog) {
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(repeatLines("X-NOTE: a", 25) + "END-OF-LOG:\n"), LoadOutcome::Loaded);
    EXPECT_EQ(evaluation.state->qsoTable.qsoCount, 0);
    EXPECT_EQ(evaluation.state->headerLines.headerLineCount, 25);
}

TEST(ReaderLines, TwoThousandQsoLinesAreAccepted) {
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(cabrilloLog(std::vector<std::string>(2000, kQso))),
              LoadOutcome::Loaded);
    EXPECT_EQ(evaluation.state->qsoTable.qsoCount, 2000);
    EXPECT_EQ(std::string(evaluation.state->qsoTable.slots[2000].line, 10), "END-OF-LOG");
}

struct EndMarkerCase {
    const char* name;
    std::string log;
    int qsoCount;
};

void PrintTo(const EndMarkerCase& c, std::ostream* os) {
    *os << c.name;
}

class EndMarker : public testing::TestWithParam<EndMarkerCase> {};

TEST_P(EndMarker, EndsTheLogOnItsTenCharacters) {
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(GetParam().log), LoadOutcome::Loaded) << evaluation.dialogTexts();
    EXPECT_EQ(evaluation.state->qsoTable.qsoCount, GetParam().qsoCount);
    EXPECT_TRUE(evaluation.platform.exitCodes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Forms, EndMarker,
    testing::Values(
        EndMarkerCase{"without_colon", "CALLSIGN: X\n" + kQso + "\nEND-OF-LOG", 1},
        EndMarkerCase{"followed_by_text_and_tabs", "CALLSIGN: X\n" + kQso + "\nEND-OF-LOGBOOK\t\n",
                      1},
        EndMarkerCase{"before_the_first_qso_line", "CALLSIGN: X\nEND-OF-LOG:\n" + kQso + "\n", 0},
        EndMarkerCase{"with_tabs_and_garbage_after_it",
                      "CALLSIGN: X\n" + kQso + "\nEND-OF-LOG:\n\t\t\nQSO:\tx\n", 1},
        EndMarkerCase{"lower_case_and_indented_qso_lines_are_dropped",
                      "CALLSIGN: X\n" + kQso + "\nqso: 3500\n QSO: 3500\nEND-OF-LOG:\n", 1}),
    [](const testing::TestParamInfo<EndMarkerCase>& info) { return info.param.name; });

TEST(CuttingAndTrimming, LongLinesAreCutTo80WithOneWarning) {
    Evaluation evaluation;
    const std::string longLine = kQso + "   X0 extra";
    ASSERT_EQ(evaluation.load(cabrilloLog({longLine, kQso + "   ", longLine})),
              LoadOutcome::Loaded);
    EXPECT_EQ(evaluation.dialogTexts(), "Nalezen řádek delší, než 80 znaků,zkrácen|");
    EXPECT_EQ(evaluation.platform.dialogs[0].kind, DialogKind::Warning);
    EXPECT_EQ(evaluation.platform.dialogs[0].buttons, DialogButtons::Ok);
    EXPECT_EQ(lineOf(*evaluation.state, 0), longLine.substr(0, 80));
    EXPECT_EQ(lineOf(*evaluation.state, 1), kQso);
}

TEST(CuttingAndTrimming, AnEightyOneCharacterTemplateLineLosesItsLastCharacterAndTrailingBlanks) {
    Evaluation evaluation;
    const std::string line =
        "QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  001    0";
    ASSERT_EQ(evaluation.load(cabrilloLog({line}, "HC8N")), LoadOutcome::Loaded);
    EXPECT_EQ(lineOf(*evaluation.state, 0), line.substr(0, 76));
}

TEST(Clearing, EachLoadClearsEverySlotCompletely) {
    // A long first QSO line leaves raw characters beyond the fill of a short line.
    const std::string longLine = kQso + std::string(60, 'Z') + " " + std::string(50, 'Z');
    const std::string shortLog = cabrilloLog({"QSO: OK1ZEB"});
    Evaluation fresh;
    ASSERT_EQ(fresh.load(shortLog), LoadOutcome::Loaded);

    Evaluation reused;
    ASSERT_EQ(reused.load(cabrilloLog({longLine})), LoadOutcome::Loaded);
    reused.platform.dialogs.clear();
    ASSERT_EQ(reused.load(shortLog), LoadOutcome::Loaded);
    const QsoRecord& slot = reused.state->qsoTable.slots[0];
    for (int c = kLineFillColumns; c < kLineBufferSize; ++c) {
        ASSERT_EQ(slot.line[c], '\0') << "column " << c;
    }
    EXPECT_EQ(reused.state->columns.callStart, fresh.state->columns.callStart);
    EXPECT_EQ(reused.state->columns.exchStart, fresh.state->columns.exchStart);
    EXPECT_EQ(reused.dialogTexts(), fresh.dialogTexts());
}

// Only the slots a load used are cleared before the next: those of a longer log, of a computation
// and of a log refused halfway must all count.
TEST(Clearing, AfterLongerComputedAndRefusedLogsTheTableIsAsAfterAFreshLoad) {
    const std::string longLine = kQso + std::string(60, 'Z') + " " + std::string(50, 'Z');
    const std::string shortLog = cabrilloLog({kQso});
    Evaluation fresh;
    ASSERT_EQ(fresh.load(shortLog), LoadOutcome::Loaded);

    Evaluation reused;
    ASSERT_EQ(reused.load(cabrilloLog(std::vector<std::string>(300, longLine))),
              LoadOutcome::Loaded);
    ASSERT_TRUE(reused.compute());
    ASSERT_EQ(reused.load("CALLSIGN: X\n" + repeatLines(longLine, 500) + "QSO:\t\n"),
              LoadOutcome::Refused);
    ASSERT_EQ(reused.load(shortLog), LoadOutcome::Loaded);
    EXPECT_EQ(std::memcmp(reused.state->qsoTable.slots, fresh.state->qsoTable.slots,
                          sizeof fresh.state->qsoTable.slots),
              0);
}

}  // namespace
}  // namespace zeb::test
