#include "forms/FocusChain.h"

#include "forms/Control.h"

#include <utility>

namespace forms {

FocusChain::FocusChain(QObject* parent) : QObject(parent) {}

FocusChain::~FocusChain()
{
    for (Control* control : order_)
        control->chain_ = nullptr;
}

void FocusChain::Add(Control* control)
{
    if (!control || control->chain_ == this)
        return;
    Q_ASSERT(!control->chain_);
    control->chain_ = this;
    order_.append(control);
    connect(control, &QObject::destroyed, this, &FocusChain::Forget);
}

void FocusChain::Add(std::initializer_list<Control*> controls)
{
    for (Control* control : controls)
        Add(control);
}

void FocusChain::SetLeaveCheck(Control* control, LeaveCheck check)
{
    leaveChecks_.insert(control, std::move(check));
}

void FocusChain::SetAvailability(std::function<bool(const Control*)> available)
{
    available_ = std::move(available);
}

bool FocusChain::CanFocus(const Control* control) const
{
    return control->CanTakeFocus() && (!available_ || available_(control));
}

bool FocusChain::Focus(Control* control)
{
    if (!control || control->chain_ != this || !CanFocus(control) || checking_)
        return false;
    if (control == current_) {
        emit focusRequested(current_);
        return true;
    }
    if (current_) {
        const auto check = leaveChecks_.constFind(current_);
        if (check != leaveChecks_.constEnd() && *check) {
            checking_ = true;
            target_ = control;
            const bool mayLeave = (*check)();
            target_ = nullptr;
            checking_ = false;
            if (!mayLeave) {
                if (current_)
                    emit focusRequested(current_);
                return FollowRedirect(false);
            }
        }
    }
    // The check may itself have moved the focus or disabled the target.
    if (!CanFocus(control))
        return FollowRedirect(false);
    Control* previous = current_;
    current_ = control;
    emit currentChanged(previous, current_);
    emit focusRequested(current_);
    return FollowRedirect(true) && current_ == control;
}

// Sends the focus where a leave check asked, now that the move it ran in is
// over; gives back whether that move was made.
bool FocusChain::FollowRedirect(bool moved)
{
    if (Control* redirect = std::exchange(redirect_, nullptr))
        Focus(redirect);
    return moved;
}

Control* FocusChain::NextAfter(const Control* control) const
{
    const int count = int(order_.size());
    const int start = int(order_.indexOf(const_cast<Control*>(control)));
    for (int step = 1; step <= count; ++step) {
        Control* candidate = order_[(start + step + count) % count];
        if (candidate != control && CanFocus(candidate))
            return candidate;
    }
    return nullptr;
}

bool FocusChain::FocusNext()
{
    Control* next = NextAfter(current_);
    return next && Focus(next);
}

void FocusChain::ClearFocus()
{
    if (!current_)
        return;
    Control* previous = current_;
    current_ = nullptr;
    emit currentChanged(previous, nullptr);
}

void FocusChain::Forget(QObject* control)
{
    order_.removeIf([control](Control* c) { return c == control; });
    leaveChecks_.remove(static_cast<Control*>(control));
    if (current_ == control)
        current_ = nullptr;
}

} // namespace forms
