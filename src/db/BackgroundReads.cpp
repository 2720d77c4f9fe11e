#include "db/BackgroundReads.h"

#include "db/DbError.h"

#include <QThread>
#include <QVector>
#include <exception>
#include <unordered_map>

namespace db {

namespace {

// Rows a cursor reads on the reading thread at a time once its first rows
// are shown: the asking thread waits for each batch.
constexpr int kBatchRows = 64;

// Rows read on the reading thread, copied for the asking one.
struct CopiedRows {
    QStringList columns;
    QVector<QVariantList> rows;
    bool atEnd = false;
    QString failure;
};

void CopyRows(const Cursor& cursor, int from, CopiedRows& out)
{
    for (int r = from; r < cursor.RowsRead(); ++r) {
        QVariantList row;
        row.reserve(cursor.ColumnCount());
        for (int c = 0; c < cursor.ColumnCount(); ++c)
            row << cursor.Value(r, c);
        out.rows << row;
    }
    out.atEnd = cursor.AtEnd();
}

QString FailureOf(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const DbError& e) {
        return e.Description();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
}

} // namespace

// The reading thread's side: the connection and the cursors open on it.
// Every member is used on the reading thread only.
class BackgroundReads::Reader : public QObject {
public:
    explicit Reader(Opener open) : open_(std::move(open)) {}

    CopiedRows Open(const QString& statement, const QVariantList& values, int firstRows, int* cursorId)
    {
        CopiedRows read;
        // Only the latest read counts: the cursors of earlier ones end here,
        // their rows read so far kept where they are shown. A server
        // connection would otherwise read them to their end before it ran
        // the next statement.
        cursors_.clear();
        try {
            if (!connection_)
                connection_ = open_();
            std::unique_ptr<Cursor> cursor = connection_->OpenCursorWith(statement, values);
            cursor->Reach(firstRows);
            read.columns = cursor->Columns();
            CopyRows(*cursor, 0, read);
            *cursorId = ++lastCursorId_;
            cursors_[*cursorId] = std::move(cursor);
        } catch (...) {
            read.failure = FailureOf(std::current_exception());
        }
        return read;
    }

    CopiedRows Fetch(int cursorId, int count)
    {
        CopiedRows read;
        const auto it = cursors_.find(cursorId);
        if (it == cursors_.end()) {
            read.atEnd = true;
            return read;
        }
        Cursor& cursor = *it->second;
        const int from = cursor.RowsRead();
        try {
            cursor.Fetch(count);
        } catch (...) {
            read.failure = FailureOf(std::current_exception());
        }
        CopyRows(cursor, from, read);
        return read;
    }

    void Close(int cursorId) { cursors_.erase(cursorId); }

    // Cursors go before the connection that opened them.
    void CloseAll()
    {
        cursors_.clear();
        connection_.reset();
    }

private:
    Opener open_;
    std::unique_ptr<Connection> connection_;
    std::unordered_map<int, std::unique_ptr<Cursor>> cursors_;
    int lastCursorId_ = 0;
};

// A cursor on the reading thread, as the asking thread reads it: the rows
// read so far are copied here; further ones are read there, a batch at a
// time, while the asking thread waits.
class BackgroundReads::RemoteCursor final : public Cursor {
public:
    RemoteCursor(Reader* reader, int id, CopiedRows first)
        : Cursor(first.columns), reader_(reader), id_(id), rows_(std::move(first.rows)), atEnd_(first.atEnd)
    {
    }

    ~RemoteCursor() override
    {
        if (reader_)
            QMetaObject::invokeMethod(reader_, [reader = reader_, id = id_] { reader->Close(id); },
                                      Qt::QueuedConnection);
    }

    QVariant Value(int row, int column) const override { return rows_.at(row).value(column); }

protected:
    bool ReadRow() override
    {
        if (RowsRead() < rows_.size())
            return true;
        if (atEnd_ || !reader_)
            return false;
        CopiedRows batch;
        QMetaObject::invokeMethod(
            reader_, [&, reader = reader_] { batch = reader->Fetch(id_, kBatchRows); }, Qt::BlockingQueuedConnection);
        rows_ += batch.rows;
        atEnd_ = batch.atEnd;
        if (!batch.failure.isEmpty()) {
            atEnd_ = true;
            throw DbError(batch.failure);
        }
        return RowsRead() < rows_.size();
    }

private:
    QPointer<Reader> reader_;
    int id_;
    QVector<QVariantList> rows_;
    bool atEnd_;
};

BackgroundReads::BackgroundReads(Opener open, QObject* parent)
    : QObject(parent), thread_(new QThread(this)), reader_(new Reader(std::move(open)))
{
    thread_->setObjectName(QStringLiteral("background reads"));
    reader_->moveToThread(thread_);
    thread_->start();
}

BackgroundReads::~BackgroundReads()
{
    ++latest_;
    QMetaObject::invokeMethod(reader_, [reader = reader_] { reader->CloseAll(); }, Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
    delete reader_;
}

void BackgroundReads::Read(const QString& statement, const QVariantList& values, int firstRows, QObject* receiver,
                           Done done)
{
    const quint64 read = ++latest_;
    QMetaObject::invokeMethod(
        reader_,
        [this, read, statement, values, firstRows, receiver = QPointer<QObject>(receiver), done = std::move(done)] {
            // A read that a later one overtook before it started is not run.
            if (latest_ != read)
                return;
            int cursorId = 0;
            CopiedRows first = reader_->Open(statement, values, firstRows, &cursorId);
            QMetaObject::invokeMethod(
                this,
                [this, read, cursorId, first = std::move(first), receiver, done]() mutable {
                    Result result;
                    result.failure = first.failure;
                    if (first.failure.isEmpty())
                        result.rows = std::make_unique<RemoteCursor>(reader_, cursorId, std::move(first));
                    Deliver(read, std::move(result), receiver, done);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

// On this object's thread. A dropped result's cursor closes on the reading
// thread as it goes.
void BackgroundReads::Deliver(quint64 read, Result result, const QPointer<QObject>& receiver, const Done& done)
{
    if (latest_ != read || !receiver)
        return;
    done(std::move(result));
}

} // namespace db
