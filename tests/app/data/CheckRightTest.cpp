// The rights check in front of every action: who passes, who is refused, and what the
// operator is told.
#include "DataModuleFixture.h"

#include "app/schema/OperatorRights.h"
#include "platform/db/sql/ADOQuery.h"

#include <gtest/gtest.h>

#include <ostream>

namespace qx::app::test {
namespace {

struct RightCase
{
    const char* name;
    const char16_t* user;
    const char16_t* module;
    const char16_t* action;
    bool showMessage;
    bool granted;
};

void PrintTo(const RightCase& c, std::ostream* os)
{
    *os << c.name;
}

// The operators of every case (the new database's all-rights operator is there too).
struct StoredRight
{
    const char16_t* user;
    const char16_t* right;
};
const StoredRight kRights[] = {
    {u"alice", u"    工单录入-增加"},    // indented as the rights editor stores action rights
    {u"alice", u"主-采购管理"},
    {u"alice", u"报表中心-Sales Report"},
    {u"alice", u"主-库存管理   "},       // trailing blanks
    {u"alice", u"报表中心-O'Brien's 报表"},
    {u"bob", u"主-工单管理"},
    {u"", u"主-工单管理"},               // a damaged row without an operator
    {u"carol", u""},                     // an operator without rights
};

class CheckRightTest : public DataModuleTest, public ::testing::WithParamInterface<RightCase>
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        for (const StoredRight& r : kRights) {
            exec(QStringLiteral("insert into t_UserDB (UserCode, Password, Remark, \"Right\") "
                                "values (:u, '', '', :r)"),
                 {{QStringLiteral("u"), QString::fromUtf16(r.user)},
                  {QStringLiteral("r"), QString::fromUtf16(r.right)}});
        }
    }
};

TEST_P(CheckRightTest, GrantsOrRefuses)
{
    const RightCase& c = GetParam();
    CurrentUser = QString::fromUtf16(c.user);
    const QString action = QString::fromUtf16(c.action);
    const bool told = !c.granted && c.showMessage;
    if (told)
        dialogs().answerMessage(mrOk);

    EXPECT_EQ(module->CheckRight(QString::fromUtf16(c.module), action, c.showMessage), c.granted);

    if (told) {
        ASSERT_EQ(dialogs().messages(), QStringList{QStringLiteral("对不起你没有 [") + action
                                                    + QStringLiteral("] 的权限")});
        EXPECT_EQ(dialogs().shown().front().buttons, QList<int>{mrOk});
    } else {
        EXPECT_TRUE(dialogs().shown().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckRightTest,
    ::testing::Values(
        RightCase{"IndentedRightPasses", u"alice", u"工单录入", u"增加", true, true},
        RightCase{"TrailingBlanksTrimmed", u"alice", u"主", u"库存管理", true, true},
        RightCase{"MissingRightToldWithActionOnly", u"alice", u"主", u"工单管理", true, false},
        RightCase{"MissingRightSilent", u"alice", u"主", u"工单管理", false, false},
        RightCase{"LetterCaseOfRightIgnored", u"alice", u"报表中心", u"sales REPORT", true, true},
        RightCase{"LetterCaseOfOperatorIgnored", u"ALICE", u"主", u"采购管理", true, true},
        RightCase{"QuotesInNameAreData", u"alice", u"报表中心", u"O'Brien's 报表", true, true},
        RightCase{"QuotesInMissingNameRefusedPlainly", u"alice", u"报表中心", u"O'Neil's 报表",
                  true, false},
        RightCase{"NoPartialMatch", u"alice", u"主", u"采购", true, false},
        RightCase{"NoWildcards", u"alice", u"主", u"%", true, false},
        RightCase{"ModuleCounts", u"alice", u"工单管理", u"增加", true, false},
        RightCase{"HisOwnRightCounts", u"bob", u"主", u"工单管理", true, true},
        RightCase{"NobodyLoggedInHoldsNothing", u"", u"主", u"工单管理", true, false},
        RightCase{"OperatorWithoutRights", u"carol", u"主", u"工单管理", true, false},
        RightCase{"UnknownOperator", u"dave", u"主", u"工单管理", true, false},
        RightCase{"AllRightsOperatorHoldsStoredRights", u"高级用户", u"主", u"工单管理", true,
                  true},
        // A report stored after the operator's rights were written: nobody can grant it to
        // the all-rights operator, so it must pass without a row.
        RightCase{"AllRightsOperatorHoldsLaterReports", u"高级用户", u"报表中心",
                  u"维修历史工单别", true, true}),
    [](const ::testing::TestParamInfo<RightCase>& info) { return std::string(info.param.name); });

TEST_F(DataModuleTest, CheckRightLeavesTheMatchingRowsInQryTemp)
{
    exec(QStringLiteral("insert into t_UserDB (UserCode, Password, Remark, \"Right\") "
                        "values ('alice', '', 'front desk', '  主-工单管理')"));
    CurrentUser = QStringLiteral("alice");
    ASSERT_TRUE(module->CheckRight(QStringLiteral("主"), QStringLiteral("工单管理"), false));
    ASSERT_TRUE(module->QryTemp->Active());
    EXPECT_EQ(module->QryTemp->RecordCount(), 1);
    EXPECT_EQ(module->QryTemp->FieldByName(QStringLiteral("Remark"))->AsString(),
              QStringLiteral("front desk"));
}

TEST_F(DataModuleTest, CheckRightReplacesWhatQryTempHeld)
{
    module->QryTemp->SQL().SetText(QStringLiteral("select * from tReportTitle"));
    module->QryTemp->Open();
    CurrentUser = QStringLiteral("nobody");
    EXPECT_FALSE(module->CheckRight(QStringLiteral("主"), QStringLiteral("工单管理"), false));
    EXPECT_TRUE(module->QryTemp->Active());
    EXPECT_EQ(module->QryTemp->RecordCount(), 0);
    EXPECT_NE(module->QryTemp->FindField(QStringLiteral("UserCode")), nullptr);
}

TEST_F(DataModuleTest, CheckRightOnAClosedConnectionRaises)
{
    CurrentUser = administratorCode();
    module->ADOConnection->Close();
    EXPECT_THROW(module->CheckRight(QStringLiteral("主"), QStringLiteral("工单管理"), true),
                 EDatabaseError);
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

} // namespace
} // namespace qx::app::test
