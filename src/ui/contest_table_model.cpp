#include "ui/contest_table_model.h"

#include <QBrush>
#include <QColor>
#include <limits>

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

// The short headings of the cross-check report's summary, in the order of kFindingKinds, on two
// lines so that the table fits a screen.
const char* const kFindingHeadings[] = {"Není v\ndeníku", "Chybná\nznačka", "Chybně\nzapsaná",
                                        "Chybná\nvýměna", "Jedinečné"};
static_assert(std::size(kFindingHeadings) == contest::kFindingKindCount);

}  // namespace

void ContestTableModel::setContest(std::shared_ptr<const contest::ContestWorkspace> contest) {
    beginResetModel();
    contest_ = std::move(contest);
    rows_ = contest_ ? contest::logRows(contest_->logs(), contest_->checked().crossCheck
                                                              ? &*contest_->checked().crossCheck
                                                              : nullptr)
                     : std::vector<contest::LogRow>();
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
        case Flags:
            return text(row.flags);
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

QString ContestTableModel::reasons(std::size_t log) const {
    // Rich text, so that a long reason wraps; the texts quote file names and lines.
    QStringList lines;
    for (const contest::LogFlag& flag : contest_->logs()[log].flags) {
        lines.push_back(QStringLiteral("<b>%1</b>: %2")
                            .arg(text(flag.code).toHtmlEscaped(), text(flag.text).toHtmlEscaped()));
    }
    return QStringLiteral("<p>%1</p>").arg(lines.join(QStringLiteral("<br>")));
}

QVariant ContestTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) {
        return {};
    }
    const contest::LogRow& row = rows_[static_cast<std::size_t>(index.row())];
    const bool flagged = !row.flags.empty();
    switch (role) {
        case Qt::DisplayRole:
            return display(row, index.column());
        case kSortRole:
            return sortKey(row, index.column());
        case kFlaggedRole:
            return flagged ? QStringLiteral("1") : QStringLiteral("0");
        case kLogRole:
            return static_cast<qulonglong>(row.log);
        case Qt::ToolTipRole:
            return flagged ? QVariant(reasons(row.log)) : QVariant();
        case Qt::BackgroundRole:
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
        return finding ? QVariant(QString::fromUtf8(contest::findingHeading(
                             contest::kFindingKinds[static_cast<std::size_t>(kind)])))
                       : QVariant();
    }
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (finding) {
        return QString::fromUtf8(kFindingHeadings[kind]);
    }
    switch (section) {
        case Rank:
            return QStringLiteral("Pořadí");
        case Call:
            return QStringLiteral("Značka");
        case File:
            return QStringLiteral("Deník");
        case Outcome:
            return QStringLiteral("Stav");
        case Qsos:
            return QStringLiteral("QSO");
        case Result:
            return QStringLiteral("Výsledek");
        case CheckedResult:
            return QStringLiteral("Po\nkontrole");
        case RemovedQsos:
            return QStringLiteral("Vyřazená\nQSO");
        case Flags:
            return QStringLiteral("Ke kontrole");
        default:
            return {};
    }
}

}  // namespace zeb
