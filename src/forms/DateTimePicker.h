#pragma once

#include "forms/Control.h"

#include <QDateTime>
#include <QString>

namespace forms {

// A date-time picker: its value, shown in a display pattern, and an upper
// bound on what the user may pick (none when invalid).
class DateTimePicker : public Control {
    Q_OBJECT
public:
    explicit DateTimePicker(QObject* parent = nullptr);

    const QDateTime& Value() const { return value_; }
    void SetValue(const QDateTime& value);

    // Qt's date-time pattern of the displayed text.
    const QString& DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(const QString& format);

    const QDateTime& MaxDate() const { return maxDate_; }
    void SetMaxDate(const QDateTime& maxDate);

signals:
    void valueChanged(const QDateTime& value);
    void displayFormatChanged(const QString& format);
    void maxDateChanged(const QDateTime& maxDate);

private:
    QDateTime value_;
    QString displayFormat_;
    QDateTime maxDate_;
};

} // namespace forms
