#pragma once

#include <QString>
#include <cstddef>

#include "contest/workspace/contest_workspace.h"

namespace zeb {

// The details of one log of a contest, as rich text for the contest window: its files and
// results, its flags with their reasons, its cross-check findings with its own and its partner's
// line, what the repair changed, and what the intake said of it.
QString logDetailsHtml(const contest::ContestWorkspace& contest, std::size_t log);

// Its QSO lines as the entrant submitted them, with the received call and exchange that were read
// marked in each line and the findings of the cross-check beside their lines.
QString qsoLinesHtml(const contest::ContestWorkspace& contest, std::size_t log);

}  // namespace zeb
