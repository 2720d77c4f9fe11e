#include "forms/Grid.h"

#include <stdexcept>

namespace forms {

namespace {

QStringList EmptyRow(int cols)
{
    QStringList row;
    row.reserve(cols);
    for (int i = 0; i < cols; ++i)
        row.append(QString());
    return row;
}

[[noreturn]] void ThrowOutside(const char* what, int row, int col)
{
    throw std::out_of_range(std::string("Grid: ") + what + " outside the grid (row " + std::to_string(row) +
                            ", column " + std::to_string(col) + ")");
}

} // namespace

Grid::Grid(QObject* parent) : Control(parent)
{
    cells_ = {EmptyRow(cols_), EmptyRow(cols_)};
    alignments_ = {ColumnAlignment::General, ColumnAlignment::General};
    widths_ = {kDefaultColumnWidthTwips, kDefaultColumnWidthTwips};
}

void Grid::SetRows(int rows)
{
    rows = qMax(1, rows);
    if (rows == Rows())
        return;
    while (Rows() > rows)
        cells_.removeLast();
    while (Rows() < rows)
        cells_.append(EmptyRow(cols_));
    emit reset();
    KeepPositionsInside();
}

void Grid::SetCols(int cols)
{
    cols = qMax(1, cols);
    if (cols == cols_)
        return;
    for (QStringList& row : cells_) {
        row.resize(cols);
    }
    alignments_.resize(cols, ColumnAlignment::General);
    widths_.resize(cols, kDefaultColumnWidthTwips);
    cols_ = cols;
    emit reset();
    KeepPositionsInside();
}

void Grid::CheckCell(int row, int col) const
{
    if (row < 0 || row >= Rows() || col < 0 || col >= cols_)
        ThrowOutside("cell", row, col);
}

QString Grid::Text(int row, int col) const
{
    CheckCell(row, col);
    return cells_[row][col];
}

void Grid::SetText(int row, int col, const QString& text)
{
    CheckCell(row, col);
    if (cells_[row][col] == text)
        return;
    cells_[row][col] = text;
    emit cellChanged(row, col);
}

QStringList Grid::RowTexts(int row) const
{
    CheckCell(row, 0);
    return cells_[row];
}

void Grid::SetRowTexts(int row, const QStringList& texts)
{
    CheckCell(row, qMax(0, int(texts.size()) - 1));
    for (int col = 0; col < texts.size(); ++col)
        SetText(row, col, texts[col]);
}

void Grid::Clear()
{
    for (QStringList& row : cells_)
        row = EmptyRow(cols_);
    emit reset();
}

void Grid::AddRow(const QStringList& texts)
{
    if (texts.size() > cols_)
        ThrowOutside("new row", Rows(), int(texts.size()) - 1);
    QStringList row = EmptyRow(cols_);
    for (int col = 0; col < texts.size(); ++col)
        row[col] = texts[col];
    cells_.append(row);
    emit reset();
    KeepPositionsInside();
}

void Grid::RemoveRow(int row)
{
    if (row < 1 || row >= Rows())
        ThrowOutside("removed row", row, 0);
    cells_.removeAt(row);
    emit reset();
    KeepPositionsInside();
}

void Grid::SetFormat(const QString& format)
{
    const QList<ColumnHeader> headers = ParseGridFormat(format);
    format_ = format;
    if (headers.size() > cols_) {
        // Grow quietly: the reset below covers the new columns too.
        const QSignalBlocker quiet(this);
        SetCols(int(headers.size()));
    }
    for (int col = 0; col < cols_; ++col) {
        const bool named = col < headers.size();
        cells_[0][col] = named ? headers[col].text : QString();
        alignments_[col] = named ? headers[col].alignment : ColumnAlignment::General;
    }
    emit reset();
}

ColumnAlignment Grid::Alignment(int col) const
{
    CheckCell(0, col);
    return alignments_[col];
}

int Grid::ColumnWidth(int col) const
{
    CheckCell(0, col);
    return widths_[col];
}

void Grid::SetColumnWidth(int col, int twips)
{
    CheckCell(0, col);
    twips = qMax(0, twips);
    if (widths_[col] == twips)
        return;
    widths_[col] = twips;
    emit columnWidthChanged(col, twips);
}

void Grid::SetColumnWidths(const QList<int>& twips)
{
    for (int col = 0; col < twips.size(); ++col)
        SetColumnWidth(col, twips[col]);
}

void Grid::SetCurrentCell(int row, int col)
{
    CheckCell(row, col);
    if (row < FirstCurrentRow())
        ThrowOutside("current cell on the header", row, col);
    if (row == row_ && col == col_)
        return;
    row_ = row;
    col_ = col;
    emit currentCellChanged(row_, col_);
}

void Grid::SetTopRow(int row)
{
    row = qBound(FirstCurrentRow(), row, Rows() - 1);
    if (row == topRow_)
        return;
    topRow_ = row;
    emit topRowChanged(topRow_);
}

void Grid::KeepPositionsInside()
{
    SetTopRow(topRow_);
    const int row = qBound(FirstCurrentRow(), row_, Rows() - 1);
    const int col = qMin(col_, cols_ - 1);
    if (row == row_ && col == col_)
        return;
    row_ = row;
    col_ = col;
    emit currentCellChanged(row_, col_);
}

} // namespace forms
