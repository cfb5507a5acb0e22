// The option set: its default, its mapping onto the grid base's options, and what a change
// of it does.
#include <gtest/gtest.h>

#include "VGridTestSupport.h"

namespace {

const TKyGridOptions kLines = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine;

struct OptionCase
{
    const char* name;
    TDBVGridOptions options;
    TKyGridOptions base;
    TDBVGridOptions kept; // the value Options reads back
};

} // namespace

TEST(VGridOptions, ANewGridStartsWithTheDefaultsAndTheBaseOptionsOfConstruction)
{
    TQxDBVGrid grid;
    EXPECT_EQ(int(grid.Options()), 3325);
    EXPECT_EQ(grid.Options(), TDBVGridOptions(V::dgEditing | V::dgTitles | V::dgIndicator
                                              | V::dgColumnResize | V::dgColLines | V::dgRowLines
                                              | V::dgTabs | V::dgConfirmDelete
                                              | V::dgCancelOnExit));
    EXPECT_EQ(grid.TQxCustomGrid::Options(),
              kLines | goColSizing | goColMoving | goEditing | goTabs);
    EXPECT_EQ(grid.DBGridMode(), TDBGridMode(dmDelete | dmAppend | dmInsert));
}

TEST(VGridOptions, SettingOptionsMapsThemOntoTheBase)
{
    const TKyGridOptions always = kLines | goReceiptMode;
    const OptionCase cases[] = {
        {"titles only still draw lines", V::dgTitles, always, V::dgTitles},
        {"no lines asked, lines drawn", TDBVGridOptions(V::dgEditing), always | goEditing,
         V::dgEditing},
        {"column resize sizes and moves rows", TDBVGridOptions(V::dgColumnResize),
         always | goColSizing | goRowMoving, V::dgColumnResize},
        {"tabs", TDBVGridOptions(V::dgTabs), always | goTabs, V::dgTabs},
        {"receipt mode", TDBVGridOptions(V::dgReceiptMode), always, V::dgReceiptMode},
        {"always show editor", V::dgEditing | V::dgAlwaysShowEditor,
         always | goEditing | goAlwaysShowEditor, V::dgEditing | V::dgAlwaysShowEditor},
        {"row select drops editing", V::dgRowSelect | V::dgEditing | V::dgAlwaysShowEditor,
         always | goRowSelect, V::dgRowSelect},
        {"the defaults", V::DefaultVOptions,
         always | goColSizing | goRowMoving | goTabs | goEditing, V::DefaultVOptions},
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        TQxDBVGrid grid;
        // Setting the value the grid already has changes nothing: start from another one.
        grid.SetOptions(TDBVGridOptions(V::dgMultiSelect));
        grid.SetOptions(c.options);
        EXPECT_EQ(grid.Options(), c.kept);
        EXPECT_EQ(grid.TQxCustomGrid::Options(), c.base);
    }
}

TEST(VGridOptions, TitlesAndIndicatorChangeTheLayout)
{
    VGridWindow w(3);
    EXPECT_EQ(w.grid->TitleOffset(), 1);
    EXPECT_EQ(w.grid->IndicatorOffset(), 1);
    w.grid->SetOptions(w.grid->Options() & ~TDBVGridOptions(V::dgTitles));
    EXPECT_EQ(w.grid->TitleOffset(), 0);
    EXPECT_EQ(w.grid->FixedCols(), 0);
    EXPECT_EQ(w.grid->ColCount(), 1);
    w.grid->SetOptions(w.grid->Options() & ~TDBVGridOptions(V::dgIndicator));
    EXPECT_EQ(w.grid->IndicatorOffset(), 0);
    EXPECT_EQ(w.grid->FixedRows(), 0);
    EXPECT_EQ(w.grid->RowCount(), 4);
    // Without the indicator row the first field row keeps its height.
    EXPECT_GT(w.grid->RowHeights(0), 0);
}

TEST(VGridOptions, LeavingMultiSelectEmptiesTheSelection)
{
    VGridWindow w(4);
    w.grid->SetOptions(w.grid->Options() | V::dgMultiSelect);
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
    w.table->Next();
    w.grid->SelectedRows()->SetCurrentRowSelected(true);
    ASSERT_EQ(w.grid->SelectedRows()->Count(), 2);
    w.grid->SetOptions(w.grid->Options() | V::dgAlwaysShowSelection);
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 2);
    w.grid->SetOptions(w.grid->Options() & ~TDBVGridOptions(V::dgMultiSelect));
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
}
