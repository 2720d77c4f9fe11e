#include "forms/KeyPreview.h"

#include "forms/Button.h"
#include "forms/FocusChain.h"

namespace forms {

KeyPreview::KeyPreview(FocusChain& chain, QObject* parent) : QObject(parent), chain_(chain) {}

void KeyPreview::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    emit enabledChanged(enabled_);
}

QString KeyPreview::Translate(const QString& typed)
{
    QString text = typed;
    text.remove(QLatin1Char('\''));
    return text.toUpper();
}

void KeyPreview::SetEnterAction(const Control* control, std::function<void()> action)
{
    enterActions_.insert(control, std::move(action));
}

void KeyPreview::PressEnter()
{
    const auto action = enterActions_.constFind(chain_.Current());
    if (action != enterActions_.constEnd() && *action) {
        (*action)();
        return;
    }
    // A button takes Enter as a press, as it would without the preview.
    if (auto* button = qobject_cast<Button*>(chain_.Current())) {
        button->Click();
        return;
    }
    chain_.FocusNext();
}

} // namespace forms
