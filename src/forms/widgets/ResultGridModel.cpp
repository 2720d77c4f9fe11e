#include "forms/widgets/ResultGridModel.h"

#include "forms/ResultGrid.h"

namespace forms {

ResultGridModel::ResultGridModel(ResultGrid* grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid)
{
    rows_ = grid->RowsRead();
    cols_ = grid->Cols();
    connect(grid, &ResultGrid::reset, this, &ResultGridModel::Reset);
    connect(grid, &ResultGrid::rowsAppended, this, [this](int, int last) { RowsAppended(last); });
}

int ResultGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int ResultGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const
{
    if (!grid_ || !index.isValid() || role != Qt::DisplayRole)
        return {};
    return grid_->Text(index.row() + 1, index.column());
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!grid_ || orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return grid_->Header(section);
}

bool ResultGridModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && grid_ && grid_->CanFetchMore();
}

void ResultGridModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        grid_->FetchMore(kPageRows);
}

void ResultGridModel::Reset()
{
    beginResetModel();
    rows_ = grid_->RowsRead();
    cols_ = grid_->Cols();
    endResetModel();
}

void ResultGridModel::RowsAppended(int lastRow)
{
    if (lastRow <= rows_)
        return;
    beginInsertRows(QModelIndex(), rows_, lastRow - 1);
    rows_ = lastRow;
    endInsertRows();
}

} // namespace forms
