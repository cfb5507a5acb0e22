// Typing into whatever has the focus, the way the user does, and reading the record grid's
// state.
#pragma once

#include "VGridTestSupport.h"
#include "platform/env/ScriptedDialogService.h"
#include "tests/support/Keys.h"
#include "tests/support/Widgets.h"
#include "usystem/vcl/recordgrid/uQxDBVGridEditor.h"

using qx::test::focused;
using qx::test::keypadPlus;
using qx::test::press;
using qx::test::typeText;

// The scripted dialog service, emptied of earlier answers and records.
inline qx::ScriptedDialogService& dialogs()
{
    return qx::test::script();
}

inline TDBVGridInplaceEdit* editorOf(VGridWindow& w)
{
    return w.grid->CellEditor();
}

inline bool editorShowing(VGridWindow& w)
{
    return editorOf(w) && editorOf(w)->isVisible();
}

// The centre of the record cell of field row index.
inline QPoint recordCell(VGridWindow& w, int index)
{
    return w.grid->CellRect(w.grid->TitleOffset(), index + w.grid->IndicatorOffset()).center();
}

inline QPoint titleCell(VGridWindow& w, int index)
{
    return w.grid->CellRect(0, index + w.grid->IndicatorOffset()).center();
}
