#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

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

// Runs zebscore on the logs with its output thrown away, as a script would.
int runZebscore(const std::vector<std::string>& logs) {
    std::vector<std::string> args = {ZEBSCORE_BINARY, "--json"};
    args.insert(args.end(), logs.begin(), logs.end());
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

}  // namespace
}  // namespace zeb::bench
