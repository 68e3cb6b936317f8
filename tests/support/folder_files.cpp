#include "support/folder_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zeb::test {

namespace fs = std::filesystem;

FolderFiles filesUnder(const std::string& folder) {
    FolderFiles files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[fs::relative(entry.path(), folder).generic_string()] =
                std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    return files;
}

std::string folderDifferences(const FolderFiles& first, const FolderFiles& second) {
    std::string text;
    for (const auto& [name, bytes] : first) {
        const auto other = second.find(name);
        if (other == second.end()) {
            text += "only in first: " + name + "\n";
        } else if (other->second != bytes) {
            text += "differs: " + name + "\n";
        }
    }
    for (const auto& [name, bytes] : second) {
        if (first.find(name) == first.end()) {
            text += "only in second: " + name + "\n";
        }
    }
    return text;
}

}  // namespace zeb::test
