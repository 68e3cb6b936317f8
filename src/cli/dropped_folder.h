#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zeb::cli {

// A folder dropped onto zebscore.exe in the file manager arrives as the only argument. The command
// line that evaluates it as "--contest RESULTS FOLDER" does, RESULTS being a folder inside it
// (kDroppedResults, or with "-2", "-3"... where a file has that name); nothing when the arguments
// are not one folder.
std::optional<std::vector<std::string>> droppedFolderCommand(const std::vector<std::string>& args);

inline constexpr const char* kDroppedResults = "výsledky";

}  // namespace zeb::cli
