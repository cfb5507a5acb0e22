#include "app/shell/uABusinessBase.h"

#include "platform/rtl/Exceptions.h"
#include "platform/env/ExceptionGuard.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/foundation/uQxFuncs.h"
#include "app/shell/ColorPanel.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QFont>
#include <QPointer>

TFrmABusinessBase::TFrmABusinessBase(QWidget* parent)
    : TFrmABase(parent),
      BtnClose(new TQxButton(pnlleft)),
      SpeedButton2(new TQxButton(pnlleft)),
      Panel1(new qx::app::ColorPanel(this)),
      pnlbase(new qx::app::ColorPanel(Panel1)),
      lblBillType(new TQxLabel(pnlbase)),
      Panel3(new qx::app::ColorPanel(Panel1))
{
    setObjectName(QStringLiteral("FrmABusinessBase"));
    SetCaption(QString());
    SetPosition(poDefault);

    pnlleft->SetWidth(72);

    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->SetBounds(0, 9, 69, 34);
    BtnClose->SetCaption(QStringLiteral("退出"));
    BtnClose->OnClick = [this](QObject* Sender) { BtnCloseClick(Sender); };

    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->SetBounds(0, 256, 69, 35);
    SpeedButton2->SetCaption(QStringLiteral("保存格式"));
    SpeedButton2->OnClick = [this](QObject* Sender) {
        qx::guard(this, [&] { SpeedButton2Click(Sender); });
    };

    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->SetAlign(alClient);
    Panel1->SetCaption(QString());

    pnlbase->setObjectName(QStringLiteral("pnlbase"));
    pnlbase->SetAlign(alTop);
    pnlbase->SetHeight(28);
    pnlbase->SetColor(clWhite);
    pnlbase->SetCaption(QString());

    lblBillType->setObjectName(QStringLiteral("lblBillType"));
    lblBillType->SetAlign(alLeft);
    lblBillType->SetFontColor(clBlue);
    QFont titleFont = lblBillType->font();
    titleFont.setBold(true);
    lblBillType->setFont(titleFont);

    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->SetAlign(alBottom);
    Panel3->SetHeight(29);
    Panel3->SetColor(clWhite);
    Panel3->SetCaption(QString());
}

TFrmABusinessBase::~TFrmABusinessBase() = default;

void TFrmABusinessBase::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    lblBillType->SetCaption(Caption());
    QFont titleFont = lblBillType->font();
    titleFont.setPointSize(14);
    lblBillType->setFont(titleFont);
    pnlbase->SetHeight(25);
}

void TFrmABusinessBase::BtnCloseClick(QObject*)
{
    Close();
}

QString TFrmABusinessBase::GridLayoutFileName(const QObject& grid) const
{
    return ExeFolderPath(lblBillType->Caption() + grid.objectName() + QStringLiteral(".dbg"));
}

QList<TQxDBGrid*> TFrmABusinessBase::DataGrids() const
{
    return findChildren<TQxDBGrid*>();
}

bool TFrmABusinessBase::LoadGridLayout(TQxDBGrid& grid)
{
    return qx::app::loadGridLayout(grid, GridLayoutFileName(grid));
}

void TFrmABusinessBase::LoadGridLayouts()
{
    for (TQxDBGrid* grid : DataGrids())
        LoadGridLayout(*grid);
}

void TFrmABusinessBase::SaveGridLayouts()
{
    qx::app::saveGridLayouts(DataGrids(), [this](const TQxDBGrid& grid) { return GridLayoutFileName(grid); });
}

void TFrmABusinessBase::SpeedButton2Click(QObject*)
{
    SaveGridLayouts();
}
