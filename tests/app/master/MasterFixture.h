// The shell's fixture (a data module on a fresh shop database in a temporary program folder,
// the scripted dialogs) with the all-rights operator logged in, and the helpers the tests of
// the pick lists, editors and pickers share: reading the database, a bill-like memory table
// whose field hub records its calls, and clicks on the rows of a data grid.
#pragma once

#include "tests/app/shell/ShellFixture.h"

#include "app/schema/OperatorRights.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QDialog>
#include <QTest>

#include <initializer_list>
#include <utility>

namespace qx::app::test {

// A memory table standing for a bill editor's line or head table: every field's text setter
// is the "field hub", which records "Field=text" and stores the text.
class HubTable : public TQxMemTable
{
public:
    HubTable(std::initializer_list<std::pair<const char*, TFieldType>> fields,
             const char* name = "MMTDetail")
    {
        setObjectName(QLatin1String(name));
        for (const auto& [field, type] : fields)
            FieldDefs()->Add(QLatin1String(field), type, type == ftString ? 60 : 0);
        CreateTable();
        Open();
        for (TField* f : *Fields())
            f->OnSetText = [this](TField* Sender, const QString& Text) {
                calls << Sender->FieldName() + u'=' + Text;
                Sender->SetAsString(Text);
            };
    }

    QString text(const char* field) const { return FieldByName(QLatin1String(field))->AsString(); }

    QStringList calls;
};

class MasterTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        CurrentUser = administratorCode();
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

    int count(const QString& table, const QString& where = QString(), const QVariantMap& params = {})
    {
        return scalar(QStringLiteral("select count(*) from ") + table
                          + (where.isEmpty() ? QString() : QStringLiteral(" where ") + where),
                      params)
            .toInt();
    }

    // An operator holding only the given rights, logged in.
    void loginWith(const QStringList& rights)
    {
        addOperator(QStringLiteral("店员"), QStringLiteral("x"), rights);
        CurrentUser = QStringLiteral("店员");
    }
};

// The form a scripted modal answer was handed.
template <class Form>
Form& formOf(QDialog& dialog)
{
    auto* form = qobject_cast<Form*>(&dialog);
    if (!form)
        throw Exception(QStringLiteral("another dialog came up: ") + dialog.objectName());
    return *form;
}

// Double-clicks the first data cell of the grid's data row (0 = the first row shown).
inline void doubleClickRow(TQxDBGrid* grid, int dataRow)
{
    const QRect r = grid->CellRect(grid->IndicatorOffset(), grid->TitleOffset() + dataRow);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

// The captions of the grid's visible columns.
inline QStringList columnTitles(TQxDBGrid* grid)
{
    QStringList titles;
    for (TQxColumn* c : grid->VisibleColumns())
        titles << c->Title()->Caption();
    return titles;
}

} // namespace qx::app::test
