// The data grid's cell painting: the indicator column with its pictures, the title cells with
// the bands of grouped titles above them, and the data cells with the colour rules of the
// shop's browsers (highlight, selected rows, the application's per-cell style, frozen
// columns) and check boxes for Boolean fields.
//
// A data row is painted by making its record the link's active record for the time of the
// cell; the dataset's cursor never moves, so no scroll event reaches the application.
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/dbgrid/uQxDBGridEditor.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <array>
#include <limits>

namespace {

enum IndicatorPicture { KYDBGARROW, KYDBEDIT, KYDBINSERT, KYDBMULTIDOT, KYDBMULTIARROW };

// The five indicator pictures, 10 x 11 pixels, black on a transparent ground.
const QImage& indicatorPicture(IndicatorPicture which)
{
    static const std::array<QImage, 5> pictures = [] {
        std::array<QImage, 5> out;
        for (int i = 0; i < 5; ++i) {
            QImage img(10, 11, QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            QPainter p(&img);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            const QPolygon arrow({QPoint(3, 1), QPoint(8, 5), QPoint(3, 9)});
            switch (IndicatorPicture(i)) {
            case KYDBGARROW:
                p.drawPolygon(arrow);
                break;
            case KYDBEDIT: // an I-beam
                p.fillRect(4, 1, 2, 9, Qt::black);
                p.fillRect(2, 1, 6, 1, Qt::black);
                p.fillRect(2, 9, 6, 1, Qt::black);
                break;
            case KYDBINSERT: // an asterisk
                p.setPen(QPen(Qt::black, 1));
                p.drawLine(5, 1, 5, 9);
                p.drawLine(1, 5, 9, 5);
                p.drawLine(2, 2, 8, 8);
                p.drawLine(8, 2, 2, 8);
                break;
            case KYDBMULTIDOT:
                p.drawEllipse(QRect(2, 3, 5, 5));
                break;
            case KYDBMULTIARROW:
                p.drawPolygon(arrow);
                p.setBrush(Qt::white);
                p.drawEllipse(QRect(1, 4, 3, 3));
                break;
            }
            p.end();
            out[std::size_t(i)] = img;
        }
        return out;
    }();
    return pictures[std::size_t(which)];
}

// A one-pixel inner edge: raised (light above and left, shadow below and right) or sunken.
void drawInnerEdge(QPainter& p, const QRect& r, bool sunken, bool left = true, bool top = true,
                   bool right = true, bool bottom = true)
{
    const QColor light = toQColor(sunken ? clBtnShadow : clBtnHighlight);
    const QColor dark = toQColor(sunken ? clBtnHighlight : clBtnShadow);
    const int l = r.left(), t = r.top(), rr = r.left() + r.width() - 1, b = r.top() + r.height() - 1;
    if (top)
        p.fillRect(QRect(l, t, r.width(), 1), light);
    if (left)
        p.fillRect(QRect(l, t, 1, r.height()), light);
    if (right)
        p.fillRect(QRect(rr, t, 1, r.height()), dark);
    if (bottom)
        p.fillRect(QRect(l, b, r.width(), 1), dark);
}

} // namespace

void WriteCellText(QPainter& Canvas, const QRect& Rect, int DX, bool RightToLeft,
                   TAlignment Alignment, const QString& Text, int DY, const QColor& Brush,
                   bool PlainBrush, qx::CellTextLayouts* Layouts)
{
    // A right-to-left canvas mirrors the alignment unless the text itself reads that way.
    if (Canvas.layoutDirection() == Qt::RightToLeft && !RightToLeft) {
        if (Alignment == taLeftJustify)
            Alignment = taRightJustify;
        else if (Alignment == taRightJustify)
            Alignment = taLeftJustify;
    }
    if (PlainBrush) {
        QRect r = Rect;
        int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        switch (Alignment) {
        case taLeftJustify:
            r.setLeft(Rect.left() + DX);
            flags |= Qt::AlignLeft;
            break;
        case taRightJustify:
            r.setRight(Rect.right() - 3);
            flags |= Qt::AlignRight;
            break;
        case taCenter:
            flags |= Qt::AlignHCenter;
            break;
        }
        // Kept layouts clip themselves to the text's box where the text leaves it; a box that
        // lies inside the cell then needs no clip of its own.
        if (Layouts && Rect.contains(r)) {
            Layouts->draw(Canvas, r, flags, Text);
            return;
        }
        Canvas.save();
        Canvas.setClipRect(Rect, Qt::IntersectClip);
        if (Layouts)
            Layouts->draw(Canvas, r, flags, Text);
        else
            Canvas.drawText(r, flags, Text);
        Canvas.restore();
        return;
    }
    // A mixed brush: word-wrapped through the shared bitmap, then copied into the cell.
    QImage* bmp = TQxCustomDBGrid::SharedCellBitmap();
    QImage local;
    if (!bmp) {
        local = QImage(Rect.size(), QImage::Format_RGB32);
        bmp = &local;
    }
    if (bmp->width() < Rect.width() || bmp->height() < Rect.height())
        *bmp = QImage(std::max(bmp->width(), Rect.width()), std::max(bmp->height(), Rect.height()),
                      QImage::Format_RGB32);
    bmp->fill(Brush);
    {
        QPainter bp(bmp);
        bp.setFont(Canvas.font());
        bp.setPen(Canvas.pen());
        bp.setLayoutDirection(RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        int flags = Qt::TextWordWrap | Qt::TextExpandTabs;
        flags |= Alignment == taRightJustify ? Qt::AlignRight
                 : Alignment == taCenter     ? Qt::AlignHCenter
                                             : Qt::AlignLeft;
        bp.drawText(QRect(DX, DY, Rect.width() - DX, Rect.height() - DY), flags, Text);
    }
    Canvas.drawImage(Rect.topLeft(), *bmp, QRect(QPoint(0, 0), Rect.size()));
}

void qx::drawGridCheckBox(QPainter& p, const QRect& r, bool checked)
{
    const QRect box(r.left() + (r.width() - 13) / 2, r.top() + (r.height() - 13) / 2, 13, 13);
    p.fillRect(box, toQColor(clBtnShadow));
    p.fillRect(box.adjusted(1, 1, -1, -1), toQColor(clWindow));
    if (!checked)
        return;
    // The tick: a short stroke down to the right, then a long one up, three pixels thick.
    const int x = box.left() + 3, y = box.top() + 5;
    const QColor ink = toQColor(clWindowText);
    for (int i = 0; i < 7; ++i) {
        const int top = i <= 2 ? y + i : y + 4 - i;
        p.fillRect(QRect(x + i, top, 1, 3), ink);
    }
}

bool TQxCustomDBGrid::HighlightCell(int DataCol, int DataRow, const QString& Value,
                                    TKyGridDrawState AState)
{
    (void)Value;
    // Frozen columns are the first FrozenCols visible columns, here as in the layout.
    if (IsFrozenColumn(DataCol))
        return false;
    if ((FOptions & dgMultiSelect) && FDataLink->Active() && RowSelected(DataRow))
        return true;
    return (AState & gdSelected) && ((FOptions & dgAlwaysShowSelection) || IsActiveControl())
           && (FLocks.UpdateLock() == 0 || (FOptions & dgRowSelect));
}

void TQxCustomDBGrid::DrawCell(int ACol, int ARow, const QRect& ARect, TKyGridDrawState AState)
{
    QPainter& p = *Canvas();
    if (FLoading) {
        p.fillRect(ARect, toQColor(Color()));
        return;
    }
    const int DataRow = ARow - FTitleOffset;
    const int DataCol = ACol - FIndicatorOffset;
    FCellTextOffset = 1;
    if ((AState & gdFixed) && DataCol < 0) {
        DrawIndicatorCell(ARow, ARect);
        return;
    }
    if (DataCol < 0 || DataCol >= FColumns->Count())
        return;
    TQxColumn* col = FColumns->Items(DataCol);
    if (!col->Showing())
        return;
    if (DataRow < 0)
        DrawTitleCell(DataCol, ARect, AState);
    else
        DrawDataCell(DataCol, DataRow, ARect, AState);
}

void TQxCustomDBGrid::DrawIndicatorCell(int ARow, QRect ARect)
{
    QPainter& p = *Canvas();
    ARect.setHeight(ARect.height() + 1);
    const QColor fixed = toQColor(FixedColor());
    p.fillRect(ARect, fixed);
    if (!(FOptions & dgReceiptMode))
        drawInnerEdge(p, ARect, ARow == FPressedIndicatorRow);
    const int DataRow = ARow - FTitleOffset;
    TDataSet* ds = FDataLink->DataSet();
    if (!FDataLink->Active() || !ds || DataRow < 0 || DataRow >= FDataLink->RecordCount())
        return;
    const int current = ds->DisplayIndex() - FDataLink->FirstRecord();
    const bool selected = RowSelected(DataRow);
    if (DataRow != current && !selected)
        return;
    IndicatorPicture pic = KYDBGARROW;
    if (selected)
        pic = KYDBMULTIDOT;
    else if (ds->State() == dsEdit)
        pic = KYDBEDIT;
    else if (ds->State() == dsInsert)
        pic = KYDBINSERT;
    if (DataRow == current)
        FSelRow = ARow;
    const QImage& img = indicatorPicture(pic);
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const int x = ARect.left() + ARect.width() - img.width() - 1 - (rtl ? 1 : 0);
    const int y = ARect.top() + (ARect.height() - img.height()) / 2 + 1;
    p.drawImage(x, y, img);
}

void TQxCustomDBGrid::DrawTitleCell(int DataCol, QRect ARect, TKyGridDrawState AState)
{
    QPainter& p = *Canvas();
    TQxColumn* col = FColumns->Items(DataCol);
    THeadTreeNode* leaf = LeafOf(col);
    const QColor fixed = toQColor(FixedColor());
    if (!leaf) {
        p.fillRect(ARect, fixed);
        return;
    }
    const int bottom = ARect.top() + ARect.height(); // exclusive
    QRect r(ARect.left(), bottom - leaf->Height + 1, ARect.width(), leaf->Height - 1);
    if (r.top() < ARect.top()) {
        r.setTop(ARect.top());
    }
    p.fillRect(r, fixed);
    p.setFont(FTitleFont);
    p.setPen(toQColor(FontColor()));
    FTextLayouts.draw(p, r.adjusted(FCellTextOffset, 0, 0, 0), Qt::AlignCenter | Qt::TextWordWrap, leaf->Text);
    if (!(FOptions & dgReceiptMode)) {
        const QRect framed(r.left(), r.top(), r.width() + 1, r.height() + 1);
        drawInnerEdge(p, framed, false);
    }
    DrawTitleBand(leaf, r, AState, TitleBandStrip(DataCol));
}

QPair<int, int> TQxCustomDBGrid::TitleBandStrip(int DataCol) const
{
    // A band spans its columns wherever they are now: one drawn from a frozen column would
    // run on over the scrolled columns' titles, one drawn from a scrolled column back over the
    // frozen ones. Each is kept to its own area; together the halves make the whole band.
    TGridDrawInfo info;
    CalcFixedInfo(info);
    const int lineW = info.Horz.EffectiveLineWidth;
    const int indicatorRight = FIndicatorOffset > 0 ? ColWidths(0) + lineW : 0;
    if (DataCol + FIndicatorOffset < FixedCols())
        return {indicatorRight, info.Horz.FixedBoundary};
    return {std::max(indicatorRight, info.Horz.FixedBoundary), std::numeric_limits<int>::max()};
}

void TQxCustomDBGrid::DrawTitleBand(THeadTreeNode* Node, const QRect& ARect, TKyGridDrawState AState,
                                    QPair<int, int> Strip)
{
    THeadTreeNode* P = Node ? Node->Parent : nullptr;
    if (!P || P == FHeadTree.get())
        return;
    QPainter& p = *Canvas();
    const int lineW = (FOptions & dgColLines) ? 1 : 0;
    int left = ARect.left();
    for (THeadTreeNode* s : P->Children()) {
        if (s == Node)
            break;
        left -= s->Width + lineW;
    }
    const int top = ARect.top() - P->Height;
    const int bottom = ARect.top() - 1; // exclusive
    const QRect band(left, top, P->Width, bottom - top);
    // The band and the line under it, cut to the strip of the column's area.
    const int clipLeft = std::max(band.left(), Strip.first);
    const int clipRight = std::min<qint64>(qint64(band.left()) + band.width(), Strip.second);
    const QRect visible(clipLeft, top, clipRight - clipLeft, bottom - top + 1);
    if (visible.width() > 0 && visible.height() > 0) {
        p.save();
        p.setClipRect(visible, Qt::IntersectClip);
        const QColor fixed = toQColor(FixedColor());
        p.fillRect(band, fixed);
        p.setFont(FTitleFont);
        p.setPen(toQColor(FontColor()));
        FTextLayouts.draw(p, band.adjusted(FCellTextOffset, 0, 0, 0), Qt::AlignCenter | Qt::TextWordWrap, P->Text);
        if ((AState & gdFixed) && (FOptions & dgColLines) && (FOptions & dgRowLines)
            && !(FOptions & dgReceiptMode))
            drawInnerEdge(p, band, false, true, true, true, true);
        const QColor line = toQColor((FOptions & dgReceiptMode) ? LineColor() : clBlack);
        p.fillRect(QRect(band.left(), bottom, band.width(), 1), line);
        p.restore();
    }
    if (P->Parent && P->Parent != FHeadTree.get())
        DrawTitleBand(P, band, AState, Strip);
}

void TQxCustomDBGrid::DrawDataCell(int DataCol, int DataRow, QRect ARect, TKyGridDrawState AState)
{
    QPainter& p = *Canvas();
    TQxColumn* col = FColumns->Items(DataCol);
    TColor brush = col->Color();
    QFont font = col->Font();
    TDataSet* ds = FDataLink->DataSet();
    if (!FDataLink->Active() || !ds || DataRow >= FDataLink->RecordCount()) {
        p.fillRect(ARect, toQColor(brush));
        return;
    }
    const int saved = FDataLink->ActiveRecord();
    FDataLink->SetActiveRecord(DataRow);
    try {
        TField* field = col->Field();
        QString text = field ? field->DisplayText() : QString();
        TColor ink = FontColor();
        const bool rowSelected = RowSelected(DataRow);
        if (HighlightCell(DataCol, DataRow, text, AState)) {
            brush = clHighlight;
            ink = clHighlightText;
        }
        if (rowSelected && (FOptions & dgSelectedBar)) {
            brush = cl3DLight;
            ink = clBlack;
        }
        if (OnGetCellTextStyle && field) {
            TColor styled = ink;
            OnGetCellTextStyle(this, field->FieldName(), text, styled);
            if (styled != ink) {
                font.setBold(true);
                brush = cl3DLight;
            }
            ink = styled;
        }
        if (!isEnabled())
            ink = clGrayText;
        if (IsFrozenColumn(DataCol)) {
            brush = Color();
            ink = clBlack;
        }
        const QColor brushColor = toQColor(brush);
        p.fillRect(ARect, brushColor);
        p.setFont(font);
        p.setPen(toQColor(ink));
        p.setBrush(brushColor);
        if (FDefaultDrawing) {
            if (field && field->DataType() == ftBoolean)
                qx::drawGridCheckBox(p, ARect, !field->IsNull() && field->AsBoolean());
            else
                WriteCellText(p, ARect, 2, false, col->Alignment(), text, 0, brushColor, true,
                              &FTextLayouts);
        }
        if (FColumns->State() == csDefault && OnDrawDataCell)
            OnDrawDataCell(this, ARect, field, AState);
        if (OnDrawColumnCell)
            OnDrawColumnCell(this, ARect, DataCol, col, AState);
    } catch (...) {
        FDataLink->SetActiveRecord(saved);
        throw;
    }
    FDataLink->SetActiveRecord(saved);
    if (FDefaultDrawing && (AState & gdSelected)
        && ((FOptions & dgAlwaysShowSelection) || hasFocus()) && !(FOptions & dgRowSelect)
        && FLocks.UpdateLock() == 0 && IsActiveControl())
        DrawFocusRect(p, ARect);
}
