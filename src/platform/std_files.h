#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/text_input.h"

namespace zeb {

// The file services of the platform on top of the C and POSIX libraries, shared by the window,
// zebscore and the tests.

// A regular file opened for text-mode reading, or nullptr (missing, a directory, no permission).
std::unique_ptr<TextInput> openTextFileForReading(const std::string& path);

bool isReadableFile(const std::string& path);

// The bytes of a regular file that opens as a log would, up to `limit` bytes; nothing when it does
// not open. `whole` tells whether the file ended within the limit.
struct FileBytes {
    std::string bytes;
    bool whole = true;
};
std::optional<FileBytes> readRegularFile(const std::string& path, std::size_t limit);

// Writes the content to a temporary file beside the target and renames it over the target, so
// that a failed or interrupted write never leaves a partial file or destroys an existing one.
// '\n' is this platform's text line end and is written as it is. The reason of a failure is
// Czech, in Windows-1250.
WriteOutcome writeFileAtomically(const std::string& path, const std::string& content);

// Makes the folder and its missing parents; an existing folder is left as it is. The reason of a
// failure is Czech, in Windows-1250, as that of a write.
WriteOutcome makeFolders(const std::string& path);

}  // namespace zeb
