// What the grid writers share: the grid's dataset, its visible columns with their fields, and
// the file-extension test that decides whether a default extension is added.
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

class TDataSet;
class TField;
class TQxColumn;
class TQxCustomDBGrid;

namespace qx {

struct ExportColumn
{
    TQxColumn* column = nullptr;
    TField* field = nullptr; // null for a column whose field the dataset lacks
};

// The dataset behind the grid's data source; null without source or dataset.
TDataSet* gridDataSet(const TQxCustomDBGrid& grid);

// The grid's visible columns in column order, with their fields.
std::vector<ExportColumn> exportColumns(const TQxCustomDBGrid& grid);

// Appends QuoteText(text, quote) to out, without a string of its own in between.
void appendQuoted(QString& out, QStringView text, QChar quote);

// Whether the file name part of path (after the last '/') holds a '.'.
bool hasFileExtension(const QString& path);

} // namespace qx
