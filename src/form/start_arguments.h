#pragma once

#include <string>
#include <vector>

namespace zeb {

// The form (with a log or without), the contest window, or an answer without a window.
enum class StartRequest { Window, Contest, Help, Version, UsageError };

struct StartArguments {
    StartRequest request = StartRequest::Window;
    // The one log of the form, or the folders and logs of the contest window (none: ask for one).
    std::vector<std::string> paths;
    std::string error;  // the usage error, without the program name, in the user's language
};

// Reads zebcontest's arguments (UTF-8), the program's name first. --help and --version win
// wherever they stand before "--", so that they are found also among a toolkit's own options before
// it has taken those out; an unknown option is a usage error. One LOG opens the form; a FOLDER,
// more than one LOG, or --contest opens the contest window.
StartArguments readStartArguments(const std::vector<std::string>& arguments);

// Whether paths given to the form, on its command line or dropped onto it, open the contest
// window: a folder, or more than one path.
bool opensContest(const std::vector<std::string>& paths);

// The text of --help, in the user's language; `toolkitOptions` where the window's toolkit takes
// options of its own.
std::string zebcontestHelp(bool toolkitOptions = true);

}  // namespace zeb
