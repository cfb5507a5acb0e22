// The grids' shared cell editor: its button, its lists, Boolean cells and the candidate pad.
#include "usystem/vcl/dbgrid/QxGridCellEditor.h"

#include "platform/db/DataLink.h"
#include "platform/db/DataSource.h"
#include "usystem/vcl/controls/uQxGraphics.h"
#include "platform/env/MissingBinding.h"
#include "usystem/vcl/dbgrid/uQxDBGridEditor.h"
#include "usystem/vcl/dbgrid/uQxSetQueryDate.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/edits/uQxIMEPad.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace qx {

// ---- loading ---------------------------------------------------------------------------------

GridCellEditor::GridCellEditor(TQxCustomGrid* grid, Traits traits)
    : TQxInplaceEdit(grid->viewport())
    , FTraits(traits)
{
    SetGrid(grid);
    FLookupSource = new TDataSource(this);
    FButtonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setColor(clInfoBk);
    setMouseTracking(true);
}

GridCellEditor::~GridCellEditor() = default;

TField* GridCellEditor::CurrentField() const
{
    GridColumn* col = EditColumn();
    return col ? col->Field() : nullptr;
}

bool GridCellEditor::BooleanCell() const
{
    TField* f = CurrentField();
    return f && f->DataType() == ftBoolean;
}

void GridCellEditor::UpdateContents()
{
    GridColumn* col = EditColumn();
    TField* f = col ? col->Field() : nullptr;
    TEditStyle style = esSimple;
    if (col) {
        switch (col->ButtonStyle()) {
        case GridColumn::cbsEllipsis:
            style = esEllipsis;
            break;
        case GridColumn::cbsNone:
            break;
        case GridColumn::cbsAuto:
            if (!f) {
                break;
            } else if (f->Lookup()) {
                // The lookup list writes the key fields: it drops only where they can change.
                TDataLink* link = GridLink();
                TDataSet* ds = link ? link->DataSet() : nullptr;
                TField* key = ds ? ds->FindField(f->KeyFields()) : nullptr;
                const bool columnReadOnly =
                    (col->AssignedValues() & GridColumn::cvReadOnly) && col->ReadOnly();
                if (key && key->CanModify() && !columnReadOnly && !GridReadOnly()
                    && link->Active() && !link->ReadOnly())
                    style = esDataList;
            } else if (col->HasPickList() && !col->ReadOnly()) {
                style = esPickList;
            }
            break;
        }
    }
    SetEditStyle(style);
    TQxInplaceEdit::UpdateContents();
    if (col)
        setFont(col->Font());
    setColor(clInfoBk);
}

void GridCellEditor::SetEditStyle(TEditStyle Value)
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
    GridColumn* col = EditColumn();
    setReadOnly(col && col->ReadOnly());
    BoundsChanged();
    update();
}

void GridCellEditor::BoundsChanged()
{
    TQxInplaceEdit::BoundsChanged();
    if (FEditStyle != esSimple) {
        const QMargins m = textMargins();
        if (FTraits.MirrorButton && layoutDirection() == Qt::RightToLeft)
            setTextMargins(m.left() + FButtonWidth - 2, m.top(), m.right(), m.bottom());
        else
            setTextMargins(m.left(), m.top(), m.right() + FButtonWidth, m.bottom());
    }
}

QRect GridCellEditor::ButtonRect() const
{
    if (FEditStyle == esSimple || (!FTraits.ButtonOnBoolean && BooleanCell()))
        return QRect();
    if (FTraits.MirrorButton && layoutDirection() == Qt::RightToLeft)
        return QRect(0, 0, FButtonWidth, height());
    return QRect(width() - FButtonWidth, 0, FButtonWidth, height());
}

// ---- the lists -------------------------------------------------------------------------------

void GridCellEditor::DropDown()
{
    if (FListVisible || !FActiveList)
        return;
    GridColumn* col = EditColumn();
    TDataLink* link = GridLink();
    if (!link || !col)
        return;
    TField* f = col->Field();
    if (FActiveList == FDataList)
        FDataList->DropDownLookup(this, toQColor(Color()), f, link->DataSet(), FLookupSource,
                                  col->DropDownRows());
    else
        FPickList->DropDownPickList(this, toQColor(Color()), col->PickList(), f,
                                    col->DropDownRows(), FButtonWidth);
    FListVisible = true;
    update();
}

void GridCellEditor::CloseUp(bool Accept)
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
    TField* f = CurrentField();
    TDataLink* link = GridLink();
    if (!Accept || !link || !f || !value.isValid())
        return;
    if (list == FDataList)
        TPopupDataList::WriteKey(f, link->DataSet(), value, [this] {
            // The grid may have gone while the key was written.
            TDataLink* current = GridLink();
            if (!current)
                return false;
            current->Edit();
            return current->Editing();
        });
    else if (EditCanModify())
        f->SetText(value.toString());
}

// ---- keys ------------------------------------------------------------------------------------

void GridCellEditor::keyPressEvent(QKeyEvent* event)
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

void GridCellEditor::KeyUp(int& Key, TShiftState Shift)
{
    const int key = Key;
    TQxInplaceEdit::KeyUp(Key, Shift);
    // The keys an input code is typed with ask for its candidates.
    const bool codeKey = key == VK_INSERT || key == VK_DELETE || (key >= '0' && key <= '9')
                         || (key >= 'A' && key <= 'Z') || (key >= 96 && key <= 122);
    GridColumn* col = EditColumn();
    if (codeKey && col && col->IMEControl())
        ShowImePad();
}

bool GridCellEditor::FlipBoolean()
{
    TField* f = CurrentField();
    if (!Grid() || !f || f->DataType() != ftBoolean || !f->CanModify())
        return false;
    // The grid puts the dataset into edit through its link (and refuses a read-only cell).
    if (!GridCanEditModify())
        return false;
    f->SetAsBoolean(f->IsNull() ? true : !f->AsBoolean());
    return true;
}

// ---- the candidate pad -----------------------------------------------------------------------

void GridCellEditor::ShowImePad()
{
    TQxIMEPad* pad = GridImePad();
    if (!pad)
        return;
    pad->Lines().clear();
    AskPadLines(pad);
    if (!pad)
        return;
    PreparePad(pad);
    if (pad->Lines().isEmpty()) {
        // Nothing to offer for this text: an open pad would list lines that no longer apply.
        pad->hide();
        return;
    }
    pad->SetEditControl(this);
    pad->update();
    // Under the editor's bottom-left corner.
    const QPoint at = mapTo(Grid(), QPoint(0, height()));
    pad->Popup(at.x(), at.y());
}

void takeImePadChoice(TQxIMEPad* Pad, GridColumn* Column,
                      const std::function<void(int Line, QString& Code)>& CodeOf,
                      const std::function<bool()>& CanModify)
{
    if (!Pad)
        return;
    Pad->hide();
    QLineEdit* control = Pad->EditControl();
    if (Column && Column->IMEControl()) {
        const int line = Pad->MarkedLine();
        QString code;
        if (line > 0 && line <= Pad->Lines().size())
            CodeOf(line, code);
        // A click beside the lines, or a line without a code, leaves the cell as it was.
        if (!code.isEmpty()) {
            TField* f = Column->Field();
            if (f && CanModify())
                f->SetAsString(code);
            // Through the edit control's own text setter, so its mask and case rule apply.
            if (auto* edit = qobject_cast<TCustomMaskEdit*>(control))
                edit->setText(code);
            else if (control)
                control->setText(code);
        }
    }
    Pad->Lines().clear();
    Pad->SetMarkedLine(0);
    if (control && control->isVisible())
        control->setFocus(Qt::OtherFocusReason);
}

void pickCellValue(TField* Field, QWidget* Grid)
{
    if (!Field)
        return;
    if (Field->DataType() == ftDate || Field->DataType() == ftDateTime) {
        ShowDateDialog(Field, Grid);
        return;
    }
    if (editLookupBinding().pickFieldValue)
        editLookupBinding().pickFieldValue(Grid);
    else
        reportMissingBinding(Grid, QStringLiteral("PickFieldValue"));
}

// ---- focus -----------------------------------------------------------------------------------

void GridCellEditor::focusInEvent(QFocusEvent* event)
{
    TQxInplaceEdit::focusInEvent(event);
    if (!Grid())
        return;
    GridColumn* col = EditColumn();
    QString hint;
    if (col && col->HasPickList())
        hint += QStringLiteral(" [↓键]:弹出下拉框 ");
    if (col && col->ButtonStyle() == GridColumn::cbsEllipsis)
        hint += QStringLiteral(" [+键]: 功能相当于点击右边按钮(如弹出对话框选择等)");
    ShowKeyHint(hint);
}

void GridCellEditor::focusOutEvent(QFocusEvent* event)
{
    TQxInplaceEdit::focusOutEvent(event);
    // The pop-ups themselves never take the focus; should the window system activate one
    // anyway, the user has not left the cell.
    QWidget* active = QApplication::activeWindow();
    if (active
        && (active == FPickList.data() || active == FDataList.data()
            || (Grid() && active == GridImePad())))
        return;
    // A list or pad left open after the focus moved on would take the next clicks and keys
    // meant for another control: both go, the list without writing anything.
    CloseUp(false);
    StopTracking();
    if (Grid())
        if (TQxIMEPad* pad = GridImePad(); pad && pad->EditControl() == this)
            pad->hide();
}

void GridCellEditor::hideEvent(QHideEvent* event)
{
    CloseUp(false);
    StopTracking();
    TQxInplaceEdit::hideEvent(event);
}

// ---- mouse -----------------------------------------------------------------------------------

void GridCellEditor::StopTracking()
{
    if (!FTracking && !FPressed)
        return;
    FTracking = false;
    FPressed = false;
    update();
}

void GridCellEditor::mousePressEvent(QMouseEvent* event)
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

void GridCellEditor::mouseMoveEvent(QMouseEvent* event)
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

void GridCellEditor::mouseReleaseEvent(QMouseEvent* event)
{
    if (FTracking && event->button() == Qt::LeftButton) {
        const bool wasPressed = FPressed;
        StopTracking();
        if (FListVisible && FActiveList) {
            // A drag from the button ending inside the list chooses its line.
            if (FActiveList->geometry().contains(event->globalPosition().toPoint()))
                CloseUp(true);
        } else if (FEditStyle == esEllipsis && wasPressed) {
            if (Grid())
                GridButtonClick();
        }
        event->accept();
        return;
    }
    TQxInplaceEdit::mouseReleaseEvent(event);
}

void GridCellEditor::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (ButtonRect().contains(event->position().toPoint())) {
        event->accept();
        return;
    }
    TQxInplaceEdit::mouseDoubleClickEvent(event);
}

// ---- painting --------------------------------------------------------------------------------

void GridCellEditor::paintEvent(QPaintEvent* event)
{
    if (BooleanCell()) {
        // The cell's value is its check box: no text, no caret and no button.
        QPainter p(this);
        p.fillRect(rect(), toQColor(Color()));
        TField* f = CurrentField();
        drawGridCheckBox(p, rect(), f && !f->IsNull() && f->AsBoolean());
        return;
    }
    TQxInplaceEdit::paintEvent(event);
    if (FEditStyle == esSimple)
        return;
    QPainter p(this);
    PaintButton(p);
}

void GridCellEditor::PaintButton(QPainter& p)
{
    const QRect r = ButtonRect();
    p.fillRect(r, toQColor(clBtnFace));
    DrawButtonFrame(p, r, FPressed);
    if (FEditStyle == esEllipsis) {
        PaintEllipsis(p, r);
        return;
    }
    // The combo box's arrow: pushed while pressed, grey without a list.
    QStyleOption opt;
    opt.initFrom(this);
    opt.rect = r.adjusted(3, 3, -3, -3);
    if (FPressed)
        opt.rect.translate(1, 1);
    opt.state = FActiveList ? QStyle::State_Enabled : QStyle::State_None;
    opt.palette.setColor(QPalette::ButtonText, toQColor(FActiveList ? clBtnText : clGrayText));
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opt, &p, this);
}

} // namespace qx
