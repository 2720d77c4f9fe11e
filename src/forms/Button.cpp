#include "forms/Button.h"

#include "forms/FocusChain.h"

namespace forms {

Button::Button(QObject* parent) : Control(parent) {}

Button::Button(const QString& caption, QObject* parent) : Control(parent), caption_(caption) {}

void Button::SetCaption(const QString& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    emit captionChanged(caption_);
}

QString Button::CaptionText() const
{
    QString text;
    for (qsizetype i = 0; i < caption_.size(); ++i) {
        if (caption_[i] == QLatin1Char('&') && i + 1 < caption_.size())
            ++i;
        else if (caption_[i] == QLatin1Char('&'))
            continue;
        text += caption_[i];
    }
    return text;
}

void Button::SetDefault(bool isDefault)
{
    if (isDefault == default_)
        return;
    default_ = isDefault;
    emit defaultChanged(default_);
}

bool Button::Click()
{
    if (!CanTakeFocus())
        return false;
    if (Chain() && !Chain()->Focus(this))
        return false;
    emit clicked();
    return true;
}

} // namespace forms
