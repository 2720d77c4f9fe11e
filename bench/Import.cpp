// The import of an item file of 100 000 rows into a new site, as
// `tessary-admin import PATH items FILE.csv` runs it: the file read and
// parsed, every row checked, all inserted in one transaction. Beside it, in
// the same iterations, SQLite's C interface inserts the same rows into a new
// database of the same schema with one prepared statement in one
// transaction, its values already in memory: the ratio includes the
// import's reading and parsing of the CSV file and its checks.
#include "admin/Import.h"
#include "base/Memory.h"
#include "bench/RawSqlite.h"
#include "db/SqliteConnection.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdexcept>

namespace {

constexpr int kItems = 100000;

struct GeneratedItem {
    QByteArray code, name, description, barcode;
    int packing;
    double listCost;
};

QVector<GeneratedItem> GenerateItems()
{
    static const char* const kNames[] = {"PARACETAMOL", "AMOXICILLIN", "GAUZE PAD STERILE", "IV CANNULA",
                                         "SYRINGE DISPOSABLE", "SODIUM CHLORIDE 0.9%", "SURGICAL GLOVES"};
    QVector<GeneratedItem> items;
    items.reserve(kItems);
    for (int i = 1; i <= kItems; ++i)
        items.append({QByteArray::number(i), QByteArray(kNames[i % 7]) + ' ' + QByteArray::number(i % 997),
                      "SIZE " + QByteArray::number(i % 13) + ", PACK OF " + QByteArray::number(1 + i % 50),
                      "48" + QByteArray::number(1000000000LL + i * 7LL), 1 + i % 100, (i % 5000) / 4.0});
    return items;
}

// The file as a spreadsheet would save it: the descriptions hold commas
// and are quoted.
void WriteCsv(const QString& path, const QVector<GeneratedItem>& items)
{
    QByteArray text = "code,name,description,packing,list_cost,barcode\n";
    for (const GeneratedItem& item : items)
        text += item.code + ',' + item.name + ",\"" + item.description + "\"," + QByteArray::number(item.packing) + ','
                + QByteArray::number(item.listCost) + ',' + item.barcode + '\n';
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        throw std::runtime_error("cannot write the item file");
}

// The same rows and columns the import writes.
void RawInsert(RawSqlite& raw, const QVector<GeneratedItem>& items)
{
    raw.Exec("BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(raw.Handle(),
                       "INSERT INTO tbInvMaster (ItemID, ItemName, ItemDesc, UnitOfMeasureID, Packing, ListCost, "
                       "AverageCost, BarCode, SupplierID, ItemStatus, MarkupIn, MarkupOut, VAT, IsSeniorDiscounted, "
                       "WithLotNumber, IncludeInStatement) VALUES (?,?,?,NULL,?,?,?,?,NULL,0,0,0,0,0,0,1)",
                       -1, &insert, nullptr);
    for (const GeneratedItem& item : items) {
        sqlite3_bind_text(insert, 1, item.code.constData(), int(item.code.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, item.name.constData(), int(item.name.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, item.description.constData(), int(item.description.size()), SQLITE_STATIC);
        sqlite3_bind_int(insert, 4, item.packing);
        sqlite3_bind_double(insert, 5, item.listCost);
        sqlite3_bind_double(insert, 6, item.listCost);
        sqlite3_bind_text(insert, 7, item.barcode.constData(), int(item.barcode.size()), SQLITE_STATIC);
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(raw.Handle()));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    raw.Exec("COMMIT");
}

void BM_ImportItems(benchmark::State& state)
{
    const QVector<GeneratedItem> items = GenerateItems();
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("items.csv"));
    WriteCsv(csv, items);
    Beside beside;
    int run = 0;
    for (auto _ : state) {
        // Each side gets a new, empty site database.
        const QString ours = dir.filePath(QStringLiteral("ours%1.db").arg(run));
        const QString theirs = dir.filePath(QStringLiteral("raw%1.db").arg(run++));
        auto connection = db::SqliteConnection::Create(ours);
        db::SqliteConnection::Create(theirs).reset();
        RawSqlite raw(theirs);

        const auto t0 = Beside::Clock::now();
        const admin::ImportSummary summary = admin::ImportFile(*connection, admin::ImportKind::Items, csv, {});
        const auto t1 = Beside::Clock::now();
        RawInsert(raw, items);
        const auto t2 = Beside::Clock::now();
        if (summary.added != kItems)
            state.SkipWithError("the import did not add every item");
        beside.AddOurs(t0, t1);
        beside.AddRaw(t1, t2);
        state.SetIterationTime(Beside::Seconds(t0, t1));
    }
    state.counters["rows"] = kItems;
    beside.Report(state);
}
BENCHMARK(BM_ImportItems)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    base::KeepFreedMemory();
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
