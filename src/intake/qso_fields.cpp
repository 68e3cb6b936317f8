#include "intake/qso_fields.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>

#include "platform/text_input.h"
#include "state/evaluation_state.h"

namespace zeb {

namespace {

// How a log writes its QSO lines, learned from all of them together.
struct QsoLineShape {
    int receivedCallOffset = 2;
    bool reports = true;
    bool transmitterColumn = false;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i])) {
            return false;
        }
    }
    return true;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

// A Maidenhead locator of six characters ("FN25bk") has the shape of a call sign.
bool isLocator(std::string_view word) {
    if (word.size() != 6) {
        return false;
    }
    const auto within = [](char c, char first, char last) {
        return upper(c) >= first && upper(c) <= last;
    };
    return within(word[0], 'A', 'R') && within(word[1], 'A', 'R') && isDigit(word[2]) &&
           isDigit(word[3]) && within(word[4], 'A', 'X') && within(word[5], 'A', 'X');
}

bool isCallBase(std::string_view part) {
    if (part.size() < 3 || part.size() > 10 || !isLetter(part.back()) || isLocator(part)) {
        return false;
    }
    if (!std::all_of(part.begin(), part.end(), [](char c) { return isDigit(c) || isLetter(c); })) {
        return false;
    }
    const std::size_t firstDigit = part.find_first_of("0123456789");
    return firstDigit != std::string_view::npos && firstDigit <= 3;
}

// Letters and figures of a call that may be miscopied: a received call that is not quite a call.
bool isCallLike(std::string_view word) {
    if (word.size() < 2 || word.size() > 13 || isReport(word) ||
        !std::all_of(word.begin(), word.end(),
                     [](char c) { return isDigit(c) || isLetter(c) || c == '/'; })) {
        return false;
    }
    return std::any_of(word.begin(), word.end(), isLetter) &&
           std::any_of(word.begin(), word.end(), isDigit);
}

bool isMode(std::string_view word) {
    return !word.empty() && std::none_of(word.begin(), word.end(), isDigit);
}

// Two figures as a number, or -1.
int twoFigures(char tens, char ones) {
    return isDigit(tens) && isDigit(ones) ? (tens - '0') * 10 + (ones - '0') : -1;
}

// "2024-03-21", "2024/03/21", "2024.03.21", "20240321" or, day first, "21.03.2024", as
// YYYY-MM-DD.
std::optional<std::string> dateOf(std::string_view word) {
    const auto separator = [](char c) { return c == '-' || c == '/' || c == '.'; };
    std::size_t year = 0;
    std::size_t month = 0;
    std::size_t day = 0;
    if (word.size() == 10 && word[4] == word[7] && separator(word[4])) {
        month = 5;
        day = 8;
    } else if (word.size() == 10 && word[2] == word[5] && separator(word[2])) {
        year = 6;
        month = 3;
    } else if (word.size() == 8) {
        month = 4;
        day = 6;
    } else {
        return std::nullopt;
    }
    const int century = twoFigures(word[year], word[year + 1]);
    const int years = twoFigures(word[year + 2], word[year + 3]);
    const int monthValue = twoFigures(word[month], word[month + 1]);
    const int dayValue = twoFigures(word[day], word[day + 1]);
    if (century < 19 || century > 20 || years < 0 || monthValue < 1 || monthValue > 12 ||
        dayValue < 1 || dayValue > 31) {
        return std::nullopt;
    }
    const char text[] = {word[year], word[year + 1], word[year + 2],  word[year + 3],
                         '-',        word[month],    word[month + 1], '-',
                         word[day],  word[day + 1]};
    return std::string(text, sizeof text);
}

// "1903", "19:03", "19.03" or "9:03", as HHMM.
std::optional<std::string> timeOf(std::string_view word) {
    char text[4];
    if (word.size() == 4 && isDigit(word[1])) {
        std::copy(word.begin(), word.end(), text);
    } else if (word.size() == 5 && (word[2] == ':' || word[2] == '.')) {
        text[0] = word[0];
        text[1] = word[1];
        text[2] = word[3];
        text[3] = word[4];
    } else if (word.size() == 4 && (word[1] == ':' || word[1] == '.')) {
        text[0] = '0';
        text[1] = word[0];
        text[2] = word[2];
        text[3] = word[3];
    } else {
        return std::nullopt;
    }
    const int hours = twoFigures(text[0], text[1]);
    const int minutes = twoFigures(text[2], text[3]);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) {
        return std::nullopt;
    }
    return std::string(text, 4);
}

// Splits a line into its words, into a buffer that is used again for every line.
void splitWords(std::string_view line, std::vector<std::string_view>& words) {
    words.clear();
    const char* at = line.data();
    const char* const end = at + line.size();
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (true) {
        while (at != end && blank(*at)) {
            ++at;
        }
        if (at == end) {
            return;
        }
        const char* const start = at;
        while (at != end && !blank(*at)) {
            ++at;
        }
        words.emplace_back(start, static_cast<std::size_t>(at - start));
    }
}

// The words of a QSO line between its tag and its end, with the parts that come before the sent
// call already taken apart. The words after the sent call stay in the buffer of the split.
struct LineParts {
    std::string_view frequency;
    std::string_view mode;
    std::string date;
    std::string time;
    std::string_view dateWord;
    std::string_view timeWord;
    std::string_view sentCall;
    const std::string_view* rest = nullptr;  // every word after the sent call
    std::size_t restSize = 0;
};

bool splitLine(std::string_view line, std::string_view ownCall,
               std::vector<std::string_view>& words, LineParts& parts) {
    splitWords(line, words);
    if (words.empty() || words[0].size() < 4 || upper(words[0][0]) != 'Q' ||
        upper(words[0][1]) != 'S' || upper(words[0][2]) != 'O' || words[0][3] != ':') {
        return false;
    }
    if (words[0].size() > 4) {
        // "QSO:14050": the frequency written against the tag.
        words.insert(words.begin() + 1, words[0].substr(4));
    }
    std::size_t at = 1;
    if (at >= words.size() || !isDigit(words[at][0])) {
        return false;
    }
    parts = LineParts{};
    parts.frequency = words[at++];

    // The sent call is the own call where the line holds it; otherwise it follows the mode, the
    // date and the time, each of which may be missing.
    std::size_t sent = words.size();
    if (!ownCall.empty()) {
        for (std::size_t j = at; j < std::min(words.size(), at + 4); ++j) {
            if (equalsIgnoringCase(words[j], ownCall)) {
                sent = j;
                break;
            }
        }
    }
    if (sent == words.size()) {
        sent = at;
        if (sent < words.size() && isMode(words[sent])) {
            parts.mode = words[sent++];
        }
        if (sent < words.size()) {
            if (auto date = dateOf(words[sent])) {
                parts.date = std::move(*date);
                parts.dateWord = words[sent++];
            }
        }
        if (sent < words.size()) {
            if (auto time = timeOf(words[sent])) {
                parts.time = std::move(*time);
                parts.timeWord = words[sent++];
            }
        }
    } else {
        for (std::size_t j = at; j < sent; ++j) {
            if (auto date = parts.date.empty() ? dateOf(words[j]) : std::nullopt) {
                parts.date = std::move(*date);
                parts.dateWord = words[j];
            } else if (auto time = parts.time.empty() ? timeOf(words[j]) : std::nullopt) {
                parts.time = std::move(*time);
                parts.timeWord = words[j];
            } else if (parts.mode.empty() && isMode(words[j])) {
                parts.mode = words[j];
            }
        }
    }
    if (sent >= words.size() || !isCallLike(words[sent])) {
        return false;
    }
    parts.sentCall = words[sent];
    parts.rest = words.data() + sent + 1;
    parts.restSize = words.size() - sent - 1;
    return true;
}

bool endsWithTransmitter(const std::string_view* rest, std::size_t size) {
    return size >= 3 && (rest[size - 1] == "0" || rest[size - 1] == "1");
}

std::optional<std::size_t> firstCall(const std::string_view* words, std::size_t count) {
    for (std::size_t j = 0; j < count; ++j) {
        if (isCallSign(words[j])) {
            return j;
        }
    }
    return std::nullopt;
}

// Where the received call stands on one line: where the log writes it, else at the call sign
// nearest to that place (the line has a word more or less), else where the log writes it if that
// word could be a miscopied call.
std::optional<std::size_t> receivedCallAt(const std::string_view* rest, std::size_t size,
                                          std::size_t offset) {
    if (offset < size && isCallSign(rest[offset])) {
        return offset;
    }
    for (std::size_t distance = 1; distance <= std::max(offset, size); ++distance) {
        if (distance <= offset && offset - distance < size && isCallSign(rest[offset - distance])) {
            return offset - distance;
        }
        if (offset + distance < size && isCallSign(rest[offset + distance])) {
            return offset + distance;
        }
    }
    if (offset < size && isCallLike(rest[offset])) {
        return offset;
    }
    return std::nullopt;
}

enum class PartReading { Nothing, Number, NonMember, Placeholder };

// One part of a word: a number, "NM", a name with a number glued to it ("NTC44", "VOLKER084"),
// a placeholder of a template ("NTC#"), or nothing of use (a name).
PartReading readPart(std::string_view part, std::string_view& digits) {
    if (allDigits(part)) {
        digits = part;
        return PartReading::Number;
    }
    if (equalsIgnoringCase(part, "NM")) {
        return PartReading::NonMember;
    }
    if (part.find('#') != std::string_view::npos &&
        std::none_of(part.begin(), part.end(), isDigit)) {
        return PartReading::Placeholder;
    }
    std::size_t letters = 0;
    while (letters < part.size() && isLetter(part[letters])) {
        ++letters;
    }
    const std::size_t figures =
        letters < part.size() && part[letters] == '#' ? letters + 1 : letters;
    const std::string_view number = part.substr(figures);
    // A locator ("JO70") or a district code ("M15") has the same shape with fewer letters.
    if (allDigits(number) &&
        (letters >= 3 || (letters == 2 && number.size() >= 3) || (letters == 0 && figures == 1))) {
        digits = number;
        return PartReading::Number;
    }
    return PartReading::Nothing;
}

MemberReading readParts(std::string_view word) {
    MemberReading found;
    std::size_t start = 0;
    while (start <= word.size()) {
        std::size_t end = word.find_first_of("/-.,", start);
        if (end == std::string_view::npos) {
            end = word.size();
        }
        const std::string_view part = word.substr(start, end - start);
        std::string_view digits;
        switch (part.empty() ? PartReading::Nothing : readPart(part, digits)) {
            case PartReading::Placeholder:
                // "NTC#/NM": the alternatives of a template that was never filled in.
                return {};
            case PartReading::Number:
                if (found.kind == Membership::None) {
                    const bool zero = digits.find_first_not_of('0') == std::string_view::npos;
                    found = {zero ? Membership::NonMember : Membership::Member,
                             std::string(digits)};
                }
                break;
            case PartReading::NonMember:
                if (found.kind == Membership::None) {
                    found = {Membership::NonMember, "NM"};
                }
                break;
            case PartReading::Nothing:
                break;
        }
        start = end + 1;
    }
    return found;
}

MemberReading readWord(std::string_view word, bool first) {
    if (first) {
        // A report written against the exchange: "599-119", "599VANNI164"; but "599KOOS" is a
        // report and a name, and holds no number.
        for (const std::size_t length : {std::size_t{3}, std::size_t{2}}) {
            if (word.size() > length + 1 && isReport(word.substr(0, length)) &&
                (word[length] == '-' || isLetter(word[length]))) {
                const std::size_t skip = word[length] == '-' ? length + 1 : length;
                if (MemberReading rest = readParts(word.substr(skip));
                    rest.kind != Membership::None) {
                    return rest;
                }
                break;
            }
        }
    }
    return readParts(word);
}

std::size_t mostCommon(const std::map<std::size_t, int>& tally, std::size_t fallback) {
    std::size_t best = fallback;
    int count = 0;
    for (const auto& [value, seen] : tally) {
        if (seen > count) {
            best = value;
            count = seen;
        }
    }
    return best;
}

MemberReading readMemberOf(const std::string_view* first, const std::string_view* last) {
    for (const std::string_view* word = first; word != last; ++word) {
        MemberReading reading = readWord(*word, word == first);
        if (reading.kind != Membership::None) {
            return reading;
        }
    }
    return {};
}

std::string joinOf(const std::string_view* first, const std::string_view* last) {
    std::string text;
    for (const std::string_view* word = first; word != last; ++word) {
        if (word != first) {
            text += ' ';
        }
        text += *word;
    }
    return text;
}

// What the shape of a log is learned from, for one line, with and without its last word taken
// for a transmitter number.
struct LineTraits {
    bool split = false;
    bool transmitter = false;
    struct Call {
        int at = -1;  // where the first call sign stands among the words after the sent call
        bool reportAfter = false;
        bool hasAfter = false;
    } full, withoutLast;
    bool reportFirst = false;
};

LineTraits::Call callTraits(const std::string_view* rest, std::size_t size) {
    LineTraits::Call traits;
    if (const auto call = firstCall(rest, size)) {
        traits.at = static_cast<int>(*call);
        traits.hasAfter = *call + 1 < size;
        traits.reportAfter = traits.hasAfter && isReport(rest[*call + 1]);
    }
    return traits;
}

QsoLineShape learnShape(const std::vector<LineTraits>& lines) {
    QsoLineShape shape;
    std::ptrdiff_t read = 0;
    std::ptrdiff_t withTransmitter = 0;
    for (const LineTraits& line : lines) {
        read += line.split ? 1 : 0;
        withTransmitter += line.split && line.transmitter ? 1 : 0;
    }
    if (read == 0) {
        return shape;
    }
    shape.transmitterColumn = withTransmitter * 10 >= read * 9;

    std::map<std::size_t, int> offsets;
    int receivedSides = 0;
    int receivedReports = 0;
    int sentSides = 0;
    int sentReports = 0;
    for (const LineTraits& line : lines) {
        const LineTraits::Call& call =
            shape.transmitterColumn && line.transmitter ? line.withoutLast : line.full;
        if (!line.split || call.at < 0) {
            continue;
        }
        ++offsets[static_cast<std::size_t>(call.at)];
        if (call.hasAfter) {
            ++receivedSides;
            receivedReports += call.reportAfter ? 1 : 0;
        }
        if (call.at >= 2) {
            ++sentSides;
            sentReports += line.reportFirst ? 1 : 0;
        }
    }
    shape.receivedCallOffset = static_cast<int>(mostCommon(offsets, 2));
    shape.reports = (receivedSides > 0 && receivedReports * 2 >= receivedSides) ||
                    (sentSides > 0 && sentReports * 2 >= sentSides);
    return shape;
}

std::vector<LineTraits> traitsOf(const std::vector<std::string_view>& lines,
                                 std::string_view ownCall, std::vector<std::string_view>& words) {
    std::vector<LineTraits> traits(lines.size());
    LineParts parts;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        LineTraits& line = traits[i];
        line.split = splitLine(lines[i], ownCall, words, parts);
        if (!line.split) {
            continue;
        }
        line.transmitter = endsWithTransmitter(parts.rest, parts.restSize);
        line.full = callTraits(parts.rest, parts.restSize);
        line.withoutLast =
            line.transmitter ? callTraits(parts.rest, parts.restSize - 1) : line.full;
        line.reportFirst = parts.restSize > 0 && isReport(parts.rest[0]);
    }
    return traits;
}

// With `onlyReceived`, the received call and member number alone are filled in.
bool readFields(LineParts& parts, const QsoLineShape& shape, bool onlyReceived, QsoFields& fields) {
    std::size_t size = parts.restSize;
    const std::string_view* rest = parts.rest;
    const bool transmitter = shape.transmitterColumn && endsWithTransmitter(rest, size);
    if (transmitter) {
        --size;
    }
    const auto call =
        receivedCallAt(rest, size, static_cast<std::size_t>(shape.receivedCallOffset));
    if (!call) {
        return false;
    }
    const std::string_view* sent = rest;
    const std::string_view* sentEnd = rest + *call;
    const std::string_view* received = sentEnd + 1;
    const std::string_view* receivedEnd = rest + size;
    const bool sentReport = shape.reports && sent != sentEnd && isReport(*sent);
    const bool receivedReport = shape.reports && received != receivedEnd && isReport(*received);
    fields.receivedCall = rest[*call];
    fields.receivedMember = readMemberOf(received + (receivedReport ? 1 : 0), receivedEnd);
    if (onlyReceived) {
        return true;
    }
    fields.transmitter = transmitter ? rest[size] : std::string_view();
    fields.sentReport = sentReport ? *sent : std::string_view();
    fields.receivedReport = receivedReport ? *received : std::string_view();
    sent += sentReport ? 1 : 0;
    received += receivedReport ? 1 : 0;
    fields.frequency = parts.frequency;
    fields.mode = parts.mode;
    fields.date = std::move(parts.date);
    fields.time = std::move(parts.time);
    fields.dateWritten = parts.dateWord;
    fields.timeWritten = parts.timeWord;
    fields.sentCall = parts.sentCall;
    fields.sentExchange = joinOf(sent, sentEnd);
    fields.receivedExchange = joinOf(received, receivedEnd);
    fields.sentMember = readMemberOf(sent, sentEnd);
    return true;
}

}  // namespace

std::string MemberReading::value() const {
    switch (kind) {
        case Membership::Member:
            return text.substr(std::min(text.find_first_not_of('0'), text.size()));
        case Membership::NonMember:
            return "NM";
        case Membership::None:
            break;
    }
    return {};
}

std::string MemberReading::scoredValue() const {
    return kind == Membership::None ? std::string("NM") : value();
}

bool isReport(std::string_view word) {
    const auto strength = [](char c) { return (c >= '1' && c <= '9') || c == 'N' || c == 'n'; };
    return (word.size() == 2 || word.size() == 3) && word[0] >= '1' && word[0] <= '5' &&
           strength(word[1]) && (word.size() == 2 || strength(word[2]));
}

bool isCallSign(std::string_view word) {
    if (word.empty() || word.size() > 13) {
        return false;
    }
    std::size_t start = 0;
    bool base = false;
    while (start <= word.size()) {
        std::size_t end = word.find('/', start);
        if (end == std::string_view::npos) {
            end = word.size();
        }
        const std::string_view part = word.substr(start, end - start);
        if (!std::all_of(part.begin(), part.end(),
                         [](char c) { return isDigit(c) || isLetter(c); })) {
            return false;
        }
        base = base || isCallBase(part);
        start = end + 1;
    }
    return base;
}

std::vector<std::string_view> qsoWords(std::string_view line) {
    std::vector<std::string_view> words;
    splitWords(line, words);
    return words;
}

MemberReading readMember(const std::vector<std::string_view>& words) {
    return readMemberOf(words.data(), words.data() + words.size());
}

std::string inCapitals(std::string_view text) {
    std::string capitals(text);
    std::transform(capitals.begin(), capitals.end(), capitals.begin(), upper);
    return capitals;
}

std::optional<std::string> logSentCall(const std::vector<std::string_view>& sentCalls) {
    std::map<std::string, std::size_t> counts;
    for (const std::string_view sent : sentCalls) {
        std::string call = inCapitals(sent);
        if (++counts[call] * 2 > sentCalls.size()) {
            return call;
        }
    }
    return std::nullopt;
}

std::vector<std::string_view> qsoLinesOf(std::string_view logBytes) {
    // The reader ends a line at its line feed or after its length; a line that fills it is
    // followed by what comes after, down to an empty line before the line feed.
    const auto limit = static_cast<std::size_t>(kRawLineChars);
    std::vector<std::string_view> lines;
    const std::vector<std::string_view> physical = textLines(logBytes);
    for (std::size_t i = 0; i < physical.size(); ++i) {
        const std::string_view text = physical[i];
        const bool endsWithLineFeed = i + 1 < physical.size() || logBytes.back() == '\n';
        for (std::size_t at = 0; at < text.size() || (at == text.size() && endsWithLineFeed);
             at += limit) {
            const std::string_view line = text.substr(at, limit);
            if (line.compare(0, 10, "END-OF-LOG") == 0) {
                return lines;
            }
            if (line.compare(0, 4, "QSO:") == 0) {
                lines.push_back(line);
            }
            if (line.size() < limit) {
                break;
            }
        }
    }
    return lines;
}

void visitQsoLines(const std::vector<std::string_view>& lines, std::string_view ownCall,
                   const std::function<void(std::size_t, const QsoFields*)>& visit,
                   bool onlyReceived) {
    std::vector<std::string_view> words;
    words.reserve(32);
    const QsoLineShape shape = learnShape(traitsOf(lines, ownCall, words));
    LineParts parts;
    QsoFields fields;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool read = splitLine(lines[i], ownCall, words, parts) &&
                          readFields(parts, shape, onlyReceived, fields);
        visit(i, read ? &fields : nullptr);
    }
}

std::vector<QsoLineReading> readQsoLines(const std::vector<std::string_view>& lines,
                                         std::string_view ownCall) {
    std::vector<QsoLineReading> readings(lines.size());
    visitQsoLines(lines, ownCall, [&](std::size_t i, const QsoFields* fields) {
        if (fields != nullptr) {
            readings[i].fields = *fields;
        }
    });
    return readings;
}

}  // namespace zeb
