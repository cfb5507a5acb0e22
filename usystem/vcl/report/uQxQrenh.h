// The library's text printables: a fixed text (TsQRLabel), the value of an expression
// (TsQRExpr) and the text of a dataset field (TsQRDBText, memo fields line by line).
//
// Lines: a text is broken at CR (LF is dropped); without AutoSize, and with WordWrap, a line
// breaks after a space, a hyphen or a CR where the next word does not fit Width (measured in
// the report's 96-dpi measures, zoomed). A word too wide for a line of its own is cut from its
// end until it fits; at the start of a line only its head that fits is kept and the rest is
// dropped. A Chinese character is never cut in two. Without WordWrap the first line that
// overflows ends the text. Under AutoSize the text is not broken and the width follows the
// widest line (the left edge moving for right and centred alignment).
//
// Printing: the lines are centred vertically in the printable's area (never above its top),
// moved right and down by a frame's left and top lines. With AutoStretch a text that does not
// fit continues, from the next line (LineIndex), where the band continues. OnPrint may change
// the text of one print (or the font); the next print starts again from the caption.
//
// While the report exports, each printed line goes to the export filter as a boxed piece: the
// frame's top and bottom lines as rows of '-', its left and right lines as '|', the text
// padded or shortened (by whole characters) to the frame's width in characters.
#pragma once

#include "platform/report/QREvaluator.h"
#include "platform/report/QRPrintable.h"

#include <QPointer>
#include <QStringList>

#include <functional>

class TDataSet;
class TField;
class TQuickRep;
class TQRSubDetail;
class TsQRCustomLabel;

// Called with a copy of the text about to print; a changed Value prints this time only.
using TsQRLabelOnPrintEvent = std::function<void(TsQRCustomLabel* Sender, QString& Value)>;

class TsQRCustomLabel : public TQRPrintable
{
    Q_OBJECT
    Q_PROPERTY(int Alignment READ alignmentValue WRITE setAlignmentValue)
    Q_PROPERTY(bool AlignToBand READ AlignToBand WRITE SetAlignToBand)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool AutoStretch READ AutoStretch WRITE SetAutoStretch)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    // Kept in the stream besides Font: the font's point size, applied after loading.
    Q_PROPERTY(int FontSize READ ReadFontSize WRITE WriteFontSize)

public:
    explicit TsQRCustomLabel(TQRCustomBand* band);

    QString PrintCaption() const { return m_printCaption; }
    void SetPrintCaption(const QString& text);
    // A memo's lines, printed when the printable does not use its caption.
    const QStringList& Lines() const { return m_lines; }
    void SetLines(const QStringList& lines);
    const QStringList& FormattedLines() const { return m_formattedLines; }
    int LineIndex() const { return m_lineIndex; }

    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool on) { m_wordWrap = on; }
    void SetAutoSize(bool on) override;
    void SetFont(const QFont& font) override;

    TsQRLabelOnPrintEvent OnPrint;

    // True: the lines come from PrintCaption; false: from Lines.
    virtual bool UsesCaption() const { return m_captionBased; }
    // Breaks the text into FormattedLines; under AutoSize also sizes the printable.
    virtual void FormatLines();
    // The stream's FontSize: written as the font's size, read into the font after loading.
    virtual int ReadFontSize() const;
    virtual void WriteFontSize(int points);
    // Applies a FontSize read from the stream.
    void Loaded();

    void Print(double OffsetX, double OffsetY) override;
    double StretchHeight() override;
    bool Finished() const override { return m_finished; }
    void ResetStretch() override;
    void Prepare() override;
    void Unprepare() override;

    // The boxed piece of one line for the export filter, n characters wide.
    QString ExportPiece(const QString& line, double areaWidth) const;

protected:
    void SetCaptionBased(bool on) { m_captionBased = on; }
    // Characters added to the export width of a line (TsQRExpr widens its pieces).
    virtual int ExportExtra(const QString&) const { return 0; }
    // The caption as the design text (TsQRLabel's Caption, the expression or field name).
    virtual void ResetCaption() {}
    // Before the print: the text to print (TsQRExpr evaluates, TsQRDBText reads its field).
    virtual void FetchText() {}
    // After a print that used up the text.
    virtual void AfterTextPrinted() {}

private:
    int alignmentValue() const { return int(Alignment()); }
    void setAlignmentValue(int a) { SetAlignment(TAlignment(a)); }
    double measure(const QString& text) const;
    void formatLine(const QString& line);
    void printLine(const QString& line, double x, double y, double lineHeight, const TQRUnitRect& area);

    QString m_printCaption;
    QStringList m_lines;
    QStringList m_formattedLines;
    bool m_formatted = false;
    bool m_captionBased = true;
    bool m_updating = false;
    int m_lineIndex = 0;
    bool m_finished = true;
    int m_fontSize = 0;
    bool m_wordWrap = true;
};

class TsQRLabel : public TsQRCustomLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TsQRLabel(TQRCustomBand* band);
    QString Caption() const { return m_caption; }
    // Sets the caption and the text to print, and formats the lines again.
    void SetCaption(const QString& caption);

protected:
    void ResetCaption() override { SetCaption(m_caption); }

private:
    QString m_caption;
    QString m_name; // the name the caption followed
};

class TsQRExpr : public TsQRCustomLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
    Q_PROPERTY(QString Mask READ Mask WRITE SetMask)
    Q_PROPERTY(bool ResetAfterPrint READ ResetAfterPrint WRITE SetResetAfterPrint)

public:
    explicit TsQRExpr(TQRCustomBand* band);
    ~TsQRExpr() override;

    QString Expression() const { return m_expression; }
    // Stores the expression and shows it ("(none)" when empty) until the report prints.
    void SetExpression(const QString& expression);
    QString Mask() const { return m_mask; }
    void SetMask(const QString& mask);
    QObject* Master() const { return m_master; }
    // The report or sub-detail whose new records aggregates take in (the report when none).
    void SetMaster(TQuickRep* report);
    void SetMaster(TQRSubDetail* subDetail);
    bool ResetAfterPrint() const { return m_resetAfterPrint; }
    void SetResetAfterPrint(bool on) { m_resetAfterPrint = on; }
    TQREvaluator& Evaluator() { return m_evaluator; }

    // The text of a value: numbers through Mask (the general format without one); a string
    // through Mask when it reads as a number (kept as it is when it holds only spaces, commas
    // and digits, or does not read as a number); "True"/"False"; an error's message.
    static QString ValueText(const TQREvResult& value, const QString& mask);

    void Prepare() override;
    void Unprepare() override;

protected:
    int ExportExtra(const QString& s) const override { return s == QStringLiteral(" ") ? 3 : 1; }
    void ResetCaption() override { SetExpression(m_expression); }
    void FetchText() override;
    void AfterTextPrinted() override;

private:
    void stopNotices();

    QString m_expression;
    QString m_mask;
    QPointer<QObject> m_master;
    bool m_resetAfterPrint = false;
    TQREvaluator m_evaluator;
    QPointer<QObject> m_notifying;
};

class TsQRDBText : public TsQRCustomLabel
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(QString Mask READ Mask WRITE SetMask)

public:
    explicit TsQRDBText(TQRCustomBand* band);

    TDataSet* DataSet() const;
    void SetDataSet(TDataSet* dataSet);
    QString DataField() const { return m_dataField; }
    void SetDataField(const QString& name);
    // Kept with the printable; printing shows the field's display text.
    QString Mask() const { return m_mask; }
    void SetMask(const QString& mask) { m_mask = mask; }

    bool UsesCaption() const override;
    void Prepare() override;
    void Unprepare() override;

protected:
    void ResetCaption() override;
    void FetchText() override;

private:
    bool isMemo() const;

    QPointer<TDataSet> m_dataSet;
    QString m_dataField;
    QString m_mask;
    QPointer<TField> m_field;
};
