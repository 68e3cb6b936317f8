#include "contest/intake/contest_log.h"

#include <algorithm>
#include <cstring>

#include "intake/qso_fields.h"
#include "platform/cp1250.h"
#include "platform/translation.h"
#include "scoring/exchange_extraction.h"
#include "state/decimal.h"

namespace zeb::contest {

namespace {

// The Cabrillo QSO template: "QSO:", frequency, mode, date, time, sent call, ...: where the date
// and the time stand when a line cannot be read into its fields.
constexpr std::size_t kDateWord = 3;
constexpr std::size_t kTimeWord = 4;

std::string wordOrEmpty(const std::vector<std::string_view>& words, std::size_t index) {
    return index < words.size() ? std::string(words[index]) : std::string();
}

std::string_view trimmedEnd(std::string_view line) {
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ') {
        line.remove_suffix(1);
    }
    return line;
}

// A message on one line: a dialog breaks its text into lines, a table cell cannot.
std::string oneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

std::string messageOf(const LogEvaluation& evaluation) {
    const DialogMessage* chosen = nullptr;
    for (const DialogMessage& message : evaluation.messages) {
        if (message.kind == DialogKind::Error || chosen == nullptr ||
            chosen->kind != DialogKind::Error) {
            chosen = &message;
        }
    }
    return chosen == nullptr ? std::string() : oneLine(cp1250ToUtf8(chosen->text));
}

// Digits of a fixed count, or -1.
int digitsValue(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// Days from 1970-01-01 to a date of the Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

}  // namespace

bool ContestLog::flagged(std::string_view code) const {
    return std::any_of(flags.begin(), flags.end(),
                       [code](const LogFlag& flag) { return flag.code == code; });
}

bool ContestLog::rankedApart() const {
    return takesPart() && !checkLog && (flagged("other-session") || flagged("no-partner"));
}

const char* czechOutcomeName(LogOutcome outcome) {
    return tr(Language::Czech, outcomeName(outcome));
}

std::string callOrFileName(const ContestLog& log) {
    return log.ownCall ? *log.ownCall : baseName(log.path);
}

std::string normalizedExchange(std::string_view exchange) {
    const std::string text(exchange);
    if (!isMemberNumber(text.c_str())) {
        return "NM";
    }
    const std::size_t firstFigure = text.find_first_not_of('0');
    return text.substr(firstFigure);
}

std::optional<std::int64_t> minuteOf(std::string_view date, std::string_view time) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-' || time.size() != 4) {
        return std::nullopt;
    }
    const int year = digitsValue(date.substr(0, 4));
    const int month = digitsValue(date.substr(5, 2));
    const int day = digitsValue(date.substr(8, 2));
    const int hour = digitsValue(time.substr(0, 2));
    const int minute = digitsValue(time.substr(2, 2));
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59) {
        return std::nullopt;
    }
    return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 1440 +
           hour * 60 + minute;
}

ContestLog summarizeLog(const LogEvaluation& evaluation) {
    ContestLog log;
    log.path = evaluation.log;
    log.outcome = evaluation.outcome;
    if (!evaluation.state) {
        return log;
    }
    const EvaluationState& state = *evaluation.state;
    const std::optional<std::string> ownCall = headerCallBytes(state);
    if (ownCall) {
        log.ownCall = cp1250ToUtf8(*ownCall);
    }
    if (evaluation.outcome != LogOutcome::Scored) {
        log.message = messageOf(evaluation);
        return log;
    }
    log.totals = state.totals;
    log.bands = bandBreakdown(state);
    log.columnCheck = evaluation.columnCheck.value_or(ColumnCheck{});

    // The lines whole, from the bytes that were loaded: the state keeps them cut at 80 columns.
    std::vector<std::string_view> lines = qsoLinesOf(evaluation.bytes);
    if (lines.size() != static_cast<std::size_t>(state.qsoTable.qsoCount)) {
        lines.clear();  // a file too large to keep whole: the columns found are all
    }
    log.qsos.resize(static_cast<std::size_t>(state.qsoTable.qsoCount));
    // Copies: the fields of a line are reused for the next one and are gone after the visit.
    std::vector<std::string> sentCalls;
    visitQsoLines(lines, ownCall.value_or(""), [&](std::size_t i, const QsoFields* fields) {
        if (fields == nullptr) {
            return;
        }
        ContestQso& qso = log.qsos[i];
        qso.read = true;
        qso.line = cp1250ToUtf8(trimmedEnd(lines[i]));
        qso.call = cp1250ToUtf8(fields->receivedCall);
        qso.exchange = cp1250ToUtf8(fields->receivedMember.scoredValue());
        qso.sentExchange = cp1250ToUtf8(fields->sentMember.value());
        qso.noMember = fields->receivedMember.kind == Membership::None;
        qso.date = fields->date;
        qso.time = fields->time;
        sentCalls.push_back(fields->sentCall);
    });
    if (const auto call = logSentCall({sentCalls.begin(), sentCalls.end()})) {
        log.sentCall = cp1250ToUtf8(*call);
    }
    // The line numbers in the file: the lines are views into its bytes, in their order.
    const char* counted = evaluation.bytes.data();
    int lineNumber = 1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lineNumber += static_cast<int>(std::count(counted, lines[i].data(), '\n'));
        counted = lines[i].data();
        log.qsos[i].submittedNumber = lineNumber;
    }
    for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
        const QsoRecord& record = state.qsoTable.slots[i];
        ContestQso& qso = log.qsos[static_cast<std::size_t>(i)];
        qso.number = i + 1;
        qso.kHz = parseDecimal(record.freqText);
        qso.status = record.status;
        if (!qso.read) {
            const std::string_view line(record.line, strnlen(record.line, kLineBufferSize));
            const std::vector<std::string_view> words = qsoWords(line);
            qso.line = cp1250ToUtf8(lines.empty() ? line : trimmedEnd(lines[i]));
            qso.call = cp1250ToUtf8(record.callText);
            qso.exchange = normalizedExchange(record.exchText);
            qso.date = cp1250ToUtf8(wordOrEmpty(words, kDateWord));
            qso.time = cp1250ToUtf8(wordOrEmpty(words, kTimeWord));
        }
        qso.minute = minuteOf(qso.date, qso.time);
    }
    return log;
}

}  // namespace zeb::contest
