// The record grid's cell editor: what it does unlike the data grid's.
#include "usystem/vcl/recordgrid/uQxDBVGridEditor.h"

#include "usystem/vcl/edits/uQxIMEPad.h"

#include <QPainter>

namespace {

// The record grid's button keeps to the right edge, and a Boolean cell shows no button.
constexpr qx::GridCellEditor::Traits recordGridTraits()
{
    qx::GridCellEditor::Traits traits;
    traits.MirrorButton = false;
    traits.ButtonOnBoolean = false;
    return traits;
}

} // namespace

// ---- the grid --------------------------------------------------------------------------------

TDBVGridInplaceEdit::TDBVGridInplaceEdit(TQxCustomDBVGrid* grid)
    : GridCellEditorOf(grid, recordGridTraits())
{
}

TDBVGridInplaceEdit::~TDBVGridInplaceEdit() = default;

bool TDBVGridInplaceEdit::GridCanEditModify()
{
    TQxCustomDBVGrid* grid = DBVGrid();
    return grid && grid->CanEditModify();
}

void TDBVGridInplaceEdit::PreparePad(TQxIMEPad* Pad)
{
    // The pad starts two hundred pixels wide and belongs to this editor, shown or not.
    Pad->resize(200, Pad->height());
    Pad->SetEditControl(this);
}

void TDBVGridInplaceEdit::ShowKeyHint(const QString& Hint)
{
    TQxCustomDBVGrid* grid = DBVGrid();
    if (grid && grid->SelectedIndex() >= 0)
        GridCellEditorOf::ShowKeyHint(Hint);
}

// ---- keys ------------------------------------------------------------------------------------

void TDBVGridInplaceEdit::KeyDown(int& Key, TShiftState Shift)
{
    QPointer<TQxCustomDBVGrid> grid = DBVGrid();
    if (!grid) {
        GridCellEditorOf::KeyDown(Key, Shift);
        return;
    }
    if ((EditStyle() == esEllipsis || EditStyle() == esPickList) && (Key == VK_DOWN || Key == VK_ADD)
        && !BooleanCell()) {
        // The button's action; the plus sign is not typed.
        Key = 0;
        grid->EditButtonClick();
        return;
    }
    if (Key == VK_RETURN) {
        TVColumn* row = CurrentColumn();
        TQxIMEPad* pad = grid->ImePad();
        if (row && row->IMEControl() && pad && pad->MarkedLine() > 0
            && pad->MarkedLine() <= pad->Lines().size()) {
            QString code;
            grid->DoCellImeCode(pad->MarkedLine(), code);
            pad->hide();
            pad->Lines().clear();
            if (!code.isEmpty()) {
                TField* f = row->Field();
                if (grid && f && grid->CanEditModify())
                    f->SetAsString(code);
            }
        }
        if (grid)
            grid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    if (BooleanCell()) {
        // A Boolean cell is a check box: Space flips it; characters are never text. The keys
        // that move between rows and records still move.
        if (Key == VK_SPACE && !(Shift & (ssCtrl | ssAlt))) {
            Key = 0;
            ToggleBoolean();
            return;
        }
        if (Key == VK_SPACE || Key == VK_BACK || Key == VK_DELETE || Key == VK_INSERT) {
            Key = 0;
            return;
        }
    }
    GridCellEditorOf::KeyDown(Key, Shift);
}

void TDBVGridInplaceEdit::KeyPress(QChar& Key)
{
    if (BooleanCell() && Key.unicode() >= 32) {
        Key = QChar();
        return;
    }
    GridCellEditorOf::KeyPress(Key);
}

void TDBVGridInplaceEdit::ToggleBoolean()
{
    if (FlipBoolean())
        update();
}

void TDBVGridInplaceEdit::Click()
{
    if (BooleanCell())
        ToggleBoolean();
    GridCellEditorOf::Click();
}

// ---- painting --------------------------------------------------------------------------------

void TDBVGridInplaceEdit::PaintEllipsis(QPainter& p, const QRect& R)
{
    // Three black squares in a row, moved one pixel while pressed.
    const int w = height() < 8 ? 1 : height() / 8;
    const int d = R.width() / 2 - 1 + (Pressed() ? 1 : 0);
    const int y = R.top() + d;
    for (int x : {R.left() + d - 2 * w, R.left() + d, R.left() + d + 2 * w})
        p.fillRect(QRect(x, y, w, w), Qt::black);
}
