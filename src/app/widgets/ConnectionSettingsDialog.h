#pragma once

#include "app/ConnectionSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QStackedWidget;

namespace app {

// Edits where the program finds its database: the embedded file, a
// PostgreSQL server, or a SQL Server through ODBC (a data source, or a
// driver with server and port).
class ConnectionSettingsDialog : public QDialog {
    Q_OBJECT
public:
    ConnectionSettingsDialog(const ConnectionSettings& settings, QWidget* parent = nullptr);
    ConnectionSettings Settings() const;

private:
    void ShowBackend();

    ConnectionSettings settings_;
    QComboBox* backend_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLineEdit* path_ = nullptr;
    QLineEdit* host_ = nullptr;
    QSpinBox* port_ = nullptr;
    QLineEdit* database_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* remember_ = nullptr;
    QLineEdit* dsn_ = nullptr;
    QComboBox* driver_ = nullptr;
};

} // namespace app
