#include "intake/auto_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "support/recording_platform.h"

namespace zeb::test {
namespace {

const std::string kTemplateLine =
    "QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  001    0";
const std::string kFallbackWarning =
    "Automatická konfigurace selhala!\nZkus ruční konfiguraci\nPotom se třeba dá něco spočítat";

struct ColumnCase {
    const char* name;
    std::string header;
    std::vector<std::string> lines;
    int callStart;
    int exchStart;
    std::string row;
};

void PrintTo(const ColumnCase& c, std::ostream* os) {
    *os << c.name;
}

std::string logWith(const std::string& header, const std::vector<std::string>& lines) {
    std::string log = "START-OF-LOG: 3.0\n" + header;
    for (const std::string& line : lines) {
        log += line + "\n";
    }
    return log + "END-OF-LOG:\n";
}

class ColumnFinding : public testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnFinding, FindsTheReceivedCallAndExchange) {
    const ColumnCase& c = GetParam();
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(logWith(c.header, c.lines)), LoadOutcome::Loaded);
    const EvaluationState& state = *evaluation.state;
    EXPECT_EQ(state.columns.callStart, c.callStart);
    EXPECT_EQ(state.columns.exchStart, c.exchStart);
    EXPECT_EQ(state.columns.callWidth, 10);
    EXPECT_EQ(state.columns.exchWidth, 10);
    EXPECT_EQ(evaluation.window.editText(Edit::radek1), c.row);
    EXPECT_EQ(evaluation.window.editText(Edit::cstart), std::to_string(c.callStart));
    EXPECT_EQ(evaluation.window.editText(Edit::istart), std::to_string(c.exchStart));
    const int row = std::stoi(c.row) - 1;
    EXPECT_EQ(std::string(state.displayLine), std::string(state.qsoTable.slots[row].line));
    for (const RecordedDialog& dialog : evaluation.platform.dialogs) {
        EXPECT_NE(dialog.text, kFallbackWarning);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ColumnFinding,
    testing::Values(
        ColumnCase{"the_template_line", "CALLSIGN: HC8N\n", {kTemplateLine}, 55, 73, "1"},
        ColumnCase{"telegraphy_reports",
                   "CALLSIGN: HC8N\n",
                   {"QSO:  3799 CW 1999-03-06 0711 HC8N          599 001    W1AW          599 001"},
                   55,
                   73,
                   "1"},
        ColumnCase{"single_spaces_between_fields",
                   "CALLSIGN: HC8N\n",
                   {"QSO: 3799 CW 1999-03-06 0711 HC8N 599 001 W1AW 599 123"},
                   42,
                   51,
                   "1"},
        ColumnCase{
            "an_empty_own_call_matches_at_column_0", "CALLSIGN:\n", {kTemplateLine}, 14, 30, "1"},
        ColumnCase{"the_callsign_line_among_the_first_eleven",
                   "X-1: a\nX-2: a\nX-3: a\nX-4: a\nX-5: a\nX-6: a\nX-7: a\nX-8: a\nX-9: a\n"
                   "CALLSIGN: HC8N\n",
                   {kTemplateLine},
                   55,
                   73,
                   "1"},
        ColumnCase{"the_first_line_without_exchange_then_the_second",
                   "CALLSIGN: HC8N\n",
                   {"QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59",
                    kTemplateLine},
                   55,
                   73,
                   "2"},
        ColumnCase{"own_call_on_the_third_line_only",
                   "CALLSIGN: HC8N\n",
                   {"QSO:  3799 PH 1999-03-06 0711 XX1X          59  001    W1AW          59  1",
                    "QSO:  3799 PH 1999-03-06 0711 XX1X          59  001    W1AW          59  1",
                    "QSO:  3799 PH 1999-03-06 0711 HC8N   59  001 W1AW 59 002"},
                   45,
                   53,
                   "3"}),
    [](const testing::TestParamInfo<ColumnCase>& info) { return info.param.name; });

struct FallbackCase {
    const char* name;
    std::string header;
    std::vector<std::string> lines;
};

void PrintTo(const FallbackCase& c, std::ostream* os) {
    *os << c.name;
}

class Fallback : public testing::TestWithParam<FallbackCase> {};

TEST_P(Fallback, WarnsAndTakesTheTemplateColumns) {
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(logWith(GetParam().header, GetParam().lines)), LoadOutcome::Loaded);
    const ColumnConfig& columns = evaluation.state->columns;
    EXPECT_EQ(columns.callStart, 55);
    EXPECT_EQ(columns.callWidth, 10);
    EXPECT_EQ(columns.exchStart, 73);
    EXPECT_EQ(columns.exchWidth, 10);
    // A long line may bring its own warning first; the fallback's comes last, once.
    ASSERT_FALSE(evaluation.platform.dialogs.empty());
    const RecordedDialog& warning = evaluation.platform.dialogs.back();
    EXPECT_EQ(warning.text, kFallbackWarning);
    EXPECT_EQ(warning.kind, DialogKind::Warning);
    EXPECT_EQ(warning.buttons, DialogButtons::Ok);
    EXPECT_EQ(evaluation.window.editText(Edit::radek1), "1");
    EXPECT_STREQ(evaluation.state->displayLine, evaluation.state->qsoTable.slots[0].line);
    EXPECT_EQ(evaluation.window.labelText(Label::povel), utf8ToCp1250("deník načten"));
    EXPECT_TRUE(evaluation.window.isEnabled(Control::bvypocet));
}

INSTANTIATE_TEST_SUITE_P(
    Logs, Fallback,
    testing::Values(
        FallbackCase{"no_line_has_an_exchange",
                     "CALLSIGN: HC8N\n",
                     {"QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59",
                      "QSO:  3799 PH 1999-03-06 0712 HC8N          59  002    K1AR          59"}},
        FallbackCase{"no_qso_line_at_all", "CALLSIGN: HC8N\n", {}},
        FallbackCase{"no_callsign_line", "CONTEST: ZEB\n", {kTemplateLine}},
        FallbackCase{"the_callsign_line_is_the_twelfth",
                     "X-1: a\nX-2: a\nX-3: a\nX-4: a\nX-5: a\nX-6: a\nX-7: a\nX-8: a\nX-9: a\n"
                     "X-10: a\nCALLSIGN: HC8N\n",
                     {kTemplateLine}},
        FallbackCase{"a_callsign_of_a_space_and_the_line_end", "CALLSIGN: \n", {kTemplateLine}},
        FallbackCase{"the_own_call_beginning_after_column_80",
                     "CALLSIGN: OK1ZEB\n",
                     {"QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  "
                      "001    0OK1ZEB"}}),
    [](const testing::TestParamInfo<FallbackCase>& info) { return info.param.name; });

TEST(FallbackDisplay, TheStartEditsShowTheFallbackColumnsAfterAnEarlierLog) {
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(logWith("CALLSIGN: HC8N\n",
                                      {"QSO: 3799 CW 1999-03-06 0711 HC8N 599 001 W1AW 599 123"})),
              LoadOutcome::Loaded);
    ASSERT_EQ(evaluation.window.editText(Edit::cstart), "42");
    ASSERT_EQ(evaluation.load(logWith("CONTEST: ZEB\n", {kTemplateLine})), LoadOutcome::Loaded);
    EXPECT_EQ(evaluation.window.editText(Edit::cstart), "55");
    EXPECT_EQ(evaluation.window.editText(Edit::istart), "73");
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "W1AW      ");
}

TEST(OwnCall, ALongCallsignIsCutTo17Characters) {
    Evaluation evaluation;
    const std::string longCall(200, 'K');
    ASSERT_EQ(evaluation.load(logWith("CALLSIGN: " + longCall + "\n", {kTemplateLine})),
              LoadOutcome::Loaded);
    EXPECT_EQ(std::string(evaluation.state->ownCall), std::string(17, 'K'));
}

TEST(ColumnScans, ColumnsBeyondTheLineBufferReadAsTerminators) {
    // The own call stands at column 70 and the first space after it at column 149, among the raw
    // characters kept after the cut at column 80; the next word then runs to the end of the
    // 222-character buffer, and the scan goes on past it.
    std::string line = "QSO:" + std::string(66, ' ') + "HC8NXXXXXX" + std::string(69, 'Y') + " " +
                       std::string(72, 'Y');
    ASSERT_EQ(line.size(), 222u);
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(logWith("CALLSIGN: HC8N\n", {line})), LoadOutcome::Loaded);
    EXPECT_EQ(evaluation.state->columns.callStart, 151);
    EXPECT_EQ(evaluation.state->columns.exchStart, 151);
}

}  // namespace
}  // namespace zeb::test
