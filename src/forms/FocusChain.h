#pragma once

#include <QHash>
#include <QList>
#include <QObject>

#include <functional>

namespace forms {

class Control;

// A screen's tab order and its focus, kept apart from any widget. Moving to
// "the next field" (what Enter does on the request screen) takes the next
// control in order that is enabled and visible, wrapping at the end.
//
// A control can have a leave check: it runs whenever the focus is about to
// move from that control to another one, and a false result keeps the focus
// where it is (a field that refuses its text). The widget side follows the
// chain through focusRequested, and reports the user's own focus moves with
// Focus().
class FocusChain : public QObject {
    Q_OBJECT
public:
    using LeaveCheck = std::function<bool()>;

    explicit FocusChain(QObject* parent = nullptr);
    ~FocusChain() override;

    // Appends controls to the tab order; a control belongs to one chain.
    void Add(Control* control);
    void Add(std::initializer_list<Control*> controls);
    const QList<Control*>& Order() const { return order_; }

    void SetLeaveCheck(Control* control, LeaveCheck check);

    // A further test a control must pass to take the focus, on top of being
    // enabled and visible: a screen with tab pages admits only the controls
    // of the page showing and those outside the pages.
    void SetAvailability(std::function<bool(const Control*)> available);
    bool CanFocus(const Control* control) const;

    // The control holding the focus, or none.
    Control* Current() const { return current_; }
    // While a leave check runs: the control the focus is about to move to.
    Control* Target() const { return target_; }
    // From a leave check: once the move under way has been made or refused,
    // the focus goes to this control instead (a check that ends by sending
    // the user to another field).
    void RedirectAfterMove(Control* control) { redirect_ = control; }

    // Moves the focus to a control of the chain. Returns true when the
    // control holds the focus afterwards: false when the control cannot
    // take it, the leave check of the current control refused, or the check
    // sent the focus elsewhere.
    bool Focus(Control* control);
    // Moves the focus to the next control that can take it, wrapping; from
    // no focus, to the first. Returns false when the focus did not move.
    bool FocusNext();
    // The control FocusNext would move to, or none.
    Control* NextAfter(const Control* control) const;

    // Forgets the focus without running any check (the window lost it).
    void ClearFocus();

signals:
    void currentChanged(forms::Control* previous, forms::Control* current);
    // The widget side should give the real focus to this control: sent
    // after every move made through the chain, and after a refused move
    // so the focus returns to the control that kept it.
    void focusRequested(forms::Control* control);

private:
    void Forget(QObject* control);
    bool FollowRedirect(bool moved);

    QList<Control*> order_;
    QHash<const Control*, LeaveCheck> leaveChecks_;
    std::function<bool(const Control*)> available_;
    Control* current_ = nullptr;
    Control* target_ = nullptr;
    Control* redirect_ = nullptr;
    // Set while a leave check runs: a check that shows a message box makes
    // the window lose and regain the focus, which must not start another
    // check.
    bool checking_ = false;
};

} // namespace forms
