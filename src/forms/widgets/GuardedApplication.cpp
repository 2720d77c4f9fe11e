#include "forms/widgets/GuardedApplication.h"

#include "forms/Prompts.h"

#include <cstdio>
#include <exception>

namespace forms {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    if (!prompts_)
        return QApplication::notify(receiver, event);
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        Report(QString::fromStdString(failure.what()));
    } catch (...) {
        Report(QStringLiteral("An unexpected error occurred."));
    }
    return false;
}

void GuardedApplication::Report(const QString& text)
{
    // The message box runs an event loop of its own; a failure while it
    // shows is caught here again, one level down.
    try {
        prompts_->Tell(text, Icon::Critical);
    } catch (...) {
        std::fprintf(stderr, "tessary: %s\n", qPrintable(text));
    }
}

} // namespace forms
