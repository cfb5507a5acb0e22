// Start-up: the settings file, the choice of database, the shop's first start, the failures
// that end the program, and a start on a real database.
#include "DataModuleFixture.h"

#include "app/schema/OperatorRights.h"
#include "app/data/uStartup.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>

namespace qx::app::test {
namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The settings file with a Path value (GBK, CR LF, as the shop's files are).
void writeSettings(const TempDatabase& folder, const QString& path)
{
    writeFile(folder.filePath(QStringLiteral("ConSQL.ini")),
              QByteArray("[Server]\r\nPath=") + path.toUtf8() + QByteArray("\r\n"));
}

class StartupTest : public CleanRunTest
{
protected:
    void SetUp() override
    {
        CleanRunTest::SetUp();
        setProgramFolder(folder.programFolder());
    }

    // Factories that count what the start-up made.
    StartupFactories countingFactories()
    {
        StartupFactories f;
        f.MainWindow = [this] {
            ++mainWindows;
            auto w = std::make_unique<QWidget>();
            w->setObjectName(QStringLiteral("FrmAMain"));
            return w;
        };
        f.Desktop = [this](QWidget& main) {
            ++desktops;
            auto* desk = new QWidget(&main);
            desk->setObjectName(QStringLiteral("FrmADesktop"));
        };
        return f;
    }

    // Runs a start-up that must fail, answering its one message box.
    void expectFailure(int status, const QString& message, MessageIcon icon)
    {
        dialogs().answerMessage(mrOk);
        AccountStartup startup(countingFactories());
        EXPECT_EQ(startup.Start(), status);
        ASSERT_EQ(dialogs().messages(), QStringList{message});
        EXPECT_EQ(dialogs().shown().front().icon, icon);
        EXPECT_EQ(dialogs().shown().front().buttons, QList<int>{mrOk});
        // Nothing goes on: no window, no data module, no splash left on the screen.
        EXPECT_EQ(mainWindows, 0);
        EXPECT_EQ(desktops, 0);
        EXPECT_EQ(startup.DataModule(), nullptr);
        EXPECT_EQ(startup.Splash(), nullptr);
        EXPECT_EQ(dmdataUnit, nullptr);
    }

    // Changes the shop settings row before the start-up reads it.
    void changeSettingsRow(const QString& sql)
    {
        {
            TdmdataUnit setup;
            ASSERT_EQ(setup.DataModuleCreate(), TdmdataUnit::orConnected);
            setup.ADOConnection->Execute(sql);
        }
        clearRunValues();
    }

    TempDatabase folder;
    int mainWindows = 0;
    int desktops = 0;
};

TEST_F(StartupTest, WithoutSettingsFileSaysSoAndEnds)
{
    ASSERT_TRUE(QFile::remove(folder.filePath(QStringLiteral("ConSQL.ini"))));
    expectFailure(StartupNoSettingsFile, QStringLiteral("系统无法找到配置文件！"),
                  MessageIcon::Information);
    EXPECT_TRUE(DatabasePath.isEmpty()); // no connection was tried
}

TEST_F(StartupTest, SettingsFolderInsteadOfFileIsNoSettingsFile)
{
    ASSERT_TRUE(QFile::remove(folder.filePath(QStringLiteral("ConSQL.ini"))));
    ASSERT_TRUE(QDir(folder.programFolder()).mkdir(QStringLiteral("ConSQL.ini")));
    expectFailure(StartupNoSettingsFile, QStringLiteral("系统无法找到配置文件！"),
                  MessageIcon::Information);
}

TEST_F(StartupTest, FileThatIsNoDatabaseFailsToConnect)
{
    writeFile(folder.databasePath(), QByteArray("This is the shop's price list, not a database.\n").repeated(40));
    expectFailure(StartupConnectFailed, QStringLiteral("连接失败,请重新设置数据连接！"), MessageIcon::Error);
    EXPECT_EQ(DatabasePath, folder.databasePath());
    // The file is left as it was for the shop to look at.
    QFile f(folder.databasePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("This is the shop's price list"));
}

// SQLite takes an empty file for an empty database; the shop would only find out at the login.
TEST_F(StartupTest, EmptyFileFailsToConnect)
{
    writeFile(folder.databasePath(), QByteArray());
    expectFailure(StartupConnectFailed, QStringLiteral("连接失败,请重新设置数据连接！"), MessageIcon::Error);
}

TEST_F(StartupTest, UncPathIsUsedAndNeverCreated)
{
    const QString unc = QStringLiteral("\\\\server\\shop\\Account.mdb");
    writeSettings(folder, unc);
    expectFailure(StartupConnectFailed, QStringLiteral("连接失败,请重新设置数据连接！"), MessageIcon::Error);
    EXPECT_EQ(DatabasePath, unc);
    EXPECT_FALSE(QFile::exists(unc));
}

TEST_F(StartupTest, MissingSharedDatabaseIsNotCreated)
{
    TempDatabase share;
    const QString shared = share.filePath(QStringLiteral("Shop.mdb"));
    writeSettings(folder, shared);
    expectFailure(StartupConnectFailed, QStringLiteral("连接失败,请重新设置数据连接！"), MessageIcon::Error);
    EXPECT_FALSE(QFile::exists(shared));
}

TEST_F(StartupTest, DriveLetterPathFallsBackToTheProgramFolder)
{
    writeSettings(folder, QStringLiteral("D:\\Shop\\Account.mdb"));
    AccountStartup startup(countingFactories());
    ASSERT_EQ(startup.Start(), StartupOk);
    EXPECT_EQ(DatabasePath, folder.databasePath());
    EXPECT_FALSE(DatabaseIsShared());
}

TEST_F(StartupTest, RelativePathFallsBackToTheProgramFolder)
{
    writeSettings(folder, QStringLiteral("data/Account.mdb"));
    AccountStartup startup(countingFactories());
    ASSERT_EQ(startup.Start(), StartupOk);
    EXPECT_EQ(DatabasePath, folder.databasePath());
}

// A database elsewhere (a mounted share) is used where it lies, whatever its folder's name
// holds: ';' reaches the connection whole, '#' and '*' begin no comment.
TEST_F(StartupTest, SharedDatabaseIsUsedWhereItLies)
{
    for (const QString& sub : {QString(), QStringLiteral("a;b"), QStringLiteral("shop#1*")}) {
        SCOPED_TRACE(sub.toStdString());
        TempDatabase share;
        QString shared = share.databasePath();
        if (!sub.isEmpty()) {
            ASSERT_TRUE(QDir(share.programFolder()).mkdir(sub));
            shared = share.filePath(sub + QStringLiteral("/Account.mdb"));
            ASSERT_TRUE(QFile::copy(share.databasePath(), shared));
        }
        writeSettings(folder, shared);
        QFile::remove(folder.databasePath()); // only the share has a database
        clearRunValues();
        AccountStartup startup(countingFactories());
        ASSERT_EQ(startup.Start(), StartupOk);
        EXPECT_EQ(DatabasePath, shared);
        EXPECT_TRUE(DatabaseIsShared());
        EXPECT_EQ(startup.DataModule()->ADOConnection->DatabaseFile(), shared);
        EXPECT_FALSE(QFile::exists(folder.databasePath())); // nothing was made in the program folder
    }
}

// Opening never makes a database: a program folder without its database (moved, renamed) is
// a connection failure, and no empty database takes its place.
TEST_F(StartupTest, MissingDatabaseFailsToConnectAndIsNotMade)
{
    ASSERT_TRUE(QFile::remove(folder.databasePath()));
    expectFailure(StartupConnectFailed, QStringLiteral("连接失败,请重新设置数据连接！"), MessageIcon::Error);
    EXPECT_EQ(DatabasePath, folder.databasePath());
    EXPECT_FALSE(QFile::exists(folder.databasePath()));
    EXPECT_TRUE(QDir(folder.programFolder()).entryList({QStringLiteral("*.mdb*")}, QDir::Files).isEmpty());
}

// A database that opens but lacks a table the start reads ends the same way, before any
// window reads it.
TEST_F(StartupTest, ADatabaseWithoutATableTheStartReadsFailsToConnect)
{
    for (const char* table : {"tReportTitle", "tQueryReport", "t_UserDB"}) {
        SCOPED_TRACE(table);
        TempDatabase damaged;
        writeSettings(folder, damaged.databasePath());
        {
            TADOConnection c;
            c.setConnectionString(ConnectionStringFor(damaged.databasePath()));
            c.Open();
            c.Execute(QStringLiteral("DROP TABLE ") + QLatin1String(table));
        }
        expectFailure(StartupConnectFailed, QStringLiteral("连接失败,请重新设置数据连接！"), MessageIcon::Error);
        dialogs().clear();
        clearRunValues();
    }
}

// A first start killed while it built the database left its part files; the next start
// removes them, whether it then builds the database or finds one.
TEST_F(StartupTest, StartRemovesThePartFilesOfAKilledBuild)
{
    const QString stale = folder.databasePath() + QStringLiteral(".part-0a1b2c3d");
    for (const QString& file : {stale, stale + QStringLiteral("-journal")}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("left by a killed build");
    }
    {
        AccountStartup startup(countingFactories());
        ASSERT_EQ(startup.Start(), StartupOk);
    }
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_FALSE(QFile::exists(stale + QStringLiteral("-journal")));
}

TEST_F(StartupTest, OpensTheShopDatabaseAndReadsTheFlags)
{
    changeSettingsRow(QStringLiteral("update tReportTitle set isStock = 1, isBackup = 0"));
    ResetFormatSettings();

    AccountStartup startup; // the program's own main window
    ASSERT_EQ(startup.Start(), StartupOk);
    EXPECT_TRUE(dialogs().shown().isEmpty());

    // The formats and the title come first.
    EXPECT_EQ(FormatSettings().ShortDateFormat.toLower(), QStringLiteral("yyyy-mm-dd"));
    EXPECT_EQ(FormatSettings().ShortTimeFormat.toLower(), QStringLiteral("hh:mm"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), ApplicationTitle());

    // The data module is the one instance, connected to the program folder's database.
    ASSERT_NE(startup.DataModule(), nullptr);
    EXPECT_EQ(dmdataUnit, startup.DataModule());
    EXPECT_EQ(dmdataUnit->objectName(), QStringLiteral("dmdataUnit"));
    EXPECT_TRUE(dmdataUnit->ADOConnection->Connected());
    EXPECT_EQ(DatabasePath, folder.databasePath());
    EXPECT_EQ(dmdataUnit->ADOConnection->ConnectionString(), ConnectionStringFor(DatabasePath));
    EXPECT_TRUE(CurrentUser.isEmpty());

    // The main window read the shop's flags.
    EXPECT_TRUE(dmdataUnit->QryTitle->Active());
    EXPECT_TRUE(StockEnabled);
    EXPECT_FALSE(BackupOnExit);
    ASSERT_NE(startup.MainWindow(), nullptr);
    EXPECT_EQ(startup.MainWindow()->windowTitle(), ApplicationTitle());

    // The splash is up, the main window waits for it to go.
    ASSERT_NE(startup.Splash(), nullptr);
    EXPECT_TRUE(startup.Splash()->isVisible());
    EXPECT_FALSE(startup.MainWindow()->isVisible());
    QTimer* timer = startup.findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), AccountStartup::kSplashMilliseconds);

    startup.FinishSplash();
    EXPECT_EQ(startup.Splash(), nullptr);
    EXPECT_TRUE(startup.MainWindow()->isVisible());
    EXPECT_FALSE(timer->isActive());
}

TEST_F(StartupTest, FlagsOfTheFirstSettingsRow)
{
    struct Case
    {
        const char* sql;
        bool stock, backup;
    };
    const Case cases[] = {
        {"update tReportTitle set isStock = 0, isBackup = 1", false, true},
        {"update tReportTitle set isStock = 0, isBackup = 0", false, false},
        {"delete from tReportTitle", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        changeSettingsRow(QString::fromLatin1(c.sql));
        StockEnabled = !c.stock;
        BackupOnExit = !c.backup;
        AccountStartup startup;
        ASSERT_EQ(startup.Start(), StartupOk);
        EXPECT_EQ(StockEnabled, c.stock);
        EXPECT_EQ(BackupOnExit, c.backup);
    }
}

TEST_F(StartupTest, WindowsComeAfterTheDataModule)
{
    StartupFactories f;
    bool connectedForWindow = false;
    bool desktopInMainWindow = false;
    f.MainWindow = [&] {
        connectedForWindow = dmdataUnit && dmdataUnit->ADOConnection->Connected();
        return std::make_unique<QWidget>();
    };
    QWidget* mainSeen = nullptr;
    f.Desktop = [&](QWidget& main) {
        mainSeen = &main;
        desktopInMainWindow = true;
    };
    AccountStartup startup(f);
    ASSERT_EQ(startup.Start(), StartupOk);
    EXPECT_TRUE(connectedForWindow);
    EXPECT_TRUE(desktopInMainWindow);
    EXPECT_EQ(mainSeen, startup.MainWindow());
}

TEST_F(StartupTest, FailingMainWindowIsToldAndEnds)
{
    StartupFactories f;
    f.MainWindow = []() -> std::unique_ptr<QWidget> {
        throw Exception(QStringLiteral("窗口建立失败"));
    };
    dialogs().answerMessage(mrOk);
    AccountStartup startup(f);
    EXPECT_EQ(startup.Start(), StartupWindowFailed);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("窗口建立失败")});
    EXPECT_EQ(dmdataUnit, nullptr);
    EXPECT_EQ(startup.Splash(), nullptr);
}

// The database opened, but a window cannot read what it needs from it: for the operator that
// is the connection failure, never the database's own English words, and the program ends.
TEST_F(StartupTest, AWindowThatCannotReadTheDatabaseIsAConnectionFailure)
{
    StartupFactories f;
    f.MainWindow = []() -> std::unique_ptr<QWidget> {
        throw EDatabaseError(QStringLiteral("no such table: tReportTitle"));
    };
    dialogs().answerMessage(mrOk);
    AccountStartup startup(f);
    EXPECT_EQ(startup.Start(), StartupConnectFailed);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("连接失败,请重新设置数据连接！")});
    EXPECT_EQ(dialogs().shown().front().icon, MessageIcon::Error);
    EXPECT_EQ(dmdataUnit, nullptr);
    EXPECT_EQ(startup.Splash(), nullptr);
    EXPECT_EQ(startup.MainWindow(), nullptr);
}

// The program's own main window over a settings table without its flag columns.
TEST_F(StartupTest, TheMainWindowReadingABrokenSettingsTableEndsInTheConnectionFailure)
{
    {
        TADOConnection c;
        c.setConnectionString(ConnectionStringFor(folder.databasePath()));
        c.Open();
        c.Execute(QStringLiteral("DROP TABLE tReportTitle"));
        c.Execute(QStringLiteral("CREATE TABLE tReportTitle (CorpName TEXT(100))"));
        c.Execute(QStringLiteral("INSERT INTO tReportTitle VALUES ('店')"));
    }
    dialogs().answerMessage(mrOk);
    AccountStartup startup; // the plain main window reads the flags as the program's does
    EXPECT_EQ(startup.Start(), StartupConnectFailed);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("连接失败,请重新设置数据连接！")});
    EXPECT_EQ(dmdataUnit, nullptr);
}

// A database of the earlier build (Yes/No columns that took Null) is upgraded as it opens.
TEST_F(StartupTest, AnEarlierDatabaseIsUpgradedAsItOpens)
{
    {
        TADOConnection c;
        c.setConnectionString(ConnectionStringFor(folder.databasePath()));
        c.Open();
        c.Execute(QStringLiteral("DROP TABLE tReportTitle"));
        c.Execute(QStringLiteral("CREATE TABLE tReportTitle (CorpName TEXT(100) COLLATE NOCASE,"
                                 " isStock YESNO DEFAULT 0, isBackup YESNO)"));
        c.Execute(QStringLiteral("INSERT INTO tReportTitle VALUES ('店', NULL, -1)"));
        c.Execute(QStringLiteral("PRAGMA user_version = 1"));
    }
    AccountStartup startup(countingFactories());
    ASSERT_EQ(startup.Start(), StartupOk);
    TADOQuery* q = startup.DataModule()->QryTemp;
    q->SQL().SetText(QStringLiteral("select isStock, isBackup from tReportTitle"));
    q->Open();
    EXPECT_EQ(q->FieldByName(QStringLiteral("isStock"))->AsInteger(), 0);
    EXPECT_EQ(q->FieldByName(QStringLiteral("isBackup"))->AsInteger(), 1);
    q->Close();
    q->SQL().SetText(QStringLiteral("PRAGMA user_version"));
    q->Open();
    EXPECT_EQ(q->FieldByName(QStringLiteral("user_version"))->AsInteger(), 2);
}

TEST_F(StartupTest, DataModuleGoesWithTheStartup)
{
    {
        AccountStartup startup(countingFactories());
        ASSERT_EQ(startup.Start(), StartupOk);
        EXPECT_NE(dmdataUnit, nullptr);
    }
    EXPECT_EQ(dmdataUnit, nullptr);
}

TEST(SplashForm, IsABorderlessBlackPictureForm)
{
    TFrmStartup splash;
    EXPECT_EQ(splash.size(), QSize(589, 379));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(splash.Image1->geometry(), QRect(0, 0, 590, 382));
    EXPECT_FALSE(splash.Image1->pixmap().isNull());
}

} // namespace
} // namespace qx::app::test
