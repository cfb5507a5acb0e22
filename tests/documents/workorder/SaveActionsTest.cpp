// The actions built on the save: the receipt prompt of "保存增加" and "保存退出" (each with its
// own comparison), the fresh bill after "保存增加", approval behind its right, and printing:
// the right, the print fields of the head and the lines side by side.
#include "SaveFixture.h"

#include "app/report/uAReportDialog.h"
#include "documents/receipts/uReceivRecord.h"
#include "platform/report/PrintTarget.h"
#include "platform/template/TemplateReport.h"
#include "tests/platform/template/TemplateFixture.h"

#include <QTemporaryDir>

namespace qx::documents::test {
namespace {

TEST_F(SaveTest, EachSaveActionPromptsForTheReceiptByItsOwnRule)
{
    // The stored bill totals 210.
    const struct
    {
        const char* name;
        Qt::Key key;
        const char* received;
        const char* written;
        const char* due; // nullptr: no prompt
    } cases[] = {
        {"add, nothing received", Qt::Key_F2, "0", "0", "应收：210"},
        {"add, all received", Qt::Key_F2, "210", "0", nullptr},
        {"add ignores the write-off", Qt::Key_F2, "200", "10", "应收：0"},
        {"close counts the write-off", Qt::Key_F3, "200", "10", nullptr},
        {"close, part received", Qt::Key_F3, "100", "10", "应收：100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs().clear();
        exec(QStringLiteral("update t_ReceptionMst set Received = :r, DecAmount = :d"),
             {{QStringLiteral("r"), QLatin1String(c.received)}, {QStringLiteral("d"), QLatin1String(c.written)}});
        QString shownDue;
        QString shownBill;
        run("WX260301001", [&](TFrmReceptionRct& e) {
            if (c.due)
                dialogs().answerDialog([&](QDialog& d) {
                    auto& receipt = formOf<TFrmReceivRecord>(d);
                    shownDue = receipt.LblDue->Caption();
                    shownBill = receipt.ReceiptBillNo;
                    receipt.Button2->click();
                });
            QTest::keyClick(e.EdtReBillNo, c.key);
            EXPECT_EQ(e.CurrentBillNo, QString());
        });
        EXPECT_EQ(dialogs().pending(), 0);
        EXPECT_EQ(shownDue, c.due ? QString::fromUtf8(c.due) : QString());
        if (c.due) {
            EXPECT_EQ(shownBill, QStringLiteral("WX260301001"));
        }
    }
}

TEST_F(SaveTest, SaveAndNewStartsAFreshBill)
{
    run("", [](TFrmReceptionRct& e) {
        enterInto(e.EdtModel, QStringLiteral("A100"));
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F2);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(e.EdtBillNo->Text(), QStringLiteral("新单"));
        EXPECT_EQ(e.EdtModel->Text(), QString());
        EXPECT_EQ(e.CurrentBillNo, QString());
        EXPECT_EQ(e.tblHead->State(), dsInsert);
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F2);
    });
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001 WX260305001 WX260305002"));
}

TEST_F(SaveTest, ApprovalNeedsItsRight)
{
    const struct
    {
        const char* name;
        QStringList rights;
        const char* state;
        QStringList messages;
    } cases[] = {
        {"with the right", {"维修结算单-保存审核"}, "已审核", {}},
        {"without it", {"维修结算单-保存退出"}, "", {"对不起你没有 [保存审核] 的权限"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs().clear();
        exec(QStringLiteral("delete from t_UserDB where UserCode = '店员'"));
        exec(QStringLiteral("update t_ReceptionMst set State = null, Received = 210"));
        loginWith(c.rights);
        run("WX260301001", [&](TFrmReceptionRct& e) {
            if (!c.messages.isEmpty())
                dialogs().answerMessage(qx::mrOk);
            QTest::keyClick(e.EdtReBillNo, Qt::Key_F4);
        });
        EXPECT_EQ(dialogs().messages(), c.messages);
        EXPECT_EQ(scalar(QStringLiteral("select ifnull(State, '') from t_ReceptionMst")), QString::fromUtf8(c.state));
    }
}

TEST_F(SaveTest, PrintingWithoutTheRightPrintsNothing)
{
    loginWith({QStringLiteral("维修结算单-保存退出")});
    run("WX260301001", [](TFrmReceptionRct& e) {
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F9);
        EXPECT_TRUE(e.TblPrintDetail->FieldCount() == 0 || e.TblPrintDetail->IsEmpty());
    });
    EXPECT_EQ(dialogs().messages(), QStringList{"对不起你没有 [打印] 的权限"});
}

TEST_F(SaveTest, ThePrintFieldsComeFromTheManualNumberAndTheDateIn)
{
    const struct
    {
        const char* manual;
        const char* dateIn;
        const char* fields; // B1 B2 B3 B4 D1 D2 D3
    } cases[] = {
        {"2005-03-21-001", "2005-03-21", "5|03|21|001|5|03|21"},
        {" 2005-03-21-00123 ", "2026-12-01", "5|03|21|001|6|12|01"},
        {"R-1", "2010-01-09", "||||0|01|09"},
        {"2005-03", "", "5|03|||||"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.manual);
        exec(QStringLiteral("update t_ReceptionMst set ReBillNo = :m, INtime = :d"),
             {{QStringLiteral("m"), QLatin1String(c.manual)},
              {QStringLiteral("d"), *c.dateIn ? QVariant(QLatin1String(c.dateIn)) : QVariant()}});
        run("WX260301001", [&](TFrmReceptionRct& e) {
            e.FillPrintFields();
            QStringList fields;
            for (const char* name : {"B1", "B2", "B3", "B4", "D1", "D2", "D3"})
                fields << headText(e, name);
            EXPECT_EQ(fields.join(u'|'), QLatin1String(c.fields));
        });
    }
}

} // namespace
} // namespace qx::documents::test

namespace qx::documents::test {
namespace {

TEST_F(SaveTest, PrintingPutsTheItemsAndPartsSideBySideAndPrintsThroughTheTemplates)
{
    exec(QStringLiteral("update t_ReceptionMst set ReBillNo = '2005-03-21-001', Received = 210"));
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("bill.pdf"));
    const qx::report::ScopedPdfPrinting toPdf(pdf);
    QString printedClass;
    QStringList texts;
    run("WX260301001", [&](TFrmReceptionRct& e) {
        dialogs().answerDialog([&](QDialog& d) {
            auto& window = formOf<TFrmAReportDlg>(d);
            printedClass = window.Caption();
            dialogs().answerDialog(QDialog::Accepted); // the print dialog
            QTest::keyClick(window.DBGReport, Qt::Key_F10);
            ASSERT_NE(window.Report(), nullptr);
            ASSERT_NE(window.Report()->Report(), nullptr);
            texts = tplt::pageTexts(*window.Report()->Report());
            window.close();
        });
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F9);
        TQxMemTable* merged = e.TblPrintDetail;
        ASSERT_EQ(merged->RecordCount(), 2);
        ASSERT_NE(merged->FindField(QStringLiteral("O_ItemCode")), nullptr);
        QStringList rows;
        for (merged->First(); !merged->Eof(); merged->Next())
            rows << merged->FieldByName(QStringLiteral("SItemCode"))->AsString() + u'|'
                        + merged->FieldByName(QStringLiteral("O_ItemCode"))->AsString();
        EXPECT_EQ(rows, (QStringList{"X1|P01", "Y2|"}));
        EXPECT_EQ(headText(e, "B4"), QStringLiteral("001"));
    });
    EXPECT_EQ(dialogs().pending(), 0);
    EXPECT_TRUE(texts.join(u'\n').contains(QStringLiteral("WX260301001"))) << texts.join(u'\n').toStdString();
    EXPECT_TRUE(texts.join(u'\n').contains(QStringLiteral("换屏")));
    EXPECT_TRUE(texts.join(u'\n').contains(QStringLiteral("屏幕")));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}

TEST_F(SaveTest, PrintAfterSaveWhenTicked)
{
    exec(QStringLiteral("update t_ReceptionMst set Received = 210"));
    int windows = 0;
    for (bool ticked : {false, true}) {
        run("WX260301001", [&](TFrmReceptionRct& e) {
            if (ticked) {
                QTest::mouseClick(e.ChkPrint, Qt::LeftButton, {}, QPoint(6, e.ChkPrint->height() / 2));
                dialogs().answerDialog([&](QDialog& d) {
                    formOf<TFrmAReportDlg>(d);
                    ++windows;
                });
            }
            EXPECT_EQ(e.ChkPrint->Checked(), ticked);
            QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        });
    }
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(count(QStringLiteral("t_ReceptionMst")), 1);
}

} // namespace
} // namespace qx::documents::test
