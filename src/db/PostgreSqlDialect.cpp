#include "db/PostgreSqlDialect.h"

#include "db/ServerSchema.h"

#include <QRegularExpression>

namespace db {

namespace {

// The key of the numbering lock ("Tsry").
constexpr qint64 kNumberingLockKey = 0x54737279;

} // namespace

PostgreSqlDialect::PostgreSqlDialect(QString database) : database_(std::move(database)) {}

// Month-first date texts, the program's schemas and the comparison
// operators on the path.
//
// The program's cursors feed grids that show a screenful (32 rows) and read
// on as the user scrolls, so they are planned for their first hundredth, not
// the server's default tenth: at a tenth, a ward's search of a store with an
// empty box (9 000 rows) was planned as a sort of the whole result, 180 ms
// before its first row instead of 10 ms. The program's statements are short;
// compiling one to machine code (the server's JIT, taken for a large
// estimated cost even when a cursor reads a screenful) cost 20 ms and saved
// nothing.
QStringList PostgreSqlDialect::SessionStatements() const
{
    return {QStringLiteral("SET search_path = ") + kPgSearchPath, QStringLiteral("SET DateStyle = 'ISO, MDY'"),
            QStringLiteral("SET client_min_messages = warning"), QStringLiteral("SET cursor_tuple_fraction = 0.01"),
            QStringLiteral("SET jit = off")};
}

// Sessions set their search path themselves; the database's own serves
// whoever connects otherwise (psql, a report tool).
QStringList PostgreSqlDialect::SchemaDdl() const
{
    QStringList ddl = PgSchemaDdl();
    ddl << QStringLiteral("ALTER DATABASE %1 SET search_path = %2")
               .arg(QStringLiteral("\"%1\"").arg(QString(database_).replace(QLatin1Char('"'), QLatin1String("\"\""))),
                    kPgSearchPath);
    return ddl;
}

void PostgreSqlDialect::TakeNumberingLock(const NativeRunner& run) const
{
    run(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kNumberingLockKey));
}

// The severity comes before the message; a refusal of the length checks is
// said as the other backends say it.
QString PostgreSqlDialect::RefusalText(const QString& message) const
{
    static const QRegularExpression kSeverity(QStringLiteral("^(ERROR|FATAL|PANIC):\\s+"));
    QString text = message;
    text.remove(kSeverity);
    if (text.contains(QLatin1Char('"') + kPgLengthCheckPrefix))
        return QStringLiteral("String or binary data would be truncated.");
    return text;
}

QString PostgreSqlDialect::SchemaQuery() const
{
    return QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE table_schema = 'password' "
                          "AND table_name = 'tbpasswordmain'");
}

// A cursor outside a transaction of its own would be read whole when the
// transaction ends (WITH HOLD); declared in one, it is planned for its first
// rows and read as the grid scrolls.
QString PostgreSqlDialect::CursorDeclaration(const QString& name, const QString& sql) const
{
    return QStringLiteral("DECLARE %1 NO SCROLL CURSOR FOR %2").arg(name, sql);
}

QString PostgreSqlDialect::CursorFetch(const QString& name, int count) const
{
    return QStringLiteral("FETCH FORWARD %1 FROM %2").arg(count).arg(name);
}

QString PostgreSqlDialect::CursorFetchRest(const QString& name) const
{
    return QStringLiteral("FETCH ALL FROM %1").arg(name);
}

QString PostgreSqlDialect::CursorClose(const QString& name) const
{
    return QStringLiteral("CLOSE %1").arg(name);
}

int PostgreSqlDialect::SchemaLayout(const NativeRunner& run) const
{
    return PgLayoutOf(run);
}

int PostgreSqlDialect::CurrentLayout() const
{
    return kPgLayout;
}

QStringList PostgreSqlDialect::UpgradeDdl(int from) const
{
    // What later versions added to the tables goes first: the layout's
    // indexes may name it.
    return PgMissingTablesDdl() + PgUpgradeDdl(from);
}

} // namespace db
