#include "db/Catalog.h"

#include "db/TsqlFunctions.h"

#include <QHash>

namespace db {

namespace {

ColumnDef T(const char* name, int length, bool nullable = true)
{
    return {QString::fromLatin1(name), ColumnType::Text, length, nullable};
}
ColumnDef I(const char* name) { return {QString::fromLatin1(name), ColumnType::Integer, 0, true}; }
ColumnDef F(const char* name) { return {QString::fromLatin1(name), ColumnType::Float, 0, true}; }
ColumnDef M(const char* name) { return {QString::fromLatin1(name), ColumnType::Money, 0, true}; }
ColumnDef D(const char* name) { return {QString::fromLatin1(name), ColumnType::DateTime, 0, true}; }
ColumnDef B(const char* name) { return {QString::fromLatin1(name), ColumnType::Flag, 0, true}; }

const QString kInventory = QStringLiteral("INVENTORY");
const QString kPassword = QStringLiteral("Password");

QVector<TableDef> BuildTables()
{
    return {
        {kInventory, "tbHospitalInfo",
         {T("Company", 100), T("Address1", 200), T("Address2", 200), T("ClientName", 20),
          B("AllowWDZeroOnHand"), B("isAutoWithdrawRequestNumber")},
         {}},
        {kInventory, "tbPharmaSwitch",
         {T("idkey", 10, false), B("KeyValue"), T("SwitchDescription", 100)},
         {"idkey"}},
        {kInventory, "tbInvLocation",
         {T("LocationID", 10, false), T("Location", 60), T("Status", 1), B("isWarehouse"),
          B("isDispensingArea"), B("AllowOrder"), T("InventoryType", 20)},
         {"LocationID"}},
        {kInventory, "tbInvUserLocation",
         {T("UserID", 20, false), T("LocationID", 10, false)},
         {"UserID", "LocationID"}},
        {kInventory, "tbInvUserSettings",
         {T("UserID", 20, false), B("isVerifyTessary"), B("isIssueTessary")},
         {"UserID"}},
        {kInventory, "tbInvMaster",
         {T("ItemID", 20, false), T("ItemName", 100), T("ItemDesc", 200), T("SupplierID", 10),
          I("MarkupIn"), I("MarkupOut"), F("DownTime"), M("ListCost"), F("Freight"), F("SalesTax"),
          I("ItemStatus"), I("Packing"), I("VAT"), T("BarCode", 50), T("ItemClassificationID", 10),
          I("UnitOfMeasureID"), T("OralInject", 1), M("AverageCost"), T("GenericID", 20),
          T("ManufacturerID", 10), B("IsSeniorDiscounted"), B("WithLotNumber"), T("MedicareType", 1),
          T("MedicareCategory", 1), T("GLCode", 20), B("IncludeInStatement"), T("ItemClass", 10),
          T("KitID", 20)},
         {"ItemID"}},
        {kInventory, "tbInvent",
         {T("ItemID", 20, false), T("LocationID", 10, false), I("Markup_In"), I("Markup_Out"),
          M("NetAmount"), F("OnHand"), F("OnOrder"), M("SellingPriceIn"), M("SellingPriceOut"),
          I("ItemStatus"), M("AverageCost"), F("MinStockLevel"), F("MaxStock"), F("AveConsumption"),
          D("LastInventoryCount"), D("ExpiryDate"), T("NewGLCode", 20), F("POMonthsToDeliver"),
          B("MinimumOrAverage"), T("StartDate", 20), T("EndDate", 20), B("IsFloor"), B("IsCeiling"),
          F("Floor"), F("Ceiling"), B("IsADSStock"), F("ADSStock"), D("LastDeliveryDate"),
          F("LastDeliveryQty")},
         {"ItemID", "LocationID"}},
        {kInventory, "tbInvKit",
         {T("KitID", 20, false), T("ItemID", 20, false), F("Qty"), M("UnitCost"), T("RetailType", 1),
          T("Active", 1)},
         {"KitID", "ItemID"}},
        {kInventory, "tbInvWithdrawRequest",
         {T("DocumentNumber", 10, false), T("ItemID", 20), F("Quantity"), M("UnitCost"),
          T("ForRetail", 1), B("isADS"), T("LocationID", 10), T("TargetLocationID", 10),
          D("TransDate"), T("UserID", 20), T("Remarks", 255), T("VerifiedBy", 20),
          D("VerifiedDate"), T("Status", 1), D("ProcessDate"), T("ProcessBy", 20)},
         {}},
        {kInventory, "tbInvSupplier",
         {T("SupplierID", 10, false), T("SupplierName", 100), T("Status", 1), T("SupplierType", 10),
          T("Address1", 200), T("Address2", 200), T("Address3", 200), I("TermsID"), T("TelNum", 30),
          B("FreeGoods"), B("isVAT"), T("ContactPerson", 60)},
         {"SupplierID"}},
        {kInventory, "tbInvTerms",
         {I("TermsID"), T("Terms", 50), I("NoDays"), T("Status", 1)},
         {"TermsID"}},
        {kInventory, "tbInvUnitOfMeasure",
         {I("UnitOfMeasureID"), T("UnitOfMeasure", 30), T("Status", 1)},
         {"UnitOfMeasureID"}},
        {kInventory, "tbInvClassification",
         {T("ItemClassificationID", 10, false), T("ItemClassificationName", 60), T("Status", 1),
          B("IsFixedAsset")},
         {"ItemClassificationID"}},
        {kInventory, "tbforGeneric",
         {T("GenericID", 20, false), T("GenericName", 100), T("Node_Key", 20)},
         {"GenericID"}},
        {kInventory, "tbforClassification",
         {T("Node_Key", 20, false), T("ClassificationName", 100)},
         {"Node_Key"}},
        // What the store issued against a request, one row per request line
        // (nothing issued included), as it left the store and reached the
        // department.
        {kInventory, "tbInvStockMovement",
         {T("DocumentNumber", 10, false), I("LineNumber"), T("ItemID", 20, false), T("FromLocationID", 10),
          T("ToLocationID", 10), F("RequestedQty"), F("Quantity"), M("UnitCost"), T("UserID", 20),
          D("MovementDate")},
         {}},
        // isDisabledTessary: the site has disabled the user, who neither
        // logs in nor authorises (NULL or 0: enabled).
        {kPassword, "tbPasswordMain",
         {T("EmployeeID", 20, false), T("Password", 100), T("departmentid", 10), T("Right_Code1", 1),
          T("Right_Code2", 1), T("LastName", 50), T("FirstName", 50), B("isDisabledTessary")},
         {"EmployeeID"}},
    };
}

// What the program asks of large tables: item names by prefix, barcodes,
// kits, stock by location, requests by number and by state and date, and the
// user's locations.
QVector<IndexDef> BuildIndexes()
{
    return {
        // The status and the code ride along so that a search by name can
        // skip inactive items and look up their stock from the index alone.
        {"ixMasterName", "tbInvMaster", {"ItemName", "ItemDesc", "ItemStatus", "ItemID"}},
        {"ixMasterBarCode", "tbInvMaster", {"BarCode"}},
        {"ixMasterKit", "tbInvMaster", {"KitID"}},
        // The status rides along: the product search tests it for every
        // item it passes at a location.
        {"ixInventLocation", "tbInvent", {"LocationID", "ItemID", "ItemStatus"}},
        {"ixRequestNumber", "tbInvWithdrawRequest", {"DocumentNumber"}},
        // The highest request number is this index's last entry (the
        // numbering query is translated to ask it so), not a conversion of
        // every number ever stored.
        {"ixRequestNumberValue", "tbInvWithdrawRequest", {"tsql_int_key(DocumentNumber)"}, true},
        {"ixRequestState", "tbInvWithdrawRequest", {"LocationID", "Status", "TransDate"}},
        // Requests not yet processed, by location, as the request list asks
        // for them (isnull(Status,'') = ''): a few among years of processed
        // ones. The list's other columns ride along, so that it reads the
        // index alone and not rows scattered over the whole history.
        {"ixRequestOpen", "tbInvWithdrawRequest",
         {QStringLiteral("ifnull(Status,'') COLLATE ") + QLatin1String(tsql::kTextCollation), "LocationID", "TransDate",
          "Status", "VerifiedBy", "DocumentNumber", "UserID", "TargetLocationID"},
         true},
        {"ixUserLocationLocation", "tbInvUserLocation", {"LocationID"}},
        {"ixMovementRequest", "tbInvStockMovement", {"DocumentNumber"}},
        {"ixLocationName", "tbInvLocation", {"Location"}},
    };
}

QString SqliteType(ColumnType type)
{
    switch (type) {
    case ColumnType::Text: return QStringLiteral("TEXT");
    case ColumnType::Integer: return QStringLiteral("INTEGER");
    case ColumnType::Float: return QStringLiteral("REAL");
    case ColumnType::Money: return QStringLiteral("NUMERIC");
    case ColumnType::DateTime: return QStringLiteral("DATETIME");
    case ColumnType::Flag: return QStringLiteral("INTEGER");
    }
    return QStringLiteral("TEXT");
}

} // namespace

const ColumnDef* TableDef::FindColumn(const QString& column) const
{
    for (const ColumnDef& c : columns)
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

Catalog::Catalog() : tables_(BuildTables()), indexes_(BuildIndexes())
{
    for (const TableDef& t : tables_)
        for (const ColumnDef& c : t.columns)
            if (!typeOfName_.contains(c.name.toLower()))
                typeOfName_.insert(c.name.toLower(), c.type);
    for (auto it = typeOfName_.cbegin(); it != typeOfName_.cend(); ++it)
        if (it.value() == ColumnType::DateTime)
            dateTimeNames_ << it.key();
}

const Catalog& Catalog::Instance()
{
    static const Catalog catalog;
    return catalog;
}

const TableDef* Catalog::FindTable(const QString& table) const
{
    for (const TableDef& t : tables_)
        if (t.name.compare(table, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const ColumnDef* Catalog::FindColumn(const QString& table, const QString& column) const
{
    const TableDef* t = FindTable(table);
    return t ? t->FindColumn(column) : nullptr;
}

const ColumnType* Catalog::TypeOfColumnName(const QString& column) const
{
    const auto it = typeOfName_.constFind(column.toLower());
    return it == typeOfName_.cend() ? nullptr : &it.value();
}

// A few names, mostly of other lengths than the column asked about: no
// lower-case copy of it is made.
bool Catalog::IsDateTimeColumn(const QString& column) const
{
    for (const QString& name : dateTimeNames_)
        if (name.size() == column.size() && name.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool Catalog::IsTextColumn(const QString& column) const
{
    const ColumnType* type = TypeOfColumnName(column);
    return type && *type == ColumnType::Text;
}

QStringList Catalog::SqliteDdl() const
{
    QStringList ddl;
    for (const TableDef& t : tables_)
        ddl << SqliteTableDdl(t, t.name);
    return ddl + SqliteIndexDdl();
}

QString Catalog::SqliteTableDdl(const TableDef& table, const QString& name)
{
    QStringList parts;
    QStringList lengthChecks;
    for (const ColumnDef& c : table.columns) {
        QString part = c.name + QLatin1Char(' ') + SqliteType(c.type);
        if (c.type == ColumnType::Text)
            part += QStringLiteral(" COLLATE ") + QLatin1String(tsql::kTextCollation);
        if (!c.nullable)
            part += QStringLiteral(" NOT NULL");
        parts << part;
        if (c.type == ColumnType::Text && c.length > 0)
            lengthChecks << QStringLiteral("length(%1) <= %2").arg(c.name).arg(c.length);
    }
    if (!table.primaryKey.isEmpty())
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(table.primaryKey.join(QStringLiteral(", ")));
    // A check of the table's own, not a trigger: SQLite evaluates it in the
    // insert itself, where a trigger would give every insert a statement
    // journal and a program of its own to run.
    if (!lengthChecks.isEmpty())
        parts << QStringLiteral("CONSTRAINT %1 CHECK (%2)").arg(kTextLengthCheck, lengthChecks.join(QStringLiteral(" AND ")));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(name, parts.join(QStringLiteral(", ")));
}

QStringList Catalog::SqliteIndexDdl() const
{
    QStringList ddl;
    for (const IndexDef& ix : indexes_)
        ddl << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                   .arg(ix.name, ix.table, ix.columns.join(QStringLiteral(", ")));
    return ddl;
}

} // namespace db
