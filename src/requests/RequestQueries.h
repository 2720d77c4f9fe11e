#pragma once

#include <QString>

namespace db { class Connection; }

namespace requests {

// The list of stored requests addressed to the user's locations, one row per
// request: number, from, to, date, requester's name and the hidden
// department-from ID. Pendings or processed; verified or not.
QString RequestListStatement(const QString& employeeId, bool pendings, bool verified);

// True when the user is assigned to the location. Database failures reach
// the caller.
bool IsUserLocation(db::Connection& connection, const QString& userId, const QString& locationId);

} // namespace requests
