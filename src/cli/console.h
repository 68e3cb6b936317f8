#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zeb::cli {

// What zebscore needs of the system's process and console, one source file per system.

// The arguments after the program name, in UTF-8 whatever the system's code page.
std::vector<std::string> programArguments(int argc, char** argv);

// Makes `out` and `err`, the streams of standard output and standard error, carry the program's
// UTF-8 bytes unchanged: to a file or pipe as they are, to a console as the letters they stand
// for. Called before anything is written.
void prepareConsole(std::ostream& out, std::ostream& err);

// Whether standard error is a terminal on which the progress line can be redrawn in place.
bool standardErrorIsTerminal();

// zebscore in a console of its own, which the system made when the file manager started it (a
// folder dropped onto it) and which closes when it ends: a folder as the only argument is the
// whole contest in it (droppedFolderCommand), whose index page is then opened in the browser; any
// other arguments run as they are. Either way the console stays open until a key is pressed, so
// that the evaluator can read what was said. Nothing happens, and nothing is returned, when the
// program shares the console or terminal it was started from, as it always does on POSIX systems.
std::optional<int> runInOwnConsole(const std::vector<std::string>& args, std::ostream& out,
                                   std::ostream& err);

}  // namespace zeb::cli
