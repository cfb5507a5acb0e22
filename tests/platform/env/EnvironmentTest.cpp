#include <gtest/gtest.h>

#include "tests/platform/rtl/QtPrinters.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QWidget>

#include "platform/env/Clock.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/env/ProgramFolder.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

using namespace qx;

namespace {

ScriptedDialogService& freshScript()
{
    ScriptedDialogService* s = ScriptedDialogService::current();
    EXPECT_NE(s, nullptr);
    s->clear();
    return *s;
}

} // namespace

TEST(ProgramFolder, IsTheExecutablesFolderWithDelimiter)
{
    const auto restore = qScopeGuard([] { setProgramFolder(QString()); });
    setProgramFolder(QString());
    EXPECT_EQ(programFolder(), QCoreApplication::applicationDirPath() + u'/');
    setProgramFolder(QStringLiteral("/tmp/程序"));
    EXPECT_EQ(programFolder(), QStringLiteral("/tmp/程序/"));
    setProgramFolder(QStringLiteral("/tmp/x/"));
    EXPECT_EQ(programFolder(), QStringLiteral("/tmp/x/"));
    setProgramFolder(QString());
    EXPECT_TRUE(programFolder().endsWith(u'/'));
}

TEST(Clock, TodayCanBeFixedForTests)
{
    const auto restore = qScopeGuard([] { clearToday(); });
    setToday(QDate(2006, 3, 5));
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", Date()), QStringLiteral("2006-03-05"));
    clearToday();
    EXPECT_EQ(Date().toQDate(), QDate::currentDate());
}

TEST(ExceptionGuard, SystemErrorShowsItsMessageInAnErrorBox)
{
    auto& s = freshScript();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("维修管理系统"));
    s.answerMessage(mrOk);
    const bool ok = guard(nullptr, [] { throw EDatabaseError(QStringLiteral("Key violation")); });
    EXPECT_FALSE(ok);
    ASSERT_EQ(s.shown().size(), 1);
    EXPECT_EQ(s.shown()[0].text, QStringLiteral("Key violation"));
    EXPECT_EQ(s.shown()[0].caption, QStringLiteral("维修管理系统"));
    EXPECT_EQ(s.shown()[0].icon, MessageIcon::Error);
    EXPECT_EQ(s.shown()[0].buttons, QList<int>{mrOk});
    EXPECT_EQ(s.unexpected(), 0);
}

TEST(ExceptionGuard, AbortIsSilent)
{
    auto& s = freshScript();
    EXPECT_FALSE(guard(nullptr, [] { Abort(); }));
    EXPECT_TRUE(s.shown().isEmpty());
}

TEST(ExceptionGuard, ForeignExceptionsShowTheirText)
{
    auto& s = freshScript();
    s.answerMessage(mrOk);
    s.answerMessage(mrOk);
    EXPECT_FALSE(guard(nullptr, [] { throw std::runtime_error("磁盘已满"); }));
    EXPECT_FALSE(guard(nullptr, [] { throw 42; }));
    EXPECT_EQ(s.messages(), (QStringList{QStringLiteral("磁盘已满"), QStringLiteral("Unknown exception")}));
    EXPECT_EQ(s.unexpected(), 0);
}

TEST(ExceptionGuard, FinishedHandlerShowsNothing)
{
    auto& s = freshScript();
    int runs = 0;
    EXPECT_TRUE(guard(nullptr, [&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(s.shown().isEmpty());
}

TEST(ExceptionGuard, ClickHandlerErrorNeverReachesTheEventLoop)
{
    auto& s = freshScript();
    QWidget form;
    auto* button = new QPushButton(QStringLiteral("保存"), &form);
    form.show();
    QObject::connect(button, &QPushButton::clicked, &form, guarded(&form, [](bool) {
        StrToInt(QStringLiteral("abc"));
    }));
    s.answerMessage(mrOk);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(s.messages(), QStringList{QStringLiteral("'abc' is not a valid integer value")});
    EXPECT_EQ(s.pending(), 0);
    EXPECT_EQ(s.unexpected(), 0);
}

TEST(ExceptionGuard, ShowingOutsideAHandlerDoesNothing)
{
    auto& s = freshScript();
    showCurrentException(nullptr);
    EXPECT_TRUE(s.shown().isEmpty());
}

TEST(ExceptionGuard, ShowMessageUsesTheApplicationTitle)
{
    auto& s = freshScript();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("维修管理系统"));
    s.answerMessage(mrOk);
    showMessage(QStringLiteral("保存成功"));
    ASSERT_EQ(s.shown().size(), 1);
    EXPECT_EQ(s.shown()[0].caption, QStringLiteral("维修管理系统"));
    EXPECT_EQ(s.shown()[0].text, QStringLiteral("保存成功"));
}
