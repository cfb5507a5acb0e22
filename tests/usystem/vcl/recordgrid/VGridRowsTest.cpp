// Field rows: the rows the grid makes from the fields, customized rows, pass-through rows
// that write into their fields, and what the component stream sees of rows and grid.
#include <gtest/gtest.h>

#include "VGridTestSupport.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/stream/PublishedProperties.h"
#include "tests/support/PublishedNames.h"

using qx::test::storedNames;
using qx::test::publishedNames;

TEST(VGridRows, EveryVisibleFieldBecomesARowOfItsOwn)
{
    VGridWindow w(3);
    EXPECT_EQ(w.grid->Columns()->State(), vcsDefault);
    EXPECT_EQ(w.fieldNames(), (QStringList{"Code", "Name", "Qty", "Done"}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(w.row(i)->IsPassthrough());
        EXPECT_NE(qobject_cast<TPassthroughColumn*>(w.row(i)), nullptr);
        EXPECT_NE(qobject_cast<TPassthroughColumnTitle*>(w.row(i)->Title()), nullptr);
        EXPECT_EQ(w.row(i)->Field(), w.table->Fields()->Fields(i));
    }
    // The indicator row above the field rows, the titles column beside the one record.
    EXPECT_EQ(w.grid->RowCount(), 5);
    EXPECT_EQ(w.grid->FixedRows(), 1);
    EXPECT_EQ(w.grid->ColCount(), 2);
    EXPECT_EQ(w.grid->FixedCols(), 1);

    // A field made invisible leaves the rows.
    w.table->FieldByName("Name")->SetVisible(false);
    QApplication::processEvents();
    EXPECT_EQ(w.fieldNames(), (QStringList{"Code", "Qty", "Done"}));
}

TEST(VGridRows, CustomizedRowsShowTheirFieldsOnly)
{
    VGridWindow w(3);
    customize(w, {"Name", "Code", "Missing"});
    EXPECT_EQ(w.grid->Columns()->State(), vcsCustomized);
    EXPECT_EQ(w.fieldNames(), (QStringList{"Name", "Code", "Missing"}));
    EXPECT_FALSE(w.row(0)->IsPassthrough());
    EXPECT_EQ(w.row(1)->Field(), w.table->FieldByName("Code"));
    EXPECT_EQ(w.row(2)->Field(), nullptr);
    EXPECT_EQ(w.grid->RowCount(), 4);
    // A customized title changes the row only.
    w.row(0)->Title()->SetCaption(QStringLiteral("名称"));
    EXPECT_EQ(w.row(0)->Title()->Caption(), QStringLiteral("名称"));
    EXPECT_EQ(w.table->FieldByName("Name")->DisplayLabel(), "Name");
}

TEST(VGridRows, DefaultRowsBeforeACustomizedOneAreDropped)
{
    VGridWindow w(3, false);
    w.grid->BeginLayout();
    w.grid->Columns()->AddPassthrough();
    w.grid->Columns()->AddPassthrough();
    w.grid->Columns()->Add()->SetFieldName("Qty");
    w.grid->EndLayout();
    EXPECT_EQ(w.grid->Columns()->Count(), 1);
    EXPECT_EQ(w.fieldNames(), QStringList{"Qty"});
    EXPECT_EQ(w.grid->Columns()->State(), vcsCustomized);
}

TEST(VGridRows, ClosingTheDatasetKeepsCustomizedRowsAndFreesDefaultOnes)
{
    VGridWindow a(3);
    a.table->Close();
    QApplication::processEvents();
    // The fields went with the dataset: one empty row and one empty record column remain.
    EXPECT_EQ(a.grid->Columns()->Count(), 1);
    EXPECT_EQ(a.row(0)->Field(), nullptr);
    EXPECT_EQ(a.grid->ColCount(), 2);

    VGridWindow b(3);
    customize(b, {"Qty", "Code"});
    b.table->Close();
    QApplication::processEvents();
    EXPECT_EQ(b.fieldNames(), (QStringList{"Qty", "Code"}));
    EXPECT_EQ(b.grid->ColCount(), 2);
    // Read before the dataset opens, a row has no field; it binds once it is open.
    EXPECT_EQ(b.row(0)->Field(), nullptr);
    b.table->Open();
    EXPECT_EQ(b.row(0)->Field(), b.table->FieldByName("Qty"));
}

TEST(VGridRows, PassThroughSettersWriteIntoTheField)
{
    struct Case
    {
        const char* name;
        std::function<void(TVColumn*)> set;
        std::function<bool(TField*)> fieldTook;
    };
    const Case cases[] = {
        {"caption", [](TVColumn* r) { r->Title()->SetCaption(QStringLiteral("数量")); },
         [](TField* f) { return f->DisplayLabel() == QStringLiteral("数量"); }},
        {"alignment", [](TVColumn* r) { r->SetAlignment(taCenter); },
         [](TField* f) { return f->Alignment() == taCenter; }},
        {"read-only", [](TVColumn* r) { r->SetReadOnly(true); },
         [](TField* f) { return f->ReadOnly(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VGridWindow w(3);
        TVColumn* row = w.row(2); // Qty
        c.set(row);
        TField* qty = w.table->FieldByName("Qty");
        EXPECT_TRUE(c.fieldTook(qty));
        // The row holds nothing of its own: it reads the field.
        EXPECT_FALSE(row->AssignedValues() & qx::GridColumn::cvTitleCaption);
        EXPECT_FALSE(row->AssignedValues() & qx::GridColumn::cvAlignment);
        EXPECT_FALSE(row->AssignedValues() & qx::GridColumn::cvReadOnly);
    }
}

TEST(VGridRows, APassThroughRowsWidthBecomesItsFieldsDisplayWidth)
{
    VGridWindow w(3);
    TVColumn* row = w.row(1); // Name
    const QFontMetrics fm(row->Font());
    const int avg = std::max(1, fm.averageCharWidth());
    row->SetWidth(avg * 7 + 3);
    EXPECT_EQ(w.table->FieldByName("Name")->DisplayWidth(), 7);
}

TEST(VGridRows, MovingAPassThroughRowMovesItsFieldInTheFieldList)
{
    VGridWindow w(3);
    // Qty (row 2) to the top: the field moves to the position of the field shown there.
    w.row(2)->SetIndex(0);
    QApplication::processEvents();
    EXPECT_EQ(w.table->FieldByName("Qty")->Index(), 0);
    EXPECT_EQ(w.fieldNames(), (QStringList{"Qty", "Code", "Name", "Done"}));

    // A customized row moves alone.
    VGridWindow c(3);
    customize(c, {"Code", "Name"});
    c.row(1)->SetIndex(0);
    EXPECT_EQ(c.fieldNames(), (QStringList{"Name", "Code"}));
    EXPECT_EQ(c.table->FieldByName("Name")->Index(), 1);
}

TEST(VGridRows, UnassignedValuesFollowTheGridAndAssignedOnesStay)
{
    VGridWindow w(2);
    customize(w, {"Code"});
    TVColumn* row = w.row(0);
    QFont big = w.grid->font();
    big.setPointSize(big.pointSize() + 6);
    w.grid->setFont(big);
    EXPECT_EQ(row->Font(), big);
    EXPECT_FALSE(row->AssignedValues() & qx::GridColumn::cvFont);
    w.grid->SetColor(clYellow);
    EXPECT_EQ(row->Color(), clYellow);
    row->SetColor(clAqua);
    w.grid->SetColor(clWhite);
    EXPECT_EQ(row->Color(), clAqua);
    EXPECT_TRUE(row->AssignedValues() & qx::GridColumn::cvColor);
    // Copying takes the assigned values only; restoring the defaults drops them.
    TVColumn* copy = w.grid->Columns()->Add();
    copy->Assign(row);
    EXPECT_EQ(copy->FieldName(), "Code");
    EXPECT_EQ(copy->AssignedValues(), row->AssignedValues());
    row->RestoreDefaults();
    EXPECT_EQ(row->Color(), clWhite);
    EXPECT_EQ(row->AssignedValues(), qx::GridColumn::TColumnValues());
}

TEST(VGridRows, SettingTheColumnsCopiesThemIntoTheGrid)
{
    VGridWindow a(2);
    customize(a, {"Name", "Qty"});
    a.row(1)->SetButtonStyle(TVColumn::cbsEllipsis);
    VGridWindow b(2);
    b.grid->SetColumns(a.grid->Columns());
    EXPECT_EQ(b.fieldNames(), (QStringList{"Name", "Qty"}));
    EXPECT_EQ(b.row(1)->ButtonStyle(), TVColumn::cbsEllipsis);
    EXPECT_EQ(b.row(1)->Field(), b.table->FieldByName("Qty"));
}

TEST(VGridStream, RowAndGridPropertiesInStreamingOrder)
{
    EXPECT_EQ(publishedNames(&TVColumn::staticMetaObject),
              (QStringList{"Alignment", "ButtonStyle", "Color", "DropDownRows", "FieldName",
                           "Font", "ImeMode", "ImeName", "PickList", "PopupMenu", "ReadOnly",
                           "Title", "Width", "IMEControl"}));
    EXPECT_EQ(publishedNames(&TVColumnTitle::staticMetaObject),
              (QStringList{"Alignment", "Caption", "Color", "Font"}));
    EXPECT_EQ(publishedNames(&TQxDBVGrid::staticMetaObject),
              (QStringList{"BorderStyle", "Color", "FixedColor", "LineColor", "GridLineWidth",
                           "Options", "ParentColor", "ScrollBars", "TabStop", "DBGridMode",
                           "Align", "Columns", "DataSource", "DefaultDrawing", "Enabled",
                           "ImeMode", "ImeName", "ParentFont", "DefaultColWidth", "ReadOnly",
                           "ShowHint", "TitleFont", "Visible", "TitlesWidth"}));
}

TEST(VGridStream, AGridMadeInCodeWritesWhatDiffersFromTheStoredDefaults)
{
    ASSERT_TRUE(TQxDBVGrid::Registered());
    std::unique_ptr<QObject> made(qx::createComponent("TQxDBVGrid", nullptr));
    auto* grid = qobject_cast<TQxDBVGrid*>(made.get());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(int(grid->Options()), 3325);
    EXPECT_EQ(grid->DBGridMode(), TDBGridMode(dmDelete | dmAppend | dmInsert));
    EXPECT_EQ(grid->TitlesWidth(), 100);
    EXPECT_EQ(grid->DefaultColWidth(), 120);
    EXPECT_EQ(grid->ScrollBars(), TQxCustomGrid::ssNone);
    const QStringList written = storedNames(grid);
    for (const char* name : {"ScrollBars", "DBGridMode", "DefaultColWidth", "TitlesWidth"})
        EXPECT_TRUE(written.contains(QLatin1String(name))) << name;
    for (const char* name : {"Options", "Color", "Columns", "ReadOnly"})
        EXPECT_FALSE(written.contains(QLatin1String(name))) << name;

    // A fresh customized row writes only what always goes; a cell button adds its style.
    auto* row = grid->Columns()->Add();
    row->SetFieldName("Code");
    EXPECT_EQ(storedNames(row), (QStringList{"FieldName", "Title", "IMEControl"}));
    row->SetButtonStyle(TVColumn::cbsEllipsis);
    row->SetPickList({"取旧价", "取新价"});
    EXPECT_EQ(storedNames(row), (QStringList{"ButtonStyle", "FieldName", "PickList", "Title", "IMEControl"}));
    EXPECT_TRUE(storedNames(grid).contains("Columns"));
}
