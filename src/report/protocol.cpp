#include "report/protocol.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/cp1250.h"
#include "scoring/scoring_passes.h"
#include "state/decimal.h"
#include "state/texts.h"

namespace zeb {

namespace {

const char* const kLegend[] = {
    "                                --------info sent------- -------info rcvd--------           N "
    " N",
    "QSO: freq  mo date       time call          rst exch   call          rst exch   t           A "
    " A",
    "QSO: ***** ** yyyy-mm-dd nnnn ************* nnn ****** ************* nnn ****** n  D    B   S "
    " S",
    "QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  001    0  X    O   Z "
    " D",
    "000000000111111111122222222223333333333444444444455555555556666666666777777777788  C    D   E "
    " X",
    "123456789012345678901234567890123456789012345678901234567890123456789012345678901  C    Y   B "
    " CC",
};

constexpr std::size_t kRuleLength = 99;

// A QSO line of the protocol, with its line end.
constexpr std::size_t kQsoLineBytes = 101;

void appendDecimal(std::string& out, std::int32_t value) {
    char figures[12];
    const auto written = std::to_chars(figures, figures + sizeof figures, value);
    out.append(figures, written.ptr);
}

void appendCounter(std::string& out, const char* label, std::int64_t value) {
    out += utf8ToCp1250(label);
    out += formatDecimal(value);
    out += '\n';
}

}  // namespace

void appendProtocolLine(std::string& out, const QsoRecord& record, std::int32_t exchStart) {
    // The line ends at its first space within the ten columns from the exchange column.
    const auto length = static_cast<std::int64_t>(strnlen(record.line, kLineBufferSize));
    std::int64_t end = length;
    for (std::int64_t c = std::max<std::int64_t>(exchStart, 0);
         c < std::int64_t{exchStart} + 10 && c < length; ++c) {
        if (record.line[c] == ' ') {
            end = c;
            break;
        }
    }
    out.append(record.line, static_cast<std::size_t>(end));
    if (end < kKeptLineChars) {
        out.append(static_cast<std::size_t>(kKeptLineChars - end), ' ');
    }
    switch (record.status) {
        case kStatusValid: {
            const std::size_t country = strnlen(record.country, sizeof record.country);
            out += "   ";
            out.append(record.country, std::min<std::size_t>(country, 5));
            if (country < 5) {
                out.append(5 - country, ' ');
            }
            if (record.sameNumberFlag != 0) {
                out += "1!  0! ";
            } else {
                appendDecimal(out, record.points);
                if (record.points == 1) {
                    out += ' ';
                }
                out += "  ";
                appendDecimal(out, record.clubMult);
                out += "  ";
            }
            appendDecimal(out, record.dxccMult);
            out += "  ";
            break;
        }
        case kStatusDuplicate:
            out += "   === dubl ===";
            break;
        case kStatusOutOfBand:
            out += "   =mimo pasmo=";
            break;
        default:
            out += "   =jina chyba=";
            break;
    }
}

std::string protocolLine(const QsoRecord& record, std::int32_t exchStart) {
    std::string text;
    appendProtocolLine(text, record, exchStart);
    return text;
}

std::string writeProtocol(EvaluationState& state) {
    computeTotals(state);
    const EvaluationTotals& totals = state.totals;
    std::string out;
    out.reserve(kHeaderEntries * kHeaderEntrySize + 1024 +
                static_cast<std::size_t>(std::max(state.qsoTable.qsoCount, 0)) * kQsoLineBytes);
    out += utf8ToCp1250("Toto není deník, ale protokol o výpočtu!\n");
    appendCounter(out, "počet QSO=", totals.qsoTotal);
    appendCounter(out, "počet dublů=", totals.errorTotal);
    appendCounter(out, "počet bodů=", totals.pointsTotal);
    appendCounter(out, "počet zebů=počet násobičů ZEB=", totals.clubMultTotal);
    appendCounter(out, "počet zemí DXCC=počet násobičů DXCC=", totals.dxccMultTotal);
    appendCounter(out, "součet násobičů (DXCC + ZEB)=",
                  std::int64_t{totals.dxccMultTotal} + totals.clubMultTotal);
    if (totals.sameNumberCount != 0) {
        appendCounter(out, "Stejné ZEB pro různá call=", totals.sameNumberCount);
    }
    appendCounter(out, "výsledek=", totals.result);
    out.append(kRuleLength, '=');
    out += '\n';
    const HeaderLines& header = state.headerLines;
    for (int h = 0; h < header.headerLineCount && h < kHeaderEntries; ++h) {
        out += std::string(header.entries[h], strnlen(header.entries[h], kHeaderEntrySize));
    }
    for (const char* legendLine : kLegend) {
        out += legendLine;
        out += '\n';
    }
    out.append(kRuleLength, '-');
    out += '\n';
    for (int i = 0; i < state.qsoTable.qsoCount; ++i) {
        appendProtocolLine(out, state.qsoTable.slots[i], state.columns.exchStart);
        out += " \n";
    }
    out += "END-OF-LOG:\n";
    return out;
}

SaveOutcome saveProtocolCommand(EvaluationState& state, Window& window, Platform& platform,
                                const std::optional<std::string>& path) {
    if (!path) {
        return SaveOutcome::Cancelled;
    }
    if (platform.fileExists(*path) &&
        platform.messageDialog(texts::kFileExists, DialogKind::Confirmation,
                               DialogButtons::OkCancel) == DialogButton::Cancel) {
        return SaveOutcome::Declined;
    }
    const WriteOutcome written = platform.writeTextFile(*path, writeProtocol(state));
    if (!written.ok) {
        platform.messageDialog(
            texts::kProtocolNotWritten + utf8ToCp1250(*path) + "\n" + written.error,
            DialogKind::Error, DialogButtons::Ok);
        return SaveOutcome::Failed;
    }
    window.setLabelText(Label::povel, texts::kStatusSaved);
    return SaveOutcome::Saved;
}

}  // namespace zeb
