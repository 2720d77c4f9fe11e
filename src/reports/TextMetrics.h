#pragma once

#include "reports/ReportDefinition.h"

#include <QFont>
#include <QString>

namespace reports {

// Text measures for the layout, in millimetres. With a GUI application they
// come from the font itself; without one (the layout is also used where no
// fonts can be loaded) from a fixed estimate of the average glyph, which
// keeps such layouts repeatable.
double LineHeightMm(const FontSpec& font);
double TextWidthMm(const FontSpec& font, const QString& text);
// Lines the text takes when wrapped at word boundaries (within a word when
// one word is wider than the space) into the given width.
int WrappedLineCount(const FontSpec& font, const QString& text, double widthMm);

// Needs a GUI application.
QFont ToQFont(const FontSpec& font);
bool CanUseFonts();

} // namespace reports
