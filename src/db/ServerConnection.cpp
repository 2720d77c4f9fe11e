#include "db/ServerConnection.h"

#include "db/Catalog.h"
#include "db/DbError.h"
#include "db/PostgreSqlDialect.h"
#include "db/ServerCursor.h"
#include "db/SqlServerDialect.h"
#include "db/TsqlTokenizer.h"

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
    for (ServerCursor* cursor : cursors_) {
        cursor->connection_ = nullptr;
        cursor->failure_ = QStringLiteral("The connection that opened this cursor is closed.");
    }
    if (inTransaction_ || cursorTransaction_)
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
    connection->scripts_ = !odbc;
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

QStringList ServerConnection::SavepointStatements()
{
    // One savepoint at a time: a savepoint left set under the next one would
    // make every statement of a long transaction a level deeper, and slower.
    // Sent apart, the release would cost a round trip of its own.
    QStringList statements;
    if (savepointSet_ && scripts_)
        statements << QStringLiteral("RELEASE SAVEPOINT tessary_statement");
    statements << QStringLiteral("SAVEPOINT tessary_statement");
    savepointSet_ = true;
    return statements;
}

RowSet ServerConnection::DoExecute(const QString& statement)
{
    SettleCursors();
    const QString sql = dialect_->Translate(statement);
    if (!inTransaction_ || !dialect_->FailureSpoilsTransaction())
        return Run(sql);
    // The save's number query may fail on a typed number, and the save goes
    // on with another way of numbering.
    try {
        return RunScript(SavepointStatements() << sql);
    } catch (const DbError&) {
        Run(QStringLiteral("ROLLBACK TO SAVEPOINT tessary_statement"));
        throw;
    }
}

namespace {

// Where the tuple of `Values (...)` begins in an insert that ends with it;
// -1 for any other statement.
qsizetype ValuesTupleStart(const QString& sql)
{
    const Tokens tokens = Tokenize(sql);
    if (tokens.size() < 4 || !tokens.first().IsWord(QLatin1String("insert")) || !tokens.last().IsPunct(')'))
        return -1;
    const int open = MatchingOpen(tokens, int(tokens.size()) - 1);
    if (open < 1 || !tokens[open - 1].IsWord(QLatin1String("values")))
        return -1;
    qsizetype position = 0;
    for (int i = 0; i < open; ++i)
        position += tokens[i].leading.size() + tokens[i].text.size();
    return position + tokens[open].leading.size();
}

// The most rows one insert carries.
constexpr int kRowsPerInsert = 1000;

} // namespace

// In a transaction, the rows of an insert go to the server as one insert of
// many rows: one round trip and one statement instead of one per row. A
// failure spoils the transaction (no savepoint), which the caller ends.
RowSet ServerConnection::DoExecuteWithRows(const QString& statement, const QList<QVariantList>& rows)
{
    SettleCursors();
    const QString sql = dialect_->Translate(statement);
    const qsizetype tuple = inTransaction_ && rows.size() > 1 ? ValuesTupleStart(sql) : -1;
    if (tuple < 0)
        return Connection::DoExecuteWithRows(statement, rows);
    const QString head = sql.left(tuple);
    const QString values = sql.mid(tuple);
    WithValuesWritten(head, {});  // refuses a marker before the tuple
    int affected = 0;
    for (qsizetype first = 0; first < rows.size(); first += kRowsPerInsert) {
        QString insert = head;
        const qsizetype last = std::min<qsizetype>(rows.size(), first + kRowsPerInsert);
        for (qsizetype r = first; r < last; ++r) {
            if (r > first)
                insert += QStringLiteral(", ");
            insert += WithValuesWritten(values, rows[r]);
        }
        affected += Run(insert).RowsAffected();
    }
    RowSet written;
    written.SetRowsAffected(affected);
    return written;
}

std::unique_ptr<Cursor> ServerConnection::DoOpenCursor(const QString& statement)
{
    const QString sql = dialect_->Translate(statement);
    const QString name = QStringLiteral("tessary_cursor_%1").arg(cursorsDeclared_ + 1);
    const QString declaration = dialect_->CursorDeclaration(name, sql);
    static const QRegularExpression kRead(QStringLiteral("^\\s*select\\b"), QRegularExpression::CaseInsensitiveOption);
    if (declaration.isEmpty() || inTransaction_ || !kRead.match(sql).hasMatch())
        return Connection::DoOpenCursor(statement);
    ++cursorsDeclared_;
    QStringList script;
    const bool begins = !cursorTransaction_;
    if (begins) {
        if (scripts_)
            script << QStringLiteral("BEGIN");
        else if (!database_.transaction())
            Fail(database_.lastError());
        cursorTransaction_ = true;
    }
    script << declaration << dialect_->CursorFetch(name, ServerCursor::kFirstFetch);
    RowSet first;
    try {
        first = RunScript(script);
    } catch (const DbError& e) {
        FailCursors(e.Description());
        throw;
    }
    auto cursor = std::make_unique<ServerCursor>(*this, name, std::move(first), ServerCursor::kFirstFetch);
    if (cursor->exhausted_) {
        cursor->connection_ = nullptr;
        if (cursors_.empty())
            ReleaseCursor(*cursor);
        else
            Run(dialect_->CursorClose(name));
    } else {
        cursors_.push_back(cursor.get());
    }
    return cursor;
}

RowSet ServerConnection::FetchCursor(ServerCursor& cursor, int count)
{
    try {
        return Run(count == 0 ? dialect_->CursorFetchRest(cursor.name_) : dialect_->CursorFetch(cursor.name_, count));
    } catch (const DbError& e) {
        FailCursors(e.Description());
        throw;
    }
}

void ServerConnection::ReleaseCursor(ServerCursor& cursor)
{
    cursor.connection_ = nullptr;
    cursors_.erase(std::remove(cursors_.begin(), cursors_.end(), &cursor), cursors_.end());
    if (!cursorTransaction_)
        return;
    // Ending the transaction closes every cursor in it.
    try {
        if (!cursors_.empty()) {
            Run(dialect_->CursorClose(cursor.name_));
            return;
        }
        cursorTransaction_ = false;
        if (!database_.commit())
            Fail(database_.lastError());
    } catch (const DbError& e) {
        FailCursors(e.Description());
    }
}

void ServerConnection::FailCursors(const QString& message)
{
    for (ServerCursor* cursor : cursors_) {
        cursor->connection_ = nullptr;
        cursor->failure_ = message;
    }
    cursors_.clear();
    if (cursorTransaction_) {
        cursorTransaction_ = false;
        database_.rollback();
    }
}

void ServerConnection::SettleCursors()
{
    if (!cursorTransaction_)
        return;
    while (!cursors_.empty()) {
        ServerCursor& cursor = *cursors_.back();
        try {
            cursor.Take(FetchCursor(cursor, 0), 0);
        } catch (const DbError&) {
            return;  // the cursors keep the failure, and the transaction is gone
        }
        ReleaseCursor(cursor);
    }
    if (cursorTransaction_) {
        cursorTransaction_ = false;
        if (!database_.commit())
            database_.rollback();
    }
}

RowSet ServerConnection::ExecuteNative(const QString& sql, const QVariantList& binds)
{
    SettleCursors();
    if (binds.isEmpty())
        return Run(sql);
    QSqlQuery query(database_);
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    if (ok) {
        for (const QVariant& value : binds)
            query.addBindValue(value);
        ok = query.exec();
    }
    if (!ok)
        Fail(query.lastError());
    return ReadResult(query);
}

RowSet ServerConnection::Run(const QString& sql)
{
    QSqlQuery query(database_);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        Fail(query.lastError());
    return ReadResult(query);
}

RowSet ServerConnection::RunScript(const QStringList& statements)
{
    if (!scripts_ || statements.size() == 1) {
        RowSet last;
        for (const QString& statement : statements)
            last = Run(statement);
        return last;
    }
    QSqlQuery query(database_);
    query.setForwardOnly(true);
    if (!query.exec(statements.join(QStringLiteral(";\n"))))
        Fail(query.lastError());
    for (qsizetype k = 1; k < statements.size(); ++k)
        if (!query.nextResult())
            Fail(query.lastError());
    return ReadResult(query);
}

RowSet ServerConnection::ReadResult(QSqlQuery& query) const
{
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
    SettleCursors();
    // Where the driver takes several statements at once, BEGIN goes with
    // the lock's statement.
    bool begun = false;
    if (!scripts_) {
        if (!database_.transaction())
            Fail(database_.lastError());
        begun = true;
    }
    inTransaction_ = true;
    savepointSet_ = false;
    try {
        dialect_->TakeNumberingLock([this, &begun](const QString& sql) {
            if (begun)
                return Run(sql);
            begun = true;
            return RunScript({QStringLiteral("BEGIN"), sql});
        });
        if (!begun)
            Run(QStringLiteral("BEGIN"));
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
    savepointSet_ = false;
}

void ServerConnection::Rollback()
{
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    savepointSet_ = false;
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

int ServerConnection::SchemaLayout()
{
    SettleCursors();
    return dialect_->SchemaLayout([this](const QString& sql) { return Run(sql); });
}

int ServerConnection::UpgradeSchema()
{
    if (!HasSchema())
        throw DbError(QStringLiteral("Cannot upgrade the database: %1 holds none of the program's tables.").arg(login_.database));
    TransactionGuard transaction(*this);
    const int was = SchemaLayout();
    if (was > dialect_->CurrentLayout())
        throw DbError(QStringLiteral("The database %1 has layout %2, which a later version of the program made; this "
                                     "version knows layouts up to %3.")
                          .arg(login_.database)
                          .arg(was)
                          .arg(dialect_->CurrentLayout()));
    for (const QString& statement : dialect_->UpgradeDdl(was))
        Run(statement);
    transaction.Commit();
    return was;
}

} // namespace db
