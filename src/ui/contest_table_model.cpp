#include "ui/contest_table_model.h"

#include <QBrush>
#include <QColor>
#include <QStringList>
#include <limits>

#include "contest/publish/results_table.h"
#include "platform/translation.h"

namespace zeb {

namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// An empty cell sorts before every number.
constexpr qlonglong kNoNumber = std::numeric_limits<qlonglong>::min();

std::optional<std::int64_t> number(const contest::LogRow& row, int column) {
    using Model = ContestTableModel;
    switch (column) {
        case Model::Claimed: {
            // As the log declares it: a text that is no whole number sorts as none.
            bool isNumber = false;
            const qlonglong claimed = text(row.claimedScore).trimmed().toLongLong(&isNumber);
            return isNumber ? std::optional<std::int64_t>(claimed) : std::nullopt;
        }
        case Model::Qsos:
            return row.scored ? std::optional(row.qsos) : std::nullopt;
        case Model::Result:
            return row.scored ? std::optional(row.result) : std::nullopt;
        case Model::CheckedResult:
            return row.checkedResult;
        case Model::RemovedQsos:
            return row.removedQsos;
        default:
            break;
    }
    const int kind = column - Model::FirstFinding;
    if (kind >= 0 && kind < static_cast<int>(contest::kFindingKindCount) && row.findings) {
        return (*row.findings)[static_cast<std::size_t>(kind)];
    }
    return std::nullopt;
}

bool isNumberColumn(int column) {
    return column != ContestTableModel::Flags && column >= ContestTableModel::Qsos;
}

// The words of a heading on up to four lines, as narrow as its longest word or ten characters
// allow without many lines, so that the table fits a screen.
QString onLines(const QString& heading) {
    const QStringList words = heading.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    qsizetype widest = 10;
    for (const QString& word : words) {
        widest = std::max(widest, word.size());
    }
    QStringList best;
    qsizetype bestCost = std::numeric_limits<qsizetype>::max();
    for (qsizetype width = widest; width <= std::max(widest, heading.size()); ++width) {
        QStringList lines;
        for (const QString& word : words) {
            if (!lines.isEmpty() && lines.back().size() + 1 + word.size() <= width) {
                lines.back() += QLatin1Char(' ') + word;
            } else {
                lines.push_back(word);
            }
        }
        // A line more costs as much as two characters of width.
        const qsizetype cost = width + 2 * lines.size();
        if (lines.size() <= 4 && cost < bestCost) {
            best = lines;
            bestCost = cost;
        }
    }
    return best.join(QLatin1Char('\n'));
}

QString said(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

void ContestTableModel::setContest(std::shared_ptr<const contest::ContestWorkspace> contest) {
    beginResetModel();
    contest_ = std::move(contest);
    rows_.clear();
    if (contest_) {
        const auto& check = contest_->checked().crossCheck;
        rows_ = contest::logRows(contest_->logs(), check ? &*check : nullptr, userLanguage());
        for (contest::LogRow& other :
             contest::otherFileRows(contest_->others(), contest_->logs().size(), userLanguage())) {
            rows_.push_back(std::move(other));
        }
    }
    endResetModel();
}

int ContestTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ContestTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ContestTableModel::display(const contest::LogRow& row, int column) const {
    switch (column) {
        case Rank:
            return text(row.rank);
        case Call:
            return text(row.call);
        case File:
            return text(row.file);
        case Outcome:
            return text(row.outcome);
        case Claimed:
            return text(row.claimedScore);
        case Flags:
            return text(row.other ? row.reason : row.flagPhrases);
        default:
            break;
    }
    const std::optional<std::int64_t> value = number(row, column);
    return value ? QVariant(static_cast<qlonglong>(*value)) : QVariant(QString());
}

QVariant ContestTableModel::sortKey(const contest::LogRow& row, int column) const {
    if (column == Rank) {
        return static_cast<qulonglong>(row.order);
    }
    if (isNumberColumn(column)) {
        const std::optional<std::int64_t> value = number(row, column);
        return value ? static_cast<qlonglong>(*value) : kNoNumber;
    }
    return display(row, column);
}

QString ContestTableModel::reasons(const contest::LogRow& row) const {
    // Rich text, so that a long reason wraps; the texts quote file names and lines.
    if (row.other) {
        return QStringLiteral("<p>%1</p>").arg(text(row.reason).toHtmlEscaped());
    }
    QStringList lines;
    for (const contest::LogFlag& flag : contest_->logs()[row.log].flags) {
        lines.push_back(
            QStringLiteral("<b>%1</b>: %2")
                .arg(said(contest::flagPhrase(flag.code, userLanguage())).toHtmlEscaped(),
                     text(flag.text).toHtmlEscaped()));
    }
    return QStringLiteral("<p>%1</p>").arg(lines.join(QStringLiteral("<br>")));
}

QVariant ContestTableModel::toolTip(const contest::LogRow& row, int column) const {
    QString tip;
    // The window elides a long name or outcome.
    if (column == Call || column == File || column == Outcome) {
        tip = QStringLiteral("<p>%1</p>").arg(display(row, column).toString().toHtmlEscaped());
    }
    if (!row.flags.empty() || row.other) {
        tip += reasons(row);
    }
    return tip.isEmpty() ? QVariant() : QVariant(tip);
}

QVariant ContestTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) {
        return {};
    }
    const contest::LogRow& row = rows_[static_cast<std::size_t>(index.row())];
    const bool flagged = !row.flags.empty() || row.other;
    switch (role) {
        case Qt::DisplayRole:
            return display(row, index.column());
        case kSortRole:
            return sortKey(row, index.column());
        case kFlaggedRole:
            return flagged ? QStringLiteral("1") : QStringLiteral("0");
        case kLogRole:
            return row.other ? QVariant() : QVariant(static_cast<qulonglong>(row.log));
        case kOtherRole:
            return row.other ? QVariant(static_cast<qulonglong>(*row.other)) : QVariant();
        case Qt::ToolTipRole:
            return toolTip(row, index.column());
        case Qt::BackgroundRole:
            if (row.other) {
                return QBrush(QColor(0xe4, 0xe4, 0xe4));
            }
            if (!row.scored) {
                return QBrush(QColor(0xf6, 0xcf, 0xcf));
            }
            return flagged ? QVariant(QBrush(QColor(0xff, 0xec, 0xb3))) : QVariant();
        case Qt::TextAlignmentRole:
            return isNumberColumn(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                  : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant ContestTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const int kind = section - FirstFinding;
    const bool finding = kind >= 0 && kind < static_cast<int>(contest::kFindingKindCount);
    if (role == Qt::ToolTipRole) {
        if (finding) {
            return said(contest::findingHeading(
                contest::kFindingKinds[static_cast<std::size_t>(kind)], userLanguage()));
        }
        switch (section) {
            case Claimed:
                return said(zeb::tr("The result that the log itself declares (CLAIMED-SCORE)"));
            case Result:
                return said(zeb::tr("The log's result as the program computed it"));
            case CheckedResult:
                return said(zeb::tr(
                    "The result without the QSOs that the cross-check or the evaluator removed"));
            default:
                return {};
        }
    }
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (finding) {
        return onLines(said(contest::findingColumnHeading(
            contest::kFindingKinds[static_cast<std::size_t>(kind)], userLanguage())));
    }
    switch (section) {
        case Rank:
            return said(zeb::tr("Rank"));
        case Call:
            return said(zeb::tr("Call"));
        case File:
            return said(zeb::tr("Log"));
        case Outcome:
            return said(zeb::tr("Outcome"));
        case Qsos:
            return said(zeb::tr("QSOs"));
        case Claimed:
            return onLines(said(zeb::tr("Claimed")));
        case Result:
            return onLines(said(zeb::tr("Before the check")));
        case CheckedResult:
            return onLines(said(zeb::tr("After the check")));
        case RemovedQsos:
            return onLines(said(zeb::tr("Removed QSOs")));
        case Flags:
            return said(zeb::tr("To look at"));
        default:
            return {};
    }
}

}  // namespace zeb
