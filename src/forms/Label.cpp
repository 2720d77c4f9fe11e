#include "forms/Label.h"

namespace forms {

Label::Label(QObject* parent) : Control(parent) {}

Label::Label(const QString& caption, QObject* parent) : Control(parent), caption_(caption) {}

void Label::SetCaption(const QString& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    emit captionChanged(caption_);
}

} // namespace forms
