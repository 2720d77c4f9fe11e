#include "forms/widgets/KeyPreviewFilter.h"

#include "forms/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace forms {

namespace {

bool IsTypedText(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (!c.isPrint())
            return false;
    }
    return true;
}

} // namespace

// A filter on the application sees a key before the focused widget does;
// a filter on the window itself would only see the keys the field ignored.
KeyPreviewFilter::KeyPreviewFilter(QWidget* window, KeyPreview& preview)
    : QObject(window), window_(window), preview_(preview)
{
    qApp->installEventFilter(this);
}

KeyPreviewFilter::~KeyPreviewFilter()
{
    qApp->removeEventFilter(this);
}

bool KeyPreviewFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !window_ || !preview_.IsEnabled())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        preview_.PressEnter();
        return true;
    }
    if (!IsTypedText(key->text()))
        return false;
    const QString translated = KeyPreview::Translate(key->text());
    // A text that is already what the field should get passes; so does the
    // replacement sent below, when it comes round through this filter.
    if (translated == key->text())
        return false;
    if (!translated.isEmpty()) {
        QKeyEvent replacement(QEvent::KeyPress, key->key(), key->modifiers(), translated, key->isAutoRepeat(),
                              ushort(key->count()));
        QCoreApplication::sendEvent(watched, &replacement);
    }
    return true;
}

} // namespace forms
