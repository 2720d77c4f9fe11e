#include "db/SqliteConnection.h"
#include "db/procedures/Procedures.h"

namespace db::procedures {

// One item's stock row at one location with its master and unit-of-measure
// values. The stock item reads a number of these columns without a null
// default, so they are coalesced here to what an unset value means: empty
// text, zero, or the zero date.
RowSet SearchItemInInvent(SqliteConnection& connection, const QStringList& arguments)
{
    // Made once: an item's stock is looked up at every line typed.
    static const QStringList kParameters = {QStringLiteral("@ItemID"), QStringLiteral("@LocationID")};
    static const QSet<QString> kDateTimeColumns = {QStringLiteral("last ddate")};
    RequireArguments(QStringLiteral("sp_Inv_SearchItem_In_Invent"), arguments, kParameters);
    return connection.ExecuteNative(QStringLiteral(
        "SELECT I.LocationID AS LocationID, I.ItemID AS ItemID, "
        "I.Markup_In AS Markup_In, I.Markup_Out AS Markup_Out, I.NetAmount AS NetAmount, "
        "I.OnHand AS OnHand, I.OnOrder AS OnOrder, "
        "I.SellingPriceIn AS SellingPriceIn, I.SellingPriceOut AS SellingPriceOut, "
        "I.ItemStatus AS ItemStatus, I.AverageCost AS AverageCost, "
        "I.MinStockLevel AS MinStockLevel, COALESCE(I.MaxStock, 0) AS MaxStock, "
        "I.AveConsumption AS AveConsumption, I.LastInventoryCount AS LastInventoryCount, "
        "I.ExpiryDate AS ExpiryDate, I.NewGLCode AS NewGLCode, I.POMonthsToDeliver AS POMonthsToDeliver, "
        "COALESCE(I.MinimumOrAverage, 0) AS MinimumOrAverage, "
        "COALESCE(I.StartDate, '') AS StartDate, COALESCE(I.EndDate, '') AS EndDate, "
        "COALESCE(M.ListCost, 0) AS ListCost, "
        "COALESCE(M.UnitOfMeasureID, 0) AS UnitOfMeasureID, COALESCE(U.UnitOfMeasure, '') AS UnitOfMeasure, "
        "COALESCE(I.LastDeliveryDate, ?) AS \"Last DDate\", COALESCE(I.LastDeliveryQty, 0) AS \"Last Qty\", "
        "COALESCE(M.Packing, 0) AS Packing, "
        "COALESCE(I.IsFloor, 0) AS IsFloor, COALESCE(I.IsCeiling, 0) AS IsCeiling, "
        "COALESCE(I.Floor, 0) AS Floor, COALESCE(I.Ceiling, 0) AS Ceiling, "
        "COALESCE(I.IsADSStock, 0) AS IsADSStock, COALESCE(I.ADSStock, 0) AS ADSStock "
        "FROM tbInvent I "
        "LEFT JOIN tbInvMaster M ON M.ItemID = I.ItemID "
        "LEFT JOIN tbInvUnitOfMeasure U ON U.UnitOfMeasureID = M.UnitOfMeasureID "
        "WHERE I.ItemID = ? AND I.LocationID = ? "
        "LIMIT 1"),
        {kZeroDateTime, arguments.at(0), arguments.at(1)}, kDateTimeColumns);
}

} // namespace db::procedures
