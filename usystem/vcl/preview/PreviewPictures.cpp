#include "usystem/vcl/preview/PreviewPictures.h"

#include "platform/ui/Glyphs.h"
#include "platform/ui/ImageList.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace qx::preview {
namespace {

const QColor kInk(48, 48, 48);
const QColor kPaper(Qt::white);
const QColor kBlue(0, 64, 160);
const QColor kGreen(0, 128, 64);

QPixmap blankPicture()
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    return p;
}

// A sheet of paper with a folded corner.
void sheet(QPainter& g, const QRect& r)
{
    g.setPen(kInk);
    g.setBrush(kPaper);
    const QPoint outline[] = {r.topLeft(), {r.right() - 3, r.top()}, {r.right(), r.top() + 3}, r.bottomRight(), r.bottomLeft()};
    g.drawPolygon(outline, 5);
}

void magnifier(QPainter& g)
{
    g.setPen(QPen(kInk, 1.5));
    g.setBrush(QColor(220, 235, 255));
    g.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    g.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(10, 10), QPointF(14, 14));
}

QPixmap drawZoom()
{
    QPixmap p = blankPicture();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    magnifier(g);
    g.setPen(QPen(kBlue, 1.5));
    g.drawLine(QPointF(4, 6), QPointF(8, 6));
    g.drawLine(QPointF(6, 4), QPointF(6, 8));
    return p;
}

QPixmap drawZoom100()
{
    QPixmap p = blankPicture();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    magnifier(g);
    g.setPen(QPen(kBlue, 1.5));
    g.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
    g.drawLine(QPointF(4.5, 5), QPointF(6, 3.5));
    return p;
}

QPixmap drawWholePage()
{
    QPixmap p = blankPicture();
    QPainter g(&p);
    sheet(g, QRect(3, 1, 10, 14));
    g.setPen(QColor(128, 128, 128));
    for (int y = 4; y <= 12; y += 2)
        g.drawLine(5, y, 10, y);
    return p;
}

QPixmap drawPageWidth()
{
    QPixmap p = blankPicture();
    QPainter g(&p);
    sheet(g, QRect(3, 1, 10, 14));
    g.setPen(kBlue);
    g.drawLine(1, 8, 14, 8);
    g.drawLine(1, 8, 3, 6);
    g.drawLine(1, 8, 3, 10);
    g.drawLine(14, 8, 12, 6);
    g.drawLine(14, 8, 12, 10);
    return p;
}

QPixmap drawPrinter()
{
    QPixmap p = blankPicture();
    QPainter g(&p);
    g.setPen(kInk);
    g.setBrush(kPaper);
    g.drawRect(4, 1, 7, 5);
    g.setBrush(QColor(192, 192, 192));
    g.drawRect(1, 6, 13, 6);
    g.setBrush(kPaper);
    g.drawRect(4, 10, 7, 4);
    g.fillRect(11, 8, 2, 1, kGreen);
    return p;
}

// A triangle pointing left or right, with or without a bar at its tip.
QPixmap drawArrow(bool right, bool bar)
{
    QPixmap p = blankPicture();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(kBlue);
    const double tip = right ? 11.5 : 4.5;
    const double back = right ? 5.5 : 10.5;
    const QPointF triangle[] = {{back, 3.5}, {tip, 8}, {back, 12.5}};
    g.drawPolygon(triangle, 3);
    if (bar)
        g.fillRect(QRectF(right ? 12 : 2.5, 3.5, 1.5, 9), kBlue);
    return p;
}

QPixmap drawOpen()
{
    QPixmap p = blankPicture();
    QPainter g(&p);
    g.setPen(kInk);
    g.setBrush(QColor(240, 200, 80));
    const QPoint back[] = {{1, 3}, {6, 3}, {7, 5}, {13, 5}, {13, 13}, {1, 13}};
    g.drawPolygon(back, 6);
    g.setBrush(QColor(255, 225, 120));
    const QPoint front[] = {{1, 13}, {4, 7}, {15, 7}, {13, 13}};
    g.drawPolygon(front, 4);
    return p;
}

QPixmap drawSave()
{
    QPixmap p = blankPicture();
    QPainter g(&p);
    g.setPen(kInk);
    g.setBrush(kBlue);
    g.drawRect(1, 1, 13, 13);
    g.setBrush(kPaper);
    g.drawRect(4, 1, 7, 5);
    g.setBrush(QColor(192, 192, 192));
    g.drawRect(3, 9, 9, 5);
    return p;
}

QPixmap drawStop()
{
    QPixmap p = blankPicture();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(128, 0, 0), 1));
    g.setBrush(QColor(210, 30, 30));
    const QPointF octagon[] = {{5, 1}, {11, 1}, {15, 5}, {15, 11}, {11, 15}, {5, 15}, {1, 11}, {1, 5}};
    g.drawPolygon(octagon, 8);
    g.fillRect(QRectF(4, 7, 8, 2), Qt::white);
    return p;
}

// One page of a copies picture with its page number.
void numberedSheet(QPainter& g, const QRect& r, int number)
{
    sheet(g, r);
    QFont font = g.font();
    font.setPixelSize(11);
    font.setBold(true);
    g.setFont(font);
    g.setPen(kInk);
    g.drawText(r.adjusted(0, r.height() / 3, 0, 0), Qt::AlignHCenter | Qt::AlignTop, QString::number(number));
}

} // namespace

void addToolPictures(TImageList& list)
{
    list.SetWidth(16);
    list.SetHeight(16);
    list.Add(drawZoom());
    list.Add(drawZoom100());
    list.Add(drawWholePage());
    list.Add(drawPageWidth());
    list.Add(drawPrinter());
    list.Add(drawArrow(false, true));
    list.Add(drawArrow(false, false));
    list.Add(drawArrow(true, false));
    list.Add(drawArrow(true, true));
    list.Add(drawOpen());
    list.Add(qx::libraryGlyph(qx::LibraryGlyph::Exit));
    list.Add(drawSave());
    list.Add(drawStop());
}

QImage printerIcon()
{
    QImage image(18, 16, QImage::Format_ARGB32);
    image.fill(toQColor(kPrinterIconGround));
    QPainter g(&image);
    g.translate(1, 0);
    g.drawPixmap(0, 0, drawPrinter());
    return image;
}

QImage copiesPicture(bool collated)
{
    QImage image(102, 53, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter g(&image);
    g.setRenderHint(QPainter::TextAntialiasing);
    const QSize page(20, 28);
    if (collated) {
        // Two sets, each pages 3, 2, 1 from the back to the front.
        for (int set = 0; set < 2; ++set) {
            const int left = 4 + set * 52;
            for (int n = 3; n >= 1; --n) {
                const int step = n - 1;
                numberedSheet(g, QRect(QPoint(left + step * 8, 2 + step * 8), page), n);
            }
        }
    } else {
        // Three pairs: 1 over 1, 2 over 2, 3 over 3.
        for (int n = 1; n <= 3; ++n) {
            const int left = 2 + (n - 1) * 34;
            for (int copy = 1; copy >= 0; --copy)
                numberedSheet(g, QRect(QPoint(left + copy * 8, 2 + copy * 14), page), n);
        }
    }
    return image;
}

} // namespace qx::preview
