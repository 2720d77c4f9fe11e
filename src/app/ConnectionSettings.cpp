#include "app/ConnectionSettings.h"

#include "db/DbError.h"
#include "db/SqliteConnection.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace app {

namespace {

QString BackendName(ConnectionSettings::Backend backend)
{
    switch (backend) {
    case ConnectionSettings::Backend::Embedded: return QStringLiteral("embedded");
    case ConnectionSettings::Backend::SqlServer: return QStringLiteral("sqlserver");
    case ConnectionSettings::Backend::PostgreSql: return QStringLiteral("postgresql");
    }
    return QStringLiteral("embedded");
}

ConnectionSettings::Backend BackendFromName(const QString& name)
{
    if (name == QLatin1String("sqlserver"))
        return ConnectionSettings::Backend::SqlServer;
    if (name == QLatin1String("postgresql"))
        return ConnectionSettings::Backend::PostgreSql;
    return ConnectionSettings::Backend::Embedded;
}

} // namespace

QString ConnectionSettings::SettingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Tessary/connection.ini");
}

QString ConnectionSettings::DefaultDatabasePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Tessary/tessary.db");
}

ConnectionSettings ConnectionSettings::Load()
{
    ConnectionSettings settings;
    QSettings file(SettingsFilePath(), QSettings::IniFormat);
    settings.backend = BackendFromName(file.value(QStringLiteral("backend")).toString());
    settings.databasePath = file.value(QStringLiteral("embedded/path"), DefaultDatabasePath()).toString();
    settings.serverName = file.value(QStringLiteral("server/name")).toString();
    settings.database = file.value(QStringLiteral("server/database"), settings.database).toString();
    settings.user = file.value(QStringLiteral("server/user")).toString();
    settings.password = file.value(QStringLiteral("server/password")).toString();
    return settings;
}

void ConnectionSettings::Save() const
{
    QDir().mkpath(QFileInfo(SettingsFilePath()).absolutePath());
    QSettings file(SettingsFilePath(), QSettings::IniFormat);
    file.setValue(QStringLiteral("backend"), BackendName(backend));
    file.setValue(QStringLiteral("embedded/path"), databasePath);
    file.setValue(QStringLiteral("server/name"), serverName);
    file.setValue(QStringLiteral("server/database"), database);
    file.setValue(QStringLiteral("server/user"), user);
    file.setValue(QStringLiteral("server/password"), password);
    file.sync();
}

std::unique_ptr<db::Connection> ConnectionSettings::Open() const
{
    switch (backend) {
    case Backend::Embedded:
        return db::SqliteConnection::Open(databasePath.isEmpty() ? DefaultDatabasePath() : databasePath);
    case Backend::SqlServer:
    case Backend::PostgreSql:
        break;
    }
    throw db::DbError(QStringLiteral("This build connects to the embedded database only."));
}

} // namespace app
