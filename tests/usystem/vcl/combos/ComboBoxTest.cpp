// The flat combo box and the combo box with drawn items: border and frame lines of the flat
// look, the disabled face still showing its value, the focus colour, Enter and the keypad's
// plus, and the items with their pictures.
#include "ComboTestSupport.h"

#include "platform/ui/ImageList.h"
#include "usystem/vcl/combos/uQxComboBox.h"

#include <QLineEdit>
#include <QListView>
#include <QPainter>

using namespace combotest;

namespace {

class ComboBox : public ::testing::Test
{
protected:
    void SetUp() override { form = makeForm(); }
    void TearDown() override
    {
        form.reset();
        QApplication::processEvents();
    }

    TQxComboBox* makeCombo(int y, const QStringList& items = {"小时", "天", "周", "月"})
    {
        auto* c = new TQxComboBox(form.get());
        c->setGeometry(20, y, 150, 22);
        c->SetItems(items);
        return c;
    }

    // The face left of the button, inside border and item margins.
    static QRect faceArea(QWidget* c) { return QRect(3, 4, c->width() - 2 - 16 - 4, c->height() - 8); }

    std::unique_ptr<QWidget> form;
};

} // namespace

TEST_F(ComboBox, ConstructedWithDrawnItems)
{
    TQxComboBox c;
    EXPECT_EQ(c.Style(), csOwnerDrawFixed);
    EXPECT_FALSE(c.isEditable());
    EXPECT_EQ(c.ItemIndex(), -1);
    EXPECT_EQ(c.Text(), "");
    EXPECT_EQ(c.FrameStyle(), TFrameStyle());
    EXPECT_EQ(c.LineColor(), clBlack);
}

TEST_F(ComboBox, FlatBorderTakesWindowOrFaceColour)
{
    struct Case
    {
        TColor color;
        TColor border;
    };
    for (const Case& k : {Case{clWhite, clWindow}, Case{clYellow, clBtnFace}, Case{clWindow, clBtnFace}}) {
        SCOPED_TRACE(k.color);
        TQxComboBox* c = makeCombo(20);
        c->SetCtl3D(false);
        c->SetColor(k.color);
        const QImage img = c->grab().toImage();
        for (const QPoint& p : {QPoint(0, 0), QPoint(1, 1), QPoint(0, 10), QPoint(c->width() - 1, 10),
                                QPoint(c->width() - 2, c->height() - 2), QPoint(60, c->height() - 1)})
            EXPECT_TRUE(sameColor(pixel(img, p.x(), p.y()), k.border)) << p.x() << "," << p.y();
        delete c;
    }
}

TEST_F(ComboBox, FrameLineUnderTheFlatBorder)
{
    TQxComboBox* c = makeCombo(20);
    c->SetCtl3D(false);
    c->SetColor(clWhite);
    c->SetFrameStyle(fsBottom);
    c->SetLineColor(clRed);
    const QImage img = c->grab().toImage();
    const int y = c->height() - 2;
    EXPECT_TRUE(sameColor(pixel(img, 0, y), clRed));
    EXPECT_TRUE(sameColor(pixel(img, c->width() - 3, y), clRed));
    // The line's end point is left out, and nothing is drawn on the other edges.
    EXPECT_TRUE(sameColor(pixel(img, c->width() - 2, y), clWhite));
    EXPECT_TRUE(sameColor(pixel(img, 0, 0), clWhite));
    EXPECT_TRUE(sameColor(pixel(img, 0, c->height() - 1), clWhite));
}

TEST_F(ComboBox, RaisedLookDrawsNoFlatBorderNorLines)
{
    TQxComboBox* c = makeCombo(20);
    c->SetColor(clWhite);
    c->SetFrameStyle(fsBottom);
    c->SetLineColor(clRed);
    const QImage img = c->grab().toImage();
    EXPECT_TRUE(sameColor(pixel(img, 0, 0), clBtnShadow));
    EXPECT_FALSE(sameColor(pixel(img, 5, c->height() - 2), clRed));
}

TEST_F(ComboBox, DisabledStillShowsItsValueInGrey)
{
    TQxComboBox* c = makeCombo(20, {"ABCDEF"});
    c->SetItemIndex(0);
    const QColor bg = toQColor(clWindow);

    const InkSummary enabled = ink(c->grab().toImage(), faceArea(c), bg);
    ASSERT_GT(enabled.inked, 10);
    EXPECT_LT(enabled.darkest, 60); // black text

    c->setEnabled(false);
    const InkSummary disabled = ink(c->grab().toImage(), faceArea(c), bg);
    EXPECT_GT(disabled.inked, 10); // the value is there...
    EXPECT_GE(disabled.darkest, qGray(toQColor(clGrayText).rgb()) - 8); // ...in grey

    c->SetItemIndex(-1);
    EXPECT_EQ(ink(c->grab().toImage(), faceArea(c), bg).inked, 0);
}

TEST_F(ComboBox, DisabledEditShowsGreyText)
{
    TQxComboBox* c = makeCombo(20);
    c->SetStyle(csDropDown);
    c->SetText("WWWW");
    c->setEnabled(false);
    ASSERT_NE(c->lineEdit(), nullptr);
    EXPECT_EQ(c->lineEdit()->palette().color(QPalette::Disabled, QPalette::Text), toQColor(clGrayText));
    const InkSummary s = ink(c->grab().toImage(), faceArea(c), toQColor(clWindow));
    EXPECT_GT(s.inked, 10);
    EXPECT_GE(s.darkest, qGray(toQColor(clGrayText).rgb()) - 8);
}

TEST_F(ComboBox, FocusColourComesAndGoes)
{
    TQxComboBox* a = makeCombo(20);
    TQxComboBox* b = makeCombo(60);
    a->SetColor(clYellow);
    showForm(form.get());
    focus(form.get(), a);
    EXPECT_EQ(a->Color(), clInfoBk);
    focus(form.get(), b);
    EXPECT_EQ(a->Color(), clYellow);
    EXPECT_EQ(b->Color(), clInfoBk);
    // A colour set by code while focused is the one that comes back.
    b->SetColor(clRed);
    focus(form.get(), a);
    EXPECT_EQ(b->Color(), clRed);
}

TEST_F(ComboBox, EnterMovesToTheNextControl)
{
    TQxComboBox* a = makeCombo(20);
    TQxComboBox* b = makeCombo(60);
    int keyDowns = 0;
    a->OnKeyDown = [&](QObject*, int& Key, TShiftState) { keyDowns += Key == VK_RETURN; };
    showForm(form.get());
    focus(form.get(), a);
    QTest::keyClick(a, Qt::Key_Return);
    EXPECT_TRUE(b->hasFocus());
    EXPECT_EQ(keyDowns, 1);
}

TEST_F(ComboBox, KeypadPlusOpensAndClosesTheList)
{
    TQxComboBox* c = makeCombo(20);
    c->SetItemIndex(1);
    showForm(form.get());
    focus(form.get(), c);
    QTest::keyClick(c, Qt::Key_Plus, Qt::KeypadModifier);
    ASSERT_TRUE(c->DroppedDown());
    // The open list has the keyboard; the key closes it from there.
    QTest::keyClick(c->view(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_FALSE(c->DroppedDown());
    QTest::keyClick(c, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_TRUE(c->DroppedDown());
    QTest::keyClick(c, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->ItemIndex(), 1);
}

TEST_F(ComboBox, PlusIsNeverTyped)
{
    TQxComboBox* c = makeCombo(20);
    c->SetStyle(csDropDown);
    showForm(form.get());
    focus(form.get(), c);
    QTest::keyClicks(c, "1+2");
    QTest::keyClick(c, Qt::Key_Plus, Qt::KeypadModifier);
    c->SetDroppedDown(false);
    EXPECT_EQ(c->Text(), "12");
}

TEST_F(ComboBox, UserPickFiresOnChangeButCodeDoesNot)
{
    TQxComboBox* c = makeCombo(20);
    int changes = 0, clicks = 0;
    c->OnChange = [&](QObject*) { ++changes; };
    c->OnClick = [&](QObject*) { ++clicks; };
    c->SetItemIndex(0);
    c->SetText("周");
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(changes, 0);
    showForm(form.get());
    focus(form.get(), c);
    QTest::keyClick(c, Qt::Key_Down);
    EXPECT_EQ(c->ItemIndex(), 3);
    EXPECT_EQ(c->Text(), "月");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ComboBox, TypingInTheEditFiresOnChange)
{
    TQxComboBox* c = makeCombo(20);
    c->SetStyle(csDropDown);
    int changes = 0;
    c->OnChange = [&](QObject*) { ++changes; };
    c->SetText("abc");
    EXPECT_EQ(changes, 0);
    showForm(form.get());
    focus(form.get(), c);
    QTest::keyClick(c, Qt::Key_End);
    QTest::keyClicks(c, "de");
    EXPECT_EQ(c->Text(), "abcde");
    EXPECT_EQ(changes, 2);
}

TEST_F(ComboBox, ItemsDrawTheirPictureBeforeTheText)
{
    TImageList images(form.get());
    QPixmap red(16, 16);
    red.fill(Qt::red);
    images.Add(red);
    TQxComboBox* c = makeCombo(20);
    c->SetImageList(&images);
    c->SetItemIndex(0);
    const QImage img = c->grab().toImage();
    // The face's item starts inside the border; the picture fills its first 16 pixels.
    EXPECT_EQ(pixel(img, 3 + 8, 11), QColor(Qt::red));
    // Without the list no picture is drawn.
    c->SetImageList(nullptr);
    EXPECT_NE(pixel(c->grab().toImage(), 3 + 8, 11), QColor(Qt::red));
}

TEST_F(ComboBox, FreedImageListIsForgotten)
{
    auto images = std::make_unique<TImageList>();
    TQxComboBox* c = makeCombo(20);
    c->SetImageList(images.get());
    images.reset();
    EXPECT_EQ(c->ImageList(), nullptr);
    c->SetItemIndex(0);
    EXPECT_FALSE(c->grab().isNull());
}

TEST_F(ComboBox, AssignedDrawHandlerDrawsTheItems)
{
    TQxComboBox* c = makeCombo(20);
    QList<int> drawn;
    c->OnDrawItem = [&](QObject* Control, int Index, const QRect& Rect, TOwnerDrawState State) {
        EXPECT_EQ(Control, c);
        EXPECT_TRUE(State.testFlag(odComboBoxEdit));
        drawn.append(Index);
        c->Canvas()->fillRect(Rect, Qt::blue);
    };
    c->SetItemIndex(2);
    const QImage img = c->grab().toImage();
    EXPECT_EQ(drawn, QList<int>{2});
    EXPECT_EQ(pixel(img, 10, 11), QColor(Qt::blue));
}

TEST_F(ComboBox, SimpleStyleShowsItsListUnderTheEdit)
{
    TQxComboBox* c = makeCombo(20);
    c->setGeometry(20, 20, 150, 120);
    c->SetStyle(csSimple);
    int changes = 0;
    c->OnChange = [&](QObject*) { ++changes; };
    showForm(form.get());
    auto* list = c->findChild<QListView*>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_GT(list->y(), c->lineEdit()->geometry().bottom());
    // The action key has no list to drop down.
    focus(form.get(), c);
    QTest::keyClick(c, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_FALSE(c->DroppedDown());
    const QRect item = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->Text(), "周");
    EXPECT_EQ(changes, 1);
}

TEST_F(ComboBox, VariableItemsTakeTheirMeasuredHeight)
{
    TQxComboBox* c = makeCombo(20);
    c->SetStyle(csOwnerDrawVariable);
    c->OnMeasureItem = [](QObject*, int Index, int& Height) { Height = 20 + Index * 5; };
    showForm(form.get());
    c->SetDroppedDown(true);
    ASSERT_TRUE(c->DroppedDown());
    EXPECT_EQ(c->view()->visualRect(c->model()->index(0, 0)).height(), 20);
    EXPECT_EQ(c->view()->visualRect(c->model()->index(3, 0)).height(), 35);
    c->SetDroppedDown(false);
    c->SetStyle(csOwnerDrawFixed);
    c->SetItemHeight(18);
    c->SetDroppedDown(true);
    EXPECT_EQ(c->view()->visualRect(c->model()->index(3, 0)).height(), 18);
    c->SetDroppedDown(false);
}

TEST_F(ComboBox, MouseOnTheButtonDropsTheList)
{
    TQxComboBox* list = makeCombo(20);
    TQxComboBox* edit = makeCombo(60);
    edit->SetStyle(csDropDown);
    int drops = 0;
    edit->OnDropDown = [&](QObject*) { ++drops; };
    showForm(form.get());
    // A pick-only list opens wherever it is pressed.
    QTest::mousePress(list, Qt::LeftButton, Qt::NoModifier, QPoint(20, 11));
    EXPECT_TRUE(list->DroppedDown());
    list->SetDroppedDown(false);
    // With an edit, a press in the text does not open it; one on the button does.
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, QPoint(20, 11));
    EXPECT_FALSE(edit->DroppedDown());
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, QPoint(edit->width() - 10, 11));
    EXPECT_TRUE(edit->DroppedDown());
    EXPECT_EQ(drops, 1);
    edit->SetDroppedDown(false);
}
