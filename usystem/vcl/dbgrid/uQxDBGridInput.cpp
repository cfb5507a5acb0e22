// The data grid towards the user: its key map, the mouse, the moves between cells and records
// (every record move goes through the dataset), the application's check on leaving a cell,
// inserting, appending and deleting records, the row selection, the cell button and the hints.
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include "usystem/vcl/dbgrid/uQxDBGridEditor.h"
#include "usystem/vcl/dbgrid/uQxDBGridFind.h"
#include "usystem/vcl/controls/uQxMsgdlg.h"
#include "usystem/vcl/gridlink/QxGridEditing.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QMenu>

#include <algorithm>

namespace {

// Runs the grid's update lock around a block, releasing it on every path.
using UpdateLock = qx::UpdateLockGuard<TQxCustomDBGrid>;

bool isDateOrTimeField(const TField* f)
{
    if (!f)
        return false;
    const TFieldType t = f->DataType();
    return t == ftDate || t == ftTime || t == ftDateTime;
}

const QString& deletePromptCaption()
{
    static const QString caption = QStringLiteral("询问");
    return caption;
}

} // namespace

// ---- editor questions ------------------------------------------------------------------------

TQxInplaceEdit* TQxCustomDBGrid::CreateEditor()
{
    return new TQxDBGridInplaceEdit(this);
}

TQxDBGridInplaceEdit* TQxCustomDBGrid::CellEditor() const
{
    return qobject_cast<TQxDBGridInplaceEdit*>(InplaceEditor());
}

bool TQxCustomDBGrid::CanEditAcceptKey(QChar Key)
{
    TField* f = SelectedField();
    return FDataLink->Active() && f && f->IsValidChar(Key);
}

bool TQxCustomDBGrid::CanEditModify()
{
    return qx::currentCellCanModify(*this);
}

QString TQxCustomDBGrid::GetEditText(int ACol, int ARow)
{
    (void)ARow;
    TField* f = qx::linkedField(*this, RawToDataColumn(ACol));
    FEditText = f ? f->Text() : QString();
    return FEditText;
}

void TQxCustomDBGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    (void)ACol;
    (void)ARow;
    FEditText = Value;
}

QString TQxCustomDBGrid::GetEditMask(int ACol, int ARow)
{
    (void)ARow;
    TField* f = qx::linkedField(*this, RawToDataColumn(ACol));
    return f ? f->EditMask() : QString();
}

int TQxCustomDBGrid::GetEditLimit()
{
    TField* f = SelectedField();
    if (f && (f->DataType() == ftString || f->DataType() == ftWideString))
        return f->Size();
    return 0;
}

// ---- leaving and entering cells --------------------------------------------------------------

void TQxCustomDBGrid::ColExit(bool& CanExit, QString& Err)
{
    Err.clear();
    if (OnColExit)
        OnColExit(this, CanExit, Err);
    if (!CanExit && !Err.isEmpty())
        MsgDlgOk(TQxMsgdlg::icInformation, QStringLiteral("提示"), Err);
}

void TQxCustomDBGrid::ColEnter()
{
    // The editor follows the column's input method when it is loaded for the new cell.
    if (OnColEnter)
        OnColEnter(this);
}

void TQxCustomDBGrid::CellClick(TQxColumn* Column)
{
    if (OnCellClick)
        OnCellClick(Column);
}

void TQxCustomDBGrid::TitleClick(TQxColumn* Column)
{
    if (OnTitleClick)
        OnTitleClick(Column);
}

void TQxCustomDBGrid::HotKeyHint(const QString& Text)
{
    if (OnHotKeyHint)
        OnHotKeyHint(this, Text);
}

void TQxCustomDBGrid::SetSelectedIndex(int Index)
{
    MoveCol(DataToRawColumn(Index), 0);
}

void TQxCustomDBGrid::MoveCol(int RawCol, int Direction)
{
    if (FDataLink->Active())
        FDataLink->UpdateRecord();
    // Frozen columns are fixed cells: the current cell is always a scrolling data column.
    const int first = std::max(FIndicatorOffset, FixedCols());
    const int last = ColCount() - 1;
    if (last < first)
        return;
    RawCol = std::clamp(RawCol, first, last);
    if (Direction != 0) {
        while (ColWidths(RawCol) <= 0) {
            RawCol += Direction;
            if (RawCol < first || RawCol > last)
                return;
        }
    }
    if (RawCol == Col())
        return;
    bool canExit = true;
    if (!qx::askLeavingCell(FInColExit, [&] { ColExit(canExit, FColExitError); },
                            [this] { return Col(); }))
        return;
    if (!canExit)
        return;
    if (!(FOptions & dgAlwaysShowEditor))
        HideEditor();
    MoveColRow(RawCol, Row(), true, true);
    ColEnter();
}

// ---- moves between records -------------------------------------------------------------------

void TQxCustomDBGrid::ClearSelection()
{
    if (!(FOptions & dgMultiSelect))
        return;
    FBookmarks->Clear();
    FSelecting = false;
    FSelectionAnchor.clear();
}

void TQxCustomDBGrid::ToggleCurrentRowSelection()
{
    if (!FDataLink->Active())
        return;
    FBookmarks->SetCurrentRowSelected(!FBookmarks->CurrentRowSelected());
    if (FIndicatorOffset > 0)
        InvalidateCol(0);
}

bool TQxCustomDBGrid::MoveByOne(int Direction, bool Select, TShiftState Shift)
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds)
        return false;
    UpdateLock lock(this);
    bool selectReached = false;
    if ((FOptions & dgMultiSelect) && FDataLink->Active()) {
        if (Select && (Shift & ssShift)) {
            selectReached = qx::stepRangeSelection(*FBookmarks, ds, FSelecting, FSelectionAnchor,
                                                   Direction, true);
        } else {
            ClearSelection();
        }
    }
    TQxInplaceEdit* editor = InplaceEditor();
    if (editor && editor->Visible()) {
        FDataLink->UpdateRecord();
        bool canExit = true;
        ColExit(canExit, FColExitError);
        if (!canExit)
            return false;
    }
    ds->MoveBy(Direction);
    if (selectReached)
        FBookmarks->SetCurrentRowSelected(true);
    return true;
}

void TQxCustomDBGrid::NextRow(bool Select, TShiftState Shift)
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds)
        return;
    if (qx::settleUntouchedInsert(ds, FDataLink->Modified(), 1))
        return;
    if (!MoveByOne(1, Select, Shift))
        return;
    if (FDataLink->Eof() && ds->CanModify() && !FReadOnly && (FOptions & dgEditing)) {
        if (FOptions & dgAllowAdd)
            ds->Append();
        if (!(FOptions & dgAlwaysShowEditor))
            HideEditor();
        int first = std::max(FIndicatorOffset, FixedCols());
        while (first < ColCount() - 1 && ColWidths(first) <= 0)
            ++first;
        if (first < ColCount() && first != Col())
            MoveColRow(first, Row(), false, false);
        ColEnter();
    }
}

void TQxCustomDBGrid::PriorRow(bool Select, TShiftState Shift)
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds)
        return;
    // The empty row the user walked into at the end goes away again.
    if (qx::settleUntouchedInsert(ds, FDataLink->Modified(), -1))
        return;
    MoveByOne(-1, Select, Shift);
}

void TQxCustomDBGrid::TabMove(bool Back)
{
    UpdateLock lock(this);
    const int original = Col();
    const int first = std::max(FIndicatorOffset, FixedCols());
    int col = original;
    for (;;) {
        col += Back ? -1 : 1;
        if (col >= ColCount()) {
            NextRow(false, TShiftState());
            col = first;
        } else if (col < first) {
            PriorRow(false, TShiftState());
            col = ColCount() - 1;
        }
        if (col == original)
            return;
        if (TabStops(col) && ColWidths(col) > 0) {
            MoveCol(col, 0);
            return;
        }
    }
}

// ---- deleting --------------------------------------------------------------------------------

bool TQxCustomDBGrid::CanDeleteOrInsert() const
{
    TDataSet* ds = FDataLink->DataSet();
    return ds && FDataLink->Active() && ds->CanModify() && !FReadOnly;
}

bool TQxCustomDBGrid::ConfirmDelete(int Count)
{
    if (!(FOptions & dgConfirmDelete))
        return true;
    // Several rows going at once are named, so that a forgotten selection is not deleted
    // behind the one-row question.
    const QString text = Count > 1
                             ? QStringLiteral("您是否确定删除选定的 %1 条记录?").arg(Count)
                             : QStringLiteral("您是否确定删除?");
    return MsgDlgOkCancel(deletePromptCaption(), text, 2);
}

void TQxCustomDBGrid::DeleteRecords(bool InSelectionOrder)
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds)
        return;
    if (FBookmarks->Count() == 0) {
        ds->Delete();
        return;
    }
    if (InSelectionOrder) {
        std::vector<TBookmarkStr> rows;
        for (int i = 0; i < FBookmarks->Count(); ++i)
            rows.push_back(FBookmarks->Items(i));
        qx::ControlsGuard quiet(ds);
        for (const TBookmarkStr& bm : rows) {
            if (!ds->BookmarkValid(bm))
                continue;
            ds->GotoBookmark(bm);
            ds->Delete();
        }
    } else {
        FBookmarks->Delete();
    }
    FBookmarks->Clear();
    FSelecting = false;
    FSelectionAnchor.clear();
    InvalidateGrid();
}

namespace {
// How many rows a delete takes: the selected ones still there, or the current one.
int rowsToDelete(TDataSet* ds, TBookmarkList* list)
{
    int n = 0;
    for (int i = 0; i < list->Count(); ++i)
        if (ds->BookmarkValid(list->Items(i)))
            ++n;
    return list->Count() > 0 ? std::max(n, 1) : 1;
}
} // namespace

// ---- keys ------------------------------------------------------------------------------------

void TQxCustomDBGrid::KeyDown(int& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    TDataSet* ds = FDataLink->DataSet();
    if (Key == 0 || !FDataLink->Active() || !ds || !CanGridAcceptKey(Key, Shift))
        return;
    if (layoutDirection() == Qt::RightToLeft) {
        if (Key == VK_LEFT)
            Key = VK_RIGHT;
        else if (Key == VK_RIGHT)
            Key = VK_LEFT;
    }
    const int visibleRows = std::max(1, RowCount() - FTitleOffset);
    const bool rowSelect = FOptions & dgRowSelect;
    const bool singleColumn = ColCount() - FIndicatorOffset <= 1;

    if (Shift & ssCtrl) {
        switch (Key) {
        case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME: case VK_UP: case VK_DOWN:
            ClearSelection();
            break;
        default:
            break;
        }
        switch (Key) {
        case VK_RETURN:
            ToggleCurrentRowSelection();
            break;
        case VK_PRIOR:
        case VK_UP:
            ds->MoveBy(-FDataLink->ActiveRecord());
            break;
        case VK_NEXT:
        case VK_DOWN:
            ds->MoveBy(FDataLink->RecordCount() - 1 - FDataLink->ActiveRecord());
            break;
        case VK_END:
            ds->Last();
            break;
        case VK_HOME:
            ds->First();
            break;
        case VK_LEFT:
            MoveCol(FIndicatorOffset, 1);
            break;
        case VK_RIGHT:
            MoveCol(ColCount() - 1, -1);
            break;
        case VK_DELETE:
            if (!FReadOnly && !ds->IsEmpty() && ds->CanModify()
                && ConfirmDelete(rowsToDelete(ds, FBookmarks.get())))
                DeleteRecords(true);
            break;
        case 'F':
            if (!isDateOrTimeField(SelectedField()))
                StartFind();
            break;
        default:
            return;
        }
        Key = 0;
        return;
    }

    switch (Key) {
    case VK_TAB:
    case VK_RETURN:
        if (Shift & ssAlt)
            return;
        TabMove(Shift & ssShift);
        break;
    case VK_ESCAPE:
        FDataLink->Reset();
        ClearSelection();
        if (!(FOptions & dgAlwaysShowEditor))
            HideEditor();
        // Esc goes on: a form may close on it.
        return;
    case VK_PRIOR:
        ClearSelection();
        ds->MoveBy(-visibleRows);
        break;
    case VK_NEXT:
        ClearSelection();
        ds->MoveBy(visibleRows);
        break;
    case VK_END:
        if (singleColumn || rowSelect) {
            ClearSelection();
            ds->Last();
        } else {
            MoveCol(ColCount() - 1, -1);
        }
        break;
    case VK_HOME:
        if (singleColumn || rowSelect) {
            ClearSelection();
            ds->First();
        } else {
            MoveCol(FIndicatorOffset, 1);
        }
        break;
    case VK_LEFT:
        if (rowSelect)
            PriorRow(false, Shift);
        else
            MoveCol(Col() - 1, -1);
        break;
    case VK_RIGHT:
        if (rowSelect)
            NextRow(false, Shift);
        else
            MoveCol(Col() + 1, 1);
        break;
    case VK_UP:
        PriorRow(true, Shift);
        break;
    case VK_DOWN:
        NextRow(true, Shift);
        break;
    case VK_INSERT:
        if (CanDeleteOrInsert() && (FOptions & dgEditing) && (FOptions & dgAllowAdd)) {
            ClearSelection();
            ds->Insert();
        }
        break;
    case VK_DELETE: {
        TQxInplaceEdit* editor = InplaceEditor();
        if ((!editor || !editor->Visible()) && !FReadOnly && !ds->IsEmpty() && ds->CanModify()
            && ConfirmDelete(rowsToDelete(ds, FBookmarks.get())))
            DeleteRecords(false);
        break;
    }
    case VK_ADD:
        ToggleCurrentRowSelection();
        break;
    case VK_F2:
        SetEditorMode(true);
        break;
    default:
        return;
    }
    Key = 0;
}

// ---- the cell button -------------------------------------------------------------------------

void TQxCustomDBGrid::EditButtonClick()
{
    if (OnEditButtonClick) {
        if (!FReadOnly)
            OnEditButtonClick(this);
        return;
    }
    // No dataset of the system nests datasets, so a read-only grid has nothing to open.
    if (FReadOnly)
        return;
    qx::pickCellValue(SelectedField(), this);
}

// ---- focus -----------------------------------------------------------------------------------

bool TQxCustomDBGrid::AcquireFocus()
{
    return qx::acquireGridFocus(this, FAcquireFocus);
}

void TQxCustomDBGrid::focusInEvent(QFocusEvent* event)
{
    TQxCustomGrid::focusInEvent(event);
    TQxInplaceEdit* editor = InplaceEditor();
    if (!editor || !editor->Visible())
        HotKeyHint(QStringLiteral(" [+键]: 选择当前记录 ")
                   + QStringLiteral(" [CTRL键] + [F键]: 查找当前列 "));
    if (FOptions & dgRowSelect)
        InvalidateRow(Row());
}

void TQxCustomDBGrid::inputMethodEvent(QInputMethodEvent* event)
{
    // A composition begun over a cell goes on in the cell's editor.
    if (FOptions & dgEditing) {
        ShowEditor();
        if (TQxInplaceEdit* editor = InplaceEditor(); editor && editor->Visible()) {
            QCoreApplication::sendEvent(editor, event);
            return;
        }
    }
    TQxCustomGrid::inputMethodEvent(event);
}

void TQxCustomDBGrid::DoExit()
{
    qx::settleRecordOnExit(FDataLink.get(), FOptions & dgCancelOnExit, this);
    TQxCustomGrid::DoExit();
}

// ---- mouse -----------------------------------------------------------------------------------

void TQxCustomDBGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FTitleMenuDue = false;
    if (!AcquireFocus())
        return;
    if (Button == mbLeft && (Shift & ssDouble)) {
        DblClick();
        return;
    }
    if (Sizing(X, Y)) {
        if (FDataLink->Active())
            FDataLink->UpdateRecord();
        TQxCustomGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || cell.Y < 0) {
        TQxCustomGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    TDataSet* ds = FDataLink->DataSet();
    if ((FOptions & dgIndicator) && Button == mbLeft && cell.X < FIndicatorOffset
        && cell.Y >= FTitleOffset) {
        // The indicator toggles its row's mark without moving the current record.
        const int dataRow = cell.Y - FTitleOffset;
        if (FDataLink->Active() && ds && dataRow < FDataLink->RecordCount()) {
            const int saved = FDataLink->ActiveRecord();
            FDataLink->SetActiveRecord(dataRow);
            try {
                FBookmarks->SetCurrentRowSelected(!FBookmarks->CurrentRowSelected());
            } catch (...) {
                FDataLink->SetActiveRecord(saved);
                throw;
            }
            FDataLink->SetActiveRecord(saved);
        }
        FPressedIndicatorRow = cell.Y;
        InvalidateCol(0);
        return;
    }
    if (FIndicatorOffset > 0)
        InvalidateCol(0);
    if (Button == mbRight && cell.Y < FTitleOffset)
        FTitleMenuDue = true;
    if (cell.Y < FTitleOffset && (FOptions & dgColumnResize)) {
        if (FDataLink->Active())
            FDataLink->UpdateRecord();
        TQxCustomGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (!FDataLink->Active() || !ds) {
        TQxCustomGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    const TGridCoord before{Col(), Row()};
    {
        UpdateLock lock(this);
        FDataLink->UpdateRecord();
        HideEditor();
        if (cell.Y >= FTitleOffset && cell.Y != Row())
            ds->MoveBy(cell.Y - Row());
        if (cell.X >= FIndicatorOffset)
            MoveCol(cell.X, 0);
        if (FOptions & dgMultiSelect) {
            FSelecting = false;
            FSelectionAnchor.clear();
            if (Shift & ssCtrl) {
                ToggleCurrentRowSelection();
            } else {
                FBookmarks->Clear();
                FBookmarks->SetCurrentRowSelected(true);
            }
        }
    }
    if (Button == mbLeft
        && ((cell.X == before.X && cell.Y == before.Y) || (FOptions & dgAlwaysShowEditor)))
        ShowEditor();
    else
        InvalidateEditor();
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TQxCustomDBGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FTitleMenuDue) {
        FTitleMenuDue = false;
        if (Button == mbRight && ShowTitleMenu(QPoint(X, Y)))
            return;
    }
    if (FPressedIndicatorRow >= 0) {
        FPressedIndicatorRow = -1;
        if (FIndicatorOffset > 0)
            InvalidateCol(0);
    }
    // A press on a title starts a column move at once; only a move that went somewhere (or a
    // sizing) is a drag rather than a click on the title.
    const TGridState state = FGridState;
    const bool dragged = state == gsColSizing || state == gsRowSizing
                         || ((state == gsColMoving || state == gsRowMoving)
                             && FMovePos != FMoveIndex);
    TQxCustomGrid::MouseUp(Button, Shift, X, Y);
    if (dragged)
        return;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < FIndicatorOffset || cell.X >= ColCount() || cell.Y < 0)
        return;
    const int dataCol = RawToDataColumn(cell.X);
    if (dataCol >= FColumns->Count())
        return;
    if (Button == mbLeft) {
        if (cell.Y < FTitleOffset)
            TitleClick(FColumns->Items(dataCol));
        else if (SelectedIndex() >= 0 && SelectedIndex() < FColumns->Count())
            CellClick(FColumns->Items(SelectedIndex()));
    } else if (Button == mbRight && cell.Y >= FTitleOffset) {
        QMenu* menu = FColumns->Items(dataCol)->PopupMenu();
        if (menu) {
            CancelMode();
            menu->popup(viewport()->mapToGlobal(QPoint(X, Y)));
        }
    }
}
