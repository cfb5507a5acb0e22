// The data grid's column model: titles, columns and the column collection. A value a column
// was not given reads as its default (the field's, the grid's), so a default column follows
// its field and a stored column keeps only what the user or the form chose.
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include "platform/ui/Glyphs.h"

#include <QFontMetrics>
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
    : qx::PersistentObject(column)
    , FColumn(column)
{
    setObjectName(QStringLiteral("Title"));
}

TQxColumnTitle::~TQxColumnTitle() = default;

TAlignment TQxColumnTitle::Alignment() const
{
    return (FColumn->FAssignedValues & TQxColumn::cvTitleAlignment) ? FAlignment : ::taLeftJustify;
}

void TQxColumnTitle::SetAlignment(TAlignment value)
{
    if ((FColumn->FAssignedValues & TQxColumn::cvTitleAlignment) && value == FAlignment)
        return;
    FAlignment = value;
    FColumn->FAssignedValues |= TQxColumn::cvTitleAlignment;
    FColumn->Changed();
}

QString TQxColumnTitle::DefaultCaption() const
{
    if (TField* f = FColumn->Field())
        return f->DisplayName();
    return FColumn->FieldName();
}

QString TQxColumnTitle::Caption() const
{
    return (FColumn->FAssignedValues & TQxColumn::cvTitleCaption) ? FCaption : DefaultCaption();
}

void TQxColumnTitle::SetCaption(const QString& value)
{
    if (!FColumn->IsStored()) {
        // A default column shows its field's label: change the label, not the column.
        TQxCustomDBGrid* grid = FColumn->Grid();
        TField* f = FColumn->Field();
        if (grid && grid->DataLink()->Active() && f)
            f->SetDisplayLabel(value);
        return;
    }
    if ((FColumn->FAssignedValues & TQxColumn::cvTitleCaption) && value == FCaption)
        return;
    FCaption = value;
    FColumn->FAssignedValues |= TQxColumn::cvTitleCaption;
    FColumn->Changed();
}

TColor TQxColumnTitle::Color() const
{
    if (FColumn->FAssignedValues & TQxColumn::cvTitleColor)
        return FColor;
    if (TQxCustomDBGrid* grid = FColumn->Grid())
        return grid->FixedColor();
    return clBtnFace;
}

void TQxColumnTitle::SetColor(TColor value)
{
    if ((FColumn->FAssignedValues & TQxColumn::cvTitleColor) && value == FColor)
        return;
    FColor = value;
    FColumn->FAssignedValues |= TQxColumn::cvTitleColor;
    FColumn->Changed();
}

QFont TQxColumnTitle::Font() const
{
    if (FColumn->FAssignedValues & TQxColumn::cvTitleFont)
        return FFont;
    if (TQxCustomDBGrid* grid = FColumn->Grid())
        return grid->TitleFont();
    return FColumn->Font();
}

void TQxColumnTitle::SetFont(const QFont& value)
{
    FFont = value;
    FColumn->FAssignedValues |= TQxColumn::cvTitleFont;
    FColumn->Changed();
}

void TQxColumnTitle::RestoreDefaults()
{
    const bool fontAssigned = FColumn->FAssignedValues & TQxColumn::cvTitleFont;
    FColumn->FAssignedValues &= ~(TQxColumn::cvTitleColor | TQxColumn::cvTitleCaption
                                  | TQxColumn::cvTitleAlignment | TQxColumn::cvTitleFont);
    FCaption.clear();
    FFont = QFont();
    // A changed font changes the title row's height: the whole grid is laid out again.
    FColumn->Changed(fontAssigned);
}

void TQxColumnTitle::Assign(const TQxColumnTitle* source)
{
    if (!source)
        return;
    const TQxColumn::TColumnValues a = source->FColumn->FAssignedValues;
    if (a & TQxColumn::cvTitleAlignment)
        SetAlignment(source->Alignment());
    if (a & TQxColumn::cvTitleColor)
        SetColor(source->Color());
    if (a & TQxColumn::cvTitleCaption) {
        // Copied as a value of this column, whether or not the column is stored.
        FCaption = source->Caption();
        FColumn->FAssignedValues |= TQxColumn::cvTitleCaption;
    }
    if (a & TQxColumn::cvTitleFont)
        SetFont(source->Font());
}

std::optional<bool> TQxColumnTitle::isPropertyStored(const char* name) const
{
    const TQxColumn::TColumnValues a = FColumn->FAssignedValues;
    const QByteArray n(name);
    if (n == "Alignment")
        return (a & TQxColumn::cvTitleAlignment) && FAlignment != ::taLeftJustify;
    if (n == "Caption")
        return (a & TQxColumn::cvTitleCaption) && FCaption != DefaultCaption();
    if (n == "Color") {
        const TColor def = FColumn->Grid() ? FColumn->Grid()->FixedColor() : clBtnFace;
        return (a & TQxColumn::cvTitleColor) && FColor != def;
    }
    if (n == "Font")
        return bool(a & TQxColumn::cvTitleFont);
    return std::nullopt;
}

// ---- TQxColumn -----------------------------------------------------------------------------

TQxColumn::TQxColumn(qx::Collection* collection)
    : qx::CollectionItem(collection)
{
    auto* cols = qobject_cast<TQxDBGridColumns*>(collection);
    FStored = !(cols && cols->MakingDefaultColumn());
    FTitle = new TQxColumnTitle(this);
    FFont = DefaultFont();
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

void TQxColumn::Changed(bool allItems)
{
    if (TQxDBGridColumns* c = Columns())
        c->Notify(allItems ? nullptr : this);
}

TField* TQxColumn::Field() const
{
    if (!FField && !FFieldName.isEmpty()) {
        TQxCustomDBGrid* grid = Grid();
        TDataSet* ds = grid ? grid->DataLink()->DataSet() : nullptr;
        if (ds && (ds->Active() || !ds->DefaultFields()))
            FField = ds->FindField(FFieldName);
    }
    return FField;
}

void TQxColumn::SetFieldName(const QString& value)
{
    TField* found = nullptr;
    TQxCustomDBGrid* grid = Grid();
    TDataSet* ds = grid ? grid->DataLink()->DataSet() : nullptr;
    if (grid && !grid->Loading() && ds && !value.isEmpty())
        found = ds->FindField(value);
    FFieldName = value;
    SetField(found);
    Changed();
}

void TQxColumn::SetField(TField* value)
{
    if (FField == value)
        return;
    FField = value;
    if (value)
        FFieldName = value->FullName();
    if (!FStored) {
        if (!value)
            FFieldName.clear();
        RestoreDefaults();
    }
}

TAlignment TQxColumn::DefaultAlignment() const
{
    if (TField* f = Field())
        return f->Alignment();
    return ::taLeftJustify;
}

TAlignment TQxColumn::Alignment() const
{
    return (FAssignedValues & cvAlignment) ? FAlignment : DefaultAlignment();
}

void TQxColumn::SetAlignment(TAlignment value)
{
    TQxCustomDBGrid* grid = Grid();
    if (!FStored && grid && grid->DataLink()->Active() && Field()) {
        Field()->SetAlignment(value);
        return;
    }
    if ((FAssignedValues & cvAlignment) && value == FAlignment)
        return;
    FAlignment = value;
    FAssignedValues |= cvAlignment;
    Changed();
}

void TQxColumn::SetButtonStyle(TQxColumnButtonStyle value)
{
    if (value == FButtonStyle)
        return;
    FButtonStyle = value;
    if (value == cbsEllipsis && FGlyph.isNull()) {
        if (TField* f = Field())
            FGlyph = defaultButtonGlyph(f->DataType());
    }
    Changed();
}

TColor TQxColumn::DefaultColor() const
{
    if (TQxCustomDBGrid* grid = Grid())
        return grid->Color();
    return clWindow;
}

TColor TQxColumn::Color() const
{
    return (FAssignedValues & cvColor) ? FColor : DefaultColor();
}

void TQxColumn::SetColor(TColor value)
{
    if ((FAssignedValues & cvColor) && value == FColor)
        return;
    FColor = value;
    FAssignedValues |= cvColor;
    Changed();
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

QFont TQxColumn::DefaultFont() const
{
    if (TQxCustomDBGrid* grid = Grid())
        return grid->font();
    return QFont();
}

QFont TQxColumn::Font() const
{
    return (FAssignedValues & cvFont) ? FFont : DefaultFont();
}

void TQxColumn::SetFont(const QFont& value)
{
    FFont = value;
    FAssignedValues |= cvFont;
    Changed(true);
}

TQxColumn::TImeMode TQxColumn::DefaultImeMode() const
{
    if (TQxCustomDBGrid* grid = Grid())
        return grid->ImeMode();
    return imDontCare;
}

TQxColumn::TImeMode TQxColumn::ImeMode() const
{
    return (FAssignedValues & cvImeMode) ? FImeMode : DefaultImeMode();
}

void TQxColumn::SetImeMode(TImeMode value)
{
    if ((FAssignedValues & cvImeMode) || value != DefaultImeMode())
        FAssignedValues |= cvImeMode;
    FImeMode = value;
    Changed();
}

QString TQxColumn::DefaultImeName() const
{
    if (TQxCustomDBGrid* grid = Grid())
        return grid->ImeName();
    return QString();
}

QString TQxColumn::ImeName() const
{
    return (FAssignedValues & cvImeName) ? FImeName : DefaultImeName();
}

void TQxColumn::SetImeName(const QString& value)
{
    if ((FAssignedValues & cvImeName) || value != DefaultImeName())
        FAssignedValues |= cvImeName;
    FImeName = value;
    Changed();
}

void TQxColumn::SetPickList(const QStringList& value)
{
    if (value.isEmpty()) {
        FPickList.reset();
        return;
    }
    if (!FPickList)
        FPickList = std::make_unique<QStringList>();
    *FPickList = value;
}

void TQxColumn::SetPopupMenu(QMenu* value)
{
    // The QPointer forgets a menu that is freed elsewhere.
    FPopupMenu = value;
}

bool TQxColumn::DefaultReadOnly() const
{
    TQxCustomDBGrid* grid = Grid();
    TField* f = Field();
    return (grid && grid->ReadOnly()) || (f && f->ReadOnly());
}

bool TQxColumn::ReadOnly() const
{
    return (FAssignedValues & cvReadOnly) ? FReadOnly : DefaultReadOnly();
}

void TQxColumn::SetReadOnly(bool value)
{
    TQxCustomDBGrid* grid = Grid();
    if (!FStored && grid && grid->DataLink()->Active() && Field()) {
        Field()->SetReadOnly(value);
        return;
    }
    if ((FAssignedValues & cvReadOnly) && value == FReadOnly)
        return;
    FReadOnly = value;
    FAssignedValues |= cvReadOnly;
    Changed();
}

int TQxColumn::DefaultWidth() const
{
    TQxCustomDBGrid* grid = Grid();
    if (!grid)
        return 64;
    TField* f = Field();
    if (!f)
        return grid->DefaultColWidth();
    const QFontMetrics fm(Font());
    int w = fm.horizontalAdvance(QLatin1Char('0')) * f->DisplayWidth() + 4;
    if (grid->Options() & dgTitles) {
        const QFontMetrics tm(FTitle->Font());
        w = std::max(w, tm.horizontalAdvance(FTitle->Caption()) + 4);
    }
    return w;
}

int TQxColumn::Width() const
{
    return (FAssignedValues & cvWidth) ? FWidth : DefaultWidth();
}

void TQxColumn::SetWidth(int value)
{
    TQxCustomDBGrid* grid = Grid();
    if (!FStored && grid) {
        TField* f = Field();
        if (f && grid->UpdateFields() && value > 0) {
            // The field keeps the width in characters of the column's font, so the next
            // default column made for it comes back this wide.
            const QFontMetrics fm(Font());
            const int avg = std::max(1, fm.averageCharWidth());
            const int chars = (value + avg / 2 - 3) / avg;
            if (chars > 0 && chars != f->DisplayWidth()) {
                const bool keep = grid->FLayoutFromDataset;
                grid->FLayoutFromDataset = true;
                try {
                    f->SetDisplayWidth(chars);
                } catch (...) {
                    grid->FLayoutFromDataset = keep;
                    throw;
                }
                grid->FLayoutFromDataset = keep;
            }
        }
        if (grid->FLayoutFromDataset && !(FAssignedValues & cvWidth)) {
            Changed();
            return;
        }
    }
    if (((FAssignedValues & cvWidth) || value != DefaultWidth()) && value != -1) {
        FWidth = value;
        FAssignedValues |= cvWidth;
    }
    Changed();
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

void TQxColumn::RestoreDefaults()
{
    const bool fontAssigned = FAssignedValues & cvFont;
    TQxDBGridColumns* cols = Columns();
    if (cols)
        cols->BeginUpdate();
    try {
        FTitle->RestoreDefaults();
    } catch (...) {
        if (cols)
            cols->EndUpdate();
        throw;
    }
    FAssignedValues = {};
    FFont = DefaultFont();
    FPickList.reset();
    FButtonStyle = cbsAuto;
    if (cols) {
        // One notice for the whole reset; a font change re-lays every column out.
        cols->EndUpdate();
        if (!fontAssigned)
            cols->Notify(this);
    }
}

void TQxColumn::Assign(const TQxColumn* source)
{
    if (!source || source == this)
        return;
    TQxDBGridColumns* cols = Columns();
    if (cols)
        cols->BeginUpdate();
    try {
        RestoreDefaults();
        FFieldName = source->FFieldName;
        FField = nullptr;
        const TColumnValues a = source->FAssignedValues;
        if (a & cvColor)
            SetColor(source->Color());
        if (a & cvWidth) {
            FWidth = source->FWidth;
            FAssignedValues |= cvWidth;
        }
        if (a & cvFont)
            SetFont(source->Font());
        if (a & cvImeMode) {
            FImeMode = source->FImeMode;
            FAssignedValues |= cvImeMode;
        }
        if (a & cvImeName) {
            FImeName = source->FImeName;
            FAssignedValues |= cvImeName;
        }
        if (a & cvAlignment) {
            FAlignment = source->FAlignment;
            FAssignedValues |= cvAlignment;
        }
        if (a & cvReadOnly) {
            FReadOnly = source->FReadOnly;
            FAssignedValues |= cvReadOnly;
        }
        FTitle->Assign(source->FTitle);
        FDropDownRows = source->FDropDownRows;
        FButtonStyle = source->FButtonStyle;
        SetPickList(source->PickList());
        FPopupMenu = source->FPopupMenu;
        FVisible = source->FVisible;
        FExpanded = source->FExpanded;
        FGlyph = source->FGlyph;
        FFixedColumns = source->FFixedColumns;
        FIMEControl = source->FIMEControl;
        FTabStop = source->FTabStop;
    } catch (...) {
        if (cols)
            cols->EndUpdate();
        throw;
    }
    if (cols)
        cols->EndUpdate();
}

std::optional<bool> TQxColumn::isPropertyStored(const char* name) const
{
    const QByteArray n(name);
    if (n == "Alignment")
        return (FAssignedValues & cvAlignment) && FAlignment != DefaultAlignment();
    if (n == "Color")
        return (FAssignedValues & cvColor) && FColor != DefaultColor();
    if (n == "Expanded")
        return !Expanded();
    if (n == "Font")
        return bool(FAssignedValues & cvFont);
    if (n == "ImeMode")
        return (FAssignedValues & cvImeMode) && FImeMode != DefaultImeMode();
    if (n == "ImeName")
        return (FAssignedValues & cvImeName) && FImeName != DefaultImeName();
    if (n == "ReadOnly")
        return (FAssignedValues & cvReadOnly) && FReadOnly != DefaultReadOnly();
    if (n == "Width")
        return (FAssignedValues & cvWidth) && FWidth != DefaultWidth();
    if (n == "Glyph")
        return !FGlyph.isNull();
    return std::nullopt;
}

// ---- TQxDBGridColumns --------------------------------------------------------------------

TQxDBGridColumns::TQxDBGridColumns(TQxCustomDBGrid* grid)
    : qx::Collection(
          [](qx::Collection* c) -> qx::CollectionItem* {
              // The grid holds its layout while a column is made: a half-made column is
              // never laid out.
              auto* cols = static_cast<TQxDBGridColumns*>(c);
              TQxCustomDBGrid* g = cols->Grid();
              if (g)
                  g->BeginLayout();
              TQxColumn* col = nullptr;
              try {
                  col = new TQxColumn(c);
              } catch (...) {
                  if (g)
                      g->CancelLayout();
                  throw;
              }
              if (g)
                  g->EndLayout();
              return col;
          },
          grid)
    , FGrid(grid)
{
    setObjectName(QStringLiteral("Columns"));
}

TQxDBGridColumns::~TQxDBGridColumns()
{
    FGrid = nullptr;
}

TQxColumn* TQxDBGridColumns::Add()
{
    return static_cast<TQxColumn*>(add());
}

TQxColumn* TQxDBGridColumns::AddDefaultColumn()
{
    FMakingDefault = true;
    TQxColumn* col = nullptr;
    try {
        col = static_cast<TQxColumn*>(add());
    } catch (...) {
        FMakingDefault = false;
        throw;
    }
    FMakingDefault = false;
    return col;
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

void TQxDBGridColumns::RestoreDefaults()
{
    BeginUpdate();
    try {
        for (int i = 0; i < count(); ++i)
            Items(i)->RestoreDefaults();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TQxDBGridColumns::BeginUpdate()
{
    ++FUpdateCount;
    beginUpdate();
}

void TQxDBGridColumns::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    endUpdate();
}

void TQxDBGridColumns::Notify(TQxColumn* item)
{
    if (FUpdateCount == 0)
        update(item);
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
