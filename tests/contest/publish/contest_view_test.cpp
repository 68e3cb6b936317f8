#include "contest/publish/contest_view.h"

#include <gtest/gtest.h>

#include <string>

namespace zeb::contest {
namespace {

struct MarkCase {
    const char* name;
    const char* line;
    const char* call;
    const char* exchange;
    bool noMember;
    const char* marked;  // the line with [call] and {exchange}
};

void PrintTo(const MarkCase& c, std::ostream* os) {
    *os << c.name;
}

std::string render(const std::vector<LinePiece>& pieces) {
    std::string text;
    for (const LinePiece& piece : pieces) {
        switch (piece.mark) {
            case LineMark::None:
                text += piece.text;
                break;
            case LineMark::Call:
                text += "[" + piece.text + "]";
                break;
            case LineMark::Exchange:
                text += "{" + piece.text + "}";
                break;
        }
    }
    return text;
}

class MarkedLine : public testing::TestWithParam<MarkCase> {};

TEST_P(MarkedLine, MarksTheCallAndTheExchangeThatWereRead) {
    const MarkCase& c = GetParam();
    ContestQso qso;
    qso.submittedLine = c.line;
    qso.call = c.call;
    qso.exchange = c.exchange;
    qso.noMember = c.noMember;
    EXPECT_EQ(render(markedLine(qso)), c.marked);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MarkedLine,
    testing::Values(
        MarkCase{"the exchange sent is the one received",
                 "QSO: 3510 CW 0700 OK1AAA 599 11 OK2BBB 599 11", "OK2BBB", "11", false,
                 "QSO: 3510 CW 0700 OK1AAA 599 11 [OK2BBB] 599 {11}"},
        MarkCase{"a number glued to a name",
                 "QSO: 7000 CW 1907 LB2WD 599 HELGE/NM OK1LO 599 LAD215", "OK1LO", "215", false,
                 "QSO: 7000 CW 1907 LB2WD 599 HELGE/NM [OK1LO] 599 LAD{215}"},
        MarkCase{"leading zeros as written", "QSO: 7000 CW 1916 LB2WD 599 NM PC4Y 599 BERT 085",
                 "PC4Y", "85", false, "QSO: 7000 CW 1916 LB2WD 599 NM [PC4Y] 599 BERT {085}"},
        MarkCase{"a non-member, the call in small letters",
                 "QSO: 7000 CW 1935 LB2WD 599 NM ok5mm 599 VIT NM", "OK5MM", "NM", false,
                 "QSO: 7000 CW 1935 LB2WD 599 NM [ok5mm] 599 VIT {NM}"},
        MarkCase{"no member number in the exchange",
                 "QSO: 7000 CW 1913 LB2WD 599 NM OK2NO 599 JARDA NN", "OK2NO", "NM", true,
                 "QSO: 7000 CW 1913 LB2WD 599 NM [OK2NO] 599 JARDA NN"},
        MarkCase{"a call the line does not hold", "QSO: 7000 CW 1913 LB2WD 599 NM OK2NO 599 12",
                 "OK2NOX", "12", false, "QSO: 7000 CW 1913 LB2WD 599 NM OK2NO 599 12"}),
    [](const testing::TestParamInfo<MarkCase>& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

}  // namespace
}  // namespace zeb::contest
