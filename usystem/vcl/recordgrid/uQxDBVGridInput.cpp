// The record grid towards the user: moving between field rows, the application's check on
// leaving a row, moving rows, and the click events.
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

#include <algorithm>

// ---- moving between field rows ---------------------------------------------------------------

void TQxCustomDBVGrid::MoveField(int RawRow)
{
    if (FDataLink->Active())
        FDataLink->UpdateRecord();
    RawRow = std::max(std::min(RawRow, RowCount() - 1), FIndicatorOffset);
    if (RawRow == Row())
        return;
    bool canExit = true;
    if (!FInColExit) {
        const int before = Row();
        FInColExit = true;
        try {
            ColExit(canExit);
        } catch (...) {
            FInColExit = false;
            throw;
        }
        FInColExit = false;
        // The application moved the cell itself.
        if (Row() != before)
            return;
    }
    if (!(FOptions & dgAlwaysShowEditor))
        HideEditor();
    if (!canExit)
        return;
    MoveColRow(Col(), RawRow, true, true);
    ColEnter();
}

bool TQxCustomDBVGrid::AcquireFocus()
{
    if (!FAcquireFocus || focusPolicy() == Qt::NoFocus || !isEnabled() || !isVisible())
        return true;
    if (!IsActiveControl())
        setFocus(Qt::MouseFocusReason);
    return IsActiveControl();
}

void TQxCustomDBVGrid::ColExit(bool& CanExit)
{
    // A refusal shows no message: the row simply stays.
    if (OnColExit)
        OnColExit(this, CanExit);
}

void TQxCustomDBVGrid::ColEnter()
{
    if (OnColEnter)
        OnColEnter(this);
}

void TQxCustomDBVGrid::CellClick(TVColumn* Column)
{
    if (OnCellClick)
        OnCellClick(Column);
}

void TQxCustomDBVGrid::TitleClick(TVColumn* Column)
{
    if (OnTitleClick)
        OnTitleClick(Column);
}

// ---- moving rows -----------------------------------------------------------------------------

void TQxCustomDBVGrid::RowMoved(int FromIndex, int ToIndex)
{
    const int from = FromIndex - FIndicatorOffset;
    const int to = ToIndex - FIndicatorOffset;
    if (from >= 0 && to >= 0 && from < FColumns->Count() && to < FColumns->Count()) {
        BeginLayout();
        try {
            // A pass-through row moves its field in the dataset as well.
            FColumns->Items(from)->SetIndex(to);
        } catch (...) {
            EndLayout();
            throw;
        }
        EndLayout();
    }
    // The application hears the rows' own positions, not the grid's.
    if (OnColumnMoved)
        OnColumnMoved(this, from, to);
}

void TQxCustomDBVGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    // The same in this grid: its field rows are what the data grid's columns are.
    RowMoved(FromIndex, ToIndex);
}
