#include "app/master/uAEditCode.h"

#include "app/shell/ColorPanel.h"
#include "platform/env/DialogService.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/forms/QxFormKit.h"

TFrmAEditCode::TFrmAEditCode(QWidget* parent)
    : TFrmABase(parent),
      LbCap(qx::kit::label(this, "LbCap", QStringLiteral("SerialNo："), {16, 28, 80, 16})),
      EdtCode(qx::kit::edit(this, "EdtCode", {100, 24, 180, 22})),
      BtOk(qx::kit::button(this, "BtOk", QStringLiteral("确定"), {100, 68, 80, 26})),
      BtCancel(qx::kit::button(this, "BtCancel", QStringLiteral("取消"), {200, 68, 80, 26}))
{
    setObjectName(QStringLiteral("FrmAEditCode"));
    SetCaption(QStringLiteral("修改SerialNo"));
    resize(300, 116);
    pnlleft->setVisible(false);

    BtOk->SetModalResult(qx::mrOk);
    BtCancel->SetModalResult(qx::mrCancel);
    setTabOrder(EdtCode, BtOk);
    setTabOrder(BtOk, BtCancel);

    qx::kit::on(EdtCode->OnExit, this, &TFrmAEditCode::EdtCodeExit);
    qx::kit::onClick(BtOk, this, &TFrmAEditCode::BtOkClick);
}

TFrmAEditCode::~TFrmAEditCode() = default;

void TFrmAEditCode::TakeCode()
{
    NewCode = EdtCode->Text().trimmed();
}

void TFrmAEditCode::EdtCodeExit(QObject*)
{
    TakeCode();
}

void TFrmAEditCode::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_RETURN && focusWidget() == EdtCode)
        TakeCode();
}

void TFrmAEditCode::BtOkClick(QObject*)
{
    // The edit usually lost the focus to the button already; a click that did not move the
    // focus takes the code here.
    TakeCode();
}
