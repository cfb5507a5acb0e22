// What band handlers can do: start new pages, skip a band, change its height; sub-details
// without records; printables that stretch over pages; aggregates that start over.
#include "ReportFixture.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace rpt;

namespace {

class BandEvents : public ::testing::Test
{
protected:
    BandEvents() : data(table(QStringLiteral("Data")))
    {
        report.Page().SetPaperSize(A4);
        report.Page().SetTopMargin(10);
        report.Page().SetBottomMargin(10);
        report.SetDataSet(data.get());
    }

    // Rows r1..rN in groups of groupSize ("A", "B", ...), Qty = row number.
    void rows(int n, int groupSize = 100)
    {
        for (int i = 1; i <= n; ++i)
            add(*data, QString(QChar(u'A' + (i - 1) / groupSize)), QStringLiteral("r%1").arg(i), i);
    }

    TQRBand* detailBand(int height = 20)
    {
        auto* d = new TQRBand(&report, rbDetail);
        d->SetHeight(height);
        expr(d, QStringLiteral("Name"));
        return d;
    }

    QString name() const { return data->FieldByName(QStringLiteral("Name"))->AsString(); }

    std::unique_ptr<TQxMemTable> data;
    TQuickRep report;
};

TEST_F(BandEvents, NewPageFromBeforePrintMovesThatBand)
{
    rows(4);
    auto* d = detailBand();
    d->BeforePrint = [&](TQRCustomBand*, bool&) {
        if (name() == QLatin1String("r1") || name() == QLatin1String("r3"))
            report.NewPage();
    };
    report.Prepare();
    // r1 asks for a new page on a page that has nothing yet: no blank page.
    EXPECT_EQ(textLayout(report), (QStringList{"1 r1@0", "1 r2@20", "2 r3@0", "2 r4@20"}));
}

TEST_F(BandEvents, NewPageFromAfterPrintMovesTheNextBand)
{
    rows(4);
    auto* d = detailBand();
    d->AfterPrint = [&](TQRCustomBand*, bool) {
        if (name() == QLatin1String("r2") || name() == QLatin1String("r4"))
            report.NewPage();
    };
    band(report, rbSummary, QStringLiteral("S"));
    report.Prepare();
    EXPECT_EQ(textLayout(report), (QStringList{"1 r1@0", "1 r2@20", "2 r3@0", "2 r4@20", "3 S@0"}));
}

TEST_F(BandEvents, NewPageAfterTheLastBandMakesNoEmptyPage)
{
    rows(2);
    auto* d = detailBand();
    d->AfterPrint = [&](TQRCustomBand*, bool) { report.NewPage(); };
    report.Prepare();
    EXPECT_EQ(texts(report), (QStringList{"1 r1", "2 r2"}));
}

TEST_F(BandEvents, PrintBandFalseSkipsTheBandButNotItsChild)
{
    rows(3);
    auto* d = detailBand();
    auto* child = new TQRChildBand(&report);
    child->SetParentBand(d);
    child->SetHeight(10);
    expr(child, QStringLiteral("'c'+Name"));
    d->BeforePrint = [&](TQRCustomBand*, bool& print) { print = name() != QLatin1String("r2"); };
    QStringList afterPrint;
    d->AfterPrint = [&](TQRCustomBand*, bool printed) { afterPrint << name() + (printed ? u'+' : u'-'); };
    report.Prepare();
    EXPECT_EQ(textLayout(report), (QStringList{"1 r1@0", "1 cr1@20", "1 cr2@30", "1 r3@40", "1 cr3@60"}));
    EXPECT_EQ(afterPrint, (QStringList{"r1+", "r2-", "r3+"}));
}

TEST_F(BandEvents, DisabledBandIsNotConsidered)
{
    rows(2);
    auto* d = detailBand();
    d->SetEnabled(false);
    int before = 0;
    d->BeforePrint = [&](TQRCustomBand*, bool&) { ++before; };
    band(report, rbSummary, QStringLiteral("S"));
    report.Prepare();
    EXPECT_EQ(texts(report), QStringList{"1 S"});
    EXPECT_EQ(before, 0);
}

TEST_F(BandEvents, HeightChangedInBeforePrint)
{
    rows(3);
    auto* d = detailBand();
    d->BeforePrint = [&](TQRCustomBand* band, bool&) { band->SetHeight(name() == QLatin1String("r2") ? 50 : 20); };
    report.Prepare();
    EXPECT_EQ(textLayout(report), (QStringList{"1 r1@0", "1 r2@20", "1 r3@70"}));
}

TEST_F(BandEvents, HeightGrownInBeforePrintBreaksThePage)
{
    rows(2);
    auto* d = detailBand();
    d->BeforePrint = [&](TQRCustomBand* band, bool&) { band->SetHeight(name() == QLatin1String("r2") ? 1040 : 20); };
    report.Prepare();
    EXPECT_EQ(textLayout(report), (QStringList{"1 r1@0", "2 r2@0"}));
}

TEST_F(BandEvents, SubDetailWithoutRecordsPrintsNoHeaderOrFooter)
{
    rows(2);
    detailBand();
    auto empty = table(QStringLiteral("Empty"));
    auto* withData = new TQRSubDetail(&report);
    withData->SetDataSet(empty.get());
    withData->SetHeight(20);
    withData->Bands().SetHasHeader(true);
    label(withData->Bands().HeaderBand(), QStringLiteral("H1"));
    withData->Bands().HeaderBand()->SetHeight(20);
    withData->Bands().SetHasFooter(true);
    label(withData->Bands().FooterBand(), QStringLiteral("F1"));
    withData->Bands().FooterBand()->SetHeight(20);

    // Without a dataset: a record only for r2.
    auto* asked = new TQRSubDetail(&report);
    asked->SetHeight(20);
    label(asked, QStringLiteral("X"));
    asked->Bands().SetHasHeader(true);
    label(asked->Bands().HeaderBand(), QStringLiteral("H2"));
    asked->Bands().HeaderBand()->SetHeight(20);
    asked->Bands().SetHasFooter(true);
    label(asked->Bands().FooterBand(), QStringLiteral("F2"));
    asked->Bands().FooterBand()->SetHeight(20);
    bool given = false;
    asked->OnNeedData = [&](QObject*, bool& more) {
        more = name() == QLatin1String("r2") && !given;
        given = given || more;
    };
    auto* group = new TQRGroup(&report);
    group->SetMaster(asked);
    group->SetExpression(QStringLiteral("'g'"));
    label(group, QStringLiteral("G"));
    group->SetHeight(20);

    report.Prepare();
    EXPECT_EQ(texts(report), (QStringList{"1 r1", "1 r2", "1 H2", "1 G", "1 X", "1 F2"}));
}

TEST_F(BandEvents, StretchingPrintableContinuesOnTheNextPage)
{
    add(*data, QStringLiteral("A"), QStringLiteral("long"), 1);
    auto* title = band(report, rbTitle, QStringLiteral("T"), 900);
    Q_UNUSED(title);
    auto* d = new TQRBand(&report, rbDetail);
    d->SetHeight(20);
    auto* memo = new TQRLabel(d);
    memo->SetWidth(300);
    memo->SetHeight(20);
    memo->SetAutoStretch(true);
    QStringList lines;
    for (int i = 1; i <= 30; ++i)
        lines << QStringLiteral("L%1").arg(i);
    memo->SetCaption(lines.join(u'\n'));
    band(report, rbSummary, QStringLiteral("S"));
    report.Prepare();

    const QStringList layout = texts(report);
    // Page 1 holds what fits below the 900-pixel title; the rest follows on page 2, and the
    // summary comes after the last line.
    const qsizetype firstOnPage2 = layout.indexOf(QRegularExpression(QStringLiteral("2 L.*")));
    ASSERT_GT(firstOnPage2, 1);
    QStringList expected{QStringLiteral("1 T")};
    for (int i = 1; i <= 30; ++i)
        expected << QStringLiteral("%1 L%2").arg(i < firstOnPage2 ? 1 : 2).arg(i);
    expected << QStringLiteral("2 S");
    EXPECT_EQ(layout, expected);
    // Lines are 14.0625 pixels high in the 12-pixel font: 146 pixels below the title hold 10.
    EXPECT_EQ(firstOnPage2, 11);
}

TEST_F(BandEvents, PageFurnitureDoesNotContinueOverPages)
{
    rows(2);
    detailBand(600);
    auto* header = new TQRBand(&report, rbPageHeader);
    header->SetHeight(30);
    auto* text = label(header, QStringLiteral("H1\nH2\nH3"));
    text->SetAutoStretch(true);
    report.Prepare();
    // Two lines fit the header's 30 pixels; each page starts the text again.
    EXPECT_EQ(texts(report), (QStringList{"1 H1", "1 H2", "1 r1", "2 H1", "2 H2", "2 r2"}));
}

TEST_F(BandEvents, WordWrapBreaksAfterSpaces)
{
    add(*data, QStringLiteral("A"), QStringLiteral("x"), 1);
    auto* d = new TQRBand(&report, rbDetail);
    d->SetHeight(20);
    auto* text = new TQRLabel(d);
    text->SetWidth(40);
    text->SetHeight(20);
    text->SetAutoStretch(true);
    text->SetCaption(QStringLiteral("aaa bbb ccc"));
    EXPECT_EQ(text->LayoutLines(text->Caption()), (QStringList{"aaa ", "bbb ", "ccc"}));
    report.Prepare();
    EXPECT_EQ(textLayout(report), (QStringList{"1 aaa @0", "1 bbb @14", "1 ccc@28"}));
}

TEST_F(BandEvents, AggregatesStartOverPerGroup)
{
    rows(5, 2); // A: 1 2, B: 3 4, C: 5
    detailBand();
    auto* group = new TQRGroup(&report);
    group->SetExpression(QStringLiteral("Grp"));
    auto* footer = new TQRBand(&report, rbGroupFooter);
    footer->SetHeight(20);
    group->SetFooterBand(footer);
    auto* sum = expr(footer, QStringLiteral("Grp+' '+STR(SUM(Qty))+' '+STR(COUNT)"));
    sum->SetResetAfterPrint(true);
    auto* total = new TQRBand(&report, rbSummary);
    total->SetHeight(20);
    expr(total, QStringLiteral("'total '+STR(SUM(Qty))"));
    report.Prepare();
    EXPECT_EQ(texts(report), (QStringList{"1 r1", "1 r2", "1 A 3 2", "1 r3", "1 r4", "1 B 7 2", "1 r5", "1 C 5 1",
                                          "1 total 15"}));
}

TEST_F(BandEvents, AggregatesStartOverPerPage)
{
    rows(7);
    detailBand(300); // three rows a page
    auto* footer = new TQRBand(&report, rbPageFooter);
    footer->SetHeight(20);
    auto* sum = expr(footer, QStringLiteral("'page '+STR(SUM(Qty))"));
    sum->SetResetAfterPrint(true);
    report.Prepare();
    // The row that moves to the next page is counted there, not on the page it did not fit.
    EXPECT_EQ(texts(report), (QStringList{"1 r1", "1 r2", "1 r3", "1 page 6", "2 r4", "2 r5", "2 r6", "2 page 15",
                                          "3 r7", "3 page 7"}));
}

TEST_F(BandEvents, SubDetailAggregatesFollowTheirMaster)
{
    rows(2);
    detailBand();
    auto items = table(QStringLiteral("Items"));
    add(*items, QStringLiteral("x"), QStringLiteral("i1"), 10);
    add(*items, QStringLiteral("x"), QStringLiteral("i2"), 20);
    auto* sub = new TQRSubDetail(&report);
    sub->SetDataSet(items.get());
    sub->SetHeight(20);
    sub->Bands().SetHasFooter(true);
    sub->Bands().FooterBand()->SetHeight(20);
    auto* sum = expr(sub->Bands().FooterBand(), QStringLiteral("'items '+STR(SUM(Items.Qty))"));
    sum->SetMaster(sub);
    sum->SetResetAfterPrint(true);
    report.Prepare();
    EXPECT_EQ(texts(report), (QStringList{"1 r1", "1 items 30", "1 r2", "1 items 30"}));
}

TEST_F(BandEvents, ReportEventsAndPageNumber)
{
    rows(4);
    auto* d = detailBand(300);
    QList<int> pages;
    d->AfterPrint = [&](TQRCustomBand*, bool) { pages << report.PageNumber(); };
    int after = 0;
    report.AfterPrint = [&](QObject*) { ++after; };
    report.Prepare();
    EXPECT_EQ(pages, (QList<int>{1, 1, 1, 2}));
    EXPECT_EQ(after, 1);

    report.BeforePrint = [](TQuickRep*, bool& print) { print = false; };
    report.Prepare();
    EXPECT_EQ(report.QRPrinter()->PageCount(), 0);
    EXPECT_EQ(report.QRPrinter()->Status(), mpFinished);
}

TEST_F(BandEvents, HandlerThatRaisesEndsTheRunCleanly)
{
    rows(3);
    auto* d = detailBand();
    d->BeforePrint = [&](TQRCustomBand*, bool&) {
        if (name() == QLatin1String("r2"))
            throw Exception(QStringLiteral("坏了"));
    };
    EXPECT_THROW(report.Prepare(), Exception);
    EXPECT_FALSE(report.Running());
    EXPECT_EQ(report.QRPrinter()->Status(), mpFinished);
    d->BeforePrint = nullptr;
    report.Prepare();
    EXPECT_EQ(texts(report), (QStringList{"1 r1", "1 r2", "1 r3"}));
}

} // namespace
