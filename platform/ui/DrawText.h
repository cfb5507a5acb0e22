// The platform's DrawText on a QPainter: the DT_ format flags the library's controls pass,
// with the same meaning (single line centred vertically, '&' prefixes, tab expansion,
// measuring with DT_CALCRECT).
#pragma once

#include <QRect>
#include <QString>

class QPainter;
class QFont;

constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

namespace qx {

// Draws text in rect with the painter's font and pen. With DT_CALCRECT nothing is drawn and
// rect's right and bottom become those of the text. Returns the height of the text.
int drawText(QPainter& painter, QRect& rect, const QString& text, unsigned format);
// The text as shown: with DT_SINGLELINE line breaks become nothing (the lines run on).
QString displayedText(const QString& text, unsigned format);

} // namespace qx
