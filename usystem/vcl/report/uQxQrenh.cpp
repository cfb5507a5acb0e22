#include "usystem/vcl/report/uQxQrenh.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/report/QRBands.h"
#include "platform/report/QRExport.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/Units.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SysUtils.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace qx::report;

namespace {

bool isWordBreak(QChar c)
{
    return c == u' ' || c == u'\r' || c == u'-';
}

// A frame line's width in report units, as the text is moved by it.
double frameOffset(const TQRFrame& frame)
{
    return double(Round(frame.Width / 72.0 * 254.0));
}

} // namespace

// ---- TsQRCustomLabel ----------------------------------------------------------------------

TsQRCustomLabel::TsQRCustomLabel(TQRCustomBand* band) : TQRPrintable(band)
{
    TQRPrintable::SetAutoSize(true);
    SetAutoStretch(false);
    SetTransparent(false);
}

void TsQRCustomLabel::SetPrintCaption(const QString& text)
{
    m_printCaption = text;
    m_formatted = false;
}

void TsQRCustomLabel::SetLines(const QStringList& lines)
{
    m_lines = lines;
    m_formatted = false;
}

void TsQRCustomLabel::SetAutoSize(bool on)
{
    TQRPrintable::SetAutoSize(on);
    m_formatted = false;
}

void TsQRCustomLabel::SetFont(const QFont& font)
{
    TQRPrintable::SetFont(font);
    m_formatted = false;
    FormatLines();
}

int TsQRCustomLabel::ReadFontSize() const
{
    return fontPointSize(Font());
}

void TsQRCustomLabel::WriteFontSize(int points)
{
    m_fontSize = points;
}

void TsQRCustomLabel::Loaded()
{
    if (m_fontSize <= 0)
        return;
    QFont f = Font();
    f.setPixelSize(int(Round(m_fontSize * 96.0 / 72.0)));
    SetFont(f);
}

double TsQRCustomLabel::measure(const QString& text) const
{
    return textWidthPixels(Font(), text) * Zoom() / 100.0;
}

void TsQRCustomLabel::formatLine(const QString& source)
{
    QString line = source;
    line.remove(u'\n');
    if (line.contains(u'\r')) {
        for (const QString& piece : line.split(u'\r'))
            formatLine(piece);
        return;
    }
    if (AutoSize()) {
        m_formattedLines << line;
        return;
    }
    const double width = Width();
    QString current;
    qsizetype i = 0;
    while (i < line.size()) {
        // A word runs up to and including the next break character.
        qsizetype end = i;
        while (end < line.size() && !isWordBreak(line.at(end)))
            ++end;
        if (end < line.size())
            ++end;
        QString word = line.mid(i, end - i);
        i = end;
        if (measure(current + word) > width) {
            if (current.isEmpty()) {
                // Only the head of the word that fits is kept; characters stay whole.
                qsizetype n = 0;
                while (n < word.size() && measure(current + word.at(n)) < width)
                    current += word.at(n++);
                word.clear();
            }
            m_formattedLines << current;
            current.clear();
            if (measure(word) > width) {
                while (!word.isEmpty() && (width <= 0 || measure(word) > width))
                    word.chop(1);
                m_formattedLines << word;
                word.clear();
            }
            if (!m_wordWrap)
                return;
        }
        current += word;
    }
    m_formattedLines << current;
}

void TsQRCustomLabel::FormatLines()
{
    if (!ParentBand()) {
        m_formatted = true;
        return;
    }
    m_formattedLines.clear();
    const TQuickRep* report = ParentReport();
    const double lineHeight = textHeightPixels(Font()) * Zoom() / 100.0 + 1;
    if (UsesCaption()) {
        formatLine(m_printCaption);
        if (!m_updating && report && Height() < lineHeight)
            SetHeight(int(std::ceil(lineHeight)));
    } else if (AutoSize()) {
        m_formattedLines = m_lines;
    } else {
        for (const QString& l : m_lines)
            formatLine(l);
    }
    if (AutoSize() && !m_updating && report) {
        m_updating = true;
        double widest = 0;
        for (const QString& l : m_formattedLines)
            widest = std::max(widest, measure(l));
        const int frameWidth = Frame().Width;
        if (Frame().DrawLeft)
            widest += frameWidth;
        if (Frame().DrawRight)
            widest += frameWidth;
        const int newWidth = int(std::ceil(widest));
        const int old = Width();
        if (Alignment() == taRightJustify)
            SetLeft(Left() + (old - newWidth));
        else if (Alignment() == taCenter)
            SetLeft(Left() + (old - newWidth) / 2);
        SetWidth(newWidth);
        if (Height() < lineHeight)
            SetHeight(int(std::ceil(lineHeight)));
        m_updating = false;
    }
    m_formatted = true;
}

double TsQRCustomLabel::StretchHeight()
{
    if (!AutoStretch())
        return Size().Height;
    if (m_finished) {
        FetchText();
        FormatLines();
    }
    const double lineHeight = textHeightUnits(Font());
    double frame = Frame().DrawTop ? frameOffset(Frame()) : 0;
    const double needed = double(m_formattedLines.size() - m_lineIndex) * lineHeight + frame;
    return m_lineIndex > 0 ? needed : std::max(Size().Height, needed);
}

void TsQRCustomLabel::ResetStretch()
{
    m_lineIndex = 0;
    m_finished = true;
}

void TsQRCustomLabel::Prepare()
{
    ResetStretch();
    ResetCaption();
}

void TsQRCustomLabel::Unprepare()
{
    ResetStretch();
}

void TsQRCustomLabel::Print(double OffsetX, double OffsetY)
{
    if (!Enabled())
        return;
    const bool continuing = !m_finished;
    if (!continuing)
        FetchText();

    // OnPrint may change this print's text or font; the caption comes back afterwards.
    const QString saved = m_printCaption;
    bool substituted = false;
    if (!continuing && !m_printCaption.isEmpty() && OnPrint) {
        QString value = m_printCaption;
        OnPrint(this, value);
        if (value != m_printCaption) {
            SetPrintCaption(value);
            substituted = true;
        }
    }
    const QFont font = Font();
    const double lineHeight = textHeightUnits(font);

    const int widthBefore = Width();
    if (!continuing)
        FormatLines();
    const double widthChange = pixelsToUnits(widthBefore - Width());

    TQRUnitRect area = PrintArea(OffsetX, OffsetY);
    if (AutoStretch()) {
        const double rest = double(m_formattedLines.size() - (continuing ? m_lineIndex : 0)) * lineHeight +
                            (Frame().DrawTop ? frameOffset(Frame()) : 0);
        area.Height = std::max(continuing ? 0.0 : area.Height, std::min(std::max(area.Height, rest), AvailableHeight()));
    }
    const QRectF areaPixels(unitsToPixels(area.Left), unitsToPixels(area.Top), unitsToPixels(area.Width),
                            unitsToPixels(area.Height));
    if (FinalPass()) {
        PaintBackground(areaPixels);
        PaintFrame(areaPixels);
        if (TQRPrinter* printer = QRPrinter()) {
            printer->SetCanvasFont(font);
            printer->SetCanvasTextColor(toQColor(FontColor()));
        }
    }

    double top = area.Top;
    double left = area.Left;
    if (Frame().DrawTop)
        top += frameOffset(Frame());
    if (Frame().DrawLeft)
        left += frameOffset(Frame());
    const qsizetype count = m_formattedLines.size() - (continuing ? m_lineIndex : 0);
    double y = top + double(qint64(Round(area.Height - double(count) * lineHeight)) / 2);
    y = std::max(y, top);
    const double stop = area.Top + area.Height + 1;

    double x = left;
    switch (Alignment()) {
    case taLeftJustify:
        if (Frame().DrawLeft)
            x += 7;
        break;
    case taRightJustify:
        x = left + area.Width - (Frame().DrawRight ? 11 : 0);
        if (AutoSize())
            x -= widthChange;
        break;
    case taCenter:
        x = left + area.Width / 2;
        if (AutoSize())
            x -= widthChange / 2;
        break;
    }

    if (!continuing)
        m_lineIndex = 0;
    bool first = true;
    while (m_lineIndex < m_formattedLines.size() && (y < stop || (first && continuing))) {
        // A stretching text leaves a line that would be cut for the next band.
        if (AutoStretch() && !first && y + lineHeight > stop)
            break;
        printLine(m_formattedLines.at(m_lineIndex), x, y, lineHeight, area);
        ++m_lineIndex;
        y += lineHeight;
        first = false;
    }
    m_finished = m_lineIndex >= m_formattedLines.size() || !AutoStretch();

    if (substituted)
        SetPrintCaption(saved);
    if (m_finished) {
        m_lineIndex = 0;
        AfterTextPrinted();
    }
}

void TsQRCustomLabel::printLine(const QString& line, double x, double y, double lineHeight, const TQRUnitRect& area)
{
    QPainter* canvas = Canvas();
    if (FinalPass() && canvas && !line.isEmpty()) {
        const double areaLeft = unitsToPixels(area.Left);
        const double areaRight = unitsToPixels(area.Left + area.Width);
        const double px = unitsToPixels(x);
        QRectF box;
        int flags = Qt::AlignTop | Qt::TextSingleLine;
        switch (Alignment()) {
        case taLeftJustify:
            box = QRectF(px, unitsToPixels(y), std::max(areaRight - px, 0.0), unitsToPixels(lineHeight));
            flags |= Qt::AlignLeft;
            break;
        case taRightJustify:
            box = QRectF(areaLeft, unitsToPixels(y), std::max(px - areaLeft, 0.0), unitsToPixels(lineHeight));
            flags |= Qt::AlignRight;
            break;
        case taCenter: {
            const double half = std::max(px - areaLeft, areaRight - px);
            box = QRectF(px - half, unitsToPixels(y), 2 * half, unitsToPixels(lineHeight));
            flags |= Qt::AlignHCenter;
            break;
        }
        }
        // drawText clips to its box by itself; the printable's area needs a clip of its own only
        // where the box reaches out of it. Each clip is a saved and restored painter state in
        // the page's recording, so a page of many cells stays small by leaving it out.
        const QRectF clip(areaLeft, unitsToPixels(area.Top), areaRight - areaLeft, unitsToPixels(area.Height));
        if (clip.contains(box)) {
            canvas->drawText(box, flags, line);
        } else {
            canvas->save();
            canvas->setClipRect(clip, Qt::IntersectClip);
            canvas->drawText(box, flags, line);
            canvas->restore();
        }
    }
    if (TQRExportFilter* filter = IsExporting() ? ExportFilter() : nullptr)
        filter->TextOut(Size().Left, y, Font(), Transparent() ? clWhite : Color(), taLeftJustify,
                        ExportPiece(line, area.Width));
}

QString TsQRCustomLabel::ExportPiece(const QString& line, double areaWidth) const
{
    QString s = Trim(line);
    if (s.isEmpty())
        s = QStringLiteral(" ");
    if (s.contains(QStringLiteral("￥")))
        s += QStringLiteral("   ");
    const double c = double(Round(textWidthUnits(Font(), QStringLiteral("X"))));
    qint64 n = c > 0 ? Round(areaWidth / c) : 0;
    n += ExportExtra(s);
    if (AutoSize())
        n = qx::gbkLength(s);
    n = std::max<qint64>(n, 0);

    const TQRFrame& frame = Frame();
    QString piece;
    if (frame.DrawTop)
        piece += QString(qsizetype(n + 1), u'-') + QStringLiteral("\r\n");
    if (frame.DrawLeft)
        piece += u'|';
    const qint64 d = n - (frame.DrawLeft ? 1 : 0) - (frame.DrawRight ? 1 : 0);
    // Shortened by whole characters: a Chinese character goes with both its bytes.
    while (!s.isEmpty() && qx::gbkLength(s) > d)
        s.chop(1);
    const qint64 length = qx::gbkLength(s);
    if (length < d) {
        switch (Alignment()) {
        case taLeftJustify:
            s += QString(qsizetype(d - length), u' ');
            break;
        case taRightJustify:
            s.prepend(QString(qsizetype(d - length), u' '));
            break;
        case taCenter: {
            const qint64 front = (d - length) / 2 - 1;
            if (front > 0)
                s.prepend(QString(qsizetype(front), u' '));
            const qint64 now = qx::gbkLength(s);
            if (now < d)
                s += QString(qsizetype(d - now), u' ');
            break;
        }
        }
    }
    piece += s;
    if (frame.DrawRight)
        piece += u'|';
    if (frame.DrawBottom)
        piece += QStringLiteral("\r\n") + QString(qsizetype(n + 1), u'-');
    return piece;
}

// ---- TsQRLabel ----------------------------------------------------------------------------

TsQRLabel::TsQRLabel(TQRCustomBand* band) : TsQRCustomLabel(band)
{
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
        if (m_caption.isEmpty() || m_caption == m_name)
            SetCaption(name);
        m_name = name;
    });
}

void TsQRLabel::SetCaption(const QString& caption)
{
    m_caption = caption;
    SetPrintCaption(caption);
    FormatLines();
}

// ---- TsQRExpr -----------------------------------------------------------------------------

TsQRExpr::TsQRExpr(TQRCustomBand* band) : TsQRCustomLabel(band)
{
    SetExpression(QString());
}

TsQRExpr::~TsQRExpr()
{
    stopNotices();
}

void TsQRExpr::SetMaster(TQuickRep* report)
{
    m_master = report;
}

void TsQRExpr::SetMaster(TQRSubDetail* subDetail)
{
    m_master = subDetail;
}

void TsQRExpr::SetExpression(const QString& expression)
{
    m_expression = expression;
    SetPrintCaption(expression.isEmpty() ? QStringLiteral("(none)") : expression);
    FormatLines();
}

void TsQRExpr::SetMask(const QString& mask)
{
    m_mask = mask;
    SetExpression(m_expression);
}

QString TsQRExpr::ValueText(const TQREvResult& value, const QString& mask)
{
    switch (value.Kind) {
    case resInt:
    case resDouble:
        if (mask.isEmpty())
            return value.AsText();
        try {
            return FormatFloat(mask, value.AsDouble());
        } catch (const Exception& e) {
            return e.Message();
        }
    case resString: {
        const QString& s = value.strResult;
        if (mask.isEmpty())
            return s;
        if (std::all_of(s.begin(), s.end(), [](QChar c) { return c == u' ' || c == u',' || c.isDigit(); }))
            return s;
        qsizetype begin = 0;
        while (begin < s.size() && s.at(begin) == u' ')
            ++begin;
        qsizetype end = s.size();
        while (end > begin && s.at(end - 1) == u' ')
            --end;
        double number = 0;
        if (!TryStrToFloat(s.mid(begin, end - begin), number))
            return s; // not a number: shown as it is
        try {
            return s.left(begin) + FormatFloat(mask, number) + s.mid(end);
        } catch (const Exception&) {
            return s;
        }
    }
    case resBool:
        return value.booResult ? QStringLiteral("True") : QStringLiteral("False");
    case resError:
        return value.strResult;
    }
    return QString();
}

void TsQRExpr::stopNotices()
{
    if (m_notifying) {
        if (auto* report = qobject_cast<TQuickRep*>(m_notifying.data()))
            report->RemoveNotifyClient(this);
        else if (auto* sub = qobject_cast<TQRSubDetail*>(m_notifying.data()))
            sub->RemoveNotifyClient(this);
    }
    m_notifying.clear();
}

void TsQRExpr::Prepare()
{
    TsQRCustomLabel::Prepare();
    stopNotices();
    m_evaluator.Unprepare();
    if (TQuickRep* report = ParentReport())
        m_evaluator.SetDataSets(report->AllDataSets());
    m_evaluator.Prepare(m_expression);
    QObject* master = m_master ? m_master.data() : static_cast<QObject*>(ParentReport());
    if (m_master || m_evaluator.IsAggreg()) {
        auto update = [this] { m_evaluator.UpdateAggregates(); };
        if (auto* report = qobject_cast<TQuickRep*>(master))
            report->AddNotifyClient(this, update);
        else if (auto* sub = qobject_cast<TQRSubDetail*>(master))
            sub->AddNotifyClient(this, update);
        m_notifying = master;
    }
    m_evaluator.Reset();
}

void TsQRExpr::Unprepare()
{
    TsQRCustomLabel::Unprepare();
    stopNotices();
    m_evaluator.SetDataSets({});
    m_evaluator.Unprepare();
    SetExpression(m_expression);
}

void TsQRExpr::FetchText()
{
    if (!m_evaluator.Prepared())
        m_evaluator.Prepare(m_expression);
    SetPrintCaption(ValueText(m_evaluator.Value(), m_mask));
}

void TsQRExpr::AfterTextPrinted()
{
    if (m_resetAfterPrint)
        m_evaluator.Reset();
}

// ---- TsQRDBText ---------------------------------------------------------------------------

TsQRDBText::TsQRDBText(TQRCustomBand* band) : TsQRCustomLabel(band) {}

TDataSet* TsQRDBText::DataSet() const
{
    return m_dataSet;
}

void TsQRDBText::SetDataSet(TDataSet* dataSet)
{
    m_dataSet = dataSet; // a guarded pointer: a dataset that goes is forgotten
    m_field.clear();
}

void TsQRDBText::SetDataField(const QString& name)
{
    m_dataField = name;
    SetPrintCaption(name);
    FormatLines();
}

bool TsQRDBText::isMemo() const
{
    if (!m_field)
        return false;
    const TFieldType t = m_field->DataType();
    return t == ftMemo || t == ftFmtMemo || t == ftBlob || t == ftGraphic;
}

bool TsQRDBText::UsesCaption() const
{
    return !isMemo();
}

void TsQRDBText::ResetCaption()
{
    SetPrintCaption(m_dataField.isEmpty() ? objectName() : m_dataField);
    FormatLines();
}

void TsQRDBText::Prepare()
{
    TsQRCustomLabel::Prepare();
    m_field = m_dataSet ? m_dataSet->FindField(m_dataField) : nullptr;
    if (isMemo())
        SetPrintCaption(QString());
}

void TsQRDBText::Unprepare()
{
    TsQRCustomLabel::Unprepare();
    m_field.clear();
    ResetCaption();
}

void TsQRDBText::FetchText()
{
    if (!m_field && m_dataSet)
        m_field = m_dataSet->FindField(m_dataField);
    TField* f = m_field;
    SetLines({});
    SetPrintCaption(QString());
    if (!f || !f->DataSet() || !f->DataSet()->Active())
        return;
    try {
        if (isMemo()) {
            QString text = f->AsString();
            text.remove(u'\n');
            SetLines(text.split(u'\r'));
        } else {
            SetPrintCaption(f->DisplayText());
        }
    } catch (const Exception&) {
        SetLines({});
        SetPrintCaption(QString());
    }
}
