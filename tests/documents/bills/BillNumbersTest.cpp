// Bill numbers: prefix, the day of the save as "yymmdd" and a three-digit counter, allocated
// from the greatest well-formed number of the day in the kind's head table; the thousandth of
// a day is refused.
#include "tests/app/master/MasterFixture.h"
#include "tests/support/Scoped.h"

#include "documents/bills/BillNumbers.h"

#include <QScopeGuard>

namespace qx::documents::test {
namespace {

using qx::app::test::MasterTest;

struct NextCase
{
    const char* prefix;
    QDate day;
    const char* greatest;
    const char* next;
};

TEST(BillNumberRule, TheCounterFollowsTheGreatestNumberOfTheDay)
{
    const NextCase cases[] = {
        {"WX", QDate(2005, 3, 21), "", "WX050321001"},
        {"WX", QDate(2005, 3, 21), "WX050321001", "WX050321002"},
        {"WX", QDate(2005, 3, 21), "wx050321009", "WX050321010"},
        {"XS", QDate(2026, 12, 31), "XS261231099", "XS261231100"},
        {"GJ", QDate(2026, 1, 2), "GJ260102998", "GJ260102999"},
        {"PD", QDate(2010, 10, 10), "", "PD101010001"},
    };
    for (const NextCase& c : cases)
        EXPECT_EQ(nextBillNumber(QLatin1String(c.prefix), c.day, QLatin1String(c.greatest)), QLatin1String(c.next))
            << c.greatest;
}

TEST(BillNumberRule, TheThousandthBillOfADayIsRefused)
{
    EXPECT_THROW(nextBillNumber(QStringLiteral("WX"), QDate(2005, 3, 21), QStringLiteral("WX050321999")),
                 EBillNumbersExhausted);
}

TEST(BillNumberRule, ANumberOfAnotherFormIsNoGreatestNumber)
{
    for (const char* bad : {"WX050321ABC", "WX0503211000", "WX05032101", "XS050321005", "WX050322001"})
        EXPECT_THROW(nextBillNumber(QStringLiteral("WX"), QDate(2005, 3, 21), QLatin1String(bad)), EDatabaseError)
            << bad;
}

class BillNumberAllocation : public MasterTest
{
protected:
    QString allocate(const BillKind& kind)
    {
        module->ADOConnection->BeginTrans();
        const auto rollback = qScopeGuard([this] { module->ADOConnection->RollbackTrans(); });
        return allocateBillNumber(*module->ADOConnection, kind);
    }
};

TEST_F(BillNumberAllocation, NumbersOfOneDayAndOfTheNext)
{
    exec(QStringLiteral("insert into t_ReceptionMst (BillNo) values ('WX260305001'), ('WX260305002'), "
                        "('WX260305ABC'), ('WX2603051234'), ('WX260306001'), ('R-77')"));
    struct Case
    {
        QDate today;
        const char* number;
    };
    const Case cases[] = {{QDate(2026, 3, 5), "WX260305003"},
                          {QDate(2026, 3, 6), "WX260306002"},
                          {QDate(2026, 3, 7), "WX260307001"},
                          {QDate(2027, 3, 5), "WX270305001"}};
    for (const Case& c : cases) {
        const qx::test::ScopedToday today(c.today);
        EXPECT_EQ(allocate(workOrderBills()), QLatin1String(c.number)) << c.today.toString().toStdString();
    }
}

TEST_F(BillNumberAllocation, EachKindCountsInItsOwnHeadTable)
{
    exec(QStringLiteral("insert into t_OutMst (BillNo) values ('XS260305004')"));
    exec(QStringLiteral("insert into t_InMst (BillNo) values ('GJ260305010')"));
    exec(QStringLiteral("insert into t_ReceptionMst (BillNo) values ('WX260305007')"));
    const qx::test::ScopedToday today(QDate(2026, 3, 5));
    EXPECT_EQ(allocate(salesBills()), QStringLiteral("XS260305005"));
    EXPECT_EQ(allocate(purchaseBills()), QStringLiteral("GJ260305011"));
    EXPECT_EQ(allocate(stockTakingBills()), QStringLiteral("PD260305001"));
    EXPECT_EQ(allocate(workOrderBills()), QStringLiteral("WX260305008"));
}

TEST_F(BillNumberAllocation, ADayWithAllNumbersTakenAllocatesNone)
{
    exec(QStringLiteral("insert into t_ReceptionMst (BillNo) values ('WX260305999')"));
    const qx::test::ScopedToday today(QDate(2026, 3, 5));
    EXPECT_THROW(allocate(workOrderBills()), EBillNumbersExhausted);
}

} // namespace
} // namespace qx::documents::test
