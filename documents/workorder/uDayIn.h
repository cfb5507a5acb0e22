// TFrmDayIn: the work-order browser ("工单录入"), the module the main window opens for
// "工单管理". It lists the work orders taken in on one day (INtime) with their sums, and from it
// reception adds, edits, receives, finds, deletes and un-approves work orders, renames a
// customer code across all work orders, prints the list and opens the repair-history reports.
//
// Deleting a work order gives back the stock its parts took through the stock poster, under the
// same gate as the save: the shop's stock flag and "是" for 启用库存管理 in INC.ini. A part
// without a stock row stops the deletion, as it stops the save. The owner rename needs the right
// "工单录入-改车主", refuses an empty answer (and a row without a customer code), does nothing
// for an unchanged one, asks before it writes and updates in one transaction.
#pragma once

#include "documents/browser/uABillBrowser.h"

class TQxDBEDIT;

class TFrmDayIn : public TFrmABillBrowser
{
    Q_OBJECT

public:
    explicit TFrmDayIn(QWidget* parent = nullptr);
    ~TFrmDayIn() override;

    TQxButton* const SpeedButton3; // "改车主", hidden; the main part of "历史查询" runs it too

    // The sums strip, read-only, bound to the sums' columns.
    TQxDBEDIT* const EdtSumTimes;    // "工时费"
    TQxDBEDIT* const EdtSumParts;    // "配件费"
    TQxDBEDIT* const EdtSumTotal;    // "金额"
    TQxDBEDIT* const EdtSumReceived; // "已收"
    TQxDBEDIT* const EdtSumDue;      // "挂账"
    TQxDBEDIT* const EdtSumCount;    // "台数"

    // Gives every work order of the current row's customer code another code.
    void SpeedButton3Click(QObject* Sender);

protected:
    QString ListText() const override;
    QString TotalText() const override;
    QString DayColumn() const override;
    QString HeadTable() const override;
    QStringList BillTables() const override;
    QString FindPage() const override;
    TFrmABillEditor* CreateEditor() override;
    void ShowReceiptDialog(const QString& BillNo, Currency AmountDue, TDateTime Day) override;
    // The stock given back, when stock moves.
    void UndoBillEffects(const QString& BillNo) override;

private:
    void BuildColumns();
    void BuildSums();
};
