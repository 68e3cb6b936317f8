#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/window.h"
#include "state/evaluation_state.h"

namespace zeb {

enum class LoadOutcome {
    Loaded,      // read; its columns found or the fallback set
    CannotOpen,  // the file did not open (or the dialog was cancelled); the table stays cleared
    Refused,     // the log broke a rule of the reader; the program was told to end
};

// "Načti deník" after its dialog: `fileName` is the name the dialog holds when it closes, and
// `chosen` whether it names a chosen file (a cancelled dialog leaves the mask, which is never
// opened).
LoadOutcome loadLog(EvaluationState& state, Window& window, Platform& platform,
                    const std::string& fileName, bool chosen);

// The first step of the load, before its dialog is shown.
void prepareLoad(EvaluationState& state, Window& window);

// The text after the last path separator of the system.
std::string baseName(const std::string& path);

}  // namespace zeb
