#include "usystem/vcl/gif/uQxGifUtils.h"

#include "usystem/vcl/controls/uQxGraphics.h"

#include <QPainter>
#include <QWidget>

TColor CornerColor(const QImage& Bitmap)
{
    if (Bitmap.isNull())
        return clNone;
    return fromQColor(Bitmap.pixelColor(0, Bitmap.height() - 1));
}

void PaintUnder(QWidget* Control, QPainter& Canvas)
{
    if (!Control)
        return;
    QWidget* parent = Control->parentWidget();
    if (!parent)
        return;
    const QRect bounds = Control->geometry();

    // The parent's own painting under the control, without its children: they come next,
    // each in its place, and the control itself must not be drawn into its own background.
    Canvas.save();
    Canvas.setClipRect(QRect(QPoint(0, 0), bounds.size()));
    parent->render(&Canvas, QPoint(0, 0), QRegion(bounds & parent->rect()),
                   QWidget::DrawWindowBackground);
    Canvas.restore();

    // The siblings below the control (children are kept bottom first), up to the control.
    for (QObject* object : parent->children()) {
        if (object == Control)
            break;
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow() || !child->isVisibleTo(parent))
            continue;
        const QRect area = child->geometry();
        if (!area.intersects(bounds))
            continue;
        Canvas.save();
        const QPoint origin = area.topLeft() - bounds.topLeft();
        Canvas.setClipRect(QRect(origin, area.size()));
        child->render(&Canvas, origin, QRegion(),
                      QWidget::DrawWindowBackground | QWidget::DrawChildren);
        Canvas.restore();
    }
}

void DrawTransparent(QPainter& Canvas, int X, int Y, TColor TransColor, const QImage& Bitmap)
{
    DrawBitmapEx(Canvas, X, Y, TransColor, Bitmap, QRect(), 0, 0);
}

void DrawBitmapEx(QPainter& Canvas, int X, int Y, TColor TransColor, const QImage& Bitmap,
                  const QRect& SourceRect, int DestHeight, int DestWidth)
{
    if (Bitmap.isNull())
        return;
    const QRect source = SourceRect.width() > 0 && SourceRect.height() > 0 ? SourceRect
                                                                             : Bitmap.rect();
    // The part goes into a scratch copy, so the caller's bitmap is never touched.
    const QImage part = Bitmap.copy(source);
    const bool stretched = DestWidth > 0 && DestHeight > 0;
    const QRect target(X, Y, stretched ? DestWidth : part.width(),
                       stretched ? DestHeight : part.height());
    if (TransColor == clNone) {
        Canvas.save();
        Canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
        Canvas.drawImage(target, part);
        Canvas.restore();
        return;
    }
    // A palette-relative colour counts as its plain RGB value.
    const TColor key = TransColor == clDefault ? CornerColor(part)
                                               : TColor(ColorToRGB(TransColor) & 0x00FFFFFF);
    BlitKeyedStretch(Canvas, target.x(), target.y(), target.width(), target.height(), part, 0, 0,
                     part.width(), part.height(), key);
}
