// The maintenance tests' start: a program folder with its own shop database, and the data
// module connected either to that database or to a shop database outside the program folder
// (a shared database, named in ConSQL.ini); the main window made (not shown) with the
// maintenance forms registered; and the dialog service recording what every file dialog was
// asked and what the progress window showed when a message came up.
#pragma once

#include "app/data/dmData.h"
#include "app/maintenance/MaintenanceForms.h"
#include "app/maintenance/uShowProcMess.h"
#include "app/schema/TempDatabase.h"
#include "app/shell/uAFormRegistry.h"
#include "app/shell/uAMain.h"
#include "app/shell/uAppExit.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/db/sql/SqlQuote.h"
#include "platform/db/sql/SqliteStatement.h"
#include "platform/env/ProgramFolder.h"
#include "platform/env/ScriptedDialogService.h"
#include "tests/support/Scoped.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProgressBar>
#include <QVariantMap>

#include <memory>

#include <sqlite3.h>

namespace qx::app::maintenance_test {

// The scripted dialogs, keeping each file dialog's request and, for each message box, what a
// visible progress window showed at that moment ("<label> <value>", or empty without one).
class RecordingDialogs : public ScriptedDialogService
{
public:
    QList<FileRequest> fileRequests;
    QStringList progressAtMessage;

    int messageBox(QWidget* parent, const MessageBoxRequest& request) override
    {
        QString progress;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<TFrmShowProcMess*>(w); window && window->isVisible())
                progress = window->Lb->Caption() + u' ' + QString::number(window->PB->value());
        }
        progressAtMessage << progress;
        return ScriptedDialogService::messageBox(parent, request);
    }
    QString openFileName(QWidget* parent, const FileRequest& request) override
    {
        fileRequests << request;
        return ScriptedDialogService::openFileName(parent, request);
    }
    QString saveFileName(QWidget* parent, const FileRequest& request) override
    {
        fileRequests << request;
        return ScriptedDialogService::saveFileName(parent, request);
    }
};

// A file's bytes' digest: "unchanged" means byte for byte.
inline QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class MaintenanceTest : public ::testing::Test
{
protected:
    // The database the data module opens: outside the program folder unless a suite says so.
    virtual bool sharedDatabase() const { return true; }

    void SetUp() override
    {
        dialogService = std::make_unique<qx::test::ScopedDialogService>(std::make_unique<RecordingDialogs>());
        clearRun();
        setProgramFolder(program.programFolder());
        if (sharedDatabase()) {
            writeFile(program.filePath(QStringLiteral("ConSQL.ini")),
                      "[Server]\r\nPath=" + shared.databasePath().toUtf8() + "\r\n");
        }
        programDatabaseDigest = digest(program.databasePath());
        module = std::make_unique<TdmdataUnit>();
        ASSERT_EQ(module->DataModuleCreate(), TdmdataUnit::orConnected);
        ASSERT_EQ(DatabasePath, sharedDatabase() ? shared.databasePath() : program.databasePath());
        registerMaintenanceForms();
        main = std::make_unique<TFrmAMain>();
        CurrentUser = QStringLiteral("高级用户");
    }

    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(dialogs().unexpected(), 0) << dialogs().messages().join(u'|').toStdString();
        EXPECT_EQ(dialogs().pending(), 0);
        main.reset();
        module.reset();
        setProgramFolder(QString());
        clearRun();
        dialogService.reset();
    }

    static void clearRun()
    {
        CurrentUser.clear();
        DatabasePath.clear();
        StockEnabled = false;
        BackupOnExit = false;
        clearFormRegistry();
        resetProgramTerminated();
    }

    RecordingDialogs& dialogs() { return *static_cast<RecordingDialogs*>(ScriptedDialogService::current()); }

    void click(const char16_t* item)
    {
        main->ClickMenuItem(main->MenuItem(QStringLiteral("系统管理"), QString::fromUtf16(item)));
    }

    void exec(const QString& sql, const QVariantMap& params = {})
    {
        module->ADOConnection->Execute(sql, params);
    }

    QVariant scalar(const QString& sql)
    {
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(sql);
        q.Open();
        return q.IsEmpty() ? QVariant() : q.Fields()->Fields(0)->Value();
    }

    // The customer codes in the live database, through the data module's connection.
    QStringList customers()
    {
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(QStringLiteral("select CCode from t_Client order by CCode"));
        q.Open();
        QStringList codes;
        for (q.First(); !q.Eof(); q.Next())
            codes << q.FieldByName(QStringLiteral("CCode"))->AsString();
        return codes;
    }

    void addCustomer(const QString& code)
    {
        exec(QStringLiteral("insert into t_Client (CCode, CName) values (:c, :c)"), {{QStringLiteral("c"), code}});
    }

    // Every row of every table of the live database, in rowid order: "unchanged" is equality.
    QMap<QString, QStringList> snapshot()
    {
        QMap<QString, QStringList> rows;
        QStringList tables;
        module->ADOConnection->GetTableNames(tables);
        sqlite3* db = module->ADOConnection->handle();
        for (const QString& table : tables) {
            qx::SqliteStatement stmt(db, ("SELECT * FROM " + qx::quoteSqlName(table) + " ORDER BY rowid").toUtf8());
            QStringList& list = rows[table];
            while (qx::stepStatement(db, stmt.get())) {
                QStringList values;
                for (int i = 0; i < sqlite3_column_count(stmt.get()); ++i)
                    values << qx::columnVariant(stmt.get(), i).toString();
                list << values.join(u'|');
            }
        }
        return rows;
    }

    int count(const QString& table, const QString& where = QString())
    {
        return scalar(QStringLiteral("select count(*) from ") + qx::quoteSqlName(table)
                      + (where.isEmpty() ? QString() : QStringLiteral(" where ") + where))
            .toInt();
    }

    QString backupFolder() const { return QDir(program.programFolder()).filePath(QStringLiteral("Backup")); }
    QString scratchFile() const { return QFileInfo(DatabasePath).absoluteDir().filePath(QStringLiteral("DBtmp.mdb")); }

    std::unique_ptr<qx::test::ScopedDialogService> dialogService;
    TempDatabase program;
    TempDatabase shared;
    QByteArray programDatabaseDigest;
    std::unique_ptr<TdmdataUnit> module;
    std::unique_ptr<TFrmAMain> main;
};

// The program folder's own database: the one the backup on exit is offered for.
class LocalMaintenanceTest : public MaintenanceTest
{
protected:
    bool sharedDatabase() const override { return false; }
};

} // namespace qx::app::maintenance_test
