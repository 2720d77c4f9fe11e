#pragma once

#include "db/Dialect.h"
#include "db/PgTranslator.h"

namespace db {

// PostgreSQL, reached through Qt's PostgreSQL driver or through ODBC: the
// program's statements translated (PgTranslator), its databases as schemas
// (ServerSchema.h), an advisory lock for numbering.
class PostgreSqlDialect final : public ServerDialect {
public:
    // `database`: the database connected to, whose search path the schema
    // sets.
    explicit PostgreSqlDialect(QString database);

    Backend Kind() const override { return Backend::PostgreSql; }
    QStringList SessionStatements() const override;
    QStringList SchemaDdl() const override;
    void TakeNumberingLock(const NativeRunner& run) const override;
    QString Translate(const QString& statement) override { return translator_.Translate(statement); }
    QString RefusalText(const QString& message) const override;
    bool FailureSpoilsTransaction() const override { return true; }
    QString SchemaQuery() const override;
    bool SchemaInOneTransaction() const override { return true; }
    QString CursorDeclaration(const QString& name, const QString& sql) const override;
    QString CursorFetch(const QString& name, int count) const override;
    QString CursorFetchRest(const QString& name) const override;
    QString CursorClose(const QString& name) const override;
    int SchemaLayout(const NativeRunner& run) const override;
    int CurrentLayout() const override;
    QStringList UpgradeDdl(int from) const override;

private:
    QString database_;
    PgTranslator translator_;
};

} // namespace db
