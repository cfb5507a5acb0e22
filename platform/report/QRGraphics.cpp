#include "platform/report/QRGraphics.h"

#include <QPainter>

namespace qx::report {

Qt::PenStyle toQtPenStyle(TPenStyle style)
{
    switch (style) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    case psSolid:
    case psInsideFrame:
        break;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle toQtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    case bsSolid:
        break;
    }
    return Qt::SolidPattern;
}

QPen makePen(TColor color, TPenStyle style, double widthPixels)
{
    QPen pen(toQColor(color));
    pen.setStyle(toQtPenStyle(style));
    pen.setWidthF(widthPixels > 0 ? widthPixels : 1.0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

int toCompositionMode(TPenMode mode)
{
    switch (mode) {
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    case pmNotCopy:
        return QPainter::RasterOp_NotSource;
    default:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

} // namespace qx::report
