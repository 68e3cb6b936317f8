#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/platform.h"

// What the file services need of the operating system, in one source file per system
// (posix_files.cpp, windows_files.cpp); the file services themselves (std_files.h, file_set.h) are
// written once on top of it.
namespace zeb::system_files {

// A regular file opened for reading bytes; nullptr when the path names no regular file that can be
// read. A FIFO or device named as a log is refused without blocking. `size`, when asked for, gets
// the file's size at opening.
std::FILE* openRegularFile(const std::string& path, std::uint64_t* size);

// The reasons of a failed write that the evaluator can act on, each system's error codes sorted
// into them.
enum class WriteFailure { NoSpace, NoPermission, ReadOnlyDisk, NoFolder, IsFolder, InUse, Other };

// The failure with its Czech reason in Windows-1250; `code` is the system's own, shown for Other.
WriteOutcome failure(WriteFailure kind, long code);

}  // namespace zeb::system_files
