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

} // namespace admin
