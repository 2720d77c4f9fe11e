#include "forms/widgets/MessageBoxPrompts.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace forms {

namespace {

QMessageBox::Icon BoxIcon(Icon icon)
{
    switch (icon) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton first;
    QMessageBox::StandardButton escape;
};

ButtonSet BoxButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
    case Buttons::OkCancel:
        return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::YesNo:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
    case Buttons::YesNoCancel:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::Cancel};
    }
    return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
}

Answer AnswerOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

} // namespace

MessageBoxPrompts::MessageBoxPrompts(QWidget* parent) : parent_(parent) {}

Answer MessageBoxPrompts::Show(const Message& message)
{
    const ButtonSet set = BoxButtons(message.buttons);
    QMessageBox box(BoxIcon(message.icon), message.title, message.text, set.buttons, parent_);
    box.setDefaultButton(set.first);
    box.setEscapeButton(set.escape);
    box.exec();
    // Give the keyboard back to the window the box stood over; without a
    // window manager nobody else would.
    if (parent_)
        parent_->window()->activateWindow();
    QAbstractButton* clicked = box.clickedButton();
    return AnswerOf(clicked ? box.standardButton(clicked) : set.escape);
}

} // namespace forms
