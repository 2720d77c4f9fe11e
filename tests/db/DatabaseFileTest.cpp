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

TEST(DatabaseFile, ATextLongerThanItsColumnIsRefusedAsOnTheServer)
{
    QTemporaryDir dir;
    const QString legacy = LegacyFile(dir);
    Raw(legacy, "DROP TRIGGER IF EXISTS tbInvLocation_TextLengthINSERT; DROP TRIGGER IF EXISTS tbInvLocation_TextLengthUPDATE");
    db::SqliteConnection::Upgrade(legacy);  // the file of an older layout gets the check too
    testing_support::TempDatabase fresh;
    for (const QString& path : {legacy, fresh.Path()}) {
        const auto c = db::SqliteConnection::Open(path);
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
        EXPECT_EQ(testing_support::ColumnTexts(c->ExecuteNative("SELECT Status FROM tbInvLocation")),
                  QStringList{QString()});
    }
}
