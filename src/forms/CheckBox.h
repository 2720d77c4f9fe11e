#pragma once

#include "forms/Control.h"

#include <QString>

namespace forms {

// A tick box with a caption.
class CheckBox : public Control {
    Q_OBJECT
public:
    explicit CheckBox(QObject* parent = nullptr);
    explicit CheckBox(const QString& caption, QObject* parent = nullptr);

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    bool IsChecked() const { return checked_; }
    // Sets the tick from code; checkedChanged follows any change.
    void SetChecked(bool checked);
    // The user clicks the box: toggles the tick when the box is enabled and
    // visible, then reports the click. Returns false when it could not.
    bool Click();
    // The user's click has left the box ticked or not (the widget has
    // toggled already): sets the tick and reports the click.
    void ClickTo(bool checked);

signals:
    void captionChanged(const QString& caption);
    void checkedChanged(bool checked);
    void clicked();

private:
    QString caption_;
    bool checked_ = false;
};

} // namespace forms
