#include "usystem/vcl/checks/uQxListBox.h"
#include "tests/support/Widgets.h"

#include "platform/rtl/Exceptions.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/stream/ComponentReader.h"
#include "platform/stream/ComponentWriter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

namespace {

using qx::test::doubleClick;

using S = TQxListBox::TCheckBoxState;

// A form with the list box between two edits, so the focus keys have somewhere to go.
struct ListForm
{
    QWidget form;
    QLineEdit* before = new QLineEdit(&form);
    TQxListBox* list = new TQxListBox(&form);
    QLineEdit* after = new QLineEdit(&form);

    ListForm()
    {
        form.resize(300, 260);
        before->setGeometry(0, 0, 100, 20);
        list->setGeometry(0, 30, 200, 180);
        after->setGeometry(0, 220, 100, 20);
        QWidget::setTabOrder(before, list);
        QWidget::setTabOrder(list, after);
        list->SetListBoxStyle(TQxListBox::lbsCheckBox);
        for (const char* s : {"编号", "名称", "规格", "单价"})
            list->Items()->Add(QString::fromUtf8(s));
    }

    void show()
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        list->setFocus();
    }

    // A point of item i, x pixels from the item's left.
    QPoint at(int i, int x) const
    {
        const QRect r = list->ItemRect(i);
        return QPoint(r.left() + x, r.center().y());
    }

    void click(int i, int x) { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(i, x)); }
};

QImage itemImage(TQxListBox* list, int i)
{
    const QImage all = list->viewport()->grab().toImage();
    return all.copy(list->ItemRect(i));
}

} // namespace

TEST(QxListBox, UntouchedItemsAreUncheckedEnabledAndWithoutData)
{
    ListForm f;
    EXPECT_FALSE(f.list->GetChecked(0));
    EXPECT_EQ(f.list->GetState(0), TQxListBox::cbUnchecked);
    EXPECT_TRUE(f.list->GetItemEnabled(0));
    EXPECT_EQ(f.list->GetItemData(0), 0);
    // Per-item operations need an existing item.
    EXPECT_THROW(f.list->GetChecked(4), ERangeError);
    EXPECT_THROW(f.list->SetChecked(-1, true), ERangeError);
    EXPECT_THROW(f.list->GetState(9), ERangeError);
    // The picture numbers and the toggle take any index.
    EXPECT_NO_THROW(f.list->ToggleClickCheck(17));
    EXPECT_NO_THROW(f.list->ToggleClickCheck(-3));
}

TEST(QxListBox, ClicksInTheCheckColumnCycleTheState)
{
    struct Case
    {
        bool allowGrayed;
        std::vector<S> after; // the state after each click, from unchecked
    };
    const Case cases[] = {
        {false, {TQxListBox::cbChecked, TQxListBox::cbUnchecked, TQxListBox::cbChecked}},
        {true, {TQxListBox::cbGrayed, TQxListBox::cbChecked, TQxListBox::cbUnchecked}},
    };
    for (const Case& c : cases) {
        ListForm f;
        f.show();
        f.list->SetAllowGrayed(c.allowGrayed);
        int notices = 0;
        f.list->OnClickCheck = [&](QObject* sender) {
            EXPECT_EQ(sender, f.list);
            ++notices;
        };
        for (std::size_t n = 0; n < c.after.size(); ++n) {
            f.click(1, 4);
            EXPECT_EQ(f.list->GetState(1), c.after[n]) << c.allowGrayed << " click " << n;
        }
        EXPECT_EQ(notices, int(c.after.size()));
        EXPECT_EQ(f.list->GetState(0), TQxListBox::cbUnchecked); // the others stay
    }
}

TEST(QxListBox, OnlyTheFirstFifteenPixelsOfAnEnabledItemFlip)
{
    ListForm f;
    f.show();
    f.click(2, 14);
    EXPECT_TRUE(f.list->GetChecked(2));
    f.click(2, 15); // the text: selects, does not flip
    EXPECT_TRUE(f.list->GetChecked(2));
    EXPECT_EQ(f.list->ItemIndex(), 2);

    // Without a check box column the same strip still flips.
    f.list->SetListBoxStyle({});
    f.click(3, 3);
    EXPECT_TRUE(f.list->GetChecked(3));

    // A disabled item ignores clicks and keys.
    f.list->SetListBoxStyle(TQxListBox::lbsCheckBox);
    f.list->SetItemEnabled(0, false);
    f.click(0, 4);
    EXPECT_FALSE(f.list->GetChecked(0));
    f.list->SetItemIndex(0);
    QTest::keyClick(f.list, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_FALSE(f.list->GetChecked(0));
    f.list->ToggleClickCheck(0);
    EXPECT_FALSE(f.list->GetChecked(0));
    // Code still sets its state.
    f.list->SetChecked(0, true);
    EXPECT_TRUE(f.list->GetChecked(0));
}

TEST(QxListBox, KeypadPlusAndSpaceFlipTheCurrentItemCtrlNever)
{
    ListForm f;
    f.show();
    int notices = 0;
    f.list->OnClickCheck = [&](QObject*) { ++notices; };
    f.list->SetItemIndex(1);

    QTest::keyClick(f.list, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_TRUE(f.list->GetChecked(1));
    QTest::keyClick(f.list, Qt::Key_Space);
    EXPECT_FALSE(f.list->GetChecked(1));
    EXPECT_EQ(notices, 2);

    // Ctrl alone, Ctrl held with auto-repeat, Ctrl starting a shortcut: nothing flips.
    QTest::keyPress(f.list, Qt::Key_Control, Qt::ControlModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, QString(), true);
    QApplication::sendEvent(f.list, &repeat);
    QTest::keyRelease(f.list, Qt::Key_Control, Qt::NoModifier);
    QTest::keyClick(f.list, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(f.list, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(f.list->GetChecked(1));

    // A held keypad '+' flips once, not on every repeat; the main keyboard's '+' never.
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"), false);
    QKeyEvent plusAgain(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"), true);
    QApplication::sendEvent(f.list, &plus);
    QApplication::sendEvent(f.list, &plusAgain);
    QApplication::sendEvent(f.list, &plusAgain);
    EXPECT_TRUE(f.list->GetChecked(1));
    QTest::keyClick(f.list, Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_TRUE(f.list->GetChecked(1));
    EXPECT_EQ(notices, 3);
    EXPECT_EQ(f.list->ItemIndex(), 1);
}

TEST(QxListBox, EnterMovesToTheNextControl)
{
    ListForm f;
    f.show();
    f.list->SetItemIndex(0);
    QTest::keyClick(f.list, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.after);
    EXPECT_FALSE(f.list->GetChecked(0));
}

TEST(QxListBox, ADoubleClickFlipsTheItemOnceAfterOnDblClick)
{
    ListForm f;
    f.show();
    std::vector<bool> seen;
    f.list->OnDblClick = [&](QObject*) { seen.push_back(f.list->GetChecked(2)); };
    doubleClick(f.list->viewport(), f.at(2, 40));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0]);
    EXPECT_TRUE(f.list->GetChecked(2));
    EXPECT_EQ(f.list->ItemIndex(), 2);

    // On the box: its press and its double click are both presses in the check column, and
    // the double click flips the item once more, so the box ends up changed once.
    int notices = 0;
    f.list->OnClickCheck = [&](QObject*) { ++notices; };
    doubleClick(f.list->viewport(), f.at(1, 5));
    EXPECT_TRUE(f.list->GetChecked(1));
    EXPECT_EQ(notices, 3);
    EXPECT_TRUE(f.list->GetChecked(2));
}

TEST(QxListBox, PictureNumbersPadTheSideListWithZeros)
{
    TQxListBox list;
    list.SetItemImageIndex(4, 7);
    EXPECT_EQ(list.ImageIndexes(), (QStringList{"0", "0", "0", "0", "7"}));
    EXPECT_EQ(list.GetItemImageIndex(9), 0);
    EXPECT_EQ(list.ImageIndexes().size(), 10);
    EXPECT_EQ(list.GetItemImageIndex(4), 7);
    list.SetItemImageIndex(-1, 3); // ignored
    EXPECT_EQ(list.ImageIndexes().size(), 10);
    EXPECT_EQ(list.GetItemImageIndex(-1), 0);
}

TEST(QxListBox, StatesTravelWithTheirItems)
{
    ListForm f;
    // 编号 checked, 名称 grayed with data 42, 规格 disabled.
    f.list->SetChecked(0, true);
    f.list->SetState(1, TQxListBox::cbGrayed);
    f.list->SetItemData(1, 42);
    f.list->SetItemEnabled(2, false);
    auto stateOf = [&](const char* text) {
        const int i = f.list->Items()->IndexOf(QString::fromUtf8(text));
        return std::tuple(f.list->GetState(i), f.list->GetItemData(i), f.list->GetItemEnabled(i));
    };
    auto expectKept = [&](const char* when) {
        EXPECT_EQ(stateOf("编号"), std::tuple(TQxListBox::cbChecked, 0, true)) << when;
        EXPECT_EQ(stateOf("名称"), std::tuple(TQxListBox::cbGrayed, 42, true)) << when;
        EXPECT_EQ(stateOf("规格"), std::tuple(TQxListBox::cbUnchecked, 0, false)) << when;
        EXPECT_EQ(stateOf("单价"), std::tuple(TQxListBox::cbUnchecked, 0, true)) << when;
    };

    f.list->Items()->Insert(0, QStringLiteral("条码"));
    EXPECT_FALSE(f.list->GetChecked(0));
    expectKept("insert");

    f.list->SetSorted(true);
    expectKept("sort");
    // A sorted list puts a new item at its place; the others keep their states.
    f.list->Items()->Add(QStringLiteral("AAA"));
    EXPECT_EQ(f.list->Items()->Strings(0), QStringLiteral("AAA"));
    expectKept("sorted add");

    f.list->Items()->Delete(f.list->Items()->IndexOf(QStringLiteral("条码")));
    expectKept("delete");

    // Picture numbers belong to positions, not to items: sorting leaves them where they are.
    f.list->SetItemImageIndex(0, 3);
    f.list->SetSorted(false);
    f.list->Items()->Insert(0, QStringLiteral("ZZZ"));
    f.list->SetSorted(true);
    EXPECT_EQ(f.list->Items()->Strings(0), QStringLiteral("AAA"));
    EXPECT_EQ(f.list->GetItemImageIndex(0), 3);
    f.list->Items()->Delete(f.list->Items()->IndexOf(QStringLiteral("ZZZ")));
    expectKept("picture numbers");

    // Switching the border re-creates the list; every state comes back.
    const QStringList texts = f.list->ItemStrings();
    f.list->SetCtl3D(false);
    EXPECT_EQ(f.list->ItemStrings(), texts);
    expectKept("Ctl3D off");
    f.list->SetCtl3D(true);
    expectKept("Ctl3D on");

    // Clearing the list drops the records with the items.
    f.list->Items()->Clear();
    f.list->Items()->Add(QStringLiteral("编号"));
    EXPECT_EQ(stateOf("编号"), std::tuple(TQxListBox::cbUnchecked, 0, true));
}

TEST(QxListBox, DrawsTheBoxThePictureAndTheText)
{
    ListForm f;
    TImageList images;
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    images.Add(QPixmap::fromImage(red));
    f.list->SetStyle(StdCtrls::lbOwnerDrawFixed);
    f.list->SetItemHeight(20);
    f.list->SetImageList(&images);
    f.list->SetListBoxStyle(TQxListBox::lbsCheckBox | TQxListBox::lbsBitmap);
    f.list->SetItemImageIndex(1, 0);
    f.list->SetItemImageIndex(2, 5); // no such picture: nothing drawn
    f.show();
    QApplication::processEvents();

    QImage unchecked = itemImage(f.list, 1);
    ASSERT_EQ(unchecked.height(), 20);
    // The flat box: a shadow-coloured outline round the 13-pixel inside of the 15-pixel square.
    const int top = (20 - 15) / 2;
    EXPECT_EQ(unchecked.pixelColor(1, top + 1), toQColor(clBtnShadow));
    EXPECT_EQ(unchecked.pixelColor(7, top + 7), toQColor(clWindow));
    // The picture sits right after the check column, centred in the item height.
    EXPECT_EQ(unchecked.pixelColor(15, 2), QColor(Qt::red));
    EXPECT_EQ(unchecked.pixelColor(30, 17), QColor(Qt::red));
    EXPECT_NE(unchecked.pixelColor(31, 10), QColor(Qt::red));
    EXPECT_NE(itemImage(f.list, 2).pixelColor(20, 10), QColor(Qt::red));

    f.list->SetChecked(1, true);
    QApplication::processEvents();
    const QImage checked = itemImage(f.list, 1);
    EXPECT_EQ(checked.pixelColor(7, top + 8), toQColor(clWindowText)); // the tick
    f.list->SetState(1, TQxListBox::cbGrayed);
    QApplication::processEvents();
    const QImage grayed = itemImage(f.list, 1);
    EXPECT_EQ(grayed.pixelColor(7, top + 8), toQColor(clBtnShadow));
    EXPECT_NE(grayed, checked);

    // The 3-D box keeps its sunken border.
    f.list->SetFlat(false);
    QApplication::processEvents();
    EXPECT_EQ(itemImage(f.list, 1).pixelColor(1, top + 1), toQColor(cl3DDkShadow));

    // A disabled item's text is grey; an owner-drawn list hands its text part to OnDrawItem.
    f.list->SetItemEnabled(3, false);
    std::vector<int> drawn;
    f.list->OnDrawItem = [&](QObject*, int index, const QRect& rect, TQxListBox::TOwnerDrawState) {
        drawn.push_back(index);
        EXPECT_EQ(rect.left(), f.list->ItemRect(index).left() + 15 + 16);
        f.list->Canvas()->fillRect(rect, f.list->Canvas()->brush());
    };
    f.list->viewport()->repaint();
    EXPECT_EQ(drawn.size(), 4u);

}

TEST(QxListBox, DisabledItemTextIsGrey)
{
    ListForm f;
    f.list->Items()->Clear();
    f.list->Items()->Add(QStringLiteral("WWWW"));
    f.list->SetItemEnabled(0, false);
    f.show();
    f.before->setFocus(); // no focus rectangle
    QApplication::processEvents();
    const QImage img = itemImage(f.list, 0);
    bool grey = false, black = false;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 15; x < img.width(); ++x) {
            grey |= img.pixelColor(x, y) == toQColor(clGrayText);
            black |= img.pixelColor(x, y) == toQColor(clWindowText);
        }
    EXPECT_TRUE(grey);
    EXPECT_FALSE(black);
}

TEST(QxListBox, PublishedPropertiesComeBackFromTheStream)
{
    qx::registerClass<TQxListBox>();
    QWidget form;
    TQxListBox list;
    list.setObjectName(QStringLiteral("LbxColumns"));
    list.SetListBoxStyle(TQxListBox::lbsCheckBox | TQxListBox::lbsBitmap);
    list.SetFlat(false);
    list.SetAllowGrayed(true);
    list.SetStyle(StdCtrls::lbOwnerDrawVariable);
    list.SetItemHeight(20);
    list.SetMultiSelect(true);
    list.SetItemStrings({QStringLiteral("编号"), QStringLiteral("名称")});
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    qx::ComponentWriter(buffer).writeComponent(&list);
    buffer.seek(0);
    qx::ComponentReader reader(buffer);
    std::unique_ptr<TQxListBox> back(qobject_cast<TQxListBox*>(reader.readComponent(nullptr, &form)));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->ListBoxStyle(), TQxListBox::lbsCheckBox | TQxListBox::lbsBitmap);
    EXPECT_FALSE(back->Flat());
    EXPECT_TRUE(back->AllowGrayed());
    EXPECT_EQ(back->Style(), StdCtrls::lbOwnerDrawVariable);
    EXPECT_EQ(back->ItemHeight(), 20);
    EXPECT_TRUE(back->MultiSelect());
    EXPECT_EQ(back->ItemStrings(), list.ItemStrings());
}

TEST(QxListBox, AStandardListOnScreenTakesItsItemHeightFromANewFont)
{
    ListForm f;
    QFont big = f.list->font();
    big.setPixelSize(30);
    TQxListBox offScreen;
    offScreen.setFont(big); // no window yet: the given height stays
    EXPECT_EQ(offScreen.ItemHeight(), 16);

    f.show();
    EXPECT_EQ(f.list->ItemRect(0).height(), 16);
    f.list->setFont(big);
    QApplication::processEvents();
    EXPECT_EQ(f.list->ItemHeight(), QFontMetrics(big).height());
    EXPECT_EQ(f.list->ItemRect(0).height(), QFontMetrics(big).height());
    // An owner-drawn list keeps the height it is given.
    f.list->SetStyle(StdCtrls::lbOwnerDrawFixed);
    f.list->SetItemHeight(20);
    big.setPixelSize(10);
    f.list->setFont(big);
    QApplication::processEvents();
    EXPECT_EQ(f.list->ItemRect(0).height(), 20);
}

TEST(QxListBox, ClicksAndMovesTellOnClick)
{
    ListForm f;
    f.show();
    int clicks = 0;
    f.list->OnClick = [&](QObject*) { ++clicks; };
    f.click(1, 40);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(f.list->ItemIndex(), 1);
    QTest::keyClick(f.list, Qt::Key_Down);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(f.list->ItemIndex(), 2);
    f.list->SetItemIndex(0); // code does not click
    EXPECT_EQ(clicks, 2);
}

TEST(QxListBox, RightToLeftPutsTheCheckColumnAtTheRight)
{
    ListForm f;
    f.list->setLayoutDirection(Qt::RightToLeft);
    f.show();
    const QRect r = f.list->ItemRect(1);
    QTest::mouseClick(f.list->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 3, r.center().y()));
    EXPECT_FALSE(f.list->GetChecked(1));
    QTest::mouseClick(f.list->viewport(), Qt::LeftButton, {}, QPoint(r.right() - 3, r.center().y()));
    EXPECT_TRUE(f.list->GetChecked(1));
}

TEST(QxListBox, AFreedImageListIsForgotten)
{
    ListForm f;
    auto* images = new TImageList;
    images->Add(QPixmap(16, 16));
    f.list->SetImageList(images);
    f.list->SetListBoxStyle(TQxListBox::lbsCheckBox | TQxListBox::lbsBitmap);
    f.show();
    delete images;
    EXPECT_EQ(f.list->ImageList(), nullptr);
    f.list->viewport()->repaint(); // draws without the picture column
    QApplication::processEvents();
}
