// How the program's own statements fare on a large site: an item file of
// 100 000 items stocked at the central store, and 20 000 stored requests.
// Each benchmark sends the statement text exactly as the program does,
// through the embedded backend's translation and procedures.
#include "db/Quote.h"
#include "db/SqliteConnection.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kItems = 100000;
constexpr int kRequests = 20000;

QString ItemCode(int i) { return QStringLiteral("P%1").arg(i, 6, 10, QLatin1Char('0')); }

const char* const kWords[] = {"PARACETAMOL", "AMOXICILLIN", "CEFTRIAXONE", "SYRINGE", "GLOVES",
                              "GAUZE", "CATHETER", "SUTURE", "SALINE", "DEXTROSE", "OMEPRAZOLE",
                              "METFORMIN", "INSULIN", "BANDAGE", "ALCOHOL", "COTTON"};

// Builds the large database once per process.
class LargeSite {
public:
    static LargeSite& Get()
    {
        static LargeSite site;
        return site;
    }
    db::SqliteConnection& Connection() { return *connection_; }

private:
    LargeSite() : connection_(db::SqliteConnection::Create(dir_.filePath(QStringLiteral("large.db"))))
    {
        auto& c = *connection_;
        c.BeginTransaction();
        c.ExecuteNative("INSERT INTO tbInvLocation (LocationID, Location, isWarehouse, isDispensingArea, AllowOrder) "
                        "VALUES ('94','CENTRAL SUPPLY ROOM',1,0,1), ('10','EMERGENCY ROOM',0,0,0)");
        c.ExecuteNative("INSERT INTO tbInvUserLocation (UserID, LocationID) VALUES ('JDELA','94'), ('JDELA','10')");
        c.ExecuteNative("INSERT INTO tbPasswordMain (EmployeeID, LastName, FirstName) VALUES ('JDELA','DELA CRUZ','JUANA')");
        for (int i = 1; i <= kItems; ++i) {
            const QString name = QStringLiteral("%1 %2").arg(QLatin1String(kWords[i % 16])).arg(i);
            c.ExecuteNative("INSERT INTO tbInvMaster (ItemID, ItemName, ItemDesc, BarCode, ItemStatus, Packing, "
                            "ListCost, AverageCost) VALUES (?,?,?,?,0,1,10,9.5)",
                            {ItemCode(i), name, QStringLiteral("500 MG TABLET"),
                             QStringLiteral("48%1").arg(i, 11, 10, QLatin1Char('0'))});
            c.ExecuteNative("INSERT INTO tbInvent (ItemID, LocationID, OnHand, ItemStatus) VALUES (?,?,?,0)",
                            {ItemCode(i), QStringLiteral("94"), i % 50});
            if (i % 4 == 0)
                c.ExecuteNative("INSERT INTO tbInvent (ItemID, LocationID, OnHand, ItemStatus) VALUES (?,?,?,0)",
                                {ItemCode(i), QStringLiteral("10"), i % 7});
        }
        for (int r = 1; r <= kRequests; ++r)
            for (int line = 0; line < 3; ++line)
                c.ExecuteNative("INSERT INTO tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, "
                                "ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Status, VerifiedBy) "
                                "VALUES (?,?,1,2.5,'Y',0,'94','10',?,'JDELA',?,?)",
                                {QString::number(r), ItemCode(r * 3 + line),
                                 QStringLiteral("2026-%1-%2 10:00:00").arg(1 + r % 12, 2, 10, QLatin1Char('0'))
                                     .arg(1 + r % 28, 2, 10, QLatin1Char('0')),
                                 r % 10 == 0 ? QVariant() : QVariant(QStringLiteral("P")),
                                 r % 10 == 0 ? QVariant() : QVariant(QStringLiteral("MSANTOS"))});
        c.Commit();
        c.ExecuteNative("ANALYZE");
    }

    QTemporaryDir dir_;
    std::unique_ptr<db::SqliteConnection> connection_;
};

QString ProductSearch(const QString& condition)
{
    return QStringLiteral(
               "Select A.ItemID as Code, A.ItemName As [Product Name], "
               "A.ItemDesc As Description, B.SupplierName As Supplier, A.MarkupIn As [In-Patient Markup], "
               "A.MarkupOut As [Out-Patient Markup],"
               "Case when A.ItemStatus = 1 then 'Inactive' Else 'Active' End  As Status, A.Packing, A.ListCost,  "
               "C.ItemClassificationName "
               "From INVENTORY..tbInvMaster A "
               "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID "
               "Left Outer Join INVENTORY..tbInvClassification C ON A.ItemClassificationID = C.ItemClassificationID "
               " Where ( A.ItemStatus = 0 or A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and ")
           + condition + QStringLiteral(" Order by A.ItemName, A.ItemDesc");
}

void BM_ProductSearchByNamePrefix(benchmark::State& state)
{
    auto& c = LargeSite::Get().Connection();
    const QString sql = ProductSearch(QStringLiteral(" A.ItemName Like 'PARACETAMOL 123%'"));
    for (auto _ : state)
        benchmark::DoNotOptimize(c.Execute(sql).RecordCount());
}
BENCHMARK(BM_ProductSearchByNamePrefix)->Unit(benchmark::kMillisecond);

void BM_ProductSearchByCode(benchmark::State& state)
{
    auto& c = LargeSite::Get().Connection();
    const QString sql = ProductSearch(QStringLiteral(" A.ItemID = 'P054321' "));
    for (auto _ : state)
        benchmark::DoNotOptimize(c.Execute(sql).RecordCount());
}
BENCHMARK(BM_ProductSearchByCode)->Unit(benchmark::kMillisecond);

void BM_BarcodeLookup(benchmark::State& state)
{
    auto& c = LargeSite::Get().Connection();
    const QString sql = "Select ItemID from INVENTORY..tbInvMaster Where Barcode = " + db::Quote("4800000054321");
    for (auto _ : state)
        benchmark::DoNotOptimize(c.Execute(sql).RecordCount());
}
BENCHMARK(BM_BarcodeLookup)->Unit(benchmark::kMillisecond);

void BM_StockItemAtLocation(benchmark::State& state)
{
    auto& c = LargeSite::Get().Connection();
    for (auto _ : state)
        benchmark::DoNotOptimize(c.Execute("Inventory..sp_Inv_SearchItem_In_Invent 'P054321','94'").RecordCount());
}
BENCHMARK(BM_StockItemAtLocation)->Unit(benchmark::kMillisecond);

void BM_RequestListPending(benchmark::State& state)
{
    auto& c = LargeSite::Get().Connection();
    const QString sql = QStringLiteral(
        "Select distinct A.DocumentNumber , B.Location , C.Location ,A.TransDate , "
        "(Select Top 1 LastName + ', ' + FirstName From Password..tbPasswordMain Where EmployeeID = A.UserID),"
        "A.targetlocationid  from INVENTORY..tbinvwithdrawrequest A  Left Outer Join INVENTORY..tbinvlocation B"
        " On A.TargetLocationID = B.LocationID Left Outer Join INVENTORY..tbinvLocation C On A.LocationId = "
        "C.LocationID Left Outer Join INVENTORY..tbinvUserLocation D On A.LocationID = D.LocationID Where "
        "D.UserID = 'JDELA' and  isnull(A.Status,'') = ''  and isnull(verifiedby,'') = '' Order By Transdate");
    for (auto _ : state)
        benchmark::DoNotOptimize(c.Execute(sql).RecordCount());
}
BENCHMARK(BM_RequestListPending)->Unit(benchmark::kMillisecond);

void BM_NewDocumentNumber(benchmark::State& state)
{
    auto& c = LargeSite::Get().Connection();
    const QString sql = QStringLiteral(
        "Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From INVENTORY..tbInvWithdrawRequest");
    for (auto _ : state)
        benchmark::DoNotOptimize(c.Execute(sql).RecordCount());
}
BENCHMARK(BM_NewDocumentNumber)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
