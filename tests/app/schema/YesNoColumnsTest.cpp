// Yes/No columns take no Null: declared NOT NULL with a default by the builder, and made so by
// the upgrade of a database of the earlier build, so that a filter on "<> true" finds every
// row that is not true.
#include "SqliteHelpers.h"

#include "app/schema/DatabaseBuilder.h"
#include "app/schema/DatabaseSchema.h"
#include "app/schema/SchemaUpgrade.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace qx::app::test {
namespace {

// The unsettled bills: what the work-order browser's "未结算" filter asks for.
QStringList unsettled(Db& db)
{
    QStringList bills;
    for (const QVariantList& row : db.rows(QStringLiteral(
             "SELECT BillNo FROM t_ReceptionMst WHERE IsSettle <> true ORDER BY BillNo")))
        bills << row.first().toString();
    return bills;
}

// The Yes/No columns of the database and whether each takes Null, "table.column" -> notnull.
QMap<QString, bool> yesNoColumns(Db& db)
{
    QMap<QString, bool> columns;
    for (const QVariantList& row : db.rows(QStringLiteral(
             "SELECT m.name || '.' || p.name, p.\"notnull\" FROM sqlite_schema m, pragma_table_info(m.name) p"
             " WHERE m.type = 'table' AND upper(p.type) = 'YESNO'")))
        columns.insert(row[0].toString(), row[1].toInt() != 0);
    return columns;
}

class YesNoColumns : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Account.mdb"));
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(YesNoColumns, ANewDatabaseDeclaresThemNotNullWithADefault)
{
    buildDatabase(path);
    Db db(path);
    const QMap<QString, bool> columns = yesNoColumns(db);
    EXPECT_EQ(columns.keys(), (QStringList{QStringLiteral("tDictDlt.CanNull"), QStringLiteral("tDictMst.SysTable"),
                                           QStringLiteral("tReportTitle.isBackup"), QStringLiteral("tReportTitle.isStock"),
                                           QStringLiteral("t_ReceptionMst.IsSettle")}));
    for (auto it = columns.cbegin(); it != columns.cend(); ++it)
        EXPECT_TRUE(it.value()) << it.key().toStdString();
    EXPECT_EQ(db.value(QStringLiteral("PRAGMA user_version")).toInt(), kSchemaVersion);

    // A bill written without the flag is unsettled, and a Null is refused.
    EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO t_ReceptionMst (BillNo) VALUES ('WX1')")), SQLITE_DONE);
    EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO t_ReceptionMst (BillNo, IsSettle) VALUES ('WX2', 1)")), SQLITE_DONE);
    EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO t_ReceptionMst (BillNo, IsSettle) VALUES ('WX3', NULL)")),
              SQLITE_CONSTRAINT_NOTNULL);
    EXPECT_EQ(db.exec(QStringLiteral("UPDATE tReportTitle SET isStock = NULL")), SQLITE_CONSTRAINT_NOTNULL);
    EXPECT_EQ(unsettled(db), QStringList{QStringLiteral("WX1")});
    // The dictionary says so.
    EXPECT_EQ(db.value(QStringLiteral("SELECT CanNull FROM tDictDlt WHERE TableName = 't_ReceptionMst'"
                                      " AND FieldName = 'IsSettle'")).toInt(), 0);
}

// A database of the earlier build: the Yes/No columns took Null, and the view, the index and
// the counter of the table must come through the rebuild.
TEST_F(YesNoColumns, TheUpgradeMakesAnEarlierDatabasesColumnsNotNull)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
    const char* earlier =
        "CREATE TABLE t_ReceptionMst (ID INTEGER PRIMARY KEY AUTOINCREMENT, BillNo TEXT(30) COLLATE NOCASE,"
        " IsSettle YESNO, -- settled\n TotalAmount MONEY REAL DEFAULT 0);"
        "CREATE UNIQUE INDEX ux_ReceptionMst_BillNo ON t_ReceptionMst (BillNo);"
        "CREATE TABLE tReportTitle (CorpName TEXT(100) COLLATE NOCASE, isStock YESNO DEFAULT 0,"
        " isBackup YESNO DEFAULT 0);"
        "CREATE TABLE tDictDlt (TableName TEXT(20), FieldName TEXT(20), DefaultValue TEXT(30),"
        " CanNull YESNO DEFAULT 1, IndexID INTEGER PRIMARY KEY AUTOINCREMENT);"
        "CREATE VIEW V_Receiv AS SELECT BillNo, TotalAmount FROM t_ReceptionMst;"
        "INSERT INTO t_ReceptionMst (BillNo, IsSettle, TotalAmount) VALUES"
        " ('WX1', NULL, 10), ('WX2', 0, 20), ('WX3', 1, 30), ('WX4', -1, 40), ('WX5', 'False', 50),"
        " ('WX6', 'True', 60), ('WX9', 0, 90);"
        "DELETE FROM t_ReceptionMst WHERE BillNo = 'WX9';"
        "INSERT INTO tReportTitle VALUES ('店', NULL, -1);"
        "INSERT INTO tDictDlt (TableName, FieldName, DefaultValue, CanNull) VALUES"
        " ('t_ReceptionMst', 'IsSettle', NULL, 1), ('tDictDlt', 'CanNull', '1', 1);"
        "PRAGMA user_version = 1;";
    ASSERT_EQ(sqlite3_exec(raw, earlier, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
    {
        Db before(path);
        // The fault itself: the bill with a Null flag is missing from the unsettled ones.
        EXPECT_EQ(unsettled(before), (QStringList{QStringLiteral("WX2"), QStringLiteral("WX4"),
                                                  QStringLiteral("WX5"), QStringLiteral("WX6")}));
    }

    upgradeDatabase(raw);
    sqlite3_close_v2(raw);

    Db db(path);
    EXPECT_EQ(db.value(QStringLiteral("PRAGMA user_version")).toInt(), kSchemaVersion);
    for (const auto& [column, notNull] : yesNoColumns(db).asKeyValueRange())
        EXPECT_TRUE(notNull) << column.toStdString();
    EXPECT_EQ(unsettled(db), (QStringList{QStringLiteral("WX1"), QStringLiteral("WX2"), QStringLiteral("WX5")}));
    EXPECT_EQ(db.rows(QStringLiteral("SELECT isStock, isBackup FROM tReportTitle")),
              (QList<QVariantList>{{qlonglong(0), qlonglong(1)}}));
    // Defaults: 0 where there was none, the column's own otherwise.
    EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO t_ReceptionMst (BillNo) VALUES ('WX10')")), SQLITE_DONE);
    EXPECT_EQ(db.value(QStringLiteral("SELECT IsSettle FROM t_ReceptionMst WHERE BillNo = 'WX10'")).toInt(), 0);
    EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO tDictDlt (TableName) VALUES ('x')")), SQLITE_DONE);
    EXPECT_EQ(db.value(QStringLiteral("SELECT CanNull FROM tDictDlt WHERE TableName = 'x'")).toInt(), 1);
    // The rest came through: rows, the view, the unique index and the counter.
    EXPECT_EQ(db.value(QStringLiteral("SELECT sum(TotalAmount) FROM V_Receiv")).toDouble(), 210.0);
    EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO t_ReceptionMst (BillNo) VALUES ('wx1')")),
              SQLITE_CONSTRAINT_UNIQUE);
    EXPECT_EQ(db.value(QStringLiteral("SELECT ID FROM t_ReceptionMst WHERE BillNo = 'WX10'")).toInt(), 8);
    // The dictionary's rows of those columns.
    EXPECT_EQ(db.rows(QStringLiteral("SELECT TableName, CanNull, DefaultValue FROM tDictDlt"
                                     " WHERE FieldName IN ('IsSettle', 'CanNull') ORDER BY IndexID")),
              (QList<QVariantList>{{QStringLiteral("t_ReceptionMst"), qlonglong(0), QStringLiteral("0")},
                                   {QStringLiteral("tDictDlt"), qlonglong(0), QStringLiteral("1")}}));

    // Once upgraded, nothing more happens.
    sqlite3* again = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &again), SQLITE_OK);
    const int changes = sqlite3_total_changes(again);
    upgradeDatabase(again);
    EXPECT_EQ(sqlite3_total_changes(again), changes);
    sqlite3_close_v2(again);
}

TEST_F(YesNoColumns, AFailedUpgradeLeavesTheDatabaseAsItWas)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
    // A check that only takes Access's -1 for true refuses the rows as they are moved over
    // (true becomes 1): a step that fails halfway, after the view went.
    const char* earlier =
        "CREATE TABLE tReportTitle (CorpName TEXT(100), isStock YESNO CHECK (isStock IN (0, -1)),"
        " isBackup YESNO);"
        "INSERT INTO tReportTitle VALUES ('店', -1, NULL);"
        "CREATE VIEW V_Title AS SELECT CorpName FROM tReportTitle;"
        "PRAGMA user_version = 1;";
    ASSERT_EQ(sqlite3_exec(raw, earlier, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
    EXPECT_THROW(upgradeDatabase(raw), EDatabaseError);
    EXPECT_TRUE(sqlite3_get_autocommit(raw));
    sqlite3_close_v2(raw);

    Db db(path);
    EXPECT_EQ(db.value(QStringLiteral("PRAGMA user_version")).toInt(), 1);
    EXPECT_EQ(db.rows(QStringLiteral("SELECT isStock, isBackup FROM tReportTitle")),
              (QList<QVariantList>{{qlonglong(-1), QVariant()}}));
    EXPECT_EQ(yesNoColumns(db).value(QStringLiteral("tReportTitle.isBackup"), true), false);
    EXPECT_EQ(db.value(QStringLiteral("SELECT CorpName FROM V_Title")).toString(), QStringLiteral("店"));
}

} // namespace
} // namespace qx::app::test
