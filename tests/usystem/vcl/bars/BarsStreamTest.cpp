// The bar's panels and buttons and the wizard's steps survive the component stream, and the
// look pass sends their texts through the text hook.
#include "OutBarTestSupport.h"

#include "platform/stream/ClassRegistry.h"
#include "platform/stream/ComponentReader.h"
#include "platform/stream/ComponentWriter.h"
#include "platform/stream/PublishedProperties.h"
#include "platform/ui/TextHook.h"
#include "usystem/vcl/bars/uQxWizardTree.h"
#include "usystem/vcl/controls/uQxFormLook.h"

#include <QBuffer>
#include <QScopeGuard>

using bars_test::OutBarForm;

namespace {

QStringList names(const QMetaObject* mo)
{
    QStringList out;
    for (const QMetaProperty& p : qx::publishedProperties(mo))
        out << QString::fromLatin1(p.name());
    return out;
}

QByteArray write(const QObject* component)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    qx::ComponentWriter(buffer).writeComponent(component);
    return buffer.data();
}

template <class T>
T* read(const QByteArray& image, QWidget* parent)
{
    QByteArray copy = image;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    qx::ComponentReader reader(buffer);
    QObject* made = reader.readComponent(parent, parent);
    reader.fixupReferences(parent);
    return qobject_cast<T*>(made);
}

} // namespace

TEST(BarsStream, PublishedInTheirOrder)
{
    EXPECT_EQ(names(&TQxOutBar::staticMetaObject),
              (QStringList{"Left", "Top", "Width", "Height", "Align", "Enabled", "Images",
                           "SmallImages", "Panels", "PanelIndex", "TabHeight", "PopupMenu",
                           "ShowHint", "Hint", "Visible", "Tag"}));
    EXPECT_EQ(names(&TKyOutPanel::staticMetaObject), (QStringList{"Text", "Buttons", "SmallImages"}));
    EXPECT_EQ(names(&TKyOutButton::staticMetaObject), (QStringList{"Text", "ImageIndex"}));
    EXPECT_EQ(names(&TQxWizardTree::staticMetaObject),
              (QStringList{"Left", "Top", "Width", "Height", "Align", "Color", "Enabled", "Hint",
                           "ShowHint", "Tag", "Visible", "Items", "ItemIndex", "LineColor",
                           "SelectedBoxColor", "BoxColor", "BoxHeight", "BoxWidth",
                           "HorizontalSpace", "VerticalSpace", "TopMargin", "LeftMargin"}));
    EXPECT_TRUE(qx::isRegisteredClass(&TQxOutBar::staticMetaObject));
    EXPECT_TRUE(qx::isRegisteredClass(&TQxWizardTree::staticMetaObject));
}

TEST(BarsStream, OutBarPanelsAndButtonsComeBack)
{
    OutBarForm f;
    f.addPanels({2, 3});
    f.panel(0)->SetText(QStringLiteral("日常业务"));
    f.panel(1)->SetSmallImages(true);
    f.button(1, 2)->SetText(QStringLiteral("工单管理"));
    f.button(1, 2)->SetImageIndex(5);
    f.bar->SetTabHeight(25);
    f.bar->SetPanelIndex(1);
    f.bar->SetTag(3);
    const QByteArray image = write(f.bar);

    // Into a form that has image lists of the same names.
    QWidget target;
    auto* large = new TImageList(&target);
    large->setObjectName(QStringLiteral("ImgLarge"));
    auto* small = new TImageList(&target);
    small->setObjectName(QStringLiteral("ImgSmall"));
    small->SetWidth(16);
    small->SetHeight(16);
    std::unique_ptr<TQxOutBar> bar(read<TQxOutBar>(image, &target));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), QStringLiteral("OutBar1"));
    EXPECT_EQ(bar->Align(), alNone);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 150, 300));
    EXPECT_EQ(bar->TabHeight(), 25);
    EXPECT_EQ(bar->PanelIndex(), 1);
    EXPECT_EQ(bar->Tag(), 3);
    EXPECT_EQ(bar->Images(), large);
    EXPECT_EQ(bar->SmallImages(), small);
    ASSERT_EQ(bar->Panels()->Count(), 2);
    EXPECT_EQ(bar->Panels()->Items(0)->Text(), QStringLiteral("日常业务"));
    EXPECT_FALSE(bar->Panels()->Items(0)->SmallImages());
    EXPECT_TRUE(bar->Panels()->Items(1)->SmallImages());
    ASSERT_EQ(bar->Panels()->Items(0)->Buttons()->Count(), 2);
    TKyOutButtons* buttons = bar->Panels()->Items(1)->Buttons();
    ASSERT_EQ(buttons->Count(), 3);
    EXPECT_EQ(buttons->Items(0)->Text(), QStringLiteral("B1.0"));
    EXPECT_EQ(buttons->Items(1)->ImageIndex(), 1);
    EXPECT_EQ(buttons->Items(2)->Text(), QStringLiteral("工单管理"));
    EXPECT_EQ(buttons->Items(2)->ImageIndex(), 5);
    // The read bar is laid out as the written one was.
    bar->Layout(true);
    EXPECT_EQ(bar->Panels()->Items(1)->TabRect(), f.panel(1)->TabRect());
    EXPECT_EQ(buttons->Items(0)->ButtonRect(), f.button(1, 0)->ButtonRect());
}

TEST(BarsStream, AnEmptyBarComesBackEmpty)
{
    TQxOutBar bar;
    bar.setObjectName(QStringLiteral("Bar"));
    QWidget parent;
    std::unique_ptr<TQxOutBar> copy(read<TQxOutBar>(write(&bar), &parent));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Panels()->Count(), 0);
    EXPECT_EQ(copy->Align(), alLeft);
    EXPECT_EQ(copy->TabHeight(), 23);
}

TEST(BarsStream, WizardTreeComesBack)
{
    struct Case
    {
        QStringList items;
        int index;
    };
    for (const Case& c : {Case{{QStringLiteral("开始"), QStringLiteral("选择"), QStringLiteral("完成")}, 2},
                          Case{{}, -1}}) {
        TQxWizardTree tree;
        tree.setObjectName(QStringLiteral("Wizard"));
        tree.SetItems(c.items);
        tree.SetItemIndex(c.index);
        tree.SetBoxColor(clAqua);
        tree.SetLineColor(clBlue);
        tree.SetBoxHeight(20);
        tree.SetVerticalSpace(6);
        tree.SetLeftMargin(9);
        QWidget parent;
        std::unique_ptr<TQxWizardTree> copy(read<TQxWizardTree>(write(&tree), &parent));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->Items(), c.items);
        EXPECT_EQ(copy->ItemIndex(), c.index);
        EXPECT_EQ(copy->BoxColor(), clAqua);
        EXPECT_EQ(copy->LineColor(), clBlue);
        EXPECT_EQ(copy->SelectedBoxColor(), clLime);
        EXPECT_EQ(copy->BoxHeight(), 20);
        EXPECT_EQ(copy->VerticalSpace(), 6);
        EXPECT_EQ(copy->LeftMargin(), 9);
        EXPECT_EQ(copy->size(), QSize(133, 140));
    }
}

TEST(BarsFormLook, TextsPassTheTextHook)
{
    qx::setTextHook([](const QString& t) { return QStringLiteral("<") + t + u'>'; });
    const auto restore = qScopeGuard([] { qx::setTextHook({}); });
    OutBarForm f;
    f.addPanels({1, 2});
    auto* tree = new TQxWizardTree(&f.form);
    tree->setObjectName(QStringLiteral("Wizard"));
    tree->SetItems({QStringLiteral("开始"), QStringLiteral("完成")});

    ApplyFormLook(&f.form);
    EXPECT_EQ(f.panel(0)->Text(), QStringLiteral("<P0>"));
    EXPECT_EQ(f.panel(1)->Text(), QStringLiteral("<P1>"));
    EXPECT_EQ(f.button(0, 0)->Text(), QStringLiteral("<B0.0>"));
    EXPECT_EQ(f.button(1, 1)->Text(), QStringLiteral("<B1.1>"));
    EXPECT_EQ(tree->Items(), (QStringList{QStringLiteral("<开始>"), QStringLiteral("<完成>")}));
}
