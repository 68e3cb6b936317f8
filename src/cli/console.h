#pragma once

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

}  // namespace zeb::cli
