#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/platform.h"
#include "platform/windows_text.h"

namespace zeb::win32 {

// The platform services of Windows: the program's message dialogs, the process end and the real
// files, whose text lines end in CR LF.
class Win32Platform final : public Platform {
  public:
    // The window over which the dialogs stand.
    void setDialogOwner(HWND owner) { owner_ = owner; }

    // Asked first when the program is to end: true when it took the end upon itself and the
    // program goes on (the caller stops what it was doing); false, or no hook, and it ends.
    void setEndHook(std::function<bool(int exitCode)> hook) { endHook_ = std::move(hook); }

    DialogButton messageDialog(const std::string& text, DialogKind kind,
                               DialogButtons buttons) override;
    // Ends at once, without unwinding: the caller may be deep inside a handler.
    void endProcess(int exitCode) override;
    std::unique_ptr<TextInput> openTextForReading(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    WriteOutcome writeTextFile(const std::string& path, const std::string& content) override;

  private:
    HWND owner_ = nullptr;
    std::function<bool(int)> endHook_;
};

}  // namespace zeb::win32
