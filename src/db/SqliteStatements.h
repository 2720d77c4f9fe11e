#pragma once

#include "db/RowSet.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVector>
#include <array>
#include <functional>
#include <list>

struct sqlite3_stmt;

namespace db {

class SqliteFile;
struct LiftedLiteral;

// Prepared statements kept per file (and per cursor pool) before the cache
// starts afresh.
inline constexpr int kPreparedStatementsKept = 256;

// One SQLite statement prepared from a text, kept to be run again with new
// values.
struct PreparedStatement {
    sqlite3_stmt* statement = nullptr;  // none for a blank text
    QStringList columns;
    // Which result columns hold date-times (stored as text): those the
    // translation names and the catalog's date-time columns.
    QVector<bool> isDateTime;
    // ?1 ... ?n: n; -1 for parameters of any other kind (one that SQLite
    // numbers itself, or names).
    int parameters = 0;

    // What may follow the first statement of a text.
    enum class Rest { Refused, Ignored };
    // Prepares the first statement of `sql` on the file; `dateTimeColumns`
    // are result columns (lower-case names) that hold date-times beyond the
    // catalog's. Throws DbError in the file's words.
    static PreparedStatement Prepare(const SqliteFile& file, const QString& sql, const QSet<QString>& dateTimeColumns,
                                     Rest rest);
    // Whether the statement's parameters are all values the program binds
    // (`values` of them, bound in order). A statement whose text holds a
    // parameter of its own (a marker written into it, which the
    // translation's check cannot tell from one of a lifted literal) takes
    // none: it is refused, as the server refuses the marker.
    bool TakesValues(int values) const { return parameters >= 0 && parameters <= values; }
};

// A stored text as a value: a date-time of a date-time column as QDateTime
// (a text that is none stays text), any other as QString.
QVariant StoredTextValue(const char* utf8, int length, bool isDateTime);

// Binds the values of one of the program's statements to SQLite's
// parameters of its translation: the literals lifted out of its text
// (StatementShape.h), each with the value it has in the text, or values
// given apart from it (Connection::ExecuteWith). A text is bound as UTF-16
// straight from the statement, which outlives the run: no copy here, SQLite
// converts it once as it stores it.
class ValueBinder {
public:
    // What becomes of the bound texts: kept in place for one run that the
    // statement's text outlives, or copied by SQLite for a statement that
    // stays bound longer (a cursor's).
    enum class Texts { InPlace, Copied };

    ValueBinder(sqlite3_stmt* statement, const QString& text, Texts texts = Texts::InPlace)
        : statement_(statement), text_(text), texts_(texts) {}

    // A lifted literal: a text unquoted (a date-time text in the stored
    // form), a number as an integer when it is whole and fits, else as a
    // real, as SQLite reads such literals.
    void BindLiteral(int index, const LiftedLiteral& literal, bool isDateTime);
    // A value given apart, which outlives the run; not NULL. A date or a
    // date-time is bound in the stored form.
    void BindValue(int index, const QVariant& value, bool isDateTime);

private:
    void BindQuoted(int index, QStringView literal, bool isDateTime);
    void BindText(int index, QStringView value, bool isDateTime);
    void BindNumber(int index, QStringView literal);

    sqlite3_stmt* statement_;
    const QString& text_;
    Texts texts_;
    // Texts with doubled quotes, unquoted; they live until the run ends
    // (a list, so that adding one moves none).
    std::list<QString> unquoted_;
};

// The statements run on one database file: each SQL text prepared once and
// kept, run again with new values bound, its rows read into a RowSet.
class SqliteStatements {
public:
    // Binds the values of one run to the prepared statement.
    using Binder = std::function<void(sqlite3_stmt*)>;

    explicit SqliteStatements(const SqliteFile& file) : file_(file) {}
    ~SqliteStatements();
    SqliteStatements(const SqliteStatements&) = delete;
    SqliteStatements& operator=(const SqliteStatements&) = delete;

    // Runs one SQLite statement and reads every row; `dateTimeColumns` as
    // for PreparedStatement::Prepare. `values`: how many values `bind`
    // binds to a translated statement, whose parameters must be theirs; -1
    // for SQL of the program's own.
    RowSet Run(const QString& sql, const QSet<QString>& dateTimeColumns, int values, const Binder& bind);
    // Runs SQL of the program's own with positional values, bound by their
    // types: null values (a null text too) as NULL, whole numbers and flags
    // as integers, date-times in the stored form.
    RowSet RunNative(const QString& sql, const QVariantList& binds, const QSet<QString>& dateTimeColumns);

private:
    PreparedStatement& PreparedFor(const QString& sql, const QSet<QString>& dateTimeColumns);
    void FinalizeAll();

    // Statements run lately, known by their text's storage: a text held
    // here cannot change or be freed, so the same storage is the same
    // statement, found without hashing its text (a translation or a
    // procedure's SQL is over a thousand characters). Emptied whenever
    // prepared_ changes, which may move its entries.
    struct Recent {
        QString sql;
        PreparedStatement* prepared = nullptr;
    };
    static constexpr int kRecentKept = 8;

    const SqliteFile& file_;
    QHash<QString, PreparedStatement> prepared_;
    std::array<Recent, kRecentKept> recent_;
    int nextRecent_ = 0;
};

} // namespace db
