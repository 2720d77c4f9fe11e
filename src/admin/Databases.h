#pragma once

#include "db/SqliteConnection.h"

#include <QDate>
#include <QString>
#include <memory>

namespace admin {

// An empty site database: the whole schema, no rows. Refuses a path that
// exists; creates the folder it goes in.
std::unique_ptr<db::SqliteConnection> CreateSiteDatabase(const QString& path);

// The demo database, its request dates counted back from today. Refuses a
// path that exists; removes the half-built file when building fails.
void CreateDemoDatabase(const QString& path, const QDate& today = QDate::currentDate());

// An existing site database; throws DbError when there is none at path.
std::unique_ptr<db::SqliteConnection> OpenSiteDatabase(const QString& path);

// What the upgrade of a site database did, in a line for the operator.
QString UpgradeSiteDatabase(const QString& path);
// The integrity check of a site database in plain words; true when sound.
bool CheckSiteDatabase(const QString& path, QString* report);

} // namespace admin
