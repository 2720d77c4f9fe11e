// The Connection... dialog: a server chosen and filled in comes back as
// settings that reach it; the password is not remembered unless ticked.
#include "app/widgets/ConnectionSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

TEST(ConnectionSettingsDialog, ServerChoicesComeBackAsItsLogin)
{
    app::ConnectionSettingsDialog dialog(app::ConnectionSettings{});
    auto* backend = dialog.findChild<QComboBox*>("cboBackend");
    ASSERT_TRUE(backend);
    auto* dsn = dialog.findChild<QLineEdit*>("txtDsn");
    auto* driver = dialog.findChild<QComboBox*>("cboDriver");
    ASSERT_TRUE(dsn && driver);

    backend->setCurrentIndex(backend->findData(int(app::ConnectionSettings::Backend::PostgreSql)));
    EXPECT_FALSE(dsn->isEnabled()) << "ODBC choices belong to SQL Server";
    dialog.findChild<QLineEdit*>("txtServer")->setText(" db.example ");
    dialog.findChild<QSpinBox*>("txtPort")->setValue(5433);
    dialog.findChild<QLineEdit*>("txtDatabase")->setText("tessary");
    dialog.findChild<QLineEdit*>("txtUser")->setText("clerk");
    QTest::keyClicks(dialog.findChild<QLineEdit*>("txtPassword"), "pw");
    app::ConnectionSettings settings = dialog.Settings();
    EXPECT_EQ(settings.backend, app::ConnectionSettings::Backend::PostgreSql);
    EXPECT_EQ(settings.ServerLogin().ToUrl(), "postgresql://clerk@db.example:5433/tessary");
    EXPECT_EQ(settings.server.password, "pw");
    EXPECT_FALSE(settings.rememberPassword);

    backend->setCurrentIndex(backend->findData(int(app::ConnectionSettings::Backend::SqlServer)));
    EXPECT_TRUE(dsn->isEnabled());
    driver->setCurrentText("FreeTDS");
    dialog.findChild<QCheckBox*>("chkRememberPassword")->setChecked(true);
    settings = dialog.Settings();
    EXPECT_EQ(settings.ServerLogin().backend, db::Backend::SqlServer);
    EXPECT_EQ(settings.ServerLogin().driver, db::ServerLogin::Driver::Odbc);
    EXPECT_EQ(settings.server.odbcDriver, "FreeTDS");
    EXPECT_TRUE(settings.rememberPassword);
}
