#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/window.h"
#include "state/evaluation_state.h"

namespace zeb {

// The protocol line of one QSO, without its line end.
std::string protocolLine(const QsoRecord& record, std::int32_t exchStart);
void appendProtocolLine(std::string& out, const QsoRecord& record, std::int32_t exchStart);

// Recomputes the totals and returns the whole result protocol, '\n' for every line end. The QSO
// lines are cut after the exchange on copies: the loaded lines stay as they are.
std::string writeProtocol(EvaluationState& state);

enum class SaveOutcome { Saved, Cancelled, Declined, Failed };

// "ulož" after its dialog: nothing happens when the dialog was cancelled (no path); an existing
// file is replaced only after the overwrite question; a file that cannot be written is reported
// and any earlier file of that name stays as it was.
SaveOutcome saveProtocolCommand(EvaluationState& state, Window& window, Platform& platform,
                                const std::optional<std::string>& path);

}  // namespace zeb
