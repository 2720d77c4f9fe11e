#pragma once

#include <QDateTime>

#include <QString>

namespace db { class Connection; }
namespace forms { class Prompts; }

namespace app {

struct SessionContext;

// True when the site switch row exists and its value is true. Read from the
// database at every call; database errors reach the caller.
bool IsSwitchOn(db::Connection& connection, const QString& idkey);

// Fills the hospital fields of the session from the first hospital record,
// or says that there is none. Database errors reach the caller.
// The database server's current time. Failures reach the caller.
QDateTime ServerTime(db::Connection& connection);

void LoadHospitalInfo(SessionContext& session, db::Connection& connection, forms::Prompts& prompts);

} // namespace app
