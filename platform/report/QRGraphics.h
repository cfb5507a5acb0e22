// Pens, brushes and frames of printables, with the platform's names and meanings. Colours are
// TColor values; pen widths of shapes are pixels at 100 %, frame widths points.
#pragma once

#include "platform/ui/Colors.h"

#include <QBrush>
#include <QPen>

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TQRPen
{
    TColor Color = clBlack;
    TPenMode Mode = pmCopy;
    TPenStyle Style = psSolid;
    int Width = 1; // pixels at 100 %
};

struct TQRBrush
{
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// The lines a printable draws along its edges.
struct TQRFrame
{
    bool DrawTop = false;
    bool DrawBottom = false;
    bool DrawLeft = false;
    bool DrawRight = false;
    int Width = 1; // points
    TColor Color = clBlack;
    TPenStyle Style = psSolid;

    bool AnyFrame() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
};

namespace qx::report {
Qt::PenStyle toQtPenStyle(TPenStyle style);
Qt::BrushStyle toQtBrushStyle(TBrushStyle style);
// A QPen of the given colour, style and width in pixels at 100 % (never thinner than a hair).
QPen makePen(TColor color, TPenStyle style, double widthPixels);
// The composition a pen mode draws with; SourceOver for modes without a raster equivalent.
int toCompositionMode(TPenMode mode);
} // namespace qx::report
