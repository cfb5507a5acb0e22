#include "platform/report/QRShapes.h"

#include "platform/report/QRPrinter.h"

#include <QPainter>

using namespace qx::report;

TQRShape::TQRShape(TQRCustomBand* band) : TQRPrintable(band)
{
    SetTransparent(true);
}

void TQRShape::Print(double OffsetX, double OffsetY)
{
    TQRPrintable::Print(OffsetX, OffsetY);
    TQRPrinter* printer = QRPrinter();
    QPainter* canvas = Canvas();
    if (!FinalPass() || !printer || !canvas)
        return;
    const QRectF r = PrintRectPixels(OffsetX, OffsetY);
    const auto mode = QPainter::CompositionMode(toCompositionMode(m_pen.Mode));
    if (mode != canvas->compositionMode())
        canvas->setCompositionMode(mode);
    printer->SetCanvasPen(makePen(m_pen.Color, m_pen.Style, m_pen.Width));
    switch (m_shape) {
    case qrsHorLine:
        canvas->drawLine(QLineF(r.left(), r.center().y(), r.right(), r.center().y()));
        break;
    case qrsVertLine:
        canvas->drawLine(QLineF(r.center().x(), r.top(), r.center().x(), r.bottom()));
        break;
    case qrsRectangle:
    case qrsCircle: {
        QBrush brush(toQColor(m_brush.Color), toQtBrushStyle(m_brush.Style));
        printer->SetCanvasBrush(brush);
        if (m_shape == qrsRectangle)
            canvas->drawRect(r);
        else
            canvas->drawEllipse(r);
        break;
    }
    }
    if (mode != QPainter::CompositionMode_SourceOver)
        canvas->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

TQRImage::TQRImage(TQRCustomBand* band) : TQRPrintable(band)
{
    SetTransparent(true);
}

void TQRImage::Print(double OffsetX, double OffsetY)
{
    TQRPrintable::Print(OffsetX, OffsetY);
    QPainter* canvas = Canvas();
    if (!FinalPass() || !canvas || m_picture.isNull())
        return;
    const QRectF area = PrintRectPixels(OffsetX, OffsetY);
    if (m_stretch) {
        canvas->drawImage(area, m_picture);
        return;
    }
    const QSizeF natural(m_picture.width(), m_picture.height());
    QPointF at = area.topLeft();
    if (m_center)
        at += QPointF((area.width() - natural.width()) / 2, (area.height() - natural.height()) / 2);
    const QRectF target(at, natural);
    if (area.contains(target)) {
        canvas->drawImage(target, m_picture);
        return;
    }
    // Only the part inside the area shows.
    const QRectF shown = target.intersected(area);
    if (shown.isEmpty())
        return;
    const QRectF source(shown.topLeft() - target.topLeft(), shown.size());
    canvas->drawImage(shown, m_picture, source);
}
