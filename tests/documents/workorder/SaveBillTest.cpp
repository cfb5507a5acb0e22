// Saving a work order: the number of a new bill (per day, in the order of saving), a re-save
// under the stored number replacing the lines, the stock gates and movements, a failure after
// the number was allocated leaving nothing behind, a part code the stock file lacks, the pick
// lists and the device.
#include "SaveFixture.h"

#include "documents/workorder/WorkOrderStore.h"

namespace qx::documents::test {
namespace {

TEST_F(SaveTest, NewBillsAreNumberedByTheDayOfTheSave)
{
    saveNewBill();
    saveNewBill();
    {
        // The next day counts afresh, whatever the bill's date.
        const qx::test::ScopedToday nextDay(saveDay().addDays(1));
        saveNewBill();
    }
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001 WX260305001 WX260305002 WX260306001"));
    EXPECT_EQ(scalar(QStringLiteral("select INtime from t_ReceptionMst where BillNo = 'WX260306001'")),
              QStringLiteral("2026-03-05"));
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(SaveTest, AReSaveKeepsTheNumberAndReplacesTheLines)
{
    exec(QStringLiteral("insert into t_ReceptionDlt3 (BillNo, Amount) values ('WX260301001', 5)"));
    run("WX260301001", [](TFrmReceptionRct& e) {
        e.tblDetail1->First();
        e.dbgDetail1->setFocus();
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.dbgDetail1, Qt::Key_Delete);
        newLine(e.dbgDetail2, QStringLiteral("P02"));
        typeCell(e.dbgDetail2, 2, QStringLiteral("4"));
        postLine(e.dbgDetail2);
        dialogs().answerDialog([](QDialog& d) { d.reject(); });
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
    });
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001"));
    EXPECT_EQ(itemsOf("WX260301001"), QStringLiteral("Y2"));
    EXPECT_EQ(partsOf("WX260301001"), QStringLiteral("P01*2@18.0 P02*4@0.5"));
    EXPECT_EQ(scalar(QStringLiteral("select TotalAmount from t_ReceptionMst")), QStringLiteral("114.938"));
    // The receipts are not the save's.
    EXPECT_EQ(count(QStringLiteral("t_ReceptionDlt3")), 1);
}

TEST_F(SaveTest, AReSaveWithoutTheCostRightKeepsTheStoredCosts)
{
    loginWith({QStringLiteral("维修结算单-保存退出")});
    run("WX260301001", [](TFrmReceptionRct& e) {
        dialogs().answerDialog([](QDialog& d) { d.reject(); });
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
    });
    EXPECT_EQ(partsOf("WX260301001"), QStringLiteral("P01*2@18.0"));
    EXPECT_EQ(scalar(QStringLiteral("select CostAmount from t_ReceptionMst")), QStringLiteral("36"));
}

TEST_F(SaveTest, StockMovesOnlyWithBothGates)
{
    const struct
    {
        bool flag;
        std::optional<QString> word;
        const char* stock;
    } cases[] = {
        {true, QStringLiteral("是"), "3"},
        {true, QStringLiteral("否"), "5"},
        {true, std::nullopt, "5"},
        {false, QStringLiteral("是"), "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word.value_or(QStringLiteral("(none)")).toStdString() + (c.flag ? " on" : " off"));
        exec(QStringLiteral("update t_Stock set Qty = 5 where ItemCode = 'P01'"));
        stockGates(c.flag, c.word);
        saveNewBill({{"P01", "2"}});
        EXPECT_EQ(stockOf("P01"), QLatin1String(c.stock));
    }
}

TEST_F(SaveTest, AReSaveGivesBackWhatTheStoredBillTookThenTakesTheLines)
{
    stockGates(true, QStringLiteral("是"));
    // Quantity 2 stored; edited to 3: 2 back, 3 taken.
    run("WX260301001", [](TFrmReceptionRct& e) {
        e.TblDetail2->First();
        typeCell(e.dbgDetail2, 2, QStringLiteral("3"));
        postLine(e.dbgDetail2);
        dialogs().answerDialog([](QDialog& d) { d.reject(); });
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
    });
    EXPECT_EQ(stockOf("P01"), QStringLiteral("4"));
    // The line removed: its 3 come back.
    run("WX260301001", [](TFrmReceptionRct& e) {
        e.dbgDetail2->setFocus();
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.dbgDetail2, Qt::Key_Delete);
        dialogs().answerDialog([](QDialog& d) { d.reject(); });
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
    });
    EXPECT_EQ(stockOf("P01"), QStringLiteral("7"));
    EXPECT_EQ(partsOf("WX260301001"), QString());
}

TEST_F(SaveTest, AFailureAfterTheNumberWasAllocatedLeavesNothingBehind)
{
    stockGates(true, QStringLiteral("是"));
    exec(QStringLiteral("create trigger tr_fail before insert on t_ReceptionDlt2 begin select raise(abort, 'disk'); end"));
    run("", [this](TFrmReceptionRct& e) {
        enterInto(e.EdtModel, QStringLiteral("NEWMODEL"));
        newLine(e.dbgDetail2, QStringLiteral("P01"));
        typeCell(e.dbgDetail2, 2, QStringLiteral("2"));
        postLine(e.dbgDetail2);
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(e.EdtBillNo->Text(), QStringLiteral("新单"));
        EXPECT_EQ(e.CurrentBillNo, QString());
        EXPECT_EQ(dialogs().messages(), QStringList{"存盘失败！"});
        EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001"));
        EXPECT_EQ(stockOf("P01"), QStringLiteral("5"));
        EXPECT_EQ(count(QStringLiteral("t_Model"), QStringLiteral("Model = 'NEWMODEL'")), 0);
        EXPECT_EQ(count(QStringLiteral("t_ReceptionDlt")), 2);

        // The cause gone, the same bill saves as the day's first.
        exec(QStringLiteral("drop trigger tr_fail"));
        dialogs().answerDialog([](QDialog& d) { d.reject(); });
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_FALSE(e.isVisible());
    });
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001 WX260305001"));
    EXPECT_EQ(stockOf("P01"), QStringLiteral("3"));
    EXPECT_EQ(count(QStringLiteral("t_Model"), QStringLiteral("Model = 'NEWMODEL'")), 1);
    EXPECT_FALSE(module->ADOConnection->InTransaction());
}

TEST_F(SaveTest, AFailedReSaveKeepsTheStoredBill)
{
    stockGates(true, QStringLiteral("是"));
    exec(QStringLiteral("create trigger tr_fail before insert on t_ReceptionDlt2 begin select raise(abort, 'disk'); end"));
    run("WX260301001", [](TFrmReceptionRct& e) {
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(e.CurrentBillNo, QStringLiteral("WX260301001"));
    });
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001"));
    EXPECT_EQ(partsOf("WX260301001"), QStringLiteral("P01*2@18.0"));
    EXPECT_EQ(itemsOf("WX260301001"), QStringLiteral("X1 Y2"));
    EXPECT_EQ(stockOf("P01"), QStringLiteral("5"));
}

TEST_F(SaveTest, APartCodeTheStockFileLacksStopsTheSaveAndIsNamed)
{
    stockGates(true, QStringLiteral("是"));
    run("", [this](TFrmReceptionRct& e) {
        newLine(e.dbgDetail2, QStringLiteral("P02"));
        postLine(e.dbgDetail2);
        // Another workstation removes the part meanwhile.
        exec(QStringLiteral("delete from t_Stock where ItemCode = 'P02'"));
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        EXPECT_TRUE(e.isVisible());
    });
    ASSERT_EQ(dialogs().messages().size(), 1);
    EXPECT_TRUE(dialogs().messages().first().contains(QStringLiteral("P02")));
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001"));
    EXPECT_EQ(count(QStringLiteral("t_Stock"), QStringLiteral("ItemCode is null or ItemCode = 'P02'")), 0);
}

TEST_F(SaveTest, TheChecksStopTheSaveWithTheirMessages)
{
    const struct
    {
        const char* name;
        std::function<void(TFrmReceptionRct&)> spoil;
        const char* message;
    } cases[] = {
        {"no date in", [](TFrmReceptionRct& e) { enterInto(e.EdtINtime, QString()); }, "进厂日期不能为空"},
        {"a part without code",
         [](TFrmReceptionRct& e) {
             e.TblDetail2->First();
             e.TblDetail2->Edit();
             e.TblDetail2->FieldByName(QStringLiteral("ItemCode"))->SetAsString(QString());
         },
         "配件编码不能为空!"},
        {"an item without code",
         [](TFrmReceptionRct& e) {
             e.tblDetail1->Last();
             e.tblDetail1->Edit();
             e.tblDetail1->FieldByName(QStringLiteral("SItemCode"))->SetAsString(QString());
         },
         "项目编码不能为空!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs().clear();
        run("WX260301001", [&](TFrmReceptionRct& e) {
            c.spoil(e);
            dialogs().answerMessage(qx::mrOk);
            QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
            EXPECT_TRUE(e.isVisible());
        });
        EXPECT_EQ(dialogs().messages(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(partsOf("WX260301001"), QStringLiteral("P01*2@18.0"));
        EXPECT_EQ(itemsOf("WX260301001"), QStringLiteral("X1 Y2"));
    }
}

TEST_F(SaveTest, PickListValuesAreAddedOnce)
{
    for (int round = 0; round < 2; ++round) {
        run(round == 0 ? "" : "WX260305001", [](TFrmReceptionRct& e) {
            enterInto(e.EdtModel, QStringLiteral("M'9"));
            enterInto(e.EdtMainWorker, QStringLiteral("老王"));
            QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        });
    }
    EXPECT_EQ(count(QStringLiteral("t_Model"), QStringLiteral("Model = 'M''9'")), 1);
    EXPECT_EQ(count(QStringLiteral("t_MainWorker"), QStringLiteral("MainWorker = '老王'")), 1);
    EXPECT_EQ(billNumbers(), QStringLiteral("WX260301001 WX260305001"));
}

TEST_F(SaveTest, TheDeviceOfTheSerialNumberTakesTheContactAndNoDeviceIsMade)
{
    // The serial number is unique in the device file, so one device or none has it.
    const struct
    {
        const char* vin;
        const char* devices; // the devices' contacts afterwards
    } cases[] = {{"SN100", "SN100:李四|555|null SN200:|222|null"}, {"SN999", "SN100:张太|111|6.0 SN200:|222|null"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vin);
        exec(QStringLiteral("delete from tVehicle where VIN not in ('SN100', 'SN200')"));
        exec(QStringLiteral("update tVehicle set LinkMen = '张太', Tel = '111', Mileage = 6 where VIN = 'SN100'"));
        exec(QStringLiteral("update t_ReceptionMst set VIN = :v"), {{QStringLiteral("v"), QLatin1String(c.vin)}});
        run("WX260301001", [](TFrmReceptionRct& e) {
            enterInto(e.EdtLinkMen, QStringLiteral("李四"));
            enterInto(e.EdtTel, QStringLiteral("555"));
            enterInto(e.EdtMileage, QString());
            dialogs().answerDialog([](QDialog& d) { d.reject(); });
            QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
        });
        EXPECT_EQ(scalar(QStringLiteral("select group_concat(VIN || ':' || ifnull(LinkMen, '') || '|' || Tel || '|' "
                                        "|| ifnull(Mileage, 'null'), ' ') from (select * from tVehicle order by VIN)")),
                  QString::fromUtf8(c.devices));
    }
}

} // namespace
} // namespace qx::documents::test

namespace qx::documents::test {
namespace {

TEST_F(SaveTest, TheDeleteOfAWorkOrderGivesBackStockBehindTheSameGates)
{
    const struct
    {
        bool flag;
        std::optional<QString> word;
        const char* stock;
    } cases[] = {{true, QStringLiteral("是"), "7"}, {true, QStringLiteral("否"), "5"}, {false, QStringLiteral("是"), "5"}};
    for (const auto& c : cases) {
        exec(QStringLiteral("update t_Stock set Qty = 5 where ItemCode = 'P01'"));
        stockGates(c.flag, c.word);
        giveBackWorkOrderStock(*module->ADOConnection, QStringLiteral("WX260301001"));
        EXPECT_EQ(stockOf("P01"), QLatin1String(c.stock));
    }
}

} // namespace
} // namespace qx::documents::test
