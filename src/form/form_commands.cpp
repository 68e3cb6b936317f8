#include "form/form_commands.h"

#include "intake/column_config_file.h"
#include "platform/cp1250.h"
#include "state/texts.h"

namespace zeb {

namespace {

const std::string kLogMask = "*.cbr";
const std::string kProtocolMask = "*.prn";
const std::string kConfigMask = "*.ini";

}  // namespace

LoadOutcome FormCommands::nactidenikClick(EvaluationState& state, Window& window,
                                          Platform& platform, const FileDialog& openLog) {
    prepareLoad(state, window);
    const std::optional<std::string> chosen = openLog(kLogMask);
    return loadLog(state, window, platform, chosen.value_or(kLogMask), chosen.has_value());
}

SaveOutcome FormCommands::bukladaniClick(EvaluationState& state, Window& window, Platform& platform,
                                         const FileDialog& saveProtocol) {
    const std::optional<std::string> chosen = saveProtocol(protocolName_.value_or(kProtocolMask));
    if (chosen) {
        protocolName_ = chosen;
    }
    return saveProtocolCommand(state, window, platform, chosen);
}

void FormCommands::Button2Click(const EvaluationState& state, Platform& platform,
                                const FileDialog& saveConfig) {
    const std::optional<std::string> chosen = saveConfig(configSaveName_.value_or(kConfigMask));
    if (!chosen) {
        return;
    }
    configSaveName_ = chosen;
    const WriteOutcome written = saveColumnConfig(state, platform, chosen);
    if (!written.ok) {
        platform.messageDialog(
            texts::kConfigNotWritten + utf8ToCp1250(*chosen) + "\n" + written.error,
            DialogKind::Error, DialogButtons::Ok);
    }
}

void FormCommands::Button3Click(EvaluationState& state, Window& window, Platform& platform,
                                const FileDialog& openConfig) {
    const std::optional<std::string> chosen = openConfig(configOpenName_.value_or(kConfigMask));
    if (chosen) {
        configOpenName_ = chosen;
    }
    loadColumnConfig(state, window, platform, configOpenName_);
}

void FormCommands::offerConfigFile(const std::string& path) {
    configSaveName_ = path;
    configOpenName_ = path;
}

void FormCommands::useEvaluatedColumns(EvaluationState& state, Window& window, Platform& platform,
                                       const EvaluatedLog& log) {
    if (log.config) {
        loadColumnConfig(state, window, platform, *log.config);
    }
    if (log.callStart) {
        window.setEditText(Edit::cstart, utf8ToCp1250(*log.callStart));
    }
    if (log.exchStart) {
        window.setEditText(Edit::istart, utf8ToCp1250(*log.exchStart));
    }
    offerConfigFile(log.configBeside);
}

}  // namespace zeb
