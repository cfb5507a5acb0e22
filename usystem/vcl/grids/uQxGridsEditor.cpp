// The in-place cell editor. It passes the moving keys on to the grid, asks the grid before
// any change of its text, and hands every change straight back through SetEditText.
#include "usystem/vcl/grids/uQxGrids.h"

#include "platform/env/Beep.h"
#include "platform/env/ExceptionGuard.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyleHints>
#include <QWheelEvent>

TQxInplaceEdit::TQxInplaceEdit(QWidget* parent)
    : TCustomMaskEdit(parent)
{
    // No tab stop and no border: the editor is part of the grid's cell, not a control of the
    // form. It starts hidden; the grid shows it over the current cell.
    setFocusPolicy(Qt::ClickFocus);
    setFrame(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoSelect(false);
    QWidget::hide();
}

TQxInplaceEdit::~TQxInplaceEdit() = default;

void TQxInplaceEdit::SetEditLimit(int limit)
{
    FEditLimit = limit;
    setMaxLength(limit > 0 ? limit : 0);
}

void TQxInplaceEdit::UpdateContents()
{
    if (!FGrid)
        return;
    // Loading is not typing: the grid is not told of these intermediate texts.
    FLoading = true;
    try {
        setText(QString());
        setEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
        setText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
        SetEditLimit(FGrid->GetEditLimit());
    } catch (...) {
        FLoading = false;
        throw;
    }
    FLoading = false;
}

void TQxInplaceEdit::SetShownText(const QString& Text)
{
    const QScopedValueRollback<bool> loading(FLoading, true);
    setText(Text);
}

void TQxInplaceEdit::Change()
{
    TCustomMaskEdit::Change();
    if (FLoading || !FGrid)
        return;
    if (FGrid->FInplaceCol != -1 && FGrid->FInplaceRow != -1)
        FGrid->SetEditText(FGrid->FInplaceCol, FGrid->FInplaceRow, Text());
}

void TQxInplaceEdit::BoundsChanged()
{
    // The text sits 2 pixels in from the left, top and right edges of the cell.
    setTextMargins(1, 2, 1, 0);
}

bool TQxInplaceEdit::Visible() const
{
    return isVisible();
}

void TQxInplaceEdit::Deselect()
{
    deselect();
    end(false);
}

void TQxInplaceEdit::Hide()
{
    if (!isVisible())
        return;
    if (FGrid)
        FGrid->viewport()->update(geometry());
    // The grid takes the focus before the editor goes, so that hiding never moves the focus
    // to some other control of the form.
    if (FGrid && window()->focusWidget() == this)
        FGrid->setFocus(Qt::OtherFocusReason);
    QWidget::hide();
}

void TQxInplaceEdit::InternalMove(const QRect& Loc, bool Redraw)
{
    if (Loc.isEmpty()) {
        Hide();
        return;
    }
    Redraw = Redraw || !isVisible();
    setGeometry(Loc);
    raise();
    QWidget::show();
    BoundsChanged();
    if (Redraw)
        update();
    if (FGrid && FGrid->window()->focusWidget() == FGrid)
        setFocus(Qt::OtherFocusReason);
}

void TQxInplaceEdit::Move(const QRect& Loc)
{
    InternalMove(Loc, true);
}

void TQxInplaceEdit::UpdateLoc(const QRect& Loc)
{
    InternalMove(Loc, false);
}

bool TQxInplaceEdit::EditCanModify()
{
    return FGrid && FGrid->CanEditModify();
}

QString TQxInplaceEdit::FilterText(const QString& text)
{
    // Dropped and input-method text is a change like any other.
    // A typed character was asked about in KeyPress already; ask the grid only once per key.
    if (!FLoading && !FModifyAsked && !EditCanModify())
        return QString();
    FModifyAsked = false;
    return TCustomMaskEdit::FilterText(text);
}

void TQxInplaceEdit::KeyDown(int& Key, TShiftState Shift)
{
    if (!FGrid) {
        TCustomMaskEdit::KeyDown(Key, Shift);
        return;
    }
    TQxCustomGrid* grid = FGrid;
    auto sendToParent = [&] {
        grid->KeyDown(Key, Shift);
        Key = 0;
    };
    auto parentEvent = [&] {
        if (grid->OnKeyDown)
            grid->OnKeyDown(grid, Key, Shift);
    };
    const bool forwardMovement = grid->Options() & goAlwaysShowEditor;
    const bool ctrl = Shift & ssCtrl;
    // The selection as the edit reports it: start and end, the caret being the end when
    // nothing is selected.
    const int len = int(QLineEdit::text().size());
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selEnd = hasSelectedText() ? selectionEnd() : cursorPosition();
    const bool leftSide = selStart == 0 && (selEnd == 0 || selEnd == len);
    const bool rightSide = (selStart == 0 || selEnd == selStart) && selEnd == len;
    const TShiftState mods = Shift & (ssShift | ssAlt | ssCtrl);

    switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
        sendToParent();
        break;
    case VK_INSERT:
        if (mods == TShiftState())
            sendToParent();
        else if (mods == TShiftState(ssShift) && !grid->CanEditModify())
            Key = 0;
        break;
    case VK_LEFT:
    case VK_HOME:
        if (forwardMovement && (ctrl || leftSide))
            sendToParent();
        break;
    case VK_RIGHT:
    case VK_END:
        if (forwardMovement && (ctrl || rightSide))
            sendToParent();
        break;
    case VK_F2:
        parentEvent();
        if (Key == VK_F2) {
            Deselect();
            Key = 0;
            return;
        }
        break;
    case VK_TAB:
        if (!(Shift & ssAlt))
            sendToParent();
        break;
    case VK_DELETE:
        // Ctrl+Del too stays with the edit's own handling, asked like any other deletion.
        if (!grid->CanEditModify())
            Key = 0;
        break;
    default:
        break;
    }
    if (Key != 0) {
        parentEvent();
        if (Key != 0)
            TCustomMaskEdit::KeyDown(Key, Shift);
    }
}

void TQxInplaceEdit::KeyPress(QChar& Key)
{
    if (!FGrid) {
        TCustomMaskEdit::KeyPress(Key);
        return;
    }
    QPointer<TQxCustomGrid> grid = FGrid;
    grid->KeyPress(Key);
    if (Key.isNull() || !grid)
        return;
    if (Key.unicode() >= 32 && !grid->CanEditAcceptKey(Key)) {
        Key = QChar();
        qx::beep();
        return;
    }
    switch (Key.unicode()) {
    case 9:
    case 27:
        Key = QChar();
        return;
    case 13: {
        const int len = int(QLineEdit::text().size());
        if (hasSelectedText() && selectionStart() == 0 && selectionEnd() == len)
            Deselect();
        else
            selectAll();
        Key = QChar();
        return;
    }
    case 8:
    case 22: // Ctrl+V
    case 24: // Ctrl+X
        if (!grid->CanEditModify()) {
            Key = QChar();
            return;
        }
        break;
    default:
        if (Key.unicode() >= 32) {
            if (!grid->CanEditModify()) {
                Key = QChar();
                return;
            }
            FModifyAsked = true;
        }
        break;
    }
    TCustomMaskEdit::KeyPress(Key);
}

void TQxInplaceEdit::KeyUp(int& Key, TShiftState Shift)
{
    if (FGrid)
        FGrid->KeyUp(Key, Shift);
    else
        TCustomMaskEdit::KeyUp(Key, Shift);
}

bool TQxInplaceEdit::event(QEvent* event)
{
    // The grid's hooks run from the editor's handlers too; their errors end in the guard.
    bool result = false;
    if (!qx::guard(this, [&] { result = dispatchEvent(event); })) {
        // Shown already; an ignored key would go on to the grid and fail once more.
        event->accept();
        return true;
    }
    return result;
}

bool TQxInplaceEdit::dispatchEvent(QEvent* event)
{
    if (event->type() == QEvent::KeyPress && FGrid) {
        auto* ke = static_cast<QKeyEvent*>(event);
        // Tab belongs to the grid when the grid moves between cells with it; otherwise the
        // focus moves on to the next control as usual.
        if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab)
            && !(ke->modifiers() & Qt::AltModifier)) {
            const bool back = ke->key() == Qt::Key_Backtab || (ke->modifiers() & Qt::ShiftModifier);
            if (FGrid->Options() & goTabs) {
                int key = VK_TAB;
                TShiftState shift = qx::shiftState(ke);
                if (back)
                    shift |= ssShift;
                KeyDown(key, shift);
            } else {
                // The next control is the one after the grid, not after its editor.
                qx::selectNextControl(FGrid, !back);
            }
            ke->accept();
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride && FGrid) {
        // Keys the grid moves with must reach keyPressEvent, not a form's shortcut.
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
            break;
        }
    }
    return TCustomMaskEdit::event(event);
}

void TQxInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    TCustomMaskEdit::keyPressEvent(event);
    FModifyAsked = false;
    // The editor swallows every key it is given: what it passed to the grid is done.
    event->accept();
}

void TQxInplaceEdit::keyReleaseEvent(QKeyEvent* event)
{
    TCustomMaskEdit::keyReleaseEvent(event);
}

void TQxInplaceEdit::mousePressEvent(QMouseEvent* event)
{
    // A quick second press after the press on the grid that opened the editor is a double click.
    const qint64 interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    if (event->button() == Qt::LeftButton && FClickTime != 0
        && qint64(event->timestamp()) - FClickTime >= 0
        && qint64(event->timestamp()) - FClickTime < interval) {
        FClickTime = 0;
        if (FGrid)
            FGrid->DblClick();
        event->accept();
        return;
    }
    FClickTime = 0;
    TCustomMaskEdit::mousePressEvent(event);
}

void TQxInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (FGrid) {
        FGrid->DblClick();
        event->accept();
        return;
    }
    TCustomMaskEdit::mouseDoubleClickEvent(event);
}

void TQxInplaceEdit::wheelEvent(QWheelEvent* event)
{
    if (FGrid) {
        QWheelEvent forwarded(mapTo(FGrid->viewport(), event->position()),
                              event->globalPosition(), event->pixelDelta(), event->angleDelta(),
                              event->buttons(), event->modifiers(), event->phase(),
                              event->inverted());
        QCoreApplication::sendEvent(FGrid->viewport(), &forwarded);
        event->accept();
        return;
    }
    TCustomMaskEdit::wheelEvent(event);
}

void TQxInplaceEdit::focusInEvent(QFocusEvent* event)
{
    // The editor is part of the grid: entering it is not entering another control of the
    // form, so the edit's own enter notice is bypassed and the grid's is used.
    QLineEdit::focusInEvent(event);
    if (FGrid)
        FGrid->FFocusNotifier.focusIn(event);
}

void TQxInplaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!FGrid)
        return;
    QWidget* now = QApplication::focusWidget();
    if (now == FGrid.data()) {
        FGrid->FFocusFromEditor = true;
        return;
    }
    // Focus went elsewhere: when it left the form's grid for another control, the grid's exit
    // hides the editor (unless it is always shown).
    FGrid->InvalidateRect(FGrid->Selection());
    FGrid->FFocusNotifier.focusOut(event);
}

void TQxInplaceEdit::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createContextMenu());
    // Cut, paste and delete change the text: they run only when the grid allows a change.
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("edit-cut") || name == QLatin1String("edit-paste")
            || name == QLatin1String("edit-delete")) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this, name] {
                if (!EditCanModify())
                    return;
                if (name == QLatin1String("edit-cut"))
                    cut();
                else if (name == QLatin1String("edit-paste"))
                    PasteFromClipboard();
                else
                    del();
            });
        }
    }
    menu->exec(event->globalPos());
}
