#include "dialogs/widgets/SupervisorPasswordView.h"

#include "dialogs/SupervisorPassword.h"
#include "forms/widgets/Binders.h"
#include "forms/widgets/FocusSync.h"

#include <QGroupBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace dialogs {

namespace {

// Starts each showing afresh once the window is up, as activation did.
class PasswordWindow : public QDialog {
public:
    PasswordWindow(SupervisorPassword& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {}

protected:
    void showEvent(QShowEvent* event) override
    {
        QDialog::showEvent(event);
        QTimer::singleShot(0, this, [this] { dialog_.Activate(); });
    }

private:
    SupervisorPassword& dialog_;
};

} // namespace

std::unique_ptr<QDialog> MakeSupervisorPasswordView(SupervisorPassword& dialog, QWidget* parent)
{
    auto window = std::make_unique<PasswordWindow>(dialog, parent);
    window->setWindowTitle(QStringLiteral("Password"));
    window->setObjectName(QStringLiteral("frmDeletePassword"));

    auto* userId = new QLineEdit;
    userId->setObjectName(QStringLiteral("txtUserID"));
    userId->setFont(QFont(QStringLiteral("Tahoma")));
    auto* password = new QLineEdit;
    password->setObjectName(QStringLiteral("txtPassword"));
    password->setEchoMode(QLineEdit::Password);
    auto* enter = new QPushButton;
    enter->setObjectName(QStringLiteral("cmdEnter"));
    enter->setAutoDefault(false);

    forms::Bind(userId, &dialog.txtUserID);
    forms::Bind(password, &dialog.txtPassword);
    forms::Bind(enter, &dialog.cmdEnter);
    QObject::connect(userId, &QLineEdit::returnPressed, &dialog, &SupervisorPassword::EnterInUserID);
    QObject::connect(password, &QLineEdit::returnPressed, &dialog, &SupervisorPassword::EnterInPassword);

    auto* frame = new QGroupBox;
    auto* grid = new QGridLayout(frame);
    auto* idLabel = new QLabel(QStringLiteral("ID"));
    idLabel->setBuddy(userId);
    grid->addWidget(idLabel, 0, 0);
    grid->addWidget(userId, 0, 1);
    grid->addWidget(new QLabel(QObject::tr("Password")), 1, 0);
    grid->addWidget(password, 1, 1);
    grid->addWidget(enter, 2, 1, Qt::AlignRight);

    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(frame);
    window->setMinimumWidth(300);
    new forms::FocusSync(window.get(), dialog.focus);
    return window;
}

} // namespace dialogs
