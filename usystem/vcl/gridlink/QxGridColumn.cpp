#include "usystem/vcl/gridlink/QxGridColumn.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

#include <QFontMetrics>

#include <algorithm>
#include <utility>

namespace qx {

GridColumnHost::~GridColumnHost() = default;

// ---- GridColumnTitle -----------------------------------------------------------------------

GridColumnTitle::GridColumnTitle(GridColumn* column)
    : PersistentObject(column)
    , FColumn(column)
{
    setObjectName(QStringLiteral("Title"));
}

GridColumnTitle::~GridColumnTitle() = default;

TAlignment GridColumnTitle::Alignment() const
{
    return (FColumn->FAssignedValues & GridColumn::cvTitleAlignment) ? FAlignment : ::taLeftJustify;
}

void GridColumnTitle::SetAlignment(TAlignment value)
{
    if ((FColumn->FAssignedValues & GridColumn::cvTitleAlignment) && value == FAlignment)
        return;
    FAlignment = value;
    FColumn->FAssignedValues |= GridColumn::cvTitleAlignment;
    FColumn->Changed();
}

QString GridColumnTitle::DefaultCaption() const
{
    if (TField* f = FColumn->Field())
        return f->DisplayName();
    return FColumn->FieldName();
}

QString GridColumnTitle::Caption() const
{
    return (FColumn->FAssignedValues & GridColumn::cvTitleCaption) ? FCaption : DefaultCaption();
}

void GridColumnTitle::SetCaption(const QString& value)
{
    if (FColumn->IsPassthrough()) {
        // A column made for a field shows the field's label: change the label, not the column.
        GridColumnHost* host = FColumn->Host();
        TField* f = FColumn->Field();
        if (host && host->HostLinkActive() && f) {
            f->SetDisplayLabel(value);
            return;
        }
    }
    if ((FColumn->FAssignedValues & GridColumn::cvTitleCaption) && value == FCaption)
        return;
    FCaption = value;
    FColumn->FAssignedValues |= GridColumn::cvTitleCaption;
    FColumn->Changed();
}

TColor GridColumnTitle::Color() const
{
    if (FColumn->FAssignedValues & GridColumn::cvTitleColor)
        return FColor;
    if (GridColumnHost* host = FColumn->Host())
        return host->HostFixedColor();
    return clBtnFace;
}

void GridColumnTitle::SetColor(TColor value)
{
    if ((FColumn->FAssignedValues & GridColumn::cvTitleColor) && value == FColor)
        return;
    FColor = value;
    FColumn->FAssignedValues |= GridColumn::cvTitleColor;
    FColumn->Changed();
}

QFont GridColumnTitle::Font() const
{
    if (FColumn->FAssignedValues & GridColumn::cvTitleFont)
        return FFont;
    if (GridColumnHost* host = FColumn->Host())
        return host->HostTitleFont();
    return FColumn->Font();
}

void GridColumnTitle::SetFont(const QFont& value)
{
    FFont = value;
    FColumn->FAssignedValues |= GridColumn::cvTitleFont;
    FColumn->Changed(FFontChangesAll);
}

void GridColumnTitle::RestoreDefaults()
{
    const bool fontAssigned = FColumn->FAssignedValues & GridColumn::cvTitleFont;
    FColumn->FAssignedValues &= ~(GridColumn::cvTitleColor | GridColumn::cvTitleCaption
                                  | GridColumn::cvTitleAlignment | GridColumn::cvTitleFont);
    FCaption.clear();
    FFont = QFont();
    // A changed font changes the title's height: the whole grid is laid out again.
    FColumn->Changed(fontAssigned);
}

void GridColumnTitle::Assign(const GridColumnTitle* source)
{
    if (!source)
        return;
    const GridColumn::TColumnValues a = source->FColumn->FAssignedValues;
    if (a & GridColumn::cvTitleAlignment)
        SetAlignment(source->Alignment());
    if (a & GridColumn::cvTitleColor)
        SetColor(source->Color());
    if (a & GridColumn::cvTitleCaption) {
        // Copied as a value of this column, whether or not the column passes it to a field.
        FCaption = source->Caption();
        FColumn->FAssignedValues |= GridColumn::cvTitleCaption;
    }
    if (a & GridColumn::cvTitleFont)
        SetFont(source->Font());
}

std::optional<bool> GridColumnTitle::isPropertyStored(const char* name) const
{
    const GridColumn::TColumnValues a = FColumn->FAssignedValues;
    const QByteArray n(name);
    if (n == "Alignment")
        return (a & GridColumn::cvTitleAlignment) && FAlignment != ::taLeftJustify;
    if (n == "Caption")
        return (a & GridColumn::cvTitleCaption) && FCaption != DefaultCaption();
    if (n == "Color") {
        const GridColumnHost* host = FColumn->Host();
        const TColor def = host ? host->HostFixedColor() : clBtnFace;
        return (a & GridColumn::cvTitleColor) && FColor != def;
    }
    if (n == "Font")
        return bool(a & GridColumn::cvTitleFont);
    return std::nullopt;
}

// ---- GridColumn ----------------------------------------------------------------------------

GridColumn::GridColumn(Collection* collection)
    : CollectionItem(collection)
{
    FFont = DefaultFont();
}

GridColumn::~GridColumn() = default;

GridColumns* GridColumn::OwningColumns() const
{
    return qobject_cast<GridColumns*>(collection());
}

GridColumnHost* GridColumn::Host() const
{
    const GridColumns* c = OwningColumns();
    return c ? c->Host() : nullptr;
}

void GridColumn::Changed(bool allItems)
{
    if (GridColumns* c = OwningColumns())
        c->Notify(allItems ? nullptr : this);
}

TField* GridColumn::Field() const
{
    if (!FField && !FFieldName.isEmpty()) {
        const GridColumnHost* host = Host();
        TDataSet* ds = host ? host->HostDataSet() : nullptr;
        if (ds && (ds->Active() || !ds->DefaultFields()))
            FField = ds->FindField(FFieldName);
    }
    return FField;
}

void GridColumn::SetFieldName(const QString& value)
{
    TField* found = nullptr;
    const GridColumnHost* host = Host();
    TDataSet* ds = host ? host->HostDataSet() : nullptr;
    if (host && !host->HostLoading() && ds && !value.isEmpty())
        found = ds->FindField(value);
    FFieldName = value;
    SetField(found);
    Changed();
}

void GridColumn::SetField(TField* value)
{
    if (FField == value)
        return;
    FField = value;
    if (value)
        FFieldName = value->FullName();
    Changed();
    if (IsPassthrough()) {
        // A column made for a field has nothing of its own once it loses the field.
        if (!value)
            FFieldName.clear();
        RestoreDefaults();
    }
}

TAlignment GridColumn::DefaultAlignment() const
{
    if (TField* f = Field())
        return f->Alignment();
    return ::taLeftJustify;
}

TAlignment GridColumn::Alignment() const
{
    return (FAssignedValues & cvAlignment) ? FAlignment : DefaultAlignment();
}

void GridColumn::SetAlignment(TAlignment value)
{
    const GridColumnHost* host = Host();
    if (IsPassthrough() && host && host->HostLinkActive() && Field()) {
        Field()->SetAlignment(value);
        return;
    }
    if ((FAssignedValues & cvAlignment) && value == FAlignment)
        return;
    FAlignment = value;
    FAssignedValues |= cvAlignment;
    Changed();
}

void GridColumn::SetButtonStyle(TQxColumnButtonStyle value)
{
    if (value == FButtonStyle)
        return;
    FButtonStyle = value;
    ButtonStyleChanged();
    Changed();
}

TColor GridColumn::DefaultColor() const
{
    if (const GridColumnHost* host = Host())
        return host->HostColor();
    return clWindow;
}

TColor GridColumn::Color() const
{
    return (FAssignedValues & cvColor) ? FColor : DefaultColor();
}

void GridColumn::SetColor(TColor value)
{
    if ((FAssignedValues & cvColor) && value == FColor)
        return;
    FColor = value;
    FAssignedValues |= cvColor;
    Changed();
}

QFont GridColumn::DefaultFont() const
{
    if (const GridColumnHost* host = Host())
        return host->HostFont();
    return QFont();
}

QFont GridColumn::Font() const
{
    // An unassigned font is the grid's as it is now, whenever it is read.
    return (FAssignedValues & cvFont) ? FFont : DefaultFont();
}

void GridColumn::SetFont(const QFont& value)
{
    FFont = value;
    FAssignedValues |= cvFont;
    Changed(true);
}

GridColumn::TImeMode GridColumn::DefaultImeMode() const
{
    if (const GridColumnHost* host = Host())
        return TImeMode(host->HostImeMode());
    return imDontCare;
}

GridColumn::TImeMode GridColumn::ImeMode() const
{
    return (FAssignedValues & cvImeMode) ? FImeMode : DefaultImeMode();
}

void GridColumn::SetImeMode(TImeMode value)
{
    if ((FAssignedValues & cvImeMode) || value != DefaultImeMode())
        FAssignedValues |= cvImeMode;
    FImeMode = value;
    Changed();
}

QString GridColumn::DefaultImeName() const
{
    if (const GridColumnHost* host = Host())
        return host->HostImeName();
    return QString();
}

QString GridColumn::ImeName() const
{
    return (FAssignedValues & cvImeName) ? FImeName : DefaultImeName();
}

void GridColumn::SetImeName(const QString& value)
{
    if ((FAssignedValues & cvImeName) || value != DefaultImeName())
        FAssignedValues |= cvImeName;
    FImeName = value;
    Changed();
}

void GridColumn::SetPickList(const QStringList& value)
{
    if (value.isEmpty()) {
        FPickList.reset();
        return;
    }
    if (!FPickList)
        FPickList = std::make_unique<QStringList>();
    *FPickList = value;
}

QStringList* GridColumn::GetPickList()
{
    if (!FPickList)
        FPickList = std::make_unique<QStringList>();
    return FPickList.get();
}

void GridColumn::SetPopupMenu(QMenu* value)
{
    // The QPointer forgets a menu that is freed elsewhere.
    FPopupMenu = value;
}

bool GridColumn::DefaultReadOnly() const
{
    const GridColumnHost* host = Host();
    TField* f = Field();
    return (host && host->HostReadOnly()) || (f && f->ReadOnly());
}

bool GridColumn::ReadOnly() const
{
    return (FAssignedValues & cvReadOnly) ? FReadOnly : DefaultReadOnly();
}

void GridColumn::SetReadOnly(bool value)
{
    const GridColumnHost* host = Host();
    if (IsPassthrough() && host && host->HostLinkActive() && Field()) {
        Field()->SetReadOnly(value);
        return;
    }
    if ((FAssignedValues & cvReadOnly) && value == FReadOnly)
        return;
    FReadOnly = value;
    FAssignedValues |= cvReadOnly;
    Changed();
}

int GridColumn::DefaultWidth() const
{
    const GridColumnHost* host = Host();
    if (!host)
        return 64;
    TField* f = Field();
    if (!f)
        return host->HostDefaultColWidth();
    const QFontMetrics fm(Font());
    int w = fm.horizontalAdvance(QLatin1Char('0')) * f->DisplayWidth() + 4;
    if (host->HostShowsTitles()) {
        const QFontMetrics tm(FTitle->Font());
        w = std::max(w, tm.horizontalAdvance(FTitle->Caption()) + 4);
    }
    return w;
}

int GridColumn::Width() const
{
    return (FAssignedValues & cvWidth) ? FWidth : DefaultWidth();
}

void GridColumn::SetWidth(int value)
{
    GridColumnHost* host = Host();
    if (IsPassthrough() && host) {
        TField* f = Field();
        if (f && host->HostUpdateFields() && value > 0) {
            // The field keeps the width in characters of the column's font, so the next
            // column made for it comes back this wide.
            const QFontMetrics fm(Font());
            const int avg = std::max(1, fm.averageCharWidth());
            const int chars = (value + avg / 2 - 3) / avg;
            if (chars > 0 && chars != f->DisplayWidth()) {
                const bool keep = host->HostLayoutFromDataset();
                host->HostSetLayoutFromDataset(true);
                try {
                    f->SetDisplayWidth(chars);
                } catch (...) {
                    host->HostSetLayoutFromDataset(keep);
                    throw;
                }
                host->HostSetLayoutFromDataset(keep);
            }
        }
        if (host->HostLayoutFromDataset() && !(FAssignedValues & cvWidth)) {
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

void GridColumn::RestoreDefaults()
{
    const bool fontAssigned = FAssignedValues & cvFont;
    GridColumns* cols = OwningColumns();
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
        // One notice for the whole reset; a font change lays every column out again.
        cols->EndUpdate();
        if (!fontAssigned)
            cols->Notify(this);
    }
}

void GridColumn::AssignColumn(const GridColumn* source)
{
    if (!source || source == this)
        return;
    GridColumns* cols = OwningColumns();
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
        FIMEControl = source->FIMEControl;
        AssignMore(source);
    } catch (...) {
        if (cols)
            cols->EndUpdate();
        throw;
    }
    if (cols)
        cols->EndUpdate();
}

std::optional<bool> GridColumn::isPropertyStored(const char* name) const
{
    const QByteArray n(name);
    if (n == "Alignment")
        return (FAssignedValues & cvAlignment) && FAlignment != DefaultAlignment();
    if (n == "Color")
        return (FAssignedValues & cvColor) && FColor != DefaultColor();
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
    return std::nullopt;
}

// ---- GridColumns ---------------------------------------------------------------------------

GridColumns::GridColumns(std::function<GridColumn*(Collection*)> Make, GridColumnHost* Host,
                         QObject* parent)
    : Collection(
          [make = std::move(Make)](Collection* c) -> CollectionItem* {
              GridColumnHost* host = static_cast<GridColumns*>(c)->Host();
              if (host)
                  host->HostBeginLayout();
              GridColumn* column = nullptr;
              try {
                  column = make(c);
              } catch (...) {
                  if (host)
                      host->HostCancelLayout();
                  throw;
              }
              if (host)
                  host->HostEndLayout();
              return column;
          },
          parent)
    , FHost(Host)
{
    setObjectName(QStringLiteral("Columns"));
}

GridColumns::~GridColumns() = default;

GridColumn* GridColumns::AddDefault()
{
    FMakingDefault = true;
    GridColumn* column = nullptr;
    try {
        column = static_cast<GridColumn*>(add());
    } catch (...) {
        FMakingDefault = false;
        throw;
    }
    FMakingDefault = false;
    return column;
}

void GridColumns::RestoreDefaults()
{
    BeginUpdate();
    try {
        for (int i = 0; i < count(); ++i)
            Column(i)->RestoreDefaults();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void GridColumns::BeginUpdate()
{
    ++FUpdateCount;
    beginUpdate();
}

void GridColumns::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    endUpdate();
}

void GridColumns::Notify(GridColumn* item)
{
    if (FUpdateCount == 0)
        update(item);
}

} // namespace qx
