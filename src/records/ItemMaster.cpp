#include "records/ItemMaster.h"

#include "app/SessionContext.h"
#include "db/Quote.h"
#include "dialogs/ItemLookup.h"

namespace records {

clsItemMaster::clsItemMaster(RecordServices services) : Record(services, QStringLiteral("clsItemMaster"))
{
    Reset();
}

void clsItemMaster::Reset()
{
    AverageCost = {};
    EndorseMedicine = QStringLiteral("X");
    BarCode.clear();
    VAT = 0;
    Packing = 0;
    ItemStatus = 0;
    SalesTax = 0;
    Freight = 0;
    ListCost = {};
    DownTime = 0;
    MarkupOut = 0;
    MarkupIn = 0;
    ItemDesc.clear();
    ItemName.clear();
    ItemID.clear();
    supplierCode_.clear();
    classificationCode_.clear();
    unitOfMeasureCode_ = 0;
    genericCode_.clear();
    manufacturerCode_.clear();
}

void clsItemMaster::Fill(const RowReader& row)
{
    const QString empty;
    ItemID = row.Text("ItemID");
    ItemName = row.Text("ItemName", empty);
    ItemDesc = row.Text("ItemDesc", empty);
    MarkupIn = row.Int16("MarkupIn", 0);
    MarkupOut = row.Int16("MarkupOut", 0);
    DownTime = row.Double("DownTime", 0);
    ListCost = row.Money("ListCost", {});
    Freight = row.Double("Freight", 0);
    SalesTax = row.Double("SalesTax", 0);
    ItemStatus = row.Int16("ItemStatus", 0);
    Packing = row.Int16("Packing", 0);
    VAT = row.Int16("VAT", 0);
    BarCode = row.Text("BarCode", QStringLiteral("0"));
    supplierCode_ = row.Text("SupplierID", empty);
    classificationCode_ = row.Text("ItemClassificationID", empty);
    unitOfMeasureCode_ = row.Int16("UnitOfMeasureID", 0);
    EndorseMedicine = row.Text("OralInject", QStringLiteral("X"));
    AverageCost = row.Money("AverageCost", {});
    genericCode_ = row.Text("GenericID", empty);
    manufacturerCode_ = row.Text("ManufacturerID", empty);
    // A NULL reads as false here too, rather than failing the load.
    SeniorCitizenDiscount = row.Flag("IsSeniorDiscounted", false);
    WithLotNumber = row.Flag("WithLotNumber", false);
    MedicareType = row.Text("MedicareType", QStringLiteral("N"));
    MedicareCategory = row.Text("MedicareCategory", QStringLiteral("A"));
    GLCode = row.Text("GLCode", empty);
}

bool clsItemMaster::LoadItem(const QString& code)
{
    return Raising(u"LoadItem", MemberKind::Method, [&] {
        return LoadByKey(code, ItemID, "Select * From INVENTORY..tbInvMaster Where ItemID = " + db::Quote(code));
    });
}

bool clsItemMaster::SearchItem(const QString& lstrItemCode)
{
    const RecordServices& s = Services();
    return SearchWith(
        [&] { dialogs::RunItemLookup(s.session, s.prompts, s.dialogs, lstrItemCode, QString(), QString()); },
        [&](const QString& code) { return LoadItem(code); });
}

} // namespace records
