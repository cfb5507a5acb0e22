// The grid printer: prints the rows of a data grid (or of any dataset) as a ruled table with
// titles, head and foot lines, sums and page numbers, and writes the same table as a boxed
// text file or an RTF document.
//
// It draws no page itself. For every print it builds a report at run time (bands and
// printables placed by code), lets the report engine preview or print it, and throws it away:
// a printer is unprepared (no report, the engine's standard preview registered) except during
// a print or an export, when it is prepared (report and hidden form exist, the library's
// preview window registered).
//
//   TPGPage            paper and margins, in millimetres
//   TPrintCustomGrid   the engine: page, fonts, head and foot settings and the virtual
//                      operations of the print cycle
//   TQxPrintGrid       the component used everywhere: data source, sums, groups and column
//                      layout, every setting published
//
// The unit is one header over several files: uQxPrintGrid.cpp (page, settings, preparing),
// uQxPrintGridBands.cpp (head and foot lines, panels), uQxPrintGridLayout.cpp (the report's
// bands and columns) and uQxPrintGridPrint.cpp (printing and exports). The state one grid print
// shares with the page-number functions is in uQxPrintGridState.h.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/report/Paper.h"
#include "platform/report/QRBands.h"
#include "platform/report/QuickRep.h"
#include "platform/stream/Persistent.h"
#include "platform/ui/Colors.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/report/uQxQrenh.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class TPrintCustomGrid;

// ---- head and foot lines -----------------------------------------------------------------

// Splits a head or foot line at its markers "<<" (left), "||" (centred) and ">>" (right) into
// the LeftPart, CenterPart and RightPart of the grid-print state. Text before the first marker
// is the left part unless a "<<" follows; an empty line gives the left part "' '".
void SplitAlignedLine(const QString& Line);
// The height and width in pixels of Text drawn in Font, on the engine's 96-dpi device.
int MeasureTextHeight(const QString& Text, const QFont& Font);
int MeasureTextWidth(const QString& Text, const QFont& Font);

// ---- the page ----------------------------------------------------------------------------

// Paper and margins in millimetres. A table paper size fills Width and Length from the
// engine's paper table (swapped for landscape); Width and Length can be written only while the
// paper size is Custom. Stored inside its printer's image as Page.<name>.
class TPGPage : public qx::PersistentObject
{
    Q_OBJECT
    Q_PROPERTY(double BottomMargin READ BottomMargin WRITE SetBottomMargin)
    Q_PROPERTY(double LeftMargin READ LeftMargin WRITE SetLeftMargin)
    Q_PROPERTY(double Length READ Length WRITE setLengthValue)
    Q_PROPERTY(int Orientation READ orientationValue WRITE setOrientationValue)
    Q_PROPERTY(int PaperSize READ paperSizeValue WRITE setPaperSizeValue)
    Q_PROPERTY(double RightMargin READ RightMargin WRITE SetRightMargin)
    Q_PROPERTY(double TopMargin READ TopMargin WRITE SetTopMargin)
    Q_PROPERTY(double Width READ Width WRITE setWidthValue)

public:
    // A4 portrait, top and bottom margins 20, side margins 15.
    explicit TPGPage(TPrintCustomGrid* Owner);

    // The lengths by the engine's page indexes: 0 BottomMargin, 1 Length, 2 TopMargin,
    // 3 Width, 4 LeftMargin, 5 RightMargin; any other index reads 0 and writes nothing.
    double GetDimension(int Index) const;
    void SetDimension(int Index, double Value);

    double BottomMargin() const { return GetDimension(0); }
    void SetBottomMargin(double Value) { SetDimension(0, Value); }
    double Length() const { return GetDimension(1); }
    void SetLength(double Value) { SetDimension(1, Value); }
    double TopMargin() const { return GetDimension(2); }
    void SetTopMargin(double Value) { SetDimension(2, Value); }
    double Width() const { return GetDimension(3); }
    void SetWidth(double Value) { SetDimension(3, Value); }
    double LeftMargin() const { return GetDimension(4); }
    void SetLeftMargin(double Value) { SetDimension(4, Value); }
    double RightMargin() const { return GetDimension(5); }
    void SetRightMargin(double Value) { SetDimension(5, Value); }

    TPrinterOrientation Orientation() const { return FOrientation; }
    // Stores the orientation and applies the paper size again, so the lengths follow.
    void SetOrientation(TPrinterOrientation Value);
    TQRPaperSize PaperSize() const { return FPaperSize; }
    // A table size sets Width and Length from the table (swapped for landscape); Default and
    // Custom are stored without touching them.
    void SetPaperSize(TQRPaperSize Value);

    TPrintCustomGrid* Owner() const { return FOwner; }

    // Copies every setting of Source.
    void Assign(const TPGPage& Source);

private:
    int orientationValue() const { return FOrientation; }
    void setOrientationValue(int Value);
    int paperSizeValue() const { return FPaperSize; }
    void setPaperSizeValue(int Value);
    // A stored page names its lengths before its paper size: lengths read while the size is
    // not yet Custom are kept and applied when the stored size turns out to be Custom.
    void setLengthValue(double Value);
    void setWidthValue(double Value);
    double FStoredLength = -1;
    double FStoredWidth = -1;

    // Held in 80-bit floating point, as the page's lengths always were.
    long double FBottomMargin = 0;
    long double FLeftMargin = 0;
    long double FLength = 0;
    TPrinterOrientation FOrientation = poPortrait;
    TQRPaperSize FPaperSize = Default;
    long double FRightMargin = 0;
    long double FTopMargin = 0;
    long double FWidth = 0;
    TPrintCustomGrid* FOwner;
};

// ---- the engine --------------------------------------------------------------------------

class TPrintCustomGrid : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("QxIntegerKinds", "FixedColor,GridHeadBColor=TColor")
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int FixedCols READ FixedCols WRITE SetFixedCols)
    Q_PROPERTY(int FixedColor READ FixedColor WRITE SetFixedColor)
    Q_PROPERTY(bool PrintGridLine READ PrintGridLine WRITE SetPrintGridLine)
    Q_PROPERTY(QWidget* GridHeadPanel READ GridHeadPanel WRITE SetGridHeadPanel)
    Q_PROPERTY(int GridHeadPanelStartY READ GridHeadPanelStartY WRITE SetGridHeadPanelStartY)
    Q_PROPERTY(int GridHeadPanelEndY READ GridHeadPanelEndY WRITE SetGridHeadPanelEndY)
    Q_PROPERTY(QWidget* GridFootPanel READ GridFootPanel WRITE SetGridFootPanel)
    Q_PROPERTY(int GridFootPanelStartY READ GridFootPanelStartY WRITE SetGridFootPanelStartY)
    Q_PROPERTY(int GridFootPanelEndY READ GridFootPanelEndY WRITE SetGridFootPanelEndY)
    Q_PROPERTY(QStringList PageHeadExpr READ PageHeadExpr WRITE SetPageHeadExpr)
    Q_PROPERTY(QStringList PageFootExpr READ PageFootExpr WRITE SetPageFootExpr)
    Q_PROPERTY(QFont PageHeadFont READ PageHeadFont WRITE SetPageHeadFont)
    Q_PROPERTY(QFont PageFootFont READ PageFootFont WRITE SetPageFootFont)
    Q_PROPERTY(QString PageTitle1 READ PageTitle1 WRITE SetPageTitle1)
    Q_PROPERTY(QFont PageTitle1Font READ PageTitle1Font WRITE SetPageTitle1Font)
    Q_PROPERTY(QString PageTitle2 READ PageTitle2 WRITE SetPageTitle2)
    Q_PROPERTY(QFont PageTitle2Font READ PageTitle2Font WRITE SetPageTitle2Font)
    Q_PROPERTY(QStringList GridHeadExpr READ GridHeadExpr WRITE SetGridHeadExpr)
    Q_PROPERTY(QFont GridHeadExprFont READ GridHeadExprFont WRITE SetGridHeadExprFont)
    Q_PROPERTY(QStringList GridFootExpr READ GridFootExpr WRITE SetGridFootExpr)
    Q_PROPERTY(QFont GridFootExprFont READ GridFootExprFont WRITE SetGridFootExprFont)
    Q_PROPERTY(QFont GridHeadFont READ GridHeadFont WRITE SetGridHeadFont)
    Q_PROPERTY(int GridHeadBColor READ GridHeadBColor WRITE SetGridHeadBColor)
    Q_PROPERTY(QFont DataFont READ DataFont WRITE SetDataFont)
    Q_PROPERTY(float RowSpace READ RowSpace WRITE SetRowSpace)
    Q_PROPERTY(bool ZoomToPageWidth READ ZoomToPageWidth WRITE SetZoomToPageWidth)
    Q_PROPERTY(bool AllowSpanPage READ AllowSpanPage WRITE SetAllowSpanPage)
    Q_PROPERTY(bool AutoPageVertToHorz READ AutoPageVertToHorz WRITE SetAutoPageVertToHorz)
    Q_PROPERTY(bool TwoPassReport READ TwoPassReport WRITE SetTwoPassReport)
    Q_PROPERTY(TPGPage* Page READ Page)
    Q_PROPERTY(bool PrintLastPageFooter READ PrintLastPageFooter WRITE SetPrintLastPageFooter)

public:
    explicit TPrintCustomGrid(QObject* AOwner = nullptr);
    // Unprepares (the report and hidden form go) before the settings go.
    ~TPrintCustomGrid() override;

    // ---- settings ----------------------------------------------------------------------
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value) { FFixedCols = Value; }
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value) { FFixedColor = Value; }
    bool PrintGridLine() const { return FPrintGridLine; }
    void SetPrintGridLine(bool Value) { FPrintGridLine = Value; }
    // Cleared when the panel is destroyed.
    QWidget* GridHeadPanel() const { return FGridHeadPanel; }
    void SetGridHeadPanel(QWidget* Value) { FGridHeadPanel = Value; }
    int GridHeadPanelStartY() const { return FGridHeadPanelStartY; }
    void SetGridHeadPanelStartY(int Value) { FGridHeadPanelStartY = Value; }
    int GridHeadPanelEndY() const { return FGridHeadPanelEndY; }
    void SetGridHeadPanelEndY(int Value) { FGridHeadPanelEndY = Value; }
    QWidget* GridFootPanel() const { return FGridFootPanel; }
    void SetGridFootPanel(QWidget* Value) { FGridFootPanel = Value; }
    int GridFootPanelStartY() const { return FGridFootPanelStartY; }
    void SetGridFootPanelStartY(int Value) { FGridFootPanelStartY = Value; }
    int GridFootPanelEndY() const { return FGridFootPanelEndY; }
    void SetGridFootPanelEndY(int Value) { FGridFootPanelEndY = Value; }
    QStringList PageHeadExpr() const { return FPageHeadExpr; }
    void SetPageHeadExpr(const QStringList& Value) { FPageHeadExpr = Value; }
    QStringList PageFootExpr() const { return FPageFootExpr; }
    void SetPageFootExpr(const QStringList& Value) { FPageFootExpr = Value; }
    QFont PageHeadFont() const { return FPageHeadFont; }
    void SetPageHeadFont(const QFont& Value) { FPageHeadFont = Value; }
    QFont PageFootFont() const { return FPageFootFont; }
    void SetPageFootFont(const QFont& Value) { FPageFootFont = Value; }
    QString PageTitle1() const { return FPageTitle1; }
    void SetPageTitle1(const QString& Value) { FPageTitle1 = Value; }
    QFont PageTitle1Font() const { return FPageTitle1Font; }
    void SetPageTitle1Font(const QFont& Value) { FPageTitle1Font = Value; }
    QString PageTitle2() const { return FPageTitle2; }
    void SetPageTitle2(const QString& Value) { FPageTitle2 = Value; }
    QFont PageTitle2Font() const { return FPageTitle2Font; }
    void SetPageTitle2Font(const QFont& Value) { FPageTitle2Font = Value; }
    QStringList GridHeadExpr() const { return FGridHeadExpr; }
    void SetGridHeadExpr(const QStringList& Value) { FGridHeadExpr = Value; }
    QFont GridHeadExprFont() const { return FGridHeadExprFont; }
    void SetGridHeadExprFont(const QFont& Value) { FGridHeadExprFont = Value; }
    QStringList GridFootExpr() const { return FGridFootExpr; }
    void SetGridFootExpr(const QStringList& Value) { FGridFootExpr = Value; }
    QFont GridFootExprFont() const { return FGridFootExprFont; }
    void SetGridFootExprFont(const QFont& Value) { FGridFootExprFont = Value; }
    QFont GridHeadFont() const { return FGridHeadFont; }
    void SetGridHeadFont(const QFont& Value) { FGridHeadFont = Value; }
    TColor GridHeadBColor() const { return FGridHeadBColor; }
    void SetGridHeadBColor(TColor Value) { FGridHeadBColor = Value; }
    QFont DataFont() const { return FDataFont; }
    void SetDataFont(const QFont& Value) { FDataFont = Value; }
    float RowSpace() const { return FRowSpace; }
    void SetRowSpace(float Value) { FRowSpace = Value; }
    bool ZoomToPageWidth() const { return FZoomToPageWidth; }
    void SetZoomToPageWidth(bool Value) { FZoomToPageWidth = Value; }
    bool AllowSpanPage() const { return FAllowSpanPage; }
    void SetAllowSpanPage(bool Value) { FAllowSpanPage = Value; }
    bool AutoPageVertToHorz() const { return FAutoPageVertToHorz; }
    void SetAutoPageVertToHorz(bool Value) { FAutoPageVertToHorz = Value; }
    bool TwoPassReport() const { return FTwoPassReport; }
    void SetTwoPassReport(bool Value) { FTwoPassReport = Value; }
    TPGPage* Page() const { return FPage.get(); }
    // Copies the settings of Value into the printer's own page.
    void SetPage(const TPGPage& Value) { FPage->Assign(Value); }
    bool PrintLastPageFooter() const { return FPrintLastPageFooter; }
    void SetPrintLastPageFooter(bool Value) { FPrintLastPageFooter = Value; }

    // ---- state -------------------------------------------------------------------------
    bool Prepared() const { return FPrepared; }
    // The report of the current print (nullptr while unprepared).
    TQuickRep* Report() const { return FReport; }
    // The never-shown form that owns the report.
    QWidget* HiddenForm() const { return FHiddenForm.get(); }
    bool ExportMode() const { return FExportMode; }
    // Installed font names with their family bits, for the RTF font table.
    const QList<QPair<QString, int>>& FontList() const { return FFontList; }

    // ---- the print cycle ---------------------------------------------------------------
    // True: builds the report (BuildReport) and registers the library's preview window;
    // false, or when building gave no report: frees the report and the hidden form and
    // registers the engine's standard preview again. Nothing when Value equals Prepared.
    virtual void SetReportPrepared(bool Value);
    // Creates the hidden form and the empty report, with the page, title, font and options.
    virtual void CreateReport();
    // PageHeadExpr onto the page-header band.
    virtual void BuildPageHeader();
    // PageFootExpr onto the page-footer band.
    virtual void BuildPageFooter();
    // The visible controls of Panel whose top lies between StartY and EndY (both 0: all of
    // them) as printables under what Band holds; the band grows by the range.
    virtual void PanelToBand(QWidget* Panel, int StartY, TQRCustomBand* Band, int EndY);
    // The same controls as text lines, by rows of overlapping tops and columns of the panel
    // font's cell; Lines is replaced.
    virtual void PanelToText(QWidget* Panel, int StartY, QStringList& Lines, int EndY);
    // Preview (true) or print.
    virtual void Print(bool Preview) = 0;
    // Builds the bands and columns of the report; false when there is nothing to print.
    virtual bool BuildReport() = 0;
    // Titles and the grid head (panel or lines) onto Band.
    virtual void BuildTitleBand(TQRCustomBand* Band);
    // The grid foot (panel or lines) onto Band.
    virtual void BuildGridFooterBand(TQRCustomBand* Band);
    // The head panel's text lines into GridHeadExpr (when a head panel is set).
    virtual void GridHeadPanelText();
    // The foot panel's text lines into GridFootExpr (when a foot panel is set).
    virtual void GridFootPanelText();
    // The table as a boxed text file.
    virtual void ExportText(const QString& FileName) = 0;
    // The table as an RTF document (with a grid only).
    virtual void ExportRtf(const QString& FileName) = 0;
    virtual void ExtraOperation() = 0;

protected:
    // Places one head or foot line (split by SplitAlignedLine) on Band at Top in Font; each
    // non-empty part becomes an auto-sized expression aligned to the band. GridLine: the
    // grid-head and grid-foot form (transparent, at left 0, a quarter of its height below Top).
    // Returns the height of the last printable placed, or LastHeight when none was placed.
    int PlaceAlignedLine(const QString& Line, TQRCustomBand* Band, int Top, const QFont& Font,
                         bool GridLine, int LastHeight);
    // The grid-head or grid-foot lines on Band, each a quarter line below the running offset;
    // the band's height becomes the offset + 3.
    void PlaceExpressionLines(const QStringList& Lines, const QFont& Font, TQRCustomBand* Band);

    bool FPrepared = false;
    QPointer<TQuickRep> FReport;
    std::unique_ptr<QWidget> FHiddenForm;
    bool FExportMode = false;
    QList<QPair<QString, int>> FFontList;

private:
    int FTag = 0;
    int FFixedCols = 0;
    TColor FFixedColor = clWhite;
    bool FPrintGridLine = true;
    QPointer<QWidget> FGridHeadPanel;
    int FGridHeadPanelStartY = 0;
    int FGridHeadPanelEndY = 0;
    QPointer<QWidget> FGridFootPanel;
    int FGridFootPanelStartY = 0;
    int FGridFootPanelEndY = 0;
    QStringList FPageHeadExpr;
    QStringList FPageFootExpr;
    QFont FPageHeadFont;
    QFont FPageFootFont;
    QString FPageTitle1;
    QFont FPageTitle1Font;
    QString FPageTitle2;
    QFont FPageTitle2Font;
    QStringList FGridHeadExpr;
    QFont FGridHeadExprFont;
    QStringList FGridFootExpr;
    QFont FGridFootExprFont;
    QFont FGridHeadFont;
    TColor FGridHeadBColor = clWhite;
    QFont FDataFont;
    float FRowSpace = 0.5f;
    bool FZoomToPageWidth = false;
    bool FAllowSpanPage = true;
    bool FAutoPageVertToHorz = true;
    bool FTwoPassReport = false;
    std::unique_ptr<TPGPage> FPage;
    bool FPrintLastPageFooter = true;
};

// ---- the component -----------------------------------------------------------------------

class TQxPrintGrid : public TPrintCustomGrid
{
    Q_OBJECT
    Q_CLASSINFO("QxIntegerKinds", "SumBColor=TColor")
    Q_PROPERTY(bool SumOnEachPage READ SumOnEachPage WRITE SetSumOnEachPage)
    Q_PROPERTY(int RowsPerPage READ RowsPerPage WRITE SetRowsPerPage)
    Q_PROPERTY(int ExportTxtColsPerRow READ ExportTxtColsPerRow WRITE SetExportTxtColsPerRow)
    Q_PROPERTY(QString GroupExpr READ GroupExpr WRITE SetGroupExpr)
    Q_PROPERTY(QString GroupTitleExpr READ GroupTitleExpr WRITE SetGroupTitleExpr)
    Q_PROPERTY(QStringList GroupSumExpr READ GroupSumExpr WRITE SetGroupSumExpr)
    Q_PROPERTY(QStringList SumTotalColumn READ SumTotalColumn WRITE SetSumTotalColumn)
    Q_PROPERTY(QStringList SumPageColumn READ SumPageColumn WRITE SetSumPageColumn)
    Q_PROPERTY(QStringList TitleGroup READ TitleGroup WRITE SetTitleGroup)
    Q_PROPERTY(QFont SumFont READ SumFont WRITE SetSumFont)
    Q_PROPERTY(int SumBColor READ SumBColor WRITE SetSumBColor)
    Q_PROPERTY(TQxDBGrid* DBGrid READ DBGrid WRITE SetDBGrid)
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(TDataSet* MasterDataSet READ MasterDataSet WRITE SetMasterDataSet)
    Q_PROPERTY(bool MasterForceNewPage READ MasterForceNewPage WRITE SetMasterForceNewPage)
    Q_PROPERTY(QStringList ColumnsLayout READ ColumnsLayout WRITE SetColumnsLayout)
    Q_PROPERTY(QString ColumnsLayoutHint READ ColumnsLayoutHint WRITE SetColumnsLayoutHint)
    Q_PROPERTY(QFont GroupFont READ GroupFont WRITE SetGroupFont)

public:
    explicit TQxPrintGrid(QObject* AOwner = nullptr);
    ~TQxPrintGrid() override;

    // ---- settings ----------------------------------------------------------------------
    bool SumOnEachPage() const { return FSumOnEachPage; }
    void SetSumOnEachPage(bool Value) { FSumOnEachPage = Value; }
    int RowsPerPage() const { return FRowsPerPage; }
    void SetRowsPerPage(int Value) { FRowsPerPage = Value; }
    int ExportTxtColsPerRow() const { return FExportTxtColsPerRow; }
    void SetExportTxtColsPerRow(int Value) { FExportTxtColsPerRow = Value; }
    QString GroupExpr() const { return FGroupExpr; }
    void SetGroupExpr(const QString& Value) { FGroupExpr = Value; }
    QString GroupTitleExpr() const { return FGroupTitleExpr; }
    void SetGroupTitleExpr(const QString& Value) { FGroupTitleExpr = Value; }
    QStringList GroupSumExpr() const { return FGroupSumExpr; }
    void SetGroupSumExpr(const QStringList& Value) { FGroupSumExpr = Value; }
    QStringList SumTotalColumn() const { return FSumTotalColumn; }
    void SetSumTotalColumn(const QStringList& Value) { FSumTotalColumn = Value; }
    QStringList SumPageColumn() const { return FSumPageColumn; }
    void SetSumPageColumn(const QStringList& Value) { FSumPageColumn = Value; }
    QStringList TitleGroup() const { return FTitleGroup; }
    void SetTitleGroup(const QStringList& Value) { FTitleGroup = Value; }
    QFont SumFont() const { return FSumFont; }
    void SetSumFont(const QFont& Value) { FSumFont = Value; }
    TColor SumBColor() const { return FSumBColor; }
    void SetSumBColor(TColor Value) { FSumBColor = Value; }
    // The grid whose visible columns are printed; a grid clears DataSet. Cleared when the
    // grid is destroyed.
    TQxDBGrid* DBGrid() const { return FDBGrid; }
    void SetDBGrid(TQxDBGrid* Value);
    // The dataset printed when no grid is set; a dataset clears DBGrid. Cleared when the
    // dataset is destroyed.
    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    TDataSet* MasterDataSet() const { return FMasterDataSet; }
    void SetMasterDataSet(TDataSet* Value) { FMasterDataSet = Value; }
    bool MasterForceNewPage() const { return FMasterForceNewPage; }
    void SetMasterForceNewPage(bool Value) { FMasterForceNewPage = Value; }
    QStringList ColumnsLayout() const { return FColumnsLayout; }
    void SetColumnsLayout(const QStringList& Value) { FColumnsLayout = Value; }
    // A fixed help text; writing it changes nothing.
    QString ColumnsLayoutHint() const { return FColumnsLayoutHint; }
    void SetColumnsLayoutHint(const QString& Value);
    QFont GroupFont() const { return FGroupFont; }
    void SetGroupFont(const QFont& Value) { FGroupFont = Value; }

    // The dataset printed: the grid's dataset, else DataSet.
    TDataSet* PrintedDataSet() const;

    // ---- print-time counters -----------------------------------------------------------
    // 0-based span part being printed.
    int SpanPart = 0;
    // Data rows on the current page.
    int PageRowCount = 0;
    // Blank rows still to print.
    int PadRows = 0;
    // Height of a blank row.
    int SavedRowHeight = 0;

    // ---- the print cycle ---------------------------------------------------------------
    void Print(bool Preview) override;
    bool BuildReport() override;
    void ExportText(const QString& FileName) override;
    void ExportRtf(const QString& FileName) override;
    // Does nothing.
    void ExtraOperation() override;

    // True when one of the expression settings refers to PAGECOUNT.
    bool NeedsPageCount() const;
    // True when Text refers to PAGECOUNT (not as part of SPANPAGECOUNT).
    static bool RefersToPageCount(const QString& Text);
    // Data rows of one RTF page.
    int EstimateRowsPerPage() const;
    // The installed fonts into FontList.
    void BuildFontList();

protected:
    // ---- building the report -----------------------------------------------------------
    // Parses ColumnsLayout line Index into FLayoutColumn; false when it names no column.
    bool ParseLayoutLine(int Index);
    // Places column Index of the current span part at Left.
    void AddColumn(int Index, int Left);
    // Names the unnamed components of the hidden form.
    void NameComponents();

    // ---- band handlers -----------------------------------------------------------------
    void OnReportBeforePrint(TQuickRep* Sender, bool& PrintReport);
    void OnPageHeaderBeforePrint(TQRCustomBand* Sender, bool& PrintBand);
    void OnSpanTitleBeforePrint(TQRCustomBand* Sender, bool& PrintBand);
    void OnSpanHeaderBeforePrint(TQRCustomBand* Sender, bool& PrintBand);
    void OnDataRowAfterPrint(TQRCustomBand* Sender, bool BandPrinted);
    void OnDataFooterBeforePrint(TQRCustomBand* Sender, bool& PrintBand);
    void OnFillerNeedData(QObject* Sender, bool& MoreData);
    void OnFillerBeforePrint(TQRCustomBand* Sender, bool& PrintBand);
    void OnFillerAfterPrint(TQRCustomBand* Sender, bool BandPrinted);
    void OnPageSumBeforePrint(TQRCustomBand* Sender, bool& PrintBand);
    void OnPageSumAfterPrint(TQRCustomBand* Sender, bool BandPrinted);
    void OnMasterBeforePrint(TQRCustomBand* Sender, bool& PrintBand);

    // ---- state while building ----------------------------------------------------------
    // One parsed ColumnsLayout line.
    struct LayoutColumn
    {
        int Index = -1; // the column's index in the grid or field's index in the dataset
        QString FieldName;
        int Width = 0;
    };
    LayoutColumn FLayoutColumn;
    // The dataset being printed.
    QPointer<TDataSet> FPrintDataSet;
    // The bands of the span part being built.
    QPointer<TQRChildBand> FSpanTitleBand;
    QPointer<TQRSubDetail> FDataBand;
    QPointer<TQRSubDetail> FFillerBand;
    QPointer<TQRGroup> FGroupBand;
    QPointer<TQRBand> FGroupFooterBand;
    // Running right edge of the placed data cells.
    int FGridRight = 0;
    double FZoom = 1.0;
    // Sum of the natural widths of the fixed columns.
    int FFixedWidth = 0;
    // Width of "X" in DataFont + 1.
    int FCharWidth = 0;
    // The merge state: the last title-group label, total cell and page-sum cell with their
    // caption or expression.
    QPointer<TsQRLabel> FLastGroupLabel;
    QString FLastGroupCaption;
    QPointer<TsQRExpr> FLastTotalCell;
    QString FLastTotalExpr;
    QPointer<TsQRExpr> FLastPageSumCell;
    QString FLastPageSumExpr;
    int FGroupHeadHeight = 0;
    int FMasterHeadHeight = 0;

    // ---- span parts of the layout (uQxPrintGridLayout.cpp) ----------------------------------
    // Creates the span title band, data band and filler or group bands of span part Part.
    void CreateSpanPartBands(int Part);
    // Closes the current span part: grid foot and page footer, in the flowing or paged layout.
    void FinishSpanPart();
    // Set by BuildReport: rows are counted per page, padded and closed by a page sum row.
    bool FPagedLayout = false;

private:
    bool FSumOnEachPage = false;
    int FRowsPerPage = 0;
    int FExportTxtColsPerRow = 0;
    QString FGroupExpr;
    QString FGroupTitleExpr;
    QStringList FGroupSumExpr;
    QStringList FSumTotalColumn;
    QStringList FSumPageColumn;
    QStringList FTitleGroup;
    QFont FSumFont;
    TColor FSumBColor = clWhite;
    QPointer<TQxDBGrid> FDBGrid;
    QPointer<TDataSet> FDataSet;
    QPointer<TDataSet> FMasterDataSet;
    bool FMasterForceNewPage = true;
    QStringList FColumnsLayout;
    QString FColumnsLayoutHint;
    QFont FGroupFont;
};
