#include "usystem/vcl/printgrid/PrintGridLayoutCells.h"

#include "platform/report/QRBands.h"
#include "platform/rtl/SysUtils.h"
#include "usystem/vcl/report/uQxQrenh.h"

namespace qx::printgrid::cells {

int measureRowHeight(TsQRCustomLabel& Cell, const QFont& Font, float RowSpace, const std::function<void()>& SetText)
{
    Cell.SetAutoSize(true);
    Cell.SetFont(Font);
    if (SetText)
        SetText();
    Cell.FormatLines();
    const int measured = Cell.Height();
    Cell.SetAutoSize(false);
    return int(Round((double(RowSpace) + 1.0) * measured));
}

void place(TQRPrintable& Cell, int Left, int Top, int Width, int Height)
{
    Cell.SetLeft(Left);
    Cell.SetTop(Top);
    Cell.SetWidth(Width);
    Cell.SetHeight(Height);
}

void fill(TQRPrintable& Cell, TColor Color)
{
    if (Color == clWhite) {
        Cell.SetTransparent(true);
        return;
    }
    Cell.SetTransparent(false);
    Cell.SetColor(Color);
}

void rules(TQRPrintable& Cell, bool Left, bool Right, bool Top, bool Bottom)
{
    Cell.Frame().DrawLeft = Left;
    Cell.Frame().DrawRight = Right;
    Cell.Frame().DrawTop = Top;
    Cell.Frame().DrawBottom = Bottom;
}

bool namedLine(const QStringList& Lines, const QString& Name, QString& Text)
{
    for (const QString& line : Lines) {
        const qsizetype comma = line.indexOf(u',');
        const QString head = comma < 0 ? line : line.left(comma);
        if (Trim(head).compare(Name, Qt::CaseInsensitive) == 0) {
            Text = comma < 0 ? QString() : Trim(line.mid(comma + 1));
            return true;
        }
    }
    Text.clear();
    return false;
}

TAlignment takeAlignmentPrefix(QString& Text, TAlignment Default)
{
    TAlignment alignment = Default;
    if (Text.startsWith(QLatin1String("<<")))
        alignment = taLeftJustify;
    else if (Text.startsWith(QLatin1String("||")))
        alignment = taCenter;
    else if (Text.startsWith(QLatin1String(">>")))
        alignment = taRightJustify;
    else
        return alignment;
    Text.remove(0, 2);
    return alignment;
}

TsQRExpr* addSumCell(const QStringList& Lines, const QString& Field, TQRCustomBand& Band, int Left, int Width,
                     const SumCellStyle& Style, QPointer<TsQRExpr>& LastCell, QString& LastExpr)
{
    QString text;
    const bool named = namedLine(Lines, Field, text) && !text.isEmpty();
    if (named && LastCell && text == LastExpr) {
        LastCell->SetWidth(LastCell->Width() + Width - 1);
        return nullptr;
    }
    QString expression = named ? text : QStringLiteral("' '");
    const TAlignment alignment = takeAlignmentPrefix(expression, Style.alignment);

    auto* cell = new TsQRExpr(&Band);
    const int height = measureRowHeight(*cell, Style.font, Style.rowSpace, [&] {
        if (Style.master)
            cell->SetMaster(Style.master);
        cell->SetExpression(expression);
    });
    cell->SetResetAfterPrint(true);
    cell->SetAlignment(alignment);
    place(*cell, Left, -1, Width, height);
    fill(*cell, Style.color);
    LastCell = cell;
    LastExpr = named ? expression : QString();
    return cell;
}

} // namespace qx::printgrid::cells
