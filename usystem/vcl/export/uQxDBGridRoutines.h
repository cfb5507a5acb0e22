// The free routines of the data grid that reach beyond it: the word-processor export, the
// one-call print used by the application's print buttons, and finding a column by its field
// or its title. They live beside the exports they call.
#pragma once

#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QString>

// Writes a new word-processor file into the system's temporary folder and opens it with the
// desktop's program: the Title paragraph when Title is not empty, one table (a heading row of
// DataGrid's visible column titles, then one row per record from the first to the end, each
// value in its own cell, Booleans as "是" / "否"), an empty paragraph, and the SubTitle
// paragraph when SubTitle is not empty. The dataset stays on its end. A file that cannot be
// written or opened shows "WORD没有正确安装！" and gives false. Grid names the form the file is
// named after; every caller passes the same grid twice.
bool ExportGridToWord(TQxCustomDBGrid* Grid, const QString& Title, const QString& SubTitle,
                      TQxCustomDBGrid* DataGrid);

// PrintDBGrid(Grid, Title1, Title2, PageFootExpr, Preview); the second grid is not used.
void PrintGrid(TQxDBGrid* Grid, TQxDBGrid* IgnoredGrid, const QString& Title1, const QString& Title2,
               const QString& PageFootExpr, bool Preview);

// ColumnByFieldName comes with the data grid (uQxDBGrid.h).
// The first column whose title caption equals Caption, ignoring letter case; null when none does.
TQxColumn* ColumnByCaption(TQxCustomDBGrid* Grid, const QString& Caption);
