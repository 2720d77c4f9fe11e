// The text the sql command prints, and how it fails.
#include "admin/AdminError.h"
#include "admin/SqlCommand.h"
#include "cipher/CryptText.h"
#include "db/DbError.h"
#include "support/TempDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::TempDatabase;

namespace {

void Seed(TempDatabase& db)
{
    db.Insert("tbInvLocation", {{"LocationID", "94"}, {"Location", "CENTRAL SUPPLY"}});
    db.Insert("tbInvUserLocation", {{"UserID", "JDELA"}, {"LocationID", "94"}});
    db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", "1"}, {"ItemID", "P0001"}, {"Quantity", 12.0},
                                       {"UnitCost", 2.5}, {"TransDate", "2026-03-07 14:05:09"}, {"VerifiedBy", QVariant()}});
}

} // namespace

TEST(SqlCommand, PrintsAHeaderAndTabSeparatedRows)
{
    TempDatabase db;
    Seed(db);
    EXPECT_EQ(admin::RunStatement(db.Connection(),
                                  "Select DocumentNumber, Quantity, UnitCost, TransDate, VerifiedBy "
                                  "from INVENTORY..tbInvWithdrawRequest where DocumentNumber = '1'"),
              "DocumentNumber\tQuantity\tUnitCost\tTransDate\tVerifiedBy\n"
              "1\t12\t2.5\t2026-03-07 14:05:09\tNULL\n");
    // Procedures run as the program sends them.
    EXPECT_EQ(admin::RunStatement(db.Connection(), "INVENTORY..sp_Inv_UserLocation 'JDELA'"),
              "Location\tLocationID\nCENTRAL SUPPLY\t94\n");
    // A query without rows prints its header; a statement without a result nothing.
    EXPECT_EQ(admin::RunStatement(db.Connection(), "Select ItemID from INVENTORY..tbInvMaster"), "ItemID\n");
    EXPECT_EQ(admin::RunStatement(db.Connection(),
                                  "Update INVENTORY..tbInvWithdrawRequest set Status = 'D' where DocumentNumber = '1'"),
              "");
}

TEST(SqlCommand, RefusedStatementReportsTheServersDescription)
{
    TempDatabase db;
    QString description;
    try {
        db.Connection().Execute("Select Nothing From INVENTORY..tbInvMaster");
    } catch (const db::DbError& e) {
        description = e.Description();
    }
    ASSERT_FALSE(description.isEmpty());

    QString err;
    QTextStream errStream(&err);
    const int exitCode = admin::RunReportingFailure(
        [&] { admin::RunStatement(db.Connection(), "Select Nothing From INVENTORY..tbInvMaster"); }, errStream);
    errStream.flush();
    EXPECT_NE(exitCode, 0);
    EXPECT_EQ(err.trimmed(), description);

    // A blank statement is refused before it reaches the database.
    err.clear();
    EXPECT_NE(admin::RunReportingFailure([&] { admin::RunStatement(db.Connection(), "  "); }, errStream), 0);
    errStream.flush();
    EXPECT_EQ(err.trimmed(), "The statement is empty: give the SQL statement to run.");
}

// The built command itself, when it sits beside the test programs' folder.
TEST(SqlCommand, ExecutableExitsNonZeroWithTheMessageOnStderr)
{
    const QString program = QCoreApplication::applicationDirPath() + "/../tessary-admin";
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "tessary-admin is not built";
    TempDatabase db;
    Seed(db);
    auto run = [&](const QStringList& args, QString* out, QString* err) {
        QProcess process;
        process.start(program, args);
        process.waitForFinished(-1);
        *out = QString::fromUtf8(process.readAllStandardOutput());
        *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    };
    QString out, err;
    EXPECT_EQ(run({"sql", db.Path(), "Select LocationID From INVENTORY..tbInvLocation"}, &out, &err), 0);
    EXPECT_EQ(out, "LocationID\n94\n");
    EXPECT_NE(run({"sql", db.Path(), "Select Nothing From INVENTORY..tbInvLocation"}, &out, &err), 0);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains("Nothing")) << err.toStdString();
    EXPECT_NE(run({"user", "passwd", db.Path(), "NOBODY", "x"}, &out, &err), 0);
    EXPECT_EQ(err.trimmed(), "Unknown user ID 'NOBODY'.");
}

// The program answers --help and --version before it needs a display.
TEST(ProgramCommandLine, HelpAndVersionNeedNoDisplay)
{
    const QString program = QCoreApplication::applicationDirPath() + "/../tessary";
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "tessary is not built";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    for (const char* option : {"--version", "--help"}) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, {option});
        ASSERT_TRUE(process.waitForFinished(30000)) << option;
        EXPECT_EQ(process.exitCode(), 0) << option;
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_TRUE(out.startsWith(QString::fromLatin1(option) == "--version" ? "tessary " : "Usage: tessary"))
            << out.toStdString();
    }
}

// Without a display the program says so in one line and ends, instead of
// Qt's abort.
TEST(ProgramCommandLine, WithoutADisplayTheProgramSaysSoInOneLine)
{
    const QString program = QCoreApplication::applicationDirPath() + "/../tessary";
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "tessary is not built";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, {});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(process.readAllStandardError().toStdString(),
              "tessary: no display to open windows on (DISPLAY is not set)\n");
}

// The admin command's version, and a usage error that shows the usage of
// the command it was about, not the whole text.
TEST(ProgramCommandLine, AdminVersionAndOneCommandsUsage)
{
    const QString program = QCoreApplication::applicationDirPath() + "/../tessary-admin";
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "tessary-admin is not built";
    const auto run = [&](const QStringList& args) {
        QProcess process;
        process.start(program, args);
        process.waitForFinished(30000);
        return std::make_pair(process.exitCode(), QString::fromUtf8(process.readAllStandardOutput() +
                                                                    process.readAllStandardError()));
    };
    const auto [versionStatus, version] = run({"--version"});
    EXPECT_EQ(versionStatus, 0);
    EXPECT_TRUE(version.startsWith("tessary-admin ")) << version.toStdString();

    const auto [backupStatus, backup] = run({"backup", "only-one.db"});
    EXPECT_EQ(backupStatus, 2);
    EXPECT_EQ(backup, "Wrong number of arguments for backup.\nUsage:\n  tessary-admin backup PATH DEST           "
                      "copy the database to a new file, also while in use\n");

    const auto [userStatus, user] = run({"user", "add", "site.db", "ANA", "--last"});
    EXPECT_EQ(userStatus, 2);
    EXPECT_TRUE(user.contains("tessary-admin user add PATH ID")) << user.toStdString();
    EXPECT_TRUE(user.contains("[--location LOCID]")) << user.toStdString();
    EXPECT_FALSE(user.contains("user passwd")) << user.toStdString();

    const auto [unknownStatus, unknown] = run({"frobnicate"});
    EXPECT_EQ(unknownStatus, 2);
    EXPECT_TRUE(unknown.contains("tessary-admin demo PATH")) << "an unknown command gets the whole usage";
}

// An import whose output goes to pipes (a log, cron) shows no progress: its
// standard error stays empty, its summary is the one line.
TEST(ProgramCommandLine, AnImportOffATerminalShowsNoProgress)
{
    const QString program = QCoreApplication::applicationDirPath() + "/../tessary-admin";
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "tessary-admin is not built";
    TempDatabase db;
    QTemporaryDir dir;
    QFile file(dir.filePath("locations.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("id,name\n");
    for (int id = 1; id <= 3000; ++id)
        file.write(QStringLiteral("%1,WARD %1\n").arg(id).toUtf8());
    file.close();
    QProcess process;
    process.start(program, {"import", db.Path(), "locations", file.fileName()});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardError(), "");
    EXPECT_EQ(process.readAllStandardOutput(), "Imported 3000 new and 0 updated locations.\n");
}

// A password piped in stands for one on the command line.
TEST(SqlCommand, PasswordsCanComeFromStandardInput)
{
    const QString program = QCoreApplication::applicationDirPath() + "/../tessary-admin";
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "tessary-admin is not built";
    TempDatabase db;
    const auto run = [&](const QStringList& args, const QByteArray& input) {
        QProcess process;
        process.start(program, args);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(-1);
        return process.exitCode();
    };
    const auto stored = [&] {
        return db.Native("SELECT Password FROM tbPasswordMain WHERE EmployeeID = 'NURSE'").Field(0).toString();
    };
    EXPECT_EQ(run({"user", "add", db.Path(), "NURSE", "--last", "CRUZ", "--first", "ANA"}, "first\n"), 0);
    EXPECT_EQ(stored(), cipher::EncipherPassword("first"));
    EXPECT_EQ(run({"user", "passwd", db.Path(), "NURSE"}, "second\n"), 0);
    EXPECT_EQ(stored(), cipher::EncipherPassword("second"));
    EXPECT_NE(run({"user", "passwd", db.Path(), "NURSE"}, ""), 0);
    EXPECT_EQ(stored(), cipher::EncipherPassword("second"));
}
