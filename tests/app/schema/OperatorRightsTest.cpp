// The fixed rights list: its order, its indentation and its size.
#include "app/schema/OperatorRights.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

using qx::app::administratorRights;
using qx::app::fixedRights;

TEST(OperatorRights, FixedListHas84RightsInTheEditorsOrder)
{
    const QStringList rights = fixedRights();
    ASSERT_EQ(rights.size(), 84);
    EXPECT_EQ(rights.first(), QStringLiteral("主-工单管理"));
    EXPECT_EQ(rights[1], QStringLiteral("    工单录入-增加"));
    EXPECT_EQ(rights[8], QStringLiteral("        维修结算单-打印"));
    EXPECT_EQ(rights[11], QStringLiteral("主-采购管理"));
    EXPECT_EQ(rights.last(), QStringLiteral("主-报表中心"));

    QSet<QString> seen;
    for (const QString& right : rights) {
        const QString trimmed = right.trimmed();
        const qsizetype blanks = right.size() - trimmed.size();
        // Module rights start at the margin, actions at 4 blanks, editor rights at 8.
        EXPECT_TRUE(blanks == 0 || blanks == 4 || blanks == 8) << right.toStdString();
        EXPECT_EQ(blanks == 0, trimmed.startsWith(QStringLiteral("主-"))) << right.toStdString();
        EXPECT_GT(trimmed.indexOf(QLatin1Char('-')), 0) << right.toStdString();
        EXPECT_FALSE(seen.contains(trimmed)) << right.toStdString();
        seen.insert(trimmed);
    }
    EXPECT_EQ(rights.filter(QRegularExpression(QStringLiteral("^主-"))).size(), 15);
}

TEST(OperatorRights, AdministratorHoldsTheFixedListAndTheMenuRights)
{
    const QStringList admin = administratorRights();
    EXPECT_EQ(admin.mid(0, 84), fixedRights());
    EXPECT_TRUE(admin.contains(QStringLiteral("主-销售管理")));
    EXPECT_TRUE(admin.contains(QStringLiteral("主-车辆年季审")));
    EXPECT_TRUE(admin.contains(QStringLiteral("   报表中心-报表设置")));
    EXPECT_EQ(admin.size(), 87);
}
