#include "db/DbError.h"
#include "db/SqliteConnection.h"
#include "support/TempDatabase.h"

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

// A file the program made before database files carried its mark, with
// the name index as it was then.
QString LegacyFile(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("old.db");
    db::SqliteConnection::Create(path);
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
    EXPECT_EQ(db::SqliteConnection::Upgrade(legacy), db::SqliteConnection::kSchemaVersion);
    const auto connection = db::SqliteConnection::Open(legacy);
    EXPECT_EQ(connection->ExecuteNative("SELECT sql FROM sqlite_master WHERE name = 'ixMasterName'").Field(0).toString(),
              "CREATE INDEX ixMasterName ON tbInvMaster (ItemName, ItemDesc, ItemStatus, ItemID)");
    EXPECT_EQ(connection->ExecuteNative("SELECT count(*) FROM sqlite_master WHERE name IN "
                                        "('ixRequestOpen', 'ixRequestNumberValue')").Field(0).toInt(), 2);

    const QString foreign = dir.filePath("foreign.db");
    Raw(foreign, "CREATE TABLE t (x)");
    EXPECT_THROW(db::SqliteConnection::Upgrade(foreign), db::DbError);
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
    db.Sqlite().BackupTo(copy);
    writer->Commit();
    EXPECT_THROW(db.Sqlite().BackupTo(copy), db::DbError);

    const auto restored = db::SqliteConnection::Open(copy);
    EXPECT_TRUE(restored->IntegrityProblems().isEmpty());
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
