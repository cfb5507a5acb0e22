// A grid printer over a small table or grid, on a page of a chosen printable width, and the
// built report read back as data: bands, cells and the texts of the printed pages.
#pragma once

#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/RecordingDevice.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/Units.h"
#include "platform/rtl/SysUtils.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"

#include <QStringList>
#include <QWidget>

#include <cmath>
#include <memory>

namespace gplayout {

// The fields of the test table: five text columns A..E, the integer Qty and the group key Grp.
inline const QStringList kTextFields{"A", "B", "C", "D", "E"};

// The table: row r (from 1) holds "a01", "b01"... in A..E, Qty r and Grp "G1" for the first
// groupSize rows, then "G2", "G3"...
inline std::unique_ptr<TQxMemTable> makeTable(int rows, int groupSize = 1000)
{
    auto t = std::make_unique<TQxMemTable>();
    t->setObjectName(QStringLiteral("Items"));
    for (const QString& name : kTextFields)
        t->FieldDefs()->Add(name, ftString, 10);
    t->FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
    t->FieldDefs()->Add(QStringLiteral("Grp"), ftString, 10);
    t->Open();
    for (int r = 1; r <= rows; ++r) {
        t->Append();
        for (const QString& name : kTextFields)
            t->FieldByName(name)->SetAsString(name.toLower() + QStringLiteral("%1").arg(r, 2, 10, QLatin1Char('0')));
        t->FieldByName(QStringLiteral("Qty"))->SetAsInteger(r);
        t->FieldByName(QStringLiteral("Grp"))->SetAsString(QStringLiteral("G%1").arg((r - 1) / groupSize + 1));
        t->Post();
    }
    t->First();
    return t;
}

struct GridColumnWidth
{
    QString field;
    int width;
};

// A printer over a table (or, with columns given, over a grid showing them), with no head or
// foot lines, on a page whose printable width is pageWidth pixels.
class LayoutPrint
{
public:
    explicit LayoutPrint(int rows, int groupSize = 1000) : table(makeTable(rows, groupSize))
    {
        printer.SetGridFootExpr({});
        printer.SetDataSet(table.get());
        setPageWidth(1000);
    }
    ~LayoutPrint()
    {
        printer.SetReportPrepared(false);
        window.reset();
    }
    LayoutPrint(const LayoutPrint&) = delete;
    LayoutPrint& operator=(const LayoutPrint&) = delete;

    // Custom paper, 15 mm side margins, printable width in pixels at 100 %.
    void setPageWidth(int pixels)
    {
        printer.Page()->SetPaperSize(Custom);
        printer.Page()->SetWidth(qx::report::pixelsToMm(pixels) + 30);
        printer.Page()->SetLength(297);
        printer.SetAutoPageVertToHorz(false);
    }

    // Prints through a grid with these columns (titled "T" + field name).
    void useGrid(const QList<GridColumnWidth>& columns)
    {
        window = std::make_unique<QWidget>();
        source = new TDataSource(window.get());
        source->SetDataSet(table.get());
        grid = new TQxDBGrid(window.get());
        grid->SetDataSource(source);
        for (const GridColumnWidth& wanted : columns) {
            TQxColumn* c = grid->Columns()->Add();
            c->SetFieldName(wanted.field);
            c->SetWidth(wanted.width);
            c->Title()->SetCaption(QStringLiteral("T") + wanted.field);
        }
        printer.SetDBGrid(grid);
    }

    // Builds the report; nullptr when nothing was built.
    TQuickRep* build()
    {
        printer.SetReportPrepared(true);
        return printer.Report();
    }

    // Builds and runs the report into pages.
    TQuickRep* run()
    {
        TQuickRep* report = build();
        if (report)
            report->Prepare();
        return report;
    }

    QxGridPrintStateScope stateScope;
    std::unique_ptr<TQxMemTable> table;
    std::unique_ptr<QWidget> window;
    TDataSource* source = nullptr;
    TQxDBGrid* grid = nullptr;
    TQxPrintGrid printer;
};

// The height of a row of text in font: its auto-sized height times (RowSpace 0.5 + 1).
inline int rowHeightOf(const QFont& font, double rowSpace = 0.5)
{
    const int measured = int(std::ceil(qx::report::textHeightPixels(qx::report::reportFont(font)) + 1));
    return int(Round((rowSpace + 1) * measured));
}

template <class T>
QList<T*> bandsOf(const TQuickRep& report)
{
    QList<T*> out;
    for (TQRCustomBand* band : report.BandList()) {
        if (auto* b = qobject_cast<T*>(band))
            out.append(b);
    }
    return out;
}

// The data bands of the span parts (sub-details over the printed dataset), in part order.
inline QList<TQRSubDetail*> dataBands(const TQuickRep& report)
{
    QList<TQRSubDetail*> out;
    for (TQRSubDetail* sub : bandsOf<TQRSubDetail>(report)) {
        if (sub->DataSet())
            out.append(sub);
    }
    return out;
}

template <class T>
QList<T*> cellsOf(const TQRCustomBand* band)
{
    QList<T*> out;
    for (TQRPrintable* p : band->Printables()) {
        if (auto* c = qobject_cast<T*>(p))
            out.append(c);
    }
    return out;
}

// "left:width" of each data cell of a band.
inline QString cellSpans(const TQRCustomBand* band)
{
    QStringList out;
    for (TsQRDBText* cell : cellsOf<TsQRDBText>(band))
        out << QStringLiteral("%1:%2").arg(cell->Left()).arg(cell->Width());
    return out.join(u' ');
}

// The texts of every page, one list per page (blank texts left out).
inline QList<QStringList> pageTexts(const TQuickRep& report)
{
    QList<QStringList> out;
    if (!report.QRPrinter())
        return out;
    for (const QList<qx::report::RecordedItem>& page : qx::report::recordPages(*report.QRPrinter())) {
        QStringList texts;
        for (const qx::report::RecordedItem& item : page) {
            if (item.kind == qx::report::RecordedItem::Text && !item.text.trimmed().isEmpty())
                texts << item.text;
        }
        out << texts;
    }
    return out;
}

// How many texts of a page start with prefix.
inline int countStarting(const QStringList& texts, const QString& prefix)
{
    int n = 0;
    for (const QString& t : texts)
        n += t.startsWith(prefix) ? 1 : 0;
    return n;
}

} // namespace gplayout
