#pragma once

#include "db/Connection.h"
#include "db/ServerLogin.h"
#include "db/SqliteConnection.h"

#include <QDate>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>

namespace admin {

// A site database is named by a file path (the embedded backend) or by a
// server URL (db::ServerLogin::FromUrl): postgresql://USER@HOST:PORT/DATABASE
// or sqlserver://USER@HOST:PORT/DATABASE?driver=NAME.
//
// A server's password never needs the command line: it comes from the
// environment (TESSARY_PASSWORD, or PGPASSWORD and ~/.pgpass for
// PostgreSQL), else from the prompt when the server asks for one.
using PasswordPrompt = std::function<QString(const QString& who)>;

// An empty site database: the whole schema, no rows. A file: refuses a path
// that exists; creates the folder it goes in; leaves no file behind when
// making it fails. A server: refuses a database that holds the program's
// tables already.
std::unique_ptr<db::Connection> CreateSiteDatabase(const QString& target, const PasswordPrompt& prompt = {});

// The hospital of a site: its name and address on every printed request,
// and its code (which site rules apply).
struct Hospital {
    QString name;
    QString address1;
    QString address2;
    QString code;
};

// The hospital record and the site switches, all off, of a new site, inside
// a transaction the caller holds.
void WriteSiteRecords(db::Connection& connection, const Hospital& hospital);

// A new site: the empty site database with its hospital record and switches.
// A file: removed again when writing them fails, so that the command can be
// run again once the cause (a full disk) is gone.
void InitSite(const QString& target, const Hospital& hospital, const PasswordPrompt& prompt = {});

// The demo database, its request dates counted back from today. A file:
// refuses a path that exists; removes the half-built file when building
// fails. PostgreSQL: the demo rows go in in one transaction. Refused on SQL
// Server.
void CreateDemoDatabase(const QString& target, const QDate& today = QDate::currentDate(),
                        const PasswordPrompt& prompt = {});

// An existing site database; throws DbError when there is none.
std::unique_ptr<db::Connection> OpenSiteDatabase(const QString& target, const PasswordPrompt& prompt = {});
// An existing database file, for the commands that read the file itself
// (check, backup): a file this user may not write is read, and nothing is
// left beside it.
std::unique_ptr<db::SqliteConnection> OpenDatabaseFile(const QString& path);

// Runs a statement in the backend's own dialect, tables named bare, with
// bound values: on the embedded file and on PostgreSQL.
db::RowSet ExecuteNative(db::Connection& connection, const QString& sql, const QVariantList& binds = {});

// What the upgrade of a site database did, in a line for the operator. A
// PostgreSQL server gets the tables, columns and indexes that this version
// added where they are missing, and the indexes and functions of its
// layout; SQL Server is refused, naming what to add.
QString UpgradeSiteDatabase(const QString& path, const PasswordPrompt& prompt = {});
// The integrity check of a site database in plain words; true when sound.
bool CheckSiteDatabase(const QString& path, QString* report);

} // namespace admin
