// The find dialog's tests share: a shop database with the customer and supplier types, a fixed
// day (5 March 2026, so every date picker starts there), the browser's hidden where-edit, a
// shown dialog on a page, filling its controls with real key and mouse events by control name,
// and the browsers' statements that the where text is appended to.
#pragma once

#include "tests/app/master/MasterFixture.h"

#include "app/find/uQxFind.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/db/sql/JetSqlRewriter.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/DatePicker.h"
#include "tests/support/Scoped.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <vector>

namespace qx::app::test {

// One control to fill: its name (see FindInputs.h) and what goes in. Edits are typed into,
// combo boxes get the text (a pick-only list selects the item of that text), date pickers the
// date, check boxes and radio buttons are clicked (the value is not used).
struct FindInput
{
    const char* control;
    const char16_t* value = u"";
};

// Types text of any script as key presses carrying the characters (QTest's own typing knows
// only Latin-1 keys).
inline void typeInto(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class FindTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        exec(QStringLiteral("insert into t_ClientType (ClientType) values ('个人'), ('单位')"));
        exec(QStringLiteral("insert into t_SupplierType (SupplierType) values ('配件商'), ('设备商')"));
    }

    void TearDown() override
    {
        if (m_form)
            delete m_form.data();
        MasterTest::TearDown();
    }

    // A shown find dialog on page that writes into resultEdit, as a browser opens it.
    TFrmFind* openFind(const QString& page)
    {
        if (m_form)
            delete m_form.data();
        auto* form = new TFrmFind;
        m_form = form;
        form->ResultEdit = &resultEdit;
        form->SetActivePage(page);
        resultEdit.clear();
        form->show();
        QCoreApplication::processEvents();
        return form;
    }

    template <class T = QWidget>
    static T* control(TFrmFind* form, const char* name)
    {
        auto* w = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    static void fill(TFrmFind* form, const FindInput& in)
    {
        QWidget* w = control(form, in.control);
        if (!w)
            return;
        const QString value = QString::fromUtf16(in.value);
        if (auto* edit = qobject_cast<TQxEdit*>(w)) {
            edit->setFocus();
            typeInto(edit, value);
            EXPECT_EQ(edit->Text(), value) << in.control;
        } else if (auto* combo = qobject_cast<TQxComboBox*>(w)) {
            combo->SetText(value);
            EXPECT_EQ(combo->Text(), value) << in.control;
        } else if (auto* picker = qobject_cast<qx::DatePicker*>(w)) {
            picker->SetDate(StrToDate(value));
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        } else {
            ADD_FAILURE() << "no way to fill " << in.control;
        }
    }

    void fillAll(TFrmFind* form, const std::vector<FindInput>& inputs)
    {
        for (const FindInput& in : inputs)
            fill(form, in);
    }

    // "确定" pressed with the mouse; what the browser's edit then holds.
    QString confirm(TFrmFind* form)
    {
        QTest::mouseClick(form->BtnOK, Qt::LeftButton);
        return resultEdit.text();
    }

    // Opens a browser's statement with the where text as the browsers do (through the Jet
    // layer); the number of rows.
    int runStatement(const QString& statement)
    {
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(rewriteJetSql(statement));
        q.Open();
        return q.RecordCount();
    }

    const qx::test::ScopedToday today{QDate(2026, 3, 5)};
    QLineEdit resultEdit;
    QPointer<TFrmFind> m_form;
};

// A browser's list or sums statement on the where text: before, where, after. Main marks the
// page's main browser; the payment vouchers share the page "IN" of the purchases, whose
// table has columns that the vouchers' table lacks.
struct BrowserStatement
{
    const char* page;
    const char16_t* list;
    const char16_t* after = u"";
    bool main = true;
};

// The statements of the browsers that open each page, in SQLite form.
inline const std::vector<BrowserStatement>& browserStatements()
{
    static const std::vector<BrowserStatement> list{
        {"Reception", u"Select *,totalAmount-Received-DecAmount as NoReceiv from t_Receptionmst"},
        {"Reception", u"Select Count(*) as 台数,Sum(TimesAmount) as 工时费,sum(PartsAmount) as 配件费,"
                      u"Sum(TotalAMount) as 金额,sum(Received) as 已收,"
                      u"sum(TotalAmount-Received-decAmount) as 挂账 from t_Receptionmst"},
        {"IN", u"Select *,totalAmount-Payed as NoReceiv from t_Inmst"},
        {"IN", u"Select Sum(TotalAMount) as 金额,sum(Payed) as 已付,sum(TotalAmount-payed) as 挂账 from t_inmst"},
        {"IN", u"Select * from t_Paymst", u"", false},
        {"IN", u"Select Sum(TotalAMount) as 金额 from t_PayMst", u"", false},
        {"DayAccount", u"Select * from t_DayAccount "},
        {"DayAccount", u"Select Sum(JAmount) as 收入,sum(DAmount) as 支出 from t_DayAccount"},
        {"Stock", u"Select * from t_Stock"},
        {"Stock", u"Select Sum(qty) as 总数,sum(qty*Costprice) as 成本金额 ,sum(qty*price) as 销售金额 from t_Stock"},
        {"Vehicle", u"Select * from tVehicle"},
        {"Vehicle", u"Select * from tVehicle", u" order by CCode,VIN"},
        {"Card", u"Select * from t_Card "},
        {"Card", u"Select Sum(Amount) as 金额 from t_Card"},
        {"Check", u"Select * from t_CheckVehicle "},
        {"OutStk", u"Select * from t_OutStkMst"},
        {"ServiceItem", u"Select * from tServiceItem"},
        {"Client", u"Select * from t_Client "},
        {"Supplier", u"Select * from t_Supplier"},
        {"Mcheck", u"Select * from t_Checkmst"},
        {"Mcheck", u"Select Sum(TotalAMount) as 金额 from t_Checkmst"},
        {"Out", u"Select *,totalAmount-Payed as NoReceiv from t_Outmst"},
        {"Out", u"Select Sum(TotalAMount) as 金额,sum(Payed) as 已付,sum(TotalAmount-payed) as 挂账 from t_Outmst"},
    };
    return list;
}

} // namespace qx::app::test
