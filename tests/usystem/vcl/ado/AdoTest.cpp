// The library's query, its single-value routine and its transactions, on a library data
// module whose two connections share one fresh database file.
#include "platform/db/Fields.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/ado/QxBusinessTrans.h"
#include "tests/support/LibraryDataModule.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class LibraryData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(dmDatabase, nullptr);
        const QString file = dir.filePath(QStringLiteral("Account.mdb"));
        dm = qxtest::openLibraryDataModule(file);
        dm->conSystem->Execute(QStringLiteral(
            "CREATE TABLE tDictDlt (TableName TEXT(20) COLLATE NOCASE, FieldName TEXT(20) COLLATE NOCASE,"
            " CFieldName TEXT(30) COLLATE NOCASE, CanNull YESNO DEFAULT 1,"
            " IndexID INTEGER PRIMARY KEY AUTOINCREMENT);"
            "CREATE TABLE tPart (Code TEXT(10) COLLATE NOCASE, Name TEXT(20) COLLATE NOCASE,"
            " Qty INTEGER, Price MONEY REAL, Rate DECIMAL, Weight DOUBLE);"
            "INSERT INTO tPart VALUES ('A1', '屏幕', 3, 12.5, 0.25, 1.5), ('B2', '电池', 10, 3, 1, 2)"));
        scripted = qx::ScriptedDialogService::current();
        ASSERT_NE(scripted, nullptr);
        scripted->clear();
    }
    void TearDown() override
    {
        dm.reset();
        EXPECT_EQ(dmDatabase, nullptr);
    }

    int count(const QString& table)
    {
        QVariant v;
        EXPECT_EQ(OpenSqlValue(QStringLiteral("select count(*) from ") + table, v, false), 1);
        return v.toInt();
    }

    QTemporaryDir dir;
    std::unique_ptr<TdmDatabase> dm;
    qx::ScriptedDialogService* scripted = nullptr;
};

TEST_F(LibraryData, MoneyFieldsShowTwoDecimalsOverTheAfterOpenFormat)
{
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);
    q.SQL().SetText(QStringLiteral("select Code, Qty, Price, Rate, Weight, Price * 2 as Twice from tPart order by Code"));
    q.AfterOpen = [](TDataSet* ds) {
        ds->FieldByName(QStringLiteral("Price"))->SetDisplayFormat(QStringLiteral("#,##0.0000"));
        ds->FieldByName(QStringLiteral("Weight"))->SetDisplayFormat(QStringLiteral("0.000"));
    };
    q.Open();
    EXPECT_EQ(q.FieldByName(QStringLiteral("Price"))->DataType(), ftCurrency);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Twice"))->DataType(), ftCurrency); // money times a number is money
    for (const char* name : {"Price", "Rate", "Twice"})
        EXPECT_EQ(q.FieldByName(QString::fromLatin1(name))->DisplayFormat(), QStringLiteral("0.00")) << name;
    EXPECT_EQ(q.FieldByName(QStringLiteral("Weight"))->DisplayFormat(), QStringLiteral("0.000"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("Price"))->DisplayText(), QStringLiteral("12.50"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("Qty"))->DisplayText(), QStringLiteral("3"));
    q.Next();
    EXPECT_EQ(q.FieldByName(QStringLiteral("Price"))->DisplayText(), QStringLiteral("3.00"));

    // Reopened on other SQL: fresh fields, formatted again.
    q.Close();
    q.AfterOpen = nullptr;
    q.SQL().SetText(QStringLiteral("select Price from tPart"));
    q.Open();
    EXPECT_EQ(q.FieldByName(QStringLiteral("Price"))->DisplayFormat(), QStringLiteral("0.00"));
}

TEST_F(LibraryData, AnAfterOpenHandlerThatClosesTheQueryLeavesItClosed)
{
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);
    q.SQL().SetText(QStringLiteral("select * from tPart"));
    q.AfterOpen = [](TDataSet* ds) { ds->Close(); };
    EXPECT_NO_THROW(q.Open());
    EXPECT_FALSE(q.Active());
}

TEST_F(LibraryData, DictionaryGivesLabelsAndRequiredFlags)
{
    dm->conSystem->Execute(QStringLiteral(
        "INSERT INTO tDictDlt (TableName, FieldName, CFieldName, CanNull) VALUES"
        " ('tPart', 'code', '编码', 0), ('tPart', 'Name', '名称', 1), ('tPart', 'Gone', '无此字段', 0),"
        " ('tOther', 'Qty', '别的表', 0), ('O''Brien', 'Qty', '数量', 0)"));
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);
    q.SQL().SetText(QStringLiteral("select * from tPart"));
    q.Open();
    q.FieldByName(QStringLiteral("Name"))->SetRequired(true);

    q.SetRefreshField(true); // no table named: nothing happens
    EXPECT_EQ(q.FieldByName(QStringLiteral("Code"))->DisplayLabel(), QStringLiteral("Code"));

    q.SetDictTableName(QStringLiteral("tPart"));
    q.setProperty("RefreshField", false); // any assignment runs the pass
    EXPECT_FALSE(q.property("RefreshField").toBool());
    EXPECT_EQ(q.FieldByName(QStringLiteral("Code"))->DisplayLabel(), QStringLiteral("编码"));
    EXPECT_TRUE(q.FieldByName(QStringLiteral("Code"))->Required());
    EXPECT_EQ(q.FieldByName(QStringLiteral("Name"))->DisplayLabel(), QStringLiteral("名称"));
    EXPECT_FALSE(q.FieldByName(QStringLiteral("Name"))->Required());
    EXPECT_EQ(q.FieldByName(QStringLiteral("Qty"))->DisplayLabel(), QStringLiteral("Qty"));

    // A table name with an apostrophe is a value like any other.
    q.SetDictTableName(QStringLiteral("O'Brien"));
    q.SetRefreshField(true);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Qty"))->DisplayLabel(), QStringLiteral("数量"));
    EXPECT_TRUE(q.FieldByName(QStringLiteral("Qty"))->Required());
    EXPECT_EQ(scripted->shown().size(), 0);
}

TEST_F(LibraryData, DictionaryPassNeedsAnOpenQueryAndTheModule)
{
    dm->conSystem->Execute(QStringLiteral(
        "INSERT INTO tDictDlt (TableName, FieldName, CFieldName, CanNull) VALUES ('tPart', 'Code', '编码', 0)"));
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);
    q.SQL().SetText(QStringLiteral("select * from tPart"));
    q.SetDictTableName(QStringLiteral("tPart"));
    EXPECT_NO_THROW(q.SetRefreshField(true)); // closed: nothing to label

    q.Open();
    TdmDatabase* module = dmDatabase;
    dmDatabase = nullptr; // as in the program, which has no library data module
    EXPECT_NO_THROW(q.SetRefreshField(true));
    dmDatabase = module;
    EXPECT_EQ(q.FieldByName(QStringLiteral("Code"))->DisplayLabel(), QStringLiteral("Code"));
}

TEST_F(LibraryData, OpenSqlValueReadsTheFirstRow)
{
    QVariant v = QStringLiteral("untouched");
    EXPECT_EQ(OpenSqlValue(QStringLiteral("select Code from tPart where Qty > 100"), v, false), 0);
    EXPECT_EQ(v.toString(), QStringLiteral("untouched"));

    EXPECT_EQ(OpenSqlValue(QStringLiteral("select Name from tPart order by Code"), v, false), 1);
    EXPECT_EQ(v.toString(), QStringLiteral("屏幕"));

    EXPECT_EQ(OpenSqlValue(QStringLiteral("select Code, Qty, Name from tPart order by Code desc"), v, true), 3);
    const QVariantList row = v.toList();
    ASSERT_EQ(row.size(), 3);
    EXPECT_EQ(row[0].toString(), QStringLiteral("B2"));
    EXPECT_EQ(row[1].toInt(), 10);
    EXPECT_EQ(row[2].toString(), QStringLiteral("电池"));
    EXPECT_EQ(scripted->shown().size(), 0);
}

TEST_F(LibraryData, OpenSqlValueLetsAFailingStatementRaise)
{
    QVariant v = 7;
    EXPECT_THROW(OpenSqlValue(QStringLiteral("select nothing from tMissing"), v, false), EDatabaseError);
    EXPECT_EQ(v.toInt(), 7);
    EXPECT_EQ(scripted->shown().size(), 0);
    EXPECT_EQ(scripted->unexpected(), 0);
}

TEST_F(LibraryData, OpenSqlValueUsesTheConnectionAsked)
{
    // A temporary table is seen only by the connection that made it.
    dm->conSystem->Execute(QStringLiteral("CREATE TEMP TABLE tOnlySystem (X INTEGER); INSERT INTO tOnlySystem VALUES (5)"));
    QVariant v;
    EXPECT_EQ(OpenSqlValue(QStringLiteral("select X from tOnlySystem"), v, true), 1);
    EXPECT_EQ(v.toInt(), 5);
    EXPECT_THROW(OpenSqlValue(QStringLiteral("select X from tOnlySystem"), v, false), EDatabaseError);
}

TEST_F(LibraryData, StartingInsideAnOpenTransactionNestsAndCommitsNothing)
{
    TADOConnection* c = dm->conBusiness;
    c->BeginTrans(); // the caller's outer unit of work
    c->Execute(QStringLiteral("INSERT INTO tPart (Code) VALUES ('OUTER')"));
    StartBusinessTrans();
    EXPECT_EQ(c->TransactionLevel(), 2);
    c->Execute(QStringLiteral("INSERT INTO tPart (Code) VALUES ('INNER')"));
    CommitBusinessTrans();
    EXPECT_TRUE(c->InTransaction()); // the outer one is still open
    // The outer rollback undoes both rows: nothing was committed on the way.
    c->RollbackTrans();
    EXPECT_EQ(count(QStringLiteral("tPart")), 2);

    StartBusinessTrans();
    c->Execute(QStringLiteral("INSERT INTO tPart (Code) VALUES ('KEPT')"));
    StartBusinessTrans();
    c->Execute(QStringLiteral("INSERT INTO tPart (Code) VALUES ('DROPPED')"));
    RollbackBusinessTrans();
    CommitBusinessTrans();
    EXPECT_FALSE(c->InTransaction());
    EXPECT_EQ(count(QStringLiteral("tPart where Code = 'KEPT'")), 1);
    EXPECT_EQ(count(QStringLiteral("tPart where Code = 'DROPPED'")), 0);
}

TEST_F(LibraryData, CommitAndRollbackWithoutATransaction)
{
    EXPECT_THROW(CommitBusinessTrans(), EDatabaseError);
    EXPECT_NO_THROW(RollbackBusinessTrans());
    EXPECT_FALSE(dm->conBusiness->InTransaction());
}

TEST(LibraryDataAbsent, RoutinesRefuseOrDoNothing)
{
    ASSERT_EQ(dmDatabase, nullptr);
    QVariant v = 1;
    try {
        OpenSqlValue(QStringLiteral("select 1"), v, false);
        ADD_FAILURE() << "no error without the module";
    } catch (const EDatabaseError& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_EQ(v.toInt(), 1);
    EXPECT_THROW(StartBusinessTrans(), EDatabaseError);
    EXPECT_THROW(CommitBusinessTrans(), EDatabaseError);
    EXPECT_NO_THROW(RollbackBusinessTrans());
}

TEST(LibraryDataAbsent, ModuleIsTheGlobalForItsLifetime)
{
    ASSERT_EQ(dmDatabase, nullptr);
    {
        TdmDatabase first;
        EXPECT_EQ(dmDatabase, &first);
        EXPECT_EQ(first.qryStruct->Connection(), first.conSystem);
        EXPECT_EQ(first.qryTemp->Connection(), first.conBusiness);
        EXPECT_NE(first.MsgDlg, nullptr);
        EXPECT_EQ(first.LabelColor, clGreen);
        TdmDatabase second;
        EXPECT_EQ(dmDatabase, &first);
    }
    EXPECT_EQ(dmDatabase, nullptr);
}

} // namespace
