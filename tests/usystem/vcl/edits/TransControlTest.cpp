// The calendar base's flat-look routines, read back pixel by pixel from its picture.
#include "usystem/vcl/edits/uQxTransControl.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

class Surface : public TQxTransControl
{
public:
    Surface()
    {
        resize(40, 30);
        SetColor(clWhite);
    }
    void fillBlack()
    {
        DrawOnCanvas([this](QPainter& p) { p.fillRect(ClientRect(), Qt::black); });
    }
    QColor at(int x, int y) const { return CanvasImage().pixelColor(x + ClientOrigin().x(), y + ClientOrigin().y()); }
};

} // namespace

TEST(TransControl, EraseFrameWipesNPlusOneRings)
{
    const QRect r(5, 5, 20, 15);
    for (int n : {0, 1, 2}) {
        Surface s;
        s.fillBlack();
        s.EraseFrame(r, n);
        for (int ring = 0; ring <= n; ++ring) {
            EXPECT_EQ(s.at(r.x() + ring, r.center().y()), Qt::white) << n << " ring " << ring;
            EXPECT_EQ(s.at(qx::rectRight(r) - 1 - ring, r.center().y()), Qt::white) << n;
            EXPECT_EQ(s.at(r.center().x(), r.y() + ring), Qt::white) << n;
            EXPECT_EQ(s.at(r.center().x(), qx::rectBottom(r) - 1 - ring), Qt::white) << n;
        }
        EXPECT_EQ(s.at(r.x() + n + 1, r.center().y()), Qt::black) << n;
        EXPECT_EQ(s.at(r.x() - 1, r.center().y()), Qt::black) << n;
    }
}

TEST(TransControl, FlatFrameRaisedAndSunken)
{
    const QRect r(5, 5, 20, 15);
    const int right = qx::rectRight(r), bottom = qx::rectBottom(r);
    const QColor shadow = toQColor(clBtnShadow), light = toQColor(clHighlightText);

    Surface raised;
    raised.fillBlack();
    raised.DrawFlatFrame(r, false);
    EXPECT_EQ(raised.at(r.x(), r.y()), light);           // top-left corner
    EXPECT_EQ(raised.at(r.x() + 5, r.y()), light);       // top edge
    EXPECT_EQ(raised.at(right - 1, r.y()), shadow);      // the top line stops short of the end
    EXPECT_EQ(raised.at(r.x(), r.y() + 5), light);       // left edge
    EXPECT_EQ(raised.at(right - 1, r.y() + 5), shadow);  // right edge
    EXPECT_EQ(raised.at(r.x() + 5, bottom - 1), shadow); // bottom edge
    EXPECT_EQ(raised.at(r.x() + 1, r.y() + 1), Qt::black);

    Surface sunken;
    sunken.fillBlack();
    sunken.DrawFlatFrame(r, true);
    EXPECT_EQ(sunken.at(r.x(), r.y()), shadow);
    EXPECT_EQ(sunken.at(r.x() + 5, r.y()), shadow);
    EXPECT_EQ(sunken.at(r.x(), r.y() + 5), shadow);
    EXPECT_EQ(sunken.at(r.x() + 5, bottom - 1), light);
    EXPECT_EQ(sunken.at(right - 1, r.y() + 5), light);
    EXPECT_EQ(sunken.at(right - 1, bottom - 1), light);
}

TEST(TransControl, BackgroundInColorAndWindowBorder)
{
    Surface s;
    s.SetColor(clBtnFace);
    s.fillBlack();
    s.Invalidate();
    s.fillBlack(); // a full paint first lays the background, then the step draws
    EXPECT_EQ(s.at(3, 3), Qt::black);
    s.SetWindowBorder(true);
    EXPECT_EQ(s.ClientWidth(), 38);
    EXPECT_EQ(s.ClientHeight(), 28);
    const QImage img = s.grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 0), toQColor(clWindowFrame));
    EXPECT_EQ(img.pixelColor(5, 5), toQColor(clBtnFace));
}
