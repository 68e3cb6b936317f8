#pragma once

#include <QString>
#include <QUrl>
#include <cstddef>
#include <optional>
#include <vector>

#include "contest/workspace/contest_details.h"

namespace zeb {

// The contest layer's details drawn as the rich text of the contest window.
QString detailsHtml(const contest::DetailsText& details);

// The lines over the table: the contest's name and facts, and what went wrong.
QString summaryHtml(const std::vector<contest::TextLine>& lines);

// A log's QSO lines, each a link (see qsoOfLink), the selected one standing out.
QString qsoLinesHtml(const contest::QsoLinesText& lines);

// The QSO (an index into the log's QSOs) whose line's link this is.
std::optional<std::size_t> qsoOfLink(const QUrl& link);

}  // namespace zeb
