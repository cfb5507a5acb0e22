#include "platform/report/QRPrintable.h"

#include "platform/report/QRBands.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/Units.h"

#include <QPainter>

using namespace qx::report;

TQRPrintable::TQRPrintable(TQRCustomBand* band) : QObject(band), m_font(defaultReportFont())
{
    if (band)
        band->addPrintable(this);
}

TQRPrintable::~TQRPrintable()
{
    if (TQRCustomBand* band = ParentBand())
        band->removePrintable(this);
}

TQRCustomBand* TQRPrintable::ParentBand() const
{
    return qobject_cast<TQRCustomBand*>(parent());
}

void TQRPrintable::SetParentBand(TQRCustomBand* band)
{
    if (TQRCustomBand* old = ParentBand())
        old->removePrintable(this);
    setParent(band);
    if (band)
        band->addPrintable(this);
}

TQuickRep* TQRPrintable::ParentReport() const
{
    const TQRCustomBand* band = ParentBand();
    return band ? band->ParentReport() : nullptr;
}

int TQRPrintable::Left() const { return unitsToWholePixels(m_size.Left); }
void TQRPrintable::SetLeft(int pixels) { m_size.Left = pixelsToUnits(pixels); }
int TQRPrintable::Top() const { return unitsToWholePixels(m_size.Top); }
void TQRPrintable::SetTop(int pixels) { m_size.Top = pixelsToUnits(pixels); }
int TQRPrintable::Width() const { return unitsToWholePixels(m_size.Width); }
void TQRPrintable::SetWidth(int pixels) { m_size.Width = pixelsToUnits(pixels); }
int TQRPrintable::Height() const { return unitsToWholePixels(m_size.Height); }
void TQRPrintable::SetHeight(int pixels) { m_size.Height = pixelsToUnits(pixels); }

QFont TQRPrintable::Font() const
{
    if (m_parentFont) {
        if (const TQuickRep* report = ParentReport())
            return report->Font();
    }
    return m_font;
}

void TQRPrintable::SetFont(const QFont& font)
{
    m_font = reportFont(font);
    m_parentFont = false;
}

int TQRPrintable::Zoom() const
{
    const TQuickRep* report = ParentReport();
    return report ? report->Zoom() : 100;
}

void TQRPrintable::SendToBack()
{
    if (TQRCustomBand* band = ParentBand())
        band->moveToBack(this);
}

void TQRPrintable::BringToFront()
{
    if (TQRCustomBand* band = ParentBand())
        band->moveToFront(this);
}

void TQRPrintable::ApplyAlignToBand()
{
    const TQRCustomBand* band = ParentBand();
    if (!m_alignToBand || !band)
        return;
    switch (m_alignment) {
    case taLeftJustify:
        m_size.Left = 0;
        break;
    case taRightJustify:
        m_size.Left = band->WidthUnits() - m_size.Width;
        break;
    case taCenter:
        m_size.Left = (band->WidthUnits() - m_size.Width) / 2;
        break;
    }
}

void TQRPrintable::Prepare() {}

void TQRPrintable::Unprepare() {}

void TQRPrintable::Print(double OffsetX, double OffsetY)
{
    if (!FinalPass())
        return;
    const QRectF rect = PrintRectPixels(OffsetX, OffsetY);
    PaintBackground(rect);
    PaintFrame(rect);
}

double TQRPrintable::StretchHeight()
{
    return m_size.Height;
}

bool TQRPrintable::FinalPass() const
{
    const TQuickRep* report = ParentReport();
    return report && report->FinalPass() && Canvas();
}

bool TQRPrintable::IsExporting() const
{
    const TQuickRep* report = ParentReport();
    return report && report->Exporting();
}

TQRExportFilter* TQRPrintable::ExportFilter() const
{
    const TQuickRep* report = ParentReport();
    return report ? report->ExportFilter() : nullptr;
}

TQRPrinter* TQRPrintable::QRPrinter() const
{
    const TQuickRep* report = ParentReport();
    return report ? report->QRPrinter() : nullptr;
}

QPainter* TQRPrintable::Canvas() const
{
    TQRPrinter* printer = QRPrinter();
    return printer ? printer->Canvas() : nullptr;
}

double TQRPrintable::TextWidth(const QString& text) const
{
    return textWidthUnits(Font(), text);
}

double TQRPrintable::TextWidth(const QFont& font, const QString& text) const
{
    return textWidthUnits(font, text);
}

double TQRPrintable::TextHeight() const
{
    return textHeightUnits(Font());
}

TQRUnitRect TQRPrintable::PrintArea(double OffsetX, double OffsetY) const
{
    return {m_size.Left + OffsetX, m_size.Top + OffsetY, m_size.Width, m_size.Height};
}

QRectF TQRPrintable::PrintRectPixels(double OffsetX, double OffsetY) const
{
    const TQRUnitRect a = PrintArea(OffsetX, OffsetY);
    return QRectF(unitsToPixels(a.Left), unitsToPixels(a.Top), unitsToPixels(a.Width), unitsToPixels(a.Height));
}

void TQRPrintable::PaintBackground(const QRectF& pixels)
{
    if (m_transparent)
        return;
    TQRPrinter* printer = QRPrinter();
    QPainter* canvas = Canvas();
    if (!printer || !canvas)
        return;
    printer->SetCanvasPen(Qt::NoPen);
    printer->SetCanvasBrush(QBrush(toQColor(m_color)));
    canvas->drawRect(pixels);
}

void TQRPrintable::PaintFrame(const QRectF& r)
{
    if (!m_frame.AnyFrame())
        return;
    TQRPrinter* printer = QRPrinter();
    QPainter* canvas = Canvas();
    if (!printer || !canvas)
        return;
    printer->SetCanvasPen(makePen(m_frame.Color, m_frame.Style, pointsToPixels(m_frame.Width)));
    if (m_frame.DrawTop)
        canvas->drawLine(QLineF(r.left(), r.top(), r.right(), r.top()));
    if (m_frame.DrawBottom)
        canvas->drawLine(QLineF(r.left(), r.bottom(), r.right(), r.bottom()));
    if (m_frame.DrawLeft)
        canvas->drawLine(QLineF(r.left(), r.top(), r.left(), r.bottom()));
    if (m_frame.DrawRight)
        canvas->drawLine(QLineF(r.right(), r.top(), r.right(), r.bottom()));
}
