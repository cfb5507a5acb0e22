// Templates rendered on the report engine: a master with two details, a group and sums on
// recorded layouts, a slot left empty, missing datasets and fields, bad expressions, and the
// function library reaching templates.
#include "TemplateFixture.h"

#include "platform/report/QRFunctions.h"
#include "platform/template/TemplateFormat.h"
#include "platform/template/TemplateRenderer.h"
#include "platform/template/TemplateReport.h"

#include <gtest/gtest.h>

#include <QDialog>

using namespace tplt;


class Rendering : public ::testing::Test
{
protected:
    Rendering()
        : master(orders()),
          items(lines(QStringLiteral("Name"), {{QStringLiteral("屏幕"), 1}, {QStringLiteral("电池"), 2}})),
          parts(lines(QStringLiteral("Part"), {{QStringLiteral("螺丝"), 5}}))
    {
        masterSource.SetDataSet(master.get());
        itemSource.SetDataSet(items.get());
        partSource.SetDataSet(parts.get());
        offer(QStringLiteral("Mstdataset"), &masterSource);
        offer(QStringLiteral("DltDataset1"), &itemSource);
        offer(QStringLiteral("DltDataset2"), &partSource);
    }

    void offer(const QString& name, TDataSource* source)
    {
        auto* adapter = new TemplateDataSet(&form);
        adapter->setObjectName(name);
        adapter->SetDataSource(source);
    }

    // The texts of the pages, "page text".
    QStringList render(const TemplateDocument& doc)
    {
        report->Document() = doc;
        EXPECT_TRUE(report->PrepareReport());
        return pageTexts(*report->Report());
    }

    QString failure(const TemplateDocument& doc)
    {
        report->Document() = doc;
        try {
            report->PrepareReport();
        } catch (const ETemplateError& e) {
            EXPECT_EQ(report->Report(), nullptr);
            return e.Message();
        }
        return QStringLiteral("(rendered)");
    }

    std::unique_ptr<TQxMemTable> master, items, parts;
    TDataSource masterSource, itemSource, partSource, emptySource;
    QObject form;
    TemplateReport* report = new TemplateReport(&form);
};

static TemplateDocument twoDetailsGroupedWithSums()
{
    TemplateBand groupHeader = band(BandKind::GroupHeader, {text(QStringLiteral("组 [Mstdataset.Grp]"))},
                                    QStringLiteral("mstDATASET"));
    groupHeader.group = QStringLiteral("g");
    groupHeader.expression = QStringLiteral("Mstdataset.Grp");
    TemplateBand groupFooter = band(BandKind::GroupFooter, {text(QStringLiteral("组计 [COUNT] 单 [SUM(Mstdataset.Amount)]"))});
    groupFooter.group = QStringLiteral("g");
    groupFooter.objects[0].format = QStringLiteral("0.00");
    TemplateObject amount = field(QStringLiteral("MSTDATASET"), QStringLiteral("amount"), 800);
    amount.format = QStringLiteral("#,##0.00");
    TemplateDocument doc;
    doc.bands = {
        band(BandKind::PageHeader, {text(QStringLiteral("页眉"))}),
        band(BandKind::Title, {text(QStringLiteral("维修单汇总"))}),
        groupHeader,
        band(BandKind::Master,
             {field(QStringLiteral("Mstdataset"), QStringLiteral("BillNo")), text(QStringLiteral("[Customer]"), 400), amount},
             QStringLiteral("Mstdataset")),
        band(BandKind::DetailHeader, {text(QStringLiteral("项目"))}, QStringLiteral("DltDataset1")),
        band(BandKind::Detail,
             {field(QStringLiteral("DltDataset1"), QStringLiteral("Name")), field(QStringLiteral("DltDataset1"), QStringLiteral("Qty"), 400)},
             QStringLiteral("DltDataset1")),
        band(BandKind::DetailFooter, {text(QStringLiteral("小计 [SUM(DltDataset1.Qty)]"))}, QStringLiteral("DltDataset1")),
        band(BandKind::Detail, {field(QStringLiteral("DltDataset2"), QStringLiteral("Part"))}, QStringLiteral("DltDataset2")),
        groupFooter,
        band(BandKind::Summary, {text(QStringLiteral("合计 [SUM(DltDataset2.Qty)] 个零件"))}),
        band(BandKind::Child, {text(QStringLiteral("完"))}),
        band(BandKind::PageFooter, {text(QStringLiteral("页脚"))}),
    };
    return doc;
}


TEST_F(Rendering, MasterWithTwoDetailsGroupsAndSums)
{
    const QStringList expected = {
        QStringLiteral("1 页眉"), QStringLiteral("1 维修单汇总"), QStringLiteral("1 组 A"),
        QStringLiteral("1 WX1"), QStringLiteral("1 张三"), QStringLiteral("1 1,234.50"),
        QStringLiteral("1 项目"), QStringLiteral("1 屏幕"), QStringLiteral("1 1"), QStringLiteral("1 电池"), QStringLiteral("1 2"),
        QStringLiteral("1 小计 3"), QStringLiteral("1 螺丝"),
        QStringLiteral("1 WX2"), QStringLiteral("1 李四"), QStringLiteral("1 20.00"),
        QStringLiteral("1 项目"), QStringLiteral("1 屏幕"), QStringLiteral("1 1"), QStringLiteral("1 电池"), QStringLiteral("1 2"),
        QStringLiteral("1 小计 3"), QStringLiteral("1 螺丝"),
        QStringLiteral("1 组计 2.00 单 1254.50"),
        QStringLiteral("1 组 B"),
        QStringLiteral("1 WX3"), QStringLiteral("1 王五"), QStringLiteral("1 0.25"),
        QStringLiteral("1 项目"), QStringLiteral("1 屏幕"), QStringLiteral("1 1"), QStringLiteral("1 电池"), QStringLiteral("1 2"),
        QStringLiteral("1 小计 3"), QStringLiteral("1 螺丝"),
        QStringLiteral("1 组计 1.00 单 0.25"),
        QStringLiteral("1 合计 15 个零件"), QStringLiteral("1 完"), QStringLiteral("1 页脚"),
    };
    EXPECT_EQ(render(twoDetailsGroupedWithSums()), expected);
    EXPECT_EQ(report->PageCount(), 1);

    // Bands stand one under the other at their heights (50 = about 19 pixels each), from the
    // top margin; the page footer sits at the bottom of the page.
    const QStringList layout = pageLines(*report->Report());
    EXPECT_EQ(layout.value(0), QStringLiteral("1 页眉@0"));
    EXPECT_EQ(layout.value(1), QStringLiteral("1 维修单汇总@19"));
    EXPECT_EQ(layout.value(2), QStringLiteral("1 组 A@38"));
    EXPECT_EQ(layout.value(3), QStringLiteral("1 WX1@57"));
    EXPECT_EQ(layout.last(), QStringLiteral("1 页脚@1028"));
}

TEST_F(Rendering, PageSettingsAndBreaksFollowTheTemplate)
{
    TemplateDocument doc;
    doc.page.paper = A5;
    doc.page.orientation = Orientation::Landscape;
    doc.page.width = 2100;
    doc.page.length = 1480;
    doc.page.topMargin = 200;
    doc.bands = {band(BandKind::Master, {field(QStringLiteral("Mstdataset"), QStringLiteral("BillNo"))},
                      QStringLiteral("Mstdataset"), 500)};
    EXPECT_EQ(render(doc), (QStringList{QStringLiteral("1 WX1"), QStringLiteral("1 WX2"), QStringLiteral("2 WX3")}));
    const TQRPage& page = report->Report()->Page();
    EXPECT_EQ(page.PaperSize(), A5);
    EXPECT_EQ(page.Orientation(), poLandscape);
    EXPECT_DOUBLE_EQ(page.LengthUnits(), 1480);
    EXPECT_DOUBLE_EQ(page.TopMarginUnits(), 200);
}

TEST_F(Rendering, AnEmptySlotIsLeftOut)
{
    // The second detail's adapter has a source without a dataset: a template that does not
    // use it prints, one that does names it.
    partSource.SetDataSet(nullptr);
    TemplateDocument uses1;
    uses1.bands = {band(BandKind::Detail, {field(QStringLiteral("DltDataset1"), QStringLiteral("Name"))}, QStringLiteral("DltDataset1"))};
    EXPECT_EQ(render(uses1), (QStringList{QStringLiteral("1 屏幕"), QStringLiteral("1 电池")}));
    EXPECT_EQ(report->OfferedDataSets().size(), 2);

    TemplateDocument uses2;
    uses2.bands = {band(BandKind::Detail, {field(QStringLiteral("DltDataset2"), QStringLiteral("Part"))}, QStringLiteral("DltDataset2"))};
    EXPECT_EQ(failure(uses2), QStringLiteral("报表模板所用的数据集“DltDataset2”不存在"));
}

TEST_F(Rendering, MissingDataSetsFieldsAndBadTemplatesAreNamed)
{
    auto masterWith = [](TemplateObject o) {
        TemplateDocument doc;
        doc.bands = {band(BandKind::Master, {o}, QStringLiteral("Mstdataset"))};
        return doc;
    };
    auto withBands = [](QList<TemplateBand> bands) {
        TemplateDocument doc;
        doc.bands = std::move(bands);
        return doc;
    };
    TemplateBand lonelyFooter = band(BandKind::GroupFooter, {});
    lonelyFooter.group = QStringLiteral("x");
    const struct
    {
        TemplateDocument doc;
        QString message;
    } cases[] = {
        {withBands({band(BandKind::Master, {}, QStringLiteral("DltDataset4"))}), QStringLiteral("报表模板所用的数据集“DltDataset4”不存在")},
        {masterWith(field(QStringLiteral("DltDataset3"), QStringLiteral("Name"))), QStringLiteral("报表模板所用的数据集“DltDataset3”不存在")},
        {masterWith(field(QStringLiteral("Mstdataset"), QStringLiteral("Price"))), QStringLiteral("数据集“Mstdataset”中没有字段“Price”")},
        {masterWith(text(QStringLiteral("[DltDataset1.Price]"))), QStringLiteral("数据集“DltDataset1”中没有字段“Price”")},
        {masterWith(text(QStringLiteral("[DltDataset9.Name]"))), QStringLiteral("报表模板所用的数据集“DltDataset9”不存在")},
        {masterWith(text(QStringLiteral("总价 [Price * 2]"))), QStringLiteral("报表模板所用的字段“Price”不存在")},
        {masterWith(text(QStringLiteral("[Qty +]"))), QStringLiteral("报表模板的表达式“Qty +”有错：表达式错误: 缺少操作数 (第6个字符)")},
        {masterWith(text(QStringLiteral("合计 [Qty"))), QStringLiteral("文字“合计 [Qty”的第4个字符处的“[”缺少“]”")},
        {withBands({band(BandKind::Master, {}, QStringLiteral("Mstdataset")), band(BandKind::Master, {}, QStringLiteral("Mstdataset"))}),
         QStringLiteral("报表模板的第2个带（主数据带）重复：模板只能有一个主数据带")},
        {withBands({band(BandKind::DetailFooter, {}, QStringLiteral("DltDataset1"))}),
         QStringLiteral("报表模板的第1个带（明细尾带）的数据集“DltDataset1”没有明细数据带")},
        {withBands({lonelyFooter}), QStringLiteral("报表模板的第1个带（组尾带）的分组“x”没有组头带")},
        {withBands({band(BandKind::Child, {})}), QStringLiteral("报表模板的第1个带（子带）前面没有它所跟随的带")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(failure(c.doc), c.message);
}

namespace {

// A function registered with the engine's library, as the report functions of the library
// are: the number of characters of its argument, in Chinese.
class CharCountFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        return TQREvResult::String(QStringLiteral("%1字").arg(Argument(0).AsText().size()));
    }
};

} // namespace

TEST_F(Rendering, ExpressionsUseTheFunctionLibrary)
{
    RegisterQRFunction<CharCountFunction>(QStringLiteral("TPLCHARCOUNT"), QStringLiteral("TPLCHARCOUNT(<S>)|字数"),
                                          QStringLiteral("test"), QStringLiteral("7S"));
    TemplateDocument doc;
    doc.bands = {band(BandKind::Master,
                      {text(QStringLiteral("[UPPER(Mstdataset.BillNo)]-[tplcharcount(Customer)]")),
                       text(QStringLiteral("[IF(Amount > 100, '大额', '小额')] [FORMATNUMERIC('0.0', Amount)]"), 700)},
                      QStringLiteral("Mstdataset"))};
    master->Last();
    EXPECT_EQ(render(doc), (QStringList{QStringLiteral("1 WX1-2字"), QStringLiteral("1 大额 1234.5"),
                                        QStringLiteral("1 WX2-2字"), QStringLiteral("1 小额 20.0"),
                                        QStringLiteral("1 WX3-2字"), QStringLiteral("1 小额 0.3")}));
}
