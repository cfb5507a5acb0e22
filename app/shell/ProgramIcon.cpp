#include "app/shell/ProgramIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace qx::app {

QPixmap ProgramIconPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // A blue tile.
    QLinearGradient ground(0, 0, 0, s);
    ground.setColorAt(0.0, QColor(0x3a, 0x78, 0xc2));
    ground.setColorAt(1.0, QColor(0x1f, 0x4e, 0x8c));
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    // A white phone with a light screen.
    const QRectF phone(s * 0.26, s * 0.12, s * 0.40, s * 0.74);
    p.setBrush(Qt::white);
    p.drawRoundedRect(phone, s * 0.07, s * 0.07);
    p.setBrush(QColor(0xcf, 0xe3, 0xf8));
    p.drawRect(phone.adjusted(s * 0.05, s * 0.09, -s * 0.05, -s * 0.14));

    // An orange wrench across its lower corner: the repair.
    QPen shaft(QColor(0xf2, 0x8c, 0x28), std::max(1.5, s * 0.11), Qt::SolidLine, Qt::RoundCap);
    p.setPen(shaft);
    p.drawLine(QPointF(s * 0.50, s * 0.60), QPointF(s * 0.80, s * 0.88));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0x8c, 0x28));
    const qreal head = s * 0.13;
    QPainterPath jaw;
    jaw.addEllipse(QPointF(s * 0.48, s * 0.58), head, head);
    QPainterPath notch;
    notch.addRect(QRectF(s * 0.42, s * 0.42, s * 0.09, s * 0.13));
    p.drawPath(jaw.subtracted(notch));
    return picture;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(ProgramIconPicture(size));
    return icon;
}

} // namespace qx::app
