// A data module on a fresh shop database in a temporary program folder, with the run-wide
// values, the form registry and the scripted dialogs cleared around every test of the shell.
#pragma once

#include "app/data/dmData.h"
#include "app/schema/Password.h"
#include "app/schema/TempDatabase.h"
#include "app/shell/uAFormRegistry.h"
#include "app/shell/uAppExit.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/ProgramFolder.h"
#include "platform/env/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QVariantMap>

#include <memory>

namespace qx::app::test {

inline ScriptedDialogService& dialogs()
{
    return *ScriptedDialogService::current();
}

// Lets the deferred deletes of closed forms happen.
inline void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

class ShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(ScriptedDialogService::current(), nullptr);
        clearRun();
        setProgramFolder(database.programFolder());
        module = std::make_unique<TdmdataUnit>();
        ASSERT_EQ(module->DataModuleCreate(), TdmdataUnit::orConnected);
    }

    void TearDown() override
    {
        flushDeletes();
        EXPECT_EQ(dialogs().unexpected(), 0) << dialogs().messages().join(u'|').toStdString();
        EXPECT_EQ(dialogs().pending(), 0);
        module.reset();
        setProgramFolder(QString());
        clearRun();
    }

    static void clearRun()
    {
        CurrentUser.clear();
        DatabasePath.clear();
        StockEnabled = false;
        BackupOnExit = false;
        dialogs().clear();
        clearFormRegistry();
        resetProgramTerminated();
    }

    void exec(const QString& sql, const QVariantMap& params = {})
    {
        module->ADOConnection->Execute(sql, params);
    }

    // An operator with its stored password text (a hash or a clear password of an older
    // database) and its rights, one row per right.
    void addOperator(const QString& code, const QString& storedPassword, const QStringList& rights)
    {
        for (const QString& right : rights.isEmpty() ? QStringList{QString()} : rights)
            exec(QStringLiteral("insert into t_UserDB (UserCode, Password, \"Right\") values (:u, :p, :r)"),
                 {{QStringLiteral("u"), code}, {QStringLiteral("p"), storedPassword},
                  {QStringLiteral("r"), right}});
    }

    // The stored password of every row of the operator.
    QStringList storedPasswords(const QString& code)
    {
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(QStringLiteral("select Password from t_UserDB where UserCode = :u"));
        q.ParamByName(QStringLiteral("u"))->setValue(code);
        q.Open();
        QStringList list;
        for (q.First(); !q.Eof(); q.Next())
            list << q.FieldByName(QStringLiteral("Password"))->AsString();
        return list;
    }

    TempDatabase database;
    std::unique_ptr<TdmdataUnit> module;
};

} // namespace qx::app::test
