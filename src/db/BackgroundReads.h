#pragma once

#include "db/Connection.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace db {

// Reads that must not hold up the window, such as a search run at every
// keystroke: each opens a cursor on a connection of its own, on a thread of
// its own, and reads its first rows there; the result comes back to the
// asking thread through its event loop. Only the latest read counts: one
// asked for before it is skipped if it has not started, and its result is
// dropped if it has. The connection is opened at the first read.
//
// The cursor handed back reads any further rows on the reading thread (a
// server connection may only be used on the thread that opened it); the
// asking thread waits for them. The next read ends it: it keeps the rows
// read so far and gives no more. It must not outlive this object.
class BackgroundReads : public QObject {
public:
    using Opener = std::function<std::unique_ptr<Connection>()>;
    // What a read gives: the cursor with its first rows read, or why the
    // read failed.
    struct Result {
        std::unique_ptr<Cursor> rows;
        QString failure;
    };
    using Done = std::function<void(Result)>;

    explicit BackgroundReads(Opener open, QObject* parent = nullptr);
    ~BackgroundReads() override;
    BackgroundReads(const BackgroundReads&) = delete;
    BackgroundReads& operator=(const BackgroundReads&) = delete;

    // Opens a cursor on the statement with its values apart
    // (Connection::OpenCursorWith) and reads up to `firstRows` rows. `done`
    // runs on this object's thread, unless a later read or DropPending came
    // first or `receiver` is gone by then.
    void Read(const QString& statement, const QVariantList& values, int firstRows, QObject* receiver, Done done);
    // Drops the result of every read asked for so far: the caller has read
    // otherwise.
    void DropPending() { ++latest_; }

private:
    class Reader;
    class RemoteCursor;

    void Deliver(quint64 read, Result result, const QPointer<QObject>& receiver, const Done& done);

    QThread* thread_;
    Reader* reader_;  // lives on thread_
    std::atomic<quint64> latest_{0};
};

} // namespace db
