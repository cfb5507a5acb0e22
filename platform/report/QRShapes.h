// The engine's shape and image printables.
//
// TQRShape draws a horizontal line (through the vertical middle of its area), a vertical line
// (through the horizontal middle), a rectangle or a circle (an ellipse filling the area) with
// its Pen and Brush. It is transparent (draws no background of its own).
// TQRImage draws its Picture: stretched over the area (Stretch), centred in it at its natural
// size (Center), or at the top left corner; a picture larger than the area is clipped. The
// natural size of a picture is its pixels at 100 %.
#pragma once

#include "platform/report/QRPrintable.h"

#include <QImage>

enum TQRShapeType { qrsRectangle, qrsCircle, qrsVertLine, qrsHorLine };

class TQRShape : public TQRPrintable
{
    Q_OBJECT

public:
    explicit TQRShape(TQRCustomBand* band);

    TQRShapeType Shape() const { return m_shape; }
    void SetShape(TQRShapeType shape) { m_shape = shape; }
    TQRPen& Pen() { return m_pen; }
    const TQRPen& Pen() const { return m_pen; }
    TQRBrush& Brush() { return m_brush; }
    const TQRBrush& Brush() const { return m_brush; }

    void Print(double OffsetX, double OffsetY) override;

private:
    TQRShapeType m_shape = qrsRectangle;
    TQRPen m_pen;
    TQRBrush m_brush;
};

class TQRImage : public TQRPrintable
{
    Q_OBJECT
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)

public:
    explicit TQRImage(TQRCustomBand* band);

    bool Center() const { return m_center; }
    void SetCenter(bool on) { m_center = on; }
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool on) { m_stretch = on; }
    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture) { m_picture = picture; }

    void Print(double OffsetX, double OffsetY) override;

private:
    bool m_center = false;
    bool m_stretch = false;
    QImage m_picture;
};
