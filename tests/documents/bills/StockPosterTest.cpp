// Stock postings: whole numbers (halves to even), give back then take, and a part code the
// stock file does not know stops the posting with a message naming it, creating no row.
#include "tests/app/master/MasterFixture.h"

#include "documents/bills/StockPoster.h"
#include "platform/db/QxMemTable.h"

namespace qx::documents::test {
namespace {

using qx::app::test::MasterTest;

TEST(StockQuantity, QuantitiesMoveAsWholeNumbersHalvesToEven)
{
    const std::pair<double, qint64> cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.4, 0}, {1.6, 2}, {-0.5, 0}, {7, 7}};
    for (const auto& [quantity, whole] : cases)
        EXPECT_EQ(stockQuantity(quantity), whole) << quantity;
}

class StockPosterTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        exec(QStringLiteral("insert into t_Stock (ItemCode, ItemName, Qty, CostPrice) values "
                            "('P01', '屏幕', 5, 18), ('P''2', '电池', 9, 0.5), ('P03', '壳', null, 1)"));
        lines.FieldDefs()->Add(QStringLiteral("ItemCode"), ftString, 30);
        lines.FieldDefs()->Add(QStringLiteral("Qty"), ftFloat);
        lines.CreateTable();
        lines.Open();
    }

    void line(const QString& code, double quantity)
    {
        lines.Append();
        lines.FieldByName(QStringLiteral("ItemCode"))->SetAsString(code);
        lines.FieldByName(QStringLiteral("Qty"))->SetAsFloat(quantity);
        lines.Post();
    }

    QString stock()
    {
        return scalar(QStringLiteral("select group_concat(ItemCode || '=' || ifnull(Qty, 'null') || '@' || CostPrice, ' ') "
                                     "from (select * from t_Stock order by ItemCode)"));
    }

    TQxMemTable lines;
};

TEST_F(StockPosterTest, GivesBackTheStoredLinesThenTakesTheLinesOnScreen)
{
    exec(QStringLiteral("insert into t_ReceptionDlt2 (BillNo, ItemCode, Qty) values "
                        "('WX1', 'P01', 2), ('WX1', 'P''2', 1), ('WX2', 'P01', 100)"));
    line(QStringLiteral("P01"), 3);
    line(QStringLiteral("p03"), 2.5);
    line(QStringLiteral("P'2"), 0.5);
    StockPoster poster(*module->ADOConnection);
    poster.giveBack(QStringLiteral("t_ReceptionDlt2"), QStringLiteral("WX1"));
    EXPECT_EQ(stock(), QStringLiteral("P'2=10@0.5 P01=7@18.0 P03=null@1.0"));
    poster.take(lines);
    EXPECT_EQ(stock(), QStringLiteral("P'2=10@0.5 P01=4@18.0 P03=-2@1.0"));
}

TEST_F(StockPosterTest, AnUnknownCodeIsNamedAndNoRowIsMade)
{
    line(QStringLiteral("P01"), 1);
    line(QStringLiteral("X'9"), 1);
    StockPoster poster(*module->ADOConnection);
    try {
        poster.take(lines);
        FAIL() << "no error";
    } catch (const EUnknownStockPart& e) {
        EXPECT_EQ(e.code(), QStringLiteral("X'9"));
        EXPECT_TRUE(e.Message().contains(QStringLiteral("X'9")));
    }
    EXPECT_EQ(count(QStringLiteral("t_Stock")), 3);
}

} // namespace
} // namespace qx::documents::test
