// TFrmBackupExit: its look, "备份退出" with the same save dialog as the menu's backup and a word
// only on failure, "直接退出", and the main window's close that offers it.
#include "MaintenanceFixture.h"

#include "app/maintenance/uBackupExit.h"
#include "platform/db/sql/SqliteBackup.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

namespace qx::app::maintenance_test {

class BackupExitTest : public LocalMaintenanceTest
{
protected:
    // Closes the main window as the operator does, says yes to quitting and drives the backup
    // dialog with act.
    void closeMainWindow(std::function<void(TFrmBackupExit&)> act)
    {
        dialogs().answerMessage(mrYes);
        dialogs().answerDialog([act](QDialog& dialog) { act(dynamic_cast<TFrmBackupExit&>(dialog)); });
        main->Close();
    }
};

TEST_F(BackupExitTest, DialogShowsItsButtonsAndTheFiveLines)
{
    TFrmBackupExit form;
    EXPECT_EQ(form.Caption(), QStringLiteral("备份数据"));
    EXPECT_EQ(form.size(), QSize(328, 142));
    EXPECT_EQ(form.Color(), clWhite);
    EXPECT_EQ(form.BtnBackup->Caption(), QStringLiteral("备份退出"));
    EXPECT_EQ(form.BtnExit->Caption(), QStringLiteral("直接退出"));
    EXPECT_EQ(form.GroupBox1->Caption(), QStringLiteral("备份提示"));
    EXPECT_TRUE(form.Memo1->isReadOnly());
    EXPECT_EQ(form.Memo1->toPlainText().split(u'\n'),
              (QStringList{QStringLiteral("    推荐退出此系统时备份当前数据,"), QString(),
                           QStringLiteral("以防出现意外情况时,导致数据或账套"), QString(),
                           QStringLiteral("被破坏或丢失,造成不可弥补的损失.")}));
}

TEST_F(BackupExitTest, BackupOnExitWritesTheBackupWithoutAWord)
{
    const qx::test::ScopedToday today(QDate(2024, 2, 29));
    addCustomer(QStringLiteral("EXIT"));
    BackupOnExit = true;
    const QString target = QDir(backupFolder()).filePath(QStringLiteral("Bck20240229.KWB"));
    QPointer<TFrmBackupExit> seen;
    closeMainWindow([&](TFrmBackupExit& form) {
        seen = &form;
        dialogs().answerFile(target);
        QTest::mouseClick(form.BtnBackup, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });

    EXPECT_TRUE(programTerminated());
    ASSERT_EQ(dialogs().fileRequests.size(), 1);
    const FileRequest& save = dialogs().fileRequests[0];
    EXPECT_EQ(save.caption, QStringLiteral("备份数据"));
    EXPECT_EQ(save.folder, backupFolder());
    EXPECT_EQ(save.filter, QStringLiteral("Bck file (*.KWB)"));
    EXPECT_EQ(save.fileName, QStringLiteral("Bck20240229.KWB"));
    // The quit question only: a backup that worked says nothing.
    EXPECT_EQ(dialogs().messages().size(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(seen.isNull()) << "the dialog is released";

    qx::SqliteFile copy(target, qx::SqliteFile::ReadOnly);
    EXPECT_TRUE(qx::databaseIntact(copy.handle()));
    EXPECT_TRUE(qx::hasTable(copy.handle(), QStringLiteral("t_Client")));
    EXPECT_FALSE(module->ADOConnection->Connected()) << "the program is ending";
}

TEST_F(BackupExitTest, FailedBackupOnExitSaysSoAndTheProgramStillEnds)
{
    BackupOnExit = true;
    closeMainWindow([&](TFrmBackupExit& form) {
        dialogs().answerFile(QDir(backupFolder()).filePath(QStringLiteral("missing/Bck.KWB")));
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(form.BtnBackup, Qt::LeftButton);
    });
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("备份不成功！"));
    EXPECT_TRUE(programTerminated());
}

TEST_F(BackupExitTest, LeavingWithoutBackupOrCancellingTheDialogWritesNothing)
{
    BackupOnExit = true;
    closeMainWindow([&](TFrmBackupExit& form) { QTest::mouseClick(form.BtnExit, Qt::LeftButton); });
    EXPECT_TRUE(programTerminated());
    EXPECT_TRUE(dialogs().fileRequests.isEmpty());

    // The dialog opened from the button, cancelled: no file, no message, the dialog closes.
    // It frees itself when it closes.
    QPointer<TFrmBackupExit> form = new TFrmBackupExit;
    form->ProgramFolder = main->ProgramFolder;
    form->show();
    dialogs().clear();
    dialogs().answerFile(QString());
    QTest::mouseClick(form->BtnBackup, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(dialogs().messages().isEmpty());
    EXPECT_TRUE(QDir(backupFolder()).entryList(QDir::Files).isEmpty());
}

} // namespace qx::app::maintenance_test
