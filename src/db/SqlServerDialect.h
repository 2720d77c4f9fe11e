#pragma once

#include "db/Dialect.h"

namespace db {

// SQL Server through ODBC: the program's statements and stored procedures
// are the server's own, sent as written; an application lock owned by the
// transaction for numbering.
class SqlServerDialect final : public ServerDialect {
public:
    Backend Kind() const override { return Backend::SqlServer; }
    QStringList SessionStatements() const override;
    QStringList SchemaDdl() const override;
    void TakeNumberingLock(const NativeRunner& run) const override;
    QString Translate(const QString& statement) override { return statement; }
    QString RefusalText(const QString& message) const override { return message; }
    bool FailureSpoilsTransaction() const override { return false; }
    QString SchemaQuery() const override;
    // CREATE DATABASE cannot run inside a transaction.
    bool SchemaInOneTransaction() const override { return false; }
    // Results are read whole, as the server sends them.
    QString CursorDeclaration(const QString&, const QString&) const override { return {}; }
    QString CursorFetch(const QString&, int) const override { return {}; }
    QString CursorFetchRest(const QString&) const override { return {}; }
    QString CursorClose(const QString&) const override { return {}; }
    // The schema has one layout on SQL Server: nothing to upgrade.
    int SchemaLayout(const NativeRunner&) const override { return 1; }
    int CurrentLayout() const override { return 1; }
    QStringList UpgradeDdl(int) const override { return {}; }
};

} // namespace db
