#pragma once

#include "app/ConnectionSettings.h"
#include "db/Connection.h"
#include "db/SqliteConnection.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace db {
class ServerConnection;
}

namespace testing_support {

using Field = std::pair<const char*, QVariant>;

// The texts of one column of every row, in order.
QStringList ColumnTexts(const db::RowSet& rows, int column = 0);
// The same of a cursor, read to its end first.
QStringList ColumnTexts(db::Cursor& cursor, int column = 0);
// Every row of a result as one text, its values joined by '|' and "NULL"
// for null: for comparing two reads of the same rows. A cursor is read to
// its end first.
QStringList RowTexts(const db::RowSet& rows);
QStringList RowTexts(db::Cursor& cursor);

// Where a test database lives: the embedded file, or a database of its own
// on the throw-away PostgreSQL server of the test command (TESSARY_TEST_PG,
// the URL of a user that may create databases), reached through Qt's
// PostgreSQL driver or through ODBC.
enum class Backend { Embedded, PostgreSql, PostgreSqlOverOdbc };

const char* BackendName(Backend backend);
// Names the instances of a test parameterised by the backend.
struct BackendTestName {
    template <class ParamInfo>
    std::string operator()(const ParamInfo& info) const { return BackendName(info.param); }
};
// The backends the tests run on: all three when the test server is there.
std::vector<Backend> AllBackends();
// Empty when the backend can be used here, else why not. When the test
// command asks for the server (TESSARY_REQUIRE_SERVER=1) a missing one is a
// failure, not a reason to skip.
std::string Unavailable(Backend backend);

// Skips the current test when its backend cannot be used here.
#define TESSARY_SKIP_UNLESS_AVAILABLE(backend)                                      \
    do {                                                                            \
        const std::string why_ = testing_support::Unavailable(backend);             \
        if (!why_.empty())                                                          \
            GTEST_SKIP() << why_;                                                   \
    } while (false)

// A fresh database with the whole schema and no rows; each test adds the
// few rows its case needs.
class TempDatabase {
public:
    explicit TempDatabase(Backend backend = Backend::Embedded);
    ~TempDatabase();

    Backend Kind() const { return backend_; }
    db::Connection& Connection() { return *connection_; }
    // The embedded backend's connection; only for tests of that backend.
    db::SqliteConnection& Sqlite();
    QString Path() const { return path_; }
    // Opens a second, independent connection on the same database.
    std::unique_ptr<db::Connection> OpenAnother() const;
    std::unique_ptr<db::SqliteConnection> OpenAnotherSqlite() const;

    // Inserts one row with the given column values (bound, not quoted).
    void Insert(const char* table, std::initializer_list<Field> fields);
    // A statement in the backend's own dialect (tables by their bare names).
    db::RowSet Native(const QString& sql, const QVariantList& binds = {});
    // The first column of the first row of a native query.
    qlonglong Scalar(const QString& sql);
    // Settings that lead the log-in to this database (through Qt's
    // PostgreSQL driver for a server).
    app::ConnectionSettings Settings() const;
    // The column that orders a table's rows as they were inserted.
    QString InsertionOrder() const;
    // A server database whose tables the test changed is dropped afterwards
    // instead of going back to the pool.
    void DiscardAfterUse() { discard_ = true; }

private:
    Backend backend_;
    QTemporaryDir dir_;
    QString path_;
    QString serverDatabase_;
    bool discard_ = false;
    // Rows go in and native queries run through Qt's PostgreSQL driver
    // also when the connection under test goes through ODBC.
    std::unique_ptr<db::ServerConnection> setup_;
    std::unique_ptr<db::Connection> connection_;
};

} // namespace testing_support
