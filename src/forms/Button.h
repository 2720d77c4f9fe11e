#pragma once

#include "forms/Control.h"

#include <QString>

namespace forms {

// A push button. The caption keeps its "&" accelerator marker as Qt shows
// it ("&Save"); CaptionText() gives it without the marker.
class Button : public Control {
    Q_OBJECT
public:
    explicit Button(QObject* parent = nullptr);
    explicit Button(const QString& caption, QObject* parent = nullptr);

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // The caption as read on screen: "&&" is one "&", a single "&" is gone.
    QString CaptionText() const;

    // The default button is the one Enter presses in a dialog.
    bool IsDefault() const { return default_; }
    void SetDefault(bool isDefault);

    // The user presses the button. Nothing happens when it is disabled or
    // hidden. In a focus chain the press first takes the focus, so the
    // field being left is checked as it would be by a mouse click; when
    // that check keeps the focus where it is, the press is dropped.
    // Returns true when clicked() was emitted.
    bool Click();

signals:
    void captionChanged(const QString& caption);
    void defaultChanged(bool isDefault);
    void clicked();

private:
    QString caption_;
    bool default_ = false;
};

} // namespace forms
