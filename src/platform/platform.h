#pragma once

#include <memory>
#include <string>

#include "platform/text_input.h"

namespace zeb {

enum class DialogKind { Error, Warning, Confirmation };

enum class DialogButton { Ok, Cancel, Abort, Ignore };

// The button sets that the program's dialogs use.
enum class DialogButtons { Ok, Abort, OkCancel, AbortIgnore };

// "Error", "Warning" or "Confirm".
const char* dialogTitle(DialogKind kind);

struct WriteOutcome {
    bool ok = true;
    std::string error;  // why the file could not be written, in the system's words (UTF-8)
};

// The few services the logic asks of the outside world. The window implements the dialogs with
// Qt, zebscore answers them from its options, and tests record them.
class Platform {
  public:
    virtual ~Platform() = default;

    // Shows a modal message (Windows-1250 text, '\n' starts a new line) and returns the button
    // that closed it.
    virtual DialogButton messageDialog(const std::string& text, DialogKind kind,
                                       DialogButtons buttons) = 0;

    // Ends the program with the exit code. A front end that cannot end at once (a test, zebscore)
    // records it and returns; the caller then stops whatever it was doing.
    virtual void endProcess(int exitCode) = 0;

    // Opens a file for text-mode reading; nullptr when it cannot be opened (missing, a directory,
    // no permission).
    virtual std::unique_ptr<TextInput> openTextForReading(const std::string& path) = 0;

    // Whether the file can be opened for reading.
    virtual bool fileExists(const std::string& path) = 0;

    // Writes the whole text file, '\n' being the text line end, so that an existing file is
    // replaced only by the complete new one.
    virtual WriteOutcome writeTextFile(const std::string& path, const std::string& content) = 0;
};

}  // namespace zeb
