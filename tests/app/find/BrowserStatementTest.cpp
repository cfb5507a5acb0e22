// The where text appended to the statements of the browsers that open each page and run on
// the shop database through the Jet layer (CVDate, true): every text of the page table opens,
// and on a few rows the conditions find exactly the rows they name, values with quotes,
// percent signs and underscores included.
#include "WhereCases.h"

namespace qx::app::test {
namespace {

class BrowserStatementTest : public FindTest
{
protected:
    // The where text of page with inputs filled, as the dialog writes it ("1" becomes none).
    QString whereOf(const char* page, const std::vector<FindInput>& inputs)
    {
        TFrmFind* form = openFind(QLatin1String(page));
        fillAll(form, inputs);
        const QString where = confirm(form);
        return where == QLatin1String("1") ? QString() : where;
    }

    // The values of column over the rows of statement, sorted.
    QStringList keysOf(const QString& statement, const char* column)
    {
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(rewriteJetSql(statement));
        q.Open();
        QStringList keys;
        for (q.First(); !q.Eof(); q.Next())
            keys << q.FieldByName(QLatin1String(column))->AsString();
        keys.sort();
        return keys;
    }
};

TEST_F(BrowserStatementTest, EveryTextRunsOnItsBrowsers)
{
    for (const WhereCase& c : whereCases()) {
        if (c.runs == Runs::None)
            continue;
        const QString where = whereOf(c.page, c.inputs);
        ASSERT_EQ(where, QString::fromUtf16(c.where) == QLatin1String("1") ? QString() : QString::fromUtf16(c.where));
        for (const BrowserStatement& b : browserStatements()) {
            if (QLatin1String(b.page) != QLatin1String(c.page) || (c.runs == Runs::Main && !b.main))
                continue;
            const QString statement = QString::fromUtf16(b.list) + where + QString::fromUtf16(b.after);
            EXPECT_NO_THROW(runStatement(statement)) << statement.toStdString();
        }
    }
}

// Card top-ups ask for a page the dialog does not have: the device page shows, and its empty
// search lists every top-up.
TEST_F(BrowserStatementTest, CardTopUpsGetTheDevicePageAndAllRows)
{
    exec(QStringLiteral("insert into t_CardAdd (BillDate, CardNo, Amount) values ('2026-03-01', 'K1', 100), "
                        "('2026-03-02', 'K2', 50)"));
    QLineEdit edtWhere;
    dialogs().answerDialog([](QDialog& d) {
        auto& form = formOf<TFrmFind>(d);
        EXPECT_EQ(form.ActivePage(), QStringLiteral("Vehicle"));
        QTest::mouseClick(form.BtnOK, Qt::LeftButton);
    });
    const FindResult r = RunFind(QStringLiteral("CardAdd"), &edtWhere);
    ASSERT_EQ(r.Outcome, FindResult::AllRows);
    EXPECT_EQ(runStatement(QStringLiteral("Select * from t_CardAdd ") + r.Where), 2);
    EXPECT_EQ(runStatement(QStringLiteral("Select Sum(Amount) as 金额 from t_CardAdd") + r.Where), 1);
}

TEST_F(BrowserStatementTest, ConditionsFindTheRowsTheyName)
{
    exec(QStringLiteral(
        "insert into t_ReceptionMst (BillNo, INtime, IsSettle, CName, VIN, TimesAmount, TotalAmount, Received) values "
        "('WX1', '2026-03-01', 0, 'O''Neil', 'A_1', 30, 100, 100), "
        "('WX2', '2026-03-03', 1, '50%折', 'AB1', 80, 200, 50), "
        "('WX3', '2026-03-05', 0, '5000', 'A_2', 0, 0, 0)"));
    exec(QStringLiteral("insert into t_ReceptionDlt3 (BillNo, ReceivTime, Amount, BNO) values "
                        "('WX2', '2026-03-04', 50, 'P-1'), ('WX1', '2026-03-01', 100, 'Q-1')"));
    exec(QStringLiteral("insert into t_Stock (ItemCode, ItemName, PY) values ('P1', '电池', 'dc'), ('P2', '屏幕', 'pm'), "
                        "('P3', 'dc_x', '')"));
    exec(QStringLiteral("insert into tVehicle (VIN, MarkNo, EngineNo) values ('SN1', 'M1', 'E1'), ('SN2', 'E1', 'M1')"));
    exec(QStringLiteral("insert into t_InMst (BillNo, TotalAmount, Payed) values ('GJ1', 100, 100), ('GJ2', 100, 40)"));
    exec(QStringLiteral("insert into t_DayAccount (BillDate, JD, BillType) values ('2026-03-05', '收入', 'a'), "
                        "('2026-03-04', '支出', 'b')"));

    const QString workOrders = QStringLiteral("Select *,totalAmount-Received-DecAmount as NoReceiv from t_Receptionmst");
    const struct
    {
        const char* page;
        QString statement;
        const char* key;
        std::vector<FindInput> inputs;
        QStringList rows;
    } cases[] = {
        {"Reception", workOrders, "BillNo", {}, {"WX1", "WX2", "WX3"}},
        {"Reception", workOrders, "BillNo", {{"EdtReceptionCName", u"O'Neil"}}, {"WX1"}},
        {"Reception", workOrders, "BillNo", {{"CbxReceptionCName", u"包含于"}, {"EdtReceptionCName", u"50%"}}, {"WX2"}},
        {"Reception", workOrders, "BillNo", {{"CbxReceptionVIN", u"前字符为"}, {"EdtReceptionVIN", u"A_"}}, {"WX1", "WX3"}},
        {"Reception", workOrders, "BillNo", {{"EdtReceptionBillNo", u"x' or '1'='1"}}, {}},
        {"Reception", workOrders, "BillNo", {{"RgpReceptionState0"}}, {"WX1", "WX3"}},
        {"Reception", workOrders, "BillNo", {{"RgpReceptionState1"}}, {"WX1", "WX3"}},
        {"Reception", workOrders, "BillNo", {{"RgpReceptionState2"}}, {"WX2"}},
        {"Reception", workOrders, "BillNo",
         {{"ChkReceptionInTime"}, {"DtpReceptionInTimeFrom", u"2026-03-01"}, {"DtpReceptionInTimeTo", u"2026-03-03"}},
         {"WX1", "WX2"}},
        {"Reception", workOrders, "BillNo", {{"ChkReceptionReceivTime"}, {"DtpReceptionReceivTimeFrom", u"2026-03-04"}}, {"WX2"}},
        {"Reception", workOrders, "BillNo", {{"EdtReceptionBNo", u"P-1"}}, {"WX2"}},
        {"Reception", workOrders, "BillNo",
         {{"EdtReceptionTimesAmountFrom", u"20"}, {"EdtReceptionTimesAmountTo", u"80"}}, {"WX1", "WX2"}},
        // The receipt search longer than 200 characters.
        {"Reception", workOrders, "BillNo",
         {{"ChkReceptionInTime"}, {"DtpReceptionInTimeFrom", u"2026-03-01"}, {"RgpReceptionState2"},
          {"ChkReceptionReceivTime"}, {"DtpReceptionReceivTimeFrom", u"2026-03-01"}},
         {"WX2"}},
        {"Stock", QStringLiteral("Select * from t_Stock"), "ItemCode",
         {{"CbxStockItemName", u"前字符为"}, {"EdtStockItemName", u"dc"}}, {"P1", "P3"}},
        {"Stock", QStringLiteral("Select * from t_Stock"), "ItemCode",
         {{"CbxStockItemName", u"前字符为"}, {"EdtStockItemName", u"dc_"}}, {"P3"}},
        {"Vehicle", QStringLiteral("Select * from tVehicle"), "VIN", {{"EdtVehicleMarkNo", u"M1"}}, {"SN1"}},
        {"IN", QStringLiteral("Select *,totalAmount-Payed as NoReceiv from t_Inmst"), "BillNo", {{"RgpINPayState0"}}, {"GJ1"}},
        {"IN", QStringLiteral("Select *,totalAmount-Payed as NoReceiv from t_Inmst"), "BillNo", {{"RgpINPayState1"}}, {"GJ2"}},
        {"DayAccount", QStringLiteral("Select * from t_DayAccount "), "BillType", {{"LstDayAccountJD", u"收入"}}, {"a"}},
        {"DayAccount", QStringLiteral("Select * from t_DayAccount "), "BillType", {{"ChkDayAccountBillDate"}}, {"a"}},
    };
    for (const auto& c : cases) {
        const QString where = whereOf(c.page, c.inputs);
        SCOPED_TRACE(where.toStdString());
        EXPECT_EQ(keysOf(c.statement + where, c.key), c.rows);
    }
}

} // namespace
} // namespace qx::app::test
