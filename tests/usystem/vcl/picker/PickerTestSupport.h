// A library data module whose two connections share one fresh database file in a temporary
// program folder, with the few tables the pickers read.
#pragma once

#include "platform/env/ProgramFolder.h"
#include "platform/env/ScriptedDialogService.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "tests/support/LibraryDataModule.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class LibraryDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(dmDatabase, nullptr);
        qx::setProgramFolder(dir.path());
        const QString file = dir.filePath(QStringLiteral("Account.mdb"));
        dm = qxtest::openLibraryDataModule(file);
        scripted = qx::ScriptedDialogService::current();
        ASSERT_NE(scripted, nullptr);
        scripted->clear();
    }
    void TearDown() override
    {
        flushDeletes();
        dm.reset();
        qx::setProgramFolder(QString());
        EXPECT_EQ(dmDatabase, nullptr);
    }

    // Dialogs that free themselves go with the deferred deletes.
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void exec(const char* sql) { dm->conBusiness->Execute(QString::fromUtf8(sql)); }

    QTemporaryDir dir;
    std::unique_ptr<TdmDatabase> dm;
    qx::ScriptedDialogService* scripted = nullptr;
};
