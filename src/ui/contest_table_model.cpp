#include "ui/contest_table_model.h"

#include <QBrush>
#include <QColor>
#include <QStringList>
#include <limits>

#include "platform/translation.h"

namespace zeb {

namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

contest::ViewColumn viewColumn(int column) {
    return static_cast<contest::ViewColumn>(column);
}

bool isNumberColumn(int column) {
    return contest::isNumberColumn(viewColumn(column));
}

}  // namespace

void ContestTableModel::setContest(std::shared_ptr<const contest::ContestWorkspace> contest) {
    beginResetModel();
    contest_ = std::move(contest);
    rows_.clear();
    if (contest_) {
        const auto& check = contest_->checked().crossCheck;
        rows_ = contest::tableRows(contest_->logs(), check ? &*check : nullptr, contest_->others(),
                                   userLanguage());
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
    if (isNumberColumn(column)) {
        const std::optional<std::int64_t> value = contest::cellNumber(row, viewColumn(column));
        if (column != Claimed) {
            return value ? QVariant(static_cast<qlonglong>(*value)) : QVariant(QString());
        }
    }
    return text(contest::cellText(row, viewColumn(column)));
}

QVariant ContestTableModel::sortKey(const contest::LogRow& row, int column) const {
    switch (contest::sortByOf(viewColumn(column))) {
        case contest::SortBy::Order:
            return static_cast<qulonglong>(row.order);
        case contest::SortBy::Number:
            return static_cast<qlonglong>(contest::sortNumber(row, viewColumn(column)));
        case contest::SortBy::Text:
            break;
    }
    return display(row, column);
}

QString ContestTableModel::reasons(const contest::LogRow& row) const {
    // Rich text, so that a long reason wraps; the texts quote file names and lines.
    QStringList lines;
    for (const contest::RowReason& reason :
         contest::rowReasons(contest_->logs(), row, userLanguage())) {
        lines.push_back(reason.phrase.empty() ? text(reason.text).toHtmlEscaped()
                                              : QStringLiteral("<b>%1</b>: %2")
                                                    .arg(text(reason.phrase).toHtmlEscaped(),
                                                         text(reason.text).toHtmlEscaped()));
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
    const bool flagged = contest::toLookAt(row);
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
            switch (contest::rowTone(row)) {
                case contest::RowTone::NoLog:
                    return QBrush(QColor(0xe4, 0xe4, 0xe4));
                case contest::RowTone::NotScored:
                    return QBrush(QColor(0xf6, 0xcf, 0xcf));
                case contest::RowTone::ToLookAt:
                    return QBrush(QColor(0xff, 0xec, 0xb3));
                case contest::RowTone::Plain:
                    break;
            }
            return {};
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
    if (role == Qt::ToolTipRole) {
        const std::string explanation =
            contest::columnExplanation(viewColumn(section), userLanguage());
        return explanation.empty() ? QVariant() : QVariant(text(explanation));
    }
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    QStringList lines;
    for (const std::string& line :
         contest::columnHeadingLines(viewColumn(section), userLanguage())) {
        lines.push_back(text(line));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zeb
