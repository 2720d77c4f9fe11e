#include "records/ItemMaster.h"

#include "db/Quote.h"

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

std::shared_ptr<clsSupplier> clsItemMaster::Supplier()
{
    return Raising(u"Supplier", MemberKind::PropertyGet,
                   [&] { return supplier_.Get([&](clsSupplier& s) { s.LoadSupplier(supplierCode_); }); });
}

std::shared_ptr<clsItemClass> clsItemMaster::ItemClass()
{
    return Raising(u"ItemClass", MemberKind::PropertyGet,
                   [&] { return itemClass_.Get([&](clsItemClass& c) { c.LoadItemClass(classificationCode_); }); });
}

std::shared_ptr<clsUnitOfMeasure> clsItemMaster::UnitOfMeasure()
{
    return unitOfMeasure_.Get([&](clsUnitOfMeasure& u) { u.LoadUOM(unitOfMeasureCode_); });
}

std::shared_ptr<clsGeneric> clsItemMaster::Generic()
{
    return generic_.Get([&](clsGeneric& g) { g.LoadGeneric(genericCode_); });
}

std::shared_ptr<clsSupplier> clsItemMaster::Manufacturer()
{
    return manufacturer_.Get([&](clsSupplier& m) { m.LoadSupplier(manufacturerCode_); });
}

namespace {

QString Whole(double value)
{
    return base::FormatNumber(value, QStringLiteral("#####0"));
}

QString Cost(base::Money value)
{
    return base::FormatNumber(value.ToDouble(), QStringLiteral("#######0.0000"));
}

QString DownTimeText(double value)
{
    return base::FormatNumber(value, QStringLiteral("##0.00"));
}

QString UnitCode(const clsUnitOfMeasure& unit)
{
    return base::FormatNumber(unit.Code, QStringLiteral("######0"));
}

} // namespace

clsItemMaster::WrittenCodes clsItemMaster::CodesToWrite() const
{
    return {supplier_.Required("Supplier").SupplierID, itemClass_.Required("ItemClass").Code,
            UnitCode(unitOfMeasure_.Required("UnitOfMeasure")), manufacturer_.Required("Manufacturer").SupplierID.trimmed()};
}

// Names, description and supplier go in trimmed; a master row without
// medicare takes the type "2".
QString clsItemMaster::InsertStatement(const WrittenCodes& codes) const
{
    return QStringLiteral("Insert Into INVENTORY..tbInvMaster ")
           + QStringLiteral("(ItemID,ItemName, ItemDesc, SupplierId, MarkupIn, ")
           + QStringLiteral(" MarkupOut, DownTime, Listcost, ItemClassificationID, ItemStatus, ")
           + QStringLiteral(" UnitOfMeasureID, Packing, BarCode, MedicareType,IncludeInStatement,OralInject, "
                            "AverageCost, ManufacturerID, IsSeniorDiscounted, WithLOTNumber, MedicareCategory, GLCode ) ")
           + QStringLiteral("Values (") + db::Quote(ItemID.trimmed()) + "," + db::Quote(ItemName.trimmed()) + ","
           + db::Quote(ItemDesc.trimmed()) + "," + db::Quote(codes.supplier.trimmed())
           + "," + Whole(MarkupIn) + "," + Whole(MarkupOut) + "," + DownTimeText(DownTime) + "," + Cost(ListCost)
           + "," + db::Quote(codes.classification) + "," + base::StrForm(ItemStatus) + ","
           + codes.unit + "," + Whole(Packing) + "," + db::Quote(BarCode)
           + "," + db::Quote(WithMedicare ? MedicareType : QStringLiteral("2")) + ",1," + db::Quote(EndorseMedicine)
           + "," + Cost(AverageCost) + ", "
           + db::Quote(codes.manufacturer) + ","
           + TruthText(SeniorCitizenDiscount) + "," + TruthText(WithLotNumber) + "," + db::Quote(MedicareCategory)
           + "," + db::Quote(GLCode) + ")";
}

// Names, description and supplier go in as they stand; without medicare
// the stored type is left alone.
QString clsItemMaster::UpdateStatement(const WrittenCodes& codes) const
{
    QString statement =
        "Update INVENTORY..tbInvMaster Set ItemName = " + db::Quote(ItemName) + ", ItemDesc = " + db::Quote(ItemDesc)
        + ", SupplierId = " + db::Quote(codes.supplier) + ", MarkupIn = " + Whole(MarkupIn)
        + ", MarkupOut = " + Whole(MarkupOut) + ", DownTime = " + DownTimeText(DownTime) + ", Listcost = "
        + Cost(ListCost) + ", ItemClassificationID = " + db::Quote(codes.classification)
        + ", ItemStatus = " + base::StrForm(ItemStatus) + ", UnitOfMeasureID = "
        + codes.unit + ", Packing = " + Whole(Packing) + ", AverageCost = "
        + Cost(AverageCost) + ", BarCode = " + db::Quote(BarCode) + ", OralInject = " + db::Quote(EndorseMedicine)
        + ", " + " ManufacturerID = " + db::Quote(codes.manufacturer) + " "
        + ", IsSeniorDiscounted = " + TruthText(SeniorCitizenDiscount) + ", WithLOTNumber = " + TruthText(WithLotNumber);
    if (WithMedicare)
        statement += ", MedicareType = " + db::Quote(MedicareType) + " ";
    statement += ", MedicareCategory = " + db::Quote(MedicareCategory) + " " + ", GLCode = " + db::Quote(GLCode)
                 + ", ItemClass = " + db::Quote(ItemClassTag) + (WithMedicare ? "" : " ") + " Where ItemID = "
                 + db::Quote(ItemID.trimmed());
    return statement;
}

bool clsItemMaster::Update()
{
    return Raising(u"Update", MemberKind::Method, [&] {
        const WrittenCodes codes = CodesToWrite();
        return InsertOrUpdate({
            .existing = "Select ItemID From INVENTORY..tbInvMaster Where ItemID = " + db::Quote(ItemID),
            .update = [&] { return UpdateStatement(codes); },
            .newCode = [](db::Connection& connection) {
                return NextWholeCode(connection,
                                     {QStringLiteral("Select Convert(VarChar(4),Max( Convert(Integer,Replace(itemid,'P','')) ) "
                                                     "+ 1)  as MaxCode From INVENTORY..tbInvMaster"),
                                      QStringLiteral("MaxCode"), QStringLiteral("Select ItemID From INVENTORY..tbInvMaster"),
                                      QStringLiteral("P")});
            },
            // The object takes the code its row is stored under.
            .insert = [&](const QString& newCode) {
                ItemID = newCode;
                return InsertStatement(codes);
            },
        });
    }, OnFailure::TellThenRaiseAfterDescription);
}

bool clsItemMaster::SearchItem(const QString& lstrItemCode)
{
    return SearchWith([&] { return Services().lookups.PickItem(lstrItemCode, QString(), QString()); },
        [&](const QString& code) { return LoadItem(code); });
}

} // namespace records
