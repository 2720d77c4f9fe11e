#include "db/ServerConnection.h"

#include "db/Catalog.h"
#include "db/DbError.h"
#include "db/PostgreSqlDialect.h"
#include "db/SqlServerDialect.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <atomic>

namespace db {

namespace {

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

std::unique_ptr<ServerDialect> DialectOf(const ServerLogin& login)
{
    switch (login.backend) {
    case Backend::PostgreSql: return std::make_unique<PostgreSqlDialect>(login.database);
    case Backend::SqlServer: return std::make_unique<SqlServerDialect>();
    case Backend::Embedded: break;
    }
    throw DbError(QStringLiteral("Cannot connect to the server: the login names no server."));
}

} // namespace

QString ServerConnection::DriverMessage(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    // ODBC names the driver and the server in brackets before the message.
    static const QRegularExpression kOdbcPrefix(QStringLiteral("^(\\[[^\\]]*\\])+\\s*"));
    text.remove(kOdbcPrefix);
    // The statement's position and context follow the message (PostgreSQL),
    // and PostgreSQL's ODBC driver adds a line of its own.
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    if (lineEnd >= 0)
        text = text.left(lineEnd);
    text = text.trimmed();
    if (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    // Qt's ODBC driver appends the SQLSTATE after a blank.
    static const QRegularExpression kState(QStringLiteral("\\s+[0-9A-Z]{5}$"));
    text.remove(kState);
    return text;
}

QString ServerConnection::Describe(const QSqlError& error) const
{
    return dialect_->RefusalText(DriverMessage(error));
}

ServerConnection::ServerConnection(ServerLogin login, std::unique_ptr<ServerDialect> dialect)
    : login_(std::move(login)), dialect_(std::move(dialect)), connectionName_(NextConnectionName()) {}

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
    std::unique_ptr<ServerConnection> connection(new ServerConnection(login, DialectOf(login)));
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
        throw DbError(QStringLiteral("Cannot connect to the server: ") + connection->Describe(db.lastError()));
    for (const QString& statement : connection->dialect_->SessionStatements())
        connection->ExecuteNative(statement);
    return connection;
}

void ServerConnection::Fail(const QSqlError& error) const
{
    throw DbError(Describe(error));
}

RowSet ServerConnection::DoExecute(const QString& statement)
{
    const QString sql = dialect_->Translate(statement);
    if (!inTransaction_ || !dialect_->FailureSpoilsTransaction())
        return ExecuteNative(sql);
    // The save's number query may fail on a typed number, and the save goes
    // on with another way of numbering.
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
    if (!query.isSelect()) {
        RowSet written;
        written.SetRowsAffected(std::max(query.numRowsAffected(), 0));
        return written;
    }
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
        dialect_->TakeNumberingLock([this](const QString& sql) { return ExecuteNative(sql); });
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
    try {
        return ExecuteNative(dialect_->SchemaQuery()).Field(0).toInt() > 0;
    } catch (const DbError&) {
        return false;
    }
}

void ServerConnection::CreateSchema()
{
    if (HasSchema())
        throw DbError(QStringLiteral("Cannot create the database: %1 holds the program's tables already.").arg(login_.database));
    if (!dialect_->SchemaInOneTransaction()) {
        for (const QString& statement : dialect_->SchemaDdl())
            ExecuteNative(statement);
        return;
    }
    TransactionGuard transaction(*this);
    for (const QString& statement : dialect_->SchemaDdl())
        ExecuteNative(statement);
    transaction.Commit();
}

} // namespace db
