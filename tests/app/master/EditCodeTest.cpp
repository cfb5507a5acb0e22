// The new-code dialog: its result and its trimmed code by mouse, by Enter and after the focus
// left the edit, the caller's caption and label, and a code holding a quote.
#include "MasterFixture.h"

#include "app/master/uAEditCode.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QApplication>
#include <QPointer>

#include <functional>

namespace qx::app::test {
namespace {

class EditCodeTest : public MasterTest
{
protected:
    struct Outcome
    {
        int result = mrNone;
        QString code;
    };

    // Runs the dialog as a browser does, driven by act; reads NewCode as a caller does.
    static Outcome run(const std::function<void(TFrmAEditCode&)>& act)
    {
        auto* dialog = new TFrmAEditCode;
        dialog->SetCaption(QStringLiteral("修改维修项目"));
        dialog->LbCap->SetCaption(QStringLiteral("维修项目"));
        QPointer<TFrmAEditCode> alive(dialog);
        dialogs().answerDialog([&](QDialog& d) {
            auto& f = formOf<TFrmAEditCode>(d);
            EXPECT_EQ(f.Caption(), QStringLiteral("修改维修项目"));
            EXPECT_EQ(f.LbCap->Caption(), QStringLiteral("维修项目"));
            f.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
            f.EdtCode->setFocus();
            act(f);
        });
        Outcome outcome;
        outcome.result = DialogService::instance().execDialog(*dialog);
        if (alive)
            outcome.code = alive->NewCode;
        return outcome;
    }
};

TEST_F(EditCodeTest, TheCodeComesBackTrimmedWhicheverWayTheDialogIsConfirmed)
{
    const struct
    {
        const char* how;
        std::function<void(TFrmAEditCode&)> act;
        int result;
        const char16_t* code;
    } cases[] = {
        {"mouse on 确定",
         [](TFrmAEditCode& f) {
             QTest::keyClicks(f.EdtCode, QStringLiteral("  A'B 1  "));
             QTest::mouseClick(f.BtOk, Qt::LeftButton);
         },
         mrOk, u"A'B 1"},
        {"Enter, Enter",
         [](TFrmAEditCode& f) {
             QTest::keyClicks(f.EdtCode, QStringLiteral(" X9 "));
             QTest::keyClick(f.EdtCode, Qt::Key_Return);
             EXPECT_EQ(f.NewCode, QStringLiteral("X9"));
             EXPECT_EQ(QApplication::focusWidget(), f.BtOk);
             QTest::keyClick(f.BtOk, Qt::Key_Return);
         },
         mrOk, u"X9"},
        {"focus left with the mouse",
         [](TFrmAEditCode& f) {
             QTest::keyClicks(f.EdtCode, QStringLiteral(" Y7"));
             f.BtCancel->setFocus(Qt::MouseFocusReason);
             EXPECT_EQ(f.NewCode, QStringLiteral("Y7"));
             QTest::mouseClick(f.BtOk, Qt::LeftButton);
         },
         mrOk, u"Y7"},
        {"取消",
         [](TFrmAEditCode& f) {
             QTest::keyClicks(f.EdtCode, QStringLiteral("Z1"));
             QTest::mouseClick(f.BtCancel, Qt::LeftButton);
         },
         mrCancel, u"Z1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        const Outcome outcome = run(c.act);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.code, QString::fromUtf16(c.code));
        flushDeletes();
    }
}

TEST_F(EditCodeTest, ItStartsAsTheSerialNumberDialog)
{
    TFrmAEditCode dialog;
    EXPECT_EQ(dialog.Caption(), QStringLiteral("修改SerialNo"));
    EXPECT_EQ(dialog.LbCap->Caption(), QStringLiteral("SerialNo："));
    EXPECT_EQ(dialog.BtOk->Caption(), QStringLiteral("确定"));
    EXPECT_EQ(dialog.BtCancel->Caption(), QStringLiteral("取消"));
    EXPECT_TRUE(dialog.NewCode.isEmpty());
}

} // namespace
} // namespace qx::app::test
