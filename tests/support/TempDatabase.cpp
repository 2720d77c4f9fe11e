#include "support/TempDatabase.h"

#include "db/DbError.h"
#include "db/ServerConnection.h"
#include "db/ServerSchema.h"

#include <QCoreApplication>
#include <QStringList>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>

namespace testing_support {

namespace {

const char* const kServerVariable = "TESSARY_TEST_PG";
const QString kTemplate = QStringLiteral("tessary_test_template");
const QString kPool = QStringLiteral("tessary_test_pool");

db::ServerLogin AdminLogin()
{
    return db::ServerLogin::FromUrl(qEnvironmentVariable(kServerVariable));
}

db::ServerLogin LoginTo(const QString& database, Backend backend)
{
    db::ServerLogin login = AdminLogin();
    login.database = database;
    if (backend == Backend::PostgreSqlOverOdbc) {
        login.driver = db::ServerLogin::Driver::Odbc;
        login.odbcDriver = QStringLiteral("PostgreSQL Unicode");
    }
    return login;
}

QString QuotedName(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

// The template every test database is copied from, made once per server:
// test programs run side by side, so the first one builds it under a lock.
void EnsureTemplate()
{
    static std::once_flag once;
    std::call_once(once, [] {
        auto admin = db::ServerConnection::Open(AdminLogin());
        admin->ExecuteNative(QStringLiteral("SELECT pg_advisory_lock(7)"));
        const bool exists = admin->ExecuteNative(QStringLiteral("SELECT count(*) FROM pg_database WHERE datname = '%1'")
                                                     .arg(kTemplate)).Field(0).toInt() > 0;
        if (!exists) {
            const QString building = kTemplate + QStringLiteral("_building");
            admin->ExecuteNative(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(building));
            admin->ExecuteNative(QStringLiteral("CREATE DATABASE %1").arg(building));
            {
                auto schema = db::ServerConnection::Open(LoginTo(building, Backend::PostgreSql));
                schema->CreateSchema();
            }
            admin->ExecuteNative(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(building, kTemplate));
        }
        // Made under the lock: two programs making it at once would clash.
        admin->ExecuteNative(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (name text PRIMARY KEY, in_use boolean NOT NULL)").arg(kPool));
        admin->ExecuteNative(QStringLiteral("SELECT pg_advisory_unlock(7)"));
    });
}

QString NextDatabaseName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tessary_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// Making a database costs most of a second, emptying one a few
// milliseconds: test databases are kept in a pool on the server, shared by
// the test programs (ctest runs each test in a program of its own), and
// emptied before they go back.

QString TakeFromPool(db::ServerConnection& admin)
{
    const db::RowSet taken = admin.ExecuteNative(QStringLiteral(
        "UPDATE %1 SET in_use = true WHERE name = (SELECT name FROM %1 WHERE NOT in_use LIMIT 1 FOR UPDATE SKIP LOCKED) "
        "RETURNING name").arg(kPool));
    if (!taken.IsEmpty())
        return taken.Field(0).toString();
    const QString name = NextDatabaseName();
    admin.ExecuteNative(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(QuotedName(name), kTemplate));
    admin.ExecuteNative(QStringLiteral("INSERT INTO %1 VALUES ('%2', true)").arg(kPool, name));
    return name;
}

} // namespace

QStringList ColumnTexts(const db::RowSet& rows, int column)
{
    QStringList texts;
    for (const db::RowSet::Row& row : rows.Rows())
        texts << row.value(column).toString();
    return texts;
}

namespace {

QString ValueText(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("NULL") : value.toString();
}

} // namespace

QStringList RowTexts(const db::RowSet& rows)
{
    QStringList texts;
    for (const db::RowSet::Row& row : rows.Rows()) {
        QStringList values;
        for (const QVariant& value : row)
            values << ValueText(value);
        texts << values.join(QLatin1Char('|'));
    }
    return texts;
}

QStringList RowTexts(db::Cursor& cursor)
{
    cursor.FetchAll();
    QStringList texts;
    for (int r = 0; r < cursor.RowsRead(); ++r) {
        QStringList values;
        for (int c = 0; c < cursor.ColumnCount(); ++c)
            values << ValueText(cursor.Value(r, c));
        texts << values.join(QLatin1Char('|'));
    }
    return texts;
}

QStringList ColumnTexts(db::Cursor& cursor, int column)
{
    cursor.FetchAll();
    QStringList texts;
    for (int r = 0; r < cursor.RowsRead(); ++r)
        texts << cursor.Value(r, column).toString();
    return texts;
}

const char* BackendName(Backend backend)
{
    switch (backend) {
    case Backend::Embedded: return "Embedded";
    case Backend::PostgreSql: return "PostgreSql";
    case Backend::PostgreSqlOverOdbc: return "PostgreSqlOverOdbc";
    }
    return "?";
}

std::vector<Backend> AllBackends()
{
    return {Backend::Embedded, Backend::PostgreSql, Backend::PostgreSqlOverOdbc};
}

std::string Unavailable(Backend backend)
{
    if (backend == Backend::Embedded)
        return {};
    std::string why;
    if (qEnvironmentVariableIsEmpty(kServerVariable))
        why = std::string("no test server: ") + kServerVariable + " is not set (scripts/test.sh starts one)";
    if (!why.empty() && qEnvironmentVariable("TESSARY_REQUIRE_SERVER") == QLatin1String("1")) {
        ADD_FAILURE() << why;
        return {};
    }
    return why;
}

TempDatabase::TempDatabase(Backend backend) : backend_(backend)
{
    if (backend == Backend::Embedded) {
        path_ = dir_.filePath(QStringLiteral("test.db"));
        connection_ = db::SqliteConnection::Create(path_);
        return;
    }
    if (!Unavailable(backend).empty())
        return;  // the test skips itself
    EnsureTemplate();
    serverDatabase_ = TakeFromPool(*db::ServerConnection::Open(AdminLogin()));
    setup_ = db::ServerConnection::Open(LoginTo(serverDatabase_, Backend::PostgreSql));
    connection_ = OpenAnother();
}

TempDatabase::~TempDatabase()
{
    connection_.reset();
    if (serverDatabase_.isEmpty())
        return;
    try {
        bool emptied = false;
        if (!discard_) {
            try {
                QStringList tables;
                for (const db::TableDef& t : db::Catalog::Instance().Tables())
                    tables << db::PgSchemaOfDatabase(t.database) + QLatin1Char('.') + t.name;
                setup_->ExecuteNative(QStringLiteral("TRUNCATE %1 RESTART IDENTITY").arg(tables.join(QStringLiteral(", "))));
                emptied = true;
            } catch (const db::DbError&) {
                // A test that took a table away leaves a database nobody can use.
            }
        }
        setup_.reset();
        auto admin = db::ServerConnection::Open(AdminLogin());
        if (emptied) {
            admin->ExecuteNative(QStringLiteral("UPDATE %1 SET in_use = false WHERE name = '%2'").arg(kPool, serverDatabase_));
        } else {
            admin->ExecuteNative(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(QuotedName(serverDatabase_)));
            admin->ExecuteNative(QStringLiteral("DELETE FROM %1 WHERE name = '%2'").arg(kPool, serverDatabase_));
        }
    } catch (const db::DbError& e) {
        ADD_FAILURE() << "test database left behind: " << e.Description().toStdString();
    }
}

db::SqliteConnection& TempDatabase::Sqlite()
{
    if (backend_ != Backend::Embedded)
        throw db::DbError(QStringLiteral("not an embedded test database"));
    return static_cast<db::SqliteConnection&>(*connection_);
}

std::unique_ptr<db::Connection> TempDatabase::OpenAnother() const
{
    if (backend_ == Backend::Embedded)
        return db::SqliteConnection::Open(path_);
    return db::ServerConnection::Open(LoginTo(serverDatabase_, backend_));
}

std::unique_ptr<db::SqliteConnection> TempDatabase::OpenAnotherSqlite() const
{
    return db::SqliteConnection::Open(path_);
}

void TempDatabase::Insert(const char* table, std::initializer_list<Field> fields)
{
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (const Field& f : fields) {
        names << QString::fromLatin1(f.first);
        marks << QStringLiteral("?");
        values << f.second;
    }
    Native(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
               .arg(QString::fromLatin1(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
           values);
}

db::RowSet TempDatabase::Native(const QString& sql, const QVariantList& binds)
{
    if (setup_)
        return setup_->ExecuteNative(sql, binds);
    return Sqlite().ExecuteNative(sql, binds);
}

qlonglong TempDatabase::Scalar(const QString& sql)
{
    const db::RowSet rows = Native(sql);
    return rows.IsEmpty() ? 0 : rows.Field(0).toLongLong();
}

app::ConnectionSettings TempDatabase::Settings() const
{
    app::ConnectionSettings settings;
    if (backend_ == Backend::Embedded) {
        settings.databasePath = path_;
        return settings;
    }
    settings.backend = app::ConnectionSettings::Backend::PostgreSql;
    settings.server = LoginTo(serverDatabase_, Backend::PostgreSql);
    return settings;
}

QString TempDatabase::InsertionOrder() const
{
    return backend_ == Backend::Embedded ? QStringLiteral("rowid") : QStringLiteral("RowNo");
}

} // namespace testing_support
