// The data grid's cell editor: what it does unlike the record grid's.
#include "usystem/vcl/dbgrid/uQxDBGridEditor.h"

#include "usystem/vcl/edits/uQxIMEPad.h"

#include <QPainter>

#include <algorithm>

// ---- the grid --------------------------------------------------------------------------------

TQxDBGridInplaceEdit::TQxDBGridInplaceEdit(TQxCustomDBGrid* grid)
    : GridCellEditorOf(grid, Traits{})
{
    // The grid's candidate pad reports its clicks to the editor.
    if (TQxIMEPad* pad = grid->ImePad()) {
        pad->installEventFilter(this);
        FPadWatched = pad;
    }
}

TQxDBGridInplaceEdit::~TQxDBGridInplaceEdit()
{
    if (FPadWatched)
        FPadWatched->removeEventFilter(this);
}

bool TQxDBGridInplaceEdit::GridCanEditModify()
{
    TQxCustomDBGrid* grid = DBGrid();
    return grid && grid->CanEditModify();
}

// ---- loading ---------------------------------------------------------------------------------

void TQxDBGridInplaceEdit::UpdateContents()
{
    GridCellEditorOf::UpdateContents();
    if (TQxColumn* col = CurrentColumn()) {
        // Columns that take no input method (codes, numbers) switch it off.
        const TQxColumn::TImeMode mode = col->ImeMode();
        setAttribute(Qt::WA_InputMethodEnabled,
                     mode != TQxColumn::imDisable && mode != TQxColumn::imClose);
    }
}

// ---- keys ------------------------------------------------------------------------------------

void TQxDBGridInplaceEdit::KeyDown(int& Key, TShiftState Shift)
{
    QPointer<TQxCustomDBGrid> grid = DBGrid();
    if (!grid) {
        GridCellEditorOf::KeyDown(Key, Shift);
        return;
    }
    const bool keypadPlus = Key == VK_ADD;
    if (keypadPlus && EditStyle() == esEllipsis) {
        Key = 0;
        grid->EditButtonClick();
        return;
    }
    if (Key == VK_RETURN) {
        grid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    // Space and the keypad '+' flip a Boolean cell; Ctrl and its chords (Ctrl+F, Ctrl+C)
    // never do.
    const bool plainSpace = Key == VK_SPACE && !(Shift & (ssCtrl | ssAlt));
    if ((plainSpace || keypadPlus) && BooleanCell()) {
        Key = 0;
        ToggleBoolean();
        return;
    }
    if (Key == VK_LEFT && Text().isEmpty() && grid->Col() > std::max(grid->IndicatorOffset(), grid->FixedCols())) {
        // An empty cell has nothing to move the caret through: Left goes to the cell before.
        Key = 0;
        grid->MoveCol(grid->Col() - 1, -1);
        return;
    }
    if (Key == 'F' && (Shift & ssCtrl)) {
        grid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    GridCellEditorOf::KeyDown(Key, Shift);
}

void TQxDBGridInplaceEdit::KeyPress(QChar& Key)
{
    // A Boolean cell shows a check box, never text: Space flips it, other characters are lost.
    if (BooleanCell() && Key.unicode() >= 32) {
        if (Key == u' ')
            ToggleBoolean();
        Key = QChar();
        return;
    }
    GridCellEditorOf::KeyPress(Key);
}

void TQxDBGridInplaceEdit::ToggleBoolean()
{
    if (!FlipBoolean())
        return;
    // The check box is the value; the editor holds no text (the grid keeps the field's).
    SetShownText(QString());
    update();
}

void TQxDBGridInplaceEdit::Click()
{
    GridCellEditorOf::Click();
    if (BooleanCell())
        ToggleBoolean();
}

// ---- the candidate pad -----------------------------------------------------------------------

void TQxDBGridInplaceEdit::ImePadClicked()
{
    TQxCustomDBGrid* grid = DBGrid();
    if (!grid)
        return;
    qx::takeImePadChoice(
        grid->ImePad(), CurrentColumn(),
        [grid](int Line, QString& Code) {
            if (grid->OnCellImeCode)
                grid->OnCellImeCode(grid, Line, Code);
        },
        [grid] { return grid->CanEditModify(); });
}

bool TQxDBGridInplaceEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FPadWatched && event->type() == QEvent::MouseButtonPress) {
        ImePadClicked();
        return true;
    }
    return GridCellEditorOf::eventFilter(watched, event);
}

// ---- painting --------------------------------------------------------------------------------

void TQxDBGridInplaceEdit::PaintEllipsis(QPainter& p, const QRect& R)
{
    // The column's picture, or three dots; both move one pixel while pressed.
    TQxColumn* col = CurrentColumn();
    const QImage glyph = col ? col->Glyph() : QImage();
    const QPoint shift = Pressed() ? QPoint(1, 1) : QPoint();
    if (!glyph.isNull()) {
        const QPoint at(R.left() + (R.width() - glyph.width()) / 2,
                        R.top() + (R.height() - glyph.height()) / 2);
        p.drawImage(at + shift, glyph);
    } else {
        p.setPen(toQColor(clBtnText));
        p.drawText(R.translated(shift), Qt::AlignCenter, QStringLiteral("..."));
    }
}
