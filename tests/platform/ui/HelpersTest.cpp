#include "platform/ui/AlignLayout.h"
#include "tests/support/Scoped.h"
#include "platform/ui/Components.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Glyphs.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Popup.h"
#include "platform/ui/TextHook.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

TEST(Components, FindWithoutCaseInCreationOrderAndForgetRemoved)
{
    QWidget form;
    auto* panel = new QWidget(&form);
    auto* edit = new QWidget(panel); // a control on a panel: its owner is the form
    edit->setObjectName(QStringLiteral("EdtName"));
    auto* timer = new QTimer(&form);
    timer->setObjectName(QStringLiteral("Timer1"));
    qx::insertComponent(&form, edit);
    qx::insertComponent(&form, timer);
    qx::insertComponent(&form, edit); // once only

    EXPECT_EQ(qx::findComponent(&form, QStringLiteral("edtname")), edit);
    EXPECT_EQ(qx::findComponent(&form, QStringLiteral("TIMER1")), timer);
    EXPECT_EQ(qx::findComponent(&form, QStringLiteral("nothing")), nullptr);
    EXPECT_EQ(qx::componentOwner(edit), &form);
    const QList<QObject*> list = qx::components(&form);
    ASSERT_GE(list.size(), 2);
    EXPECT_EQ(list.at(0), edit);
    EXPECT_EQ(list.at(1), timer);

    QObject* noticed = nullptr;
    QObject receiver;
    qx::notifyRemoval(timer, &receiver, [&](QObject* gone) { noticed = gone; });
    delete timer;
    EXPECT_EQ(noticed, timer);
    EXPECT_EQ(qx::findComponent(&form, QStringLiteral("Timer1")), nullptr);
    EXPECT_FALSE(qx::components(&form).contains(static_cast<QObject*>(timer)));
}

TEST(Components, UnregisteredNamedDescendantsAreFoundToo)
{
    QWidget form;
    auto* panel = new QWidget(&form);
    panel->setObjectName(QStringLiteral("PnlTop"));
    auto* button = new QWidget(panel);
    button->setObjectName(QStringLiteral("BtnClose"));
    EXPECT_EQ(qx::findComponent(&form, QStringLiteral("btnclose")), button);
    EXPECT_EQ(qx::components(&form), (QList<QObject*>{panel, button}));
}

namespace {

QWidget* child(QWidget* parent, TAlign align, QRect geometry)
{
    auto* w = new QWidget(parent);
    w->setGeometry(geometry);
    qx::setAlign(w, align);
    return w;
}

} // namespace

TEST(AlignLayout, StripsInThePlatformsOrderAndClientFillsTheRest)
{
    QWidget parent;
    parent.resize(200, 100);
    parent.setContentsMargins(2, 2, 2, 2); // a border
    new qx::AlignLayout(&parent);
    QWidget* client = child(&parent, alClient, QRect(0, 0, 10, 10));
    QWidget* top2 = child(&parent, alTop, QRect(0, 50, 10, 10));
    QWidget* top1 = child(&parent, alTop, QRect(0, 0, 10, 20));
    QWidget* bottom = child(&parent, alBottom, QRect(0, 0, 10, 15));
    QWidget* left = child(&parent, alLeft, QRect(0, 0, 30, 10));
    QWidget* right = child(&parent, alRight, QRect(0, 0, 40, 10));
    QWidget* none = child(&parent, alNone, QRect(5, 6, 7, 8));
    parent.show();

    EXPECT_EQ(top1->geometry(), QRect(2, 2, 196, 20));
    EXPECT_EQ(top2->geometry(), QRect(2, 22, 196, 10));
    EXPECT_EQ(bottom->geometry(), QRect(2, 83, 196, 15));
    EXPECT_EQ(left->geometry(), QRect(2, 32, 30, 51));
    EXPECT_EQ(right->geometry(), QRect(158, 32, 40, 51));
    EXPECT_EQ(client->geometry(), QRect(32, 32, 126, 51));
    EXPECT_EQ(none->geometry(), QRect(5, 6, 7, 8));

    // Resizing the parent and hiding a strip lay the rest out again.
    parent.resize(300, 100);
    top2->hide();
    EXPECT_EQ(top1->geometry(), QRect(2, 2, 296, 20));
    EXPECT_EQ(left->geometry(), QRect(2, 22, 30, 61));
    EXPECT_EQ(client->geometry(), QRect(32, 22, 226, 61));

    // A strip that changes its size moves the others.
    top1->resize(top1->width(), 30);
    EXPECT_EQ(client->geometry(), QRect(32, 32, 226, 51));
}

TEST(Popup, OpensBelowFlipsAboveAndStaysOnScreen)
{
    const QRect screen(0, 0, 800, 600);
    EXPECT_EQ(qx::popupPosition(QSize(100, 50), QRect(10, 20, 80, 22), screen), QPoint(10, 42));
    // No room below: above the anchor.
    EXPECT_EQ(qx::popupPosition(QSize(100, 50), QRect(10, 560, 80, 22), screen), QPoint(10, 510));
    // Too far right: moved left to fit.
    EXPECT_EQ(qx::popupPosition(QSize(100, 50), QRect(750, 20, 40, 22), screen), QPoint(700, 42));
}

TEST(Popup, NonActivatingPopupKeepsTheFormsFocus)
{
    QWidget form;
    auto* anchor = new QWidget(&form);
    anchor->setGeometry(10, 10, 50, 20);
    anchor->setFocusPolicy(Qt::StrongFocus);
    form.show();
    anchor->setFocus();
    QWidget popup;
    popup.resize(40, 30);
    qx::makeNonActivatingPopup(&popup);
    qx::showPopupAt(&popup, anchor);
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.pos(), anchor->mapToGlobal(QPoint(0, anchor->height())));
    EXPECT_TRUE(popup.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(form.focusWidget(), anchor);
}

TEST(Fonts, LibraryFaceMapsToTheInstalledCjkFontInPixels)
{
    const QFont f = qx::libraryFont(9);
    EXPECT_EQ(f.family(), QStringLiteral("宋体"));
    EXPECT_EQ(f.pixelSize(), 12);
    EXPECT_EQ(QFontInfo(f).family(), qx::kInstalledCjkFace);
    EXPECT_EQ(qx::pointsToPixels(9), 12);
    EXPECT_EQ(qx::pointsToPixels(10), 13);
    EXPECT_EQ(qx::pointsToPixels(12), 16);
}

TEST(ImageList, MaskedPicturesAndDrawing)
{
    TImageList list;
    list.SetWidth(4);
    list.SetHeight(4);
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixelColor(1, 1, Qt::red);
    EXPECT_EQ(list.AddMasked(img, clWhite), 0);
    EXPECT_EQ(list.Count(), 1);
    QImage strip(8, 4, QImage::Format_RGB32);
    strip.fill(Qt::blue);
    EXPECT_EQ(list.AddStrip(strip), 1);
    EXPECT_EQ(list.Count(), 3);

    QImage dest(4, 4, QImage::Format_ARGB32);
    dest.fill(Qt::green);
    {
        QPainter p(&dest);
        list.Draw(p, 0, 0, 0);
        list.Draw(p, 0, 0, 99); // out of range: nothing
    }
    EXPECT_EQ(dest.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(dest.pixelColor(0, 0), QColor(Qt::green));
    list.SetWidth(8); // a new size clears the list
    EXPECT_EQ(list.Count(), 0);
}

TEST(Glyphs, DrawnPicturesHaveTheirSizes)
{
    EXPECT_EQ(qx::libraryGlyph(qx::LibraryGlyph::Exit).size(), QSize(20, 20));
    EXPECT_EQ(qx::libraryGlyph(qx::LibraryGlyph::IconWarning).size(), QSize(32, 32));
    EXPECT_EQ(qx::libraryGlyph(qx::LibraryGlyph::IconConfirmation).size(), QSize(32, 32));
    // Something is drawn, and the corners stay transparent.
    const QImage err = qx::libraryGlyph(qx::LibraryGlyph::IconError).toImage();
    EXPECT_EQ(qAlpha(err.pixel(0, 0)), 0);
    EXPECT_GT(qAlpha(err.pixel(16, 16)), 0);
}

TEST(TextHook, IdentityUntilAHookIsInstalled)
{
    EXPECT_EQ(qx::localizeText(QStringLiteral("退出")), QStringLiteral("退出"));
    {
        const qx::test::ScopedTextHook hook(
            [](const QString& t) { return QStringLiteral("[") + t + u']'; });
        EXPECT_EQ(qx::localizeText(QStringLiteral("a")), QStringLiteral("[a]"));
    }
    EXPECT_EQ(qx::localizeText(QStringLiteral("a")), QStringLiteral("a"));
}
