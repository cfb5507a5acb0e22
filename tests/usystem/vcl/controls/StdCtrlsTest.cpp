#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "tests/support/Widgets.h"

#include "platform/ui/Fonts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QTest>

namespace {

using qx::test::sendEnter;
using qx::test::sendLeave;

// Rows of an image that hold at least one dark (text) pixel.
std::pair<int, int> darkRows(const QImage& img)
{
    int first = -1, last = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 100) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

bool hasColour(const QImage& img, const QColor& c)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == c)
                return true;
    return false;
}

void showActive(QWidget& w)
{
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

} // namespace

// ---- label -----------------------------------------------------------------------------------

TEST(QxLabel, DrawsOneLineInTheVerticalMiddle)
{
    TQxLabel label;
    label.SetAutoSize(false);
    const int th = QFontMetrics(label.font()).height();
    label.resize(120, 3 * th);
    label.SetFontColor(clBlack);
    label.SetCaption(QStringLiteral("修理单"));
    const auto [top, bottom] = darkRows(label.grab().toImage());
    ASSERT_GE(top, 0);
    EXPECT_GE(top, th - 2);
    EXPECT_LE(bottom, 2 * th + 2);

    // A line break does not make a second line: the text draws as one run.
    TQxLabel broken;
    broken.SetAutoSize(false);
    broken.resize(label.size());
    broken.SetFontColor(clBlack);
    broken.SetCaption(QStringLiteral("修理\n单"));
    EXPECT_EQ(broken.grab().toImage(), label.grab().toImage());
}

TEST(QxLabel, AutoSizeFitsTheCaption)
{
    QWidget form;
    auto* left = new TQxLabel(&form);
    left->move(10, 10);
    left->SetCaption(QStringLiteral("客户名称"));
    const QFontMetrics fm(left->font());
    EXPECT_EQ(left->geometry(), QRect(10, 10, fm.horizontalAdvance(QStringLiteral("客户名称")), fm.height()));
    // '&' marks the accelerator and takes no room; "&&" is one '&'.
    left->SetCaption(QStringLiteral("&A&&B"));
    EXPECT_EQ(left->width(), fm.horizontalAdvance(QStringLiteral("A&B")));

    auto* right = new TQxLabel(&form);
    right->SetAlignment(taRightJustify);
    right->setGeometry(0, 40, 100, 17);
    right->SetCaption(QStringLiteral("金额"));
    EXPECT_EQ(right->x() + right->width(), 100);

    auto* fixed = new TQxLabel(&form);
    fixed->SetAutoSize(false);
    fixed->setGeometry(0, 70, 30, 40);
    fixed->SetCaption(QStringLiteral("很长很长的标题"));
    EXPECT_EQ(fixed->size(), QSize(30, 40));
}

TEST(QxLabel, AutoSizeOfAnAlignedLabelFitsItsCaptionAcrossItsSide)
{
    // A label on the left of a strip takes the caption's width (a later, bigger font too); one
    // on the top takes the text's height; the parent lays the strips out again.
    TQxPanel strip;
    strip.resize(400, 60);
    auto* left = new TQxLabel(&strip);
    left->SetAlign(alLeft);
    left->SetCaption(QStringLiteral("工单录入"));
    EXPECT_EQ(left->width(), QFontMetrics(left->font()).horizontalAdvance(QStringLiteral("工单录入")));
    QFont big = left->font();
    big.setPointSize(14);
    big.setBold(true);
    left->setFont(big);
    EXPECT_EQ(left->width(), QFontMetrics(big).horizontalAdvance(QStringLiteral("工单录入")));
    EXPECT_EQ(left->height(), strip.contentsRect().height());

    auto* top = new TQxLabel(&strip);
    top->SetAlign(alTop);
    top->setFont(big);
    top->SetCaption(QStringLiteral("标题"));
    EXPECT_EQ(top->height(), QFontMetrics(big).height());
    EXPECT_EQ(left->y(), strip.contentsRect().top() + top->height());
}

TEST(QxLabel, TextStylesAndFrameLines)
{
    TQxLabel label;
    label.resize(80, 20);
    label.SetColor(clWhite);
    label.SetCaption(QStringLiteral("WWW"));
    label.SetTextStyle(TQxLabel::tsShadow);
    label.SetShadowColor(clRed);
    EXPECT_TRUE(hasColour(label.grab().toImage(), Qt::red));
    label.SetTextStyle(TQxLabel::tsRaised);
    const QImage raised = label.grab().toImage();
    EXPECT_FALSE(hasColour(raised, Qt::red));
    EXPECT_TRUE(hasColour(raised, toQColor(clBtnShadow)));

    TQxLabel framed;
    framed.resize(20, 10);
    framed.SetColor(clWhite);
    framed.SetFontColor(clBlue);
    framed.SetFrameStyle(fsTop | fsRight);
    const QImage img = framed.grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(18, 0), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(19, 5), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(19, 9), QColor(Qt::white)); // the end point is not set
    EXPECT_EQ(img.pixelColor(0, 9), QColor(Qt::white));  // no bottom line
}

TEST(QxLabel, LinkLookFollowsTheMouseAndStaysRecessedAfterAClick)
{
    QWidget form;
    auto* label = new TQxLabel(&form);
    label->SetCaption(QStringLiteral("网址"));
    label->SetLinkControl(true);
    int clicks = 0;
    label->OnClick = [&](QObject* s) {
        EXPECT_EQ(s, label);
        ++clicks;
    };
    form.show();
    sendEnter(label);
    EXPECT_EQ(label->TextStyle(), TQxLabel::tsRaised);
    EXPECT_TRUE(label->font().bold());
    EXPECT_TRUE(label->font().underline());
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(label->TextStyle(), TQxLabel::tsRecessed);
    sendLeave(label);
    EXPECT_EQ(label->TextStyle(), TQxLabel::tsNone);
    EXPECT_FALSE(label->font().bold());

    // Without LinkControl nothing changes.
    auto* plain = new TQxLabel(&form);
    sendEnter(plain);
    EXPECT_EQ(plain->TextStyle(), TQxLabel::tsNone);
}

// ---- panel -----------------------------------------------------------------------------------

TEST(QxPanel, FaceIsButtonFaceAndColourShowsOnlyInTheBorder)
{
    TQxPanel panel;
    panel.resize(40, 30);
    panel.SetColor(clWhite);
    panel.SetBevelOuter(bvNone);
    panel.SetBorderWidth(3);
    const QImage img = panel.grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(2, 15), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(3, 15), toQColor(clBtnFace));
    EXPECT_EQ(img.pixelColor(20, 15), toQColor(clBtnFace));
    EXPECT_EQ(panel.contentsRect(), QRect(3, 3, 34, 24));

    // The default raised bevel: highlight top-left, shadow bottom-right.
    TQxPanel raised;
    raised.resize(40, 30);
    const QImage r = raised.grab().toImage();
    EXPECT_EQ(r.pixelColor(0, 10), toQColor(clBtnHighlight));
    EXPECT_EQ(r.pixelColor(39, 10), toQColor(clBtnShadow));
    EXPECT_EQ(r.pixelColor(10, 29), toQColor(clBtnShadow));
}

TEST(QxPanel, ChildPanelContinuesTheParentsTiles)
{
    QImage tile(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            tile.setPixel(x, y, qRgb(x * 8, y * 8, 100));
    TQxPanel parent;
    parent.resize(120, 100);
    parent.SetPicture(tile);
    auto* child = new TQxPanel(&parent);
    child->setGeometry(40, 30, 50, 50);
    const QImage img = parent.grab().toImage();
    // Inside the parent (away from bevels) the tiles start one pixel in.
    auto expected = [&](int px, int py) { return tile.pixelColor(((px - 1) % 32 + 32) % 32, ((py - 1) % 32 + 32) % 32); };
    EXPECT_EQ(img.pixelColor(10, 10), expected(10, 10));
    // Inside the child the same picture runs on without a seam.
    for (QPoint p : {QPoint(45, 35), QPoint(60, 50), QPoint(80, 70), QPoint(71, 61)})
        EXPECT_EQ(img.pixelColor(p), expected(p.x(), p.y())) << p.x() << "," << p.y();
}

TEST(QxPanel, ChildrenAlignInsideTheBevelsAndTheSplitterEdgeSizes)
{
    QWidget form;
    form.resize(300, 200);
    new qx::AlignLayout(&form);
    auto* panel = new TQxPanel(&form);
    panel->SetHeight(60);
    panel->SetAlign(alTop);
    auto* inner = new TQxPanel(panel);
    inner->SetAlign(alClient);
    form.show();
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 300, 60));
    EXPECT_EQ(inner->geometry(), QRect(1, 1, 298, 58));

    panel->SetSplitter(true);
    // Inner bevel and border are absent: two pixels given up at the bottom edge.
    EXPECT_EQ(inner->geometry(), QRect(1, 1, 298, 56));
    EXPECT_EQ(panel->SizingStripWidth(), 3);
    EXPECT_TRUE(panel->OnSizingEdge(QPoint(100, 58)));
    EXPECT_FALSE(panel->OnSizingEdge(QPoint(100, 50)));

    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(100, 58));
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 78), panel->mapToGlobal(QPointF(100, 78)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &move);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(100, 78));
    EXPECT_EQ(panel->height(), 80);
}

// ---- group box and check box focus keys -----------------------------------------------------

namespace {

struct FocusForm
{
    QWidget form;
    QLineEdit* first = new QLineEdit(&form);
    TQxGroupBox* group = new TQxGroupBox(&form);
    TQxCheckBox* check = new TQxCheckBox(&form);
    QLineEdit* last = new QLineEdit(&form);

    FocusForm()
    {
        form.resize(300, 300);
        first->setGeometry(5, 5, 100, 20);
        group->setGeometry(5, 30, 100, 60);
        check->setGeometry(5, 100, 100, 20);
        check->SetCaption(QStringLiteral("保修"));
        last->setGeometry(5, 130, 100, 20);
    }
};

} // namespace

TEST(QxGroupBox, EnterAndRightMoveOnLeftMovesBack)
{
    FocusForm f;
    showActive(f.form);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Right}) {
        f.group->setFocus();
        QTest::keyClick(f.group, key);
        EXPECT_EQ(QApplication::focusWidget(), f.check) << key;
    }
    f.group->setFocus();
    QTest::keyClick(f.group, Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), f.first);
    // A group box is no tab stop of its own.
    EXPECT_EQ(qx::findNextControl(f.first, true), f.check);
}

TEST(QxCheckBox, EnterAndDownMoveOnUpMovesBack)
{
    FocusForm f;
    showActive(f.form);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Down}) {
        f.check->setFocus();
        QTest::keyClick(f.check, key);
        EXPECT_EQ(QApplication::focusWidget(), f.last) << key;
    }
    f.check->setFocus();
    QTest::keyClick(f.check, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), f.first);
    EXPECT_FALSE(f.check->Checked()); // moving never flips it
}

TEST(QxCheckBox, KeypadPlusFlipsATypedPlusAndCtrlDoNot)
{
    FocusForm f;
    showActive(f.form);
    int clicks = 0;
    f.check->OnClick = [&](QObject*) { ++clicks; };
    f.check->setFocus();
    QTest::keyClick(f.check, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_TRUE(f.check->Checked());
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(f.check, Qt::Key_Plus, Qt::ShiftModifier); // the main keyboard's '+'
    EXPECT_TRUE(f.check->Checked());
    // Ctrl alone, held with auto-repeat, and as the start of a shortcut: nothing flips.
    QTest::keyPress(f.check, Qt::Key_Control, Qt::ControlModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, QString(), true);
    QApplication::sendEvent(f.check, &repeat);
    QTest::keyRelease(f.check, Qt::Key_Control);
    QTest::keyClick(f.check, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(f.check->Checked());
    EXPECT_EQ(clicks, 1);
    // Space flips as on every check box; a disabled box ignores the keypad '+'.
    QTest::keyClick(f.check, Qt::Key_Space);
    EXPECT_FALSE(f.check->Checked());
    f.check->setEnabled(false);
    QTest::keyClick(f.check, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_FALSE(f.check->Checked());
}

TEST(QxCheckBox, StateAndClickByCode)
{
    TQxCheckBox box;
    int clicks = 0;
    box.OnClick = [&](QObject*) { ++clicks; };
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(box.State(), TQxCheckBox::cbChecked);
    box.SetState(TQxCheckBox::cbGrayed);
    EXPECT_TRUE(box.AllowGrayed());
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 2);
}

// ---- bitmap button and popup menu ------------------------------------------------------------

TEST(QxBitBtn, ModalResultClosesTheDialogAndEnterClicks)
{
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    edit->move(0, 60);
    auto* ok = new TQxBitBtn(&dialog);
    ok->SetCaption(QStringLiteral("确定"));
    ok->SetModalResult(1);
    auto* other = new TQxBitBtn(&dialog);
    other->move(0, 30);
    int clicks = 0;
    other->OnClick = [&](QObject*) { ++clicks; };
    showActive(dialog);
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(dialog.isVisible());
    // Enter in an edit clicks no button unless one is the dialog's default.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(dialog.isVisible());
    other->SetDefault(true);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
}

TEST(QxPopupMenu, PopupFiresOnPopup)
{
    TQxPopupMenu menu;
    menu.addAction(QStringLiteral("打印"));
    int popups = 0;
    menu.OnPopup = [&](QObject*) { ++popups; };
    menu.Popup(100, 100);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(popups, 1);
    menu.close();
}
