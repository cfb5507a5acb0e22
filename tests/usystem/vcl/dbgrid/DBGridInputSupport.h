// Typing into whatever has the focus, the way the user does, and reading the grid's state.
#pragma once

#include "DBGridTestSupport.h"
#include "platform/env/ScriptedDialogService.h"
#include "tests/support/Keys.h"
#include "tests/support/Widgets.h"
#include "usystem/vcl/dbgrid/uQxDBGridEditor.h"
#include "usystem/vcl/dbgrid/uQxDBGridFind.h"

using qx::test::focused;
using qx::test::keypadPlus;
using qx::test::press;
using qx::test::typeText;

// The scripted dialog service, emptied of earlier answers and records.
inline qx::ScriptedDialogService& dialogs()
{
    return qx::test::script();
}

inline QString codeOf(DBGridWindow& w)
{
    return w.table->FieldByName("Code")->AsString();
}

inline TQxDBGridInplaceEdit* editorOf(DBGridWindow& w)
{
    return w.grid->CellEditor();
}

inline bool editorShowing(DBGridWindow& w)
{
    return editorOf(w) && editorOf(w)->isVisible();
}

// Stored columns over every field of the parts table (Code, Name, Qty, Done).
inline void storeColumns(DBGridWindow& w)
{
    w.grid->Columns()->BeginUpdate();
    for (const char* name : {"Code", "Name", "Qty", "Done"})
        w.grid->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
    w.grid->Columns()->EndUpdate();
    w.grid->LayoutChanged();
}

// The row's data cell centre of a data column (index into the columns) and data row.
inline QPoint cellCentre(DBGridWindow& w, int dataCol, int dataRow)
{
    return w.grid->CellRect(w.grid->DataToRawColumn(dataCol), dataRow + w.grid->TitleOffset())
        .center();
}

// A window with a data grid over a table the test made itself.
struct GridOver : qx::test::DataGridWindow<TQxDBGrid>
{
    explicit GridOver(std::unique_ptr<TQxMemTable> t)
        : DataGridWindow(std::move(t), true, QSize(420, 260))
    {}
};
