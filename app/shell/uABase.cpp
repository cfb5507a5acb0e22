#include "app/shell/uABase.h"

#include "app/data/dmData.h"
#include "app/report/uAReportDialog.h"
#include "platform/env/DialogService.h"
#include "platform/ui/Fonts.h"
#include "app/shell/ColorPanel.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QFont>
#include <QKeyEvent>

namespace {

// The shop's dialogs use 宋体 at a 12-pixel height.
QFont applicationFont()
{
    QFont font = qx::libraryFont(9);
    font.setPixelSize(12);
    return font;
}

} // namespace

TFrmABase::TFrmABase(QWidget* parent) : TFrmBase(parent), pnlleft(new qx::app::ColorPanel(this))
{
    setObjectName(QStringLiteral("FrmABase"));
    resize(638, 450);
    SetColor(clBtnFace);
    setFont(applicationFont());
    SetKeyPreview(true);
    SetPosition(poDesktopCenter);

    pnlleft->setObjectName(QStringLiteral("pnlleft"));
    pnlleft->SetAlign(alLeft);
    pnlleft->SetWidth(41);
    pnlleft->SetColor(TColor(0xE3E8B5));

    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TFrmABase::~TFrmABase() = default;

void TFrmABase::FormClose(QObject*, TCloseAction& Action)
{
    Action = caFree;
}

void TFrmABase::FormKeyDown(QObject*, int&, TShiftState) {}

void TFrmABase::PrintWithDialog(const QString& ReportClass, TDataSet* Master, TDataSet* Detail1, TDataSet* Detail2,
                                TDataSet* Detail3, TDataSet* Detail4)
{
    ShowReportDialog(ReportClass, this, dmdataUnit ? dmdataUnit->ADOConnection : nullptr, Master, Detail1, Detail2,
                     Detail3, Detail4);
}

void TFrmABase::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    TFrmBase::keyPressEvent(event);
}

void ShowInfo(const QString& Text)
{
    qx::messageBox(nullptr, Text, QStringLiteral("信息"), qx::MessageIcon::Information,
                   {qx::mrOk}, qx::mrOk);
}
