// The Connection... dialog: a server chosen and filled in comes back as
// settings that reach it; the password is not remembered unless ticked; OK
// takes only settings that open a database.
#include "app/widgets/ConnectionSettingsDialog.h"
#include "support/TempDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
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

// OK opens the database first: an empty server, or a file that does not
// open, keeps the dialog with the reason shown; a database that opens is
// taken.
TEST(ConnectionSettingsDialog, OkTakesOnlySettingsThatOpenADatabase)
{
    testing_support::TempDatabase db;
    QTemporaryDir dir;
    app::ConnectionSettingsDialog dialog(app::ConnectionSettings{});
    dialog.show();
    auto* backend = dialog.findChild<QComboBox*>("cboBackend");
    auto* path = dialog.findChild<QLineEdit*>("txtDatabasePath");
    auto* problem = dialog.findChild<QLabel*>("lblConnectionProblem");
    ASSERT_TRUE(backend && path && problem);

    backend->setCurrentIndex(backend->findData(int(app::ConnectionSettings::Backend::PostgreSql)));
    dialog.findChild<QLineEdit*>("txtServer")->setText("  ");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(problem->text().startsWith("Not saved: No server is given")) << problem->text().toStdString();

    backend->setCurrentIndex(backend->findData(int(app::ConnectionSettings::Backend::Embedded)));
    path->setText(dir.filePath("none.db"));
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(problem->text().contains("does not exist")) << problem->text().toStdString();

    path->setText(db.Path());
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// Enter in a picker (the editable driver's text too) moves on; OK is not
// pressed, though the settings would open.
TEST(ConnectionSettingsDialog, EnterInAPickerDoesNotPressOk)
{
    testing_support::TempDatabase db;
    app::ConnectionSettings settings;
    settings.databasePath = db.Path();
    app::ConnectionSettingsDialog dialog(settings);
    dialog.show();
    auto* backend = dialog.findChild<QComboBox*>("cboBackend");
    auto* driver = dialog.findChild<QComboBox*>("cboDriver");
    ASSERT_TRUE(backend && driver);

    backend->setFocus();
    QTest::keyClick(backend, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.focusWidget(), backend);

    // OK pressed here would refuse the empty server and say so.
    backend->setCurrentIndex(backend->findData(int(app::ConnectionSettings::Backend::SqlServer)));
    driver->setFocus();
    QTest::keyClick(driver->lineEdit(), Qt::Key_Enter);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.findChild<QLabel*>("lblConnectionProblem")->isHidden());
    EXPECT_NE(dialog.focusWidget(), driver->lineEdit());
}
