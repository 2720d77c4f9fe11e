#include "forms/widgets/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace forms {

namespace {

QSettings WindowSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tessary"), QStringLiteral("windows"));
}

QString GeometryKey(const QString& kind)
{
    return kind + QStringLiteral("/geometry");
}

// The available area of the screen the window is on (or the primary one),
// less room for a window manager's frame.
QRect Room(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    constexpr int kFrame = 40;
    return screen->availableGeometry().adjusted(0, 0, 0, -kFrame);
}

} // namespace

void PlaceWindow(QWidget* window, const QString& kind, QSize preferred)
{
    const QByteArray saved = WindowSettings().value(GeometryKey(kind)).toByteArray();
    if (saved.isEmpty() || !window->restoreGeometry(saved))
        window->resize(preferred);
    const QRect room = Room(window);
    if (room.isEmpty())
        return;
    window->resize(window->size().boundedTo(room.size()));
    QRect placed = window->geometry();
    if (!room.contains(placed)) {
        placed.moveCenter(room.center());
        window->move(placed.topLeft());
    }
}

void RememberPlacement(const QWidget* window, const QString& kind)
{
    WindowSettings().setValue(GeometryKey(kind), window->saveGeometry());
}

} // namespace forms
