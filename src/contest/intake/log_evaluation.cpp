#include "contest/intake/log_evaluation.h"

#include <algorithm>
#include <cstring>

#include "contest/intake/batch_platform.h"
#include "intake/column_config_file.h"
#include "intake/load_command.h"
#include "platform/cp1250.h"
#include "platform/std_files.h"
#include "platform/translation.h"
#include "scoring/scoring_passes.h"
#include "state/decimal.h"
#include "state/headless_window.h"
#include "state/texts.h"
#include "state/window_logic.h"

namespace zeb::contest {

const char* outcomeName(LogOutcome outcome) {
    switch (outcome) {
        case LogOutcome::Scored:
            return N_("scored");
        case LogOutcome::Refused:
            return N_("refused");
        case LogOutcome::Unreadable:
            return N_("unreadable");
        case LogOutcome::Aborted:
            return N_("aborted");
    }
    return "";
}

const char* kindName(DialogKind kind) {
    switch (kind) {
        case DialogKind::Error:
            return N_("error");
        case DialogKind::Warning:
            return N_("warning");
        case DialogKind::Confirmation:
            return N_("confirmation");
    }
    return "";
}

namespace {

// Logs up to this size are read once, whole, and kept for the field reading; a larger file (the
// reader stops at 2000 QSO lines, but nothing limits what follows the end marker) is loaded from
// the file, and only its first part is kept.
constexpr std::size_t kKeptLogBytes = std::size_t{16} << 20;

}  // namespace

std::optional<std::string> headerCallBytes(const EvaluationState& state) {
    const HeaderLines& header = state.headerLines;
    const int count = std::min(header.headerLineCount, kHeaderEntries);
    for (int h = 0; h < count; ++h) {
        const char* entry = header.entries[h];
        const std::size_t length = strnlen(entry, kHeaderEntrySize);
        if (length < 9 || std::strncmp(entry, "CALLSIGN:", 9) != 0) {
            continue;
        }
        const std::vector<std::string_view> words =
            qsoWords(std::string_view(entry + 9, length - 9));
        if (words.empty()) {
            return std::nullopt;
        }
        return std::string(words.front());
    }
    return std::nullopt;
}

LogEvaluation evaluateLog(const std::string& log, const EvaluationSettings& settings,
                          const MessageSink& onMessage, const std::vector<int>& leftOut) {
    LogEvaluation result;
    result.log = log;
    result.state = makeEvaluationState();
    EvaluationState& state = *result.state;
    BatchPlatform platform(settings.unknownPrefix, onMessage);
    if (std::optional<FileBytes> file = readRegularFile(log, kKeptLogBytes)) {
        result.bytes = std::move(file->bytes);
        if (file->whole) {
            platform.preload(log, result.bytes);
        }
    }
    HeadlessWindow window(state, platform);
    formCreate(state, window);
    window.setOnly80m(settings.only80m);

    prepareLoad(state, window);
    const LoadOutcome loaded = loadLog(state, window, platform, log, true);
    if (loaded != LoadOutcome::Loaded) {
        result.outcome =
            loaded == LoadOutcome::Refused ? LogOutcome::Refused : LogOutcome::Unreadable;
        result.messages = platform.takeMessages();
        return result;
    }
    result.autoConfigRow = parseDecimal(window.editText(Edit::radek1));
    // The fallback is the only way the configuration warning comes up.
    const auto& messages = platform.messages();
    result.autoConfigSucceeded =
        std::none_of(messages.begin(), messages.end(), [](const DialogMessage& message) {
            return message.kind == DialogKind::Warning && message.text == texts::kAutoConfigFailed;
        });

    if (!leftOut.empty()) {
        removeQsos(state.qsoTable, leftOut);
    }
    if (settings.config) {
        result.configUnreadable = !loadColumnConfig(state, window, platform, settings.config);
    }
    if (settings.callStart) {
        window.setEditText(Edit::cstart, utf8ToCp1250(*settings.callStart));
    }
    if (settings.exchStart) {
        window.setEditText(Edit::istart, utf8ToCp1250(*settings.exchStart));
    }
    result.outcome =
        computeCommand(state, window, platform) ? LogOutcome::Scored : LogOutcome::Aborted;
    if (result.outcome == LogOutcome::Scored && leftOut.empty()) {
        // The lines are read whole from the file: the state keeps them cut.
        result.columnCheck =
            checkColumns(state, qsoLinesOf(result.bytes), headerCallBytes(state).value_or(""));
    }
    result.messages = platform.takeMessages();
    return result;
}

}  // namespace zeb::contest
