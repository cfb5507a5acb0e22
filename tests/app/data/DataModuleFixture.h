// A data module connected to a fresh shop database in a temporary program folder, with the
// run-wide values cleared before and after each test and the scripted dialogs emptied.
#pragma once

#include "app/data/dmData.h"
#include "app/schema/TempDatabase.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/env/ProgramFolder.h"
#include "platform/env/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QVariantMap>

#include <memory>

namespace qx::app::test {

inline ScriptedDialogService& dialogs()
{
    ScriptedDialogService* service = ScriptedDialogService::current();
    if (!service)
        throw Exception(QStringLiteral("the tests need the scripted dialog service"));
    return *service;
}

inline void clearRunValues()
{
    CurrentUser.clear();
    DatabasePath.clear();
    StockEnabled = false;
    BackupOnExit = false;
}

// Gives every test a clean start: no operator, no program folder override, no dialogs.
class CleanRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clearRunValues();
        dialogs().clear();
    }
    void TearDown() override
    {
        EXPECT_EQ(dialogs().unexpected(), 0) << dialogs().messages().join(u'|').toStdString();
        EXPECT_EQ(dialogs().pending(), 0);
        setProgramFolder(QString());
        clearRunValues();
    }
};

class DataModuleTest : public CleanRunTest
{
protected:
    void SetUp() override
    {
        CleanRunTest::SetUp();
        setProgramFolder(database.programFolder());
        module = std::make_unique<TdmdataUnit>();
        ASSERT_EQ(module->DataModuleCreate(), TdmdataUnit::orConnected);
    }
    void TearDown() override
    {
        module.reset();
        CleanRunTest::TearDown();
    }

    // Runs a statement with bound values on the module's connection.
    void exec(const QString& sql, const QVariantMap& params = {})
    {
        module->ADOConnection->Execute(sql, params);
    }

    TempDatabase database;
    std::unique_ptr<TdmdataUnit> module;
};

} // namespace qx::app::test
