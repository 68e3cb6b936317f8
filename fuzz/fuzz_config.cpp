// The column configuration file given as bytes, applied to a small fixed log: first read straight
// into the columns (so that any value, INT_MIN and INT_MAX included, reaches the computation),
// then loaded again as "Načti konfiguraci" does, through the start edits. Each time a computation
// and a protocol follow.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "fuzz_support.h"
#include "intake/column_config_file.h"
#include "intake/load_command.h"
#include "report/protocol.h"
#include "scoring/scoring_passes.h"
#include "state/headless_window.h"
#include "state/window_logic.h"

namespace {

// Lines of every kind the columns can meet: the template line, a member on another band, a
// duplicate, a shared member number, a line of 80 characters without a space, a bare tag, one
// outside the bands and a call without a known prefix.
constexpr std::string_view kLog =
    "START-OF-LOG: 3.0\n"
    "CALLSIGN: HC8N\n"
    "CONTEST: ZEB-QSO-PARTY\n"
    "QSO:  3799 PH 1999-03-06 0711 HC8N          59  001    W1AW          59  001    0\n"
    "QSO: 14020 CW 1999-03-06 0712 HC8N          599 001    OK1ABC        599 0042\n"
    "QSO:  3799 PH 1999-03-06 0713 HC8N          59  001    W1AW          59  001\n"
    "QSO:  3700 PH 1999-03-06 0714 HC8N          59  001    DL1XYZ        59  42\n"
    "QSO:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\n"
    "QSO:\n"
    "QSO:  1850 CW 1999-03-06 0715 HC8N          599 001    OK2XX         599 NM\n"
    "QSO: 28500 PH 1999-03-06 0716 HC8N          59  001    Q0QQ          59  12345678901234\n"
    "END-OF-LOG:\n";

// The config file is read from the fuzz input; the log from the fixed text.
class ConfigPlatform final : public zeb::Platform {
  public:
    ConfigPlatform(zeb::fuzz::MemoryPlatform& logs, std::string_view config)
        : logs_(logs), config_(config) {}
    zeb::DialogButton messageDialog(const std::string& text, zeb::DialogKind kind,
                                    zeb::DialogButtons buttons) override {
        return logs_.messageDialog(text, kind, buttons);
    }
    void endProcess(int exitCode) override { logs_.endProcess(exitCode); }
    std::unique_ptr<zeb::TextInput> openTextForReading(const std::string& path) override {
        if (path == "columns.ini") {
            return std::make_unique<zeb::MemoryTextInput>(std::string(config_));
        }
        return logs_.openTextForReading(path);
    }
    bool fileExists(const std::string&) override { return false; }
    zeb::WriteOutcome writeTextFile(const std::string& path, const std::string& content) override {
        return logs_.writeTextFile(path, content);
    }

  private:
    zeb::fuzz::MemoryPlatform& logs_;
    std::string_view config_;
};

void computeAndWrite(zeb::EvaluationState& state, zeb::Window& window, zeb::Platform& platform) {
    ZEB_FUZZ_CHECK(zeb::computeCommand(state, window, platform));
    zeb::fuzz::checkComputation(state);
    zeb::fuzz::checkProtocol(state, zeb::writeProtocol(state));
}

// The fixed log is loaded once; every input then starts from the records, columns and totals
// of that load, which are all that the computations and the configuration change.
struct LoadedLog {
    LoadedLog() {
        using namespace zeb;
        EvaluationState& state = fuzz::sharedState();
        resetToProgramStart(state);
        fuzz::MemoryPlatform logs(kLog);
        HeadlessWindow window(state, logs);
        formCreate(state, window);
        prepareLoad(state, window);
        ZEB_FUZZ_CHECK(loadLog(state, window, logs, "fixed.cbr", true) == LoadOutcome::Loaded);
        ZEB_FUZZ_CHECK(state.qsoTable.qsoCount <= kRecords);
        std::memcpy(records, state.qsoTable.slots, sizeof records);
        columns = state.columns;
        totals = state.totals;
    }
    void restore(zeb::EvaluationState& state) const {
        std::memcpy(state.qsoTable.slots, records, sizeof records);
        state.columns = columns;
        state.totals = totals;
    }
    static constexpr int kRecords = 10;
    zeb::QsoRecord records[kRecords];
    zeb::ColumnConfig columns;
    zeb::EvaluationTotals totals;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zeb;
    static const LoadedLog loaded;
    const std::string_view config(reinterpret_cast<const char*>(data), size);
    EvaluationState& state = fuzz::sharedState();
    loaded.restore(state);
    fuzz::MemoryPlatform logs(kLog);
    ConfigPlatform platform(logs, config);
    HeadlessWindow window(state, platform);

    MemoryTextInput input{std::string(config)};
    ColumnConfig read = state.columns;
    const int values = readColumnConfig(input, read);
    ZEB_FUZZ_CHECK(values >= 0 && values <= 4);
    state.columns = read;
    computeAndWrite(state, window, platform);

    // Through the window: the start edits show the columns and read them back, as at most their
    // first nine characters. Only columns that this changed need another computation.
    ZEB_FUZZ_CHECK(loadColumnConfig(state, window, platform, "columns.ini"));
    ZEB_FUZZ_CHECK(state.columns.callWidth == read.callWidth);
    ZEB_FUZZ_CHECK(state.columns.exchWidth == read.exchWidth);
    for (const auto& [edit, start] : {std::pair{Edit::cstart, state.columns.callStart},
                                      std::pair{Edit::istart, state.columns.exchStart}}) {
        const std::string shown = window.editText(edit);
        ZEB_FUZZ_CHECK(shown.size() > 9 || shown == formatDecimal(start));
    }
    if (!(state.columns == read)) {
        computeAndWrite(state, window, platform);
    }
    return 0;
}
