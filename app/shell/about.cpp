#include "app/shell/about.h"

#include "app/data/uStartup.h"
#include "platform/ui/Colors.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

Taboutform::Taboutform(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      Image1(new QLabel(this)),
      Label1(new QLabel(this))
{
    setObjectName(QStringLiteral("aboutform"));
    setWindowTitle(QStringLiteral("关于本软件"));
    setFixedSize(589, 399);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    // The picture: the product's name on the shop's colours.
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 589, 399);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setText(qx::app::ApplicationTitle());
    QFont big = Image1->font();
    big.setPixelSize(32);
    big.setBold(true);
    Image1->setFont(big);
    Image1->setStyleSheet(QStringLiteral("background-color: #E5EDF8; color: #1F4E8C;"));
    Image1->installEventFilter(this);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(QStringLiteral("Build :2005-09-30"));
    Label1->setGeometry(440, 360, 130, 20);
    Label1->setAutoFillBackground(true);
    QPalette labelPal = Label1->palette();
    labelPal.setColor(QPalette::Window, Qt::cyan);
    labelPal.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(labelPal);
    Label1->installEventFilter(this);
}

Taboutform::~Taboutform() = default;

void Taboutform::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QPalette labelPal = Label1->palette();
    labelPal.setColor(QPalette::Window, toQColor(TColor(0xE3A462)));
    Label1->setPalette(labelPal);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
}

void Taboutform::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    reject();
}

bool Taboutform::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Image1 || watched == Label1) && event->type() == QEvent::MouseButtonPress) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
