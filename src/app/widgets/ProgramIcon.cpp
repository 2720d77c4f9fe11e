#include "app/widgets/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace app {

namespace {

// The SVG's shapes on its 128-unit square.
QPixmap Painted(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 128.0, size / 128.0);
    painter.setPen(Qt::NoPen);
    const auto box = [&](QRectF rect, qreal radius, const char* colour) {
        painter.setBrush(QColor(QLatin1String(colour)));
        painter.drawRoundedRect(rect, radius, radius);
    };
    box({20, 14, 88, 106}, 10, "#2f6f8f");  // the board
    box({28, 24, 72, 88}, 4, "#ffffff");    // the sheet
    box({46, 6, 36, 18}, 5, "#9aa7b0");     // the clip
    box({52, 10, 24, 6}, 3, "#5d6b75");
    QPainterPath cross;
    cross.addPolygon(QPolygonF({{57, 34}, {71, 34}, {71, 46}, {83, 46}, {83, 60}, {71, 60}, {71, 72}, {57, 72},
                                {57, 60}, {45, 60}, {45, 46}, {57, 46}}));
    painter.fillPath(cross, QColor(QLatin1String("#2e8b57")));
    for (const QRectF line : {QRectF(38, 82, 52, 5), QRectF(38, 92, 40, 5), QRectF(38, 102, 46, 5)})
        box(line, 2, "#9aa7b0");
    return pixmap;
}

} // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(Painted(size));
    return icon;
}

} // namespace app
