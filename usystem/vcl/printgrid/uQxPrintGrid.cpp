// The grid printer's page, its settings with their defaults and setter rules, and preparing
// and discarding the report of a print.
#include "usystem/vcl/printgrid/uQxPrintGrid.h"

#include "platform/db/DataSource.h"
#include "platform/report/QRPreviewInterface.h"
#include "platform/report/QuickRep.h"
#include "platform/ui/Fonts.h"
#include "usystem/vcl/preview/uQxRptPrev.h"

namespace {

const QString kColumnsLayoutHint = QStringLiteral(
    "ColumnsLayout属性主要用于手工设置字段的显示顺序和宽度\r"
    "格式为：字段名,显示宽度 ;如果定义此值，则打印时将按照此顺序和宽度打印\r"
    "如果不定义，则按DBGird实际显示,动态设置字段顺序和宽度");

const QString kDefaultGridFoot = QStringLiteral("'第 '+PAGENUM+' 页'+IF(SPANPAGENUM>1,' (续页)',' ')");

} // namespace

// ---- TPGPage ---------------------------------------------------------------------------------

TPGPage::TPGPage(TPrintCustomGrid* Owner) : FOwner(Owner)
{
    SetPaperSize(A4);
    SetTopMargin(20);
    SetBottomMargin(20);
    SetLeftMargin(15);
    SetRightMargin(15);
}

double TPGPage::GetDimension(int Index) const
{
    switch (Index) {
    case 0: return double(FBottomMargin);
    case 1: return double(FLength);
    case 2: return double(FTopMargin);
    case 3: return double(FWidth);
    case 4: return double(FLeftMargin);
    case 5: return double(FRightMargin);
    default: return 0;
    }
}

void TPGPage::SetDimension(int Index, double Value)
{
    switch (Index) {
    case 0: FBottomMargin = Value; break;
    case 1:
        if (FPaperSize == Custom)
            FLength = Value;
        break;
    case 2: FTopMargin = Value; break;
    case 3:
        if (FPaperSize == Custom)
            FWidth = Value;
        break;
    case 4: FLeftMargin = Value; break;
    case 5: FRightMargin = Value; break;
    default: break;
    }
}

void TPGPage::SetPaperSize(TQRPaperSize Value)
{
    if (Value != Default && Value != Custom) {
        qx::report::PaperDimensions paper;
        if (qx::report::orientedPaperDimensions(Value, FOrientation, paper)) {
            // The lengths can only be written at Custom.
            FPaperSize = Custom;
            SetWidth(paper.widthMm);
            SetLength(paper.lengthMm);
        }
    }
    FPaperSize = Value;
}

void TPGPage::SetOrientation(TPrinterOrientation Value)
{
    FOrientation = Value;
    SetPaperSize(FPaperSize);
}

void TPGPage::Assign(const TPGPage& Source)
{
    FBottomMargin = Source.FBottomMargin;
    FLeftMargin = Source.FLeftMargin;
    FLength = Source.FLength;
    FOrientation = Source.FOrientation;
    FPaperSize = Source.FPaperSize;
    FRightMargin = Source.FRightMargin;
    FTopMargin = Source.FTopMargin;
    FWidth = Source.FWidth;
}

void TPGPage::setOrientationValue(int Value)
{
    // A stored form may hold anything: values outside the two orientations are ignored.
    if (Value == poPortrait || Value == poLandscape)
        SetOrientation(TPrinterOrientation(Value));
}

void TPGPage::setPaperSizeValue(int Value)
{
    if (Value < Default || Value > Custom)
        return;
    SetPaperSize(TQRPaperSize(Value));
    if (Value == Custom) {
        if (FStoredLength >= 0)
            SetLength(FStoredLength);
        if (FStoredWidth >= 0)
            SetWidth(FStoredWidth);
    }
    FStoredLength = FStoredWidth = -1;
}

void TPGPage::setLengthValue(double Value)
{
    SetLength(Value);
    FStoredLength = Value;
}

void TPGPage::setWidthValue(double Value)
{
    SetWidth(Value);
    FStoredWidth = Value;
}

// ---- TPrintCustomGrid ------------------------------------------------------------------------

TPrintCustomGrid::TPrintCustomGrid(QObject* AOwner)
    : QObject(AOwner)
    , FPageHeadFont(qx::libraryFont(9))
    , FPageFootFont(qx::libraryFont(9))
    , FPageTitle1Font(qx::libraryFont(12))
    , FPageTitle2Font(qx::libraryFont(12))
    , FGridHeadExprFont(qx::libraryFont(9))
    , FGridFootExprFont(qx::libraryFont(9))
    , FGridHeadFont(qx::libraryFont(9))
    , FDataFont(qx::libraryFont(9))
    , FPage(std::make_unique<TPGPage>(this))
{
}

TPrintCustomGrid::~TPrintCustomGrid()
{
    TPrintCustomGrid::SetReportPrepared(false);
}

void TPrintCustomGrid::SetReportPrepared(bool Value)
{
    if (Value == FPrepared)
        return;
    if (Value) {
        bool built = false;
        try {
            built = BuildReport();
        } catch (...) {
            // A half-built report must not outlive the failure.
            FReport.clear();
            FHiddenForm.reset();
            RegisterStandardPreviewClass();
            throw;
        }
        if (built) {
            RegisterPreviewClass<TQRMDIPreviewInterface>();
            FPrepared = true;
            return;
        }
    }
    FReport.clear();
    FHiddenForm.reset(); // the report goes with the form that owns it
    RegisterStandardPreviewClass();
    FPrepared = false;
}

// ---- TQxPrintGrid ----------------------------------------------------------------------------

TQxPrintGrid::TQxPrintGrid(QObject* AOwner)
    : TPrintCustomGrid(AOwner)
    , FSumFont(qx::libraryFont(9))
    , FColumnsLayoutHint(kColumnsLayoutHint)
    , FGroupFont(qx::libraryFont(9))
{
    QStringList foot = GridFootExpr();
    foot.append(kDefaultGridFoot);
    SetGridFootExpr(foot);
}

TQxPrintGrid::~TQxPrintGrid()
{
    // Unprepare while the handlers of this class are still whole.
    TPrintCustomGrid::SetReportPrepared(false);
}

void TQxPrintGrid::SetDBGrid(TQxDBGrid* Value)
{
    FDBGrid = Value;
    if (Value)
        FDataSet.clear();
}

void TQxPrintGrid::SetDataSet(TDataSet* Value)
{
    FDataSet = Value;
    if (Value)
        FDBGrid.clear();
}

void TQxPrintGrid::SetColumnsLayoutHint(const QString&)
{
    // The hint is a fixed text.
}

TDataSet* TQxPrintGrid::PrintedDataSet() const
{
    if (FDBGrid)
        return FDBGrid->DataSource() ? FDBGrid->DataSource()->DataSet() : nullptr;
    return FDataSet;
}

void TQxPrintGrid::ExtraOperation() {}
