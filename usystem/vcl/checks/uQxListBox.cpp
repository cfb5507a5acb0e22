#include "usystem/vcl/checks/uQxListBox.h"

#include "usystem/vcl/checks/QxFrameControl.h"

#include "platform/env/ExceptionGuard.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Keys.h"

#include <QAbstractItemDelegate>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <optional>

// ---- item state ---------------------------------------------------------------------------

namespace {

// The record behind an item's check box, made the first time the item needs one. It is kept
// as the item's own data: Qt moves the item with its data when the list sorts or when items
// are inserted before it, and frees both together.
struct ListBoxStateRecord
{
    int Data = 0;
    int State = TQxListBox::cbUnchecked;
    bool Disabled = false;
};

} // namespace

Q_DECLARE_METATYPE(ListBoxStateRecord)

namespace {

constexpr int RecordRole = Qt::UserRole + 0x51;

std::optional<ListBoxStateRecord> recordOf(const QListWidgetItem* item)
{
    const QVariant v = item->data(RecordRole);
    if (!v.isValid())
        return std::nullopt;
    return v.value<ListBoxStateRecord>();
}

void storeRecord(QListWidgetItem* item, const ListBoxStateRecord& r)
{
    item->setData(RecordRole, QVariant::fromValue(r));
}

} // namespace

// Every item is drawn by the list box itself, as an owner-drawn list box window.
class TQxListBox::Delegate : public QAbstractItemDelegate
{
public:
    explicit Delegate(TQxListBox* listBox) : QAbstractItemDelegate(listBox), m_list(listBox) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        TOwnerDrawState state;
        if (option.state & QStyle::State_Selected)
            state |= odSelected;
        if ((option.state & QStyle::State_HasFocus) && m_list->hasFocus())
            state |= odFocused;
        if (!m_list->isEnabled() || !m_list->GetItemEnabled(index.row()))
            state |= odDisabled;
        painter->save();
        m_list->DrawItem(*painter, index.row(), option.rect, state);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        return QSize(m_list->viewport()->width(), m_list->MeasureItem(index.row()));
    }

private:
    TQxListBox* m_list;
};

// ---- TListBoxStrings ----------------------------------------------------------------------

int TListBoxStrings::Count() const
{
    return FListBox->count();
}

QString TListBoxStrings::Strings(int Index) const
{
    FListBox->checkIndex(Index);
    return FListBox->item(Index)->text();
}

void TListBoxStrings::SetStrings(int Index, const QString& S)
{
    FListBox->checkIndex(Index);
    FListBox->item(Index)->setText(S);
}

int TListBoxStrings::Add(const QString& S)
{
    const int at = FListBox->FSorted ? FListBox->sortedPosition(S) : FListBox->count();
    return FListBox->insertText(at, S);
}

void TListBoxStrings::Insert(int Index, const QString& S)
{
    if (Index < 0 || Index > FListBox->count())
        throw ERangeError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FListBox->insertText(Index, S);
}

void TListBoxStrings::Delete(int Index)
{
    FListBox->checkIndex(Index);
    // The item takes its state record with it.
    delete FListBox->takeItem(Index);
}

void TListBoxStrings::Clear()
{
    FListBox->clear();
}

int TListBoxStrings::IndexOf(const QString& S) const
{
    for (int i = 0; i < FListBox->count(); ++i)
        if (QString::compare(FListBox->item(i)->text(), S, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList TListBoxStrings::Text() const
{
    QStringList out;
    for (int i = 0; i < FListBox->count(); ++i)
        out << FListBox->item(i)->text();
    return out;
}

// ---- TQxListBox ---------------------------------------------------------------------------

TQxListBox::TQxListBox(QWidget* parent) : QListWidget(parent), FItems(this)
{
    setItemDelegate(new Delegate(this));
    setFocusPolicy(Qt::StrongFocus);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(false);
    setMouseTracking(false);
    resize(121, 97);
    SetColor(clWindow);
    applyFrame();
}

TQxListBox::~TQxListBox() = default;

void TQxListBox::checkIndex(int Index) const
{
    if (Index < 0 || Index >= count())
        throw ERangeError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

int TQxListBox::insertText(int Index, const QString& S)
{
    QListWidget::insertItem(Index, S);
    return Index;
}

int TQxListBox::sortedPosition(const QString& S) const
{
    // After every item that sorts before it or equal to it, ignoring case as the platform's
    // sorted list does.
    int at = 0;
    while (at < count() && QString::compare(item(at)->text(), S, Qt::CaseInsensitive) <= 0)
        ++at;
    return at;
}

QStringList TQxListBox::ItemStrings() const
{
    return FItems.Text();
}

void TQxListBox::SetItemStrings(const QStringList& value)
{
    clear();
    for (const QString& s : value)
        FItems.Add(s);
}

void TQxListBox::SetItemIndex(int value)
{
    if (value < 0 || value >= count()) {
        setCurrentRow(-1);
        clearSelection();
        return;
    }
    setCurrentRow(value);
}

bool TQxListBox::Selected(int Index) const
{
    checkIndex(Index);
    return item(Index)->isSelected();
}

void TQxListBox::SetSelected(int Index, bool value)
{
    checkIndex(Index);
    item(Index)->setSelected(value);
}

int TQxListBox::SelCount() const
{
    return int(selectedItems().size());
}

void TQxListBox::SetBorderStyle(Vcl::TFormBorderStyle value)
{
    if (FBorderStyle != value) {
        FBorderStyle = value;
        applyFrame();
    }
}

void TQxListBox::SetColor(TColor value)
{
    FColor = value;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, toQColor(value));
    pal.setColor(QPalette::Window, toQColor(value));
    setPalette(pal);
    viewport()->update();
}

void TQxListBox::SetCtl3D(bool value)
{
    if (FCtl3D != value) {
        FCtl3D = value;
        applyFrame();
        RecreateWnd();
    }
}

void TQxListBox::applyFrame()
{
    if (FBorderStyle == Vcl::bsNone) {
        setFrameStyle(QFrame::NoFrame);
    } else if (FCtl3D) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    } else {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    }
}

void TQxListBox::applyFontHeight()
{
    // Only a list that is on screen: a list being set up keeps the height it was given.
    if (FStyle == StdCtrls::lbStandard && testAttribute(Qt::WA_WState_Created)) {
        FItemHeight = QFontMetrics(font()).height();
        layoutChanged();
    }
}

void TQxListBox::layoutChanged()
{
    doItemsLayout();
    viewport()->update();
}

void TQxListBox::SetItemHeight(int value)
{
    if (value > 0 && FItemHeight != value) {
        FItemHeight = value;
        layoutChanged();
    }
}

void TQxListBox::SetMultiSelect(bool value)
{
    if (FMultiSelect != value) {
        FMultiSelect = value;
        setSelectionMode(value ? QAbstractItemView::ExtendedSelection
                               : QAbstractItemView::SingleSelection);
    }
}

void TQxListBox::SetSorted(bool value)
{
    if (FSorted == value)
        return;
    FSorted = value;
    if (!value || count() < 2)
        return;
    // The items themselves move, each with its state record.
    const int current = currentRow();
    QListWidgetItem* currentItem = current >= 0 ? item(current) : nullptr;
    QList<QListWidgetItem*> taken;
    while (count() > 0)
        taken << takeItem(0);
    std::stable_sort(taken.begin(), taken.end(), [](QListWidgetItem* a, QListWidgetItem* b) {
        return QString::compare(a->text(), b->text(), Qt::CaseInsensitive) < 0;
    });
    for (QListWidgetItem* it : taken)
        addItem(it);
    if (currentItem)
        setCurrentItem(currentItem);
}

void TQxListBox::SetStyle(StdCtrls::TListBoxStyle value)
{
    if (FStyle != value) {
        FStyle = value;
        layoutChanged();
    }
}

void TQxListBox::SetListBoxStyle(TListBoxStyle value)
{
    if (FListBoxStyle != value) {
        FListBoxStyle = value;
        viewport()->update();
    }
}

void TQxListBox::SetImageList(TImageList* value)
{
    if (FImageList != value) {
        FImageList = value;
        viewport()->update();
    }
}

void TQxListBox::SetFlat(bool value)
{
    if (FFlat != value) {
        FFlat = value;
        viewport()->update();
    }
}

// ---- per item -----------------------------------------------------------------------------

bool TQxListBox::GetChecked(int Index) const
{
    checkIndex(Index);
    const auto r = recordOf(item(Index));
    return r && r->State == cbChecked;
}

void TQxListBox::SetChecked(int Index, bool Checked)
{
    if (GetChecked(Index) != Checked)
        SetState(Index, Checked ? cbChecked : cbUnchecked);
}

TQxListBox::TCheckBoxState TQxListBox::GetState(int Index) const
{
    checkIndex(Index);
    const auto r = recordOf(item(Index));
    return r ? TCheckBoxState(r->State) : cbUnchecked;
}

void TQxListBox::SetState(int Index, TCheckBoxState State)
{
    if (GetState(Index) != State) {
        ListBoxStateRecord r = recordOf(item(Index)).value_or(ListBoxStateRecord{});
        r.State = State;
        storeRecord(item(Index), r);
        invalidateCheck(Index);
    }
}

bool TQxListBox::GetItemEnabled(int Index) const
{
    checkIndex(Index);
    const auto r = recordOf(item(Index));
    return !r || !r->Disabled;
}

void TQxListBox::SetItemEnabled(int Index, bool Enabled)
{
    if (GetItemEnabled(Index) != Enabled) {
        ListBoxStateRecord r = recordOf(item(Index)).value_or(ListBoxStateRecord{});
        r.Disabled = !Enabled;
        storeRecord(item(Index), r);
        viewport()->update(ItemRect(Index));
    }
}

int TQxListBox::GetItemData(int Index) const
{
    checkIndex(Index);
    const auto r = recordOf(item(Index));
    return r ? r->Data : 0;
}

void TQxListBox::SetItemData(int Index, int Data)
{
    checkIndex(Index);
    ListBoxStateRecord r = recordOf(item(Index)).value_or(ListBoxStateRecord{});
    r.Data = Data;
    // While the list is rebuilt the items come back in order, each through here.
    if (!FSaveStates.isEmpty()) {
        const quint32 saved = FSaveStates.takeFirst();
        const int state = int((saved >> 16) & 0xFF);
        r.State = state == cbChecked ? cbChecked : state == cbGrayed ? cbGrayed : cbUnchecked;
        r.Disabled = (saved & 0xFF) != 0;
    }
    storeRecord(item(Index), r);
}

int TQxListBox::GetItemImageIndex(int Index)
{
    if (Index < 0)
        return 0;
    if (FImageIndexes.size() <= Index) {
        while (FImageIndexes.size() <= Index)
            FImageIndexes << QStringLiteral("0");
        return 0;
    }
    return FImageIndexes.at(Index).toInt();
}

void TQxListBox::SetItemImageIndex(int Index, int ImageIndex)
{
    if (Index < 0)
        return;
    while (FImageIndexes.size() <= Index)
        FImageIndexes << QStringLiteral("0");
    FImageIndexes[Index] = QString::number(ImageIndex);
    if (Index < count())
        viewport()->update(ItemRect(Index));
}

void TQxListBox::ToggleClickCheck(int Index)
{
    if (Index < 0 || Index >= count() || !GetItemEnabled(Index))
        return;
    TCheckBoxState next = cbChecked;
    switch (GetState(Index)) {
    case cbUnchecked: next = FAllowGrayed ? cbGrayed : cbChecked; break;
    case cbChecked: next = cbUnchecked; break;
    case cbGrayed: next = cbChecked; break;
    }
    SetState(Index, next);
    if (OnClickCheck)
        qx::guard(this, [&] { OnClickCheck(this); });
}

void TQxListBox::RecreateWnd()
{
    // The states go into the saved list as the window's items are destroyed; the texts and
    // data values come back through SetItemData, which hands each item its saved state.
    const int current = currentRow();
    QStringList texts;
    QList<int> data;
    FSaveStates.clear();
    for (int i = 0; i < count(); ++i) {
        const auto r = recordOf(item(i));
        texts << item(i)->text();
        data << (r ? r->Data : 0);
        const quint32 state = quint32(r ? r->State : cbUnchecked) & 0xFF;
        FSaveStates.append((state << 16) | quint32(r && r->Disabled ? 1 : 0));
    }
    clear();
    for (int i = 0; i < texts.size(); ++i)
        insertText(i, texts.at(i));
    for (int i = 0; i < texts.size(); ++i)
        SetItemData(i, data.at(i));
    FSaveStates.clear();
    if (current >= 0 && current < count())
        setCurrentRow(current);
}

QRect TQxListBox::ItemRect(int Index) const
{
    if (Index < 0 || Index >= count())
        return {};
    return visualItemRect(item(Index));
}

int TQxListBox::ItemAtPos(const QPoint& Pos) const
{
    const QModelIndex index = indexAt(Pos);
    return index.isValid() ? index.row() : -1;
}

void TQxListBox::invalidateCheck(int Index)
{
    QRect r = ItemRect(Index);
    if (r.isEmpty())
        return;
    if (layoutDirection() == Qt::RightToLeft)
        r.setLeft(r.right() + 1 - CheckWidth);
    else
        r.setWidth(CheckWidth);
    viewport()->update(r);
}

// ---- drawing ------------------------------------------------------------------------------

int TQxListBox::MeasureItem(int Index)
{
    int height = ItemHeight();
    if (FStyle == StdCtrls::lbOwnerDrawVariable && OnMeasureItem)
        qx::guard(this, [&] { OnMeasureItem(this, Index, height); });
    return qMax(1, height);
}

void TQxListBox::DrawItem(QPainter& Canvas, int Index, const QRect& Rect, TOwnerDrawState State)
{
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const QColor back = toQColor(FColor);
    QRect text = Rect;

    // Takes a column of width w off the reading start of the text rectangle.
    auto takeColumn = [&](int w) {
        QRect col;
        if (rtl) {
            col = QRect(text.right() + 1 - w, text.top(), w, text.height());
            text.setRight(text.right() - w);
        } else {
            col = QRect(text.left(), text.top(), w, text.height());
            text.setLeft(text.left() + w);
        }
        Canvas.fillRect(col, back);
        return col;
    };

    if (FListBoxStyle & lbsCheckBox) {
        const QRect col = takeColumn(CheckWidth);
        const QRect box(col.left(), col.top() + (col.height() - CheckWidth) / 2, CheckWidth, CheckWidth);
        unsigned mark = DFCS_BUTTONCHECK;
        switch (GetState(Index)) {
        case cbChecked: mark |= DFCS_CHECKED; break;
        case cbGrayed: mark |= DFCS_CHECKED | DFCS_BUTTON3STATE; break;
        case cbUnchecked: break;
        }
        if (!isEnabled() || !GetItemEnabled(Index))
            mark |= DFCS_INACTIVE;
        if (FFlat) {
            // Clipping the drawing to the inside of the box drops its 3-D border; a plain
            // one-pixel outline takes its place.
            Canvas.save();
            Canvas.setClipRect(box.adjusted(2, 2, -2, -2));
            qx::drawFrameControlButton(Canvas, box, mark);
            Canvas.restore();
            Canvas.setPen(toQColor(clBtnShadow));
            Canvas.setBrush(Qt::NoBrush);
            Canvas.drawRect(box.adjusted(1, 1, -2, -2));
        } else {
            qx::drawFrameControlButton(Canvas, box, mark);
        }
    }
    if ((FListBoxStyle & lbsBitmap) && FImageList) {
        const QRect col = takeColumn(FImageList->Width());
        const int y = Rect.top() + (ItemHeight() - FImageList->Height()) / 2;
        FImageList->Draw(Canvas, col.left(), y, GetItemImageIndex(Index));
    }

    // The text part, with the colours the platform sets before any item drawing.
    QColor brush = State.testFlag(odSelected) ? toQColor(clHighlight) : back;
    QColor pen = State.testFlag(odSelected) ? toQColor(clHighlightText) : toQColor(clWindowText);
    if (!isEnabled() || !GetItemEnabled(Index))
        pen = toQColor(clGrayText);
    Canvas.setFont(font());
    Canvas.setBrush(brush);
    Canvas.setPen(pen);
    if (FStyle != StdCtrls::lbStandard && OnDrawItem) {
        FCanvas = &Canvas;
        qx::guard(this, [&] { OnDrawItem(this, Index, text, State); });
        FCanvas = nullptr;
    } else {
        Canvas.fillRect(text, brush);
        const QFontMetrics fm(font());
        Canvas.setClipRect(text);
        const QString s = item(Index)->text();
        if (rtl)
            Canvas.drawText(text.right() - 2 - fm.horizontalAdvance(s), text.top() + fm.ascent(), s);
        else
            Canvas.drawText(text.left() + 2, text.top() + fm.ascent(), s);
        Canvas.setClipping(false);
    }
    if (State.testFlag(odFocused)) {
        QPen dots(toQColor(clWindowText), 1, Qt::DotLine);
        Canvas.setPen(dots);
        Canvas.setBrush(Qt::NoBrush);
        Canvas.drawRect(text.adjusted(0, 0, -1, -1));
    }
}

// ---- input --------------------------------------------------------------------------------

void TQxListBox::Click()
{
    if (OnClick)
        qx::guard(this, [&] { OnClick(this); });
}

void TQxListBox::DblClick()
{
    if (OnDblClick)
        qx::guard(this, [&] { OnDblClick(this); });
}

int TQxListBox::checkAreaHit(const QPoint& pos) const
{
    const int index = ItemAtPos(pos);
    if (index < 0 || !GetItemEnabled(index))
        return -1;
    // The first 15 pixels of an item flip its check, whether a box is shown there or not.
    const QRect r = ItemRect(index);
    const bool inCheck = layoutDirection() == Qt::RightToLeft ? pos.x() > r.right() - CheckWidth
                                                              : pos.x() < r.left() + CheckWidth;
    return inCheck ? index : -1;
}

void TQxListBox::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int index = ItemAtPos(pos);
    if (event->button() == Qt::LeftButton)
        if (const int hit = checkAreaHit(pos); hit >= 0)
            ToggleClickCheck(hit);
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && index >= 0)
        Click();
}

void TQxListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QListWidget::mouseDoubleClickEvent(event);
        return;
    }
    // The second press of a double click comes as the double click itself: in the check
    // column it flips the item as any press there does, and the double click then flips the
    // current item once more, so a double click on a box changes it, as on the platform.
    if (const int hit = checkAreaHit(event->position().toPoint()); hit >= 0)
        ToggleClickCheck(hit);
    QListWidget::mouseDoubleClickEvent(event);
    DblClick();
    ToggleClickCheck(currentRow());
}

void TQxListBox::keyPressEvent(QKeyEvent* event)
{
    int key = qx::vkFromKeyEvent(event);
    if (OnKeyDown && key != 0) {
        qx::guard(this, [&] { OnKeyDown(this, key, qx::shiftState(event)); });
        if (key == 0) {
            event->accept();
            return;
        }
    }
    if (key == VK_RETURN) {
        qx::selectNextControl(this, true);
        event->accept();
        return;
    }
    // The keypad's '+' and a typed space flip the current item. Ctrl flips nothing: it
    // starts shortcuts (Ctrl+C, Ctrl+S) and repeats while held, which would change ticks
    // behind the user's back; a held key flips once, not on every repeat.
    if (qx::isKeypadPlus(event)) {
        if (isEnabled() && !event->isAutoRepeat())
            ToggleClickCheck(currentRow());
        event->accept();
        return;
    }
    const bool space = event->text() == QLatin1String(" ");
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (space) {
        if (!event->isAutoRepeat())
            ToggleClickCheck(currentRow());
        event->accept();
        return;
    }
    if (currentRow() != before)
        Click();
}

void TQxListBox::contextMenuEvent(QContextMenuEvent* event)
{
    if (FPopupMenu) {
        FPopupMenu->popup(event->globalPos());
        event->accept();
        return;
    }
    QListWidget::contextMenuEvent(event);
}

void TQxListBox::changeEvent(QEvent* event)
{
    QListWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        applyFontHeight();
        break;
    case QEvent::EnabledChange:
        viewport()->update();
        break;
    default:
        break;
    }
}
