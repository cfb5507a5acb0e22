// TFrmaSelectClient: the customer picker ("选择客户") of the device editor and the device and
// customer file. It searches customers by code, name and contact (each containing the typed
// text) and copies the chosen customer's code, name, contact and telephone numbers into the
// target as values, leaving the target row unposted. A target with a current row has that row
// changed; only an empty target gets a new one.
#pragma once

#include "app/master/uASearchPicker.h"

#include <QPointer>
#include <QStringList>

class TDataSet;
class TQxEdit;

class TFrmaSelectClient : public TFrmASearchPicker
{
    Q_OBJECT

public:
    explicit TFrmaSelectClient(QWidget* parent = nullptr);
    ~TFrmaSelectClient() override;

    QPointer<TDataSet> Target;

    TQxEdit* const EdtCode;   // "客户编号："
    TQxEdit* const EdtName;   // "客户名称："
    TQxEdit* const EdtLinker; // "联系人："
    TQxBitBtn* const BtnOK;    // "查询(F12)"
    TQxBitBtn* const BtnAdd;   // "新增F2)"
    TQxBitBtn* const BtnClose; // "关闭(Esc)"

    void BtnOKClick(QObject* Sender);
    void BtnAddClick(QObject* Sender);
    void BtnCloseClick(QObject* Sender);
    // F2 adds a customer, F12 searches.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;

    void Search() override;
    bool Take() override;

protected:
    TFrmaSelectClient(const char* formName, QStringList takenFields, QWidget* parent);

    // The target row the customer goes into: the current one, or a new one in an empty target.
    TDataSet* TargetRow();
    // Copies the taken fields the customer list also has; each copied field is handed to
    // copied(field, customer's field).
    void CopyCustomer(TDataSet& target, const std::function<void(TField*, TField*)>& copied);

private:
    QStringList FTakenFields;
};

// Opens the customer picker on Target (the device being edited) and shows it modally.
void PickClient(TDataSet* Target);
