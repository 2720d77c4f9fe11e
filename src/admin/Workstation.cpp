#include "admin/Workstation.h"

#include "admin/AdminError.h"
#include "db/DbError.h"
#include "db/ServerConnection.h"

#include <QFileInfo>
#include <sys/vfs.h>

namespace admin {

namespace {

// The settings file of a scope.
QString FileOf(app::ConnectionSettings::Scope scope)
{
    return scope == app::ConnectionSettings::Scope::Computer ? app::ConnectionSettings::SystemSettingsFilePath()
                                                             : app::ConnectionSettings::SettingsFilePath();
}

// Every workstation user writes a shared file and its folder (SQLite keeps
// its -wal and -shm files beside it): said when only the owner may.
QString SharedFileNote(const QString& path)
{
    QStringList owned;
    for (const QFileInfo& info : {QFileInfo(path), QFileInfo(QFileInfo(path).absolutePath())})
        if (!(info.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther)))
            owned << QStringLiteral("\"%1\" (owner %2)").arg(info.absoluteFilePath(), info.owner());
    if (owned.isEmpty())
        return {};
    return QStringLiteral("Note: only the owner may write %1. Every user who runs the program must be able to "
                          "write the database file and its folder: give them a group that may write both.\n")
        .arg(owned.join(QStringLiteral(" and ")));
}

// Opens the database the settings name as the program would, without
// leaving anything behind; throws what refuses it.
void CheckDatabase(const QString& target, const app::ConnectionSettings& settings, const PasswordPrompt& prompt)
{
    if (settings.backend == app::ConnectionSettings::Backend::Embedded) {
        const QString network = NetworkFileSystem(QFileInfo(settings.databasePath).absolutePath());
        if (!network.isEmpty())
            throw AdminError(QStringLiteral(
                "\"%1\" is on a network share (%2): the locks of a database file and the -shm file beside it do "
                "not hold across a network, and workstations sharing the file there would damage it. Keep the "
                "file on a local disk of the one computer that uses it, or put the site on a PostgreSQL server "
                "for several workstations. Nothing was written.")
                                 .arg(settings.databasePath, network));
        OpenDatabaseFile(settings.databasePath);
        return;
    }
    const std::unique_ptr<db::Connection> connection = OpenSiteDatabase(target, prompt);
    if (auto* server = dynamic_cast<db::ServerConnection*>(connection.get()); server && !server->HasSchema())
        throw AdminError(QStringLiteral("%1 holds no site of the program: make one with \"tessary-admin init %1\". "
                                        "Nothing was written.")
                             .arg(settings.Target()));
}

} // namespace

QString NetworkFileSystem(const QString& path)
{
    struct statfs info {};
    if (statfs(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969: return QStringLiteral("nfs");
    case 0x517B: return QStringLiteral("smb");
    case 0xFF534D42: return QStringLiteral("cifs");
    case 0xFE534D42: return QStringLiteral("smb2");
    case 0x5346414F: return QStringLiteral("afs");
    case 0x73757245: return QStringLiteral("coda");
    case 0x01021997: return QStringLiteral("9p");
    case 0x00C36400: return QStringLiteral("ceph");
    default: return {};
    }
}

QString ConnectProgram(const QString& target, app::ConnectionSettings::Scope scope, const PasswordPrompt& prompt)
{
    const app::ConnectionSettings settings = app::ConnectionSettings::ForTarget(target);
    const QString problem = settings.Problem();
    if (!problem.isEmpty())
        throw AdminError(problem);
    try {
        CheckDatabase(target, settings, prompt);
    } catch (const db::DbError& e) {
        throw AdminError(e.Description() + QStringLiteral(" Nothing was written."));
    }
    const QString file = FileOf(scope);
    const QString failure = settings.WriteTo(file, scope);
    if (!failure.isEmpty())
        throw AdminError(failure + (scope == app::ConnectionSettings::Scope::Computer
                                        ? QStringLiteral(" The computer's settings are written as root (sudo).")
                                        : QString()));

    const bool computer = scope == app::ConnectionSettings::Scope::Computer;
    QString text = computer ? QStringLiteral("Every user of this computer without connection settings of their own "
                                             "now opens %1 (settings: %2).\n")
                            : QStringLiteral("You now open %1 (settings: %2).\n");
    text = text.arg(settings.Target(), file);
    if (settings.backend != app::ConnectionSettings::Backend::Embedded)
        text += QStringLiteral("No password is kept: each user types theirs in the log-in window's Connection... "
                               "dialog, or the server trusts them (~/.pgpass, PGPASSWORD, its own rules).\n");
    else if (computer)
        text += SharedFileNote(settings.databasePath);
    const QString own = app::ConnectionSettings::SettingsFilePath();
    if (computer && QFileInfo(own).isFile())
        text += QStringLiteral("Your own settings (%1) still come first for you: delete them to follow the "
                               "computer's.\n")
                    .arg(own);
    return text;
}

QString DescribeConnection()
{
    const app::ConnectionSettings settings = app::ConnectionSettings::Load();
    QString text = QStringLiteral("You open %1\n").arg(settings.Target());
    text += settings.source.isEmpty()
                ? QStringLiteral("  (no connection settings: the default database file)\n")
                : QStringLiteral("  (settings: %1)\n").arg(settings.source);
    // The computer's file that a user without settings follows: the first
    // of the system's folders that holds one.
    for (const QString& computer : app::ConnectionSettings::SettingsFilePaths().mid(1))
        if (QFileInfo(computer).isFile())
            return text + QStringLiteral("The computer's settings (%1) open %2\n")
                              .arg(computer, app::ConnectionSettings::LoadFrom(computer).Target());
    return text + QStringLiteral("The computer has no settings (%1).\n")
                      .arg(app::ConnectionSettings::SystemSettingsFilePath());
}

} // namespace admin
