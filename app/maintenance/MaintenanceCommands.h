// The main window's maintenance commands "压缩数据", "备份数据" and "恢复数据", and the backup
// save dialog that the backup on exit shares with them. Every question, file dialog and message
// goes through the dialog service; each command closes the data module's connection for its
// work and opens it again afterwards.
#pragma once

#include <QString>

class QWidget;
class TFrmAMain;

namespace qx {
struct FileRequest;
}

namespace qx::app {

// The folder offered for backups: "Backup" under the program folder.
QString backupFolder(const QString& programFolder);
// The name offered for a backup: "Bck", today as yyyymmdd, ".KWB".
QString backupFileName();
// Makes the Backup folder when it is missing and fills the save dialog of a backup.
void prepareBackupDialog(qx::FileRequest& dialog, const QString& programFolder);
// Asks for the backup file in that save dialog; empty when the operator cancels.
QString askBackupFile(QWidget* parent, qx::FileRequest& dialog, const QString& programFolder);

// "压缩数据": with the right "系统设置-恢复数据", compacts the database behind the progress window.
void CompactDatabaseClick(TFrmAMain& Owner);
// "备份数据": after the question, writes a backup where the operator chooses.
void BackupDatabaseClick(TFrmAMain& Owner);
// "恢复数据": with the right "系统设置-恢复数据" and after the question, puts a chosen backup in
// the database's place.
void RestoreDatabaseClick(TFrmAMain& Owner);

// Closes the data module's connection for a maintenance step and opens it again afterwards, when
// it was open: reopen() raises when that fails; leaving the scope without it reopens quietly.
class ConnectionPause
{
public:
    ConnectionPause();
    ~ConnectionPause();
    ConnectionPause(const ConnectionPause&) = delete;
    ConnectionPause& operator=(const ConnectionPause&) = delete;

    void reopen();

private:
    bool m_wasOpen = false;
};

} // namespace qx::app
