#pragma once

#include "db/Backend.h"

#include <QString>

namespace db {

// Where a connection to a database server goes and who logs in.
struct ServerLogin {
    // How the program reaches the server. Native: Qt's PostgreSQL driver.
    // Odbc: an ODBC data source or driver (odbcDsn, odbcDriver), the only
    // way to SQL Server; PostgreSQL through its ODBC driver is the same
    // server, its statements translated alike.
    enum class Driver { Native, Odbc };

    Backend backend = Backend::PostgreSql;  // PostgreSql or SqlServer
    Driver driver = Driver::Native;
    QString host;
    int port = 0;              // 0: the driver's default
    QString database;          // PostgreSQL: the database; SQL Server: the one connected to
    QString user;
    QString password;          // empty: the driver's own ways (PGPASSWORD, ~/.pgpass)
    QString odbcDsn;           // ODBC: a data source set up on the machine, or
    QString odbcDriver;        // a driver by its name, with host, port and database

    // Parses "postgresql://user@host:port/database", "sqlserver://user@host:port/database?driver=NAME"
    // (or "?dsn=NAME") and "odbc-postgresql://..." (the same through ODBC).
    // A password in the URL is taken too, though the command line shows it
    // to other users of the machine. Throws DbError for anything else.
    static ServerLogin FromUrl(const QString& url);
    // True for a text FromUrl reads (a server, not a database file).
    static bool IsUrl(const QString& text);
    // The URL again, without the password.
    QString ToUrl() const;
};

// The ODBC connection string of a login: the DSN, or the driver with the
// server, port and database; user and password. Values that hold ; { or }
// are braced as ODBC wants.
QString OdbcConnectionString(const ServerLogin& login);

} // namespace db
