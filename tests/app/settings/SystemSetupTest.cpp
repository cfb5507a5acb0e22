// The system settings dialog: the round trip of the settings row and the home page on every
// close, an empty settings table, the two switches taking effect at once, and what a close
// that cannot save does.
#include "SettingsFixture.h"

#include "app/settings/SettingsForms.h"
#include "app/settings/uADict.h"
#include "app/shell/uAMain.h"
#include "app/shell/uAlogin.h"
#include "app/shell/ColorPanel.h"
#include "platform/ini/IniFile.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QTabWidget>

namespace qx::app::test {

class SystemSetupTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        CurrentUser = QStringLiteral("高级用户");
        exec(QStringLiteral("delete from tReportTitle"));
        exec(QStringLiteral("insert into tReportTitle (CorpName, CorpTel, CorpFax, CorpAddr, LinkMen, "
                            "isStock, isBackup) values ('平安手机维修', '0571-1234', '', '文三路8号', '王', 1, 0)"));
        module->ReadTitleFlags();
        module->QryTitle->Close();
    }

    TFrmSystemSetup* openSettings() { return showForm(new TFrmSystemSetup); }

    // Closes the dialog as the close box does; it frees itself.
    void closeSettings(TFrmSystemSetup* form)
    {
        QPointer<TFrmSystemSetup> alive(form);
        form->Close();
        flushDeletes();
        EXPECT_TRUE(alive.isNull()) << "a closed settings dialog frees itself";
    }

    QString iniPath() const { return database.filePath(QStringLiteral("INC.ini")); }
    QString homePage() const
    {
        return TIniFile(iniPath()).ReadString(QStringLiteral("主界面"), QStringLiteral("主页"), QStringLiteral("<none>"));
    }

    // Every column of every settings row, "|"-joined per row.
    QStringList settingsRows()
    {
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(QStringLiteral("select CorpName, CorpTel, CorpFax, CorpAddr, LinkMen, isStock, "
                                       "isBackup from tReportTitle order by rowid"));
        q.Open();
        QStringList rows;
        for (q.First(); !q.Eof(); q.Next()) {
            QStringList cells;
            for (int i = 0; i < q.Fields()->Count(); ++i)
                cells << q.Fields()->Fields(i)->AsString();
            rows << cells.join(u'|');
        }
        return rows;
    }

    // Replaces the edit's text as an operator does: everything selected and deleted, then the
    // text typed, Chinese characters committed by the input method.
    static void typeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QApplication::sendEvent(edit, &typed);
    }
};

TEST_F(SystemSetupTest, ShowsTheSettingsRowAndTheHomePage)
{
    TIniFile(iniPath()).WriteString(QStringLiteral("主界面"), QStringLiteral("主页"), QStringLiteral("start.htm"));
    TFrmSystemSetup* form = openSettings();
    EXPECT_EQ(form->Caption(), QStringLiteral("系统设置"));
    EXPECT_FALSE(form->pnlleft->isVisible());
    EXPECT_EQ(form->PageControl1->tabText(0), QStringLiteral("系统功能"));
    EXPECT_EQ(form->PageControl1->tabText(1), QStringLiteral("报表设置"));
    EXPECT_TRUE(form->cbxStock->Checked());
    EXPECT_FALSE(form->CbxBackup->Checked());
    EXPECT_EQ(form->EdtHomepage->Text(), QStringLiteral("start.htm"));
    EXPECT_EQ(form->EdtCorpName->Text(), QStringLiteral("平安手机维修"));
    EXPECT_EQ(form->EdtCorpTel->Text(), QStringLiteral("0571-1234"));
    EXPECT_EQ(form->EdtCorpAddr->Text(), QStringLiteral("文三路8号"));
    EXPECT_EQ(form->EdtLinkMen->Text(), QStringLiteral("王"));
}

// Opening and closing without a change writes the same values back; without a home page in
// INC.ini the default is shown and written.
TEST_F(SystemSetupTest, ACloseWithoutChangesRewritesTheSameValues)
{
    const QStringList before = settingsRows();
    for (const bool iniHasHomePage : {true, false}) {
        SCOPED_TRACE(iniHasHomePage);
        QFile::remove(iniPath());
        if (iniHasHomePage)
            TIniFile(iniPath()).WriteString(QStringLiteral("主界面"), QStringLiteral("主页"), QStringLiteral("start.htm"));
        closeSettings(openSettings());
        EXPECT_EQ(homePage(), iniHasHomePage ? QStringLiteral("start.htm") : QStringLiteral("index.htm"));
        EXPECT_EQ(settingsRows(), before);
        EXPECT_TRUE(StockEnabled);
        EXPECT_FALSE(BackupOnExit);
        EXPECT_FALSE(module->QryTitle->Active()) << "readers open it again when they need it";
    }
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

TEST_F(SystemSetupTest, ATypedHomePageIsShownNextTime)
{
    TFrmSystemSetup* form = openSettings();
    typeInto(form->EdtHomepage, QStringLiteral("shop/首页.htm"));
    closeSettings(form);
    EXPECT_EQ(homePage(), QStringLiteral("shop/首页.htm"));
    form = openSettings();
    EXPECT_EQ(form->EdtHomepage->Text(), QStringLiteral("shop/首页.htm"));
}

// The shop's data typed on the page "报表设置" is stored by the close.
TEST_F(SystemSetupTest, TheShopDataIsStoredOnClose)
{
    TFrmSystemSetup* form = openSettings();
    form->PageControl1->setCurrentIndex(1);
    typeInto(form->EdtCorpName, QStringLiteral("诚信通讯"));
    typeInto(form->EdtCorpFax, QStringLiteral("0571-5678"));
    closeSettings(form);
    EXPECT_EQ(settingsRows(), QStringList{QStringLiteral("诚信通讯|0571-1234|0571-5678|文三路8号|王|True|False")});
}

// An empty settings table gets its row at the first close.
TEST_F(SystemSetupTest, AnEmptySettingsTableGetsItsRow)
{
    exec(QStringLiteral("delete from tReportTitle"));
    TFrmSystemSetup* form = openSettings();
    EXPECT_FALSE(form->cbxStock->Checked());
    EXPECT_FALSE(form->CbxBackup->Checked());
    click(form->CbxBackup);
    form->PageControl1->setCurrentIndex(1);
    typeInto(form->EdtCorpName, QStringLiteral("诚信通讯"));
    closeSettings(form);
    EXPECT_EQ(settingsRows(), QStringList{QStringLiteral("诚信通讯|||||False|True")});
    EXPECT_FALSE(StockEnabled);
    EXPECT_TRUE(BackupOnExit);

    closeSettings(openSettings());
    EXPECT_EQ(settingsRows().size(), 1);
}

// The ticks go into the row and at once into the run's flags.
TEST_F(SystemSetupTest, TheSwitchesTakeEffectAtOnce)
{
    const struct
    {
        bool stock;
        bool backup;
    } cases[] = {{false, false}, {false, true}, {true, true}, {true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stock << c.backup);
        TFrmSystemSetup* form = openSettings();
        if (form->cbxStock->Checked() != c.stock)
            click(form->cbxStock);
        if (form->CbxBackup->Checked() != c.backup)
            click(form->CbxBackup);
        closeSettings(form);
        EXPECT_EQ(StockEnabled, c.stock);
        EXPECT_EQ(BackupOnExit, c.backup);
        const QStringList cells = settingsRows().value(0).split(u'|');
        EXPECT_EQ(cells.value(5), c.stock ? QStringLiteral("True") : QStringLiteral("False"));
        EXPECT_EQ(cells.value(6), c.backup ? QStringLiteral("True") : QStringLiteral("False"));
    }
}

// A row the database refuses leaves the stored row and the flags as they were; the home page
// is written all the same, and the error is shown.
TEST_F(SystemSetupTest, ARowThatCannotBeStoredLeavesRowAndFlags)
{
    const QStringList before = settingsRows();
    exec(QStringLiteral("create trigger refuse_title before update on tReportTitle "
                        "begin select raise(abort, '设置表只读'); end"));
    TFrmSystemSetup* form = openSettings();
    click(form->cbxStock);
    click(form->CbxBackup);
    typeInto(form->EdtHomepage, QStringLiteral("home.htm"));
    dialogs().answerMessage(mrOk);
    closeSettings(form);
    ASSERT_EQ(dialogs().messages().size(), 1);
    EXPECT_TRUE(dialogs().messages()[0].contains(QStringLiteral("设置表只读"))) << dialogs().messages()[0].toStdString();
    EXPECT_EQ(settingsRows(), before);
    EXPECT_TRUE(StockEnabled);
    EXPECT_FALSE(BackupOnExit);
    EXPECT_FALSE(module->QryTitle->Active());
    EXPECT_EQ(homePage(), QStringLiteral("home.htm"));
}

// A settings file that cannot be written does not cost the shop data typed in the dialog.
TEST_F(SystemSetupTest, AHomePageThatCannotBeWrittenKeepsTheRow)
{
    TIniFile(iniPath()).WriteString(QStringLiteral("主界面"), QStringLiteral("主页"), QStringLiteral("start.htm"));
    ASSERT_TRUE(QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    TFrmSystemSetup* form = openSettings();
    click(form->cbxStock);
    typeInto(form->EdtHomepage, QStringLiteral("home.htm"));
    form->PageControl1->setCurrentIndex(1);
    typeInto(form->EdtLinkMen, QStringLiteral("李"));
    dialogs().answerMessage(mrOk);
    closeSettings(form);
    EXPECT_EQ(dialogs().messages().size(), 1);
    EXPECT_EQ(settingsRows(), QStringList{QStringLiteral("平安手机维修|0571-1234||文三路8号|李|False|False")});
    EXPECT_FALSE(StockEnabled);
    EXPECT_EQ(homePage(), QStringLiteral("start.htm"));
}

// The main window's "系统设置" opens the dialog registered at start-up; the backup switch ticked
// there is obeyed when the same window closes, without a restart.
TEST_F(SystemSetupTest, TheMainWindowOpensItAndObeysTheBackupSwitchAtOnce)
{
    registerSettingsForms();
    int backups = 0;
    registerForm(QStringLiteral("TFrmBackupExit"), [&](TFrmAMain&) -> QWidget* {
        ++backups;
        return new QDialog;
    });
    TFrmAMain window;
    dialogs().answerDialog([](QDialog& dialog) {
        auto& login = dynamic_cast<TFrmALogin&>(dialog);
        login.CbxUsercode->setCurrentIndex(login.CbxUsercode->findText(QStringLiteral("高级用户")));
        click(login.BtnLogin);
    });
    window.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(CurrentUser, QStringLiteral("高级用户"));
    ASSERT_FALSE(BackupOnExit);

    QString caption;
    dialogs().answerDialog([&](QDialog& dialog) {
        auto& form = dynamic_cast<TFrmSystemSetup&>(dialog);
        caption = form.Caption();
        click(form.CbxBackup);
        form.Close();
    });
    window.ClickMenuItem(window.MenuItem(QStringLiteral("系统管理"), QStringLiteral("系统设置")));
    EXPECT_EQ(caption, QStringLiteral("系统设置"));
    EXPECT_TRUE(BackupOnExit);
    EXPECT_EQ(settingsRows().value(0).section(u'|', 6), QStringLiteral("True"));

    dialogs().answerMessage(mrYes); // the question before the program ends
    dialogs().answerDialog(mrOk);   // the backup offered on the way out
    window.Close();
    EXPECT_EQ(backups, 1);
    EXPECT_TRUE(programTerminated());
}

} // namespace qx::app::test
