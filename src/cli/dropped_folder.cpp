#include "cli/dropped_folder.h"

#include <filesystem>
#include <system_error>

#include "platform/paths.h"

namespace zeb::cli {

std::optional<std::vector<std::string>> droppedFolderCommand(const std::vector<std::string>& args) {
    std::error_code error;
    if (args.size() != 1 || !std::filesystem::is_directory(pathFromUtf8(args[0]), error)) {
        return std::nullopt;
    }
    const std::string& folder = args[0];
    // The logs are the files directly in the folder; the results folder is none of them, and a
    // second drop writes into the same one.
    std::string results = pathInFolder(folder, kDroppedResults);
    for (int n = 2; std::filesystem::exists(pathFromUtf8(results), error) &&
                    !std::filesystem::is_directory(pathFromUtf8(results), error);
         ++n) {
        results = pathInFolder(folder, std::string(kDroppedResults) + "-" + std::to_string(n));
    }
    return std::vector<std::string>{"--contest", results, folder};
}

}  // namespace zeb::cli
