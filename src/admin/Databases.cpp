#include "admin/Databases.h"

#include "app/HospitalInfo.h"
#include "db/DbError.h"
#include "db/ServerConnection.h"
#include "db/ServerSchema.h"

#include "admin/DemoData.h"
#include "admin/Site.h"

#include <QDir>
#include <QFileInfo>
#include <functional>

namespace admin {

namespace {

std::unique_ptr<db::ServerConnection> OpenServer(const QString& url, const PasswordPrompt& prompt)
{
    db::ServerLogin login = db::ServerLogin::FromUrl(url);
    if (login.password.isEmpty())
        login.password = qEnvironmentVariable("TESSARY_PASSWORD");
    try {
        return db::ServerConnection::Open(login);
    } catch (const db::DbError&) {
        // Asked once, when no password was given at all and the server
        // would not have us without one.
        if (!login.password.isEmpty() || !prompt)
            throw;
    }
    login.password = prompt(QStringLiteral("%1@%2").arg(login.user, login.host.isEmpty() ? login.odbcDsn : login.host));
    return db::ServerConnection::Open(login);
}

} // namespace

std::unique_ptr<db::Connection> CreateSiteDatabase(const QString& target, const PasswordPrompt& prompt)
{
    if (db::ServerLogin::IsUrl(target)) {
        auto server = OpenServer(target, prompt);
        server->CreateSchema();
        return server;
    }
    if (!QFileInfo::exists(target))
        QDir().mkpath(QFileInfo(target).absolutePath());
    return db::SqliteConnection::Create(target);
}

void WriteSiteRecords(db::Connection& connection, const Hospital& hospital)
{
    SiteChange record;
    record.name = hospital.name;
    record.address1 = hospital.address1;
    record.address2 = hospital.address2;
    record.code = hospital.code;
    InsertHospitalRecord(connection, record);
    for (const app::SiteSwitch& s : app::SiteSwitches())
        InsertSiteSwitch(connection, s, false);
}

namespace {

// Makes the site database and fills it in one transaction. Only a file this
// call created can be left half-filled here, so removing it loses nothing.
void BuildSite(const QString& target, const PasswordPrompt& prompt, const std::function<void(db::Connection&)>& fill)
{
    auto connection = CreateSiteDatabase(target, prompt);
    try {
        db::TransactionGuard transaction(*connection);
        fill(*connection);
        transaction.Commit();
    } catch (...) {
        connection.reset();
        if (!db::ServerLogin::IsUrl(target))
            db::SqliteFile::RemoveFiles(target);
        throw;
    }
}

} // namespace

void InitSite(const QString& target, const Hospital& hospital, const PasswordPrompt& prompt)
{
    BuildSite(target, prompt, [&](db::Connection& connection) { WriteSiteRecords(connection, hospital); });
}

void CreateDemoDatabase(const QString& target, const QDate& today, const PasswordPrompt& prompt)
{
    // The demo rows go in with the embedded file's and PostgreSQL's own
    // statements (tables named bare), which SQL Server's two databases do
    // not take: refused before anything is made.
    if (db::ServerLogin::IsUrl(target) && db::ServerLogin::FromUrl(target).backend == db::Backend::SqlServer)
        throw db::DbError(QStringLiteral("The demo site is made on a database file or on PostgreSQL; on SQL Server use "
                                         "init, then add your own rows."));
    BuildSite(target, prompt, [&](db::Connection& connection) { BuildDemoData(connection, today); });
}

std::unique_ptr<db::Connection> OpenSiteDatabase(const QString& target, const PasswordPrompt& prompt)
{
    if (db::ServerLogin::IsUrl(target))
        return OpenServer(target, prompt);
    return db::SqliteConnection::Open(target);
}

std::unique_ptr<db::SqliteConnection> OpenDatabaseFile(const QString& path)
{
    if (db::ServerLogin::IsUrl(path))
        throw db::DbError(QStringLiteral("This command works on a database file only; the server keeps its own."));
    return db::SqliteConnection::Open(path, db::SqliteConnection::Access::ReadOnly);
}

db::RowSet ExecuteNative(db::Connection& connection, const QString& sql, const QVariantList& binds)
{
    if (auto* server = dynamic_cast<db::ServerConnection*>(&connection))
        return server->ExecuteNative(sql, binds);
    return dynamic_cast<db::SqliteConnection&>(connection).ExecuteNative(sql, binds);
}

QString UpgradeSiteDatabase(const QString& path, const PasswordPrompt& prompt)
{
    if (db::ServerLogin::IsUrl(path)) {
        // A server's tables are its owner's: what this version added is
        // added where missing, nothing else is touched.
        if (db::ServerLogin::FromUrl(path).backend != db::Backend::PostgreSql)
            throw db::DbError(QStringLiteral(
                "On SQL Server add what this version added with the server's own tools, as \"tessary-admin init\" "
                "makes it on an empty database: the table tbInvStockMovement, the column isIssueTessary (bit) of "
                "tbInvUserSettings and the column isDisabledTessary (bit) of Password's tbPasswordMain."));
        auto server = OpenServer(path, prompt);
        const int was = server->UpgradeSchema();
        const int now = server->CurrentLayout();
        const QString complete = QStringLiteral(": it has every table, column and index of this version.");
        if (was == now)
            return QStringLiteral("The database \"%1\" is up to date (layout %2)").arg(server->DatabaseName()).arg(now)
                   + complete;
        return QStringLiteral("The database \"%1\" was upgraded from layout %2 to %3")
                   .arg(server->DatabaseName())
                   .arg(was)
                   .arg(now)
            + complete;
    }
    const int was = db::SqliteConnection::Upgrade(path);
    if (was == db::SqliteFile::kSchemaVersion)
        return QStringLiteral("The database \"%1\" is up to date (layout %2).").arg(path).arg(was);
    return QStringLiteral("The database \"%1\" was upgraded from layout %2 to %3.")
        .arg(path)
        .arg(was)
        .arg(db::SqliteFile::kSchemaVersion);
}

bool CheckSiteDatabase(const QString& path, QString* report)
{
    const QStringList problems = OpenDatabaseFile(path)->File().IntegrityProblems();
    if (problems.isEmpty()) {
        *report = QStringLiteral("The database \"%1\" is sound.").arg(path);
        return true;
    }
    *report = QStringLiteral("The database \"%1\" is damaged:\n  %2").arg(path, problems.join(QStringLiteral("\n  ")));
    return false;
}

} // namespace admin
