#include "intake/qso_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeb {
namespace {

std::string memberOf(const std::string& exchange) {
    const std::vector<std::string_view> words = qsoWords(exchange);
    const MemberReading reading = readMember(words);
    return reading.kind == Membership::None ? "(none)" : reading.text;
}

TEST(ReadMember, TakesTheNumberTheWayLoggersWriteIt) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"217", "217"},
        {"MICHAEL 217", "217"},       // a name and a number
        {"062 PAVEL", "062"},         // the number first, leading zero kept as written
        {"VOLKER084", "084"},         // glued
        {"NTC44", "44"},              // the club's letters glued
        {"JO200", "200"},             // a short name glued to a long number
        {"HANS/124", "124"},          // joined by a slash
        {"ZDENEK /216", "216"},       // the slash on the number
        {"KEITH-106", "106"},         // joined by a dash
        {"599-119", "119"},           // a report glued in front
        {"599VANNI164", "164"},       // a report, a name and a number glued
        {"LAD NTC# 215", "215"},      // a label before the number
        {"NTC 154 2 POINTS", "154"},  // the first number decides
        {"TILIO NM", "NM"},           // a non-member
        {"HELGE/ NM", "NM"},          //
        {"JANKA/NM", "NM"},           //
        {"599-NM", "NM"},             //
        {"NM JARDA", "NM"},           //
        {"0000", "0000"},             // zeros: a non-member, as the exchange rule reads them
        {"KOOS", "(none)"},           // a name only
        {"599KOOS", "(none)"},        // a report and a name
        {"JARDA NO", "(none)"},       // no number and no NM
        {"Name NTC#/NM", "(none)"},   // the template, never filled in
        {"", "(none)"},               //
        {"JAN.59", "59"},             // joined by a dot
        {"JAN,59", "59"},             // or a comma
        {"59.JAN", "59"},             //
        {"M15", "(none)"},            // a district code, not a name and a number
        {"FN12", "(none)"},           // a locator
    };
    for (const auto& [exchange, expected] : cases) {
        EXPECT_EQ(memberOf(exchange), expected) << exchange;
    }
    EXPECT_EQ(readMember(qsoWords("0042")).value(), "42");
    EXPECT_EQ(readMember(qsoWords("000")).kind, Membership::NonMember);
    EXPECT_EQ(readMember(qsoWords("000")).value(), "NM");
    EXPECT_EQ(readMember(qsoWords("KOOS")).scoredValue(), "NM");
}

TEST(IsCallSign, KnowsCallsFromNamesNumbersAndLocators) {
    for (const char* call : {"OK1ABC", "G7D", "9A1A", "4U1UN", "W200YARC", "F/DK9HE", "DV1/JO7KMB",
                             "W1AW/5", "OK1ABC/P", "ok1abc"}) {
        EXPECT_TRUE(isCallSign(call)) << call;
    }
    for (const char* word : {"HANS/124", "NTC44", "VOLKER084", "599VANNI164", "FN25BK", "599", "NM",
                             "2O", "JO/200", "KEITH-106", "NTC#/NM", "MICHAEL", ""}) {
        EXPECT_FALSE(isCallSign(word)) << word;
    }
}

struct LogCase {
    const char* name;
    std::vector<std::string> lines;
    const char* ownCall;
    // Per line: "date time sent-call [sent] call [received]", or "unread".
    std::vector<std::string> expected;
};

std::string describe(const QsoLineReading& reading) {
    if (!reading.fields) {
        return "unread";
    }
    const QsoFields& f = *reading.fields;
    return f.date + " " + f.time + " " + f.sentCall + " [" + f.sentMember.value() + "] " +
           f.receivedCall + " [" + f.receivedMember.value() + "]";
}

TEST(ReadQsoLines, LearnsTheShapeOfALogFromAllItsLines) {
    const std::vector<LogCase> cases = {
        {"two words sent, the exchange past column 80",
         {"QSO:  7035 CW 2024-03-21 1903 PA0CMU        599  CAREL NTC 76     F6JOE         599  "
          "JEAN       44",
          // One line with a word less in the sent exchange still finds its call.
          "QSO:  7035 CW 2024-03-21 1905 PA0CMU        599  CAREL 76         ON9TT         599  "
          "MARC       196"},
         "PA0CMU",
         {"2024-03-21 1903 PA0CMU [76] F6JOE [44]", "2024-03-21 1905 PA0CMU [76] ON9TT [196]"}},
        {"no reports, no header call",
         {"QSO:  7000 CW 2025-03-20 1904 F5IYJ             PHIL 251            DF4WX   MICHA 83",
          "QSO:  7000 CW 2025-03-20 1908 F5IYJ             PHIL 251            F/DK9HE BEN 274"},
         "",
         {"2025-03-20 1904 F5IYJ [251] DF4WX [83]", "2025-03-20 1908 F5IYJ [251] F/DK9HE [274]"}},
        {"tabs, odd times, reports glued to the exchange",
         {"QSO: 14050\tCW 2024-03-21\t19.03\tPA0XAW 599-119\tI5ECW  \t 599-164",
          "QSO: 7030\tCW 21.03.2024   9:12\tPA0XAW 599-119\tPA7F \t 599-NM"},
         "PA0XAW",
         {"2024-03-21 1903 PA0XAW [119] I5ECW [164]", "2024-03-21 0912 PA0XAW [119] PA7F [NM]"}},
        {"only a report sent, a transmitter number at the end",
         {"QSO:  3500 CW 2024-03-21 1906 PA3JD 599 G7D 589 Graham NM 0",
          "QSO:  7000 CW 2024-03-21 1912 PA3JD 599 PA7F 599 Frank 181 0",
          "QSO:  7000 CW 2024-03-21 1914 PA3JD 599 PA0CMU 599 Carel 076 1"},
         "PA3JD",
         {"2024-03-21 1906 PA3JD [] G7D [NM]", "2024-03-21 1912 PA3JD [] PA7F [181]",
          "2024-03-21 1914 PA3JD [] PA0CMU [76]"}},
        {"a call on either side of the received call's place, at the same distance",
         // The received call stands third after the sent call; on the last line that word is no
         // call, and of the two calls beside it the earlier is taken (a word is missing before).
         {"QSO:  3510 CW 2024-03-02 0700 OK1AA 599 101 OK1BB 599 102",
          "QSO:  3510 CW 2024-03-02 0702 OK1AA 599 101 OK1CC 599 103",
          "QSO:  3510 CW 2024-03-02 0704 OK1AA 599 OK1DD 104 OK1EE 599"},
         "OK1AA",
         {"2024-03-02 0700 OK1AA [101] OK1BB [102]", "2024-03-02 0702 OK1AA [101] OK1CC [103]",
          "2024-03-02 0704 OK1AA [] OK1DD [104]"}},
        {"short lines in a log that ends its lines in a transmitter number",
         // A line without its received exchange ends in the transmitter number alone: "0" is
         // that number, not a non-member.
         {"QSO:  3510 CW 2024-03-02 0700 OK1AA 599 101 OK1BB 599 102 0",
          "QSO:  3510 CW 2024-03-02 0702 OK1AA 599 101 OK1CC 599 103 1",
          "QSO:  3510 CW 2024-03-02 0704 OK1AA 599 101 OK1DD 599 0",
          "QSO:  3510 CW 2024-03-02 0706 OK1AA 599 101 OK1EE 1"},
         "OK1AA",
         {"2024-03-02 0700 OK1AA [101] OK1BB [102]", "2024-03-02 0702 OK1AA [101] OK1CC [103]",
          "2024-03-02 0704 OK1AA [101] OK1DD []", "2024-03-02 0706 OK1AA [101] OK1EE []"}},
        {"a line without a received call, and no date",
         {"QSO:  3510 CW 2024-03-02 0700 OK1AA 599 101 OK2BB 599 102",
          "QSO:  3510 CW 0705 OK1AA 599 101 OK2CC 599 103", "QSO:  3510 CW 2024-03-02 0706 OK1AA",
          "QSO: CW 2024-03-02 0707 OK1AA 599 101 OK2DD 599 104"},
         "OK1AA",
         {"2024-03-02 0700 OK1AA [101] OK2BB [102]", " 0705 OK1AA [101] OK2CC [103]", "unread",
          "unread"}},
    };
    for (const LogCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<QsoLineReading> readings =
            readQsoLines(std::vector<std::string_view>(c.lines.begin(), c.lines.end()), c.ownCall);
        ASSERT_EQ(readings.size(), c.expected.size());
        for (std::size_t i = 0; i < readings.size(); ++i) {
            EXPECT_EQ(describe(readings[i]), c.expected[i]) << c.lines[i];
        }
    }
}

TEST(QsoLinesOf, AreTheLinesOfTheEvaluationWhole) {
    std::string longLine =
        "QSO:  3510 CW 2024-03-02 0700 OK1AA " + std::string(60, ' ') + "OK2BB 599 102";
    longLine += std::string(222 - longLine.size(), ' ') + "QSO: split";
    const std::string log = "START-OF-LOG: 3.0\r\nqso: lower case\nQSO: past 80 " +
                            std::string(90, 'x') + "\r\r\n" + longLine + "\nX-QSO: no\n" +
                            "QSO: a\rb\r\nEND-OF-LOG:\nQSO: after the end\n";
    const std::vector<std::string_view> lines = qsoLinesOf(log);
    ASSERT_EQ(lines.size(), 4u);
    // Carriage returns before a line feed belong to the line end; others are characters.
    EXPECT_EQ(lines[0], "QSO: past 80 " + std::string(90, 'x'));
    EXPECT_EQ(lines[3], "QSO: a\rb");
    // The reader splits a line after 222 characters; the rest is a line of its own.
    EXPECT_EQ(lines[1], longLine.substr(0, 222));
    EXPECT_EQ(lines[2], "QSO: split");
}

}  // namespace
}  // namespace zeb
