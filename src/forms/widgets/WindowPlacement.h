#pragma once

#include <QSize>
#include <QString>

class QWidget;

namespace forms {

// Where a top-level window opens: where and as large as it was when the
// user last closed a window of its kind (kept in the user's settings), else
// at its preferred size; either way inside the screen's available area, so
// that a 768-pixel screen shows the whole window, title bar and all.
void PlaceWindow(QWidget* window, const QString& kind, QSize preferred);

// Keeps the window's size and place for the next window of its kind.
void RememberPlacement(const QWidget* window, const QString& kind);

} // namespace forms
