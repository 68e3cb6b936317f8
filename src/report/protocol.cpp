#include "report/protocol.h"

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

void appendCounter(std::string& out, const char* label, std::int64_t value) {
    out += utf8ToCp1250(label);
    out += formatDecimal(value);
    out += '\n';
}

}  // namespace

std::string protocolLine(const QsoRecord& record, std::int32_t exchStart) {
    char line[kLineBufferSize];
    std::memcpy(line, record.line, kLineBufferSize);
    const auto length = static_cast<std::int64_t>(strnlen(line, kLineBufferSize));
    for (std::int64_t c = exchStart; c < std::int64_t{exchStart} + 10 && c < length; ++c) {
        if (c >= 0 && line[c] == ' ') {
            line[c] = '\0';
        }
    }
    std::string text(line, strnlen(line, kLineBufferSize));
    if (text.size() < kKeptLineChars) {
        text.append(kKeptLineChars - text.size(), ' ');
    }
    switch (record.status) {
        case kStatusValid: {
            std::string country(record.country, strnlen(record.country, sizeof record.country));
            country.resize(5, ' ');
            text += "   " + country;
            if (record.sameNumberFlag != 0) {
                text += "1!  0! ";
            } else {
                text += formatDecimal(record.points);
                if (record.points == 1) {
                    text += ' ';
                }
                text += "  " + formatDecimal(record.clubMult) + "  ";
            }
            text += formatDecimal(record.dxccMult) + "  ";
            break;
        }
        case kStatusDuplicate:
            text += "   === dubl ===";
            break;
        case kStatusOutOfBand:
            text += "   =mimo pasmo=";
            break;
        default:
            text += "   =jina chyba=";
            break;
    }
    return text;
}

std::string writeProtocol(EvaluationState& state) {
    computeTotals(state);
    const EvaluationTotals& totals = state.totals;
    std::string out = utf8ToCp1250("Toto není deník, ale protokol o výpočtu!\n");
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
        out += protocolLine(state.qsoTable.slots[i], state.columns.exchStart);
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
