// The record grid towards the user: its keys, the mouse and the horizontal scroll bar as
// moves between records (each gated by DBGridMode), moving between field rows with the
// application's check on leaving a row, inserting and deleting records, the record selection,
// leaving the grid, the cell button, the candidate pad's answer and the cell editor's
// questions (whether a cell may change, its text, mask and length).
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

#include "usystem/vcl/controls/uQxMsgdlg.h"
#include "usystem/vcl/gridlink/QxGridEditing.h"
#include "usystem/vcl/dbgrid/QxGridCellEditor.h"
#include "usystem/vcl/recordgrid/uQxDBVGridEditor.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

namespace {

using UpdateGuard = qx::UpdateLockGuard<TQxCustomDBVGrid>;

} // namespace

// ---- the editor's questions ------------------------------------------------------------------

TQxInplaceEdit* TQxCustomDBVGrid::CreateEditor()
{
    return new TDBVGridInplaceEdit(this);
}

TDBVGridInplaceEdit* TQxCustomDBVGrid::CellEditor() const
{
    return qobject_cast<TDBVGridInplaceEdit*>(InplaceEditor());
}

bool TQxCustomDBVGrid::CanEditAcceptKey(QChar Key)
{
    TField* f = SelectedField();
    return FDataLink->Active() && f && f->IsValidChar(Key);
}

bool TQxCustomDBVGrid::CanEditModify()
{
    return qx::currentCellCanModify(*this);
}

QString TQxCustomDBVGrid::GetEditText(int ACol, int ARow)
{
    (void)ACol;
    TField* f = qx::linkedField(*this, ARow - FIndicatorOffset);
    FEditText = f ? f->Text() : QString();
    return FEditText;
}

void TQxCustomDBVGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    (void)ACol;
    (void)ARow;
    // Written into the field when the link asks for pending edits.
    FEditText = Value;
}

QString TQxCustomDBVGrid::GetEditMask(int ACol, int ARow)
{
    (void)ACol;
    TField* f = qx::linkedField(*this, ARow - FIndicatorOffset);
    return f ? f->EditMask() : QString();
}

int TQxCustomDBVGrid::GetEditLimit()
{
    TField* f = SelectedField();
    if (f && f->DataType() == ftString)
        return f->Size();
    return 0;
}

bool TQxCustomDBVGrid::FieldTabStop(int RawRow) const
{
    const int index = RawRow - FIndicatorOffset;
    if (index < 0 || index >= FColumns->Count() || !FDataLink->Active())
        return false;
    TVColumn* row = FColumns->Items(index);
    TField* f = row->Field();
    if (row->ReadOnly() || !f || f->Calculated() || f->ReadOnly())
        return false;
    if (f->Lookup()) {
        TDataSet* ds = FDataLink->DataSet();
        TField* key = ds ? ds->FindField(f->KeyFields()) : nullptr;
        if (!key || key->ReadOnly())
            return false;
    }
    return true;
}

// ---- moving between field rows ---------------------------------------------------------------

void TQxCustomDBVGrid::MoveField(int RawRow)
{
    if (FDataLink->Active())
        FDataLink->UpdateRecord();
    RawRow = std::max(std::min(RawRow, RowCount() - 1), FIndicatorOffset);
    if (RawRow == Row())
        return;
    bool canExit = true;
    if (!qx::askLeavingCell(FInColExit, [&] { ColExit(canExit); }, [this] { return Row(); }))
        return;
    if (!(FOptions & dgAlwaysShowEditor))
        HideEditor();
    if (!canExit)
        return;
    MoveColRow(Col(), RawRow, true, true);
    ColEnter();
}

bool TQxCustomDBVGrid::AcquireFocus()
{
    return qx::acquireGridFocus(this, FAcquireFocus);
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

void TQxCustomDBVGrid::DoCellTextChange(const QString& CellText, TQxIMEPad*& ImePad)
{
    if (OnCellTextChange)
        OnCellTextChange(this, CellText, ImePad);
}

void TQxCustomDBVGrid::DoCellImeCode(int lItemIndex, QString& Code)
{
    if (OnCellImeCode)
        OnCellImeCode(this, lItemIndex, Code);
}

void TQxCustomDBVGrid::DoHotKeyHint(const QString& lHint)
{
    if (OnHotKeyHint)
        OnHotKeyHint(this, lHint);
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

// ---- moves between records -------------------------------------------------------------------

void TQxCustomDBVGrid::ClearSelection()
{
    if (!(FOptions & dgMultiSelect))
        return;
    FBookmarks->Clear();
    FSelecting = false;
}

void TQxCustomDBVGrid::DoSelection(bool Select, int Direction, TShiftState Shift)
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds)
        return;
    UpdateGuard lock(this);
    bool addAfter = false;
    if ((FOptions & dgMultiSelect) && FDataLink->Active()) {
        if (Select && (Shift & ssShift)) {
            addAfter = qx::stepRangeSelection(*FBookmarks, ds, FSelecting, FSelectionAnchor,
                                              Direction, false);
        } else {
            ClearSelection();
        }
    }
    TQxInplaceEdit* editor = InplaceEditor();
    if (editor && editor->Visible()) {
        // The cell is written and may be refused before the record moves on.
        FDataLink->UpdateRecord();
        bool canExit = true;
        ColExit(canExit);
        if (canExit && (FDBGridMode & dmNext))
            ds->MoveBy(Direction);
    } else if (FDBGridMode & dmAppend) {
        ds->MoveBy(Direction);
    }
    if (addAfter)
        FBookmarks->SetCurrentRowSelected(true);
}

void TQxCustomDBVGrid::NextRow(bool Select, TShiftState Shift)
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds)
        return;
    if (qx::settleUntouchedInsert(ds, FDataLink->Modified(), 1))
        return;
    DoSelection(Select, 1, Shift);
    if (FDataLink->Eof() && ds->CanModify() && !FReadOnly && (FOptions & dgEditing)) {
        if (FDBGridMode & dmAppend)
            ds->Append();
        HideEditor();
        if (Row() != FIndicatorOffset && FIndicatorOffset < RowCount())
            MoveColRow(Col(), FIndicatorOffset, true, true);
        ColEnter();
    }
}

void TQxCustomDBVGrid::PriorRow(bool Select, TShiftState Shift)
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds)
        return;
    // The empty record the user walked into at the end goes away again.
    if (qx::settleUntouchedInsert(ds, FDataLink->Modified(), -1))
        return;
    DoSelection(Select, -1, Shift);
}

void TQxCustomDBVGrid::TabMove(bool Forward)
{
    UpdateGuard lock(this);
    const int start = Row();
    int r = start;
    for (;;) {
        r += Forward ? 1 : -1;
        if (r >= RowCount()) {
            NextRow(false, TShiftState());
            r = FIndicatorOffset;
        } else if (r < FIndicatorOffset) {
            PriorRow(false, TShiftState());
            // The next step backwards lands on the last row.
            r = RowCount();
        }
        if (r == start)
            return;
        if (FieldTabStop(r)) {
            MoveField(r);
            return;
        }
    }
}

// ---- deleting --------------------------------------------------------------------------------

bool TQxCustomDBVGrid::DeletePrompt()
{
    if (!(FDBGridMode & dmDelete))
        return false;
    if (!(FOptions & dgConfirmDelete))
        return true;
    const QString text = FBookmarks->Count() < 2 ? QStringLiteral("Delete record?")
                                                 : QStringLiteral("Delete all selected records?");
    return MsgDlgOkCancel(QStringLiteral("询问"), text, 2);
}

void TQxCustomDBVGrid::DeleteRecords()
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds || FReadOnly || ds->IsEmpty() || !ds->CanModify() || !DeletePrompt())
        return;
    if (FBookmarks->Count() == 0) {
        ds->Delete();
        return;
    }
    FBookmarks->Delete();
    FSelecting = false;
    InvalidateGrid();
}

// ---- keys ------------------------------------------------------------------------------------

void TQxCustomDBVGrid::KeyDown(int& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    TDataSet* ds = FDataLink->DataSet();
    if (Key == 0 || !FDataLink->Active() || !ds || !CanGridAcceptKey(Key, Shift))
        return;
    const bool rowSelect = FOptions & dgRowSelect;
    const bool oneField = FColumns->Count() <= 1;
    const int page = std::max(1, VisibleColCount());

    if (Shift & ssCtrl) {
        switch (Key) {
        case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT:
            ClearSelection();
            break;
        default:
            break;
        }
        switch (Key) {
        case VK_PRIOR:
        case VK_LEFT:
            ds->MoveBy(-FDataLink->ActiveRecord());
            break;
        case VK_NEXT:
        case VK_RIGHT:
            ds->MoveBy(FDataLink->BufferCount() - FDataLink->ActiveRecord() - 1);
            break;
        case VK_HOME:
            ds->First();
            break;
        case VK_END:
            ds->Last();
            break;
        case VK_UP:
            MoveField(FIndicatorOffset);
            break;
        case VK_DOWN:
            MoveField(RowCount() - 1);
            break;
        case VK_DELETE:
            DeleteRecords();
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
        TabMove(!(Shift & ssShift));
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
        ds->MoveBy(-page);
        break;
    case VK_NEXT:
        ClearSelection();
        ds->MoveBy(page);
        break;
    case VK_HOME:
        if (oneField || rowSelect) {
            ClearSelection();
            ds->First();
        } else {
            MoveField(FIndicatorOffset);
        }
        break;
    case VK_END:
        if (oneField || rowSelect) {
            ClearSelection();
            ds->Last();
        } else {
            MoveField(RowCount() - 1);
        }
        break;
    case VK_LEFT:
        PriorRow(true, Shift);
        break;
    case VK_RIGHT:
        NextRow(true, Shift);
        break;
    case VK_UP:
        if (rowSelect)
            PriorRow(false, Shift);
        else
            MoveField(Row() - 1);
        break;
    case VK_DOWN:
        if (rowSelect)
            NextRow(false, Shift);
        else
            MoveField(Row() + 1);
        break;
    case VK_INSERT:
        if (ds->CanModify() && !FReadOnly && (FOptions & dgEditing)) {
            ClearSelection();
            if (FDBGridMode & dmInsert)
                ds->Insert();
        }
        break;
    case VK_F2:
        SetEditorMode(true);
        break;
    default:
        return;
    }
    Key = 0;
}

void TQxCustomDBVGrid::KeyPress(QChar& Key)
{
    if (Key == QChar(13) && !(FOptions & dgAlwaysShowEditor) && FDataLink->Active())
        FDataLink->UpdateRecord();
    TQxCustomGrid::KeyPress(Key);
}

// ---- the cell button -------------------------------------------------------------------------

void TQxCustomDBVGrid::EditButtonClick()
{
    if (OnEditButtonClick) {
        OnEditButtonClick(this);
        return;
    }
    if (FReadOnly)
        return;
    qx::pickCellValue(SelectedField(), this);
}

// ---- the candidate pad -----------------------------------------------------------------------

bool TQxCustomDBVGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FImePad && event->type() == QEvent::MouseButtonPress) {
        PadMouseDown();
        return true;
    }
    return TQxCustomGrid::eventFilter(watched, event);
}

void TQxCustomDBVGrid::PadMouseDown()
{
    const int index = SelectedIndex();
    TVColumn* row = index >= 0 && index < FColumns->Count() ? FColumns->Items(index) : nullptr;
    qx::takeImePadChoice(
        FImePad, row, [this](int Line, QString& Code) { DoCellImeCode(Line, Code); },
        [this] { return CanEditModify(); });
}

// ---- focus -----------------------------------------------------------------------------------

void TQxCustomDBVGrid::inputMethodEvent(QInputMethodEvent* event)
{
    // A composition begun over a cell goes on in the cell's editor.
    if (FOptions & dgEditing)
        ShowEditor();
    if (TQxInplaceEdit* editor = InplaceEditor(); editor && editor->Visible()) {
        QCoreApplication::sendEvent(editor, event);
        return;
    }
    TQxCustomGrid::inputMethodEvent(event);
}

void TQxCustomDBVGrid::DoExit()
{
    qx::settleRecordOnExit(FDataLink.get(), FOptions & dgCancelOnExit, this);
    TQxCustomGrid::DoExit();
}

// ---- mouse -----------------------------------------------------------------------------------

void TQxCustomDBVGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
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
    if (cell.X >= 0 && cell.X < FTitleOffset && (FOptions & dgColumnResize)) {
        // A title starts a row move; the click itself follows on release.
        if (FDataLink->Active())
            FDataLink->UpdateRecord();
        TQxCustomGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    TDataSet* ds = FDataLink->DataSet();
    if (FDataLink->Active() && ds && cell.X >= 0 && cell.Y >= 0) {
        const TGridCoord before{Col(), Row()};
        {
            UpdateGuard lock(this);
            HideEditor();
            if (cell.X >= FTitleOffset && cell.X != Col())
                ds->MoveBy(cell.X - Col());
            if (cell.Y >= FIndicatorOffset)
                MoveField(cell.Y);
            if (FOptions & dgMultiSelect) {
                FSelecting = false;
                if (Shift & ssCtrl) {
                    FBookmarks->SetCurrentRowSelected(!FBookmarks->CurrentRowSelected());
                } else {
                    FBookmarks->Clear();
                    FBookmarks->SetCurrentRowSelected(true);
                }
            }
        }
        if ((Button == mbLeft && cell == before) || (FOptions & dgAlwaysShowEditor))
            ShowEditor();
        else
            InvalidateEditor();
    }
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TQxCustomDBVGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // Sizing, or a row dragged somewhere, is no click.
    const TGridState state = FGridState;
    const bool dragged = state == gsColSizing || state == gsRowSizing
                         || ((state == gsColMoving || state == gsRowMoving)
                             && FMovePos != FMoveIndex);
    TQxCustomGrid::MouseUp(Button, Shift, X, Y);
    if (dragged)
        return;
    TQxInplaceEdit* editor = InplaceEditor();
    if (editor && editor->Visible() && editor->geometry().contains(X, Y))
        return;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.Y < FIndicatorOffset || cell.X < 0)
        return;
    const int index = cell.Y - FIndicatorOffset;
    if (Button == mbLeft) {
        if (cell.X < FTitleOffset) {
            if (index < FColumns->Count())
                TitleClick(FColumns->Items(index));
        } else if (SelectedIndex() >= 0 && SelectedIndex() < FColumns->Count()) {
            CellClick(FColumns->Items(SelectedIndex()));
        }
    } else if (Button == mbRight && index < FColumns->Count()) {
        // The row's own menu, at the mouse.
        if (QMenu* menu = FColumns->Items(index)->PopupMenu()) {
            CancelMode();
            menu->popup(viewport()->mapToGlobal(QPoint(X, Y)));
        }
    }
}

// ---- the horizontal scroll bar ---------------------------------------------------------------

void TQxCustomDBVGrid::ScrollBarAction(Qt::Orientation Bar, int Action, int Pos, bool Released)
{
    if (Bar != Qt::Horizontal) {
        TQxCustomGrid::ScrollBarAction(Bar, Action, Pos, Released);
        return;
    }
    TDataSet* ds = FDataLink->DataSet();
    if (!AcquireFocus() || !FDataLink->Active() || !ds)
        return;
    const int page = std::max(1, VisibleColCount());
    switch (Action) {
    case QAbstractSlider::SliderSingleStepSub:
        ds->MoveBy(-FDataLink->ActiveRecord() - 1);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        ds->MoveBy(FDataLink->RecordCount() - FDataLink->ActiveRecord());
        break;
    case QAbstractSlider::SliderPageStepSub:
        ds->MoveBy(-page);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        ds->MoveBy(page);
        break;
    case QAbstractSlider::SliderToMinimum:
        ds->First();
        break;
    case QAbstractSlider::SliderToMaximum:
        ds->Last();
        break;
    case QAbstractSlider::SliderMove:
        // The thumb lets go at Pos: a record number where the dataset counts them.
        if (!Released)
            return;
        if (ds->IsSequenced()) {
            if (Pos <= 1)
                ds->First();
            else if (Pos < ds->RecordCount())
                ds->SetRecNo(Pos);
            else
                ds->Last();
        } else {
            switch (Pos) {
            case 0: ds->First(); break;
            case 1: ds->MoveBy(-page); break;
            case 3: ds->MoveBy(page); break;
            case 4: ds->Last(); break;
            default: break;
            }
        }
        break;
    default:
        break;
    }
}
