#include "app/shell/about.h"

#include "app/data/uStartup.h"
#include "app/shell/ProgramIcon.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Fonts.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

// The picture that fills the window: white, framed by a visible edge so that the borderless
// window reads as a window over any desktop, with the program's icon and name on a blue band.
QPixmap aboutPicture(const QSize& size)
{
    QPixmap picture(size);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = size.width();
    const int h = size.height();

    // The band at the top.
    const QRect band(0, 0, w, h * 2 / 5);
    QLinearGradient blue(0, 0, 0, band.height());
    blue.setColorAt(0.0, QColor(0x3a, 0x78, 0xc2));
    blue.setColorAt(1.0, QColor(0x1f, 0x4e, 0x8c));
    p.fillRect(band, blue);
    const int iconSize = band.height() * 3 / 5;
    p.drawPixmap(32, (band.height() - iconSize) / 2, qx::app::ProgramIconPicture(iconSize));

    QFont title = qx::libraryFont(24);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(48 + iconSize, 0, w - 64 - iconSize, band.height()), Qt::AlignVCenter | Qt::AlignLeft,
               qx::app::ApplicationTitle());

    // What the program does, below the band.
    p.setFont(qx::libraryFont(11));
    p.setPen(QColor(0x1f, 0x4e, 0x8c));
    const QRect lines(48, band.bottom() + 32, w - 96, h - band.bottom() - 96);
    p.drawText(lines, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("工单 · 销售 · 采购 · 库存 · 盘点\n收支 · 会员卡 · 统计 · 报表中心"));
    p.setPen(QColor(0xb0, 0xc4, 0xde));
    p.drawLine(48, h - 52, w - 48, h - 52);

    // The edge: a dark outer line and a light one inside it.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(0x4a, 0x5a, 0x70));
    p.drawRect(0, 0, w - 1, h - 1);
    p.setPen(QColor(0xb0, 0xc4, 0xde));
    p.drawRect(1, 1, w - 3, h - 3);
    return picture;
}

} // namespace

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

    // The picture fills the window.
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 589, 399);
    Image1->setPixmap(aboutPicture(Image1->size()));
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
