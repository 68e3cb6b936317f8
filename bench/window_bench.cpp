#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QTableView>
#include <filesystem>
#include <optional>

#include "synthetic_log.h"
#include "ui/contest_window.h"

namespace zeb::bench {
namespace {

namespace fs = std::filesystem;

// No folder dialog or question comes up in a benchmark.
class NoDialogs final : public FolderDialogs, public ClosingQuestion, public ReasonQuestion {
  public:
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    ClosingAnswer askBeforeClosing(QWidget*, const QString&, const QString&) override {
        return ClosingAnswer::CloseWithoutSaving;
    }
    std::optional<QString> askReason(QWidget*, const QString&, const QString&,
                                     const QString&) override {
        return std::nullopt;
    }
};

// From opening the folder of the contest of 500 stations of 300 QSOs in the contest window to
// its table of every log, the event loop running meanwhile as it does for the evaluator: with
// every log repaired into an empty output folder (0), and with the copies of a run before, taken
// as they stand (1).
void BM_ContestWindowFullTable(benchmark::State& run) {
    constexpr int kStations = 500;
    const fs::path folder = fs::temp_directory_path() / "zeb-bench-contest-500x300";
    syntheticContestFolder(folder.string(), kStations, 300);
    NoDialogs dialogs;
    ContestWindow window(dialogs, dialogs, dialogs);
    window.show();
    const QAbstractItemModel* table = window.findChild<QTableView*>("tabulka")->model();
    for (auto _ : run) {
        if (run.range(0) == 0) {
            run.PauseTiming();
            fs::remove_all(folder / "vyhodnoceni");
            run.ResumeTiming();
        }
        window.openPaths({QString::fromStdString(folder.string())});
        while (window.busy()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
        if (table->rowCount() != kStations) {
            run.SkipWithError("the table does not show every log");
            break;
        }
    }
    run.SetItemsProcessed(run.iterations() * kStations);
}
BENCHMARK(BM_ContestWindowFullTable)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
}  // namespace zeb::bench

int main(int argc, char** argv) {
    // A window without a screen, unless one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
