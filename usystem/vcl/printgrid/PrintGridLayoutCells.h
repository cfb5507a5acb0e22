// The cells of a printed grid: measuring a row, placing, filling and ruling a cell, the
// "field name, text" lists that name a column, and the sum cells that merge with an equal
// neighbour.
#pragma once

#include "platform/db/DB.h"
#include "platform/ui/Colors.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class TQRCustomBand;
class TQRPrintable;
class TQRSubDetail;
class TsQRCustomLabel;
class TsQRExpr;

namespace qx::printgrid::cells {

// The height of a row of Cell: Cell measured with AutoSize on in Font after SetText gave it
// its text, times (RowSpace + 1), rounded; AutoSize is off afterwards, so the cell keeps the
// size it is given when it prints.
int measureRowHeight(TsQRCustomLabel& Cell, const QFont& Font, float RowSpace, const std::function<void()>& SetText);

void place(TQRPrintable& Cell, int Left, int Top, int Width, int Height);
// Filled with Color, or transparent when Color is white.
void fill(TQRPrintable& Cell, TColor Color);
void rules(TQRPrintable& Cell, bool Left, bool Right, bool Top, bool Bottom);

// The first line of Lines whose text before the first comma, trimmed, is Name (without
// regard to case); Text gets the trimmed text after the comma. False when no line names it.
bool namedLine(const QStringList& Lines, const QString& Name, QString& Text);

// Takes a leading "<<", "||" or ">>" off Text and gives the alignment it names, else Default.
TAlignment takeAlignmentPrefix(QString& Text, TAlignment Default);

struct SumCellStyle
{
    QFont font;
    float rowSpace = 0.5f;
    TColor color = clWhite;
    TAlignment alignment = taLeftJustify; // of the column's data cell
    TQRSubDetail* master = nullptr;       // whose records the sums take in
};

// The sum cell of column Field from Lines ("field, expression"), on Band at Left, Width wide.
// When the column's expression equals that of LastCell (the sum cell just left of it) that
// cell widens instead and nullptr is returned. Otherwise a new cell (a blank one when no line
// names the field) becomes LastCell, with its expression, after any alignment prefix, as
// LastExpr (empty for a blank cell, which never merges).
TsQRExpr* addSumCell(const QStringList& Lines, const QString& Field, TQRCustomBand& Band, int Left, int Width,
                     const SumCellStyle& Style, QPointer<TsQRExpr>& LastCell, QString& LastExpr);

} // namespace qx::printgrid::cells
