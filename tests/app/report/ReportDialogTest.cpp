// The print window: the list of a class's templates, the editing buttons, the delete
// question, designing, previewing and printing with the caller's datasets, engine errors, and
// the engine objects freed with the window.
#include "ReportFixture.h"

#include "app/shell/uABase.h"
#include "platform/report/PrintTarget.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QRStandardPreview.h"
#include "platform/template/TemplateDesignerWindow.h"
#include "tests/support/Widgets.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QToolButton>

using namespace qx::app::test;
using namespace tplt;

namespace {

const QString kClass = QStringLiteral("测试单");

QByteArray billTemplate(const QString& dataSet, const QString& fieldName)
{
    TemplateDocument doc;
    doc.bands = {band(BandKind::Master, {field(QStringLiteral("Mstdataset"), QStringLiteral("BillNo"))},
                      QStringLiteral("Mstdataset")),
                 band(BandKind::Detail, {field(dataSet, fieldName)}, dataSet)};
    return writeTemplate(doc);
}

// The texts of the preview the next modal dialog shows; the preview is closed.
void capturePreview(QStringList& texts)
{
    dialogs().answerDialog([&texts](QDialog& d) {
        auto* preview = qobject_cast<TQRStandardPreview*>(&d);
        ASSERT_NE(preview, nullptr);
        texts = pageTexts(*preview->QRPrinter()->ParentReport());
        d.close();
    });
}

} // namespace

TEST_F(ReportDialogTest, AClassWithoutTemplatesShowsAnEmptyListThatNeitherPrintsNorPreviews)
{
    int rows = -1;
    openDialog(kClass, [&rows](TFrmAReportDlg& d) {
        EXPECT_EQ(d.Caption(), QStringLiteral("打印窗体"));
        rows = d.TblReport->RecordCount();
        click(d.BtnPreview);
        click(d.BtnPrint);
        QTest::keyClick(d.DBGReport, Qt::Key_F9);
        QTest::keyClick(d.DBGReport, Qt::Key_F10);
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(dialogs().shown().size(), 1); // the window alone
}

TEST_F(ReportDialogTest, EditingButtonsWaitForEditAndNewRowsNumberOn)
{
    for (int i = 1; i <= 3; ++i)
        addTemplate(kClass, i, QStringLiteral("T%1").arg(i), TFrmAReportDlg::StandardType(), {});
    addTemplate(QStringLiteral("别的单"), 9, QStringLiteral("X"), TFrmAReportDlg::StandardType(), {});
    openDialog(kClass, [](TFrmAReportDlg& d) {
        for (QToolButton* b : {d.SbnAdd, d.SptModify, d.SptDelete, d.BtnDesign})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_EQ(d.SbnAdd->toolTip(), QStringLiteral("增加报表"));
        click(d.BtnDesginState);
        for (QToolButton* b : {d.SbnAdd, d.SptModify, d.SptDelete, d.BtnDesign})
            EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        for (const char* name : {"N4", "N5"}) {
            click(d.SbnAdd);
            EXPECT_EQ(d.focusWidget(), d.DBGReport);
            QTest::keyClick(d.DBGReport, Qt::Key_Right);
            QTest::keyClicks(d.DBGReport, QLatin1String(name));
            QTest::keyClick(d.DBGReport, Qt::Key_Return);
        }
        QTest::keyClick(d.DBGReport, Qt::Key_Up); // leaving the row posts it
    });
    EXPECT_EQ(rowsOf(kClass), (QStringList{QStringLiteral("1|T1|标准式"), QStringLiteral("2|T2|标准式"),
                                           QStringLiteral("3|T3|标准式"), QStringLiteral("4|N4|标准式"),
                                           QStringLiteral("5|N5|标准式")}));
}

TEST_F(ReportDialogTest, DeleteAsksAndOnlyYesDeletes)
{
    const struct
    {
        int answer;
        QStringList left;
    } cases[] = {
        {qx::mrNo, {QStringLiteral("1|A|标准式"), QStringLiteral("2|B|标准式")}},
        {qx::mrYes, {QStringLiteral("2|B|标准式")}},
    };
    addTemplate(kClass, 1, QStringLiteral("A"), TFrmAReportDlg::StandardType(), {});
    addTemplate(kClass, 2, QStringLiteral("B"), TFrmAReportDlg::StandardType(), {});
    for (const auto& c : cases) {
        dialogs().clear();
        openDialog(kClass, [&c](TFrmAReportDlg& d) {
            click(d.BtnDesginState);
            dialogs().answerMessage(c.answer);
            click(d.SptDelete);
        });
        EXPECT_EQ(rowsOf(kClass), c.left) << c.answer;
        ASSERT_EQ(dialogs().shown().size(), 2);
        const qx::ShownDialog& question = dialogs().shown().at(1);
        EXPECT_EQ(question.text, QStringLiteral("是否要删除该报表？"));
        EXPECT_EQ(question.caption, QStringLiteral("操作提示"));
        EXPECT_EQ(question.buttons, (QList<int>{qx::mrYes, qx::mrNo}));
    }
}

TEST_F(ReportDialogTest, AnEmptyTemplateDesignedOnANewRowIsStoredAndPrints)
{
    auto bills = orders();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    qx::report::ScopedPdfPrinting toPdf(pdf);
    QStringList printed;
    openDialog(kClass, [&](TFrmAReportDlg& d) {
        click(d.BtnDesginState);
        click(d.SbnAdd);
        dialogs().answerDialog([](QDialog& designer) {
            auto& w = static_cast<qx::tpl::TemplateDesignerWindow&>(designer);
            EXPECT_TRUE(w.document().bands.isEmpty()); // an empty page
            auto* kind = w.findChild<QComboBox*>(QStringLiteral("CmbBandKind"));
            kind->setCurrentIndex(kind->findData(int(BandKind::Master)));
            QTest::mouseClick(w.findChild<QAbstractButton*>(QStringLiteral("BtnAddBand")), Qt::LeftButton);
            auto* list = w.findChild<QListWidget*>(QStringLiteral("LstFields"));
            qx::test::doubleClick(list->viewport(), list->visualItemRect(list->item(0)).center());
            QTest::mouseClick(w.findChild<QAbstractButton*>(QStringLiteral("BtnOk")), Qt::LeftButton);
        });
        click(d.BtnDesign);
        dialogs().answerDialog(QDialog::Accepted); // the print dialog
        click(d.BtnPrint);
        ASSERT_NE(d.Report(), nullptr);
        ASSERT_NE(d.Report()->Report(), nullptr);
        printed = pageTexts(*d.Report()->Report());
    }, bills.get());
    EXPECT_EQ(printed, (QStringList{QStringLiteral("1 WX1"), QStringLiteral("1 WX2"), QStringLiteral("1 WX3")}));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));

    // The stored template reads back as designed.
    TADOQuery q;
    q.SetConnection(module->ADOConnection);
    q.SQL().SetText(QStringLiteral("select * from tRctReport where ReportClass = :c"));
    q.ParamByName(QStringLiteral("c"))->setValue(kClass);
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("ReportType"))->AsString(), QStringLiteral("标准式"));
    const TemplateDocument stored = readTemplate(q.FieldByName(QStringLiteral("ReportData"))->AsBytes());
    ASSERT_EQ(stored.bands.size(), 1);
    EXPECT_EQ(stored.bands.at(0).objects.at(0).field, QStringLiteral("BillNo"));
}

TEST_F(ReportDialogTest, TheSecondDetailReachesATemplateOnlyWhenTheCallerGivesIt)
{
    addTemplate(kClass, 1, QStringLiteral("二明细"), TFrmAReportDlg::StandardType(),
                billTemplate(QStringLiteral("DltDataset2"), QStringLiteral("ItemName")));
    auto bill = orders();
    auto items = lines(QStringLiteral("SItemName"), {{QStringLiteral("换屏"), 1}});
    auto parts = lines(QStringLiteral("ItemName"), {{QStringLiteral("电池"), 1}, {QStringLiteral("螺丝"), 4}});

    QStringList texts;
    openDialog(kClass, [&texts](TFrmAReportDlg& d) {
        capturePreview(texts);
        QTest::keyClick(d.DBGReport, Qt::Key_F9);
    }, bill.get(), items.get(), parts.get());
    EXPECT_TRUE(texts.contains(QStringLiteral("1 电池")));
    EXPECT_TRUE(texts.contains(QStringLiteral("1 螺丝")));

    // Without a second detail the template finds no dataset of that name: the error box,
    // and the window stays.
    dialogs().clear();
    bool open = false;
    openDialog(kClass, [&open](TFrmAReportDlg& d) {
        dialogs().answerMessage(qx::mrOk);
        click(d.BtnPreview);
        open = d.isVisible();
    }, bill.get(), items.get(), nullptr);
    EXPECT_TRUE(open);
    ASSERT_EQ(dialogs().messages().size(), 1);
    EXPECT_TRUE(dialogs().messages().at(0).contains(QStringLiteral("DltDataset2"))) << dialogs().messages().at(0).toStdString();
}

TEST_F(ReportDialogTest, AnEngineErrorIsShownAndTheWindowStaysOpen)
{
    addTemplate(kClass, 1, QStringLiteral("坏字段"), TFrmAReportDlg::StandardType(),
                billTemplate(QStringLiteral("Mstdataset"), QStringLiteral("NoSuchField")));
    auto bill = orders();
    bool open = false;
    openDialog(kClass, [&open](TFrmAReportDlg& d) {
        dialogs().answerMessage(qx::mrOk);
        click(d.BtnPrint);
        open = d.isVisible();
    }, bill.get());
    EXPECT_TRUE(open);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("数据集“Mstdataset”中没有字段“NoSuchField”")});
}

// A stored template that is damaged (cut short by a crash, overwritten with foreign bytes, from
// a newer build): preview, print and design each say so in a message, nothing is printed or
// designed, the window stays open and the stored bytes stay as they were.
TEST_F(ReportDialogTest, ADamagedStoredTemplateIsRefusedAndKeptAsItIs)
{
    const QByteArray whole = billTemplate(QStringLiteral("Mstdataset"), QStringLiteral("BillNo"));
    QByteArray newer = whole;
    newer.replace("\"version\": 1", "\"version\": 99");
    ASSERT_NE(newer, whole);
    const struct
    {
        const char* name;
        QByteArray data;
        const char* message;
    } cases[] = {
        {"cut short", whole.left(whole.size() / 2), "报表模板"},
        {"foreign bytes", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xff\xff\xff", 20), "不是本系统的报表模板"},
        {"a newer build's", newer, "报表模板的格式版本 99 比本程序新，无法读取"},
    };
    auto bill = orders();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("delete from tRctReport where ReportClass = :c"), {{QStringLiteral("c"), kClass}});
        addTemplate(kClass, 1, QStringLiteral("损坏"), TFrmAReportDlg::StandardType(), c.data);
        dialogs().clear();
        bool open = false;
        openDialog(kClass, [&open](TFrmAReportDlg& d) {
            for (QAbstractButton* button : {static_cast<QAbstractButton*>(d.BtnPreview), static_cast<QAbstractButton*>(d.BtnPrint)}) {
                dialogs().answerMessage(qx::mrOk);
                click(button);
            }
            click(d.BtnDesginState);
            dialogs().answerMessage(qx::mrOk);
            click(d.BtnDesign);
            open = d.isVisible();
        }, bill.get());
        EXPECT_TRUE(open);
        const QStringList messages = dialogs().messages();
        ASSERT_EQ(messages.size(), 3) << messages.join(u'|').toStdString();
        for (const QString& m : messages)
            EXPECT_TRUE(m.contains(QString::fromUtf8(c.message))) << m.toStdString();
        EXPECT_EQ(dialogs().shown().size(), 4); // the window and the three messages
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(QStringLiteral("select * from tRctReport where ReportClass = :c"));
        q.ParamByName(QStringLiteral("c"))->setValue(kClass);
        q.Open();
        ASSERT_EQ(q.RecordCount(), 1);
        EXPECT_EQ(q.FieldByName(QStringLiteral("ReportData"))->AsBytes(), c.data);
    }
}

TEST_F(ReportDialogTest, SlipRowsCanBeChosenButNeitherDesignNorPrint)
{
    addTemplate(kClass, 1, QStringLiteral("小票"), TFrmAReportDlg::SlipType(),
                billTemplate(QStringLiteral("Mstdataset"), QStringLiteral("BillNo")));
    auto bill = orders();
    openDialog(kClass, [](TFrmAReportDlg& d) {
        click(d.BtnDesginState);
        for (QToolButton* b : {d.BtnDesign, d.BtnPreview, d.BtnPrint})
            click(b);
        EXPECT_EQ(d.Report(), nullptr);
    }, bill.get());
    EXPECT_EQ(dialogs().shown().size(), 1);
}

TEST_F(ReportDialogTest, TheEngineObjectsBelongToTheCallerAndGoWithTheWindow)
{
    addTemplate(kClass, 1, QStringLiteral("单"), TFrmAReportDlg::StandardType(),
                billTemplate(QStringLiteral("DltDataset1"), QStringLiteral("ItemName")));
    auto bill = orders();
    auto parts = lines(QStringLiteral("ItemName"), {{QStringLiteral("电池"), 1}});
    QStringList names;
    openDialog(kClass, [&](TFrmAReportDlg& d) {
        QStringList texts;
        capturePreview(texts);
        click(d.BtnPreview);
        for (const QObject* o : form.children()) {
            if (qobject_cast<const qx::tpl::TemplateDataSet*>(o) || qobject_cast<const qx::tpl::TemplateReport*>(o))
                names << (o->objectName().isEmpty() ? QStringLiteral("report") : o->objectName());
        }
        QTest::keyClick(d.DBGReport, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    }, bill.get(), parts.get());
    EXPECT_EQ(names, (QStringList{QStringLiteral("Mstdataset"), QStringLiteral("DltDataset1"), QStringLiteral("report")}));
    // Gone with the close, before the window itself is released.
    EXPECT_TRUE(form.findChildren<qx::tpl::TemplateDataSet*>().isEmpty());
    flushDeletes();
    EXPECT_TRUE(form.findChildren<qx::tpl::TemplateDataSet*>().isEmpty());
    EXPECT_TRUE(form.findChildren<qx::tpl::TemplateReport*>().isEmpty());
    EXPECT_TRUE(form.findChildren<TFrmAReportDlg*>().isEmpty());
}

TEST_F(ReportDialogTest, ABaseFormPrintsThroughTheWindowWithItsOwnClass)
{
    addTemplate(QStringLiteral("基类单"), 1, QStringLiteral("单"), TFrmAReportDlg::StandardType(),
                billTemplate(QStringLiteral("DltDataset1"), QStringLiteral("ItemName")));
    auto bill = orders();
    auto parts = lines(QStringLiteral("ItemName"), {{QStringLiteral("电池"), 1}});
    auto base = std::make_unique<TFrmABase>();
    QStringList texts;
    QObject* owner = nullptr;
    dialogs().answerDialog([&](QDialog& d) {
        auto& dialog = static_cast<TFrmAReportDlg&>(d);
        owner = dialog.EngineOwner();
        capturePreview(texts);
        click(dialog.BtnPreview);
    });
    base->PrintWithDialog(QStringLiteral("基类单"), bill.get(), parts.get());
    EXPECT_EQ(owner, base.get());
    EXPECT_EQ(texts.value(0), QStringLiteral("1 WX1"));
    EXPECT_EQ(texts.value(1), QStringLiteral("1 电池"));
    flushDeletes();
    EXPECT_TRUE(base->findChildren<qx::tpl::TemplateReport*>().isEmpty());
}

TEST_F(ReportDialogTest, TheClassIsMatchedAsItIsWrittenQuotesIncluded)
{
    addTemplate(QStringLiteral("甲"), 1, QStringLiteral("甲的"), TFrmAReportDlg::StandardType(), {});
    addTemplate(QStringLiteral("O'Neil单"), 1, QStringLiteral("引号的"), TFrmAReportDlg::StandardType(), {});
    const struct
    {
        QString reportClass;
        int rows;
    } cases[] = {
        {QStringLiteral("O'Neil单"), 1},
        {QStringLiteral("x' or '1'='1"), 0},
        {QStringLiteral("甲"), 1},
    };
    for (const auto& c : cases) {
        dialogs().clear();
        int rows = -1;
        QString name;
        openDialog(c.reportClass, [&](TFrmAReportDlg& d) {
            rows = d.TblReport->RecordCount();
            if (rows > 0)
                name = d.TblReport->FieldByName(QStringLiteral("ReportClass"))->AsString();
        });
        EXPECT_EQ(rows, c.rows) << c.reportClass.toStdString();
        if (c.rows > 0) {
            EXPECT_EQ(name, c.reportClass);
        }
        EXPECT_EQ(dialogs().messages(), QStringList());
    }
}
