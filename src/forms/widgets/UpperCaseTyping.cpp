#include "forms/widgets/UpperCaseTyping.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace forms {

namespace {

class UpperCaseFilter : public QObject {
public:
    explicit UpperCaseFilter(QWidget* field) : QObject(field) { field->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString upper = key->text().toUpper();
        // The replacement comes round through this filter and passes.
        if (upper == key->text())
            return false;
        QKeyEvent replacement(QEvent::KeyPress, key->key(), key->modifiers(), upper, key->isAutoRepeat(),
                              ushort(key->count()));
        QCoreApplication::sendEvent(watched, &replacement);
        return true;
    }
};

} // namespace

void UpperCaseTyping(QWidget* field)
{
    new UpperCaseFilter(field);
}

} // namespace forms
