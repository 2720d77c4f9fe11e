#include "forms/Picker.h"

namespace forms {

Picker::Picker(QObject* parent) : Control(parent) {}

void Picker::SetRows(const QList<PickerRow>& rows)
{
    if (rows == rows_)
        return;
    rows_ = rows;
    emit rowsChanged();
}

void Picker::SetText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    emit textChanged(text_);
}

void Picker::Choose(int index)
{
    if (index < 0 || index >= rows_.size())
        return;
    SetText(rows_[index].text);
    emit chosen(index);
}

int Picker::CurrentIndex() const
{
    for (int i = 0; i < rows_.size(); ++i) {
        if (rows_[i].text == text_)
            return i;
    }
    return -1;
}

QString Picker::CurrentValue() const
{
    const int index = CurrentIndex();
    return index < 0 ? QString() : rows_[index].value;
}

void Picker::SetTag(const QString& tag)
{
    if (tag == tag_)
        return;
    tag_ = tag;
    emit tagChanged(tag_);
}

} // namespace forms
