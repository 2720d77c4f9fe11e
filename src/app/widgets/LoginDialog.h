#pragma once

#include "app/CurrentUser.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

// The log-in dialog of the current-user component: user ID and password,
// tried until accepted or closed, with the connection settings behind a
// button.
class LoginDialog : public QDialog, public LoginView {
    Q_OBJECT
public:
    explicit LoginDialog(QWidget* parent = nullptr);

    void Run(CurrentUser& user) override;

protected:
    void reject() override;

private:
    void TryLogIn();
    void EditSettings();
    void ShowProblem(const QString& text);

    CurrentUser* user_ = nullptr;
    QLineEdit* userId_ = nullptr;
    QLineEdit* password_ = nullptr;
    QPushButton* logIn_ = nullptr;
    bool trying_ = false;
    QLabel* problem_ = nullptr;
    QLabel* database_ = nullptr;
};

} // namespace app
