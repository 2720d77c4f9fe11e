// The program's own statements on a large site, each beside SQLite's C
// interface running exactly the SQL that the program's connection ran
// (captured from it with the values bound to it): prepared once and kept,
// its values bound at every run, stepped with every column read, reset. Values change from one iteration to the next as
// they do between a user's searches; the searches run as the product search
// runs them, through a cursor, here read to the end. Then the request history: the pending
// list, numbering and a 500-line save on 20 000 and on 200 000 stored
// requests, with their growth from one history to the other.
#include "base/Memory.h"
#include "bench/LargeSite.h"
#include "bench/RawSqlite.h"

#include "requests/RequestQueries.h"
#include "requests/RequestStore.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <stdexcept>
#include <utility>

namespace {

using Clock = Beside::Clock;

// How many different values a statement cycles through.
constexpr int kVariants = 64;
constexpr int kSaveLines = 500;

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

QString ItemCode(int k) { return QStringLiteral("P%1").arg(1 + (k * 1543) % LargeSite::kItems, 6, 10, QLatin1Char('0')); }

const QString kNumbering = QStringLiteral(
    "Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From INVENTORY..tbInvWithdrawRequest");

// A statement with its values apart (one for each `?`), or none.
struct Query {
    QString text;
    QVariantList values;
};
using Statement = std::function<Query(int variant)>;

// How the program runs a statement: Execute, or (the searches, their values
// apart as the product search gives them) a cursor that a grid reads; here
// every row and every value of it is read.
enum class Through { Execute, Cursor };

int RunStatement(db::SqliteConnection& connection, const Query& query, Through through)
{
    if (through == Through::Execute)
        return (query.values.isEmpty() ? connection.Execute(query.text) : connection.ExecuteWith(query.text, query.values))
            .RecordCount();
    const std::unique_ptr<db::Cursor> cursor = connection.OpenCursorWith(query.text, query.values);
    cursor->Fetch(std::numeric_limits<int>::max());
    for (int row = 0; row < cursor->RowsRead(); ++row)
        for (int column = 0; column < cursor->ColumnCount(); ++column)
            benchmark::DoNotOptimize(cursor->Value(row, column));
    return cursor->RowsRead();
}

struct NamedStatement {
    const char* name;
    Statement text;
    Through through = Through::Execute;
};

const NamedStatement kReads[] = {
    {"ProductSearchByNamePrefix",
     [](int k) {
         static const char* const kWords[] = {"PARACETAMOL", "GAUZE", "INSULIN", "SYRINGE"};
         return Query{ProductSearch(QStringLiteral(" A.ItemName Like ?")),
                      {QStringLiteral("%1 %2%").arg(QLatin1String(kWords[k % 4])).arg(10 + k)}};
     },
     Through::Cursor},
    {"ProductSearchByCode", [](int k) { return Query{ProductSearch(QStringLiteral(" A.ItemID = ? ")), {ItemCode(k)}}; },
     Through::Cursor},
    {"BarcodeLookup",
     [](int k) {
         return Query{QStringLiteral("Select ItemID from INVENTORY..tbInvMaster Where Barcode = '48%1'")
                          .arg(1 + (k * 1543) % LargeSite::kItems, 11, 10, QLatin1Char('0'))};
     }},
    {"StockItemAtLocation",
     [](int k) { return Query{QStringLiteral("Inventory..sp_Inv_SearchItem_In_Invent '%1','1'").arg(ItemCode(k))}; }},
    {"RequestListPending", [](int) { return Query{requests::RequestListStatement(QStringLiteral("JDELA"), true, false)}; }},
    {"RequestListVerified", [](int) { return Query{requests::RequestListStatement(QStringLiteral("JDELA"), true, true)}; }},
    {"RequestListProcessed", [](int) { return Query{requests::RequestListStatement(QStringLiteral("JDELA"), false, true)}; }},
    {"NewDocumentNumber", [](int) { return Query{kNumbering}; }},
};

// The program's connection to a site, and the reference's.
struct Sides {
    std::unique_ptr<db::SqliteConnection> program;
    RawSqlite raw;

    explicit Sides(LargeSite& site) : program(db::SqliteConnection::Open(site.Path())), raw(site.Path()) {}

    // What the program's connection runs for the statement, its values
    // written in.
    QByteArrayList Capture(const QString& statement, Through through = Through::Execute)
    {
        return CaptureBound(Query{statement}, through).first;
    }
    // The same, and with its values apart.
    std::pair<QByteArrayList, QList<BoundStatement>> CaptureBound(const Query& statement, Through through)
    {
        StatementCapture capture(program->File().Handle());
        RunStatement(*program, statement, through);
        return {capture.Statements(), capture.Bound()};
    }
};

// One read statement through the program's Execute (every value of the
// result made), beside the captured SQL through the reference.
void Read(benchmark::State& state, LargeSite& site, const NamedStatement& statement)
{
    Sides sides(site);
    QList<Query> texts;
    QList<QList<BoundStatement>> captured;
    for (int k = 0; k < kVariants; ++k) {
        texts << statement.text(k);
        captured << sides.CaptureBound(texts.last(), statement.through).second;
    }
    Beside beside;
    int k = 0;
    int rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        rows = RunStatement(*sides.program, texts[k], statement.through);
        const auto t1 = Clock::now();
        for (const BoundStatement& bound : captured[k])
            benchmark::DoNotOptimize(sides.raw.Read(bound));
        const auto t2 = Clock::now();
        beside.AddOurs(t0, t1);
        beside.AddRaw(t1, t2);
        state.SetIterationTime(Beside::Seconds(t0, t1));
        k = (k + 1) % kVariants;
    }
    state.counters["rows"] = rows;
    beside.Report(state);
}

requests::RequestToSave RequestOfLines(int lines)
{
    requests::RequestToSave request;
    request.documentNumber = QStringLiteral("NEW");
    request.transDate = QDateTime(QDate(2026, 12, 10), QTime(9, 30));
    request.locationId = QStringLiteral("1");
    request.targetLocationId = QStringLiteral("12");
    request.userId = QStringLiteral("JDELA");
    request.remarks = QStringLiteral("Ward stock for the week");
    for (int i = 0; i < lines; ++i)
        request.lines.push_back({ItemCode(i), QString::number(1 + i % 9), QStringLiteral("12.75"), QStringLiteral("Y"),
                                 i % 7 ? QStringLiteral("N") : QStringLiteral("Y")});
    return request;
}

// The same writes straight through SQLite: the number taken with the
// program's number query, the check and delete of that number, and one
// prepared insert bound for every line, in one transaction (or, with
// `autocommit`, the inserts each in a transaction of its own).
class RawSave {
public:
    RawSave(RawSqlite& raw, QByteArray numberingSql) : raw_(raw), numberingSql_(std::move(numberingSql))
    {
        Prepare(&exists_, "SELECT DocumentNumber FROM tbInvWithdrawRequest WHERE DocumentNumber = ?1");
        Prepare(&delete_, "DELETE FROM tbInvWithdrawRequest WHERE DocumentNumber = ?1");
        Prepare(&insert_, "INSERT INTO tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, "
                          "isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks) "
                          "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
    }
    ~RawSave()
    {
        for (sqlite3_stmt* s : {exists_, delete_, insert_})
            sqlite3_finalize(s);
    }

    void Save(const requests::RequestToSave& request, bool autocommit)
    {
        if (!autocommit)
            raw_.Exec("BEGIN IMMEDIATE");
        sqlite3_stmt* numbering = nullptr;
        sqlite3_prepare_v2(raw_.Handle(), numberingSql_.constData(), -1, &numbering, nullptr);
        sqlite3_step(numbering);
        const QByteArray number = QByteArray::number(sqlite3_column_int64(numbering, 0));
        sqlite3_finalize(numbering);
        for (sqlite3_stmt* s : {exists_, delete_}) {
            sqlite3_bind_text(s, 1, number.constData(), int(number.size()), SQLITE_STATIC);
            while (sqlite3_step(s) == SQLITE_ROW) {
            }
            sqlite3_reset(s);
        }
        const QByteArray date = request.transDate.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        const QByteArray location = request.locationId.toUtf8();
        const QByteArray target = request.targetLocationId.toUtf8();
        const QByteArray user = request.userId.toUtf8();
        const QByteArray remarks = request.remarks.toUtf8();
        for (const requests::RequestLine& line : request.lines) {
            const QByteArray item = line.itemId.toUtf8();
            const QByteArray retail = line.retail.toUtf8();
            BindText(1, number);
            BindText(2, item);
            sqlite3_bind_int64(insert_, 3, line.quantity.toLongLong());
            sqlite3_bind_double(insert_, 4, line.unitCost.toDouble());
            BindText(5, retail);
            sqlite3_bind_text(insert_, 6, line.ads == QLatin1String("Y") ? "1" : "0", 1, SQLITE_STATIC);
            BindText(7, location);
            BindText(8, target);
            BindText(9, date);
            BindText(10, user);
            BindText(11, remarks);
            if (sqlite3_step(insert_) != SQLITE_DONE)
                throw std::runtime_error(sqlite3_errmsg(raw_.Handle()));
            sqlite3_reset(insert_);
        }
        if (!autocommit)
            raw_.Exec("COMMIT");
    }

private:
    void Prepare(sqlite3_stmt** statement, const char* sql)
    {
        if (sqlite3_prepare_v2(raw_.Handle(), sql, -1, statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(raw_.Handle()));
    }
    void BindText(int index, const QByteArray& value)
    {
        sqlite3_bind_text(insert_, index, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }

    RawSqlite& raw_;
    QByteArray numberingSql_;
    sqlite3_stmt* exists_ = nullptr;
    sqlite3_stmt* delete_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
};

// One step of the history benchmarks on one site: the program's part and the
// reference's, each timed.
struct HistorySide {
    using Step = std::function<void(Sides&, RawSave&)>;

    Sides sides;
    RawSave rawSave;
    Beside beside;

    explicit HistorySide(LargeSite& site)
        : sides(site), rawSave(sides.raw, sides.Capture(kNumbering).value(0)) {}

    // Runs both, each timed; which goes first alternates, so that neither
    // always meets the other's pages in the log or pays its checkpoint.
    double Run(const Step& ours, const Step& reference)
    {
        const auto timed = [](const Step& step, Sides& sides, RawSave& raw) {
            const auto from = Clock::now();
            step(sides, raw);
            return std::make_pair(from, Clock::now());
        };
        std::pair<Clock::time_point, Clock::time_point> oursTime;
        std::pair<Clock::time_point, Clock::time_point> rawTime;
        if (oursFirst_) {
            oursTime = timed(ours, sides, rawSave);
            rawTime = timed(reference, sides, rawSave);
        } else {
            rawTime = timed(reference, sides, rawSave);
            oursTime = timed(ours, sides, rawSave);
        }
        oursFirst_ = !oursFirst_;
        beside.AddOurs(oursTime.first, oursTime.second);
        beside.AddRaw(rawTime.first, rawTime.second);
        return Beside::Seconds(oursTime.first, oursTime.second);
    }

private:
    bool oursFirst_ = true;
};

// A history benchmark: the same step on 20 000 and on 200 000 stored
// requests in every iteration, after one untimed round. growth is the
// program's cost on the long history over its cost on the short one.
void History(benchmark::State& state, const HistorySide::Step& ours, const HistorySide::Step& reference)
{
    HistorySide shortHistory(LargeSite::Get());
    HistorySide longHistory(LargeSite::LongHistory());
    shortHistory.Run(ours, reference);
    longHistory.Run(ours, reference);
    shortHistory.beside = {};
    longHistory.beside = {};
    for (auto _ : state) {
        double seconds = shortHistory.Run(ours, reference);
        seconds += longHistory.Run(ours, reference);
        state.SetIterationTime(seconds);
    }
    const auto iterations = double(state.iterations());
    state.counters["ms_20k"] = 1000 * shortHistory.beside.Ours() / iterations;
    state.counters["ms_200k"] = 1000 * longHistory.beside.Ours() / iterations;
    state.counters["growth"] = longHistory.beside.Ours() / shortHistory.beside.Ours();
    state.counters["ratio_20k"] = shortHistory.beside.Ratio();
    state.counters["ratio_200k"] = longHistory.beside.Ratio();
}

void HistoryPendingList(benchmark::State& state)
{
    const QString list = requests::RequestListStatement(QStringLiteral("JDELA"), true, false);
    // What the program ran on each site, captured in the untimed round.
    std::map<Sides*, QList<BoundStatement>> captured;
    History(
        state, [&](Sides& s, RawSave&) { benchmark::DoNotOptimize(s.program->Execute(list).RecordCount()); },
        [&](Sides& s, RawSave&) {
            auto it = captured.find(&s);
            if (it == captured.end())
                it = captured.emplace(&s, s.CaptureBound(Query{list}, Through::Execute).second).first;
            for (const BoundStatement& bound : it->second)
                benchmark::DoNotOptimize(s.raw.Read(bound));
        });
}

void HistorySave(benchmark::State& state)
{
    const requests::RequestToSave request = RequestOfLines(kSaveLines);
    History(
        state, [&](Sides& s, RawSave&) { benchmark::DoNotOptimize(requests::SaveRequest(*s.program, request)); },
        [&](Sides&, RawSave& raw) { raw.Save(request, false); });
}

// One autocommit per row, beside the program's save of the same lines.
void SaveAutocommitPerRow(benchmark::State& state)
{
    const requests::RequestToSave request = RequestOfLines(kSaveLines);
    HistorySide side(LargeSite::Get());
    for (auto _ : state)
        state.SetIterationTime(side.Run([&](Sides& s, RawSave&) { requests::SaveRequest(*s.program, request); },
                                        [&](Sides&, RawSave& raw) { raw.Save(request, true); }));
    side.beside.Report(state);
    state.counters["times_faster"] = 1 / state.counters["ratio"];
}

// The plans of the list and of numbering: neither may read the whole history.
void PrintPlans()
{
    for (LargeSite* site : {&LargeSite::Get(), &LargeSite::LongHistory()}) {
        Sides sides(*site);
        for (const QString& statement : {requests::RequestListStatement(QStringLiteral("JDELA"), true, false), kNumbering}) {
            for (const QByteArray& sql : sides.Capture(statement)) {
                std::printf("Query plan, %d requests: %s\n  %s\n", site->Requests(), sql.left(60).constData(),
                            qPrintable(sides.raw.Plan(sql).join(QStringLiteral("\n  "))));
            }
        }
    }
    std::fflush(stdout);
}

void RegisterAll()
{
    for (const NamedStatement& read : kReads) {
        benchmark::RegisterBenchmark(read.name, [&read](benchmark::State& s) { Read(s, LargeSite::Get(), read); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("History/PendingList", HistoryPendingList)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("History/Save500Lines", HistorySave)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Save500Lines/AutocommitPerRow", SaveAutocommitPerRow)
        ->UseManualTime()
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv)
{
    base::KeepFreedMemory();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    LargeSite::Get();
    LargeSite::LongHistory();
    PrintPlans();
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
