// The bar under real mouse events: clicks on tabs and buttons, presses let go elsewhere, the
// hot and pressed looks, and the held arrows' repeat driven one timer period at a time.
#include "OutBarTestSupport.h"

#include <QMenu>

using bars_test::colour;
using bars_test::OutBarForm;

namespace {

// Records the clicks of every panel and button of a bar.
struct ClickLog
{
    QList<QObject*> senders;

    void watch(TQxOutBar* bar)
    {
        for (int p = 0; p < bar->Panels()->Count(); ++p) {
            TKyOutPanel* panel = bar->Panels()->Items(p);
            panel->onClick = [this](QObject* s) { senders << s; };
            for (int b = 0; b < panel->Buttons()->Count(); ++b)
                panel->Buttons()->Items(b)->onClick = [this](QObject* s) { senders << s; };
        }
    }
};

} // namespace

TEST(OutBarMouse, ClickOnATabOpensItsPanelAndFiresItsClick)
{
    OutBarForm f;
    f.addPanels({2, 3, 1});
    ClickLog log;
    log.watch(f.bar);
    int barClicks = 0;
    f.bar->OnClick = [&](QObject* s) {
        EXPECT_EQ(s, f.bar);
        ++barClicks;
    };
    f.show();

    f.click(f.panel(2)->TabRect().center());
    EXPECT_EQ(f.bar->PanelIndex(), 2);
    // The area starts one pixel below the tab's rectangle.
    EXPECT_EQ(f.bar->ButtonArea().top(), f.panel(2)->TabRect().bottom() + 2);
    EXPECT_EQ(log.senders, (QList<QObject*>{f.panel(2)}));
    EXPECT_EQ(barClicks, 1);
    EXPECT_EQ(f.bar->PressedTab(), -1);

    // The open panel's tab clicks as well and stays open.
    f.click(f.panel(2)->TabRect().center());
    EXPECT_EQ(f.bar->PanelIndex(), 2);
    EXPECT_EQ(log.senders.size(), 2);
}

TEST(OutBarMouse, ClickOnAButtonPictureFiresTheButtonsClick)
{
    OutBarForm f;
    f.addPanels({3, 3});
    ClickLog log;
    log.watch(f.bar);
    f.show();

    f.click(f.button(0, 1)->ImageRect().center());
    EXPECT_EQ(log.senders, (QList<QObject*>{f.button(0, 1)}));
    // Only the picture takes a press: the caption below it does not.
    const QRect b = f.button(0, 2)->ButtonRect();
    f.click(QPoint(b.left() + 2, b.bottom() - 2));
    EXPECT_EQ(log.senders.size(), 1);
    // Nothing but the open panel's buttons answer.
    f.click(f.bar->ButtonArea().bottomLeft() + QPoint(3, -3));
    EXPECT_EQ(log.senders.size(), 1);
}

struct ReleaseCase
{
    const char* name;
    bool onTab; // else on a button's picture
    QPoint releaseAt;
};

void PrintTo(const ReleaseCase& c, std::ostream* os)
{
    *os << c.name;
}

class OutBarReleaseElsewhere : public ::testing::TestWithParam<ReleaseCase>
{};

TEST_P(OutBarReleaseElsewhere, APressLetGoElsewhereStillClicks)
{
    const ReleaseCase& c = GetParam();
    OutBarForm f;
    f.addPanels({3, 3, 3});
    ClickLog log;
    log.watch(f.bar);
    int barClicks = 0;
    f.bar->OnClick = [&](QObject*) { ++barClicks; };
    f.show();

    QObject* expected = nullptr;
    if (c.onTab) {
        f.press(f.panel(2)->TabRect().center());
        EXPECT_EQ(f.bar->PressedTab(), 2);
        expected = f.panel(2);
    } else {
        f.press(f.button(0, 1)->ImageRect().center());
        EXPECT_EQ(f.bar->PressedButton(), 1);
        expected = f.button(0, 1);
    }
    f.release(c.releaseAt);
    EXPECT_EQ(log.senders, (QList<QObject*>{expected}));
    EXPECT_EQ(f.bar->PanelIndex(), c.onTab ? 2 : 0);
    EXPECT_EQ(f.bar->PressedTab(), -1);
    EXPECT_EQ(f.bar->PressedButton(), -1);
    // The bar itself clicks only when let go over it.
    EXPECT_EQ(barClicks, QRect(0, 0, 150, 300).contains(c.releaseAt) ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutBarReleaseElsewhere,
    ::testing::Values(ReleaseCase{"TabOverTheGround", true, QPoint(60, 150)},
                      ReleaseCase{"TabOutsideTheBar", true, QPoint(300, 350)},
                      ReleaseCase{"ButtonOverAnotherTab", false, QPoint(60, 280)},
                      ReleaseCase{"ButtonOutsideTheBar", false, QPoint(250, 20)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OutBarMouse, OnlyTheLeftButtonPressesAndClicks)
{
    OutBarForm f;
    f.addPanels({1, 1});
    ClickLog log;
    log.watch(f.bar);
    QList<int> downs;
    f.bar->OnMouseDown = [&](QObject*, TMouseButton b, TShiftState, int, int) { downs << b; };
    f.show();

    f.press(f.panel(1)->TabRect().center(), Qt::RightButton);
    EXPECT_EQ(f.bar->PressedTab(), -1);
    f.release(f.panel(1)->TabRect().center(), Qt::RightButton);
    EXPECT_EQ(f.bar->PanelIndex(), 0);
    EXPECT_TRUE(log.senders.isEmpty());
    EXPECT_EQ(downs, (QList<int>{mbRight}));
}

TEST(OutBarMouse, HotAndPressedLooks)
{
    OutBarForm f;
    f.addPanels({3, 0});
    f.show();
    const QRect tab = f.panel(1)->TabRect();
    const QRect img = f.button(0, 1)->ImageRect();

    // Over a tab: the hand, a raised tab.
    f.move(tab.center());
    EXPECT_EQ(f.bar->HotTab(), 1);
    EXPECT_EQ(f.bar->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(f.pixel(tab.left(), tab.top()), colour(clBtnHighlight));
    EXPECT_EQ(f.pixel(tab.right(), tab.bottom()), colour(clBlack));

    // Over a button: the tab turns normal, the button's frame raised.
    f.move(img.center());
    EXPECT_EQ(f.bar->HotTab(), -1);
    EXPECT_EQ(f.bar->HotButton(), 1);
    EXPECT_EQ(f.bar->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(f.pixel(tab.left(), tab.top()), colour(cl3DLight));
    EXPECT_EQ(f.pixel(img.left(), img.top()), colour(clSilver));
    EXPECT_EQ(f.pixel(img.right(), img.bottom()), colour(clBlack));
    const QRect other = f.button(0, 0)->ImageRect();
    EXPECT_EQ(f.pixel(other.left(), other.top()), colour(clGray));

    // Pressed: a sunken frame and the picture one pixel right and down.
    const QPoint topLeftOfPicture(img.left() + 5, img.top() + 4);
    EXPECT_EQ(f.pixel(topLeftOfPicture.x(), topLeftOfPicture.y()), QColor(Qt::blue));
    f.press(img.center());
    EXPECT_EQ(f.pixel(img.left(), img.top()), colour(clBlack));
    EXPECT_EQ(f.pixel(img.right(), img.bottom()), colour(clSilver));
    EXPECT_EQ(f.pixel(topLeftOfPicture.x(), topLeftOfPicture.y()), colour(clGray));
    EXPECT_EQ(f.pixel(topLeftOfPicture.x() + 1, topLeftOfPicture.y() + 1), QColor(Qt::blue));
    f.release(img.center());
    EXPECT_EQ(f.pixel(img.left(), img.top()), colour(clGray));
    EXPECT_EQ(f.pixel(topLeftOfPicture.x(), topLeftOfPicture.y()), QColor(Qt::blue));

    // A pressed tab: two pixels of shadow over highlight.
    f.press(tab.center());
    EXPECT_EQ(f.pixel(tab.left(), tab.top()), colour(clBtnShadow));
    EXPECT_EQ(f.pixel(tab.left() + 1, tab.top() + 1), colour(clBtnShadow));
    EXPECT_EQ(f.pixel(tab.right() - 1, tab.bottom() - 1), colour(clBtnHighlight));
    f.release(tab.center());
    EXPECT_EQ(f.bar->PanelIndex(), 1);
    EXPECT_EQ(f.bar->HotTab(), -1);
}

TEST(OutBarMouse, ANewPanelIndexForgetsTheHotTabAndButton)
{
    OutBarForm f;
    f.addPanels({3, 3});
    f.show();
    f.move(f.button(0, 0)->ImageRect().center());
    EXPECT_EQ(f.bar->HotButton(), 0);
    f.bar->SetPanelIndex(1);
    EXPECT_EQ(f.bar->HotButton(), -1);
    EXPECT_EQ(f.bar->HotTab(), -1);
}

// ---- arrows --------------------------------------------------------------------------------

TEST(OutBarArrows, HoldingTheDownArrowScrollsOneButtonPerPeriodUntilTheLastShows)
{
    OutBarForm f;
    f.addPanels({10}); // large buttons: four of ten fit
    f.show();
    ASSERT_EQ(f.bar->LastButton(), 3);
    ASSERT_TRUE(f.bar->DownArrowShown());
    const QPoint down = f.bar->DownArrowRect().center();

    f.press(down);
    ASSERT_NE(f.bar->ScrollTimer(), nullptr);
    EXPECT_EQ(f.bar->ScrollTimer()->interval(), TQxOutBar::ScrollInterval);
    EXPECT_EQ(TQxOutBar::ScrollInterval, 200);
    EXPECT_TRUE(f.bar->ScrollTimer()->isActive());
    EXPECT_TRUE(f.bar->DownArrowPressed());
    // Pressed arrow: black over grey above.
    EXPECT_EQ(f.pixel(f.bar->DownArrowRect().left(), f.bar->DownArrowRect().top()), QColor(Qt::black));
    EXPECT_EQ(f.bar->TopButton(), 0); // the press alone does not scroll

    QList<int> tops;
    for (int period = 0; period < 9; ++period) {
        if (!f.bar->ScrollTimer()->isActive())
            break;
        f.tick();
        tops << f.bar->TopButton();
    }
    EXPECT_EQ(tops, (QList<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(f.bar->LastButton(), 9);
    EXPECT_FALSE(f.bar->DownArrowShown());
    EXPECT_TRUE(f.bar->UpArrowShown());
    EXPECT_FALSE(f.bar->ScrollTimer()->isActive());
    // The buttons moved up: the first shown one sits at the top of the area.
    EXPECT_EQ(f.button(0, 6)->ButtonRect().top(), f.bar->ButtonArea().top() + 2);
    EXPECT_TRUE(f.button(0, 5)->ButtonRect().isEmpty());

    // Letting go with the arrow gone takes no further step.
    f.release(down);
    EXPECT_EQ(f.bar->ScrollTimer(), nullptr);
    EXPECT_FALSE(f.bar->DownArrowPressed());
    EXPECT_EQ(f.bar->TopButton(), 6);
}

TEST(OutBarArrows, AClickOnAnArrowScrollsOneButton)
{
    OutBarForm f;
    f.addPanels({10});
    f.show();
    f.click(f.bar->DownArrowRect().center());
    EXPECT_EQ(f.bar->TopButton(), 1);
    EXPECT_TRUE(f.bar->UpArrowShown());
    EXPECT_EQ(f.bar->ScrollTimer(), nullptr);
    f.click(f.bar->DownArrowRect().center());
    EXPECT_EQ(f.bar->TopButton(), 2);
    // The raised up arrow points up.
    const QRect up = f.bar->UpArrowRect();
    EXPECT_EQ(f.pixel(up.left(), up.top()), colour(cl3DLight));
    EXPECT_EQ(f.pixel(up.left() + 9, up.top() + 7), QColor(Qt::black));
    EXPECT_EQ(f.pixel(up.left() + 5, up.top() + 11), QColor(Qt::black));
    EXPECT_EQ(f.pixel(up.left() + 5, up.top() + 10), colour(clSilver));

    // The up arrow held: two periods reach the first button, and the arrow goes.
    f.press(up.center());
    f.tick();
    EXPECT_EQ(f.bar->TopButton(), 1);
    f.tick();
    EXPECT_EQ(f.bar->TopButton(), 0);
    EXPECT_FALSE(f.bar->UpArrowShown());
    EXPECT_FALSE(f.bar->ScrollTimer()->isActive());
    f.release(up.center());
    EXPECT_EQ(f.bar->TopButton(), 0);
}

TEST(OutBarArrows, ScrolledButtonsAnswerWhereTheyNowAre)
{
    OutBarForm f;
    f.addPanels({10});
    ClickLog log;
    log.watch(f.bar);
    f.show();
    const QPoint firstPicture = f.button(0, 0)->ImageRect().center();
    f.click(f.bar->DownArrowRect().center());
    f.click(firstPicture);
    EXPECT_EQ(log.senders, (QList<QObject*>{f.button(0, 1)}));
}

TEST(OutBarArrows, AnArrowHiddenWithItsPanelTakesNoPress)
{
    OutBarForm f;
    f.addPanels({10, 0});
    f.show();
    const QPoint down = f.bar->DownArrowRect().center();
    f.bar->SetPanelIndex(5); // no panel open
    EXPECT_FALSE(f.bar->DownArrowShown());
    f.press(down);
    EXPECT_EQ(f.bar->ScrollTimer(), nullptr);
    f.release(down);
}

// ---- an index left beyond the panels ---------------------------------------------------------

TEST(OutBarMouse, AnIndexBeyondThePanelsFallsBackToTheLastOneWhichOpens)
{
    OutBarForm f;
    f.addPanels({1, 2, 1});
    f.bar->SetPanelIndex(2);
    f.show();
    f.bar->Panels()->remove(2);
    EXPECT_EQ(f.bar->OpenPanel(), nullptr);

    f.move(QPoint(60, 150));
    EXPECT_EQ(f.bar->PanelIndex(), 1);
    ASSERT_EQ(f.bar->OpenPanel(), f.panel(1));
    EXPECT_EQ(f.bar->ButtonArea().top(), f.panel(1)->TabRect().bottom() + 2);
    EXPECT_FALSE(f.button(1, 1)->ButtonRect().isEmpty());
}

// ---- the bar's own events ------------------------------------------------------------------

TEST(OutBarMouse, ContextPopupAndMouseEvents)
{
    OutBarForm f;
    f.addPanels({1});
    QMenu menu;
    f.bar->SetPopupMenu(&menu);
    int asked = 0;
    f.bar->OnContextPopup = [&](QObject* s, QPoint at, bool& handled) {
        EXPECT_EQ(s, f.bar);
        EXPECT_EQ(at, QPoint(20, 100));
        handled = true; // the menu stays shut
        ++asked;
    };
    QList<QPoint> moves;
    f.bar->OnMouseMove = [&](QObject*, TShiftState, int x, int y) { moves << QPoint(x, y); };
    QList<QPoint> ups;
    f.bar->OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int x, int y) { ups << QPoint(x, y); };
    f.show();

    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 100), f.bar->mapToGlobal(QPoint(20, 100)));
    QCoreApplication::sendEvent(f.bar, &event);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(menu.isVisible());

    f.move(QPoint(30, 120));
    EXPECT_TRUE(moves.contains(QPoint(30, 120)));
    f.click(QPoint(40, 130));
    EXPECT_EQ(ups, (QList<QPoint>{QPoint(40, 130)}));
}

TEST(OutBarMouse, AHandlerThatRemovesItsOwnPanelEndsCleanly)
{
    OutBarForm f;
    f.addPanels({1, 1});
    f.panel(1)->onClick = [&](QObject* s) {
        f.bar->Panels()->remove(qobject_cast<TKyOutPanel*>(s)->index());
    };
    f.show();
    f.click(f.panel(1)->TabRect().center());
    EXPECT_EQ(f.bar->Panels()->Count(), 1);
    EXPECT_EQ(f.bar->PanelIndex(), 1);
    f.move(QPoint(60, 150));
    EXPECT_EQ(f.bar->PanelIndex(), 0);
    EXPECT_EQ(f.bar->OpenPanel(), f.panel(0));
}
