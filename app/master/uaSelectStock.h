// TFrmaSelectStock: the part picker ("选择配件"). It searches the stock file by code, name (or
// the name's input codes), model, location and quantity, and adds the chosen parts to the line
// table of a bill editor: "加入单据(F11)" adds and stays open, Enter and double click add and
// close. A line being edited is overwritten instead of a new one appended.
#pragma once

#include "app/master/SearchConditions.h"
#include "app/master/uASearchPicker.h"

#include <QPointer>

class TDataSet;
class TQxComboBox;
class TQxEdit;
class TQxLabel;

class TFrmaSelectStock : public TFrmASearchPicker
{
    Q_OBJECT

public:
    explicit TFrmaSelectStock(QWidget* parent = nullptr);
    ~TFrmaSelectStock() override;

    // The caller's memory table of lines; every field has the bill's field hub as its text
    // setter.
    QPointer<TDataSet> TargetTable;

    TQxEdit* const EdtCode;     // "配件编号："
    TQxEdit* const EdtName;     // "配件名称："
    TQxEdit* const EdtModel;    // "机型："
    TQxEdit* const EdtLocation; // "仓位："
    TQxEdit* const EdtQty;      // "库存："
    TQxComboBox* const CbxQty;  // the quantity's comparison
    TQxBitBtn* const BtnOK;         // "查询(F12)"
    TQxBitBtn* const BtnAddtoBill;  // "加入单据(F11)"
    TQxBitBtn* const BtnAdd;        // "新增(F2)"
    TQxBitBtn* const BtnClose;      // "关闭(Esc)"

    // The search: at most 300 parts. A quantity that is not a number stops it with the
    // conversion error.
    void BtnOKClick(QObject* Sender);
    void BtnAddtoBillClick(QObject* Sender);
    void BtnAddClick(QObject* Sender);
    void BtnCloseClick(QObject* Sender);
    // F11 adds the current part, F12 searches.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;

    void Search() override;
    bool Take() override;

private:
    void SearchTextChanged(QObject* Sender);
    void ModelButtonClick(QObject* Sender);
};

// The quantity condition of a column for the typed value and the comparison's caption ("等于",
// "大于", "小于", "大于等于", "小于等于"; anything else compares for equality), with the value
// bound as a number. Raises EConvertError when the value is not a number.
QString QtyCondition(const QString& FieldName, const QString& Value, const QString& Comparison,
                     qx::app::SearchConditions& Conditions);

// Opens the part picker on a bill's line table and shows it modally.
void PickParts(TDataSet* Table);
