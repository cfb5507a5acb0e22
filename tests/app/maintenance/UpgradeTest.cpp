// "升级数据" (TFrmUpData): an upgrade from an older database with extra and missing tables and
// columns (new numbers, old codes, the skip list untouched); the current database chosen under
// another spelling of its path refused; a file that is no database; a failure in the middle that
// leaves every table as it was; the dialog's look and keys.
#include "MaintenanceFixture.h"

#include "app/maintenance/DataUpgrade.h"
#include "app/maintenance/uUpData.h"
#include "app/shell/ColorPanel.h"
#include "platform/db/sql/SqliteBackup.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

namespace qx::app::maintenance_test {

class UpgradeTest : public MaintenanceTest
{
protected:
    // An older database of the system: some tables spelt in another case, columns missing and
    // added, a table the current database does not have, and rows in the tables the upgrade skips.
    QString makeOldDatabase()
    {
        const QString file = oldFolder.filePath(QStringLiteral("Old.mdb"));
        TADOConnection::CreateDatabase(file);
        qx::SqliteFile old(file, qx::SqliteFile::ReadWrite);
        old.exec("CREATE TABLE T_STOCK (ID INTEGER PRIMARY KEY AUTOINCREMENT, itemcode TEXT, ItemName TEXT,"
                 "  Qty INTEGER, Price REAL, OldColumn TEXT);"
                 "INSERT INTO T_STOCK (ID, itemcode, ItemName, Qty, Price, OldColumn) VALUES"
                 "  (1, 'A-1', '屏幕', 3, 120.5, 'x'), (2, 'A-2', '电池', 5, 80, 'y'), (3, 'A-3', '外壳', 0, 15.25, 'z');"
                 "CREATE TABLE t_Client (id INTEGER, CCode TEXT, CName TEXT);"
                 "INSERT INTO t_Client VALUES (7, 'OLD1', '老客户一'), (8, 'OLD2', '老客户二');"
                 "CREATE TABLE t_Model (Unshared TEXT);"
                 "INSERT INTO t_Model VALUES ('no common column');"
                 "CREATE TABLE tReportTitle (CorpName TEXT, isStock INTEGER, isBackup INTEGER);"
                 "INSERT INTO tReportTitle VALUES ('老店', NULL, -1), ('分店', 1, NULL), ('三店', '否', 'yes');"
                 "CREATE TABLE t_OldOnly (a TEXT);"
                 "INSERT INTO t_OldOnly VALUES ('ignored');"
                 "CREATE TABLE t_UserDB (UserCode TEXT, Password TEXT, \"Right\" TEXT);"
                 "INSERT INTO t_UserDB VALUES ('旧操作员', '', '主-工单管理');"
                 "CREATE TABLE tQueryReport (ReportName TEXT);"
                 "INSERT INTO tQueryReport VALUES ('旧报表');"
                 "CREATE TABLE tDictMst (Tablename TEXT);"
                 "INSERT INTO tDictMst VALUES ('t_Old');"
                 "CREATE VIEW V_Old AS SELECT 1 AS one;");
        return file;
    }

    // Opens "升级数据" from the menu and hands the dialog to act.
    void openUpData(std::function<void(TFrmUpData&)> act)
    {
        dialogs().answerDialog([act](QDialog& dialog) { act(dynamic_cast<TFrmUpData&>(dialog)); });
        click(u"升级数据");
    }

    // Chooses the file in the file dialog; a message that choosing it brings is answered OK.
    void chooseFile(TFrmUpData& form, const QString& file, bool withMessage = false)
    {
        dialogs().answerFile(file);
        if (withMessage)
            dialogs().answerMessage(mrOk);
        QTest::mouseClick(form.BtnFile, Qt::LeftButton);
    }

    QTemporaryDir oldFolder;
};

TEST_F(UpgradeTest, OlderDatabaseIsCopiedTableByTable)
{
    const QString old = makeOldDatabase();
    exec(QStringLiteral("insert into t_Stock (ItemCode, Qty) values ('CUR1', 1), ('CUR2', 2), ('CUR3', 3), ('CUR4', 4), ('CUR5', 5)"));
    exec(QStringLiteral("insert into t_Model (Model) values ('current model')"));
    exec(QStringLiteral("insert into t_Card (CardNo) values ('K1')"));
    const QStringList operators = snapshot().value(QStringLiteral("t_UserDB"));
    const QStringList reports = snapshot().value(QStringLiteral("tQueryReport"));
    const QStringList dictionary = snapshot().value(QStringLiteral("tDictMst"));
    const QByteArray oldBytes = digest(old);

    openUpData([&](TFrmUpData& form) {
        chooseFile(form, old);
        EXPECT_EQ(form.EdtPath->Text(), old);
        dialogs().answerMessage(mrOk);
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(form.BtnUpData, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.Pb1->isVisible());
    });
    ASSERT_EQ(dialogs().shown().size(), 4);
    EXPECT_EQ(dialogs().shown()[2].text, QStringLiteral("是否要升级。"));
    EXPECT_EQ(dialogs().shown()[2].caption, QStringLiteral("询问"));
    EXPECT_EQ(dialogs().shown()[2].buttons, (QList<int>{mrOk, mrCancel}));
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("升级成功!"));

    // New numbers after the current ones; the old codes, names, quantities and prices in order;
    // the columns the old table lacks take their defaults.
    TADOQuery q;
    q.SetConnection(module->ADOConnection);
    q.SQL().SetText(QStringLiteral("select ID, ItemCode, ItemName, Qty, Price, CostPrice from t_Stock order by ID"));
    q.Open();
    ASSERT_EQ(q.RecordCount(), 3);
    const char* codes[] = {"A-1", "A-2", "A-3"};
    const double prices[] = {120.5, 80, 15.25};
    const int quantities[] = {3, 5, 0};
    int i = 0;
    for (q.First(); !q.Eof(); q.Next(), ++i) {
        EXPECT_GT(q.FieldByName(QStringLiteral("ID"))->AsInteger(), 5);
        EXPECT_EQ(q.FieldByName(QStringLiteral("ItemCode"))->AsString(), QLatin1String(codes[i]));
        EXPECT_EQ(q.FieldByName(QStringLiteral("Qty"))->AsInteger(), quantities[i]);
        EXPECT_DOUBLE_EQ(q.FieldByName(QStringLiteral("Price"))->AsFloat(), prices[i]);
        EXPECT_DOUBLE_EQ(q.FieldByName(QStringLiteral("CostPrice"))->AsFloat(), 0);
    }
    EXPECT_EQ(customers(), (QStringList{QStringLiteral("OLD1"), QStringLiteral("OLD2")}));
    EXPECT_EQ(count(QStringLiteral("t_Model")), 0) << "no common column: emptied, nothing added";
    EXPECT_EQ(scalar(QStringLiteral("select CorpName from tReportTitle")).toString(), QStringLiteral("老店"));
    // Yes/No columns allow no Null now: a Null comes over as 0, any true value as 1.
    EXPECT_EQ(scalar(QStringLiteral("select group_concat(CorpName || ':' || isStock || isBackup, ' ') "
                                    "from (select * from tReportTitle order by rowid)"))
                  .toString(),
              QStringLiteral("老店:01 分店:10 三店:01"));
    EXPECT_EQ(count(QStringLiteral("t_Card")), 1) << "a table the older database lacks keeps its rows";
    EXPECT_EQ(snapshot().value(QStringLiteral("t_UserDB")), operators);
    EXPECT_EQ(snapshot().value(QStringLiteral("tQueryReport")), reports);
    EXPECT_EQ(snapshot().value(QStringLiteral("tDictMst")), dictionary);
    EXPECT_EQ(digest(old), oldBytes) << "the older database is only read";
}

TEST_F(UpgradeTest, CurrentDatabaseUnderAnotherNameIsRefused)
{
    const QString folder = oldFolder.path();
    ASSERT_TRUE(QFile::link(DatabasePath, QDir(folder).filePath(QStringLiteral("link.mdb"))));
    ASSERT_TRUE(QFile::link(QFileInfo(DatabasePath).absolutePath(), QDir(folder).filePath(QStringLiteral("shop"))));
    const QString spellings[] = {
        QDir(folder).filePath(QStringLiteral("link.mdb")),
        QDir(folder).filePath(QStringLiteral("shop/")) + QFileInfo(DatabasePath).fileName(),
        QFileInfo(DatabasePath).absolutePath() + QStringLiteral("/./") + QFileInfo(DatabasePath).fileName(),
    };
    addCustomer(QStringLiteral("KEEP"));
    const QMap<QString, QStringList> before = snapshot();
    for (const QString& spelling : spellings) {
        SCOPED_TRACE(spelling.toStdString());
        dialogs().clear();
        openUpData([&](TFrmUpData& form) {
            chooseFile(form, spelling, true);
            EXPECT_TRUE(form.OldDatabase.isEmpty());
            dialogs().answerMessage(mrOk);
            dialogs().answerMessage(mrOk);
            QTest::mouseClick(form.BtnUpData, Qt::LeftButton);
            EXPECT_TRUE(form.isVisible());
        });
        EXPECT_EQ(dialogs().messages(),
                  (QStringList{QStringLiteral("不能选择当前正在使用的数据库!"), QStringLiteral("是否要升级。"),
                               QStringLiteral("请设置右边的原账套数据库")}));
    }
    EXPECT_EQ(snapshot(), before);
    // Asked straight, the upgrade refuses the current database too.
    EXPECT_THROW(UpgradeFrom(*module->ADOConnection, spellings[0]), EDatabaseError);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(UpgradeTest, AFileThatIsNoDatabaseIsNotTaken)
{
    const QString text = oldFolder.filePath(QStringLiteral("notes.mdb"));
    writeFile(text, "这不是数据库\r\n");
    openUpData([&](TFrmUpData& form) {
        chooseFile(form, text, true); // the error
        EXPECT_TRUE(form.OldDatabase.isEmpty());
        dialogs().answerMessage(mrOk);
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(form.BtnUpData, Qt::LeftButton);
    });
    ASSERT_EQ(dialogs().messages().size(), 3);
    EXPECT_EQ(dialogs().messages()[0], QStringLiteral("数据库文件已损坏，或不是数据库文件。"));
    EXPECT_EQ(dialogs().messages()[2], QStringLiteral("请设置右边的原账套数据库"));
}

// A row refused in the middle (a trigger stands in for a broken disk): the tables already
// copied come back too, and the dialog stays.
TEST_F(UpgradeTest, FailureInTheMiddleLeavesEveryTableAsItWas)
{
    const QString old = makeOldDatabase();
    addCustomer(QStringLiteral("KEEP"));
    exec(QStringLiteral("insert into t_Stock (ItemCode) values ('KEEP')"));
    exec(QStringLiteral("create trigger refuse before insert on t_Stock begin select raise(abort, 'disk error'); end"));
    const QMap<QString, QStringList> before = snapshot();
    openUpData([&](TFrmUpData& form) {
        chooseFile(form, old);
        dialogs().answerMessage(mrOk);
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(form.BtnUpData, Qt::LeftButton);
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.Pb1->isVisible());
        QTest::mouseClick(form.BtnExit, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(dialogs().messages().last(), QStringLiteral("升级不成功!"));
    EXPECT_FALSE(module->ADOConnection->InTransaction());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(UpgradeTest, DialogTakesItsColourAndEscCloses)
{
    openUpData([&](TFrmUpData& form) {
        EXPECT_EQ(form.Caption(), QStringLiteral("升级数据"));
        EXPECT_EQ(form.Color(), TColor(0xDEF2FF));
        EXPECT_EQ(form.pnlleft->Color(), TColor(0xDEF2FF));
        EXPECT_EQ(form.BtnFile->Hint(), QStringLiteral("点击按钮或按+/F5键选择设定数据"));
        EXPECT_FALSE(form.Pb1->isVisible());
        // Cancelling the question does nothing.
        dialogs().answerMessage(mrCancel);
        QTest::mouseClick(form.BtnUpData, Qt::LeftButton);
        EXPECT_TRUE(form.isVisible());
        QTest::keyClick(&form, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("是否要升级。")});
}

} // namespace qx::app::maintenance_test
