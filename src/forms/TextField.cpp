#include "forms/TextField.h"

namespace forms {

TextField::TextField(QObject* parent) : Control(parent) {}

void TextField::SetText(const QString& text)
{
    const QString cut = maxLength_ > 0 ? text.left(maxLength_) : text;
    if (cut == text_)
        return;
    text_ = cut;
    emit textChanged(text_);
}

void TextField::SetMaxLength(int maxLength)
{
    maxLength = qMax(0, maxLength);
    if (maxLength == maxLength_)
        return;
    maxLength_ = maxLength;
    emit maxLengthChanged(maxLength_);
    if (maxLength_ > 0 && text_.size() > maxLength_)
        SetText(text_);
}

void TextField::SetLocked(bool locked)
{
    if (locked == locked_)
        return;
    locked_ = locked;
    emit lockedChanged(locked_);
}

} // namespace forms
