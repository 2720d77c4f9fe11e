#include "db/SqliteConnection.h"
#include "db/procedures/Procedures.h"

namespace db::procedures {

// The active locations a user is assigned to, by name.
RowSet UserLocation(SqliteConnection& connection, const QStringList& arguments)
{
    RequireArguments(QStringLiteral("sp_Inv_UserLocation"), arguments, {QStringLiteral("@UserID")});
    return connection.ExecuteNative(QStringLiteral(
        "SELECT L.Location AS Location, L.LocationID AS LocationID "
        "FROM tbInvUserLocation U JOIN tbInvLocation L ON L.LocationID = U.LocationID "
        "WHERE U.UserID = ? AND (L.Status IS NULL OR L.Status <> 'I') "
        "ORDER BY L.Location"),
        {arguments.at(0)});
}

} // namespace db::procedures
