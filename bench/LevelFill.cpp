// "Fill from levels" on the large site: a ward that stocks some ten
// thousand items, about one in eight of them below its minimum, fills a new
// request from the store that stocks everything. Each line is entered as a
// typed line is (the item's figures, the quantity and unit cost checks, the
// line into the grid), beside the same SQL run directly through SQLite's C
// interface in the same iterations.
#include "base/Memory.h"
#include "bench/LargeSite.h"
#include "bench/NoPrompts.h"
#include "bench/RawSqlite.h"

#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "cipher/CryptText.h"
#include "forms/Dialogs.h"
#include "forms/Prompts.h"
#include "reports/ViewerOpener.h"
#include "requests/RequestScreen.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using Clock = Beside::Clock;

using bench::NoPrompts;

class NoDialogs : public forms::DialogHost {
public:
    forms::DialogResult Run(forms::DialogLogic&) override { throw std::runtime_error("unexpected dialog"); }
};

class NoViewers : public reports::ViewerOpener {
public:
    void ShowReportViewer(std::shared_ptr<reports::Report>, bool, const QString&) override
    {
        throw std::runtime_error("unexpected viewer");
    }
};

// JDELA's request screen on the large site, a new request from ward 12 to
// store 1 on it.
struct WardClerk {
    NoPrompts prompts;
    NoDialogs dialogs;
    NoViewers viewers;
    app::CurrentUser user{nullptr, app::ConnectionSettings{}};
    app::SessionContext session;
    std::unique_ptr<requests::RequestScreen> screen;

    WardClerk()
    {
        LargeSite& site = LargeSite::Get();
        site.Connection().ExecuteNative(
            QStringLiteral("UPDATE tbPasswordMain SET Password = ?, departmentid = '4' WHERE EmployeeID = 'JDELA'"),
            {cipher::EncipherPassword(QStringLiteral("pw"))});
        user.UseConnection(db::SqliteConnection::Open(site.Path()));
        user.PasswordDeptCode = QStringLiteral("4");
        if (user.LogIn(QStringLiteral("JDELA"), QStringLiteral("pw")) != app::CurrentUser::LogInResult::Accepted)
            throw std::runtime_error("JDELA cannot log in");
        session.currentUser = &user;
        session.ServerDate = QStringLiteral("03/07/2026 02:05:09 PM");
        session.DefaultLocationID = QStringLiteral("1");
        session.RightCode = QStringLiteral("A");
        screen = std::make_unique<requests::RequestScreen>(session, prompts, dialogs, viewers);
        screen->Load();
    }

    void NewRequest()
    {
        screen->New();
        // As the clerk picks them.
        screen->cboTargetLocation.SetText(QStringLiteral("WARD 12"));
        screen->cboTargetLocation.SetTag(QStringLiteral("12"));
        screen->cboLocation.SetText(QStringLiteral("STORE 1"));
        screen->cboLocation.SetTag(QStringLiteral("1"));
        if (screen->cboTargetLocation.Tag() != QLatin1String("12"))
            throw std::runtime_error("the new request is not from ward 12");
    }

    int Lines() const { return screen->grdDetails.Rows() - 2; }
};

void FillFromLevels(benchmark::State& state)
{
    WardClerk clerk;
    auto& connection = static_cast<db::SqliteConnection&>(clerk.user.sqlconnection());
    QByteArrayList captured;
    {
        clerk.NewRequest();
        StatementCapture capture(connection.File().Handle());
        clerk.screen->Filling().Fill();
        captured = capture.Statements();
    }
    RawSqlite raw(LargeSite::Get().Path());
    Beside beside;
    int lines = 0;
    for (auto _ : state) {
        clerk.NewRequest();
        const auto t0 = Clock::now();
        clerk.screen->Filling().Fill();
        const auto t1 = Clock::now();
        for (const QByteArray& sql : captured)
            benchmark::DoNotOptimize(raw.Read(sql));
        const auto t2 = Clock::now();
        beside.AddOurs(t0, t1);
        beside.AddRaw(t1, t2);
        state.SetIterationTime(Beside::Seconds(t0, t1));
        lines = clerk.Lines();
    }
    state.counters["lines"] = lines;
    state.counters["statements"] = captured.size();
    beside.Report(state);
}
BENCHMARK(FillFromLevels)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    base::KeepFreedMemory();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    LargeSite::Get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
