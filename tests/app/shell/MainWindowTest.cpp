// The main window: the menus, the login at start-up, the status bar, the dispatcher behind
// the rights check, the report-centre menu, the change of operator and the close.
#include "ShellFixture.h"
#include "tests/support/Scoped.h"

#include "app/shell/ColorPanel.h"

#include "app/shell/ProgramIcon.h"
#include "app/shell/uABusinessBase.h"
#include "app/shell/uAMain.h"
#include "app/shell/uAlogin.h"
#include "app/data/uStartup.h"
#include "platform/env/Clock.h"
#include "platform/rtl/DateTime.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/stream/uQxDllCall.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScopeGuard>
#include <QTest>

namespace qx::app::test {
namespace {

// The answer of a login dialog: choose the operator, type the password, press a button.
std::function<void(QDialog&)> loginAs(const QString& code, const QString& password,
                                      bool pressCancelAfterwards = false)
{
    return [=](QDialog& dialog) {
        auto& login = dynamic_cast<TFrmALogin&>(dialog);
        login.CbxUsercode->setCurrentIndex(login.CbxUsercode->findText(code));
        login.EdtPassword->setText(password);
        QTest::mouseClick(login.BtnLogin, Qt::LeftButton);
        if (pressCancelAfterwards && login.isVisible())
            QTest::mouseClick(login.BtnCancel, Qt::LeftButton);
    };
}

std::function<void(QDialog&)> cancelLogin()
{
    return [](QDialog& dialog) {
        QTest::mouseClick(dynamic_cast<TFrmALogin&>(dialog).BtnCancel, Qt::LeftButton);
    };
}

// A browser standing in for the modules later units register.
class TestBrowser : public TFrmABusinessBase
{
public:
    explicit TestBrowser(const QString& name)
    {
        setObjectName(name);
        SetCaption(name);
    }
};

class MainWindowTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        setToday(EncodeDate(2006, 3, 5));
    }

    void TearDown() override
    {
        main.reset();
        clearToday();
        ShellTest::TearDown();
    }

    // The main window after the start-up login of the operator.
    TFrmAMain& loggedIn(const QString& code, const QString& password = QString())
    {
        main = std::make_unique<TFrmAMain>();
        dialogs().answerDialog(loginAs(code, password));
        main->show();
        QApplication::setActiveWindow(main.get());
        QCoreApplication::processEvents();
        EXPECT_EQ(CurrentUser, code);
        return *main;
    }

    void registerBrowser(const QString& formClass, int* made = nullptr)
    {
        registerForm(formClass, [formClass, made](TFrmAMain&) -> QWidget* {
            if (made)
                ++*made;
            return new TestBrowser(formClass.mid(1));
        });
    }

    std::unique_ptr<TFrmAMain> main;
};

// What a click on a menu item asks the form registry for, the right it needs, and where it is.
struct ItemCase
{
    const char16_t* menu;
    const char16_t* item;
    const char16_t* right;  // module '-' function, or empty when the item needs none
    const char16_t* opens;  // the form class asked for, or the maintenance command's caption
};

const ItemCase kItemCases[] = {
    {u"每天作业", u"工单管理", u"主-工单管理", u"TFrmDayIn"},
    {u"每天作业", u"采购管理", u"主-采购管理", u"TFrmAinBowser"},
    {u"每天作业", u"库存管理", u"主-库存管理", u"TFrmAstock"},
    {u"每天作业", u"盘点管理", u"主-盘点管理", u"TFrmCheckBowser"},
    {u"每天作业", u"其他收支", u"主-其他收支", u"TFrmADayAccount"},
    {u"每天作业", u"支付凭证", u"主-支付凭证", u"TFrmAPayBowser"},
    {u"基础资料", u"客户档案", u"主-客户档案", u"TFrmAVehicle"},
    {u"基础资料", u"维修项目", u"主-维修项目", u"TFrmAServiceItem"},
    {u"基础资料", u"供应商档案", u"主-供应商档案", u"TFrmASupplierFile"},
    {u"基础资料", u"固定资料", u"主-固定资料", u"TFrmAShareBase"},
    {u"统计分析", u"财务统计", u"主-财务统计", u"TFrmtj"},
    {u"统计分析", u"统计分析", u"主-统计分析", u"TFrmTotal"},
    {u"系统管理", u"系统设置", u"主-系统设置", u"TFrmSystemSetup"},
    {u"系统管理", u"数据初始化", u"系统设置-初始化", u"TFrmClearData"},
    {u"系统管理", u"操作员及权限", u"系统设置-操作员及权限", u"TFrmRightSet"},
    {u"系统管理", u"升级数据", u"系统设置-数据升级", u"TFrmUpData"},
    {u"系统管理", u"条码打印", u"", u"TFrmCodeBar"},
    {u"系统管理", u"压缩数据", u"", u"压缩数据"},
    {u"系统管理", u"备份数据", u"", u"备份数据"},
    {u"系统管理", u"恢复数据", u"", u"恢复数据"},
};

// With nothing registered, a click reports the form or command it asked for: what the item
// opens once the unit that makes it is in.
TEST_F(MainWindowTest, EachItemOpensItsOwnForm)
{
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    for (const ItemCase& c : kItemCases) {
        const QString item = QString::fromUtf16(c.item);
        SCOPED_TRACE(item.toStdString());
        QAction* action = window.MenuItem(QString::fromUtf16(c.menu), item);
        ASSERT_NE(action, nullptr);
        EXPECT_TRUE(action->isVisible());
        const qx::test::ScopedMissingBindings missing;
        window.ClickMenuItem(action);
        EXPECT_EQ(missing.reported(), QStringList{QString::fromUtf16(c.opens)});
    }
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

// Without its right an item says which right is missing and asks for no form; an item that
// needs no right opens for everyone.
TEST_F(MainWindowTest, EachItemAsksForItsRight)
{
    addOperator(QStringLiteral("李四"), hashPassword(QString()), {});
    TFrmAMain& window = loggedIn(QStringLiteral("李四"));
    for (const ItemCase& c : kItemCases) {
        const QString item = QString::fromUtf16(c.item);
        const QString right = QString::fromUtf16(c.right);
        SCOPED_TRACE(item.toStdString());
        const qx::test::ScopedMissingBindings missing;
        dialogs().clear();
        if (!right.isEmpty())
            dialogs().answerMessage(mrOk);
        window.ClickMenuItem(window.MenuItem(QString::fromUtf16(c.menu), item));
        if (right.isEmpty()) {
            EXPECT_TRUE(dialogs().messages().isEmpty());
            EXPECT_EQ(missing.reported().size(), 1);
        } else {
            EXPECT_EQ(dialogs().messages(),
                      QStringList{QStringLiteral("对不起你没有 [") + right.section(u'-', 1)
                                  + QStringLiteral("] 的权限")});
            EXPECT_TRUE(missing.reported().isEmpty());
        }
    }
}

// Items of the modules this shop does not run are out of reach.
TEST_F(MainWindowTest, ModulesTheShopDoesNotRunAreHidden)
{
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    for (const auto& [menu, item] : {std::pair{u"每天作业", u"销售管理"}, {u"每天作业", u"车辆年季审"},
                                     {u"统计分析", u"分类统计"}, {u"统计分析", u"每日提醒"},
                                     {u"关于", u"快 捷 导 航"}}) {
        QAction* action = window.MenuItem(QString::fromUtf16(menu), QString::fromUtf16(item));
        ASSERT_NE(action, nullptr) << QString::fromUtf16(item).toStdString();
        EXPECT_FALSE(action->isVisible()) << QString::fromUtf16(item).toStdString();
    }
}

TEST_F(MainWindowTest, StatusBarShowsProductOperatorAndDate)
{
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    EXPECT_EQ(window.StatusPanel(0), ApplicationTitle());
    EXPECT_EQ(window.StatusPanel(1), QStringLiteral("当前用户：高级用户"));
    EXPECT_EQ(window.StatusPanel(2), QStringLiteral("业务日期:2006年3月5日 "));
    EXPECT_EQ(window.StatusPanel(3), QString());
    EXPECT_EQ(window.Caption(), ApplicationTitle());
    EXPECT_TRUE(window.MMMain->isEnabled());
}

TEST_F(MainWindowTest, CancelledLoginAtStartupEndsTheProgram)
{
    main = std::make_unique<TFrmAMain>();
    dialogs().answerDialog(cancelLogin());
    main->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(programTerminated());
    EXPECT_TRUE(CurrentUser.isEmpty());
    EXPECT_FALSE(main->MMMain->isEnabled()) << "no menu for anyone";
}

TEST_F(MainWindowTest, ClosedLoginAtStartupEndsTheProgram)
{
    main = std::make_unique<TFrmAMain>();
    dialogs().answerDialog(mrCancel);
    main->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(programTerminated());
}

TEST_F(MainWindowTest, FlagsComeFromTheShopSettings)
{
    exec(QStringLiteral("update tReportTitle set isStock = 1, isBackup = 1"));
    TFrmAMain window;
    EXPECT_TRUE(StockEnabled);
    EXPECT_TRUE(BackupOnExit);
    EXPECT_EQ(window.ProgramFolder, qx::programFolder());
}

TEST_F(MainWindowTest, DispatcherRefusesAModuleWithoutTheRight)
{
    addOperator(QStringLiteral("李四"), hashPassword(QString()), {QStringLiteral("主-库存管理")});
    int made = 0;
    registerBrowser(QStringLiteral("TFrmDayIn"), &made);
    TFrmAMain& window = loggedIn(QStringLiteral("李四"));
    dialogs().answerMessage(mrOk);
    window.ClickMenuItem(window.MenuItem(QStringLiteral("每天作业"), QStringLiteral("工单管理")));
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("对不起你没有 [工单管理] 的权限")});
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(window.MdiArea->subWindowList().isEmpty());
}

TEST_F(MainWindowTest, DispatcherOpensAModuleOnceAndBringsItForward)
{
    addOperator(QStringLiteral("李四"), hashPassword(QString()),
                {QStringLiteral("主-工单管理"), QStringLiteral("    主-库存管理")});
    int made = 0;
    registerBrowser(QStringLiteral("TFrmDayIn"), &made);
    registerBrowser(QStringLiteral("TFrmAstock"));
    TFrmAMain& window = loggedIn(QStringLiteral("李四"));
    QAction* item = window.MenuItem(QStringLiteral("每天作业"), QStringLiteral("工单管理"));
    window.ClickMenuItem(item);
    window.ClickMenuItem(window.MenuItem(QStringLiteral("每天作业"), QStringLiteral("库存管理")));
    window.ClickMenuItem(item);
    EXPECT_EQ(made, 1);
    ASSERT_EQ(window.MdiArea->subWindowList().size(), 2);
    QMdiSubWindow* active = window.MdiArea->currentSubWindow();
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->widget()->objectName().toUpper(), QStringLiteral("FRMDAYIN"));
    EXPECT_TRUE(dialogs().messages().isEmpty());

    // "退出" of the browser frees it, frame and all; the next choice makes a fresh one.
    auto* browser = dynamic_cast<TFrmABusinessBase*>(active->widget());
    ASSERT_NE(browser, nullptr);
    QPointer<QWidget> gone(browser);
    QTest::mouseClick(browser->BtnClose, Qt::LeftButton);
    flushDeletes();
    flushDeletes();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(window.MdiArea->subWindowList().size(), 1);
    window.ClickMenuItem(item);
    EXPECT_EQ(made, 2);
}

TEST_F(MainWindowTest, DeviceFileHasTwoCaptions)
{
    int made = 0;
    registerBrowser(QStringLiteral("TFrmAVehicle"), &made);
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    window.OpenModuleByCaption(QStringLiteral("客户档案"));
    window.OpenModuleByCaption(QStringLiteral("车辆档案"));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(window.MdiArea->subWindowList().size(), 1);
}

TEST_F(MainWindowTest, ModuleNotBuiltSaysSoAfterTheRightsCheck)
{
    addOperator(QStringLiteral("李四"), hashPassword(QString()), {QStringLiteral("主-维修项目")});
    TFrmAMain& window = loggedIn(QStringLiteral("李四"));
    const qx::test::ScopedMissingBindings missing;
    window.ClickMenuItem(window.MenuItem(QStringLiteral("基础资料"), QStringLiteral("维修项目")));
    EXPECT_TRUE(window.MdiArea->subWindowList().isEmpty());
    EXPECT_EQ(missing.reported(), QStringList{QStringLiteral("TFrmAServiceItem")});
    dialogs().answerMessage(mrOk);
    window.ClickMenuItem(window.MenuItem(QStringLiteral("基础资料"), QStringLiteral("供应商档案")));
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("对不起你没有 [供应商档案] 的权限")});
    EXPECT_EQ(missing.reported().size(), 1);
}

// In the program a missing form is an error box that names it.
TEST_F(MainWindowTest, MissingFormIsShownAsAnError)
{
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    const auto restore = qScopeGuard([] { setMissingBindingHandler(qx::test::failOnMissingBinding()); });
    setMissingBindingHandler({});
    dialogs().answerMessage(mrOk);
    window.ClickMenuItem(window.MenuItem(QStringLiteral("系统管理"), QStringLiteral("压缩数据")));
    EXPECT_EQ(dialogs().messages(),
              QStringList{QStringLiteral("程序缺少功能模块 [压缩数据]，请重新安装本软件。")});
}

TEST_F(MainWindowTest, SystemItemsCheckTheirRights)
{
    addOperator(QStringLiteral("李四"), hashPassword(QString()), {QStringLiteral("系统设置-操作员及权限")});
    int rightsDialogs = 0;
    registerForm(QStringLiteral("TFrmRightSet"), [&](TFrmAMain&) -> QWidget* {
        ++rightsDialogs;
        auto* dialog = new QDialog;
        dialog->setObjectName(QStringLiteral("FrmRightSet"));
        return dialog;
    });
    TFrmAMain& window = loggedIn(QStringLiteral("李四"));
    dialogs().answerDialog(mrOk);
    window.ClickMenuItem(window.MenuItem(QStringLiteral("系统管理"), QStringLiteral("操作员及权限")));
    EXPECT_EQ(rightsDialogs, 1);
    dialogs().answerMessage(mrOk);
    window.ClickMenuItem(window.MenuItem(QStringLiteral("系统管理"), QStringLiteral("数据初始化")));
    dialogs().answerMessage(mrOk);
    window.ClickMenuItem(window.MenuItem(QStringLiteral("系统管理"), QStringLiteral("升级数据")));
    EXPECT_EQ(dialogs().messages(),
              (QStringList{QStringLiteral("对不起你没有 [初始化] 的权限"),
                           QStringLiteral("对不起你没有 [数据升级] 的权限")}));
}

TEST_F(MainWindowTest, ReportMenuListsTheStoredReportsInOrder)
{
    exec(QStringLiteral("delete from tQueryReport"));
    exec(QStringLiteral("insert into tQueryReport (ReportName, OrderIndex) values ('维修历史配件别', 2), "
                        "('维修历史工单别', 1), ('营业日报', 3)"));
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    QStringList captions;
    for (QAction* item : window.ReportItems())
        captions << item->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("维修历史工单别"), QStringLiteral("维修历史配件别"),
                                     QStringLiteral("营业日报")}));
    const QList<QAction*> all = window.Menu(QStringLiteral("报表中心"))->actions();
    ASSERT_EQ(all.size(), 5);
    EXPECT_EQ(all[2]->text(), QStringLiteral("维修历史工单别"));
}

TEST_F(MainWindowTest, ReportItemWithoutTheRightDoesNotLoadTheLibrary)
{
    exec(QStringLiteral("delete from tQueryReport"));
    exec(QStringLiteral("insert into tQueryReport (ReportName, OrderIndex) values ('维修历史工单别', 1)"));
    addOperator(QStringLiteral("李四"), hashPassword(QString()), {QStringLiteral("主-工单管理")});
    TFrmAMain& window = loggedIn(QStringLiteral("李四"));
    const int loads = qx::dllLoadCount();
    dialogs().answerMessage(mrOk);
    window.ClickMenuItem(window.ReportItems().value(0));
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("对不起你没有 [维修历史工单别] 的权限")});
    EXPECT_EQ(qx::dllLoadCount(), loads);
}

TEST_F(MainWindowTest, ReportSettingsWithTheLibraryMissingSaysSoEachTime)
{
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    QAction* item = window.MenuItem(QStringLiteral("报表中心"), QStringLiteral("报表设置"));
    dialogs().answerMessage(mrOk);
    window.ClickMenuItem(item);
    dialogs().answerMessage(mrOk);
    window.ClickMenuItem(item);
    const QStringList shown = dialogs().messages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("在调入["))) << shown[0].toStdString();
    EXPECT_EQ(shown[0], shown[1]);
}

TEST_F(MainWindowTest, CancelledChangeOfOperatorKeepsThePreviousOperator)
{
    addOperator(QStringLiteral("张三"), hashPassword(QStringLiteral("ABC")), {QStringLiteral("主-工单管理")});
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    // A wrong password empties CurrentUser; "取消" then gives the operator back.
    dialogs().answerDialog(loginAs(QStringLiteral("张三"), QStringLiteral("bad"), true));
    dialogs().answerMessage(mrOk);
    window.ClickMenuItem(window.MenuItem(QStringLiteral("系统管理"), QStringLiteral("更换用户")));
    EXPECT_EQ(CurrentUser, QStringLiteral("高级用户"));
    EXPECT_FALSE(programTerminated());
    EXPECT_EQ(window.StatusPanel(1), QStringLiteral("当前用户：高级用户"));

    // Closing the dialog after a failed attempt keeps the operator too.
    dialogs().answerDialog(loginAs(QStringLiteral("张三"), QStringLiteral("bad")));
    dialogs().answerMessage(mrOk);
    window.ClickMenuItem(window.MenuItem(QStringLiteral("系统管理"), QStringLiteral("更换用户")));
    EXPECT_EQ(CurrentUser, QStringLiteral("高级用户"));
}

TEST_F(MainWindowTest, StatusBarFollowsTheNewOperator)
{
    addOperator(QStringLiteral("张三"), hashPassword(QStringLiteral("ABC")), {QStringLiteral("主-工单管理")});
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    dialogs().answerDialog(loginAs(QStringLiteral("张三"), QStringLiteral("abc")));
    window.ClickMenuItem(window.MenuItem(QStringLiteral("系统管理"), QStringLiteral("更换用户")));
    EXPECT_EQ(CurrentUser, QStringLiteral("张三"));
    EXPECT_EQ(window.StatusPanel(1), QStringLiteral("当前用户：张三"));
}

TEST_F(MainWindowTest, CloseAsksFirst)
{
    exec(QStringLiteral("update tReportTitle set isBackup = 0"));
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    dialogs().answerMessage(mrNo);
    window.Close();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(module->ADOConnection->Connected());
    EXPECT_FALSE(programTerminated());
    ASSERT_EQ(dialogs().shown().size(), 2);
    EXPECT_EQ(dialogs().shown()[1].caption, QStringLiteral("提示！"));
    EXPECT_EQ(dialogs().shown()[1].icon, MessageIcon::Question);

    dialogs().answerMessage(mrYes);
    window.Close();
    EXPECT_FALSE(module->ADOConnection->Connected());
    EXPECT_TRUE(programTerminated());
}

TEST_F(MainWindowTest, BackupOnExitRunsForTheLocalDatabaseOnly)
{
    int backups = 0;
    registerForm(QStringLiteral("TFrmBackupExit"), [&](TFrmAMain&) -> QWidget* {
        ++backups;
        return new QDialog;
    });
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    BackupOnExit = true;
    dialogs().answerMessage(mrYes);
    dialogs().answerDialog(mrOk);
    window.Close();
    EXPECT_EQ(backups, 1);

    resetProgramTerminated();
    ASSERT_NO_THROW(module->ADOConnection->Open());
    main.reset();
    TFrmAMain& second = loggedIn(QStringLiteral("高级用户"));
    BackupOnExit = false;
    dialogs().answerMessage(mrYes);
    second.Close();
    EXPECT_EQ(backups, 1) << "no backup without the flag";
}

TEST_F(MainWindowTest, SharedDatabaseEndsWithoutTheBackup)
{
    int backups = 0;
    registerForm(QStringLiteral("TFrmBackupExit"), [&](TFrmAMain&) -> QWidget* {
        ++backups;
        return new QDialog;
    });
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    BackupOnExit = true;
    DatabasePath = QStringLiteral("//server/shop/Account.mdb");
    dialogs().answerMessage(mrYes);
    window.Close();
    EXPECT_EQ(backups, 0);
    EXPECT_TRUE(programTerminated());
}

// The title bars of the main window, the desktop and every browser carry the program's own
// icon, never the toolkit's.
TEST_F(MainWindowTest, TitleBarsShowTheProgramsIcon)
{
    addOperator(QStringLiteral("李四"), hashPassword(QString()), {QStringLiteral("主-工单管理")});
    registerBrowser(QStringLiteral("TFrmDayIn"));
    TFrmAMain& window = loggedIn(QStringLiteral("李四"));
    window.AddMdiChild(new QWidget); // as the desktop goes in
    window.ClickMenuItem(window.MenuItem(QStringLiteral("每天作业"), QStringLiteral("工单管理")));
    const QImage own = ProgramIconPicture(32).toImage();
    EXPECT_EQ(window.windowIcon().pixmap(32, 32).toImage(), own);
    const QList<QMdiSubWindow*> subs = window.MdiArea->subWindowList();
    ASSERT_EQ(subs.size(), 2);
    for (QMdiSubWindow* sub : subs)
        EXPECT_EQ(sub->windowIcon().pixmap(32, 32).toImage(), own) << sub->widget()->objectName().toStdString();
    // Not the blank picture of an empty icon either.
    EXPECT_NE(own.pixelColor(16, 16).alpha(), 0);
}

// The about window: white, filled by its picture, with an edge that reads as a window's.
TEST_F(MainWindowTest, AboutWindowIsAWhiteWindowWithAFramedPicture)
{
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    QImage shot;
    QLabel* picture = nullptr;
    dialogs().answerDialog([&](QDialog& dialog) {
        shot = dialog.grab().toImage();
        picture = dialog.findChild<QLabel*>(QStringLiteral("Image1"));
        EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(Qt::white));
        if (picture) {
            EXPECT_FALSE(picture->pixmap().isNull());
            EXPECT_EQ(picture->geometry(), QRect(0, 0, 589, 399));
            EXPECT_TRUE(picture->text().isEmpty());
        }
        dialog.reject();
    });
    window.ClickMenuItem(window.MenuItem(QStringLiteral("关于"), QStringLiteral("关 于本软件")));
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(shot.size(), QSize(589, 399));
    // The edge: every pixel of the outer line is dark, all the way round.
    const QColor edge = shot.pixelColor(0, 0);
    EXPECT_LT(edge.lightness(), 128);
    for (int x = 0; x < shot.width(); x += 7) {
        EXPECT_EQ(shot.pixelColor(x, 0), edge) << x;
        EXPECT_EQ(shot.pixelColor(x, shot.height() - 1), edge) << x;
    }
    for (int y = 0; y < shot.height(); y += 7) {
        EXPECT_EQ(shot.pixelColor(0, y), edge) << y;
        EXPECT_EQ(shot.pixelColor(shot.width() - 1, y), edge) << y;
    }
    // Inside it the window is white where the picture draws nothing.
    EXPECT_EQ(shot.pixelColor(20, shot.height() - 20), QColor(Qt::white));
}

TEST_F(MainWindowTest, AboutWindowClosesOnAClick)
{
    TFrmAMain& window = loggedIn(QStringLiteral("高级用户"));
    bool closed = false;
    dialogs().answerDialog([&](QDialog& dialog) {
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(10, 10));
        closed = !dialog.isVisible();
    });
    window.ClickMenuItem(window.MenuItem(QStringLiteral("关于"), QStringLiteral("关 于本软件")));
    EXPECT_TRUE(closed);
    EXPECT_EQ(dialogs().shown().last().caption, QStringLiteral("关于本软件"));
}

} // namespace
} // namespace qx::app::test
