#include "forms/widgets/FocusSync.h"

#include "forms/Button.h"
#include "forms/FocusChain.h"
#include "forms/widgets/Binders.h"

#include <QApplication>
#include <QFocusEvent>
#include <QRadioButton>
#include <QWidget>

namespace forms {

FocusSync::FocusSync(QWidget* window, FocusChain& chain) : QObject(window), window_(window), chain_(chain)
{
    qApp->installEventFilter(this);
    connect(&chain_, &FocusChain::focusRequested, this, &FocusSync::GiveFocus);
}

FocusSync::~FocusSync()
{
    qApp->removeEventFilter(this);
}

QWidget* FocusSync::WidgetOf(const Control* control) const
{
    if (!window_ || !control)
        return nullptr;
    QWidget* first = nullptr;
    const auto children = window_->findChildren<QWidget*>();
    for (QWidget* widget : children) {
        if (ControlOf(widget) != control || (widget->parentWidget() && ControlOf(widget->parentWidget()) == control))
            continue;
        // Of an option group's buttons, the selected one takes the focus.
        const auto* radio = qobject_cast<QRadioButton*>(widget);
        if (radio && radio->isChecked())
            return widget;
        if (!first && widget->isEnabled())
            first = widget;
    }
    return first;
}

void FocusSync::GiveFocus(Control* control)
{
    QWidget* widget = WidgetOf(control);
    if (!widget)
        return;
    QWidget* focused = QApplication::focusWidget();
    if (focused && (focused == widget || widget->isAncestorOf(focused)))
        return;
    widget->setFocus(Qt::OtherFocusReason);
}

bool FocusSync::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusIn || !window_)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_)
        return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // The window getting the focus back (after a message box, say) returns
    // it to where it was: no move of the user's.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;
    Control* control = ControlOf(widget);
    if (!control || control->Chain() != &chain_)
        return false;
    // A mouse press on a button only gives it the focus; the click that
    // follows moves the chain (Button::Click), so the check runs once.
    if (reason == Qt::MouseFocusReason && qobject_cast<Button*>(control))
        return false;
    chain_.Focus(control);
    return false;
}

void SyncFocusFromTheStart(QWidget* window, FocusChain& chain)
{
    new FocusSync(window, chain);
    if (chain.Current())
        emit chain.focusRequested(chain.Current());
}

} // namespace forms
