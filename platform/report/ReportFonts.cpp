#include "platform/report/ReportFonts.h"

#include "platform/report/Units.h"
#include "platform/ui/Fonts.h"

#include <QFontMetricsF>
#include <QImage>

#include <cmath>

namespace qx::report {
namespace {

// The measuring device: a one-pixel image that says it has 96 dots per inch.
const QImage& measuringDevice()
{
    static const QImage image = [] {
        QImage img(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = int(std::lround(kPixelsPerInch / 0.0254));
        img.setDotsPerMeterX(dotsPerMeter);
        img.setDotsPerMeterY(dotsPerMeter);
        return img;
    }();
    return image;
}

QFontMetricsF metrics(const QFont& font)
{
    return QFontMetricsF(font, &measuringDevice());
}

} // namespace

QFont reportFont(const QFont& font)
{
    registerFontSubstitutions();
    if (font.pixelSize() > 0)
        return font;
    QFont f(font);
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    // MulDiv(points, 96, 72): halves away from zero.
    f.setPixelSize(std::max(1, int(std::floor(points * kPixelsPerInch / 72.0 + 0.5))));
    return f;
}

QFont defaultReportFont()
{
    return libraryFont(9);
}

int fontPointSize(const QFont& font)
{
    const QFont f = reportFont(font);
    return int(std::floor(f.pixelSize() * 72.0 / kPixelsPerInch + 0.5));
}

double textWidthPixels(const QFont& font, const QString& text)
{
    return metrics(reportFont(font)).horizontalAdvance(text);
}

double textHeightPixels(const QFont& font)
{
    return metrics(reportFont(font)).height();
}

double fontAscentPixels(const QFont& font)
{
    return metrics(reportFont(font)).ascent();
}

double textWidthUnits(const QFont& font, const QString& text)
{
    return pixelsToUnits(textWidthPixels(font, text));
}

double textHeightUnits(const QFont& font)
{
    return pixelsToUnits(textHeightPixels(font));
}

} // namespace qx::report
