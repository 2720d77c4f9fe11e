#pragma once

#include "forms/Control.h"

#include <QList>
#include <QString>
#include <memory>

namespace db { class Cursor; }

namespace forms {

// A read-only grid bound to a result read on demand: a fixed header row of
// the result's column names, then one row per result row. Rows count as in
// Grid: row 0 is the header, row 1 the first result row. Only the rows
// read so far exist; the view asks for more as it scrolls (FetchMore), so
// a result of thousands of rows costs a screenful until someone scrolls.
//
// The current row is a data row whenever a row has been read, else 0.
class ResultGrid : public Control {
    Q_OBJECT
public:
    static constexpr int kDefaultColumnWidthTwips = 960;
    // Rows read when a result is bound: a screenful of a dialog at its
    // usual size. A taller window asks for more as it shows.
    static constexpr int kFirstRows = 32;

    explicit ResultGrid(QObject* parent = nullptr);
    ~ResultGrid() override;

    // Binds the grid to a result and reads its first rows; the current row
    // becomes the first one. Column widths go back to the default. A read
    // failure reaches the caller and leaves the grid as it was.
    void Bind(std::unique_ptr<db::Cursor> cursor);
    // Releases the result and empties the grid.
    void Unbind();
    bool IsBound() const { return cursor_ != nullptr; }

    int Cols() const;
    QString Header(int col) const;
    // Data rows read so far.
    int RowsRead() const;
    // True while the result may hold rows not read yet.
    bool CanFetchMore() const;
    // Reads up to `count` further rows. A read failure keeps the rows read,
    // ends the reading of this result and is reported by readFailed.
    void FetchMore(int count);
    // A data row's cell as the grid shows it (row >= 1). Throws
    // std::out_of_range outside the rows read.
    QString Text(int row, int col) const;

    int Row() const { return row_; }
    // Moves the current row; a row beyond those read is read first. Rows
    // outside the result are ignored.
    void SetRow(int row);

    // Widths in twips.
    int ColumnWidth(int col) const;
    void SetColumnWidth(int col, int twips);
    void SetColumnWidths(const QList<int>& twips);

    // The user opens the current row (a double click).
    void Activate() { emit activated(row_); }
    // A key pressed on the grid, by key code: 8 is Backspace, a letter key
    // its upper-case character code, a digit key its digit's code.
    void KeyDown(int keyCode) { emit keyDown(keyCode); }

signals:
    // Bound, unbound or rebound: views rebuild.
    void reset();
    void rowsAppended(int firstRow, int lastRow);
    void currentRowChanged(int row);
    void columnWidthChanged(int col, int twips);
    void activated(int row);
    void readFailed(const QString& description);
    void keyDown(int keyCode);

private:
    std::unique_ptr<db::Cursor> cursor_;
    QList<int> widths_;
    int row_ = 0;
    bool failed_ = false;
};

} // namespace forms
