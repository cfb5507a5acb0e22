// The browser tests: a shop database with four work orders over three days, "today" fixed at
// 2026-03-05, the all-rights operator logged in, and the work-order browser shown as the main
// window shows it, driven with real clicks and keys while every dialog is scripted.
//
//   WX1  2026-03-05  100.00, paid 100.00     VIN SN1  customer C001
//   WX2  2026-03-05  200.00, paid  50.00     no VIN   customer C001  two part lines, a receipt
//   WX3  2026-03-04  300.00, approved        VIN SN3  customer C002  settled on 2026-03-05
//   WX4  2026-02-28   80.00, paid 0          VIN SN4  customer C003
#pragma once

#include "tests/app/find/FindFixture.h"

#include "documents/workorder/uDayIn.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/ui/DatePicker.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QToolButton>

#include <set>

namespace qx::documents::test {

using qx::app::test::dialogs;
using qx::app::test::flushDeletes;
using qx::app::test::formOf;

class BrowserTest : public qx::app::test::FindTest
{
protected:
    void SetUp() override
    {
        FindTest::SetUp();
        exec(QStringLiteral(
            "insert into t_ReceptionMst (BillNo, BillDate, INtime, Outtime, State, CCode, CName, VIN, TimesAmount, "
            "PartsAmount, TotalAmount, Received, DecAmount) values "
            "('WX1', '2026-03-05', '2026-03-05', NULL, '', 'C001', '张三', 'SN1', 60, 40, 100, 100, 0),"
            "('WX2', '2026-03-05', '2026-03-05', NULL, '', 'C001', '张三', '', 120, 80, 200, 50, 0),"
            "('WX3', '2026-03-04', '2026-03-04', '2026-03-05', '已审核', 'C002', '李四', 'SN3', 300, 0, 300, 0, 0),"
            "('WX4', '2026-02-28', '2026-02-28', NULL, '', 'C003', '王五', 'SN4', 80, 0, 80, 0, 0)"));
        exec(QStringLiteral("insert into t_ReceptionDlt (BillNo, SItemCode, SItemName, TimeAmount) values "
                            "('WX2', 'X1', '换屏', 120), ('WX3', 'X1', '换屏', 300)"));
        exec(QStringLiteral("insert into t_ReceptionDlt2 (BillNo, ItemCode, ItemName, Qty, Price, Amount) values "
                            "('WX2', 'P1', '屏幕', 1, 40, 40), ('WX2', 'P2', '电池', 2, 20, 40)"));
        exec(QStringLiteral("insert into t_ReceptionDlt3 (BillNo, ReceivTime, Amount) values "
                            "('WX2', '2026-03-05', 50), ('WX1', '2026-03-05', 100)"));
        exec(QStringLiteral("insert into t_Stock (ItemCode, ItemName, Qty) values ('P1', '屏幕', 5), ('P2', '电池', 7)"));
    }

    void TearDown() override
    {
        if (browser)
            browser->Close();
        flushDeletes();
        flushDeletes();
        FindTest::TearDown();
    }

    // The browser as the main window shows it.
    TFrmDayIn& open()
    {
        browser = new TFrmDayIn;
        browser->resize(1900, 600);
        browser->show();
        QApplication::setActiveWindow(browser);
        QCoreApplication::processEvents();
        return *browser;
    }

    // The bill numbers the list shows, in list order.
    QStringList listed() const
    {
        QStringList numbers;
        TDataSet* list = browser->QryMain;
        if (!list->Active() || list->IsEmpty())
            return numbers;
        const TBookmark here = list->GetBookmark();
        for (list->First(); !list->Eof(); list->Next())
            numbers << list->FieldByName(QStringLiteral("BillNo"))->AsString();
        list->GotoBookmark(here);
        return numbers;
    }
    std::set<QString> listedSet() const
    {
        const QStringList numbers = listed();
        return {numbers.begin(), numbers.end()};
    }

    // Makes the row of billNo the current one with a click on its first cell.
    void selectBill(const QString& billNo)
    {
        const int row = int(listed().indexOf(billNo));
        ASSERT_GE(row, 0) << billNo.toStdString();
        TQxDBGrid* grid = browser->DBGrid1;
        grid->DataSource()->DataSet()->First();
        const QRect r = grid->CellRect(grid->IndicatorOffset(), grid->TitleOffset() + row);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
        ASSERT_EQ(browser->QryMain->FieldByName(QStringLiteral("BillNo"))->AsString(), billNo);
    }

    // Presses a key on the browser's grid, as the operator does.
    void press(int key)
    {
        browser->DBGrid1->setFocus();
        QTest::keyClick(browser->DBGrid1, Qt::Key(key));
    }

    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // The text a sums box shows.
    static QString shown(TQxDBEDIT* box) { return box->Text(); }

    QPointer<TFrmDayIn> browser;
};

} // namespace qx::documents::test
