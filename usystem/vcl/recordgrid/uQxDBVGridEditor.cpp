// The record grid's cell editor.
#include "usystem/vcl/recordgrid/uQxDBVGridEditor.h"

#include "platform/db/DataSource.h"
#include "usystem/vcl/controls/uQxGraphics.h"
#include "usystem/vcl/dbgrid/uQxDBGridEditor.h"
#include "usystem/vcl/edits/uQxIMEPad.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

TDBVGridInplaceEdit::TDBVGridInplaceEdit(TQxCustomDBVGrid* grid)
    : TQxInplaceEdit(grid->viewport())
{
    SetGrid(grid);
    FLookupSource = new TDataSource(this);
    FButtonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setColor(clInfoBk);
    setMouseTracking(true);
}

TDBVGridInplaceEdit::~TDBVGridInplaceEdit() = default;

TQxCustomDBVGrid* TDBVGridInplaceEdit::DBVGrid() const
{
    return static_cast<TQxCustomDBVGrid*>(Grid());
}

TVColumn* TDBVGridInplaceEdit::CurrentRow() const
{
    TQxCustomDBVGrid* grid = DBVGrid();
    // A grid being destroyed has let its rows go already.
    if (!grid || !grid->Columns())
        return nullptr;
    const int index = grid->SelectedIndex();
    if (index < 0 || index >= grid->Columns()->Count())
        return nullptr;
    return grid->Columns()->Items(index);
}

TField* TDBVGridInplaceEdit::CurrentField() const
{
    TVColumn* row = CurrentRow();
    return row ? row->Field() : nullptr;
}

bool TDBVGridInplaceEdit::BooleanCell() const
{
    TField* f = CurrentField();
    return f && f->DataType() == ftBoolean;
}

// ---- loading -------------------------------------------------------------------------------

void TDBVGridInplaceEdit::UpdateContents()
{
    TQxCustomDBVGrid* grid = DBVGrid();
    TVColumn* row = CurrentRow();
    TField* f = row ? row->Field() : nullptr;
    TEditStyle style = esSimple;
    if (row && grid) {
        switch (row->ButtonStyle()) {
        case TVColumn::cbsEllipsis:
            style = esEllipsis;
            break;
        case TVColumn::cbsNone:
            break;
        case TVColumn::cbsAuto:
            if (!f) {
                break;
            } else if (f->Lookup()) {
                TDataSet* ds = grid->DataLink()->DataSet();
                TField* key = ds ? ds->FindField(f->KeyFields()) : nullptr;
                const bool rowReadOnly =
                    (row->AssignedValues() & qx::GridColumn::cvReadOnly) && row->ReadOnly();
                if (key && key->CanModify() && !rowReadOnly && !grid->ReadOnly()
                    && grid->DataLink()->Active() && !grid->DataLink()->ReadOnly())
                    style = esDataList;
            } else if (row->HasPickList() && !row->ReadOnly()) {
                style = esPickList;
            }
            break;
        }
    }
    SetEditStyle(style);
    TQxInplaceEdit::UpdateContents();
    if (row)
        setFont(row->Font());
    setColor(clInfoBk);
}

void TDBVGridInplaceEdit::SetEditStyle(TEditStyle Value)
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
    TVColumn* row = CurrentRow();
    setReadOnly(row && row->ReadOnly());
    BoundsChanged();
    update();
}

void TDBVGridInplaceEdit::BoundsChanged()
{
    TQxInplaceEdit::BoundsChanged();
    if (FEditStyle != esSimple) {
        const QMargins m = textMargins();
        setTextMargins(m.left(), m.top(), m.right() + FButtonWidth, m.bottom());
    }
}

QRect TDBVGridInplaceEdit::ButtonRect() const
{
    if (FEditStyle == esSimple || BooleanCell())
        return QRect();
    return QRect(width() - FButtonWidth, 0, FButtonWidth, height());
}

// ---- the lists -------------------------------------------------------------------------------

void TDBVGridInplaceEdit::DropDown()
{
    if (FListVisible || !FActiveList)
        return;
    TQxCustomDBVGrid* grid = DBVGrid();
    TVColumn* row = CurrentRow();
    if (!grid || !row)
        return;
    TField* f = row->Field();
    if (FActiveList == FDataList)
        FDataList->DropDownLookup(this, toQColor(Color()), f, grid->DataLink()->DataSet(),
                                  FLookupSource, row->DropDownRows());
    else
        FPickList->DropDownPickList(this, toQColor(Color()), row->PickList(), f,
                                    row->DropDownRows(), FButtonWidth);
    FListVisible = true;
    update();
}

void TDBVGridInplaceEdit::CloseUp(bool Accept)
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
    QPointer<TQxCustomDBVGrid> grid = DBVGrid();
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

void TDBVGridInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    // The drop-down keys of the list styles come first; while a list is open it takes the
    // keys the editor does not use itself.
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

void TDBVGridInplaceEdit::KeyDown(int& Key, TShiftState Shift)
{
    QPointer<TQxCustomDBVGrid> grid = DBVGrid();
    if (!grid) {
        TQxInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    if ((FEditStyle == esEllipsis || FEditStyle == esPickList) && (Key == VK_DOWN || Key == VK_ADD)
        && !BooleanCell()) {
        // The button's action; the plus sign is not typed.
        Key = 0;
        grid->EditButtonClick();
        return;
    }
    if (Key == VK_RETURN) {
        TVColumn* row = CurrentRow();
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
    TQxInplaceEdit::KeyDown(Key, Shift);
}

void TDBVGridInplaceEdit::KeyPress(QChar& Key)
{
    if (BooleanCell() && Key.unicode() >= 32) {
        Key = QChar();
        return;
    }
    TQxInplaceEdit::KeyPress(Key);
}

void TDBVGridInplaceEdit::KeyUp(int& Key, TShiftState Shift)
{
    const int key = Key;
    TQxInplaceEdit::KeyUp(Key, Shift);
    const bool codeKey = key == VK_INSERT || key == VK_DELETE || (key >= '0' && key <= '9')
                         || (key >= 'A' && key <= 'Z') || (key >= 96 && key <= 122);
    TVColumn* row = CurrentRow();
    if (codeKey && row && row->IMEControl())
        ShowImePad();
}

void TDBVGridInplaceEdit::ToggleBoolean()
{
    TQxCustomDBVGrid* grid = DBVGrid();
    TField* f = CurrentField();
    if (!grid || !f || f->DataType() != ftBoolean || !f->CanModify())
        return;
    // The grid puts the dataset into edit through its link (and refuses a read-only row).
    if (!grid->CanEditModify())
        return;
    f->SetAsBoolean(f->IsNull() ? true : !f->AsBoolean());
    update();
}

void TDBVGridInplaceEdit::Click()
{
    if (BooleanCell())
        ToggleBoolean();
    TQxInplaceEdit::Click();
}

// ---- the candidate pad -----------------------------------------------------------------------

void TDBVGridInplaceEdit::ShowImePad()
{
    TQxCustomDBVGrid* grid = DBVGrid();
    TQxIMEPad* pad = grid ? grid->ImePad() : nullptr;
    if (!pad)
        return;
    pad->Lines().clear();
    grid->DoCellTextChange(Text(), pad);
    if (!pad)
        return;
    pad->resize(200, pad->height());
    pad->SetEditControl(this);
    pad->update();
    // Under the editor's bottom-left corner; the pad shows only when it has lines.
    const QPoint at = mapTo(grid, QPoint(0, height()));
    if (pad->Lines().isEmpty())
        pad->hide();
    else
        pad->Popup(at.x(), at.y());
}

// ---- focus -----------------------------------------------------------------------------------

void TDBVGridInplaceEdit::focusInEvent(QFocusEvent* event)
{
    TQxInplaceEdit::focusInEvent(event);
    TQxCustomDBVGrid* grid = DBVGrid();
    if (!grid || grid->SelectedIndex() < 0)
        return;
    TVColumn* row = CurrentRow();
    QString hint;
    if (row && row->HasPickList())
        hint += QStringLiteral(" [↓键]:弹出下拉框 ");
    if (row && row->ButtonStyle() == TVColumn::cbsEllipsis)
        hint += QStringLiteral(" [+键]: 功能相当于点击右边按钮(如弹出对话框选择等)");
    grid->DoHotKeyHint(hint);
}

void TDBVGridInplaceEdit::focusOutEvent(QFocusEvent* event)
{
    TQxInplaceEdit::focusOutEvent(event);
    // The pop-ups themselves never take the focus; should the window system activate one
    // anyway, the user has not left the cell.
    QWidget* active = QApplication::activeWindow();
    TQxCustomDBVGrid* grid = DBVGrid();
    if (active
        && (active == FPickList.data() || active == FDataList.data()
            || (grid && active == grid->ImePad())))
        return;
    // A list or pad left open after the focus moved on would take the next clicks and keys
    // meant for another control: both go, the list without writing anything.
    CloseUp(false);
    StopTracking();
    if (grid)
        if (TQxIMEPad* pad = grid->ImePad(); pad && pad->EditControl() == this)
            pad->hide();
}

void TDBVGridInplaceEdit::hideEvent(QHideEvent* event)
{
    CloseUp(false);
    StopTracking();
    TQxInplaceEdit::hideEvent(event);
}

// ---- mouse -----------------------------------------------------------------------------------

void TDBVGridInplaceEdit::TrackButton(int X, int Y)
{
    const bool pressed = QRect(width() - FButtonWidth, 0, FButtonWidth, height()).contains(X, Y);
    if (pressed == FPressed)
        return;
    FPressed = pressed;
    update(ButtonRect());
}

void TDBVGridInplaceEdit::StopTracking()
{
    if (!FTracking) {
        if (FPressed) {
            FPressed = false;
            update();
        }
        return;
    }
    TrackButton(-1, -1);
    FTracking = false;
}

void TDBVGridInplaceEdit::mousePressEvent(QMouseEvent* event)
{
    const QPoint pt = event->position().toPoint();
    if (event->button() == Qt::LeftButton && ButtonRect().contains(pt)) {
        if (FListVisible) {
            CloseUp(false);
        } else {
            FTracking = true;
            TrackButton(pt.x(), pt.y());
            if (FActiveList)
                DropDown();
        }
        event->accept();
        return;
    }
    TQxInplaceEdit::mousePressEvent(event);
}

void TDBVGridInplaceEdit::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pt = event->position().toPoint();
    if (ButtonRect().contains(pt))
        setCursor(Qt::ArrowCursor);
    else
        unsetCursor();
    if (FTracking) {
        TrackButton(pt.x(), pt.y());
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

void TDBVGridInplaceEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (FTracking && event->button() == Qt::LeftButton) {
        const bool wasPressed = FPressed;
        StopTracking();
        if (FListVisible && FActiveList) {
            // A drag from the button ending inside the list chooses its line.
            if (FActiveList->geometry().contains(event->globalPosition().toPoint()))
                CloseUp(true);
        } else if (FEditStyle == esEllipsis && wasPressed) {
            if (TQxCustomDBVGrid* grid = DBVGrid())
                grid->EditButtonClick();
        }
        event->accept();
        return;
    }
    TQxInplaceEdit::mouseReleaseEvent(event);
}

void TDBVGridInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (ButtonRect().contains(event->position().toPoint())) {
        event->accept();
        return;
    }
    TQxInplaceEdit::mouseDoubleClickEvent(event);
}

// ---- painting --------------------------------------------------------------------------------

void TDBVGridInplaceEdit::paintEvent(QPaintEvent* event)
{
    if (BooleanCell()) {
        // The field's value is its check box: no text, no caret and no button.
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
    PaintButton(p);
}

void TDBVGridInplaceEdit::PaintButton(QPainter& p)
{
    const QRect b = ButtonRect();
    p.fillRect(b, toQColor(clBtnFace));
    DrawButtonFrame(p, b, FPressed);
    if (FEditStyle == esEllipsis) {
        // Three black squares in a row, moved one pixel while pressed.
        const int w = height() < 8 ? 1 : height() / 8;
        const int d = b.width() / 2 - 1 + (FPressed ? 1 : 0);
        const int y = b.top() + d;
        for (int x : {b.left() + d - 2 * w, b.left() + d, b.left() + d + 2 * w})
            p.fillRect(QRect(x, y, w, w), Qt::black);
        return;
    }
    // The combo box's arrow: pushed while pressed, grey without a list.
    QStyleOption opt;
    opt.initFrom(this);
    opt.rect = b.adjusted(3, 3, -3, -3);
    if (FPressed)
        opt.rect.translate(1, 1);
    opt.state = FActiveList ? QStyle::State_Enabled : QStyle::State_None;
    opt.palette.setColor(QPalette::ButtonText, toQColor(FActiveList ? clBtnText : clGrayText));
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opt, &p, this);
}
