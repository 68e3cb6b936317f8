#include "intake/cabrillo_reader.h"

#include <algorithm>
#include <cstring>

#include "state/decimal.h"
#include "state/texts.h"

namespace zeb {

namespace {

void startSlot(QsoRecord& slot) {
    slot.status = 0;
    slot.points = 0;
    slot.clubMult = 0;
    slot.dxccMult = 0;
    slot.freqText[0] = '\0';
    slot.callText[0] = '\0';
    slot.exchText[0] = '\0';
    std::memset(slot.country, ' ', kCountryChars);
    slot.country[kCountryChars] = '\0';
    std::memset(slot.line, ' ', kLineFillColumns);
    slot.line[kLineFillColumns] = '\0';
}

// Header entries keep the first 148 characters of a line and its line feed.
void copyIntoHeader(char* entry, int column, char c) {
    if (column < kHeaderLineChars) {
        entry[column] = c;
        entry[column + 1] = '\0';
    } else if (c == '\n') {
        entry[kHeaderLineChars] = '\n';
        entry[kHeaderLineChars + 1] = '\0';
    }
}

int refuse(Platform& platform, const std::string& message, DialogButtons buttons) {
    platform.messageDialog(message, DialogKind::Error, buttons);
    platform.endProcess(0);
    return kReadRefused;
}

}  // namespace

int readCabrilloLog(EvaluationState& state, Platform& platform, TextInput* input) {
    if (input == nullptr) {
        platform.messageDialog(texts::kCannotOpenLog, DialogKind::Error, DialogButtons::Abort);
        return kReadCannotOpen;
    }
    QsoTable& table = state.qsoTable;
    HeaderLines& header = state.headerLines;
    int kept = 0;
    int lineNumber = 0;
    bool done = false;
    while (!done) {
        ++lineNumber;
        if (kept > kMaxQsoLines) {
            return refuse(platform, texts::kTooManyQsos, DialogButtons::Ok);
        }
        QsoRecord& slot = table.slots[kept];
        table.slotsInUse = std::max(table.slotsInUse, kept + 1);
        startSlot(slot);
        int column = 0;
        for (; column < kRawLineChars; ++column) {
            const int c = input->get();
            const char stored = static_cast<char>(c);
            slot.line[column] = stored;
            if (c == '\t') {
                return refuse(
                    platform,
                    texts::kTabOnLinePrefix + formatDecimal(lineNumber) + texts::kTabOnLineSuffix,
                    DialogButtons::Abort);
            }
            if (kept == 0) {
                // Line 27 at the latest ends the reading here, so the entry index stays below 27.
                copyIntoHeader(header.entries[lineNumber - 1], column, stored);
                header.headerLineCount = lineNumber - 1;
                if (lineNumber - 1 > kMaxHeaderLines) {
                    return refuse(platform, texts::kNoQsoIn25Lines, DialogButtons::Ok);
                }
            }
            // The marker is complete at the tenth character; later ones do not change the first
            // ten, and before it the fill of spaces stands where the marker has none.
            if (column == 9 && std::memcmp(slot.line, "END-OF-LOG", 10) == 0) {
                table.qsoCount = kept;
                done = true;
                break;
            }
            if (c == kEndOfFile) {
                return refuse(platform, texts::kNoEndMarker, DialogButtons::Abort);
            }
            if (c == '\n') {
                slot.line[column] = '\0';
                break;
            }
        }
        if (column == kRawLineChars) {
            slot.line[kRawLineChars] = '\0';
        }
        if (!done && std::memcmp(slot.line, "QSO:", 4) == 0) {
            ++kept;
        }
    }
    std::memcpy(state.displayLine, table.slots[0].line, kLineBufferSize);
    return kReadOk;
}

void cutAndTrimQsoLines(EvaluationState& state, Platform& platform) {
    QsoTable& table = state.qsoTable;
    state.longLineFound = false;
    for (int i = 0; i < table.qsoCount; ++i) {
        char* line = table.slots[i].line;
        if (strnlen(line, kLineBufferSize) > kKeptLineChars) {
            state.longLineFound = true;
        }
        line[kKeptLineChars] = '\0';
    }
    if (state.longLineFound) {
        platform.messageDialog(texts::kLongLinesCut, DialogKind::Warning, DialogButtons::Ok);
    }
    for (int i = 0; i < table.qsoCount; ++i) {
        char* line = table.slots[i].line;
        std::size_t length = strnlen(line, kLineBufferSize);
        while (length > 0 && (line[length - 1] == ' ' || line[length - 1] == '\n')) {
            line[--length] = '\0';
        }
    }
}

}  // namespace zeb
