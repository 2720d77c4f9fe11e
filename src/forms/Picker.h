#pragma once

#include "forms/Control.h"

#include <QList>
#include <QString>

namespace forms {

// One row of a picker's list: what it shows and an optional hidden value
// (a location's name and its ID, for instance).
struct PickerRow {
    QString text;
    QString value;

    bool operator==(const PickerRow&) const = default;
};

// A drop-down list whose text can also be typed. The tag is the screen's
// own note on the picker (the chosen location's ID); nothing but screen
// logic changes it, so choosing a row sets the text and leaves the tag.
class Picker : public Control {
    Q_OBJECT
public:
    explicit Picker(QObject* parent = nullptr);

    const QList<PickerRow>& Rows() const { return rows_; }
    void SetRows(const QList<PickerRow>& rows);
    void ClearRows() { SetRows({}); }

    const QString& Text() const { return text_; }
    void SetText(const QString& text);

    // Chooses a row of the list, as the user does in the drop-down: the
    // text becomes the row's text. Out-of-range indexes do nothing.
    void Choose(int index);
    // The index of the first row whose text equals the displayed text
    // exactly, -1 when the text was typed and matches no row.
    int CurrentIndex() const;
    // The hidden value of that row, empty when there is none.
    QString CurrentValue() const;

    const QString& Tag() const { return tag_; }
    void SetTag(const QString& tag);

signals:
    void rowsChanged();
    void textChanged(const QString& text);
    void tagChanged(const QString& tag);
    // A row was chosen from the list (after textChanged).
    void chosen(int index);

private:
    QList<PickerRow> rows_;
    QString text_;
    QString tag_;
};

} // namespace forms
