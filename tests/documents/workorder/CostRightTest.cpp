// The part costs of a work order and the right "维修结算单-配件成本": an operator without it
// sees no "成本价" column, no "成本：" caption and no cost box, but the costs stay in the parts
// table and the cost total is computed all the same, so a save by that operator keeps them.
// The hidden column is not written hidden into the grid's layout.
#include "WorkOrderFixture.h"

#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QDir>
#include <QFile>

namespace qx::documents::test {
namespace {

class CostRightTest : public WorkOrderTest
{
};

TEST_F(CostRightTest, WithoutTheRightTheCostIsHiddenButKeptAndComputed)
{
    const struct
    {
        const char* name;
        QStringList rights;
        bool sees;
    } cases[] = {
        {"with the right", {"维修结算单-配件成本"}, true},
        {"without it", {"维修结算单-保存退出"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("delete from t_UserDB where UserCode = '店员'"));
        loginWith(c.rights);
        run("WX260301001", [&](TFrmReceptionRct& e) {
            EXPECT_EQ(e.ShowsCost(), c.sees);
            EXPECT_EQ(ColumnByFieldName(e.dbgDetail2, QStringLiteral("CostPrice"))->Visible(), c.sees);
            EXPECT_EQ(e.LblCostAmount->isVisible(), c.sees);
            EXPECT_EQ(e.EdtCostAmount->isVisible(), c.sees);
            // The stored cost is in memory and counts.
            TField* cost = e.TblDetail2->FindField(QStringLiteral("CostPrice"));
            ASSERT_NE(cost, nullptr);
            EXPECT_EQ(cost->AsCurrency(), money("18"));
            EXPECT_EQ(headMoney(e, "CostAmount"), money("36"));
            // A new part brings its cost from the stock file.
            newLine(e.dbgDetail2, "P02");
            typeCell(e.dbgDetail2, 2, "3");
            EXPECT_EQ(cost->AsCurrency(), money("0.5"));
            postLine(e.dbgDetail2);
            EXPECT_EQ(headMoney(e, "CostAmount"), money("37.5"));
        });
    }
    EXPECT_TRUE(dialogs().messages().isEmpty()); // the check is silent
    EXPECT_EQ(dialogs().unexpected(), 0);
}

TEST_F(CostRightTest, AnOperatorWithoutTheRightDoesNotHideTheColumnForOthers)
{
    loginWith({});
    run("", [](TFrmReceptionRct& e) {
        EXPECT_FALSE(ColumnByFieldName(e.dbgDetail2, QStringLiteral("CostPrice"))->Visible());
    });
    ASSERT_TRUE(QFile::exists(QDir(programFolder()).filePath(QStringLiteral("维修结算单dbgDetail2.dbg"))));
    CurrentUser = qx::app::administratorCode();
    run("", [](TFrmReceptionRct& e) {
        EXPECT_TRUE(ColumnByFieldName(e.dbgDetail2, QStringLiteral("CostPrice"))->Visible());
        EXPECT_TRUE(e.EdtCostAmount->isVisible());
    });
}

} // namespace
} // namespace qx::documents::test
