// Each option switched on and off changes its own behaviour, and only that.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "GridTestSupport.h"

namespace {

struct OptionCase
{
    const char* name;
    TKyGridOption option;
    // Runs on a fresh, focused grid with the option set as given; returns what it observed.
    std::function<QString(GridWindow&)> probe;
    QString whenOn;
    QString whenOff;
};

QString rgb(const QImage& img, QPoint p)
{
    return QColor(img.pixel(p)).name();
}

const QList<OptionCase>& cases()
{
    static const QList<OptionCase> list = {
        {"goFixedVertLine", goFixedVertLine,
         [](GridWindow& w) { return rgb(shot(w.grid), QPoint(64, 50)); },
         toQColor(clBlack).name(), toQColor(clBtnFace).name()},
        {"goFixedHorzLine", goFixedHorzLine,
         [](GridWindow& w) { return rgb(shot(w.grid), QPoint(100, 30)); },
         toQColor(clBlack).name(), toQColor(clBtnFace).name()},
        {"goVertLine", goVertLine,
         [](GridWindow& w) { return rgb(shot(w.grid), QPoint(129, 50)); },
         toQColor(clBlack).name(), toQColor(clWindow).name()},
        {"goHorzLine", goHorzLine,
         [](GridWindow& w) { return rgb(shot(w.grid), QPoint(100, 61)); },
         toQColor(clBlack).name(), toQColor(clWindow).name()},
        {"goRangeSelect", goRangeSelect,
         [](GridWindow& w) {
             QTest::keyClick(w.grid, Qt::Key_Down, Qt::ShiftModifier);
             return QString::number(w.grid->Selection().Bottom - w.grid->Selection().Top + 1);
         },
         "2", "1"},
        {"goDrawFocusSelected", goDrawFocusSelected,
         [](GridWindow& w) { return rgb(shot(w.grid), w.grid->CellRect(1, 1).center()); },
         toQColor(clInfoBk).name(), toQColor(clWindow).name()},
        {"goRowSizing", goRowSizing,
         [](GridWindow& w) {
             const QRect r = w.grid->CellRect(0, 1);
             return QString::number(w.grid->Sizing(10, r.top() + r.height()));
         },
         "1", "0"},
        {"goColSizing", goColSizing,
         [](GridWindow& w) {
             const QRect r = w.grid->CellRect(1, 0);
             return QString::number(w.grid->Sizing(r.left() + r.width(), 10));
         },
         "1", "0"},
        {"goRowMoving", goRowMoving,
         [](GridWindow& w) {
             QTest::mousePress(vp(w.grid), Qt::LeftButton, {}, w.grid->CellRect(0, 2).center());
             const int state = w.grid->gridState();
             QTest::mouseRelease(vp(w.grid), Qt::LeftButton, {}, w.grid->CellRect(0, 2).center());
             return QString::number(state == TQxCustomGrid::gsRowMoving);
         },
         "1", "0"},
        {"goColMoving", goColMoving,
         [](GridWindow& w) {
             QTest::mousePress(vp(w.grid), Qt::LeftButton, {}, w.grid->CellRect(2, 0).center());
             const int state = w.grid->gridState();
             QTest::mouseRelease(vp(w.grid), Qt::LeftButton, {}, w.grid->CellRect(2, 0).center());
             return QString::number(state == TQxCustomGrid::gsColMoving);
         },
         "1", "0"},
        {"goEditing", goEditing,
         [](GridWindow& w) {
             QTest::keyClick(w.grid, Qt::Key_Q);
             TQxInplaceEdit* e = w.grid->InplaceEditor();
             return e && e->isVisible() ? e->Text() : QString("-");
         },
         "q", "-"},
        {"goTabs", goTabs,
         [](GridWindow& w) {
             QTest::keyClick(w.grid, Qt::Key_Tab);
             return QString::number(w.grid->Col()) + (w.grid->hasFocus() ? "f" : "");
         },
         "2f", "1"},
        {"goRowSelect", goRowSelect,
         [](GridWindow& w) {
             const TGridRect s = w.grid->Selection();
             return QString::number(s.Right - s.Left + 1);
         },
         "4", "1"},
        {"goAlwaysShowEditor", goAlwaysShowEditor,
         [](GridWindow& w) {
             w.grid->SetOptions(w.grid->Options() | goEditing);
             TQxInplaceEdit* e = w.grid->InplaceEditor();
             return QString::number(e && e->isVisible());
         },
         "1", "0"},
        {"goThumbTracking", goThumbTracking,
         [](GridWindow& w) {
             w.grid->SetRowCount(500);
             QScrollBar* bar = w.grid->verticalScrollBar();
             bar->setSliderDown(true);
             bar->setSliderPosition(60);
             const int top = w.grid->TopRow();
             bar->setSliderDown(false);
             return QString::number(top > 1);
         },
         "1", "0"},
    };
    return list;
}

class GridOptions : public ::testing::TestWithParam<int>
{
};

TEST_P(GridOptions, OptionSwitchesItsBehaviour)
{
    const OptionCase& oc = cases().at(GetParam());
    for (bool on : {true, false}) {
        GridWindow w;
        TKyGridOptions options = w.grid->Options();
        if (on)
            options |= oc.option;
        else
            options &= ~TKyGridOptions(oc.option);
        w.grid->SetOptions(options);
        EXPECT_EQ(oc.probe(w), on ? oc.whenOn : oc.whenOff) << oc.name << (on ? " on" : " off");
    }
}

INSTANTIATE_TEST_SUITE_P(Each, GridOptions, ::testing::Range(0, 15),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(cases().at(info.param).name);
                         });

// The receipt-mode flag is carried for the data grid and changes nothing in the base.
TEST(GridOptionsReceiptMode, ChangesNothingInTheBase)
{
    auto run = [](bool receipt) {
        GridWindow w;
        if (receipt)
            w.grid->SetOptions(w.grid->Options() | goReceiptMode);
        QTest::keyClick(w.grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(w.grid, Qt::Key_Right);
        QTest::mouseClick(vp(w.grid), Qt::LeftButton, {}, w.grid->CellRect(3, 3).center());
        const QImage img = shot(w.grid);
        return std::make_pair(img, QPoint(w.grid->Col(), w.grid->Row()));
    };
    const auto plain = run(false);
    const auto receipt = run(true);
    EXPECT_EQ(plain.second, receipt.second);
    EXPECT_EQ(plain.first, receipt.first);
}

} // namespace
