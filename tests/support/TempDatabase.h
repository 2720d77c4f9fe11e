#pragma once

#include "db/SqliteConnection.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <utility>

namespace testing_support {

using Field = std::pair<const char*, QVariant>;

// A fresh embedded database in a temporary folder, with the whole schema and
// no rows; each test adds the few rows its case needs.
// The texts of one column of every row, in order.
QStringList ColumnTexts(const db::RowSet& rows, int column = 0);

class TempDatabase {
public:
    TempDatabase();

    db::SqliteConnection& Connection() { return *connection_; }
    QString Path() const { return path_; }
    // Opens a second, independent connection on the same file.
    std::unique_ptr<db::SqliteConnection> OpenAnother() const;

    // Inserts one row with the given column values (bound, not quoted).
    void Insert(const char* table, std::initializer_list<Field> fields);
    // Number of rows a native SQLite query returns in its first column.
    qlonglong Scalar(const QString& sql);

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<db::SqliteConnection> connection_;
};

} // namespace testing_support
