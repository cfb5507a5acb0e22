// Grid columns built from a structure's definitions, and a grid's layout saved back into the
// structure.
#include "RctStrTestSupport.h"

#include "platform/db/DataSource.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/rctstr/uQxRctFuncs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QTest>

namespace {

class RctStrGrid : public StructureDatabase
{
protected:
    void SetUp() override
    {
        StructureDatabase::SetUp();
        storeBillItems();
        s = std::make_unique<TQxRctStr>();
        s->Prepare(QStringLiteral("RBillItem"), true);
        ASSERT_TRUE(s->Active());
        source.SetDataSet(s.get());
        grid = std::make_unique<TQxDBGrid>();
        grid->resize(600, 300);
        grid->SetDataSource(&source);
    }
    void TearDown() override
    {
        grid.reset();
        s.reset();
        StructureDatabase::TearDown();
    }

    QStringList columnFields() const
    {
        QStringList out;
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            out << grid->Columns()->Items(i)->FieldName();
        return out;
    }
    TQxColumn* column(const QString& field) const
    {
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            if (grid->Columns()->Items(i)->FieldName() == field)
                return grid->Columns()->Items(i);
        return nullptr;
    }
    QStringList definitionFields() const
    {
        QStringList out;
        for (int i = 0; i < s->MstSections()->Count(); ++i)
            out << s->MstSections()->Items(i)->FieldName();
        return out;
    }

    std::unique_ptr<TQxRctStr> s;
    TDataSource source;
    std::unique_ptr<TQxDBGrid> grid;
};

TEST_F(RctStrGrid, ColumnsFollowTheVisibleDefinitions)
{
    TMstSections* d = s->MstSections();
    d->Items(6)->SetVisible(false); // InDate
    d->Items(4)->SetIsReadOnly(true); // Qty
    d->Items(5)->SetDisplaySize(77); // Price
    d->Items(3)->SetIsReadOnly(true); // ItemName: never read-only
    s->BuildGridColumns(grid.get());
    EXPECT_EQ(columnFields(), QStringList({"BillNo", "ItemIndex", "ItemCode", "ItemName", "Qty",
                                           "Price", "Paid"}));
    EXPECT_EQ(column("BillNo")->Title()->Caption(), QStringLiteral("单号"));
    EXPECT_TRUE(column("Qty")->ReadOnly());
    EXPECT_EQ(column("Price")->Width(), 77);
    EXPECT_FALSE(column("ItemName")->ReadOnly());
    EXPECT_TRUE(column("ItemName")->IMEControl());
    // A picker code gives an editable column its button.
    EXPECT_EQ(column("ItemCode")->ButtonStyle(), cbsEllipsis);
    EXPECT_EQ(column("Qty")->ButtonStyle(), cbsAuto);
    // The line number is centred, bold, larger and read-only.
    TQxColumn* line = column("ItemIndex");
    EXPECT_EQ(line->Alignment(), taCenter);
    EXPECT_TRUE(line->Font().bold());
    EXPECT_TRUE(line->ReadOnly());
    EXPECT_TRUE(s->FieldByName(QStringLiteral("BillNo"))->Required());
    EXPECT_TRUE(scripted->shown().isEmpty());

    // Dates get a button whatever their definition says; a read-only picker column does not.
    d->Items(6)->SetVisible(true);
    d->Items(2)->SetIsReadOnly(true);
    s->BuildGridColumns(grid.get());
    EXPECT_EQ(column("InDate")->ButtonStyle(), cbsEllipsis);
    EXPECT_EQ(column("ItemCode")->ButtonStyle(), cbsAuto);
    EXPECT_EQ(grid->Columns()->Count(), 8);

    // A structure that cannot be changed offers no pickers.
    d->Items(2)->SetIsReadOnly(false);
    s->SetReadOnly(true);
    s->BuildGridColumns(grid.get());
    EXPECT_EQ(column("ItemCode")->ButtonStyle(), cbsAuto);
    EXPECT_EQ(column("InDate")->ButtonStyle(), cbsEllipsis);
}

TEST_F(RctStrGrid, MissingFieldIsReportedAndLeftOut)
{
    TQxRctStr other;
    define(other, QStringLiteral("ItemCode"), QStringLiteral("编号"));
    define(other, QStringLiteral("Colour"), QStringLiteral("颜色"));
    define(other, QStringLiteral("Qty"), QStringLiteral("数量"));
    scripted->answerMessage(qx::mrOk);
    s->BuildGridColumns(grid.get(), &other);
    EXPECT_EQ(scripted->messages(), QStringList({"Colour不存在!!"}));
    EXPECT_EQ(columnFields(), QStringList({"ItemCode", "Qty"}));
}

TEST_F(RctStrGrid, RightsHideTheirColumns)
{
    s->MstSections()->Items(5)->SetRightField(QStringLiteral(" 看进价 "));
    dm->Rights << QStringLiteral("看进价");
    s->BuildGridColumns(grid.get());
    EXPECT_EQ(column("Price"), nullptr);
    dm->Rights.clear();
    s->BuildGridColumns(grid.get());
    EXPECT_NE(column("Price"), nullptr);
}

TEST_F(RctStrGrid, SavedLayoutOrdersTheDefinitionsLikeTheColumns)
{
    s->BuildGridColumns(grid.get());
    // The user put the price first and widened the name.
    column("Price")->setIndex(0);
    column("ItemName")->SetWidth(140);
    SaveGridLayout(grid.get(), s.get(), QStringLiteral("RBillItem"), false);
    EXPECT_EQ(definitionFields().mid(0, 4), QStringList({"Price", "BillNo", "ItemIndex", "ItemCode"}));

    TQxRctStr stored;
    stored.LoadByCode(QStringLiteral("RBillItem"));
    ASSERT_EQ(stored.MstSections()->Count(), 8);
    EXPECT_EQ(stored.MstSections()->Items(0)->FieldName(), QStringLiteral("Price"));
    const int name = stored.MstSections()->IndexOfField(QStringLiteral("ItemName"));
    EXPECT_EQ(stored.MstSections()->Items(name)->displaySize(), 140);
}

void clickButton(QDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

TEST_F(RctStrGrid, HiddenColumnsAreHiddenForGoodOnlyWhenTheUserSaysSo)
{
    s->BuildGridColumns(grid.get());
    column("Qty")->SetVisible(false);
    column("Paid")->SetVisible(false);
    QStringList asked;
    scripted->answerDialog([&](QDialog& d) {
        asked << d.findChild<QWidget*>(QStringLiteral("Label"))->property("text").toString();
        clickButton(d, "btn0"); // 是
    });
    scripted->answerDialog([&](QDialog& d) {
        asked << d.findChild<QWidget*>(QStringLiteral("Label"))->property("text").toString();
        clickButton(d, "btn1"); // 否
    });
    SaveGridLayout(grid.get(), s.get(), QStringLiteral("RBillItem"), true);
    EXPECT_EQ(asked, QStringList({"是否真的要屏蔽字段!数量", "是否真的要屏蔽字段!已付"}));
    const TMstSections* d = s->MstSections();
    EXPECT_FALSE(d->Items(d->IndexOfField(QStringLiteral("Qty")))->Visible());
    EXPECT_TRUE(d->Items(d->IndexOfField(QStringLiteral("Paid")))->Visible());
}

TEST_F(RctStrGrid, LayoutWithoutMatchingDefinitionsSavesNothing)
{
    TQxRctStr other;
    define(other, QStringLiteral("Colour"), QStringLiteral("颜色"));
    other.SetSQLMstSQL(QStringLiteral("changed"));
    s->BuildGridColumns(grid.get());
    SaveGridLayout(grid.get(), &other, QStringLiteral("RBillItem"), true);
    TQxRctStr stored;
    stored.LoadByCode(QStringLiteral("RBillItem"));
    EXPECT_NE(stored.SQLMstSQL(), QStringLiteral("changed"));
}

TEST(RctStrGridWithoutModule, SavingALayoutRefuses)
{
    ASSERT_EQ(dmDatabase, nullptr);
    TQxRctStr s;
    TQxDBGrid grid;
    EXPECT_THROW(SaveGridLayout(&grid, &s, QStringLiteral("X"), false), EDatabaseError);
}

} // namespace
