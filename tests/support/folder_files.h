#pragma once

#include <map>
#include <string>

namespace zeb::test {

// Every regular file under `folder`, by its path relative to it, with its bytes.
using FolderFiles = std::map<std::string, std::string>;
FolderFiles filesUnder(const std::string& folder);

// The files that are in only one of the two or differ, one name a line ("only in first: NAME",
// "only in second: NAME", "differs: NAME"); empty when the two are the same.
std::string folderDifferences(const FolderFiles& first, const FolderFiles& second);

}  // namespace zeb::test
