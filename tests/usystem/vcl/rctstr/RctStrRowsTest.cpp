// The rows of a prepared structure: defaults and line numbers of new rows, contiguous line
// numbers after a delete, the lookup of dependent fields, and the write-back to its table.
#include "RctStrTestSupport.h"
#include "tests/support/Scoped.h"

#include "platform/env/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/ado/QxBusinessTrans.h"

#include <QScopedValueRollback>

namespace {

class RctStrRows : public StructureDatabase
{
protected:
    void SetUp() override
    {
        StructureDatabase::SetUp();
        storeBillItems();
        s = std::make_unique<TQxRctStr>();
        s->OnQxSetText = [this](TField* f, const QString& t) { s->LookupFieldText(f, t); };
        s->Prepare(QStringLiteral("RBillItem"), true);
        ASSERT_TRUE(s->Active());
    }
    void TearDown() override
    {
        qx::clearToday();
        s.reset();
        StructureDatabase::TearDown();
    }

    void addLines(int n)
    {
        for (int i = 0; i < n; ++i) {
            s->Append();
            s->FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("B100"));
            s->FieldByName(QStringLiteral("ItemName"))->SetAsString(QStringLiteral("line %1").arg(i + 1));
            s->Post();
        }
    }

    QList<int> lines()
    {
        QList<int> out;
        for (s->First(); !s->Eof(); s->Next())
            out << s->FieldByName(QStringLiteral("ItemIndex"))->AsInteger();
        return out;
    }
    QStringList names()
    {
        QStringList out;
        for (s->First(); !s->Eof(); s->Next())
            out << s->FieldByName(QStringLiteral("ItemName"))->AsString();
        return out;
    }

    std::unique_ptr<TQxRctStr> s;
};

TEST_F(RctStrRows, NewRowTakesTheDefaultsAndTheNextLineNumber)
{
    const qx::test::ScopedToday today(QDate(2026, 3, 5));
    QStringList order;
    s->AfterInsert = [&](TDataSet* ds) {
        // The defaults are in before the form's handler; the line number comes after it.
        order << ds->FieldByName(QStringLiteral("Qty"))->AsString()
              << (ds->FieldByName(QStringLiteral("ItemIndex"))->IsNull() ? QStringLiteral("null")
                                                                        : QStringLiteral("set"));
    };
    s->Append();
    EXPECT_EQ(order, QStringList({"1", "null"}));
    EXPECT_EQ(s->FieldByName(QStringLiteral("Qty"))->AsInteger(), 1);
    EXPECT_EQ(s->FieldByName(QStringLiteral("InDate"))->AsDateTime().toQDateTime(), QDateTime(QDate(2026, 3, 5), QTime(0, 0)));
    EXPECT_TRUE(s->FieldByName(QStringLiteral("Paid"))->AsBoolean());
    EXPECT_TRUE(s->FieldByName(QStringLiteral("ItemCode"))->IsNull());
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemIndex"))->AsInteger(), 1);
    // The defaults count as entered: leaving the row posts it.
    s->FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("B100"));
    s->Post();
    s->Append();
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemIndex"))->AsInteger(), 2);
    s->Cancel();
}

TEST_F(RctStrRows, BooleanDefaultsAndQuotesInDefaults)
{
    struct Case
    {
        const char* defaultValue;
        bool paid;
    };
    for (const Case& c : {Case{"1", true}, Case{"'true'", true}, Case{"0", false}, Case{"yes", false},
                          Case{"", false}}) {
        s->MstSections()->Items(7)->SetDefaultValue(QString::fromUtf8(c.defaultValue));
        s->Append();
        EXPECT_EQ(s->FieldByName(QStringLiteral("Paid"))->AsBoolean(), c.paid) << c.defaultValue;
        EXPECT_FALSE(s->FieldByName(QStringLiteral("Paid"))->IsNull());
        s->Cancel();
    }
    s->MstSections()->Items(3)->SetDefaultValue(QStringLiteral(" '维修' "));
    s->Append();
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("维修"));
    s->Cancel();
}

TEST_F(RctStrRows, DefaultRaisesTheSetTextHandlerOfItsField)
{
    // A default item code fills the name from the parts table, as if typed.
    s->MstSections()->Items(2)->SetDefaultValue(QStringLiteral("A1"));
    s->Append();
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("屏幕"));
    s->Cancel();
}

TEST_F(RctStrRows, DeletingTheSecondOfFiveLinesLeavesOneToFour)
{
    addLines(5);
    EXPECT_EQ(lines(), QList<int>({1, 2, 3, 4, 5}));
    // The form's handler runs once the lines are numbered again.
    QList<int> seen;
    s->AfterDelete = [&](TDataSet* ds) { seen << ds->FieldByName(QStringLiteral("ItemIndex"))->AsInteger(); };
    s->SetRecNo(2);
    s->Delete();
    EXPECT_EQ(seen, QList<int>({2}));
    EXPECT_EQ(s->RecNo(), 2);
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("line 3"));
    EXPECT_EQ(lines(), QList<int>({1, 2, 3, 4}));
    EXPECT_EQ(names(), QStringList({"line 1", "line 3", "line 4", "line 5"}));

    s->Last();
    s->Delete();
    EXPECT_EQ(s->RecNo(), 3);
    EXPECT_EQ(lines(), QList<int>({1, 2, 3}));
}

TEST_F(RctStrRows, RenumberingKeepsTheRowsAFilterHides)
{
    addLines(4);
    s->SetFilter(QStringLiteral("ItemName <> 'line 3'"));
    s->SetFiltered(true);
    s->First();
    s->Delete(); // line 1
    EXPECT_TRUE(s->Filtered());
    EXPECT_EQ(s->RecordCount(), 2);
    s->SetFiltered(false);
    EXPECT_EQ(names(), QStringList({"line 2", "line 3", "line 4"}));
    EXPECT_EQ(lines(), QList<int>({1, 2, 3}));
}

TEST_F(RctStrRows, TypedCodeFillsTheDependentFields)
{
    s->Append();
    s->FieldByName(QStringLiteral("ItemCode"))->SetText(QStringLiteral(" B2 "));
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral(" B2 "));
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("外壳"));
    EXPECT_EQ(s->FieldByName(QStringLiteral("Price"))->AsFloat(), 1234.5);

    // An apostrophe in the typed code is a value, not SQL.
    s->FieldByName(QStringLiteral("ItemCode"))->SetText(QStringLiteral("O'K"));
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("电池"));
    EXPECT_EQ(s->FieldByName(QStringLiteral("Price"))->AsFloat(), 35.5);
    s->Cancel();
}

TEST_F(RctStrRows, CodeThatMatchesNothingEmptiesOrOpensThePartPicker)
{
    // Without the parts dialogs nothing opens and the missing dialog is reported; the typed
    // code stays, the others keep theirs.
    s->Append();
    s->FieldByName(QStringLiteral("ItemCode"))->SetText(QStringLiteral("A1"));
    {
        const qx::test::ScopedMissingBindings missing;
        s->FieldByName(QStringLiteral("ItemCode"))->SetText(QStringLiteral("ZZ"));
        EXPECT_EQ(missing.reported(), QStringList{QStringLiteral("SelectItemByName")});
    }
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemCode"))->AsString(), QStringLiteral("ZZ"));
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("屏幕"));

    QStringList opened;
    {
        const QScopedValueRollback<decltype(qx::selectItemByName)> picker(
            qx::selectItemByName, [&](const QString& Name, const QString& Model, TField* Field) {
                opened << Name << Model << Field->FieldName();
            });
        s->FieldByName(QStringLiteral("ItemCode"))->SetText(QStringLiteral("YY"));
    }
    EXPECT_EQ(opened, QStringList({"YY", "", "ItemCode"}));

    // An emptied code empties the fields filled from it.
    s->FieldByName(QStringLiteral("ItemCode"))->SetText(QString());
    EXPECT_TRUE(s->FieldByName(QStringLiteral("ItemName"))->IsNull());
    EXPECT_TRUE(s->FieldByName(QStringLiteral("Price"))->IsNull());
    s->Cancel();
}

TEST_F(RctStrRows, OtherKeysEmptyTheirDependentsWhenNothingMatches)
{
    TQxRctStr t;
    t.OnQxSetText = [&t](TField* f, const QString& text) { t.LookupFieldText(f, text); };
    t.FieldDefs()->Add("Model", ftString, 20);
    t.FieldDefs()->Add("ItemName", ftString, 40);
    t.Open();
    TMstSection* model = define(t, QStringLiteral("Model"), QStringLiteral("机型"));
    model->SetTableName(QStringLiteral("tMaterial[Model]"));
    define(t, QStringLiteral("ItemName"), QStringLiteral("名称"))->SetLookupKey(QStringLiteral("Model"));
    t.Fields()->Fields(0)->OnSetText = t.OnQxSetText;
    t.Append();
    t.FieldByName(QStringLiteral("Model"))->SetText(QStringLiteral("N73"));
    EXPECT_EQ(t.FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("电池"));
    t.FieldByName(QStringLiteral("Model"))->SetText(QStringLiteral("N95"));
    EXPECT_EQ(t.FieldByName(QStringLiteral("Model"))->AsString(), QStringLiteral("N95"));
    EXPECT_TRUE(t.FieldByName(QStringLiteral("ItemName"))->IsNull());
    t.Cancel();
}

TEST_F(RctStrRows, LookupsChainThroughTheFilledFieldsHandlers)
{
    TQxRctStr t;
    t.FieldDefs()->Add("PartCode", ftString, 20);
    t.FieldDefs()->Add("Model", ftString, 20);
    t.FieldDefs()->Add("ModelPart", ftString, 40);
    t.Open();
    TMstSection* code = define(t, QStringLiteral("tMaterial.ItemCode as PartCode"), QStringLiteral("编号"));
    code->SetTableName(QStringLiteral("tMaterial"));
    code->SetActionType(QStringLiteral("BMaterial"));
    define(t, QStringLiteral("Model"), QStringLiteral("机型"))
        ->SetTableName(QStringLiteral("tMaterial[Model]"));
    t.MstSections()->Items(1)->SetLookupKey(QStringLiteral("PartCode[Model]"));
    define(t, QStringLiteral("ModelPart"), QStringLiteral("同机型零件"))
        ->SetLookupKey(QStringLiteral("Model[ItemName]"));
    for (TField* f : *t.Fields())
        f->OnSetText = [&t](TField* field, const QString& text) { t.LookupFieldText(field, text); };
    t.Append();
    t.FieldByName(QStringLiteral("PartCode"))->SetText(QStringLiteral("O'K"));
    EXPECT_EQ(t.FieldByName(QStringLiteral("Model"))->AsString(), QStringLiteral("N73"));
    EXPECT_EQ(t.FieldByName(QStringLiteral("ModelPart"))->AsString(), QStringLiteral("电池"));
    // The same code again looks nothing up: the picker code alone asks for a changed text.
    t.FieldByName(QStringLiteral("ModelPart"))->SetAsString(QStringLiteral("kept"));
    t.FieldByName(QStringLiteral("PartCode"))->SetText(QStringLiteral("O'K"));
    EXPECT_EQ(t.FieldByName(QStringLiteral("ModelPart"))->AsString(), QStringLiteral("kept"));
    t.Cancel();
}

TEST_F(RctStrRows, PlainFieldsAndNumbersTakeTheTextWithoutALookup)
{
    s->Append();
    s->FieldByName(QStringLiteral("Qty"))->SetText(QStringLiteral("7"));
    EXPECT_EQ(s->FieldByName(QStringLiteral("Qty"))->AsInteger(), 7);
    s->FieldByName(QStringLiteral("ItemName"))->SetText(QStringLiteral("自备"));
    EXPECT_EQ(s->FieldByName(QStringLiteral("ItemName"))->AsString(), QStringLiteral("自备"));
    s->Cancel();
}

TEST_F(RctStrRows, SaveMasterReplacesTheBillsRowsInOneTransaction)
{
    addLines(3);
    s->SetRecNo(2);
    ASSERT_TRUE(s->SaveMaster(QStringLiteral("BillNo=:BillNo"), false,
                              QVariantMap{{QStringLiteral("BillNo"), QStringLiteral("B100")}}));
    EXPECT_TRUE(s->SaveMasterError().isEmpty());
    EXPECT_EQ(s->RecNo(), 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem where BillNo='B100'")), 3);
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem where BillNo='B100' and ItemIndex=3"
                                   " and ItemName='line 3' and Qty=1 and Paid=1")), 1);
    EXPECT_FALSE(dm->conBusiness->InTransaction());

    // Saving again replaces the rows instead of adding to them.
    s->First();
    s->Delete();
    ASSERT_TRUE(s->SaveMaster(QStringLiteral("BillNo='B100'"), false));
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem where BillNo='B100'")), 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem")), 5);
}

TEST_F(RctStrRows, FailedSaveRollsEverythingBack)
{
    addLines(3);
    // The last line breaks the table's NOT NULL rule after the delete and two inserts ran.
    s->Last();
    s->Edit();
    s->FieldByName(QStringLiteral("BillNo"))->SetRequired(false);
    s->FieldByName(QStringLiteral("BillNo"))->Clear();
    s->Post();
    EXPECT_FALSE(s->SaveMaster(QStringLiteral("BillNo='B001'"), false));
    EXPECT_FALSE(s->SaveMasterError().isEmpty());
    EXPECT_FALSE(dm->conBusiness->InTransaction());
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem where BillNo='B001'")), 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem")), 3);
    EXPECT_TRUE(scripted->shown().isEmpty());
}

TEST_F(RctStrRows, SaveInsideAnOpenTransactionStaysPartOfIt)
{
    addLines(2);
    StartBusinessTrans();
    dm->conBusiness->Execute(QStringLiteral("delete from tBillItem where BillNo='B002'"));
    ASSERT_TRUE(s->SaveMaster(QStringLiteral("BillNo='B100'"), false));
    // The caller's work is not committed by the save.
    EXPECT_TRUE(dm->conBusiness->InTransaction());
    EXPECT_EQ(dm->conBusiness->TransactionLevel(), 1);
    RollbackBusinessTrans();
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem where BillNo='B100'")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem where BillNo='B002'")), 1);

    // A failed save inside it rolls back only its own part.
    StartBusinessTrans();
    dm->conBusiness->Execute(QStringLiteral("delete from tBillItem where BillNo='B002'"));
    s->Last();
    s->Edit();
    s->FieldByName(QStringLiteral("BillNo"))->SetRequired(false);
    s->FieldByName(QStringLiteral("BillNo"))->Clear();
    s->Post();
    EXPECT_FALSE(s->SaveMaster(QStringLiteral("BillNo='B001'"), false));
    EXPECT_EQ(dm->conBusiness->TransactionLevel(), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem where BillNo='B001'")), 2);
    CommitBusinessTrans();
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem where BillNo='B002'")), 0);
}

TEST_F(RctStrRows, EditOnlyWritesTheCurrentRowOverTheSelectedOneOrAddsIt)
{
    addLines(2);
    s->First();
    s->Edit();
    s->FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("B002"));
    s->FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("O'K"));
    s->FieldByName(QStringLiteral("Qty"))->SetAsInteger(9);
    // The pending edit is posted first.
    ASSERT_TRUE(s->SaveMaster(QStringLiteral("ItemCode=:Code"), true,
                              QVariantMap{{QStringLiteral("Code"), QStringLiteral("O'K")}}));
    EXPECT_EQ(s->State(), dsBrowse);
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem")), 3);
    EXPECT_EQ(count(QStringLiteral("select Qty from tBillItem where ItemCode='O''K'")), 9);

    s->Next();
    s->Edit();
    s->FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("NEW"));
    s->Post();
    ASSERT_TRUE(s->SaveMaster(QStringLiteral("ItemCode='NEW'"), true));
    EXPECT_EQ(count(QStringLiteral("select count(*) from tBillItem")), 4);
}

} // namespace
