#pragma once

#include "db/Connection.h"
#include "db/Dialect.h"
#include "db/ServerLogin.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <memory>
#include <vector>

namespace db {

class ServerCursor;

// A connection to a database server through one of Qt's drivers (the
// PostgreSQL driver or ODBC, as the login says). What differs between the
// servers is asked of the dialect: how the program's statements go to it,
// what a session starts with, the schema, the numbering lock a write
// transaction takes at once (so saves never interleave) and how refusals
// read. Every result is read whole before the next statement, but a
// cursor's (OpenCursor) where the server declares cursors: outside the
// program's transactions, a cursor is declared in a read transaction of its
// own and fetched a screenful at a time. Before any other statement runs,
// the open cursors are read to their end and that transaction ends.
class ServerConnection final : public Connection {
public:
    // Connects and sets the session up; throws DbError with the server's or
    // the driver's description.
    static std::unique_ptr<ServerConnection> Open(const ServerLogin& login);

    ~ServerConnection() override;

    void BeginTransaction() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override { return inTransaction_; }
    Backend Kind() const override { return dialect_->Kind(); }
    QString DatabaseName() const override { return login_.database; }

    const ServerLogin& Login() const { return login_; }

    // Runs one statement in the server's own dialect, with positional (?)
    // bind values.
    RowSet ExecuteNative(const QString& sql, const QVariantList& binds = {});

    // Whether the database holds the program's tables already.
    bool HasSchema();
    // Creates the program's schema from the catalog, in one transaction
    // where the server allows it.
    void CreateSchema();
    // Brings the schema of a database made by an earlier version up to this
    // one's layout, in one transaction; gives the layout it had.
    int UpgradeSchema();
    int SchemaLayout();
    int CurrentLayout() const { return dialect_->CurrentLayout(); }

    // The description of a failure as the program shows it: the server's own
    // message without the driver's decorations, in the dialect's words.
    QString Describe(const QSqlError& error) const;
    // The server's message of a failure without what the drivers add to it.
    static QString DriverMessage(const QSqlError& error);

protected:
    RowSet DoExecute(const QString& statement) override;
    RowSet DoExecuteWithRows(const QString& statement, const QList<QVariantList>& rows) override;
    std::unique_ptr<Cursor> DoOpenCursor(const QString& statement) override;

private:
    friend class ServerCursor;

    ServerConnection(ServerLogin login, std::unique_ptr<ServerDialect> dialect);
    [[noreturn]] void Fail(const QSqlError& error) const;
    RowSet ReadResult(QSqlQuery& query) const;
    // Runs statements in the server's own dialect, the open cursors left as
    // they are.
    RowSet Run(const QString& sql);
    // Runs statements one after the other, in one round trip where the
    // driver takes several at once; gives the last one's rows. Stops at the
    // first that fails and throws its failure.
    RowSet RunScript(const QStringList& statements);
    // Reads every open cursor to its end and ends their transaction.
    void SettleCursors();
    // The next rows of an open cursor (`count` 0: all that are left).
    RowSet FetchCursor(ServerCursor& cursor, int count);
    // A cursor read to its end or given up: closed on the server, and its
    // transaction ended when it was the last.
    void ReleaseCursor(ServerCursor& cursor);
    // A failed fetch spoils the cursors' transaction: it is rolled back, and
    // each open cursor keeps the rows it read and fails with `message`.
    void FailCursors(const QString& message);
    // The statements of a savepoint before one statement of a transaction.
    QStringList SavepointStatements();

    ServerLogin login_;
    std::unique_ptr<ServerDialect> dialect_;
    QString connectionName_;
    QSqlDatabase database_;
    bool inTransaction_ = false;
    // Whether the driver takes several statements in one round trip (Qt's
    // PostgreSQL driver) or one at a time (ODBC).
    bool scripts_ = false;
    // Whether a statement of the open transaction set a savepoint.
    bool savepointSet_ = false;
    std::vector<ServerCursor*> cursors_;
    bool cursorTransaction_ = false;
    int cursorsDeclared_ = 0;
};

} // namespace db
