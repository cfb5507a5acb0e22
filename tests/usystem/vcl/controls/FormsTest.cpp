#include "usystem/vcl/controls/uBase.h"
#include "tests/support/Widgets.h"
#include "usystem/vcl/controls/udlgBase.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxFormLook.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include "platform/env/DialogService.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/ui/Components.h"
#include "platform/ui/TextHook.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTest>

namespace {

using qx::test::script;

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void showActive(QWidget* w)
{
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
}

// A form that logs its hooks and adds a label when it is shown.
class LoggingForm : public TFrmBase
{
public:
    QStringList log;
    TQxLabel* added = nullptr;

protected:
    void BeforeFormLook() override
    {
        log << "before";
        if (!added) {
            added = new TQxLabel(this);
            added->setObjectName(QStringLiteral("LblAdded"));
            added->SetCaption(QStringLiteral("新"));
        }
    }
    void AfterFormLook() override { log << "after"; }
};

struct HookGuard
{
    HookGuard() { qx::setTextHook([](const QString& t) { return QStringLiteral("<") + t + u'>'; }); }
    ~HookGuard() { qx::setTextHook({}); }
};

} // namespace

TEST(FrmBase, SettingsOfTheBaseForm)
{
    TFrmBase form;
    EXPECT_EQ(form.Caption(), QStringLiteral("FrmBase"));
    EXPECT_EQ(form.size(), QSize(544, 375));
    EXPECT_EQ(form.font().pixelSize(), 12);
    EXPECT_EQ(form.font().family(), QStringLiteral("宋体"));
    EXPECT_EQ(form.Color(), clBtnFace);
    EXPECT_TRUE(form.KeyPreview());
    EXPECT_TRUE(form.ShowHint());
}

TEST(FrmBase, EscInAnyFocusedControlClosesTheForm)
{
    TFrmBase form;
    auto* edit = new QLineEdit(&form);
    edit->setGeometry(10, 50, 100, 20);
    auto* check = new TQxCheckBox(&form);
    check->setGeometry(10, 80, 100, 20);
    int closes = 0;
    form.OnClose = [&](QObject*, TCloseAction&) { ++closes; };
    for (QWidget* focus : {static_cast<QWidget*>(edit), static_cast<QWidget*>(check)}) {
        showActive(&form);
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), qx::mrCancel);
    }
    EXPECT_EQ(closes, 2);
    // Other keys pass on to the control.
    showActive(&form);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("ab"));
    EXPECT_EQ(edit->text(), QStringLiteral("ab"));
    EXPECT_TRUE(form.isVisible());
}

TEST(FrmBase, CloseQueryCanKeepTheFormOpen)
{
    TFrmBase form;
    bool allow = false;
    form.OnCloseQuery = [&](QObject*, bool& canClose) { canClose = allow; };
    showActive(&form);
    form.Close();
    EXPECT_TRUE(form.isVisible());
    allow = true;
    form.Close();
    EXPECT_FALSE(form.isVisible());
}

TEST(FrmBase, EveryShowRunsTheLookPassBetweenItsHooks)
{
    HookGuard hook;
    LoggingForm form;
    form.SetCaption(QStringLiteral("维修"));
    auto* label = new TQxLabel(&form);
    label->SetCaption(QStringLiteral("单号"));
    auto* panel = new TQxPanel(&form);
    panel->SetCaption(QStringLiteral("面板"));
    auto* button = new TQxButton(panel);
    button->SetCaption(QStringLiteral("保存"));
    qx::insertComponent(&form, label);
    qx::insertComponent(&form, panel);
    qx::insertComponent(&form, button);

    form.show();
    EXPECT_EQ(form.log, (QStringList{"before", "after"}));
    EXPECT_EQ(form.Caption(), QStringLiteral("<维修>"));
    EXPECT_EQ(label->Caption(), QStringLiteral("<单号>"));
    EXPECT_EQ(panel->Caption(), QStringLiteral("<面板>"));
    EXPECT_EQ(button->Caption(), QStringLiteral("<保存>"));
    // The label made in BeforeFormLook is seen by the pass of the same show.
    ASSERT_NE(form.added, nullptr);
    EXPECT_EQ(form.added->Caption(), QStringLiteral("<新>"));

    form.hide();
    form.show();
    EXPECT_EQ(form.log, (QStringList{"before", "after", "before", "after"}));
    EXPECT_EQ(label->Caption(), QStringLiteral("<<单号>>"));
}

TEST(FrmBase, LookPassCoversMenuItemsPagesCheckBoxesAndBitmapButtons)
{
    HookGuard hook;
    TFrmBase form;
    auto* menu = new TQxPopupMenu(&form);
    QAction* item = menu->addAction(QStringLiteral("打印"));
    item->setParent(&form); // a menu item owned by the form
    auto* pages = new QTabWidget(&form);
    pages->addTab(new QWidget, QStringLiteral("基本"));
    auto* check = new TQxCheckBox(&form);
    check->SetCaption(QStringLiteral("保修"));
    auto* bit = new TQxBitBtn(&form);
    bit->SetCaption(QStringLiteral("确定"));
    for (QObject* c : {static_cast<QObject*>(item), static_cast<QObject*>(pages),
                       static_cast<QObject*>(check), static_cast<QObject*>(bit)})
        qx::insertComponent(&form, c);
    form.show();
    EXPECT_EQ(item->text(), QStringLiteral("<打印>"));
    EXPECT_EQ(pages->tabText(0), QStringLiteral("<基本>"));
    EXPECT_EQ(check->Caption(), QStringLiteral("<保修>"));
    EXPECT_EQ(bit->Caption(), QStringLiteral("<确定>"));
    form.hide();
}

TEST(FrmDlgBase, ToolBarAndExitButtonLayout)
{
    auto* dlg = new TFrmDlgBase;
    QPointer<TFrmDlgBase> alive(dlg);
    dlg->show();
    EXPECT_EQ(dlg->Caption(), QStringLiteral("FrmDlgBase"));
    EXPECT_EQ(dlg->PnlTop->geometry(), QRect(0, 0, 544, 39));
    EXPECT_EQ(dlg->PnlLeft->geometry(), QRect(1, 1, 56, 37));
    EXPECT_EQ(dlg->PnlRight->geometry(), QRect(544 - 1 - 73, 1, 73, 37));
    EXPECT_EQ(dlg->Pnlcenter->geometry(), QRect(57, 1, 544 - 2 - 56 - 73, 37));
    EXPECT_EQ(dlg->BtnClose->geometry(), QRect(73 - 54, 0, 54, 37));
    EXPECT_EQ(dlg->BtnClose->Caption(), QStringLiteral("退出"));
    EXPECT_EQ(dlg->BtnClose->Hint(), QStringLiteral("退出当前模块"));
    EXPECT_EQ(dlg->BtnClose->Layout(), TQxCustomButton::GlyphTop);
    EXPECT_FALSE(dlg->BtnClose->Glyph().isNull());
    EXPECT_EQ(qx::findComponent(dlg, QStringLiteral("btnclose")), dlg->BtnClose);
    dlg->Close();
    flushDeletes();
    EXPECT_TRUE(alive.isNull());
}

TEST(FrmDlgBase, FreedWhenClosedByExitButtonEscOrCloseBox)
{
    enum How { ExitButton, Esc, CloseBox };
    for (How how : {ExitButton, Esc, CloseBox}) {
        auto* dlg = new TFrmDlgBase;
        QPointer<TFrmDlgBase> alive(dlg);
        showActive(dlg);
        switch (how) {
        case ExitButton: QTest::mouseClick(dlg->BtnClose, Qt::LeftButton); break;
        case Esc: QTest::keyClick(dlg, Qt::Key_Escape); break;
        case CloseBox: dlg->close(); break;
        }
        ASSERT_FALSE(alive.isNull()) << how; // still there for the caller to read
        EXPECT_FALSE(dlg->isVisible()) << how;
        flushDeletes();
        EXPECT_TRUE(alive.isNull()) << how;
    }
}

TEST(FrmDlgBase, ModalRunAnswersAndThenFreesItself)
{
    auto& s = script();
    s.answerDialog([](QDialog& d) {
        auto& dlg = static_cast<TFrmDlgBase&>(d);
        QTest::mouseClick(dlg.BtnClose, Qt::LeftButton);
    });
    auto* dlg = new TFrmDlgBase;
    QPointer<TFrmDlgBase> alive(dlg);
    const int result = qx::DialogService::instance().execDialog(*dlg);
    EXPECT_EQ(result, qx::mrCancel);
    EXPECT_FALSE(alive.isNull());
    flushDeletes();
    EXPECT_TRUE(alive.isNull());
    EXPECT_EQ(s.unexpected(), 0);
}
