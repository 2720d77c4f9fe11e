#pragma once

#include <QDateTime>

#include <QString>

namespace db { class Connection; }

namespace app {

struct SessionContext;

// True when the site switch row exists and its value is true. Read from the
// database at every call; database errors reach the caller.
bool IsSwitchOn(db::Connection& connection, const QString& idkey);

// The database server's current time. Failures reach the caller.
QDateTime ServerTime(db::Connection& connection);

// Fills the hospital fields of the session from the first hospital record;
// false when there is none. Database errors reach the caller.
bool LoadHospitalInfo(SessionContext& session, db::Connection& connection);

} // namespace app
