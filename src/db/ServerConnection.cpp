#include "db/ServerConnection.h"

#include "db/Catalog.h"
#include "db/DbError.h"
#include "db/ServerSchema.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>

namespace db {

namespace {

// The key of the numbering lock on PostgreSQL ("Tsry").
constexpr qint64 kNumberingLockKey = 0x54737279;
// How long a save waits for another's numbering lock on SQL Server.
constexpr int kAppLockTimeoutMs = 30000;

QString NextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tessary-server-%1").arg(++counter);
}

// PostgreSQL folds the names written bare to lower case; the program's
// columns get back the spelling the catalog gives them.
QString ColumnName(const QString& name)
{
    if (name != name.toLower())
        return name;
    for (const TableDef& t : Catalog::Instance().Tables())
        if (const ColumnDef* c = t.FindColumn(name))
            return c->name;
    return name;
}

// The session the program's statements expect. SQL Server: no row counts
// before results, month-first date texts, and the ANSI settings its
// statements and indexes are written for. PostgreSQL: month-first date
// texts, the program's schemas and the comparison operators on the path.
QStringList SessionStatements(bool postgres)
{
    if (postgres)
        return {QStringLiteral("SET search_path = ") + kPgSearchPath, QStringLiteral("SET DateStyle = 'ISO, MDY'"),
                QStringLiteral("SET client_min_messages = warning")};
    return {QStringLiteral("SET NOCOUNT ON"), QStringLiteral("SET DATEFORMAT mdy"), QStringLiteral("SET ANSI_NULLS ON"),
            QStringLiteral("SET ANSI_WARNINGS ON"), QStringLiteral("SET ANSI_PADDING ON"),
            QStringLiteral("SET CONCAT_NULL_YIELDS_NULL ON"), QStringLiteral("SET QUOTED_IDENTIFIER ON"),
            QStringLiteral("SET ARITHABORT ON"), QStringLiteral("SET LANGUAGE us_english")};
}

} // namespace

QString ServerConnection::Describe(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    // ODBC names the driver and the server in brackets before the message.
    static const QRegularExpression kOdbcPrefix(QStringLiteral("^(\\[[^\\]]*\\])+\\s*"));
    text.remove(kOdbcPrefix);
    // PostgreSQL: the severity before the message, the statement's position
    // and context after it; its ODBC driver adds a line of its own.
    static const QRegularExpression kSeverity(QStringLiteral("^(ERROR|FATAL|PANIC):\\s+"));
    text.remove(kSeverity);
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    if (lineEnd >= 0)
        text = text.left(lineEnd);
    text = text.trimmed();
    if (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    // Qt's ODBC driver appends the SQLSTATE after a blank.
    static const QRegularExpression kState(QStringLiteral("\\s+[0-9A-Z]{5}$"));
    text.remove(kState);
    if (text.contains(QLatin1Char('"') + kPgLengthCheckPrefix))
        return QStringLiteral("String or binary data would be truncated.");
    return text;
}

ServerConnection::ServerConnection(ServerLogin login)
    : login_(std::move(login)), connectionName_(NextConnectionName()) {}

ServerConnection::~ServerConnection()
{
    if (inTransaction_)
        database_.rollback();
    database_.close();
    database_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

std::unique_ptr<ServerConnection> ServerConnection::Open(const ServerLogin& login)
{
    std::unique_ptr<ServerConnection> connection(new ServerConnection(login));
    const bool odbc = login.driver == ServerLogin::Driver::Odbc;
    const QString driver = odbc ? QStringLiteral("QODBC") : QStringLiteral("QPSQL");
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw DbError(QStringLiteral("Cannot connect to the server: Qt's %1 driver is not installed (Debian package %2).")
                          .arg(driver, odbc ? QStringLiteral("libqt6sql6-odbc") : QStringLiteral("libqt6sql6-psql")));
    QSqlDatabase& db = connection->database_;
    db = QSqlDatabase::addDatabase(driver, connection->connectionName_);
    if (odbc) {
        db.setDatabaseName(OdbcConnectionString(login));
    } else {
        db.setHostName(login.host);
        if (login.port > 0)
            db.setPort(login.port);
        db.setDatabaseName(login.database);
        db.setUserName(login.user);
        db.setPassword(login.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=15;application_name=Tessary"));
    }
    db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!db.open())
        throw DbError(QStringLiteral("Cannot connect to the server: ") + Describe(db.lastError()));
    connection->SetUpSession();
    return connection;
}

Backend ServerConnection::Kind() const
{
    return IsPostgreSql() ? Backend::PostgreSql : Backend::SqlServer;
}

void ServerConnection::SetUpSession()
{
    for (const QString& statement : SessionStatements(IsPostgreSql()))
        ExecuteNative(statement);
}

void ServerConnection::Fail(const QSqlError& error) const
{
    throw DbError(Describe(error));
}

RowSet ServerConnection::DoExecute(const QString& statement)
{
    if (!IsPostgreSql())
        return ExecuteNative(statement);
    const QString& sql = translator_.Translate(statement);
    if (!inTransaction_)
        return ExecuteNative(sql);
    // A failed statement leaves the transaction usable, as on SQL Server and
    // the embedded file: the save's number query may fail on a typed number
    // and the save goes on with another way of numbering.
    ExecuteNative(QStringLiteral("SAVEPOINT tessary_statement"));
    try {
        return ExecuteNative(sql);
    } catch (const DbError&) {
        ExecuteNative(QStringLiteral("ROLLBACK TO SAVEPOINT tessary_statement"));
        throw;
    }
}

RowSet ServerConnection::ExecuteNative(const QString& sql, const QVariantList& binds)
{
    QSqlQuery query(database_);
    query.setForwardOnly(true);
    bool ok = false;
    if (binds.isEmpty()) {
        ok = query.exec(sql);
    } else {
        ok = query.prepare(sql);
        if (ok) {
            for (const QVariant& value : binds)
                query.addBindValue(value);
            ok = query.exec();
        }
    }
    if (!ok)
        Fail(query.lastError());
    if (!query.isSelect())
        return {};
    const QSqlRecord record = query.record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns << ColumnName(record.fieldName(i));
    QVector<RowSet::Row> rows;
    while (query.next()) {
        RowSet::Row row;
        row.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i) {
            // SQL Server's bit columns come back as truth values: as 1 and
            // 0, the flags read as they do on the other backends.
            const QVariant value = query.value(i);
            row << (value.typeId() == QMetaType::Bool ? QVariant(value.toBool() ? 1 : 0) : value);
        }
        rows << std::move(row);
    }
    if (query.lastError().isValid())
        Fail(query.lastError());
    return RowSet(std::move(columns), std::move(rows));
}

void ServerConnection::BeginTransaction()
{
    if (inTransaction_)
        throw DbError(QStringLiteral("A transaction is open already on this connection."));
    if (!database_.transaction())
        Fail(database_.lastError());
    inTransaction_ = true;
    try {
        if (IsPostgreSql()) {
            ExecuteNative(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kNumberingLockKey));
        } else {
            const RowSet result = ExecuteNative(
                QStringLiteral("DECLARE @result int; EXEC @result = sp_getapplock @Resource = 'Tessary numbering', "
                               "@LockMode = 'Exclusive', @LockOwner = 'Transaction', @LockTimeout = %1; "
                               "SELECT @result AS Result")
                    .arg(kAppLockTimeoutMs));
            if (result.IsEmpty() || result.Field(0).toInt() < 0)
                throw DbError(QStringLiteral("Another workstation holds the numbering lock; try again."));
        }
    } catch (...) {
        Rollback();
        throw;
    }
}

void ServerConnection::Commit()
{
    if (!inTransaction_)
        throw DbError(QStringLiteral("No transaction is open on this connection."));
    if (!database_.commit())
        Fail(database_.lastError());
    inTransaction_ = false;
}

void ServerConnection::Rollback()
{
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    if (!database_.rollback())
        Fail(database_.lastError());
}

bool ServerConnection::HasSchema()
{
    const QString sql = IsPostgreSql()
        ? QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE table_schema = 'password' "
                         "AND table_name = 'tbpasswordmain'")
        : QStringLiteral("SELECT count(*) FROM Password.INFORMATION_SCHEMA.TABLES WHERE TABLE_NAME = 'tbPasswordMain'");
    try {
        return ExecuteNative(sql).Field(0).toInt() > 0;
    } catch (const DbError&) {
        return false;
    }
}

void ServerConnection::CreateSchema()
{
    if (HasSchema())
        throw DbError(QStringLiteral("Cannot create the database: %1 holds the program's tables already.").arg(login_.database));
    if (!IsPostgreSql()) {
        for (const QString& statement : SqlServerSchemaDdl())
            ExecuteNative(statement);
        return;
    }
    TransactionGuard transaction(*this);
    for (const QString& statement : PgSchemaDdl())
        ExecuteNative(statement);
    ExecuteNative(QStringLiteral("ALTER DATABASE %1 SET search_path = %2")
                      .arg(QStringLiteral("\"%1\"").arg(QString(login_.database).replace(QLatin1Char('"'), QLatin1String("\"\""))),
                           kPgSearchPath));
    transaction.Commit();
}

} // namespace db
