#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace forms {

class KeyPreview;

// Puts a KeyPreview in front of every field of a window: each key pressed
// in the window passes here before the focused widget sees it. Enter is
// consumed and handed to the preview; a typed text is replaced by its
// translation (apostrophes dropped, letters upper-cased), delivered to the
// focused widget as a new key event. Nothing happens while the preview is
// switched off.
class KeyPreviewFilter : public QObject {
    Q_OBJECT
public:
    KeyPreviewFilter(QWidget* window, KeyPreview& preview);
    ~KeyPreviewFilter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    KeyPreview& preview_;
};

} // namespace forms
