#include "db/Catalog.h"
#include "db/DbError.h"
#include "db/SqliteConnection.h"
#include "db/TsqlFunctions.h"
#include "support/FaultyDisk.h"
#include "support/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

namespace {

// Runs SQL on a file through SQLite alone, as another program would.
void Raw(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

std::string OpenFailure(const QString& path)
{
    try {
        db::SqliteConnection::Open(path);
    } catch (const db::DbError& e) {
        return e.Description().toStdString();
    }
    return "opened";
}

// What a failing action says; "done" when it did not fail.
std::string Refusal(const std::function<void()>& action)
{
    try {
        action();
    } catch (const db::DbError& e) {
        return e.Description().toStdString();
    }
    return "done";
}

QStringList FilesIn(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

std::string Full(const QString& path)
{
    return "The disk of database \"" + path.toStdString() + "\" is full: make room on it, then try again.";
}

// A file of the fourth layout, whose text columns compared by SQLite's
// NOCASE (the program's connections made it ignore trailing blanks).
QString LayoutFourFile(const QTemporaryDir& dir, const char* name = "four.db")
{
    const QString path = dir.filePath(QLatin1String(name));
    QStringList ddl = db::Catalog::Instance().SqliteDdl();
    ddl.replaceInStrings(QStringLiteral("COLLATE ") + QLatin1String(db::tsql::kTextCollation), QStringLiteral("COLLATE NOCASE"));
    sqlite3* handle = nullptr;
    EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &handle), SQLITE_OK);
    db::RegisterSqliteFunctions(handle);  // an index calls one
    const QByteArray sql = (ddl.join(QStringLiteral(";\n")) + QStringLiteral(";\nPRAGMA application_id=%1; PRAGMA user_version=4")
                                                                  .arg(db::SqliteFile::kApplicationId))
                               .toUtf8();
    EXPECT_EQ(sqlite3_exec(handle, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(handle);
    sqlite3_close(handle);
    return path;
}

// A file the program made before database files carried its mark, with
// the name index as it was then.
QString LegacyFile(const QTemporaryDir& dir)
{
    const QString path = LayoutFourFile(dir, "old.db");
    Raw(path, "PRAGMA application_id=0; PRAGMA user_version=0; DROP INDEX ixMasterName; "
              "CREATE INDEX ixMasterName ON tbInvMaster (ItemName, ItemDesc)");
    return path;
}

} // namespace

TEST(DatabaseFile, OnlyThisProgramsFilesOfItsLayoutOpen)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.db");
    QFile(empty).open(QIODevice::WriteOnly);
    const QString foreign = dir.filePath("foreign.db");
    Raw(foreign, "CREATE TABLE t (x)");
    const QString junk = dir.filePath("junk.db");
    {
        QFile file(junk);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(8192, 'x'));
    }
    const QString newer = dir.filePath("newer.db");
    db::SqliteConnection::Create(newer);
    Raw(newer, "PRAGMA user_version=99");
    const QString legacy = LegacyFile(dir);

    const std::string q = "\"";
    EXPECT_EQ(OpenFailure(empty), "Cannot open " + q + empty.toStdString() + q + ": it is not a Tessary database.");
    EXPECT_EQ(QFileInfo(empty).size(), 0);  // looked at, never turned into a database
    EXPECT_EQ(OpenFailure(foreign), "Cannot open " + q + foreign.toStdString() + q + ": it is not a Tessary database.");
    EXPECT_NE(OpenFailure(junk).find(q + junk.toStdString() + q), std::string::npos) << OpenFailure(junk);
    EXPECT_NE(OpenFailure(newer).find("made by a newer version"), std::string::npos) << OpenFailure(newer);
    EXPECT_NE(OpenFailure(legacy).find("tessary-admin upgrade " + legacy.toStdString()), std::string::npos)
        << OpenFailure(legacy);
    testing_support::TempDatabase current;
    EXPECT_EQ(OpenFailure(current.Path()), "opened");
}

TEST(DatabaseFile, UpgradeBringsAnOlderFileToTheCurrentLayout)
{
    QTemporaryDir dir;
    const QString legacy = LegacyFile(dir);
    EXPECT_EQ(db::SqliteConnection::Upgrade(legacy), 1);
    EXPECT_EQ(db::SqliteConnection::Upgrade(legacy), db::SqliteFile::kSchemaVersion);
    const auto connection = db::SqliteConnection::Open(legacy);
    EXPECT_EQ(connection->ExecuteNative("SELECT sql FROM sqlite_master WHERE name = 'ixMasterName'").Field(0).toString(),
              "CREATE INDEX ixMasterName ON tbInvMaster (ItemName, ItemDesc, ItemStatus, ItemID)");
    EXPECT_EQ(connection->ExecuteNative("SELECT count(*) FROM sqlite_master WHERE name IN "
                                        "('ixRequestOpen', 'ixRequestNumberValue')").Field(0).toInt(), 2);

    const QString foreign = dir.filePath("foreign.db");
    Raw(foreign, "CREATE TABLE t (x)");
    EXPECT_THROW(db::SqliteConnection::Upgrade(foreign), db::DbError);
}

// A file of layout 5: no stock movements, no right to issue; a user's
// settings row in it.
QString LayoutFiveFile(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("five.db"));
    db::TableDef settings = *db::Catalog::Instance().FindTable(QStringLiteral("tbInvUserSettings"));
    settings.columns.removeIf([](const db::ColumnDef& c) { return c.name == QLatin1String("isIssueTessary"); });
    QStringList ddl;
    for (const db::TableDef& table : db::Catalog::Instance().Tables())
        if (table.name != QLatin1String("tbInvStockMovement"))
            ddl << db::Catalog::SqliteTableDdl(table.name == settings.name ? settings : table, table.name);
    sqlite3* handle = nullptr;
    EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &handle), SQLITE_OK);
    db::RegisterSqliteFunctions(handle);
    const QByteArray sql = (ddl.join(QStringLiteral(";\n"))
                            + QStringLiteral(";\nINSERT INTO tbInvUserSettings VALUES ('MSANTOS', 1);"
                                             "PRAGMA application_id=%1; PRAGMA user_version=5")
                                  .arg(db::SqliteFile::kApplicationId))
                               .toUtf8();
    EXPECT_EQ(sqlite3_exec(handle, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(handle);
    sqlite3_close(handle);
    return path;
}

TEST(DatabaseFile, UpgradeFromLayoutFiveAddsTheStockMovementsAndKeepsTheSettings)
{
    QTemporaryDir dir;
    const QString five = LayoutFiveFile(dir);
    EXPECT_NE(OpenFailure(five).find("tessary-admin upgrade"), std::string::npos) << OpenFailure(five);
    EXPECT_EQ(db::SqliteConnection::Upgrade(five), 5);
    const auto c = db::SqliteConnection::Open(five);
    EXPECT_EQ(testing_support::ColumnTexts(
                  c->ExecuteNative("SELECT UserID || ' ' || isVerifyTessary || ' ' || ifnull(isIssueTessary, '-') "
                                   "FROM tbInvUserSettings")),
              QStringList{"MSANTOS 1 -"});
    c->Execute("Insert INVENTORY..tbInvStockMovement (DocumentNumber, LineNumber, ItemID, Quantity, MovementDate) "
               "Values ('7', 1, 'P1', 5, GetDate())");
    EXPECT_EQ(c->ExecuteNative("SELECT count(*) FROM tbInvStockMovement").Field(0).toInt(), 1);
    EXPECT_EQ(c->ExecuteNative("SELECT count(*) FROM sqlite_master WHERE name = 'ixMovementRequest'").Field(0).toInt(), 1);
}

TEST(DatabaseFile, AWriteTellsHowManyRowsItChanged)
{
    testing_support::TempDatabase db;
    db.Insert("tbInvent", {{"ItemID", "P1"}, {"LocationID", "94"}, {"OnHand", 5}});
    db.Insert("tbInvent", {{"ItemID", "P1"}, {"LocationID", "10"}, {"OnHand", 5}});
    db::Connection& c = db.Connection();
    EXPECT_EQ(c.Execute("Update INVENTORY..tbInvent Set OnHand = OnHand - 3 Where ItemID = 'P1' And OnHand >= 3")
                  .RowsAffected(), 2);
    EXPECT_EQ(c.Execute("Update INVENTORY..tbInvent Set OnHand = OnHand - 3 Where ItemID = 'P1' And OnHand >= 3")
                  .RowsAffected(), 0);
    EXPECT_EQ(c.Execute("Select OnHand From INVENTORY..tbInvent").RowsAffected(), 0);
}

TEST(DatabaseFile, ABackupIsAConsistentCopyTakenWhileOthersWrite)
{
    testing_support::TempDatabase db;
    db.Insert("tbInvLocation", {{"LocationID", "94"}, {"Location", "CENTRAL SUPPLY"}});
    const auto writer = db.OpenAnotherSqlite();
    writer->BeginTransaction();
    writer->ExecuteNative("INSERT INTO tbInvLocation (LocationID, Location) VALUES ('10', 'ER')");

    QTemporaryDir dir;
    const QString copy = dir.filePath("copy.db");
    db.Sqlite().File().BackupTo(copy);
    writer->Commit();
    EXPECT_THROW(db.Sqlite().File().BackupTo(copy), db::DbError);

    const auto restored = db::SqliteConnection::Open(copy);
    EXPECT_TRUE(restored->File().IntegrityProblems().isEmpty());
    EXPECT_EQ(testing_support::ColumnTexts(restored->ExecuteNative("SELECT LocationID FROM tbInvLocation")),
              QStringList{"94"});
}

// The location table as layouts before the fourth made it: the length of its
// texts checked by triggers (the second and third), or not at all (the first).
void OldLocationTable(const QString& path, bool withTriggers, const char* location)
{
    Raw(path, "DROP TABLE tbInvLocation; CREATE TABLE tbInvLocation (LocationID TEXT COLLATE NOCASE NOT NULL, "
              "Location TEXT COLLATE NOCASE, Status TEXT COLLATE NOCASE, isWarehouse INTEGER, "
              "isDispensingArea INTEGER, AllowOrder INTEGER, InventoryType TEXT COLLATE NOCASE, PRIMARY KEY (LocationID))");
    if (withTriggers)
        Raw(path, "CREATE TRIGGER tbInvLocation_TextLengthINSERT BEFORE INSERT ON tbInvLocation "
                  "WHEN length(NEW.Location) > 60 BEGIN SELECT RAISE(ABORT, 'too long'); END");
    Raw(path, QStringLiteral("INSERT INTO tbInvLocation (LocationID, Location) VALUES ('94', '%1')")
                  .arg(QLatin1String(location)).toUtf8().constData());
}

TEST(DatabaseFile, ATextLongerThanItsColumnIsRefusedAsOnTheServer)
{
    QTemporaryDir dir;
    const QString legacy = LegacyFile(dir);
    OldLocationTable(legacy, true, "CENTRAL SUPPLY");
    db::SqliteConnection::Upgrade(legacy);  // the file of an older layout gets the check too, its rows kept
    EXPECT_EQ(testing_support::ColumnTexts(db::SqliteConnection::Open(legacy)->ExecuteNative(
                  "SELECT Location FROM tbInvLocation")),
              QStringList{"CENTRAL SUPPLY"});
    testing_support::TempDatabase fresh;
    for (const QString& path : {legacy, fresh.Path()}) {
        const auto c = db::SqliteConnection::Open(path);
        EXPECT_EQ(c->ExecuteNative("SELECT count(*) FROM sqlite_schema WHERE type = 'trigger'").Field(0).toInt(), 0);
        c->Execute("Insert INVENTORY..tbInvLocation (LocationID, Location) Values ('1234567890','WARD')");
        const auto refused = [&](const QString& statement) {
            try {
                c->Execute(statement);
            } catch (const db::DbError& e) {
                return e.Description().toStdString();
            }
            return std::string("stored");
        };
        EXPECT_EQ(refused("Insert INVENTORY..tbInvLocation (LocationID, Location) Values ('12345678901','WARD')"),
                  "String or binary data would be truncated.");
        EXPECT_EQ(refused("Update INVENTORY..tbInvLocation Set Status = 'AB' Where LocationID = '1234567890'"),
                  "String or binary data would be truncated.");
        EXPECT_EQ(testing_support::ColumnTexts(c->ExecuteNative("SELECT Status FROM tbInvLocation WHERE LocationID = '1234567890'")),
                  QStringList{QString()});
    }

    // A file of the first layout may hold a text too long already: the
    // upgrade stops, names the column, and leaves the file as it was.
    QTemporaryDir firstDir;
    const QString first = LegacyFile(firstDir);
    OldLocationTable(first, false, std::string(61, 'X').c_str());
    std::string refusal;
    try {
        db::SqliteConnection::Upgrade(first);
    } catch (const db::DbError& e) {
        refusal = e.Description().toStdString();
    }
    EXPECT_NE(refusal.find("tbInvLocation holds texts longer than their columns allow: Location (60 characters)"),
              std::string::npos) << refusal;
    EXPECT_NE(OpenFailure(first).find("tessary-admin upgrade"), std::string::npos);
}

TEST(DatabaseFile, AFullDiskIsSaidToBeFull)
{
    // A write that finds no room: SQLite's own limit on the file's pages.
    testing_support::TempDatabase db;
    const auto c = db.OpenAnotherSqlite();
    const int pages = c->ExecuteNative("PRAGMA page_count").Field(0).toInt();
    c->ExecuteNative(QStringLiteral("PRAGMA max_page_count = %1").arg(pages + 1));
    EXPECT_EQ(Refusal([&] {
                  for (int i = 0; i < 1000; ++i)
                      c->Execute(QStringLiteral("Insert INVENTORY..tbInvLocation (LocationID, Location) Values "
                                                "('%1', '%2')").arg(i).arg(QString(50, QLatin1Char('X'))));
              }),
              Full(db.Path()));

    // Opening on a full disk: the WAL index cannot grow, which SQLite
    // reports as an I/O error.
    QTemporaryDir dir;
    const QString path = dir.filePath("site.db");
    db::SqliteConnection::Create(path);
    testing_support::FaultyDisk disk;
    disk.FillAfter(0);
    EXPECT_EQ(OpenFailure(path), Full(path));
}

// A database that could not be made leaves nothing that would refuse the
// next try: a full disk while the schema goes in, at any point.
TEST(DatabaseFile, CreatingOnAFullDiskLeavesNothingBehind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.db");
    long long needed = 0;
    {
        testing_support::FaultyDisk disk;
        const auto made = db::SqliteConnection::Create(path);
        needed = disk.Written();  // before the close writes the WAL back
    }
    db::SqliteFile::RemoveFiles(path);
    for (const long long room : {0LL, 4096LL, needed / 2, needed - 1}) {
        testing_support::FaultyDisk disk;
        disk.FillAfter(room);
        EXPECT_EQ(Refusal([&] { db::SqliteConnection::Create(path); }), Full(path)) << room;
        EXPECT_EQ(FilesIn(dir), QStringList()) << room;
    }
    EXPECT_EQ(Refusal([&] { db::SqliteConnection::Create(path); }), "done");
}

// A file this user may not write: the program says so when it opens it,
// not at the first save; a check or a backup reads it and leaves no -wal or
// -shm file beside it.
TEST(DatabaseFile, AFileThatMayNotBeWrittenIsSaidToBeReadOnlyAndReadWithoutTraces)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.db");
    db::SqliteConnection::Create(path)->Execute(
        "Insert INVENTORY..tbInvLocation (LocationID, Location) Values ('94', 'CENTRAL SUPPLY')");
    ASSERT_EQ(FilesIn(dir), QStringList{"site.db"});
    {
        testing_support::FaultyDisk disk;
        disk.MakeReadOnly(path);
        EXPECT_EQ(OpenFailure(path), "Cannot open database \"" + path.toStdString()
                                         + "\": the file is read-only, and the program stores requests in it. Make it "
                                           "writable for this user.");
        EXPECT_EQ(FilesIn(dir), QStringList{"site.db"});

        const auto reader = db::SqliteConnection::Open(path, db::SqliteConnection::Access::ReadOnly);
        EXPECT_TRUE(reader->File().ReadOnly());
        EXPECT_TRUE(reader->File().IntegrityProblems().isEmpty());
        EXPECT_EQ(testing_support::ColumnTexts(reader->ExecuteNative("SELECT LocationID FROM tbInvLocation")),
                  QStringList{"94"});
        reader->File().BackupTo(dir.filePath("copy.db"));
    }
    EXPECT_EQ(FilesIn(dir), (QStringList{"copy.db", "site.db"}));
    EXPECT_EQ(testing_support::ColumnTexts(
                  db::SqliteConnection::Open(dir.filePath("copy.db"))->ExecuteNative("SELECT LocationID FROM tbInvLocation")),
              QStringList{"94"});
}

TEST(DatabaseFile, AFolderGivenAsTheFileIsSaidToBeOne)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    testing_support::TempDatabase db;
    const std::pair<std::string, std::string> cases[] = {
        {OpenFailure(dir.path()), "Cannot open database \"" + folder + "\": it is a folder, not a database file."},
        {Refusal([&] { db::SqliteConnection::Create(dir.path()); }),
         "Cannot create database \"" + folder + "\": it is a folder; name the file to create."},
        {Refusal([&] { db.Sqlite().File().BackupTo(dir.path()); }),
         "Cannot back up to \"" + folder + "\": it is a folder; name the file to write."},
    };
    for (const auto& [said, expected] : cases)
        EXPECT_EQ(said, expected);
}

// The copy is written under another name beside the destination and takes
// the destination's name when complete: a backup stopped half-way leaves
// nothing under that name. One that fails leaves nothing at all.
TEST(DatabaseFile, ABackupBearsItsNameOnlyWhenComplete)
{
    testing_support::TempDatabase db;
    for (int i = 0; i < 200; ++i)
        db.Insert("tbInvLocation", {{"LocationID", QString::number(i)}, {"Location", QString(60, QLatin1Char('L'))}});
    QTemporaryDir dir;
    const QString copy = dir.filePath("copy.db");
    {
        testing_support::FaultyDisk disk;
        db.Sqlite().File().BackupTo(copy);
        ASSERT_FALSE(disk.Opened().isEmpty());
        for (const QString& opened : disk.Opened())
            EXPECT_TRUE(QFileInfo(opened).fileName().startsWith("copy.db.partial-")) << opened.toStdString();
    }
    EXPECT_EQ(FilesIn(dir), QStringList{"copy.db"});
    EXPECT_EQ(db::SqliteConnection::Open(copy)->ExecuteNative("SELECT count(*) FROM tbInvLocation").Field(0).toInt(), 200);

    const QString failed = dir.filePath("failed.db");
    testing_support::FaultyDisk disk;
    disk.FillAfter(8192);
    EXPECT_EQ(Refusal([&] { db.Sqlite().File().BackupTo(failed); }),
              "Cannot back up to \"" + failed.toStdString() + "\": the disk is full.");
    EXPECT_EQ(FilesIn(dir), QStringList{"copy.db"});
}

// A file of the previous layout compared letters beyond ASCII by their
// case: the upgrade rebuilds it, and then a search finds them in any case.
TEST(DatabaseFile, AfterAnUpgradeNamesBeyondAsciiAreFoundInAnyCase)
{
    QTemporaryDir dir;
    const QString four = LayoutFourFile(dir);
    Raw(four, "INSERT INTO tbInvMaster (ItemID, ItemName) VALUES ('P1', 'PIÑA COLADA MIX'), ('P2', 'piña juice'), "
              "('P3', 'PINE OIL'); INSERT INTO tbInvLocation (LocationID, Location) VALUES ('7', 'SALA DE PEDIATRÍA')");
    EXPECT_NE(OpenFailure(four).find("tessary-admin upgrade"), std::string::npos) << OpenFailure(four);
    EXPECT_EQ(db::SqliteConnection::Upgrade(four), 4);

    const auto c = db::SqliteConnection::Open(four);
    EXPECT_TRUE(c->File().IntegrityProblems().isEmpty());
    const auto codes = [&](const char* statement) {
        return testing_support::ColumnTexts(c->Execute(QString::fromUtf8(statement)));
    };
    EXPECT_EQ(codes("Select ItemID From INVENTORY..tbInvMaster Where ItemName Like 'PIÑA%' Order By ItemID"),
              (QStringList{"P1", "P2"}));
    EXPECT_EQ(codes("Select ItemID From INVENTORY..tbInvMaster Where ItemName = 'piña colada mix'"), QStringList{"P1"});
    EXPECT_EQ(codes("Select LocationID From INVENTORY..tbInvLocation Where Location = 'sala de pediatría'"),
              QStringList{"7"});

    // SQLite alone, which lacks the comparison, cannot change the names.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(four.toUtf8().constData(), &raw), SQLITE_OK);
    EXPECT_NE(sqlite3_exec(raw, "INSERT INTO tbInvMaster (ItemID, ItemName) VALUES ('P9', 'X')", nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_NE(std::string(sqlite3_errmsg(raw)).find("no such collation sequence"), std::string::npos) << sqlite3_errmsg(raw);
    sqlite3_close(raw);
}

// Two codes that the previous layout told apart by the case of a letter
// beyond ASCII are one code now: the upgrade stops, names them, and leaves
// the file as it was.
TEST(DatabaseFile, AnUpgradeThatWouldMergeTwoKeysLeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    const QString four = LayoutFourFile(dir);
    Raw(four, "INSERT INTO tbInvLocation (LocationID, Location) VALUES ('Ñ1', 'A'), ('ñ1', 'B')");
    std::string refusal;
    try {
        db::SqliteConnection::Upgrade(four);
    } catch (const db::DbError& e) {
        refusal = e.Description().toStdString();
    }
    EXPECT_NE(refusal.find("the table tbInvLocation holds keys (LocationID) that differ only in the case of their "
                           "letters or in trailing blanks, such as \""),
              std::string::npos)
        << refusal;
    EXPECT_NE(OpenFailure(four).find("tessary-admin upgrade"), std::string::npos);
}

// What a working connection sets up on the file: the write-ahead log (so
// that readers go on while a save writes), a wait for another writer
// instead of an immediate refusal, the page cache and the in-memory
// statement journal; and a write transaction holds the file's write lock
// from its start, so another writer waits at its own start instead of
// failing at its first write.
TEST(DatabaseFile, AWorkingConnectionWaitsForOthersAndTakesTheWriteLockAsItsTransactionBegins)
{
    testing_support::TempDatabase db;
    const auto connection = db.OpenAnotherSqlite();
    const struct {
        const char* pragma;
        const char* value;
    } settings[] = {
        {"journal_mode", "wal"},
        {"busy_timeout", "15000"},
        {"cache_size", "-65536"},
        {"temp_store", "2"},
    };
    for (const auto& s : settings)
        EXPECT_EQ(connection->ExecuteNative(QStringLiteral("PRAGMA ") + QLatin1String(s.pragma)).Field(0).toString().toStdString(),
                  s.value)
            << s.pragma;

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db.Path().toUtf8().constData(), &other), SQLITE_OK);
    connection->BeginTransaction();
    EXPECT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_BUSY);
    connection->Rollback();
    EXPECT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
}
