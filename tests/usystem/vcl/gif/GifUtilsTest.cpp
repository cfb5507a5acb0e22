// Drawing with a transparent colour, and painting what lies under a windowless control.
#include "usystem/vcl/gif/uQxGifUtils.h"
#include "tests/support/Widgets.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>

namespace {

using qx::test::solid;

// A 4 x 4 picture: green with a magenta left column, so its bottom-left pixel is magenta.
QImage keyed()
{
    QImage img = solid(4, 4, Qt::green);
    for (int y = 0; y < 4; ++y)
        img.setPixelColor(0, y, Qt::magenta);
    return img;
}

class Filled : public QWidget
{
public:
    Filled(QWidget* parent, QColor color) : QWidget(parent), m_color(color) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), m_color); }

private:
    QColor m_color;
};

} // namespace

TEST(GifUtils, CornerColorIsTheBottomLeftPixel)
{
    QImage img = solid(3, 5, Qt::white);
    img.setPixelColor(0, 4, QColor(1, 2, 3));
    img.setPixelColor(0, 0, Qt::red);
    EXPECT_EQ(CornerColor(img), TColor(0x030201));
    EXPECT_EQ(CornerColor(QImage()), clNone);
}

TEST(GifUtils, DrawTransparentKeepsTheBackgroundWhereTheKeyColourIs)
{
    const struct
    {
        TColor key;
        QColor leftColumn;
        QColor rest;
    } cases[] = {
        {clDefault, Qt::blue, Qt::green},      // the bottom-left pixel's magenta is left out
        {clFuchsia, Qt::blue, Qt::green},      // named: the same
        {clLime, Qt::magenta, Qt::blue},       // green left out instead
        {clNone, Qt::magenta, Qt::green},      // everything drawn
        {clRed, Qt::magenta, Qt::green},       // a colour the picture lacks: everything drawn
    };
    const QImage picture = keyed();
    for (const auto& c : cases) {
        QImage target = solid(8, 8, Qt::blue);
        {
            QPainter p(&target);
            DrawTransparent(p, 2, 3, c.key, picture);
        }
        EXPECT_EQ(target.pixelColor(2, 3), c.leftColumn) << c.key;
        EXPECT_EQ(target.pixelColor(2, 6), c.leftColumn) << c.key;
        EXPECT_EQ(target.pixelColor(3, 3), c.rest) << c.key;
        EXPECT_EQ(target.pixelColor(5, 6), c.rest) << c.key;
        EXPECT_EQ(target.pixelColor(6, 3), QColor(Qt::blue)) << c.key;
        EXPECT_EQ(target.pixelColor(1, 3), QColor(Qt::blue)) << c.key;
    }
    // The caller's picture stays as it was.
    EXPECT_EQ(picture.pixelColor(0, 3), QColor(Qt::magenta));
}

TEST(GifUtils, DrawBitmapExTakesAPartAndStretchesIt)
{
    QImage picture = solid(4, 4, Qt::green);
    picture.setPixelColor(2, 2, Qt::red);
    picture.setPixelColor(3, 3, Qt::magenta);
    // The part from (2, 2), 2 x 2, doubled; its bottom-left pixel is green.
    QImage target = solid(10, 10, Qt::blue);
    {
        QPainter p(&target);
        DrawBitmapEx(p, 1, 1, clDefault, picture, QRect(2, 2, 2, 2), 4, 4);
    }
    EXPECT_EQ(target.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(3, 1), QColor(Qt::blue)); // green left out
    EXPECT_EQ(target.pixelColor(4, 4), QColor(Qt::magenta));
    EXPECT_EQ(target.pixelColor(5, 5), QColor(Qt::blue));
    // A part without a height is the whole picture, and one missing size means no stretch.
    target = solid(10, 10, Qt::blue);
    {
        QPainter p(&target);
        DrawBitmapEx(p, 0, 0, clNone, picture, QRect(2, 2, 2, 0), 0, 7);
    }
    EXPECT_EQ(target.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(target.pixelColor(3, 3), QColor(Qt::magenta));
    EXPECT_EQ(target.pixelColor(4, 4), QColor(Qt::blue));
}

TEST(GifUtils, PaintUnderShowsTheParentAndTheControlsBelowOnly)
{
    Filled parent(nullptr, Qt::yellow);
    parent.resize(100, 100);
    Filled below(&parent, Qt::cyan);
    below.setGeometry(0, 0, 30, 100); // covers the control's left 10 columns
    QWidget control(&parent);
    control.setGeometry(20, 10, 40, 40);
    Filled above(&parent, Qt::red); // created after the control: on top of it
    above.setGeometry(50, 0, 50, 100);
    Filled hidden(&parent, Qt::black);
    hidden.setGeometry(0, 0, 100, 100);
    hidden.hide();
    hidden.lower();
    Filled away(&parent, Qt::darkGray);
    away.setGeometry(70, 70, 10, 10);
    away.lower();

    QImage canvas = solid(40, 40, Qt::white);
    {
        QPainter p(&canvas);
        PaintUnder(&control, p);
    }
    EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::cyan));
    EXPECT_EQ(canvas.pixelColor(9, 39), QColor(Qt::cyan));
    EXPECT_EQ(canvas.pixelColor(10, 0), QColor(Qt::yellow));
    EXPECT_EQ(canvas.pixelColor(39, 39), QColor(Qt::yellow)); // the one above is not under it

    // Without a parent nothing is painted.
    QWidget alone;
    alone.resize(10, 10);
    QImage blank = solid(10, 10, Qt::white);
    {
        QPainter p(&blank);
        PaintUnder(&alone, p);
    }
    EXPECT_EQ(blank.pixelColor(5, 5), QColor(Qt::white));
}
