#include "platform/ui/Colors.h"

#include <array>

namespace {

constexpr TColor bgr(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

// The classic Windows 2000 scheme: the look the library was drawn for.
constexpr std::array<TColor, 31> kSystemColors = {
    bgr(212, 208, 200), // 0 scroll bar
    bgr(58, 110, 165),  // 1 desktop background
    bgr(10, 36, 106),   // 2 active caption
    bgr(128, 128, 128), // 3 inactive caption
    bgr(212, 208, 200), // 4 menu
    bgr(255, 255, 255), // 5 window
    bgr(0, 0, 0),       // 6 window frame
    bgr(0, 0, 0),       // 7 menu text
    bgr(0, 0, 0),       // 8 window text
    bgr(255, 255, 255), // 9 caption text
    bgr(212, 208, 200), // 10 active border
    bgr(212, 208, 200), // 11 inactive border
    bgr(128, 128, 128), // 12 application work space
    bgr(10, 36, 106),   // 13 highlight
    bgr(255, 255, 255), // 14 highlight text
    bgr(212, 208, 200), // 15 button face
    bgr(128, 128, 128), // 16 button shadow
    bgr(128, 128, 128), // 17 grey text
    bgr(0, 0, 0),       // 18 button text
    bgr(212, 208, 200), // 19 inactive caption text
    bgr(255, 255, 255), // 20 button highlight
    bgr(64, 64, 64),    // 21 3-D dark shadow
    bgr(212, 208, 200), // 22 3-D light
    bgr(0, 0, 0),       // 23 tooltip text
    bgr(255, 255, 225), // 24 tooltip background
    bgr(181, 181, 181), // 25 (unused index)
    bgr(0, 0, 128),     // 26 hot-tracked item
    bgr(166, 202, 240), // 27 gradient of the active caption
    bgr(192, 192, 192), // 28 gradient of the inactive caption
    bgr(49, 106, 197),  // 29 menu highlight
    bgr(212, 208, 200), // 30 menu bar
};

} // namespace

TColor ColorToRGB(TColor color)
{
    if (color & clSystemColor) {
        const int index = color & 0xFF;
        return index < int(kSystemColors.size()) ? kSystemColors[index] : clBlack;
    }
    if (color == clNone || color == clDefault)
        return clBlack;
    return color & 0xFFFFFF;
}

QColor toQColor(TColor color)
{
    const TColor c = ColorToRGB(color);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TColor fromQColor(const QColor& color)
{
    return bgr(color.red(), color.green(), color.blue());
}
