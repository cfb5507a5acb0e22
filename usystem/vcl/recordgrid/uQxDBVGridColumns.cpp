// The record grid's field rows and their collection. The values and their rules are the shared
// column model's (QxGridColumn.h); here: the row classes, the move of a pass-through row with
// its field, and how a changed row reaches the grid.
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

// ---- titles ----------------------------------------------------------------------------------

TVColumnTitle::TVColumnTitle(TVColumn* column)
    : qx::GridColumnTitle(column)
{
    // The title cells of all rows share one height: a font of one changes them all.
    SetFontChangesAll(true);
}

TVColumnTitle::~TVColumnTitle() = default;

TVColumn* TVColumnTitle::Column() const
{
    return static_cast<TVColumn*>(OwningColumn());
}

TPassthroughColumnTitle::TPassthroughColumnTitle(TVColumn* column)
    : TVColumnTitle(column)
{}

TPassthroughColumnTitle::~TPassthroughColumnTitle() = default;

// ---- rows ------------------------------------------------------------------------------------

namespace {
TVColumnTitle* plainTitle(TVColumn* column)
{
    return new TVColumnTitle(column);
}
TVColumnTitle* passthroughTitle(TVColumn* column)
{
    return new TPassthroughColumnTitle(column);
}
} // namespace

TVColumn::TVColumn(qx::Collection* collection)
    : TVColumn(collection, plainTitle)
{}

TVColumn::TVColumn(qx::Collection* collection, TVColumnTitle* (*makeTitle)(TVColumn*))
    : qx::GridColumn(collection)
{
    InitTitle(makeTitle(this));
    if (auto* rows = qobject_cast<TQxDBVGridColumns*>(collection))
        rows->Notify(nullptr);
}

TVColumn::~TVColumn() = default;

TQxDBVGridColumns* TVColumn::Columns() const
{
    return qobject_cast<TQxDBVGridColumns*>(collection());
}

TQxCustomDBVGrid* TVColumn::Grid() const
{
    TQxDBVGridColumns* rows = Columns();
    return rows ? rows->Grid() : nullptr;
}

void TVColumn::SetIndex(int Value)
{
    setIndex(Value);
}

QString TVColumn::DisplayName() const
{
    return FFieldName.isEmpty() ? QStringLiteral("TVColumn") : FFieldName;
}

TPassthroughColumn::TPassthroughColumn(qx::Collection* collection)
    : TVColumn(collection, passthroughTitle)
{}

TPassthroughColumn::~TPassthroughColumn() = default;

void TPassthroughColumn::SetIndex(int Value)
{
    TQxCustomDBVGrid* grid = Grid();
    TField* field = Field();
    if (grid && grid->DataLink()->Active() && field) {
        // The rows follow the field order: the field goes where the row is going.
        if (TField* target = grid->DataLink()->GetFields(Value))
            field->SetIndex(target->Index());
    }
    TVColumn::SetIndex(Value);
}

// ---- the collection --------------------------------------------------------------------------

TQxDBVGridColumns::TQxDBVGridColumns(TQxCustomDBVGrid* grid)
    : qx::GridColumns(
          [](qx::Collection* c) -> qx::GridColumn* {
              auto* rows = static_cast<TQxDBVGridColumns*>(c);
              if (rows->MakingDefaultColumn())
                  return new TPassthroughColumn(c);
              return new TVColumn(c);
          },
          grid, grid)
    , FGrid(grid)
{}

TQxDBVGridColumns::~TQxDBVGridColumns()
{
    FGrid = nullptr;
    DetachHost();
}

TVColumn* TQxDBVGridColumns::Add()
{
    return static_cast<TVColumn*>(add());
}

TPassthroughColumn* TQxDBVGridColumns::AddPassthrough()
{
    return static_cast<TPassthroughColumn*>(AddDefault());
}

TQxDBVGridColumnsState TQxDBVGridColumns::GetState() const
{
    return (count() > 0 && !Items(0)->IsPassthrough()) ? vcsCustomized : vcsDefault;
}

void TQxDBVGridColumns::update(qx::CollectionItem* item)
{
    if (!FGrid || FGrid->Loading())
        return;
    if (auto* row = static_cast<TVColumn*>(item)) {
        // One row changed: its grid row is repainted (the rows give the grid no widths).
        const int raw = row->index() + FGrid->IndicatorOffset();
        if (raw >= 0 && raw < FGrid->RowCount())
            FGrid->InvalidateRow(raw);
    } else {
        FGrid->LayoutChanged();
    }
}
