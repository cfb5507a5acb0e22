#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxMsgdlg.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include "platform/stream/ClassRegistry.h"
#include "platform/stream/ComponentReader.h"
#include "platform/stream/ComponentWriter.h"

#include <gtest/gtest.h>

#include <QBuffer>

namespace {

template <class T>
T* roundTrip(const T& source, QWidget* parent)
{
    qx::registerClass<T>();
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    qx::ComponentWriter writer(buffer);
    writer.writeComponent(&source);
    buffer.seek(0);
    qx::ComponentReader reader(buffer);
    return qobject_cast<T*>(reader.readComponent(nullptr, parent));
}

} // namespace

TEST(ControlsStream, PublishedPropertiesComeBackFromTheStream)
{
    QWidget parent;
    TQxPanel panel;
    panel.setObjectName(QStringLiteral("PnlTop"));
    panel.SetAlign(alTop);
    panel.SetBevelOuter(bvLowered);
    panel.SetBorderWidth(2);
    panel.SetCaption(QStringLiteral("标题"));
    panel.SetSplitter(true);
    panel.SetParentName(QStringLiteral("Main"));
    panel.SetTag(7);
    std::unique_ptr<TQxPanel> p(roundTrip(panel, &parent));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->objectName(), QStringLiteral("PnlTop"));
    EXPECT_EQ(p->Align(), alTop);
    EXPECT_EQ(p->BevelOuter(), bvLowered);
    EXPECT_EQ(p->BorderWidth(), 2);
    EXPECT_EQ(p->Caption(), QStringLiteral("标题"));
    EXPECT_TRUE(p->Splitter());
    EXPECT_EQ(p->ParentName(), QStringLiteral("Main"));
    EXPECT_EQ(p->Tag(), 7);

    TQxLabel label;
    label.setObjectName(QStringLiteral("Label1"));
    label.SetTextStyle(TQxLabel::tsShadow);
    label.SetShadowColor(clRed);
    label.SetFrameStyle(fsTop | fsLeft);
    std::unique_ptr<TQxLabel> l(roundTrip(label, &parent));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->TextStyle(), TQxLabel::tsShadow);
    EXPECT_EQ(l->ShadowColor(), clRed);
    EXPECT_EQ(l->FrameStyle(), fsTop | fsLeft);

    TQxButton button;
    button.setObjectName(QStringLiteral("BtnPrint"));
    button.SetButtonStyle(TQxCustomButton::sbsRightButton);
    button.SetLayout(TQxCustomButton::GlyphLeft);
    button.SetCaption(QStringLiteral("打印"));
    std::unique_ptr<TQxButton> b(roundTrip(button, &parent));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->ButtonStyle(), TQxCustomButton::sbsRightButton);
    EXPECT_EQ(b->ArrowWidth(), 9);
    EXPECT_EQ(b->Layout(), TQxCustomButton::GlyphLeft);
    EXPECT_EQ(b->Caption(), QStringLiteral("打印"));

    TQxMsgdlg dlg;
    dlg.setObjectName(QStringLiteral("Msgdlg1"));
    dlg.SetButtons({QStringLiteral("是"), QStringLiteral("否")});
    dlg.SetMessage({QStringLiteral("第一行"), QStringLiteral("第二行")});
    dlg.SetIcon(TQxMsgdlg::icConfirmation);
    dlg.SetDefault(1);
    qx::registerClass<TQxMsgdlg>();
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    qx::ComponentWriter(buffer).writeComponent(&dlg);
    buffer.seek(0);
    std::unique_ptr<QObject> read(qx::ComponentReader(buffer).readComponent(nullptr, nullptr));
    auto* d = qobject_cast<TQxMsgdlg*>(read.get());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Buttons(), dlg.Buttons());
    EXPECT_EQ(d->Message(), dlg.Message());
    EXPECT_EQ(d->Icon(), TQxMsgdlg::icConfirmation);
    EXPECT_EQ(d->Default(), 1);
}
