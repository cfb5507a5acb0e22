// The cross-fading image button: the fade steps under the mouse, clicks, the down image, the
// transparent pictures, its sounds and its stored properties.
#include "usystem/vcl/gif/uQxGifButton.h"
#include "tests/support/Widgets.h"

#include "platform/stream/ComponentReader.h"
#include "platform/stream/ComponentWriter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QTimer>

namespace {

using qx::test::solid;

class Backdrop : public QWidget
{
public:
    using QWidget::QWidget;
    QColor color = Qt::yellow;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), color); }
};

struct ButtonForm
{
    Backdrop form;
    tQxGifButton* button = new tQxGifButton(&form);
    int clicks = 0;

    ButtonForm()
    {
        form.resize(200, 200);
        button->SetBounds(50, 50, 40, 40);
        button->SetUpGlyph(solid(40, 40, QColor(0, 0, 200)));
        button->SetActiveGlyph(solid(40, 40, QColor(200, 100, 0)));
        button->OnClick = [this](QObject* sender) {
            EXPECT_EQ(sender, button);
            ++clicks;
        };
        form.show();
        QTest::mouseMove(&form, QPoint(5, 5));
        QCoreApplication::processEvents();
    }

    QColor shown(int x = 20, int y = 20) const { return button->grab().toImage().pixelColor(x, y); }
    void enter() { QTest::mouseMove(button, QPoint(20, 20)); }
    void leave() { QTest::mouseMove(&form, QPoint(5, 5)); }
    // Runs the fade until the timer stops, counting the ticks that changed the picture.
    int runFade()
    {
        int steps = 0;
        while (button->FadeTimer()->isActive() && steps < 100) {
            const int before = button->FadeStep();
            button->FadeTick();
            if (button->FadeStep() != before)
                ++steps;
        }
        return steps;
    }
};

// The blend of the two test pictures at a level, as the button must show it.
QColor blendAt(int step)
{
    const double a = step / 10.0;
    auto mix = [a](int from, int to) { return int(std::nearbyint((1 - a) * from + a * to)); };
    return QColor(mix(0, 200), mix(0, 100), mix(200, 0));
}

} // namespace

TEST(GifButton, StartsAsTheLibraryMakesIt)
{
    tQxGifButton b;
    EXPECT_EQ(b.Width(), 100);
    EXPECT_EQ(b.Height(), 100);
    EXPECT_EQ(b.Interval(), 100u);
    EXPECT_FALSE(b.FadeTimer()->isActive());
    EXPECT_EQ(b.FadeLevel(), 0.0);
    EXPECT_EQ(b.Color(), clWindow);
    EXPECT_FALSE(b.Transparent());
    EXPECT_TRUE(b.UpGlyph().isNull());
    EXPECT_TRUE(b.testAttribute(Qt::WA_OpaquePaintEvent));
    b.SetTransparent(true);
    EXPECT_FALSE(b.testAttribute(Qt::WA_OpaquePaintEvent));
    b.SetInterval(2);
    EXPECT_EQ(b.FadeTimer()->interval(), 2);
}

TEST(GifButton, HoverFadesInStepByStepAndLeavingFadesBack)
{
    ButtonForm f;
    tQxGifButton* b = f.button;
    EXPECT_EQ(f.shown(), blendAt(0));
    f.enter();
    EXPECT_TRUE(b->MouseInside());
    EXPECT_TRUE(b->FadeTimer()->isActive());
    EXPECT_TRUE(b->FadingIn());
    for (int step = 1; step <= 10; ++step) {
        b->FadeTick();
        EXPECT_EQ(b->FadeStep(), step);
        EXPECT_DOUBLE_EQ(b->FadeLevel(), step / 10.0);
        EXPECT_EQ(f.shown(), blendAt(step)) << step;
        EXPECT_TRUE(b->FadeTimer()->isActive());
    }
    b->FadeTick(); // the tick after the last step stops the timer
    EXPECT_FALSE(b->FadeTimer()->isActive());
    EXPECT_EQ(b->FadeLevel(), 1.0);
    EXPECT_EQ(f.shown(), QColor(200, 100, 0));

    f.leave();
    EXPECT_FALSE(b->MouseInside());
    EXPECT_TRUE(b->FadeTimer()->isActive());
    EXPECT_FALSE(b->FadingIn());
    EXPECT_EQ(f.runFade(), 10);
    EXPECT_FALSE(b->FadeTimer()->isActive());
    EXPECT_EQ(b->FadeLevel(), 0.0);
    EXPECT_EQ(f.shown(), QColor(0, 0, 200));
}

TEST(GifButton, LeavingHalfwayFadesBackFromWhereItWas)
{
    ButtonForm f;
    f.enter();
    for (int i = 0; i < 4; ++i)
        f.button->FadeTick();
    EXPECT_EQ(f.button->FadeStep(), 4);
    f.leave();
    f.button->FadeTick();
    EXPECT_EQ(f.button->FadeStep(), 3);
    // Back over it before the fade-out ends: it lights up again from there.
    f.enter();
    EXPECT_TRUE(f.button->FadingIn());
    f.button->FadeTick();
    EXPECT_EQ(f.button->FadeStep(), 4);
    f.leave();
    EXPECT_EQ(f.runFade(), 4);
    EXPECT_EQ(f.button->FadeStep(), 0);
}

TEST(GifButton, ADisabledButtonIgnoresTheMouseAndDropsItsHover)
{
    ButtonForm f;
    f.enter();
    f.button->FadeTick();
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(20, 20));
    f.button->SetEnabled(false);
    EXPECT_FALSE(f.button->MouseDown());
    EXPECT_FALSE(f.button->MouseInside());
    EXPECT_FALSE(f.button->FadingIn());
    f.runFade();
    f.leave();
    f.enter();
    EXPECT_FALSE(f.button->MouseInside());
    EXPECT_FALSE(f.button->FadeTimer()->isActive());
    EXPECT_EQ(f.clicks, 0);
}

TEST(GifButton, ClickFiresOnClickOnlyWhenReleasedOverAnEnabledButton)
{
    ButtonForm f;
    QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(f.clicks, 1);
    QTest::mouseClick(f.button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(f.clicks, 1);

    // Pressed, dragged off and released outside: no click.
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(f.button, QPoint(60, 10));
    EXPECT_FALSE(f.button->MouseInside());
    QTest::mouseRelease(f.button, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_EQ(f.clicks, 1);
    EXPECT_FALSE(f.button->MouseDown());
    // Released outside without a move first: no click either.
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(f.button, Qt::LeftButton, {}, QPoint(-5, 10));
    EXPECT_EQ(f.clicks, 1);

    f.button->SetEnabled(false);
    QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(f.clicks, 1);
    f.button->SetEnabled(true);
    QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(f.clicks, 2);
}

TEST(GifButton, TheDownImageShowsWhilePressed)
{
    ButtonForm f;
    tQxGifButton* b = f.button;
    b->SetDownGlyph(solid(40, 40, Qt::green));
    f.enter();
    b->FadeTick();
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(b->FadeTimer()->isActive()); // the fade stops for the down image
    EXPECT_EQ(f.shown(), QColor(Qt::green));
    // Off the button while held: the active image, fading out.
    QTest::mouseMove(b, QPoint(70, 20));
    EXPECT_EQ(b->FadeStep(), 10);
    EXPECT_FALSE(b->FadingIn());
    EXPECT_EQ(f.shown(), QColor(200, 100, 0));
    // Back over it while held: the down image at once, no fade.
    QTest::mouseMove(b, QPoint(20, 20));
    EXPECT_EQ(f.shown(), QColor(Qt::green));
    EXPECT_EQ(b->FadeStep(), 10);
    b->FadeTimer()->stop();
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(f.clicks, 1);
    EXPECT_EQ(b->FadeLevel(), 1.0);
    EXPECT_EQ(f.shown(), QColor(200, 100, 0));
}

TEST(GifButton, WithoutADownImagePressingChangesNothingVisible)
{
    ButtonForm f;
    tQxGifButton* b = f.button;
    f.enter();
    b->FadeTick();
    b->FadeTick();
    const QColor before = f.shown();
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(b->FadeTimer()->isActive());
    EXPECT_EQ(f.shown(), before);
    b->FadeTick();
    EXPECT_EQ(b->FadeStep(), 3);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(f.clicks, 1);
    EXPECT_TRUE(b->FadeTimer()->isActive());
}

TEST(GifButton, WithoutBothImagesOnlyTheBackgroundShows)
{
    ButtonForm f;
    tQxGifButton* b = f.button;
    b->SetColor(clRed);
    b->SetActiveGlyph(QImage());
    EXPECT_EQ(f.shown(), QColor(Qt::red));
    b->SetActiveGlyph(solid(40, 40, Qt::white));
    b->SetUpGlyph(QImage());
    EXPECT_EQ(f.shown(), QColor(Qt::red));
}

TEST(GifButton, ALargerActiveImageIsCutFromItsTopLeftCorner)
{
    ButtonForm f;
    tQxGifButton* b = f.button;
    b->SetUpGlyph(solid(20, 20, Qt::black));
    QImage big = solid(60, 60, Qt::blue);
    QPainter(&big).fillRect(QRect(0, 0, 20, 20), Qt::white);
    b->SetActiveGlyph(big);
    f.enter();
    f.runFade();
    EXPECT_EQ(f.shown(5, 5), QColor(Qt::white));
    EXPECT_EQ(f.shown(19, 19), QColor(Qt::white));
    // Beyond the up image's size the button's own colour.
    EXPECT_EQ(f.shown(25, 25), toQColor(clWindow));
}

TEST(GifButton, TransparentPicturesShowWhatLiesBeneath)
{
    ButtonForm f;
    tQxGifButton* b = f.button;
    QImage up = solid(40, 40, Qt::magenta);
    QPainter(&up).fillRect(QRect(10, 10, 20, 20), Qt::blue);
    QImage active = solid(40, 40, Qt::magenta);
    QPainter(&active).fillRect(QRect(10, 10, 20, 20), Qt::red);
    b->SetUpGlyph(up);
    b->SetActiveGlyph(active);
    b->SetTransparent(true);
    b->SetGlyphsTransparent(true);
    EXPECT_EQ(f.shown(2, 2), QColor(Qt::yellow)); // the backdrop through the key colour
    EXPECT_EQ(f.shown(20, 20), QColor(Qt::blue));
    f.enter();
    f.runFade();
    EXPECT_EQ(f.shown(2, 38), QColor(Qt::yellow));
    EXPECT_EQ(f.shown(20, 20), QColor(Qt::red));

    // Opaque, the key colour gives way to the button's colour instead.
    b->SetTransparent(false);
    b->SetColor(clWhite);
    EXPECT_EQ(f.shown(2, 2), QColor(Qt::white));
    // Without transparent pictures the key colour is drawn.
    b->SetGlyphsTransparent(false);
    EXPECT_EQ(f.shown(2, 2), QColor(Qt::magenta));
}

TEST(GifButton, SoundsPlayOnHoverAndBeforeTheClick)
{
    ButtonForm f;
    QStringList events;
    TepWavePlayer hover(&f.form);
    TepWavePlayer click(&f.form);
    hover.BeforePlay = [&](QObject*) { events << QStringLiteral("hover sound"); };
    click.BeforePlay = [&](QObject*) { events << QStringLiteral("click sound"); };
    f.button->SetActiveSound(&hover);
    f.button->SetClickSound(&click);
    f.button->OnClick = [&](QObject*) { events << QStringLiteral("click"); };
    f.enter();
    QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(events, (QStringList{QStringLiteral("hover sound"), QStringLiteral("click sound"),
                                   QStringLiteral("click")}));
}

TEST(GifButton, AFreedPlayerLeavesTheReferenceEmpty)
{
    ButtonForm f;
    auto* player = new TepWavePlayer(&f.form);
    f.button->SetClickSound(player);
    f.button->SetActiveSound(player);
    delete player;
    EXPECT_EQ(f.button->ClickSound(), nullptr);
    EXPECT_EQ(f.button->ActiveSound(), nullptr);
    f.enter();
    QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(f.clicks, 1);
}

TEST(GifButton, TheRightButtonOpensThePopupMenu)
{
    ButtonForm f;
    QMenu menu;
    menu.addAction(QStringLiteral("属性"));
    f.button->SetPopupMenu(&menu);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            f.button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(f.button, &event);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    EXPECT_EQ(f.clicks, 0);
}

TEST(GifButton, TheFontFollowsTheParentUntilSetItself)
{
    ButtonForm f;
    EXPECT_TRUE(f.button->ParentFont());
    QFont big = f.form.font();
    big.setPointSize(20);
    f.form.setFont(big);
    EXPECT_EQ(f.button->font().pointSize(), 20);
    QFont small = big;
    small.setPointSize(7);
    f.button->setFont(small);
    EXPECT_FALSE(f.button->ParentFont());
    f.button->SetParentFont(true);
    EXPECT_TRUE(f.button->ParentFont());
    EXPECT_EQ(f.button->font().pointSize(), 20);
}

TEST(GifButton, MouseEventsFollowTheButtonsOwnHandling)
{
    ButtonForm f;
    QStringList events;
    f.button->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int x, int y) {
        EXPECT_TRUE(f.button->MouseDown());
        events << QStringLiteral("down %1,%2").arg(x).arg(y);
    };
    f.button->OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int, int) {
        EXPECT_FALSE(f.button->MouseDown());
        events << QStringLiteral("up");
    };
    f.button->OnClick = [&](QObject*) { events << QStringLiteral("click"); };
    QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(3, 4));
    EXPECT_EQ(events, (QStringList{QStringLiteral("down 3,4"), QStringLiteral("click"),
                                   QStringLiteral("up")}));
}

TEST(GifButton, PropertiesTravelThroughTheComponentStream)
{
    QWidget form;
    form.setObjectName(QStringLiteral("Form"));
    auto* player = new TepWavePlayer(&form);
    player->setObjectName(QStringLiteral("Ding"));
    auto* b = new tQxGifButton(&form);
    b->setObjectName(QStringLiteral("QxGifButton1"));
    b->SetBounds(10, 20, 90, 70);
    b->SetTransparent(true);
    b->SetGlyphsTransparent(true);
    b->SetInterval(2);
    b->SetCaption(QStringLiteral("工单管理"));
    b->SetClickSound(player);
    b->SetColor(clBtnFace);

    QBuffer image;
    image.open(QIODevice::ReadWrite);
    qx::ComponentWriter(image).writeComponent(b);
    image.seek(0);
    qx::ComponentReader reader(image);
    auto* back = qobject_cast<tQxGifButton*>(reader.readComponent(&form, &form));
    ASSERT_NE(back, nullptr);
    reader.fixupReferences(&form);
    EXPECT_EQ(back->geometry(), QRect(10, 20, 90, 70));
    EXPECT_TRUE(back->Transparent());
    EXPECT_TRUE(back->GlyphsTransparent());
    EXPECT_EQ(back->Interval(), 2u);
    EXPECT_EQ(back->caption(), QStringLiteral("工单管理"));
    EXPECT_EQ(back->ClickSound(), player);
    EXPECT_EQ(back->ActiveSound(), nullptr);
    EXPECT_EQ(back->Color(), clBtnFace);
}
