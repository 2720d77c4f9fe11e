// The product search on a large site: from a keystroke to the first
// screenful of rows in the grid, and reading every row of a search, each
// beside the same work done directly through SQLite's C interface in the
// same run (the translated statement prepared and stepped, every column
// read). Manual timing interleaves the two in every iteration, so the
// ratio holds on a noisy machine.
#include "bench/LargeSite.h"

#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "db/TsqlTranslator.h"
#include "dialogs/ItemLookup.h"
#include "forms/Prompts.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

class NoPrompts : public forms::Prompts {
public:
    forms::Answer Show(const forms::Message& message) override
    {
        throw std::runtime_error("unexpected message: " + message.text.toStdString());
    }
};

struct Locations : app::OpenRequestLocations {
    QString requestTo;
    QString departmentFrom;
    QString RequestToLocationID() const override { return requestTo; }
    QString DepartmentFromLocationID() const override { return departmentFrom; }
};

// Which items a search may list.
struct Scope {
    const char* name;
    const char* requestTo;       // empty: the whole master file
    const char* departmentFrom;
};

const Scope kScopes[] = {
    {"master", "", ""},
    // A ward asks the store: the store stocks everything, the ward one item in ten.
    {"store_for_ward", "1", "12"},
    // One ward asks another: one item in a hundred is stocked at both.
    {"ward_for_ward", "13", "12"},
    // A ward with a short list (one item in 300) asks the store.
    {"store_for_small_ward", "1", "50"},
};

const char* const kTexts[] = {"", "A", "GA", "PARACETAMOL 1"};

// The program's session on its own connection to the large site.
struct Program {
    NoPrompts prompts;
    Locations locations;
    app::CurrentUser user{nullptr};
    app::SessionContext session;
    QString lastStatement;

    Program()
    {
        user.UseConnection(db::SqliteConnection::Open(LargeSite::Get().Path()));
        session.currentUser = &user;
        session.OpenRequest = &locations;
        user.sqlconnection().SetStatementObserver([this](const QString& s) { lastStatement = s; });
    }
};

// The same statement through SQLite's own interface, on a connection of its own.
class RawSqlite {
public:
    RawSqlite()
    {
        if (sqlite3_open_v2(LargeSite::Get().Path().toUtf8().constData(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open the large site");
        // The page cache the program's connections have.
        sqlite3_exec(db_, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    }
    ~RawSqlite() { sqlite3_close(db_); }

    // Prepares, steps up to `limit` rows (all when negative) reading every
    // column, finalizes; returns the rows read.
    int Read(const QByteArray& sql, int limit)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        const int columns = sqlite3_column_count(statement);
        int rows = 0;
        while ((limit < 0 || rows < limit) && sqlite3_step(statement) == SQLITE_ROW) {
            for (int i = 0; i < columns; ++i) {
                switch (sqlite3_column_type(statement, i)) {
                case SQLITE_INTEGER: benchmark::DoNotOptimize(sqlite3_column_int64(statement, i)); break;
                case SQLITE_FLOAT: benchmark::DoNotOptimize(sqlite3_column_double(statement, i)); break;
                case SQLITE_NULL: break;
                default:
                    benchmark::DoNotOptimize(sqlite3_column_text(statement, i));
                    benchmark::DoNotOptimize(sqlite3_column_bytes(statement, i));
                }
            }
            ++rows;
        }
        sqlite3_finalize(statement);
        return rows;
    }

    QStringList Plan(const QByteArray& sql)
    {
        QStringList lines;
        sqlite3_stmt* statement = nullptr;
        const QByteArray explain = "EXPLAIN QUERY PLAN " + sql;
        sqlite3_prepare_v2(db_, explain.constData(), -1, &statement, nullptr);
        while (statement && sqlite3_step(statement) == SQLITE_ROW)
            lines << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 3)));
        sqlite3_finalize(statement);
        return lines;
    }

private:
    sqlite3* db_ = nullptr;
};

// The dialog as the program opens it, its search box holding the text.
struct Search {
    Program program;
    dialogs::ItemLookup dialog{program.session, program.prompts};
    QByteArray translated;

    Search(const Scope& scope, const QString& text)
    {
        program.locations.requestTo = QString::fromLatin1(scope.requestTo);
        program.locations.departmentFrom = QString::fromLatin1(scope.departmentFrom);
        dialog.LocationCode = program.locations.requestTo;
        dialog.SearchString = text;
        dialog.Load();
        auto& connection = static_cast<db::SqliteConnection&>(program.user.sqlconnection());
        translated = connection.PlannedCursorSql(program.lastStatement).toUtf8();
    }
};

// A keystroke in the search box: the statement built, translated, opened,
// and the grid bound with its first rows (more than a screenful).
void FirstScreenful(benchmark::State& state, const Scope& scope, const QString& text)
{
    Search search(scope, text);
    RawSqlite raw;
    double ours = 0;
    double reference = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        search.dialog.ClickSearch();
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(raw.Read(search.translated, forms::ResultGrid::kFirstRows));
        const auto t2 = Clock::now();
        ours += Seconds(t0, t1);
        reference += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t0, t1));
    }
    state.counters["rows_shown"] = search.dialog.grdLookup.RowsRead();
    state.counters["raw_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
}

// Reading every row of the search through the grid.
void EveryRow(benchmark::State& state, const Scope& scope, const QString& text)
{
    Search search(scope, text);
    RawSqlite raw;
    double ours = 0;
    double reference = 0;
    int rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        search.dialog.ClickSearch();
        while (search.dialog.grdLookup.CanFetchMore())
            search.dialog.grdLookup.FetchMore(1024);
        const auto t1 = Clock::now();
        rows = raw.Read(search.translated, -1);
        const auto t2 = Clock::now();
        ours += Seconds(t0, t1);
        reference += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t0, t1));
    }
    if (rows != search.dialog.grdLookup.RowsRead())
        state.SkipWithError("the grid and SQLite read different row counts");
    state.counters["rows"] = rows;
    state.counters["raw_ms"] = 1000 * reference / double(state.iterations());
    state.counters["ratio"] = ours / reference;
}

// What a statement never seen before costs to translate (a new search text
// misses the translation cache).
void TranslateNewText(benchmark::State& state)
{
    Search search(kScopes[1], QStringLiteral("A"));
    for (auto _ : state) {
        db::TsqlTranslator translator;
        benchmark::DoNotOptimize(translator.Translate(search.program.lastStatement, db::Plan::FirstRows));
    }
}

// The query plans of the searches: the name order must come from the name
// index, never from a sort of the whole result; only a short membership
// list may drive the search and have its few rows sorted.
void PrintPlans()
{
    RawSqlite raw;
    for (const Scope& scope : kScopes) {
        Search search(scope, QStringLiteral("A"));
        const QStringList plan = raw.Plan(search.translated);
        std::printf("Query plan, %s, prefix 'A':\n  %s\n", scope.name, qPrintable(plan.join(QStringLiteral("\n  "))));
        const bool nameOrder = plan.value(0).contains(QLatin1String("ixMasterName"))
                               && !plan.join(' ').contains(QLatin1String("TEMP B-TREE"));
        const bool shortList = plan.join(' ').contains(QLatin1String("LIST SUBQUERY"));
        if (!nameOrder && !shortList)
            std::printf("  WARNING: the search sorts its whole result\n");
    }
    std::fflush(stdout);
}

void RegisterAll()
{
    for (const Scope& scope : kScopes) {
        for (const char* text : kTexts) {
            const QString t = QString::fromLatin1(text);
            const std::string label = std::string(scope.name) + "/'" + text + "'";
            benchmark::RegisterBenchmark(("FirstScreenful/" + label).c_str(),
                                         [&scope, t](benchmark::State& s) { FirstScreenful(s, scope, t); })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("EveryRow/" + label).c_str(),
                                         [&scope, t](benchmark::State& s) { EveryRow(s, scope, t); })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("TranslateNewText", TranslateNewText)->Unit(benchmark::kMicrosecond);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    LargeSite::Get();
    PrintPlans();
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
