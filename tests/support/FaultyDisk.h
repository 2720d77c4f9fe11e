#pragma once

#include <QString>
#include <QStringList>

struct sqlite3_vfs;

namespace testing_support {

// The disk as SQLite sees it, with faults that a test cannot make for real
// (it runs as root, without a small file system of its own): while the
// object lives, every connection the program opens goes through it.
//
// - A full disk: once the bytes given to FillAfter are written, a write
//   fails as the database file's writes fail on a full disk (SQLITE_FULL),
//   and growing a WAL index fails as it does there (an I/O error whose
//   system error number is ENOSPC).
// - A file this user may not write: the database file named to
//   MakeReadOnly opens read-only, as SQLite opens a file it has no write
//   permission for.
class FaultyDisk {
public:
    FaultyDisk();
    ~FaultyDisk();
    FaultyDisk(const FaultyDisk&) = delete;
    FaultyDisk& operator=(const FaultyDisk&) = delete;

    void FillAfter(long long bytes);
    void MakeReadOnly(const QString& databasePath);
    // The bytes written through it so far.
    long long Written() const;
    // The files opened through it, in order (names as SQLite gave them).
    const QStringList& Opened() const;

private:
    sqlite3_vfs* vfs_;
};

} // namespace testing_support
