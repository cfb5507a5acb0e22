// The data grid's cell editor and its two drop-down lists.
#include "usystem/vcl/dbgrid/uQxDBGridEditor.h"

#include "platform/db/DataSource.h"
#include "platform/ui/Popup.h"
#include "usystem/vcl/controls/uQxGraphics.h"
#include "usystem/vcl/edits/uQxIMEPad.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

// ---- TQxDBGridInplaceEdit: loading ---------------------------------------------------------

TQxDBGridInplaceEdit::TQxDBGridInplaceEdit(TQxCustomDBGrid* grid)
    : TQxInplaceEdit(grid->viewport())
{
    SetGrid(grid);
    FLookupSource = new TDataSource(this);
    FButtonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setColor(clInfoBk);
    setMouseTracking(true);
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

TQxCustomDBGrid* TQxDBGridInplaceEdit::DBGrid() const
{
    return static_cast<TQxCustomDBGrid*>(Grid());
}

TQxColumn* TQxDBGridInplaceEdit::CurrentColumn() const
{
    TQxCustomDBGrid* grid = DBGrid();
    // A grid being destroyed has let its columns go already.
    if (!grid || !grid->Columns())
        return nullptr;
    const int index = grid->SelectedIndex();
    if (index < 0 || index >= grid->Columns()->Count())
        return nullptr;
    return grid->Columns()->Items(index);
}

TField* TQxDBGridInplaceEdit::CurrentField() const
{
    TQxColumn* col = CurrentColumn();
    return col ? col->Field() : nullptr;
}

bool TQxDBGridInplaceEdit::BooleanCell() const
{
    TField* f = CurrentField();
    return f && f->DataType() == ftBoolean;
}

void TQxDBGridInplaceEdit::UpdateContents()
{
    TQxCustomDBGrid* grid = DBGrid();
    TQxColumn* col = CurrentColumn();
    TField* f = col ? col->Field() : nullptr;
    TEditStyle style = esSimple;
    if (col) {
        switch (col->ButtonStyle()) {
        case cbsEllipsis:
            style = esEllipsis;
            break;
        case cbsNone:
            break;
        case cbsAuto:
            if (!f) {
                break;
            } else if (f->Lookup()) {
                TDataSet* ds = grid->DataLink()->DataSet();
                TField* key = ds ? ds->FindField(f->KeyFields()) : nullptr;
                const bool columnReadOnly =
                    (col->AssignedValues() & TQxColumn::cvReadOnly) && col->ReadOnly();
                if (key && key->CanModify() && !columnReadOnly && !grid->ReadOnly()
                    && grid->DataLink()->Active() && !grid->DataLink()->ReadOnly())
                    style = esDataList;
            } else if (col->HasPickList() && !col->ReadOnly()) {
                style = esPickList;
            }
            break;
        }
    }
    SetEditStyle(style);
    TQxInplaceEdit::UpdateContents();
    if (col) {
        setFont(col->Font());
        // Columns that take no input method (codes, numbers) switch it off.
        const TQxColumn::TImeMode mode = col->ImeMode();
        setAttribute(Qt::WA_InputMethodEnabled,
                     mode != TQxColumn::imDisable && mode != TQxColumn::imClose);
    }
    setColor(clInfoBk);
}

void TQxDBGridInplaceEdit::SetEditStyle(TEditStyle Value)
{
    if (Value != FEditStyle) {
        if (FListVisible)
            CloseUp(false);
        FEditStyle = Value;
        switch (Value) {
        case esPickList:
            if (!FPickList)
                FPickList = new TPopupListbox(this, [this](bool Accept) { CloseUp(Accept); });
            FActiveList = FPickList;
            break;
        case esDataList:
            if (!FDataList)
                FDataList = new TPopupDataList(this, [this](bool Accept) { CloseUp(Accept); });
            FActiveList = FDataList;
            break;
        default:
            FActiveList = nullptr;
            break;
        }
    }
    TQxColumn* col = CurrentColumn();
    setReadOnly(col && col->ReadOnly());
    BoundsChanged();
    update();
}

void TQxDBGridInplaceEdit::BoundsChanged()
{
    TQxInplaceEdit::BoundsChanged();
    if (FEditStyle != esSimple) {
        const QMargins m = textMargins();
        if (layoutDirection() == Qt::RightToLeft)
            setTextMargins(m.left() + FButtonWidth - 2, m.top(), m.right(), m.bottom());
        else
            setTextMargins(m.left(), m.top(), m.right() + FButtonWidth, m.bottom());
    }
}

QRect TQxDBGridInplaceEdit::ButtonRect() const
{
    if (FEditStyle == esSimple)
        return QRect();
    if (layoutDirection() == Qt::RightToLeft)
        return QRect(0, 0, FButtonWidth, height());
    return QRect(width() - FButtonWidth, 0, FButtonWidth, height());
}

// ---- the lists -------------------------------------------------------------------------------

void TQxDBGridInplaceEdit::DropDown()
{
    if (FListVisible || !FActiveList)
        return;
    TQxCustomDBGrid* grid = DBGrid();
    TQxColumn* col = CurrentColumn();
    TField* f = col ? col->Field() : nullptr;
    if (!grid || !col)
        return;
    if (FActiveList == FDataList)
        FDataList->DropDownLookup(this, toQColor(Color()), f, grid->DataLink()->DataSet(),
                                  FLookupSource, col->DropDownRows());
    else
        FPickList->DropDownPickList(this, toQColor(Color()), col->PickList(), f,
                                    col->DropDownRows(), FButtonWidth);
    FListVisible = true;
    update();
}

void TQxDBGridInplaceEdit::CloseUp(bool Accept)
{
    if (!FListVisible)
        return;
    TPopupListbox* list = FActiveList;
    const QVariant value = list ? list->ChosenValue() : QVariant();
    if (list)
        list->hide();
    FListVisible = false;
    FLookupSource->SetDataSet(nullptr);
    update();
    QPointer<TQxCustomDBGrid> grid = DBGrid();
    TField* f = CurrentField();
    if (!Accept || !grid || !f || !value.isValid())
        return;
    if (list == FDataList)
        TPopupDataList::WriteKey(f, grid->DataLink()->DataSet(), value, [&grid] {
            grid->DataLink()->Edit();
            return grid->DataLink()->Editing();
        });
    else if (EditCanModify())
        f->SetText(value.toString());
}

// ---- keys ------------------------------------------------------------------------------------

void TQxDBGridInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    if (FActiveList && Grid()) {
        const int key = qx::vkFromKeyEvent(event);
        const bool alt = event->modifiers() & Qt::AltModifier;
        if (FListVisible && (key == VK_RETURN || key == VK_ESCAPE) && !alt) {
            CloseUp(key == VK_RETURN);
            event->accept();
            return;
        }
        if (!FListVisible && key == VK_ADD) {
            DropDown();
            event->accept();
            return;
        }
        if (!FListVisible && key == VK_DOWN)
            DropDown(); // the key goes on to the list and moves its selection
        if (FListVisible && FActiveList) {
            QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(),
                           event->isAutoRepeat(), ushort(event->count()));
            QCoreApplication::sendEvent(FActiveList.data(), &copy);
            event->accept();
            return;
        }
    }
    TQxInplaceEdit::keyPressEvent(event);
}

void TQxDBGridInplaceEdit::KeyDown(int& Key, TShiftState Shift)
{
    QPointer<TQxCustomDBGrid> grid = DBGrid();
    if (!grid) {
        TQxInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    const bool keypadPlus = Key == VK_ADD;
    if (keypadPlus && FEditStyle == esEllipsis) {
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
    TQxInplaceEdit::KeyDown(Key, Shift);
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
    TQxInplaceEdit::KeyPress(Key);
}

void TQxDBGridInplaceEdit::KeyUp(int& Key, TShiftState Shift)
{
    const int key = Key;
    TQxInplaceEdit::KeyUp(Key, Shift);
    const bool codeKey = key == VK_INSERT || key == VK_DELETE || (key >= '0' && key <= '9')
                         || (key >= 'A' && key <= 'Z') || (key >= 96 && key <= 122);
    TQxColumn* col = CurrentColumn();
    if (codeKey && col && col->IMEControl())
        ShowImePad();
}

void TQxDBGridInplaceEdit::ToggleBoolean()
{
    TQxCustomDBGrid* grid = DBGrid();
    TField* f = CurrentField();
    if (!grid || !f || f->DataType() != ftBoolean || !f->CanModify())
        return;
    if (!grid->CanEditModify())
        return;
    f->SetAsBoolean(f->IsNull() ? true : !f->AsBoolean());
    // The check box is the value; the editor holds no text (the grid keeps the field's).
    SetShownText(QString());
    update();
}

void TQxDBGridInplaceEdit::Click()
{
    TQxInplaceEdit::Click();
    if (BooleanCell())
        ToggleBoolean();
}

// ---- the candidate pad -----------------------------------------------------------------------

void TQxDBGridInplaceEdit::ShowImePad()
{
    TQxCustomDBGrid* grid = DBGrid();
    TQxIMEPad* pad = grid ? grid->ImePad() : nullptr;
    if (!pad)
        return;
    pad->Lines().clear();
    if (grid->OnCellTextChange)
        grid->OnCellTextChange(grid, Text(), pad);
    if (!pad)
        return;
    if (pad->Lines().isEmpty()) {
        // Nothing to offer for this text: an open pad would list lines that no longer apply.
        pad->hide();
        return;
    }
    pad->SetEditControl(this);
    pad->update();
    const QPoint at = mapTo(grid, QPoint(0, height()));
    pad->Popup(at.x(), at.y());
}

void TQxDBGridInplaceEdit::ImePadClicked()
{
    TQxCustomDBGrid* grid = DBGrid();
    TQxIMEPad* pad = grid ? grid->ImePad() : nullptr;
    if (!pad)
        return;
    pad->hide();
    QLineEdit* control = pad->EditControl();
    TQxColumn* col = CurrentColumn();
    if (col && col->IMEControl()) {
        const int line = pad->MarkedLine();
        QString code;
        if (line > 0 && line <= pad->Lines().size() && grid->OnCellImeCode)
            grid->OnCellImeCode(grid, line, code);
        // A click beside the lines, or a line without a code, leaves the cell as it was.
        if (!code.isEmpty()) {
            TField* f = col->Field();
            if (f && grid->CanEditModify())
                f->SetAsString(code);
            if (auto* edit = qobject_cast<TCustomMaskEdit*>(control))
                edit->setText(code);
            else if (control)
                control->setText(code);
        }
    }
    pad->Lines().clear();
    pad->SetMarkedLine(0);
    if (control && control->isVisible())
        control->setFocus(Qt::OtherFocusReason);
}

bool TQxDBGridInplaceEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FPadWatched && event->type() == QEvent::MouseButtonPress) {
        ImePadClicked();
        return true;
    }
    return TQxInplaceEdit::eventFilter(watched, event);
}

// ---- focus -----------------------------------------------------------------------------------

void TQxDBGridInplaceEdit::focusInEvent(QFocusEvent* event)
{
    TQxInplaceEdit::focusInEvent(event);
    TQxCustomDBGrid* grid = DBGrid();
    TQxColumn* col = CurrentColumn();
    if (!grid)
        return;
    QString hint;
    if (col && col->HasPickList())
        hint += QStringLiteral(" [↓键]:弹出下拉框 ");
    if (col && col->ButtonStyle() == cbsEllipsis)
        hint += QStringLiteral(" [+键]: 功能相当于点击右边按钮(如弹出对话框选择等)");
    grid->HotKeyHint(hint);
}

void TQxDBGridInplaceEdit::focusOutEvent(QFocusEvent* event)
{
    TQxInplaceEdit::focusOutEvent(event);
    // The pop-ups themselves never take the focus; should the window system activate one
    // anyway, the user has not left the cell.
    QWidget* active = QApplication::activeWindow();
    TQxCustomDBGrid* owner = DBGrid();
    if (active
        && (active == FPickList.data() || active == FDataList.data()
            || (owner && active == owner->ImePad())))
        return;
    // A list or pad left open after the focus moved on would take the next clicks and keys
    // meant for another control: both go, the list without writing anything.
    CloseUp(false);
    StopTracking();
    if (TQxCustomDBGrid* grid = DBGrid())
        if (TQxIMEPad* pad = grid->ImePad(); pad && pad->EditControl() == this)
            pad->hide();
}

void TQxDBGridInplaceEdit::hideEvent(QHideEvent* event)
{
    CloseUp(false);
    StopTracking();
    TQxInplaceEdit::hideEvent(event);
}

// ---- mouse -----------------------------------------------------------------------------------

void TQxDBGridInplaceEdit::StopTracking()
{
    if (!FTracking && !FPressed)
        return;
    FTracking = false;
    FPressed = false;
    update();
}

void TQxDBGridInplaceEdit::mousePressEvent(QMouseEvent* event)
{
    const QPoint pt = event->position().toPoint();
    if (event->button() == Qt::LeftButton && ButtonRect().contains(pt)) {
        if (FListVisible) {
            CloseUp(false);
        } else {
            FTracking = true;
            FPressed = true;
            update();
            if (FActiveList)
                DropDown();
        }
        event->accept();
        return;
    }
    TQxInplaceEdit::mousePressEvent(event);
}

void TQxDBGridInplaceEdit::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pt = event->position().toPoint();
    if (ButtonRect().contains(pt))
        setCursor(Qt::ArrowCursor);
    else
        unsetCursor();
    if (FTracking) {
        const bool over = ButtonRect().contains(pt);
        if (over != FPressed) {
            FPressed = over;
            update();
        }
        if (FListVisible && FActiveList) {
            const QPoint global = event->globalPosition().toPoint();
            if (FActiveList->geometry().contains(global)) {
                // Dragged from the button into the list: the line under the mouse is chosen.
                const QPoint inList = FActiveList->viewport()->mapFromGlobal(global);
                if (QListWidgetItem* hit = FActiveList->itemAt(inList))
                    FActiveList->setCurrentItem(hit);
            }
        }
        event->accept();
        return;
    }
    TQxInplaceEdit::mouseMoveEvent(event);
}

void TQxDBGridInplaceEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (FTracking && event->button() == Qt::LeftButton) {
        const bool wasPressed = FPressed;
        StopTracking();
        if (FListVisible && FActiveList) {
            const QPoint global = event->globalPosition().toPoint();
            if (FActiveList->geometry().contains(global))
                CloseUp(true);
        } else if (FEditStyle == esEllipsis && wasPressed) {
            if (TQxCustomDBGrid* grid = DBGrid())
                grid->EditButtonClick();
        }
        event->accept();
        return;
    }
    TQxInplaceEdit::mouseReleaseEvent(event);
}

void TQxDBGridInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (ButtonRect().contains(event->position().toPoint())) {
        event->accept();
        return;
    }
    TQxInplaceEdit::mouseDoubleClickEvent(event);
}

// ---- painting --------------------------------------------------------------------------------

void TQxDBGridInplaceEdit::paintEvent(QPaintEvent* event)
{
    if (BooleanCell()) {
        // The cell's value is its check box; no text and no caret.
        QPainter p(this);
        p.fillRect(rect(), toQColor(Color()));
        TField* f = CurrentField();
        qx::drawGridCheckBox(p, rect(), f && !f->IsNull() && f->AsBoolean());
        return;
    }
    TQxInplaceEdit::paintEvent(event);
    if (FEditStyle == esSimple)
        return;
    QPainter p(this);
    paintButton(p);
}

void TQxDBGridInplaceEdit::paintButton(QPainter& p)
{
    const QRect r = ButtonRect();
    p.fillRect(r, toQColor(clBtnFace));
    if (FEditStyle == esEllipsis) {
        DrawButtonFrame(p, r, FPressed);
        TQxColumn* col = CurrentColumn();
        const QImage glyph = col ? col->Glyph() : QImage();
        const QPoint shift = FPressed ? QPoint(1, 1) : QPoint();
        if (!glyph.isNull()) {
            const QPoint at(r.left() + (r.width() - glyph.width()) / 2,
                            r.top() + (r.height() - glyph.height()) / 2);
            p.drawImage(at + shift, glyph);
        } else {
            p.setPen(toQColor(clBtnText));
            p.drawText(r.translated(shift), Qt::AlignCenter, QStringLiteral("..."));
        }
        return;
    }
    // The combo box's arrow button: flat, pushed while pressed, grey without a list.
    QStyleOption opt;
    opt.initFrom(this);
    opt.rect = r.adjusted(3, 3, -3, -3);
    if (FPressed)
        opt.rect.translate(1, 1);
    opt.state = QStyle::State_Enabled;
    if (!FActiveList)
        opt.state = QStyle::State_None;
    opt.palette.setColor(QPalette::ButtonText, toQColor(FActiveList ? clBtnText : clGrayText));
    DrawButtonFrame(p, r, FPressed);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opt, &p, this);
}
