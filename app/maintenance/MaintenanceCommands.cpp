#include "app/maintenance/MaintenanceCommands.h"

#include "app/data/dmData.h"
#include "app/maintenance/DatabaseMaintenance.h"
#include "app/maintenance/uShowProcMess.h"
#include "app/shell/uABase.h"
#include "app/shell/uAMain.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/env/Clock.h"
#include "platform/env/DialogService.h"
#include "platform/rtl/SysUtils.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QCoreApplication>
#include <QDir>
#include <QProgressBar>

#include <memory>

namespace qx::app {

namespace {

const QString kQuestionCaption = QStringLiteral("提示！");

// Compaction and restore can overwrite the whole database: both need this right.
bool mayRestore()
{
    return dmdataUnit->CheckRight(QStringLiteral("系统设置"), QStringLiteral("恢复数据"), true);
}

bool confirmed(QWidget* parent, const QString& question)
{
    return qx::messageBox(parent, question, kQuestionCaption, qx::MessageIcon::Question,
                          {qx::mrOk, qx::mrCancel}, qx::mrCancel)
           == qx::mrOk;
}

} // namespace

QString backupFolder(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("Backup"));
}

QString backupFileName()
{
    return QStringLiteral("Bck") + FormatDateTime(QStringLiteral("yyyymmdd"), Date()) + QStringLiteral(".KWB");
}

void prepareBackupDialog(qx::FileRequest& dialog, const QString& programFolder)
{
    const QString folder = backupFolder(programFolder);
    // A folder that cannot be made leaves the choice to the operator; the copy says the rest.
    QDir().mkpath(folder);
    dialog.caption = QStringLiteral("备份数据");
    dialog.folder = folder;
    dialog.filter = QStringLiteral("Bck file (*.KWB)");
    dialog.fileName = backupFileName();
}

QString askBackupFile(QWidget* parent, qx::FileRequest& dialog, const QString& programFolder)
{
    prepareBackupDialog(dialog, programFolder);
    return qx::DialogService::instance().saveFileName(parent, dialog);
}

ConnectionPause::ConnectionPause()
{
    TADOConnection* connection = dmdataUnit->ADOConnection;
    m_wasOpen = connection->Connected();
    if (m_wasOpen)
        connection->Close();
}

ConnectionPause::~ConnectionPause()
{
    try {
        reopen();
    } catch (...) {
        // Only on the way out of a failed step, whose error is already on its way to the
        // operator; the next use of the connection says that it is closed.
    }
}

void ConnectionPause::reopen()
{
    if (!m_wasOpen)
        return;
    m_wasOpen = false;
    dmdataUnit->ADOConnection->Open();
}

void CompactDatabaseClick(TFrmAMain&)
{
    if (!mayRestore())
        return;
    auto progress = std::make_unique<TFrmShowProcMess>();
    progress->Lb->SetCaption(QStringLiteral("正在整理数据，请稍候... ..."));
    progress->show();
    progress->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    progress->PB->setValue(20);

    ConnectionPause pause;
    if (compactDatabase(DatabasePath)) {
        progress->PB->setValue(100);
        ShowInfo(QStringLiteral("数据整理成功！"));
        progress.reset();
    } else {
        progress.reset();
        ShowInfo(QStringLiteral("数据整理出错！"));
    }
    pause.reopen();
}

void BackupDatabaseClick(TFrmAMain& Owner)
{
    if (!confirmed(&Owner, QStringLiteral("是否确定备份数据？")))
        return;
    ConnectionPause pause;
    qx::FileRequest dialog;
    const QString file = askBackupFile(&Owner, dialog, Owner.ProgramFolder);
    if (!file.isEmpty())
        ShowInfo(backupDatabase(DatabasePath, file) ? QStringLiteral("备份成功！") : QStringLiteral("备份不成功！"));
    pause.reopen();
}

void RestoreDatabaseClick(TFrmAMain& Owner)
{
    if (!mayRestore())
        return;
    if (!confirmed(&Owner, QStringLiteral("恢复前,用户不能进行任何操作,\n\n是否现在恢复数据？")))
        return;
    qx::FileRequest dialog;
    dialog.caption = QStringLiteral("选择备份文件");
    dialog.folder = backupFolder(Owner.ProgramFolder);
    dialog.filter = QStringLiteral("KWBck file (*.KWB)");
    const QString file = qx::DialogService::instance().openFileName(&Owner, dialog);
    if (file.isEmpty())
        return;

    ConnectionPause pause;
    const bool restored = restoreDatabase(DatabasePath, file);
    pause.reopen();
    if (restored) {
        // The safety copy goes only now that the restored database opened; the shop's flags are
        // those of the restored settings row.
        removeScratchDatabase(DatabasePath);
        dmdataUnit->ReadTitleFlags();
    }
    ShowInfo(restored ? QStringLiteral("恢复成功！") : QStringLiteral("恢复不成功！"));
}

} // namespace qx::app
