// The data grid's column model: titles, columns and the column collection. The values and
// their rules are the shared column model's (QxGridColumn.h): a value a column was not given
// reads as its default (the field's, the grid's), so a default column follows its field and a
// stored column keeps only what the user or the form chose. Here: what only the data grid's
// columns have (visibility, the button's picture, tab stops), and the collection.
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include "platform/ui/Glyphs.h"

#include <QPainter>

namespace {

// The small pictures of the cell's ellipsis button: a calendar for dates, a lined page for
// memo texts, three dots for the rest.
QImage defaultButtonGlyph(TFieldType type)
{
    if (type == ftDateTime || type == ftDate || type == ftTime)
        return qx::libraryGlyph(qx::LibraryGlyph::Calendar).toImage();
    if (type == ftMemo || type == ftFmtMemo) {
        QImage img(12, 12, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(1, 0, 9, 11);
        for (int y = 3; y <= 9; y += 2)
            p.drawLine(3, y, 8, y);
        return img;
    }
    return qx::libraryGlyph(qx::LibraryGlyph::Ellipsis).toImage();
}

} // namespace

// ---- TQxColumnTitle ----------------------------------------------------------------------

TQxColumnTitle::TQxColumnTitle(TQxColumn* column)
    : qx::GridColumnTitle(column)
{}

TQxColumnTitle::~TQxColumnTitle() = default;

TQxColumn* TQxColumnTitle::Column() const
{
    return static_cast<TQxColumn*>(OwningColumn());
}

// ---- TQxColumn -----------------------------------------------------------------------------

TQxColumn::TQxColumn(qx::Collection* collection)
    : qx::GridColumn(collection)
{
    auto* cols = qobject_cast<TQxDBGridColumns*>(collection);
    FStored = !(cols && cols->MakingDefaultColumn());
    InitTitle(new TQxColumnTitle(this));
    if (cols)
        cols->Notify(nullptr);
}

TQxColumn::~TQxColumn() = default;

TQxDBGridColumns* TQxColumn::Columns() const
{
    return qobject_cast<TQxDBGridColumns*>(collection());
}

TQxCustomDBGrid* TQxColumn::Grid() const
{
    TQxDBGridColumns* c = Columns();
    return c ? c->Grid() : nullptr;
}

void TQxColumn::ButtonStyleChanged()
{
    if (FButtonStyle == cbsEllipsis && FGlyph.isNull()) {
        if (TField* f = Field())
            FGlyph = defaultButtonGlyph(f->DataType());
    }
}

bool TQxColumn::Expanded() const
{
    return FExpanded && Expandable();
}

void TQxColumn::SetExpanded(bool value)
{
    if (value == FExpanded)
        return;
    FExpanded = value;
    Changed(true);
}

void TQxColumn::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Changed(true);
}

void TQxColumn::SetGlyph(const QImage& value)
{
    FGlyph = value;
}

bool TQxColumn::Showing() const
{
    return !Expanded() && GetVisible();
}

QString TQxColumn::DisplayName() const
{
    return FFieldName.isEmpty() ? QStringLiteral("TQxColumn") : FFieldName;
}

void TQxColumn::AssignMore(const qx::GridColumn* source)
{
    const auto* column = qobject_cast<const TQxColumn*>(source);
    if (!column)
        return;
    FVisible = column->FVisible;
    FExpanded = column->FExpanded;
    FGlyph = column->FGlyph;
    FFixedColumns = column->FFixedColumns;
    FTabStop = column->FTabStop;
}

std::optional<bool> TQxColumn::isPropertyStored(const char* name) const
{
    const QByteArray n(name);
    if (n == "Expanded")
        return !Expanded();
    if (n == "Glyph")
        return !FGlyph.isNull();
    return qx::GridColumn::isPropertyStored(name);
}

// ---- TQxDBGridColumns --------------------------------------------------------------------

TQxDBGridColumns::TQxDBGridColumns(TQxCustomDBGrid* grid)
    : qx::GridColumns([](qx::Collection* c) -> qx::GridColumn* { return new TQxColumn(c); },
                      grid, grid)
    , FGrid(grid)
{}

TQxDBGridColumns::~TQxDBGridColumns()
{
    FGrid = nullptr;
    DetachHost();
}

TQxColumn* TQxDBGridColumns::Add()
{
    return static_cast<TQxColumn*>(add());
}

TQxDBGridColumnsState TQxDBGridColumns::State() const
{
    return (count() > 0 && Items(0)->IsStored()) ? csCustomized : csDefault;
}

void TQxDBGridColumns::SetState(TQxDBGridColumnsState value)
{
    if (value == State())
        return;
    if (value == csCustomized)
        RebuildColumns();
    else {
        BeginUpdate();
        clear();
        EndUpdate();
    }
}

void TQxDBGridColumns::RebuildColumns()
{
    TDataSet* ds = FGrid ? FGrid->DataLink()->DataSet() : nullptr;
    if (!ds) {
        clear();
        return;
    }
    FGrid->BeginLayout();
    try {
        clear();
        const TFields* fields = ds->Fields();
        for (int i = 0; i < fields->Count(); ++i) {
            TQxColumn* col = Add();
            col->FFieldName = fields->Fields(i)->FullName();
        }
    } catch (...) {
        FGrid->EndLayout();
        throw;
    }
    FGrid->EndLayout();
}

void TQxDBGridColumns::update(qx::CollectionItem* item)
{
    if (!FGrid || FGrid->Loading())
        return;
    auto* col = static_cast<TQxColumn*>(item);
    if (col) {
        const int raw = FGrid->DataToRawColumn(col->index());
        if (raw >= 0 && raw < FGrid->ColCount()) {
            FGrid->InvalidateCol(raw);
            FGrid->SetColWidths(raw, col->Showing() ? col->Width() : -1);
        }
    } else {
        FGrid->LayoutChanged();
    }
}

TQxColumn* ColumnByFieldName(const TQxCustomDBGrid* Grid, const QString& FieldName)
{
    if (!Grid)
        return nullptr;
    TQxDBGridColumns* columns = Grid->Columns();
    for (int i = 0; i < columns->Count(); ++i)
        if (columns->Items(i)->FieldName().compare(FieldName, Qt::CaseInsensitive) == 0)
            return columns->Items(i);
    return nullptr;
}
