// The main road end to end: keys typed into a data grid over a query on a real database file,
// the row posted by moving on, and the file read back by another connection; and the same when
// another workstation changed the row first.
#include <gtest/gtest.h>

#include "DBGridInputSupport.h"

#include "platform/db/DataSource.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/ScriptedDialogService.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QTemporaryDir>
#include <QVBoxLayout>

namespace {

QString connectionString(const QString& file)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Persist Security Info=False").arg(file);
}

// A fresh parts file with three rows.
QString makeDatabase(const QTemporaryDir& dir)
{
    const QString file = dir.filePath(QStringLiteral("Account.mdb"));
    TADOConnection::CreateDatabase(file);
    TADOConnection setup;
    setup.setConnectionString(connectionString(file));
    setup.Open();
    setup.Execute(QStringLiteral("CREATE TABLE tStock (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(10),"
                                 " Name TEXT(20), Qty INTEGER);"
                                 "INSERT INTO tStock (Code, Name, Qty) VALUES ('A', 'screen', 1), ('B', 'battery', 2),"
                                 " ('C', 'cover', 3)"));
    return file;
}

// What another program run reads from the file: a connection of its own, opened now.
QString readBack(const QString& file, const QString& code)
{
    TADOConnection conn;
    conn.setConnectionString(connectionString(file));
    conn.Open();
    TADOQuery q;
    q.SetConnection(&conn);
    q.SQL().SetText(QStringLiteral("select Name || '/' || Qty as V from tStock where Code = :c"));
    q.ParamByName(QStringLiteral("c"))->setValue(code);
    q.Open();
    return q.FieldByName(QStringLiteral("V"))->AsString();
}

struct DatabaseGrid
{
    QTemporaryDir dir;
    QString file = makeDatabase(dir);
    TADOConnection conn;
    TADOQuery query;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TDataSource* source = nullptr;
    TQxDBGrid* grid = nullptr;

    DatabaseGrid()
    {
        conn.setConnectionString(connectionString(file));
        conn.Open();
        query.SetConnection(&conn);
        query.SQL().SetText(QStringLiteral("select Code, Name, Qty from tStock order by Code"));
        query.Open();
        source = new TDataSource(window.get());
        source->SetDataSet(&query);
        auto* layout = new QVBoxLayout(window.get());
        grid = new TQxDBGrid(window.get());
        layout->addWidget(grid);
        grid->SetDataSource(source);
        window->resize(420, 260);
        window->show();
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get());
        grid->setFocus();
        QApplication::processEvents();
    }
    ~DatabaseGrid()
    {
        // The grid lets go of the source before the query goes.
        window.reset();
    }
    // Puts the grid's cursor on the row of code, in the Name column.
    void goToName(const QString& code)
    {
        ASSERT_TRUE(query.Locate(QStringLiteral("Code"), code));
        grid->SetSelectedIndex(1);
        grid->setFocus();
        QApplication::processEvents();
    }
};

} // namespace

TEST(DBGridDatabase, TypedKeysReachTheFile)
{
    DatabaseGrid g;
    auto& d = dialogs();
    g.goToName(QStringLiteral("B"));
    typeText(QStringLiteral("charger"));
    press(Qt::Key_Return); // the cell is written, the cursor goes on to Qty
    typeText(QStringLiteral("7"));
    press(Qt::Key_Down); // moving on posts the row
    EXPECT_EQ(g.query.State(), dsBrowse);
    EXPECT_TRUE(d.shown().isEmpty()) << d.messages().join(u'|').toStdString();
    EXPECT_EQ(readBack(g.file, QStringLiteral("B")), QStringLiteral("charger/7"));
    EXPECT_EQ(readBack(g.file, QStringLiteral("C")), QStringLiteral("cover/3"));
}

TEST(DBGridDatabase, ARowChangedByAnotherWorkstationIsNotOverwritten)
{
    DatabaseGrid g;
    auto& d = dialogs();
    // Another workstation changes the row after this one read it.
    {
        TADOConnection other;
        other.setConnectionString(connectionString(g.file));
        other.Open();
        other.Execute(QStringLiteral("UPDATE tStock SET Name = 'their battery' WHERE Code = 'B'"));
    }
    g.goToName(QStringLiteral("B"));
    typeText(QStringLiteral("mine"));
    d.answerMessage(qx::mrOk);
    press(Qt::Key_Down);
    ASSERT_EQ(d.messages().size(), 1);
    EXPECT_EQ(d.messages()[0], QStringLiteral("Row cannot be located for updating. Some values may have been "
                                              "changed since it was last read."));
    EXPECT_EQ(d.unexpected(), 0);
    // Nothing was written; the record waits in its edit for the operator to decide.
    EXPECT_EQ(readBack(g.file, QStringLiteral("B")), QStringLiteral("their battery/2"));
    EXPECT_EQ(g.query.State(), dsEdit);
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    EXPECT_EQ(g.query.State(), dsBrowse);
    // Read again, the row shows the other workstation's change and can be changed from here.
    g.query.Requery();
    g.goToName(QStringLiteral("B"));
    EXPECT_EQ(g.query.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("their battery"));
    typeText(QStringLiteral("mine"));
    press(Qt::Key_Down);
    EXPECT_EQ(d.messages().size(), 1);
    EXPECT_EQ(readBack(g.file, QStringLiteral("B")), QStringLiteral("mine/2"));
}
