#include "usystem/vcl/controls/uQxGraphics.h"

#include "platform/rtl/Gbk.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <cmath>

int DbcsTextWidth(QPainter& Canvas, const QString& S)
{
    const QFontMetrics fm(Canvas.font());
    int width = 0;
    for (int i = 0; i < S.size(); ++i) {
        // A surrogate pair is one character.
        if (S.at(i).isHighSurrogate() && i + 1 < S.size()) {
            width += fm.horizontalAdvance(S.mid(i, 2));
            ++i;
        } else {
            width += fm.horizontalAdvance(S.at(i));
        }
    }
    return width;
}

int DbcsTextWidth(QPainter& Canvas, const QByteArray& S)
{
    const QFontMetrics fm(Canvas.font());
    int width = 0;
    for (int i = 0; i < S.size(); ++i) {
        const auto b = static_cast<unsigned char>(S.at(i));
        if (b > 0xA0 && i + 1 < S.size()) {
            width += fm.horizontalAdvance(qx::fromGbk(S.mid(i, 2)));
            ++i;
        } else {
            width += fm.horizontalAdvance(qx::fromGbk(S.mid(i, 1)));
        }
    }
    return width;
}

void SwapWords(std::uint16_t& A, std::uint16_t& B)
{
    const std::uint16_t t = A;
    A = B;
    B = t;
}

void QueryFontMetrics(const QFont& Font, TEXTMETRIC& Metrics)
{
    const QFontMetrics fm(Font);
    Metrics.tmAscent = fm.ascent();
    Metrics.tmDescent = fm.descent();
    Metrics.tmHeight = fm.ascent() + fm.descent();
    // The cell height above the em square is the internal leading.
    const int em = Font.pixelSize() > 0 ? Font.pixelSize() : QFontInfo(Font).pixelSize();
    Metrics.tmInternalLeading = qMax(0, Metrics.tmHeight - em);
    Metrics.tmExternalLeading = qMax(0, fm.leading());
    Metrics.tmAveCharWidth = fm.averageCharWidth();
    Metrics.tmMaxCharWidth = fm.maxWidth();
}

int LineHeightForTextHeight(int tmHeight)
{
    const double v = tmHeight + tmHeight / 8.0;
    const double floor = std::floor(v);
    const double frac = v - floor;
    if (frac > 0.5)
        return int(floor) + 1;
    if (frac < 0.5)
        return int(floor);
    return (qint64(floor) % 2 == 0) ? int(floor) : int(floor) + 1;
}

int FontLineHeight(const QFont& Font)
{
    TEXTMETRIC tm;
    QueryFontMetrics(Font, tm);
    return LineHeightForTextHeight(tm.tmHeight);
}

int FontAverageCharWidth(const QFont& Font)
{
    TEXTMETRIC tm;
    QueryFontMetrics(Font, tm);
    return tm.tmAveCharWidth;
}

void BroadcastToParent(QWidget* Control, qx::LibraryMessage Msg, long LParam)
{
    qx::broadcastToParent(Control, Msg, LParam);
}

void DrawButtonFrame(QPainter& Canvas, const QRect& Rect, bool Sunken)
{
    if (Rect.isEmpty())
        return;
    Canvas.fillRect(Rect, toQColor(clBtnFace));
    const QColor topLeft = toQColor(Sunken ? cl3DDkShadow : clBtnHighlight);
    const QColor bottomRight = toQColor(Sunken ? cl3DLight : clBtnShadow);
    const int l = Rect.left(), t = Rect.top(), r = Rect.right(), b = Rect.bottom();
    // Top and left first; the bottom and right lines take the two far corners.
    Canvas.fillRect(QRect(l, t, Rect.width(), 1), topLeft);
    Canvas.fillRect(QRect(l, t, 1, Rect.height()), topLeft);
    Canvas.fillRect(QRect(l, b, Rect.width(), 1), bottomRight);
    Canvas.fillRect(QRect(r, t, 1, Rect.height()), bottomRight);
}

int DrawCanvasText(QPainter& Canvas, const QString& Text, int Count, QRect& Rect, unsigned Format)
{
    const QString t = Count < 0 ? Text : Text.left(Count);
    return qx::drawText(Canvas, Rect, t, Format);
}

void BlitKeyedStretch(QPainter& Dst, int DstX, int DstY, int DstW, int DstH, const QImage& Src,
                      int SrcX, int SrcY, int SrcW, int SrcH, TColor TransparentRGB)
{
    if (Src.isNull() || DstW <= 0 || DstH <= 0 || SrcW <= 0 || SrcH <= 0)
        return;
    QImage part = Src.copy(SrcX, SrcY, SrcW, SrcH).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = toQColor(TransparentRGB).rgb();
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
    }
    Dst.save();
    // Pixels are repeated or dropped, never blended, as the colour-on-colour stretch does.
    Dst.setRenderHint(QPainter::SmoothPixmapTransform, false);
    Dst.drawImage(QRect(DstX, DstY, DstW, DstH), part);
    Dst.restore();
}

void DrawStretchedBitmapKeyed(QPainter& Dest, const QImage& Bitmap, TColor TransparentColor,
                              int DstX, int DstY, int DstW, int DstH, int SrcX, int SrcY,
                              int SrcW, int SrcH)
{
    if (Bitmap.isNull())
        return;
    if (DstW < 1)
        DstW = Bitmap.width();
    if (DstH < 1)
        DstH = Bitmap.height();
    if (SrcW < 1 || SrcH < 1) {
        SrcX = 0;
        SrcY = 0;
        SrcW = Bitmap.width();
        SrcH = Bitmap.height();
    }
    if (TransparentColor == clNone) {
        Dest.save();
        Dest.setRenderHint(QPainter::SmoothPixmapTransform, false);
        Dest.drawImage(QRect(DstX, DstY, DstW, DstH), Bitmap, QRect(SrcX, SrcY, SrcW, SrcH));
        Dest.restore();
        return;
    }
    TColor key;
    const bool mono = Bitmap.depth() == 1;
    if (mono)
        key = clWhite;
    else if (TransparentColor == clDefault)
        key = fromQColor(Bitmap.pixelColor(0, Bitmap.height() - 1));
    else
        key = ColorToRGB(TransparentColor);
    BlitKeyedStretch(Dest, DstX, DstY, DstW, DstH, Bitmap, SrcX, SrcY, SrcW, SrcH, key);
}

void DrawStretchedBitmapPart(QPainter& Dest, int DstX, int DstY, int DstW, int DstH,
                             const QRect& SrcRect, const QImage& Bitmap, TColor TransparentColor)
{
    DrawStretchedBitmapKeyed(Dest, Bitmap, TransparentColor, DstX, DstY, DstW, DstH,
                             SrcRect.left(), SrcRect.top(), SrcRect.width(), SrcRect.height());
}
