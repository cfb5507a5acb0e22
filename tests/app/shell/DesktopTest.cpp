// The navigation desktop: its buttons, the spacers scaled to the screen, the module buttons
// behind the rights check and the history buttons without one.
#include "ShellFixture.h"

#include "app/shell/ColorPanel.h"

#include "app/shell/uABusinessBase.h"
#include "app/shell/uADesktop.h"
#include "app/shell/uAMain.h"
#include "app/shell/uAlogin.h"
#include "usystem/vcl/gif/uQxGifButton.h"
#include "usystem/vcl/stream/uQxDllCall.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <QTimer>

namespace qx::app::test {
namespace {

class DesktopTest : public ShellTest
{
protected:
    void logIn(const QString& code)
    {
        main = std::make_unique<TFrmAMain>();
        dialogs().answerDialog([code](QDialog& dialog) {
            auto& login = dynamic_cast<TFrmALogin&>(dialog);
            login.CbxUsercode->setCurrentIndex(login.CbxUsercode->findText(code));
            QTest::mouseClick(login.BtnLogin, Qt::LeftButton);
        });
        main->show();
        QCoreApplication::processEvents();
        desktop = new TFrmADesktop(*main);
        main->AddMdiChild(desktop);
    }

    void TearDown() override
    {
        main.reset();
        ShellTest::TearDown();
    }

    std::unique_ptr<TFrmAMain> main;
    TFrmADesktop* desktop = nullptr;
};

TEST_F(DesktopTest, ButtonsAsLaidOut)
{
    logIn(QStringLiteral("高级用户"));
    const struct
    {
        const char* panel;
        QStringList captions;
    } layout[] = {
        {"Panel1", {"固定资料", "供应商档案", "客户档案", "维修项目"}},
        {"Panel4", {"工单管理", "库存管理", "采购管理", "盘点管理", "其他收支", "支付凭证"}},
        {"Panel3", {"维修历史工单别", "维修历史配件别", "维修历史单位别", "维修历史项目别", "财务统计", "统计分析"}},
    };
    for (const auto& area : layout) {
        for (const QString& caption : area.captions) {
            tQxGifButton* button = desktop->ButtonOf(caption);
            ASSERT_NE(button, nullptr) << caption.toStdString();
            EXPECT_EQ(button->parentWidget()->objectName(), QLatin1String(area.panel));
            EXPECT_EQ(button->caption(), caption);
            // Image buttons that light up under the mouse, their corners showing the desktop.
            EXPECT_TRUE(button->Transparent());
            EXPECT_TRUE(button->GlyphsTransparent());
            EXPECT_EQ(button->Interval(), 2u);
            EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
            EXPECT_FALSE(button->UpGlyph().isNull());
            EXPECT_FALSE(button->ActiveGlyph().isNull());
            EXPECT_NE(button->UpGlyph(), button->ActiveGlyph());
            EXPECT_TRUE(button->DownGlyph().isNull());
            EXPECT_EQ(button->UpGlyph().size(), button->size());
            EXPECT_EQ(button->ClickSound(), nullptr);
            EXPECT_EQ(button->ActiveSound(), nullptr);
        }
    }
    EXPECT_EQ(desktop->ModuleButtons().size(), 12);
    EXPECT_EQ(desktop->HistoryButtons().size(), 4);
    EXPECT_EQ(desktop->Panel1->Height(), 96);
    EXPECT_EQ(desktop->Panel3->Height(), 90);
}

TEST_F(DesktopTest, AButtonLightsUpUnderTheMouseAndShowsTheDesktopAtItsCorners)
{
    logIn(QStringLiteral("高级用户"));
    tQxGifButton* button = desktop->ButtonOf(QStringLiteral("工单管理"));
    ASSERT_NE(button, nullptr);
    const QPoint centre = button->rect().center();
    const QImage up = button->grab().toImage();
    // The tile's corner is the desktop's own colour, its face the up picture.
    EXPECT_EQ(up.pixelColor(0, button->height() - 1), toQColor(TColor(0xF8EDE5)));
    EXPECT_EQ(up.pixelColor(5, centre.y()), button->UpGlyph().pixelColor(5, centre.y()));

    QTest::mouseMove(button, centre);
    EXPECT_TRUE(button->MouseInside());
    EXPECT_TRUE(button->FadeTimer()->isActive());
    for (int i = 0; i <= tQxGifButton::kFadeSteps; ++i)
        button->FadeTick();
    EXPECT_FALSE(button->FadeTimer()->isActive());
    EXPECT_EQ(button->FadeLevel(), 1.0);
    const QImage lit = button->grab().toImage();
    EXPECT_EQ(lit.pixelColor(5, centre.y()), button->ActiveGlyph().pixelColor(5, centre.y()));
    EXPECT_EQ(lit.pixelColor(0, button->height() - 1), toQColor(TColor(0xF8EDE5)));
}

TEST_F(DesktopTest, SpacersFollowTheScreen)
{
    logIn(QStringLiteral("高级用户"));
    const struct
    {
        QSize screen;
        int top;
        int left;
    } cases[] = {{{1024, 768}, 30, 61}, {{1280, 1024}, 40, 76}, {{800, 600}, 0, 0}, {{1024, 768}, 30, 61}};
    for (const auto& c : cases) {
        desktop->ScaleSpacers(c.screen);
        EXPECT_EQ(desktop->Panel5->Height(), c.top);
        EXPECT_EQ(desktop->Panel6->Width(), c.left);
    }
}

TEST_F(DesktopTest, ModuleButtonChecksTheRightAsTheMenuDoes)
{
    addOperator(QStringLiteral("李四"), hashPassword(QString()), {QStringLiteral("主-库存管理")});
    int made = 0;
    registerForm(QStringLiteral("TFrmAstock"), [&](TFrmAMain&) -> QWidget* {
        ++made;
        return new TFrmABusinessBase;
    });
    logIn(QStringLiteral("李四"));
    const int before = main->MdiArea->subWindowList().size();
    dialogs().answerMessage(mrOk);
    QTest::mouseClick(desktop->ButtonOf(QStringLiteral("工单管理")), Qt::LeftButton);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("对不起你没有 [工单管理] 的权限")});
    QTest::mouseClick(desktop->ButtonOf(QStringLiteral("库存管理")), Qt::LeftButton);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(main->MdiArea->subWindowList().size(), before + 1);
}

TEST_F(DesktopTest, HistoryButtonCallsTheReportLibraryWithoutARightsCheck)
{
    addOperator(QStringLiteral("李四"), hashPassword(QString()), {QStringLiteral("主-库存管理")});
    logIn(QStringLiteral("李四"));
    // The program folder of the test has no report library: the load error is the proof
    // that the library was called and no refusal came first.
    dialogs().answerMessage(mrOk);
    QTest::mouseClick(desktop->ButtonOf(QStringLiteral("维修历史工单别")), Qt::LeftButton);
    const QStringList shown = dialogs().messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("在调入["))) << shown[0].toStdString();
}

TEST_F(DesktopTest, ClosingTheDesktopKeepsIt)
{
    logIn(QStringLiteral("高级用户"));
    QPointer<TFrmADesktop> kept(desktop);
    desktop->close();
    flushDeletes();
    EXPECT_FALSE(kept.isNull());
}

} // namespace
} // namespace qx::app::test
