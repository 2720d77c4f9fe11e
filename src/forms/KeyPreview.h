#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

namespace forms {

class Control;
class FocusChain;

// The keyboard handling of a screen that sees every key before the focused
// field: Enter moves to the next field, the apostrophe never reaches a
// field (statement texts are built with it as the quote), and every other
// typed character arrives upper-cased. A field can give Enter a meaning of
// its own. The screen switches the preview off while a control that needs
// the raw keys (the lines grid) has the focus.
class KeyPreview : public QObject {
    Q_OBJECT
public:
    explicit KeyPreview(FocusChain& chain, QObject* parent = nullptr);

    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // What a typed text becomes: apostrophes dropped, the rest upper-cased.
    static QString Translate(const QString& typed);

    // Enter on this control runs the action instead of moving on.
    void SetEnterAction(const Control* control, std::function<void()> action);
    // Enter was pressed: the focused control's own action, a press of the
    // focused button, or the next field.
    void PressEnter();

signals:
    void enabledChanged(bool enabled);

private:
    FocusChain& chain_;
    bool enabled_ = true;
    QHash<const Control*, std::function<void()>> enterActions_;
};

} // namespace forms
