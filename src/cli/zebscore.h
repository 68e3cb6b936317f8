#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zeb::cli {

inline constexpr int kExitScored = 0;
inline constexpr int kExitFailure = 1;  // usage error, or a file that could not be read or written
inline constexpr int kExitRefused = 2;
// A LOG or FOLDER of a contest that is not there: nothing is written.
inline constexpr int kExitNoSuchInput = 2;
inline constexpr int kExitAborted = 3;
inline constexpr int kExitInterrupted = 130;  // 128 + SIGINT, as a shell reports Ctrl-C

// zebscore with the arguments after the program name; returns the exit status. Protocols on
// standard output, JSON and the answer lines go to `out`, every message to `err`. The progress line
// is shown only when `errIsTerminal`; the second form asks the system whether standard error is a
// terminal.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool errIsTerminal = false);
// The process: also stops between two logs on Ctrl-C.
int run(int argc, char** argv, std::ostream& out, std::ostream& err);

// DIR/NAME.prn, NAME being the log's file name without its extension.
std::string protocolPathIn(const std::string& dir, const std::string& log);

}  // namespace zeb::cli
