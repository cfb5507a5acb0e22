// What the component stream sees of a column: its published values in order and which of them
// a column writes.
#include <gtest/gtest.h>

#include "DBGridTestSupport.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/stream/PublishedProperties.h"
#include "tests/support/PublishedNames.h"

using qx::test::storedNames;
using qx::test::publishedNames;

TEST(DBGridStream, ColumnPropertiesInStreamingOrder)
{
    EXPECT_EQ(publishedNames(&TQxColumn::staticMetaObject),
              (QStringList{"Alignment", "ButtonStyle", "Color", "DropDownRows", "Expanded",
                           "FieldName", "Font", "ImeMode", "ImeName", "PickList", "PopupMenu",
                           "ReadOnly", "Title", "Width", "Visible", "Glyph", "FixedColumns",
                           "TabStop", "IMEControl"}));
    EXPECT_EQ(publishedNames(&TQxColumnTitle::staticMetaObject),
              (QStringList{"Alignment", "Caption", "Color", "Font"}));
}

TEST(DBGridStream, AFreshColumnWritesOnlyWhatAlwaysGoes)
{
    DBGridWindow w(3);
    TQxColumn* c = w.grid->Columns()->Add();
    c->SetFieldName("Name");
    // Expanded goes as false for a flat dataset; the flags always; the rest keep defaults.
    EXPECT_EQ(storedNames(c), (QStringList{"Expanded", "FieldName", "Title", "Visible", "FixedColumns",
                                      "TabStop", "IMEControl"}));
    EXPECT_TRUE(storedNames(c->Title()).isEmpty());
    c->SetButtonStyle(cbsNone);
    c->SetDropDownRows(9);
    c->SetWidth(c->DefaultWidth() + 7);
    c->Title()->SetCaption("名称");
    c->SetPickList({"a"});
    EXPECT_EQ(storedNames(c), (QStringList{"ButtonStyle", "DropDownRows", "Expanded", "FieldName",
                                      "PickList", "Title", "Width", "Visible", "FixedColumns",
                                      "TabStop", "IMEControl"}));
    EXPECT_EQ(storedNames(c->Title()), (QStringList{"Caption"}));
}

TEST(DBGridStream, TheGridIsKnownToTheClassRegistry)
{
    EXPECT_TRUE(TQxDBGrid::Registered());
    std::unique_ptr<QObject> made(qx::createComponent("TQxDBGrid", nullptr));
    ASSERT_NE(made, nullptr);
    auto* grid = qobject_cast<TQxDBGrid*>(made.get());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(int(grid->Options()), 3325);
    EXPECT_EQ(grid->ScrollBars(), TQxCustomGrid::ssHorizontal);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->RowCount(), 2);
}
