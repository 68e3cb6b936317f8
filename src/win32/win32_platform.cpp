#include "win32/win32_platform.h"

#include <cstdlib>

#include "platform/std_files.h"
#include "win32/message_box.h"
#include "win32/windows_1250.h"

namespace zeb::win32 {

DialogButton Win32Platform::messageDialog(const std::string& text, DialogKind kind,
                                          DialogButtons buttons) {
    return showMessageBox(owner_, fromCore(text), kind, buttons);
}

void Win32Platform::endProcess(int exitCode) {
    if (endHook_ && endHook_(exitCode)) {
        return;
    }
    std::exit(exitCode);
}

std::unique_ptr<TextInput> Win32Platform::openTextForReading(const std::string& path) {
    return openTextFileForReading(path);
}

bool Win32Platform::fileExists(const std::string& path) {
    return isReadableFile(path);
}

WriteOutcome Win32Platform::writeTextFile(const std::string& path, const std::string& content) {
    return writeTextFileAtomically(path, content);
}

}  // namespace zeb::win32
