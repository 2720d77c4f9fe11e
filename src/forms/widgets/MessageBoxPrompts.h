#pragma once

#include "forms/Prompts.h"

#include <QPointer>

class QWidget;

namespace forms {

// The prompts port on real message boxes: modal over the given window, the
// first button the default, the answer of the button pressed. Escape or the
// close box answers Cancel where there is one, Ok on a lone OK button and
// No on Yes/No.
class MessageBoxPrompts : public Prompts {
public:
    explicit MessageBoxPrompts(QWidget* parent = nullptr);

    Answer Show(const Message& message) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace forms
