// The grid's scroll bars keep the images of their last paintings: what they show always equals
// what the style draws for their state, a repaint in a state already drawn takes the kept image,
// and a pressed bar is drawn by the style.
#include <gtest/gtest.h>

#include "usystem/vcl/grids/CachedScrollBar.h"

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

struct BarState
{
    const char* name;
    Qt::Orientation orientation;
    int minimum, maximum, value, pageStep;
    bool enabled;
};

const BarState kBarStates[] = {
    {"vertical top", Qt::Vertical, 0, 300, 0, 20, true},
    {"vertical middle", Qt::Vertical, 0, 300, 150, 20, true},
    {"vertical end", Qt::Vertical, 0, 300, 300, 20, true},
    {"vertical short range", Qt::Vertical, 0, 9, 4, 1, true},
    {"vertical disabled", Qt::Vertical, 0, 100, 40, 10, false},
    {"horizontal start", Qt::Horizontal, 0, 1000, 0, 200, true},
    {"horizontal end", Qt::Horizontal, 0, 1000, 1000, 200, true},
    {"horizontal no range", Qt::Horizontal, 0, 0, 0, 1, true},
};

void applyState(QScrollBar& bar, const BarState& s)
{
    bar.setRange(s.minimum, s.maximum);
    bar.setPageStep(s.pageStep);
    bar.setValue(s.value);
    bar.setEnabled(s.enabled);
    bar.resize(s.orientation == Qt::Vertical ? QSize(16, 300) : QSize(300, 16));
}

QImage drawn(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

TEST(CachedScrollBar, ShowsWhatTheStyleDrawsForEveryState)
{
    for (const BarState& s : kBarStates) {
        SCOPED_TRACE(s.name);
        qx::CachedScrollBar cached(s.orientation);
        QScrollBar plain(s.orientation);
        applyState(cached, s);
        applyState(plain, s);
        const QImage expected = drawn(plain);
        EXPECT_EQ(drawn(cached), expected);
        // Drawn again from the kept image: still the same picture.
        const int styled = cached.styledPaints();
        EXPECT_EQ(drawn(cached), expected);
        EXPECT_EQ(cached.styledPaints(), styled);
        EXPECT_GE(cached.keptPaints(), 1);
    }
}

TEST(CachedScrollBar, AChangedStateIsDrawnAnewAndEarlierStatesAreKept)
{
    qx::CachedScrollBar cached(Qt::Vertical);
    QScrollBar plain(Qt::Vertical);
    // Four states in turn, then the same four again: the second round draws nothing new.
    const BarState* states[] = {&kBarStates[0], &kBarStates[1], &kBarStates[2], &kBarStates[3]};
    for (int round = 0; round < 2; ++round) {
        for (const BarState* s : states) {
            SCOPED_TRACE(s->name);
            applyState(cached, *s);
            applyState(plain, *s);
            const int styled = cached.styledPaints();
            EXPECT_EQ(drawn(cached), drawn(plain));
            EXPECT_EQ(cached.styledPaints(), styled + (round == 0 ? 1 : 0));
        }
    }
    // A fifth state pushes out the one drawn longest ago.
    applyState(cached, kBarStates[4]);
    (void)drawn(cached);
    applyState(cached, kBarStates[0]);
    const int styled = cached.styledPaints();
    applyState(plain, kBarStates[0]);
    EXPECT_EQ(drawn(cached), drawn(plain));
    EXPECT_EQ(cached.styledPaints(), styled + 1);
}

TEST(CachedScrollBar, APaletteOrSizeChangeIsDrawnAnew)
{
    qx::CachedScrollBar cached(Qt::Vertical);
    QScrollBar plain(Qt::Vertical);
    applyState(cached, kBarStates[1]);
    applyState(plain, kBarStates[1]);
    (void)drawn(cached);

    QPalette palette = cached.palette();
    palette.setColor(QPalette::Button, Qt::red);
    palette.setColor(QPalette::Window, Qt::darkGreen);
    cached.setPalette(palette);
    plain.setPalette(palette);
    EXPECT_EQ(drawn(cached), drawn(plain));

    cached.resize(16, 180);
    plain.resize(16, 180);
    EXPECT_EQ(drawn(cached), drawn(plain));
}

TEST(CachedScrollBar, APressedBarIsDrawnByTheStyle)
{
    QWidget window;
    auto* cached = new qx::CachedScrollBar(Qt::Vertical, &window);
    applyState(*cached, kBarStates[0]);
    window.resize(40, 320);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    (void)drawn(*cached);
    (void)drawn(*cached);

    // Press the handle (at the top of the range, just below the up arrow).
    QStyleOptionSlider opt;
    opt.initFrom(cached);
    opt.orientation = Qt::Vertical;
    opt.minimum = 0;
    opt.maximum = 300;
    opt.pageStep = 20;
    opt.sliderPosition = opt.sliderValue = 0;
    const QRect slider = cached->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, cached);
    QTest::mousePress(cached, Qt::LeftButton, {}, slider.center());
    ASSERT_TRUE(cached->isSliderDown());
    const int styled = cached->styledPaints();
    (void)drawn(*cached);
    EXPECT_EQ(cached->styledPaints(), styled + 1);
    QTest::mouseRelease(cached, Qt::LeftButton, {}, slider.center());
    EXPECT_FALSE(cached->isSliderDown());
}
