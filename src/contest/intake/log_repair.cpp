#include "contest/intake/log_repair.h"

#include <algorithm>
#include <map>
#include <set>

#include "contest/intake/batch_platform.h"
#include "intake/load_command.h"
#include "intake/qso_fields.h"
#include "platform/cp1250.h"
#include "platform/text_input.h"
#include "state/decimal.h"
#include "state/headless_window.h"
#include "state/texts.h"
#include "state/window_logic.h"

namespace zeb::contest {

namespace {

// Columns of the layout: the Cabrillo template within 80 columns.
constexpr std::size_t kSentCallColumn = 30;
constexpr std::size_t kSentCallWidth = 13;
constexpr std::size_t kSentCallEnd = kSentCallColumn + kSentCallWidth;
constexpr std::size_t kSentReportEnd = 47;  // reports stand right-aligned before this column
constexpr std::size_t kSentExchangeColumn = 48;
constexpr std::size_t kSentExchangeWidth = 6;
constexpr std::size_t kReceivedReportEnd = 72;
constexpr std::size_t kReceivedCallWidth = 13;
constexpr std::size_t kReceivedExchangeWidth = 80 - kRepairedExchangeColumn;
constexpr std::size_t kFrequencyWidth = 9;  // what the frequency window of the scoring takes
constexpr std::size_t kMaxHeaderLines = 25;
constexpr std::size_t kCallsignSearchLines = 11;  // the header lines the column finding reads

const std::string kNothing = "-";  // stands for a field that the line does not hold

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool beginsIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(),
                                                      [](char p, char t) { return p == upper(t); });
}

std::string_view withoutLeadingBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

bool isEndMarker(std::string_view line) {
    return beginsIgnoringCase(withoutLeadingBlanks(line), "END-OF-LOG");
}

// What a Czech note quotes of the log, whose bytes are Windows-1250, in the note's UTF-8.
std::string inUtf8(std::string_view logBytes) {
    return cp1250ToUtf8(logBytes);
}

std::string quoted(std::string_view text, std::size_t limit = 40) {
    const std::string_view shown = text.substr(0, limit);
    return "`" + std::string(shown) + (shown.size() < text.size() ? "...`" : "`");
}

class Repairer {
  public:
    Repairer(std::string_view bytes, EvaluationState* scratch)
        : lines_(textLines(bytes)), scratch_(scratch) {}

    LogRepair run() {
        std::size_t end = 0;
        while (end < lines_.size() && !isEndMarker(lines_[end])) {
            ++end;
        }
        std::size_t firstQso = 0;
        while (firstQso < end && !isQsoLine(lines_[firstQso])) {
            ++firstQso;
        }
        readQsoLines(firstQso, end);
        writeHeader(firstQso);
        writeBody(firstQso, end);
        writeEnd(end);
        checkColumnFinding();
        std::stable_sort(
            result_.changes.begin(), result_.changes.end(),
            [](const RepairChange& a, const RepairChange& b) { return a.line < b.line; });
        result_.qsoLines = static_cast<int>(qsoIndexes_.size());
        for (const std::size_t index : qsoIndexes_) {
            result_.qsoLineNumbers.push_back(static_cast<int>(index) + 1);
        }
        return std::move(result_);
    }

  private:
    void note(std::size_t index, std::string text, std::string czech, bool reading = false) {
        result_.changes.push_back(
            {static_cast<int>(index) + 1, std::move(text), std::move(czech), reading});
    }

    // Blanks for tabs, and fewer characters than one line of the reader holds: a longer line would
    // go on as lines of its own, which could be taken for QSO lines or the end marker, and a line
    // that fills the reader's line is followed by an empty line of its own, which would count
    // among the lines before the first QSO line.
    std::string cleaned(std::size_t index, std::string_view text) {
        constexpr std::size_t kLongest = kRawLineChars - 1;
        std::string line(text);
        if (line.find('\t') != std::string::npos) {
            std::replace(line.begin(), line.end(), '\t', ' ');
            note(index, "tab replaced", "tabulátor nahrazen mezerami");
        }
        if (line.size() > kLongest) {
            line.resize(kLongest);
            note(index, "line cut to " + formatDecimal(kLongest) + " characters",
                 "řádek zkrácen na " + formatDecimal(kLongest) + " znaků");
        }
        return line;
    }

    void readQsoLines(std::size_t firstQso, std::size_t end) {
        std::vector<std::string_view> qsoTexts;
        for (std::size_t i = firstQso; i < end; ++i) {
            if (isQsoLine(lines_[i])) {
                qsoIndexes_.push_back(i);
                qsoTexts.push_back(lines_[i]);
            } else if (!callsignLine_ && headerKey(lines_[i]) == "CALLSIGN") {
                callsignLine_ = i;
            }
        }
        for (std::size_t i = 0; i < firstQso; ++i) {
            if (headerKey(lines_[i]) == "CALLSIGN") {
                callsignLine_ = i;
                break;
            }
        }
        if (callsignLine_) {
            const std::string_view line = lines_[*callsignLine_];
            const auto words = qsoWords(line.substr(line.find(':') + 1));
            if (!words.empty()) {
                ownCall_ = words.front();
            }
        }
        readings_ = zeb::readQsoLines(qsoTexts, ownCall_);
        std::vector<std::string_view> sentCalls;
        for (const QsoLineReading& reading : readings_) {
            if (reading.fields) {
                sentCalls.push_back(reading.fields->sentCall);
            }
        }
        sentCall_ = logSentCall(sentCalls).value_or("");
    }

    struct HeaderLine {
        std::string text;
        std::size_t index;  // in the log; for an added line, where it was added
        int keep;           // the lowest are dropped first
    };

    static int keepOf(std::string_view line) {
        const std::string key = headerKey(line);
        if (key.empty()) {
            return 0;  // blank lines, comments, free text
        }
        if (key == "SOAPBOX" || key.rfind("ADDRESS", 0) == 0 || key.rfind("X-", 0) == 0) {
            return 1;
        }
        return key == "START-OF-LOG" ? 3 : 2;
    }

    void writeHeader(std::size_t firstQso) {
        std::vector<HeaderLine> header;
        for (std::size_t i = 0; i < firstQso; ++i) {
            if (i != callsignLine_) {
                header.push_back({cleaned(i, lines_[i]), i, keepOf(lines_[i])});
            }
        }
        std::optional<HeaderLine> callsign;
        if (callsignLine_) {
            const std::size_t i = *callsignLine_;
            std::string text = cleaned(i, lines_[i]);
            // The column finding takes the call after the colon only in capitals and behind
            // fewer than twenty blanks, and compares it with the calls of the rewritten lines,
            // which are in capitals.
            const std::size_t value = text.find_first_not_of(' ', text.find(':') + 1);
            if (!ownCall_.empty() &&
                (text.compare(0, 9, "CALLSIGN:") != 0 || value - text.find(':') > 20 ||
                 inCapitals(ownCall_) != ownCall_)) {
                text = "CALLSIGN: " + inCapitals(ownCall_);
                note(i, "CALLSIGN: line written " + quoted(text),
                     "řádek CALLSIGN: zapsán " + inUtf8(quoted(text)));
            }
            if (ownCall_.empty() && !sentCall_.empty()) {
                text = "CALLSIGN: " + sentCall_;
                note(i, "CALLSIGN: filled in from the sent call " + sentCall_,
                     "CALLSIGN: doplněn vysílanou značkou " + inUtf8(sentCall_));
            }
            if (i >= firstQso) {
                note(i, "CALLSIGN: line moved before the first QSO line",
                     "řádek CALLSIGN: přesunut před první řádek QSO");
            }
            callsign = HeaderLine{text, i, 4};
        } else if (!sentCall_.empty()) {
            callsign = HeaderLine{"CALLSIGN: " + sentCall_, 0, 4};
            note(0, "CALLSIGN: line added from the sent call " + sentCall_,
                 "řádek CALLSIGN: přidán podle vysílané značky " + inUtf8(sentCall_));
        }
        if (callsign) {
            // Where the line stood, unless that is too far down for the column finding.
            auto at = std::find_if(header.begin(), header.end(), [&](const HeaderLine& line) {
                return line.index > callsign->index;
            });
            header.insert(at, *callsign);
        }
        while (header.size() > kMaxHeaderLines) {
            dropOneHeaderLine(header);
        }
        if (callsign) {
            moveCallsignUp(header);
        }
        for (const HeaderLine& line : header) {
            out_ += line.text + "\n";
        }
    }

    // The longest line of the lowest kind left: free text before keys, keys before the start.
    void dropOneHeaderLine(std::vector<HeaderLine>& header) {
        auto victim = header.end();
        for (auto line = header.begin(); line != header.end(); ++line) {
            if (line->keep < 4 &&
                (victim == header.end() || line->keep < victim->keep ||
                 (line->keep == victim->keep && line->text.size() >= victim->text.size()))) {
                victim = line;
            }
        }
        if (victim == header.end()) {
            victim = header.end() - 1;
        }
        const std::string_view text = withoutLeadingBlanks(victim->text);
        if (text.empty()) {
            note(victim->index, "blank header line dropped", "prázdný řádek hlavičky vynechán");
        } else {
            note(victim->index, "header line " + quoted(text, 24) + " dropped",
                 "řádek hlavičky " + inUtf8(quoted(text, 24)) + " vynechán");
        }
        header.erase(victim);
    }

    void moveCallsignUp(std::vector<HeaderLine>& header) {
        const auto callsign = std::find_if(header.begin(), header.end(),
                                           [](const HeaderLine& line) { return line.keep == 4; });
        if (callsign == header.end() ||
            static_cast<std::size_t>(callsign - header.begin()) < kCallsignSearchLines) {
            return;
        }
        const HeaderLine line = *callsign;
        header.erase(callsign);
        const bool startFirst = !header.empty() && headerKey(header.front().text) == "START-OF-LOG";
        header.insert(header.begin() + (startFirst ? 1 : 0), line);
        note(line.index, "CALLSIGN: line moved up to where the column finding reads it",
             "řádek CALLSIGN: přesunut výš, kde jej čte hledání sloupců");
    }

    void writeBody(std::size_t firstQso, std::size_t end) {
        std::size_t qso = 0;
        for (std::size_t i = firstQso; i < end; ++i) {
            if (i == callsignLine_) {
                continue;
            }
            if (qso < qsoIndexes_.size() && qsoIndexes_[qso] == i) {
                writeQsoLine(i, readings_[qso]);
                ++qso;
            } else {
                out_ += cleaned(i, lines_[i]) + "\n";
            }
        }
    }

    void writeQsoLine(std::size_t index, const QsoLineReading& reading) {
        const auto line = reading.fields ? layoutLine(index, *reading.fields) : std::nullopt;
        if (!line) {
            result_.unreadLines.push_back(static_cast<int>(index) + 1);
            std::string text = cleaned(index, withoutLeadingBlanks(lines_[index]));
            if (text.compare(0, 4, "QSO:") != 0) {
                text.replace(0, 4, "QSO:");
                note(index, "tag written QSO:", "začátek řádku zapsán QSO:");
            }
            out_ += text + "\n";
            return;
        }
        if (lines_[index].find('\t') != std::string_view::npos) {
            note(index, "tab replaced", "tabulátor nahrazen mezerami");
        }
        if (withoutLeadingBlanks(lines_[index]).compare(0, 4, "QSO:") != 0) {
            note(index, "tag written QSO:", "začátek řádku zapsán QSO:");
        }
        out_ += *line + "\n";
        ++readLines_;
    }

    // What a member reading writes, or nothing when it does not fit.
    static std::optional<std::string> memberText(const MemberReading& member, std::size_t width) {
        if (member.kind == Membership::None) {
            return kNothing;
        }
        std::string text = member.text;
        while (text.size() > width && text.front() == '0' && text.size() > 1) {
            text.erase(0, 1);
        }
        return text.size() <= width ? std::optional<std::string>(text) : std::nullopt;
    }

    // How an exchange was read, when that is not what the line writes. `what` names it in English
    // and in Czech.
    void noteReading(std::size_t index, const std::string& words, const MemberReading& member,
                     const std::string& written, const char* what, const char* czech) {
        if (words == written) {
            return;
        }
        const std::string word = quoted(words);
        if (words.empty()) {
            note(index, std::string("no ") + what + ": written " + kNothing,
                 std::string("chybí ") + czech + ": zapsáno " + kNothing, true);
        } else if (member.kind == Membership::None) {
            note(index,
                 std::string(what) + " " + word + " holds no member number or NM: written " +
                     kNothing,
                 std::string(czech) + " " + inUtf8(word) + " nemá členské číslo ani NM: zapsáno " +
                     kNothing,
                 true);
        } else {
            // A number that stands as a word of its own beside a name is plainly read; one glued
            // to a name or a report, or joined by a sign, is worth telling the entrant.
            const std::vector<std::string_view> parts = qsoWords(words);
            const bool plain = std::find(parts.begin(), parts.end(), written) != parts.end();
            note(index, std::string(what) + " " + word + " read as " + written,
                 std::string(czech) + " " + inUtf8(word) + " přečtena jako " + inUtf8(written),
                 !plain);
        }
    }

    // Calls are the same in any case, but the prefix table knows them in capitals only.
    std::string callInCapitals(std::size_t index, const std::string& call) {
        const std::string written = inCapitals(call);
        if (written != call) {
            note(index, "call " + quoted(call) + " written " + written,
                 "značka " + inUtf8(quoted(call)) + " zapsána " + inUtf8(written));
        }
        return written;
    }

    static void padTo(std::string& line, std::size_t column) {
        if (line.size() < column) {
            line.append(column - line.size(), ' ');
        }
    }

    std::optional<std::string> layoutLine(std::size_t index, const QsoFields& fields) {
        std::string frequency = fields.frequency;
        if (frequency.size() > kFrequencyWidth && frequency.find('.') < kFrequencyWidth) {
            frequency.resize(kFrequencyWidth);
            note(index, "frequency " + quoted(fields.frequency) + " shortened to " + frequency,
                 "kmitočet " + inUtf8(quoted(fields.frequency)) + " zkrácen na " +
                     inUtf8(frequency));
        }
        const auto sentExchange = memberText(fields.sentMember, kSentExchangeWidth);
        const auto receivedExchange = memberText(fields.receivedMember, kReceivedExchangeWidth);
        if (frequency.size() > kFrequencyWidth || fields.sentCall.size() > kSentCallWidth ||
            fields.receivedCall.size() > kReceivedCallWidth || !sentExchange || !receivedExchange) {
            return std::nullopt;
        }
        std::string line = "QSO: ";
        line.append(frequency.size() < 5 ? 5 - frequency.size() : 0, ' ');
        line += frequency + " ";
        const std::string dateAndTime =
            " " + (fields.date.empty() ? std::string(10, ' ') : fields.date) + " " +
            (fields.time.empty() ? std::string(4, ' ') : fields.time);
        // The sent call ends before the sent report; the mode gives way where it would not.
        const std::size_t prefixRoom = kSentCallEnd - 1 - fields.sentCall.size();
        std::string mode = fields.mode.empty() ? std::string("  ") : fields.mode;
        if (line.size() + dateAndTime.size() > prefixRoom) {
            return std::nullopt;
        }
        if (line.size() + mode.size() + dateAndTime.size() > prefixRoom) {
            mode.resize(prefixRoom - line.size() - dateAndTime.size());
            note(index, "mode " + quoted(fields.mode) + " shortened to " + quoted(mode),
                 "druh provozu " + inUtf8(quoted(fields.mode)) + " zkrácen na " +
                     inUtf8(quoted(mode)));
        }
        line += mode + dateAndTime + " ";
        padTo(line, kSentCallColumn);
        line += callInCapitals(index, fields.sentCall);
        const std::string sentReport = fields.sentReport.empty() ? kNothing : fields.sentReport;
        padTo(line, kSentReportEnd - sentReport.size());
        line += sentReport;
        padTo(line, kSentExchangeColumn);
        line += *sentExchange;
        padTo(line, static_cast<std::size_t>(kRepairedCallColumn));
        line += callInCapitals(index, fields.receivedCall);
        const std::string receivedReport =
            fields.receivedReport.empty() ? kNothing : fields.receivedReport;
        padTo(line, kReceivedReportEnd - receivedReport.size());
        line += receivedReport;
        padTo(line, static_cast<std::size_t>(kRepairedExchangeColumn));
        line += *receivedExchange;

        if (!fields.timeWritten.empty() && fields.timeWritten != fields.time) {
            note(index, "time " + quoted(fields.timeWritten) + " read as " + fields.time,
                 "čas " + inUtf8(quoted(fields.timeWritten)) + " přečten jako " +
                     inUtf8(fields.time),
                 true);
        }
        if (!fields.dateWritten.empty() && fields.dateWritten != fields.date) {
            note(index, "date " + quoted(fields.dateWritten) + " read as " + fields.date,
                 "datum " + inUtf8(quoted(fields.dateWritten)) + " přečteno jako " +
                     inUtf8(fields.date),
                 true);
        }
        if (notedSentExchanges_.insert(fields.sentExchange).second) {
            noteReading(index, fields.sentExchange, fields.sentMember, *sentExchange,
                        "sent exchange", "vyslaná výměna");
        }
        noteReading(index, fields.receivedExchange, fields.receivedMember, *receivedExchange,
                    "exchange", "výměna");
        if (fields.receivedMember.kind == Membership::None) {
            result_.noMemberLines.push_back(static_cast<int>(index) + 1);
        }
        if (!fields.transmitter.empty() && !transmitterNoted_) {
            transmitterNoted_ = true;
            note(index, "transmitter numbers left out", "čísla vysílačů vynechána");
        }
        return line;
    }

    void writeEnd(std::size_t end) {
        if (end < lines_.size()) {
            std::string marker = cleaned(end, lines_[end]);
            if (marker.compare(0, 10, "END-OF-LOG") != 0) {
                marker = "END-OF-LOG:";
                note(end, "end marker written END-OF-LOG:", "konec deníku zapsán END-OF-LOG:");
            }
            out_ += marker + "\n";
            for (std::size_t i = end + 1; i < lines_.size(); ++i) {
                out_.append(lines_[i]).append("\n");
            }
        } else {
            out_ += "END-OF-LOG:\n";
            note(lines_.size(), "END-OF-LOG: added", "přidán řádek END-OF-LOG:");
        }
        result_.copy = std::move(out_);
    }

    void checkColumnFinding() {
        if (readLines_ == 0) {
            return;
        }
        std::unique_ptr<EvaluationState> made;
        EvaluationState* state = scratch_;
        if (state == nullptr) {
            made = makeEvaluationState();
            state = made.get();
        }
        // The copy is loaded as a log, so that what its evaluation will find is known.
        resetToProgramStart(*state);
        BatchPlatform platform(UnknownPrefixAnswer::Ignore, {});
        platform.preload("copy", result_.copy);
        HeadlessWindow window(*state, platform);
        formCreate(*state, window);
        prepareLoad(*state, window);
        if (loadLog(*state, window, platform, "copy", true) != LoadOutcome::Loaded) {
            return;  // over the QSO limit: refused as the log itself would be
        }
        const auto& messages = platform.messages();
        const bool fallback = std::any_of(
            messages.begin(), messages.end(),
            [](const DialogMessage& message) { return message.text == texts::kAutoConfigFailed; });
        if (state->columns.callStart == kRepairedCallColumn &&
            state->columns.exchStart == kRepairedExchangeColumn) {
            if (fallback && ownCall_.empty() && sentCall_.empty()) {
                note(qsoIndexes_.front(),
                     "no call for a CALLSIGN: line: the columns come from the fallback",
                     "chybí značka pro řádek CALLSIGN: sloupce jsou náhradní");
            } else if (fallback) {
                note(qsoIndexes_.front(),
                     "the call of CALLSIGN: is not the sent call of the lines: the columns come "
                     "from the fallback",
                     "značka v CALLSIGN: není vysílaná značka řádků: sloupce jsou náhradní");
            }
            return;
        }
        result_.columnsMustBeSet = true;
        const auto row = static_cast<std::size_t>(std::max(state->autoConfigRow, 0));
        const std::string columns =
            formatDecimal(kRepairedCallColumn) + " and " + formatDecimal(kRepairedExchangeColumn);
        note(qsoIndexes_[std::min(row, qsoIndexes_.size() - 1)],
             "the column finding stops on this line: the evaluation sets the columns " + columns,
             "hledání sloupců se zastaví na tomto řádku: hodnocení nastaví sloupce " +
                 formatDecimal(kRepairedCallColumn) + " a " +
                 formatDecimal(kRepairedExchangeColumn));
    }

    std::vector<std::string_view> lines_;  // into the log's bytes
    EvaluationState* scratch_;
    std::vector<std::size_t> qsoIndexes_;
    std::vector<QsoLineReading> readings_;
    std::optional<std::size_t> callsignLine_;
    std::string ownCall_;
    std::string sentCall_;  // the call the QSO lines send, when they agree on one
    int readLines_ = 0;
    std::set<std::string> notedSentExchanges_;
    bool transmitterNoted_ = false;
    std::string out_;
    LogRepair result_;
};

}  // namespace

bool isQsoLine(std::string_view line) {
    return beginsIgnoringCase(withoutLeadingBlanks(line), "QSO:");
}

std::string headerKey(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        return {};
    }
    std::string key;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = upper(line[i]);
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || (c == '-' && i > 0))) {
            return {};
        }
        key += c;
    }
    return key;
}

LogRepair repairLog(std::string_view logBytes, EvaluationState* scratch) {
    if (!isUtf8BeyondAscii(logBytes)) {
        return Repairer(logBytes, scratch).run();
    }
    // The program reads Windows-1250: in UTF-8 every Czech letter would be two wrong ones. A byte
    // order mark is no character of the log.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (logBytes.substr(0, 3) == kByteOrderMark) {
        logBytes.remove_prefix(3);
    }
    const std::string converted = utf8ToCp1250(logBytes);
    LogRepair repair = Repairer(converted, scratch).run();
    repair.fromUtf8 = true;
    repair.changes.push_back(
        {1, "converted from UTF-8 to Windows-1250", "převedeno z UTF-8 do Windows-1250", false});
    const std::vector<std::string_view> original = textLines(logBytes);
    const std::vector<std::string_view> lines = textLines(converted);
    for (std::size_t i = 0; i < lines.size() && i < original.size(); ++i) {
        if (std::count(lines[i].begin(), lines[i].end(), '?') >
            std::count(original[i].begin(), original[i].end(), '?')) {
            const int line = static_cast<int>(i) + 1;
            repair.unmappedLines.push_back(line);
            repair.changes.push_back({line, "characters that Windows-1250 lacks written ?",
                                      "znaky, které Windows-1250 nemá, zapsány jako ?", false});
        }
    }
    std::stable_sort(repair.changes.begin(), repair.changes.end(),
                     [](const RepairChange& a, const RepairChange& b) { return a.line < b.line; });
    return repair;
}

}  // namespace zeb::contest
