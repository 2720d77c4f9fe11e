#pragma once

#include "db/Connection.h"
#include "db/ServerLogin.h"

#include <QString>
#include <memory>

namespace app {

// Where the current-user component finds the database. Kept in its own
// settings file in the user's configuration folder; without one, the
// embedded database at its default place.
struct ConnectionSettings {
    using Backend = db::Backend;

    Backend backend = Backend::Embedded;
    QString databasePath;      // embedded: the database file
    // Server backends: host, port, database, user, ODBC data source or
    // driver. Its password is written to the settings file only when
    // rememberPassword is set; otherwise it lives for the session.
    db::ServerLogin server;
    bool rememberPassword = false;

    static QString SettingsFilePath();
    static QString DefaultDatabasePath();
    static ConnectionSettings Load();
    // Writes the file (readable by its owner only). A password that is not
    // to be remembered is taken out of it.
    void Save() const;

    // The login of the server backend chosen, its kind following the backend.
    db::ServerLogin ServerLogin() const;

    // Opens the connection these settings describe; throws db::DbError.
    std::unique_ptr<db::Connection> Open() const;
};

} // namespace app
