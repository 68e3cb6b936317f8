#include "report/protocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/cp1250.h"
#include "support/recording_platform.h"

namespace zeb::test {
namespace {

const std::string kFirst =
    "QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  001   0";
const std::string kAgain =
    "QSO:  3799 PH 1999-03-06 0712 HC8N          59  002    W1AW          59  001   0";

const std::string kLegend =
    "                                --------info sent------- -------info rcvd--------           N "
    " N\n"
    "QSO: freq  mo date       time call          rst exch   call          rst exch   t           A "
    " A\n"
    "QSO: ***** ** yyyy-mm-dd nnnn ************* nnn ****** ************* nnn ****** n  D    B   S "
    " S\n"
    "QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  001    0  X    O   Z "
    " D\n"
    "000000000111111111122222222223333333333444444444455555555556666666666777777777788  C    D   E "
    " X\n"
    "123456789012345678901234567890123456789012345678901234567890123456789012345678901  C    Y   B "
    " CC\n" +
    std::string(99, '-') + "\n";

class Protocol : public testing::Test {
  protected:
    void evaluate(const std::string& log) {
        ASSERT_EQ(evaluation.load(log), LoadOutcome::Loaded);
        ASSERT_TRUE(evaluation.compute());
    }
    Evaluation evaluation;
};

TEST_F(Protocol, TheWorkedExampleIsWrittenWholeAndExactly) {
    evaluate("START-OF-LOG: 3.0\r\nCALLSIGN: HC8N\r\n" + kFirst + "\r\n" + kAgain +
             "\r\nEND-OF-LOG:\r\n");
    const std::string expected =
        "Toto není deník, ale protokol o výpočtu!\n"
        "počet QSO=2\n"
        "počet dublů=1\n"
        "počet bodů=10\n"
        "počet zebů=počet násobičů ZEB=1\n"
        "počet zemí DXCC=počet násobičů DXCC=1\n"
        "součet násobičů (DXCC + ZEB)=2\n"
        "výsledek=20\n" +
        std::string(99, '=') + "\nSTART-OF-LOG: 3.0\nCALLSIGN: HC8N\n" + kLegend +
        "QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  001       K    "
        "10  1  1   \n"
        "QSO:  3799 PH 1999-03-06 0712 HC8N          59  002    W1AW          59  001       === "
        "dubl === \n"
        "END-OF-LOG:\n";
    EXPECT_EQ(cp1250ToUtf8(evaluation.protocol()), expected);
}

TEST_F(Protocol, ValidLinesHave99CharactersAndVerdictLines96) {
    evaluate(cabrilloLog({kFirst, kAgain}, "HC8N"));
    const QsoTable& table = evaluation.state->qsoTable;
    EXPECT_EQ(protocolLine(table.slots[0], 73) + " ",
              "QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  001       K"
              "    10  1  1   ");
    EXPECT_EQ((protocolLine(table.slots[0], 73) + " ").size(), 99u);
    EXPECT_EQ((protocolLine(table.slots[1], 73) + " ").size(), 96u);
}

TEST_F(Protocol, TheCutAfterTheExchangeLeavesTheLoadedLinesAsTheyWere) {
    evaluate(cabrilloLog({kFirst}, "HC8N"));
    evaluation.protocol();
    EXPECT_EQ(lineOf(*evaluation.state, 0), kFirst);
    const std::string first = evaluation.protocol();
    EXPECT_EQ(evaluation.protocol(), first);
}

struct VerdictCase {
    const char* name;
    int status;
    int points;
    int clubMult;
    int dxccMult;
    int sameNumberFlag;
    const char* country;
    std::string tail;
};

void PrintTo(const VerdictCase& c, std::ostream* os) {
    *os << c.name;
}

class ProtocolColumns : public testing::TestWithParam<VerdictCase> {};

TEST_P(ProtocolColumns, FollowTheStatusAndFlags) {
    const VerdictCase& c = GetParam();
    QsoRecord record{};
    std::strcpy(record.line,
                "QSO:  3520 CW 2024-05-01 1200 OK1ZEB        599 001    OK1AA         599 123");
    std::strcpy(record.country, c.country);
    record.status = c.status;
    record.points = c.points;
    record.clubMult = c.clubMult;
    record.dxccMult = c.dxccMult;
    record.sameNumberFlag = c.sameNumberFlag;
    const std::string line = protocolLine(record, 73);
    ASSERT_GE(line.size(), 80u);
    EXPECT_EQ(line.substr(80), c.tail);
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, ProtocolColumns,
    testing::Values(
        VerdictCase{"ten_points", 0, 10, 1, 1, 0, "OK", "   OK   10  1  1  "},
        VerdictCase{"one_point", 0, 1, 0, 1, 0, "DL", "   DL   1   0  1  "},
        VerdictCase{"a_shared_number", 0, 1, 0, 0, 1, "OK", "   OK   1!  0! 0  "},
        VerdictCase{"a_blank_country", 0, 10, 1, 0, 0, "         ", "        10  1  0  "},
        VerdictCase{"a_long_country_key", 0, 10, 0, 0, 0, "ABCDEFGH", "   ABCDE10  0  0  "},
        VerdictCase{"a_duplicate", 1, 10, 0, 0, 0, "OK", "   === dubl ==="},
        VerdictCase{"outside_the_bands", 2, 0, 0, 0, 0, "OK", "   =mimo pasmo="},
        VerdictCase{"another_error", 7, 0, 0, 0, 0, "OK", "   =jina chyba="}),
    [](const testing::TestParamInfo<VerdictCase>& info) { return info.param.name; });

struct CutCase {
    const char* name;
    std::string line;
    int exchStart;
    std::string printed;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class ProtocolCut : public testing::TestWithParam<CutCase> {};

TEST_P(ProtocolCut, EndsTheLineAtTheFirstSpaceOfTheTenExchangeColumns) {
    QsoRecord record{};
    std::strcpy(record.line, GetParam().line.c_str());
    record.status = 1;
    const std::string line = protocolLine(record, GetParam().exchStart);
    std::string printed = GetParam().printed;
    printed.resize(80, ' ');
    EXPECT_EQ(line.substr(0, 80), printed);
}

const std::string k80 =
    "QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  00123456";

INSTANTIATE_TEST_SUITE_P(
    Cuts, ProtocolCut,
    testing::Values(CutCase{"after_the_exchange", kFirst, 73, kFirst.substr(0, 76)},
                    CutCase{"at_a_space_on_the_exchange_column", kFirst, 72, kFirst.substr(0, 72)},
                    CutCase{"no_space_in_the_columns", k80, 73, k80},
                    CutCase{"a_line_ending_before_the_column", "QSO: short", 73, "QSO: short"},
                    CutCase{"a_negative_column_reaching_into_the_line", "QSO: a b", -5, "QSO:"},
                    CutCase{"the_largest_column", kFirst, 2147483647, kFirst}),
    [](const testing::TestParamInfo<CutCase>& info) { return info.param.name; });

TEST_F(Protocol, TheSameNumberLineIsWrittenOnlyWhenThereIsOne) {
    evaluate(cabrilloLog({qsoLine("3510", "OK1AA", "7"), qsoLine("3520", "OK1BB", "7")}));
    std::string text = cp1250ToUtf8(evaluation.protocol());
    EXPECT_NE(
        text.find("součet násobičů (DXCC + ZEB)=2\nStejné ZEB pro různá call=1\nvýsledek=22\n"),
        std::string::npos);
    Evaluation other;
    ASSERT_EQ(other.load(cabrilloLog({qsoLine("3510", "OK1AA", "7")})), LoadOutcome::Loaded);
    ASSERT_TRUE(other.compute());
    EXPECT_EQ(cp1250ToUtf8(other.protocol()).find("Stejné"), std::string::npos);
}

TEST_F(Protocol, ALogWithoutQsosEndsRightAfterTheLegend) {
    evaluate("CALLSIGN: OK1ZEB\nEND-OF-LOG:\n");
    const std::string text = cp1250ToUtf8(evaluation.protocol());
    EXPECT_NE(text.find("počet QSO=0\npočet dublů=0\npočet bodů=0\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - kLegend.size() - 12), kLegend + "END-OF-LOG:\n");
}

class SaveCommand : public Protocol {
  protected:
    void SetUp() override { evaluate(cabrilloLog({kFirst}, "HC8N")); }
};

TEST_F(SaveCommand, WritesTheProtocolAndSaysSo) {
    EXPECT_EQ(
        saveProtocolCommand(*evaluation.state, evaluation.window, evaluation.platform, "out.prn"),
        SaveOutcome::Saved);
    EXPECT_EQ(evaluation.platform.files["out.prn"], evaluation.protocol());
    EXPECT_EQ(cp1250ToUtf8(evaluation.window.labelText(Label::povel)), "Výsledek uložen");
    EXPECT_TRUE(evaluation.platform.dialogs.empty());
}

TEST_F(SaveCommand, ACancelledDialogWritesNothing) {
    EXPECT_EQ(saveProtocolCommand(*evaluation.state, evaluation.window, evaluation.platform,
                                  std::nullopt),
              SaveOutcome::Cancelled);
    EXPECT_TRUE(evaluation.platform.files.size() == 1);  // only the log
}

TEST_F(SaveCommand, AnExistingFileIsReplacedOnlyAfterOk) {
    evaluation.platform.files["out.prn"] = "old";
    evaluation.platform.answers.push_back(DialogButton::Cancel);
    EXPECT_EQ(
        saveProtocolCommand(*evaluation.state, evaluation.window, evaluation.platform, "out.prn"),
        SaveOutcome::Declined);
    EXPECT_EQ(evaluation.platform.files["out.prn"], "old");
    EXPECT_EQ(evaluation.dialogTexts(), "Soubor existuje, chceš ho přepsat?|");
    EXPECT_EQ(evaluation.platform.dialogs[0].kind, DialogKind::Confirmation);
    EXPECT_EQ(evaluation.platform.dialogs[0].buttons, DialogButtons::OkCancel);
    EXPECT_EQ(evaluation.window.labelText(Label::povel), utf8ToCp1250("deník načten"));

    evaluation.platform.answers.push_back(DialogButton::Ok);
    EXPECT_EQ(
        saveProtocolCommand(*evaluation.state, evaluation.window, evaluation.platform, "out.prn"),
        SaveOutcome::Saved);
    EXPECT_EQ(evaluation.platform.files["out.prn"], evaluation.protocol());
}

TEST_F(SaveCommand, AFailedWriteIsReportedAndChangesNothingElse) {
    evaluation.platform.failWritesWith = utf8ToCp1250("Na disku není dost místa.");
    EXPECT_EQ(
        saveProtocolCommand(*evaluation.state, evaluation.window, evaluation.platform, "full.prn"),
        SaveOutcome::Failed);
    EXPECT_EQ(evaluation.dialogTexts(),
              "Výsledek se nepodařilo uložit do souboru\nfull.prn\nNa disku není dost místa.|");
    EXPECT_EQ(evaluation.platform.dialogs[0].kind, DialogKind::Error);
    EXPECT_EQ(evaluation.window.labelText(Label::povel), utf8ToCp1250("deník načten"));
    EXPECT_EQ(evaluation.platform.files.count("full.prn"), 0u);
}

}  // namespace
}  // namespace zeb::test
