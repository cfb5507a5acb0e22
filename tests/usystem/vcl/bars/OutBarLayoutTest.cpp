// Where the bar puts its tabs, the open panel's area, its buttons and its arrows.
#include "OutBarTestSupport.h"

using bars_test::colour;
using bars_test::OutBarForm;

namespace {

QRect ltrb(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

} // namespace

TEST(OutBarLayout, CreationValues)
{
    TQxOutBar bar;
    EXPECT_EQ(bar.Width(), 150);
    EXPECT_EQ(bar.Align(), alLeft);
    EXPECT_EQ(bar.TabHeight(), 23);
    EXPECT_EQ(bar.PanelIndex(), 0);
    EXPECT_EQ(bar.HotButton(), -1);
    EXPECT_EQ(bar.HotTab(), -1);
    EXPECT_EQ(bar.Panels()->Count(), 0);
    EXPECT_EQ(bar.ScrollTimer(), nullptr);
}

struct TabCase
{
    int panels;
    int tabHeight;
    int height;
    int panelIndex;
    QList<int> tabTops;
    QRect buttonArea; // empty: no panel open
    int openHeight;
};

void PrintTo(const TabCase& c, std::ostream* os)
{
    *os << c.panels << " tabs of " << c.tabHeight << " in " << c.height << ", panel " << c.panelIndex;
}

class OutBarTabs : public ::testing::TestWithParam<TabCase>
{};

TEST_P(OutBarTabs, TabsAboveTheOpenPanelAtTheTopTheOthersAtTheBottom)
{
    const TabCase& c = GetParam();
    OutBarForm f;
    f.bar->setGeometry(0, 0, 150, c.height);
    f.bar->SetTabHeight(c.tabHeight);
    for (int i = 0; i < c.panels; ++i)
        f.bar->Panels()->Add()->SetText(QStringLiteral("P%1").arg(i));
    f.bar->SetPanelIndex(c.panelIndex);

    QList<int> tops;
    for (int i = 0; i < c.panels; ++i) {
        const QRect tab = f.panel(i)->TabRect();
        tops << tab.top();
        // Every tab spans the bar inside its frame and is one pixel short of the tab height.
        EXPECT_EQ(tab, ltrb(1, tab.top(), 148, tab.top() + c.tabHeight - 1)) << i;
    }
    EXPECT_EQ(tops, c.tabTops);
    EXPECT_EQ(f.bar->OpenHeight(), c.openHeight);
    EXPECT_EQ(f.bar->ButtonArea(), c.buttonArea);
    EXPECT_EQ(f.bar->OpenPanel() != nullptr, !c.buttonArea.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutBarTabs,
    ::testing::Values(
        // Three tabs of 23 in 300 pixels with the middle panel open.
        TabCase{3, 23, 300, 1, {1, 24, 276}, ltrb(1, 47, 148, 275), 229},
        TabCase{3, 23, 300, 0, {1, 253, 276}, ltrb(1, 24, 148, 252), 229},
        TabCase{3, 23, 300, 2, {1, 24, 47}, ltrb(1, 70, 148, 298), 229},
        TabCase{2, 30, 200, 0, {1, 169}, ltrb(1, 31, 148, 168), 138},
        // An index beyond the panels opens none: the tabs stack at the top.
        TabCase{3, 23, 300, 5, {1, 24, 47}, QRect(), 229},
        TabCase{3, 23, 300, -1, {1, 24, 47}, QRect(), 229}));

TEST(OutBarLayout, OnlyTheFirst128PanelsGetTabs)
{
    OutBarForm f;
    f.bar->SetTabHeight(2);
    f.bar->Panels()->beginUpdate();
    for (int i = 0; i < 130; ++i)
        f.bar->Panels()->Add();
    f.bar->Panels()->endUpdate();
    EXPECT_EQ(f.bar->OpenHeight(), 300 - 128 * 2 - 2);
    // Panel 0 is open: the tabs after it sit at the bottom.
    EXPECT_EQ(f.panel(127)->TabRect(), ltrb(1, 297, 148, 298));
    EXPECT_TRUE(f.panel(128)->TabRect().isEmpty());
    EXPECT_TRUE(f.panel(129)->TabRect().isEmpty());
    f.bar->SetPanelIndex(129);
    EXPECT_EQ(f.bar->OpenPanel(), nullptr);
}

TEST(OutBarLayout, GroundFrameAndTabLook)
{
    OutBarForm f;
    f.addPanels({0, 0, 0});
    f.bar->SetPanelIndex(1);
    // Sunken frame: black top and left, highlight bottom and right; grey ground.
    EXPECT_EQ(f.pixel(0, 0), colour(clBlack));
    EXPECT_EQ(f.pixel(0, 150), colour(clBlack));
    EXPECT_EQ(f.pixel(149, 150), colour(clBtnHighlight));
    EXPECT_EQ(f.pixel(60, 299), colour(clBtnHighlight));
    EXPECT_EQ(f.pixel(60, 150), colour(clGray));
    // A normal tab: silver with a 3-D light over button-shadow frame.
    const QRect tab = f.panel(0)->TabRect();
    EXPECT_EQ(f.pixel(tab.left(), tab.top()), colour(cl3DLight));
    EXPECT_EQ(f.pixel(tab.right(), tab.bottom()), colour(clBtnShadow));
    EXPECT_EQ(f.pixel(tab.left() + 3, tab.top() + 3), colour(clSilver));
    // The row below a tab's rectangle is ground.
    EXPECT_EQ(f.pixel(60, tab.bottom() + 1), colour(clGray));
}

struct ButtonCase
{
    bool small;
    int buttons;
    int lastButton;
    QRect firstButton;
    QRect firstImage;
    int step;
};

void PrintTo(const ButtonCase& c, std::ostream* os)
{
    *os << c.buttons << (c.small ? " small" : " large") << " buttons";
}

class OutBarButtons : public ::testing::TestWithParam<ButtonCase>
{};

TEST_P(OutBarButtons, ButtonsStepDownFromTheTopOfTheOpenPanel)
{
    const ButtonCase& c = GetParam();
    OutBarForm f;
    f.addPanels({0, c.buttons, 0});
    f.panel(1)->SetSmallImages(c.small);
    f.bar->SetPanelIndex(1);

    EXPECT_EQ(f.bar->TopButton(), 0);
    EXPECT_EQ(f.bar->LastButton(), c.lastButton);
    for (int i = 0; i < c.buttons; ++i) {
        TKyOutButton* b = f.button(1, i);
        if (i > c.lastButton) {
            EXPECT_TRUE(b->ButtonRect().isEmpty()) << i;
            continue;
        }
        EXPECT_EQ(b->ButtonRect(), c.firstButton.translated(0, i * c.step)) << i;
        EXPECT_EQ(b->ImageRect(), c.firstImage.translated(0, i * c.step)) << i;
    }
    EXPECT_FALSE(f.bar->UpArrowShown());
    EXPECT_EQ(f.bar->DownArrowShown(), c.lastButton < c.buttons - 1);
    EXPECT_EQ(f.bar->UpArrowRect(), ltrb(123, 52, 142, 71));
    EXPECT_EQ(f.bar->DownArrowRect(), ltrb(123, 250, 142, 269));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutBarButtons,
    ::testing::Values(
        // Large: 32 x 32 pictures, a step of 60, the picture frame centred over the caption.
        ButtonCase{false, 2, 1, ltrb(3, 49, 146, 108), ltrb(55, 53, 97, 93), 60},
        ButtonCase{false, 6, 2, ltrb(3, 49, 146, 108), ltrb(55, 53, 97, 93), 60},
        // Small: 16 x 16 pictures, a step of 25, the picture frame at the left.
        ButtonCase{true, 5, 4, ltrb(3, 49, 146, 73), ltrb(5, 51, 25, 71), 25},
        ButtonCase{true, 12, 8, ltrb(3, 49, 146, 73), ltrb(5, 51, 25, 71), 25}));

TEST(OutBarLayout, PictureCaptionAndArrowAreDrawn)
{
    OutBarForm f;
    f.addPanels({0, 6});
    f.bar->SetPanelIndex(1);
    // Button 0 shows picture 0 (red) inside its flat frame, button 1 picture 1 (blue).
    const QRect img0 = f.button(1, 0)->ImageRect();
    EXPECT_EQ(f.pixel(img0.center().x(), img0.center().y()), QColor(Qt::red));
    EXPECT_EQ(f.pixel(img0.left(), img0.top()), colour(clGray));
    const QRect img1 = f.button(1, 1)->ImageRect();
    EXPECT_EQ(f.pixel(img1.center().x(), img1.center().y()), QColor(Qt::blue));
    // The caption is white on the ground below the picture.
    const QRect b0 = f.button(1, 0)->ButtonRect();
    const QRect caption(b0.left(), img0.bottom() + 3, b0.width(), b0.bottom() - img0.bottom() - 2);
    bool white = false;
    for (int y = caption.top(); y <= caption.bottom() && !white; ++y)
        for (int x = caption.left(); x <= caption.right() && !white; ++x)
            white = f.pixel(x, y) == QColor(Qt::white);
    EXPECT_TRUE(white);
    // The down arrow: silver box, raised edge, a black triangle pointing down.
    const QRect down = f.bar->DownArrowRect();
    EXPECT_EQ(f.pixel(down.left(), down.top()), colour(cl3DLight));
    EXPECT_EQ(f.pixel(down.left() + 1, down.top() + 1), QColor(Qt::white));
    EXPECT_EQ(f.pixel(down.right(), down.bottom()), QColor(Qt::black));
    EXPECT_EQ(f.pixel(down.left() + 3, down.top() + 3), colour(clSilver));
    for (int k = 0; k < 5; ++k) {
        const int row = down.top() + 8 + k;
        EXPECT_EQ(f.pixel(down.left() + 5 + k, row), QColor(Qt::black)) << k;
        EXPECT_EQ(f.pixel(down.left() + 13 - k, row), QColor(Qt::black)) << k;
        EXPECT_EQ(f.pixel(down.left() + 4 + k, row), colour(clSilver)) << k;
    }
}

TEST(OutBarLayout, APanelWithoutItsImageListShowsAnEmptyGreyArea)
{
    OutBarForm f;
    f.addPanels({0, 4});
    f.bar->SetPanelIndex(1);
    ASSERT_FALSE(f.button(1, 0)->ButtonRect().isEmpty());
    // Small buttons take the small list, which this bar does not have.
    f.bar->SetSmallImages(nullptr);
    f.panel(1)->SetSmallImages(true);
    const QRect area = f.bar->ButtonArea();
    for (int y = area.top(); y <= area.bottom(); y += 7)
        for (int x = area.left(); x <= area.right(); x += 7)
            ASSERT_EQ(f.pixel(x, y), colour(clGray)) << x << "," << y;
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(f.button(1, i)->ButtonRect().isEmpty());
    EXPECT_FALSE(f.bar->UpArrowShown());
    EXPECT_FALSE(f.bar->DownArrowShown());
}

TEST(OutBarLayout, ChangesOfPanelsAndButtonsReachTheBar)
{
    OutBarForm f;
    f.addPanels({0, 2});
    f.bar->SetPanelIndex(1);
    EXPECT_EQ(f.panel(1)->TabRect().top(), 24);
    // A new panel lays the bar out again.
    f.bar->Panels()->Add();
    EXPECT_EQ(f.panel(1)->TabRect().top(), 24);
    EXPECT_EQ(f.bar->ButtonArea(), ltrb(1, 47, 148, 275));
    EXPECT_EQ(f.panel(2)->TabRect().top(), 276);
    // A new button of the open panel is placed at once.
    TKyOutButton* added = f.panel(1)->Buttons()->Add();
    EXPECT_EQ(f.bar->LastButton(), 2);
    EXPECT_EQ(added->ButtonRect(), ltrb(3, 169, 146, 228));
    // A tab's new text is drawn on its tab.
    const QRect tab = f.panel(0)->TabRect();
    const QImage before = f.bar->CanvasImage().copy(tab);
    f.panel(0)->SetText(QStringLiteral("客户资料"));
    EXPECT_NE(f.bar->CanvasImage().copy(tab), before);
    // A removed panel leaves the layout; the rest move up.
    f.bar->Panels()->remove(0);
    EXPECT_EQ(f.bar->Panels()->Count(), 2);
    EXPECT_EQ(f.panel(0)->TabRect().top(), 1);
    // A tab height change lays the tabs out with the new height.
    f.bar->SetTabHeight(30);
    EXPECT_EQ(f.panel(1)->TabRect(), ltrb(1, 31, 148, 60));
}

TEST(OutBarLayout, ImageListsAreOnlyReferenced)
{
    OutBarForm f;
    f.addPanels({3});
    delete f.large;
    EXPECT_EQ(f.bar->Images(), nullptr);
    EXPECT_EQ(f.bar->SmallImages(), f.small);
    // Laid out again without its list the panel shows no buttons.
    f.bar->Layout(true);
    EXPECT_TRUE(f.button(0, 0)->ButtonRect().isEmpty());
}

TEST(OutBarLayout, ItemsAssignAndNameThemselves)
{
    OutBarForm f;
    f.addPanels({1, 0});
    TKyOutPanel* a = f.panel(0);
    TKyOutPanel* b = f.panel(1);
    a->SetSmallImages(true);
    b->Assign(a);
    EXPECT_EQ(b->Text(), QStringLiteral("P0"));
    EXPECT_FALSE(b->SmallImages());
    EXPECT_EQ(b->Buttons()->Count(), 0);

    TKyOutButton* from = f.button(0, 0);
    int clicks = 0;
    from->SetImageIndex(7);
    from->onClick = [&](QObject*) { ++clicks; };
    TKyOutButton* to = b->Buttons()->Add();
    EXPECT_EQ(to->DisplayName(), QStringLiteral("TKyOutButton"));
    to->Assign(from);
    EXPECT_EQ(to->Text(), from->Text());
    EXPECT_EQ(to->ImageIndex(), 7);
    ASSERT_TRUE(bool(to->onClick));
    to->onClick(to);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(to->DisplayName(), from->Text());
    b->SetText(QString());
    EXPECT_EQ(b->DisplayName(), QStringLiteral("TKyOutPanel"));
}

TEST(OutBarLayout, ShownBarPaintsItsPicture)
{
    OutBarForm f;
    f.addPanels({0, 3, 0});
    f.bar->SetPanelIndex(1);
    f.show();
    const QImage shown = f.bar->grab().toImage();
    const QRect tab = f.panel(2)->TabRect();
    EXPECT_EQ(shown.pixelColor(tab.left(), tab.top()), colour(cl3DLight));
    const QRect img = f.button(1, 0)->ImageRect();
    EXPECT_EQ(shown.pixelColor(img.center()), QColor(Qt::red));
    // A new size lays the bar out for that size, after the resize event.
    int resizes = 0;
    f.bar->OnResize = [&](QObject* s) {
        EXPECT_EQ(s, f.bar);
        ++resizes;
    };
    f.bar->resize(150, 200);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(f.panel(2)->TabRect().top(), 176);
}
