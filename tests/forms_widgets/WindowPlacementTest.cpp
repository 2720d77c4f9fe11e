#include "forms/widgets/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

// A window taller than the screen (the report viewer's 900 x 1000 on a
// 768-pixel screen) opens inside the available area; a window the user
// sized opens at that size next time.
TEST(WindowPlacement, OpensInsideTheScreenAndAsTheUserLeftIt)
{
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget tall;
    forms::PlaceWindow(&tall, QStringLiteral("PlacementTest"), {room.width() / 2, room.height() * 2});
    EXPECT_TRUE(room.contains(tall.geometry())) << tall.height() << " in " << room.height();
    EXPECT_EQ(tall.width(), room.width() / 2);

    tall.resize(room.width() / 3, room.height() / 3);
    forms::RememberPlacement(&tall, QStringLiteral("PlacementTest"));
    QWidget next;
    forms::PlaceWindow(&next, QStringLiteral("PlacementTest"), {room.width(), room.height()});
    EXPECT_EQ(next.size(), QSize(room.width() / 3, room.height() / 3));
}
