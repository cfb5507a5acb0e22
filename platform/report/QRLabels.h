// The engine's plain text printables: a fixed text (TQRLabel), the value of an expression
// (TQRExpr) and the text of a dataset field (TQRDBText), for reports built from templates.
// (The library's own text printables derive from TQRPrintable directly.)
//
// Text is laid out in lines: CR/LF break lines; with WordWrap (and without AutoSize) a line
// also breaks after a space or a hyphen where the next word would not fit the width (a word
// wider than the printable is cut). AutoSize makes the width follow the widest line (the left
// edge moving for right and centred alignment). Lines are drawn from the top of the area in
// the printable's font and FontColor, clipped to its width. With AutoStretch the printable
// asks for the height of all its lines and continues on the next page when they do not fit.
// While the report exports, each printed line goes to the filter's TextOut as well.
#pragma once

#include "platform/report/QREvaluator.h"
#include "platform/report/QRPrintable.h"

#include <QPointer>
#include <QStringList>

class TDataSet;
class TField;
class TQuickRep;
class TQRSubDetail;

class TQRCustomLabel : public TQRPrintable
{
    Q_OBJECT
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)

public:
    explicit TQRCustomLabel(TQRCustomBand* band);

    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool on) { m_wordWrap = on; }

    void Print(double OffsetX, double OffsetY) override;
    double StretchHeight() override;
    bool Finished() const override { return m_next >= m_lines.size(); }
    void ResetStretch() override;
    void Prepare() override;

    // The lines text makes at the printable's width (report units) and font.
    QStringList LayoutLines(const QString& text) const;

protected:
    // The text of this print.
    virtual QString PrintText() = 0;
    // Called after a print that finished the text.
    virtual void AfterTextPrinted() {}

private:
    void layout();

    bool m_wordWrap = true;
    QStringList m_lines;
    qsizetype m_next = 0;
    bool m_laidOut = false; // StretchHeight laid out the text of the coming print
};

class TQRLabel : public TQRCustomLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TQRLabel(TQRCustomBand* band);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption) { m_caption = caption; }

protected:
    QString PrintText() override { return m_caption; }

private:
    QString m_caption;
};

class TQRExpr : public TQRCustomLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
    Q_PROPERTY(QString Mask READ Mask WRITE SetMask)
    Q_PROPERTY(bool ResetAfterPrint READ ResetAfterPrint WRITE SetResetAfterPrint)

public:
    explicit TQRExpr(TQRCustomBand* band);
    ~TQRExpr() override;

    QString Expression() const { return m_expression; }
    void SetExpression(const QString& expression) { m_expression = expression; }
    // A number format (FormatFloat) for numeric values; empty: the general format.
    QString Mask() const { return m_mask; }
    void SetMask(const QString& mask) { m_mask = mask; }
    // The report or a sub-detail whose records aggregates take in (the report when none).
    QObject* Master() const { return m_master; }
    void SetMaster(TQuickRep* report);
    void SetMaster(TQRSubDetail* subDetail);
    // Aggregates start over after each print.
    bool ResetAfterPrint() const { return m_resetAfterPrint; }
    void SetResetAfterPrint(bool on) { m_resetAfterPrint = on; }

    TQREvaluator& Evaluator() { return m_evaluator; }

    void Prepare() override;
    void Unprepare() override;

    // A value as the printable shows it: numbers through Mask (or the general format),
    // Booleans "True"/"False", an error as its message.
    static QString FormatValue(const TQREvResult& value, const QString& mask);

protected:
    QString PrintText() override;
    void AfterTextPrinted() override;

private:
    QObject* masterObject() const;

    QString m_expression;
    QString m_mask;
    QPointer<QObject> m_master;
    bool m_resetAfterPrint = false;
    TQREvaluator m_evaluator;
    QPointer<QObject> m_notifying;
};

class TQRDBText : public TQRCustomLabel
{
    Q_OBJECT
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(QString Mask READ Mask WRITE SetMask)

public:
    explicit TQRDBText(TQRCustomBand* band);

    TDataSet* DataSet() const;
    void SetDataSet(TDataSet* dataSet);
    QString DataField() const { return m_dataField; }
    void SetDataField(const QString& name) { m_dataField = name; }
    // A number format for numeric fields or a date format for date and time fields; empty:
    // the field's display text.
    QString Mask() const { return m_mask; }
    void SetMask(const QString& mask) { m_mask = mask; }

    void Prepare() override;
    void Unprepare() override;

protected:
    QString PrintText() override;

private:
    QPointer<TDataSet> m_dataSet;
    QString m_dataField;
    QString m_mask;
    QPointer<TField> m_field;
};
