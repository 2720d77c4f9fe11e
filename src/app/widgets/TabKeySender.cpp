#include "app/widgets/TabKeySender.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace app {

void TabKeySender::SendTab()
{
    QWidget* focused = QApplication::focusWidget();
    if (!focused)
        return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(focused, &press);
}

} // namespace app
