#include "TestTables.h"

#include <gtest/gtest.h>

using qxtest::addPart;
using qxtest::codes;
using qxtest::partsTable;

namespace {

// Records every dataset event by name, in order.
struct EventLog
{
    QStringList names;
    void attach(TDataSet& t)
    {
        auto rec = [this](const char* n) { return [this, n](TDataSet*) { names << QString::fromLatin1(n); }; };
        t.BeforeOpen = rec("BeforeOpen");
        t.AfterOpen = rec("AfterOpen");
        t.BeforeClose = rec("BeforeClose");
        t.AfterClose = rec("AfterClose");
        t.BeforeInsert = rec("BeforeInsert");
        t.AfterInsert = rec("AfterInsert");
        t.BeforeEdit = rec("BeforeEdit");
        t.AfterEdit = rec("AfterEdit");
        t.BeforePost = rec("BeforePost");
        t.AfterPost = rec("AfterPost");
        t.BeforeCancel = rec("BeforeCancel");
        t.AfterCancel = rec("AfterCancel");
        t.BeforeDelete = rec("BeforeDelete");
        t.AfterDelete = rec("AfterDelete");
        t.BeforeScroll = rec("BeforeScroll");
        t.AfterScroll = rec("AfterScroll");
        t.OnNewRecord = rec("OnNewRecord");
    }
    QString take()
    {
        const QString s = names.join(u' ');
        names.clear();
        return s;
    }
};

} // namespace

TEST(DataSet, StateTransitionsFireEventsInOrder)
{
    auto t = partsTable();
    EventLog log;
    log.attach(*t);

    t->Append();
    EXPECT_EQ(t->State(), dsInsert);
    EXPECT_EQ(log.take(), "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll");
    t->FieldByName("Code")->SetAsString("A1");
    t->Post();
    EXPECT_EQ(t->State(), dsBrowse);
    EXPECT_EQ(log.take(), "BeforePost AfterPost");

    t->Edit();
    EXPECT_EQ(t->State(), dsEdit);
    EXPECT_EQ(log.take(), "BeforeEdit AfterEdit");
    t->Cancel();
    EXPECT_EQ(log.take(), "BeforeCancel AfterCancel");

    t->Delete();
    EXPECT_EQ(log.take(), "BeforeDelete BeforeScroll AfterDelete AfterScroll");
    EXPECT_TRUE(t->IsEmpty());

    t->Close();
    EXPECT_EQ(log.take(), "BeforeClose AfterClose");
    EXPECT_EQ(t->State(), dsInactive);
    t->Open();
    EXPECT_EQ(log.take(), "BeforeOpen AfterOpen");
}

TEST(DataSet, NewRecordValuesDoNotCountAsModified)
{
    auto t = partsTable();
    t->OnNewRecord = [](TDataSet* ds) { ds->FieldByName("Qty")->SetAsInteger(1); };
    t->Append();
    EXPECT_EQ(t->FieldByName("Qty")->AsInteger(), 1);
    EXPECT_FALSE(t->Modified());
    // An untouched new record goes away when the cursor moves.
    t->Prior();
    EXPECT_EQ(t->RecordCount(), 0);
    EXPECT_EQ(t->State(), dsBrowse);
}

TEST(DataSet, PendingEditPostsWhenTheCursorMoves)
{
    auto t = partsTable();
    addPart(*t, "A", "a", 1, 1);
    addPart(*t, "B", "b", 2, 2);
    t->First();
    t->Edit();
    t->FieldByName("Name")->SetAsString("changed");
    EXPECT_TRUE(t->Modified());
    t->Next();
    EXPECT_EQ(t->State(), dsBrowse);
    t->First();
    EXPECT_EQ(t->FieldByName("Name")->AsString(), "changed");

    // A modified new record is posted by a move as well.
    t->Append();
    t->FieldByName("Code")->SetAsString("C");
    t->First();
    EXPECT_EQ(codes(*t), (QStringList{"A", "B", "C"}));
}

TEST(DataSet, RequiredFieldsAreCheckedOnPost)
{
    TQxMemTable t;
    t.FieldDefs()->Add("Code", ftString, 10, true);
    t.FieldDefs()->Add("Name", ftString, 10);
    t.Open();
    t.Append();
    t.FieldByName("Name")->SetAsString("x");
    try {
        t.Post();
        FAIL() << "post without the required value";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Field 'Code' must have a value");
    }
    EXPECT_EQ(t.State(), dsInsert);
    // The display label names the field in the message.
    t.FieldByName("Code")->SetDisplayLabel("编号");
    EXPECT_THROW(t.Post(), EDatabaseError);
    t.FieldByName("Code")->SetAsString("1");
    t.Post();
    EXPECT_EQ(t.RecordCount(), 1);
}

TEST(DataSet, PostErrorHandlerCanRetryOrAbort)
{
    TQxMemTable t;
    t.FieldDefs()->Add("Code", ftString, 10, true);
    t.Open();
    int calls = 0;
    t.OnPostError = [&](TDataSet* ds, EDatabaseError&, TDataAction& action) {
        ++calls;
        ds->FieldByName("Code")->SetAsString("fixed");
        action = daRetry;
    };
    t.Append();
    t.Post();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(t.FieldByName("Code")->AsString(), "fixed");

    t.OnPostError = [](TDataSet*, EDatabaseError&, TDataAction& action) { action = daAbort; };
    t.Append();
    EXPECT_THROW(t.Post(), EAbort);
    EXPECT_EQ(t.State(), dsInsert);
}

TEST(DataSet, EditOnAnEmptyDatasetStartsANewRecord)
{
    auto t = partsTable();
    t->Edit();
    EXPECT_EQ(t->State(), dsInsert);
}

TEST(DataSet, NavigationReportsDistancesAndEnds)
{
    auto t = partsTable();
    for (int i = 1; i <= 5; ++i)
        addPart(*t, QString::number(i), "n", i, i);
    t->First();
    EXPECT_TRUE(t->Bof());
    EXPECT_EQ(t->MoveBy(3), 3);
    EXPECT_EQ(t->RecNo(), 4);
    EXPECT_EQ(t->MoveBy(10), 1);
    EXPECT_TRUE(t->Eof());
    EXPECT_EQ(t->MoveBy(1), 0);
    EXPECT_EQ(t->MoveBy(-10), -4);
    EXPECT_TRUE(t->Bof());
    t->SetRecNo(3);
    EXPECT_EQ(t->FieldByName("Code")->AsString(), "3");
    t->Last();
    EXPECT_TRUE(t->Eof());
    EXPECT_EQ(t->RecNo(), 5);
    EXPECT_TRUE(t->IsSequenced());
}

TEST(DataSet, InsertPutsTheRecordBeforeTheCurrentOne)
{
    auto t = partsTable();
    addPart(*t, "A", "a", 1, 1);
    addPart(*t, "C", "c", 1, 1);
    t->Last();
    t->Insert();
    t->FieldByName("Code")->SetAsString("B");
    t->Post();
    EXPECT_EQ(t->FieldByName("Code")->AsString(), "B");
    EXPECT_EQ(codes(*t), (QStringList{"A", "B", "C"}));
}

TEST(DataSet, ErrorsCarryTheSystemsTexts)
{
    auto t = partsTable();
    auto message = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const Exception& e) {
            return e.Message();
        }
        return QString();
    };
    EXPECT_EQ(message([&] { t->FieldByName("Nope"); }), "Field 'Nope' not found");
    EXPECT_EQ(t->FindField("cODE"), t->FieldByName("code"));
    EXPECT_EQ(t->FindField("nope"), nullptr);
    EXPECT_EQ(message([&] { t->Delete(); }), "Cannot perform this operation on an empty dataset");
    addPart(*t, "A", "a", 1, 1);
    EXPECT_EQ(message([&] { t->FieldByName("Code")->SetAsString("x"); }), "Dataset not in edit or insert mode");
    t->SetReadOnly(true);
    EXPECT_EQ(message([&] { t->Append(); }), "Cannot modify a read-only dataset");
    t->Close();
    EXPECT_EQ(message([&] { t->First(); }), "Cannot perform this operation on a closed dataset");
}

TEST(DataSet, ReadOnlyFieldRefusesValues)
{
    auto t = partsTable();
    t->FieldByName("Qty")->SetReadOnly(true);
    t->Append();
    EXPECT_THROW(t->FieldByName("Qty")->SetAsInteger(3), EDatabaseError);
    EXPECT_FALSE(t->FieldByName("Qty")->CanModify());
    EXPECT_TRUE(t->FieldByName("Code")->CanModify());
}

TEST(DataSet, DeletingTheLastRowMovesToTheNewLast)
{
    auto t = partsTable();
    addPart(*t, "A", "a", 1, 1);
    addPart(*t, "B", "b", 1, 1);
    t->Last();
    t->Delete();
    EXPECT_EQ(t->FieldByName("Code")->AsString(), "A");
    EXPECT_EQ(t->RecordCount(), 1);
}

TEST(DataSet, SortKeepsTheCurrentRowAndOrdersNewRows)
{
    auto t = partsTable();
    addPart(*t, "b", "x", 2, 1);
    addPart(*t, "C", "x", 1, 1);
    addPart(*t, "a", "y", 3, 1);
    t->First();
    t->Next(); // "C"
    t->SetSort("Code");
    EXPECT_EQ(t->FieldByName("Code")->AsString(), "C");
    EXPECT_EQ(t->RecNo(), 3);
    EXPECT_EQ(codes(*t), (QStringList{"a", "b", "C"}));
    t->SetSort("Name DESC, Qty ASC");
    EXPECT_EQ(codes(*t), (QStringList{"a", "C", "b"}));
    t->SetSort("Code");
    addPart(*t, "B2", "z", 0, 0);
    EXPECT_EQ(t->FieldByName("Code")->AsString(), "B2");
    EXPECT_EQ(codes(*t), (QStringList{"a", "b", "B2", "C"}));
    t->SetSort(QString());
    EXPECT_EQ(codes(*t), (QStringList{"b", "C", "a", "B2"}));
    EXPECT_THROW(t->SetSort("Nope"), EDatabaseError);
}

TEST(DataSet, FilterTextAndHandler)
{
    auto t = partsTable();
    addPart(*t, "A1", "螺丝", 5, 1.5);
    addPart(*t, "A2", "screen", 0, 10);
    addPart(*t, "B1", "Screw", 7, 0);
    t->SetFilter("Name = 'scr*' and Qty > 1");
    t->SetFiltered(true);
    EXPECT_EQ(codes(*t), (QStringList{"B1"}));
    t->SetFilter("Code <> 'A2' or Price >= 10");
    EXPECT_EQ(t->RecordCount(), 3);
    t->SetFilter("not (Qty = 0) and Name is not null");
    EXPECT_EQ(codes(*t), (QStringList{"A1", "B1"}));
    t->OnFilterRecord = [](TDataSet* ds, bool& accept) { accept = ds->FieldByName("Price")->AsCurrency() > Currency(1); };
    t->Refresh();
    EXPECT_EQ(codes(*t), (QStringList{"A1"}));
    t->SetFiltered(false);
    EXPECT_EQ(t->RecordCount(), 3);
    EXPECT_THROW(t->SetFilter("Name = 'open"), EDatabaseError);
    EXPECT_THROW(t->SetFilter("Name ="), EDatabaseError);
}

TEST(DataSet, PostedRowThatLeavesTheFilterLeavesTheView)
{
    auto t = partsTable();
    addPart(*t, "A", "a", 1, 1);
    addPart(*t, "B", "b", 2, 1);
    t->SetFilter("Qty > 0");
    t->SetFiltered(true);
    t->First();
    t->Edit();
    t->FieldByName("Qty")->SetAsInteger(0);
    t->Post();
    EXPECT_EQ(t->RecordCount(), 1);
    EXPECT_EQ(t->FieldByName("Code")->AsString(), "B");
}

TEST(DataSet, CalculatedAndLookupFields)
{
    auto units = std::make_unique<TQxMemTable>();
    units->FieldDefs()->Add("UCode", ftString, 4);
    units->FieldDefs()->Add("UName", ftString, 10);
    units->Open();
    for (auto [c, n] : {std::pair{"1", "个"}, std::pair{"2", "箱"}}) {
        units->Append();
        units->FieldByName("UCode")->SetAsString(c);
        units->FieldByName("UName")->SetAsString(n);
        units->Post();
    }

    TQxMemTable t;
    t.FieldDefs()->Add("Qty", ftInteger);
    t.FieldDefs()->Add("Price", ftCurrency);
    t.FieldDefs()->Add("Unit", ftString, 4);
    auto* amount = new TCurrencyField(&t);
    amount->SetFieldName("Amount");
    amount->SetFieldKind(fkCalculated);
    amount->SetDataSet(&t);
    auto* unitName = new TStringField(&t);
    unitName->SetFieldName("UnitName");
    unitName->SetFieldKind(fkLookup);
    unitName->SetKeyFields("Unit");
    unitName->SetLookupDataSet(units.get());
    unitName->SetLookupKeyFields("UCode");
    unitName->SetLookupResultField("UName");
    unitName->SetDataSet(&t);
    t.OnCalcFields = [](TDataSet* ds) {
        EXPECT_EQ(ds->State(), dsCalcFields);
        ds->FieldByName("Amount")->SetAsCurrency(ds->FieldByName("Price")->AsCurrency()
                                                 * ds->FieldByName("Qty")->AsInteger());
    };
    // Persistent calculated fields, data fields made from the definitions in front of them.
    t.Open();
    ASSERT_EQ(t.FieldCount(), 5);
    EXPECT_EQ(t.Fields()->Fields(0)->FieldName(), "Qty");
    t.Append();
    t.FieldByName("Qty")->SetAsInteger(3);
    t.FieldByName("Price")->SetAsString("2.5");
    t.FieldByName("Unit")->SetAsString("2");
    EXPECT_EQ(t.FieldByName("Amount")->AsCurrency(), Currency::fromRaw(75000));
    EXPECT_EQ(t.FieldByName("UnitName")->AsString(), "箱");
    t.Post();
    EXPECT_EQ(t.FieldByName("UnitName")->AsString(), "箱");
    EXPECT_THROW(t.FieldByName("Amount")->SetAsInteger(1), EDatabaseError);
}

TEST(DataSet, NaturalOrderSurvivesSortingEditsAndDeletes)
{
    auto t = partsTable();
    for (const char* c : {"d", "b", "e", "a", "c"})
        addPart(*t, c, "n", 1, 1);
    t->SetSort("Code DESC");
    EXPECT_EQ(codes(*t), (QStringList{"e", "d", "c", "b", "a"}));
    t->Locate("Code", "c");
    t->Delete();
    addPart(*t, "f", "n", 1, 1); // appended while sorted
    t->Locate("Code", "b");
    t->Insert(); // before "b" in the sorted view, before "b" in the natural order too
    t->FieldByName("Code")->SetAsString("bb");
    t->Post();
    EXPECT_EQ(codes(*t), (QStringList{"f", "e", "d", "bb", "b", "a"}));
    t->SetSort(QString());
    EXPECT_EQ(codes(*t), (QStringList{"d", "bb", "b", "e", "a", "f"}));
    t->SetFilter("Code <> 'e'");
    t->SetFiltered(true);
    t->SetSort("Code");
    t->Locate("Code", "a");
    t->Delete();
    t->SetSort(QString());
    t->SetFiltered(false);
    EXPECT_EQ(codes(*t), (QStringList{"d", "bb", "b", "e", "f"}));
}

TEST(DataSet, TextSortPutsNullsFirstAscendingAndLastDescending)
{
    auto t = partsTable();
    for (const char* n : {"b", "", "A", "b", "", "c"})
        addPart(*t, QString::number(t->RecordCount()), QString::fromUtf8(n), 0, 0);
    t->SetSort("Name");
    EXPECT_EQ(codes(*t), (QStringList{"1", "4", "2", "0", "3", "5"}));
    t->SetSort("Name DESC");
    EXPECT_EQ(codes(*t), (QStringList{"5", "0", "3", "2", "1", "4"}));
}
