// Fonts and text measuring of the report engine.
//
// A report font is sized in pixels of the 96-dpi report screen (a size in points becomes
// round(points × 96 / 72) pixels, as the platform sizes its fonts), and its face resolves
// through the font mapping of platform/ui ("宋体" -> the installed CJK face). Text is measured
// on a 96-dpi image, never on the screen, so a layout measures the same on every machine.
#pragma once

#include <QFont>
#include <QString>

namespace qx::report {

// The font as the engine uses it: pixel-sized at 96 dpi, face mapping in place.
QFont reportFont(const QFont& font);
// The engine's default font: "宋体" 9 points (12 pixels).
QFont defaultReportFont();
// The point size of a report font (its pixel size at 96 dpi, rounded to whole points).
int fontPointSize(const QFont& font);

// Measures in pixels at 100 %, on the 96-dpi measuring device.
double textWidthPixels(const QFont& font, const QString& text);
// The height of a line of text in the font (ascent + descent).
double textHeightPixels(const QFont& font);
double fontAscentPixels(const QFont& font);
// The same in report units (0.1 mm).
double textWidthUnits(const QFont& font, const QString& text);
double textHeightUnits(const QFont& font);

} // namespace qx::report
