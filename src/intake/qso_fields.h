#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// What an exchange says of the club: a member number, a non-member, or neither (only a name, a
// report, an unfilled template, nothing at all).
enum class Membership { None, Member, NonMember };

struct MemberReading {
    Membership kind = Membership::None;
    // The member number as written ("084"), "NM", or the zeros that the exchange rule reads as a
    // non-member ("0", "000"); empty for None.
    std::string text;

    // What two exchanges are compared by: the member number without leading zeros, "NM", or the
    // empty text for None.
    std::string value() const;
    // As the scoring reads it: None counts as a non-member.
    std::string scoredValue() const;
};

// The fields of one QSO line, as the words of the Cabrillo QSO template, with the member number
// of each exchange. Texts are the log's own bytes.
struct QsoFields {
    std::string frequency;
    std::string mode;
    std::string date;         // YYYY-MM-DD; empty when the line has none that can be read
    std::string time;         // HHMM; empty when the line has none that can be read
    std::string dateWritten;  // the date and the time as the line writes them
    std::string timeWritten;
    std::string sentCall;
    std::string sentReport;    // empty when the line has none
    std::string sentExchange;  // its words as written, one space apart
    std::string receivedCall;
    std::string receivedReport;
    std::string receivedExchange;
    std::string transmitter;  // the transmitter number of a log that writes one
    MemberReading sentMember;
    MemberReading receivedMember;
};

// A QSO line of a log read into its fields; no fields when the line cannot be read.
struct QsoLineReading {
    std::optional<QsoFields> fields;
};

// The lines of a log that begin with "QSO:", whole (not cut at 80 columns), in the order and with
// the splitting of over-long lines of the log reader, up to the end marker: the i-th of them is
// the i-th QSO line of an evaluation. They are views into `logBytes`.
std::vector<std::string_view> qsoLinesOf(std::string_view logBytes);

// Reads each line into its fields, the shape of the log learned from all of them together: where
// the received call stands among the words after the sent call, whether reports are written,
// whether a transmitter number closes the line. `ownCall` (the "CALLSIGN:" value, may be empty)
// helps to find the sent call where date or time are missing or odd.
std::vector<QsoLineReading> readQsoLines(const std::vector<std::string_view>& lines,
                                         std::string_view ownCall);
// The same, line by line, without keeping the fields: `visit` is given each line's index and
// its fields, or null when the line cannot be read. With `onlyReceived`, only the received call
// and member number are filled in, the others left as they were.
void visitQsoLines(const std::vector<std::string_view>& lines, std::string_view ownCall,
                   const std::function<void(std::size_t, const QsoFields*)>& visit,
                   bool onlyReceived = false);

// The call that a log sends: of the sent calls of the lines that were read, the one of more than
// half of them, in capitals; nothing when the lines do not agree on one.
std::optional<std::string> logSentCall(const std::vector<std::string_view>& sentCalls);

// The member number of an exchange of one or more words, or "NM": the first word that holds one
// decides. Understands a name and a number apart, glued ("VOLKER084") or joined by "/" or "-"
// ("HANS/124", "KEITH-106"), a report glued in front ("599-119", "599VANNI164") and an unfilled
// template ("NTC#/NM"), which holds nothing.
MemberReading readMember(const std::vector<std::string_view>& words);

// A text with its letters in capitals, as the prefix table knows calls.
std::string inCapitals(std::string_view text);

// A word with the shape of a call sign: letters and figures with a figure among its first four
// characters and a letter at its end, optionally with a prefix or suffix joined by "/".
bool isCallSign(std::string_view word);

// A signal report: "59", "599", "5NN".
bool isReport(std::string_view word);

// The words of a QSO line: separated by blanks, tabs and other control characters.
std::vector<std::string_view> qsoWords(std::string_view line);

}  // namespace zeb
