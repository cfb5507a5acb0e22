// Band order and page breaks, compared as recorded layouts.
#include "ReportFixture.h"

#include <gtest/gtest.h>

using namespace rpt;

namespace {

class BandOrder : public ::testing::Test
{
protected:
    BandOrder()
    {
        report.Page().SetPaperSize(A4);
        report.Page().SetTopMargin(10);
        report.Page().SetBottomMargin(10);
    }
    TQuickRep report;
};

TEST_F(BandOrder, ReportWithoutDataSetPrintsItsDetailOnce)
{
    band(report, rbPageHeader, QStringLiteral("PH"));
    band(report, rbTitle, QStringLiteral("T"), 30);
    band(report, rbColumnHeader, QStringLiteral("CH"));
    band(report, rbDetail, QStringLiteral("D"));
    band(report, rbSummary, QStringLiteral("S"));
    band(report, rbPageFooter, QStringLiteral("PF"));
    report.Prepare();
    // A4 at 10 mm margins: the printable area is 277 mm = 1047 pixels; the footer stands at
    // its bottom.
    EXPECT_EQ(textLayout(report), (QStringList{"1 PH@0", "1 T@20", "1 CH@50", "1 D@70", "1 S@90", "1 PF@1027"}));
    EXPECT_EQ(report.QRPrinter()->PageCount(), 1);
}

// A report with every kind of band: a group over the master records with its footer, a
// detail band with a chain of two child bands, a sub-detail with a dataset and its header and
// footer, a sub-detail without one, title, summary, page header and footer. All bands are 20
// pixels high.
class FullReport : public BandOrder
{
protected:
    FullReport() : master(table(QStringLiteral("Master"))), items(table(QStringLiteral("Items")))
    {
        add(*master, QStringLiteral("A"), QStringLiteral("m1"), 1);
        add(*master, QStringLiteral("A"), QStringLiteral("m2"), 2);
        add(*master, QStringLiteral("B"), QStringLiteral("m3"), 3);
        add(*items, QStringLiteral("x"), QStringLiteral("i1"), 1);
        add(*items, QStringLiteral("x"), QStringLiteral("i2"), 1);

        report.SetDataSet(master.get());
        band(report, rbPageHeader, QStringLiteral("PH"));
        band(report, rbTitle, QStringLiteral("T"));
        auto* group = new TQRGroup(&report);
        group->SetExpression(QStringLiteral("Grp"));
        group->SetHeight(20);
        expr(group, QStringLiteral("'G '+Grp"));
        auto* detail = new TQRBand(&report, rbDetail);
        detail->SetHeight(20);
        expr(detail, QStringLiteral("'D '+Master.Name"));
        auto* child = new TQRChildBand(&report);
        child->SetParentBand(detail);
        child->SetHeight(20);
        label(child, QStringLiteral("C1"));
        auto* grandChild = new TQRChildBand(&report);
        grandChild->SetParentBand(child);
        grandChild->SetHeight(20);
        label(grandChild, QStringLiteral("C2"));

        auto* sub = new TQRSubDetail(&report);
        sub->SetDataSet(items.get());
        sub->SetHeight(20);
        expr(sub, QStringLiteral("'S '+Items.Name"));
        sub->Bands().SetHasHeader(true);
        sub->Bands().HeaderBand()->SetHeight(20);
        label(sub->Bands().HeaderBand(), QStringLiteral("SH"));
        sub->Bands().SetHasFooter(true);
        sub->Bands().FooterBand()->SetHeight(20);
        label(sub->Bands().FooterBand(), QStringLiteral("SF"));

        // Without a dataset: one record for the first master record only.
        auto* needs = new TQRSubDetail(&report);
        needs->SetHeight(20);
        label(needs, QStringLiteral("N"));
        needs->OnNeedData = [this](QObject*, bool& more) {
            ++asked;
            more = asked == 1;
        };

        auto* groupFooter = new TQRBand(&report, rbGroupFooter);
        groupFooter->SetHeight(20);
        expr(groupFooter, QStringLiteral("'GF '+Grp"));
        group->SetFooterBand(groupFooter);
        band(report, rbSummary, QStringLiteral("SUM"));
        band(report, rbPageFooter, QStringLiteral("PF"));
    }

    // The layout of the body bands, bodyRows to a page between the page header and footer.
    static QStringList paged(const QStringList& body, int bodyRows)
    {
        QStringList out;
        for (qsizetype i = 0; i < body.size(); ++i) {
            const qsizetype page = i / bodyRows + 1;
            const qsizetype row = i % bodyRows;
            if (row == 0)
                out << QStringLiteral("%1 PH@0").arg(page);
            out << QStringLiteral("%1 %2@%3").arg(page).arg(body[i]).arg(20 + 20 * row);
            if (row == bodyRows - 1 || i == body.size() - 1)
                out << QStringLiteral("%1 PF@%2").arg(page).arg(20 + 20 * bodyRows);
        }
        return out;
    }

    const QStringList body{"T",    "G A",  "D m1", "C1",   "C2",   "SH", "S i1", "S i2",   "SF",   "N",
                           "D m2", "C1",   "C2",   "SH",   "S i1", "S i2", "SF", "GF A",   "G B",  "D m3",
                           "C1",   "C2",   "SH",   "S i1", "S i2", "SF",   "GF B", "SUM"};
    std::unique_ptr<TQxMemTable> master;
    std::unique_ptr<TQxMemTable> items;
    int asked = 0;
};

TEST_F(FullReport, BandsRunInOrder)
{
    report.Prepare();
    // 1046.9 pixels of printable length: all 28 body bands fit on one page above the footer.
    EXPECT_EQ(textLayout(report), paged(body, 28).replaceInStrings(QStringLiteral("PF@580"), QStringLiteral("PF@1027")));
    EXPECT_EQ(asked, 4); // once more for each master record after the first said no
}

TEST_F(FullReport, PageBreaksRepeatHeaderAndFooter)
{
    // A custom sheet with 200 pixels between the margins: page header, eight bands, footer.
    report.Page().SetPaperSize(Custom);
    report.Page().SetLength(20 + qx::report::pixelsToMm(200));
    report.Prepare();
    EXPECT_EQ(report.QRPrinter()->PageCount(), 4);
    EXPECT_EQ(textLayout(report), paged(body, 8));
}

TEST_F(BandOrder, BandThatDoesNotFitMovesToANewPage)
{
    auto data = table(QStringLiteral("Data"));
    for (int i = 1; i <= 12; ++i)
        add(*data, QStringLiteral("g"), QStringLiteral("r%1").arg(i), i);
    report.SetDataSet(data.get());
    auto* header = band(report, rbPageHeader, QStringLiteral("PH"), 46);
    auto* headerChild = new TQRChildBand(&report);
    headerChild->SetParentBand(header);
    headerChild->SetHeight(100);
    label(headerChild, QStringLiteral("PHC"));
    auto* detail = new TQRBand(&report, rbDetail);
    detail->SetHeight(200);
    expr(detail, QStringLiteral("Name"));
    band(report, rbPageFooter, QStringLiteral("PF"), 100);
    report.Prepare();
    // 1046.9 pixels less 146 for the page header and its child and 100 for the footer leave
    // room for four rows of 200 on each page.
    EXPECT_EQ(textLayout(report),
              (QStringList{"1 PH@0", "1 PHC@46", "1 r1@146", "1 r2@346", "1 r3@546", "1 r4@746", "1 PF@947",
                           "2 PH@0", "2 PHC@46", "2 r5@146", "2 r6@346", "2 r7@546", "2 r8@746", "2 PF@947",
                           "3 PH@0", "3 PHC@46", "3 r9@146", "3 r10@346", "3 r11@546", "3 r12@746", "3 PF@947"}));
}

TEST_F(BandOrder, LastPageFooterOption)
{
    auto data = table(QStringLiteral("Data"));
    for (int i = 1; i <= 6; ++i)
        add(*data, QStringLiteral("g"), QStringLiteral("r%1").arg(i), i);
    report.SetDataSet(data.get());
    auto* detail = new TQRBand(&report, rbDetail);
    detail->SetHeight(300);
    expr(detail, QStringLiteral("Name"));
    band(report, rbPageFooter, QStringLiteral("PF"));
    report.SetOptions({});
    report.Prepare();
    EXPECT_EQ(texts(report), (QStringList{"1 r1", "1 r2", "1 r3", "1 PF", "2 r4", "2 r5", "2 r6"}));
    report.SetOptions(LastPageFooter);
    report.Prepare();
    EXPECT_EQ(texts(report), (QStringList{"1 r1", "1 r2", "1 r3", "1 PF", "2 r4", "2 r5", "2 r6", "2 PF"}));
}

} // namespace
