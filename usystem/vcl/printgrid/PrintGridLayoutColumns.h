// The columns a grid printer prints, from the first source that applies: its ColumnsLayout
// lines, the visible columns of its grid, or the visible fields of its dataset.
#pragma once

#include "platform/db/DB.h"

#include <QList>
#include <QString>
#include <QStringList>

class TDataSet;
class TQxDBGrid;
class TQxPrintGrid;

namespace qx::printgrid {

// One parsed ColumnsLayout line: "field name, width in pixels".
struct LayoutLine
{
    int sourceIndex = -1; // the named column's index in the grid, or the field's in the dataset
    QString fieldName;
    int width = 0;
};

// Parses line Index of Layout against the grid (when set) or the dataset. False for an index
// outside the list, a line without a comma or a name, a name that no grid column (or field)
// carries exactly, an empty width, or a width that is not above 0 (a width that is not a
// number counts as 0).
bool parseLayoutLine(const QStringList& Layout, int Index, const TQxDBGrid* Grid,
                     const TDataSet* DataSet, LayoutLine& Line);

// A printed column.
struct PrintColumn
{
    // Its place in the source (layout line, grid column or field, counting skipped ones);
    // columns below FixedCols are fixed.
    int index = -1;
    QString fieldName;
    int naturalWidth = 0;
    QString caption;
    TAlignment titleAlignment = taCenter;
    TAlignment alignment = taLeftJustify;
};

// Source entry Index as a printed column; false when that entry prints nothing (a layout
// line that does not parse, a hidden grid column or field). CharWidth is the width of "X" in
// the data font + 1, the unit of a field's display width.
bool printColumn(const TQxPrintGrid& Printer, int Index, int CharWidth, PrintColumn& Column);

// The number of entries of the source (layout lines, grid columns or fields).
int sourceEntryCount(const TQxPrintGrid& Printer);

// The printed columns in source order.
QList<PrintColumn> printColumns(const TQxPrintGrid& Printer, int CharWidth);

} // namespace qx::printgrid
