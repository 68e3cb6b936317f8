#include "platform/platform.h"

namespace zeb {

const char* dialogTitle(DialogKind kind) {
    switch (kind) {
        case DialogKind::Error:
            return "Error";
        case DialogKind::Warning:
            return "Warning";
        case DialogKind::Confirmation:
            return "Confirm";
    }
    return "";
}

}  // namespace zeb
