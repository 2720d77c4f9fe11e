#include "forms/Control.h"

#include "forms/FocusChain.h"

namespace forms {

Control::Control(QObject* parent) : QObject(parent) {}

void Control::SetEnabled(bool enabled)
{
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    emit enabledChanged(enabled);
}

void Control::SetVisible(bool visible)
{
    if (visible_ == visible)
        return;
    visible_ = visible;
    emit visibleChanged(visible);
}

bool Control::HasFocus() const
{
    return chain_ && chain_->Current() == this;
}

} // namespace forms
