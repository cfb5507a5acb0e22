// Units, the paper table and the page settings of a report.
#include "platform/report/QRPage.h"
#include "platform/report/QuickRep.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/Units.h"

#include <gtest/gtest.h>

using namespace qx::report;

namespace {

TEST(Units, OnePlaceConvertsLengths)
{
    EXPECT_DOUBLE_EQ(pixelsToUnits(96), 254);     // an inch
    EXPECT_DOUBLE_EQ(unitsToPixels(254), 96);
    EXPECT_DOUBLE_EQ(mmToUnits(21), 210);
    EXPECT_DOUBLE_EQ(unitsToMm(2970), 297);
    EXPECT_DOUBLE_EQ(pointsToUnits(72), 254);
    EXPECT_DOUBLE_EQ(pointsToPixels(9), 12);
    EXPECT_DOUBLE_EQ(twipsToUnits(1440), 254);
    EXPECT_DOUBLE_EQ(unitsToTwips(254), 1440);
    EXPECT_EQ(unitsToWholePixels(mmToUnits(297)), 1123);
    // Pixels set as whole numbers read back unchanged.
    for (int px : {0, 1, 17, 333, 1047})
        EXPECT_EQ(unitsToWholePixels(pixelsToUnits(px)), px);
    EXPECT_DOUBLE_EQ(toUnits(2, Inches), 508);
    EXPECT_DOUBLE_EQ(fromUnits(100, MM), 10);
    EXPECT_DOUBLE_EQ(toUnits(96, Pixels), 254);
}

TEST(Paper, TableHoldsMillimetres)
{
    const struct
    {
        TQRPaperSize size;
        double width, length;
    } cases[] = {
        {A4, 210, 297},    {A3, 297, 420},         {A5, 148, 210},        {B5, 182, 257},
        {Letter, 215.9, 279.4}, {Legal, 215.9, 355.6}, {Executive, 184.15, 266.7}, {ESheet, 863.6, 1117.6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(paperSizeName(c.size).toStdString());
        PaperDimensions d;
        ASSERT_TRUE(paperDimensions(c.size, d));
        EXPECT_DOUBLE_EQ(d.widthMm, c.width);
        EXPECT_DOUBLE_EQ(d.lengthMm, c.length);
        ASSERT_TRUE(orientedPaperDimensions(c.size, poLandscape, d));
        EXPECT_DOUBLE_EQ(d.widthMm, c.length);
        EXPECT_DOUBLE_EQ(d.lengthMm, c.width);
    }
    PaperDimensions d;
    EXPECT_FALSE(paperDimensions(Default, d));
    EXPECT_FALSE(paperDimensions(Custom, d));
    EXPECT_FALSE(paperDimensions(TQRPaperSize(99), d));
}

TEST(Page, LandscapeSwapsTheDimensions)
{
    TQRPage page;
    EXPECT_EQ(page.PaperSize(), A4);
    page.SetPaperSize(A3);
    page.SetOrientation(poLandscape);
    EXPECT_DOUBLE_EQ(page.Width(), 420);
    EXPECT_DOUBLE_EQ(page.Length(), 297);
    page.SetOrientation(poPortrait);
    EXPECT_DOUBLE_EQ(page.Width(), 297);
    EXPECT_DOUBLE_EQ(page.Length(), 420);
    // Changing the size keeps the orientation.
    page.SetOrientation(poLandscape);
    page.SetPaperSize(A5);
    EXPECT_DOUBLE_EQ(page.Width(), 210);
    EXPECT_DOUBLE_EQ(page.Length(), 148);
}

TEST(Page, CustomAndDefaultKeepTheirLengths)
{
    TQRPage page;
    page.SetPaperSize(Custom);
    page.SetWidth(100);
    page.SetLength(150);
    page.SetOrientation(poLandscape);
    EXPECT_DOUBLE_EQ(page.Width(), 150);
    EXPECT_DOUBLE_EQ(page.Length(), 100);
    EXPECT_EQ(page.PaperSize(), Custom);

    page.SetPaperSize(A4);
    page.SetWidth(297); // what landscape A4 already has: no change
    EXPECT_EQ(page.PaperSize(), A4);
    page.SetWidth(250);
    EXPECT_EQ(page.PaperSize(), Custom);

    page.SetPaperSize(Default);
    page.SetLength(123);
    EXPECT_EQ(page.PaperSize(), Default);
    EXPECT_DOUBLE_EQ(page.Length(), 123);
}

TEST(Page, DimensionsByIndexAndPixels)
{
    TQRPage page;
    page.SetTopMargin(20);
    page.SetBottomMargin(21);
    page.SetLeftMargin(15);
    page.SetRightMargin(16);
    EXPECT_DOUBLE_EQ(page.GetDimension(0), 21);
    EXPECT_DOUBLE_EQ(page.GetDimension(1), 297);
    EXPECT_DOUBLE_EQ(page.GetDimension(2), 20);
    EXPECT_DOUBLE_EQ(page.GetDimension(3), 210);
    EXPECT_DOUBLE_EQ(page.GetDimension(4), 15);
    EXPECT_DOUBLE_EQ(page.GetDimension(5), 16);
    EXPECT_DOUBLE_EQ(page.GetDimension(6), 0);
    page.SetDimension(4, 10);
    EXPECT_DOUBLE_EQ(page.LeftMargin(), 10);
    // Printable width 210 - 10 - 16 = 184 mm; page length 297 mm.
    EXPECT_EQ(page.PrintableWidthPixels(), 695);
    EXPECT_EQ(page.LengthPixels(), 1123);
    page.SetUnits(Inches);
    EXPECT_NEAR(page.Width(), 210 / 25.4, 1e-9);
}

TEST(Page, ReportBandsSpanThePrintableWidth)
{
    TQuickRep report;
    report.Page().SetLeftMargin(15);
    report.Page().SetRightMargin(15);
    report.Bands().SetHasDetail(true);
    EXPECT_EQ(report.Bands().DetailBand()->Width(), report.PrintableWidth());
    EXPECT_EQ(report.PrintableWidth(), 680);
    EXPECT_EQ(report.Height(), 1123);
}

TEST(ReportFonts, SizedInPixelsOfTheReportScreen)
{
    QFont f(QStringLiteral("宋体"));
    f.setPointSize(9);
    EXPECT_EQ(reportFont(f).pixelSize(), 12);
    f.setPointSize(12);
    EXPECT_EQ(reportFont(f).pixelSize(), 16);
    EXPECT_EQ(fontPointSize(reportFont(f)), 12);
    EXPECT_EQ(defaultReportFont().pixelSize(), 12);
    EXPECT_GT(textWidthPixels(defaultReportFont(), QStringLiteral("合计")), textWidthPixels(defaultReportFont(), QStringLiteral("合")));
}

} // namespace
