#include "win32/folder_dialog.h"

#include <shobjidl.h>

namespace zeb::win32 {

namespace {

// Releases a COM interface when it goes.
template <typename Interface>
class Held {
  public:
    Held() = default;
    ~Held() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface** out() { return &pointer_; }
    Interface* get() const { return pointer_; }

  private:
    Interface* pointer_ = nullptr;
};

}  // namespace

std::optional<std::string> chooseFolder(HWND owner, const std::string& title,
                                        const std::string& start) {
    // The dialog is a COM object of the shell; the window's thread is a single-threaded apartment.
    const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::optional<std::string> chosen;
    {
        Held<IFileOpenDialog> dialog;
        if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IFileOpenDialog,
                                       reinterpret_cast<void**>(dialog.out())))) {
            FILEOPENDIALOGOPTIONS options = 0;
            dialog->GetOptions(&options);
            dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST |
                               FOS_NOCHANGEDIR);
            dialog->SetTitle(widen(title).c_str());
            Held<IShellItem> folder;
            if (!start.empty() &&
                SUCCEEDED(SHCreateItemFromParsingName(widen(start).c_str(), nullptr, IID_IShellItem,
                                                      reinterpret_cast<void**>(folder.out())))) {
                dialog->SetFolder(folder.get());
            }
            Held<IShellItem> result;
            if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(result.out()))) {
                PWSTR path = nullptr;
                if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                    chosen = narrow(path);
                    CoTaskMemFree(path);
                }
            }
        }
    }
    if (SUCCEEDED(initialised)) {
        CoUninitialize();
    }
    return chosen;
}

}  // namespace zeb::win32
