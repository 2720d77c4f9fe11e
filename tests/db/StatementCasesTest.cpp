// Every plain statement the program sends, run through the embedded backend
// on a small seeded database: each case checks the rows it returns or what it
// changed. Date-times are seeded so that the text order of the program's
// "mm/dd/yyyy hh:mm:ss AM" form differs from their order in time.
#include "db/DbError.h"
#include "support/TempDatabase.h"

#include <QDateTime>
#include <functional>
#include <gtest/gtest.h>

using db::RowSet;
using testing_support::TempDatabase;

namespace {

QStringList ColumnValues(const RowSet& rows, int column)
{
    QStringList values;
    for (const RowSet::Row& row : rows.Rows())
        values << (row.value(column).isNull() ? QStringLiteral("NULL") : row.value(column).toString());
    return values;
}

QStringList ColumnValues(const RowSet& rows, const char* column)
{
    return ColumnValues(rows, rows.ColumnIndex(QString::fromLatin1(column)));
}

// Values joined into one readable text for the failure messages.
std::string Joined(const QStringList& values) { return values.join(QStringLiteral(" | ")).toStdString(); }

QDateTime At(const char* storage) { return QDateTime::fromString(QString::fromLatin1(storage), "yyyy-MM-dd HH:mm:ss"); }

void SeedSession(TempDatabase& db)
{
    db.Insert("tbHospitalInfo", {{"Company", "ST. CLARE HOSPITAL"}, {"Address1", "1 MAIN ST"}, {"ClientName", "QX"},
                                 {"AllowWDZeroOnHand", 1}, {"isAutoWithdrawRequestNumber", 0}});
    db.Insert("tbPharmaSwitch", {{"idkey", "2"}, {"KeyValue", 1}});
    db.Insert("tbPharmaSwitch", {{"idkey", "3"}, {"KeyValue", 0}});
    db.Insert("tbInvUserSettings", {{"UserID", "ANNA"}, {"isVerifyTessary", 1}});
    db.Insert("tbPasswordMain", {{"EmployeeID", "ANNA"}, {"Password", "QX1"}, {"departmentid", "4"}, {"Right_Code1", "A"},
                                 {"Right_Code2", "U"}, {"LastName", "CRUZ"}, {"FirstName", "ANNA"}});
    db.Insert("tbPasswordMain", {{"EmployeeID", "BOSS"}, {"Password", "ZK9"}, {"departmentid", "00"}, {"Right_Code1", "A"},
                                 {"Right_Code2", "S"}, {"LastName", "REYES"}, {"FirstName", "BEA"}});
}

void SeedLocations(TempDatabase& db)
{
    struct L { const char* id; const char* name; QVariant status; int warehouse; int dispensing; int order; };
    const L rows[] = {
        {"94", "CENTRAL SUPPLY", "A", 1, 0, 1},
        {"20", "WARD 2", QVariant(), 0, 0, 0},
        {"30", "PHARMACY", "A", 1, 1, 1},
        {"40", "OLD WARD", "I", 0, 0, 1},
    };
    for (const L& l : rows)
        db.Insert("tbInvLocation", {{"LocationID", l.id}, {"Location", l.name}, {"Status", l.status},
                                    {"isWarehouse", l.warehouse}, {"isDispensingArea", l.dispensing}, {"AllowOrder", l.order}});
    db.Insert("tbInvUserLocation", {{"UserID", "ANNA"}, {"LocationID", "94"}});
    db.Insert("tbInvUserLocation", {{"UserID", "ANNA"}, {"LocationID", "20"}});
    db.Insert("tbInvUserLocation", {{"UserID", "BOSS"}, {"LocationID", "30"}});
}

void SeedItems(TempDatabase& db)
{
    struct M { const char* id; const char* name; const char* desc; QVariant klass; QVariant kit; QVariant barcode; };
    const M items[] = {
        {"P0001", "AMOXICILLIN", "500MG CAP", "A", QVariant(), "4800001"},
        {"P0002", "AMPICILLIN", "250MG VIAL", "A", QVariant(), QVariant()},
        {"15", "COTTON BALLS", "100S", QVariant(), QVariant(), QVariant()},
        {"P0003", "CHAIR", "STEEL", "F", QVariant(), QVariant()},
        {"P0009", "DELIVERY KIT", "SET", "C", "K1", QVariant()},
    };
    for (const M& m : items)
        db.Insert("tbInvMaster", {{"ItemID", m.id}, {"ItemName", m.name}, {"ItemDesc", m.desc}, {"SupplierID", "1"},
                                  {"MarkupIn", 10}, {"MarkupOut", 20}, {"ItemStatus", 0}, {"Packing", 1}, {"ListCost", 2.5},
                                  {"ItemClassificationID", m.klass}, {"KitID", m.kit}, {"BarCode", m.barcode}});
    struct S { const char* item; const char* location; QVariant status; };
    const S stock[] = {
        {"P0001", "94", 0}, {"P0001", "20", 0}, {"P0002", "94", 0}, {"P0002", "20", 1},
        {"15", "94", QVariant()}, {"15", "20", 0}, {"P0009", "94", 1}, {"P0009", "20", 0},
    };
    for (const S& s : stock)
        db.Insert("tbInvent", {{"ItemID", s.item}, {"LocationID", s.location}, {"ItemStatus", s.status}, {"Markup_In", 5},
                               {"Markup_Out", 7}, {"OnHand", 10}});
    db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "P0001"}, {"Qty", 2}, {"Active", "A"}});
    db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "P0002"}, {"Qty", 1}, {"Active", "I"}});
}

void SeedReferences(TempDatabase& db)
{
    db.Insert("tbInvSupplier", {{"SupplierID", "1"}, {"SupplierName", "ACME PHARMA"}, {"Status", "A"}, {"TermsID", 1}});
    db.Insert("tbInvSupplier", {{"SupplierID", "12"}, {"SupplierName", "BETA SUPPLY"}, {"Status", QVariant()}});
    db.Insert("tbInvSupplier", {{"SupplierID", "3"}, {"SupplierName", "ACORN TRADING"}, {"Status", "I"}});
    db.Insert("tbInvTerms", {{"TermsID", 1}, {"Terms", "NET 30"}, {"NoDays", 30}, {"Status", "A"}});
    db.Insert("tbInvTerms", {{"TermsID", 2}, {"Terms", "COD"}, {"NoDays", 0}, {"Status", QVariant()}});
    db.Insert("tbInvTerms", {{"TermsID", 5}, {"Terms", "NET 60"}, {"NoDays", 60}, {"Status", "I"}});
    db.Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", 1}, {"UnitOfMeasure", "BOX"}, {"Status", "A"}});
    db.Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", 12}, {"UnitOfMeasure", "PIECE"}, {"Status", QVariant()}});
    db.Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", 3}, {"UnitOfMeasure", "BOTTLE"}, {"Status", "I"}});
    db.Insert("tbInvClassification", {{"ItemClassificationID", "A"}, {"ItemClassificationName", "ANTIBIOTIC"}, {"IsFixedAsset", 0}});
    db.Insert("tbInvClassification", {{"ItemClassificationID", "C"}, {"ItemClassificationName", "CONSUMABLE"}});
    db.Insert("tbInvClassification", {{"ItemClassificationID", "F"}, {"ItemClassificationName", "FURNITURE"}, {"IsFixedAsset", 1}});
    db.Insert("tbforClassification", {{"Node_Key", "12"}, {"ClassificationName", "ANTI-INFECTIVES"}});
    db.Insert("tbforClassification", {{"Node_Key", "1"}, {"ClassificationName", "ANALGESICS"}});
    db.Insert("tbforGeneric", {{"GenericID", "G1"}, {"GenericName", "AMOXICILLIN"}, {"Node_Key", "12.3"}});
    db.Insert("tbforGeneric", {{"GenericID", "G2"}, {"GenericName", "PARACETAMOL"}, {"Node_Key", "123"}});
}

// Requests to ANNA's locations in several states; stored in the sortable form.
void SeedRequests(TempDatabase& db)
{
    struct R { const char* doc; const char* item; const char* to; const char* date; QVariant status; QVariant verifier; };
    const R rows[] = {
        {"1", "P0001", "94", "2026-03-07 14:05:09", QVariant(), QVariant()},   // 03/07/2026 02:05:09 PM
        {"1", "P0002", "94", "2026-03-07 14:05:09", QVariant(), QVariant()},
        {"2", "P0001", "94", "2026-03-07 09:00:00", QVariant(), QVariant()},   // 03/07/2026 09:00:00 AM
        {"3", "15", "20", "2025-12-30 08:00:00", QVariant(), QVariant()},      // 12/30/2025 08:00:00 AM
        {"8", "15", "94", "2026-02-01 11:00:00", " ", ""},  // a blank status is none
        {"4", "P0001", "94", "2026-01-15 10:00:00", QVariant(), "BOSS"},
        {"5", "P0001", "94", "2026-01-10 10:00:00", "P", "BOSS"},
        {"6", "P0001", "94", "2026-01-11 10:00:00", "D", QVariant()},
        {"7", "P0001", "30", "2026-01-12 10:00:00", QVariant(), QVariant()},
    };
    for (const R& r : rows)
        db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", r.doc}, {"ItemID", r.item}, {"Quantity", 1}, {"UnitCost", 2.5},
                                           {"ForRetail", "Y"}, {"isADS", 0}, {"LocationID", r.to}, {"TargetLocationID", "20"},
                                           {"TransDate", r.date}, {"UserID", "ANNA"}, {"Status", r.status},
                                           {"VerifiedBy", r.verifier}});
}

void Seed(TempDatabase& db)
{
    SeedSession(db);
    SeedLocations(db);
    SeedItems(db);
    SeedReferences(db);
    SeedRequests(db);
}

using Check = std::function<void(const RowSet& rows, TempDatabase& db)>;
using Prepare = std::function<void(TempDatabase& db)>;

// How the servers word a refusal.
enum class ServerWords { Same, Own };

struct StatementCase {
    StatementCase(const char* n, QString s, Check c, QString e = {}, Prepare p = {}, ServerWords w = ServerWords::Same)
        : name(n), statement(std::move(s)), check(std::move(c)), error(std::move(e)), prepare(std::move(p)), words(w) {}

    const char* name;
    QString statement;
    Check check;        // after a refusal, what must still be stored
    QString error;      // when set, the statement must fail with this description
    Prepare prepare;    // extra rows a case needs beyond the common seed
    ServerWords words;  // Own: the servers refuse it in their own words, the embedded file with `error`
};

void PrintTo(const StatementCase& c, std::ostream* os) { *os << c.name; }

Check Returns(const char* column, QStringList values)
{
    return [column, values](const RowSet& rows, TempDatabase&) { EXPECT_EQ(Joined(ColumnValues(rows, column)), Joined(values)); };
}

Check Native(const char* sql, QStringList values)
{
    return [sql, values](const RowSet&, TempDatabase& db) {
        EXPECT_EQ(Joined(ColumnValues(db.Native(QString::fromLatin1(sql)), 0)), Joined(values));
    };
}

// What a statement of the program reads back afterwards: the columns of each
// row joined with "|".
Check Stored(const char* statement, QStringList values)
{
    return [statement, values](const RowSet&, TempDatabase& db) {
        const RowSet rows = db.Connection().Execute(QString::fromLatin1(statement));
        QStringList texts;
        for (int r = 0; r < rows.RecordCount(); ++r) {
            QStringList cells;
            for (const QVariant& value : rows.RowAt(r))
                cells << (value.isNull() ? QStringLiteral("NULL") : value.toString());
            texts << cells.join(QLatin1Char('|'));
        }
        EXPECT_EQ(Joined(texts), Joined(values));
    };
}

// The requests as seeded: what a refused statement must leave.
Check RequestsUnchanged()
{
    return Stored("Select DocumentNumber, ItemID, Remarks, VerifiedBy From INVENTORY..tbInvWithdrawRequest "
                  "Order By DocumentNumber, ItemID",
                  {"1|P0001|NULL|NULL", "1|P0002|NULL|NULL", "2|P0001|NULL|NULL", "3|15|NULL|NULL", "4|P0001|NULL|BOSS",
                   "5|P0001|NULL|BOSS", "6|P0001|NULL|NULL", "7|P0001|NULL|NULL", "8|15|NULL|"});
}

// Statements typed at the admin command that SQLite would read otherwise
// than a server: every backend refuses them, and nothing changes.
StatementCase Refused(const char* name, const char* statement, const char* embeddedError)
{
    return {name, QString::fromUtf8(statement), RequestsUnchanged(), QString::fromUtf8(embeddedError), {}, ServerWords::Own};
}

// Items named with letters beyond ASCII, as wards and items are named here.
void SeedAccentedItems(TempDatabase& db)
{
    const std::pair<const char*, const char*> items[] = {
        {"P0101", "PIÑA COLADA MIX"}, {"P0102", "piña juice"}, {"P0103", "CAFÉ CON LECHE"},
        {"P0104", "CAFE BLEND"}, {"P0105", "PINA CLOTH"},
    };
    for (const auto& [id, name] : items)
        db.Insert("tbInvMaster", {{"ItemID", id}, {"ItemName", QString::fromUtf8(name)}, {"ItemStatus", 0}});
}

QString Locations(const char* where)
{
    return QStringLiteral("Select Location, LocationID From INVENTORY..tbInvLocation Where %1 ORDER BY Location").arg(where);
}

QString RequestList(bool pending, bool verified)
{
    return QStringLiteral("Select distinct A.DocumentNumber , B.Location ,")
           + " C.Location ,A.TransDate ,"
           + " (Select Top 1 LastName + ', ' + FirstName From Password..tbPasswordMain Where EmployeeID = A.UserID),A.targetlocationid "
           + " from INVENTORY..tbinvwithdrawrequest A "
           + " Left Outer Join INVENTORY..tbinvlocation B"
           + " On A.TargetLocationID = B.LocationID"
           + " Left Outer Join INVENTORY..tbinvLocation C"
           + " On A.LocationId = C.LocationID"
           + " Left Outer Join INVENTORY..tbinvUserLocation D"
           + " On A.LocationID = D.LocationID"
           + " Where D.UserID = '" + "ANNA" + "' and "
           + (pending ? " isnull(A.Status,'') = '' " : " A.Status = 'P' ")
           + (verified ? " and isnull(verifiedby,'')<> '' Order By Transdate" : " and isnull(verifiedby,'') = '' Order By Transdate");
}

QString SaveInsert(const char* doc, const char* item, const char* date)
{
    return QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks) ")
           + "Values ('" + doc + "','" + item + "'," + "5" + "," + "12.5" + ",'" + "Y" + "', '" + "1" + "', '" + "94"
           + "', '" + "20" + "', " + "'" + date + "'" + ", '" + "ANNA" + "', '" + "FOR WARD USE" + "')";
}

QString ProductSearch(bool atLocation, const QString& condition)
{
    const QString head = atLocation
        ? QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], ")
              + "A.ItemDesc As Description, B.SupplierName As Supplier, D.Markup_In As [In-Patient Markup], D.Markup_Out As [Out-Patient Markup],"
              + "Case when D.ItemStatus = 1 then 'Inactive' Else 'Active' end  As Status, A.Packing, A.ListCost,  "
              + "C.ItemClassificationName "
              + "From INVENTORY..tbInvMaster A "
              + "Left Outer Join INVENTORY..tbInvent D ON A.ItemID = D.ItemID "
              + "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID "
              + "Left Outer join INVENTORY..tbInvClassification C ON A.ItemClassificationID = C.ItemClassificationID "
              + "Where D.LocationID = '" + "94"
              + "' and D.ItemID in (Select itemID from INVENTORY..tbinvent where locationid = '" + "20"
              + "' and itemStatus = 0) and "
              + " ( D.ItemStatus = 0 or D.ItemStatus is Null ) and ( A.ItemStatus = 0 or A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and "
        : QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], ")
              + "A.ItemDesc As Description, B.SupplierName As Supplier, A.MarkupIn As [In-Patient Markup], A.MarkupOut As [Out-Patient Markup],"
              + "Case when A.ItemStatus = 1 then 'Inactive' Else 'Active' End  As Status, A.Packing, A.ListCost,  "
              + "C.ItemClassificationName "
              + "From INVENTORY..tbInvMaster A "
              + "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID "
              + "Left Outer Join INVENTORY..tbInvClassification C ON A.ItemClassificationID = C.ItemClassificationID "
              + " Where ( A.ItemStatus = 0 or A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and ";
    return head + condition + " Order by A.ItemName, A.ItemDesc";
}

QString ByCode(const char* code) { return QStringLiteral(" A.ItemID = '") + code + "' "; }
QString ByName(const char* name) { return QStringLiteral(" A.ItemName Like '") + name + "%'"; }

QString MasterInsert(bool withMedicare)
{
    return QStringLiteral("Insert Into INVENTORY..tbInvMaster ")
           + "(ItemID,ItemName, ItemDesc, SupplierId, MarkupIn, "
           + " MarkupOut, DownTime, Listcost, ItemClassificationID, ItemStatus, "
           + " UnitOfMeasureID, Packing, BarCode, MedicareType,IncludeInStatement,OralInject, AverageCost, ManufacturerID, IsSeniorDiscounted, WithLOTNumber, MedicareCategory, GLCode ) "
           + "Values ('" + "16" + "','" + "GAUZE PAD" + "','" + "4X4" + "','" + "1" + "'," + "10" + "," + "20" + ","
           + "0.00" + "," + "12.5000" + ",'" + "C" + "'," + " 0" + "," + "1" + "," + "100" + ",'" + "4800016"
           + (withMedicare ? QStringLiteral("','") + "M" + "',1,'" : QStringLiteral("','2',1,'")) + "X" + "',"
           + "11.0000" + ", '" + "12" + "'," + "0" + "," + "1" + ",'" + "A" + "','" + "GL-1" + "')";
}

QString MasterUpdate(bool withMedicare)
{
    QString sql = QStringLiteral("Update INVENTORY..tbInvMaster Set ItemName = '") + "AMOXICILLIN" + "', ItemDesc = '" + "1G CAP"
                  + "', SupplierId = '" + "12" + "', MarkupIn = " + "15" + ", MarkupOut = " + "25" + ", DownTime = " + "1.50"
                  + ", Listcost = " + "3.2500" + ", ItemClassificationID = '" + "A" + "', ItemStatus = " + " 0"
                  + ", UnitOfMeasureID = " + "12" + ", Packing = " + "10" + ", AverageCost = " + "3.1000" + ", BarCode = '"
                  + "4800001" + "', OralInject = '" + "O" + "', " + " ManufacturerID = '" + "1" + "' "
                  + ", IsSeniorDiscounted = " + "1" + ", WithLOTNumber = " + "0";
    if (withMedicare)
        return sql + ", MedicareType = '" + "M" + "' " + ", MedicareCategory = '" + "B" + "' " + ", GLCode = '" + "GL-2"
               + "', ItemClass = '" + "RX" + "'" + " Where ItemID = '" + "P0001" + "'";
    return sql + ", MedicareCategory = '" + "B" + "' " + ", GLCode = '" + "GL-2" + "', ItemClass = '" + "RX" + "' "
           + " Where ItemID = '" + "P0001" + "'";
}

QString Generic(const char* id)
{
    return QStringLiteral(" Select C.GenericID, C.GenericName, D.ClassificationName ")
           + " From tbforGeneric C Left Outer Join "
           + " tbforClassification D ON SubString(C.Node_Key,1,Case When PatIndex('%.%',C.Node_Key) = 0 Then 1 Else PatIndex('%.%',C.Node_Key) -1 End ) = D.Node_Key "
           + " Where C.GenericID = '" + id + "'";
}

QString Supervisor(const char* id, const char* password)
{
    return QStringLiteral("Select EmployeeId, Password ") + "from password..tbpasswordmain "
           + "where departmentid in ('4','00') " + "and Right_Code1 = 'A' and Right_Code2 = 'S' " + "and Employeeid = '"
           + id + "' and Password = '" + password + "'";
}

const QString kConversionFailed = QStringLiteral("Conversion failed when converting the varchar value '%1' to data type int.");

std::vector<StatementCase> Cases()
{
    const QStringList pendingOrder = {"3", "8", "2", "1"};  // by time, not by text
    return {
        // start-up and session
        {"hospital record with the server time",
         "Select *, GetDate() as CurDate From Inventory..tbHospitalInfo",
         [](const RowSet& rows, TempDatabase&) {
             ASSERT_EQ(rows.RecordCount(), 1);
             EXPECT_EQ(rows.Field("Company").toString().toStdString(), "ST. CLARE HOSPITAL");
             EXPECT_EQ(rows.Field("ClientName").toString().toStdString(), "QX");
             ASSERT_EQ(rows.Field("CurDate").typeId(), QMetaType::QDateTime);
             EXPECT_LT(qAbs(rows.Field("CurDate").toDateTime().secsTo(QDateTime::currentDateTime())), 120);
         }},
        {"site switch", "Select KeyValue from Inventory..tbPharmaSwitch where idkey = '" + QString("2") + "'", Returns("KeyValue", {"1"})},
        {"site switch without row", "Select KeyValue from Inventory..tbPharmaSwitch where idkey = '9'", Returns("KeyValue", {})},
        {"user settings", "Select * from Inventory..tbInvUserSettings Where UserID = '" + QString("ANNA") + "'", Returns("isVerifyTessary", {"1"})},
        // texts compare as on the server: case and trailing blanks aside
        {"texts compared through a function",
         "Select LocationID From INVENTORY..tbInvLocation Where isnull(Status,'') <> 'i ' and isnull(Location,'') <> 'ward 2 ' "
         "Order By Location",
         Returns("LocationID", {"94", "30"})},
        // location lists, default location, validation, barcode
        {"location list, non-store", Locations("( isWarehouse = 0 or isDispensingArea = 0 ) AND ( Not Status = 'I' or Status is Null )"),
         Returns("Location", {"CENTRAL SUPPLY", "WARD 2"})},
        {"location list, non-warehouse", Locations("isWarehouse = 0 AND ( Not Status = 'I' or Status is Null )"), Returns("Location", {"WARD 2"})},
        {"location list, non-dispensing", Locations("isDispensingArea = 0 AND ( Not Status = 'I' or Status is Null )"),
         Returns("Location", {"CENTRAL SUPPLY", "WARD 2"})},
        {"location list, orderable", Locations("AllowOrder = 1 AND ( Not Status = 'I' or Status is Null )"),
         Returns("Location", {"CENTRAL SUPPLY", "PHARMACY"})},
        {"location list, all active",
         "Select Location, LocationID From INVENTORY..tbInvLocation Where Not Status = 'I' or Status is Null  ORDER BY Location",
         Returns("Location", {"CENTRAL SUPPLY", "PHARMACY", "WARD 2"})},
        {"default location", "Select Location From INVENTORY..tbInvLocation Where LocationID = '" + QString("94") + "'",
         Returns("Location", {"CENTRAL SUPPLY"})},
        {"validate location by name", "Select * From INVENTORY..tbInvLocation Where Location = '" + QString("WARD 2") + "'",
         [](const RowSet& rows, TempDatabase&) {
             ASSERT_EQ(rows.RecordCount(), 1);
             EXPECT_EQ(rows.Field("LocationID").toString().toStdString(), "20");
             EXPECT_EQ(rows.Field("IsWareHouse").toInt(), 0);
             EXPECT_TRUE(rows.Field("InventoryType").isNull());
         }},
        // texts compare without regard to case, = without regard to trailing blanks
        {"location by name in another case", "Select LocationID From INVENTORY..tbInvLocation Where Location = 'ward 2'",
         Returns("LocationID", {"20"})},
        {"location by name with trailing blanks", "Select LocationID From INVENTORY..tbInvLocation Where Location = 'WARD 2  '",
         Returns("LocationID", {"20"})},
        {"stored trailing blanks and another case", "Select SupplierID From INVENTORY..tbInvSupplier Where SupplierName = 'acme pharma' and SupplierName <> 'ACME'",
         Returns("SupplierID", {"1"}), {}, [](TempDatabase& db) { db.Native("UPDATE tbInvSupplier SET SupplierName = 'ACME PHARMA   ' WHERE SupplierID = '1'"); }},
        {"like without regard to case", "Select ItemID From INVENTORY..tbInvMaster Where ItemName Like 'am%' Order By ItemName",
         Returns("ItemID", {"P0001", "P0002"})},
        {"order by and distinct without regard to case",
         "Select distinct ItemClassificationName From INVENTORY..tbInvClassification Order By ItemClassificationName",
         [](const RowSet& rows, TempDatabase&) {
             EXPECT_EQ(QString::fromStdString(Joined(ColumnValues(rows, 0))).toUpper().toStdString(), "ANTIBIOTIC | BANDAGE | CONSUMABLE | FURNITURE");
         },
         {}, [](TempDatabase& db) {
             db.Insert("tbInvClassification", {{"ItemClassificationID", "Y"}, {"ItemClassificationName", "consumable"}});
             db.Insert("tbInvClassification", {{"ItemClassificationID", "Z"}, {"ItemClassificationName", "bandage"}});
         }},
        {"user ID in another case", "Select EmployeeID From Password..tbPasswordMain Where EmployeeID = 'boss'", Returns("EmployeeID", {"BOSS"})},
        {"item by barcode", "Select ItemID from INVENTORY..tbInvMaster Where Barcode = '" + QString("4800001") + "'", Returns("ItemID", {"P0001"})},
        {"item by unknown barcode", "Select ItemID from INVENTORY..tbInvMaster Where Barcode = 'NOPE'", Returns("ItemID", {})},
        // kit test: only active kit lines of the kit item
        {"kit test", "Select B.ItemID as Code from Inventory..tbInvKit A " + QString("Left Outer Join Inventory..tbInvMaster B On A.KitID = B.KitID ")
                         + "Where not Active = 'I' and B.ItemID = '" + "P0009" + "'",
         Returns("Code", {"P0009"})},
        // request list views, in time order
        {"request list, pending view", RequestList(true, false),
         [pendingOrder](const RowSet& rows, TempDatabase&) {
             EXPECT_EQ(Joined(ColumnValues(rows, 0)), Joined(pendingOrder));
             ASSERT_EQ(rows.RecordCount(), 4);
             EXPECT_EQ(rows.RowAt(3).at(1).toString().toStdString(), "WARD 2");
             EXPECT_EQ(rows.RowAt(3).at(2).toString().toStdString(), "CENTRAL SUPPLY");
             EXPECT_EQ(rows.RowAt(3).at(3).toDateTime(), At("2026-03-07 14:05:09"));
             EXPECT_EQ(rows.RowAt(3).at(4).toString().toStdString(), "CRUZ, ANNA");
             EXPECT_EQ(rows.RowAt(3).at(5).toString().toStdString(), "20");
         }},
        {"request list, verified view", RequestList(true, true), [](const RowSet& rows, TempDatabase&) { EXPECT_EQ(Joined(ColumnValues(rows, 0)), "4"); }},
        {"request list, processed view", RequestList(false, true), [](const RowSet& rows, TempDatabase&) { EXPECT_EQ(Joined(ColumnValues(rows, 0)), "5"); }},
        {"user location check", "Select * from inventory..tbinvuserlocation where userid = '" + QString("ANNA") + "' and Locationid = '" + "20" + "'",
         Returns("LocationID", {"20"})},
        {"user location check, other user", "Select * from inventory..tbinvuserlocation where userid = 'BOSS' and Locationid = '20'",
         Returns("LocationID", {})},
        // storing a request
        {"new request number", "Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From INVENTORY..tbInvWithdrawRequest", Returns("DocNum", {"9"})},
        {"new request number after one typed with blanks",
         "Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From INVENTORY..tbInvWithdrawRequest", Returns("DocNum", {"13"}),
         {}, [](TempDatabase& db) { db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", " 12 "}, {"ItemID", "P0001"}}); }},
        {"new request number, empty table", "Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From INVENTORY..tbInvWithdrawRequest",
         Returns("DocNum", {"NULL"}), {}, [](TempDatabase& db) { db.Native("DELETE FROM tbInvWithdrawRequest"); }},
        {"new request number fails on a typed number", "Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From INVENTORY..tbInvWithdrawRequest",
         {}, kConversionFailed.arg("A12"),
         [](TempDatabase& db) { db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", "A12"}, {"ItemID", "P0001"}}); }},
        {"document number taken", "Select DocumentNumber from Inventory..tbinvWithdrawRequest where DocumentNumber = '" + QString("1") + "'",
         Returns("DocumentNumber", {"1", "1"})},
        {"save deletes the stored rows", "Delete INVENTORY..tbInvWithdrawRequest Where DocumentNumber = '" + QString("1") + "'",
         Native("SELECT COUNT(*) FROM tbInvWithdrawRequest WHERE DocumentNumber = '1' OR DocumentNumber = '2'", {"1"})},
        {"save inserts a line with its date", SaveInsert("9", "P0001", "03/07/2026 02:05:09 PM"),
         [](const RowSet&, TempDatabase& db) {
             const RowSet rows = db.Connection().Execute("Select TransDate, Quantity, UnitCost, isADS, Remarks From Inventory..tbInvWithdrawRequest Where DocumentNumber = '9'");
             ASSERT_EQ(rows.RecordCount(), 1);
             EXPECT_EQ(rows.Field("TransDate").toDateTime(), At("2026-03-07 14:05:09"));
             EXPECT_EQ(rows.Field("Quantity").toDouble(), 5);
             EXPECT_EQ(rows.Field("UnitCost").toDouble(), 12.5);
             EXPECT_EQ(rows.Field("isADS").toInt(), 1);
             EXPECT_EQ(rows.Field("Remarks").toString().toStdString(), "FOR WARD USE");
         }},
        {"saved request sorts by its time", SaveInsert("9", "P0001", "12/31/2025 11:59:59 PM"),
         [pendingOrder](const RowSet&, TempDatabase& db) {
             const QStringList expected = QStringList{"3", "9"} + pendingOrder.mid(1);
             EXPECT_EQ(Joined(ColumnValues(db.Connection().Execute(RequestList(true, false)), 0)), Joined(expected));
         }},
        {"verify after save", "Update Inventory..tbInvWithdrawRequest set Verifiedby = '" + QString("BOSS") + "', verifiedDate = GetDate() where DocumentNumber = '" + "1" + "'",
         [](const RowSet&, TempDatabase& db) {
             const RowSet rows = db.Connection().Execute("Select VerifiedBy, VerifiedDate From Inventory..tbInvWithdrawRequest Where DocumentNumber = '1'");
             ASSERT_EQ(rows.RecordCount(), 2);
             for (const RowSet::Row& row : rows.Rows()) {
                 EXPECT_EQ(row.at(0).toString().toStdString(), "BOSS");
                 EXPECT_EQ(row.at(1).typeId(), QMetaType::QDateTime);
             }
         }},
        {"verify saved request", "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = '" + QString("BOSS") + "', VerifiedDate = getdate() Where DocumentNumber = '" + "2" + "'",
         Stored("Select DocumentNumber, VerifiedBy From INVENTORY..tbInvWithdrawRequest Where VerifiedDate is not null", {"2|BOSS"})},
        {"cancel request", "Update INVENTORY..tbInvWithDrawRequest set Status = 'D', ProcessDate = getdate(), ProcessBy = '" + QString("ANNA") + "'  where DocumentNumber = '" + "1" + "'",
         [](const RowSet&, TempDatabase& db) {
             EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvWithdrawRequest WHERE DocumentNumber = '1' AND Status = 'D' AND ProcessBy = 'ANNA' AND ProcessDate IS NOT NULL"), 2);
             EXPECT_EQ(Joined(ColumnValues(db.Connection().Execute(RequestList(true, false)), 0)), "3 | 8 | 2");
         }},
        // product search
        {"product search, whole master by name", ProductSearch(false, ByName("AM")),
         [](const RowSet& rows, TempDatabase&) {
             EXPECT_EQ(Joined(ColumnValues(rows, "Code")), "P0001 | P0002");
             EXPECT_EQ(Joined(rows.Columns()), Joined({"Code", "Product Name", "Description", "Supplier", "In-Patient Markup",
                                                       "Out-Patient Markup", "Status", "Packing", "ListCost", "ItemClassificationName"}));
             EXPECT_EQ(rows.Field("Supplier").toString().toStdString(), "ACME PHARMA");
             EXPECT_EQ(rows.Field("Status").toString().toStdString(), "Active");
         }},
        {"product search, whole master by code", ProductSearch(false, ByCode("15")), Returns("Product Name", {"COTTON BALLS"})},
        {"product search, whole master without text", ProductSearch(false, ByName("")),
         Returns("Code", {"P0001", "P0002", "15", "P0009"})},
        {"product search, at location by name", ProductSearch(true, ByName("AM")),
         [](const RowSet& rows, TempDatabase&) {
             EXPECT_EQ(Joined(ColumnValues(rows, "Code")), "P0001");
             EXPECT_EQ(rows.Field("In-Patient Markup").toInt(), 5);
         }},
        {"product search, at location by code", ProductSearch(true, ByCode("15")), Returns("Code", {"15"})},
        {"product search, at location without text", ProductSearch(true, ByName("")), Returns("Code", {"P0001", "15"})},
        // reference lookups
        {"supplier lookup by code", "Select DISTINCT SupplierName as Supplier,SupplierID As Code From INVENTORY..tbinvSupplier " + QString(" Where SupplierID = '") + "12" + "'"
                                        + " and  (not Status = 'I' or Status is null) ORDER by SupplierName",
         Returns("Supplier", {"BETA SUPPLY"})},
        {"supplier lookup by name", "Select DISTINCT SupplierName as Supplier,SupplierID As Code From INVENTORY..tbinvSupplier " + QString(" Where SupplierName Like '") + "A" + "%'"
                                        + " and  (not Status = 'I' or Status is null) ORDER by SupplierName",
         Returns("Code", {"1"})},
        {"terms lookup by code", "Select DISTINCT Terms AS [Terms of Payment] , TermsID as Code From INVENTORY..tbinvTerms " + QString(" Where TermsID = ") + "2"
                                     + " and  (not Status = 'I' or Status is null) Order by Terms",
         Returns("Terms of Payment", {"COD"})},
        {"terms lookup by name", "Select DISTINCT Terms AS [Terms of Payment] , TermsID as Code From INVENTORY..tbinvTerms " + QString(" Where Terms Like '") + "NET" + "%'"
                                     + " and  (not Status = 'I' or Status is null) Order by Terms",
         Returns("Code", {"1"})},
        {"unit lookup by code", "Select UnitOfMeasure As [Unit of Measure], UnitOfMeasureID as Code From INVENTORY..tbinvUnitOfMeasure " + QString(" Where UnitOfMeasureID = ") + "12"
                                    + " and ( Not Status = 'I' or Status is Null ) Order by UnitOfMeasure",
         Returns("Unit of Measure", {"PIECE"})},
        {"unit lookup by name", "Select UnitOfMeasure As [Unit of Measure], UnitOfMeasureID as Code From INVENTORY..tbinvUnitOfMeasure " + QString(" Where UnitOfMeasure Like '") + "B" + "%'"
                                    + " and ( Not Status = 'I' or Status is Null ) Order by UnitOfMeasure",
         Returns("Code", {"1"})},
        // supervisor authorisation
        {"supervisor password accepted", Supervisor("BOSS", "ZK9"), Returns("EmployeeId", {"BOSS"})},
        {"supervisor password, user without right", Supervisor("ANNA", "QX1"), Returns("EmployeeId", {})},
        // item master record
        {"item master load", "Select * From INVENTORY..tbInvMaster Where ItemID = '" + QString("P0001") + "'", Returns("ItemName", {"AMOXICILLIN"})},
        {"item master exists", "Select ItemID From INVENTORY..tbInvMaster Where ItemID = '" + QString("P0001") + "'", Returns("ItemID", {"P0001"})},
        {"item master next code", "Select Convert(VarChar(4),Max( Convert(Integer,Replace(itemid,'P','')) ) + 1)  as MaxCode From INVENTORY..tbInvMaster",
         Returns("MaxCode", {"16"})},
        {"item master next code fails on a lettered code",
         "Select Convert(VarChar(4),Max( Convert(Integer,Replace(itemid,'P','')) ) + 1)  as MaxCode From INVENTORY..tbInvMaster",
         {}, kConversionFailed.arg("X1"), [](TempDatabase& db) { db.Insert("tbInvMaster", {{"ItemID", "X1"}}); }},
        {"item master insert", MasterInsert(false),
         Stored("Select ItemName, MedicareType, IncludeInStatement, ListCost, ItemStatus, ManufacturerID From INVENTORY..tbInvMaster Where ItemID = '16'",
                {"GAUZE PAD|2|1|12.5|0|12"})},
        {"item master insert with medicare type", MasterInsert(true), Stored("Select MedicareType From INVENTORY..tbInvMaster Where ItemID = '16'", {"M"})},
        {"item master update", MasterUpdate(true),
         Stored("Select ItemDesc, MedicareType, ItemClass, UnitOfMeasureID, AverageCost From INVENTORY..tbInvMaster Where ItemID = 'P0001'",
                {"1G CAP|M|RX|12|3.1"})},
        {"item master update keeps the medicare type", MasterUpdate(false),
         Stored("Select MedicareType, MedicareCategory From INVENTORY..tbInvMaster Where ItemID = 'P0001'", {"NULL|B"})},
        // location record
        {"location load", "Select * From INVENTORY..tbInvLocation Where LocationID = '" + QString("30") + "'", Returns("Location", {"PHARMACY"})},
        {"location next code", "Select Convert( VarChar(4),Max( Convert(Integer,LocationID ) ) + 1 ) As NewLocationID From INVENTORY..tbInvLocation",
         Returns("NewLocationID", {"95"})},
        {"location insert", "Insert Into INVENTORY..tbInvLocation (LocationId, Location, Status, IsWareHouse, isDispensingArea, AllowOrder ) " + QString("Values ('")
                                + "95" + "',' " + "NEW WARD" + "','" + "A" + "'," + " 0" + "," + " 1" + "," + "1" + ")",
         Stored("Select Location, isWarehouse, isDispensingArea, AllowOrder From INVENTORY..tbInvLocation Where LocationID = '95'", {" NEW WARD|0|1|1"})},
        {"location update", "Update INVENTORY..tbInvLocation Set Location = '" + QString("WARD TWO") + "', Status = '" + "A" + "', isWarehouse = " + " 0"
                                + ", isDispensingArea = " + " 1" + ", AllowOrder = " + "1" + " Where LocationID = '" + "20" + "'",
         Stored("Select Location, Status, isWarehouse, isDispensingArea, AllowOrder From INVENTORY..tbInvLocation Where LocationID = '20'", {"WARD TWO|A|0|1|1"})},
        // supplier and terms
        {"supplier load", "Select * From INVENTORY..tbInvSupplier Where SupplierID = '" + QString("1") + "'", Returns("SupplierName", {"ACME PHARMA"})},
        {"supplier exists", "Select SupplierID From INVENTORY..tbInvSupplier Where SupplierID = '" + QString("99") + "'", Returns("SupplierID", {})},
        {"supplier next code", "Select Convert( VarChar(4),Max( Convert(Integer,SupplierID) ) + 1) As NewSupplierID From INVENTORY..tbInvSupplier ",
         Returns("NewSupplierID", {"13"})},
        {"supplier insert",
         "Insert Into INVENTORY..tbInvSupplier (SupplierID, SupplierName, Status, SupplierType, Address1, Address2, Address3, TermsID, TelNum, FreeGoods, isVAT, ContactPerson ) Values ('"
             + QString("13") + "','" + "DELTA MEDICAL" + " ','" + "A" + "','" + "LOCAL" + "','" + "2 PORT RD" + "','" + "" + "','" + "" + "',"
             + " 0" + ",'" + "555-0101" + "', " + "1" + "," + "0" + ",'" + "JO" + "' )",
         Stored("Select SupplierName, TermsID, FreeGoods, isVAT From INVENTORY..tbInvSupplier Where SupplierID = '13'", {"DELTA MEDICAL |0|1|0"})},
        {"supplier update", "Update INVENTORY..tbInvSupplier Set SupplierName = '" + QString("ACME") + "', Status = '" + "A" + "', SupplierType = '" + "LOCAL"
                                + "', Address1 = '" + "X" + "', Address2 = '" + "" + "', Address3 = '" + "" + "', TermsID = " + "null" + ", TelNum = '" + "1"
                                + "', " + "FreeGoods = " + "0" + ", isVAT = " + "1" + ", ContactPerson = '" + "JO" + "' where SupplierID = '" + "1" + "'",
         Stored("Select SupplierName, TermsID, isVAT From INVENTORY..tbInvSupplier Where SupplierID = '1'", {"ACME|NULL|1"})},
        {"terms load", "Select * From INVENTORY..tbInvTerms Where TermsID = " + QString(" 9") + " or Terms = '" + "COD" + "'", Returns("TermsID", {"2"})},
        {"terms exists", "Select * From INVENTORY..tbInvTerms Where TermsID = " + QString("5"), Returns("Terms", {"NET 60"})},
        {"terms next code", "Select Max( TermsID ) + 1 As NewCode From INVENTORY..tbInvTerms", Returns("NewCode", {"6"})},
        {"terms insert", "Insert Into INVENTORY..tbInvTerms ( TermsID, Terms, NoDays, Status ) Values (" + QString(" 6") + ",'" + "NET 90" + "'," + " 90" + ",'" + "A" + "')",
         Stored("Select Terms, NoDays From INVENTORY..tbInvTerms Where TermsID = 6", {"NET 90|90"})},
        {"terms update", "Update INVENTORY..tbInvTerms Set Terms = '" + QString("NET 45") + "', NoDays = " + "45" + ", Status = '" + "A" + "' Where TermsID = " + "1",
         Stored("Select Terms, NoDays From INVENTORY..tbInvTerms Where TermsID = 1", {"NET 45|45"})},
        // unit of measure, item class, generic name
        {"unit load", "Select * From INVENTORY..tbInvUnitOfMeasure Where UnitOfMeasureID = " + QString("12"), Returns("UnitOfMeasure", {"PIECE"})},
        {"unit exists", "Select UnitOfMeasureID From INVENTORY..tbInvUnitOfMeasure Where UnitOfMeasureID = " + QString("7"), Returns("UnitOfMeasureID", {})},
        {"unit next code", "Select Max( UnitOfMeasureID ) + 1 As NewCode From INVENTORY..tbInvUnitOfMeasure ", Returns("NewCode", {"13"})},
        {"unit insert", "Insert Into INVENTORY..tbInvUnitOfMeasure ( UnitOfMeasureID, UnitOfMeasure, Status ) Values (" + QString(" 13") + " ,'" + "VIAL" + "','" + "A" + "')",
         Stored("Select UnitOfMeasure From INVENTORY..tbInvUnitOfMeasure Where UnitOfMeasureID = 13", {"VIAL"})},
        {"unit update", "Update INVENTORY..tbInvUnitOfMeasure Set UnitOfMeasure = '" + QString("PC") + "', Status = '" + "A" + "' Where UnitOfMeasureID = " + "12",
         Stored("Select UnitOfMeasure, Status From INVENTORY..tbInvUnitOfMeasure Where UnitOfMeasureID = 12", {"PC|A"})},
        {"item class load", "Select * From INVENTORY..tbInvClassification Where ItemClassificationID = '" + QString("C") + "'",
         Returns("ItemClassificationName", {"CONSUMABLE"})},
        {"item class next code", "Select Max( ItemClassificationID ) As MaxCode From INVENTORY..tbInvClassification ", Returns("MaxCode", {"F"})},
        {"item class insert", "Insert Into INVENTORY..tbInvClassification (ItemClassificationID,ItemClassificationName, Status ) " + QString("Values ('") + "G" + "','"
                                  + "GAUZE" + "','" + "A" + "')",
         Stored("Select ItemClassificationName From INVENTORY..tbInvClassification Where ItemClassificationID = 'G'", {"GAUZE"})},
        {"item class update", "Update INVENTORY..tbInvClassification Set ItemClassificationName = '" + QString("CONSUMABLES") + "', Status = '" + "A"
                                  + "' Where ItemClassificationID = '" + "C" + "'",
         Stored("Select ItemClassificationName, Status From INVENTORY..tbInvClassification Where ItemClassificationID = 'C'", {"CONSUMABLES|A"})},
        {"generic name, node key with a point", Generic("G1"), Returns("ClassificationName", {"ANTI-INFECTIVES"})},
        {"generic name, node key without a point", Generic("G2"), Returns("ClassificationName", {"ANALGESICS"})},
        // letters beyond ASCII compare without regard to case; accents count
        {"like with a letter beyond ASCII", "Select ItemID From INVENTORY..tbInvMaster Where ItemName Like 'PIÑA%' Order By ItemID",
         Returns("ItemID", {"P0101", "P0102"}), {}, SeedAccentedItems},
        {"equal with letters beyond ASCII, another case and trailing blanks",
         "Select ItemID From INVENTORY..tbInvMaster Where ItemName = 'piña colada mix  ' Order By ItemID",
         Returns("ItemID", {"P0101"}), {}, SeedAccentedItems},
        {"like with an accented letter in another case", "Select ItemID From INVENTORY..tbInvMaster Where ItemName Like 'café%'",
         Returns("ItemID", {"P0103"}), {}, SeedAccentedItems},
        {"an accent is no other case", "Select ItemID From INVENTORY..tbInvMaster Where ItemName = 'CAFE CON LECHE' or ItemName Like 'PINA C%'",
         Returns("ItemID", {"P0105"}), {}, SeedAccentedItems},
        {"product search by a name beyond ASCII", ProductSearch(false, ByName("PIÑA")), Returns("Code", {"P0101", "P0102"}), {},
         SeedAccentedItems},
        {"distinct and order by fold letters beyond ASCII",
         "Select distinct ItemName From INVENTORY..tbInvMaster Where ItemName Like 'piña c%' Order By ItemName",
         [](const RowSet& rows, TempDatabase&) {
             EXPECT_EQ(QString::fromStdString(Joined(ColumnValues(rows, 0))).toUpper().toStdString(), "PIÑA COLADA MIX");
         },
         {},
         [](TempDatabase& db) {
             SeedAccentedItems(db);
             db.Insert("tbInvMaster", {{"ItemID", "P0106"}, {"ItemName", QString::fromUtf8("piña colada mix")}});
         }},
        // what SQLite would read otherwise than a server
        Refused("text run into a digit", "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = 'CHECKED'2",
                "Incorrect syntax near '2'."),
        Refused("unclosed text ending in a doubled quote",
                "Update INVENTORY..tbInvWithdrawRequest Set Remarks = 'FOR WARD 3 WHERE DocumentNumber = ''",
                "Unclosed quotation mark after the character string 'FOR WARD 3 WHERE DocumentNumber = '''."),
        Refused("question mark", "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = ? Where DocumentNumber = '7'",
                "Incorrect syntax near '?'."),
        Refused("numbered question mark", "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = ?1 Where DocumentNumber = '7'",
                "Incorrect syntax near '?'."),
        Refused("colon name", "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = :who Where DocumentNumber = '7'",
                "Incorrect syntax near ':'."),
        Refused("dollar name", "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = $who Where DocumentNumber = '7'",
                "Incorrect syntax near '$'."),
        Refused("variable never declared", "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = @who Where DocumentNumber = '7'",
                "Must declare the scalar variable \"@who\"."),
        Refused("unclosed parenthesis",
                "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = 'X' Where isnull(Status,'') = ('P'",
                "Incorrect syntax near 'P'."),
    };
}

using testing_support::Backend;

class StatementCases : public testing::TestWithParam<std::tuple<StatementCase, Backend>> {};

TEST_P(StatementCases, Run)
{
    const auto& [c, backend] = GetParam();
    TESSARY_SKIP_UNLESS_AVAILABLE(backend);
    TempDatabase db(backend);
    Seed(db);
    if (c.prepare)
        c.prepare(db);
    if (!c.error.isEmpty()) {
        try {
            db.Connection().Execute(c.statement);
            ADD_FAILURE() << "the statement ran";
        } catch (const db::DbError& e) {
            if (c.words == ServerWords::Same || backend == Backend::Embedded) {
                EXPECT_EQ(e.Description().toStdString(), c.error.toStdString());
            }
        }
        if (c.check)
            c.check({}, db);
        return;
    }
    RowSet rows;
    try {
        rows = db.Connection().Execute(c.statement);
    } catch (const db::DbError& e) {
        FAIL() << e.Description().toStdString() << "\n" << c.statement.toStdString();
    }
    c.check(rows, db);
}

std::string CaseName(const testing::TestParamInfo<std::tuple<StatementCase, Backend>>& info)
{
    std::string name;
    bool upper = true;
    for (const char* p = std::get<0>(info.param).name; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) {
            name += upper ? char(std::toupper(static_cast<unsigned char>(*p))) : *p;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name + "_" + testing_support::BackendName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(ProgramStatements, StatementCases,
                         testing::Combine(testing::ValuesIn(Cases()), testing::ValuesIn(testing_support::AllBackends())),
                         CaseName);

} // namespace
