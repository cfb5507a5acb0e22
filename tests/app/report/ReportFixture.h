// The print window's tests: a fresh shop database, stored template rows, the caller's
// datasets as memory tables, and the dialog opened through the scripted dialog service.
#pragma once

#include "app/report/uAReportDialog.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/template/TemplateFormat.h"
#include "platform/template/TemplateReport.h"
#include "tests/app/shell/ShellFixture.h"
#include "tests/platform/template/TemplateFixture.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTest>
#include <QWidget>

#include <functional>

namespace qx::app::test {

class ReportDialogTest : public ShellTest
{
protected:
    // A stored template row.
    void addTemplate(const QString& reportClass, int orderId, const QString& name, const QString& type,
                     const QByteArray& data)
    {
        exec(QStringLiteral("insert into tRctReport (ReportClass, OrderID, ReportName, ReportType, ReportData)"
                            " values (:c, :o, :n, :t, :d)"),
             {{QStringLiteral("c"), reportClass},
              {QStringLiteral("o"), orderId},
              {QStringLiteral("n"), name},
              {QStringLiteral("t"), type},
              {QStringLiteral("d"), data}});
    }

    // ReportClass, OrderID, ReportName and ReportType of the class's rows, in list order.
    QStringList rowsOf(const QString& reportClass)
    {
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(QStringLiteral("select * from tRctReport where ReportClass = :c order by OrderID"));
        q.ParamByName(QStringLiteral("c"))->setValue(reportClass);
        q.Open();
        QStringList out;
        for (q.First(); !q.Eof(); q.Next()) {
            out << QStringLiteral("%1|%2|%3")
                       .arg(q.FieldByName(QStringLiteral("OrderID"))->AsString(),
                            q.FieldByName(QStringLiteral("ReportName"))->AsString(),
                            q.FieldByName(QStringLiteral("ReportType"))->AsString());
        }
        return out;
    }

    // Opens the dialog over the class with the datasets and hands it to act, which drives it
    // with real clicks and keys; a dialog act leaves open is closed as with Esc.
    void openDialog(const QString& reportClass, const std::function<void(TFrmAReportDlg&)>& act,
                    TDataSet* master = nullptr, TDataSet* detail1 = nullptr, TDataSet* detail2 = nullptr)
    {
        dialogs().answerDialog([&act](QDialog& d) {
            auto* dialog = qobject_cast<TFrmAReportDlg*>(&d);
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
        ShowReportDialog(reportClass, &form, module->ADOConnection, master, detail1, detail2, nullptr, nullptr);
    }

    static void click(QAbstractButton* button)
    {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QWidget form;
};

} // namespace qx::app::test
