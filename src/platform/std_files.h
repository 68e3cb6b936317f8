#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/text_input.h"

namespace zeb {

// The file services of the platform, shared by the window, zebscore and the tests. Paths are
// UTF-8 on every system.

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

// Writes the bytes to a temporary file beside the target, makes them durable and moves the file
// over the target, so that a failed or interrupted write never leaves a partial file or destroys
// an existing one. The bytes are written as they are: the reports are the same bytes on every
// system. The reason of a failure is Czech, in Windows-1250.
WriteOutcome writeFileAtomically(const std::string& path, const std::string& content);

// As writeFileAtomically, for a text file: every '\n' is written as this system's text line end,
// CR LF on Windows. The protocol and the column configuration file are text files.
WriteOutcome writeTextFileAtomically(const std::string& path, const std::string& text);

// The text with this system's text line ends.
std::string toSystemLineEnds(std::string text);

// Whether the name is taken by anything but a folder: a file, a device, or a link, even one that
// leads nowhere.
bool existsOtherThanFolder(const std::string& path);

// Makes the folder and its missing parents; an existing folder is left as it is. The reason of a
// failure is Czech, in Windows-1250, as that of a write.
WriteOutcome makeFolders(const std::string& path);

}  // namespace zeb
