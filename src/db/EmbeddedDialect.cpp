#include "db/EmbeddedDialect.h"

#include "db/Catalog.h"

namespace db {

namespace {

// Negative: a size in KiB (64 MiB at most, taken as pages are read).
constexpr int kPageCacheKiB = -65536;

} // namespace

// Settings of the connection that write nothing to the file, so that a
// file that is only read takes them too.
QStringList EmbeddedDialect::SessionStatements() const
{
    // A page cache that holds the item file's indexes: a search probes the
    // stock rows of every item it passes, and pages fetched anew from the
    // file at each probe would cost more than the search itself.
    // Each line a save inserts keeps, until the insert ends, the pages it
    // changes in a statement journal (the length checks may refuse it); in a
    // file, that journal costs the save half its time under the write lock.
    return {QStringLiteral("PRAGMA cache_size=%1").arg(kPageCacheKiB), QStringLiteral("PRAGMA temp_store=MEMORY")};
}

QStringList EmbeddedDialect::SchemaDdl() const
{
    return Catalog::Instance().SqliteDdl();
}

// SQLite lets one connection write at a time: BEGIN IMMEDIATE begins the
// transaction holding the file's write lock (waiting up to the busy
// timeout), which keeps numbering to one save at a time as well. A deferred
// BEGIN would fail at the first write when another client wrote in between.
void EmbeddedDialect::TakeNumberingLock(const NativeRunner& run) const
{
    run(QStringLiteral("BEGIN IMMEDIATE"));
}

} // namespace db
