#pragma once

#include "db/Connection.h"

#include <QString>
#include <memory>

namespace app {

// Where the current-user component finds the database. Kept in its own
// settings file in the user's configuration folder; without one, the
// embedded database at its default place.
struct ConnectionSettings {
    enum class Backend { Embedded, SqlServer, PostgreSql };

    Backend backend = Backend::Embedded;
    QString databasePath;      // embedded: the database file
    QString serverName;        // server backends: host (and instance or port)
    QString database = QStringLiteral("INVENTORY");
    QString user;
    QString password;

    static QString SettingsFilePath();
    static QString DefaultDatabasePath();
    static ConnectionSettings Load();
    void Save() const;

    // Opens the connection these settings describe; throws db::DbError.
    std::unique_ptr<db::Connection> Open() const;
};

} // namespace app
