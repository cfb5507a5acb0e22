// The memory tables of the bill editors: defined from the columns of a query (text of the
// column's width, every other kind kept), the editor's own fields after them, rows copied
// without the table's events, every field writable with the editor's handler, and money shown
// "0.00".
#include "tests/app/master/MasterFixture.h"

#include "documents/bills/BillTables.h"
#include "platform/db/QxMemTable.h"
#include "platform/db/sql/ADOQuery.h"

namespace qx::documents::test {
namespace {

using qx::app::test::MasterTest;

class BillTablesTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        exec(QStringLiteral(
            "insert into t_ReceptionMst (BillNo, ReBillNo, CName, TotalAmount, XZhe, IsSettle, INtime) values "
            "('WX260301001', 'R-1', '张三', 12.5, 8, 1, '2026-03-01'),"
            "('WX260301002', 'R-2', '李四', 0.0001, 0, 0, '2026-03-01')"));
    }

    std::unique_ptr<TADOQuery> query(const QString& sql)
    {
        auto q = std::make_unique<TADOQuery>();
        q->SetConnection(module->ADOConnection);
        q->SQL().SetText(sql);
        q->Open();
        return q;
    }
};

const QList<ExtraField> kPrintFields{{QStringLiteral("B1"), ftString, 1}, {QStringLiteral("B4"), ftString, 3}};

TEST_F(BillTablesTest, TheStructureComesFromTheQueryColumnsThenTheOwnFields)
{
    const auto head = query(QStringLiteral("select * from t_ReceptionMst"));
    TQxMemTable table;
    defineBillTable(table, *head, kPrintFields);
    ASSERT_TRUE(table.Active());
    EXPECT_TRUE(table.IsEmpty());
    ASSERT_EQ(table.FieldCount(), head->FieldCount() + 2);
    const struct
    {
        const char* field;
        TFieldType type;
        int size;
    } cases[] = {
        {"BillNo", ftString, 30},      {"ClientEvent", ftString, 255}, {"MileageUnit", ftString, 10},
        {"TotalAmount", ftCurrency, 0}, {"XZhe", ftFloat, 0},          {"Mileage", ftFloat, 0},
        {"IsSettle", ftBoolean, 0},     {"INtime", ftDateTime, 0},     {"ID", ftAutoInc, 0},
        {"B1", ftString, 1},            {"B4", ftString, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        const TField* f = table.FindField(QLatin1String(c.field));
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->DataType(), c.type);
        if (c.size) {
            EXPECT_EQ(f->Size(), c.size);
        }
    }
    // The own fields follow the database's columns in the order given.
    EXPECT_EQ(table.Fields()->Fields(table.FieldCount() - 2)->FieldName(), QStringLiteral("B1"));
    EXPECT_EQ(table.Fields()->Fields(table.FieldCount() - 1)->FieldName(), QStringLiteral("B4"));
    // Sizes count characters: a full-width name of 60 characters fits the 60 of CName.
    table.Append();
    const QString name(60, QChar(0x5F20));
    table.FieldByName(QStringLiteral("CName"))->SetAsString(name + QStringLiteral("多"));
    EXPECT_EQ(table.FieldByName(QStringLiteral("CName"))->AsString(), name);
    EXPECT_EQ(billFieldType(ftWideString), ftString);
    EXPECT_EQ(billFieldType(ftMemo), ftMemo);
}

TEST_F(BillTablesTest, RowsAreCopiedWithoutTheTablesEvents)
{
    const auto head = query(QStringLiteral("select * from t_ReceptionMst order by BillNo"));
    TQxMemTable table;
    defineBillTable(table, *head);
    int events = 0;
    table.OnNewRecord = [&](TDataSet*) { ++events; };
    table.AfterPost = [&](TDataSet*) { ++events; };
    table.AfterInsert = [&](TDataSet*) { ++events; };
    table.BeforePost = [&](TDataSet*) { ++events; };
    refillBillTable(table, *head);
    EXPECT_EQ(events, 0);
    ASSERT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(table.FieldByName(QStringLiteral("BillNo"))->AsString(), QStringLiteral("WX260301001"));
    EXPECT_EQ(table.FieldByName(QStringLiteral("TotalAmount"))->AsCurrency(), Currency::fromString(QStringLiteral("12.5")));
    EXPECT_TRUE(table.FieldByName(QStringLiteral("IsSettle"))->AsBoolean());

    // A pending new row and the old rows go; the rows of the next query come.
    table.Append();
    table.FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("新单"));
    const auto one = query(QStringLiteral("select * from t_ReceptionMst where BillNo = 'WX260301002'"));
    refillBillTable(table, *one);
    EXPECT_EQ(table.State(), dsBrowse);
    ASSERT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.FieldByName(QStringLiteral("ReBillNo"))->AsString(), QStringLiteral("R-2"));
    EXPECT_EQ(table.FieldByName(QStringLiteral("TotalAmount"))->AsCurrency(), Currency::fromRaw(1));
}

TEST_F(BillTablesTest, EveryFieldIsWritableAndHandsItsTextToTheRules)
{
    // An expression column cannot be written back to the database, but the memory table's
    // copy of it is the editor's to change.
    const auto head = query(QStringLiteral("select BillNo, TotalAmount, XZhe, TotalAmount * 2 as Twice from t_ReceptionMst"));
    ASSERT_TRUE(head->FieldByName(QStringLiteral("Twice"))->ReadOnly());
    TQxMemTable table;
    defineBillTable(table, *head);
    refillBillTable(table, *head);
    QStringList calls;
    prepareBillFields(table, [&](TField* Field, const QString& Text) {
        calls << Field->FieldName() + u'=' + Text;
        Field->SetAsString(Text);
    }, MoneyDisplay::CurrencyAndDecimal);
    table.Edit();
    for (TField* f : *table.Fields()) {
        SCOPED_TRACE(f->FieldName().toStdString());
        EXPECT_FALSE(f->ReadOnly());
        f->SetText(QStringLiteral("3"));
    }
    EXPECT_EQ(calls, (QStringList{"BillNo=3", "TotalAmount=3", "XZhe=3", "Twice=3"}));
}

TEST_F(BillTablesTest, MoneyShowsWithTwoDecimalsWithoutASign)
{
    const auto head = query(QStringLiteral("select BillNo, TotalAmount, XZhe from t_ReceptionMst order by BillNo"));
    const struct
    {
        MoneyDisplay display;
        const char* total;
        const char* discount;
    } cases[] = {
        {MoneyDisplay::AllNumbers, "12.50", "8.00"},     // a bill's head
        {MoneyDisplay::CurrencyAndDecimal, "12.50", "8"}, // a bill's lines
    };
    for (const auto& c : cases) {
        TQxMemTable table;
        defineBillTable(table, *head);
        refillBillTable(table, *head);
        prepareBillFields(table, {}, c.display);
        EXPECT_EQ(table.FieldByName(QStringLiteral("TotalAmount"))->DisplayText(), QLatin1String(c.total));
        EXPECT_EQ(table.FieldByName(QStringLiteral("XZhe"))->DisplayText(), QLatin1String(c.discount));
        // The edit text keeps every decimal.
        table.Next();
        EXPECT_EQ(table.FieldByName(QStringLiteral("TotalAmount"))->Text(), QStringLiteral("0.0001"));
        EXPECT_EQ(table.FieldByName(QStringLiteral("TotalAmount"))->DisplayText(), QStringLiteral("0.00"));
    }
}

TEST_F(BillTablesTest, ATableOfTheSameShapeKeepsItsFields)
{
    const auto head = query(QStringLiteral("select * from t_ReceptionMst"));
    TQxMemTable table;
    EXPECT_FALSE(hasBillStructure(table, *head, kPrintFields));
    defineBillTable(table, *head, kPrintFields);
    EXPECT_TRUE(hasBillStructure(table, *head, kPrintFields));
    EXPECT_FALSE(hasBillStructure(table, *head));
    const auto other = query(QStringLiteral("select BillNo from t_ReceptionMst"));
    EXPECT_FALSE(hasBillStructure(table, *other, kPrintFields));
}

} // namespace
} // namespace qx::documents::test
