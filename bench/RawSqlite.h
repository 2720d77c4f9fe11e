#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <benchmark/benchmark.h>
#include <chrono>

struct sqlite3;
struct sqlite3_stmt;

// A statement as a connection ran it: its SQL with its parameters (?1 ...),
// and the values bound to them (?N: values[N - 1]; a text as its UTF-8
// bytes, a number, or null).
struct BoundStatement {
    QByteArray sql;
    QVariantList values;
};

// The reference every figure is measured against: the same SQL run through
// SQLite's own C interface, on a connection of its own to the same file with
// the same page cache and the functions that translated statements call.
class RawSqlite {
public:
    explicit RawSqlite(const QString& path);
    ~RawSqlite();
    RawSqlite(const RawSqlite&) = delete;
    RawSqlite& operator=(const RawSqlite&) = delete;

    sqlite3* Handle() const { return db_; }

    // Prepares, steps up to `limit` rows (all when negative) reading every
    // column, finalizes; returns the rows read.
    int Read(const QByteArray& sql, int limit = -1);
    // The same for a statement prepared once, at its first run, and kept:
    // its values bound, stepped, reset.
    int Read(const BoundStatement& statement, int limit = -1);
    // Runs one statement that returns no rows (BEGIN, COMMIT, a write).
    void Exec(const char* sql);
    // SQLite's query plan of a statement, one line per step.
    QStringList Plan(const QByteArray& sql);

private:
    sqlite3* db_ = nullptr;
    QHash<QByteArray, sqlite3_stmt*> prepared_;
};

// Records the SQL that a connection's handle runs, its bound values written
// in, so that the reference can run exactly what the program ran.
class StatementCapture {
public:
    explicit StatementCapture(sqlite3* handle);
    ~StatementCapture();

    // The statements with their bound values written in.
    const QByteArrayList& Statements() const { return statements_; }
    // The same statements with their values apart.
    const QList<BoundStatement>& Bound() const { return bound_; }

private:
    static int OnStatement(unsigned type, void* self, void* statement, void*);

    sqlite3* handle_;
    QByteArrayList statements_;
    QList<BoundStatement> bound_;
};

// Time of the program's work beside the reference's, taken in the same
// iterations so that a noisy machine slows both alike.
class Beside {
public:
    using Clock = std::chrono::steady_clock;

    void AddOurs(Clock::time_point from, Clock::time_point to) { ours_ += Seconds(from, to); }
    void AddRaw(Clock::time_point from, Clock::time_point to) { raw_ += Seconds(from, to); }
    // Sets the iteration's manual time to the program's part.
    static double Seconds(Clock::time_point from, Clock::time_point to)
    {
        return std::chrono::duration<double>(to - from).count();
    }
    // raw_ms and ratio (ours / raw) as counters of the benchmark.
    void Report(benchmark::State& state) const;
    double Ours() const { return ours_; }
    double Ratio() const { return raw_ > 0 ? ours_ / raw_ : 0; }

private:
    double ours_ = 0;
    double raw_ = 0;
};
