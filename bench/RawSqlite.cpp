#include "bench/RawSqlite.h"

#include "db/TsqlFunctions.h"

#include <sqlite3.h>
#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <utility>

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

RawSqlite::~RawSqlite()
{
    for (sqlite3_stmt* statement : std::as_const(prepared_))
        sqlite3_finalize(statement);
    sqlite3_close(db_);
}

namespace {

int ReadRows(sqlite3_stmt* statement, int limit)
{
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
    return rows;
}

} // namespace

int RawSqlite::Read(const QByteArray& sql, int limit)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db_));
    const int rows = ReadRows(statement, limit);
    sqlite3_finalize(statement);
    return rows;
}

int RawSqlite::Read(const BoundStatement& bound, int limit)
{
    sqlite3_stmt*& statement = prepared_[bound.sql];
    if (!statement
        && sqlite3_prepare_v3(db_, bound.sql.constData(), int(bound.sql.size()), SQLITE_PREPARE_PERSISTENT,
                              &statement, nullptr)
               != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db_));
    for (int i = 0; i < bound.values.size(); ++i) {
        const QVariant& value = bound.values[i];
        switch (value.typeId()) {
        case QMetaType::LongLong: sqlite3_bind_int64(statement, i + 1, value.toLongLong()); break;
        case QMetaType::Double: sqlite3_bind_double(statement, i + 1, value.toDouble()); break;
        case QMetaType::QByteArray: {
            const auto* text = static_cast<const QByteArray*>(value.constData());
            sqlite3_bind_text(statement, i + 1, text->constData(), int(text->size()), SQLITE_STATIC);
            break;
        }
        default: sqlite3_bind_null(statement, i + 1);
        }
    }
    const int rows = ReadRows(statement, limit);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
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

namespace {

// The literal that SQLite wrote for a bound value at `at` of an expanded
// statement, as a value; `at` moves past it.
QVariant LiteralAt(const QByteArray& expanded, qsizetype& at)
{
    if (expanded.mid(at, 4) == "NULL") {
        at += 4;
        return {};
    }
    if (expanded[at] == '\'') {
        QByteArray text;
        for (++at; at < expanded.size(); ++at) {
            if (expanded[at] == '\'') {
                if (at + 1 < expanded.size() && expanded[at + 1] == '\'') {
                    text += '\'';
                    ++at;
                    continue;
                }
                ++at;
                break;
            }
            text += expanded[at];
        }
        return text;
    }
    const qsizetype begin = at;
    while (at < expanded.size() && (std::isdigit(static_cast<unsigned char>(expanded[at])) || expanded[at] == '-'
                                    || expanded[at] == '+' || expanded[at] == '.' || expanded[at] == 'e'
                                    || expanded[at] == 'E'))
        ++at;
    const QByteArray number = expanded.mid(begin, at - begin);
    if (number.contains('.') || number.contains('e') || number.contains('E'))
        return number.toDouble();
    return number.toLongLong();
}

// The values a statement was run with, read off its expanded text beside
// its own: where the statement has a parameter ?N, the expanded text has
// the literal of its value.
QVariantList BoundValues(const QByteArray& sql, const QByteArray& expanded)
{
    QVariantList values;
    int largest = 0;  // a bare ? is one past the largest number so far
    qsizetype e = 0;
    for (qsizetype i = 0; i < sql.size();) {
        if (sql[i] == '\'') {  // a literal of the statement itself, copied as it is
            const qsizetype end = sql.indexOf('\'', i + 1);
            e += end - i + 1;
            i = end + 1;
            continue;
        }
        if (sql[i] != '?') {
            ++i;
            ++e;
            continue;
        }
        qsizetype end = i + 1;
        while (end < sql.size() && std::isdigit(static_cast<unsigned char>(sql[end])))
            ++end;
        const int n = end > i + 1 ? sql.mid(i + 1, end - i - 1).toInt() : largest + 1;
        largest = std::max(largest, n);
        const QVariant value = LiteralAt(expanded, e);
        if (values.size() < n)
            values.resize(n);
        values[n - 1] = value;
        i = end;
    }
    return values;
}

} // namespace

int StatementCapture::OnStatement(unsigned, void* self, void* statement, void*)
{
    auto* capture = static_cast<StatementCapture*>(self);
    auto* stmt = static_cast<sqlite3_stmt*>(statement);
    char* sql = sqlite3_expanded_sql(stmt);
    if (sql) {
        capture->statements_ << QByteArray(sql);
        const QByteArray text = sqlite3_sql(stmt);
        capture->bound_ << BoundStatement{text, BoundValues(text, capture->statements_.last())};
    }
    sqlite3_free(sql);
    return 0;
}

void Beside::Report(benchmark::State& state) const
{
    state.counters["raw_ms"] = 1000 * raw_ / double(state.iterations());
    state.counters["ratio"] = Ratio();
}
