// The money arithmetic of the bills: discounts in tenths rounded once to four decimals with
// halves to even, exact line amounts, and empty values counting as 0.
#include "documents/bills/BillMoney.h"

#include "platform/db/QxMemTable.h"

#include <gtest/gtest.h>

namespace {

Currency money(const char* text)
{
    return Currency::fromString(QString::fromLatin1(text));
}

TEST(BillMoney, ADiscountInTenthsIsRoundedOnceHalvesToEven)
{
    const struct
    {
        const char* amount;
        double tenths;
        const char* expected;
    } cases[] = {
        {"150", 8, "120"},
        {"33.33", 9.5, "31.6635"},     // four decimals kept, not two
        {"33.33", 0, "33.33"},         // 0 means no discount
        {"0.0001", 5, "0"},            // 0.00005: the half goes to the even 0
        {"0.0003", 5, "0.0002"},       // 0.00015: the half goes to the even 2
        {"0.0007", 5, "0.0004"},       // 0.00035: to 4
        {"-0.0003", 5, "-0.0002"},     // a credit rounds the same way
        {"19.99", 8.8, "17.5912"},
        {"100", 10, "100"},
        {"1.2345", 3.3333, "0.4115"},  // 0.41149... below the half
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amount);
        EXPECT_EQ(qx::documents::discounted(money(c.amount), c.tenths), money(c.expected));
    }
}

TEST(BillMoney, ALineAmountIsExact)
{
    EXPECT_EQ(qx::documents::lineAmount(3, money("1.2345")), money("3.7035"));
    EXPECT_EQ(qx::documents::lineAmount(0, money("99.99")), money("0"));
    EXPECT_EQ(qx::documents::lineAmount(-2, money("0.0001")), money("-0.0002"));
}

TEST(BillMoney, AnEmptyValueCountsAsNothing)
{
    TQxMemTable table;
    table.FieldDefs()->Add(QStringLiteral("Amount"), ftCurrency);
    table.CreateTable();
    table.Open();
    table.Append();
    EXPECT_EQ(qx::documents::moneyOf(table.FieldByName(QStringLiteral("Amount"))), Currency());
    EXPECT_EQ(qx::documents::moneyOf(nullptr), Currency());
    table.FieldByName(QStringLiteral("Amount"))->SetAsString(QStringLiteral("12.3456"));
    EXPECT_EQ(qx::documents::moneyOf(table.FieldByName(QStringLiteral("Amount"))), money("12.3456"));
}

} // namespace
