// What the data grid and the record grid do alike between their keys and mouse and the
// dataset: whether the current cell may change (which puts the dataset into edit), the field of
// a column or field row, the untouched new record that a move gives up, taking the focus before
// a mouse or scroll action, and writing or dropping the pending record when the focus leaves.
//
// G is the grid: it answers ReadOnly(), DataLink() (a qx::GridDataLink), SelectedIndex() and
// Columns() (Count(), Items(i), each a qx::GridColumn).
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "usystem/vcl/gridlink/QxGridColumn.h"

#include <QScopedValueRollback>
#include <QWidget>

class TQxCustomGrid;

namespace qx {

// The field of column (or field row) Index while the grid's link is open; null otherwise.
template <class G>
TField* linkedField(const G& Grid, int Index)
{
    if (!Grid.DataLink()->Active() || Index < 0 || Index >= Grid.Columns()->Count())
        return nullptr;
    return Grid.Columns()->Items(Index)->Field();
}

// Whether the current cell may change now: the grid, its link, the column and the field all
// allow it (binary and memo contents change only through a text handler). The dataset is put
// into edit and the link marked modified; false when it cannot edit.
template <class G>
bool currentCellCanModify(const G& Grid)
{
    auto* link = Grid.DataLink();
    if (Grid.ReadOnly() || !link->Active() || link->ReadOnly())
        return false;
    const int index = Grid.SelectedIndex();
    if (index < 0 || index >= Grid.Columns()->Count())
        return false;
    const GridColumn* column = Grid.Columns()->Items(index);
    TField* f = column->Field();
    if (column->ReadOnly() || !f || !f->CanModify())
        return false;
    if (f->IsBlob() && !f->HasOnSetText())
        return false;
    link->Edit();
    if (!link->Editing())
        return false;
    link->Modified_(true);
    return true;
}

// Runs the application's check on leaving the current cell (Ask) unless that check is running
// already (Running): a check that moves the current cell itself (Position reads where it is)
// ends the move there. False when the move ends; whether the check let the cell go is Ask's
// own answer.
template <class AskFn, class PositionFn>
bool askLeavingCell(bool& Running, AskFn&& Ask, PositionFn&& Position)
{
    if (Running)
        return true;
    const int before = Position();
    {
        QScopedValueRollback<bool> running(Running, true);
        Ask();
    }
    return Position() == before;
}

// One step of a keyboard range selection (Shift with a move by Direction, +1 or -1) in the
// record selection Bookmarks: the first step marks the record it starts on and keeps it as
// the Anchor; moving back towards the anchor gives up the record being left. True when the
// record the move reaches is to be marked once there.
// UnorderedWithoutBookmark: a record without a bookmark (a new one) counts as neither before
// nor after the anchor, rather than by the dataset's order of a missing bookmark.
template <class List>
bool stepRangeSelection(List& Bookmarks, const TDataSet* DataSet, bool& Selecting,
                        TBookmarkStr& Anchor, int Direction, bool UnorderedWithoutBookmark)
{
    if (!Selecting) {
        Anchor = Bookmarks.CurrentRow();
        Bookmarks.SetCurrentRowSelected(true);
        Selecting = true;
        return true;
    }
    const TBookmarkStr current = Bookmarks.CurrentRow();
    const int order = UnorderedWithoutBookmark && (Anchor.isEmpty() || current.isEmpty())
                          ? 0
                          : DataSet->CompareBookmarks(Anchor, current);
    // Where the anchor lies from the current record: ahead (+1) or behind (-1).
    const int side = order > 0 ? 1 : order < 0 ? -1 : 0;
    if (side == Direction) {
        Bookmarks.SetCurrentRowSelected(false);
        return false;
    }
    return true;
}

// The new record being inserted is the last of the data.
bool freshInsertAtEnd(const TDataSet* DataSet);

// A move by Direction (+1 or -1) from a new record nobody has typed into (LinkModified: nor
// into the grid's editor): moving on keeps it at the end of the data for the user to fill and
// gives it up anywhere else; moving back gives up one at the end. True when the move ends
// there (nothing more to do).
bool settleUntouchedInsert(TDataSet* DataSet, bool LinkModified, int Direction);

// Takes the focus before a mouse or scroll action (unless Enabled is false or the grid cannot
// take it); true when the grid or its editor has it.
bool acquireGridFocus(TQxCustomGrid* Grid, bool Enabled);

// The focus leaves the grid: an untouched new record is given up (CancelOnExit), anything else
// pending is written. A value that cannot be written keeps the user in the grid to mend it.
template <class Link>
void settleRecordOnExit(Link* DataLink, bool CancelOnExit, QWidget* Grid)
{
    TDataSet* ds = DataLink->DataSet();
    if (!DataLink->Active() || !ds)
        return;
    try {
        if (CancelOnExit && ds->State() == dsInsert && !ds->Modified() && !DataLink->Modified())
            ds->Cancel();
        else
            DataLink->UpdateRecord();
    } catch (...) {
        Grid->setFocus(Qt::OtherFocusReason);
        throw;
    }
}

} // namespace qx
