// The templates a new database starts with: one "标准式" row each, readable, and printed from
// a fixture bill with the datasets the forms hand to the print window.
#include "ReportFixture.h"

#include "app/schema/ShippedTemplates.h"
#include "platform/db/QxMemTable.h"
#include "platform/report/PrintTarget.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QRStandardPreview.h"
#include "platform/template/TemplateDesignerWindow.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

using namespace qx::app::test;
using namespace tplt;

namespace {

class ShippedTemplateTest : public ReportDialogTest
{
protected:
    void SetUp() override
    {
        ReportDialogTest::SetUp();
        // One work order of 11 December 2026 with two repair items and three parts.
        exec(QStringLiteral(
                 "insert into t_ReceptionMst (BillNo, INtime, CName, Tel, Model, VIN, MainWorker, ClientEvent,"
                 " Receiver, TimesAmount, PartsAmount, TotalAmount, Received)"
                 " values (:b, :d, :c, :t, :m, :v, :w, :e, :r, :ta, :pa, :tot, :rec)"),
             {{QStringLiteral("b"), QStringLiteral("WX261211001")},
              {QStringLiteral("d"), QStringLiteral("2026-12-11")},
              {QStringLiteral("c"), QStringLiteral("张三")},
              {QStringLiteral("t"), QStringLiteral("13800000000")},
              {QStringLiteral("m"), QStringLiteral("iPhone 12")},
              {QStringLiteral("v"), QStringLiteral("356789012345678")},
              {QStringLiteral("w"), QStringLiteral("李工")},
              {QStringLiteral("e"), QStringLiteral("屏幕碎裂")},
              {QStringLiteral("r"), QStringLiteral("王五")},
              {QStringLiteral("ta"), 80},
              {QStringLiteral("pa"), 300},
              {QStringLiteral("tot"), 380},
              {QStringLiteral("rec"), 100}});
        const std::pair<const char*, int> items[] = {{"换屏", 50}, {"主板检测", 30}};
        for (const auto& [name, amount] : items) {
            exec(QStringLiteral("insert into t_ReceptionDlt (BillNo, SItemName, TimeAmount) values ('WX261211001', :n, :a)"),
                 {{QStringLiteral("n"), QString::fromUtf8(name)}, {QStringLiteral("a"), amount}});
        }
        const std::tuple<const char*, int, int> parts[] = {{"屏幕总成", 1, 250}, {"电池", 1, 45}, {"螺丝", 5, 1}};
        for (const auto& [name, qty, price] : parts) {
            exec(QStringLiteral("insert into t_ReceptionDlt2 (BillNo, ItemName, Qty, Price, Amount)"
                                " values ('WX261211001', :n, :q, :p, :a)"),
                 {{QStringLiteral("n"), QString::fromUtf8(name)},
                  {QStringLiteral("q"), qty},
                  {QStringLiteral("p"), price},
                  {QStringLiteral("a"), qty * price}});
        }
    }

    std::unique_ptr<TADOQuery> query(const QString& sql)
    {
        auto q = std::make_unique<TADOQuery>();
        q->SetConnection(module->ADOConnection);
        q->SQL().SetText(sql);
        q->Open();
        return q;
    }

    // Prints the class's first template with the datasets to a PDF file and previews it;
    // returns the preview's texts.
    QStringList printFirst(const QString& reportClass, TDataSet* master, TDataSet* detail1, const QString& shot = {})
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("print.pdf"));
        qx::report::ScopedPdfPrinting toPdf(pdf);
        QStringList texts;
        openDialog(reportClass, [&](TFrmAReportDlg& d) {
            dialogs().answerDialog(QDialog::Accepted); // the print dialog
            QTest::keyClick(d.DBGReport, Qt::Key_F10);
            dialogs().answerDialog([&](QDialog& preview) {
                auto* p = qobject_cast<TQRStandardPreview*>(&preview);
                ASSERT_NE(p, nullptr);
                texts = pageTexts(*p->QRPrinter()->ParentReport());
                // A picture of the preview for the closing note, when asked for.
                const QString folder = qEnvironmentVariable("QX_SHOT_DIR");
                if (!shot.isEmpty() && !folder.isEmpty()) {
                    preview.resize(900, 1000);
                    EXPECT_TRUE(preview.grab().save(QDir(folder).filePath(shot)));
                }
                preview.close();
            });
            QTest::keyClick(d.DBGReport, Qt::Key_F9);
        }, master, detail1);
        QFile file(pdf);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << reportClass.toStdString();
        EXPECT_TRUE(file.read(5).startsWith("%PDF"));
        return texts;
    }
};

bool hasLine(const QStringList& texts, const QString& part)
{
    for (const QString& t : texts) {
        if (t.contains(part))
            return true;
    }
    return false;
}

} // namespace

TEST_F(ShippedTemplateTest, ANewDatabaseHasOneStandardRowPerShippedTemplateThatReadsWhole)
{
    const QList<qx::app::ShippedTemplate> shipped = qx::app::shippedTemplates();
    ASSERT_GE(shipped.size(), 2);
    for (const qx::app::ShippedTemplate& t : shipped) {
        EXPECT_EQ(rowsOf(t.reportClass), QStringList{QStringLiteral("1|%1|标准式").arg(t.reportName)})
            << t.fileName.toStdString();
        const TemplateDocument doc = readTemplate(t.data);
        EXPECT_FALSE(doc.isEmpty()) << t.fileName.toStdString();
    }
    EXPECT_EQ(shipped.at(0).reportClass, QStringLiteral("维修结算单"));
    EXPECT_EQ(shipped.at(1).reportClass, QStringLiteral("工单录入"));
}

TEST_F(ShippedTemplateTest, TheWorkOrderPrintsTheHeadTheMergedLinesAndTheTotals)
{
    auto head = query(QStringLiteral("select * from t_ReceptionMst where BillNo = 'WX261211001'"));
    auto items = query(QStringLiteral("select * from t_ReceptionDlt where BillNo = 'WX261211001' order by ID"));
    auto parts = query(QStringLiteral("select * from t_ReceptionDlt2 where BillNo = 'WX261211001' order by ID"));
    TQxMemTable merged;
    ASSERT_TRUE(module->MergeSideBySide(items.get(), parts.get(), &merged));

    const QStringList texts = printFirst(QStringLiteral("维修结算单"), head.get(), &merged, QStringLiteral("workorder-print.png"));
    for (const char* part : {"维修结算单", "WX261211001", "2026-12-11", "张三", "iPhone 12", "356789012345678",
                             "屏幕碎裂", "工时费：80.00", "配件费：300.00", "合计：380.00", "经手人：王五"})
        EXPECT_TRUE(hasLine(texts, QString::fromUtf8(part))) << part << "\n" << texts.join(u'\n').toStdString();
    // Items and parts side by side, cell by cell (touching cells read as one run): row 3
    // holds a part only.
    const QStringList rows[] = {
        {QStringLiteral("1 换屏"), QStringLiteral("1 50.00屏幕总成"), QStringLiteral("1 1"), QStringLiteral("1 250.00"),
         QStringLiteral("1 250.00")},
        {QStringLiteral("1 主板检测"), QStringLiteral("1 30.00电池"), QStringLiteral("1 1"), QStringLiteral("1 45.00"),
         QStringLiteral("1 45.00")},
        {QStringLiteral("1 螺丝"), QStringLiteral("1 5"), QStringLiteral("1 1.00"), QStringLiteral("1 5.00")},
    };
    for (const QStringList& row : rows) {
        const qsizetype at = texts.indexOf(row.first());
        ASSERT_GE(at, 0) << row.first().toStdString();
        EXPECT_EQ(texts.mid(at, row.size()), row);
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("1 合计金额（大写）： 仟 佰 拾 万￥仟叁佰捌拾零元零角零分")))
        << texts.join(u'\n').toStdString();
}

TEST_F(ShippedTemplateTest, TheDayListPrintsTheListedBillsAndTheirSums)
{
    auto list = query(QStringLiteral("Select *, TotalAmount - Received - DecAmount as NoReceiv from t_ReceptionMst"));
    auto sums = query(QStringLiteral(
        "Select Count(*) as 台数, Sum(TimesAmount) as 工时费, sum(PartsAmount) as 配件费, Sum(TotalAmount) as 金额,"
        " sum(Received) as 已收, sum(TotalAmount - Received - DecAmount) as 挂账 from t_ReceptionMst"));
    const QStringList texts = printFirst(QStringLiteral("工单录入"), sums.get(), list.get());
    for (const char* part : {"工单录入", "WX261211001", "张三", "380.00", "280.00", "台数：", "挂账："})
        EXPECT_TRUE(hasLine(texts, QString::fromUtf8(part))) << part << "\n" << texts.join(u'\n').toStdString();
}

TEST_F(ShippedTemplateTest, TheDayListsTitleStandsAboveItsColumnHeads)
{
    auto list = query(QStringLiteral("Select *, TotalAmount - Received - DecAmount as NoReceiv from t_ReceptionMst"));
    auto sums = query(QStringLiteral(
        "Select Count(*) as 台数, Sum(TimesAmount) as 工时费, sum(PartsAmount) as 配件费, Sum(TotalAmount) as 金额,"
        " sum(Received) as 已收, sum(TotalAmount - Received - DecAmount) as 挂账 from t_ReceptionMst"));
    QStringList lines;
    openDialog(QStringLiteral("工单录入"), [&](TFrmAReportDlg& d) {
        dialogs().answerDialog([&](QDialog& preview) {
            auto* p = qobject_cast<TQRStandardPreview*>(&preview);
            ASSERT_NE(p, nullptr);
            lines = pageLines(*p->QRPrinter()->ParentReport());
            preview.close();
        });
        QTest::keyClick(d.DBGReport, Qt::Key_F9);
    }, sums.get(), list.get());
    // "page text@top": the first page's top of a whole text.
    const auto topOf = [&](const QString& text) {
        for (const QString& line : std::as_const(lines))
            if (line.section(u'@', 0, 0) == QStringLiteral("1 ") + text)
                return line.section(u'@', 1).toInt();
        return -1;
    };
    const int title = topOf(QStringLiteral("工单录入"));
    const int head = topOf(QStringLiteral("单号"));
    const int bill = topOf(QStringLiteral("WX261211001"));
    ASSERT_GE(title, 0) << lines.join(u'\n').toStdString();
    ASSERT_GE(head, 0) << lines.join(u'\n').toStdString();
    EXPECT_LT(title, head);
    EXPECT_LT(head, bill);
}

TEST_F(ShippedTemplateTest, TheWorkOrderOpensInTheDesignerWithTheBillsFields)
{
    auto head = query(QStringLiteral("select * from t_ReceptionMst"));
    auto items = query(QStringLiteral("select * from t_ReceptionDlt order by ID"));
    auto parts = query(QStringLiteral("select * from t_ReceptionDlt2 order by ID"));
    TQxMemTable merged;
    ASSERT_TRUE(module->MergeSideBySide(items.get(), parts.get(), &merged));
    const TemplateDocument shipped = readTemplate(qx::app::shippedTemplates().at(0).data);
    int fields = 0;
    openDialog(QStringLiteral("维修结算单"), [&](TFrmAReportDlg& d) {
        QTest::mouseClick(d.BtnDesginState, Qt::LeftButton);
        dialogs().answerDialog([&](QDialog& designer) {
            auto& w = static_cast<qx::tpl::TemplateDesignerWindow&>(designer);
            EXPECT_EQ(w.document(), shipped);
            fields = w.findChild<QListWidget*>(QStringLiteral("LstFields"))->count();
            const QString folder = qEnvironmentVariable("QX_SHOT_DIR");
            if (!folder.isEmpty()) {
                w.resize(1280, 860);
                EXPECT_TRUE(w.grab().save(QDir(folder).filePath(QStringLiteral("designer.png"))));
            }
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        QTest::mouseClick(d.BtnDesign, Qt::LeftButton);
    }, head.get(), &merged);
    // The head's columns and the merged lines' columns (the parts' under "O_").
    EXPECT_EQ(fields, head->Fields()->Count() + merged.Fields()->Count());
    // Leaving the designer with Esc stores the template as it was.
    TADOQuery q;
    q.SetConnection(module->ADOConnection);
    q.SQL().SetText(QStringLiteral("select * from tRctReport where ReportClass = '维修结算单'"));
    q.Open();
    EXPECT_EQ(readTemplate(q.FieldByName(QStringLiteral("ReportData"))->AsBytes()), shipped);
}
