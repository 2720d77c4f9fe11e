// How the program's own statements fare on a large site (LargeSite.h).
// Each benchmark sends the statement text exactly as the program does,
// through the embedded backend's translation and procedures.
#include "bench/LargeSite.h"
#include "db/Quote.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

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
        benchmark::DoNotOptimize(c.Execute("Inventory..sp_Inv_SearchItem_In_Invent 'P054321','1'").RecordCount());
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
