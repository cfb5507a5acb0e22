// The work-order editor's tests: a shop database with repair items, parts, devices and one
// stored work order, the all-rights operator logged in, and the editor shown modally as the
// work-order browser shows it, driven by the test while it is open.
#pragma once

#include "tests/app/master/MasterFixture.h"

#include "documents/workorder/uEditIn.h"
#include "platform/db/QxMemTable.h"
#include "platform/env/ProgramFolder.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QApplication>
#include <QDate>
#include <QInputMethodEvent>
#include <QTest>

#include <functional>

namespace qx::documents::test {

using qx::app::test::dialogs;
using qx::app::test::flushDeletes;
using qx::app::test::formOf;
using qx::app::test::MasterTest;

// The day the browser hands a new bill.
inline QDate workOrderDay()
{
    return QDate(2026, 3, 5);
}

class WorkOrderTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        module->ADOConnection->BeginTrans();
        exec(QStringLiteral(
            "insert into tServiceItem (SItemCode, SItemName, TimeAmount) values "
            "('X1', '换屏', 100), ('Y2', '刷机', 50), ('Z3', '清洁', 33.33), ('Q''1', '引号项目', 12)"));
        exec(QStringLiteral(
            "insert into t_Stock (ItemCode, ItemName, Model, Qty, Price, CostPrice, UnitCode, Location, Remark) values "
            "('P01', '屏幕', 'A100', 5, 30, 18, '个', 'A1', '库存备注'),"
            "('P02', '电池', 'A100', 9, 1.2345, 0.5, '块', 'B2', ''),"
            "('P''3', '引号配件', '', 1, 2, 1, '个', '', '')"));
        exec(QStringLiteral(
            "insert into tVehicle (VIN, CCode, CName, LinkMen, Tel, HTel, Model, EngineNo, MarkNo, MileageUnit, Remark) values "
            "('SN100', 'C01', '张三', '张太', '111', '13900000001', 'A100', 'E1', 'M1', '月', '设备备注'),"
            "('SN200', 'C02', 'O''Neil', '', '222', '', 'B200', 'E2', '', '周', ''),"
            "('SN300', 'C02', 'O''Neil', '', '333', '', 'B300', 'E3', '', '天', ''),"
            "('O''7', 'C07', '王五', '', '777', '', 'Q7', '', '', '天', '')"));
        exec(QStringLiteral(
            "insert into t_ReceptionMst (BillNo, ReBillNo, BillDate, INtime, IsSettle, VIN, CName, Model, "
            "STimesAmount, TimesAmount, SPartsAmount, PartsAmount, XZhe, CZhe, CostAmount, TotalAmount, Received) values "
            "('WX260301001', 'R-1', '2026-03-01', '2026-03-01', 0, 'SN100', '张三', 'A100', "
            "150, 150, 60, 60, 0, 0, 36, 210, 0)"));
        exec(QStringLiteral(
            "insert into t_ReceptionDlt (BillNo, SItemCode, SItemName, TimeAmount, PayType) values "
            "('WX260301001', 'X1', '换屏', 100, '客付'), ('WX260301001', 'Y2', '刷机', 50, '客付')"));
        exec(QStringLiteral(
            "insert into t_ReceptionDlt2 (BillNo, ItemCode, ItemName, Qty, Price, UnitCode, Amount, CostPrice, PayType) values "
            "('WX260301001', 'P01', '屏幕', 2, 30, '个', 60, 18, '客付')"));
        module->ADOConnection->CommitTrans();
    }

    // Shows the editor of billNo (a new bill when empty) modally, driven by act; the editor
    // is closed afterwards when act leaves it open.
    template <class Form = TFrmReceptionRct, class Act>
    void run(const QString& billNo, Act act)
    {
        auto* editor = new Form;
        editor->CurrentBillNo = billNo;
        editor->NewBillDate = TDateTime::fromQDate(workOrderDay());
        dialogs().answerDialog([&](QDialog& d) {
            d.activateWindow();
            QApplication::setActiveWindow(&d);
            act(formOf<Form>(d));
        });
        qx::DialogService::instance().execDialog(*editor);
    }

    static TField* head(TFrmReceptionRct& e, const char* name)
    {
        return e.tblHead->FieldByName(QLatin1String(name));
    }
    static QString headText(TFrmReceptionRct& e, const char* name) { return head(e, name)->AsString(); }
    static Currency headMoney(TFrmReceptionRct& e, const char* name) { return head(e, name)->AsCurrency(); }

    static Currency money(const char* text) { return Currency::fromString(QLatin1String(text)); }
};

// Types text into a box as the user does: Latin text by keys, other text through the input
// method, which is how Chinese reaches a box.
inline void typeInto(QWidget* box, const QString& text)
{
    box->setFocus(Qt::MouseFocusReason);
    bool latin = true;
    for (QChar c : text)
        latin = latin && c.unicode() < 0x80;
    if (latin) {
        QTest::keyClicks(box, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

// Replaces a box's text as the user does (select all, type) and leaves it with Tab.
inline void enterInto(TQxDBEDIT* box, const QString& text)
{
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        typeInto(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

// Types Latin text into the cell of column in the grid's current row, as the user does (the
// first key opens the cell editor over the old value), and writes it with Enter.
inline void typeCell(TQxDBGrid* grid, int column, const QString& text)
{
    grid->setFocus(Qt::MouseFocusReason);
    grid->SetSelectedIndex(column);
    for (QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

// Starts a new line at the end of the grid's lines and types code into its first column.
inline void newLine(TQxDBGrid* grid, const QString& code)
{
    TDataSet* lines = grid->DataSource()->DataSet();
    grid->setFocus(Qt::MouseFocusReason);
    if (!lines->IsEmpty()) {
        lines->Last();
        QTest::keyClick(grid, Qt::Key_Down); // below the last line: a new one
    }
    typeCell(grid, 0, code);
}

// Posts the grid's current line by leaving it upwards, as the user does.
inline void postLine(TQxDBGrid* grid)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(grid->DataSource()->DataSet()->State(), dsBrowse);
}

} // namespace qx::documents::test
