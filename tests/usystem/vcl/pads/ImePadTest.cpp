// The candidate pop-up: placement under the edit or above it at the screen's bottom, the
// marked line under the mouse, and the one pop-up all library edits share.
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/edits/uQxIMEPad.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ImePad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<QWidget>();
        form->resize(300, 200);
        first = new TQxEdit(form.get());
        first->setGeometry(10, 10, 120, 21);
        second = new TQxEdit(form.get());
        second->setGeometry(10, 40, 120, 21);
        for (TQxEdit* e : {first, second}) {
            e->SetImePadVisible(true);
            e->OnImeTextChange = [](QObject*, const QString& text, TQxIMEPad*& pad) {
                if (pad)
                    pad->SetLines({text + "1", text + "2", text + "3"});
            };
        }
        form->move(0, 0);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
        first->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        QApplication::processEvents();
    }
    std::unique_ptr<QWidget> form;
    TQxEdit* first = nullptr;
    TQxEdit* second = nullptr;
};

void moveTo(QWidget* w, const QPoint& p)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST_F(ImePad, PopsUpUnderEditAndIsShared)
{
    QTest::keyClicks(first, "zg");
    TQxIMEPad* pad = SharedImePad();
    ASSERT_TRUE(pad);
    EXPECT_TRUE(pad->isVisible());
    EXPECT_EQ(pad->parentWidget(), first);
    EXPECT_EQ(pad->EditControl(), first);
    EXPECT_EQ(pad->pos(), first->mapToGlobal(QPoint(0, first->height())));
    EXPECT_EQ(pad->Lines().first(), "zg1");
    EXPECT_TRUE(first->hasFocus());
    // Leaving the edit frees the pop-up; the next edit makes its own.
    second->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(SharedImePad(), nullptr);
    QTest::keyClicks(second, "a");
    ASSERT_TRUE(SharedImePad());
    EXPECT_EQ(SharedImePad()->parentWidget(), second);
}

TEST_F(ImePad, FlipsAboveAtScreenBottom)
{
    const QRect screen = first->screen()->geometry();
    TQxIMEPad pad(first);
    pad.SetEditControl(first);
    pad.SetLines({"a", "b"});
    const int y = screen.bottom() - 10 - first->mapToGlobal(QPoint(0, 0)).y();
    pad.PlaceAt(QPoint(0, y));
    const QPoint at = first->mapToGlobal(QPoint(0, y));
    EXPECT_EQ(pad.y(), at.y() - first->height() - pad.height());
    // Near the right edge: flush with the screen's right edge.
    pad.PlaceAt(QPoint(screen.right() - first->mapToGlobal(QPoint(0, 0)).x() - 5, 0));
    EXPECT_EQ(pad.x() + pad.width(), screen.right() + 1);
}

TEST_F(ImePad, NoLinesHidesAndWidthFollowsAllLines)
{
    TQxIMEPad pad(first);
    pad.Popup(0, 21);
    EXPECT_FALSE(pad.isVisible());
    QStringList lines;
    for (int i = 0; i < 12; ++i)
        lines << QString(i == 11 ? 30 : 2, QLatin1Char('x'));
    pad.SetLines(lines);
    pad.AutoWidth();
    const int longWidth = pad.width();
    pad.SetLines(lines.mid(0, 8));
    pad.AutoWidth();
    EXPECT_GT(longWidth, pad.width());
    pad.SetLines(lines);
    EXPECT_EQ(pad.LastIndex(), 7);
}

TEST_F(ImePad, MouseMarksLine)
{
    TQxIMEPad pad(first);
    pad.SetLines({"a", "b", "c"});
    pad.Popup(0, 21);
    ASSERT_TRUE(pad.isVisible());
    moveTo(&pad, QPoint(20, 30));
    EXPECT_EQ(pad.MarkedLine(), 1);
    moveTo(&pad, QPoint(20, 45));
    EXPECT_EQ(pad.MarkedLine(), 2);
    moveTo(&pad, QPoint(20, 95)); // past (last index + 2) x 20
    EXPECT_EQ(pad.MarkedLine(), 2);
    QTest::mouseClick(&pad, Qt::LeftButton, {}, QPoint(20, 45));
    EXPECT_FALSE(pad.isVisible());
}
