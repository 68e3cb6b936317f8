#pragma once

#include <vector>

#include "intake/qso_fields.h"
#include "state/evaluation_state.h"

namespace zeb::contest {

// How well the columns of an evaluation read a log: on how many of its QSO lines the received call
// and exchange taken from the columns are those that the line's fields hold.
struct ColumnCheck {
    int lines = 0;
    int agreeing = 0;
    int unread = 0;  // lines whose fields could not be read, which count as not agreeing
    // The QSOs (from 1) that do not agree, when the check is poor.
    std::vector<int> disagreeing;

    // The share of agreeing lines in whole percent, rounded down; 100 for a log without QSOs.
    int percent() const;
    // Fewer than nine lines in ten agree: the columns are probably not the log's.
    bool poor() const;
};

// Compares, QSO by QSO, the call and exchange of a computed state with the fields read from the
// whole QSO lines of its log (`ownCall` from its "CALLSIGN:" line); the exchange as the scoring
// reads it (a member number or "NM"). When the lines are not those of the state's QSOs (a file too
// large to keep whole), all count as unread.
ColumnCheck checkColumns(const EvaluationState& state, const std::vector<std::string_view>& lines,
                         std::string_view ownCall);

}  // namespace zeb::contest
