// The program's start-up: the splash form and the sequence that brings the program up, in
// this order: the date and time formats, the application title, the splash, the data module
// (settings file and connection), the main window and the navigation desktop, then the message
// loop.
//
// A start-up that cannot go on (no settings file, no connection) has told the operator why and
// returns its failure code to main(), which ends the program with it; nothing here calls exit().
// The main window and the desktop come through factories, so that the shell's windows plug in
// without the start-up knowing them and tests can start the program with windows of their own.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QTimer;
class TdmdataUnit;

// The splash form: borderless, black, centred on the desktop, filled by one picture.
class TFrmStartup : public QWidget
{
    Q_OBJECT

public:
    explicit TFrmStartup(QWidget* parent = nullptr);
    ~TFrmStartup() override;

    QLabel* const Image1;
};

namespace qx::app {

// The product's display name: the application title, which the main window takes as caption
// and every message box of the system as its caption.
QString ApplicationTitle();

// The program's exit codes.
enum StartupStatus : int {
    StartupOk = 0,
    StartupNoSettingsFile = 2, // ConSQL.ini missing
    StartupConnectFailed = 3,  // the database could not be opened, or lacks what the windows read
    StartupWindowFailed = 4    // the main window or the desktop could not be made (error shown)
};

struct StartupFactories
{
    // Makes the main window; the start-up owns it and shows it when the splash goes. It is
    // made after the data module, so it may read the shop settings (dmdataUnit->ReadTitleFlags).
    // Empty: a plain main window titled with the application title.
    std::function<std::unique_ptr<QWidget>()> MainWindow;
    // Makes the navigation desktop inside the main window (the main window owns it); may be
    // empty.
    std::function<void(QWidget& mainWindow)> Desktop;
};

// The main window the program shows until the shell's main window is plugged in: an empty
// maximised window captioned with the application title that reads the shop's flags as the
// main window does when it is created.
std::unique_ptr<QWidget> CreatePlainMainWindow();

class AccountStartup : public QObject
{
    Q_OBJECT

public:
    // How long the splash stays up.
    static constexpr int kSplashMilliseconds = 500;

    explicit AccountStartup(StartupFactories factories = {}, QObject* parent = nullptr);
    // The windows go first, then the data module they use.
    ~AccountStartup() override;

    // Everything before the message loop. Returns StartupOk, or the failure code after the
    // operator was told; after a failure no data module and no window are left. The splash
    // goes by a timer once the message loop runs (or by FinishSplash).
    int Start();
    // The message loop; its result is the program's exit code.
    int Exec();
    // Releases the splash and shows the main window; the splash timer calls it.
    void FinishSplash();

    TFrmStartup* Splash() const { return m_splash.get(); }
    TdmdataUnit* DataModule() const { return m_dataModule.get(); }
    QWidget* MainWindow() const { return m_mainWindow.get(); }

private:
    StartupFactories m_factories;
    std::unique_ptr<TFrmStartup> m_splash;
    std::unique_ptr<TdmdataUnit> m_dataModule;
    std::unique_ptr<QWidget> m_mainWindow;
    QTimer* m_splashTimer;
};

// main() of the program: Start, then Exec when it started. The QApplication must exist.
int RunAccount(StartupFactories factories = {});

} // namespace qx::app
