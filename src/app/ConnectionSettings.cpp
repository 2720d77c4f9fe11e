#include "app/ConnectionSettings.h"

#include "db/DbError.h"
#include "db/ServerConnection.h"
#include "db/SqliteConnection.h"

#include <QDir>
#include <QFile>
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
    db::ServerLogin& server = settings.server;
    server.host = file.value(QStringLiteral("server/name")).toString();
    server.port = file.value(QStringLiteral("server/port"), 0).toInt();
    server.database = file.value(QStringLiteral("server/database"), QStringLiteral("INVENTORY")).toString();
    server.user = file.value(QStringLiteral("server/user")).toString();
    server.odbcDsn = file.value(QStringLiteral("server/dsn")).toString();
    server.odbcDriver = file.value(QStringLiteral("server/driver")).toString();
    settings.rememberPassword = file.value(QStringLiteral("server/rememberPassword"), false).toBool();
    if (settings.rememberPassword)
        server.password = file.value(QStringLiteral("server/password")).toString();
    return settings;
}

void ConnectionSettings::Save() const
{
    QDir().mkpath(QFileInfo(SettingsFilePath()).absolutePath());
    {
        // Created private before anything is written into it.
        QFile created(SettingsFilePath());
        if (created.open(QIODevice::Append))
            created.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    QSettings file(SettingsFilePath(), QSettings::IniFormat);
    file.setValue(QStringLiteral("backend"), BackendName(backend));
    file.setValue(QStringLiteral("embedded/path"), databasePath);
    file.setValue(QStringLiteral("server/name"), server.host);
    file.setValue(QStringLiteral("server/port"), server.port);
    file.setValue(QStringLiteral("server/database"), server.database);
    file.setValue(QStringLiteral("server/user"), server.user);
    file.setValue(QStringLiteral("server/dsn"), server.odbcDsn);
    file.setValue(QStringLiteral("server/driver"), server.odbcDriver);
    file.setValue(QStringLiteral("server/rememberPassword"), rememberPassword);
    if (rememberPassword)
        file.setValue(QStringLiteral("server/password"), server.password);
    else
        file.remove(QStringLiteral("server/password"));
    file.sync();
}

db::ServerLogin ConnectionSettings::ServerLogin() const
{
    db::ServerLogin login = server;
    login.backend = backend == Backend::SqlServer ? Backend::SqlServer : Backend::PostgreSql;
    login.driver = backend == Backend::SqlServer ? db::ServerLogin::Driver::Odbc : db::ServerLogin::Driver::Native;
    if (login.backend == Backend::SqlServer && login.odbcDsn.isEmpty() && login.odbcDriver.isEmpty())
        login.odbcDriver = QStringLiteral("FreeTDS");
    return login;
}

std::unique_ptr<db::Connection> ConnectionSettings::Open() const
{
    if (backend == Backend::Embedded)
        return db::SqliteConnection::Open(databasePath.isEmpty() ? DefaultDatabasePath() : databasePath);
    return db::ServerConnection::Open(ServerLogin());
}

} // namespace app
