// The totals of a work order: the labour and parts sums, the discounts in tenths, the
// overtyped discounted amounts, four-decimal amounts shown with two, the settlement words of
// repair items and parts, and the removal of lines.
#include "WorkOrderFixture.h"

namespace qx::documents::test {
namespace {

class TotalsTest : public WorkOrderTest
{
};

TEST_F(TotalsTest, ItemsWithALabourDiscountAndPartsWithout)
{
    run("", [](TFrmReceptionRct& e) {
        newLine(e.dbgDetail1, "X1");
        EXPECT_EQ(e.tblDetail1->FieldByName(QStringLiteral("SItemName"))->AsString(), QStringLiteral("换屏"));
        newLine(e.dbgDetail1, "Y2");
        postLine(e.dbgDetail1);
        EXPECT_EQ(e.EdtSTimesAmount->Text(), QStringLiteral("150.00"));
        enterInto(e.EdtXZhe, QStringLiteral("8"));
        EXPECT_EQ(e.EdtTimesAmount->Text(), QStringLiteral("120.00"));
        EXPECT_EQ(e.EdtTotalAmount->Text(), QStringLiteral("120.00"));

        newLine(e.dbgDetail2, "P01");
        typeCell(e.dbgDetail2, 2, "1");
        postLine(e.dbgDetail2);
        EXPECT_EQ(e.EdtSPartsAmount->Text(), QStringLiteral("30.00"));
        EXPECT_EQ(e.EdtPartsAmount->Text(), QStringLiteral("30.00"));
        EXPECT_EQ(e.EdtTotalAmount->Text(), QStringLiteral("150.00"));
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("150"));
        EXPECT_EQ(headMoney(e, "ManaAmount"), Currency());

        // A parts discount applies when its box is left.
        enterInto(e.EdtCZhe, QStringLiteral("9"));
        EXPECT_EQ(headMoney(e, "PartsAmount"), money("27"));
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("147"));
        // A new line keeps the discounts.
        newLine(e.dbgDetail1, "Y2");
        postLine(e.dbgDetail1);
        EXPECT_EQ(headMoney(e, "STimesAmount"), money("200"));
        EXPECT_EQ(headMoney(e, "TimesAmount"), money("160"));
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("187"));
    });
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(TotalsTest, AmountsKeepFourDecimalsAndShowTwo)
{
    run("", [](TFrmReceptionRct& e) {
        enterInto(e.EdtXZhe, QStringLiteral("9.5"));
        newLine(e.dbgDetail1, "Z3");
        postLine(e.dbgDetail1);
        EXPECT_EQ(headMoney(e, "STimesAmount"), money("33.33"));
        EXPECT_EQ(headMoney(e, "TimesAmount"), money("31.6635"));
        EXPECT_EQ(e.EdtTimesAmount->Text(), QStringLiteral("31.66"));

        newLine(e.dbgDetail2, "P02");
        typeCell(e.dbgDetail2, 2, "3");
        EXPECT_EQ(e.TblDetail2->FieldByName(QStringLiteral("Amount"))->AsCurrency(), money("3.7035"));
        postLine(e.dbgDetail2);
        // The total adds the four-decimal values: 31.6635 + 3.7035, not 31.66 + 3.70.
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("35.367"));
        EXPECT_EQ(e.EdtTotalAmount->Text(), QStringLiteral("35.37"));
        EXPECT_EQ(headMoney(e, "CostAmount"), money("1.5"));
    });
}

TEST_F(TotalsTest, APriceOrQuantityComputesTheLineAmount)
{
    run("", [](TFrmReceptionRct& e) {
        newLine(e.dbgDetail2, "P01");
        // Taking the part does not compute the amount; a quantity or a price does.
        EXPECT_TRUE(e.TblDetail2->FieldByName(QStringLiteral("Amount"))->IsNull());
        const struct
        {
            int column;
            const char* typed;
            const char* amount;
        } cases[] = {{2, "4", "120"}, {3, "2.5", "10"}, {2, "0", "0"}, {3, "0.0001", "0"}, {2, "7", "0.0007"}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed);
            typeCell(e.dbgDetail2, c.column, QLatin1String(c.typed));
            EXPECT_EQ(e.TblDetail2->FieldByName(QStringLiteral("Amount"))->AsCurrency(), money(c.amount));
        }
    });
}

TEST_F(TotalsTest, ATypedDiscountedAmountHoldsUntilTheNextComputation)
{
    run("", [](TFrmReceptionRct& e) {
        newLine(e.dbgDetail1, "X1");
        postLine(e.dbgDetail1);
        newLine(e.dbgDetail2, "P01");
        typeCell(e.dbgDetail2, 2, "1");
        postLine(e.dbgDetail2);
        ASSERT_EQ(headMoney(e, "TotalAmount"), money("130"));

        enterInto(e.EdtTimesAmount, QStringLiteral("88.8"));
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("118.8"));
        enterInto(e.EdtPartsAmount, QStringLiteral("25"));
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("113.8"));
        EXPECT_EQ(headMoney(e, "STimesAmount"), money("100"));

        // The next line recomputes the labour from its sum; the parts keep their typed amount.
        newLine(e.dbgDetail1, "Y2");
        postLine(e.dbgDetail1);
        EXPECT_EQ(headMoney(e, "TimesAmount"), money("150"));
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("175"));
    });
}

TEST_F(TotalsTest, RemovingTheLastLinesEmptiesTheSums)
{
    run("WX260301001", [](TFrmReceptionRct& e) {
        ASSERT_EQ(headMoney(e, "TotalAmount"), money("210"));
        e.dbgDetail2->setFocus();
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.dbgDetail2, Qt::Key_Delete);
        EXPECT_TRUE(e.TblDetail2->IsEmpty());
        EXPECT_EQ(e.EdtSPartsAmount->Text(), QStringLiteral("0.00"));
        EXPECT_EQ(e.EdtPartsAmount->Text(), QStringLiteral("0.00"));
        EXPECT_EQ(headMoney(e, "CostAmount"), Currency());
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("150"));

        e.dbgDetail1->setFocus();
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.dbgDetail1, Qt::Key_Delete);
        EXPECT_EQ(headMoney(e, "STimesAmount"), money("50"));
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("50"));
    });
    EXPECT_EQ(dialogs().messages(), (QStringList{"您是否确定删除?", "您是否确定删除?"}));
}

TEST_F(TotalsTest, TheFeesAndTheTaxCountInTheTotal)
{
    run("", [](TFrmReceptionRct& e) {
        const struct
        {
            const char* field;
            const char* typed;
            const char* total;
        } cases[] = {{"tcAmount", "1.5", "1.5"},   {"nsAmount", "2", "3.5"},      {"OtherAmount", "0.25", "3.75"},
                     {"TaxAmount", "0.0001", "3.7501"}, {"ManaAmount", "", "3.7501"}, {"TaxAmount", "", "3.75"}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.field);
            head(e, c.field)->SetText(QLatin1String(c.typed));
            EXPECT_EQ(headMoney(e, "TotalAmount"), money(c.total));
        }
    });
}

TEST_F(TotalsTest, TheSettlementWordOfARepairItem)
{
    run("", [](TFrmReceptionRct& e) {
        newLine(e.dbgDetail1, "X1");
        TField* word = e.tblDetail1->FieldByName(QStringLiteral("PayType"));
        TField* price = e.tblDetail1->FieldByName(QStringLiteral("TimeAmount"));
        EXPECT_EQ(word->AsString(), QStringLiteral("客付"));
        const struct
        {
            const char* word;
            const char* price;
        } cases[] = {{"赠送", "0"}, {"客付", "100"}, {"自用", "0"}, {"  客付 ", "100"}, {"返修", "0"}, {"其他", "0"},
                     {"客付", "100"}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.word);
            word->SetText(QString::fromUtf8(c.word)); // as the cell's pick list writes it
            EXPECT_EQ(word->AsString(), QString::fromUtf8(c.word).trimmed());
            EXPECT_EQ(price->AsCurrency(), money(c.price));
        }
        postLine(e.dbgDetail1);
        EXPECT_EQ(headMoney(e, "STimesAmount"), money("100"));
        // A price typed over the item's stays until the word is set to "客付" again.
        typeCell(e.dbgDetail1, 2, "80");
        postLine(e.dbgDetail1);
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("80"));
    });
}

TEST_F(TotalsTest, APartLineGivenAwayIsChargedNothing)
{
    run("", [](TFrmReceptionRct& e) {
        newLine(e.dbgDetail2, "P01");
        typeCell(e.dbgDetail2, 2, "2");
        e.TblDetail2->FieldByName(QStringLiteral("PayType"))->SetText(QStringLiteral("自用"));
        postLine(e.dbgDetail2);
        EXPECT_EQ(e.TblDetail2->FieldByName(QStringLiteral("Price"))->AsCurrency(), Currency());
        EXPECT_EQ(e.TblDetail2->FieldByName(QStringLiteral("Amount"))->AsCurrency(), Currency());
        EXPECT_EQ(e.TblDetail2->FieldByName(QStringLiteral("Qty"))->AsInteger(), 2); // it still leaves the stock
        EXPECT_EQ(headMoney(e, "SPartsAmount"), Currency());
        EXPECT_EQ(headMoney(e, "CostAmount"), money("36")); // and still costs the shop

        // Back to "客付" the price does not come back by itself.
        e.TblDetail2->Edit();
        e.TblDetail2->FieldByName(QStringLiteral("PayType"))->SetText(QStringLiteral("客付"));
        postLine(e.dbgDetail2);
        EXPECT_EQ(e.TblDetail2->FieldByName(QStringLiteral("Price"))->AsCurrency(), Currency());

        // An empty word charges as "客付".
        newLine(e.dbgDetail2, "P01");
        typeCell(e.dbgDetail2, 2, "1");
        e.TblDetail2->FieldByName(QStringLiteral("PayType"))->SetText(QString());
        postLine(e.dbgDetail2);
        EXPECT_EQ(headMoney(e, "SPartsAmount"), money("30"));
    });
}

} // namespace
} // namespace qx::documents::test
