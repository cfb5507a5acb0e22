// The receipt dialogs' tests: a work order, a sale and a purchase of 100 each with nothing
// received, the dialog created and shown as the editors and browsers show it, driven by the
// test while it is open.
#pragma once

#include "tests/app/master/MasterFixture.h"
#include "tests/support/Scoped.h"

#include "app/shell/GridLayoutFiles.h"
#include "documents/receipts/uReceivRecord.h"
#include "documents/receipts/uReceivRecord1.h"
#include "documents/receipts/uReceivRecord2.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>

#include <functional>
#include <memory>

namespace qx::documents::test {

using qx::app::test::dialogs;
using qx::app::test::formOf;
using qx::app::test::MasterTest;

// One bill kind's dialog and tables.
struct ReceiptCase
{
    ReceiptBill kind;
    const char* billNo;
    const char* receipts;
    const char* head;
    const char* column;
};

inline const ReceiptCase& receiptCase(ReceiptBill kind)
{
    static const ReceiptCase cases[] = {
        {ReceiptBill::WorkOrder, "WX260305001", "t_ReceptionDlt3", "t_ReceptionMst", "Received"},
        {ReceiptBill::Sale, "XS260305001", "t_Outdlt1", "t_OutMst", "Payed"},
        {ReceiptBill::Purchase, "GJ260305001", "t_Indlt1", "t_InMst", "Payed"},
    };
    return cases[int(kind)];
}

class ReceiptTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        exec(QStringLiteral("insert into t_ReceptionMst (BillNo, TotalAmount, Received, DecAmount) "
                            "values ('WX260305001', 100, 0, 0)"));
        exec(QStringLiteral("insert into t_OutMst (BillNo, TotalAmount, Payed) values ('XS260305001', 100, 0)"));
        exec(QStringLiteral("insert into t_InMst (BillNo, TotalAmount, Payed) values ('GJ260305001', 100, 0)"));
    }

    static TFrmReceivRecord* make(ReceiptBill kind)
    {
        switch (kind) {
        case ReceiptBill::Sale: return new TFrmReceivRecord1;
        case ReceiptBill::Purchase: return new TFrmReceivRecord2;
        default: return new TFrmReceivRecord;
        }
    }

    // Creates the dialog of kind for billNo with due, as a caller does, and shows it modally,
    // driven by act.
    void run(ReceiptBill kind, const QString& billNo, const QString& due,
             const std::function<void(TFrmReceivRecord&)>& act)
    {
        TFrmReceivRecord* dialog = make(kind);
        dialog->ReceiptBillNo = billNo;
        dialog->SetAmountDue(Currency::fromString(due));
        dialog->SetReceiptDate(TDateTime::fromQDate(QDate(2026, 3, 5)));
        dialog->LoadReceipts();
        dialogs().answerDialog([&](QDialog& d) { act(formOf<TFrmReceivRecord>(d)); });
        qx::DialogService::instance().execDialog(*dialog);
        qx::app::test::flushDeletes();
    }

    // Types the amount as the user does, replacing the box's text.
    static void typeAmount(TFrmReceivRecord& d, const QString& amount)
    {
        d.EdtAmount->setFocus(Qt::MouseFocusReason);
        d.EdtAmount->selectAll();
        QTest::keyClick(d.EdtAmount, Qt::Key_Delete);
        QTest::keyClicks(d.EdtAmount, amount);
    }

    static void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    QString headValue(const ReceiptCase& c, const char* column)
    {
        return scalar(QStringLiteral("select %1 from %2 where BillNo = :b").arg(QLatin1String(column), QLatin1String(c.head)),
                      {{QStringLiteral("b"), QLatin1String(c.billNo)}});
    }
    QString receipts(const ReceiptCase& c)
    {
        return scalar(QStringLiteral("select group_concat(Amount || '/' || acctype || '/' || ReceivTime, ' ') from %1 "
                                     "where BillNo = :b")
                          .arg(QLatin1String(c.receipts)),
                      {{QStringLiteral("b"), QLatin1String(c.billNo)}});
    }
};

} // namespace qx::documents::test
