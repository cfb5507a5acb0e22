// The report of a grid print: the empty report, the span parts with their bands, the columns
// with their title, data, blank and sum cells, and the names of the built components.
//
// Columns are fitted to the printable width: a column that no longer fits starts a new span
// part, printed as a run of pages of its own, with the fixed columns repeated at its left at
// their natural width. The other columns of a part are scaled by the part's zoom so that a
// part that spans fills the page width exactly.
//
// Title, data and sum cells are measured with AutoSize on, then fixed at their measured height
// and the column's width with AutoSize off: an auto-sized cell would shrink to its text when it
// prints and break the ruled table.
#include "usystem/vcl/printgrid/uQxPrintGrid.h"

#include "platform/db/Fields.h"
#include "platform/report/QRShapes.h"
#include "platform/report/Units.h"
#include "platform/rtl/SysUtils.h"
#include "usystem/vcl/printgrid/PrintGridLayoutColumns.h"
#include "usystem/vcl/printgrid/PrintGridLayoutCells.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"

#include <QHash>
#include <QScopeGuard>
#include <QSet>

#include <algorithm>
#include <exception>

using qx::printgrid::PrintColumn;
namespace cells = qx::printgrid::cells;

// ---- the empty report --------------------------------------------------------------------

void TPrintCustomGrid::CreateReport()
{
    if (FReport)
        return;
    FHiddenForm = std::make_unique<QWidget>();
    auto* report = new TQuickRep(FHiddenForm.get());
    FReport = report;
    report->SetUnits(MM);

    TQRPage& page = report->Page();
    page.SetLeftMargin(Page()->LeftMargin());
    page.SetRightMargin(Page()->RightMargin());
    page.SetTopMargin(Page()->TopMargin());
    page.SetBottomMargin(Page()->BottomMargin());
    page.SetOrientation(Page()->Orientation());
    page.SetPaperSize(Page()->PaperSize());
    page.SetWidth(Page()->Width());
    page.SetLength(Page()->Length());

    report->SetReportTitle(PageTitle2().isEmpty() ? PageTitle1() : PageTitle2());
    report->Bands().SetHasDetail(true);
    report->Bands().DetailBand()->SetHeight(0);
    report->SetFont(DataFont());
    report->SetOptions(PrintLastPageFooter() ? TQuickRepOptions(LastPageFooter) : TQuickRepOptions());
    BuildPageHeader();
}

// ---- ColumnsLayout -----------------------------------------------------------------------

bool TQxPrintGrid::ParseLayoutLine(int Index)
{
    qx::printgrid::LayoutLine line;
    if (!qx::printgrid::parseLayoutLine(ColumnsLayout(), Index, DBGrid(), PrintedDataSet(), line))
        return false;
    FLayoutColumn.Index = line.sourceIndex;
    FLayoutColumn.FieldName = line.fieldName;
    FLayoutColumn.Width = line.width;
    return true;
}

// ---- building ----------------------------------------------------------------------------

bool TQxPrintGrid::BuildReport()
{
    TDataSet* ds = PrintedDataSet();
    TDataSet* master = MasterDataSet();
    if (!ds || !ds->Active())
        return false;
    if (ds->IsEmpty() && !master)
        return false;
    if (master && !master->Active())
        return false;

    QxGridPrintState& state = gridPrintState();
    ds->First();
    try {
        state.RecordTotal = ds->RecordCount();
    } catch (const std::exception&) {
        state.RecordTotal = -1;
    }
    if ((DBGrid() && DBGrid()->Columns()->Count() == 0) || ds->FieldCount() == 0)
        return false;

    FGridRight = 0;
    PageRowCount = 0;
    PadRows = 0;
    FLastGroupLabel.clear();
    FLastGroupCaption.clear();
    FLastTotalCell.clear();
    FLastTotalExpr.clear();
    FLastPageSumCell.clear();
    FLastPageSumExpr.clear();
    FGroupHeadHeight = 0;
    FMasterHeadHeight = 0;

    // FixedCols is the caller's setting: this print may drop it, the next one starts from it.
    const int keptFixedCols = FixedCols();
    const auto restoreFixedCols = qScopeGuard([this, keptFixedCols] { SetFixedCols(keptFixedCols); });
    const int sourceColumns = DBGrid() ? DBGrid()->Columns()->Count() : ds->FieldCount();
    if (sourceColumns < FixedCols())
        SetFixedCols(0);

    FCharWidth = MeasureTextWidth(QStringLiteral("X"), DataFont()) + 1;
    FPrintDataSet = ds;
    FPagedLayout = Trim(GroupExpr()).isEmpty() && (SumOnEachPage() || RowsPerPage() >= 1);

    const QList<PrintColumn> columns = qx::printgrid::printColumns(*this, FCharWidth);
    if (columns.isEmpty())
        return false;

    CreateReport();
    TQuickRep* report = Report();
    if (master) {
        report->SetDataSet(master);
        report->Bands().DetailBand()->BeforePrint = [this](TQRCustomBand* Sender, bool& PrintBand) {
            OnMasterBeforePrint(Sender, PrintBand);
        };
    }
    report->Bands().SetHasPageHeader(true);
    if (!master)
        BuildTitleBand(report->Bands().PageHeaderBand());
    report->Bands().PageHeaderBand()->BeforePrint = [this](TQRCustomBand* Sender, bool& PrintBand) {
        OnPageHeaderBeforePrint(Sender, PrintBand);
    };
    report->BeforePrint = [this](TQuickRep* Sender, bool& PrintReport) { OnReportBeforePrint(Sender, PrintReport); };

    // A portrait page whose columns do not fit turns landscape (not a printer-default paper,
    // whose size is not known here).
    TQRCustomBand* detail = report->Bands().DetailBand();
    if (AutoPageVertToHorz() && report->Page().Orientation() == poPortrait && report->Page().PaperSize() != Default) {
        int sum = 0;
        for (const PrintColumn& column : columns) {
            sum += column.naturalWidth;
            if (sum > detail->Width()) {
                report->Page().SetOrientation(poLandscape);
                break;
            }
        }
    }

    int pageWidth = detail->Width();
    if (ExportMode() && ExportTxtColsPerRow() > 0)
        pageWidth = MeasureTextWidth(QStringLiteral("X"), DataFont()) * ExportTxtColsPerRow();

    state.SpanCount = 0;
    CreateSpanPartBands(0);

    // Zoom of the first part: the scalable columns that fit before the first one that does
    // not are stretched to the page width. A fixed column that does not fit loses, with the
    // fixed columns before it, its fixed status.
    FZoom = 1.0;
    int fixedWidth = 0;
    int scalableSum = 0;
    int runningTotal = 0;
    for (const PrintColumn& column : columns) {
        runningTotal += column.naturalWidth;
        const bool fixed = column.index < FixedCols();
        if (runningTotal > pageWidth) {
            if (fixed) {
                scalableSum = fixedWidth;
                fixedWidth = 0;
                SetFixedCols(0);
            }
            FZoom = scalableSum > 0 ? double(pageWidth - fixedWidth) / scalableSum
                                    : double(pageWidth - fixedWidth) / column.naturalWidth;
            break;
        }
        if (fixed)
            fixedWidth += column.naturalWidth;
        else
            scalableSum += column.naturalWidth;
    }
    if (FZoom == 1.0 && ZoomToPageWidth() && scalableSum > 0)
        FZoom = double(pageWidth - fixedWidth) / scalableSum;
    FFixedWidth = fixedWidth;

    const auto scaled = [this](int width) { return int(Round(width * FZoom - 0.49)); };
    int left = 0;
    // A part always takes its first scalable column, even one wider than the page (it is
    // scaled down to fit): a part without one would print pages of the fixed columns only.
    bool partHasScalable = false;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const PrintColumn& column = columns.at(i);
        const bool fixed = column.index < FixedCols();
        if (left + column.naturalWidth <= pageWidth || fixed || !partHasScalable) {
            AddColumn(column.index, left);
            left += fixed ? column.naturalWidth : scaled(column.naturalWidth);
            partHasScalable = partHasScalable || !fixed;
            continue;
        }
        if (!AllowSpanPage())
            break;

        FinishSpanPart();
        state.SpanCount += 1;
        FGridRight = 0;
        CreateSpanPartBands(state.SpanCount);
        FLastGroupLabel.clear();
        FLastGroupCaption.clear();
        FLastTotalCell.clear();
        FLastTotalExpr.clear();
        FLastPageSumCell.clear();
        FLastPageSumExpr.clear();

        // Zoom of the new part, from the columns that fit beside the fixed ones.
        FZoom = 1.0;
        int total = 0;
        for (qsizetype j = i; j < columns.size(); ++j) {
            const int width = columns.at(j).naturalWidth;
            if (width + total + FFixedWidth > pageWidth) {
                FZoom = total > 0 ? double(pageWidth - FFixedWidth) / total : double(pageWidth - FFixedWidth) / width;
                break;
            }
            total += width;
        }
        if (FZoom == 1.0 && ZoomToPageWidth() && total > 0)
            FZoom = double(pageWidth - FFixedWidth) / total;

        left = 0;
        for (const PrintColumn& fixedColumn : columns) {
            if (fixedColumn.index >= FixedCols())
                continue;
            AddColumn(fixedColumn.index, left);
            left += fixedColumn.naturalWidth;
        }
        AddColumn(column.index, left);
        left += scaled(column.naturalWidth);
        partHasScalable = true;
    }
    FinishSpanPart();

    NameComponents();
    return true;
}

// ---- span parts --------------------------------------------------------------------------

void TQxPrintGrid::CreateSpanPartBands(int Part)
{
    TQuickRep* report = Report();
    const bool masterMode = MasterDataSet() != nullptr;

    auto* spanTitle = new TQRChildBand(report);
    spanTitle->SetHeight(0);
    spanTitle->SetTag(Part);
    spanTitle->BeforePrint = [this](TQRCustomBand* Sender, bool& PrintBand) { OnSpanTitleBeforePrint(Sender, PrintBand); };
    if (Part == 0)
        spanTitle->SetParentBand(masterMode ? static_cast<TQRCustomBand*>(report->Bands().DetailBand())
                                            : static_cast<TQRCustomBand*>(report->Bands().PageHeaderBand()));
    else
        spanTitle->SetParentBand(FSpanTitleBand);
    FSpanTitleBand = spanTitle;

    auto* data = new TQRSubDetail(report);
    data->SetMaster(report);
    data->SetDataSet(FPrintDataSet);
    data->AfterPrint = [this](TQRCustomBand* Sender, bool BandPrinted) { OnDataRowAfterPrint(Sender, BandPrinted); };
    if (Part > 0 || masterMode) {
        data->Bands().SetHasHeader(true);
        data->Bands().HeaderBand()->SetHeight(0);
    }
    if (Part > 0) {
        data->Bands().HeaderBand()->BeforePrint = [this](TQRCustomBand* Sender, bool& PrintBand) {
            OnSpanHeaderBeforePrint(Sender, PrintBand);
        };
    }
    data->Bands().SetHasFooter(true);
    TQRBand* footer = data->Bands().FooterBand();
    footer->SetHeight(0);
    footer->BeforePrint = [this](TQRCustomBand* Sender, bool& PrintBand) { OnDataFooterBeforePrint(Sender, PrintBand); };
    FDataBand = data;
    if (masterMode) {
        TQRBand* header = data->Bands().HeaderBand();
        BuildTitleBand(header);
        FMasterHeadHeight = header->Height();
    }

    FGroupBand.clear();
    FGroupFooterBand.clear();
    FFillerBand.clear();
    FGroupHeadHeight = 0;
    if (!Trim(GroupExpr()).isEmpty()) {
        auto* group = new TQRGroup(report);
        group->SetMaster(data);
        group->SetExpression(GroupExpr());
        group->SetHeight(0);
        if (!Trim(GroupTitleExpr()).isEmpty()) {
            auto* heading = new TsQRExpr(group);
            heading->SetFont(GroupFont());
            heading->SetAutoSize(true);
            heading->SetExpression(GroupTitleExpr());
            heading->SetLeft(0);
            const int headingHeight = heading->Height();
            const int groupHeight = int(Round(1.5 * headingHeight));
            group->SetHeight(groupHeight);
            heading->SetTop((groupHeight - headingHeight) / 2);
            FGroupHeadHeight = groupHeight;
        }
        auto* groupFooter = new TQRBand(report, rbGroupFooter);
        groupFooter->SetHeight(0);
        group->SetFooterBand(groupFooter);
        FGroupBand = group;
        FGroupFooterBand = groupFooter;

        // The group sums under the table, each a quarter line below the one before.
        int offset = 0;
        for (const QString& line : GroupSumExpr()) {
            auto* sum = new TsQRExpr(footer);
            sum->SetFont(GroupFont());
            sum->SetAutoSize(true);
            sum->SetMaster(data);
            sum->SetExpression(line);
            sum->SetLeft(0);
            const int height = sum->Height();
            sum->SetTop(offset + int(Round(height * 0.25)));
            offset += int(Round(1.25 * height));
        }
        if (!GroupSumExpr().isEmpty())
            footer->SetHeight(offset);
        return;
    }

    auto* filler = new TQRSubDetail(report);
    filler->SetMaster(data);
    filler->SetHeight(0);
    filler->BeforePrint = [this](TQRCustomBand* Sender, bool& PrintBand) { OnFillerBeforePrint(Sender, PrintBand); };
    filler->AfterPrint = [this](TQRCustomBand* Sender, bool BandPrinted) { OnFillerAfterPrint(Sender, BandPrinted); };
    filler->OnNeedData = [this](QObject* Sender, bool& MoreData) { OnFillerNeedData(Sender, MoreData); };
    filler->Bands().SetHasFooter(true);
    TQRBand* pageSum = filler->Bands().FooterBand();
    pageSum->SetHeight(0);
    pageSum->BeforePrint = [this](TQRCustomBand* Sender, bool& PrintBand) { OnPageSumBeforePrint(Sender, PrintBand); };
    pageSum->AfterPrint = [this](TQRCustomBand* Sender, bool BandPrinted) { OnPageSumAfterPrint(Sender, BandPrinted); };
    FFillerBand = filler;
}

void TQxPrintGrid::FinishSpanPart()
{
    TQuickRep* report = Report();
    TQRBand* footer = FDataBand->Bands().FooterBand();
    if (!FPagedLayout) {
        // The grid foot follows the last row of the part; a grey rule closes the table.
        BuildGridFooterBand(footer);
        footer->SetHeight(footer->Height() + 20);
        if (PrintGridLine()) {
            auto* rule = new TQRShape(footer);
            rule->SetShape(qrsHorLine);
            rule->SetHeight(1);
            rule->SetLeft(0);
            rule->SetTop(-1);
            rule->SetWidth(FGridRight + 1);
            rule->Pen().Color = TColor(0x808080);
        }
        if (!report->Bands().HasPageFooter())
            BuildPageFooter();
        return;
    }

    // Paged layout: the grid foot stands in the page footer, which grows so that it takes
    // the room below the last row a page can hold.
    if (!report->Bands().HasPageFooter()) {
        report->Bands().SetHasPageFooter(true);
        report->Bands().PageFooterBand()->SetHeight(0);
        BuildGridFooterBand(report->Bands().PageFooterBand());
        BuildPageFooter();
    }
    TQRBand* pageHeader = report->Bands().PageHeaderBand();
    TQRBand* pageFooter = report->Bands().PageFooterBand();
    // The room between the margins in whole pixels, never more than the engine has, so that
    // a page filled to it is never pushed over by a fraction of a pixel.
    const TQRPage& page = report->Page();
    int room = int(qx::report::unitsToPixels(page.PrintableLengthUnits()));
    if (pageHeader)
        room -= pageHeader->Height();
    if (pageFooter)
        room -= pageFooter->Height();
    TQRBand* pageSum = FFillerBand ? FFillerBand->Bands().FooterBand() : nullptr;
    // The column titles of the part: on its span title band, or in master mode (where they
    // print with the titles at the top of each master record's table) on its data header.
    TQRBand* masterHeader = MasterDataSet() ? FDataBand->Bands().HeaderBand() : nullptr;
    const int titles = masterHeader ? masterHeader->Height() : FSpanTitleBand->Height();
    int freeRoom = room - titles - (pageSum ? pageSum->Height() : 0);
    const int rowHeight = FDataBand->Height();
    if (RowsPerPage() < 1)
        SetRowsPerPage(rowHeight > 0 ? std::max(0, freeRoom / rowHeight - 1) : 0);
    freeRoom -= RowsPerPage() * rowHeight;
    if (freeRoom >= 0 && pageFooter)
        pageFooter->SetHeight(pageFooter->Height() + freeRoom);
}

// ---- one column --------------------------------------------------------------------------

void TQxPrintGrid::AddColumn(int Index, int Left)
{
    if (!ColumnsLayout().isEmpty() && !ParseLayoutLine(Index))
        return;
    PrintColumn column;
    if (!qx::printgrid::printColumn(*this, Index, FCharWidth, column))
        return;

    const bool fixed = Index < FixedCols();
    const bool grouped = !Trim(GroupExpr()).isEmpty();
    const bool groupTitles = grouped && !Trim(GroupTitleExpr()).isEmpty();
    const bool masterMode = MasterDataSet() != nullptr;
    const bool ruled = PrintGridLine();
    const int width = (fixed ? column.naturalWidth : int(Round(column.naturalWidth * FZoom - 0.49))) + 1;

    // The title, on the group band, the master header or the part's span title band.
    TQRCustomBand* titleBand = groupTitles ? static_cast<TQRCustomBand*>(FGroupBand.data())
                               : masterMode ? static_cast<TQRCustomBand*>(FDataBand->Bands().HeaderBand())
                                            : static_cast<TQRCustomBand*>(FSpanTitleBand.data());
    const int titleTop = groupTitles ? FGroupHeadHeight : masterMode ? FMasterHeadHeight : 0;
    auto* title = new TsQRLabel(titleBand);
    const int titleHeight = cells::measureRowHeight(*title, GridHeadFont(), RowSpace(),
                                                    [&] { title->SetCaption(column.caption); });
    title->SetAlignment(column.titleAlignment);
    cells::place(*title, Left, titleTop, width, titleHeight);
    cells::fill(*title, GridHeadBColor());
    cells::rules(*title, ruled, ruled, true, true);

    const bool titleGroups = !TitleGroup().isEmpty() && !ExportMode();
    titleBand->SetHeight(titleTop + (titleGroups ? 2 * titleHeight : titleHeight) - 1);

    if (titleGroups) {
        QString caption;
        if (!cells::namedLine(TitleGroup(), column.fieldName, caption)) {
            // No group: the title spans both title rows.
            title->SetHeight(2 * titleHeight);
            FLastGroupLabel.clear();
            FLastGroupCaption.clear();
        } else if (!caption.isEmpty() && FLastGroupLabel && caption == FLastGroupCaption) {
            FLastGroupLabel->SetWidth(FLastGroupLabel->Width() + width - 1);
            title->SetTop(titleTop + titleHeight);
            if (!ruled)
                title->Frame().DrawTop = false;
        } else {
            auto* group = new TsQRLabel(titleBand);
            group->SetAutoSize(false);
            group->SetFont(GridHeadFont());
            group->SetCaption(caption);
            group->SetAlignment(taCenter);
            cells::place(*group, Left, titleTop, width, titleHeight);
            group->SetTransparent(title->Transparent());
            group->SetColor(title->Color());
            cells::rules(*group, ruled, ruled, true, false);
            title->SetTop(titleTop + titleHeight);
            FLastGroupLabel = group;
            FLastGroupCaption = caption;
        }
    }

    // The data cell.
    auto* cell = new TsQRDBText(FDataBand);
    const int cellHeight = cells::measureRowHeight(*cell, DataFont(), RowSpace(), [&] {
        cell->SetDataSet(FPrintDataSet);
        cell->SetDataField(column.fieldName);
    });
    cell->SetAlignment(column.alignment);
    cells::place(*cell, Left, -1, width, cellHeight);
    cell->SetTransparent(true);
    FGridRight += width - 1;
    if (ruled)
        cells::rules(*cell, true, true, !ExportMode(), true);
    if (fixed)
        cells::fill(*cell, FixedColor());
    FDataBand->SetHeight(cellHeight - 1);

    // The blank cell of the padding rows.
    if (FFillerBand) {
        auto* blank = new TsQRLabel(FFillerBand);
        blank->SetAutoSize(false);
        blank->SetFont(DataFont());
        blank->SetCaption(QStringLiteral(" "));
        cells::place(*blank, Left, -1, width, cellHeight);
        blank->SetTransparent(cell->Transparent());
        blank->SetColor(cell->Color());
        cells::rules(*blank, cell->Frame().DrawLeft, cell->Frame().DrawRight, cell->Frame().DrawTop, ruled);
        FFillerBand->SetHeight(cellHeight - 1);
    }

    const cells::SumCellStyle sumStyle{SumFont(), RowSpace(), SumBColor(), column.alignment, FDataBand};
    // The total row under the table.
    if (!SumTotalColumn().isEmpty() && (!grouped || GroupSumExpr().isEmpty())) {
        TQRBand* footer = FDataBand->Bands().FooterBand();
        if (TsQRExpr* total = cells::addSumCell(SumTotalColumn(), column.fieldName, *footer, Left, width, sumStyle,
                                                FLastTotalCell, FLastTotalExpr)) {
            if (ruled)
                cells::rules(*total, true, true, !ExportMode(), true);
            else
                cells::rules(*total, false, false, true, true);
            // In the paged layout the total row takes the place of the last blank row, so it
            // is exactly one row high; in the flowing layout the grid foot follows below it.
            footer->SetHeight(FPagedLayout ? total->Height() - 1 : total->Height());
        }
    }
    // The page sum row (a group sum row when grouping).
    if (!SumPageColumn().isEmpty() && (SumOnEachPage() || grouped)) {
        TQRCustomBand* band = grouped ? static_cast<TQRCustomBand*>(FGroupFooterBand.data())
                                      : static_cast<TQRCustomBand*>(FFillerBand->Bands().FooterBand());
        if (TsQRExpr* sum = cells::addSumCell(SumPageColumn(), column.fieldName, *band, Left, width, sumStyle,
                                              FLastPageSumCell, FLastPageSumExpr)) {
            cells::rules(*sum, ruled, ruled, true, true);
            band->SetHeight(sum->Height() - 1);
        }
    }
}

// ---- names -------------------------------------------------------------------------------

void TQxPrintGrid::NameComponents()
{
    QWidget* owner = HiddenForm();
    if (!owner)
        return;
    QList<QObject*> components;
    for (QObject* object : owner->findChildren<QObject*>()) {
        if (qobject_cast<TQuickRep*>(object) || qobject_cast<TQRCustomBand*>(object) || qobject_cast<TQRPrintable*>(object))
            components.append(object);
    }
    QSet<QString> taken;
    for (const QObject* object : components) {
        if (!object->objectName().isEmpty())
            taken.insert(object->objectName().toLower());
    }
    // Numbers below the last one given to a class are all taken already.
    QHash<QString, int> lastNumber;
    for (QObject* object : components) {
        if (!object->objectName().isEmpty())
            continue;
        const QString base = QString::fromLatin1(object->metaObject()->className()).mid(1);
        int number = lastNumber.value(base, 0);
        QString name;
        do {
            name = base + QString::number(++number);
        } while (taken.contains(name.toLower()));
        lastNumber.insert(base, number);
        taken.insert(name.toLower());
        // A label without a caption takes its new name as caption: a blank title or group
        // caption must stay blank.
        auto* label = qobject_cast<TsQRLabel*>(object);
        const QString caption = label ? label->Caption() : QString();
        object->setObjectName(name);
        if (label)
            label->SetCaption(caption);
    }
}
