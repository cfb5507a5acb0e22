#include "usystem/vcl/controls/uQxMsgdlg.h"
#include "tests/support/Scoped.h"
#include "tests/support/Widgets.h"

#include "usystem/vcl/controls/uQxStdCtrls.h"

#include "platform/env/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>

namespace {

using qx::test::script;

TQxBitBtn* button(QDialog& d, int i)
{
    return d.findChild<TQxBitBtn*>(QStringLiteral("btn") + QString::number(i));
}

QList<TQxBitBtn*> buttons(QDialog& d)
{
    QList<TQxBitBtn*> list;
    for (int i = 0; button(d, i); ++i)
        list << button(d, i);
    return list;
}

// A dialog service that answers every message box with its default button, as a user
// pressing Enter at once would, and keeps the requests.
class EnterAtOnce : public qx::ScriptedDialogService
{
public:
    QList<qx::MessageBoxRequest> requests;
    int messageBox(QWidget*, const qx::MessageBoxRequest& request) override
    {
        requests << request;
        return request.defaultButton;
    }
};

} // namespace

TEST(QxMsgdlg, EachButtonAnswersItsIndex)
{
    auto& s = script();
    TQxMsgdlg dlg;
    dlg.SetTitle(QStringLiteral("询问"));
    dlg.SetMessage({QStringLiteral("保存修改吗?")});
    dlg.SetButtons({QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")});
    for (int i = 0; i < 3; ++i) {
        s.answerDialog([i](QDialog& d) {
            ASSERT_EQ(buttons(d).size(), 3);
            QTest::mouseClick(button(d, i), Qt::LeftButton);
        });
        EXPECT_EQ(dlg.Execute(), i);
    }
    EXPECT_EQ(s.unexpected(), 0);
    ASSERT_EQ(s.shown().size(), 3);
    EXPECT_EQ(s.shown().at(0).caption, QStringLiteral("询问"));
    EXPECT_EQ(dlg.Form(), nullptr); // freed after the run
}

TEST(QxMsgdlg, CloseBoxAnswersMinusOneNotTheLastAnswer)
{
    auto& s = script();
    TQxMsgdlg dlg;
    dlg.SetButtons({QStringLiteral("是"), QStringLiteral("否")});
    s.answerDialog([](QDialog& d) { QTest::mouseClick(button(d, 1), Qt::LeftButton); });
    EXPECT_EQ(dlg.Execute(), 1);
    // The same component asked again and dismissed with the close box.
    s.answerDialog([](QDialog& d) { d.close(); });
    EXPECT_EQ(dlg.Execute(), -1);
    // Esc answers nothing and leaves the dialog open (no button cancels it).
    s.answerDialog([](QDialog& d) {
        d.activateWindow();
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        d.close();
    });
    EXPECT_EQ(dlg.Execute(), -1);
    EXPECT_EQ(s.unexpected(), 0);
}

TEST(QxMsgdlg, TrailingEmptyButtonLinesAreDroppedAndNoneGivesOk)
{
    auto& s = script();
    TQxMsgdlg dlg;
    dlg.SetButtons({QStringLiteral("是"), QStringLiteral("否"), QString()});
    QStringList captions;
    s.answerDialog([&](QDialog& d) {
        for (TQxBitBtn* b : buttons(d))
            captions << b->Caption();
        d.close();
    });
    dlg.Execute();
    EXPECT_EQ(captions, (QStringList{"是", "否"}));

    captions.clear();
    dlg.SetButtons({});
    s.answerDialog([&](QDialog& d) {
        for (TQxBitBtn* b : buttons(d))
            captions << b->Caption();
        QTest::mouseClick(button(d, 0), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.Execute(), 0);
    EXPECT_EQ(captions, QStringList{"确定"});
}

TEST(QxMsgdlg, DefaultFocusesItsButtonOnlyWhenInRange)
{
    auto& s = script();
    TQxMsgdlg dlg;
    dlg.SetButtons({QStringLiteral("是"), QStringLiteral("否")});
    dlg.SetDefault(1);
    QString name;
    s.answerDialog([&](QDialog& d) {
        name = d.focusWidget() ? d.focusWidget()->objectName() : QString();
        d.close();
    });
    dlg.Execute();
    EXPECT_EQ(name, QStringLiteral("btn1"));

    dlg.SetDefault(5);
    s.answerDialog([&](QDialog& d) {
        name = d.focusWidget() ? d.focusWidget()->objectName() : QString();
        d.close();
    });
    dlg.Execute();
    EXPECT_NE(name, QStringLiteral("btn1"));
}

TEST(QxMsgdlg, ButtonRowIsCentredUnderTheMessage)
{
    auto& s = script();
    TQxMsgdlg dlg;
    dlg.SetMessage({QStringLiteral("这张维修单已经打印过了，确定要重新打印并更新打印次数吗？")});
    dlg.SetButtons({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")});
    s.answerDialog([&](QDialog& d) {
        const QList<TQxBitBtn*> bs = buttons(d);
        ASSERT_EQ(bs.size(), 3);
        const int w = d.width();
        ASSERT_GT(w, 271);
        const int shift = (w - 271) / 2; // 3 x 85 + 16 of margins
        const int textHeight = QFontMetrics(dlg.Font()).height();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(bs[i]->geometry(), QRect(8 + 85 * i + shift, textHeight + 40, 80, 25)) << i;
        }
        EXPECT_EQ(d.height(), textHeight + 40 + 60);
        const QLabel* label = d.findChild<QLabel*>(QStringLiteral("Label"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->pos(), QPoint(8, 8));
        EXPECT_EQ(w, 8 + QFontMetrics(dlg.Font()).horizontalAdvance(dlg.Message().at(0)) + 18);
        d.close();
    });
    dlg.Execute();
}

TEST(QxMsgdlg, IconMovesTheMessageAndSetsTheHeight)
{
    auto& s = script();
    TQxMsgdlg dlg;
    dlg.SetIcon(TQxMsgdlg::icWarning);
    dlg.SetMessage({QStringLiteral("库存不足")});
    s.answerDialog([](QDialog& d) {
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("Label"))->x(), 52);
        const QLabel* image = d.findChild<QLabel*>(QStringLiteral("Image"));
        EXPECT_EQ(image->geometry(), QRect(10, 10, 32, 32));
        EXPECT_EQ(button(d, 0)->y(), 32 + 40);
        d.close();
    });
    dlg.Execute();
}

TEST(QxMsgdlg, ALineWiderThanSixtyPercentOfTheScreenWraps)
{
    auto& s = script();
    TQxMsgdlg dlg;
    dlg.SetMessage({QString(200, QChar(u'修'))});
    const int limit = int(QGuiApplication::primaryScreen()->geometry().width() * 0.6);
    s.answerDialog([&](QDialog& d) {
        EXPECT_EQ(d.width(), limit);
        const QLabel* label = d.findChild<QLabel*>(QStringLiteral("Label"));
        EXPECT_TRUE(label->wordWrap());
        EXPECT_GT(label->height(), 2 * QFontMetrics(dlg.Font()).height());
        EXPECT_LE(label->x() + label->width(), limit);
        d.close();
    });
    dlg.Execute();
}

TEST(QxMsgdlg, MsgDlgOkShowsOneOkButton)
{
    auto& s = script();
    QStringList captions;
    s.answerDialog([&](QDialog& d) {
        for (TQxBitBtn* b : buttons(d))
            captions << b->Caption();
        QTest::mouseClick(button(d, 0), Qt::LeftButton);
    });
    MsgDlgOk(TQxMsgdlg::icInformation, QStringLiteral("提示"), QStringLiteral("已保存"));
    EXPECT_EQ(captions, QStringList{"确定"});
    ASSERT_EQ(s.shown().size(), 1);
    EXPECT_EQ(s.shown().at(0).caption, QStringLiteral("提示"));
    EXPECT_EQ(s.unexpected(), 0);
}

TEST(MessageBoxes, DefaultButtonsIconsAndCaptions)
{
    auto* enter = new EnterAtOnce;
    const qx::test::ScopedDialogService service{std::unique_ptr<qx::DialogService>(enter)};
    QApplication::setApplicationDisplayName(QStringLiteral("维修管理"));
    const auto displayName = qScopeGuard([] { QApplication::setApplicationDisplayName(QString()); });

    EXPECT_FALSE(MsgDlgOkCancel(QStringLiteral("询问"), QStringLiteral("您是否确定删除?"), 2));
    EXPECT_TRUE(MsgDlgOkCancel(QStringLiteral("询问"), QStringLiteral("您是否确定删除?"), 1));
    EXPECT_EQ(MessageBoxYesNo(QStringLiteral("继续?"), QString(), 2), qx::mrNo);
    EXPECT_EQ(MessageBoxYesNo(QStringLiteral("继续?"), QString(), 1), qx::mrYes);
    EXPECT_EQ(MessageBoxError(QStringLiteral("出错"), QStringLiteral("错误")), qx::mrOk);
    // Other default buttons show no box.
    EXPECT_EQ(MessageBoxOkCancel(QStringLiteral("x"), QStringLiteral("y"), 3), 0);

    ASSERT_EQ(enter->requests.size(), 5);
    const qx::MessageBoxRequest& del = enter->requests.at(0);
    EXPECT_EQ(del.caption, QStringLiteral("询问"));
    EXPECT_EQ(del.text, QStringLiteral("您是否确定删除?"));
    EXPECT_EQ(del.icon, qx::MessageIcon::Question);
    EXPECT_EQ(del.buttons, (QList<int>{qx::mrOk, qx::mrCancel}));
    EXPECT_EQ(enter->requests.at(2).caption, QStringLiteral("维修管理")); // empty caption
    EXPECT_EQ(enter->requests.at(2).buttons, (QList<int>{qx::mrYes, qx::mrNo}));
    EXPECT_EQ(enter->requests.at(4).icon, qx::MessageIcon::Error);
}
