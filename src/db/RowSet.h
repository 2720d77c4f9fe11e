#pragma once

#include <QStringList>
#include <QVariant>
#include <QVector>

namespace db {

// Every row of a result, fetched client-side: an exact record count, a
// cursor with beginning and end tests, and field values by name
// (case-insensitive) or by position. NULL stays a null QVariant.
class RowSet {
public:
    using Row = QVector<QVariant>;

    RowSet() = default;
    RowSet(QStringList columns, QVector<Row> rows);

    int RecordCount() const { return int(rows_.size()); }
    bool IsEmpty() const { return rows_.isEmpty(); }
    // End and beginning tests; both are true on an empty result.
    bool Eof() const { return rows_.isEmpty() || position_ >= rows_.size(); }
    bool Bof() const { return rows_.isEmpty() || position_ < 0; }
    void MoveFirst() { position_ = 0; }
    void MoveNext() { if (position_ < rows_.size()) ++position_; }
    int Position() const { return position_; }

    int ColumnCount() const { return int(columns_.size()); }
    const QStringList& Columns() const { return columns_; }
    QString ColumnName(int index) const { return columns_.value(index); }
    // Position of a column by name, case-insensitive; -1 when absent.
    int ColumnIndex(const QString& name) const;
    bool HasColumn(const QString& name) const { return ColumnIndex(name) >= 0; }

    // Value at the cursor. Throws DbError when the column is unknown or the
    // cursor stands at the beginning or the end.
    QVariant Field(const QString& name) const;
    QVariant Field(int index) const;

    const Row& RowAt(int index) const { return rows_.at(index); }
    const QVector<Row>& Rows() const { return rows_; }

    // How many rows a write (insert, update, delete) changed, as the backend
    // counts them; 0 for a read. A guarded update (`... Where OnHand >= q`)
    // tells by it whether its condition held.
    int RowsAffected() const { return rowsAffected_; }
    void SetRowsAffected(int rows) { rowsAffected_ = rows; }

private:
    QStringList columns_;
    QVector<Row> rows_;
    int position_ = 0;
    int rowsAffected_ = 0;
};

} // namespace db
