// The find box of the data grid and the grid's search behind it.
#include "usystem/vcl/dbgrid/uQxDBGridFind.h"

#include "platform/env/Beep.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

// ---- TFindEdit -------------------------------------------------------------------------------

TFindEdit::TFindEdit(TQxCustomDBGrid* grid, QWidget* parent)
    : TCustomMaskEdit(parent)
    , FGrid(grid)
{
    setAutoSelect(false);
    hide();
}

TFindEdit::~TFindEdit() = default;

namespace {
// A character typed with Alt alone: what a form would take as a button's accelerator.
QChar altCharacter(const QKeyEvent* event)
{
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier || event->text().isEmpty())
        return QChar();
    const QChar c = event->text().at(0);
    return c.isPrint() ? c : QChar();
}
} // namespace

bool TFindEdit::event(QEvent* event)
{
    // Enter and Esc end the search here; a form's default or cancel button must not take them.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* ke = static_cast<QKeyEvent*>(event);
        switch (ke->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            ke->accept();
            return true;
        default:
            // Alt with a letter is typed into the box, not taken as a button's accelerator.
            if (!altCharacter(ke).isNull()) {
                ke->accept();
                return true;
            }
            break;
        }
    }
    return TCustomMaskEdit::event(event);
}

void TFindEdit::keyPressEvent(QKeyEvent* event)
{
    QChar typed = altCharacter(event);
    if (typed.isNull()) {
        TCustomMaskEdit::keyPressEvent(event);
        return;
    }
    KeyPress(typed);
    if (!typed.isNull() && !isReadOnly())
        insertFiltered(QString(typed));
    event->accept();
}

void TFindEdit::KeyDown(int& Key, TShiftState Shift)
{
    if (!FGrid) {
        TCustomMaskEdit::KeyDown(Key, Shift);
        return;
    }
    const bool ctrl = Shift & ssCtrl;
    switch (Key) {
    case VK_UP:
    case VK_DOWN:
        // The record moves under the open box.
        FGrid->KeyDown(Key, Shift);
        Key = 0;
        return;
    case VK_PRIOR:
    case VK_NEXT: {
        int gridKey = Key;
        FGrid->KeyDown(gridKey, Shift);
        break;
    }
    case VK_RETURN:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT:
        // Plain, these move the caret in the box; with Ctrl the grid sees them first.
        if (ctrl) {
            int gridKey = Key;
            FGrid->KeyDown(gridKey, Shift);
        }
        break;
    default:
        // Del and Ins (also with Ctrl) edit the search text only: they never delete or
        // insert records while the user is typing what to look for.
        break;
    }
    if (FGrid && Key != 0)
        TCustomMaskEdit::KeyDown(Key, Shift);
}

void TFindEdit::KeyPress(QChar& Key)
{
    switch (Key.unicode()) {
    case 13:
        Key = QChar();
        Leave(emAccepted);
        return;
    case 27:
        Key = QChar();
        Leave(emCancelled);
        return;
    case 8:
        break;
    default:
        if (Key.unicode() >= 32 && FGrid && !FGrid->IsValidFindChar(Key)) {
            Key = QChar();
            qx::beep();
            return;
        }
        break;
    }
    TCustomMaskEdit::KeyPress(Key);
}

void TFindEdit::Change()
{
    TCustomMaskEdit::Change();
    if (!FGrid || !isVisible())
        return;
    const QString text = Text();
    if (text.isEmpty())
        return;
    FLastFound = FGrid->FindText(text);
    if (!FLastFound)
        qx::beep();
}

void TFindEdit::Leave(TExitMode Mode)
{
    FExitMode = Mode;
    if (FGrid)
        FGrid->setFocus(Qt::OtherFocusReason);
}

void TFindEdit::focusOutEvent(QFocusEvent* event)
{
    TCustomMaskEdit::focusOutEvent(event);
    // Switching to another window or opening a menu is no end of the search.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (!isVisible())
        return;
    const int mode = FExitMode;
    FExitMode = emNone;
    if (FGrid)
        FGrid->FindEditClosed(mode);
    else
        hide();
}

// ---- the grid's side -------------------------------------------------------------------------

TFindEdit* TQxCustomDBGrid::FindEdit() const
{
    return FFindEdit.data();
}

bool TQxCustomDBGrid::StartFind()
{
    TDataSet* ds = FDataLink->DataSet();
    if (!FDataLink->Active() || !ds || ds->IsEmpty()) {
        qx::beep();
        return false;
    }
    ShowFindEdit();
    return true;
}

void TQxCustomDBGrid::ShowFindEdit()
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds || !ds->Active())
        return;
    QWidget* host = parentWidget() ? parentWidget() : this;
    if (!FFindEdit) {
        FFindEdit = new TFindEdit(this, host);
        FFindEdit->setFont(FTitleFont);
        FFindEdit->resize(0, FFindEdit->sizeHint().height());
    }
    // Over the title cell of the current column, its bottom on the cell's bottom.
    const int titleRow = FTitleOffset > 0 ? FTitleOffset - 1 : 0;
    const QRect cell = CellRect(Col(), titleRow);
    const QPoint topLeft = viewport()->mapTo(host, cell.topLeft());
    const int h = FFindEdit->height();
    FFindEdit->setGeometry(topLeft.x(), topLeft.y() + cell.height() - h, cell.width(), h);
    FFindBookmark = ds->Bookmark();
    FFindEdit->FExitMode = TFindEdit::emNone;
    FFindEdit->setText(QString());
    FFindEdit->show();
    FFindEdit->raise();
    FFindEdit->setFocus(Qt::OtherFocusReason);
    FFindEdit->setColor(clInfoBk);
}

void TQxCustomDBGrid::FindEditClosed(int ExitMode)
{
    TDataSet* ds = FDataLink->DataSet();
    if (!FFindBookmark.isEmpty() && ds && ds->Active() && ds->BookmarkValid(FFindBookmark)
        && ExitMode == TFindEdit::emCancelled)
        ds->GotoBookmark(FFindBookmark);
    FFindBookmark.clear();
    if (FFindEdit) {
        FFindEdit->hide();
        FFindEdit->selectAll();
    }
    InvalidateGrid();
    // Enter and Esc gave the focus to the grid already; a click on another control keeps it
    // there rather than pulling it back into the grid.
    if (ExitMode != TFindEdit::emNone || !QApplication::focusWidget())
        setFocus(Qt::OtherFocusReason);
}

bool TQxCustomDBGrid::FindText(const QString& Text)
{
    if (Text.isEmpty())
        return true;
    TDataSet* ds = FDataLink->DataSet();
    TField* f = SelectedField();
    if (!FDataLink->Active() || !ds || !f)
        return false;
    const TLocateOptions options = TLocateOptions(loCaseInsensitive) | loPartialKey;
    try {
        if (f->Lookup()) {
            TDataSet* lookup = f->LookupDataSet();
            if (!lookup || !lookup->Active())
                return false;
            const QString shown = f->LookupResultField().section(u';', 0, 0).trimmed();
            if (!lookup->Locate(shown, Text, options))
                return false;
            const std::vector<TField*> keys = lookup->GetFieldList(f->LookupKeyFields());
            if (keys.empty())
                return false;
            QVariantList values;
            for (TField* k : keys)
                values << k->Value();
            return ds->Locate(f->KeyFields(), keys.size() == 1 ? values.first() : QVariant(values),
                              options);
        }
        return ds->Locate(f->FieldName(), Text, options);
    } catch (...) {
        qx::beep();
        return false;
    }
}

bool TQxCustomDBGrid::IsValidFindChar(QChar Ch)
{
    TField* f = SelectedField();
    return !f || f->IsValidChar(Ch);
}
