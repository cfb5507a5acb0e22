#include "usystem/vcl/gridlink/QxPopupLists.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/ui/Popup.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace {

qint64 monotonicMs()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

} // namespace

// ---- TPopupListbox -------------------------------------------------------------------------

TPopupListbox::TPopupListbox(QWidget* editor, TCloseUpHandler CloseUp)
    : QListWidget(editor)
    , TickCount(monotonicMs)
    , FEditor(editor)
    , FCloseUp(std::move(CloseUp))
{
    // A window of its own over the form that never takes the focus: the editor keeps typing.
    qx::makeNonActivatingPopup(this);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // It never has the focus, yet its chosen line is shown as in a focused list.
    QPalette pal = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    setPalette(pal);
    hide();
}

TPopupListbox::~TPopupListbox() = default;

int TPopupListbox::ItemHeight() const
{
    const int h = count() > 0 ? sizeHintForRow(0) : -1;
    return h > 0 ? h : fontMetrics().height() + 2;
}

void TPopupListbox::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Escape) {
        SearchText.clear();
    } else if (typed.size() == 1 && typed[0].unicode() >= 32 && typed[0] != QChar(127)) {
        const qint64 now = TickCount ? TickCount() : monotonicMs();
        if (now - SearchTickCount > SearchPause)
            SearchText.clear();
        SearchTickCount = now;
        if (SearchText.size() < SearchLimit)
            SearchText += typed;
        for (int i = 0; i < count(); ++i) {
            if (item(i)->text().startsWith(SearchText, Qt::CaseInsensitive)) {
                setCurrentRow(i);
                break;
            }
        }
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TPopupListbox::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !FEditor || !FCloseUp)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside) {
        if (QListWidgetItem* hit = itemAt(viewport()->mapFrom(this, event->position().toPoint())))
            setCurrentItem(hit);
    }
    FCloseUp(inside);
}

QVariant TPopupListbox::ChosenValue() const
{
    const QListWidgetItem* line = currentItem();
    return line && line->isSelected() ? QVariant(line->text()) : QVariant();
}

void TPopupListbox::TakeLook(QWidget* editor, const QColor& Base)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Base);
    setPalette(pal);
    setFont(editor->font());
    SearchText.clear();
}

void TPopupListbox::DropDownPickList(QWidget* editor, const QColor& Base, const QStringList& Items,
                                     const TField* Field, int Rows, int ScrollBarWidth)
{
    TakeLook(editor, Base);
    clear();
    addItems(Items);
    setCurrentRow(-1);
    if (Field && !Field->IsNull()) {
        const QString current = Field->Text();
        for (int i = 0; i < count(); ++i) {
            if (item(i)->text() == current) {
                setCurrentRow(i);
                break;
            }
        }
    }
    // Wide enough for the widest line.
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, fontMetrics().horizontalAdvance(item(i)->text()));
    const int frame = 2 * frameWidth() + 6;
    const bool scrolls = count() > Rows;
    PlaceUnder(editor, std::max(editor->width(), widest + frame + (scrolls ? ScrollBarWidth : 0)),
               Rows);
}

void TPopupListbox::PlaceUnder(QWidget* editor, int Width, int Rows)
{
    const int rows = std::max(1, std::min(count(), std::max(1, Rows)));
    setVerticalScrollBarPolicy(count() > rows ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    resize(Width, rows * ItemHeight() + 4);
    if (currentRow() >= 0)
        scrollToItem(currentItem());
    // Under the editor, or above it where the screen ends.
    QPoint pos = editor->mapToGlobal(QPoint(0, editor->height()));
    const QScreen* screen = editor->screen();
    if (screen && pos.y() + height() > screen->geometry().bottom() + 1)
        pos = editor->mapToGlobal(QPoint(0, -height()));
    move(pos);
    show();
    raise();
}

// ---- TPopupDataList ------------------------------------------------------------------------

TPopupDataList::TPopupDataList(QWidget* editor, TCloseUpHandler CloseUp)
    : TPopupListbox(editor, std::move(CloseUp))
{}

TPopupDataList::~TPopupDataList() = default;

void TPopupDataList::Fill(TDataSet* DataSet, const QString& KeyField, const QString& ListField)
{
    clear();
    FKeyField = KeyField;
    FListField = ListField;
    if (!DataSet || !DataSet->Active())
        return;
    const std::vector<TField*> keys = DataSet->GetFieldList(KeyField);
    TField* shown = DataSet->FindField(ListField.section(u';', 0, 0).trimmed());
    if (keys.empty() || !shown)
        return;
    // Read row by row without moving the lookup table's cursor.
    DataSet->ForEachRecord([&] {
        auto* line = new QListWidgetItem(shown->DisplayText(), this);
        QVariantList key;
        for (TField* k : keys)
            key << k->Value();
        line->setData(Qt::UserRole, keys.size() == 1 ? key.first() : QVariant(key));
        return true;
    });
}

QVariant TPopupDataList::KeyValue() const
{
    const QListWidgetItem* line = currentItem();
    return line && line->isSelected() ? line->data(Qt::UserRole) : QVariant();
}

void TPopupDataList::SetKeyValue(const QVariant& Value)
{
    setCurrentRow(-1);
    if (!Value.isValid() || Value.isNull())
        return;
    for (int i = 0; i < count(); ++i) {
        const QVariant key = item(i)->data(Qt::UserRole);
        if (key == Value
            || (key.typeId() == QMetaType::QString
                && key.toString().compare(Value.toString(), Qt::CaseInsensitive) == 0)) {
            setCurrentRow(i);
            return;
        }
    }
}

void TPopupDataList::DropDownLookup(QWidget* editor, const QColor& Base, TField* Field,
                                    TDataSet* DataSet, TDataSource* LookupSource, int Rows)
{
    TakeLook(editor, Base);
    TDataSet* lookup = Field ? Field->LookupDataSet() : nullptr;
    if (LookupSource)
        LookupSource->SetDataSet(lookup);
    Fill(lookup, Field ? Field->LookupKeyFields() : QString(),
         Field ? Field->LookupResultField() : QString());
    QVariant key;
    if (DataSet && Field) {
        const std::vector<TField*> keys = DataSet->GetFieldList(Field->KeyFields());
        QVariantList values;
        for (TField* k : keys)
            values << (k->IsNull() ? QVariant() : k->Value());
        if (values.size() == 1)
            key = values.first();
        else if (!values.isEmpty())
            key = values;
    }
    SetKeyValue(key);
    PlaceUnder(editor, editor->width(), Rows);
}

void TPopupDataList::WriteKey(TField* Field, TDataSet* DataSet, const QVariant& Key,
                              const std::function<bool()>& StartEdit)
{
    if (!Field || !DataSet || !Key.isValid())
        return;
    const std::vector<TField*> keys = DataSet->GetFieldList(Field->KeyFields());
    if (keys.empty())
        return;
    for (TField* k : keys)
        if (!k->CanModify())
            return;
    if (!StartEdit || !StartEdit())
        return;
    const QVariantList values = keys.size() == 1 ? QVariantList{Key} : Key.toList();
    for (std::size_t i = 0; i < keys.size() && int(i) < values.size(); ++i)
        keys[i]->SetValue(values[int(i)]);
}
