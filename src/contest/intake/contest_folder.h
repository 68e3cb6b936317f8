#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb::contest {

// The folders and files of a whole contest under its output folder OUT.
struct ContestFolder {
    std::string out;

    std::string fixed() const;      // OUT/fixed: the repaired copies
    std::string protocols() const;  // OUT/protocols
    std::string entrants() const;   // OUT/entrants
    std::string index() const;      // OUT/index.html
    std::string decisions() const;  // OUT/decisions.txt: the evaluator's decisions
    // OUT/results.EXT and OUT/cross-check.EXT, in the order html, csv, txt.
    std::vector<std::string> results() const;
    std::vector<std::string> crossChecks() const;
};

// A file of a folder of logs that is not taken as a log, and why, in Czech.
struct OtherFile {
    std::string path;
    std::string reason;
};

// What a folder of logs holds: its logs, and every other file and sub-folder with its reason.
struct FolderContents {
    std::vector<std::string> logs;  // in the order of their names
    std::vector<OtherFile> others;  // likewise
};

// The logs of a folder, not entering its sub-folders: every regular file whose name ends in ".cbr"
// or ".log" in any case, and any other whose first lines make it a Cabrillo log ("START-OF-LOG:"
// or "QSO:" lines, after a byte order mark or blank lines), whatever its name. Every other entry is
// an OtherFile, with its reason: an archive to unpack, an ADIF file, a document, an empty file, a
// sub-folder. Hidden files, the lock and backup files of editors and the folders in `skip` (the
// output folder of the contest, when it lies inside) are passed over. Nothing when it is no folder.
std::optional<FolderContents> scanLogsFolder(const std::string& folder,
                                             const std::vector<std::string>& skip = {});

// Why a file that is not named as a log is none, or nothing when its first bytes are those of a
// Cabrillo log. `name` is its file name.
std::optional<std::string> whyNoLog(std::string_view name, std::string_view firstBytes);

}  // namespace zeb::contest
