#include "platform/report/QRLabels.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/report/QRExport.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/Units.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

#include <QPainter>
#include <QRegularExpression>

#include <algorithm>

using namespace qx::report;

// ---- TQRCustomLabel ----------------------------------------------------------------------

TQRCustomLabel::TQRCustomLabel(TQRCustomBand* band) : TQRPrintable(band) {}

QStringList TQRCustomLabel::LayoutLines(const QString& text) const
{
    QStringList paragraphs;
    if (text.contains(u'\n') || text.contains(u'\r')) {
        static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
        paragraphs = text.split(breaks);
    } else {
        paragraphs << text;
    }
    if (AutoSize() || !m_wordWrap)
        return paragraphs;
    const QFont font = Font();
    const double width = Size().Width;
    QStringList lines;
    for (const QString& paragraph : paragraphs) {
        // Words run up to and including a space or a hyphen.
        QStringList words;
        QString word;
        for (QChar c : paragraph) {
            word += c;
            if (c == u' ' || c == u'-') {
                words << word;
                word.clear();
            }
        }
        if (!word.isEmpty() || words.isEmpty())
            words << word;
        QString line;
        for (QString w : words) {
            if (line.isEmpty() || textWidthUnits(font, line + w) <= width) {
                if (!line.isEmpty() || textWidthUnits(font, w) <= width) {
                    line += w;
                    continue;
                }
            } else {
                lines << line;
                line.clear();
                if (textWidthUnits(font, w) <= width) {
                    line = w;
                    continue;
                }
            }
            // A word wider than the printable is cut where it stops fitting and goes on in
            // the next line (at least one character a line, so the text always moves on).
            while (!w.isEmpty()) {
                qsizetype n = 1;
                while (n < w.size() && textWidthUnits(font, w.left(n + 1)) <= width)
                    ++n;
                if (n < w.size()) {
                    lines << w.left(n);
                    w = w.mid(n);
                } else {
                    line = w;
                    w.clear();
                }
            }
        }
        lines << line;
    }
    return lines;
}

void TQRCustomLabel::layout()
{
    if (m_next > 0 && m_next < m_lines.size())
        return; // continuing the text of an earlier print
    m_lines = LayoutLines(PrintText());
    m_next = 0;
    if (AutoSize()) {
        const QFont font = Font();
        double widest = 0;
        for (const QString& line : m_lines)
            widest = std::max(widest, textWidthUnits(font, line));
        if (Frame().DrawLeft)
            widest += pointsToUnits(Frame().Width);
        if (Frame().DrawRight)
            widest += pointsToUnits(Frame().Width);
        const double old = Size().Width;
        if (Alignment() == taRightJustify)
            Size().Left += old - widest;
        else if (Alignment() == taCenter)
            Size().Left += (old - widest) / 2;
        Size().Width = widest;
        ApplyAlignToBand();
    }
}

void TQRCustomLabel::ResetStretch()
{
    m_lines.clear();
    m_next = 0;
    m_laidOut = false;
}

void TQRCustomLabel::Prepare()
{
    ResetStretch();
}

double TQRCustomLabel::StretchHeight()
{
    layout();
    m_laidOut = true;
    const double lineHeight = textHeightUnits(Font());
    const double needed = double(m_lines.size() - m_next) * lineHeight;
    return m_next > 0 ? needed : std::max(Size().Height, needed);
}

void TQRCustomLabel::Print(double OffsetX, double OffsetY)
{
    if (!m_laidOut)
        layout();
    m_laidOut = false;

    const QFont font = Font();
    const double lineHeight = textHeightUnits(font);
    const bool continuing = m_next > 0;
    TQRUnitRect area = PrintArea(OffsetX, OffsetY);
    double limit = area.Height;
    if (AutoStretch()) {
        const double rest = double(m_lines.size() - m_next) * lineHeight;
        limit = continuing ? std::min(rest, AvailableHeight()) : std::min(std::max(area.Height, rest), AvailableHeight());
        limit = std::max(limit, continuing ? 0.0 : area.Height);
        area.Height = limit;
    }
    const QRectF areaPixels(unitsToPixels(area.Left), unitsToPixels(area.Top), unitsToPixels(area.Width),
                            unitsToPixels(area.Height));
    if (FinalPass()) {
        PaintBackground(areaPixels);
        PaintFrame(areaPixels);
    }

    TQRPrinter* printer = QRPrinter();
    QPainter* canvas = Canvas();
    if (FinalPass() && printer && canvas) {
        printer->SetCanvasFont(font);
        printer->SetCanvasTextColor(toQColor(FontColor()));
    }
    int flags = Qt::AlignTop | Qt::TextSingleLine;
    flags |= Alignment() == taRightJustify ? Qt::AlignRight : (Alignment() == taCenter ? Qt::AlignHCenter : Qt::AlignLeft);

    double y = area.Top;
    bool first = true;
    while (m_next < m_lines.size()) {
        // The first line of a print always goes out, so a text moves on even on a page too
        // short for one line; the others only while they fit.
        if (!first && y + lineHeight > area.Top + limit + 0.01)
            break;
        const QString& line = m_lines[m_next];
        if (!line.isEmpty()) {
            if (FinalPass() && canvas) {
                canvas->drawText(QRectF(unitsToPixels(area.Left), unitsToPixels(y), unitsToPixels(area.Width),
                                        unitsToPixels(lineHeight)),
                                 flags, line);
            }
            if (TQRExportFilter* filter = IsExporting() ? ExportFilter() : nullptr) {
                const double x = Alignment() == taRightJustify ? area.Left + area.Width
                                 : Alignment() == taCenter   ? area.Left + area.Width / 2
                                                             : area.Left;
                filter->TextOut(x, y, font, Transparent() ? clWhite : Color(), Alignment(), line);
            }
        }
        ++m_next;
        y += lineHeight;
        first = false;
    }
    if (!AutoStretch())
        m_next = m_lines.size();
    if (Finished()) {
        m_next = 0;
        m_lines.clear();
        AfterTextPrinted();
    }
}

// ---- TQRLabel ----------------------------------------------------------------------------

TQRLabel::TQRLabel(TQRCustomBand* band) : TQRCustomLabel(band) {}

// ---- TQRExpr -----------------------------------------------------------------------------

TQRExpr::TQRExpr(TQRCustomBand* band) : TQRCustomLabel(band) {}

TQRExpr::~TQRExpr()
{
    Unprepare();
}

void TQRExpr::SetMaster(TQuickRep* report)
{
    m_master = report;
}

void TQRExpr::SetMaster(TQRSubDetail* subDetail)
{
    m_master = subDetail;
}

QObject* TQRExpr::masterObject() const
{
    return m_master ? m_master.data() : static_cast<QObject*>(ParentReport());
}

void TQRExpr::Prepare()
{
    TQRCustomLabel::Prepare();
    Unprepare();
    if (TQuickRep* report = ParentReport())
        m_evaluator.SetDataSets(report->AllDataSets(), report->DataSetNames());
    m_evaluator.Prepare(m_expression);
    if (m_evaluator.IsAggreg()) {
        QObject* master = masterObject();
        auto update = [this] { m_evaluator.UpdateAggregates(); };
        if (auto* report = qobject_cast<TQuickRep*>(master))
            report->AddNotifyClient(this, update);
        else if (auto* sub = qobject_cast<TQRSubDetail*>(master))
            sub->AddNotifyClient(this, update);
        m_notifying = master;
    }
    m_evaluator.Reset();
}

void TQRExpr::Unprepare()
{
    if (m_notifying) {
        if (auto* report = qobject_cast<TQuickRep*>(m_notifying.data()))
            report->RemoveNotifyClient(this);
        else if (auto* sub = qobject_cast<TQRSubDetail*>(m_notifying.data()))
            sub->RemoveNotifyClient(this);
    }
    m_notifying.clear();
    m_evaluator.Unprepare();
}

QString TQRExpr::FormatValue(const TQREvResult& value, const QString& mask)
{
    if (value.IsNumeric() && !mask.isEmpty()) {
        try {
            return FormatFloat(mask, value.AsDouble());
        } catch (const Exception& e) {
            return e.Message();
        }
    }
    return value.AsText();
}

QString TQRExpr::PrintText()
{
    if (m_expression.trimmed().isEmpty())
        return QString();
    if (!m_evaluator.Prepared())
        Prepare();
    return FormatValue(m_evaluator.Value(), m_mask);
}

void TQRExpr::AfterTextPrinted()
{
    if (m_resetAfterPrint)
        m_evaluator.Reset();
}

// ---- TQRDBText ---------------------------------------------------------------------------

TQRDBText::TQRDBText(TQRCustomBand* band) : TQRCustomLabel(band) {}

TDataSet* TQRDBText::DataSet() const
{
    return m_dataSet;
}

void TQRDBText::SetDataSet(TDataSet* dataSet)
{
    m_dataSet = dataSet;
    m_field.clear();
}

void TQRDBText::Prepare()
{
    TQRCustomLabel::Prepare();
    m_field = m_dataSet ? m_dataSet->FindField(m_dataField) : nullptr;
}

void TQRDBText::Unprepare()
{
    m_field.clear();
}

QString TQRDBText::PrintText()
{
    if (!m_field && m_dataSet)
        m_field = m_dataSet->FindField(m_dataField);
    TField* f = m_field;
    if (!f || !f->DataSet() || !f->DataSet()->Active())
        return QString();
    try {
        if (f->IsNull())
            return QString();
        if (!m_mask.isEmpty()) {
            switch (f->DataType()) {
            case ftSmallint:
            case ftInteger:
            case ftWord:
            case ftAutoInc:
            case ftLargeint:
            case ftFloat:
            case ftCurrency:
            case ftBCD:
                return FormatFloat(m_mask, f->AsFloat());
            case ftDate:
            case ftTime:
            case ftDateTime:
                return FormatDateTime(m_mask, f->AsDateTime());
            default:
                break;
            }
        }
        if (f->DataType() == ftMemo || f->DataType() == ftFmtMemo)
            return f->AsString();
        return f->DisplayText();
    } catch (const Exception&) {
        return QString();
    }
}
