#include "forms/OptionGroup.h"

namespace forms {

OptionGroup::OptionGroup(QObject* parent) : Control(parent) {}

OptionGroup::OptionGroup(const QStringList& captions, QObject* parent) : Control(parent)
{
    SetOptions(captions);
}

void OptionGroup::SetOptions(const QStringList& captions)
{
    options_.clear();
    for (const QString& caption : captions)
        options_.append(Option{caption});
    selected_ = -1;
    emit optionsChanged();
    emit selectedChanged(-1);
}

QString OptionGroup::Caption(int index) const
{
    return InRange(index) ? options_[index].caption : QString();
}

void OptionGroup::SetCaption(int index, const QString& caption)
{
    if (!InRange(index) || options_[index].caption == caption)
        return;
    options_[index].caption = caption;
    emit optionChanged(index);
}

bool OptionGroup::IsOptionEnabled(int index) const
{
    return InRange(index) && options_[index].enabled;
}

void OptionGroup::SetOptionEnabled(int index, bool enabled)
{
    if (!InRange(index) || options_[index].enabled == enabled)
        return;
    options_[index].enabled = enabled;
    emit optionChanged(index);
}

bool OptionGroup::IsOptionVisible(int index) const
{
    return InRange(index) && options_[index].visible;
}

void OptionGroup::SetOptionVisible(int index, bool visible)
{
    if (!InRange(index) || options_[index].visible == visible)
        return;
    options_[index].visible = visible;
    emit optionChanged(index);
}

bool OptionGroup::CanSelect(int index) const
{
    return CanTakeFocus() && IsOptionEnabled(index) && IsOptionVisible(index);
}

void OptionGroup::Select(int index)
{
    if (index != -1 && !InRange(index))
        return;
    if (index == selected_)
        return;
    selected_ = index;
    emit selectedChanged(index);
}

bool OptionGroup::Click(int index)
{
    if (!CanSelect(index))
        return false;
    Select(index);
    emit clicked(index);
    return true;
}

} // namespace forms
