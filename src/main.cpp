#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "app/Startup.h"
#include "app/widgets/LoginDialog.h"
#include "app/widgets/ProgramIcon.h"
#include "base/Memory.h"
#include "db/DbError.h"
#include "dialogs/ItemLookup.h"
#include "dialogs/KitPicker.h"
#include "dialogs/ReferenceLookup.h"
#include "dialogs/SupervisorPassword.h"
#include "dialogs/widgets/ItemLookupView.h"
#include "dialogs/widgets/KitPickerView.h"
#include "dialogs/widgets/ReferenceLookupView.h"
#include "dialogs/widgets/SupervisorPasswordView.h"
#include "forms/widgets/GuardedApplication.h"
#include "forms/widgets/MessageBoxPrompts.h"
#include "forms/widgets/WidgetDialogHost.h"
#include "reports/widgets/WidgetViewerOpener.h"
#include "requests/IssueDialog.h"
#include "requests/RequestScreen.h"
#include "requests/widgets/IssueDialogView.h"
#include "requests/widgets/RequestScreenView.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <QPointer>
#include <memory>

namespace {

// The request screen's message boxes and dialogs stand over its window,
// which can only be built after the screen that it shows; until then they
// open without a parent.
class WindowPrompts : public forms::Prompts {
public:
    void SetWindow(QWidget* window) { window_ = window; }
    forms::Answer Show(const forms::Message& message) override
    {
        return forms::MessageBoxPrompts(window_).Show(message);
    }

private:
    QPointer<QWidget> window_;
};

class WindowDialogs : public forms::DialogHost {
public:
    WindowDialogs() { SetWindow(nullptr); }

    void SetWindow(QWidget* window)
    {
        host_ = std::make_unique<forms::WidgetDialogHost>(window);
        host_->Register<dialogs::SupervisorPassword>(&dialogs::MakeSupervisorPasswordView);
        host_->Register<dialogs::ItemLookup>(&dialogs::MakeItemLookupView);
        host_->Register<dialogs::KitPicker>(&dialogs::MakeKitPickerView);
        host_->Register<dialogs::ReferenceLookup>(&dialogs::MakeReferenceLookupView);
        host_->Register<requests::IssueDialog>(&requests::MakeIssueDialogView);
    }

    forms::DialogResult Run(forms::DialogLogic& dialog) override { return host_->Run(dialog); }

private:
    std::unique_ptr<forms::WidgetDialogHost> host_;
};

// Everything the request screen needs, alive until the program ends. The
// window goes before the screen it binds to.
struct RequestWindow {
    WindowPrompts prompts;
    WindowDialogs dialogs;
    reports::WidgetViewerOpener viewers;
    std::unique_ptr<requests::RequestScreen> screen;
    std::unique_ptr<requests::RequestScreenView> view;

    void Open(app::SessionContext& session)
    {
        screen = std::make_unique<requests::RequestScreen>(session, prompts, dialogs, viewers);
        view = std::make_unique<requests::RequestScreenView>(*screen);
        prompts.SetWindow(view.get());
        dialogs.SetWindow(view.get());
        screen->Load();
        view->show();
        view->activateWindow();
    }
};

const char* const kHelp =
    "Usage: tessary [--help | --version]\n"
    "Starts the stock request client: it asks for a user ID and password, then opens the request\n"
    "screen on the database chosen with the Connection... button of the log-in window (without one,\n"
    "the computer's, set by 'tessary-admin connect --system'; without that, the file that\n"
    "'tessary-admin default-path' prints).\n";

// Answers --help and --version on the terminal, before any window (and
// without a display); true when it did.
bool AnsweredOnTheTerminal(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tessary %s\n", TESSARY_VERSION);
            return true;
        }
    }
    return false;
}

// Until the application has its display, Qt's complaints about it (and the
// abort that follows when there is none) become one line and exit status 2.
void StartupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr, "tessary: no display to open windows on (%s)\n",
                     display.isEmpty() ? "DISPLAY is not set" : ("DISPLAY is " + display).constData());
        std::_Exit(2);
    }
    if (context.category && qstrncmp(context.category, "qt.qpa", 6) == 0)
        return;  // the platform plugin's own account of the same failure
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    base::KeepFreedMemory();
    if (AnsweredOnTheTerminal(argc, argv))
        return 0;
    qInstallMessageHandler(StartupMessages);
    forms::GuardedApplication application(argc, argv);
    qInstallMessageHandler(nullptr);
    QApplication::setApplicationName(QStringLiteral("Tessary"));
    // The windows carry the icon, and the desktop matches them to the menu
    // entry that started them.
    QApplication::setWindowIcon(app::ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("tessary"));
    // The program ends when the request window has closed and no report
    // viewer (a top-level window of its own) is left open.
    QApplication::setQuitOnLastWindowClosed(true);

    forms::MessageBoxPrompts prompts(nullptr);
    app::LoginDialog login;
    app::CurrentUser user(&login);
    app::SessionContext session;
    RequestWindow requestWindow;
    // Failures that no action caught are shown over the request window.
    application.SetPrompts(&requestWindow.prompts);

    try {
        const bool started =
            app::RunStartup(session, user, prompts, [&] { requestWindow.Open(session); });
        if (!started)
            return 0;
    } catch (const db::DbError& e) {
        prompts.Tell(e.Description());
        return 1;
    }
    return application.exec();
}
