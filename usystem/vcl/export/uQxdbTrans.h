// The writers of a grid's data to files: quoted delimited text (TQxDatasetToText), an HTML
// table (TQxDataSetToHTML) and a dBASE table (TQxDataSetToDBF), and the plain printer writer
// (TQxDatasetToPrinter) that no command of the system reaches. The export dialog places one of
// each on its form.
//
// The text and HTML writers write a grid's visible columns, in column order, for every record
// of the grid's dataset from the first to the end, and leave the dataset there; a visible
// column without a field gives an empty value. The DBF writer copies a whole dataset. Files
// are GBK and are saved whole or not at all: an old file of the same name stays as it was when
// a save fails.
//
// The unit is one header over several files: uQxdbTrans.cpp (the text routines),
// uQxdbTransText.cpp, uQxdbTransHtml.cpp, uQxdbTransDbf.cpp and uQxdbTransPrinter.cpp.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/rtl/Exceptions.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class TQxCustomDBGrid;

// Raised by the text writer: "网格参数不存在" without a grid, "Dataset is not active" when the
// grid's dataset is closed.
QX_DECLARE_EXCEPTION(TQxDBToTextError, Exception)

// Quote, S with every Quote character written twice, Quote.
QString QuoteText(const QString& S, QChar Quote);
// The items of List, each through QuoteText, with Delimiter between two items; an empty list
// gives an empty string.
QString JoinQuoted(const QStringList& List, QChar Delimiter, QChar Quote);
// Path without everything from its last '.' on; Path itself when it holds no '.'.
QString RemoveFileExt(const QString& Path);
// RemoveFileExt(Path) + "." + Ext.
QString ReplaceFileExt(const QString& Path, const QString& Ext);

// ---- text --------------------------------------------------------------------------------

class TQxDatasetToText : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TDataSet* Dataset READ Dataset WRITE SetDataset)
    Q_PROPERTY(QChar Delimiter READ Delimiter WRITE SetDelimiter)

public:
    explicit TQxDatasetToText(QObject* Owner = nullptr);

    // Kept for the form's sake; ExportGrid reads the grid's own dataset.
    TDataSet* Dataset() const { return FDataset; }
    void SetDataset(TDataSet* Value) { FDataset = Value; }
    QChar Delimiter() const { return FDelimiter; }
    void SetDelimiter(QChar Value) { FDelimiter = Value; }

    // One line per record: the visible columns' values, each between '"' with inner '"'
    // doubled, separated by Delimiter, ended by CR LF; no title line. A blob or memo cell gives
    // its size in bytes and appends its bytes to the side file ReplaceFileExt(name, "mem"),
    // written only when it holds a byte. A FileName without extension gets ".txt".
    void ExportGrid(TQxCustomDBGrid* Grid, const QString& FileName);

private:
    QPointer<TDataSet> FDataset;
    QChar FDelimiter = QChar(9);
};

// ---- HTML --------------------------------------------------------------------------------

// CellRow: 1 for the title row, 2 for the first record; CellColumn: 1 for the first visible
// column. CustomAttrs starts empty; CellData holds the cell's text, already HTML-escaped, so
// that markup a handler puts in stays markup.
using THTMLFormatCellEvent = std::function<void(QObject* Sender, int CellRow, int CellColumn,
                                                QString FieldName, QString& CustomAttrs,
                                                QString& CellData)>;

class TQxDataSetToHTML : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QStringList Header READ Header WRITE SetHeader)
    Q_PROPERTY(QStringList Footer READ Footer WRITE SetFooter)

public:
    explicit TQxDataSetToHTML(QObject* Owner = nullptr);

    // Kept for the form's sake; ExportGrid reads the grid's own dataset.
    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value) { FDataSet = Value; }
    // Lines written before the table; the default page head when empty.
    QStringList Header() const { return FHeader; }
    void SetHeader(const QStringList& Value) { FHeader = Value; }
    // Lines written after the table; "</body>" and "</html>" when empty.
    QStringList Footer() const { return FFooter; }
    void SetFooter(const QStringList& Value) { FFooter = Value; }

    THTMLFormatCellEvent OnFormatCell;

    // The page: header lines, a table with a title row of the visible columns' captions and
    // one row per record, footer lines; each line ended by CR LF, saved as FileName is typed.
    void ExportGrid(TQxCustomDBGrid* Grid, const QString& FileName);

private:
    QPointer<TDataSet> FDataSet;
    QStringList FHeader;
    QStringList FFooter;
};

// ---- dBASE -------------------------------------------------------------------------------

class TQxDataSetToDBF : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE SetDataSet)

public:
    explicit TQxDataSetToDBF(QObject* Owner = nullptr);

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value) { FDataSet = Value; }

    // Copies DataSet into a dBASE III+ table (platform/office/DbfDataSet.h says how each kind
    // of field is written). A FileName without extension gets ".dbf". The dataset's controls
    // are disabled during the copy and enabled again on every path; the dataset stays at its
    // end.
    void SaveToFile(const QString& FileName);

private:
    QPointer<TDataSet> FDataSet;
};

// ---- printer -----------------------------------------------------------------------------

class TQxDatasetToPrinter : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QStringList Footer READ Footer WRITE SetFooter)
    Q_PROPERTY(QStringList Header READ Header WRITE SetHeader)
    Q_PROPERTY(int LeftMargin READ LeftMargin WRITE SetLeftMargin)
    Q_PROPERTY(int TopMargin READ TopMargin WRITE SetTopMargin)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_CLASSINFO("QxDefaults", "LeftMargin=10;TopMargin=5")

public:
    explicit TQxDatasetToPrinter(QObject* Owner = nullptr);

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value) { FDataSet = Value; }
    QStringList Footer() const { return FFooter; }
    void SetFooter(const QStringList& Value) { FFooter = Value; }
    QStringList Header() const { return FHeader; }
    void SetHeader(const QStringList& Value) { FHeader = Value; }
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int Value) { FLeftMargin = Value; }
    int TopMargin() const { return FTopMargin; }
    void SetTopMargin(int Value) { FTopMargin = Value; }
    QString Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }
    // Arial 10, and Arial 16 bold for the title.
    QFont Font() const { return FFont; }
    QFont TitleFont() const { return FTitleFont; }

    // Does nothing: the export dialog offers no printer target, so no command of the system
    // reaches a plain print of a dataset; grids print through the grid printer.
    virtual void Print();

private:
    QPointer<TDataSet> FDataSet;
    QStringList FFooter;
    QStringList FHeader;
    int FLeftMargin = 10;
    int FTopMargin = 5;
    QString FTitle;
    QFont FFont;
    QFont FTitleFont;
};
