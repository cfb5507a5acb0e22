// The export dialog (TFrmTranOut) that sends a data grid to a word-processor file, a
// spreadsheet, delimited text, HTML or a dBASE table; the spreadsheet export with its helpers;
// and PrintDBGrid, the one-call print or preview of a grid through the grid printer.
//
// The spreadsheet and word-processor exports write a new file into the system's temporary
// folder each time ("<form caption>_<yyyyMMddhhmmss>.xlsx") and open it with the desktop's
// program; nothing is written into a document that is already open, and no print preview is
// shown by the export itself (the user prints from the program that opens the file).
//
// The unit is one header over several files: uQxTranOut.cpp (the dialog),
// uQxTranOutExcel.cpp (the spreadsheet export and its helpers), uQxTranOutPrint.cpp.
#pragma once

#include "usystem/vcl/controls/uBase.h"
#include "usystem/vcl/export/uQxdbTrans.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QButtonGroup;
class QGroupBox;
class TQxBitBtn;
class TQxCustomDBGrid;
class TQxDBGrid;
class TQxEdit;
class TQxLabel;

class TFrmTranOut : public TFrmBase
{
    Q_OBJECT

public:
    // "数据导出窗口", 452 x 225, centred on the desktop; it frees itself when it closes.
    explicit TFrmTranOut(QWidget* parent = nullptr);

    // The radio group of the five targets; ItemIndex() is -1 while none is chosen.
    QGroupBox* RGPSelect = nullptr;
    QButtonGroup* RGPSelectItems = nullptr;
    TQxLabel* Label1 = nullptr;
    TQxEdit* EdtFileName = nullptr;
    TQxBitBtn* BtnOK = nullptr;
    TQxBitBtn* BtnCancel = nullptr;
    TQxDataSetToHTML* Html = nullptr;
    TQxDatasetToText* Text = nullptr;
    TQxDatasetToPrinter* Printer = nullptr;
    TQxDataSetToDBF* dbf = nullptr;

    // The grid to export; set by ShowExportDialog.
    QPointer<TQxCustomDBGrid> Grid;

    // The chosen target: 0 word processor, 1 spreadsheet, 2 text, 3 HTML, 4 dBASE; -1 none.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // The file edit is enabled for the three file targets and disabled for the other two;
    // with nothing chosen it stays as it is.
    void RGPSelectClick(QObject* Sender);
    // The save chooser of the dialog service; a chosen name goes into the file edit.
    void EdtFileNameButtonClick(QObject* Sender);
    // Runs the chosen export and closes the dialog. A file target without a name shows
    // "文件名不能为空" and keeps the dialog open; an error of a writer reaches the exception
    // guard and keeps the dialog open.
    void BtnOKClick(QObject* Sender);
    void BtnCancelClick(QObject* Sender);
    // Action := caFree.
    void FormClose(QObject* Sender, TCloseAction& Action);
};

// The dialog ShowExportDialog made last (gone once it closed).
extern QPointer<TFrmTranOut> FrmTranOut;

// Makes the dialog for Grid, applies the (empty) choice once and runs it modally through the
// dialog service; the dialog frees itself when it closes.
void ShowExportDialog(TQxCustomDBGrid* Grid);

// Writes the grid's visible columns and every record into a new spreadsheet file and opens it
// with the desktop's program: the optional Title row merged over the columns at 18 points, the
// header row (bold, grey, centred, each column Width div 6 characters wide), one row per
// record with number formats by field type and the styles of a "VandrelID" field, thin lines
// around and inside the header and data, and the optional Foot merged below. Values are
// typed cells, never formulas. More than 16,384 visible columns are refused with a message
// before anything is written. A file that cannot be written or opened shows "没有发现Excel!".
// The dataset goes back to its first record with its controls enabled on every path.
// Returns whether the file was written and opened.
//
// Decisions: the title and the foot are written into the first cell of their merged range (the
// cell a merge shows); date fields, like date-time fields, are date serials shown "yyyy-mm-dd"
// and time fields "hh:mm:ss", so that no date shows as a bare number; a large integer beyond
// 2^53 and money of more than 15 digits are written as their text, since a number cell would
// round them; a null value is a blank cell that keeps its row's look and lines.
bool ExportGridToExcel(const QString& Title, const QString& Foot, TQxCustomDBGrid* Grid);

// The spreadsheet letters of column N (1 "A", 26 "Z", 27 "AA", 16384 "XFD"); empty outside
// 1..16384.
QString ExcelColumnName(int N);

// A range of cells boxed with thin lines around and inside; its first cell's text is
// FontSize points.
struct ExcelRangeBorders
{
    int FirstRow = 0, FirstColumn = 0, LastRow = -1, LastColumn = -1; // from 0
    int FontSize = 0;

    bool Contains(int row, int column) const
    {
        return row >= FirstRow && row <= LastRow && column >= FirstColumn && column <= LastColumn;
    }
    bool IsFirst(int row, int column) const { return row == FirstRow && column == FirstColumn; }
};

// The range between the cells FirstCell and LastCell ("A2", "XFD9"); an empty range (which
// contains nothing) when a reference is not a cell of the sheet.
ExcelRangeBorders SetExcelRangeBorders(const QString& FirstCell, const QString& LastCell, int FontSize);

// The number of lines a string list makes of Text: CR, LF and CR LF each end a line, a last
// line without its break counts, and an empty text has no line.
int TextLineCount(const QString& Text);

// ---- printing a grid -----------------------------------------------------------------------

// The grid printer as PrintDBGrid drives it; the grid printer's unit provides it.
class QxGridPrintJob
{
public:
    virtual ~QxGridPrintJob() = default;
    virtual void SetPageTitle1(const QString& Value) = 0;
    virtual void SetPageTitle2(const QString& Value) = 0;
    // The text of the page-foot expression list.
    virtual void SetPageFootExpr(const QString& Value) = 0;
    virtual void SetDBGrid(TQxDBGrid* Grid) = 0;
    // Prints, or shows the preview when Preview is true.
    virtual void Print(bool Preview) = 0;
};

// Makes a grid printer; the grid printer's unit installs it at start-up.
using QxGridPrintJobFactory = std::function<std::unique_ptr<QxGridPrintJob>()>;
const QxGridPrintJobFactory& gridPrintJobFactory();
void setGridPrintJobFactory(QxGridPrintJobFactory factory);

// Makes a grid printer for Grid with the two page titles and the page-foot expression, prints
// or previews it, and frees it, also when printing fails. Without an installed grid printer
// the missing binding is reported and nothing happens.
void PrintDBGrid(TQxDBGrid* Grid, const QString& Title1, const QString& Title2,
                 const QString& PageFootExpr, bool Preview);
