#include "platform/report/QRPage.h"

#include <cmath>
#include <utility>

using namespace qx::report;

TQRPage::TQRPage() = default;

void TQRPage::applyTable()
{
    PaperDimensions d;
    if (orientedPaperDimensions(m_paperSize, m_orientation, d)) {
        m_width = mmToUnits(d.widthMm);
        m_length = mmToUnits(d.lengthMm);
    }
}

void TQRPage::SetPaperSize(TQRPaperSize size)
{
    if (size < Default || size > Custom)
        return;
    m_paperSize = size;
    applyTable();
}

void TQRPage::SetOrientation(TPrinterOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    PaperDimensions d;
    if (paperDimensions(m_paperSize, d))
        applyTable();
    else
        std::swap(m_width, m_length);
}

void TQRPage::SetWidth(double value)
{
    const double units = set(value);
    if (std::abs(units - m_width) < 1e-9)
        return;
    m_width = units;
    if (m_paperSize != Default)
        m_paperSize = Custom;
}

void TQRPage::SetLength(double value)
{
    const double units = set(value);
    if (std::abs(units - m_length) < 1e-9)
        return;
    m_length = units;
    if (m_paperSize != Default)
        m_paperSize = Custom;
}

double TQRPage::GetDimension(int index) const
{
    switch (index) {
    case 0:
        return BottomMargin();
    case 1:
        return Length();
    case 2:
        return TopMargin();
    case 3:
        return Width();
    case 4:
        return LeftMargin();
    case 5:
        return RightMargin();
    default:
        return 0;
    }
}

void TQRPage::SetDimension(int index, double value)
{
    switch (index) {
    case 0:
        SetBottomMargin(value);
        break;
    case 1:
        SetLength(value);
        break;
    case 2:
        SetTopMargin(value);
        break;
    case 3:
        SetWidth(value);
        break;
    case 4:
        SetLeftMargin(value);
        break;
    case 5:
        SetRightMargin(value);
        break;
    default:
        break;
    }
}

int TQRPage::LengthPixels() const
{
    return unitsToWholePixels(m_length);
}

int TQRPage::WidthPixels() const
{
    return unitsToWholePixels(m_width);
}

int TQRPage::PrintableWidthPixels() const
{
    return unitsToWholePixels(PrintableWidthUnits());
}
