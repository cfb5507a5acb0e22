// The band handlers of a grid print: they count the rows of a page, break pages, pad the last
// page of the paged layout with blank ruled rows, move on through the span parts and keep the
// page numbers of the current grid print.
//
// The pages of one print are all pages of span part 0 (every row), then all pages of part 1,
// and so on; in master mode the sequence repeats for each master record.
//
// A band the handlers print with height 0 takes no room and shows none of its cells (the row
// that marks a full page, the blank rows before a page was ever full, the page sum row that
// gives way to the total row).
#include "usystem/vcl/printgrid/uQxPrintGrid.h"

#include "platform/db/DataSet.h"
#include "platform/report/DataModules.h"
#include "platform/report/QRPrintable.h"
#include "platform/report/QRPrinter.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"

#include <QWidget>

namespace {

// Shows or hides every printable of a band.
void showLayoutBandCells(TQRCustomBand* band, bool shown)
{
    for (TQRPrintable* p : band->Printables())
        p->SetEnabled(shown);
}

// The height a row band was built with: its cells stand one pixel above it and reach its
// bottom rule, so the band is one pixel lower than its cells (0 without cells).
int layoutRowBandHeight(const TQRCustomBand* band)
{
    const QList<TQRPrintable*> printables = band->Printables();
    return printables.isEmpty() ? 0 : printables.first()->Height() - 1;
}

// The datasets an object owns directly.
void addLayoutOwnedDataSets(TQuickRep& report, const QObject* owner)
{
    for (QObject* child : owner->children()) {
        if (auto* ds = qobject_cast<TDataSet*>(child))
            report.AddDataSet(ds);
    }
}

} // namespace

void TQxPrintGrid::OnReportBeforePrint(TQuickRep* Sender, bool& PrintReport)
{
    Q_UNUSED(PrintReport);
    QxGridPrintState& state = gridPrintState();
    state.SpanPageNo = 0;
    SpanPart = 0;
    state.CurrentSpan = 0;
    SavedRowHeight = 0;
    state.PrintedRows = 0;
    PageRowCount = 0;
    PadRows = 0;
    state.CurrentReport = Sender;

    // Expressions may name the fields of every dataset of the printer's owner (also those
    // its windowed controls own) and of every data module.
    if (const QObject* owner = parent()) {
        addLayoutOwnedDataSets(*Sender, owner);
        for (QObject* child : owner->children()) {
            if (child->isWidgetType())
                addLayoutOwnedDataSets(*Sender, child);
        }
    }
    for (const QObject* module : qx::dataModules())
        addLayoutOwnedDataSets(*Sender, module);
}

void TQxPrintGrid::OnPageHeaderBeforePrint(TQRCustomBand* Sender, bool& PrintBand)
{
    Q_UNUSED(Sender);
    Q_UNUSED(PrintBand);
    QxGridPrintState& state = gridPrintState();
    if (SpanPart != state.CurrentSpan)
        state.CurrentSpan = SpanPart;
    state.SpanPageNo += 1;
}

void TQxPrintGrid::OnSpanTitleBeforePrint(TQRCustomBand* Sender, bool& PrintBand)
{
    PrintBand = SpanPart == Sender->Tag();
}

void TQxPrintGrid::OnSpanHeaderBeforePrint(TQRCustomBand* Sender, bool& PrintBand)
{
    Q_UNUSED(Sender);
    Q_UNUSED(PrintBand);
    if (TQuickRep* report = Report())
        report->NewPage();
}

void TQxPrintGrid::OnDataRowAfterPrint(TQRCustomBand* Sender, bool BandPrinted)
{
    Q_UNUSED(Sender);
    Q_UNUSED(BandPrinted);
    QxGridPrintState& state = gridPrintState();
    PageRowCount += 1;
    // Look one record ahead: after the last row the page is padded up to RowsPerPage.
    if (TDataSet* ds = FPrintDataSet) {
        ds->Next();
        if (ds->Eof()) {
            PadRows = RowsPerPage() - PageRowCount;
        } else {
            ds->Prior();
            PadRows = 0;
        }
    }
    state.PrintedRows += 1;
    if (state.RecordTotal > 0 && !MasterDataSet()) {
        TQuickRep* report = Report();
        if (TQRPrinter* printer = report ? report->QRPrinter() : nullptr)
            printer->SetProgress(state.PrintedRows * 100 / ((state.SpanCount + 1) * state.RecordTotal));
    }
}

void TQxPrintGrid::OnDataFooterBeforePrint(TQRCustomBand* Sender, bool& PrintBand)
{
    Q_UNUSED(Sender);
    Q_UNUSED(PrintBand);
    QxGridPrintState& state = gridPrintState();
    if (state.SpanCount != state.CurrentSpan) {
        state.SpanPageNo = 0;
        SpanPart += 1;
    }
}

void TQxPrintGrid::OnFillerNeedData(QObject* Sender, bool& MoreData)
{
    Q_UNUSED(Sender);
    MoreData = PadRows > 0 || PageRowCount == RowsPerPage();
}

void TQxPrintGrid::OnFillerBeforePrint(TQRCustomBand* Sender, bool& PrintBand)
{
    const bool atEnd = !FPrintDataSet || FPrintDataSet->Eof();
    if (PageRowCount == RowsPerPage()) {
        // The page is full: a row of no height lets the page sum row close the page.
        const int rowHeight = layoutRowBandHeight(Sender);
        if (rowHeight != 0)
            SavedRowHeight = rowHeight;
        Sender->SetHeight(0);
        PadRows = 1;
        if (!SumTotalColumn().isEmpty() && atEnd) {
            if (auto* filler = qobject_cast<TQRSubDetail*>(Sender); filler && filler->Bands().FooterBand())
                filler->Bands().FooterBand()->SetHeight(0);
        }
    } else if (PadRows <= 0) {
        PrintBand = false;
    } else {
        Sender->SetHeight(SavedRowHeight);
    }
    showLayoutBandCells(Sender, Sender->Height() > 0);
}

void TQxPrintGrid::OnFillerAfterPrint(TQRCustomBand* Sender, bool BandPrinted)
{
    Q_UNUSED(Sender);
    Q_UNUSED(BandPrinted);
    if (PadRows > 0)
        PadRows -= 1;
    if (PageRowCount == RowsPerPage())
        PageRowCount = 0;
    const bool atEnd = !FPrintDataSet || FPrintDataSet->Eof();
    // The last blank row gives way to the total row.
    if (!SumTotalColumn().isEmpty() && PadRows == 1 && atEnd)
        PadRows = 0;
}

void TQxPrintGrid::OnPageSumBeforePrint(TQRCustomBand* Sender, bool& PrintBand)
{
    Q_UNUSED(PrintBand);
    if (!SumOnEachPage())
        Sender->SetHeight(0);
    showLayoutBandCells(Sender, Sender->Height() > 0);
}

void TQxPrintGrid::OnPageSumAfterPrint(TQRCustomBand* Sender, bool BandPrinted)
{
    Q_UNUSED(BandPrinted);
    PageRowCount = 0;
    const bool atEnd = !FPrintDataSet || FPrintDataSet->Eof();
    if (!atEnd) {
        if (TQuickRep* report = Report())
            report->NewPage();
    }
    // A page sum row that gave way to the total row is whole again for the next master
    // record or the next run of the report.
    if (SumOnEachPage())
        Sender->SetHeight(layoutRowBandHeight(Sender));
}

void TQxPrintGrid::OnMasterBeforePrint(TQRCustomBand* Sender, bool& PrintBand)
{
    Q_UNUSED(Sender);
    Q_UNUSED(PrintBand);
    QxGridPrintState& state = gridPrintState();
    state.CurrentSpan = 0;
    SpanPart = 0;
    if (state.SpanCount > 0 || MasterForceNewPage()) {
        if (TQuickRep* report = Report())
            report->NewPage();
    }
}
