#include "app/widgets/LoginDialog.h"

#include "app/widgets/ConnectionSettingsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace {

// The database the log-in opens, and whose settings name it: the user's
// own, the computer's, or none (the default file).
QString DescribeDatabase(const ConnectionSettings& settings)
{
    QString text = settings.backend == ConnectionSettings::Backend::Embedded
                       ? QObject::tr("Database: %1").arg(settings.Target())
                       : QObject::tr("Server: %1").arg(settings.Target());
    if (settings.source.isEmpty())
        text += QLatin1Char('\n') + QObject::tr("(no connection settings: the default database file)");
    else if (settings.source != ConnectionSettings::SettingsFilePath())
        text += QLatin1Char('\n') + QObject::tr("(this computer's settings: %1)").arg(settings.source);
    return text;
}

} // namespace

LoginDialog::LoginDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Tessary - Log In"));
    setObjectName(QStringLiteral("LoginDialog"));

    userId_ = new QLineEdit(this);
    userId_->setObjectName(QStringLiteral("txtLoginUserID"));
    userId_->setMaxLength(20);
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("txtLoginPassword"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setMaxLength(kPasswordBoxLength);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("lblLoginProblem"));
    problem_->setStyleSheet(QStringLiteral("color: #b00020;"));
    problem_->setWordWrap(true);
    problem_->hide();
    database_ = new QLabel(this);
    database_->setObjectName(QStringLiteral("lblLoginDatabase"));
    database_->setWordWrap(true);
    database_->setStyleSheet(QStringLiteral("color: palette(mid);"));

    auto* form = new QFormLayout;
    form->addRow(tr("&User ID:"), userId_);
    form->addRow(tr("&Password:"), password_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* logIn = buttons->addButton(tr("&Log In"), QDialogButtonBox::AcceptRole);
    logIn->setObjectName(QStringLiteral("cmdLogIn"));
    logIn->setDefault(true);
    logIn_ = logIn;
    buttons->addButton(QDialogButtonBox::Cancel);
    QPushButton* settings = buttons->addButton(tr("&Connection..."), QDialogButtonBox::ResetRole);
    settings->setObjectName(QStringLiteral("cmdConnection"));
    settings->setAutoDefault(false);
    connect(logIn, &QPushButton::clicked, this, &LoginDialog::TryLogIn);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(settings, &QPushButton::clicked, this, &LoginDialog::EditSettings);

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(tr("<b>Tessary</b><br>Department stock requests"), this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(database_);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void LoginDialog::Run(CurrentUser& user)
{
    user_ = &user;
    database_->setText(DescribeDatabase(user.Settings()));
    userId_->setFocus();
    exec();
    user_ = nullptr;
}

void LoginDialog::TryLogIn()
{
    if (!user_)
        return;
    if (trying_)
        return;
    const QString id = userId_->text().trimmed();
    QString error;
    // A slowed-down try keeps the window painting while it waits; the
    // button says that the try is under way.
    trying_ = true;
    logIn_->setEnabled(false);
    const CurrentUser::LogInResult result = user_->LogIn(id, password_->text(), &error);
    logIn_->setEnabled(true);
    trying_ = false;
    switch (result) {
    case CurrentUser::LogInResult::Accepted:
        accept();
        return;
    case CurrentUser::LogInResult::Refused: {
        QString problem = tr("The user ID or the password is not valid. Please try again.");
        const QString notice = user_->WrongPasswords().Notice(id);
        if (!notice.isEmpty())
            problem += QLatin1Char(' ') + notice;
        ShowProblem(problem);
        password_->clear();
        password_->setFocus();
        return;
    }
    case CurrentUser::LogInResult::Disabled:
        ShowProblem(DisabledUserNotice(id));
        password_->clear();
        userId_->setFocus();
        return;
    case CurrentUser::LogInResult::Unreachable:
        ShowProblem(tr("The database could not be opened: %1").arg(error));
        return;
    }
}

// Closing the window while a try waits would leave that try's answer
// with nobody to take it: the try ends first.
void LoginDialog::reject()
{
    if (!trying_)
        QDialog::reject();
}

void LoginDialog::EditSettings()
{
    if (!user_)
        return;
    ConnectionSettingsDialog dialog(user_->Settings(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ConnectionSettings settings = dialog.Settings();
    settings.Save();
    settings.source = ConnectionSettings::SettingsFilePath();
    user_->SetSettings(settings);
    database_->setText(DescribeDatabase(settings));
    problem_->hide();
    adjustSize();
}

// The window grows to show the problem beside what it shows already,
// instead of squeezing the boxes and the database's name.
void LoginDialog::ShowProblem(const QString& text)
{
    problem_->setText(text);
    problem_->show();
    adjustSize();
}

} // namespace app
