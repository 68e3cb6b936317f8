#pragma once

#include <QString>
#include <QUrl>
#include <cstddef>
#include <optional>

#include "contest/workspace/contest_workspace.h"

namespace zeb {

// The details of one log of a contest, as rich text for the contest window: its files and
// results, its flags with their reasons, its cross-check findings with its own and its partner's
// line, the evaluator's decisions on it, what the repair changed, and what the intake said of it.
QString logDetailsHtml(const contest::ContestWorkspace& contest, std::size_t log);

// A file of the contest's folders that is no log (an index into its other files), and why.
QString otherFileDetailsHtml(const contest::ContestWorkspace& contest, std::size_t other);

// Its QSO lines as the entrant submitted them, with the received call and exchange that were read
// marked in each line, the findings of the cross-check and the evaluator's decisions beside their
// lines. Each line is a link (see qsoOfLink) and the `selected` QSO's line stands out.
QString qsoLinesHtml(const contest::ContestWorkspace& contest, std::size_t log,
                     std::optional<std::size_t> selected = std::nullopt);

// The QSO (an index into the log's QSOs) whose line's link this is.
std::optional<std::size_t> qsoOfLink(const QUrl& link);

}  // namespace zeb
