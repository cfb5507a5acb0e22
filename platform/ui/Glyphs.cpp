#include "platform/ui/Glyphs.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace qx {

namespace {

QPixmap blank(int w, int h)
{
    QPixmap p(w, h);
    p.fill(Qt::transparent);
    return p;
}

QPixmap drawExit()
{
    QPixmap p = blank(20, 20);
    QPainter g(&p);
    // Door frame and the open door leaf.
    g.setPen(QColor(64, 64, 64));
    g.setBrush(QColor(160, 120, 64));
    g.drawRect(3, 2, 9, 15);
    g.setBrush(QColor(200, 160, 96));
    const QPoint leaf[] = {{3, 2}, {8, 4}, {8, 19}, {3, 17}};
    g.drawPolygon(leaf, 4);
    // The arrow leaving to the right.
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 128, 0));
    const QPoint arrow[] = {{11, 8}, {15, 8}, {15, 5}, {19, 10}, {15, 15}, {15, 12}, {11, 12}};
    g.drawPolygon(arrow, 7);
    return p;
}

QPixmap drawEllipsis()
{
    QPixmap p = blank(12, 12);
    QPainter g(&p);
    for (int x : {1, 5, 9})
        g.fillRect(x, 8, 2, 2, Qt::black);
    return p;
}

QPixmap drawDropDown()
{
    QPixmap p = blank(7, 4);
    QPainter g(&p);
    for (int row = 0; row < 4; ++row)
        g.fillRect(row, row, 7 - 2 * row, 1, Qt::black);
    return p;
}

QPixmap drawCalendar()
{
    QPixmap p = blank(16, 16);
    QPainter g(&p);
    g.fillRect(1, 2, 14, 13, Qt::white);
    g.fillRect(1, 2, 14, 3, QColor(192, 0, 0));
    g.setPen(QColor(64, 64, 64));
    g.drawRect(1, 2, 13, 12);
    for (int y = 7; y <= 12; y += 2)
        for (int x = 3; x <= 12; x += 3)
            g.drawPoint(x, y);
    return p;
}

QPixmap drawCalculator()
{
    QPixmap p = blank(16, 16);
    QPainter g(&p);
    g.setPen(QColor(64, 64, 64));
    g.setBrush(QColor(212, 208, 200));
    g.drawRect(2, 0, 11, 15);
    g.fillRect(4, 2, 8, 3, QColor(160, 200, 160));
    for (int y = 7; y <= 12; y += 3)
        for (int x = 4; x <= 10; x += 3)
            g.fillRect(x, y, 2, 2, Qt::black);
    return p;
}

QPixmap drawBalloon(QChar mark)
{
    QPixmap p = blank(32, 32);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(Qt::white);
    QPainterPath balloon;
    balloon.addEllipse(QRectF(2.5, 1.5, 27, 22));
    QPainterPath tail;
    tail.moveTo(9, 20);
    tail.lineTo(6, 30);
    tail.lineTo(16, 22);
    g.drawPath(balloon.united(tail));
    QFont f;
    f.setPixelSize(18);
    f.setBold(true);
    g.setFont(f);
    g.setPen(QColor(0, 0, 255));
    g.drawText(QRect(2, 1, 28, 22), Qt::AlignCenter, QString(mark));
    return p;
}

QPixmap drawWarning()
{
    QPixmap p = blank(32, 32);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(QColor(255, 255, 0));
    const QPointF tri[] = {{16, 2}, {30.5, 29.5}, {1.5, 29.5}};
    g.drawPolygon(tri, 3);
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::black);
    g.drawRect(QRectF(14.5, 10, 3, 11));
    g.drawRect(QRectF(14.5, 23, 3, 3));
    return p;
}

QPixmap drawError()
{
    QPixmap p = blank(32, 32);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(128, 0, 0), 1));
    g.setBrush(QColor(255, 0, 0));
    g.drawEllipse(QRectF(1.5, 1.5, 29, 29));
    g.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::FlatCap));
    g.drawLine(QPointF(10, 10), QPointF(22, 22));
    g.drawLine(QPointF(22, 10), QPointF(10, 22));
    return p;
}

} // namespace

QPixmap libraryGlyph(LibraryGlyph glyph)
{
    static QHash<int, QPixmap> cache;
    const int key = int(glyph);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return it.value();
    QPixmap p;
    switch (glyph) {
    case LibraryGlyph::Exit: p = drawExit(); break;
    case LibraryGlyph::Ellipsis: p = drawEllipsis(); break;
    case LibraryGlyph::DropDown: p = drawDropDown(); break;
    case LibraryGlyph::Calendar: p = drawCalendar(); break;
    case LibraryGlyph::Calculator: p = drawCalculator(); break;
    case LibraryGlyph::IconWarning: p = drawWarning(); break;
    case LibraryGlyph::IconError: p = drawError(); break;
    case LibraryGlyph::IconInformation: p = drawBalloon(u'i'); break;
    case LibraryGlyph::IconConfirmation: p = drawBalloon(u'?'); break;
    }
    cache.insert(key, p);
    return p;
}

} // namespace qx
