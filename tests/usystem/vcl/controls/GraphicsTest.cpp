#include "usystem/vcl/controls/uQxGraphics.h"

#include "platform/rtl/Gbk.h"
#include "platform/ui/Fonts.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

namespace {

QImage canvasImage(int w, int h, QColor fill = Qt::white)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(fill);
    return img;
}

} // namespace

TEST(Graphics, DbcsTextWidthSumsCharacterWidths)
{
    QImage img = canvasImage(10, 10);
    QPainter p(&img);
    QFont mono(QStringLiteral("WenQuanYi Micro Hei Mono"));
    mono.setPixelSize(12);
    p.setFont(mono);
    const QString three = QStringLiteral("修手机");
    EXPECT_EQ(DbcsTextWidth(p, three), QFontMetrics(mono).horizontalAdvance(three));
    // GBK bytes: two characters measured as pairs; a lone lead byte at the end alone.
    const QByteArray gbk = qx::toGbk(QStringLiteral("手机A"));
    EXPECT_EQ(DbcsTextWidth(p, gbk), DbcsTextWidth(p, QStringLiteral("手机A")));
    QByteArray cut = qx::toGbk(QStringLiteral("手"));
    cut.chop(1);
    EXPECT_GE(DbcsTextWidth(p, cut), 0);
    EXPECT_EQ(DbcsTextWidth(p, QString()), 0);
}

TEST(Graphics, LineHeightRoundsHalvesToEven)
{
    EXPECT_EQ(LineHeightForTextHeight(12), 14); // 13.5 -> 14
    EXPECT_EQ(LineHeightForTextHeight(20), 22); // 22.5 -> 22
    EXPECT_EQ(LineHeightForTextHeight(16), 18);
    EXPECT_EQ(LineHeightForTextHeight(13), 15); // 14.625 -> 15
    TEXTMETRIC tm;
    QueryFontMetrics(qx::libraryFont(9), tm);
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_EQ(FontLineHeight(qx::libraryFont(9)), LineHeightForTextHeight(tm.tmHeight));
    EXPECT_EQ(FontAverageCharWidth(qx::libraryFont(9)), tm.tmAveCharWidth);
}

TEST(Graphics, SwapWordsAndRectSizes)
{
    std::uint16_t a = 1, b = 0xFFFF;
    SwapWords(a, b);
    EXPECT_EQ(a, 0xFFFF);
    EXPECT_EQ(b, 1);
    const QRect r(QPoint(10, 20), QPoint(39, 29)); // Left 10, Top 20, Right 40, Bottom 30
    EXPECT_EQ(RectWidth(r), 30);
    EXPECT_EQ(RectHeight(r), 10);
}

TEST(Graphics, ButtonFrameRaisedAndSunken)
{
    QImage img = canvasImage(20, 10, Qt::black);
    {
        QPainter p(&img);
        DrawButtonFrame(p, QRect(0, 0, 10, 10), false);
        DrawButtonFrame(p, QRect(10, 0, 10, 10), true);
    }
    // Raised: highlight top-left, shadow bottom-right, face inside; far corners take the shadow.
    EXPECT_EQ(img.pixelColor(0, 5), toQColor(clBtnHighlight));
    EXPECT_EQ(img.pixelColor(5, 0), toQColor(clBtnHighlight));
    EXPECT_EQ(img.pixelColor(9, 5), toQColor(clBtnShadow));
    EXPECT_EQ(img.pixelColor(5, 9), toQColor(clBtnShadow));
    EXPECT_EQ(img.pixelColor(9, 0), toQColor(clBtnShadow));
    EXPECT_EQ(img.pixelColor(0, 9), toQColor(clBtnShadow));
    EXPECT_EQ(img.pixelColor(5, 5), toQColor(clBtnFace));
    // Sunken: dark shadow top-left.
    EXPECT_EQ(img.pixelColor(10, 5), toQColor(cl3DDkShadow));
    EXPECT_EQ(img.pixelColor(15, 0), toQColor(cl3DDkShadow));
    EXPECT_EQ(img.pixelColor(15, 5), toQColor(clBtnFace));
}

TEST(Graphics, KeyedBitmapLeavesTheKeyColourOut)
{
    // A 2 x 2 picture: white at the bottom-left (the default key), red elsewhere but one blue.
    QImage bmp(2, 2, QImage::Format_RGB32);
    bmp.fill(Qt::red);
    bmp.setPixelColor(0, 1, Qt::white);
    bmp.setPixelColor(1, 1, Qt::white);
    bmp.setPixelColor(1, 0, Qt::blue);

    QImage dest = canvasImage(8, 8, Qt::green);
    {
        QPainter p(&dest);
        DrawStretchedBitmapKeyed(p, bmp, clDefault, 0, 0, 4, 4, 0, 0, 0, 0); // stretched 2x
    }
    EXPECT_EQ(dest.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(dest.pixelColor(3, 1), QColor(Qt::blue));
    EXPECT_EQ(dest.pixelColor(0, 3), QColor(Qt::green)); // white left out
    EXPECT_EQ(dest.pixelColor(3, 3), QColor(Qt::green));
    EXPECT_EQ(dest.pixelColor(5, 5), QColor(Qt::green)); // nothing outside

    // clNone draws everything; a part of the bitmap unstretched.
    QImage all = canvasImage(4, 4, Qt::green);
    {
        QPainter p(&all);
        DrawStretchedBitmapKeyed(p, bmp, clNone, 0, 0, 0, 0, 0, 0, 0, 0);
        DrawStretchedBitmapPart(p, 2, 2, 1, 1, QRect(1, 0, 1, 1), bmp, clRed);
    }
    EXPECT_EQ(all.pixelColor(0, 1), QColor(Qt::white));
    EXPECT_EQ(all.pixelColor(2, 2), QColor(Qt::blue));

    // A named colour keys that colour only.
    QImage named = canvasImage(2, 2, Qt::green);
    {
        QPainter p(&named);
        DrawStretchedBitmapKeyed(p, bmp, clRed, 0, 0, 0, 0, 0, 0, 0, 0);
    }
    EXPECT_EQ(named.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(named.pixelColor(1, 0), QColor(Qt::blue));
    EXPECT_EQ(named.pixelColor(0, 1), QColor(Qt::white));
}

TEST(Graphics, MonochromeBitmapKeysOnWhite)
{
    QImage mono(2, 1, QImage::Format_Mono);
    mono.setColorCount(2);
    mono.setColor(0, qRgb(0, 0, 0));
    mono.setColor(1, qRgb(255, 255, 255));
    mono.setPixel(0, 0, 0);
    mono.setPixel(1, 0, 1);
    QImage dest = canvasImage(2, 1, Qt::green);
    {
        QPainter p(&dest);
        DrawStretchedBitmapKeyed(p, mono, clBlack, 0, 0, 0, 0, 0, 0, 0, 0);
    }
    EXPECT_EQ(dest.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(dest.pixelColor(1, 0), QColor(Qt::green));
}

TEST(Graphics, DrawCanvasTextMeasuresAndCentresASingleLine)
{
    QImage img = canvasImage(100, 40);
    QPainter p(&img);
    p.setFont(qx::libraryFont(9));
    QRect calc(0, 0, 0, 0);
    DrawCanvasText(p, QStringLiteral("退出"), -1, calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.width(), QFontMetrics(p.font()).horizontalAdvance(QStringLiteral("退出")));
    QRect part(0, 0, 0, 0);
    DrawCanvasText(p, QStringLiteral("退出当前"), 2, part, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(part.width(), calc.width());
}

TEST(Graphics, BroadcastReachesEverySiblingWithTheSender)
{
    struct Listener : QWidget
    {
        using QWidget::QWidget;
        QList<long> values;
        QObject* from = nullptr;
        bool event(QEvent* e) override
        {
            if (e->type() == qx::eventType(qx::LibraryMessage::EnabledChanged)) {
                auto* le = static_cast<qx::LibraryEvent*>(e);
                values << le->value();
                from = le->sender();
                return true;
            }
            return QWidget::event(e);
        }
    };
    QWidget parent;
    auto* a = new Listener(&parent);
    auto* b = new Listener(&parent);
    QWidget other;
    auto* stranger = new Listener(&other);
    BroadcastToParent(a, qx::LibraryMessage::EnabledChanged, 1);
    EXPECT_EQ(a->values, QList<long>{1});
    EXPECT_EQ(b->values, QList<long>{1});
    EXPECT_EQ(b->from, a);
    EXPECT_TRUE(stranger->values.isEmpty());
    QWidget orphan;
    BroadcastToParent(&orphan, qx::LibraryMessage::EnabledChanged, 0); // no parent: nothing
}
