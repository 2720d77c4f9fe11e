#include "forms/ResultGrid.h"

#include "base/Texts.h"
#include "db/Cursor.h"
#include "db/DbError.h"

#include <stdexcept>

namespace forms {

ResultGrid::ResultGrid(QObject* parent) : Control(parent) {}

ResultGrid::~ResultGrid() = default;

void ResultGrid::Bind(std::unique_ptr<db::Cursor> cursor)
{
    cursor->Reach(kFirstRows);
    cursor_ = std::move(cursor);
    failed_ = false;
    widths_.clear();
    for (int col = 0; col < Cols(); ++col)
        widths_ << kDefaultColumnWidthTwips;
    row_ = RowsRead() > 0 ? 1 : 0;
    emit reset();
    emit currentRowChanged(row_);
}

void ResultGrid::Unbind()
{
    cursor_.reset();
    widths_.clear();
    row_ = 0;
    emit reset();
    emit currentRowChanged(row_);
}

int ResultGrid::Cols() const
{
    return cursor_ ? cursor_->ColumnCount() : 0;
}

QString ResultGrid::Header(int col) const
{
    return cursor_ ? cursor_->Columns().value(col) : QString();
}

int ResultGrid::RowsRead() const
{
    return cursor_ ? cursor_->RowsRead() : 0;
}

bool ResultGrid::CanFetchMore() const
{
    return cursor_ && !cursor_->AtEnd() && !failed_;
}

void ResultGrid::FetchMore(int count)
{
    if (!CanFetchMore() || failed_)
        return;
    const int before = RowsRead();
    try {
        cursor_->Fetch(count);
    } catch (const db::DbError& e) {
        // The rows read stay; no further read is tried on this result.
        failed_ = true;
        emit readFailed(e.Description());
    }
    if (RowsRead() > before)
        emit rowsAppended(before + 1, RowsRead());
}

QString ResultGrid::Text(int row, int col) const
{
    if (row < 1 || row > RowsRead() || col < 0 || col >= Cols())
        throw std::out_of_range("ResultGrid cell outside the rows read");
    return base::ValueText(cursor_->Value(row - 1, col));
}

void ResultGrid::SetRow(int row)
{
    if (row < 1 || row == row_)
        return;
    if (row > RowsRead() && CanFetchMore())
        FetchMore(row - RowsRead());
    if (row > RowsRead())
        return;
    row_ = row;
    emit currentRowChanged(row_);
}

int ResultGrid::ColumnWidth(int col) const
{
    return widths_.value(col, kDefaultColumnWidthTwips);
}

void ResultGrid::SetColumnWidth(int col, int twips)
{
    if (col < 0 || col >= widths_.size() || widths_[col] == twips)
        return;
    widths_[col] = twips;
    emit columnWidthChanged(col, twips);
}

void ResultGrid::SetColumnWidths(const QList<int>& twips)
{
    for (int col = 0; col < twips.size(); ++col)
        SetColumnWidth(col, twips[col]);
}

} // namespace forms
