#pragma once

#include <QObject>

namespace forms {

class FocusChain;

// What every control model shares: whether the control is enabled and
// visible. Screen logic sets these; the widget side only follows them, so
// a widget hidden because its tab page is not showing never hides the model.
class Control : public QObject {
    Q_OBJECT
public:
    explicit Control(QObject* parent = nullptr);

    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool IsVisible() const { return visible_; }
    void SetVisible(bool visible);

    // A control can take the focus when it is enabled and visible.
    bool CanTakeFocus() const { return enabled_ && visible_; }

    // The focus chain the control was added to, if any.
    FocusChain* Chain() const { return chain_; }
    // True while this control holds the focus of its chain.
    bool HasFocus() const;

signals:
    void enabledChanged(bool enabled);
    void visibleChanged(bool visible);

private:
    friend class FocusChain;
    bool enabled_ = true;
    bool visible_ = true;
    FocusChain* chain_ = nullptr;
};

} // namespace forms
