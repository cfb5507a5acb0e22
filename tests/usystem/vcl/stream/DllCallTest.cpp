// The binder of the report library: loading by absolute path from the program folder, reuse
// of a loaded library, the messages for a missing library, a missing export and a failed run.
#include "usystem/vcl/stream/uQxDllCall.h"

#include "control/ControlExports.h"
#include "platform/env/ProgramFolder.h"
#include "platform/env/ScriptedDialogService.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

class DllCall : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        dialogs = qx::ScriptedDialogService::current();
        ASSERT_NE(dialogs, nullptr);
        dialogs->clear();
    }
    void TearDown() override { qx::setProgramFolder(QString()); }

    QString path() const { return folder.path() + u'/'; }
    void install(const char* library)
    {
        ASSERT_TRUE(QFile::copy(QString::fromUtf8(library), path() + QLatin1String(ControlLibraryName)));
    }
    // The calls the stand-in recorded, one string per call.
    QStringList calls() const
    {
        QFile file(path() + QStringLiteral("calls.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList out = QString::fromUtf8(file.readAll()).split(QStringLiteral("end\n"), Qt::SkipEmptyParts);
        return out;
    }
    bool query(const QString& report, const QStringList& values)
    {
        return qx::queryWithCondition(folder.path(), QStringLiteral("Account.mdb"),
                                      QStringLiteral("Account.mdb"), QString(),
                                      QStringLiteral("报表中心"), report, values);
    }

    QTemporaryDir folder;
    qx::ScriptedDialogService* dialogs = nullptr;
};

TEST_F(DllCall, PassesTheArgumentsInOrderWithTheProgramFolder)
{
    install(QX_FAKE_CONTROL);
    EXPECT_TRUE(query(QStringLiteral("维修历史"), {QStringLiteral("SN-0001"), QStringLiteral("客户'A")}));
    const QStringList got = calls();
    ASSERT_EQ(got.size(), 1);
    QStringList lines = got[0].split(u'\n');
    lines.removeLast(); // after the last line's break
    const QStringList expected = {QStringLiteral("#1 ExectueQueryWithCondition"),
                                  QStringLiteral("Account.mdb"),
                                  QStringLiteral("Account.mdb"),
                                  QString(),
                                  QStringLiteral("报表中心"),
                                  QStringLiteral("维修历史"),
                                  path(),
                                  QStringLiteral("2"),
                                  QStringLiteral("SN-0001"),
                                  QStringLiteral("客户'A")};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(DllCall, EmptyConditionListIsPassedOn)
{
    install(QX_FAKE_CONTROL);
    query(QStringLiteral("客户历史"), {});
    const QStringList got = calls();
    ASSERT_EQ(got.size(), 1);
    EXPECT_TRUE(got[0].endsWith(path() + QStringLiteral("\n0\n"))) << got[0].toStdString();
    EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(DllCall, SecondCallReusesTheLoadedLibraryWhichStaysLoaded)
{
    install(QX_FAKE_CONTROL);
    const int loadsBefore = qx::dllLoadCount();
    query(QStringLiteral("a"), {QStringLiteral("1")});
    query(QStringLiteral("b"), {QStringLiteral("2")});
    EXPECT_EQ(qx::dllLoadCount(), loadsBefore + 1);
    const QStringList got = calls();
    ASSERT_EQ(got.size(), 2);
    // The library's own counter went on: it was not unloaded and loaded again between calls.
    EXPECT_TRUE(got[1].startsWith(QStringLiteral("#2 "))) << got[1].toStdString();
    const QByteArray lib = QFile::encodeName(path() + QLatin1String(ControlLibraryName));
    void* handle = dlopen(lib.constData(), RTLD_LAZY | RTLD_NOLOAD);
    EXPECT_NE(handle, nullptr);
    if (handle)
        dlclose(handle); // drops only the reference this check took
}

TEST_F(DllCall, MissingLibraryShowsTheLoadMessageOncePerCall)
{
    dialogs->answerMessage(qx::mrOk);
    dialogs->answerMessage(qx::mrOk);
    EXPECT_FALSE(query(QStringLiteral("维修历史"), {QStringLiteral("SN")}));
    EXPECT_FALSE(query(QStringLiteral("维修历史"), {QStringLiteral("SN")}));
    const QString message = QStringLiteral("在调入[libControl.so]文件时出错！");
    EXPECT_EQ(dialogs->messages(), QStringList({message, message}));
    EXPECT_EQ(dialogs->unexpected(), 0);
}

TEST_F(DllCall, MissingExportShowsTheLookupMessageAndCallsNothing)
{
    install(QX_BARE_CONTROL);
    dialogs->answerMessage(qx::mrOk);
    EXPECT_FALSE(query(QStringLiteral("维修历史"), {}));
    EXPECT_EQ(dialogs->messages(),
              QStringList{QStringLiteral("在文件libControl.so中并不存在ExectueQueryWithCondition模块")});
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_EQ(dialogs->unexpected(), 0);
}

TEST_F(DllCall, FailedRunShowsTheCallMessageAndTheCallerGoesOn)
{
    install(QX_FAKE_CONTROL);
    dialogs->answerMessage(qx::mrOk);
    EXPECT_FALSE(query(QStringLiteral("throw"), {QStringLiteral("SN")}));
    EXPECT_EQ(dialogs->messages(), QStringList{QStringLiteral("调用查询出错!")});
    // The next run works as before.
    EXPECT_TRUE(query(QStringLiteral("维修历史"), {QStringLiteral("SN")}));
    EXPECT_EQ(calls().size(), 2);
    EXPECT_EQ(dialogs->unexpected(), 0);
}

TEST_F(DllCall, GetDllProcLooksInTheProgramFolder)
{
    install(QX_FAKE_CONTROL);
    qx::setProgramFolder(folder.path());
    EXPECT_NE(GetDllProc(QLatin1String(ControlLibraryName), QStringLiteral("ExectueQueryString")), nullptr);
    EXPECT_NE(GetDllProc(QLatin1String(ControlLibraryName), QStringLiteral("ExectueFindString")), nullptr);
    EXPECT_TRUE(dialogs->shown().isEmpty());

    EXPECT_TRUE(QueryWithCondition(QStringLiteral("db"), QStringLiteral("db"), QString(),
                                   QStringLiteral("报表中心"), QStringLiteral("r"), {QStringLiteral("v")}));
    ASSERT_EQ(calls().size(), 1);
    EXPECT_TRUE(calls()[0].contains(path() + u'\n'));
}

} // namespace
