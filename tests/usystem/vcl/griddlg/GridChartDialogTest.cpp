// The grid chart dialog: its lists from the grid's columns, way one (a series per numeric
// column over the records) and way two (one series comparing columns), its messages, the
// legend's shares, printing, and the window going when it closes.
#include <gtest/gtest.h>

#include "GridDlgTestSupport.h"
#include "platform/report/PrintTarget.h"
#include "tests/support/Widgets.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/griddlg/uQxdbgridChart.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFile>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPieSeries>
#include <QStackedWidget>
#include <QTemporaryDir>

namespace {

std::unique_ptr<TQxMemTable> chartSales()
{
    return makeSales({{"A", 1.5, 10}, {"B", 2.25, 20}, {"C", 3, 30}});
}

// Runs the chart dialog for the grid; act drives it while it shows.
void runChart(SalesGrid& g, std::function<void(TFrmdbGridChart&)> act)
{
    qx::test::script().answerDialog([act](QDialog& d) {
        auto* dlg = qobject_cast<TFrmdbGridChart*>(&d);
        ASSERT_NE(dlg, nullptr);
        act(*dlg);
        dlg->close();
    });
    ShowGridChart(g.grid);
}

bool onResult(TFrmdbGridChart& d)
{
    return d.Notebook->currentWidget() == d.Result;
}

} // namespace

TEST(GridChartDialog, ListsHoldTheVisibleColumnsAndTheirNumericOnes)
{
    SalesGrid g(chartSales());
    g.column(2)->SetVisible(false); // 数量
    runChart(g, [](TFrmdbGridChart& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("图形分析表"));
        EXPECT_EQ(d.Notebook->currentWidget(), d.Setting);
        EXPECT_EQ(entriesOf(d.lbx1X), (QStringList{QStringLiteral("编号"), QStringLiteral("单价"),
                                                    QStringLiteral("备注")}));
        EXPECT_EQ(entriesOf(d.lbx1Y), QStringList{QStringLiteral("单价")});
        EXPECT_EQ(entriesOf(d.lbxCurr), QStringList{QStringLiteral("单价")});
        EXPECT_EQ(d.lbx1Y->SelCount() + d.lbxCurr->SelCount(), 0);
        EXPECT_EQ(checksOf(d.lbx1Y), QList<bool>{false});
    });
}

TEST(GridChartDialog, WayOneMakesASeriesPerCheckedColumnOverTheRecords)
{
    struct Case
    {
        const char* kind;
        QList<int> checked; // entries of the Y list
        TGridChartKind made;
        int chartSeries; // series on the chart itself (bars stand in one group)
    };
    const Case cases[] = {
        {"柱形", {0}, TGridChartKind::Bar, 1},
        {"线形", {0, 1}, TGridChartKind::Line, 2},
        {"饼形", {1}, TGridChartKind::Pie, 1},
        {"柱形", {0, 1}, TGridChartKind::Bar, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        SalesGrid g(chartSales());
        g.table->SetRecNo(2);
        runChart(g, [&](TFrmdbGridChart& d) {
            clickEntry(d.lbx1X, 0); // 编号
            for (int i : c.checked)
                clickCheck(d.lbx1Y, i);
            typeInto(d.cbxGType1, QString::fromUtf8(c.kind));
            QTest::mouseClick(d.BtnOK1, Qt::LeftButton);
            EXPECT_TRUE(onResult(d));
            ASSERT_EQ(d.Series().size(), c.checked.size());
            const QList<QList<double>> values{{1.5, 2.25, 3}, {10, 20, 30}};
            const QStringList titles{QStringLiteral("单价"), QStringLiteral("数量")};
            for (int s = 0; s < c.checked.size(); ++s) {
                const TGridChartSeries& series = d.Series()[s];
                EXPECT_EQ(series.Kind, c.made);
                EXPECT_EQ(series.Title, titles[c.checked[s]]);
                EXPECT_EQ(series.Labels, (QStringList{"A", "B", "C"}));
                EXPECT_EQ(series.Values, values[c.checked[s]]);
            }
            EXPECT_EQ(d.Chart()->series().size(), c.chartSeries);
        });
        // The records were read without moving the grid off its record.
        EXPECT_EQ(g.table->RecNo(), 2);
        EXPECT_FALSE(g.table->ControlsDisabled());
        EXPECT_TRUE(qx::ScriptedDialogService::current()->messages().isEmpty());
    }
}

TEST(GridChartDialog, WayOneCountsANullValueAsZero)
{
    SalesGrid g(makeSales({{"A", -1, 1}, {"B", 4, 2}}));
    runChart(g, [](TFrmdbGridChart& d) {
        clickEntry(d.lbx1X, 0);
        clickCheck(d.lbx1Y, 0);
        QTest::mouseClick(d.BtnOK1, Qt::LeftButton);
        ASSERT_EQ(d.Series().size(), 1);
        EXPECT_EQ(d.Series()[0].Values, (QList<double>{0, 4}));
    });
}

TEST(GridChartDialog, WayOneMessagesAndAnUnknownKind)
{
    struct Case
    {
        const char* what;
        bool chooseX;
        bool checkY;
        const char* kind;
        QStringList messages;
        bool result;
    };
    const Case cases[] = {
        {"no X", false, true, "柱形", {QStringLiteral("请设置X坐标字段")}, false},
        {"no Y", true, false, "柱形", {QStringLiteral("请设置Y坐标字段")}, true},
        // An unknown kind ends the work quietly on an empty result page.
        {"unknown kind", true, true, "饼", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SalesGrid g(chartSales());
        auto& script = qx::test::script();
        script.answerDialog([&](QDialog& dlg) {
            auto& d = static_cast<TFrmdbGridChart&>(dlg);
            if (c.chooseX)
                clickEntry(d.lbx1X, 1);
            if (c.checkY)
                clickCheck(d.lbx1Y, 0);
            typeInto(d.cbxGType1, QString::fromUtf8(c.kind));
            for (int i = 0; i < c.messages.size(); ++i)
                script.answerMessage(qx::mrOk);
            QTest::mouseClick(d.BtnOK1, Qt::LeftButton);
            EXPECT_EQ(onResult(d), c.result);
            EXPECT_TRUE(d.Series().isEmpty());
            d.close();
        });
        ShowGridChart(g.grid);
        EXPECT_EQ(script.messages(), c.messages);
        EXPECT_EQ(script.unexpected(), 0);
    }
}

TEST(GridChartDialog, WayTwoComparesColumnsAndLeavesTheDataSetWhereItsChoiceEnds)
{
    struct Case
    {
        const char* data;
        QList<double> values; // 单价, 数量
        int recNo;            // where the grid stands afterwards
    };
    // A sum runs to the end of the data: the grid is left on the last record.
    const Case cases[] = {
        {"最后一行", {3, 30}, 3},
        {"当前行", {2.25, 20}, 2},
        {"合计", {6.75, 60}, 3},
        {"头一行", {0, 0}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        SalesGrid g(chartSales());
        g.table->SetRecNo(2);
        runChart(g, [&](TFrmdbGridChart& d) {
            clickCheck(d.lbxCurr, 0);
            clickCheck(d.lbxCurr, 1);
            typeInto(d.cbxData, QString::fromUtf8(c.data));
            typeInto(d.cbxGType, QStringLiteral("柱形"));
            QTest::mouseClick(d.BtnOK2, Qt::LeftButton);
            EXPECT_TRUE(onResult(d));
            ASSERT_EQ(d.Series().size(), 1);
            EXPECT_EQ(d.Series()[0].Kind, TGridChartKind::Bar);
            EXPECT_EQ(d.Series()[0].Labels, (QStringList{QStringLiteral("单价"), QStringLiteral("数量")}));
            EXPECT_EQ(d.Series()[0].Values, c.values);
        });
        EXPECT_EQ(g.table->RecNo(), c.recNo);
        EXPECT_FALSE(g.table->ControlsDisabled());
    }
}

TEST(GridChartDialog, WayTwoMessagesAndAnUnknownKind)
{
    struct Case
    {
        const char* what;
        bool select;
        const char* kind;
        QStringList messages;
    };
    const Case cases[] = {
        {"nothing selected", false, "饼形", {QStringLiteral("请选择比较字段")}},
        {"unknown kind", true, "饼", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SalesGrid g(chartSales());
        auto& script = qx::test::script();
        script.answerDialog([&](QDialog& dlg) {
            auto& d = static_cast<TFrmdbGridChart&>(dlg);
            if (c.select)
                clickCheck(d.lbxCurr, 0);
            else
                d.lbxCurr->SetChecked(0, true);
            typeInto(d.cbxGType, QString::fromUtf8(c.kind));
            for (int i = 0; i < c.messages.size(); ++i)
                script.answerMessage(qx::mrOk);
            QTest::mouseClick(d.BtnOK2, Qt::LeftButton);
            EXPECT_FALSE(onResult(d));
            EXPECT_TRUE(d.Series().isEmpty());
            d.close();
        });
        ShowGridChart(g.grid);
        EXPECT_EQ(script.messages(), c.messages);
        EXPECT_EQ(script.unexpected(), 0);
    }
}

TEST(GridChartDialog, APieLegendShowsEachShareAtTheRight)
{
    SalesGrid g(makeSales({{"A", 1, 1}, {"B", 3, 3}}));
    runChart(g, [](TFrmdbGridChart& d) {
        clickEntry(d.lbx1X, 0);
        clickCheck(d.lbx1Y, 0);
        typeInto(d.cbxGType1, QStringLiteral("饼形"));
        QTest::mouseClick(d.BtnOK1, Qt::LeftButton);
        ASSERT_EQ(d.Chart()->series().size(), 1);
        auto* pie = qobject_cast<QPieSeries*>(d.Chart()->series()[0]);
        ASSERT_NE(pie, nullptr);
        QStringList labels;
        for (QLegendMarker* m : d.Chart()->legend()->markers(pie))
            labels << m->label();
        EXPECT_EQ(labels, (QStringList{QStringLiteral("A  25 %"), QStringLiteral("B  75 %")}));
        EXPECT_EQ(d.Chart()->legend()->alignment(), Qt::AlignRight);
    });
}

TEST(GridChartDialog, PrintWritesTheChartToTheDefaultPrinter)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    const qx::report::ScopedPdfPrinting toPdf(pdf);
    SalesGrid g(chartSales());
    runChart(g, [](TFrmdbGridChart& d) {
        clickEntry(d.lbx1X, 0);
        clickCheck(d.lbx1Y, 0);
        QTest::mouseClick(d.BtnOK1, Qt::LeftButton);
        QTest::mouseClick(d.BtnPrint, Qt::LeftButton);
    });
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF-"));
    EXPECT_GT(file.size(), 1000);
}

TEST(GridChartDialog, BackToTheSettingsAndCloseFreesTheWindow)
{
    SalesGrid g(chartSales());
    QPointer<TFrmdbGridChart> shown;
    qx::test::script().answerDialog([&](QDialog& dlg) {
        auto& d = static_cast<TFrmdbGridChart&>(dlg);
        shown = &d;
        clickEntry(d.lbx1X, 0);
        clickCheck(d.lbx1Y, 0);
        QTest::mouseClick(d.BtnOK1, Qt::LeftButton);
        ASSERT_TRUE(onResult(d));
        QTest::mouseClick(d.SpeedButton1, Qt::LeftButton);
        EXPECT_FALSE(onResult(d));
        QTest::mouseClick(d.BtnOK1, Qt::LeftButton);
        QTest::mouseClick(d.BtnClose, Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    });
    ShowGridChart(g.grid);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->parent(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
    EXPECT_TRUE(FrmdbGridChart.isNull());
}
