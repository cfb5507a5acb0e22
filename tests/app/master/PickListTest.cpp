// The pick list by field name: every statement of both lists opens on the shop database with the
// columns its callers read, the title row follows the aliases, a pick writes a value (never
// through the text setter) with its companions, and the keys that take, close and cancel.
#include "MasterFixture.h"

#include "app/master/uAselect.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QLineEdit>

namespace qx::app::test {
namespace {

struct ListCase
{
    const char* name;
    QStringList columns;
    bool titled;
};

QStringList fieldNames(const TDataSet& q)
{
    QStringList names;
    for (const TField* f : *q.Fields())
        names << f->FieldName();
    return names;
}

class PickListTest : public MasterTest
{
protected:
    // Opens a list statement the way the pick list does; checks its columns and title row.
    void checkList(const ListCase& c, const QString& sql)
    {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(sql.isEmpty());
        EXPECT_FALSE(sql.contains(QChar(0x3000))) << sql.toStdString();
        TFrmAselect list;
        list.QrySelect->SQL().SetText(sql);
        ASSERT_NO_THROW(list.QrySelect->Open()) << sql.toStdString();
        EXPECT_EQ(fieldNames(*list.QrySelect).join(u',').toLower(), c.columns.join(u',').toLower());
        EXPECT_EQ(list.DBGrid1->Options().testFlag(dgTitles), c.titled);
    }
};

TEST_F(PickListTest, EveryFieldListOpensWithItsColumns)
{
    const ListCase cases[] = {
        {"BillType", {"BillType"}, false},
        {"VIN", {"VIN", "Remark"}, false},
        {"CCode", {"客户编号", "客户名称"}, true},
        {"SCode", {"SCode"}, false},
        {"Model", {"机型", "备注"}, true},
        {"model", {"机型", "备注"}, true},
        {"EngineNo", {"Model", "备注"}, true},
        {"MainWorker", {"Mainworker", "Remark"}, false},
        {"Charger", {"员工姓名", "备注"}, true},
        {"Checker", {"员工姓名", "备注"}, true},
        {"Biller", {"员工姓名", "备注"}, true},
        {"Settler", {"员工姓名", "备注"}, true},
        {"Receiver", {"员工姓名", "备注"}, true},
        {"SItemCode", {"项目名称", "项目编号", "工时费"}, true},
        {"ItemCode", {"配件编号", "配件名称", "数量", "销售价"}, true},
        {"ItemName", {"配件名称", "配件编号", "数量", "销售价"}, true},
        {"BusinessNo", {"单号", "进货单位", "金额"}, true},
        {"CardNo", {"CardNo"}, false},
        {"WashItem", {"维修项目", "工时费"}, true},
        {"Item1", {"维修项目", "工时费"}, true},
        {"Item2", {"维修项目", "工时费"}, true},
        {"CardType", {"卡类型"}, true},
        {"ClientType", {"客户类型"}, true},
        {"SupplierType", {"供应商类型"}, true},
        {"MisInfo", {"送修原因"}, true},
        {"ClientEvent", {"ClientEvent"}, false},
    };
    for (const ListCase& c : cases) {
        // A field of that name in a dataset named QryMain (BillType needs the name).
        HubTable main({{c.name, ftString}}, "QryMain");
        checkList(c, FieldValueListSql(*main.Fields()->Fields(0)));
    }
}

TEST_F(PickListTest, EveryFindListOpensWithItsColumns)
{
    const ListCase cases[] = {
        {"VIN", {"VIN", "Remark"}, false},
        {"SCode", {"SCode"}, false},
        {"Model", {"Model", "Remark"}, false},
        {"MainWorker", {"Mainworker", "Remark"}, false},
        {"Receiver", {"Receiver", "Remark"}, false},
        {"SItemCode", {"项目名称", "项目编号", "工时费"}, true},
        {"ItemCode", {"ItemCode", "Itemname"}, false},
        {"ItemName", {"Itemname", "ItemCode"}, false},
        {"CCode", {"CCode"}, false},
        {"Settler", {"Settler"}, false},
        {"YearQty", {"YearQty"}, false},
    };
    for (const ListCase& c : cases)
        checkList(c, FindValueListSql(QLatin1String(c.name)));
}

TEST_F(PickListTest, NamesWithoutAListOpenNothing)
{
    HubTable other({{"BillType", ftString}, {"Remark", ftString}, {"Charger", ftString}}, "QryBill");
    EXPECT_TRUE(FieldValueListSql(*other.FieldByName(QStringLiteral("BillType"))).isEmpty());
    EXPECT_TRUE(FieldValueListSql(*other.FieldByName(QStringLiteral("Remark"))).isEmpty());
    EXPECT_FALSE(FieldValueListSql(*other.FieldByName(QStringLiteral("Charger"))).isEmpty());
    EXPECT_TRUE(FindValueListSql(QStringLiteral("Charger")).isEmpty());
    EXPECT_TRUE(FindValueListSql(QStringLiteral("CCode; drop table t_Client")).isEmpty());

    // The button of such a field does nothing: no list comes up, nothing changes.
    other.Append();
    SelectFieldValue(other.FieldByName(QStringLiteral("BillType")));
    SelectFieldValue(other.FieldByName(QStringLiteral("Remark")));
    EXPECT_TRUE(dialogs().shown().isEmpty());
    EXPECT_TRUE(other.calls.isEmpty());
}

TEST_F(PickListTest, BillTypeListsTheCategoriesOnlyOnQryMain)
{
    exec(QStringLiteral("insert into t_DayAccount (BillType, JD) values ('房租', '支出'), ('房租', '支出'), ('废品', '收入')"));
    HubTable main({{"BillType", ftString}}, "QryMain");
    QStringList listed;
    dialogs().answerDialog([&](QDialog& d) {
        auto& list = formOf<TFrmAselect>(d);
        for (list.QrySelect->First(); !list.QrySelect->Eof(); list.QrySelect->Next())
            listed << list.QrySelect->Fields()->Fields(0)->AsString();
        list.QrySelect->Locate(QStringLiteral("BillType"), QStringLiteral("废品"));
        QTest::keyClick(list.DBGrid1, Qt::Key_Return);
    });
    SelectFieldValue(main.FieldByName(QStringLiteral("BillType")));
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"废品", "房租"}));
    EXPECT_EQ(main.text("BillType"), QStringLiteral("废品"));
}

TEST_F(PickListTest, AModelIsTakenAsAValueWithTheTitledList)
{
    exec(QStringLiteral("insert into t_Model (Model, Remark) values ('A100', '旧款'), ('B200', '新款')"));
    HubTable bill({{"Model", ftString}, {"VIN", ftString}}, "MMTMaster");
    bill.Append();
    bill.FieldByName(QStringLiteral("VIN"))->SetAsString(QStringLiteral("S1"));
    bill.Post();
    dialogs().answerDialog([&](QDialog& d) {
        auto& list = formOf<TFrmAselect>(d);
        EXPECT_EQ(list.Caption(), QStringLiteral("选择"));
        EXPECT_EQ(columnTitles(list.DBGrid1), (QStringList{"机型", "备注"}));
        list.QrySelect->Locate(QStringLiteral("机型"), QStringLiteral("B200"));
        QTest::keyClick(list.DBGrid1, Qt::Key_Return);
    });
    SelectFieldValue(bill.FieldByName(QStringLiteral("Model")));
    EXPECT_EQ(bill.text("Model"), QStringLiteral("B200"));
    EXPECT_EQ(bill.State(), dsEdit);
    EXPECT_TRUE(bill.calls.isEmpty()) << bill.calls.join(u'|').toStdString();
    flushDeletes();
}

TEST_F(PickListTest, AWorkerIsTakenByDoubleClickFromAListWithoutTitles)
{
    exec(QStringLiteral("insert into t_MainWorker (MainWorker, Remark) values ('王五', ''), ('赵六', '')"));
    HubTable bill({{"MainWorker", ftString}}, "MMTMaster");
    dialogs().answerDialog([&](QDialog& d) {
        auto& list = formOf<TFrmAselect>(d);
        EXPECT_FALSE(list.DBGrid1->Options().testFlag(dgTitles));
        list.QrySelect->Locate(QStringLiteral("Mainworker"), QStringLiteral("赵六"));
        doubleClickRow(list.DBGrid1, list.QrySelect->RecNo() - 1);
    });
    SelectFieldValue(bill.FieldByName(QStringLiteral("MainWorker")));
    EXPECT_EQ(bill.text("MainWorker"), QStringLiteral("赵六"));
    EXPECT_TRUE(bill.calls.isEmpty());
}

// The part and repair-item lists fill their companion fields from the titled columns.
TEST_F(PickListTest, PartsAndRepairItemsFillTheirCompanions)
{
    exec(QStringLiteral("insert into t_Stock (ItemCode, ItemName, Qty, Price) values ('P01', '屏幕', 3, 120), ('P02', '电池', 5, 80)"));
    exec(QStringLiteral("insert into tServiceItem (SItemCode, SItemName, TimeAmount) values ('X1', '换屏', 50), ('X2', '刷机', 30.5)"));
    HubTable lines({{"ItemCode", ftString}, {"ItemName", ftString}, {"SItemCode", ftString},
                    {"SItemName", ftString}, {"TimeAmount", ftCurrency}});

    const struct
    {
        const char* field;
        const char* locateColumn;
        const char* locateValue;
        QStringList expected; // ItemCode, ItemName, SItemCode, SItemName, TimeAmount
    } cases[] = {
        {"ItemName", "配件名称", "电池", {"P02", "电池", "", "", ""}},
        {"ItemCode", "配件编号", "P01", {"P01", "屏幕", "", "", ""}},
        {"SItemCode", "项目编号", "X2", {"", "", "X2", "刷机", "30.5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        lines.EmptyTable();
        lines.calls.clear();
        dialogs().answerDialog([&](QDialog& d) {
            auto& list = formOf<TFrmAselect>(d);
            ASSERT_TRUE(list.QrySelect->Locate(QString::fromUtf8(c.locateColumn), QString::fromUtf8(c.locateValue)));
            QTest::keyClick(list.DBGrid1, Qt::Key_Return);
        });
        SelectFieldValue(lines.FieldByName(QLatin1String(c.field)));
        const QStringList got{lines.text("ItemCode"), lines.text("ItemName"), lines.text("SItemCode"),
                              lines.text("SItemName"),
                              lines.FieldByName(QStringLiteral("TimeAmount"))->IsNull()
                                  ? QString()
                                  : lines.FieldByName(QStringLiteral("TimeAmount"))->AsString()};
        EXPECT_EQ(got, c.expected);
        EXPECT_TRUE(lines.calls.isEmpty()) << lines.calls.join(u'|').toStdString();
        lines.Cancel();
    }
}

TEST_F(PickListTest, AWashItemFillsTheCardWhichHasNoPriceColumn)
{
    exec(QStringLiteral("insert into tServiceItem (SItemCode, SItemName, TimeAmount) values ('X1', '清洁保养', 50)"));
    HubTable card({{"CardNo", ftString}, {"WashItem", ftString}}, "QryMain");
    dialogs().answerDialog([&](QDialog& d) { QTest::keyClick(formOf<TFrmAselect>(d).DBGrid1, Qt::Key_Return); });
    SelectFieldValue(card.FieldByName(QStringLiteral("WashItem")));
    EXPECT_EQ(card.text("WashItem"), QStringLiteral("清洁保养"));
}

TEST_F(PickListTest, EnterOnAnEmptyListAndEscOnlyClose)
{
    exec(QStringLiteral("insert into t_Model (Model, Remark) values ('A100', '')"));
    HubTable bill({{"Model", ftString}, {"ClientType", ftString}}, "MMTMaster");
    bill.Append();
    bill.FieldByName(QStringLiteral("Model"))->SetAsString(QStringLiteral("旧值"));
    bill.Post();

    // t_ClientType is empty.
    dialogs().answerDialog([&](QDialog& d) {
        auto& list = formOf<TFrmAselect>(d);
        QTest::keyClick(list.DBGrid1, Qt::Key_Return);
        EXPECT_FALSE(list.isVisible());
    });
    SelectFieldValue(bill.FieldByName(QStringLiteral("ClientType")));
    EXPECT_EQ(bill.State(), dsBrowse);

    dialogs().answerDialog([&](QDialog& d) {
        auto& list = formOf<TFrmAselect>(d);
        QTest::keyClick(list.DBGrid1, Qt::Key_Escape);
        EXPECT_FALSE(list.isVisible());
    });
    SelectFieldValue(bill.FieldByName(QStringLiteral("Model")));
    EXPECT_EQ(bill.State(), dsBrowse);
    EXPECT_EQ(bill.text("Model"), QStringLiteral("旧值"));
}

TEST_F(PickListTest, TheFindBoxOfTheSerialListsThePrefixesAsText)
{
    exec(QStringLiteral("insert into t_VINPre (VIN, Remark) values ('粤B', '深圳')"));
    exec(QStringLiteral("insert into tVehicle (VIN) values ('粤B12345')"));
    TQxEdit edit;
    QStringList listed;
    dialogs().answerDialog([&](QDialog& d) {
        auto& list = formOf<TFrmAselect>(d);
        for (list.QrySelect->First(); !list.QrySelect->Eof(); list.QrySelect->Next())
            listed << list.QrySelect->Fields()->Fields(0)->AsString();
        doubleClickRow(list.DBGrid1, 0);
    });
    SelectFindValue(QStringLiteral("VIN"), &edit);
    EXPECT_EQ(listed, QStringList{"粤B"});
    EXPECT_EQ(edit.Text(), QStringLiteral("粤B"));
}

TEST_F(PickListTest, AListWhoseTableIsMissingSaysSoAndDoesNotOpen)
{
    exec(QStringLiteral("drop table t_MisInfo"));
    HubTable bill({{"MisInfo", ftString}}, "MMTMaster");
    dialogs().answerMessage(mrOk);
    SelectFieldValue(bill.FieldByName(QStringLiteral("MisInfo")));
    ASSERT_EQ(dialogs().shown().size(), 1);
    EXPECT_EQ(dialogs().shown().front().kind, ShownDialog::MessageBox);
    EXPECT_TRUE(dialogs().messages().front().contains(QStringLiteral("t_MisInfo")));
}

} // namespace
} // namespace qx::app::test
