#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "intake/load_command.h"
#include "platform/text_input.h"
#include "report/protocol.h"
#include "scoring/scoring_passes.h"
#include "state/headless_window.h"
#include "state/window_logic.h"
#include "synthetic_log.h"

namespace zeb::bench {
namespace {

// Serves one log from memory and answers every question as zebscore does by default.
class MemoryPlatform final : public Platform {
  public:
    explicit MemoryPlatform(std::string log) : log_(std::move(log)) {}
    DialogButton messageDialog(const std::string&, DialogKind, DialogButtons buttons) override {
        return buttons == DialogButtons::AbortIgnore ? DialogButton::Ignore : DialogButton::Ok;
    }
    void endProcess(int) override {}
    std::unique_ptr<TextInput> openTextForReading(const std::string&) override {
        return std::make_unique<MemoryTextInput>(log_);
    }
    bool fileExists(const std::string&) override { return false; }
    WriteOutcome writeTextFile(const std::string&, const std::string&) override { return {}; }

  private:
    std::string log_;
};

struct Bench {
    explicit Bench(int qsoCount, unsigned seed = 1)
        : state(makeEvaluationState()),
          platform(syntheticLog(qsoCount, seed)),
          window(*state, platform) {
        formCreate(*state, window);
    }
    void load() {
        prepareLoad(*state, window);
        loadLog(*state, window, platform, "bench.cbr", true);
    }
    std::unique_ptr<EvaluationState> state;
    MemoryPlatform platform;
    HeadlessWindow window;
};

void sizes(benchmark::internal::Benchmark* b) {
    for (const int qsos : {250, 500, 1000, 2000}) {
        b->Arg(qsos);
    }
    b->Unit(benchmark::kMicrosecond);
}

void BM_LoadAndFindColumns(benchmark::State& run) {
    Bench bench(static_cast<int>(run.range(0)));
    for (auto _ : run) {
        bench.load();
        benchmark::DoNotOptimize(bench.state->columns);
    }
    run.SetItemsProcessed(run.iterations() * run.range(0));
}
BENCHMARK(BM_LoadAndFindColumns)->Apply(sizes);

void BM_Compute(benchmark::State& run) {
    Bench bench(static_cast<int>(run.range(0)));
    bench.load();
    for (auto _ : run) {
        computeCommand(*bench.state, bench.window, bench.platform);
        benchmark::DoNotOptimize(bench.state->totals);
    }
    run.SetItemsProcessed(run.iterations() * run.range(0));
}
BENCHMARK(BM_Compute)->Apply(sizes);

// Computing one log again and again keeps a short log's state in the cache and its branches
// learnt, which a log of 2000 QSOs outgrows; sixteen logs in turn cost per QSO what a log computed
// once does, at every size.
void BM_ComputeSixteenLogsInTurn(benchmark::State& run) {
    std::vector<std::unique_ptr<Bench>> logs;
    for (unsigned seed = 1; seed <= 16; ++seed) {
        logs.push_back(std::make_unique<Bench>(static_cast<int>(run.range(0)), seed));
        logs.back()->load();
    }
    std::size_t next = 0;
    for (auto _ : run) {
        Bench& bench = *logs[next++ % logs.size()];
        computeCommand(*bench.state, bench.window, bench.platform);
        benchmark::DoNotOptimize(bench.state->totals);
    }
    run.SetItemsProcessed(run.iterations() * run.range(0));
}
BENCHMARK(BM_ComputeSixteenLogsInTurn)->Apply(sizes);

void BM_WriteProtocol(benchmark::State& run) {
    Bench bench(static_cast<int>(run.range(0)));
    bench.load();
    computeCommand(*bench.state, bench.window, bench.platform);
    for (auto _ : run) {
        std::string protocol = writeProtocol(*bench.state);
        benchmark::DoNotOptimize(protocol);
    }
    run.SetItemsProcessed(run.iterations() * run.range(0));
}
BENCHMARK(BM_WriteProtocol)->Apply(sizes);

}  // namespace
}  // namespace zeb::bench
