#include "app/maintenance/uShowProcMess.h"

#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QProgressBar>

TFrmShowProcMess::TFrmShowProcMess(QWidget* parent)
    : TFrmABase(parent),
      Lb(qx::kit::label(this, "Lb", QString(), 56, 16)),
      PB(qx::kit::make<QProgressBar>(this, "PB", {56, 44, 264, 18}))
{
    setObjectName(QStringLiteral("FrmShowProcMess"));
    // No border icons: the window cannot be closed while its step runs.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    SetCaption(QString());
    resize(333, 81);
    SetColor(clSkyBlue);

    QFont bold = Lb->font();
    bold.setBold(true);
    Lb->setFont(bold);
    Lb->SetTransparent(true);
    PB->setRange(0, 100);
    PB->setValue(0);
}

TFrmShowProcMess::~TFrmShowProcMess() = default;
