#include "requests/RequestQueries.h"

#include "db/Connection.h"
#include "db/Quote.h"

namespace requests {

QString RequestListStatement(const QString& employeeId, bool pendings, bool verified)
{
    QString sql = QStringLiteral("Select distinct A.DocumentNumber , B.Location ,")
                  + QStringLiteral(" C.Location ,A.TransDate ,")
                  + QStringLiteral(" (Select Top 1 LastName + ', ' + FirstName From Password..tbPasswordMain Where "
                                   "EmployeeID = A.UserID),A.targetlocationid ")
                  + QStringLiteral(" from INVENTORY..tbinvwithdrawrequest A ")
                  + QStringLiteral(" Left Outer Join INVENTORY..tbinvlocation B")
                  + QStringLiteral(" On A.TargetLocationID = B.LocationID")
                  + QStringLiteral(" Left Outer Join INVENTORY..tbinvLocation C")
                  + QStringLiteral(" On A.LocationId = C.LocationID")
                  + QStringLiteral(" Left Outer Join INVENTORY..tbinvUserLocation D")
                  + QStringLiteral(" On A.LocationID = D.LocationID")
                  + QStringLiteral(" Where D.UserID = ") + db::Quote(employeeId) + QStringLiteral(" and ");
    sql += pendings ? QStringLiteral(" isnull(A.Status,'') = '' ") : QStringLiteral(" A.Status = 'P' ");
    sql += verified ? QStringLiteral(" and isnull(verifiedby,'')<> '' Order By Transdate")
                    : QStringLiteral(" and isnull(verifiedby,'') = '' Order By Transdate");
    return sql;
}

bool IsUserLocation(db::Connection& connection, const QString& userId, const QString& locationId)
{
    const db::RowSet rows = connection.Execute("Select * from inventory..tbinvuserlocation where userid = "
                                               + db::Quote(userId) + " and Locationid = "
                                               + db::Quote(locationId.trimmed()));
    return !rows.Eof();
}

} // namespace requests
