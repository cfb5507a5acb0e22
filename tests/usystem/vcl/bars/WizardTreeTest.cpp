// The wizard step tree: where its boxes and lines go, its colours, and how a click on a step
// asks OnChanging before it makes the step current.
#include "usystem/vcl/bars/uQxWizardTree.h"

#include "platform/ui/Fonts.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTest>

namespace {

QRect treeRect(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

QColor treeColour(TColor c)
{
    return toQColor(c);
}

struct WizardForm
{
    QWidget form;
    TQxWizardTree* tree = new TQxWizardTree(&form);
    QList<int> changing;
    int changes = 0;
    int clicks = 0;
    bool allow = true;

    WizardForm()
    {
        form.setFont(qx::libraryFont(9));
        form.resize(300, 300);
        tree->setObjectName(QStringLiteral("Wizard"));
        tree->OnChanging = [this](QObject* s, int index, bool& allowChange) {
            EXPECT_EQ(s, tree);
            EXPECT_TRUE(allowChange);
            changing << index;
            allowChange = allow;
        };
        tree->OnChange = [this](QObject* s) {
            EXPECT_EQ(s, tree);
            ++changes;
        };
        tree->OnClick = [this](QObject*) { ++clicks; };
    }

    void show()
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    QImage picture() const { return tree->grab().toImage(); }
    // A point on the step's caption.
    QPoint onCaption(int i) const
    {
        const QRect r = tree->ItemRects().at(i);
        return QPoint(r.right() - 2, r.center().y());
    }
};

} // namespace

TEST(WizardTree, CreationValues)
{
    TQxWizardTree tree;
    EXPECT_EQ(tree.Items(), (QStringList{"Start", "First Page", "Second Page", "Finish"}));
    EXPECT_EQ(tree.ItemIndex(), 0);
    EXPECT_EQ(tree.HorizontalSpace(), 4);
    EXPECT_EQ(tree.VerticalSpace(), 8);
    EXPECT_EQ(tree.BoxHeight(), 17);
    EXPECT_EQ(tree.BoxWidth(), 16);
    EXPECT_EQ(tree.BoxColor(), clYellow);
    EXPECT_EQ(tree.SelectedBoxColor(), clLime);
    EXPECT_EQ(tree.LineColor(), clRed);
    EXPECT_EQ(tree.TopMargin(), 4);
    EXPECT_EQ(tree.LeftMargin(), 4);
    EXPECT_EQ(tree.Color(), clTeal);
    EXPECT_EQ(tree.FontColor(), clWhite);
    EXPECT_EQ(tree.size(), QSize(133, 140));
}

struct BoxCase
{
    const char* name;
    int items;
    int h, v, bh, bw, top, left;
    QList<int> tops;
    QList<int> lefts;
};

void PrintTo(const BoxCase& c, std::ostream* os)
{
    *os << c.name;
}

class WizardBoxes : public ::testing::TestWithParam<BoxCase>
{};

TEST_P(WizardBoxes, FirstAndLastOnTheSpineTheOthersIndented)
{
    const BoxCase& c = GetParam();
    WizardForm f;
    f.tree->resize(133, 200);
    QStringList items;
    for (int i = 0; i < c.items; ++i)
        items << QStringLiteral("步骤%1").arg(i);
    f.tree->SetItems(items);
    f.tree->SetHorizontalSpace(c.h);
    f.tree->SetVerticalSpace(c.v);
    f.tree->SetBoxHeight(c.bh);
    f.tree->SetBoxWidth(c.bw);
    f.tree->SetTopMargin(c.top);
    f.tree->SetLeftMargin(c.left);
    const QList<QRect> rects = f.tree->ItemRects();
    ASSERT_EQ(rects.size(), c.items);
    QList<int> tops, lefts;
    for (const QRect& r : rects) {
        tops << r.top();
        lefts << r.left();
        EXPECT_EQ(r.height(), c.bh);
    }
    EXPECT_EQ(tops, c.tops);
    EXPECT_EQ(lefts, c.lefts);
    // The boxes are drawn there: the current (first) one lime, the others yellow.
    const QImage shown = f.picture();
    for (int i = 0; i < c.items; ++i)
        EXPECT_EQ(shown.pixelColor(rects[i].left() + 1, rects[i].top() + 1),
                  treeColour(i == 0 ? clLime : clYellow))
            << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WizardBoxes,
    ::testing::Values(
        BoxCase{"FourDefaultSteps", 4, 4, 8, 17, 16, 4, 4, {12, 45, 78, 111}, {8, 28, 28, 8}},
        BoxCase{"OwnSpacing", 3, 6, 5, 20, 10, 2, 3, {7, 37, 67}, {9, 25, 9}},
        BoxCase{"TwoSteps", 2, 4, 8, 17, 16, 4, 4, {12, 45}, {8, 8}},
        BoxCase{"FiveSteps", 5, 4, 8, 17, 16, 4, 4, {12, 45, 78, 111, 144}, {8, 28, 28, 28, 8}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WizardTree, ClickAreaCoversBoxAndCaptionInTheDrawnFont)
{
    WizardForm f;
    f.tree->SetItemIndex(1);
    const QList<QRect> rects = f.tree->ItemRects();
    QFont bold = f.tree->font();
    bold.setBold(true);
    const int plainWidth = QFontMetrics(f.tree->font()).horizontalAdvance(QStringLiteral("Second Page"));
    const int boldWidth = QFontMetrics(bold).horizontalAdvance(QStringLiteral("First Page"));
    EXPECT_EQ(rects[1], treeRect(28, 45, 28 + boldWidth + 16 + 4, 62));
    EXPECT_EQ(rects[2], treeRect(28, 78, 28 + plainWidth + 16 + 4, 95));
}

TEST(WizardTree, LinesJoinTheSteps)
{
    WizardForm f;
    const QImage shown = f.picture();
    const QColor red = treeColour(clRed);
    // The spine runs from the first box's bottom (29) down to the last box's top (111).
    EXPECT_EQ(shown.pixelColor(16, 29), red);
    EXPECT_EQ(shown.pixelColor(16, 70), red);
    EXPECT_EQ(shown.pixelColor(16, 110), red);
    EXPECT_EQ(shown.pixelColor(16, 111), treeColour(clYellow));
    EXPECT_EQ(shown.pixelColor(16, 28), treeColour(clLime));
    // From the first box right at y 20 and down into the second step's box.
    EXPECT_EQ(shown.pixelColor(24, 20), red);
    EXPECT_EQ(shown.pixelColor(36, 20), red);
    EXPECT_EQ(shown.pixelColor(37, 20), treeColour(clTeal));
    EXPECT_EQ(shown.pixelColor(36, 40), red);
    // Between the indented steps.
    EXPECT_EQ(shown.pixelColor(36, 70), red);
    // From the last indented step down and left into the last box.
    EXPECT_EQ(shown.pixelColor(36, 100), red);
    EXPECT_EQ(shown.pixelColor(30, 119), red);
    EXPECT_EQ(shown.pixelColor(24, 119), red);
    EXPECT_EQ(shown.pixelColor(20, 119), treeColour(clYellow));
    // The ground is the panel's colour and the captions are white.
    EXPECT_EQ(shown.pixelColor(120, 135), treeColour(clTeal));
    bool white = false;
    const QRect caption = f.tree->ItemRects().at(1).adjusted(20, 0, 0, 0);
    for (int y = caption.top(); y <= caption.bottom() && !white; ++y)
        for (int x = caption.left(); x <= caption.right() && !white; ++x)
            white = shown.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_TRUE(white);
}

TEST(WizardTree, FewerThanTwoStepsDrawNoLines)
{
    for (const QStringList& items : {QStringList{}, QStringList{QStringLiteral("唯一")}}) {
        WizardForm f;
        f.tree->SetItems(items);
        const QImage shown = f.picture();
        const QRgb red = treeColour(clRed).rgb();
        int redPixels = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                redPixels += (shown.pixel(x, y) & 0xFFFFFF) == (red & 0xFFFFFF);
        EXPECT_EQ(redPixels, 0) << items.size();
    }
}

struct ClickCase
{
    const char* name;
    int clicked; // -1: between the steps
    bool allow;
    QList<int> changing;
    int changes;
    int indexAfter;
};

void PrintTo(const ClickCase& c, std::ostream* os)
{
    *os << c.name;
}

class WizardClicks : public ::testing::TestWithParam<ClickCase>
{};

TEST_P(WizardClicks, AClickAsksThenMakesTheStepCurrent)
{
    const ClickCase& c = GetParam();
    WizardForm f;
    f.allow = c.allow;
    f.show();
    const QPoint at = c.clicked >= 0 ? f.onCaption(c.clicked) : QPoint(60, 36);
    QTest::mouseClick(f.tree, Qt::LeftButton, {}, at);
    EXPECT_EQ(f.clicks, 1);
    EXPECT_EQ(f.changing, c.changing);
    EXPECT_EQ(f.changes, c.changes);
    EXPECT_EQ(f.tree->ItemIndex(), c.indexAfter);
    // The current step's box is lime, the first one only while it is current.
    const QImage shown = f.picture();
    const QList<QRect> rects = f.tree->ItemRects();
    for (int i = 0; i < rects.size(); ++i)
        EXPECT_EQ(shown.pixelColor(rects[i].left() + 2, rects[i].top() + 2),
                  treeColour(i == c.indexAfter ? clLime : clYellow))
            << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WizardClicks,
    ::testing::Values(ClickCase{"AllowedStep", 2, true, {2}, 1, 2},
                      ClickCase{"AllowedLastStepOnItsBox", 3, true, {3}, 1, 3},
                      ClickCase{"VetoedStep", 2, false, {2}, 0, 0},
                      ClickCase{"CurrentStep", 0, true, {}, 0, 0},
                      ClickCase{"BetweenSteps", -1, true, {}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WizardTree, OnlyALeftClickReleasedOnTheTreeCounts)
{
    WizardForm f;
    f.show();
    QTest::mouseClick(f.tree, Qt::RightButton, {}, f.onCaption(2));
    EXPECT_EQ(f.tree->ItemIndex(), 0);
    QTest::mousePress(f.tree, Qt::LeftButton, {}, f.onCaption(2));
    QTest::mouseRelease(f.tree, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(f.tree->ItemIndex(), 0);
    EXPECT_EQ(f.clicks, 0);
    EXPECT_TRUE(f.changing.isEmpty());
}

TEST(WizardTree, AChangingHandlerThatShortensTheStepsStopsTheChange)
{
    WizardForm f;
    f.tree->OnChanging = [&](QObject*, int, bool&) { f.tree->SetItems({QStringLiteral("a")}); };
    f.show();
    QTest::mouseClick(f.tree, Qt::LeftButton, {}, f.onCaption(2));
    EXPECT_EQ(f.tree->ItemIndex(), 0);
    EXPECT_EQ(f.changes, 0);
}

TEST(WizardTree, ItemIndexOutOfRange)
{
    struct Step
    {
        int set;
        int expected;
    };
    TQxWizardTree tree;
    for (const Step& s : {Step{-2, 0}, Step{4, 0}, Step{100, 0}, Step{3, 3}, Step{-1, -1},
                          Step{-5, -1}, Step{0, 0}}) {
        tree.SetItemIndex(s.set);
        EXPECT_EQ(tree.ItemIndex(), s.expected) << s.set;
    }
    // No step current: every box plain.
    tree.SetItemIndex(-1);
    const QImage shown = tree.grab().toImage();
    for (const QRect& r : tree.ItemRects())
        EXPECT_EQ(shown.pixelColor(r.left() + 1, r.top() + 1), treeColour(clYellow));
}

TEST(WizardTree, FewerStepsThanTheCurrentIndexLeaveNoneCurrent)
{
    TQxWizardTree tree;
    tree.SetItemIndex(3);
    tree.SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                   QStringLiteral("e")});
    EXPECT_EQ(tree.ItemIndex(), 3);
    tree.SetItems({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(tree.ItemIndex(), -1);
}

TEST(WizardTree, ColourAndSizeSettersRepaint)
{
    WizardForm f;
    f.tree->SetBoxColor(clAqua);
    f.tree->SetSelectedBoxColor(clFuchsia);
    f.tree->SetLineColor(clBlue);
    f.tree->SetColor(clNavy);
    const QImage shown = f.picture();
    EXPECT_EQ(shown.pixelColor(10, 14), treeColour(clFuchsia));
    EXPECT_EQ(shown.pixelColor(30, 47), treeColour(clAqua));
    EXPECT_EQ(shown.pixelColor(16, 70), treeColour(clBlue));
    EXPECT_EQ(shown.pixelColor(120, 135), treeColour(clNavy));
}
