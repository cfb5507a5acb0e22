#include "app/data/uStartup.h"

#include "app/data/dmData.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Fonts.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace {

// The splash picture, drawn rather than shipped: the product's name on a dark ground.
QPixmap splashPicture(const QSize& size)
{
    QPixmap picture(size);
    QPainter painter(&picture);
    QLinearGradient ground(0, 0, 0, size.height());
    ground.setColorAt(0.0, QColor(0x10, 0x2a, 0x4a));
    ground.setColorAt(1.0, QColor(0x02, 0x06, 0x10));
    painter.fillRect(picture.rect(), ground);

    QFont title = qx::libraryFont(26);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    const QRect upper(0, 0, size.width(), size.height() * 3 / 5);
    painter.drawText(upper, Qt::AlignHCenter | Qt::AlignBottom, qx::app::ApplicationTitle());

    painter.setFont(qx::libraryFont(10));
    painter.setPen(QColor(0xb0, 0xc4, 0xde));
    const QRect lower(0, upper.bottom() + 16, size.width(), size.height() - upper.bottom() - 16);
    painter.drawText(lower, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("正在启动，请稍候……"));
    return picture;
}

} // namespace

TFrmStartup::TFrmStartup(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), Image1(new QLabel(this))
{
    setObjectName(QStringLiteral("FrmStartup"));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFixedSize(589, 379);

    // The picture is a little larger than the client area and is cut at its right and bottom
    // edges, as the form was laid out.
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 590, 382);
    Image1->setPixmap(splashPicture(Image1->size()));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = rect();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

TFrmStartup::~TFrmStartup() = default;

namespace qx::app {

QString ApplicationTitle()
{
    return QStringLiteral("手机维修管理系统");
}

std::unique_ptr<QWidget> CreatePlainMainWindow()
{
    auto window = std::make_unique<QMainWindow>();
    window->setObjectName(QStringLiteral("FrmAMain"));
    window->setWindowTitle(ApplicationTitle());
    window->setWindowState(Qt::WindowMaximized);
    if (dmdataUnit)
        dmdataUnit->ReadTitleFlags();
    return window;
}

AccountStartup::AccountStartup(StartupFactories factories, QObject* parent)
    : QObject(parent), m_factories(std::move(factories)), m_splashTimer(new QTimer(this))
{
    m_splashTimer->setSingleShot(true);
    m_splashTimer->setInterval(kSplashMilliseconds);
    connect(m_splashTimer, &QTimer::timeout, this, &AccountStartup::FinishSplash);
}

AccountStartup::~AccountStartup()
{
    m_mainWindow.reset();
    m_splash.reset();
    m_dataModule.reset();
}

int AccountStartup::Start()
{
    // Every date that later becomes text or SQL relies on these formats.
    SetupDateTimeFormats();
    QGuiApplication::setApplicationDisplayName(ApplicationTitle());

    // The splash shows while the database opens; the timer takes it away once the message
    // loop runs and at least the splash time has passed.
    m_splash = std::make_unique<TFrmStartup>();
    m_splash->show();
    m_splash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_splashTimer->start();

    // Forms bind their datasets to the data module's connection, so it comes before any form.
    m_dataModule = std::make_unique<TdmdataUnit>();
    const TdmdataUnit::TOpenResult opened = m_dataModule->DataModuleCreate();
    if (opened != TdmdataUnit::orConnected) {
        // The message has been shown (over the splash, which goes with everything else).
        m_splashTimer->stop();
        m_splash.reset();
        m_dataModule.reset();
        return opened == TdmdataUnit::orNoSettingsFile ? StartupNoSettingsFile : StartupConnectFailed;
    }

    bool databaseFailed = false;
    const bool made = qx::guard(nullptr, [this, &databaseFailed] {
        try {
            m_mainWindow = m_factories.MainWindow ? m_factories.MainWindow() : CreatePlainMainWindow();
            if (m_mainWindow && m_factories.Desktop)
                m_factories.Desktop(*m_mainWindow);
        } catch (const EDatabaseError&) {
            // The database opened but cannot give the windows what they read (a table gone, a
            // damaged page): for the operator that is a connection that failed.
            databaseFailed = true;
        }
    });
    if (databaseFailed) {
        m_splashTimer->stop();
        m_mainWindow.reset();
        m_splash.reset();
        m_dataModule.reset();
        ShowConnectionFailed();
        return StartupConnectFailed;
    }
    if (!made || !m_mainWindow) {
        m_splashTimer->stop();
        m_mainWindow.reset();
        m_splash.reset();
        m_dataModule.reset();
        return StartupWindowFailed;
    }
    return StartupOk;
}

int AccountStartup::Exec()
{
    return QApplication::exec();
}

void AccountStartup::FinishSplash()
{
    // The main window shows before the splash goes, so that the program never has no window.
    m_splashTimer->stop();
    if (m_mainWindow)
        m_mainWindow->show();
    m_splash.reset();
}

int RunAccount(StartupFactories factories)
{
    AccountStartup startup(std::move(factories));
    const int started = startup.Start();
    if (started != StartupOk)
        return started;
    return startup.Exec();
}

} // namespace qx::app
