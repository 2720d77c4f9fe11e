// The connection settings file keeps a server's password only when the user
// asked for it, and only for its owner; the computer's settings serve every
// user who has none.
#include "app/ConnectionSettings.h"
#include "db/DbError.h"
#include "support/ConfigFolders.h"
#include "support/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(ConnectionSettings, PasswordOnDiskOnlyWhenRemembered)
{
    QTemporaryDir home;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());

    app::ConnectionSettings settings;
    settings.backend = app::ConnectionSettings::Backend::SqlServer;
    settings.server = db::ServerLogin::FromUrl(QStringLiteral("sqlserver://clerk@dbhost:1433/INVENTORY?driver=FreeTDS"));
    settings.server.password = QStringLiteral("s3cret-pw");
    settings.Save();
    QFile file(app::ConnectionSettings::SettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("s3cret-pw"));
    file.close();
    EXPECT_EQ(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());
    const app::ConnectionSettings loaded = app::ConnectionSettings::Load();
    EXPECT_EQ(loaded.backend, app::ConnectionSettings::Backend::SqlServer);
    EXPECT_EQ(loaded.server.host, "dbhost");
    EXPECT_EQ(loaded.server.port, 1433);
    EXPECT_EQ(loaded.server.odbcDriver, "FreeTDS");
    EXPECT_TRUE(loaded.server.password.isEmpty());

    settings.rememberPassword = true;
    settings.Save();
    EXPECT_EQ(app::ConnectionSettings::Load().server.password, "s3cret-pw");
    settings.rememberPassword = false;   // unticked later: the stored password goes
    settings.Save();
    EXPECT_TRUE(app::ConnectionSettings::Load().server.password.isEmpty());

    qputenv("XDG_CONFIG_HOME", saved);
}

// A user without settings of their own follows the computer's settings file,
// which every user can read and which never holds a password; the user's own
// file comes first.
TEST(ConnectionSettings, UsersWithoutTheirOwnFollowTheComputersSettings)
{
    testing_support::ConfigFolders folders;
    using Scope = app::ConnectionSettings::Scope;
    EXPECT_EQ(app::ConnectionSettings::SystemSettingsFilePath(), folders.System(0) + "/Tessary/connection.ini");
    const app::ConnectionSettings none = app::ConnectionSettings::Load();
    EXPECT_TRUE(none.source.isEmpty());
    EXPECT_EQ(none.Target(), app::ConnectionSettings::DefaultDatabasePath());

    // A file in the second system folder is found as well.
    app::ConnectionSettings second = app::ConnectionSettings::ForTarget(folders.Path("second.db"));
    const QString secondFile = folders.System(1) + "/Tessary/connection.ini";
    ASSERT_EQ(second.WriteTo(secondFile, Scope::Computer), "");
    EXPECT_EQ(app::ConnectionSettings::Load().Target(), folders.Path("second.db"));

    // Written by an administrator whose umask keeps everything private.
    app::ConnectionSettings site = app::ConnectionSettings::ForTarget("postgresql://clerk:pw@dbhost:5433/tessary");
    EXPECT_TRUE(site.server.password.isEmpty()) << "a password in the address is never kept";
    site.server.password = QStringLiteral("s3cret-pw");
    site.rememberPassword = true;
    const mode_t umaskWas = ::umask(077);
    const QString failure = site.WriteTo(app::ConnectionSettings::SystemSettingsFilePath(), Scope::Computer);
    ::umask(umaskWas);
    ASSERT_EQ(failure, "");
    QFile file(app::ConnectionSettings::SystemSettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("s3cret-pw"));
    EXPECT_TRUE(file.permissions() & QFileDevice::ReadOther);
    EXPECT_TRUE(QFileInfo(QFileInfo(file).absolutePath()).permissions() & QFileDevice::ExeOther);

    app::ConnectionSettings loaded = app::ConnectionSettings::Load();
    EXPECT_EQ(loaded.source, app::ConnectionSettings::SystemSettingsFilePath());
    EXPECT_EQ(loaded.Target(), "postgresql://clerk@dbhost:5433/tessary");
    EXPECT_TRUE(loaded.server.password.isEmpty());

    app::ConnectionSettings::ForTarget(folders.Path("own.db")).Save();
    loaded = app::ConnectionSettings::Load();
    EXPECT_EQ(loaded.source, app::ConnectionSettings::SettingsFilePath());
    EXPECT_EQ(loaded.Target(), folders.Path("own.db"));
}

// Settings that name no server are refused before anything is tried; a
// database that does not open is refused with its own words.
TEST(ConnectionSettings, ATestRefusesAnEmptyServerAndWhatDoesNotOpen)
{
    using Backend = app::ConnectionSettings::Backend;
    struct Case { const char* what; Backend backend; const char* host; const char* dsn; bool refused; };
    const Case cases[] = {
        {"PostgreSQL without a server", Backend::PostgreSql, " ", "", true},
        {"PostgreSQL with one", Backend::PostgreSql, "dbhost", "", false},
        {"SQL Server without server or data source", Backend::SqlServer, "", "", true},
        {"SQL Server through a data source", Backend::SqlServer, "", "SITE", false},
        {"the embedded file", Backend::Embedded, "", "", false},
    };
    for (const Case& c : cases) {
        app::ConnectionSettings settings;
        settings.backend = c.backend;
        settings.server.host = c.host;
        settings.server.odbcDsn = c.dsn;
        EXPECT_EQ(!settings.Problem().isEmpty(), c.refused) << c.what;
    }

    QTemporaryDir dir;
    const app::ConnectionSettings missing = app::ConnectionSettings::ForTarget(dir.filePath("none.db"));
    EXPECT_TRUE(missing.TestConnection().contains("does not exist")) << missing.TestConnection().toStdString();
    testing_support::TempDatabase db;
    EXPECT_EQ(db.Settings().TestConnection(), "");

    EXPECT_THROW(app::ConnectionSettings::ForTarget("odbc-postgresql://clerk@dbhost/tessary"), db::DbError);
    EXPECT_EQ(app::ConnectionSettings::ForTarget("site.db").databasePath, QDir::current().filePath("site.db"));
}
