// TFrmaSelectSItem: the repair-item picker ("选择项目"). It lists every repair item when shown,
// then searches codes and names containing the typed text and input codes beginning with it
// (at most 30 items), and adds the chosen items to a work order's repair-item lines through the
// lines' field hub: "加入单据(F11)" adds and stays open, Enter and double click add and close.
#pragma once

#include "app/master/uASearchPicker.h"

#include <QPointer>

class TDataSet;
class TQxEdit;

class TFrmaSelectSItem : public TFrmASearchPicker
{
    Q_OBJECT

public:
    explicit TFrmaSelectSItem(QWidget* parent = nullptr);
    ~TFrmaSelectSItem() override;

    QPointer<TDataSet> TargetTable;

    TQxEdit* const EdtCode;        // "项目编码/名称："
    TQxBitBtn* const BtnOK;        // "查询(F12)"
    TQxBitBtn* const BtnAddtoBill; // "加入单据(F11)"
    TQxBitBtn* const BtnAdd;       // "新增(F5)"
    TQxBitBtn* const BtnClose;     // "关闭(Esc)"

    void BtnOKClick(QObject* Sender);
    void BtnAddtoBillClick(QObject* Sender);
    void BtnAddClick(QObject* Sender);
    void BtnCloseClick(QObject* Sender);
    // F11 adds the current item, F12 searches.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;

    void Search() override;
    bool Take() override;

protected:
    void FirstSearch() override;

private:
    void SearchTextChanged(QObject* Sender);
};

// Opens the repair-item picker on a work order's repair-item lines and shows it modally.
void PickRepairItems(TDataSet* Table);
