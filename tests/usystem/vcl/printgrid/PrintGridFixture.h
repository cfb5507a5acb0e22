// Shared fixtures of the grid printer's tests: a small memory table behind a data grid, a
// report to build bands on, and a printable-by-printable description of a band to compare
// layouts as data. Every font is the library's "宋体" (the installed CJK face, measured on
// the engine's fixed 96-dpi device), so measures are the same on every machine.
#pragma once

#include "platform/report/QRBands.h"
#include "platform/report/QRShapes.h"
#include "platform/report/QuickRep.h"
#include "platform/ui/Fonts.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/report/uQxQrenh.h"

#include "tests/support/GridTable.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <memory>
#include <ostream>
#include <vector>

// Texts in failure messages as text (gtest finds it by argument lookup). Every test file of
// the folder takes it from here.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qxtest::printgrid {

// The font every grid-printer test measures with.
inline QFont testFont(int pointSize = 9)
{
    return qx::libraryFont(pointSize);
}

// The grid printer's tests read their data from the shared grid-behind-a-table fixture.
using GridField = qxtest::TableField;
using GridData = qxtest::GridTable;

// A grid printer whose report is made by the test rather than built from the settings: the
// band builders can be driven one by one.
class BandPrinter : public TQxPrintGrid
{
public:
    BandPrinter()
    {
        FHiddenForm = std::make_unique<QWidget>();
        FReport = new TQuickRep(FHiddenForm.get());
    }
    TQuickRep* report() const { return FReport; }
    // A band of the report to build on (owned by the report).
    TQRBand* newBand(int height = 0)
    {
        auto* band = new TQRBand(FReport, rbDetail);
        band->SetHeight(height);
        return band;
    }
    // Drops the report, as an unprepared printer has none.
    void dropReport() { FHiddenForm.reset(); }
    using TPrintCustomGrid::PlaceAlignedLine;
};

// One line per printable of Band, back to front: "<class> <x>,<top> h<height> <text>". x is
// the left edge, or for a printable aligned to the band "<L", "|C" or ">R" by its alignment
// (it moves there when it prints); the text is a label's caption, an expression's expression
// or "-" for a shape or an image.
inline QStringList describeBand(const TQRCustomBand* band)
{
    QStringList out;
    for (TQRPrintable* p : band->Printables()) {
        QString text = QStringLiteral("-");
        if (auto* label = qobject_cast<TsQRLabel*>(p))
            text = label->Caption();
        else if (auto* expr = qobject_cast<TsQRExpr*>(p))
            text = expr->Expression();
        QString x = QString::number(p->Left());
        if (p->AlignToBand())
            x = p->Alignment() == taCenter ? QStringLiteral("|C")
                : p->Alignment() == taRightJustify ? QStringLiteral(">R") : QStringLiteral("<L");
        out << QStringLiteral("%1 %2,%3 h%4 %5")
                   .arg(QString::fromLatin1(p->metaObject()->className()), x)
                   .arg(p->Top())
                   .arg(p->Height())
                   .arg(text);
    }
    return out;
}

} // namespace qxtest::printgrid
