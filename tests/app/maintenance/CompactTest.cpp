// "压缩数据" and CompactDatabaseFile: a database with many deleted rows shrinks in place behind
// the progress window, its rows kept; the compacted copy refuses a target that holds something.
#include "MaintenanceFixture.h"

#include "app/maintenance/DatabaseMaintenance.h"
#include "platform/db/sql/SqliteBackup.h"
#include "platform/db/sql/SqliteStatement.h"
#include "tests/support/FileSizeLimit.h"

#include <QFileInfo>

namespace qx::app::maintenance_test {

class CompactTest : public MaintenanceTest
{
};

TEST_F(CompactTest, CompactionShrinksTheLiveDatabaseAndKeepsItsRows)
{
    addCustomer(QStringLiteral("KEEP"));
    exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000) "
                        "insert into t_Client (CCode, Remark) select 'D' || i, hex(randomblob(100)) from n"));
    exec(QStringLiteral("delete from t_Client where CCode like 'D%'"));
    const qint64 before = QFileInfo(DatabasePath).size();

    dialogs().answerMessage(mrOk);
    click(u"压缩数据");

    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("数据整理成功！")});
    EXPECT_EQ(dialogs().shown()[0].caption, QStringLiteral("信息"));
    // The progress window still stood at 100 % when the message came.
    EXPECT_EQ(dialogs().progressAtMessage, QStringList{QStringLiteral("正在整理数据，请稍候... ... 100")});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TFrmShowProcMess*>(w), nullptr) << "the progress window is released";

    EXPECT_LT(QFileInfo(DatabasePath).size(), before / 3);
    EXPECT_FALSE(QFileInfo::exists(scratchFile()));
    EXPECT_TRUE(module->ADOConnection->Connected());
    EXPECT_EQ(customers(), QStringList{QStringLiteral("KEEP")});
    qx::SqliteFile check(DatabasePath, qx::SqliteFile::ReadOnly);
    EXPECT_TRUE(qx::databaseIntact(check.handle()));
    EXPECT_EQ(digest(program.databasePath()), programDatabaseDigest);
}

// A disk that fills up while the compacted copy is written: "数据整理出错！", the live database
// as it was, no half copy left behind to block the next run, and the next run compacts.
TEST_F(CompactTest, AFullDiskLeavesTheDatabaseAsItWasAndNoScratchFile)
{
    addCustomer(QStringLiteral("KEEP"));
    const QByteArray live = digest(DatabasePath);
    ASSERT_GT(QFileInfo(DatabasePath).size(), 16384);
    dialogs().answerMessage(mrOk);
    {
        qxtest::FileSizeLimit full(8192);
        ASSERT_TRUE(full.ok());
        click(u"压缩数据");
    }
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("数据整理出错！")});
    EXPECT_EQ(digest(DatabasePath), live);
    EXPECT_FALSE(QFileInfo::exists(scratchFile()));
    EXPECT_TRUE(module->ADOConnection->Connected());
    EXPECT_EQ(customers(), QStringList{QStringLiteral("KEEP")});

    dialogs().clear();
    dialogs().answerMessage(mrOk);
    click(u"压缩数据");
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("数据整理成功！")});
    EXPECT_EQ(customers(), QStringList{QStringLiteral("KEEP")});
}

TEST_F(CompactTest, ProgressWindowIsTheSmallSkyBlueOne)
{
    TFrmShowProcMess form;
    EXPECT_EQ(form.size(), QSize(333, 81));
    EXPECT_EQ(form.Color(), clSkyBlue);
    EXPECT_TRUE(form.Caption().isEmpty());
    EXPECT_TRUE(form.Lb->font().bold());
    EXPECT_EQ(form.PB->minimum(), 0);
    EXPECT_EQ(form.PB->maximum(), 100);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowSystemMenuHint);
}

TEST_F(CompactTest, CompactedCopyNeedsAFreeTarget)
{
    addCustomer(QStringLiteral("C1"));
    module->ADOConnection->Close();
    const QString folder = program.programFolder();
    auto at = [&](const char* name) { return QDir(folder).filePath(QLatin1String(name)); };
    writeFile(at("taken.mdb"), "something");
    writeFile(at("empty.mdb"), QByteArray());
    writeFile(at("text.mdb"), "no database");

    const struct
    {
        QString source;
        QString target;
        bool compacted;
    } cases[] = {
        {DatabasePath, at("new.mdb"), true},
        {DatabasePath, at("empty.mdb"), true},
        {DatabasePath, at("taken.mdb"), false},
        {at("text.mdb"), at("fromtext.mdb"), false},
        {at("missing.mdb"), at("frommissing.mdb"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        const QByteArray before = digest(c.target);
        EXPECT_EQ(CompactDatabaseFile(c.source, c.target), c.compacted);
        if (c.compacted) {
            qx::SqliteFile copy(c.target, qx::SqliteFile::ReadOnly);
            EXPECT_TRUE(qx::databaseIntact(copy.handle()));
            EXPECT_TRUE(qx::hasTable(copy.handle(), QStringLiteral("t_Client")));
        } else if (!before.isEmpty()) {
            EXPECT_EQ(digest(c.target), before);
        } else {
            EXPECT_FALSE(QFileInfo::exists(c.target));
        }
    }
    EXPECT_TRUE(dialogs().shown().isEmpty());
    module->ADOConnection->Open();
}

} // namespace qx::app::maintenance_test
