#include "usystem/vcl/controls/uQxButtons.h"
#include "tests/support/Widgets.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QTest>

namespace {

using qx::test::sendEnter;
using qx::test::solid;

struct ButtonForm
{
    QWidget form;
    TQxButton* button = new TQxButton(&form);
    ButtonForm()
    {
        form.resize(200, 100);
        button->move(20, 10);
        form.show();
    }
};

} // namespace

TEST(QxButton, FlatRaisedUnderTheMouseSunkenAndShiftedWhenPressed)
{
    ButtonForm f;
    TQxButton* b = f.button;
    b->resize(30, 30);
    b->SetGlyph(solid(4, 4, Qt::red)); // at (13, 13)
    const QColor face = toQColor(clBtnFace);
    const QColor hi = toQColor(clBtnHighlight);
    const QColor sh = toQColor(clBtnShadow);

    QImage img = b->grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 10), face); // flat: no frame
    EXPECT_EQ(img.pixelColor(29, 10), face);
    EXPECT_EQ(img.pixelColor(13, 13), QColor(Qt::red));

    sendEnter(b);
    EXPECT_TRUE(b->Hot());
    img = b->grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 10), hi);
    EXPECT_EQ(img.pixelColor(10, 0), hi);
    EXPECT_EQ(img.pixelColor(29, 10), sh);
    EXPECT_EQ(img.pixelColor(10, 29), sh);

    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(15, 15));
    img = b->grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 10), sh);
    EXPECT_EQ(img.pixelColor(29, 10), hi);
    EXPECT_EQ(img.pixelColor(13, 13), face);              // the glyph moved...
    EXPECT_EQ(img.pixelColor(17, 17), QColor(Qt::red));   // ...one pixel right and down
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(15, 15));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(b, &leave);
    img = b->grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 10), face);
}

TEST(QxButton, DesignTimeShowsRaised)
{
    ButtonForm f;
    f.button->SetDesigning(true);
    const QImage img = f.button->grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 5), toQColor(clBtnHighlight));
}

TEST(QxButton, DisabledShowsNoFrameAndAnEmbossedGlyph)
{
    ButtonForm f;
    TQxButton* b = f.button;
    b->resize(30, 30);
    QImage glyph = solid(4, 4, Qt::white); // at (13, 13); red block at (14..15, 14..15)
    glyph.setPixelColor(1, 1, Qt::red);
    glyph.setPixelColor(2, 1, Qt::red);
    glyph.setPixelColor(1, 2, Qt::red);
    glyph.setPixelColor(2, 2, Qt::red);
    b->SetGlyph(glyph);
    b->setEnabled(false);
    sendEnter(b);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(15, 15));
    const QImage img = b->grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 10), toQColor(clBtnFace));
    EXPECT_EQ(img.pixelColor(29, 10), toQColor(clBtnFace));
    // The picture's own pixels in shadow, their highlight one pixel down and right.
    EXPECT_EQ(img.pixelColor(13, 13), toQColor(clBtnFace));
    EXPECT_EQ(img.pixelColor(14, 14), toQColor(clBtnShadow));
    EXPECT_EQ(img.pixelColor(16, 16), toQColor(clBtnHighlight));
    // A glyph of one colour is all background (the top-left pixel's colour).
    const QImage emboss = TQxCustomButton::DisabledGlyph(solid(4, 4, Qt::red));
    EXPECT_EQ(emboss.pixelColor(2, 2), toQColor(clBtnFace));
    // White, silver and the top-left colour are background: they stay button face.
    QImage g = solid(4, 4, Qt::white);
    g.setPixelColor(1, 1, Qt::black);
    const QImage e2 = TQxCustomButton::DisabledGlyph(g);
    EXPECT_EQ(e2.pixelColor(1, 1), toQColor(clBtnShadow));
    EXPECT_EQ(e2.pixelColor(2, 2), toQColor(clBtnHighlight));
    EXPECT_EQ(e2.pixelColor(3, 3), toQColor(clBtnFace));
}

TEST(QxButton, LargeGlyphIsCentredOffTheButton)
{
    ButtonForm f;
    f.button->resize(24, 24);
    QImage g = solid(32, 32, Qt::blue);
    g.setPixelColor(4, 4, Qt::red); // lands on (0, 0) when drawn at (-4, -4)
    f.button->SetGlyph(g);
    EXPECT_EQ(f.button->grab().toImage().pixelColor(0, 0), QColor(Qt::red));
}

TEST(QxButton, RightButtonStyleClicksFromTheCaptionAndDropsTheMenuFromTheArrow)
{
    ButtonForm f;
    TQxButton* b = f.button;
    b->resize(60, 22);
    b->SetButtonStyle(TQxCustomButton::sbsRightButton);
    EXPECT_EQ(b->ArrowWidth(), 9);
    QMenu menu;
    menu.addAction(QStringLiteral("按单号"));
    b->SetPopupMenu(&menu);
    int clicks = 0;
    b->OnClick = [&](QObject* s) {
        EXPECT_EQ(s, b);
        ++clicks;
    };

    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(menu.isVisible());

    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(55, 10));
    EXPECT_EQ(clicks, 1);
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), b->mapToGlobal(QPoint(0, b->height())));
    menu.close();

    // X = 50 still belongs to the caption part, X = 51 to the arrow.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_EQ(clicks, 2);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(51, 10));
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

TEST(QxButton, ButtonMenuStyleNeverClicks)
{
    ButtonForm f;
    TQxButton* b = f.button;
    b->resize(60, 22);
    b->SetButtonStyle(TQxCustomButton::sbsButtonMenu);
    QMenu menu;
    menu.addAction(QStringLiteral("导出"));
    b->SetPopupMenu(&menu);
    int clicks = 0;
    b->OnClick = [&](QObject*) { ++clicks; };
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(menu.isVisible());
    menu.close();

    // A normal button has no arrow part: the whole width clicks, no menu.
    b->SetButtonStyle(TQxCustomButton::sbsNormal);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(58, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(menu.isVisible());
}

TEST(QxButton, ReleaseOutsideOrDisabledDoesNotClick)
{
    ButtonForm f;
    int clicks = 0;
    f.button->OnClick = [&](QObject*) { ++clicks; };
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(f.button, Qt::LeftButton, {}, QPoint(100, 5));
    EXPECT_EQ(clicks, 0);
    f.button->setEnabled(false);
    QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 0);
}
