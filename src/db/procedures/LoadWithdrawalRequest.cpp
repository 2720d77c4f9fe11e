#include "db/SqliteConnection.h"
#include "db/procedures/Procedures.h"

namespace db::procedures {

// The stored lines of one request in the order they were saved, each with
// the item's name and the names of both locations. 'NEW' is the screen's
// placeholder for a request not saved yet: no rows, the same columns.
RowSet LoadWithdrawalRequest(SqliteConnection& connection, const QStringList& arguments)
{
    RequireArguments(QStringLiteral("sp_Inv_LoadWithdrawalRequest"), arguments, {QStringLiteral("@DocumentNumber")});
    return connection.ExecuteNative(QStringLiteral(
        "SELECT R.DocumentNumber AS DocumentNumber, R.ItemID AS ItemID, "
        "COALESCE(M.ItemName, '') || ' ' || COALESCE(M.ItemDesc, '') AS Description, "
        "R.Quantity AS Quantity, R.UnitCost AS UnitCost, R.ForRetail AS ForRetail, R.isADS AS isADS, "
        "R.LocationID AS LocationID, L.Location AS Location, "
        "R.TargetLocationID AS TargetLocationID, T.Location AS TLocation, "
        "R.TransDate AS TransDate, R.UserID AS UserID, R.Remarks AS Remarks, "
        "R.VerifiedBy AS VerifiedBy, R.VerifiedDate AS VerifiedDate, R.Status AS Status "
        "FROM tbInvWithdrawRequest R "
        "LEFT JOIN tbInvMaster M ON M.ItemID = R.ItemID "
        "LEFT JOIN tbInvLocation L ON L.LocationID = R.LocationID "
        "LEFT JOIN tbInvLocation T ON T.LocationID = R.TargetLocationID "
        "WHERE R.DocumentNumber = ? AND ? <> 'NEW' "
        "ORDER BY R.rowid"),
        {arguments.at(0), arguments.at(0)});
}

} // namespace db::procedures
