#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "contest/publish/contest_table.h"
#include "contest/publish/contest_view.h"
#include "contest/workspace/contest_workspace.h"

namespace zeb {

// The logs of a contest as the rows of the contest window's table, one per log in the order of
// the logs, then one per file of its folders that is no log; the values are the contest layer's,
// shown and sorted as they are.
class ContestTableModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The contest layer's columns, as the views name them.
    enum Column {
        Rank = static_cast<int>(contest::ViewColumn::Rank),
        Call = static_cast<int>(contest::ViewColumn::Call),
        File = static_cast<int>(contest::ViewColumn::File),
        Outcome = static_cast<int>(contest::ViewColumn::Outcome),
        Qsos = static_cast<int>(contest::ViewColumn::Qsos),
        Claimed = static_cast<int>(contest::ViewColumn::Claimed),
        Result = static_cast<int>(contest::ViewColumn::Result),
        CheckedResult = static_cast<int>(contest::ViewColumn::CheckedResult),
        RemovedQsos = static_cast<int>(contest::ViewColumn::RemovedQsos),
        FirstFinding = static_cast<int>(contest::ViewColumn::FirstFinding),
        Flags = static_cast<int>(contest::ViewColumn::Flags),
        ColumnCount = contest::kViewColumnCount
    };
    // What the proxy sorts by (numbers as numbers), filters by ("1" for a log or file to look
    // at), the log's index and, for a file that is no log, its index into the other files.
    static constexpr int kSortRole = Qt::UserRole;
    static constexpr int kFlaggedRole = Qt::UserRole + 1;
    static constexpr int kLogRole = Qt::UserRole + 2;
    static constexpr int kOtherRole = Qt::UserRole + 3;

    using QAbstractTableModel::QAbstractTableModel;

    void setContest(std::shared_ptr<const contest::ContestWorkspace> contest);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    QVariant display(const contest::LogRow& row, int column) const;
    QVariant sortKey(const contest::LogRow& row, int column) const;
    QString reasons(const contest::LogRow& row) const;
    QVariant toolTip(const contest::LogRow& row, int column) const;

    std::shared_ptr<const contest::ContestWorkspace> contest_;
    std::vector<contest::LogRow> rows_;
};

}  // namespace zeb
