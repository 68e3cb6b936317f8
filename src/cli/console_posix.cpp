// The process and console of zebscore on POSIX systems, where arguments and terminals are UTF-8
// bytes already.

#include <unistd.h>

#include "cli/console.h"

namespace zeb::cli {

std::vector<std::string> programArguments(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return args;
}

void prepareConsole(std::ostream&, std::ostream&) {}

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

std::optional<int> runInOwnConsole(const std::vector<std::string>&, std::ostream&, std::ostream&) {
    return std::nullopt;
}

}  // namespace zeb::cli
