#include "db/SqliteFile.h"

#include "db/Catalog.h"
#include "db/DbError.h"
#include "db/TsqlFunctions.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUrl>
#include <cerrno>
#include <sqlite3.h>

namespace db {

namespace {

constexpr int kBusyTimeoutMs = 15000;
// How often a backup step waits 50 ms for a writer before it gives up.
constexpr int kBackupWaits = 200;

// Less room than this in a folder is none for a database: SQLite grows its
// WAL index 32 KiB at a time.
constexpr qint64 kNoRoomBytes = 64 * 1024;

// A write that found no room: SQLite says so of the database and its
// journals, but growing the shared-memory file beside a WAL database on a
// full disk fails as a mere I/O error, whose cause the system's error
// number tells (when nothing overwrote it since), or else the free space
// of the file's folder.
bool DiskIsFull(int code, sqlite3* handle, const QString& path)
{
    if ((code & 0xff) == SQLITE_FULL)
        return true;
    if ((code & 0xff) != SQLITE_IOERR)
        return false;
    const int cause = handle ? sqlite3_system_errno(handle) : 0;
    if (cause == ENOSPC || cause == EDQUOT)
        return true;
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    return storage.isValid() && storage.bytesAvailable() < kNoRoomBytes;
}

void RequireFile(const QString& path)
{
    const QFileInfo file(path);
    if (file.isDir())
        throw DbError(QStringLiteral("Cannot open database \"%1\": it is a folder, not a database file.").arg(path));
    if (!file.isFile())
        throw DbError(QStringLiteral("Cannot open database \"%1\": the file does not exist.").arg(path));
}

DbError ReadOnlyFile(const QString& path)
{
    return DbError(QStringLiteral("Cannot open database \"%1\": the file is read-only, and the program stores "
                                  "requests in it. Make it writable for this user.")
                       .arg(path));
}

DbError NotOurs(const QString& path)
{
    return DbError(QStringLiteral("Cannot open \"%1\": it is not a Tessary database.").arg(path));
}

DbError Newer(const QString& path, int version)
{
    return DbError(QStringLiteral("Cannot open database \"%1\": it was made by a newer version of the program "
                                  "(layout %2; this one knows %3).")
                       .arg(path)
                       .arg(version)
                       .arg(SqliteFile::kSchemaVersion));
}

} // namespace

SqliteFile::SqliteFile(QString path, Mode mode) : path_(std::move(path))
{
    // A connection is used by one thread at a time, and keeps a page cache
    // of its own.
    int flags = SQLITE_OPEN_PRIVATECACHE | SQLITE_OPEN_NOMUTEX;
    QByteArray name = path_.toUtf8();
    switch (mode) {
    case Mode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Mode::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    case Mode::Immutable: {
        // Nobody writes the file (this connection may not): it is read as
        // it lies, without locks, WAL index or journal files.
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        QUrl uri = QUrl::fromLocalFile(QFileInfo(path_).absoluteFilePath());
        uri.setQuery(QStringLiteral("immutable=1"));
        name = uri.toString(QUrl::FullyEncoded).toUtf8();
        break;
    }
    }
    const int rc = sqlite3_open_v2(name.constData(), &handle_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = QString::fromUtf8(handle_ ? sqlite3_errmsg(handle_) : sqlite3_errstr(rc));
        sqlite3_close(handle_);
        throw DbError(QStringLiteral("Cannot open database \"%1\": %2").arg(path_, why));
    }
    sqlite3_extended_result_codes(handle_, 1);
    sqlite3_busy_timeout(handle_, kBusyTimeoutMs);
    RegisterSqliteFunctions(handle_);
}

// Statements of a cursor that outlived its connection are finalized later:
// the handle closes then.
SqliteFile::~SqliteFile()
{
    sqlite3_close_v2(handle_);
}

// Opens a file of this program whose layout this version knows (older
// ones included), before anything is written to it. A file this user may
// not write is refused before anything is read from it, unless it is opened
// for reading only.
std::unique_ptr<SqliteFile> SqliteFile::OpenKnown(const QString& path, Access access)
{
    RequireFile(path);
    std::unique_ptr<SqliteFile> file(new SqliteFile(path, Mode::ReadWrite));
    if (file->ReadOnly()) {
        if (access == Access::ReadWrite)
            throw ReadOnlyFile(path);
        // A normal read of a WAL database makes -wal and -shm files beside
        // it, which a connection that may not write the database cannot
        // take away when it closes. Read as unchanging, nothing is made;
        // unless a -wal file holds changes not yet in the database, which
        // only a normal read sees.
        if (QFileInfo(path + QStringLiteral("-wal")).size() == 0) {
            file.reset();
            file.reset(new SqliteFile(path, Mode::Immutable));
        }
    }
    file->version_ = file->ReadVersion();
    if (file->version_ == 0)
        throw NotOurs(path);
    if (file->version_ > kSchemaVersion)
        throw Newer(path, file->version_);
    return file;
}

std::unique_ptr<SqliteFile> SqliteFile::Open(const QString& path, Access access)
{
    std::unique_ptr<SqliteFile> file = OpenKnown(path, access);
    if (file->version_ < kSchemaVersion)
        throw DbError(QStringLiteral("Cannot open database \"%1\": it has the layout of an older version of the "
                                     "program. Run \"tessary-admin upgrade %1\" first.")
                          .arg(path));
    if (!file->ReadOnly())
        file->UseWriteAheadLog();
    return file;
}

std::unique_ptr<SqliteFile> SqliteFile::OpenToUpgrade(const QString& path)
{
    std::unique_ptr<SqliteFile> file = OpenKnown(path, Access::ReadWrite);
    if (file->version_ < kSchemaVersion)
        file->UseWriteAheadLog();
    return file;
}

std::unique_ptr<SqliteFile> SqliteFile::Create(const QString& path)
{
    if (QFileInfo(path).isDir())
        throw DbError(QStringLiteral("Cannot create database \"%1\": it is a folder; name the file to create.").arg(path));
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("Cannot create database \"%1\": the path exists already.").arg(path));
    try {
        std::unique_ptr<SqliteFile> file(new SqliteFile(path, Mode::Create));
        file->UseWriteAheadLog();
        return file;
    } catch (...) {
        // A half-made file would stand in the way of the next try.
        RemoveFiles(path);
        throw;
    }
}

void SqliteFile::RemoveFiles(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

// Set on a file known to be ours, for working on it: it writes to the file
// (WAL turns even an empty file into a database), and stays with the file.
void SqliteFile::UseWriteAheadLog()
{
    FirstColumn(QStringLiteral("PRAGMA journal_mode=WAL"));
}

bool SqliteFile::ReadOnly() const
{
    return sqlite3_db_readonly(handle_, "main") == 1;
}

QString SqliteFile::Failure(int code) const
{
    const QString text = QString::fromUtf8(sqlite3_errmsg(handle_));
    if (code == SQLITE_CONSTRAINT_CHECK && text.endsWith(QLatin1String(": ") + Catalog::kTextLengthCheck))
        return QStringLiteral("String or binary data would be truncated.");
    if (DiskIsFull(code, handle_, path_))
        return QStringLiteral("The disk of database \"%1\" is full: make room on it, then try again.").arg(path_);
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_PERM:
        return QStringLiteral("%1 (database \"%2\")").arg(text, path_);
    default:
        return text;
    }
}

QStringList SqliteFile::FirstColumn(const QString& sql, const QString& value)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(handle_, utf8.constData(), int(utf8.size()), &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw DbError(Failure(rc));
    }
    if (!value.isNull()) {
        const QByteArray bound = value.toUtf8();
        sqlite3_bind_text(statement, 1, bound.constData(), int(bound.size()), SQLITE_TRANSIENT);
    }
    QStringList texts;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        texts << (text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, 0)) : QString());
    }
    const QString failure = rc == SQLITE_DONE ? QString() : Failure(sqlite3_extended_errcode(handle_));
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        throw DbError(failure);
    return texts;
}

int SqliteFile::PragmaValue(const char* pragma)
{
    return FirstColumn(QStringLiteral("PRAGMA ") + QLatin1String(pragma)).value(0).toInt();
}

int SqliteFile::ReadVersion()
{
    const int mark = PragmaValue("application_id");
    if (mark == kApplicationId)
        return PragmaValue("user_version");
    if (mark != 0 || PragmaValue("user_version") != 0)
        return 0;
    // Files made before the mark are known by their tables.
    const QString tables = FirstColumn(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' "
        "AND name IN ('tbInvWithdrawRequest', 'tbInvMaster', 'tbPasswordMain')")).value(0);
    return tables.toInt() == 3 ? 1 : 0;
}

void SqliteFile::MarkCurrent()
{
    FirstColumn(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId));
    FirstColumn(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    version_ = kSchemaVersion;
}

void SqliteFile::UpgradeLayout()
{
    // Earlier layouts refused long texts by triggers, or not at all.
    const QStringList triggers = FirstColumn(QStringLiteral(
        "SELECT name FROM sqlite_schema WHERE type = 'trigger' AND name LIKE '%\\_TextLength%' ESCAPE '\\'"));
    for (const QString& trigger : triggers)
        FirstColumn(QStringLiteral("DROP TRIGGER ") + trigger);
    for (const TableDef& table : Catalog::Instance().Tables())
        RebuildTable(table);
    for (const IndexDef& index : Catalog::Instance().Indexes())
        FirstColumn(QStringLiteral("DROP INDEX IF EXISTS ") + index.name);
    for (const QString& ddl : Catalog::Instance().SqliteIndexDdl())
        FirstColumn(ddl);
    MarkCurrent();
}

// A table whose definition differs from the catalog's (earlier layouts
// checked no lengths, or by triggers, and compared texts by another
// collation) is made anew, its rows copied over: SQLite changes neither a
// check nor a collation of a table that exists. Its indexes go with the old
// table; the upgrade makes them again. Rows the new table would refuse stop
// the upgrade, naming the columns: texts too long (a file of the first
// layout had no check), keys that are one key under the new comparison.
void SqliteFile::RebuildTable(const TableDef& table)
{
    const QString ddl = Catalog::SqliteTableDdl(table, table.name);
    const QStringList existing =
        FirstColumn(QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?"), table.name);
    // A table that a later layout added has no rows to keep.
    if (existing.isEmpty()) {
        FirstColumn(ddl);
        return;
    }
    const QString schema = existing.first();
    // SQLite keeps the text that made a table, its name rewritten by a
    // rename: the columns and checks are what follows the name.
    if (schema.mid(schema.indexOf(QLatin1Char('('))) == ddl.mid(ddl.indexOf(QLatin1Char('('))))
        return;
    QStringList tooLong;
    for (const ColumnDef& c : table.columns) {
        if (c.type == ColumnType::Text && c.length > 0
            && !FirstColumn(QStringLiteral("SELECT 1 FROM %1 WHERE length(%2) > %3 LIMIT 1").arg(table.name, c.name).arg(c.length))
                    .isEmpty())
            tooLong << QStringLiteral("%1 (%2 characters)").arg(c.name).arg(c.length);
    }
    if (!tooLong.isEmpty())
        throw DbError(QStringLiteral("Cannot upgrade database \"%1\": the table %2 holds texts longer than their "
                                     "columns allow: %3. Shorten them with \"tessary-admin sql\" of the earlier "
                                     "version, then upgrade again.")
                          .arg(path_, table.name, tooLong.join(QStringLiteral(", "))));
    if (!table.primaryKey.isEmpty()) {
        QStringList keyParts;
        for (const QString& column : table.primaryKey)
            keyParts << column + QStringLiteral(" COLLATE ") + QLatin1String(tsql::kTextCollation);
        const QStringList same = FirstColumn(QStringLiteral("SELECT %1 FROM %2 GROUP BY %3 HAVING count(*) > 1 LIMIT 1")
                                                 .arg(table.primaryKey.join(QStringLiteral(" || ' ' || ")), table.name,
                                                      keyParts.join(QStringLiteral(", "))));
        if (!same.isEmpty())
            throw DbError(QStringLiteral("Cannot upgrade database \"%1\": the table %2 holds keys (%3) that differ only "
                                         "in the case of their letters or in trailing blanks, such as \"%4\", which "
                                         "the program now takes for one. Change one of them with \"tessary-admin sql\" of the earlier "
                                         "version, then upgrade again.")
                              .arg(path_, table.name, table.primaryKey.join(QStringLiteral(", ")), same.first()));
    }
    QStringList kept;
    for (const QString& column : FirstColumn(QStringLiteral("SELECT name FROM pragma_table_info(?)"), table.name))
        if (table.FindColumn(column))
            kept << column;
    const QString rebuilt = table.name + QStringLiteral("_rebuilt");
    FirstColumn(Catalog::SqliteTableDdl(table, rebuilt));
    FirstColumn(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3").arg(rebuilt, kept.join(QStringLiteral(", ")), table.name));
    FirstColumn(QStringLiteral("DROP TABLE ") + table.name);
    FirstColumn(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(rebuilt, table.name));
}

QStringList SqliteFile::IntegrityProblems()
{
    QStringList problems;
    for (const QString& line : FirstColumn(QStringLiteral("PRAGMA integrity_check")))
        if (line != QLatin1String("ok"))
            problems << line;
    return problems;
}

void SqliteFile::BackupTo(const QString& destination)
{
    if (QFileInfo(destination).isDir())
        throw DbError(QStringLiteral("Cannot back up to \"%1\": it is a folder; name the file to write.").arg(destination));
    if (QFileInfo::exists(destination))
        throw DbError(QStringLiteral("Cannot back up to \"%1\": the path exists already.").arg(destination));
    // The copy takes the destination's name only when it is complete: a
    // backup stopped half-way (killed, the machine off) leaves no file that
    // could be taken for a backup.
    const QString partial = QStringLiteral("%1.partial-%2").arg(destination).arg(QCoreApplication::applicationPid());
    sqlite3* copy = nullptr;
    const auto fail = [&](const QString& why) {
        sqlite3_close(copy);
        RemoveFiles(partial);
        return DbError(QStringLiteral("Cannot back up to \"%1\": %2").arg(destination, why));
    };
    if (sqlite3_open_v2(partial.toUtf8().constData(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK)
        throw fail(QString::fromUtf8(sqlite3_errmsg(copy)));
    sqlite3_backup* backup = sqlite3_backup_init(copy, "main", handle_, "main");
    if (!backup)
        throw fail(QString::fromUtf8(sqlite3_errmsg(copy)));
    // Pages are copied in steps; a writer that holds the file for a moment
    // only makes a step wait (the busy timeout of the program's
    // connection applies to the source).
    int rc = SQLITE_OK;
    int waits = 0;
    do {
        rc = sqlite3_backup_step(backup, 256);
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && ++waits <= kBackupWaits)
            sqlite3_sleep(50);
    } while (rc == SQLITE_OK || ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waits <= kBackupWaits));
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw fail(DiskIsFull(rc, copy, destination) ? QStringLiteral("the disk is full.")
                                                     : QString::fromUtf8(sqlite3_errstr(rc)));
    const int closed = sqlite3_close(copy);
    copy = nullptr;
    if (closed != SQLITE_OK)
        throw fail(QString::fromUtf8(sqlite3_errstr(closed)));
    // No rename replaces a file: one that took the name meanwhile stays.
    if (!QFile::rename(partial, destination))
        throw fail(QStringLiteral("the finished copy \"%1\" could not take that name.").arg(partial));
}

} // namespace db
