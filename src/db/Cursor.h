#pragma once

#include "db/RowSet.h"

#include <QStringList>
#include <QVector>

namespace db {

// The rows of one result, read from the database on demand and kept once
// read: a grid shows the first screenful at once and reads further rows as
// the user scrolls. Rows count from 0. A cursor must not outlive the
// connection that opened it; a refused read throws DbError.
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

    int RowsRead() const { return int(rows_.size()); }
    // True once the last row has been read.
    bool AtEnd() const { return atEnd_; }
    // Reads up to `count` more rows; returns how many came.
    int Fetch(int count);
    // Reads until at least `count` rows are held or the result ends; true
    // when that many are held.
    bool Reach(int count);
    void FetchAll();

    const RowSet::Row& RowAt(int index) const { return rows_.at(index); }

protected:
    // Reads the next row of the result; false at its end.
    virtual bool ReadRow(RowSet::Row& row) = 0;

private:
    QStringList columns_;
    QVector<RowSet::Row> rows_;
    bool atEnd_ = false;
};

// A cursor over rows that were all read already (backends that cannot read
// on demand, and stored procedures).
class RowSetCursor final : public Cursor {
public:
    explicit RowSetCursor(const RowSet& rows) : Cursor(rows.Columns()), source_(rows.Rows()) {}

protected:
    bool ReadRow(RowSet::Row& row) override;

private:
    QVector<RowSet::Row> source_;
    int next_ = 0;
};

} // namespace db
