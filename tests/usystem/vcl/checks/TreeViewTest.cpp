#include "usystem/vcl/checks/uQxTreeView.h"
#include "tests/support/Widgets.h"

#include "platform/rtl/Exceptions.h"
#include "platform/stream/ComponentReader.h"
#include "platform/stream/ComponentWriter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QLineEdit>
#include <QTest>

namespace {

using qx::test::doubleClick;

using Node = TQxCheckTreeNode;
constexpr auto U = TQxCheckTreeNode::cbUnchecked;
constexpr auto C = TQxCheckTreeNode::cbChecked;
constexpr auto G = TQxCheckTreeNode::cbGrayed;

Node* N(TTreeNode* n)
{
    return dynamic_cast<Node*>(n);
}

// top ─┬─ a ─┬─ a1
//      │     └─ a2
//      └─ b ─── b1
struct TreeForm
{
    QWidget form;
    QLineEdit* before = new QLineEdit(&form);
    TQxTreeView* tree = new TQxTreeView(&form);
    QLineEdit* after = new QLineEdit(&form);
    Node *top, *a, *a1, *a2, *b, *b1;

    TreeForm()
    {
        form.resize(300, 320);
        before->setGeometry(0, 0, 100, 20);
        tree->setGeometry(0, 30, 250, 250);
        after->setGeometry(0, 290, 100, 20);
        QWidget::setTabOrder(before, tree);
        QWidget::setTabOrder(tree, after);
        tree->CreateStateImages();
        TTreeNodes* items = tree->Items();
        top = N(items->Add(nullptr, QStringLiteral("全部")));
        a = N(items->AddChild(top, QStringLiteral("a")));
        a1 = N(items->AddChild(a, QStringLiteral("a1")));
        a2 = N(items->AddChild(a, QStringLiteral("a2")));
        b = N(items->AddChild(top, QStringLiteral("b")));
        b1 = N(items->AddChild(b, QStringLiteral("b1")));
        tree->expandAll();
    }

    void show()
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        tree->setFocus();
    }

    void clickMark(TTreeNode* n)
    {
        const QRect r = tree->StateIconRect(n);
        ASSERT_FALSE(r.isEmpty());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    }
};

} // namespace

TEST(QxTreeView, NewNodesAreUncheckedBoxesWithoutAMark)
{
    TreeForm f;
    for (Node* n : {f.top, f.a, f.a1, f.b1}) {
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(n->CheckType(), Node::ctCheckBox);
        EXPECT_TRUE(n->Enabled());
        EXPECT_TRUE(n->CascadeDown());
        EXPECT_TRUE(n->CascadeUp());
        EXPECT_EQ(n->StateIndex(), -1);
        EXPECT_EQ(n->GetState(), U);
    }
    EXPECT_EQ(f.tree->Items()->Count(), 6);
    EXPECT_EQ(f.tree->Items()->Item(3), f.a2);
    EXPECT_EQ(f.a2->AbsoluteIndex(), 3);
    EXPECT_EQ(f.a2->Level(), 2);
    EXPECT_EQ(f.a1->GetNext(), f.a2);
    EXPECT_EQ(f.a2->GetNext(), f.b);
    EXPECT_EQ(f.b1->GetNext(), nullptr);
}

TEST(QxTreeView, StateIsReadFromTheMarkPicture)
{
    TreeForm f;
    struct Case { int index; TQxCheckTreeNode::TCheckBoxState state; };
    const Case cases[] = {
        {-2, G}, {-1, U}, {0, U}, {1, U}, {2, C}, {3, G}, {4, U}, {5, C}, {6, U}, {7, C},
        {8, G}, {9, U}, {10, C}, {11, U}, {12, C}, {13, G}, {14, U}, {15, C}, {16, G},
    };
    for (const Case& c : cases) {
        f.b1->SetStateIndex(c.index);
        EXPECT_EQ(f.b1->GetState(), c.state) << c.index;
    }
}

TEST(QxTreeView, CheckingAParentChecksItsWholeBranchAndChildrenGrayTheirParents)
{
    TreeForm f;
    f.show();
    f.clickMark(f.top);
    for (Node* n : {f.top, f.a, f.a1, f.a2, f.b, f.b1})
        EXPECT_EQ(n->GetState(), C) << n->Text().toStdString();
    EXPECT_EQ(f.a1->StateIndex(), 2);

    f.clickMark(f.a2);
    EXPECT_EQ(f.a2->GetState(), U);
    EXPECT_EQ(f.a1->GetState(), C);
    EXPECT_EQ(f.a->GetState(), G);
    EXPECT_EQ(f.top->GetState(), G);
    EXPECT_EQ(f.b->GetState(), C);
    EXPECT_EQ(f.top->StateIndex(), 3);

    // Checking it again puts the whole tree back to checked; unchecking a parent clears its
    // branch and the top follows.
    f.clickMark(f.a2);
    EXPECT_EQ(f.top->GetState(), C);
    f.clickMark(f.b);
    EXPECT_EQ(f.b1->GetState(), U);
    EXPECT_EQ(f.top->GetState(), G);
    f.clickMark(f.a);
    EXPECT_EQ(f.top->GetState(), U);
}

TEST(QxTreeView, ADisabledChildPullsItsParentBack)
{
    TreeForm f;
    f.show();
    f.b1->SetEnabled(false); // unchecked; its mark turns inactive
    EXPECT_EQ(f.b1->StateIndex(), 11);
    TTreeNode* e = f.tree->Items()->AddChild(f.b, QStringLiteral("b2"));
    f.tree->expandAll();

    f.clickMark(f.b);
    EXPECT_EQ(N(e)->GetState(), C);
    EXPECT_EQ(f.b1->GetState(), U);
    EXPECT_EQ(f.b->GetState(), G);

    f.clickMark(f.b);
    EXPECT_EQ(N(e)->GetState(), U);
    EXPECT_EQ(f.b1->GetState(), U);
    EXPECT_EQ(f.b->GetState(), U);

    // The user cannot change a disabled node; code can.
    f.clickMark(f.b1);
    EXPECT_EQ(f.b1->GetState(), U);
    f.b1->SetChecked(true);
    EXPECT_EQ(f.b1->GetState(), C);
    EXPECT_EQ(f.b1->StateIndex(), 12);
}

TEST(QxTreeView, RadiosAreExclusiveAmongSiblingsButNotAtTheTop)
{
    TreeForm f;
    f.show();
    TTreeNodes* items = f.tree->Items();
    Node* r1 = N(items->AddChild(f.b, QStringLiteral("r1")));
    Node* r2 = N(items->AddChild(f.b, QStringLiteral("r2")));
    Node* r3 = N(items->AddChild(f.b, QStringLiteral("r3")));
    Node* t1 = N(items->Add(f.top, QStringLiteral("t1")));
    Node* t2 = N(items->Add(f.top, QStringLiteral("t2")));
    for (Node* r : {r1, r2, r3, t1, t2})
        r->SetCheckType(Node::ctRadio);
    f.tree->expandAll();
    EXPECT_EQ(r1->StateIndex(), 4);

    f.clickMark(r1);
    EXPECT_EQ(r1->GetState(), C);
    f.clickMark(r3);
    EXPECT_EQ(r1->GetState(), U);
    EXPECT_EQ(r2->GetState(), U);
    EXPECT_EQ(r3->GetState(), C);
    EXPECT_EQ(r3->StateIndex(), 5);
    f.clickMark(r3); // a radio stays on
    EXPECT_EQ(r3->GetState(), C);
    EXPECT_EQ(f.b1->GetState(), U); // the check box sibling is not a radio

    f.clickMark(t1);
    f.clickMark(t2);
    EXPECT_EQ(t1->GetState(), C);
    EXPECT_EQ(t2->GetState(), C);

    // A grayed radio shows, and reads, unchecked.
    r3->SetState(G, false, false);
    EXPECT_EQ(r3->StateIndex(), 4);
    EXPECT_EQ(r3->GetState(), U);
}

TEST(QxTreeView, LooksPickTheMarkPictures)
{
    TreeForm f;
    f.a1->SetCheckType(Node::ctRadio);
    f.tree->SetFlatness(TQxTreeView::cfAlways3d);
    f.a2->SetState(U, false, false);
    f.b1->SetState(G, false, false);
    f.b->SetState(C, false, false);
    f.a1->SetState(U, false, false);
    EXPECT_EQ(f.a2->StateIndex(), 6);
    EXPECT_EQ(f.b->StateIndex(), 7);
    EXPECT_EQ(f.b1->StateIndex(), 8);
    EXPECT_EQ(f.a1->StateIndex(), 9);
    f.a1->SetChecked(true);
    EXPECT_EQ(f.a1->StateIndex(), 10);

    // Back to flat: every mark is drawn again in the new look, states unchanged.
    f.tree->SetFlatness(TQxTreeView::cfAlwaysFlat);
    EXPECT_EQ(f.a2->StateIndex(), 1);
    EXPECT_EQ(f.b->StateIndex(), 2);
    EXPECT_EQ(f.b1->StateIndex(), 3);
    EXPECT_EQ(f.a1->StateIndex(), 5);

    // Disabled marks are the inactive pictures in every look.
    for (auto look : {TQxTreeView::cfAlwaysFlat, TQxTreeView::cfAlways3d, TQxTreeView::cfHotTrack}) {
        f.tree->SetFlatness(look);
        for (Node* n : {f.a1, f.a2, f.b, f.b1})
            n->SetEnabled(false);
        EXPECT_EQ(f.a2->StateIndex(), 11) << look;
        EXPECT_EQ(f.b->StateIndex(), 12) << look;
        EXPECT_EQ(f.b1->StateIndex(), 13) << look;
        EXPECT_EQ(f.a1->StateIndex(), 15) << look;
        f.a1->SetState(U, false, false);
        EXPECT_EQ(f.a1->StateIndex(), 14) << look;
        f.a1->SetChecked(true);
        for (Node* n : {f.a1, f.a2, f.b, f.b1})
            n->SetEnabled(true);
    }

    // The pictures themselves: sixteen of them, the placeholder blank.
    ASSERT_NE(f.tree->StateImages(), nullptr);
    EXPECT_EQ(f.tree->StateImages()->Count(), 16);
    const QImage blank = f.tree->StateImages()->GetBitmap(0).toImage();
    EXPECT_EQ(qAlpha(blank.pixel(8, 8)), 0);
    const QImage flatChecked = f.tree->StateImages()->GetBitmap(2).toImage();
    EXPECT_NE(flatChecked, f.tree->StateImages()->GetBitmap(1).toImage());
    EXPECT_NE(flatChecked, f.tree->StateImages()->GetBitmap(7).toImage());
}

TEST(QxTreeView, HotTrackingShowsTheMarkUnderTheMouseIn3D)
{
    TreeForm f;
    f.show();
    f.tree->SetHotTrack(true);
    f.tree->SetFlatness(TQxTreeView::cfHotTrack);
    f.a->SetChecked(true);
    EXPECT_EQ(f.a->StateIndex(), 2);
    QTest::mouseMove(f.tree->viewport(), f.tree->StateIconRect(f.a).center());
    EXPECT_EQ(f.tree->HotNode(), f.a);
    EXPECT_EQ(f.a->StateIndex(), 7);
    // A toggle under the mouse keeps the hot look.
    f.clickMark(f.a);
    EXPECT_EQ(f.a->StateIndex(), 6);
    QTest::mouseMove(f.tree->viewport(), f.tree->StateIconRect(f.b).center());
    EXPECT_EQ(f.a->StateIndex(), 1);
    EXPECT_EQ(f.b->StateIndex(), 6);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.tree->viewport(), &leave);
    EXPECT_EQ(f.tree->HotNode(), nullptr);
    EXPECT_EQ(f.b->StateIndex(), 1);
}

TEST(QxTreeView, DoubleClickOnAMarkTogglesOnceAndNothingElse)
{
    TreeForm f;
    f.show();
    f.tree->collapseAll();
    int dbl = 0;
    f.tree->OnDblClick = [&](QObject*) { ++dbl; };
    doubleClick(f.tree->viewport(), f.tree->StateIconRect(f.top).center());
    EXPECT_EQ(f.top->GetState(), C);
    EXPECT_FALSE(f.top->Expanded());
    EXPECT_EQ(dbl, 0);

    // On the text a double click is the platform's: it expands and tells OnDblClick.
    const QRect r = f.tree->visualItemRect(f.top);
    doubleClick(f.tree->viewport(), QPoint(r.left() + 30, r.center().y()));
    EXPECT_TRUE(f.top->Expanded());
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(f.top->GetState(), C);
}

TEST(QxTreeView, KeypadPlusAndSpaceToggleTheSelectedNodeCtrlNever)
{
    TreeForm f;
    f.show();
    f.tree->SetSelected(f.a);
    QTest::keyClick(f.tree, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(f.a->GetState(), C);
    EXPECT_EQ(f.a1->GetState(), C);
    QTest::keyClick(f.tree, Qt::Key_Space);
    EXPECT_EQ(f.a->GetState(), U);

    // Ctrl alone, held with auto-repeat, or starting a shortcut: no mark changes.
    QTest::keyPress(f.tree, Qt::Key_Control, Qt::ControlModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, QString(), true);
    QApplication::sendEvent(f.tree, &repeat);
    QTest::keyRelease(f.tree, Qt::Key_Control, Qt::NoModifier);
    QTest::keyClick(f.tree, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(f.a->GetState(), U);

    // A held keypad '+' toggles once; the main keyboard's '+' does not toggle.
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"), false);
    QKeyEvent plusAgain(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"), true);
    QApplication::sendEvent(f.tree, &plus);
    QApplication::sendEvent(f.tree, &plusAgain);
    EXPECT_EQ(f.a->GetState(), C);
    QTest::keyClick(f.tree, Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(f.a->GetState(), C);

    // The keypad's '+' goes on to the tree after toggling: it also opens a closed node.
    f.tree->collapseAll();
    f.tree->SetSelected(f.b);
    QTest::keyClick(f.tree, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(f.b->GetState(), C);
    EXPECT_TRUE(f.b->Expanded());

    // Enter moves on to the next control.
    QTest::keyClick(f.tree, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.after);
    EXPECT_EQ(f.a->GetState(), C);
}

TEST(QxTreeView, KindsOfMarkAndTheirSettings)
{
    TreeForm f;
    // No mark: the picture goes, clicks and keys do nothing, the parent ignores it.
    f.a2->SetCheckType(Node::ctNone);
    EXPECT_EQ(f.a2->StateIndex(), -1);
    f.tree->ToggleNode(f.a2);
    EXPECT_EQ(f.a2->GetState(), U);
    f.a1->SetChecked(true);
    EXPECT_EQ(f.a->GetState(), C);

    // A hidden check keeps a state without a picture and still cascades.
    f.b->SetCheckType(Node::ctHiddenCheck);
    EXPECT_EQ(f.b->StateIndex(), -1);
    f.b->SetState(C, true, true);
    EXPECT_EQ(f.b->GetState(), C);
    EXPECT_EQ(f.b->StateIndex(), -1);
    EXPECT_EQ(f.b1->GetState(), C);
    EXPECT_EQ(f.top->GetState(), C);
    f.b1->SetChecked(false);
    EXPECT_EQ(f.b->GetState(), U);
    EXPECT_EQ(f.top->GetState(), G);

    // Without cascading down, a parent's change stays its own; without cascading up, a
    // child's change does not reach the parent.
    f.a->SetCascadeDown(false);
    f.a->SetChecked(false);
    EXPECT_EQ(f.a1->GetState(), C);
    f.a1->SetCascadeUp(false);
    f.a1->SetChecked(false);
    EXPECT_EQ(f.a->GetState(), U);
    f.a1->SetChecked(true);
    EXPECT_EQ(f.a->GetState(), U);
    // Turning cascading up back on brings the parent in line at once.
    f.a1->SetCascadeUp(true);
    EXPECT_EQ(f.a->GetState(), C);

    // Assigning a node copies its kind and cascading, not its enabled flag.
    Node* copy = N(f.tree->Items()->Add(f.top, QString()));
    f.b->SetEnabled(false);
    f.b->SetCascadeUp(false);
    copy->Assign(f.b);
    EXPECT_EQ(copy->Text(), QStringLiteral("b"));
    EXPECT_EQ(copy->CheckType(), Node::ctHiddenCheck);
    EXPECT_FALSE(copy->CascadeUp());
    EXPECT_TRUE(copy->Enabled());
}

TEST(QxTreeView, ATreeMadeInCodeHasNoMarkPictures)
{
    QWidget form;
    TQxTreeView tree(&form);
    tree.resize(200, 200);
    TTreeNode* n = tree.Items()->Add(nullptr, QStringLiteral("全部"));
    form.show();
    EXPECT_EQ(tree.StateImages(), nullptr);
    EXPECT_TRUE(tree.StateIconRect(n).isEmpty());
    const QRect r = tree.visualItemRect(n);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(r.left() + 4, r.center().y()));
    EXPECT_EQ(N(n)->GetState(), U);
    // Keys still toggle: the node then carries its state picture index.
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(N(n)->GetState(), C);
    EXPECT_EQ(n->StateIndex(), 2);
}

TEST(QxTreeView, NodesAndTheirMarksComeBackFromTheFormImage)
{
    TQxTreeView source;
    source.setObjectName(QStringLiteral("TVTree"));
    source.SetFlatness(TQxTreeView::cfAlways3d);
    source.SetGrayedIsChecked(true);
    TTreeNodes* items = source.Items();
    Node* top = N(items->Add(nullptr, QStringLiteral("全部")));
    Node* r1 = N(items->AddChild(top, QStringLiteral("甲")));
    Node* r2 = N(items->AddChild(top, QStringLiteral("乙")));
    Node* plain = N(items->Add(top, QStringLiteral("other")));
    r1->SetCheckType(Node::ctRadio);
    r2->SetCheckType(Node::ctRadio);
    r1->SetChecked(true);
    r2->SetImageIndex(1);
    plain->SetCheckType(Node::ctNone);
    top->SetEnabled(false);
    const int topIndex = top->StateIndex();
    EXPECT_EQ(source.CheckNodesData(), QByteArray("\x01\x00\x02\x01\x02\x01\x00\x01", 8));

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    qx::ComponentWriter(buffer).writeComponent(&source);
    buffer.seek(0);
    QWidget form;
    qx::ComponentReader reader(buffer);
    std::unique_ptr<TQxTreeView> back(qobject_cast<TQxTreeView*>(reader.readComponent(nullptr, &form)));
    ASSERT_NE(back, nullptr);
    EXPECT_NE(back->StateImages(), nullptr); // loaded from a form: the marks are there
    EXPECT_EQ(back->Flatness(), TQxTreeView::cfAlways3d);
    EXPECT_TRUE(back->GrayedIsChecked());
    ASSERT_EQ(back->Items()->Count(), 4);
    Node* t = N(back->Items()->Item(0));
    Node* b1 = N(back->Items()->Item(1));
    Node* b2 = N(back->Items()->Item(2));
    Node* o = N(back->Items()->Item(3));
    EXPECT_EQ(t->Text(), QStringLiteral("全部"));
    EXPECT_EQ(b2->Text(), QStringLiteral("乙"));
    EXPECT_EQ(b2->Parent(), t);
    EXPECT_EQ(o->Level(), 0);
    EXPECT_EQ(b2->ImageIndex(), 1);
    EXPECT_EQ(back->CheckNodesData(), source.CheckNodesData());
    EXPECT_FALSE(t->Enabled());
    EXPECT_EQ(b1->CheckType(), Node::ctRadio);
    EXPECT_EQ(o->CheckType(), Node::ctNone);
    // The pictures come as stored; reading the kinds changed none of them.
    EXPECT_EQ(t->StateIndex(), topIndex);
    EXPECT_EQ(b1->StateIndex(), r1->StateIndex());
    EXPECT_EQ(b2->StateIndex(), r2->StateIndex());
    EXPECT_EQ(b1->GetState(), C);
    EXPECT_EQ(b2->GetState(), U);

    // An empty tree stores neither value.
    TQxTreeView empty;
    QBuffer e;
    e.open(QIODevice::ReadWrite);
    qx::ComponentWriter(e).writeComponent(&empty);
    EXPECT_FALSE(e.data().contains("CheckNodesData"));
    EXPECT_FALSE(e.data().contains("Items.Data"));
}

TEST(QxTreeView, DamagedStoredValuesAreRefused)
{
    TreeForm f;
    // Too short for the six nodes, or naming an unknown kind.
    EXPECT_THROW(f.tree->SetCheckNodesData(QByteArray(11, '\x01')), EReadError);
    QByteArray bad(12, '\x01');
    bad[4] = '\x07';
    EXPECT_THROW(f.tree->SetCheckNodesData(bad), EReadError);
    EXPECT_EQ(f.a1->CheckType(), Node::ctCheckBox); // nothing half applied

    const QByteArray good = f.tree->Items()->NodeData();
    TQxTreeView other;
    for (int cut : {0, 3, 10, int(good.size()) - 1}) {
        EXPECT_THROW(other.Items()->SetNodeData(good.left(cut)), EReadError) << cut;
        EXPECT_EQ(other.Items()->Count(), 0);
    }
    QByteArray huge = good;
    huge[0] = '\x7f'; // a top-node count far beyond the bytes there are
    EXPECT_THROW(other.Items()->SetNodeData(huge), EReadError);
    other.Items()->SetNodeData(good);
    EXPECT_EQ(other.Items()->Count(), 6);
    EXPECT_EQ(other.Items()->Item(5)->Text(), QStringLiteral("b1"));
}

TEST(QxTreeView, OnChangeTellsTheSelectedNode)
{
    // The phone book's way: rebuild with Clear/Add/AddChild, pictures by level, and follow
    // the selection through OnChange.
    TreeForm f;
    TImageList images;
    images.Add(QPixmap(16, 16));
    images.Add(QPixmap(16, 16));
    f.tree->SetImages(&images);
    std::vector<TTreeNode*> seen;
    f.tree->OnChange = [&](QObject* sender, TTreeNode* node) {
        EXPECT_EQ(sender, f.tree);
        seen.push_back(node);
    };
    TTreeNodes* items = f.tree->Items();
    items->Clear();
    TTreeNode* root = items->Add(nullptr, QStringLiteral("全部"));
    TTreeNode* customer = items->AddChild(root, QStringLiteral("C001"));
    customer->SetImageIndex(1);
    TTreeNode* device = items->AddChild(customer, QStringLiteral("VIN-1"));
    device->SetImageIndex(0);
    f.tree->expandAll();
    f.show();
    seen.clear();

    const QRect r = f.tree->visualItemRect(device);
    QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 40, r.center().y()));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), device);
    EXPECT_EQ(seen.back()->Level(), 2);
    QTest::keyClick(f.tree, Qt::Key_Up);
    EXPECT_EQ(seen.back(), customer);
    EXPECT_EQ(seen.back()->Text(), QStringLiteral("C001"));
    EXPECT_EQ(f.tree->Selected(), customer);
    EXPECT_EQ(N(customer)->GetState(), U); // selecting never marks
}

TEST(QxTreeView, DrawsTheMarkBeforeThePictureAndTheText)
{
    TreeForm f;
    f.show();
    f.before->setFocus();
    QApplication::processEvents();
    const QRect mark = f.tree->StateIconRect(f.a);
    auto markImage = [&] { return f.tree->viewport()->grab().toImage().copy(mark); };
    const QImage none = markImage(); // no state picture yet: background only
    f.a->SetState(U, false, false);
    QApplication::processEvents();
    const QImage unchecked = markImage();
    f.a->SetChecked(true);
    QApplication::processEvents();
    const QImage checked = markImage();
    EXPECT_NE(none, unchecked);
    EXPECT_NE(unchecked, checked);
    // The flat box's frame, with the tree's colour through its transparent face.
    const int top = (mark.height() - 16) / 2;
    EXPECT_EQ(unchecked.pixelColor(2, top + 2), toQColor(clBtnShadow));
    EXPECT_EQ(unchecked.pixelColor(8, top + 4), toQColor(clWindow));
    EXPECT_EQ(checked.pixelColor(8, top + 9), toQColor(clWindowText));
}
