#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace forms {

class Control;
class FocusChain;

// Keeps a window's real focus and its focus chain in step. A widget that
// gets the focus from the user (Tab, a mouse click) moves the chain to its
// control, which runs the leave check of the control being left; when the
// check refuses, the focus goes back. A move made through the chain (Enter,
// screen logic) puts the real focus on the control's widget.
//
// Widgets are found through the mark their binder left (ControlOf), so
// bind the widgets first; nothing needs registering here.
class FocusSync : public QObject {
    Q_OBJECT
public:
    FocusSync(QWidget* window, FocusChain& chain);
    ~FocusSync() override;

    // The widget showing a control in this window, or none.
    QWidget* WidgetOf(const Control* control) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GiveFocus(Control* control);

    QPointer<QWidget> window_;
    FocusChain& chain_;
};

// Keeps a dialog window's focus in step with its chain (as FocusSync) and
// opens it where the dialog's load put the focus.
void SyncFocusFromTheStart(QWidget* window, FocusChain& chain);

} // namespace forms
