#include "forms/CheckBox.h"

namespace forms {

CheckBox::CheckBox(QObject* parent) : Control(parent) {}

CheckBox::CheckBox(const QString& caption, QObject* parent) : Control(parent), caption_(caption) {}

void CheckBox::SetCaption(const QString& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    emit captionChanged(caption_);
}

void CheckBox::SetChecked(bool checked)
{
    if (checked == checked_)
        return;
    checked_ = checked;
    emit checkedChanged(checked_);
}

bool CheckBox::Click()
{
    if (!CanTakeFocus())
        return false;
    ClickTo(!checked_);
    return true;
}

void CheckBox::ClickTo(bool checked)
{
    SetChecked(checked);
    emit clicked();
}

} // namespace forms
