#include "records/Item.h"

#include "db/DbError.h"
#include "db/Quote.h"

namespace records {

clsItem::clsItem(RecordServices services) : Record(services, QStringLiteral("clsItem"))
{
    Reset();
}

void clsItem::Reset()
{
    ItemID.clear();
    locationID_.clear();
    MarkupIn = 0;
    MarkupOut = 0;
    NetAmount = {};
    OnHand = 0;
    OnOrder = 0;
    SellingPriceIn = {};
    SellingPriceOut = {};
    ItemStatus = 0;
    AverageCost = {};
    MinimumStockLevel = 0;
    MaxStock = 0;
    AveConsumption = 0;
    LastInventoryCount = base::ZeroDate();
    ExpiryDate = base::ZeroDate();
}

void clsItem::Fill(const RowReader& row)
{
    const QString empty;
    const QDateTime zeroDate = base::ZeroDate();
    locationID_ = row.Text("LocationID", empty);
    ItemID = row.Text("ItemID");
    MarkupIn = row.Int16("Markup_In", 0);
    MarkupOut = row.Int16("Markup_Out", 0);
    NetAmount = row.Money("NetAmount", {});
    OnHand = row.Double("OnHand", 0);
    MaxStock = row.Double("MaxStock", 0);
    OnOrder = row.Double("OnOrder", 0);
    SellingPriceIn = row.Money("SellingPriceIn", {});
    SellingPriceOut = row.Money("SellingPriceOut", {});
    ItemStatus = row.Int16("ItemStatus", 0);
    AverageCost = row.Money("AverageCost", {});
    MinimumStockLevel = row.Double("MinStockLevel", 0);
    AveConsumption = row.Double("AveConsumption", 0);
    LastInventoryCount = row.Date("LastInventoryCount", zeroDate);
    ExpiryDate = row.Date("ExpiryDate", zeroDate);
    GLCode = row.Text("NewGLCode", empty);
    POMonthsToDeliver = row.Double("POMonthsToDeliver", 0);
    MinimumOrAverageConsumption = row.Flag("MinimumOrAverage");
    StartDate = row.Text("StartDate");
    EndDate = row.Text("EndDate");
    ListCost = row.Double("ListCost");
    UOM = row.Int16("UnitOfMeasureID");
    UOMDescription = row.Text("UnitOfMeasure");
    LastDeliveryDate = row.Date("Last DDate");
    LastDeliveryQty = row.Double("Last Qty");
    Packing = row.Int16("Packing");
    IsFloor = row.Flag("IsFloor");
    IsCeiling = row.Flag("IsCeiling");
    Floor = row.Double("Floor");
    Ceiling = row.Double("Ceiling");
    IsADSStock = row.Flag("IsADSStock");
    ADSStock = row.Double("ADSStock");
}

db::Connection& clsItem::LoadConnection()
{
    return Services().userConnection();
}

std::shared_ptr<clsItemMaster> clsItem::ItemMaster()
{
    return itemMaster_.Get([&](clsItemMaster& master) { master.LoadItem(ItemID); });
}

std::shared_ptr<clsLocation> clsItem::Location()
{
    return Raising(u"Location", MemberKind::PropertyGet,
                   [&] { return location_.Get([&](clsLocation& location) { location.LoadLocation(locationID_); }); });
}

bool clsItem::LoadItem(const QString& itemID, const QString& locationID)
{
    try {
        return LoadByKey(itemID, ItemID,
                         "Inventory..sp_Inv_SearchItem_In_Invent " + db::Quote(itemID) + "," + db::Quote(locationID));
    } catch (const std::exception& failure) {
        Services().notices.TellCritical(Describe(failure), QStringLiteral("Message"));
        return false;
    }
}

bool clsItem::SearchItem(const QString& lstrItemCode, const QString& lstrLocationName, const QString& lstrLocationID)
{
    return SearchWith([&] { return Services().lookups.PickItem(lstrItemCode, lstrLocationName, lstrLocationID); },
        [&](const QString& code) { return LoadItem(code, lstrLocationID); });
}

} // namespace records
