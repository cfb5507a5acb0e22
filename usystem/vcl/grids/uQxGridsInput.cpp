// The grid's keyboard and mouse: moving the current cell, range selection with timed
// auto-scroll, sizing and moving of columns and rows, focus, and switching the in-place editor.
#include "usystem/vcl/grids/uQxGrids.h"

#include "platform/env/ExceptionGuard.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int SelectTimerInterval = 60; // ms between auto-scroll steps while dragging

TMouseButton toMouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The editor, seen from the grid

TQxInplaceEdit* TQxCustomGrid::InplaceEditor() const
{
    return FInplaceEdit.data();
}

TQxInplaceEdit* TQxCustomGrid::CreateEditor()
{
    return new TQxInplaceEdit(viewport());
}

bool TQxCustomGrid::IsActiveControl() const
{
    const QWidget* focus = window()->focusWidget();
    if (!focus)
        return false;
    return focus == this || (FInplaceEdit && focus == FInplaceEdit.data());
}

bool TQxCustomGrid::CanEditShow()
{
    return (FOptions & (goRowSelect | goEditing)) == TKyGridOptions(goEditing) && FEditorMode
           && ((FOptions & goAlwaysShowEditor) || IsActiveControl());
}

void TQxCustomGrid::UpdateEdit()
{
    if (!CanEditShow())
        return;
    auto load = [this] {
        FInplaceCol = Col();
        FInplaceRow = Row();
        FInplaceEdit->UpdateContents();
        FCanEditModify = FInplaceEdit->EditLimit() != -1;
        FInplaceEdit->SelectAll();
    };
    if (!FInplaceEdit) {
        TQxInplaceEdit* editor = CreateEditor();
        editor->SetGrid(this);
        if (editor->parentWidget() != viewport())
            editor->setParent(viewport());
        editor->setFont(font());
        FInplaceEdit = editor;
        load();
    } else if (Col() != FInplaceCol || Row() != FInplaceRow) {
        HideEdit();
        load();
    }
    if (CanEditShow())
        FInplaceEdit->Move(CellRect(Col(), Row()));
}

void TQxCustomGrid::UpdateText()
{
    if (FInplaceEdit && FInplaceCol != -1 && FInplaceRow != -1)
        SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TQxCustomGrid::HideEdit()
{
    if (!FInplaceEdit)
        return;
    try {
        UpdateText();
    } catch (...) {
        FInplaceCol = -1;
        FInplaceRow = -1;
        FInplaceEdit->Hide();
        throw;
    }
    FInplaceCol = -1;
    FInplaceRow = -1;
    FInplaceEdit->Hide();
}

void TQxCustomGrid::ShowEditor()
{
    FEditorMode = true;
    UpdateEdit();
}

void TQxCustomGrid::HideEditor()
{
    FEditorMode = false;
    HideEdit();
}

void TQxCustomGrid::SetEditorMode(bool value)
{
    if (value) {
        ShowEditor();
        if (FInplaceEdit)
            FInplaceEdit->Deselect();
    } else {
        HideEditor();
    }
}

void TQxCustomGrid::ShowEditorChar(QChar Ch)
{
    ShowEditor();
    if (!FInplaceEdit || !FInplaceEdit->Visible())
        return;
    // Typed into the editor as if the user had pressed the key there, so that the editor's own
    // character rules (accept key, can modify, the mask) apply to it.
    const int key = Ch == QChar(8) ? Qt::Key_Backspace : Qt::Key_unknown;
    QKeyEvent typed(QEvent::KeyPress, key, Qt::NoModifier, QString(Ch));
    QCoreApplication::sendEvent(FInplaceEdit.data(), &typed);
}

void TQxCustomGrid::InvalidateEditor()
{
    FInplaceCol = -1;
    FInplaceRow = -1;
    UpdateEdit();
}

// ---------------------------------------------------------------------------------------------
// Keyboard

bool TQxCustomGrid::event(QEvent* event)
{
    // Descendants' hooks run from every handler below and may raise the system's errors; none
    // may escape into the event loop.
    bool result = false;
    if (!qx::guard(this, [&] { result = dispatchEvent(event); })) {
        // The error has been shown; the event is done with (an ignored key would travel on
        // to the parent and run into the same error again).
        event->accept();
        return true;
    }
    return result;
}

bool TQxCustomGrid::dispatchEvent(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        // The grid keeps Tab for moving between cells when it is set up to.
        if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab)
            && !(ke->modifiers() & Qt::AltModifier) && (FOptions & goTabs)
            && !(FOptions & goRowSelect)) {
            keyPressEvent(ke);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TQxCustomGrid::focusNextPrevChild(bool next)
{
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TQxCustomGrid::keyPressEvent(QKeyEvent* event)
{
    int key = qx::vkFromKeyEvent(event);
    TShiftState shift = qx::shiftState(event);
    if (event->key() == Qt::Key_Backtab)
        shift |= ssShift; // some keyboards report Backtab without the Shift it came from
    const int original = key;
    if (key != 0) {
        KeyDown(key, shift);
        if (key == 0) {
            event->accept();
            return;
        }
    }
    QChar ch = qx::keyPressChar(event);
    if (event->key() == Qt::Key_Backtab)
        ch = QChar(9);
    bool used = false;
    switch (original) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_PRIOR: case VK_NEXT:
    case VK_HOME: case VK_END: case VK_F2:
        used = true;
        break;
    case VK_TAB:
        used = (FOptions & goTabs) && !(FOptions & goRowSelect);
        break;
    case VK_RETURN:
        used = FOptions & goEditing;
        break;
    default:
        break;
    }
    if (!ch.isNull()) {
        if (ch == u'+') {
            // The keypad plus is the library's action key: it never becomes cell text.
            event->accept();
            return;
        }
        if ((FOptions & goEditing) && (ch == QChar(8) || ch.unicode() >= 32)) {
            ShowEditorChar(ch);
            used = true;
        } else if (ch != QChar(9) || used) {
            QChar k = ch;
            KeyPress(k);
            // Esc, and Enter on a grid that does not edit, go on to the form.
            if (k.isNull() && ch != QChar(27) && (ch != QChar(13) || (FOptions & goEditing)))
                used = true;
        }
    }
    event->setAccepted(used);
}

void TQxCustomGrid::keyReleaseEvent(QKeyEvent* event)
{
    int key = qx::vkFromKeyEvent(event);
    if (key != 0)
        KeyUp(key, qx::shiftState(event));
    event->accept();
}

void TQxCustomGrid::KeyUp(int& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TQxCustomGrid::KeyPress(QChar& Key)
{
    if (Key == u'+')
        Key = QChar();
    if (Key.isNull())
        return;
    if (OnKeyPress)
        OnKeyPress(this, Key);
    if (!(FOptions & goAlwaysShowEditor) && Key == QChar(13)) {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = QChar();
    }
}

void TQxCustomGrid::KeyDown(int& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    if (!CanGridAcceptKey(Key, Shift))
        Key = 0;

    TGridDrawInfo info;
    CalcDrawInfo(info);
    const int pageWidth = std::max(1, info.Horz.LastFullVisibleCell - LeftCol() + 1);
    const int pageHeight = std::max(1, info.Vert.LastFullVisibleCell - TopRow() + 1);
    TGridCoord newCurrent = FCurrent;
    TGridCoord newTopLeft = FTopLeft;
    const bool rowSelect = FOptions & goRowSelect;

    if (Shift & ssCtrl) {
        switch (Key) {
        case VK_UP: --newTopLeft.Y; break;
        case VK_DOWN: ++newTopLeft.Y; break;
        case VK_LEFT:
            if (!rowSelect) {
                newCurrent.X -= pageWidth;
                newTopLeft.X -= pageWidth;
            }
            break;
        case VK_RIGHT:
            if (!rowSelect) {
                newCurrent.X += pageWidth;
                newTopLeft.X += pageWidth;
            }
            break;
        case VK_PRIOR: newCurrent.Y = TopRow(); break;
        case VK_NEXT: newCurrent.Y = info.Vert.LastFullVisibleCell; break;
        case VK_HOME: newCurrent = {FFixedCols, FFixedRows}; break;
        case VK_END: newCurrent = {FColCount - 1, FRowCount - 1}; break;
        default: break;
        }
    } else {
        switch (Key) {
        case VK_UP: --newCurrent.Y; break;
        case VK_DOWN: ++newCurrent.Y; break;
        case VK_LEFT:
            if (rowSelect)
                --newTopLeft.X;
            else
                --newCurrent.X;
            break;
        case VK_RIGHT:
            if (rowSelect)
                ++newTopLeft.X;
            else
                ++newCurrent.X;
            break;
        case VK_NEXT:
            newCurrent.Y += pageHeight;
            newTopLeft.Y += pageHeight;
            break;
        case VK_PRIOR:
            newCurrent.Y -= pageHeight;
            newTopLeft.Y -= pageHeight;
            break;
        case VK_HOME:
            if (rowSelect)
                newCurrent.Y = FFixedRows;
            else
                newCurrent.X = FFixedCols;
            break;
        case VK_END:
            if (rowSelect)
                newCurrent.Y = FRowCount - 1;
            else
                newCurrent.X = FColCount - 1;
            break;
        case VK_TAB:
            if (!(Shift & ssAlt)) {
                const bool back = Shift & ssShift;
                do {
                    if (back) {
                        --newCurrent.X;
                        if (newCurrent.X < FFixedCols) {
                            newCurrent.X = FColCount - 1;
                            --newCurrent.Y;
                            if (newCurrent.Y < FFixedRows)
                                newCurrent.Y = FRowCount - 1;
                        }
                    } else {
                        ++newCurrent.X;
                        if (newCurrent.X >= FColCount) {
                            newCurrent.X = FFixedCols;
                            ++newCurrent.Y;
                            if (newCurrent.Y >= FRowCount)
                                newCurrent.Y = FFixedRows;
                        }
                    }
                } while (!TabStops(newCurrent.X) && newCurrent.X != FCurrent.X);
                // Shift+Tab moves back; it does not extend the selection.
                Shift &= ~TShiftState(ssShift);
            }
            break;
        case VK_F2: SetEditorMode(true); break;
        default: break;
        }
    }

    const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
    newTopLeft.X = std::clamp(newTopLeft.X, FFixedCols, std::max(FFixedCols, maxTopLeft.X));
    newTopLeft.Y = std::clamp(newTopLeft.Y, FFixedRows, std::max(FFixedRows, maxTopLeft.Y));
    if (!(newTopLeft == FTopLeft))
        MoveTopLeft(newTopLeft.X, newTopLeft.Y);
    newCurrent.X = std::clamp(newCurrent.X, FFixedCols, FColCount - 1);
    newCurrent.Y = std::clamp(newCurrent.Y, FFixedRows, FRowCount - 1);
    if (!(newCurrent == FCurrent))
        FocusCell(newCurrent.X, newCurrent.Y, !(Shift & ssShift));
}

void TQxCustomGrid::Click()
{
    if (OnClick)
        OnClick(this);
}

void TQxCustomGrid::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

// ---------------------------------------------------------------------------------------------
// Focus

void TQxCustomGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    FFocusNotifier.focusIn(event);
    if (FFocusFromEditor) {
        FFocusFromEditor = false;
        return;
    }
    InvalidateRect(Selection());
    UpdateEdit();
}

void TQxCustomGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    const QWidget* now = QApplication::focusWidget();
    const bool toEditor = FInplaceEdit && now == FInplaceEdit.data();
    if (FGridState != gsNormal && !toEditor)
        CancelMode();
    InvalidateRect(Selection());
    if (!toEditor) {
        HideEdit();
        FFocusNotifier.focusOut(event);
    }
}

void TQxCustomGrid::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TQxCustomGrid::DoExit()
{
    if (OnExit)
        OnExit(this);
    if (!(FOptions & goAlwaysShowEditor))
        HideEditor();
}

void TQxCustomGrid::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange && FInplaceEdit)
        FInplaceEdit->setFont(font());
    QAbstractScrollArea::changeEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TQxCustomGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pt = event->position().toPoint();
    FLastMousePos = pt;
    MouseDown(toMouseButton(event->button()), qx::shiftState(event->modifiers(), event->buttons()), pt.x(), pt.y());
    // The press may have opened the editor; a quick second press on it is a double click.
    if (event->button() == Qt::LeftButton && FInplaceEdit)
        FInplaceEdit->FClickTime = qint64(event->timestamp());
    event->accept();
}

void TQxCustomGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pt = event->position().toPoint();
    FLastMousePos = pt;
    MouseDown(toMouseButton(event->button()),
              qx::shiftState(event->modifiers(), event->buttons()) | ssDouble, pt.x(), pt.y());
    event->accept();
}

void TQxCustomGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pt = event->position().toPoint();
    FLastMousePos = pt;
    MouseMove(qx::shiftState(event->modifiers(), event->buttons()), pt.x(), pt.y());
    event->accept();
}

void TQxCustomGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pt = event->position().toPoint();
    FLastMousePos = pt;
    MouseUp(toMouseButton(event->button()), qx::shiftState(event->modifiers(), event->buttons()), pt.x(), pt.y());
    event->accept();
}

void TQxCustomGrid::wheelEvent(QWheelEvent* event)
{
    // One step per notch, as the window system sends one wheel message per notch.
    FWheelAccumulator += event->angleDelta().y();
    const TShiftState shift = qx::shiftState(event->modifiers(), event->buttons());
    const QPoint pos = event->position().toPoint();
    while (FWheelAccumulator <= -120) {
        FWheelAccumulator += 120;
        DoMouseWheelDown(shift, pos);
    }
    while (FWheelAccumulator >= 120) {
        FWheelAccumulator -= 120;
        DoMouseWheelUp(shift, pos);
    }
    event->accept();
}

bool TQxCustomGrid::DoMouseWheelDown(TShiftState Shift, QPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    if (!handled && Row() < FRowCount - 1)
        SetRow(Row() + 1);
    return true;
}

bool TQxCustomGrid::DoMouseWheelUp(TShiftState Shift, QPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    if (!handled && Row() > FFixedRows)
        SetRow(Row() - 1);
    return true;
}

void TQxCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                    int& SizingOfs, TGridDrawInfo& FixedInfo)
{
    State = gsNormal;
    Index = -1;
    const TKyGridOptions options = FOptions;
    if (!(options & (goColSizing | goRowSizing)))
        return;
    auto calcAxisState = [&](const TGridAxisDrawInfo& axis, int pos, TGridState newState) {
        int line = axis.FixedBoundary;
        int range = axis.EffectiveLineWidth;
        int back = 0;
        if (range < 7) {
            range = 7;
            back = (range - axis.EffectiveLineWidth) / 2;
        }
        for (int i = axis.FirstGridCell; i < axis.GridCellCount; ++i) {
            line += axis.GetExtent(i);
            if (line > axis.GridBoundary)
                break;
            if (pos >= line - back && pos < line - back + range) {
                State = newState;
                SizingPos = line;
                SizingOfs = line - pos;
                Index = i;
                return;
            }
            line += axis.EffectiveLineWidth;
        }
        if (axis.GridBoundary == axis.GridExtent && pos >= axis.GridExtent - back
            && pos <= axis.GridExtent) {
            State = newState;
            SizingPos = axis.GridExtent;
            SizingOfs = axis.GridExtent - pos;
            Index = axis.LastFullVisibleCell + 1;
        }
    };
    FixedInfo.Vert.GridExtent = ClientHeight();
    FixedInfo.Horz.GridExtent = ClientWidth();
    if (X > FixedInfo.Horz.FixedBoundary && (options & goColSizing)) {
        if (Y >= FixedInfo.Vert.FixedBoundary)
            return;
        calcAxisState(FixedInfo.Horz, X, gsColSizing);
    } else if (Y > FixedInfo.Vert.FixedBoundary && (options & goRowSizing)) {
        if (X >= FixedInfo.Horz.FixedBoundary)
            return;
        calcAxisState(FixedInfo.Vert, Y, gsRowSizing);
    }
}

bool TQxCustomGrid::Sizing(int X, int Y)
{
    if (FGridState == gsRowSizing || FGridState == gsColSizing)
        return true;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    TGridState state = gsNormal;
    int index = 0, pos = 0, ofs = 0;
    CalcSizingState(X, Y, state, index, pos, ofs, info);
    return state != gsNormal;
}

void TQxCustomGrid::DrawSizingLine()
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    if (FGridState == gsRowSizing)
        setIndicator(true, false, FSizingPos, info.Horz.GridBoundary);
    else
        setIndicator(true, true, FSizingPos, info.Vert.GridBoundary);
}

void TQxCustomGrid::DrawMove()
{
    if (FGridState == gsRowMoving) {
        const QRect r = CellRect(0, FMovePos);
        const int pos = FMovePos > FMoveIndex ? r.top() + r.height() : r.top();
        setIndicator(true, false, pos, ClientWidth());
    } else {
        const QRect r = CellRect(FMovePos, 0);
        const int pos = FMovePos > FMoveIndex ? r.left() + r.width() : r.left();
        setIndicator(true, true, pos, ClientHeight());
    }
}

void TQxCustomGrid::updateSizingCursor(int X, int Y)
{
    bool colSizing = FGridState == gsColSizing;
    bool rowSizing = FGridState == gsRowSizing;
    if (FGridState == gsNormal) {
        TGridDrawInfo info;
        CalcDrawInfo(info);
        TGridState state = gsNormal;
        int index = 0, pos = 0, ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs, info);
        colSizing = state == gsColSizing;
        rowSizing = state == gsRowSizing;
    }
    if (colSizing)
        viewport()->setCursor(Qt::SplitHCursor);
    else if (rowSizing)
        viewport()->setCursor(Qt::SplitVCursor);
    else
        viewport()->unsetCursor();
}

void TQxCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    bool moveDrawn = false;
    HideEdit();
    if (focusPolicy() != Qt::NoFocus && isEnabled()) {
        setFocus(Qt::MouseFocusReason);
        if (!IsActiveControl())
            return;
    }
    FHitTest = QPoint(X, Y);
    if (Button == mbLeft && (Shift & ssDouble)) {
        DblClick();
    } else if (Button == mbLeft) {
        TGridDrawInfo info;
        CalcDrawInfo(info);
        CalcSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs, info);
        if (FGridState != gsNormal) {
            DrawSizingLine();
            updateSizingCursor(X, Y);
            return;
        }
        const TGridCoord cellHit = CalcCoordFromPoint(X, Y, info);
        if (cellHit.X >= FFixedCols && cellHit.Y >= FFixedRows) {
            if (FOptions & goEditing) {
                if (cellHit == FCurrent) {
                    ShowEditor();
                } else {
                    MoveCurrent(cellHit.X, cellHit.Y, true, true);
                    UpdateEdit();
                }
                Click();
            } else {
                FGridState = gsSelecting;
                FTimer.start(SelectTimerInterval, this);
                if (Shift & ssShift)
                    MoveAnchor(cellHit);
                else
                    MoveCurrent(cellHit.X, cellHit.Y, true, true);
            }
        } else if ((FOptions & goRowMoving) && cellHit.X >= 0 && cellHit.X < FFixedCols
                   && cellHit.Y >= FFixedRows) {
            FMoveIndex = cellHit.Y;
            FMovePos = FMoveIndex;
            if (BeginRowDrag(FMoveIndex, FMovePos, QPoint(X, Y))) {
                FGridState = gsRowMoving;
                InvalidateGrid();
                DrawMove();
                moveDrawn = true;
                FTimer.start(SelectTimerInterval, this);
            }
        } else if ((FOptions & goColMoving) && cellHit.Y >= 0 && cellHit.Y < FFixedRows
                   && cellHit.X >= FFixedCols) {
            FMoveIndex = cellHit.X;
            FMovePos = FMoveIndex;
            if (BeginColumnDrag(FMoveIndex, FMovePos, QPoint(X, Y))) {
                FGridState = gsColMoving;
                InvalidateGrid();
                DrawMove();
                moveDrawn = true;
                FTimer.start(SelectTimerInterval, this);
            }
        }
    }
    try {
        if (OnMouseDown)
            OnMouseDown(this, Button, Shift, X, Y);
    } catch (...) {
        if (moveDrawn)
            setIndicator(false, true, 0, 0);
        throw;
    }
}

void TQxCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    switch (FGridState) {
    case gsSelecting: {
        const TGridCoord cellHit = CalcCoordFromPoint(X, Y, info);
        if (cellHit.X >= FFixedCols && cellHit.Y >= FFixedRows
            && cellHit.X <= info.Horz.LastFullVisibleCell + 1
            && cellHit.Y <= info.Vert.LastFullVisibleCell + 1 && !(cellHit == FAnchor))
            MoveAnchor(cellHit);
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        // The move follows the mouse wherever it is, over the fixed cells too.
        const TGridCoord cellHit = CalcCoordFromPoint(X, Y, info);
        if (FGridState == gsColMoving)
            MoveAndScroll(X, cellHit.X, info, info.Horz, Qt::Horizontal, QPoint(X, Y));
        else
            MoveAndScroll(Y, cellHit.Y, info, info.Vert, Qt::Vertical, QPoint(X, Y));
        break;
    }
    case gsRowSizing:
    case gsColSizing:
        FSizingPos = (FGridState == gsRowSizing ? Y : X) + FSizingOfs;
        DrawSizingLine();
        break;
    default:
        break;
    }
    updateSizingCursor(X, Y);
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TQxCustomGrid::MoveAndScroll(int Mouse, int CellHit, TGridDrawInfo& DrawInfo,
                                  TGridAxisDrawInfo& Axis, int ScrollBar, const QPoint& MousePt)
{
    const bool horz = ScrollBar == Qt::Horizontal;
    if (CellHit == FMovePos)
        return;
    if (FMovePos == Axis.FixedCellCount && Mouse < Axis.FixedBoundary)
        return;
    if (FMovePos == Axis.GridCellCount - 1 && Mouse > Axis.GridBoundary)
        return;
    if (Mouse < Axis.FixedBoundary) {
        if (FMovePos > Axis.FixedCellCount) {
            ModifyScrollBar(horz ? Qt::Horizontal : Qt::Vertical,
                            QAbstractSlider::SliderSingleStepSub, 0);
            CalcDrawInfo(DrawInfo);
        }
        CellHit = (horz ? DrawInfo.Horz : DrawInfo.Vert).FirstGridCell;
    } else if (Mouse >= Axis.FullVisBoundary) {
        if (FMovePos == Axis.LastFullVisibleCell && FMovePos < Axis.GridCellCount - 1) {
            ModifyScrollBar(horz ? Qt::Horizontal : Qt::Vertical,
                            QAbstractSlider::SliderSingleStepAdd, 0);
            CalcDrawInfo(DrawInfo);
        }
        CellHit = (horz ? DrawInfo.Horz : DrawInfo.Vert).LastFullVisibleCell;
    } else if (CellHit < 0) {
        CellHit = FMovePos;
    }
    if ((FGridState == gsColMoving && CheckColumnDrag(FMoveIndex, CellHit, MousePt))
        || (FGridState == gsRowMoving && CheckRowDrag(FMoveIndex, CellHit, MousePt)))
        FMovePos = CellHit;
    DrawMove();
}

void TQxCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    struct ResetState
    {
        TQxCustomGrid* grid;
        ~ResetState() { grid->FGridState = gsNormal; }
    } reset{this};

    switch (FGridState) {
    case gsSelecting:
        MouseMove(Shift, X, Y);
        FTimer.stop();
        UpdateEdit();
        Click();
        break;
    case gsRowSizing:
    case gsColSizing: {
        setIndicator(false, true, 0, 0);
        TGridDrawInfo info;
        CalcDrawInfo(info);
        const bool cols = FGridState == gsColSizing;
        const TGridAxisDrawInfo& axis = cols ? info.Horz : info.Vert;
        int start = axis.FixedBoundary;
        for (int i = axis.FirstGridCell; i < FSizingIndex; ++i)
            start += axis.GetExtent(i) + axis.EffectiveLineWidth;
        const int newSize = FSizingPos - start;
        if (newSize > 1) {
            if (cols && FSizingIndex < FColCount)
                SetColWidths(FSizingIndex, newSize);
            else if (!cols && FSizingIndex < FRowCount)
                SetRowHeights(FSizingIndex, newSize);
        }
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        setIndicator(false, true, 0, 0);
        FTimer.stop();
        const QPoint pt(X, Y);
        if (FGridState == gsColMoving) {
            if (EndColumnDrag(FMoveIndex, FMovePos, pt) && FMoveIndex != FMovePos)
                MoveColumn(FMoveIndex, FMovePos);
        } else {
            if (EndRowDrag(FMoveIndex, FMovePos, pt) && FMoveIndex != FMovePos)
                MoveRow(FMoveIndex, FMovePos);
        }
        UpdateEdit();
        break;
    }
    default:
        UpdateEdit();
        break;
    }
    FGridState = gsNormal;
    updateSizingCursor(X, Y);
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TQxCustomGrid::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != FTimer.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving) {
        FTimer.stop();
        return;
    }
    const QPoint pt = FLastMousePos;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const TGridCoord cellHit = CalcCoordFromPoint(pt.x(), pt.y(), info);
    switch (FGridState) {
    case gsColMoving:
        MoveAndScroll(pt.x(), cellHit.X, info, info.Horz, Qt::Horizontal, pt);
        break;
    case gsRowMoving:
        MoveAndScroll(pt.y(), cellHit.Y, info, info.Vert, Qt::Vertical, pt);
        break;
    case gsSelecting: {
        TGridScrollDirections direction;
        if (pt.x() < info.Horz.FixedBoundary)
            direction |= sdLeft;
        else if (pt.x() > info.Horz.FullVisBoundary)
            direction |= sdRight;
        if (pt.y() < info.Vert.FixedBoundary)
            direction |= sdUp;
        else if (pt.y() > info.Vert.FullVisBoundary)
            direction |= sdDown;
        if (direction)
            TimedScroll(direction);
        break;
    }
    default:
        break;
    }
}

void TQxCustomGrid::CancelMode()
{
    switch (FGridState) {
    case gsSelecting:
        FTimer.stop();
        break;
    case gsRowSizing:
    case gsColSizing:
        setIndicator(false, true, 0, 0);
        break;
    case gsRowMoving:
    case gsColMoving:
        setIndicator(false, true, 0, 0);
        FTimer.stop();
        break;
    default:
        break;
    }
    FGridState = gsNormal;
}
