// The effect bitmap: its row layout and the cross-fade of two pictures.
#include "usystem/vcl/gif/uQxGifffBmp.h"
#include "tests/support/Widgets.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

using qx::test::solid;

} // namespace

TEST(EffectBmp, RowsArePaddedToFourBytes)
{
    const struct
    {
        int width;
        int stride;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {6, 20}, {7, 24}, {8, 24}};
    for (const auto& c : cases) {
        TEffectBmp bmp(solid(c.width, 3, Qt::black));
        EXPECT_EQ(bmp.RowStride(), c.stride) << c.width;
        EXPECT_EQ(bmp.ImageSize(), 3 * c.stride) << c.width;
        EXPECT_EQ(bmp.ScanLine(2) - bmp.PixelBits(), 2 * c.stride) << c.width;
    }
}

TEST(EffectBmp, PixelsAreBlueGreenRedTopRowFirst)
{
    QImage img = solid(2, 2, Qt::black);
    img.setPixelColor(1, 0, QColor(10, 20, 30));
    img.setPixelColor(0, 1, QColor(40, 50, 60));
    TEffectBmp bmp(img);
    EXPECT_EQ(bmp.PixelWidth(), 2);
    EXPECT_EQ(bmp.PixelHeight(), 2);
    const unsigned char* top = bmp.ScanLine(0);
    EXPECT_EQ(top[3], 30);
    EXPECT_EQ(top[4], 20);
    EXPECT_EQ(top[5], 10);
    const unsigned char* bottom = bmp.ScanLine(1);
    EXPECT_EQ(bottom[0], 60);
    EXPECT_EQ(bottom[1], 50);
    EXPECT_EQ(bottom[2], 40);
    EXPECT_EQ(bmp.ToImage().pixelColor(1, 0), QColor(10, 20, 30));
}

TEST(EffectBmp, RowsCopyInAndOut)
{
    TEffectBmp bmp(solid(3, 2, Qt::black));
    const unsigned char row[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    bmp.SetRow(1, row);
    unsigned char back[9] = {};
    bmp.GetRow(1, back);
    EXPECT_TRUE(std::equal(row, row + 9, back));
    EXPECT_EQ(bmp.ToImage().pixelColor(2, 1), QColor(9, 8, 7));
    EXPECT_THROW(bmp.ScanLine(2), ERangeError);
    EXPECT_THROW(bmp.ScanLine(-1), ERangeError);
}

TEST(EffectBmp, BlendFadesTowardsTheOtherPicture)
{
    const struct
    {
        int own;
        int other;
        double amount;
        int expected;
    } cases[] = {
        {0, 255, 0.0, 0},    {0, 255, 1.0, 255},   {0, 255, 0.5, 128}, // 127.5 to the even 128
        {0, 255, 0.1, 26},   {0, 255, 0.9, 230},   {255, 0, 0.1, 230},
        {0, 255, 1.1, 255},  {0, 255, -0.5, 0},    {100, 200, 0.25, 125},
        {1, 2, 0.5, 2},      {3, 4, 0.5, 4},       {5, 6, 0.5, 6}, // halves to even
        {2, 3, 0.5, 2},      {200, 200, 0.7, 200},
    };
    for (const auto& c : cases) {
        TEffectBmp own(solid(5, 3, QColor(c.own, c.own, c.own)));
        const TEffectBmp other(solid(5, 3, QColor(c.other, c.other, c.other)));
        own.Blend(other, c.amount);
        const QImage out = own.ToImage();
        EXPECT_EQ(out.pixelColor(0, 0).red(), c.expected)
            << c.own << " -> " << c.other << " by " << c.amount;
        EXPECT_EQ(out.pixelColor(4, 2).blue(), c.expected);
    }
}

TEST(EffectBmp, BlendWorksOnEachChannelAlone)
{
    TEffectBmp own(solid(2, 1, QColor(255, 0, 100)));
    const TEffectBmp other(solid(2, 1, QColor(0, 255, 200)));
    own.Blend(other, 0.3);
    // 178.5 and 76.5 go to their even neighbours.
    EXPECT_EQ(own.ToImage().pixelColor(1, 0), QColor(178, 76, 130));
}

TEST(EffectBmp, BlendWithAnotherSizeChangesNothing)
{
    TEffectBmp own(solid(4, 4, Qt::black));
    const TEffectBmp wider(solid(5, 4, Qt::white));
    const TEffectBmp taller(solid(4, 5, Qt::white));
    own.Blend(wider, 1.0);
    own.Blend(taller, 1.0);
    EXPECT_EQ(own.ToImage().pixelColor(0, 0), QColor(Qt::black));
}

TEST(EffectBmp, DrawSetsTheWholePictureUnscaled)
{
    QImage target = solid(10, 10, Qt::white);
    {
        QPainter p(&target);
        TEffectBmp(solid(3, 2, Qt::red)).Draw(p, 4, 5);
    }
    EXPECT_EQ(target.pixelColor(4, 5), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(6, 6), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(7, 6), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(6, 7), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(3, 5), QColor(Qt::white));
}

TEST(EffectBmp, AnEmptyPictureHoldsNoPixels)
{
    TEffectBmp bmp{QImage()};
    EXPECT_EQ(bmp.ImageSize(), 0);
    EXPECT_TRUE(bmp.ToImage().isNull());
    QImage target = solid(2, 2, Qt::white);
    QPainter p(&target);
    bmp.Draw(p, 0, 0);
}
