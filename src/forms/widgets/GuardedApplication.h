#pragma once

#include <QApplication>

namespace forms {

class Prompts;

// The program's application object. A failure that no action caught must not
// cross Qt's event loop (Qt does not allow it, and the program would end with
// the request on the screen lost): it stops at the event that caused it,
// its text is shown through the prompts, and the program goes on.
class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int& argc, char** argv);

    // Where such failures are shown; until one is set, nothing is caught.
    void SetPrompts(Prompts* prompts) { prompts_ = prompts; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void Report(const QString& text);

    Prompts* prompts_ = nullptr;
};

} // namespace forms
