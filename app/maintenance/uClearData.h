// TFrmClearData ("数据初始化"): empties the database in the way of the page shown when "确定" is
// pressed: everything but the system tables (after a question), all business documents, or the
// business documents of a date range. All of it in one transaction: on success the dialog says
// "清理成功!" and closes; on failure nothing is changed, it says "清理不成功!" and stays.
#pragma once

#include "app/shell/uABase.h"

class QDateEdit;
class QProgressBar;
class QTabWidget;
class TADOCommand;
class TQxBitBtn;
class TQxCheckBox;
class TQxLabel;

class TFrmClearData : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmClearData(QWidget* parent = nullptr);
    ~TFrmClearData() override;

    TQxLabel* const Label1; // "注意：  清理数据前请先备份数据。"
    QTabWidget* const PageControl1;
    QWidget* const TabSheet1; // "清理全部数据"
    QWidget* const TabSheet2; // "清理业务数据"
    QWidget* const TabSheet3; // "清理日期段数据"
    TQxLabel* const Label2;
    TQxLabel* const Label3;
    TQxCheckBox* const CheckBox1;
    TQxCheckBox* const CheckBox2;
    TQxCheckBox* const CheckBox3;
    TQxCheckBox* const CheckBox4;
    TQxCheckBox* const CheckBox5;
    TQxLabel* const Label4;
    TQxLabel* const Label5;
    TQxLabel* const Label6;
    QDateEdit* const DTP1;
    TQxLabel* const Label7;
    QDateEdit* const DTP2;
    QProgressBar* const ProgressBar1;
    TQxBitBtn* const BtnOk;     // "确定"
    TQxBitBtn* const BtnCancel; // "取消"
    TADOCommand* const ADOCommClear;

    // The date page first, with the range proposed from today.
    void FormShow(QObject* Sender) override;
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    void BtnOkClick(QObject* Sender);
    void BtnCancelClick(QObject* Sender);

private:
    // Runs the clearing of the page shown in one transaction; false after a rollback.
    bool RunClearing(QWidget* Page);
};
