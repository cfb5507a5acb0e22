// TFrmReceptionRct: the work-order editor ("维修结算单"). Reception enters and settles one
// repair bill here: the device and its owner, the repair items with their labour charges, the
// parts with their prices, the discounts and the totals.
//
// The bill lives in three memory tables while the user edits: the head (tblHead, the columns
// of t_ReceptionMst and the print fields B1..D3), the repair items (tblDetail1, t_ReceptionDlt)
// and the parts (TblDetail2, t_ReceptionDlt2). Every typed value passes the field hub
// BillFieldSetText: the device look-up of a serial number or customer code, the repair-item and
// part look-ups, the duplicate warnings of the bill numbers, the line amounts and the totals.
// Money is exact to four decimals (halves to even) and shows two.
//
// The part costs stay in the parts table for every operator, so that a save never loses them;
// an operator without the right "维修结算单-配件成本" only does not see them (the "成本价"
// column, the caption "成本：" and the cost box are hidden), and the cost total is computed
// all the same.
//
// The unit is one header over five files: uEditIn.cpp (the form: layout, wiring, loading,
// keys and buttons), uEditInHub.cpp (the field hub), uEditInTotals.cpp (the new-row rules
// and the totals), uEditInSave.cpp (the checks of a save, the save actions, approval and the
// receipt prompt; the writing itself is WorkOrderStore) and uEditInPrint.cpp (printing).
#pragma once

#include "documents/bills/uABillEditor.h"

#include <QList>
#include <QPointer>

class TDataSource;
class TQxColumn;
class TQxDBCheckBox;
class TQxDBComboBox;
class TQxDBEDIT;
class TQxDBGrid;

class TFrmReceptionRct : public TFrmABillEditor
{
    Q_OBJECT

public:
    explicit TFrmReceptionRct(QWidget* parent = nullptr);
    ~TFrmReceptionRct() override;

    // The bill in memory.
    TQxMemTable* const tblHead;
    TQxMemTable* const tblDetail1;     // repair items
    TQxMemTable* const TblDetail2;     // parts
    TQxMemTable* const TblPrintDetail; // items and parts side by side, for printing
    TDataSource* const dsHead;
    TDataSource* const dsDetail1;
    TDataSource* const dsDetail2;

    // The head's boxes.
    TQxPanel* const pnlHead;
    TQxDBEDIT* const EdtBillNo;      // "工单号：", read-only
    TQxDBEDIT* const EdtReBillNo;    // "手工单号："
    TQxDBCheckBox* const ChkIsSettle; // "已结算"
    TQxDBEDIT* const EdtINtime;      // "送修日期："
    TQxDBEDIT* const EdtVin;         // "SerialNo："
    TQxDBEDIT* const EdtClient;      // "机主名："
    TQxDBEDIT* const EdtModel;       // "机 型："
    TQxDBEDIT* const EdtOuttime;     // "取机日期："
    TQxDBEDIT* const EdtLinkMen;     // "联系人："
    TQxDBEDIT* const EdtTel;         // "电 话："
    TQxDBEDIT* const EdtHTel;        // "手 机："
    TQxDBEDIT* const EdtMileage;     // "周 期："
    TQxDBComboBox* const CbxMileageUnit;
    TQxDBEDIT* const EdtMainWorker;  // "主 修："
    TQxDBEDIT* const EdtReceiver;    // "接 单："
    TQxDBEDIT* const EdtChecker;     // "检 验："
    TQxDBEDIT* const EdtSettler;     // "结  算："
    TQxDBEDIT* const EdtEngineNo;    // "Model："
    TQxDBEDIT* const EdtRemark;      // "地 址："
    TQxDBEDIT* const EdtSlave;       // "附 件："
    TQxDBEDIT* const EdtCMarker;     // "机主/取机："
    TQxDBEDIT* const EdtClientEvent; // "说 明："

    // The lines.
    TQxPanel* const pnlLines;
    TQxDBGrid* const dbgDetail1; // repair items
    TQxDBGrid* const dbgDetail2; // parts

    // The totals.
    TQxPanel* const pnlTotal;
    TQxDBEDIT* const EdtSTimesAmount; // "维修标准价："
    TQxDBEDIT* const EdtXZhe;         // labour discount in tenths
    TQxDBEDIT* const EdtTimesAmount;  // "维修优惠价："
    TQxDBEDIT* const EdtSPartsAmount; // "配件标准价："
    TQxDBEDIT* const EdtCZhe;         // parts discount in tenths
    TQxDBEDIT* const EdtPartsAmount;  // "配件优惠价："
    TQxLabel* const LblCostAmount;    // "成本："
    TQxDBEDIT* const EdtCostAmount;
    TQxDBEDIT* const EdtTotalAmount;  // "维修结算："

    // Whether the operator sees the part costs (read when the bill is loaded).
    bool ShowsCost() const { return FShowsCost; }

    // Builds and fills the three tables for CurrentBillNo (layouts first, the unit list after).
    void LoadBill() override;
    // Fills the existing tables again for CurrentBillNo (another bill's number was entered).
    void ReloadBill();
    // The field hub (uEditInHub.cpp).
    void BillFieldSetText(TField* Field, const QString& Text) override;

    // New rows (uEditInTotals.cpp).
    void tblHeadNewRecord(TDataSet* DataSet);
    void tblDetail1NewRecord(TDataSet* DataSet);
    void TblDetail2NewRecord(TDataSet* DataSet);
    // Totals (uEditInTotals.cpp): after a repair item or a part is posted or deleted, before a
    // part is posted, and when a discount box is left.
    void tblDetail1AfterPost(TDataSet* DataSet);
    void TblDetail2AfterPost(TDataSet* DataSet);
    void TblDetail2BeforePost(TDataSet* DataSet);
    void EdtXZheExit(QObject* Sender);
    void EdtCZheExit(QObject* Sender);

    // Saving (uEditInSave.cpp). SaveBill checks the bill ("进厂日期不能为空", "此单已存在!",
    // "配件编码不能为空!", "项目编码不能为空!": false after the message), posts the pending
    // edits and writes the bill in one transaction; true when it was committed. A failed write
    // leaves nothing in the database, shows "存盘失败！" (or names the part code the stock file
    // lacks) and aborts the calling action; the bill is then as it was before the save: a new
    // bill still shows "新单" and CurrentBillNo keeps its value.
    bool SaveBill();
    // "保存增加": save, then the receipt prompt when the total exceeds what was received, the
    // print when "保存后立即打印" is ticked, and a fresh bill.
    void BtnAddClick(QObject* Sender) override;
    // "保存退出": save, then the receipt prompt when the total less the write-off exceeds what
    // was received, the print when ticked, and close.
    void BtnSaveClick(QObject* Sender) override;
    // "保存审核": behind the right "维修结算单-保存审核", State := "已审核", then "保存退出".
    void BtnCheckClick(QObject* Sender) override;
    // The receipt dialog of work orders for the saved bill, with what is still due.
    void BtnReceivClick(QObject* Sender) override;

    // Printing (uEditInPrint.cpp): behind the right "维修结算单-打印", the print fields, the
    // items and parts side by side (the parts' fields as "O_" + name) and the print through
    // the report templates of "维修结算单". The bill in memory is printed, saved or not.
    void BtnPrintClick(QObject* Sender) override;
    // B1..B4 from the trimmed manual number (characters 4, 6-7, 9-10, 12-14) and D1..D3 from
    // the date in as "YYYY-MM-DD" (characters 4, 6-7, 9-10); a position beyond the text gives
    // an empty field.
    void FillPrintFields();

    // The pick list of the field behind the box (the box whose button was pressed, else the
    // focused one).
    void SelectForActiveEdit(QObject* Sender);
    // The device picker on the head, seeded with the serial-number box's text.
    void EdtVinButtonClick(QObject* Sender);
    void EdtClientButtonClick(QObject* Sender);
    // The cell buttons and double clicks of the two grids.
    void dbgDetail1EditButtonClick(QObject* Sender);
    void dbgDetail2EditButtonClick(QObject* Sender);

    // LoadBill, then the part totals (which bring the bill total).
    void FormShow(QObject* Sender) override;
    // F5 and the Enter order of the device boxes, after the keys of every bill editor.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // The cost column comes back before the layouts are written, so an operator without the
    // cost right does not hide it for everyone.
    void FormClose(QObject* Sender, TCloseAction& Action) override;

protected:
    TQxDBGrid* LineGrid() const override { return dbgDetail2; }

private:
    void BuildHead();
    void BuildLines();
    void BuildTotals();
    void FillUnitList();
    // Hides the cost column, caption and box from an operator without the cost right.
    void ApplyCostRight();
    // Empties the three tables and starts a new head row.
    void StartNewBill();
    // The first check of a save that fails, after its message; true when all pass.
    bool CheckBeforeSave();
    // The report-template dialog over the head, the merged lines, the items and the parts.
    void PrintWithTemplates();

    // Hub rules (uEditInHub.cpp).
    void HeadRules(TField* Field, const QString& Text);
    void ItemRules(TField* Field);
    void PartRules(TField* Field);
    void LookUpDevice(TField* Field, const QString& Text);
    void LookUpRepairItem(TField* CodeField);
    // TotalAmount := the sum of the discounted amounts, the fees and the tax.
    void RecalcTotal();

    bool FShowsCost = true;
    QList<QPointer<TQxColumn>> FHiddenCostColumns;
};
