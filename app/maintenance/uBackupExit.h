// TFrmBackupExit: offered by the main window's close when the shop asked for a backup on exit.
// "备份退出" asks for the backup file in the save dialog and writes the backup, saying only when
// it failed; "直接退出" ends without one. Either way the dialog closes and the program ends.
#pragma once

#include "app/shell/uABase.h"
#include "platform/env/DialogService.h"

#include <QString>

class QPlainTextEdit;
class TQxBitBtn;
class TQxGroupBox;

class TFrmBackupExit : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmBackupExit(QWidget* parent = nullptr);
    ~TFrmBackupExit() override;

    TQxBitBtn* const BtnBackup; // "备份退出"
    TQxBitBtn* const BtnExit;   // "直接退出"
    TQxGroupBox* const GroupBox1;
    QPlainTextEdit* const Memo1;
    qx::FileRequest SaveDialog1;

    // The folder whose Backup folder is offered (the main window's ProgramFolder).
    QString ProgramFolder;

    void BtnBackupClick(QObject* Sender);
    void BtnExitClick(QObject* Sender);
};
