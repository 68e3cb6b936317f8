#include "contest/log_evaluation.h"

#include <algorithm>

#include "contest/batch_platform.h"
#include "intake/column_config_file.h"
#include "intake/load_command.h"
#include "platform/cp1250.h"
#include "scoring/scoring_passes.h"
#include "state/decimal.h"
#include "state/headless_window.h"
#include "state/texts.h"
#include "state/window_logic.h"

namespace zeb::contest {

const char* outcomeName(LogOutcome outcome) {
    switch (outcome) {
        case LogOutcome::Scored:
            return "scored";
        case LogOutcome::Refused:
            return "refused";
        case LogOutcome::Unreadable:
            return "unreadable";
        case LogOutcome::Aborted:
            return "aborted";
    }
    return "";
}

const char* kindName(DialogKind kind) {
    switch (kind) {
        case DialogKind::Error:
            return "error";
        case DialogKind::Warning:
            return "warning";
        case DialogKind::Confirmation:
            return "confirmation";
    }
    return "";
}

LogEvaluation evaluateLog(const std::string& log, const EvaluationSettings& settings,
                          const MessageSink& onMessage) {
    LogEvaluation result;
    result.log = log;
    result.state = makeEvaluationState();
    EvaluationState& state = *result.state;
    BatchPlatform platform(settings.unknownPrefix, onMessage);
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
    result.messages = platform.takeMessages();
    return result;
}

}  // namespace zeb::contest
