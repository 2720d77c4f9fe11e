#include "app/widgets/ConnectionSettingsDialog.h"

#include "forms/BusyCursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace app {

namespace {

// The ODBC drivers the machine has set up, by name (unixODBC's list).
QStringList InstalledOdbcDrivers()
{
    QStringList drivers;
    for (const QString& path : {QStringLiteral("/etc/odbcinst.ini"), QStringLiteral("/usr/local/etc/odbcinst.ini")}) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
                drivers << line.mid(1, line.size() - 2);
        }
    }
    drivers.removeDuplicates();
    return drivers;
}

} // namespace

ConnectionSettingsDialog::ConnectionSettingsDialog(const ConnectionSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle(tr("Connection Settings"));

    backend_ = new QComboBox(this);
    backend_->setObjectName(QStringLiteral("cboBackend"));
    backend_->addItem(tr("Embedded database file"), int(ConnectionSettings::Backend::Embedded));
    backend_->addItem(tr("PostgreSQL server"), int(ConnectionSettings::Backend::PostgreSql));
    backend_->addItem(tr("SQL Server (ODBC)"), int(ConnectionSettings::Backend::SqlServer));
    backend_->setCurrentIndex(backend_->findData(int(settings.backend)));

    // The embedded file.
    auto* filePage = new QWidget(this);
    path_ = new QLineEdit(settings.databasePath, filePage);
    path_->setObjectName(QStringLiteral("txtDatabasePath"));
    path_->setMinimumWidth(360);
    auto* browse = new QPushButton(tr("&Browse..."), filePage);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, tr("Database File"), path_->text(),
                                                          tr("Database files (*.db);;All files (*)"));
        if (!file.isEmpty())
            path_->setText(file);
    });
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_);
    pathRow->addWidget(browse);
    auto* reset = new QPushButton(tr("&Default"), filePage);
    connect(reset, &QPushButton::clicked, this, [this] { path_->setText(ConnectionSettings::DefaultDatabasePath()); });
    auto* fileForm = new QFormLayout(filePage);
    // A row of a box and a button takes no buddy by itself: the label's
    // shortcut would show as a plain "&".
    auto* fileLabel = new QLabel(tr("Database &file:"), filePage);
    fileLabel->setBuddy(path_);
    fileForm->addRow(fileLabel, pathRow);
    fileForm->addRow(QString(), reset);

    // A server.
    const db::ServerLogin& server = settings.server;
    auto* serverPage = new QWidget(this);
    dsn_ = new QLineEdit(server.odbcDsn, serverPage);
    dsn_->setObjectName(QStringLiteral("txtDsn"));
    dsn_->setPlaceholderText(tr("empty: the driver below"));
    driver_ = new QComboBox(serverPage);
    driver_->setObjectName(QStringLiteral("cboDriver"));
    driver_->setEditable(true);
    driver_->addItems(InstalledOdbcDrivers());
    driver_->setCurrentText(server.odbcDriver.isEmpty() ? QStringLiteral("FreeTDS") : server.odbcDriver);
    host_ = new QLineEdit(server.host, serverPage);
    host_->setObjectName(QStringLiteral("txtServer"));
    port_ = new QSpinBox(serverPage);
    port_->setObjectName(QStringLiteral("txtPort"));
    port_->setRange(0, 65535);
    port_->setSpecialValueText(tr("default"));
    port_->setValue(server.port);
    database_ = new QLineEdit(server.database, serverPage);
    database_->setObjectName(QStringLiteral("txtDatabase"));
    user_ = new QLineEdit(server.user, serverPage);
    user_->setObjectName(QStringLiteral("txtUser"));
    password_ = new QLineEdit(server.password, serverPage);
    password_->setObjectName(QStringLiteral("txtPassword"));
    password_->setEchoMode(QLineEdit::Password);
    remember_ = new QCheckBox(tr("&Remember the password (kept in the settings file, readable by you only)"), serverPage);
    remember_->setObjectName(QStringLiteral("chkRememberPassword"));
    remember_->setChecked(settings.rememberPassword);
    auto* serverForm = new QFormLayout(serverPage);
    serverForm->addRow(tr("ODBC data &source:"), dsn_);
    serverForm->addRow(tr("ODBC d&river:"), driver_);
    serverForm->addRow(tr("&Server:"), host_);
    serverForm->addRow(tr("P&ort:"), port_);
    serverForm->addRow(tr("Data&base:"), database_);
    serverForm->addRow(tr("&User:"), user_);
    serverForm->addRow(tr("&Password:"), password_);
    serverForm->addRow(QString(), remember_);

    pages_ = new QStackedWidget(this);
    pages_->addWidget(filePage);
    pages_->addWidget(serverPage);
    connect(backend_, &QComboBox::currentIndexChanged, this, &ConnectionSettingsDialog::ShowBackend);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("lblConnectionProblem"));
    problem_->setStyleSheet(QStringLiteral("color: #b00020;"));
    problem_->setWordWrap(true);
    problem_->hide();

    // Enter in a picker moves on (in an editable one, its text box has the
    // key first).
    for (QObject* picker : {static_cast<QObject*>(backend_), static_cast<QObject*>(driver_),
                            static_cast<QObject*>(driver_->lineEdit())})
        picker->installEventFilter(this);

    auto* top = new QFormLayout;
    top->addRow(tr("&Database on:"), backend_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages_);
    layout->addWidget(problem_);
    layout->addWidget(new QLabel(tr("Settings file: %1").arg(ConnectionSettings::SettingsFilePath()), this));
    if (!settings.source.isEmpty() && settings.source != ConnectionSettings::SettingsFilePath()) {
        auto* origin = new QLabel(
            tr("These are this computer's settings (%1); OK keeps them as your own.").arg(settings.source), this);
        origin->setObjectName(QStringLiteral("lblSettingsOrigin"));
        origin->setWordWrap(true);
        layout->addWidget(origin);
    }
    layout->addWidget(buttons);
    ShowBackend();
}

void ConnectionSettingsDialog::accept()
{
    const ConnectionSettings settings = Settings();
    QString problem;
    {
        forms::BusyCursor busy;
        problem = settings.TestConnection();
    }
    if (problem.isEmpty()) {
        problem_->hide();
        QDialog::accept();
        return;
    }
    problem_->setText(tr("Not saved: %1").arg(problem));
    problem_->show();
    adjustSize();
    if (!settings.Problem().isEmpty())
        host_->setFocus();
}

bool ConnectionSettingsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ConnectionSettingsDialog::ShowBackend()
{
    const auto backend = ConnectionSettings::Backend(backend_->currentData().toInt());
    pages_->setCurrentIndex(backend == ConnectionSettings::Backend::Embedded ? 0 : 1);
    const bool odbc = backend == ConnectionSettings::Backend::SqlServer;
    dsn_->setEnabled(odbc);
    driver_->setEnabled(odbc);
}

ConnectionSettings ConnectionSettingsDialog::Settings() const
{
    ConnectionSettings settings = settings_;
    settings.backend = ConnectionSettings::Backend(backend_->currentData().toInt());
    settings.databasePath = path_->text().trimmed();
    db::ServerLogin& server = settings.server;
    server.host = host_->text().trimmed();
    server.port = port_->value();
    server.database = database_->text().trimmed();
    server.user = user_->text().trimmed();
    server.password = password_->text();
    server.odbcDsn = settings.backend == ConnectionSettings::Backend::SqlServer ? dsn_->text().trimmed() : QString();
    server.odbcDriver = settings.backend == ConnectionSettings::Backend::SqlServer ? driver_->currentText().trimmed() : QString();
    settings.rememberPassword = remember_->isChecked();
    return settings;
}

} // namespace app
