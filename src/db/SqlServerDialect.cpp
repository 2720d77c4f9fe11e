#include "db/SqlServerDialect.h"

#include "db/DbError.h"
#include "db/ServerSchema.h"

namespace db {

namespace {

// How long a save waits for another's numbering lock.
constexpr int kAppLockTimeoutMs = 30000;

} // namespace

// No row counts before results, month-first date texts, and the ANSI
// settings the program's statements and indexes are written for.
QStringList SqlServerDialect::SessionStatements() const
{
    return {QStringLiteral("SET NOCOUNT ON"), QStringLiteral("SET DATEFORMAT mdy"), QStringLiteral("SET ANSI_NULLS ON"),
            QStringLiteral("SET ANSI_WARNINGS ON"), QStringLiteral("SET ANSI_PADDING ON"),
            QStringLiteral("SET CONCAT_NULL_YIELDS_NULL ON"), QStringLiteral("SET QUOTED_IDENTIFIER ON"),
            QStringLiteral("SET ARITHABORT ON"), QStringLiteral("SET LANGUAGE us_english")};
}

QStringList SqlServerDialect::SchemaDdl() const
{
    return SqlServerSchemaDdl();
}

void SqlServerDialect::TakeNumberingLock(const NativeRunner& run) const
{
    const RowSet result =
        run(QStringLiteral("DECLARE @result int; EXEC @result = sp_getapplock @Resource = 'Tessary numbering', "
                           "@LockMode = 'Exclusive', @LockOwner = 'Transaction', @LockTimeout = %1; "
                           "SELECT @result AS Result")
                .arg(kAppLockTimeoutMs));
    if (result.IsEmpty() || result.Field(0).toInt() < 0)
        throw DbError(QStringLiteral("Another workstation holds the numbering lock; try again."));
}

QString SqlServerDialect::SchemaQuery() const
{
    return QStringLiteral("SELECT count(*) FROM Password.INFORMATION_SCHEMA.TABLES WHERE TABLE_NAME = 'tbPasswordMain'");
}

} // namespace db
