// Columns made from the dataset's fields and from a stored column list; titles, widths and
// the values a default column hands to its field.
#include <gtest/gtest.h>

#include "DBGridTestSupport.h"

TEST(DBGridColumns, DefaultColumnsFollowTheVisibleFields)
{
    DBGridWindow w;
    TQxDBGridColumns* cols = w.grid->Columns();
    ASSERT_EQ(cols->Count(), 4);
    EXPECT_EQ(cols->State(), csDefault);
    const QStringList names{"Code", "Name", "Qty", "Done"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cols->Items(i)->FieldName(), names[i]);
        EXPECT_FALSE(cols->Items(i)->IsStored());
        EXPECT_EQ(cols->Items(i)->Field(), w.table->FieldByName(names[i]));
    }
    EXPECT_EQ(w.grid->ColCount(), 5); // with the indicator
    EXPECT_EQ(w.grid->ColWidths(0), 20);

    // A hidden field leaves the grid; shown again it comes back in field order.
    w.table->FieldByName("Qty")->SetVisible(false);
    ASSERT_EQ(cols->Count(), 3);
    EXPECT_EQ(cols->Items(2)->FieldName(), "Done");
    w.table->FieldByName("Qty")->SetVisible(true);
    ASSERT_EQ(cols->Count(), 4);
    EXPECT_EQ(cols->Items(2)->FieldName(), "Qty");
    // A default collection is not written into form files.
    EXPECT_EQ(w.grid->isPropertyStored("Columns"), std::optional<bool>(false));
}

TEST(DBGridColumns, AStoredColumnListKeepsItsColumnsAndMapsMissingNamesToNothing)
{
    DBGridWindow w;
    TQxDBGridColumns* cols = w.grid->Columns();
    TQxColumn* a = cols->Add();
    a->SetFieldName("Name");
    TQxColumn* b = cols->Add();
    b->SetFieldName("Missing");
    // A stored column in front drops every column the grid made.
    ASSERT_EQ(cols->Count(), 2);
    EXPECT_EQ(cols->State(), csCustomized);
    EXPECT_TRUE(w.grid->DataLink()->SparseMap());
    EXPECT_EQ(w.grid->DataLink()->FieldCount(), 2);
    EXPECT_EQ(w.grid->DataLink()->GetFields(0), w.table->FieldByName("Name"));
    EXPECT_EQ(w.grid->DataLink()->GetFields(1), nullptr);
    EXPECT_FALSE(w.grid->DataLink()->DefaultFields());
    EXPECT_EQ(a->Field(), w.table->FieldByName("Name"));
    EXPECT_EQ(b->Field(), nullptr);
    EXPECT_EQ(b->Title()->Caption(), "Missing");
    EXPECT_EQ(w.grid->isPropertyStored("Columns"), std::optional<bool>(true));

    // Back to default: the fields' columns return.
    cols->SetState(csDefault);
    EXPECT_EQ(cols->Count(), 4);
    cols->SetState(csCustomized);
    ASSERT_EQ(cols->Count(), 4);
    EXPECT_TRUE(cols->Items(0)->IsStored());
    EXPECT_EQ(cols->Items(3)->FieldName(), "Done");
}

TEST(DBGridColumns, AColumnReadBeforeTheDatasetOpensBindsOnceItIsOpen)
{
    DBGridWindow w(5, false);
    w.table->Close();
    w.grid->SetDataSource(w.source);
    TQxColumn* c = w.grid->Columns()->Add();
    c->SetFieldName("Qty");
    EXPECT_EQ(c->Field(), nullptr);
    w.table->Open();
    EXPECT_EQ(c->Field(), w.table->FieldByName("Qty"));
}

TEST(DBGridColumns, AColumnIsFoundByItsFieldNameWithoutCase)
{
    DBGridWindow w;
    TQxDBGridColumns* cols = w.grid->Columns();
    for (const char* name : {"Code", "Name", "name"})
        cols->Add()->SetFieldName(QString::fromLatin1(name));
    EXPECT_EQ(ColumnByFieldName(w.grid, "NAME"), cols->Items(1)); // the first of two
    EXPECT_EQ(ColumnByFieldName(w.grid, "code"), cols->Items(0));
    EXPECT_EQ(ColumnByFieldName(w.grid, "Qty"), nullptr);
    EXPECT_EQ(ColumnByFieldName(nullptr, "Code"), nullptr);
}

TEST(DBGridColumns, TitleCaptionOfADefaultColumnLabelsTheFieldOfAStoredColumnOnlyTheColumn)
{
    DBGridWindow w;
    TQxColumn* def = w.grid->Columns()->Items(1);
    def->Title()->SetCaption("名称");
    EXPECT_EQ(w.table->FieldByName("Name")->DisplayLabel(), "名称");
    EXPECT_FALSE(def->AssignedValues() & TQxColumn::cvTitleCaption);
    EXPECT_EQ(w.grid->Columns()->Items(1)->Title()->Caption(), "名称");

    TQxColumn* stored = w.grid->Columns()->Add();
    stored->SetFieldName("Code");
    stored->Title()->SetCaption("编号");
    EXPECT_EQ(stored->Title()->Caption(), "编号");
    EXPECT_EQ(w.table->FieldByName("Code")->DisplayLabel(), "Code");
    EXPECT_EQ(stored->isPropertyStored("Title"), std::nullopt);
    EXPECT_EQ(stored->Title()->isPropertyStored("Caption"), std::optional<bool>(true));
}

TEST(DBGridColumns, WidthsAndTheValuesAColumnStores)
{
    DBGridWindow w;
    TQxColumn* c = w.grid->Columns()->Add();
    c->SetFieldName("Name");
    const int def = c->DefaultWidth();
    EXPECT_EQ(c->Width(), def);
    c->SetWidth(-1);
    EXPECT_FALSE(c->AssignedValues() & TQxColumn::cvWidth);
    c->SetWidth(def + 30);
    EXPECT_EQ(c->Width(), def + 30);
    EXPECT_EQ(c->isPropertyStored("Width"), std::optional<bool>(true));
    EXPECT_EQ(w.grid->ColWidths(1), def + 30);
    // A flat dataset's column always writes Expanded (as false).
    EXPECT_FALSE(c->Expanded());
    EXPECT_EQ(c->isPropertyStored("Expanded"), std::optional<bool>(true));
    EXPECT_EQ(c->DropDownRows(), 7);
    EXPECT_EQ(c->ButtonStyle(), cbsAuto);

    // An ellipsis on a column without a field gets no picture.
    TQxColumn* none = w.grid->Columns()->Add();
    none->SetButtonStyle(cbsEllipsis);
    EXPECT_TRUE(none->Glyph().isNull());

    // Restoring the defaults forgets what was assigned.
    c->SetColor(clRed);
    c->RestoreDefaults();
    EXPECT_EQ(c->AssignedValues(), TQxColumn::TColumnValues());
    EXPECT_EQ(c->Color(), w.grid->Color());
}

TEST(DBGridColumns, AssignCopiesOnlyAssignedValues)
{
    DBGridWindow w;
    TQxColumn* a = w.grid->Columns()->Add();
    a->SetFieldName("Qty");
    a->SetColor(clYellow);
    a->Title()->SetCaption("数量");
    a->SetVisible(false);
    a->SetTabStop(false);
    a->SetPickList({"1", "2"});
    TQxColumn* b = w.grid->Columns()->Add();
    b->Assign(a);
    EXPECT_EQ(b->FieldName(), "Qty");
    EXPECT_EQ(b->Color(), clYellow);
    EXPECT_EQ(b->Title()->Caption(), "数量");
    EXPECT_FALSE(b->Visible());
    EXPECT_FALSE(b->TabStop());
    EXPECT_EQ(b->PickList(), (QStringList{"1", "2"}));
    EXPECT_FALSE(b->AssignedValues() & TQxColumn::cvWidth);
}

TEST(DBGridColumns, OptionsAndFrozenColumnsValues)
{
    DBGridWindow w;
    EXPECT_EQ(int(w.grid->Options()), 3325);
    w.grid->SetOptions(w.grid->Options() | dgRowSelect);
    EXPECT_FALSE(w.grid->Options() & dgEditing);
    EXPECT_TRUE(static_cast<TQxCustomGrid*>(w.grid)->Options() & goRowSelect);
    w.grid->SetFrozenCols(1);
    w.grid->SetFrozenCols(-3);
    EXPECT_EQ(w.grid->FrozenCols(), 1);
}

namespace {
class MovingGrid : public TQxDBGrid
{
public:
    using TQxDBGrid::TQxDBGrid;
    using TQxCustomGrid::MoveColumn;
};
} // namespace

TEST(DBGridColumns, MovingADefaultColumnMovesItsFieldAStoredOneOnlyItself)
{
    auto table = makeParts(3);
    TDataSource source;
    source.SetDataSet(table.get());
    MovingGrid grid;
    grid.resize(400, 200);
    grid.SetDataSource(&source);
    QList<std::pair<int, int>> moves;
    grid.OnColumnMoved = [&](QObject*, int from, int to) { moves.append({from, to}); };
    grid.MoveColumn(1, 3); // Code after Qty
    EXPECT_EQ(table->Fields()->Fields(2)->FieldName(), "Code");
    EXPECT_EQ(grid.Columns()->Items(2)->FieldName(), "Code");
    EXPECT_EQ(grid.Columns()->Items(0)->FieldName(), "Name");
    EXPECT_EQ(moves, (QList<std::pair<int, int>>{{0, 2}})); // data column indexes

    grid.Columns()->SetState(csCustomized);
    grid.MoveColumn(4, 1); // Done to the front
    EXPECT_EQ(grid.Columns()->Items(0)->FieldName(), "Done");
    EXPECT_EQ(table->Fields()->Fields(3)->FieldName(), "Done");
}
