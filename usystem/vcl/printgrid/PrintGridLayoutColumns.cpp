#include "usystem/vcl/printgrid/PrintGridLayoutColumns.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"

namespace qx::printgrid {

namespace {

// The first grid column whose FieldName is Name, compared exactly; -1 when none.
int layoutGridColumnIndex(const TQxDBGrid& Grid, const QString& Name)
{
    const TQxDBGridColumns* columns = Grid.Columns();
    for (int i = 0; i < columns->Count(); ++i) {
        if (columns->Items(i)->FieldName() == Name)
            return i;
    }
    return -1;
}

// The first field whose FieldName is Name, compared exactly; -1 when none.
int layoutFieldIndex(const TDataSet& DataSet, const QString& Name)
{
    const TFields* fields = DataSet.Fields();
    for (int i = 0; i < fields->Count(); ++i) {
        if (fields->Fields(i)->FieldName() == Name)
            return i;
    }
    return -1;
}

void columnFromGridColumn(const TQxColumn& Source, PrintColumn& Column)
{
    Column.fieldName = Source.FieldName();
    Column.caption = Source.Title()->Caption();
    Column.titleAlignment = Source.Title()->Alignment();
    Column.alignment = Source.Alignment();
}

void columnFromField(const TField& Field, PrintColumn& Column)
{
    Column.fieldName = Field.FieldName();
    Column.caption = Field.DisplayLabel();
    Column.titleAlignment = taCenter;
    Column.alignment = Field.Alignment();
}

} // namespace

bool parseLayoutLine(const QStringList& Layout, int Index, const TQxDBGrid* Grid,
                     const TDataSet* DataSet, LayoutLine& Line)
{
    if (Index < 0 || Index >= Layout.size())
        return false;
    const QString& text = Layout.at(Index);
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0)
        return false;
    const QString name = text.left(comma).trimmed();
    if (name.isEmpty())
        return false;
    int source = -1;
    if (Grid)
        source = layoutGridColumnIndex(*Grid, name);
    else if (DataSet)
        source = layoutFieldIndex(*DataSet, name);
    if (source < 0)
        return false;
    const QString widthText = text.mid(comma + 1).trimmed();
    if (widthText.isEmpty())
        return false;
    bool ok = false;
    int width = widthText.toInt(&ok);
    if (!ok)
        width = 0;
    if (width <= 0)
        return false;
    Line.sourceIndex = source;
    Line.fieldName = name;
    Line.width = width;
    return true;
}

int sourceEntryCount(const TQxPrintGrid& Printer)
{
    if (!Printer.ColumnsLayout().isEmpty())
        return int(Printer.ColumnsLayout().size());
    if (const TQxDBGrid* grid = Printer.DBGrid())
        return grid->Columns()->Count();
    if (const TDataSet* ds = Printer.PrintedDataSet())
        return ds->FieldCount();
    return 0;
}

bool printColumn(const TQxPrintGrid& Printer, int Index, int CharWidth, PrintColumn& Column)
{
    Column = PrintColumn();
    Column.index = Index;
    const TQxDBGrid* grid = Printer.DBGrid();
    const TDataSet* ds = Printer.PrintedDataSet();
    if (!Printer.ColumnsLayout().isEmpty()) {
        LayoutLine line;
        if (!parseLayoutLine(Printer.ColumnsLayout(), Index, grid, ds, line))
            return false;
        if (grid)
            columnFromGridColumn(*grid->Columns()->Items(line.sourceIndex), Column);
        else
            columnFromField(*ds->Fields()->Fields(line.sourceIndex), Column);
        Column.fieldName = line.fieldName;
        Column.naturalWidth = line.width;
        return true;
    }
    if (grid) {
        if (Index < 0 || Index >= grid->Columns()->Count())
            return false;
        const TQxColumn* source = grid->Columns()->Items(Index);
        if (!source->Visible())
            return false;
        columnFromGridColumn(*source, Column);
        Column.naturalWidth = source->Width();
        return true;
    }
    if (!ds || Index < 0 || Index >= ds->FieldCount())
        return false;
    const TField* field = ds->Fields()->Fields(Index);
    if (!field->Visible())
        return false;
    columnFromField(*field, Column);
    Column.naturalWidth = field->DisplayWidth() * CharWidth;
    return true;
}

QList<PrintColumn> printColumns(const TQxPrintGrid& Printer, int CharWidth)
{
    QList<PrintColumn> out;
    const int count = sourceEntryCount(Printer);
    for (int i = 0; i < count; ++i) {
        PrintColumn column;
        if (printColumn(Printer, i, CharWidth, column))
            out.append(column);
    }
    return out;
}

} // namespace qx::printgrid
