#pragma once

#include "db/RowSet.h"

#include <QStringList>
#include <QVariant>

namespace db {

// The rows of one result, read from the database on demand and kept once
// read: a grid shows the first screenful at once and reads further rows as
// the user scrolls. Rows count from 0. Values are as a RowSet gives them
// (NULL a null QVariant). A cursor must not outlive the connection that
// opened it; a refused read throws DbError.
class Cursor {
public:
    explicit Cursor(QStringList columns) : columns_(std::move(columns)) {}
    virtual ~Cursor() = default;
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    const QStringList& Columns() const { return columns_; }
    int ColumnCount() const { return int(columns_.size()); }
    // Position of a column by name, case-insensitive; -1 when absent.
    int ColumnIndex(const QString& name) const;

    int RowsRead() const { return rowsRead_; }
    // True once the last row has been read.
    bool AtEnd() const { return atEnd_; }
    // Reads up to `count` more rows; returns how many came.
    int Fetch(int count);
    // Reads until at least `count` rows are held or the result ends; true
    // when that many are held.
    bool Reach(int count);
    void FetchAll();

    // A value of a row read already.
    virtual QVariant Value(int row, int column) const = 0;

protected:
    // Reads and keeps the next row of the result; false at its end.
    virtual bool ReadRow() = 0;

private:
    QStringList columns_;
    int rowsRead_ = 0;
    bool atEnd_ = false;
};

// A cursor over rows that were all read already (backends that cannot read
// on demand, and stored procedures).
class RowSetCursor final : public Cursor {
public:
    explicit RowSetCursor(RowSet rows) : Cursor(rows.Columns()), rows_(std::move(rows)) {}
    QVariant Value(int row, int column) const override { return rows_.RowAt(row).value(column); }

protected:
    bool ReadRow() override { return RowsRead() < rows_.RecordCount(); }

private:
    RowSet rows_;
};

} // namespace db
