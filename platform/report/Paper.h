// Paper sizes and orientation of the report engine.
//
// TQRPaperSize lists Default, the usual standard sheets in the printer drivers' order, and
// Custom. Default (the printer's own sheet) and Custom (lengths set by hand) have no entry in
// the table; every other size has its millimetre dimensions there, portrait.
#pragma once

#include <QString>

enum TPrinterOrientation { poPortrait, poLandscape };

enum TQRPaperSize {
    Default,
    Letter,
    LetterSmall,
    Tabloid,
    Ledger,
    Legal,
    Statement,
    Executive,
    A3,
    A4,
    A4Small,
    A5,
    B4,
    B5,
    Folio,
    Quarto,
    qr10X14,
    qr11X17,
    Note,
    Env9,
    Env10,
    Env11,
    Env12,
    Env14,
    CSheet,
    DSheet,
    ESheet,
    Custom
};

namespace qx::report {

struct PaperDimensions
{
    double widthMm = 0;  // portrait width
    double lengthMm = 0; // portrait length
};

// The portrait dimensions of a table size; false for Default and Custom (and out-of-range values).
bool paperDimensions(TQRPaperSize size, PaperDimensions& out);
// The dimensions as laid out: width and length swapped for landscape.
bool orientedPaperDimensions(TQRPaperSize size, TPrinterOrientation orientation, PaperDimensions& out);
// The size's name as the printer drivers call it ("A4", "Letter"...).
QString paperSizeName(TQRPaperSize size);

} // namespace qx::report
