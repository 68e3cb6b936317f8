#include "intake/qso_fields.h"

#include <algorithm>
#include <map>

#include "platform/text_input.h"
#include "state/evaluation_state.h"

namespace zeb {

namespace {

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
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return upper(x) == upper(y); });
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

int digitsValue(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string join(const std::vector<std::string_view>& words) {
    std::string text;
    for (const std::string_view word : words) {
        if (!text.empty()) {
            text += ' ';
        }
        text += word;
    }
    return text;
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

// "2024-03-21", "2024/03/21", "2024.03.21", "20240321" or, day first, "21.03.2024", as
// YYYY-MM-DD.
std::optional<std::string> dateOf(std::string_view word) {
    const auto separator = [](char c) { return c == '-' || c == '/' || c == '.'; };
    std::string digits;
    if (word.size() == 10 && word[4] == word[7] && separator(word[4])) {
        digits = std::string(word.substr(0, 4)) + std::string(word.substr(5, 2)) +
                 std::string(word.substr(8, 2));
    } else if (word.size() == 10 && word[2] == word[5] && separator(word[2])) {
        digits = std::string(word.substr(6, 4)) + std::string(word.substr(3, 2)) +
                 std::string(word.substr(0, 2));
    } else if (word.size() == 8) {
        digits = std::string(word);
    }
    if (!allDigits(digits) || digits.size() != 8) {
        return std::nullopt;
    }
    const int year = digitsValue(digits.substr(0, 4));
    const int month = digitsValue(digits.substr(4, 2));
    const int day = digitsValue(digits.substr(6, 2));
    if (year < 1900 || year > 2099 || month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    return digits.substr(0, 4) + "-" + digits.substr(4, 2) + "-" + digits.substr(6, 2);
}

// "1903", "19:03", "19.03" or "9:03", as HHMM.
std::optional<std::string> timeOf(std::string_view word) {
    std::string digits;
    const std::size_t separator = word.find_first_of(":.");
    if (separator == std::string_view::npos) {
        digits = word.size() == 4 ? std::string(word) : std::string();
    } else if ((separator == 1 || separator == 2) && word.size() == separator + 3) {
        digits = std::string(2 - separator, '0') + std::string(word.substr(0, separator)) +
                 std::string(word.substr(separator + 1));
    }
    if (!allDigits(digits) || digits.size() != 4 || digitsValue(digits.substr(0, 2)) > 23 ||
        digitsValue(digits.substr(2, 2)) > 59) {
        return std::nullopt;
    }
    return digits;
}

// The words of a QSO line between its tag and its end, with the parts that come before the sent
// call already taken apart.
struct LineParts {
    std::string_view frequency;
    std::string_view mode;
    std::string date;
    std::string time;
    std::string_view dateWord;
    std::string_view timeWord;
    std::string_view sentCall;
    std::vector<std::string_view> rest;  // every word after the sent call
};

std::optional<LineParts> splitLine(std::string_view line, std::string_view ownCall) {
    std::vector<std::string_view> words = qsoWords(line);
    if (words.empty() || words[0].size() < 4 ||
        !equalsIgnoringCase(words[0].substr(0, 4), "QSO:")) {
        return std::nullopt;
    }
    if (words[0].size() > 4) {
        // "QSO:14050": the frequency written against the tag.
        words.insert(words.begin() + 1, words[0].substr(4));
    }
    std::size_t at = 1;
    if (at >= words.size() || !isDigit(words[at][0])) {
        return std::nullopt;
    }
    LineParts parts;
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
            ++sent;
        }
        if (sent < words.size() && dateOf(words[sent])) {
            ++sent;
        }
        if (sent < words.size() && timeOf(words[sent])) {
            ++sent;
        }
    }
    for (std::size_t j = at; j < sent; ++j) {
        if (const auto date = dateOf(words[j]); date && parts.date.empty()) {
            parts.date = *date;
            parts.dateWord = words[j];
        } else if (const auto time = timeOf(words[j]); time && parts.time.empty()) {
            parts.time = *time;
            parts.timeWord = words[j];
        } else if (parts.mode.empty() && isMode(words[j])) {
            parts.mode = words[j];
        }
    }
    if (sent >= words.size() || !isCallLike(words[sent])) {
        return std::nullopt;
    }
    parts.sentCall = words[sent];
    parts.rest.assign(words.begin() + static_cast<std::ptrdiff_t>(sent) + 1, words.end());
    return parts;
}

bool endsWithTransmitter(const std::vector<std::string_view>& rest) {
    return rest.size() >= 3 && (rest.back() == "0" || rest.back() == "1");
}

std::optional<std::size_t> firstCall(const std::vector<std::string_view>& words) {
    for (std::size_t j = 0; j < words.size(); ++j) {
        if (isCallSign(words[j])) {
            return j;
        }
    }
    return std::nullopt;
}

// Where the received call stands on one line: where the log writes it, else at the call sign
// nearest to that place (the line has a word more or less), else where the log writes it if that
// word could be a miscopied call.
std::optional<std::size_t> receivedCallAt(const std::vector<std::string_view>& rest,
                                          std::size_t offset) {
    if (offset < rest.size() && isCallSign(rest[offset])) {
        return offset;
    }
    for (std::size_t distance = 1; distance <= std::max(offset, rest.size()); ++distance) {
        if (distance <= offset && offset - distance < rest.size() &&
            isCallSign(rest[offset - distance])) {
            return offset - distance;
        }
        if (offset + distance < rest.size() && isCallSign(rest[offset + distance])) {
            return offset + distance;
        }
    }
    if (offset < rest.size() && isCallLike(rest[offset])) {
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
    std::size_t at = 0;
    const auto blank = [&](std::size_t i) { return static_cast<unsigned char>(line[i]) <= ' '; };
    while (at < line.size()) {
        while (at < line.size() && blank(at)) {
            ++at;
        }
        const std::size_t start = at;
        while (at < line.size() && !blank(at)) {
            ++at;
        }
        if (at > start) {
            words.push_back(line.substr(start, at - start));
        }
    }
    return words;
}

MemberReading readMember(const std::vector<std::string_view>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        MemberReading reading = readWord(words[i], i == 0);
        if (reading.kind != Membership::None) {
            return reading;
        }
    }
    return {};
}

std::optional<std::string> logSentCall(const std::vector<QsoLineReading>& readings) {
    std::map<std::string, int> counts;
    int read = 0;
    for (const QsoLineReading& reading : readings) {
        if (reading.fields) {
            ++read;
            std::string call = reading.fields->sentCall;
            std::transform(call.begin(), call.end(), call.begin(), upper);
            ++counts[call];
        }
    }
    for (const auto& [call, count] : counts) {
        if (count * 2 > read) {
            return call;
        }
    }
    return std::nullopt;
}

std::vector<std::string> qsoLinesOf(std::string_view logBytes) {
    std::vector<std::string> lines;
    MemoryTextInput input{std::string(logBytes)};
    std::string line;
    bool ended = false;
    const auto complete = [&] {
        if (line.compare(0, 10, "END-OF-LOG") == 0) {
            ended = true;
        } else if (line.compare(0, 4, "QSO:") == 0) {
            lines.push_back(line);
        }
        line.clear();
    };
    while (!ended) {
        const int c = input.get();
        if (c == kEndOfFile) {
            complete();
            break;
        }
        if (c == '\n') {
            complete();
            continue;
        }
        line += static_cast<char>(c);
        if (line.size() == static_cast<std::size_t>(kRawLineChars)) {
            complete();
        }
    }
    return lines;
}

QsoLineShape learnQsoLineShape(const std::vector<std::string_view>& lines,
                               std::string_view ownCall) {
    std::vector<std::vector<std::string_view>> rests;
    for (const std::string_view line : lines) {
        if (auto parts = splitLine(line, ownCall)) {
            rests.push_back(std::move(parts->rest));
        }
    }
    QsoLineShape shape;
    if (rests.empty()) {
        return shape;
    }
    const auto withTransmitter = std::count_if(rests.begin(), rests.end(), endsWithTransmitter);
    shape.transmitterColumn = withTransmitter * 10 >= static_cast<std::ptrdiff_t>(rests.size()) * 9;

    std::map<std::size_t, int> offsets;
    int receivedSides = 0;
    int receivedReports = 0;
    int sentSides = 0;
    int sentReports = 0;
    for (std::vector<std::string_view>& rest : rests) {
        if (shape.transmitterColumn && endsWithTransmitter(rest)) {
            rest.pop_back();
        }
        const auto call = firstCall(rest);
        if (!call) {
            continue;
        }
        ++offsets[*call];
        if (*call + 1 < rest.size()) {
            ++receivedSides;
            receivedReports += isReport(rest[*call + 1]) ? 1 : 0;
        }
        if (*call >= 2) {
            ++sentSides;
            sentReports += isReport(rest[0]) ? 1 : 0;
        }
    }
    shape.receivedCallOffset = static_cast<int>(mostCommon(offsets, 2));
    shape.reports = (receivedSides > 0 && receivedReports * 2 >= receivedSides) ||
                    (sentSides > 0 && sentReports * 2 >= sentSides);
    return shape;
}

std::optional<QsoFields> readQsoFields(std::string_view line, const QsoLineShape& shape,
                                       std::string_view ownCall) {
    std::optional<LineParts> parts = splitLine(line, ownCall);
    if (!parts) {
        return std::nullopt;
    }
    std::vector<std::string_view>& rest = parts->rest;
    QsoFields fields;
    if (shape.transmitterColumn && endsWithTransmitter(rest)) {
        fields.transmitter = rest.back();
        rest.pop_back();
    }
    const auto call = receivedCallAt(rest, static_cast<std::size_t>(shape.receivedCallOffset));
    if (!call) {
        return std::nullopt;
    }
    std::vector<std::string_view> sent(rest.begin(),
                                       rest.begin() + static_cast<std::ptrdiff_t>(*call));
    std::vector<std::string_view> received(rest.begin() + static_cast<std::ptrdiff_t>(*call) + 1,
                                           rest.end());
    if (shape.reports && !sent.empty() && isReport(sent.front())) {
        fields.sentReport = sent.front();
        sent.erase(sent.begin());
    }
    if (shape.reports && !received.empty() && isReport(received.front())) {
        fields.receivedReport = received.front();
        received.erase(received.begin());
    }
    fields.frequency = parts->frequency;
    fields.mode = parts->mode;
    fields.date = parts->date;
    fields.time = parts->time;
    fields.dateWritten = parts->dateWord;
    fields.timeWritten = parts->timeWord;
    fields.sentCall = parts->sentCall;
    fields.sentExchange = join(sent);
    fields.receivedCall = rest[*call];
    fields.receivedExchange = join(received);
    fields.sentMember = readMember(sent);
    fields.receivedMember = readMember(received);
    return fields;
}

std::vector<QsoLineReading> readQsoLines(const std::vector<std::string>& lines,
                                         std::string_view ownCall) {
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    const QsoLineShape shape = learnQsoLineShape(views, ownCall);
    std::vector<QsoLineReading> readings;
    readings.reserve(lines.size());
    for (const std::string_view line : views) {
        readings.push_back({readQsoFields(line, shape, ownCall)});
    }
    return readings;
}

}  // namespace zeb
