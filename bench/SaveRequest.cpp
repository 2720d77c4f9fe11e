// The save of a new request of ten lines (numbering, delete, inserts, one
// transaction) on the embedded file and, when TESSARY_TEST_PG names a
// PostgreSQL server (the URL of a user that may create databases), on a
// database made for the run there.
#include "base/Memory.h"
#include "db/DbError.h"
#include "db/ServerConnection.h"
#include "db/SqliteConnection.h"
#include "requests/RequestStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QUrl>
#include <benchmark/benchmark.h>

namespace {

requests::RequestToSave TenLines()
{
    requests::RequestToSave r;
    r.documentNumber = QStringLiteral("NEW");
    r.transDate = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9));
    r.locationId = QStringLiteral("94");
    r.targetLocationId = QStringLiteral("20");
    r.userId = QStringLiteral("JDELA");
    r.remarks = QStringLiteral("FOR WARD USE");
    for (int i = 1; i <= 10; ++i)
        r.lines << requests::RequestLine{QString::number(1000 + i), QString::number(i), QStringLiteral("12.5"),
                                         QStringLiteral("Y"), QStringLiteral("N")};
    return r;
}

void Save(benchmark::State& state, db::Connection& connection)
{
    const requests::RequestToSave request = TenLines();
    for (auto _ : state)
        benchmark::DoNotOptimize(requests::SaveRequest(connection, request));
}

void BM_SaveEmbedded(benchmark::State& state)
{
    QTemporaryDir dir;
    auto connection = db::SqliteConnection::Create(dir.filePath(QStringLiteral("bench.db")));
    Save(state, *connection);
}
BENCHMARK(BM_SaveEmbedded)->Unit(benchmark::kMillisecond);

void BM_SavePostgreSql(benchmark::State& state)
{
    const QString url = qEnvironmentVariable("TESSARY_TEST_PG");
    if (url.isEmpty()) {
        state.SkipWithError("TESSARY_TEST_PG is not set");
        return;
    }
    const QString name = QStringLiteral("tessary_bench_%1").arg(QCoreApplication::applicationPid());
    auto admin = db::ServerConnection::Open(db::ServerLogin::FromUrl(url));
    admin->ExecuteNative(QStringLiteral("CREATE DATABASE %1").arg(name));
    {
        QUrl site(url);
        site.setPath(QLatin1Char('/') + name);
        auto connection = db::ServerConnection::Open(db::ServerLogin::FromUrl(site.toString()));
        connection->CreateSchema();
        Save(state, *connection);
    }
    admin->ExecuteNative(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(name));
}
BENCHMARK(BM_SavePostgreSql)->Unit(benchmark::kMillisecond);

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
