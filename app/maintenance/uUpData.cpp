#include "app/maintenance/uUpData.h"

#include "app/data/dmData.h"
#include "app/maintenance/DataUpgrade.h"
#include "app/maintenance/DatabaseMaintenance.h"
#include "app/shell/ColorPanel.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QProgressBar>

namespace {

// Red 255, green 242, blue 222.
constexpr TColor kUpDataColor = 0xDEF2FF;

} // namespace

TFrmUpData::TFrmUpData(QWidget* parent)
    : TFrmABase(parent),
      Label1(qx::kit::label(this, "Label1", QStringLiteral("请输入要升级的原数据库路径:"), 56, 20)),
      EdtPath(qx::kit::edit(this, "EdtPath", {56, 44, 330, 22})),
      BtnFile(qx::kit::toolButton(this, "BtnFile", QStringLiteral("..."), {390, 44, 26, 22})),
      Label2(qx::kit::label(this, "Label2",
                            QStringLiteral("注意:请先选择要升级的旧数据Account.mdb或其备份数据,然后点击数据升级!"),
                            56, 80)),
      Pb1(qx::kit::make<QProgressBar>(this, "Pb1", {56, 108, 360, 16})),
      BtnUpData(qx::kit::button(this, "BtnUpData", QStringLiteral("数据升级"), {232, 136, 88, 26})),
      BtnExit(qx::kit::button(this, "BtnExit", QStringLiteral("退出"), {328, 136, 88, 26}))
{
    setObjectName(QStringLiteral("FrmUpData"));
    SetCaption(QStringLiteral("升级数据"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(440, 176);

    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2->SetFontColor(clBlue);
    BtnFile->SetHint(QStringLiteral("点击按钮或按+/F5键选择设定数据"));
    Pb1->setVisible(false);

    qx::kit::onClick(BtnFile, this, &TFrmUpData::BtnFileClick);
    qx::kit::onClick(BtnUpData, this, &TFrmUpData::BtnUpDataClick);
    qx::kit::onClick(BtnExit, this, &TFrmUpData::BtnExitClick);
}

TFrmUpData::~TFrmUpData() = default;

void TFrmUpData::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    SetColor(kUpDataColor);
    pnlleft->SetColor(kUpDataColor);
}

void TFrmUpData::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_ESCAPE) {
        Key = 0;
        Close();
    }
}

void TFrmUpData::BtnFileClick(QObject*)
{
    const QString file = qx::DialogService::instance().openFileName(this, OpenDialog1);
    if (file.isEmpty())
        return;
    EdtPath->setText(file);
    OldDatabase.clear();
    if (qx::app::sameFile(file, DatabasePath)) {
        ShowInfo(QStringLiteral("不能选择当前正在使用的数据库!"));
        return;
    }
    // Raises, and the operator is told, when the file is no database.
    qx::app::CheckOldDatabase(file);
    OldDatabase = file;
}

void TFrmUpData::BtnUpDataClick(QObject*)
{
    if (qx::messageBox(this, QStringLiteral("是否要升级。"), QStringLiteral("询问"), qx::MessageIcon::None,
                       {qx::mrOk, qx::mrCancel}, qx::mrOk)
        != qx::mrOk)
        return;
    if (OldDatabase.isEmpty()) {
        ShowInfo(QStringLiteral("请设置右边的原账套数据库"));
        return;
    }
    Pb1->setVisible(true);
    bool upgraded = false;
    try {
        qx::app::UpgradeFrom(*dmdataUnit->ADOConnection, OldDatabase, [this](int index, int count) {
            Pb1->setMaximum(count);
            Pb1->setValue(index);
        });
        upgraded = true;
    } catch (const Exception&) {
        upgraded = false;
    }
    Pb1->setVisible(false);
    if (!upgraded) {
        ShowInfo(QStringLiteral("升级不成功!"));
        return;
    }
    ShowInfo(QStringLiteral("升级成功!"));
    Close();
}

void TFrmUpData::BtnExitClick(QObject*)
{
    Close();
}
