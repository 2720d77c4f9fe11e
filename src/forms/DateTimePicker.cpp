#include "forms/DateTimePicker.h"

namespace forms {

DateTimePicker::DateTimePicker(QObject* parent) : Control(parent) {}

void DateTimePicker::SetValue(const QDateTime& value)
{
    QDateTime bounded = value;
    if (maxDate_.isValid() && bounded.isValid() && bounded > maxDate_)
        bounded = maxDate_;
    if (bounded == value_)
        return;
    value_ = bounded;
    emit valueChanged(value_);
}

void DateTimePicker::SetDisplayFormat(const QString& format)
{
    if (format == displayFormat_)
        return;
    displayFormat_ = format;
    emit displayFormatChanged(displayFormat_);
}

void DateTimePicker::SetMaxDate(const QDateTime& maxDate)
{
    if (maxDate == maxDate_)
        return;
    maxDate_ = maxDate;
    emit maxDateChanged(maxDate_);
    if (maxDate_.isValid() && value_.isValid() && value_ > maxDate_)
        SetValue(maxDate_);
}

} // namespace forms
