#include "db/DbError.h"
#include "db/SqliteConnection.h"
#include "db/TsqlFunctions.h"
#include "db/TsqlTranslator.h"
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
                                                                  .arg(db::SqliteConnection::kApplicationId))
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
    EXPECT_TRUE(c->IntegrityProblems().isEmpty());
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
