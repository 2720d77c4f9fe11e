#pragma once

#include "db/Connection.h"
#include "db/Dialect.h"
#include "db/ServerLogin.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QVariantList>
#include <memory>

namespace db {

// A connection to a database server through one of Qt's drivers (the
// PostgreSQL driver or ODBC, as the login says). What differs between the
// servers is asked of the dialect: how the program's statements go to it,
// what a session starts with, the schema, the numbering lock a write
// transaction takes at once (so saves never interleave) and how refusals
// read. Every result is read whole before the next statement.
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

    // The description of a failure as the program shows it: the server's own
    // message without the driver's decorations, in the dialect's words.
    QString Describe(const QSqlError& error) const;
    // The server's message of a failure without what the drivers add to it.
    static QString DriverMessage(const QSqlError& error);

protected:
    RowSet DoExecute(const QString& statement) override;

private:
    ServerConnection(ServerLogin login, std::unique_ptr<ServerDialect> dialect);
    [[noreturn]] void Fail(const QSqlError& error) const;

    ServerLogin login_;
    std::unique_ptr<ServerDialect> dialect_;
    QString connectionName_;
    QSqlDatabase database_;
    bool inTransaction_ = false;
};

} // namespace db
