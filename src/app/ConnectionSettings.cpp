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

const QString kSettingsFile = QStringLiteral("/Tessary/connection.ini");

// The system's configuration folders ($XDG_CONFIG_DIRS, /etc/xdg by
// default), most important first: those of the configuration locations
// that are not the user's own.
QStringList SystemConfigFolders()
{
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    folders.removeAll(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    return folders;
}

} // namespace

QString ConnectionSettings::SettingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + kSettingsFile;
}

QString ConnectionSettings::SystemSettingsFilePath()
{
    return SystemConfigFolders().value(0, QStringLiteral("/etc/xdg")) + kSettingsFile;
}

QStringList ConnectionSettings::SettingsFilePaths()
{
    QStringList paths{SettingsFilePath()};
    for (const QString& folder : SystemConfigFolders())
        paths << folder + kSettingsFile;
    return paths;
}

QString ConnectionSettings::DefaultDatabasePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Tessary/tessary.db");
}

ConnectionSettings ConnectionSettings::Load()
{
    for (const QString& path : SettingsFilePaths())
        if (QFileInfo(path).isFile())
            return LoadFrom(path);
    // No file: the defaults, read from where the user's file would be.
    ConnectionSettings settings = LoadFrom(SettingsFilePath());
    settings.source.clear();
    return settings;
}

ConnectionSettings ConnectionSettings::LoadFrom(const QString& path)
{
    ConnectionSettings settings;
    settings.source = path;
    QSettings file(path, QSettings::IniFormat);
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

ConnectionSettings ConnectionSettings::ForTarget(const QString& pathOrUrl)
{
    ConnectionSettings settings;
    if (!db::ServerLogin::IsUrl(pathOrUrl)) {
        settings.databasePath = QFileInfo(pathOrUrl).absoluteFilePath();
        return settings;
    }
    db::ServerLogin login = db::ServerLogin::FromUrl(pathOrUrl);
    if (login.backend == Backend::PostgreSql && login.driver != db::ServerLogin::Driver::Native)
        throw db::DbError(QStringLiteral("The program reaches PostgreSQL through its own driver: write the server as "
                                         "postgresql://USER@HOST:PORT/DATABASE."));
    login.password.clear();
    settings.backend = login.backend;
    settings.server = login;
    return settings;
}

void ConnectionSettings::Save() const
{
    WriteTo(SettingsFilePath(), Scope::User);
}

QString ConnectionSettings::WriteTo(const QString& path, Scope scope) const
{
    const bool computer = scope == Scope::Computer;
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    const bool madeFolder = !QFileInfo::exists(folder);
    if (!QDir().mkpath(folder))
        return QStringLiteral("Cannot make the folder \"%1\".").arg(folder);
    // Every user reads the computer's settings, whatever the umask of the
    // one who wrote them.
    const QFileDevice::Permissions everyoneReads = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                   | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (computer && madeFolder)
        QFile::setPermissions(folder, everyoneReads | QFileDevice::ExeOwner | QFileDevice::ExeGroup
                                          | QFileDevice::ExeOther);
    {
        // Made with its permissions before anything is written into it: the
        // user's private.
        QFile created(path);
        if (!created.open(QIODevice::Append))
            return QStringLiteral("Cannot write \"%1\": %2").arg(path, created.errorString());
        created.setPermissions(computer ? everyoneReads : QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    QSettings file(path, QSettings::IniFormat);
    file.setValue(QStringLiteral("backend"), BackendName(backend));
    file.setValue(QStringLiteral("embedded/path"), databasePath);
    file.setValue(QStringLiteral("server/name"), server.host);
    file.setValue(QStringLiteral("server/port"), server.port);
    file.setValue(QStringLiteral("server/database"), server.database);
    file.setValue(QStringLiteral("server/user"), server.user);
    file.setValue(QStringLiteral("server/dsn"), server.odbcDsn);
    file.setValue(QStringLiteral("server/driver"), server.odbcDriver);
    const bool keepPassword = rememberPassword && !computer;
    file.setValue(QStringLiteral("server/rememberPassword"), keepPassword);
    if (keepPassword)
        file.setValue(QStringLiteral("server/password"), server.password);
    else
        file.remove(QStringLiteral("server/password"));
    file.sync();
    if (file.status() != QSettings::NoError)
        return QStringLiteral("Cannot write \"%1\".").arg(path);
    return {};
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

QString ConnectionSettings::Target() const
{
    if (backend == Backend::Embedded)
        return databasePath.isEmpty() ? DefaultDatabasePath() : databasePath;
    return ServerLogin().ToUrl();
}

QString ConnectionSettings::Problem() const
{
    if (backend == Backend::Embedded || !server.host.trimmed().isEmpty())
        return {};
    if (backend == Backend::SqlServer && !server.odbcDsn.trimmed().isEmpty())
        return {};
    return backend == Backend::SqlServer
               ? QStringLiteral("No server is given: write the name or address of the database server, or an ODBC "
                                "data source.")
               : QStringLiteral("No server is given: write the name or address of the database server (localhost "
                                "for this computer).");
}

QString ConnectionSettings::TestConnection() const
{
    const QString problem = Problem();
    if (!problem.isEmpty())
        return problem;
    try {
        Open();
    } catch (const db::DbError& e) {
        return e.Description();
    }
    return {};
}

std::unique_ptr<db::Connection> ConnectionSettings::Open() const
{
    if (backend == Backend::Embedded)
        return db::SqliteConnection::Open(databasePath.isEmpty() ? DefaultDatabasePath() : databasePath);
    return db::ServerConnection::Open(ServerLogin());
}

} // namespace app
