#pragma once

#include "reports/ReportDefinition.h"

#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

namespace reports {

// One positioned thing to draw, in millimetres from the sheet's top left
// corner. A laid-out report is a list of these per page, so what a report
// shows can be checked without painting a pixel.
struct DrawItem {
    enum class Kind { Text, Line, Box };

    Kind kind = Kind::Text;
    QRectF rect;            // a line runs from rect.topLeft() to rect.bottomRight()
    QString text;
    FontSpec font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wrap = false;
    bool fill = false;      // box: light grey background
    double penWidth = 0.0;  // line and box, mm
};

struct Page {
    QVector<DrawItem> items;

    // The texts of the page's text items, in the order they were laid out.
    QStringList Texts() const;
};

// A report laid out for printing.
struct Document {
    QString title;
    QPageSize::PageSizeId pageSize = QPageSize::Letter;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF sizeMm;
    QVector<Page> pages;

    // The sheet with no margins: the items carry their own.
    QPageLayout PageLayout() const;
    // Every text of every page.
    QStringList Texts() const;
};

} // namespace reports
