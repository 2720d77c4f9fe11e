// The connection settings file keeps a server's password only when the user
// asked for it, and only for its owner.
#include "app/ConnectionSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
