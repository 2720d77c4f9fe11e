#pragma once

#include "db/Connection.h"
#include "db/PgTranslator.h"
#include "db/ServerLogin.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QVariantList>
#include <memory>

namespace db {

// A connection to a database server: PostgreSQL through Qt's PostgreSQL
// driver or through ODBC (the program's statements translated), or SQL
// Server through ODBC (the statements sent as written, the procedures the
// server's own). Every result is read whole before the next statement.
// A transaction that may write takes the numbering lock at once: an advisory
// transaction lock on PostgreSQL, an application lock owned by the
// transaction on SQL Server, so saves never interleave.
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
    Backend Kind() const override;
    QString DatabaseName() const override { return login_.database; }

    const ServerLogin& Login() const { return login_; }
    bool IsPostgreSql() const { return login_.backend == Backend::PostgreSql; }

    // Runs one statement in the server's own dialect, with positional (?)
    // bind values.
    RowSet ExecuteNative(const QString& sql, const QVariantList& binds = {});

    // Whether the database holds the program's tables already.
    bool HasSchema();
    // Creates the program's schema from the catalog in one transaction
    // (PostgreSQL), or statement by statement (SQL Server, whose CREATE
    // DATABASE cannot run inside one).
    void CreateSchema();

    // The description of a failure as the program shows it: the server's own
    // message without the driver's decorations.
    static QString Describe(const QSqlError& error);

protected:
    RowSet DoExecute(const QString& statement) override;

private:
    explicit ServerConnection(ServerLogin login);
    void SetUpSession();
    [[noreturn]] void Fail(const QSqlError& error) const;

    ServerLogin login_;
    QString connectionName_;
    QSqlDatabase database_;
    PgTranslator translator_;
    bool inTransaction_ = false;
};

} // namespace db
