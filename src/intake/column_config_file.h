#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/text_input.h"
#include "platform/window.h"
#include "state/evaluation_state.h"

namespace zeb {

// The four values of the column configuration, one "%d" line each.
std::string formatColumnConfig(const ColumnConfig& columns);

// Reads up to four values as "%d" does, into the fields in order; the first value that cannot be
// read leaves it and every later field unchanged. Returns how many were read.
int readColumnConfig(TextInput& input, ColumnConfig& columns);

// "Ulož konfiguaci": nothing happens when the dialog was cancelled (no path). Returns what the
// write reported.
WriteOutcome saveColumnConfig(const EvaluationState& state, Platform& platform,
                              const std::optional<std::string>& path);

// "Načti konfiguraci": reads the file the dialog names (no path: nothing can be opened), then
// shows the start columns. A file that cannot be opened changes nothing. Returns whether it
// opened.
bool loadColumnConfig(EvaluationState& state, Window& window, Platform& platform,
                      const std::optional<std::string>& path);

}  // namespace zeb
