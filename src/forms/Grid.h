#pragma once

#include "forms/Control.h"
#include "forms/GridFormat.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace forms {

// A grid of text cells. Row 0 is the header row, filled by SetFormat; rows
// 1 and on hold the data, so screen logic counts rows as the screens are
// described ("row 1 is the first line"). Every cell holds text. Columns have
// no header of their own: column 0 holds data.
//
// The current row is a data row whenever the grid has one (never the
// header row then). Reading or writing outside the grid throws
// std::out_of_range, since it is always a fault in the calling code.
class Grid : public Control {
    Q_OBJECT
public:
    static constexpr int kDefaultColumnWidthTwips = 960;

    // A new grid has 2 rows (the header and one empty row) and 2 columns.
    explicit Grid(QObject* parent = nullptr);

    int Rows() const { return int(cells_.size()); }
    int Cols() const { return cols_; }
    // Grows with empty rows or cuts rows off the end; at least 1 (the
    // header row).
    void SetRows(int rows);
    // Grows with empty, general-aligned columns of the default width or
    // cuts columns off the right; at least 1.
    void SetCols(int cols);

    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);
    QStringList RowTexts(int row) const;
    // Writes the first cells of a row; extra texts beyond the last column
    // are an error.
    void SetRowTexts(int row, const QStringList& texts);

    // Empties every cell, the header row included; the size, widths and
    // alignments stay.
    void Clear();
    // Appends a row at the end, with these texts in its first cells.
    void AddRow(const QStringList& texts = {});
    // Removes a data row; the rows below move up one. The current row keeps
    // its number (so it now shows the row that followed), within the grid.
    void RemoveRow(int row);

    // Sets the header row from a format text (see ParseGridFormat): the
    // grid grows to at least as many columns as the format names; columns
    // that the format does not name get an empty header and general
    // alignment. Column widths are not touched.
    void SetFormat(const QString& format);
    const QString& Format() const { return format_; }
    ColumnAlignment Alignment(int col) const;

    // Widths in twips; 0 hides the column.
    int ColumnWidth(int col) const;
    void SetColumnWidth(int col, int twips);
    // Sets the widths of the first columns, in order.
    void SetColumnWidths(const QList<int>& twips);
    bool IsColumnHidden(int col) const { return ColumnWidth(col) == 0; }

    int Row() const { return row_; }
    int Col() const { return col_; }
    void SetRow(int row) { SetCurrentCell(row, col_); }
    void SetCol(int col) { SetCurrentCell(row_, col); }
    void SetCurrentCell(int row, int col);

    // The first data row shown at the top of the grid's view.
    int TopRow() const { return topRow_; }
    // Scrolls; the row is brought within the data rows.
    void SetTopRow(int row);

    // The user opens the current row (a double click, or Enter on the grid).
    void Activate() { emit activated(row_); }
    // The user types a character on the grid.
    void TypeKey(const QString& text) { emit keyTyped(text); }

signals:
    // The rows, the columns or the header changed wholesale: views rebuild.
    void reset();
    void cellChanged(int row, int col);
    void columnWidthChanged(int col, int twips);
    void currentCellChanged(int row, int col);
    void topRowChanged(int row);
    void activated(int row);
    void keyTyped(const QString& text);

private:
    void CheckCell(int row, int col) const;
    int FirstCurrentRow() const { return Rows() > 1 ? 1 : 0; }
    // Brings the current cell and the top row back inside the grid after a
    // change of size, reporting a moved current cell.
    void KeepPositionsInside();

    QList<QStringList> cells_;
    int cols_ = 2;
    QList<ColumnAlignment> alignments_;
    QList<int> widths_;
    QString format_;
    int row_ = 1;
    int col_ = 0;
    int topRow_ = 1;
};

} // namespace forms
