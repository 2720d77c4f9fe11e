#pragma once

#include "app/ConnectionSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStackedWidget;

namespace app {

// Edits where the program finds its database: the embedded file, a
// PostgreSQL server, or a SQL Server through ODBC (a data source, or a
// driver with server and port). OK opens the database first: settings that
// name no server, or a database that cannot be opened, are refused with the
// reason shown, and the dialog stays. Enter in a picker moves on to the next
// field instead of pressing OK.
class ConnectionSettingsDialog : public QDialog {
    Q_OBJECT
public:
    ConnectionSettingsDialog(const ConnectionSettings& settings, QWidget* parent = nullptr);
    ConnectionSettings Settings() const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    QLabel* problem_ = nullptr;
};

} // namespace app
