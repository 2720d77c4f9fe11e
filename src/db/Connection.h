#pragma once

#include "db/Backend.h"
#include "db/Cursor.h"
#include "db/RowSet.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>

namespace db {

// A number given to ExecuteWith as the text that writes it ("21.3400"): it
// stands in the statement as written, unquoted, and a backend that binds
// values binds the number that text reads as. ExecuteWith refuses a text
// that is not one plain number (digits with an optional sign, point and
// exponent).
struct NumberText {
    QString text;
};

// One open database connection. Execute runs one statement as the program
// wrote it (the backend translates where it must) and returns every row;
// a refused statement throws DbError with the server's description.
class Connection {
public:
    using StatementObserver = std::function<void(const QString& statement)>;

    virtual ~Connection() = default;

    RowSet Execute(const QString& statement);
    // Runs one statement whose values are given apart from its text: each
    // `?` outside quotes stands for the next value: a text, a number (whole
    // numbers, flags as 1 and 0, reals), a date or a date-time, or NULL
    // (IsNullValue). It runs as Execute runs the statement with the values
    // written in (WithValuesWritten), which is also what the observer sees;
    // a backend that binds values skips writing and reading them. A date or
    // a date-time is one to the backend wherever it stands, to the second
    // (a date at midnight): the embedded file binds it in the form it stores
    // date-times in. A value of any other type is refused with DbError,
    // naming its type, before anything runs. For statements run many times
    // over, such as an import's rows.
    RowSet ExecuteWith(const QString& statement, const QVariantList& values);
    // Runs one statement with each row of values in turn, as ExecuteWith
    // runs it (the observer sees each in turn): a save's lines. Every value
    // is checked before anything runs. For statements whose failure ends
    // the transaction they run in: when one fails, DbError is thrown and
    // what the others wrote is not to be kept (a server may send them all
    // as one statement, which keeps none of them). The rows affected are
    // added up.
    RowSet ExecuteWithRows(const QString& statement, const QList<QVariantList>& rows);
    // Runs one read statement whose rows are read as they are wanted (a
    // search that may match thousands of rows, of which a grid shows a
    // screenful). The backend plans it for its first rows.
    std::unique_ptr<Cursor> OpenCursor(const QString& statement);
    // OpenCursor for a statement whose values are given apart from its text,
    // as ExecuteWith takes them: a search typed anew at every keystroke.
    std::unique_ptr<Cursor> OpenCursorWith(const QString& statement, const QVariantList& values);

    // Begins a transaction that may write: the backend takes its write lock
    // at once, so two clients that read and then write cannot deadlock.
    virtual void BeginTransaction() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    virtual bool InTransaction() const = 0;

    virtual Backend Kind() const = 0;
    // The name of the database the connection works in (the current user's
    // "Database"), used where a statement must name it.
    virtual QString DatabaseName() const = 0;

    // Sees every statement text before it is translated or sent; tests use it
    // to hold the wire format, a support trace may log with it. The observer
    // may throw to refuse the statement.
    void SetStatementObserver(StatementObserver observer) { observer_ = std::move(observer); }

protected:
    virtual RowSet DoExecute(const QString& statement) = 0;
    virtual RowSet DoExecuteWith(const QString& statement, const QVariantList& values);
    // One DoExecuteWith per row unless the backend sends them otherwise.
    virtual RowSet DoExecuteWithRows(const QString& statement, const QList<QVariantList>& rows);
    // Backends that cannot read on demand read every row at once.
    virtual std::unique_ptr<Cursor> DoOpenCursor(const QString& statement);
    virtual std::unique_ptr<Cursor> DoOpenCursorWith(const QString& statement, const QVariantList& values);

private:
    StatementObserver observer_;
};

// The statement with each `?` outside quotes replaced by the next value as
// a literal: texts quoted as Quote quotes them, numbers in plain digits,
// dates and date-times as quoted texts in the program's date-time form
// (base::FormatDateTime), which every backend reads as such where it
// compares or stores a date-time, NULL for a null value. Throws DbError when
// the markers and the values do not pair up, or for a value of a type that
// ExecuteWith refuses.
QString WithValuesWritten(const QString& statement, const QVariantList& values);
// The statement with its k-th `?` outside quotes replaced by
// replacement(k); `count` markers are expected.
QString WithValueMarkersReplaced(const QString& statement, qsizetype count,
                                 const std::function<QString(qsizetype)>& replacement);
// The number text a value given to ExecuteWith holds, if it is a NumberText.
const NumberText* NumberTextOf(const QVariant& value);
// Whether a value given to ExecuteWith stands for NULL: no value, a null
// one, or a date or date-time that is none.
inline bool IsNullValue(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return true;
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return !static_cast<const QDateTime*>(value.constData())->isValid();
    case QMetaType::QDate:
        return !static_cast<const QDate*>(value.constData())->isValid();
    default:
        return false;
    }
}
// The date-time a date or date-time value given to ExecuteWith stands for:
// a date at its midnight, to the second.
QDateTime DateTimeOfValue(const QVariant& value);

// Rolls back on leaving scope unless Commit was called.
class TransactionGuard {
public:
    explicit TransactionGuard(Connection& connection) : connection_(connection)
    {
        connection_.BeginTransaction();
    }
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;

    void Commit();

private:
    Connection& connection_;
    bool done_ = false;
};

} // namespace db

Q_DECLARE_METATYPE(db::NumberText)
