#pragma once

#include <QString>

namespace forms {

// Shown on every message box that has no title of its own.
inline const QString kApplicationTitle = QStringLiteral("Tessary");

enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    QString text;
    QString title = kApplicationTitle;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
};

// The port through which logic shows message boxes. The real one shows a
// QMessageBox; tests answer from a script.
class Prompts {
public:
    virtual ~Prompts() = default;
    virtual Answer Show(const Message& message) = 0;

    // A message with an OK button.
    void Tell(const QString& text, Icon icon = Icon::None, const QString& title = kApplicationTitle)
    {
        Show({text, title, icon, Buttons::Ok});
    }
    // A Yes/No question; true for Yes.
    bool AskYesNo(const QString& text, const QString& title = kApplicationTitle,
                  Icon icon = Icon::Question)
    {
        return Show({text, title, icon, Buttons::YesNo}) == Answer::Yes;
    }
};

} // namespace forms
