// The work-order browser's actions besides deletion and the owner rename: the editor for a
// new bill and for the current one (refused on an approved bill until its approval is
// cancelled), the receipt dialog with the amount due, the function keys, the history reports
// through the report library, and the browser opened from "工单管理" of the main window.
#include "tests/documents/browser/BrowserFixture.h"

#include "app/report/uAReportDialog.h"
#include "app/shell/uAMain.h"
#include "app/shell/uAlogin.h"
#include "documents/receipts/uReceivRecord.h"
#include "documents/workorder/WorkOrderForms.h"
#include "documents/workorder/uEditIn.h"
#include "platform/report/PrintTarget.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/foundation/uQxFuncs.h"
#include "usystem/vcl/stream/uQxDllCall.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

namespace qx::documents::test {
namespace {

class DayInActionsTest : public BrowserTest
{
protected:
    // Answers the next modal dialog with the work-order editor: records its bill and day and
    // closes it without saving.
    void expectEditor(QString* billNo, QDate* day)
    {
        dialogs().answerDialog([=](QDialog& d) {
            auto& editor = formOf<TFrmReceptionRct>(d);
            *billNo = editor.CurrentBillNo;
            *day = editor.NewBillDate.toQDate();
            QTest::mouseClick(editor.BtnClose, Qt::LeftButton);
        });
    }

    QString stateOf(const char* billNo)
    {
        return scalar(QStringLiteral("select ifnull(State, '') from t_ReceptionMst where BillNo = :b"),
                      {{QStringLiteral("b"), QLatin1String(billNo)}});
    }
};

TEST_F(DayInActionsTest, AddOpensANewBillOnTheBrowsersDay)
{
    TFrmDayIn& b = open();
    click(b.BtnPrior);
    QString billNo = QStringLiteral("unset");
    QDate day;
    expectEditor(&billNo, &day);
    press(Qt::Key_F2);
    EXPECT_EQ(billNo, QString());
    EXPECT_EQ(day, QDate(2026, 3, 4));
    // The list is read again on its day.
    EXPECT_EQ(listed(), QStringList{QStringLiteral("WX3")});
}

TEST_F(DayInActionsTest, WithoutTheQueryRightANewBillStaysOutOfTheList)
{
    loginWith({QStringLiteral("工单录入-增加")});
    open();
    dialogs().answerDialog([&](QDialog& d) {
        auto& editor = formOf<TFrmReceptionRct>(d);
        // Another workstation's bill of the same day lands meanwhile.
        exec(QStringLiteral("insert into t_ReceptionMst (BillNo, INtime) values ('WX9', '2026-03-05')"));
        QTest::mouseClick(editor.BtnClose, Qt::LeftButton);
    });
    press(Qt::Key_F2);
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(shown(browser->EdtSumCount), QStringLiteral("0"));
}

TEST_F(DayInActionsTest, EditOpensTheCurrentBillByKeyAndByDoubleClick)
{
    open();
    selectBill(QStringLiteral("WX2"));
    QString billNo;
    QDate day;
    expectEditor(&billNo, &day);
    press(Qt::Key_F3);
    EXPECT_EQ(billNo, QStringLiteral("WX2"));
    EXPECT_EQ(day, QDate(2026, 3, 5));

    selectBill(QStringLiteral("WX1"));
    expectEditor(&billNo, &day);
    const int row = int(listed().indexOf(QStringLiteral("WX1")));
    qx::app::test::doubleClickRow(browser->DBGrid1, row);
    EXPECT_EQ(billNo, QStringLiteral("WX1"));
}

TEST_F(DayInActionsTest, ApprovedBillIsNotEditedUntilItsApprovalIsCancelled)
{
    TFrmDayIn& b = open();
    click(b.BtnPrior);
    selectBill(QStringLiteral("WX3"));
    dialogs().answerMessage(mrOk);
    press(Qt::Key_F3);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("已审核不得修改")});

    click(b.SpeedButton1); // no question asked
    EXPECT_EQ(stateOf("WX3"), QString());
    EXPECT_EQ(listed(), QStringList{QStringLiteral("WX3")});
    EXPECT_EQ(b.QryMain->FieldByName(QStringLiteral("TotalAmount"))->DisplayText(), QStringLiteral("300.00"));
    QString billNo;
    QDate day;
    expectEditor(&billNo, &day);
    press(Qt::Key_F3);
    EXPECT_EQ(billNo, QStringLiteral("WX3"));
}

// Each guarded button without its right: the button and the right's word in the message.
struct RightCase
{
    const char* button;
    const char16_t* word;
};

TEST_F(DayInActionsTest, ButtonsNeedTheirRights)
{
    loginWith({QStringLiteral("工单录入-查询")});
    const RightCase cases[] = {
        {"BtnAdd", u"增加"}, {"BtnEdit", u"修改"}, {"BtnReceiv", u"收款"}, {"SpeedButton1", u"取消审核"},
    };
    TFrmDayIn& b = open();
    for (const RightCase& c : cases) {
        dialogs().clear();
        dialogs().answerMessage(mrOk);
        click(b.findChild<TQxButton*>(QLatin1String(c.button)));
        EXPECT_EQ(dialogs().messages(),
                  QStringList{QStringLiteral("对不起你没有 [%1] 的权限").arg(QString::fromUtf16(c.word))});
    }
}

TEST_F(DayInActionsTest, ReceiveShowsTheAmountDueAndBooksThePayment)
{
    TFrmDayIn& b = open();
    selectBill(QStringLiteral("WX2"));
    dialogs().answerDialog([](QDialog& d) {
        auto& receipt = formOf<TFrmReceivRecord>(d);
        EXPECT_EQ(receipt.ReceiptBillNo, QStringLiteral("WX2"));
        EXPECT_EQ(receipt.AmountDue, Currency(150));
        EXPECT_EQ(receipt.LblDue->Caption(), QStringLiteral("应收：150"));
        EXPECT_EQ(receipt.DtpDate->date(), QDate(2026, 3, 5));
        QTest::mouseClick(receipt.Button1, Qt::LeftButton); // the whole amount
    });
    press(Qt::Key_F4);
    EXPECT_EQ(dialogs().pending(), 0);
    EXPECT_EQ(shown(b.EdtSumReceived), QStringLiteral("300.00"));
    EXPECT_EQ(shown(b.EdtSumDue), QStringLiteral("0.00"));
}

// The history items: the menu item, the row whose key it takes, and the report and value the
// report library is called with (none: not called).
struct HistoryCase
{
    const char* item;
    const char* bill;
    const char16_t* report;
    const char16_t* value;
};

TEST_F(DayInActionsTest, HistoryItemsCallTheReportLibraryWithTheRowsKey)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(QX_FAKE_CONTROL), ExeFolderPath(QLatin1String(ControlLibraryName))));
    const QString calls = ExeFolderPath(QStringLiteral("calls.txt"));
    TFrmDayIn& b = open();
    QStringList names;
    for (QAction* a : b.pmPlus->actions())
        names << a->objectName() + u'=' + a->text();
    EXPECT_EQ(names, (QStringList{QStringLiteral("N3=维修历史工单别"), QStringLiteral("N1=维修历史项目别"),
                                  QStringLiteral("N2=维修历史配件别"), QStringLiteral("N4=维修历史单位别")}));
    const HistoryCase cases[] = {
        {"N3", "WX1", u"维修历史工单别", u"SN1"},
        {"N1", "WX1", u"维修历史项目别", u"SN1"},
        {"N2", "WX1", u"维修历史配件别", u"SN1"},
        {"N4", "WX1", u"维修历史单位别", u"C001"},
        {"N3", "WX2", nullptr, nullptr}, // no serial number
        {"N4", "WX2", u"维修历史单位别", u"C001"},
    };
    for (const HistoryCase& c : cases) {
        SCOPED_TRACE(std::string(c.item) + " on " + c.bill);
        QFile::remove(calls);
        selectBill(QLatin1String(c.bill));
        QAction* action = b.pmPlus->findChild<QAction*>(QLatin1String(c.item));
        ASSERT_NE(action, nullptr);
        b.pmPlus->popup(b.BtnPlus->mapToGlobal(QPoint(0, b.BtnPlus->height())));
        QTest::mouseClick(b.pmPlus, Qt::LeftButton, {}, b.pmPlus->actionGeometry(action).center());
        QFile file(calls);
        if (!c.report) {
            EXPECT_FALSE(file.exists());
            continue;
        }
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        ASSERT_GE(lines.size(), 9);
        EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" ExectueQueryWithCondition"))) << lines[0].toStdString();
        EXPECT_EQ(lines[3], QString());                      // no user name
        EXPECT_EQ(lines[4], QStringLiteral("报表中心"));
        EXPECT_EQ(lines[5], QString::fromUtf16(c.report));
        EXPECT_EQ(lines[7], QStringLiteral("1"));
        EXPECT_EQ(lines[8], QString::fromUtf16(c.value));
    }
}

TEST_F(DayInActionsTest, HistoryItemsDoNothingOnAnEmptyList)
{
    TFrmDayIn& b = open();
    click(b.BtnNext);
    ASSERT_TRUE(listed().isEmpty());
    for (QAction* a : b.pmPlus->actions())
        a->trigger();
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

TEST_F(DayInActionsTest, PrintsTheListThroughTheTemplatesOfItsCaption)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    const qx::report::ScopedPdfPrinting toPdf(pdf);
    TFrmDayIn& b = open();
    QString reportClass;
    QList<TDataSet*> bound;
    dialogs().answerDialog([&](QDialog& d) {
        auto& print = formOf<TFrmAReportDlg>(d);
        reportClass = print.ReportClass();
        for (TDataSource* source : {print.DsMaster, print.DsDetail1})
            bound << source->DataSet();
        dialogs().answerDialog(QDialog::Accepted); // the printer dialog
        QTest::mouseClick(print.BtnPrint, Qt::LeftButton);
        QTest::mouseClick(print.BtnClose, Qt::LeftButton);
    });
    // No right is asked for printing.
    loginWith({});
    click(b.SpeedButton4);
    EXPECT_EQ(dialogs().pending(), 0);
    EXPECT_EQ(reportClass, QStringLiteral("工单录入"));
    EXPECT_EQ(bound, (QList<TDataSet*>{b.QryTotal, b.QryMain}));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}

TEST_F(DayInActionsTest, OpensFromTheMainWindowsMenu)
{
    addOperator(QStringLiteral("前台"), qx::app::hashPassword(QString()),
                {QStringLiteral("主-工单管理"), QStringLiteral("工单录入-查询")});
    registerWorkOrderForms();
    TFrmAMain window;
    dialogs().answerDialog([](QDialog& d) {
        auto& login = dynamic_cast<TFrmALogin&>(d);
        login.CbxUsercode->setCurrentIndex(login.CbxUsercode->findText(QStringLiteral("前台")));
        QTest::mouseClick(login.BtnLogin, Qt::LeftButton);
    });
    window.show();
    QCoreApplication::processEvents();
    window.ClickMenuItem(window.MenuItem(QStringLiteral("每天作业"), QStringLiteral("工单管理")));
    QMdiSubWindow* sub = window.MdiArea->currentSubWindow();
    ASSERT_NE(sub, nullptr);
    auto* dayIn = qobject_cast<TFrmDayIn*>(sub->widget());
    ASSERT_NE(dayIn, nullptr);
    EXPECT_EQ(dayIn->objectName(), QStringLiteral("FrmDayin"));
    browser = dayIn;
    EXPECT_EQ(listedSet(), (std::set<QString>{QStringLiteral("WX1"), QStringLiteral("WX2")}));
    dayIn->Close();
    browser = nullptr;
    flushDeletes();
}

} // namespace
} // namespace qx::documents::test
