#include "db/SqliteConnection.h"
#include "db/procedures/Procedures.h"

namespace db::procedures {

// The kit picker binds these columns in order under its own headers, so the
// order of the select list is part of the contract.
RowSet KitComponents(SqliteConnection& connection, const QString& kitItemId, const std::optional<QString>& componentItemId)
{
    QString sql = QStringLiteral(
        "SELECT K.ItemID AS ItemID, C.ItemName AS ItemName, K.Qty AS Qty, K.UnitCost AS UnitCost, "
        "C.Packing AS Packing, K.RetailType AS RetailType, K.Qty * K.UnitCost AS Amount "
        "FROM tbInvMaster KM "
        "JOIN tbInvKit K ON K.KitID = KM.KitID "
        "LEFT JOIN tbInvMaster C ON C.ItemID = K.ItemID "
        "WHERE KM.ItemID = ? AND (K.Active IS NULL OR K.Active <> 'I')");
    QVariantList binds{kitItemId};
    if (componentItemId) {
        sql += QStringLiteral(" AND K.ItemID = ?");
        binds << *componentItemId;
    }
    sql += QStringLiteral(" ORDER BY K.ItemID");
    return connection.ExecuteNative(sql, binds);
}

RowSet KitOfItems(SqliteConnection& connection, const QStringList& arguments)
{
    RequireArguments(QStringLiteral("sp_Inv_KitofItems"), arguments, {QStringLiteral("@ItemID")});
    return KitComponents(connection, arguments.at(0), std::nullopt);
}

} // namespace db::procedures
