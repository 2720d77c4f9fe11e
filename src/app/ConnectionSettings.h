#pragma once

#include "db/Connection.h"
#include "db/ServerLogin.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace app {

// Where the current-user component finds the database. Kept in a settings
// file of the user's configuration folder; a user without one follows the
// computer's settings file (in the system's configuration folders, the XDG
// way), and without either, the embedded database at its default place.
struct ConnectionSettings {
    using Backend = db::Backend;

    // Whose settings file: the user's own, or the computer's, which every
    // user without settings of their own follows.
    enum class Scope { User, Computer };

    Backend backend = Backend::Embedded;
    QString databasePath;      // embedded: the database file
    // Server backends: host, port, database, user, ODBC data source or
    // driver. Its password is written to the user's settings file only when
    // rememberPassword is set; otherwise it lives for the session. The
    // computer's file never holds one.
    db::ServerLogin server;
    bool rememberPassword = false;
    // The file these settings were read from; empty when there was none and
    // they are the defaults.
    QString source;

    // The user's settings file ($XDG_CONFIG_HOME/Tessary/connection.ini).
    static QString SettingsFilePath();
    // The computer's settings file, as written: in the first folder of
    // $XDG_CONFIG_DIRS (/etc/xdg/Tessary/connection.ini).
    static QString SystemSettingsFilePath();
    // Where Load looks, in order: the user's file, then the computer's in
    // each folder of $XDG_CONFIG_DIRS.
    static QStringList SettingsFilePaths();
    static QString DefaultDatabasePath();
    // The first settings file that exists, else the defaults.
    static ConnectionSettings Load();
    // One settings file as it stands (the defaults where it says nothing).
    static ConnectionSettings LoadFrom(const QString& path);
    // The settings that open a database file (made absolute) or a server
    // URL (db::ServerLogin::FromUrl, its password left out). Throws
    // db::DbError for a URL of no backend the settings can name.
    static ConnectionSettings ForTarget(const QString& pathOrUrl);

    // Writes the user's file (readable by its owner only). A password that
    // is not to be remembered is taken out of it.
    void Save() const;
    // Writes the settings file of that scope at `path`: the user's readable
    // by its owner only, the computer's by everyone and without a password.
    // The reason when it could not be written, else empty.
    QString WriteTo(const QString& path, Scope scope) const;

    // The login of the server backend chosen, its kind following the backend.
    db::ServerLogin ServerLogin() const;
    // The database file or server the settings lead to, in a line.
    QString Target() const;

    // Why these settings name no database to open (a server left empty);
    // empty when they name one.
    QString Problem() const;
    // Problem(), else the refusal of the database when it is opened and
    // closed again; empty when it opened.
    QString TestConnection() const;

    // Opens the connection these settings describe; throws db::DbError.
    std::unique_ptr<db::Connection> Open() const;
};

} // namespace app
