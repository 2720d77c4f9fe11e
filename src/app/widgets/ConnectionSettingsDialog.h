#pragma once

#include "app/ConnectionSettings.h"

#include <QDialog>

class QLineEdit;

namespace app {

// Edits where the program finds its database.
class ConnectionSettingsDialog : public QDialog {
    Q_OBJECT
public:
    ConnectionSettingsDialog(const ConnectionSettings& settings, QWidget* parent = nullptr);
    ConnectionSettings Settings() const;

private:
    ConnectionSettings settings_;
    QLineEdit* path_ = nullptr;
};

} // namespace app
