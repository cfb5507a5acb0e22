#include "platform/report/Paper.h"

#include <array>
#include <utility>

namespace qx::report {
namespace {

struct PaperEntry
{
    TQRPaperSize size;
    const char* name;
    double widthMm;
    double lengthMm;
};

// Portrait millimetres of the standard sheets, in the order of TQRPaperSize.
constexpr std::array<PaperEntry, 26> kPapers = {{
    {Letter, "Letter", 215.9, 279.4},
    {LetterSmall, "Letter Small", 215.9, 279.4},
    {Tabloid, "Tabloid", 279.4, 431.8},
    {Ledger, "Ledger", 431.8, 279.4},
    {Legal, "Legal", 215.9, 355.6},
    {Statement, "Statement", 139.7, 215.9},
    {Executive, "Executive", 184.15, 266.7},
    {A3, "A3", 297, 420},
    {A4, "A4", 210, 297},
    {A4Small, "A4 Small", 210, 297},
    {A5, "A5", 148, 210},
    {B4, "B4", 250, 354},
    {B5, "B5", 182, 257},
    {Folio, "Folio", 215.9, 330.2},
    {Quarto, "Quarto", 215, 275},
    {qr10X14, "10x14", 254, 355.6},
    {qr11X17, "11x17", 279.4, 431.8},
    {Note, "Note", 215.9, 279.4},
    {Env9, "Envelope #9", 98.425, 225.425},
    {Env10, "Envelope #10", 104.775, 241.3},
    {Env11, "Envelope #11", 114.3, 263.525},
    {Env12, "Envelope #12", 120.65, 279.4},
    {Env14, "Envelope #14", 127, 292.1},
    {CSheet, "C Sheet", 431.8, 558.8},
    {DSheet, "D Sheet", 558.8, 863.6},
    {ESheet, "E Sheet", 863.6, 1117.6},
}};

const PaperEntry* entryOf(TQRPaperSize size)
{
    const int index = int(size) - int(Letter);
    if (index < 0 || index >= int(kPapers.size()))
        return nullptr;
    return &kPapers[std::size_t(index)];
}

} // namespace

bool paperDimensions(TQRPaperSize size, PaperDimensions& out)
{
    const PaperEntry* e = entryOf(size);
    if (!e)
        return false;
    out.widthMm = e->widthMm;
    out.lengthMm = e->lengthMm;
    return true;
}

bool orientedPaperDimensions(TQRPaperSize size, TPrinterOrientation orientation, PaperDimensions& out)
{
    if (!paperDimensions(size, out))
        return false;
    if (orientation == poLandscape)
        std::swap(out.widthMm, out.lengthMm);
    return true;
}

QString paperSizeName(TQRPaperSize size)
{
    if (size == Default)
        return QStringLiteral("Default");
    if (size == Custom)
        return QStringLiteral("Custom");
    const PaperEntry* e = entryOf(size);
    return e ? QString::fromLatin1(e->name) : QString();
}

} // namespace qx::report
