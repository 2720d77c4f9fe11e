#pragma once

#include "forms/Control.h"

#include <QString>

namespace forms {

// A text box: its text, a maximum length (0 = none), locked (read-only but
// still focusable) and whether entering it selects the whole text.
class TextField : public Control {
    Q_OBJECT
public:
    explicit TextField(QObject* parent = nullptr);

    const QString& Text() const { return text_; }
    // A text longer than the maximum length is cut to it, as typing could
    // not have produced it.
    void SetText(const QString& text);
    void Clear() { SetText(QString()); }

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength);

    bool IsLocked() const { return locked_; }
    void SetLocked(bool locked);

    bool SelectsAllOnFocus() const { return selectAllOnFocus_; }
    void SetSelectAllOnFocus(bool selectAll) { selectAllOnFocus_ = selectAll; }

signals:
    void textChanged(const QString& text);
    void maxLengthChanged(int maxLength);
    void lockedChanged(bool locked);

private:
    QString text_;
    int maxLength_ = 0;
    bool locked_ = false;
    bool selectAllOnFocus_ = false;
};

} // namespace forms
