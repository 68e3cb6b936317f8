#include "intake/load_command.h"

#include "intake/auto_config.h"
#include "intake/cabrillo_reader.h"
#include "platform/paths.h"
#include "state/texts.h"
#include "state/window_logic.h"

namespace zeb {

void prepareLoad(EvaluationState& state, Window& window) {
    clearResultLabels(window);
    resetLoadCounters(state);
    state.columns = kLoadColumns;
    clearQsoTable(state.qsoTable);
}

std::string baseName(const std::string& path) {
    // The system's own separators: on Windows a backslash as well as a slash.
    return utf8FromPath(pathFromUtf8(path).filename());
}

LoadOutcome loadLog(EvaluationState& state, Window& window, Platform& platform,
                    const std::string& fileName, bool chosen) {
    int readResult = kReadCannotOpen;
    {
        const std::unique_ptr<TextInput> input =
            chosen ? platform.openTextForReading(fileName) : nullptr;
        readResult = readCabrilloLog(state, platform, input.get());
    }
    if (readResult == kReadRefused) {
        return LoadOutcome::Refused;
    }
    cutAndTrimQsoLines(state, platform);
    window.setCaption(baseName(fileName));
    const bool loaded = readResult == kReadOk;
    if (loaded) {
        findColumns(state, window, platform);
    }
    setzeb(state, window);
    setcall(state, window);
    window.setEnabled(Control::bvypocet, loaded);
    window.setEnabled(Control::bukladani, false);
    window.setEnabled(Control::radek1, loaded);
    window.setLabelText(Label::povel, loaded ? texts::kStatusLoaded : texts::kStatusLoadFailed);
    window.showConfigurationPage();
    return loaded ? LoadOutcome::Loaded : LoadOutcome::CannotOpen;
}

}  // namespace zeb
