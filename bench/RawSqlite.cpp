#include "bench/RawSqlite.h"

#include "db/TsqlFunctions.h"

#include <sqlite3.h>
#include <stdexcept>

RawSqlite::RawSqlite(const QString& path)
{
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path.toStdString());
    sqlite3_busy_timeout(db_, 15000);
    // The page cache and temporary store the program's connections have.
    Exec("PRAGMA cache_size=-65536");
    Exec("PRAGMA temp_store=MEMORY");
    db::RegisterSqliteFunctions(db_);
}

RawSqlite::~RawSqlite() { sqlite3_close(db_); }

int RawSqlite::Read(const QByteArray& sql, int limit)
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

void RawSqlite::Exec(const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "failed";
        sqlite3_free(error);
        throw std::runtime_error(text);
    }
}

QStringList RawSqlite::Plan(const QByteArray& sql)
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

StatementCapture::StatementCapture(sqlite3* handle) : handle_(handle)
{
    sqlite3_trace_v2(handle_, SQLITE_TRACE_STMT, &StatementCapture::OnStatement, this);
}

StatementCapture::~StatementCapture() { sqlite3_trace_v2(handle_, 0, nullptr, nullptr); }

int StatementCapture::OnStatement(unsigned, void* self, void* statement, void*)
{
    char* sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(statement));
    if (sql)
        static_cast<StatementCapture*>(self)->statements_ << QByteArray(sql);
    sqlite3_free(sql);
    return 0;
}

void Beside::Report(benchmark::State& state) const
{
    state.counters["raw_ms"] = 1000 * raw_ / double(state.iterations());
    state.counters["ratio"] = Ratio();
}
