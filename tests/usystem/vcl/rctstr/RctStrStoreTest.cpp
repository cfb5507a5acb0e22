// Structures stored under a code in tRctStr, their statement turned into a memory-table
// layout, and their statement opened with conditions and a row limit.
#include "RctStrTestSupport.h"

#include "platform/db/sql/SqlQuote.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/ado/uQxADODB.h"

namespace {

using RctStrStore = StructureDatabase;

TEST_F(RctStrStore, SavedUnderACodeLoadsBackByThatCode)
{
    storeBillItems();
    TQxRctStr s;
    s.LoadByCode(QStringLiteral("rbillitem"));
    EXPECT_EQ(s.RctCode(), QStringLiteral("rbillitem"));
    ASSERT_EQ(s.MstSections()->Count(), 8);
    EXPECT_EQ(s.MstSections()->Items(3)->LookupKey(), QStringLiteral("ItemCode[ItemName]"));
    EXPECT_EQ(s.MstTableName(), QStringLiteral("tBillItem"));
    EXPECT_EQ(s.FindSections()->Count(), 1);
    EXPECT_TRUE(s.SQLMstSQL().startsWith(QStringLiteral("Select BillNo")));

    // Saving again replaces the image: a shorter structure reads back as it is now.
    s.MstSections()->remove(7);
    s.SaveByCode(QStringLiteral("RBillItem"));
    TQxRctStr again;
    again.LoadByCode(QStringLiteral("RBillItem"));
    EXPECT_EQ(again.MstSections()->Count(), 7);
}

TEST_F(RctStrStore, CodeWithoutARowLeavesTheStructureCleared)
{
    storeBillItems();
    TQxRctStr s;
    s.LoadByCode(QStringLiteral("RBillItem"));
    ASSERT_FALSE(s.MstSQL().isEmpty());
    s.LoadByCode(QStringLiteral("Nothing"));
    EXPECT_EQ(s.MstSections()->Count(), 0);
    // The statement of the structure loaded before is not run for the missing code.
    EXPECT_TRUE(s.MstSQL().isEmpty());
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);
    s.OpenStructure(QStringLiteral("Nothing"), &q);
    EXPECT_FALSE(q.Active());
    EXPECT_TRUE(scripted->shown().isEmpty());
}

TEST_F(RctStrStore, RowWithoutAnImageLeavesTheStructureCleared)
{
    dm->conSystem->Execute(QStringLiteral("INSERT INTO tRctStr (RctCode) VALUES ('Empty')"));
    TQxRctStr s;
    describeBillItems(s);
    s.LoadByCode(QStringLiteral("Empty"));
    EXPECT_EQ(s.MstSections()->Count(), 0);
    EXPECT_EQ(s.FindSections()->Count(), 0);
    EXPECT_TRUE(s.MstSQL().isEmpty());
    EXPECT_TRUE(scripted->shown().isEmpty());
}

TEST_F(RctStrStore, LineNumbersNeedALineColumnInTheStatement)
{
    TQxRctStr s;
    describeBillItems(s);
    s.SetSQLMstSQL(QStringLiteral("Select ItemCode, ItemName From tMaterial"));
    store(QStringLiteral("RNoLines"), s);
    TQxRctStr t;
    EXPECT_THROW(t.Prepare(QStringLiteral("RNoLines"), true), EDatabaseError);
    EXPECT_FALSE(t.Active());
    EXPECT_TRUE(t.ItemField().isEmpty());
    t.Prepare(QStringLiteral("RNoLines"), false);
    EXPECT_TRUE(t.Active());
    EXPECT_EQ(t.FieldCount(), 2);
    t.Append();
    t.FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("C3"));
    t.Post();
    EXPECT_EQ(t.RecordCount(), 1);
}

TEST_F(RctStrStore, SavingUnderACodeWithoutARowWritesNothing)
{
    TQxRctStr s;
    describeBillItems(s);
    s.SaveByCode(QStringLiteral("Nowhere"));
    QVariant v;
    EXPECT_EQ(OpenSqlValue(QStringLiteral("select count(*) from tRctStr"), v, true), 1);
    EXPECT_EQ(v.toInt(), 0);
}

TEST_F(RctStrStore, QuoteInACodeIsAValueNotSql)
{
    TQxRctStr s;
    describeBillItems(s);
    store(QStringLiteral("O'Code"), s);
    TQxRctStr loaded;
    loaded.LoadByCode(QStringLiteral("O'Code"));
    EXPECT_EQ(loaded.MstSections()->Count(), 8);
}

TEST_F(RctStrStore, OpenStructureGivesAnEmptyResultWithTheColumns)
{
    storeBillItems();
    TQxRctStr s;
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);
    s.OpenStructure(QStringLiteral("RBillItem"), &q);
    ASSERT_TRUE(q.Active());
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_EQ(q.FieldCount(), 8);
    EXPECT_EQ(q.Fields()->Fields(0)->FieldName(), QStringLiteral("BillNo"));
}

TEST_F(RctStrStore, SecondDialectMatchesNoRowThroughTheKey)
{
    storeBillItems();
    RctStrSqlDialect = 1;
    TQxRctStr s;
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);
    s.OpenStructure(QStringLiteral("RBillItem"), &q);
    RctStrSqlDialect = 0;
    ASSERT_TRUE(q.Active());
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_TRUE(q.SQL().Text().contains(QStringLiteral("BillNo='zz90zz2121zzzzzzzz'")));
}

TEST_F(RctStrStore, PrepareGivesTheStructureTheStatementsColumns)
{
    storeBillItems();
    TQxRctStr s;
    int setTexts = 0;
    s.OnQxSetText = [&](TField* f, const QString& t) {
        ++setTexts;
        f->SetAsString(t);
    };
    s.Prepare(QStringLiteral("RBillItem"), true);
    ASSERT_TRUE(s.Active());
    EXPECT_EQ(s.FieldCount(), 8);
    EXPECT_EQ(s.ItemField(), QStringLiteral("itemindex"));
    EXPECT_EQ(s.IndexName(), QStringLiteral("ItemIdx"));
    TField* billNo = s.FieldByName(QStringLiteral("BillNo"));
    EXPECT_EQ(billNo->DisplayLabel(), QStringLiteral("单号"));
    EXPECT_TRUE(billNo->Required());
    EXPECT_FALSE(s.FieldByName(QStringLiteral("Qty"))->Required());
    EXPECT_EQ(s.FieldByName(QStringLiteral("Price"))->DataType(), ftCurrency);
    EXPECT_EQ(s.FieldByName(QStringLiteral("InDate"))->DataType(), ftDateTime);
    EXPECT_EQ(s.FieldByName(QStringLiteral("Paid"))->DataType(), ftBoolean);
    // Money shows with thousands separators and two decimals.
    EXPECT_EQ(s.FieldByName(QStringLiteral("Price"))->DisplayFormat(), QStringLiteral("#,##0.00"));
    s.Append();
    s.FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("B9"));
    s.FieldByName(QStringLiteral("Price"))->SetAsFloat(1234.5);
    EXPECT_EQ(s.FieldByName(QStringLiteral("Price"))->DisplayText(), QStringLiteral("1,234.50"));
    setTexts = 0;
    s.FieldByName(QStringLiteral("ItemCode"))->SetText(QStringLiteral("X"));
    EXPECT_EQ(setTexts, 1);
    s.Post();

    // Preparing again (without line numbers) rebuilds the layout on the same object.
    s.Prepare(QStringLiteral("RBillItem"), false);
    EXPECT_TRUE(s.Active());
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(s.IndexNames().isEmpty());
}

TEST_F(RctStrStore, PrepareWithoutACodeSaysSoAndShowsTheStatement)
{
    TQxRctStr s;
    scripted->answerMessage(qx::mrOk);
    scripted->answerMessage(qx::mrOk);
    s.Prepare(QString(), false);
    ASSERT_EQ(scripted->messages().size(), 2);
    EXPECT_EQ(scripted->messages().at(0), QStringLiteral("RctStr 不能为空"));
    EXPECT_FALSE(s.Active());
}

TEST_F(RctStrStore, OpenWhereAddsAWhereOrPutsTheConditionFirst)
{
    storeBillItems();
    TQxRctStr s;
    s.LoadByCode(QStringLiteral("RBillItem"));
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);

    s.OpenWhere(QStringLiteral("tBillItem.BillNo='B001'"), &q, QString());
    EXPECT_EQ(q.RecordCount(), 2);

    s.SetSQLMstSQL(QStringLiteral("Select * From tBillItem where Qty < 2 order by ItemIndex"));
    s.OpenWhere(QStringLiteral("BillNo='B001'"), &q, QString());
    EXPECT_TRUE(q.SQL().Text().contains(QStringLiteral("where (BillNo='B001') and (Qty < 2) order by")))
        << q.SQL().Text().toStdString();
    EXPECT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral("A1"));
}

TEST_F(RctStrStore, OpenWhereConditionHoldsAgainstAnOrOfTheStatement)
{
    TQxRctStr s;
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);
    // Without the parentheses the new condition would bind to the first half of the "or" only.
    s.SetSQLMstSQL(QStringLiteral("Select * From tBillItem Where Qty = 1 or Qty = 3 Order By BillNo"));
    s.OpenWhere(QStringLiteral("BillNo='B001'"), &q, QString());
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral("A1"));
}

TEST_F(RctStrStore, OpenWhereAddsItsWhereAheadOfTheOrder)
{
    TQxRctStr s;
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);
    s.SetSQLMstSQL(QStringLiteral("Select * From tBillItem Order By Qty Desc"));
    s.OpenWhere(QStringLiteral("BillNo='B001'"), &q, QStringLiteral("Top 1"));
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral("B2"));

    // A "where" inside a literal or a sub-select is not the statement's own.
    s.SetSQLMstSQL(QStringLiteral("Select * From tBillItem Where ItemName <> 'where' and ItemCode in"
                                  " (select ItemCode from tMaterial where Model = 'N70')"));
    s.OpenWhere(QStringLiteral("Qty = 2"), &q, QString());
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral("B2"));
    s.SetSQLMstSQL(QStringLiteral("Select * From tBillItem t1 where exists"
                                  " (select 1 from tMaterial m where m.ItemCode = t1.ItemCode)"));
    s.OpenWhere(QStringLiteral("BillNo='B002'"), &q, QString());
    EXPECT_EQ(q.RecordCount(), 1);
}

TEST_F(RctStrStore, OpenWhereTakesQuotedOrBoundValuesWithApostrophes)
{
    storeBillItems();
    TQxRctStr s;
    s.LoadByCode(QStringLiteral("RBillItem"));
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);

    s.OpenWhere(QStringLiteral("ItemCode=") + qx::quoteSqlString(QStringLiteral("O'K")), &q, QString());
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("BillNo"))->AsString(), QStringLiteral("B002"));

    s.OpenWhere(QStringLiteral("ItemCode=:Code"), &q, QString(),
                QVariantMap{{QStringLiteral("Code"), QStringLiteral("O'K")}});
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("电池"));
}

TEST_F(RctStrStore, OpenWhereLimitsTheRows)
{
    storeBillItems();
    TQxRctStr s;
    s.LoadByCode(QStringLiteral("RBillItem"));
    TQxADOQuery q;
    q.SetConnection(dm->conBusiness);
    s.OpenWhere(QString(), &q, QStringLiteral(" Top 2 "));
    EXPECT_EQ(q.RecordCount(), 2);
    s.OpenWhere(QStringLiteral("BillNo='B002'"), &q, QStringLiteral("Top 1"));
    EXPECT_EQ(q.RecordCount(), 1);
    s.OpenWhere(QString(), &q, QString());
    EXPECT_EQ(q.RecordCount(), 3);
}

TEST(RctStrWithoutModule, DatabaseStepsRefuseWithAMessage)
{
    ASSERT_EQ(dmDatabase, nullptr);
    TQxRctStr s;
    try {
        s.LoadByCode(QStringLiteral("RBillItem"));
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("库数据模块")));
    }
    EXPECT_THROW(s.SaveByCode(QStringLiteral("RBillItem")), EDatabaseError);
    EXPECT_THROW(s.SaveMaster(QString(), false), EDatabaseError);
}

} // namespace
