// Drawing and text routines the library's controls share: text measuring, font metrics, the
// sibling broadcast, the raised/sunken button face, text drawing and bitmaps drawn with a
// transparent colour. They keep no state.
#pragma once

#include "platform/ui/Colors.h"
#include "platform/ui/DrawText.h"
#include "platform/ui/Messages.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>

class QFont;
class QFontMetrics;
class QPainter;
class QWidget;

// The text metrics of a font on the screen, the fields the library reads.
struct TEXTMETRIC
{
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
};

// Width of a text measured character by character and summed.
int DbcsTextWidth(QPainter& Canvas, const QString& S);
// The same over GBK bytes: a byte up to 0xA0 is one character, a byte above 0xA0 starts a
// two-byte character measured with the byte after it; a lone lead byte at the end is
// measured alone.
int DbcsTextWidth(QPainter& Canvas, const QByteArray& S);

void SwapWords(std::uint16_t& A, std::uint16_t& B);

void QueryFontMetrics(const QFont& Font, TEXTMETRIC& Metrics);
// Round(tmHeight + tmHeight / 8), halves to the even neighbour.
int FontLineHeight(const QFont& Font);
int LineHeightForTextHeight(int tmHeight);
int FontAverageCharWidth(const QFont& Font);

inline int RectWidth(const QRect& R) { return R.width(); }
inline int RectHeight(const QRect& R) { return R.height(); }

// Sends the message to every control of Control's parent (WParam = Control).
void BroadcastToParent(QWidget* Control, qx::LibraryMessage Msg, long LParam);

// Fills Rect with clBtnFace and draws a one-pixel inner edge around it: raised (highlight
// above and left, shadow below and right) or sunken (dark shadow above and left, 3-D light
// below and right), as the platform's inner edges are drawn.
void DrawButtonFrame(QPainter& Canvas, const QRect& Rect, bool Sunken);

// The platform's DrawText: Count characters of Text (-1 = all) in Rect with the DT_ flags.
// With DT_CALCRECT, Rect receives the text's size.
int DrawCanvasText(QPainter& Canvas, const QString& Text, int Count, QRect& Rect, unsigned Format);

// Stretches part of Bitmap onto Dest leaving out the pixels of TransparentColor. DstW, DstH
// below 1 take the bitmap's size; SrcW or SrcH below 1 take the whole bitmap. clNone draws
// everything; clDefault takes the colour of the bottom-left pixel; a monochrome bitmap always
// keys on white.
void DrawStretchedBitmapKeyed(QPainter& Dest, const QImage& Bitmap, TColor TransparentColor,
                              int DstX, int DstY, int DstW, int DstH, int SrcX, int SrcY,
                              int SrcW, int SrcH);
void DrawStretchedBitmapPart(QPainter& Dest, int DstX, int DstY, int DstW, int DstH,
                             const QRect& SrcRect, const QImage& Bitmap, TColor TransparentColor);
// Every source pixel of TransparentRGB (a BGR value) is left out; the rest is stretched
// from the source area onto the destination area.
void BlitKeyedStretch(QPainter& Dst, int DstX, int DstY, int DstW, int DstH, const QImage& Src,
                      int SrcX, int SrcY, int SrcW, int SrcH, TColor TransparentRGB);
