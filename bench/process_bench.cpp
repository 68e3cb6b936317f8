#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "synthetic_log.h"

extern char** environ;

namespace zeb::bench {
namespace {

namespace fs = std::filesystem;

// A folder of `logCount` synthetic logs of `qsoCount` QSOs each, made once and kept for later
// runs (the logs are the same for the same size).
std::vector<std::string> logsOf(int qsoCount, int logCount) {
    const fs::path folder =
        fs::temp_directory_path() /
        ("zeb-bench-logs-" + std::to_string(qsoCount) + "x" + std::to_string(logCount));
    fs::create_directories(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < logCount; ++i) {
        const fs::path path = folder / ("log" + std::to_string(i) + ".cbr");
        if (!fs::exists(path)) {
            std::ofstream(path, std::ios::binary) << syntheticLog(qsoCount, 1 + i);
        }
        paths.push_back(path.string());
    }
    return paths;
}

// The zebscore to run: the one built beside the benchmarks, or ZEB_BENCH_ZEBSCORE, so that the
// process benchmarks of two builds can be compared on one machine.
std::string zebscoreBinary() {
    const char* other = std::getenv("ZEB_BENCH_ZEBSCORE");
    return other != nullptr && *other != '\0' ? other : ZEBSCORE_BINARY;
}

// Runs a program with its output thrown away, as a script would; its exit status, or -1.
int runQuietly(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runZebscore(const std::vector<std::string>& options, const std::vector<std::string>& logs) {
    std::vector<std::string> args = {zebscoreBinary()};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), logs.begin(), logs.end());
    return runQuietly(args);
}

int runZebscore(const std::vector<std::string>& logs) {
    return runZebscore({"--json"}, logs);
}

void BM_ZebscoreOneLog(benchmark::State& run) {
    const std::vector<std::string> logs = logsOf(static_cast<int>(run.range(0)), 1);
    for (auto _ : run) {
        if (runZebscore(logs) < 0) {
            run.SkipWithError("zebscore did not run");
            break;
        }
    }
    run.SetItemsProcessed(run.iterations() * run.range(0));
}
BENCHMARK(BM_ZebscoreOneLog)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Zebscore200Logs(benchmark::State& run) {
    const std::vector<std::string> logs = logsOf(static_cast<int>(run.range(0)), 200);
    for (auto _ : run) {
        if (runZebscore(logs) < 0) {
            run.SkipWithError("zebscore did not run");
            break;
        }
    }
    run.SetItemsProcessed(run.iterations() * run.range(0) * 200);
}
BENCHMARK(BM_Zebscore200Logs)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// The floor of one log is reading it, as `cat` does. Each iteration runs `cat` and then zebscore
// writing the protocol of the same log, so that a machine busy with other work slows both alike;
// the time shown is zebscore's, `cat_ms` is cat's and `ratio` the quotient of their sums.
void BM_ZebscoreOneLogNextToCat(benchmark::State& run) {
    using Clock = std::chrono::steady_clock;
    const std::vector<std::string> logs = logsOf(static_cast<int>(run.range(0)), 1);
    Clock::duration cat{};
    Clock::duration zebscore{};
    for (auto _ : run) {
        const Clock::time_point start = Clock::now();
        const int catStatus = runQuietly({"/bin/cat", logs[0]});
        const Clock::time_point between = Clock::now();
        const int zebscoreStatus = runZebscore({"-o", "-"}, logs);
        const Clock::time_point end = Clock::now();
        if (catStatus != 0 || zebscoreStatus != 0) {
            run.SkipWithError("cat or zebscore failed");
            break;
        }
        cat += between - start;
        zebscore += end - between;
        run.SetIterationTime(std::chrono::duration<double>(end - between).count());
    }
    if (run.iterations() > 0 && cat.count() > 0) {
        run.counters["cat_ms"] = std::chrono::duration<double, std::milli>(cat).count() /
                                 static_cast<double>(run.iterations());
        run.counters["ratio"] =
            static_cast<double>(zebscore.count()) / static_cast<double>(cat.count());
    }
    run.SetItemsProcessed(run.iterations() * run.range(0));
}
BENCHMARK(BM_ZebscoreOneLogNextToCat)
    ->Arg(250)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// A whole contest of 500 stations of 300 QSOs in one process: the results table alone (0), with
// the cross-check of all logs against each other (1), with the repair of every log before (2),
// and the whole contest into one folder (3): the repair, the cross-check with the checked results,
// the protocols, the entrant reports and the index page.
void BM_ZebscoreContest(benchmark::State& run) {
    constexpr int kStations = 500;
    constexpr int kQsos = 300;
    const fs::path folder = fs::temp_directory_path() / "zeb-bench-contest-500x300";
    const std::vector<std::string> logs = syntheticContestFolder(folder.string(), kStations, kQsos);
    const auto in = [&](const char* name) { return (folder / name).string(); };
    std::vector<std::string> options = {"--force"};
    if (run.range(0) == 3) {
        options.insert(options.end(), {"--contest", in("contest")});
    } else {
        options.insert(options.end(), {"--results", in("results.csv")});
    }
    if (run.range(0) == 1 || run.range(0) == 2) {
        options.insert(options.end(), {"--cross-check", in("cross-check.csv")});
    }
    if (run.range(0) == 2) {
        options.insert(options.end(), {"--repair", in("fixed")});
    }
    for (auto _ : run) {
        if (runZebscore(options, logs) != 0) {
            run.SkipWithError("zebscore did not score every log");
            break;
        }
    }
    run.SetItemsProcessed(run.iterations() * kStations * kQsos);
}
BENCHMARK(BM_ZebscoreContest)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace
}  // namespace zeb::bench
