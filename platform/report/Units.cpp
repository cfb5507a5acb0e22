#include "platform/report/Units.h"

#include "platform/rtl/SysUtils.h"

namespace qx::report {

int unitsToWholePixels(double units)
{
    return int(Round(unitsToPixels(units)));
}

double toUnits(double value, TQRUnit unit)
{
    switch (unit) {
    case MM:
        return mmToUnits(value);
    case Inches:
        return inchesToUnits(value);
    case Pixels:
        return pixelsToUnits(value);
    case Native:
        break;
    }
    return value;
}

double fromUnits(double units, TQRUnit unit)
{
    switch (unit) {
    case MM:
        return unitsToMm(units);
    case Inches:
        return unitsToInches(units);
    case Pixels:
        return unitsToPixels(units);
    case Native:
        break;
    }
    return units;
}

} // namespace qx::report
