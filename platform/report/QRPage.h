// TQRPage: the paper and margins of a report.
//
// Lengths are read and written in the unit of the page (the report's Units, MM unless set
// otherwise) and kept in report units (0.1 mm). Width and Length are the sheet as laid out:
// setting a table size fills them from the paper table, swapped for landscape; changing the
// orientation re-applies the table, or swaps the two for Default and Custom. Writing Width or
// Length to a value the table size does not have turns the paper into Custom.
#pragma once

#include "platform/report/Paper.h"
#include "platform/report/Units.h"

class TQRPage
{
public:
    // A4 portrait with 10 mm margins.
    TQRPage();

    TQRUnit Units() const { return m_unit; }
    void SetUnits(TQRUnit unit) { m_unit = unit; }

    TQRPaperSize PaperSize() const { return m_paperSize; }
    void SetPaperSize(TQRPaperSize size);
    TPrinterOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TPrinterOrientation orientation);

    // In the page's unit.
    double Width() const { return get(m_width); }
    void SetWidth(double value);
    double Length() const { return get(m_length); }
    void SetLength(double value);
    double TopMargin() const { return get(m_top); }
    void SetTopMargin(double value) { m_top = set(value); }
    double BottomMargin() const { return get(m_bottom); }
    void SetBottomMargin(double value) { m_bottom = set(value); }
    double LeftMargin() const { return get(m_left); }
    void SetLeftMargin(double value) { m_left = set(value); }
    double RightMargin() const { return get(m_right); }
    void SetRightMargin(double value) { m_right = set(value); }

    // The six lengths by index: 0 BottomMargin, 1 Length, 2 TopMargin, 3 Width, 4 LeftMargin,
    // 5 RightMargin; any other index reads 0 and writes nothing.
    double GetDimension(int index) const;
    void SetDimension(int index, double value);

    // In report units (0.1 mm).
    double WidthUnits() const { return m_width; }
    double LengthUnits() const { return m_length; }
    double TopMarginUnits() const { return m_top; }
    double BottomMarginUnits() const { return m_bottom; }
    double LeftMarginUnits() const { return m_left; }
    double RightMarginUnits() const { return m_right; }
    // The width between the side margins and the length between top and bottom margin.
    double PrintableWidthUnits() const { return m_width - m_left - m_right; }
    double PrintableLengthUnits() const { return m_length - m_top - m_bottom; }

    // In whole pixels at 100 %: the page length and the printable width.
    int LengthPixels() const;
    int WidthPixels() const;
    int PrintableWidthPixels() const;

private:
    double get(double units) const { return qx::report::fromUnits(units, m_unit); }
    double set(double value) const { return qx::report::toUnits(value, m_unit); }
    void applyTable();

    TQRUnit m_unit = MM;
    TQRPaperSize m_paperSize = A4;
    TPrinterOrientation m_orientation = poPortrait;
    double m_width = 2100;
    double m_length = 2970;
    double m_top = 100;
    double m_bottom = 100;
    double m_left = 100;
    double m_right = 100;
};
