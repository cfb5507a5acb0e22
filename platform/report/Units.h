// Report units and the one place that converts lengths.
//
// Report units are tenths of a millimetre. Wherever a value is given in "pixels at 100 %" it
// means pixels of a fixed 96-dpi screen, whatever screen the program runs on, so that a layout
// comes out the same on every machine and in headless tests. Pages are laid out in those
// pixels (see QRPrinter.h).
#pragma once

namespace qx::report {

// Pixels per inch of the report's own screen.
inline constexpr double kPixelsPerInch = 96.0;
// Report units (0.1 mm) per inch.
inline constexpr double kUnitsPerInch = 254.0;

// Report units <-> pixels at 100 %.
constexpr double unitsToPixels(double units) { return units * kPixelsPerInch / kUnitsPerInch; }
constexpr double pixelsToUnits(double pixels) { return pixels * kUnitsPerInch / kPixelsPerInch; }
// Report units <-> millimetres.
constexpr double unitsToMm(double units) { return units / 10.0; }
constexpr double mmToUnits(double mm) { return mm * 10.0; }
// Millimetres <-> pixels at 100 %.
constexpr double mmToPixels(double mm) { return unitsToPixels(mmToUnits(mm)); }
constexpr double pixelsToMm(double pixels) { return unitsToMm(pixelsToUnits(pixels)); }
// Points (1/72 inch) <-> report units and pixels.
constexpr double pointsToUnits(double points) { return points * kUnitsPerInch / 72.0; }
constexpr double unitsToPoints(double units) { return units * 72.0 / kUnitsPerInch; }
constexpr double pointsToPixels(double points) { return points * kPixelsPerInch / 72.0; }
constexpr double pixelsToPoints(double pixels) { return pixels * 72.0 / kPixelsPerInch; }
// Twips (1/1440 inch) <-> report units.
constexpr double twipsToUnits(double twips) { return twips * kUnitsPerInch / 1440.0; }
constexpr double unitsToTwips(double units) { return units * 1440.0 / kUnitsPerInch; }
// Inches <-> report units.
constexpr double inchesToUnits(double inches) { return inches * kUnitsPerInch; }
constexpr double unitsToInches(double units) { return units / kUnitsPerInch; }

// Whole pixels of a length in report units, rounded as the run-time library rounds (halves to
// the even neighbour), so that a value set in pixels reads back unchanged.
int unitsToWholePixels(double units);

} // namespace qx::report

// The unit in which a report's page settings are read and written.
enum TQRUnit { MM, Inches, Pixels, Native };

namespace qx::report {
// A page length given in unit -> report units, and back.
double toUnits(double value, TQRUnit unit);
double fromUnits(double units, TQRUnit unit);
} // namespace qx::report
