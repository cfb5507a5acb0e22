// The save tests of the work-order editor: "today" fixed, the stock gates set per test (the
// shop's stock flag and the INC.ini key) and put back afterwards, and a few reads of the
// stored bills.
#pragma once

#include "WorkOrderFixture.h"
#include "tests/support/Scoped.h"

#include "app/data/dmData.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

#include <QFile>
#include <QScopedValueRollback>

#include <optional>

namespace qx::documents::test {

// The day the saves run on.
inline QDate saveDay()
{
    return QDate(2026, 3, 5);
}

class SaveTest : public WorkOrderTest
{
protected:
    // The stock gates: the shop's flag and the INC.ini word (none: no key at all).
    void stockGates(bool flag, const std::optional<QString>& word)
    {
        StockEnabled = flag;
        const QString ini = ExeFolderPath(QStringLiteral("INC.ini"));
        QFile::remove(ini);
        if (word)
            WriteIniString(ini, QStringLiteral("参数"), QStringLiteral("启用库存管理"), *word);
    }

    QString stockOf(const char* code)
    {
        return scalar(QStringLiteral("select Qty from t_Stock where ItemCode = :c"), {{QStringLiteral("c"), QLatin1String(code)}});
    }
    QString billNumbers()
    {
        return scalar(QStringLiteral("select group_concat(BillNo, ' ') from (select BillNo from t_ReceptionMst order by BillNo)"));
    }
    QString partsOf(const char* billNo)
    {
        return scalar(QStringLiteral("select group_concat(ItemCode || '*' || Qty || '@' || CostPrice, ' ') from "
                                     "(select * from t_ReceptionDlt2 where BillNo = :b order by ID)"),
                      {{QStringLiteral("b"), QLatin1String(billNo)}});
    }
    QString itemsOf(const char* billNo)
    {
        return scalar(QStringLiteral("select group_concat(SItemCode, ' ') from "
                                     "(select * from t_ReceptionDlt where BillNo = :b order by ID)"),
                      {{QStringLiteral("b"), QLatin1String(billNo)}});
    }

    // Saves a new bill with the given part lines (code and quantity) by "保存退出".
    void saveNewBill(std::initializer_list<std::pair<const char*, const char*>> parts = {})
    {
        run("", [&](TFrmReceptionRct& e) {
            for (const auto& [code, qty] : parts) {
                newLine(e.dbgDetail2, QLatin1String(code));
                typeCell(e.dbgDetail2, 2, QLatin1String(qty));
                postLine(e.dbgDetail2);
            }
            // Something is due: the receipt prompt comes and is closed unpaid.
            if (parts.size() > 0)
                dialogs().answerDialog([](QDialog& d) { d.reject(); });
            QTest::keyClick(e.EdtReBillNo, Qt::Key_F3);
            EXPECT_FALSE(e.isVisible());
        });
    }

    const QScopedValueRollback<bool> keepStockFlag{StockEnabled};
    const qx::test::ScopedToday today{saveDay()};
};

} // namespace qx::documents::test
