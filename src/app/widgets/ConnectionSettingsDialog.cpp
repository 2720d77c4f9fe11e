#include "app/widgets/ConnectionSettingsDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

ConnectionSettingsDialog::ConnectionSettingsDialog(const ConnectionSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle(tr("Connection Settings"));

    path_ = new QLineEdit(settings.databasePath, this);
    path_->setObjectName(QStringLiteral("txtDatabasePath"));
    path_->setMinimumWidth(360);
    auto* browse = new QPushButton(tr("&Browse..."), this);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, tr("Database File"), path_->text(),
                                                          tr("Database files (*.db);;All files (*)"));
        if (!file.isEmpty())
            path_->setText(file);
    });
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_);
    pathRow->addWidget(browse);

    auto* reset = new QPushButton(tr("&Default"), this);
    connect(reset, &QPushButton::clicked, this,
            [this] { path_->setText(ConnectionSettings::DefaultDatabasePath()); });

    auto* form = new QFormLayout;
    form->addRow(tr("Embedded database &file:"), pathRow);
    form->addRow(QString(), reset);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("Settings file: %1").arg(ConnectionSettings::SettingsFilePath()), this));
    layout->addWidget(buttons);
}

ConnectionSettings ConnectionSettingsDialog::Settings() const
{
    ConnectionSettings settings = settings_;
    settings.backend = ConnectionSettings::Backend::Embedded;
    settings.databasePath = path_->text().trimmed();
    return settings;
}

} // namespace app
