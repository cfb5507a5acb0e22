// The two numbers of a work order: a stored bill's number entered into another bill brings
// that bill up instead ("此单已存在!"), and a manual number that any stored bill carries, the
// edited bill's own included, draws the warning "手工单号已存在,请修改!" and stays.
#include "WorkOrderFixture.h"

namespace qx::documents::test {
namespace {

class BillNumberTest : public WorkOrderTest
{
protected:
    void SetUp() override
    {
        WorkOrderTest::SetUp();
        exec(QStringLiteral("insert into t_ReceptionMst (BillNo, ReBillNo, BillDate, INtime, VIN, CName, TotalAmount) "
                            "values ('WX2603''02', 'R''2', '2026-03-02', '2026-03-02', 'SN200', 'O''Neil', 0)"));
    }
};

TEST_F(BillNumberTest, AStoredBillsNumberBringsThatBillUp)
{
    run("", [](TFrmReceptionRct& e) {
        enterInto(e.EdtVin, QStringLiteral("SN300"));
        dialogs().answerMessage(qx::mrOk);
        // The number box is read-only: a number reaches the head through its text setter.
        head(e, "BillNo")->SetText(QStringLiteral("  WX260301001 "));
        EXPECT_EQ(dialogs().messages(), QStringList{"此单已存在!"});
        EXPECT_EQ(e.CurrentBillNo, QStringLiteral("WX260301001"));
        EXPECT_EQ(e.tblHead->State(), dsEdit);
        EXPECT_EQ(e.EdtBillNo->Text(), QStringLiteral("WX260301001"));
        EXPECT_EQ(e.EdtVin->Text(), QStringLiteral("SN100"));
        EXPECT_EQ(e.tblDetail1->RecordCount(), 2);
        EXPECT_EQ(e.TblDetail2->RecordCount(), 1);
        EXPECT_EQ(e.EdtTotalAmount->Text(), QStringLiteral("210.00"));
        // The reloaded tables keep their rules.
        enterInto(e.EdtXZhe, QStringLiteral("5"));
        EXPECT_EQ(headMoney(e, "TotalAmount"), money("135"));

        // The bill's own number, an unknown number, an empty one: no message. A quote is a
        // character of the number.
        dialogs().clear();
        for (const char* number : {"WX260301001", " WX260301001", "WX999", "", "WX2603'0"}) {
            head(e, "BillNo")->SetText(QLatin1String(number));
            EXPECT_TRUE(dialogs().messages().isEmpty()) << number;
        }
        EXPECT_EQ(e.CurrentBillNo, QStringLiteral("WX260301001"));
        dialogs().answerMessage(qx::mrOk);
        head(e, "BillNo")->SetText(QStringLiteral("WX2603'02"));
        EXPECT_EQ(e.CurrentBillNo, QStringLiteral("WX2603'02"));
        EXPECT_EQ(e.EdtVin->Text(), QStringLiteral("SN200"));
        EXPECT_TRUE(e.tblDetail1->IsEmpty());
        EXPECT_TRUE(e.TblDetail2->IsEmpty());
    });
    EXPECT_EQ(dialogs().unexpected(), 0);
}

TEST_F(BillNumberTest, AManualNumberInUseIsWarnedAboutAndStays)
{
    const struct
    {
        const char* bill;
        const char* typed;
        bool warned;
    } cases[] = {
        {"", "R-1", true},
        {"", "R'2", true},
        {"", "r-1", true}, // numbers compare without case, as the database stores them
        {"", "R-3", false},
        {"", "R'", false},
        {"WX260301001", "R-1", true}, // the bill's own number too
        {"WX260301001", "R'2", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.bill) + " " + c.typed);
        dialogs().clear();
        run(QLatin1String(c.bill), [&](TFrmReceptionRct& e) {
            if (c.warned)
                dialogs().answerMessage(qx::mrOk);
            enterInto(e.EdtReBillNo, QLatin1String(c.typed));
            EXPECT_EQ(headText(e, "ReBillNo"), QLatin1String(c.typed));
            EXPECT_EQ(dialogs().messages(),
                      c.warned ? QStringList{"手工单号已存在,请修改!"} : QStringList{});
        });
        EXPECT_EQ(dialogs().unexpected(), 0);
    }
}

} // namespace
} // namespace qx::documents::test
