#include "usystem/vcl/controls/udlgBase.h"

#include "platform/ui/Components.h"
#include "platform/ui/Glyphs.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

TFrmDlgBase::TFrmDlgBase(QWidget* parent) : TFrmBase(parent)
{
    setObjectName(QStringLiteral("FrmDlgBase"));
    setWindowTitle(QStringLiteral("FrmDlgBase"));
    SetPosition(poDesktopCenter);

    PnlTop = new TQxPanel(this);
    PnlTop->setObjectName(QStringLiteral("PnlTop"));
    PnlTop->SetHeight(39);
    PnlTop->SetAlign(alTop);
    qx::insertComponent(this, PnlTop);

    PnlLeft = new TQxPanel(PnlTop);
    PnlLeft->setObjectName(QStringLiteral("PnlLeft"));
    PnlLeft->SetBevelOuter(bvNone);
    PnlLeft->SetWidth(56);
    PnlLeft->SetAlign(alLeft);
    qx::insertComponent(this, PnlLeft);

    Pnlcenter = new TQxPanel(PnlTop);
    Pnlcenter->setObjectName(QStringLiteral("Pnlcenter"));
    Pnlcenter->SetBevelOuter(bvNone);
    Pnlcenter->SetAlign(alClient);
    qx::insertComponent(this, Pnlcenter);

    PnlRight = new TQxPanel(PnlTop);
    PnlRight->setObjectName(QStringLiteral("PnlRight"));
    PnlRight->SetBevelOuter(bvNone);
    PnlRight->SetWidth(73);
    PnlRight->SetAlign(alRight);
    qx::insertComponent(this, PnlRight);

    BtnClose = new TQxButton(PnlRight);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->resize(54, 37);
    BtnClose->SetAlign(alRight);
    BtnClose->SetCaption(QStringLiteral("退出"));
    BtnClose->SetHint(QStringLiteral("退出当前模块"));
    BtnClose->SetLayout(TQxCustomButton::GlyphTop);
    BtnClose->SetGlyph(qx::libraryGlyph(qx::LibraryGlyph::Exit).toImage());
    BtnClose->OnClick = [this](QObject* Sender) { BtnCloseClick(Sender); };
    qx::insertComponent(this, BtnClose);

    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

void TFrmDlgBase::BtnCloseClick(QObject*)
{
    Close();
}

void TFrmDlgBase::FormClose(QObject*, TCloseAction& Action)
{
    Action = caFree;
}
