// Export filters: a report run drives a filter page by page while it exports; stored pages
// can be replayed into one; the filter library lists filters once, in order.
#include "RecordingFilter.h"
#include "ReportFixture.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace rpt;

namespace {

class Export : public ::testing::Test
{
protected:
    Export() : data(table(QStringLiteral("Data")))
    {
        for (int i = 1; i <= 3; ++i)
            add(*data, QStringLiteral("g"), QStringLiteral("r%1").arg(i), i);
        report.SetDataSet(data.get());
        report.Page().SetTopMargin(10);
        report.Page().SetLeftMargin(10);
        detail = new TQRBand(&report, rbDetail);
        detail->SetHeight(500); // two rows a page
        auto* cell = expr(detail, QStringLiteral("Name"), 200);
        cell->SetLeft(20);
        auto* right = expr(detail, QStringLiteral("Qty"), 100);
        right->SetLeft(300);
        right->SetAlignment(taRightJustify);
    }

    std::unique_ptr<TQxMemTable> data;
    TQuickRep report;
    TQRBand* detail;
};

TEST_F(Export, ReportRunDrivesTheFilterPageByPage)
{
    RecordingFilter filter;
    bool exportingSeen = false;
    detail->BeforePrint = [&](TQRCustomBand*, bool&) { exportingSeen = report.Exporting() && report.ExportFilter() == &filter; };
    report.ExportToFilter(&filter);
    // Texts at the printable's place in report units: 10 mm margins, 20 pixels = 52.9 units
    // in; the right-aligned one gives its right edge (300 + 100 pixels = 1058.3 units in).
    EXPECT_EQ(filter.calls, (QStringList{"Start 2100x2970 12", "NewPage", "TextOut 153,100 0 r1", "TextOut 1158,100 1 1",
                                         "TextOut 153,1423 0 r2", "TextOut 1158,1423 1 2", "EndPage", "NewPage",
                                         "TextOut 153,100 0 r3", "TextOut 1158,100 1 3", "EndPage", "Finish"}));
    EXPECT_TRUE(exportingSeen);
    EXPECT_FALSE(report.Exporting());
    EXPECT_EQ(report.QRPrinter(), nullptr);
}

TEST_F(Export, StoredPagesReplayTheirTexts)
{
    report.Prepare();
    RecordingFilter filter;
    report.QRPrinter()->ExportToFilter(filter);
    ASSERT_EQ(filter.calls.size(), 12);
    EXPECT_EQ(filter.calls.first(), QStringLiteral("Start 2100x2970 12"));
    EXPECT_EQ(filter.calls.filter(QStringLiteral("TextOut")).size(), 6);
    // The drawn text's top, within a tenth of a millimetre of where the printable put it.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^TextOut 153,10[01] 0 r1$")).match(filter.calls[2]).hasMatch())
        << filter.calls[2].toStdString();
    EXPECT_EQ(filter.calls.last(), QStringLiteral("Finish"));
}

class OtherFilter : public RecordingFilter
{
public:
    using RecordingFilter::RecordingFilter;
    QString Description() const override { return QStringLiteral("其他"); }
    QString Extension() const override { return QStringLiteral("OTH"); }
    QString FilterName() const override { return QStringLiteral("Other"); }
};

TEST(ExportFilterLibrary, ListsFiltersOnceInRegistrationOrder)
{
    TQRExportFilterLibrary lib;
    const std::size_t before = 0;
    EXPECT_TRUE(lib.AddFilter<RecordingFilter>());
    EXPECT_TRUE(lib.AddFilter<OtherFilter>());
    EXPECT_FALSE(lib.AddFilter<RecordingFilter>());
    ASSERT_EQ(lib.Filters().size(), before + 2);
    EXPECT_EQ(lib.Filters()[before].FilterName, QStringLiteral("Recording"));
    EXPECT_EQ(lib.Filters()[before + 1].FileFilter(), QStringLiteral("其他 (*.OTH)"));
    EXPECT_TRUE(lib.SaveFileFilter().startsWith(QStringLiteral("报表文件 (*.QRP);;")));
    EXPECT_TRUE(lib.SaveFileFilter().endsWith(QStringLiteral("记录 (*.REC);;其他 (*.OTH)")));
    const std::unique_ptr<TQRExportFilter> made = lib.Filters()[before + 1].Create(QStringLiteral("a.oth"));
    EXPECT_EQ(made->FileName(), QStringLiteral("a.oth"));
}

} // namespace
