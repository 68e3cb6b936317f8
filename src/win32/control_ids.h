#pragma once

#include <string_view>

#include "form/form_description.h"

namespace zeb::win32 {

// The window class of the form, by which it is found among the desktop's windows.
inline constexpr wchar_t kFormClass[] = L"TForm1";

// Every control of the form has the id 1000 + its place in the form's description: the front end
// and whoever drives it from outside (the tests) find it by its name. 0 for no such control.
inline int controlId(std::string_view name) {
    const auto& controls = formDescription().controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name) {
            return 1000 + static_cast<int>(i);
        }
    }
    return 0;
}

}  // namespace zeb::win32
