// A form with an outlook bar of 150 x 300 pixels, a large (32 x 32) and a small (16 x 16)
// image list of plain coloured pictures, and helpers that drive the bar with real mouse
// events.
#pragma once

#include "usystem/vcl/bars/uQxOutBar.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>
#include <QTest>
#include <QTimerEvent>

#include <memory>

namespace bars_test {

inline QPixmap picture(int w, int h, const QColor& colour)
{
    QPixmap p(w, h);
    p.fill(colour);
    return p;
}

struct OutBarForm
{
    QWidget form;
    TImageList* large = new TImageList(&form);
    TImageList* small = new TImageList(&form);
    TQxOutBar* bar = new TQxOutBar(&form);

    OutBarForm()
    {
        form.resize(400, 400);
        large->setObjectName(QStringLiteral("ImgLarge"));
        large->SetWidth(32);
        large->SetHeight(32);
        large->Add(picture(32, 32, Qt::red));
        large->Add(picture(32, 32, Qt::blue));
        small->setObjectName(QStringLiteral("ImgSmall"));
        small->SetWidth(16);
        small->SetHeight(16);
        small->Add(picture(16, 16, Qt::green));
        bar->setObjectName(QStringLiteral("OutBar1"));
        bar->SetAlign(alNone);
        bar->setGeometry(0, 0, 150, 300);
        bar->SetImages(large);
        bar->SetSmallImages(small);
    }

    // Panels "P0".."Pn-1", each with its number of buttons "B<panel>.<button>".
    void addPanels(std::initializer_list<int> buttonCounts)
    {
        int p = 0;
        for (int count : buttonCounts) {
            TKyOutPanel* panel = bar->Panels()->Add();
            panel->SetText(QStringLiteral("P%1").arg(p));
            for (int b = 0; b < count; ++b) {
                TKyOutButton* button = panel->Buttons()->Add();
                button->SetText(QStringLiteral("B%1.%2").arg(p).arg(b));
                button->SetImageIndex(b % 2);
            }
            ++p;
        }
    }

    TKyOutPanel* panel(int i) const { return bar->Panels()->Items(i); }
    TKyOutButton* button(int panelIndex, int i) const
    {
        return panel(panelIndex)->Buttons()->Items(i);
    }

    void show()
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    QColor pixel(int x, int y) const { return bar->CanvasImage().pixelColor(x, y); }

    void press(const QPoint& at, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(bar, b, {}, at);
    }
    void release(const QPoint& at, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(bar, b, {}, at);
    }
    void click(const QPoint& at) { QTest::mouseClick(bar, Qt::LeftButton, {}, at); }
    void move(const QPoint& at) { QTest::mouseMove(bar, at); }

    // One period of the held arrow's timer, delivered as the event loop would deliver it.
    void tick()
    {
        QTimer* timer = bar->ScrollTimer();
        ASSERT_NE(timer, nullptr);
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
    }
};

inline QColor colour(TColor c)
{
    return toQColor(c);
}

} // namespace bars_test
