// The product search on a large site: from a keystroke to the first
// screenful of rows in the grid, and reading every row of a search, each
// beside the same work done directly through SQLite's C interface in the
// same run: the statement the program's connection ran, prepared once and
// kept, its values bound at every run, stepped with every column read.
// Manual timing interleaves the two in every iteration, so the ratio holds
// on a noisy machine.
#include "base/Memory.h"
#include "bench/LargeSite.h"
#include "bench/NoPrompts.h"
#include "bench/RawSqlite.h"

#include "app/CurrentUser.h"
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

using Clock = Beside::Clock;

using bench::NoPrompts;

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
    app::CurrentUser user{nullptr};
    QString lastStatement;

    Program()
    {
        user.UseConnection(db::SqliteConnection::Open(LargeSite::Get().Path()));
        user.sqlconnection().SetStatementObserver([this](const QString& s) { lastStatement = s; });
    }
};

// The dialog as the program opens it, its search box holding the text.
struct Search {
    Program program;
    dialogs::ItemLookup dialog{program.user.sqlconnection(), program.prompts};
    QByteArray translated;
    // What the program's connection runs for the search, its values apart.
    BoundStatement bound;

    Search(const Scope& scope, const QString& text)
    {
        dialog.Request = {QString::fromLatin1(scope.requestTo), QString::fromLatin1(scope.departmentFrom)};
        dialog.LocationCode = dialog.Request.requestToID;
        dialog.SearchString = text;
        dialog.Load();
        auto& connection = static_cast<db::SqliteConnection&>(program.user.sqlconnection());
        translated = connection.PlannedCursorSql(program.lastStatement).toUtf8();
        StatementCapture capture(connection.File().Handle());
        dialog.ClickSearch();
        bound = capture.Bound().value(capture.Bound().size() - 1);
    }
};

// A keystroke in the search box: the statement built, translated, opened,
// and the grid bound with its first rows (more than a screenful).
void FirstScreenful(benchmark::State& state, const Scope& scope, const QString& text)
{
    Search search(scope, text);
    RawSqlite raw(LargeSite::Get().Path());
    Beside beside;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        search.dialog.ClickSearch();
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(raw.Read(search.bound, forms::ResultGrid::kFirstRows));
        const auto t2 = Clock::now();
        beside.AddOurs(t0, t1);
        beside.AddRaw(t1, t2);
        state.SetIterationTime(Beside::Seconds(t0, t1));
    }
    state.counters["rows_shown"] = search.dialog.grdLookup.RowsRead();
    beside.Report(state);
}

// Reading every row of the search through the grid.
void EveryRow(benchmark::State& state, const Scope& scope, const QString& text)
{
    Search search(scope, text);
    RawSqlite raw(LargeSite::Get().Path());
    Beside beside;
    int rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        search.dialog.ClickSearch();
        while (search.dialog.grdLookup.CanFetchMore())
            search.dialog.grdLookup.FetchMore(1024);
        const auto t1 = Clock::now();
        rows = raw.Read(search.bound, -1);
        const auto t2 = Clock::now();
        beside.AddOurs(t0, t1);
        beside.AddRaw(t1, t2);
        state.SetIterationTime(Beside::Seconds(t0, t1));
    }
    if (rows != search.dialog.grdLookup.RowsRead())
        state.SkipWithError("the grid and SQLite read different row counts");
    state.counters["rows"] = rows;
    beside.Report(state);
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
    RawSqlite raw(LargeSite::Get().Path());
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
    base::KeepFreedMemory();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    LargeSite::Get();
    PrintPlans();
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
