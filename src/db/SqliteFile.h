#pragma once

#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;

namespace db {

struct TableDef;

// The embedded backend's database file: one SQLite file holding both of the
// program's databases (INVENTORY and Password), opened through SQLite's own
// interface with a busy timeout, the write-ahead log and what translated
// statements call (RegisterSqliteFunctions). It knows its layout by the
// program's mark and layout version, brings older layouts to the current
// one, checks and copies itself, and words the failures that concern it.
class SqliteFile {
public:
    // The mark a database file of this program carries (SQLite's
    // application_id), and the version of its layout (user_version).
    // Version 2 changed two indexes and refuses texts too long for their
    // columns; version 3 indexes request numbers and open requests, and
    // compares texts without regard to trailing blanks; version 4 refuses
    // long texts by a check of each table instead of triggers; version 5
    // declares text columns with the program's own collation, which folds
    // every letter's case, not only ASCII ones (tsql::kTextCollation); version
    // 6 adds the store's stock movements and the user's right to issue;
    // version 7 adds the mark of a disabled user to the password table;
    // version 1 files were made before the mark and are known by their tables.
    static constexpr int kApplicationId = 0x54737279;  // "Tsry"
    static constexpr int kSchemaVersion = 7;

    // What a file is opened for: working (the program, and every command
    // that may write), or reading alone (a check, a backup).
    enum class Access { ReadWrite, ReadOnly };

    // Opens an existing database file of the current layout; throws DbError,
    // naming the file, when it is missing or a folder, cannot be opened, is
    // no database of this program, or has another layout version. For
    // ReadWrite, also when this user may not write the file: said at once,
    // not at the first save. A file opened ReadOnly that this user may not
    // write is read without making -wal and -shm files beside it.
    static std::unique_ptr<SqliteFile> Open(const QString& path, Access access = Access::ReadWrite);
    // Opens a database file of this program whose layout this version knows,
    // older ones included (Version tells which), to be upgraded.
    static std::unique_ptr<SqliteFile> OpenToUpgrade(const QString& path);
    // Makes a new, empty file in WAL mode; refuses a path that exists. It
    // is no file of this program until its schema is in and MarkCurrent has
    // marked it. When making it fails (a full disk), nothing of it is left
    // behind.
    static std::unique_ptr<SqliteFile> Create(const QString& path);
    // Removes a database file and the journal files SQLite keeps beside it.
    static void RemoveFiles(const QString& path);

    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    const QString& Path() const { return path_; }
    // SQLite's own handle of the file, for the statements run on it and for
    // tools that watch or measure what it runs.
    sqlite3* Handle() const { return handle_; }
    // The layout version the file had when it was opened; 0 for a new one
    // not marked yet.
    int Version() const { return version_; }
    // Whether this connection may not write the file (SQLite opened it
    // read-only).
    bool ReadOnly() const;

    // Marks the file as one of this program in the current layout.
    void MarkCurrent();
    // Brings a file of an older layout to the current one (its tables made
    // anew where their definition changed, its indexes rebuilt as the
    // catalog has them) and marks it, inside the caller's write transaction.
    void UpgradeLayout();

    // The database's own consistency check: empty when the file is sound,
    // else the problems it found.
    QStringList IntegrityProblems();
    // Writes a consistent copy of the database to a new file while other
    // connections go on working (SQLite's online backup). Refuses a
    // destination that exists; the copy is written beside it under another
    // name and takes the destination's name when complete, so that no
    // partial copy ever bears it.
    void BackupTo(const QString& destination);

    // The text of the failure SQLite reported on this file with `code` (an
    // extended result code): as a server words it where a server of the
    // program refuses the same (a text too long for its column), the file
    // named where the failure concerns the file itself (no database,
    // damaged, read-only, unreadable, full), so the user knows which.
    QString Failure(int code) const;

private:
    enum class Mode { ReadWrite, Immutable, Create };
    SqliteFile(QString path, Mode mode);
    static std::unique_ptr<SqliteFile> OpenKnown(const QString& path, Access access);
    // The layout version of the file; 0 when it is no database of this
    // program.
    int ReadVersion();
    void UseWriteAheadLog();
    void RebuildTable(const TableDef& table);
    // Runs SQL of the file's own upkeep and gives the first column of its
    // rows as texts; `value`, when given, is bound to its one parameter.
    QStringList FirstColumn(const QString& sql, const QString& value = QString());
    int PragmaValue(const char* pragma);

    QString path_;
    sqlite3* handle_ = nullptr;
    int version_ = 0;
};

} // namespace db
