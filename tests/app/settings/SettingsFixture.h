// The shell's fixture (a data module on a fresh shop database in a temporary program folder,
// the scripted dialogs) with the helpers the tests of the settings dialogs share: a dialog
// shown as the main window shows it, clicks on grid rows and list entries, the rows of
// t_UserDB and a statement's first value.
#pragma once

#include "tests/app/shell/ShellFixture.h"
#include "tests/platform/rtl/QtPrinters.h"

#include "usystem/vcl/checks/uQxListBox.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QPointer>
#include <QTest>

namespace qx::app::test {

// One row of t_UserDB.
struct UserRow
{
    QString password;
    QString remark;
    QString right;
    bool operator==(const UserRow&) const = default;
};

inline void PrintTo(const UserRow& row, std::ostream* os)
{
    *os << '[' << row.password.toStdString() << '|' << row.remark.toStdString() << '|'
        << row.right.toStdString() << ']';
}

class SettingsTest : public ShellTest
{
protected:
    void TearDown() override
    {
        // A form a test left open goes without its close handler.
        if (m_form)
            delete m_form.data();
        ShellTest::TearDown();
    }

    // A dialog of the shop shown (not modally) and its show handler run.
    template <class Form>
    Form* showForm(Form* form)
    {
        m_form = form;
        form->show();
        QCoreApplication::processEvents();
        return form;
    }

    // The first column of the first row of a statement; empty without a row.
    QString scalar(const QString& sql, const QVariantMap& params = {})
    {
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(sql);
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            q.ParamByName(it.key())->setValue(it.value());
        q.Open();
        return q.IsEmpty() ? QString() : q.Fields()->Fields(0)->AsString();
    }

    // The rows of an operator in the order they were written.
    QList<UserRow> userRows(const QString& code)
    {
        TADOQuery q;
        q.SetConnection(module->ADOConnection);
        q.SQL().SetText(QStringLiteral(
            "select Password, Remark, \"Right\" from t_UserDB where UserCode = :u order by rowid"));
        q.ParamByName(QStringLiteral("u"))->setValue(code);
        q.Open();
        QList<UserRow> rows;
        for (q.First(); !q.Eof(); q.Next())
            rows << UserRow{q.Fields()->Fields(0)->AsString(), q.Fields()->Fields(1)->AsString(),
                            q.Fields()->Fields(2)->AsString()};
        return rows;
    }

    QStringList rightsOf(const QString& code)
    {
        QStringList rights;
        for (const UserRow& row : userRows(code))
            rights << row.right;
        return rights;
    }

    QPointer<QWidget> m_form;
};

// Clicks the grid's data row (0 = the first row shown).
inline void clickGridRow(TQxDBGrid* grid, int dataRow)
{
    const QRect r = grid->CellRect(grid->IndicatorOffset(), grid->TitleOffset() + dataRow);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

// Clicks the list's entry, scrolled into view first.
inline void clickListItem(TQxListBox* list, int index)
{
    list->scrollToItem(list->item(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->ItemRect(index).center());
}

inline void click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace qx::app::test
