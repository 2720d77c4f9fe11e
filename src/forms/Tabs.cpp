#include "forms/Tabs.h"

namespace forms {

Tabs::Tabs(QObject* parent) : Control(parent) {}

Tabs::Tabs(const QStringList& captions, QObject* parent) : Control(parent), captions_(captions) {}

void Tabs::SetCaptions(const QStringList& captions)
{
    if (captions == captions_)
        return;
    captions_ = captions;
    emit captionsChanged();
    if (current_ >= Count() && Count() > 0)
        SetCurrent(Count() - 1);
}

void Tabs::SetCaption(int index, const QString& caption)
{
    if (index < 0 || index >= Count() || captions_[index] == caption)
        return;
    captions_[index] = caption;
    emit captionsChanged();
}

void Tabs::SetCurrent(int index)
{
    if (index < 0 || index >= Count() || index == current_)
        return;
    const int previous = current_;
    current_ = index;
    emit currentChanged(previous, current_);
}

} // namespace forms
