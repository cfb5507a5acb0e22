// The document structure as a type: its definitions and conditions, what Clear and CopyFrom
// keep, its statement per dialect, and its image in a blob field.
#include "usystem/vcl/rctstr/uQxRctStr.h"

#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"
#include "platform/stream/ClassRegistry.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TMstSection* define(TQxRctStr& s, const QString& field)
{
    TMstSection* d = s.MstSections()->Add();
    d->SetFieldName(field);
    return d;
}

TEST(RctStrDefinition, FieldNamesMatchAliasesWithoutCase)
{
    TQxRctStr s;
    define(s, QStringLiteral("ItemCode"));
    define(s, QStringLiteral("tMaterial.ItemName as PartName"));
    define(s, QStringLiteral("Qty"));
    const TMstSections* d = s.MstSections();
    EXPECT_EQ(d->IndexOfField(QStringLiteral("itemcode")), 0);
    EXPECT_EQ(d->IndexOfField(QStringLiteral("PARTNAME")), 1);
    EXPECT_EQ(d->IndexOfField(QStringLiteral("ItemName")), -1);
    EXPECT_EQ(d->IndexOfField(QStringLiteral("tMaterial.ItemName as PartName")), -1);
    EXPECT_EQ(d->IndexOfField(QStringLiteral("Price")), -1);
}

TEST(RctStrDefinition, SourceColumnAndTable)
{
    TQxRctStr s;
    TMstSection* alias = define(s, QStringLiteral("M.ItemName as PartName"));
    alias->SetTableName(QStringLiteral("tMaterial[ItemCode]"));
    TMstSection* bracket = define(s, QStringLiteral("Code"));
    bracket->SetTableName(QStringLiteral("tMaterial[ItemCode]"));
    TMstSection* plain = define(s, QStringLiteral("Qty"));
    plain->SetTableName(QStringLiteral("tBillItem"));

    EXPECT_EQ(alias->DataFieldName(), QStringLiteral("PartName"));
    EXPECT_EQ(alias->SourceField(), QStringLiteral("M.ItemName"));
    EXPECT_EQ(bracket->SourceField(), QStringLiteral("ItemCode"));
    EXPECT_EQ(bracket->SourceTable(), QStringLiteral("tMaterial"));
    EXPECT_EQ(plain->SourceField(), QStringLiteral("Qty"));
    EXPECT_EQ(plain->SourceTable(), QStringLiteral("tBillItem"));
}

TEST(RctStrDefinition, NewDefinitionHasItsDefaults)
{
    TQxRctStr s;
    const TMstSection* d = define(s, QStringLiteral("Qty"));
    EXPECT_TRUE(d->CanNull());
    EXPECT_FALSE(d->Visible());
    EXPECT_FALSE(d->IsReadOnly());
    EXPECT_EQ(d->displaySize(), 0);
}

TEST(RctStrDefinition, AssignCopiesEveryValueAndRefusesOtherClasses)
{
    TQxRctStr s;
    TMstSection* a = define(s, QStringLiteral("ItemCode"));
    a->SetCFieldName(QStringLiteral("编号"));
    a->SetTableName(QStringLiteral("tMaterial[ItemCode]"));
    a->SetLookUp(QStringLiteral("L"));
    a->SetDefaultValue(QStringLiteral("X"));
    a->SetIsReadOnly(true);
    a->SetCanNull(false);
    a->SetMaxValue(QStringLiteral("9"));
    a->SetMinValue(QStringLiteral("1"));
    a->SetVisible(true);
    a->SetLookupKey(QStringLiteral("K"));
    a->SetActionType(QStringLiteral("BMaterial"));
    a->SetDisplaySize(80);
    a->SetRightField(QStringLiteral("R"));
    a->SetDBControl(QStringLiteral("DBVBase"));
    TMstSection* b = s.MstSections()->Add();
    b->Assign(a);
    for (const char* name : {"FieldName", "CFieldName", "TableName", "LookUp", "DefaultValue",
                             "IsReadOnly", "CanNull", "MaxValue", "MinValue", "Visible", "LookupKey",
                             "ActionType", "displaySize", "RightField", "DBControl"})
        EXPECT_EQ(b->property(name), a->property(name)) << name;

    TFindsection* f = s.FindSections()->Add();
    f->SetFieldName(QStringLiteral("BillNo"));
    f->SetLogicChar(QStringLiteral("并且"));
    f->SetInPutType(QStringLiteral("BPYWB"));
    TFindsection* g = s.FindSections()->Add();
    g->Assign(f);
    EXPECT_EQ(g->FieldName(), QStringLiteral("BillNo"));
    EXPECT_EQ(g->logicChar(), QStringLiteral("并且"));
    EXPECT_EQ(g->InPutType(), QStringLiteral("BPYWB"));

    EXPECT_THROW(b->Assign(f), EConvertError);
    EXPECT_THROW(g->Assign(a), EConvertError);
}

TEST(RctStrDefinition, ExchangeSwapsTwoPlaces)
{
    TQxRctStr s;
    for (const char* name : {"A", "B", "C", "D"})
        define(s, QString::fromLatin1(name));
    s.MstSections()->Exchange(3, 1);
    QStringList order;
    for (int i = 0; i < s.MstSections()->Count(); ++i)
        order << s.MstSections()->Items(i)->FieldName();
    EXPECT_EQ(order, QStringList({"A", "D", "C", "B"}));
}

void fill(TQxRctStr& s)
{
    define(s, QStringLiteral("BillNo"));
    s.FindSections()->Add()->SetFieldName(QStringLiteral("BillNo"));
    s.SetMstTableName(QStringLiteral("tBillItem"));
    s.SetMstCondition(QStringLiteral("BillNo=:BillNo"));
    s.SetGenCondition(QStringLiteral("BillNo=?"));
    s.SetSQLMstSQL(QStringLiteral("Select * From tBillItem"));
    s.SetGenMstSQL(QStringLiteral("select * from tBillItem"));
    s.SetItemField(QStringLiteral("itemindex"));
    s.SetConditionRemark(QStringLiteral("按单号"));
}

TEST(RctStrType, ClearEmptiesTheStatementInForceToo)
{
    TQxRctStr s;
    fill(s);
    s.Clear();
    EXPECT_EQ(s.MstSections()->Count(), 0);
    EXPECT_EQ(s.FindSections()->Count(), 0);
    EXPECT_TRUE(s.MstTableName().isEmpty());
    EXPECT_TRUE(s.MstCondition().isEmpty());
    EXPECT_TRUE(s.GenCondition().isEmpty());
    EXPECT_TRUE(s.MstSQL().isEmpty());
    EXPECT_TRUE(s.SQLMstSQL().isEmpty());
    EXPECT_TRUE(s.GenMstSQL().isEmpty());
    EXPECT_EQ(s.ItemField(), QStringLiteral("itemindex"));
    EXPECT_EQ(s.ConditionRemark(), QStringLiteral("按单号"));
}

TEST(RctStrType, MstSqlReadsTheStatementOfTheDialect)
{
    TQxRctStr s;
    fill(s);
    s.SetMstSQL(QStringLiteral("ignored"));
    EXPECT_EQ(s.MstSQL(), QStringLiteral("Select * From tBillItem"));
    RctStrSqlDialect = 1;
    EXPECT_EQ(s.MstSQL(), QStringLiteral("select * from tBillItem"));
    RctStrSqlDialect = 0;
}

TEST(RctStrType, CopyFromTakesAllButTheLineField)
{
    TQxRctStr source;
    fill(source);
    TQxRctStr copy;
    copy.SetItemField(QStringLiteral("Line"));
    copy.CopyFrom(&source);
    EXPECT_EQ(copy.MstSections()->Count(), 1);
    EXPECT_EQ(copy.FindSections()->Count(), 1);
    EXPECT_EQ(copy.MstTableName(), source.MstTableName());
    EXPECT_EQ(copy.MstCondition(), source.MstCondition());
    EXPECT_EQ(copy.GenCondition(), source.GenCondition());
    EXPECT_EQ(copy.SQLMstSQL(), source.SQLMstSQL());
    EXPECT_EQ(copy.GenMstSQL(), source.GenMstSQL());
    EXPECT_EQ(copy.ConditionRemark(), source.ConditionRemark());
    EXPECT_EQ(copy.ItemField(), QStringLiteral("Line"));
    // A copy of definitions, not the same objects.
    source.MstSections()->Items(0)->SetFieldName(QStringLiteral("Changed"));
    EXPECT_EQ(copy.MstSections()->Items(0)->FieldName(), QStringLiteral("BillNo"));
}

TEST(RctStrType, CreatingAStructureRegistersTheClassesAnImageMayName)
{
    TQxRctStr s;
    for (const char* name : {"TQxRctStr", "TMstSections", "TStringField", "TFloatField", "TBCDField",
                             "TBooleanField", "TAutoIncField", "TBlobField", "TDateTimeField",
                             "TGraphicField", "TMemoField", "TCurrencyField"})
        EXPECT_NE(qx::findClass(name), nullptr) << name;
}

class RctStrImage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table.FieldDefs()->Add("RctCode", ftString, 30);
        table.FieldDefs()->Add("RctData", ftBlob);
        table.Open();
        table.Append();
        table.FieldByName("RctCode")->SetAsString(QStringLiteral("RBill"));
        table.Post();
    }
    TQxMemTable table;
};

TEST_F(RctStrImage, StructureWrittenToABlobReadsBackWhole)
{
    TQxRctStr source;
    source.setObjectName(QStringLiteral("TblBill"));
    fill(source);
    TMstSection* d = source.MstSections()->Items(0);
    d->SetCFieldName(QStringLiteral("单号"));
    d->SetCanNull(false);
    d->SetVisible(true);
    d->SetDisplaySize(90);
    d->SetActionType(QStringLiteral("BBill"));
    define(source, QStringLiteral("Qty"))->SetDefaultValue(QStringLiteral("1"));
    TFindsection* f = source.FindSections()->Items(0);
    f->SetOperateChar(QStringLiteral("包含于"));
    f->SetFieldValue(QStringLiteral("O'K"));
    // An open, filtered structure with an index writes neither its open state, its order nor
    // its filter.
    source.FieldDefs()->Add("ItemIndex", ftInteger);
    source.AddIndex(QStringLiteral("Itemidx"), QStringLiteral("ItemIndex"));
    source.Open();
    source.SetIndexName(QStringLiteral("Itemidx"));
    source.Append();
    source.FieldByName("ItemIndex")->SetAsInteger(1);
    source.Post();
    source.SetFilter(QStringLiteral("ItemIndex > 0"));
    source.SetFiltered(true);

    source.SaveToDataSet(&table);
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_TRUE(table.FieldByName("RctData")->AsBytes().startsWith("TPF0"));

    TQxRctStr loaded;
    loaded.SetItemField(QStringLiteral("Line"));
    ASSERT_TRUE(loaded.LoadFromDataSet(&table));
    ASSERT_EQ(loaded.MstSections()->Count(), 2);
    const TMstSection* e = loaded.MstSections()->Items(0);
    EXPECT_EQ(e->FieldName(), QStringLiteral("BillNo"));
    EXPECT_EQ(e->CFieldName(), QStringLiteral("单号"));
    EXPECT_FALSE(e->CanNull());
    EXPECT_TRUE(e->Visible());
    EXPECT_EQ(e->displaySize(), 90);
    EXPECT_EQ(e->ActionType(), QStringLiteral("BBill"));
    EXPECT_TRUE(loaded.MstSections()->Items(1)->CanNull());
    EXPECT_EQ(loaded.MstSections()->Items(1)->DefaultValue(), QStringLiteral("1"));
    ASSERT_EQ(loaded.FindSections()->Count(), 1);
    EXPECT_EQ(loaded.FindSections()->Items(0)->OperateChar(), QStringLiteral("包含于"));
    EXPECT_EQ(loaded.FindSections()->Items(0)->FieldValue(), QStringLiteral("O'K"));
    EXPECT_EQ(loaded.SQLMstSQL(), source.SQLMstSQL());
    EXPECT_EQ(loaded.GenMstSQL(), source.GenMstSQL());
    EXPECT_EQ(loaded.MstTableName(), source.MstTableName());
    EXPECT_EQ(loaded.MstCondition(), source.MstCondition());
    EXPECT_EQ(loaded.GenCondition(), source.GenCondition());
    EXPECT_EQ(loaded.ConditionRemark(), source.ConditionRemark());
    EXPECT_EQ(loaded.ItemField(), QStringLiteral("Line"));
    EXPECT_FALSE(loaded.Active());
    EXPECT_FALSE(loaded.Filtered());
    EXPECT_TRUE(loaded.Filter().isEmpty());
    // The structure read from the image is gone once copied.
    EXPECT_TRUE(loaded.findChildren<TQxRctStr*>().isEmpty());
}

TEST_F(RctStrImage, EmptyBlobOrEmptyDataSetLeavesTheStructureCleared)
{
    TQxRctStr s;
    fill(s);
    EXPECT_FALSE(s.LoadFromDataSet(&table));
    EXPECT_EQ(s.MstSections()->Count(), 0);
    EXPECT_TRUE(s.MstSQL().isEmpty());

    fill(s);
    table.Delete();
    EXPECT_FALSE(s.LoadFromDataSet(&table));
    EXPECT_TRUE(s.MstTableName().isEmpty());
}

TEST_F(RctStrImage, DamagedImageRaisesAndLeavesNothingBehind)
{
    table.Edit();
    table.FieldByName("RctData")->SetAsBytes(QByteArray("TPF0\x09TQxRctStr\x04", 15));
    table.Post();
    TQxRctStr s;
    EXPECT_THROW(s.LoadFromDataSet(&table), EReadError);
    EXPECT_TRUE(s.findChildren<TQxRctStr*>().isEmpty());
}

} // namespace
