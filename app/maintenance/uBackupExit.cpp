#include "app/maintenance/uBackupExit.h"

#include "app/data/dmData.h"
#include "app/maintenance/DatabaseMaintenance.h"
#include "app/maintenance/MaintenanceCommands.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QPlainTextEdit>

TFrmBackupExit::TFrmBackupExit(QWidget* parent)
    : TFrmABase(parent),
      BtnBackup(qx::kit::button(this, "BtnBackup", QStringLiteral("备份退出"), {64, 108, 100, 26})),
      BtnExit(qx::kit::button(this, "BtnExit", QStringLiteral("直接退出"), {196, 108, 100, 26})),
      GroupBox1(qx::kit::groupBox(this, "GroupBox1", QStringLiteral("备份提示"), {48, 4, 272, 96})),
      Memo1(qx::kit::make<QPlainTextEdit>(GroupBox1, "Memo1", {8, 18, 256, 70}))
{
    setObjectName(QStringLiteral("FrmBackupExit"));
    SetCaption(QStringLiteral("备份数据"));
    // A dialog border: fixed size, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(328, 142);
    SetColor(clWhite);

    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setPlainText(QStringLiteral("    推荐退出此系统时备份当前数据,\n"
                                       "\n"
                                       "以防出现意外情况时,导致数据或账套\n"
                                       "\n"
                                       "被破坏或丢失,造成不可弥补的损失."));

    qx::kit::onClick(BtnBackup, this, &TFrmBackupExit::BtnBackupClick);
    qx::kit::onClick(BtnExit, this, &TFrmBackupExit::BtnExitClick);
}

TFrmBackupExit::~TFrmBackupExit() = default;

void TFrmBackupExit::BtnBackupClick(QObject*)
{
    {
        qx::app::ConnectionPause pause;
        const QString file = qx::app::askBackupFile(this, SaveDialog1, ProgramFolder);
        // The program is ending: only a failure is worth a word.
        if (!file.isEmpty() && !qx::app::backupDatabase(DatabasePath, file))
            ShowInfo(QStringLiteral("备份不成功！"));
        pause.reopen();
    }
    Close();
}

void TFrmBackupExit::BtnExitClick(QObject*)
{
    Close();
}
