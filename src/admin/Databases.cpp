#include "admin/Databases.h"

#include "admin/DemoData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace admin {

namespace {

void RemoveDatabaseFiles(const QString& path)
{
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(path + suffix);
}

} // namespace

std::unique_ptr<db::SqliteConnection> CreateSiteDatabase(const QString& path)
{
    if (!QFileInfo::exists(path))
        QDir().mkpath(QFileInfo(path).absolutePath());
    return db::SqliteConnection::Create(path);
}

void CreateDemoDatabase(const QString& path, const QDate& today)
{
    auto connection = CreateSiteDatabase(path);
    try {
        db::TransactionGuard transaction(*connection);
        BuildDemoData(*connection, today);
        transaction.Commit();
    } catch (...) {
        // Only a file this call created gets here, so removing it loses nothing.
        connection.reset();
        RemoveDatabaseFiles(path);
        throw;
    }
}

std::unique_ptr<db::SqliteConnection> OpenSiteDatabase(const QString& path)
{
    return db::SqliteConnection::Open(path);
}

QString UpgradeSiteDatabase(const QString& path)
{
    const int was = db::SqliteConnection::Upgrade(path);
    if (was == db::SqliteConnection::kSchemaVersion)
        return QStringLiteral("The database \"%1\" is up to date (layout %2).").arg(path).arg(was);
    return QStringLiteral("The database \"%1\" was upgraded from layout %2 to %3.")
        .arg(path)
        .arg(was)
        .arg(db::SqliteConnection::kSchemaVersion);
}

bool CheckSiteDatabase(const QString& path, QString* report)
{
    const QStringList problems = OpenSiteDatabase(path)->IntegrityProblems();
    if (problems.isEmpty()) {
        *report = QStringLiteral("The database \"%1\" is sound.").arg(path);
        return true;
    }
    *report = QStringLiteral("The database \"%1\" is damaged:\n  %2").arg(path, problems.join(QStringLiteral("\n  ")));
    return false;
}

} // namespace admin
