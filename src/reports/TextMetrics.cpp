#include "reports/TextMetrics.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QTextLayout>
#include <cmath>

namespace reports {

namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;
// Measured at print resolution so that hinting at screen sizes does not
// skew the layout.
constexpr double kMeasureDpi = 1200.0;
// Average advance of a glyph in ems for the estimate; generous enough for
// upper-case text, which the request screen produces.
constexpr double kEstimatedAdvanceEm = 0.62;
constexpr double kEstimatedLineEm = 1.2;

const QImage& MeasureDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(kMeasureDpi / 0.0254));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

double PixelsToMm(double pixels) { return pixels * 25.4 / kMeasureDpi; }

int EstimatedLineCount(const FontSpec& font, const QString& text, double widthMm)
{
    const double advance = font.pointSize * kMmPerPoint * kEstimatedAdvanceEm;
    int lines = 1;
    double used = 0;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const double w = word.size() * advance;
        const double withBlank = used > 0 ? used + advance + w : w;
        if (withBlank <= widthMm) {
            used = withBlank;
            continue;
        }
        if (used > 0)
            ++lines;
        // A word wider than the space breaks where it must.
        const int extra = int(std::ceil(w / widthMm)) - 1;
        lines += std::max(extra, 0);
        used = w - std::max(extra, 0) * widthMm;
    }
    return lines;
}

} // namespace

bool CanUseFonts()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QFont ToQFont(const FontSpec& spec)
{
    QFont font(spec.family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(spec.pointSize);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    // Unhinted glyphs scale with the resolution, so text measured for the
    // layout takes the same room on the screen, the printer and in a PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

double LineHeightMm(const FontSpec& font)
{
    if (!CanUseFonts())
        return font.pointSize * kMmPerPoint * kEstimatedLineEm;
    return PixelsToMm(QFontMetricsF(ToQFont(font), &MeasureDevice()).lineSpacing());
}

double TextWidthMm(const FontSpec& font, const QString& text)
{
    if (!CanUseFonts())
        return text.size() * font.pointSize * kMmPerPoint * kEstimatedAdvanceEm;
    return PixelsToMm(QFontMetricsF(ToQFont(font), &MeasureDevice()).horizontalAdvance(text));
}

int WrappedLineCount(const FontSpec& font, const QString& text, double widthMm)
{
    if (text.isEmpty() || widthMm <= 0)
        return 1;
    if (!CanUseFonts())
        return EstimatedLineCount(font, text, widthMm);

    // The same engine and wrap mode as the painting, so the row is as tall
    // as the painted text.
    QTextLayout layout(text, ToQFont(font), &MeasureDevice());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    // A little narrower than the cell, so that rounding on a coarse device
    // never pushes a word onto a line the row has no room for.
    const double width = widthMm * 0.98 * kMeasureDpi / 25.4;
    int lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++lines;
    }
    layout.endLayout();
    return std::max(lines, 1);
}

} // namespace reports
