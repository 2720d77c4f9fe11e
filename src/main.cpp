#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "app/Startup.h"
#include "app/widgets/LoginDialog.h"
#include "app/widgets/TabKeySender.h"
#include "db/DbError.h"
#include "forms/widgets/MessageBoxPrompts.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <memory>

namespace {

QString MainCaption(const QString& clientCode)
{
    return clientCode == QLatin1String("QORVIN") ? QStringLiteral("Visual Orvalis - Stock Request")
                                                 : QStringLiteral("Visual Orvalis - Tessary");
}

// The main window until the request screen stands: the caption, who is
// logged in and where.
std::unique_ptr<QMainWindow> OpenMainWindow(const app::SessionContext& session)
{
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(MainCaption(session.ClientCode));
    auto* label = new QLabel(QObject::tr("<h2>%1</h2><p>%2</p><p>Logged in as <b>%3</b>.</p>")
                                 .arg(session.HospitalCompany.toHtmlEscaped(),
                                      session.HospitalAddress.toHtmlEscaped(),
                                      session.currentUser->EmployeeCode().toHtmlEscaped()));
    label->setAlignment(Qt::AlignCenter);
    window->setCentralWidget(label);
    window->resize(900, 600);
    window->show();
    return window;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessary"));

    forms::MessageBoxPrompts prompts(nullptr);
    app::TabKeySender shell;
    app::LoginDialog login;
    app::CurrentUser user(&login);
    app::SessionContext& session = app::Session();
    std::unique_ptr<QMainWindow> mainWindow;

    try {
        const bool started = app::RunStartup(session, user, shell, prompts,
                                             [&] { mainWindow = OpenMainWindow(session); });
        if (!started)
            return 0;
    } catch (const db::DbError& e) {
        prompts.Tell(e.Description());
        return 1;
    }
    return application.exec();
}
