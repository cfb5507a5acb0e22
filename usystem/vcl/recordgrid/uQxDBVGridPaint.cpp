// The record grid's cell painting: the titles column, the record column and the indicator row
// with its five pictures. The base fills no cell of this grid, so every cell is painted here
// completely.
//
// A record cell is painted by making its record the link's active record for the time of the
// cell; the dataset's cursor never moves, so no scroll event reaches the application.
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <array>

namespace {

enum IndicatorIndex { DBVGARROW, DBVEDIT, DBVINSERT, DBVMULTIDOT, DBVMULTIARROW };

// The pictures, 7 x 12 pixels, black on a transparent ground.
std::array<QImage, 5> makeIndicatorPictures()
{
    std::array<QImage, 5> out;
    const QPolygon arrow({QPoint(1, 2), QPoint(6, 6), QPoint(1, 10)});
    for (int i = 0; i < 5; ++i) {
        QImage img(7, 12, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        switch (IndicatorIndex(i)) {
        case DBVGARROW:
            p.drawPolygon(arrow);
            break;
        case DBVEDIT: // an I-beam
            p.fillRect(3, 2, 1, 8, Qt::black);
            p.fillRect(1, 1, 2, 1, Qt::black);
            p.fillRect(4, 1, 2, 1, Qt::black);
            p.fillRect(1, 10, 2, 1, Qt::black);
            p.fillRect(4, 10, 2, 1, Qt::black);
            break;
        case DBVINSERT: // an asterisk
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(3, 3, 3, 9);
            p.drawLine(0, 6, 6, 6);
            p.drawLine(1, 4, 5, 8);
            p.drawLine(5, 4, 1, 8);
            break;
        case DBVMULTIDOT:
            p.drawEllipse(QRect(1, 4, 4, 4));
            break;
        case DBVMULTIARROW:
            p.drawPolygon(arrow);
            p.setBrush(Qt::white);
            p.drawEllipse(QRect(1, 5, 2, 2));
            break;
        }
        p.end();
        out[std::size_t(i)] = img;
    }
    return out;
}

} // namespace

const QImage& TQxCustomDBVGrid::IndicatorPicture(int Index)
{
    static const std::array<QImage, 5> pictures = makeIndicatorPictures();
    return pictures[std::size_t(std::clamp(Index, 0, 4))];
}

void TQxCustomDBVGrid::WriteText(QPainter& Canvas, const QRect& Rect, int DX, int DY,
                                 const QString& Text, TAlignment Alignment)
{
    // One clipped line on the brush's colour. The other way of writing a cell (word-wrapped
    // through an off-screen bitmap, for brushes the display can only mix) is never taken: on
    // a true-colour surface every colour is shown unmixed.
    Canvas.fillRect(Rect, Canvas.brush().color());
    const QFontMetrics fm(Canvas.font());
    const int width = fm.horizontalAdvance(Text);
    int x = Rect.left() + DX;
    if (Alignment == taRightJustify)
        x = Rect.left() + Rect.width() - width - 3;
    else if (Alignment == taCenter)
        x = Rect.left() + Rect.width() / 2 - width / 2;
    Canvas.save();
    Canvas.setClipRect(Rect, Qt::IntersectClip);
    Canvas.drawText(QPoint(x, Rect.top() + DY + fm.ascent()), Text);
    Canvas.restore();
}

bool TQxCustomDBVGrid::HighlightCell(int DataCol, int DataRow, const QString& Value,
                                     TKyGridDrawState AState)
{
    (void)DataCol;
    (void)DataRow;
    (void)Value;
    // The record made active for drawing is the one the selection is asked about.
    if ((FOptions & dgMultiSelect) && FDataLink->Active() && FBookmarks->CurrentRowSelected())
        return true;
    return (AState & gdSelected) && ((FOptions & dgAlwaysShowSelection) || hasFocus())
           && (FLocks.UpdateLock() == 0 || (FOptions & dgRowSelect));
}

void TQxCustomDBVGrid::DrawDataCell(const QRect& Rect, TField* Field, TKyGridDrawState State)
{
    if (OnDrawDataCell)
        OnDrawDataCell(this, Rect, Field, State);
}

void TQxCustomDBVGrid::DrawColumnCell(const QRect& Rect, int DataCol, TVColumn* Column,
                                      TKyGridDrawState State)
{
    if (OnDrawColumnCell)
        OnDrawColumnCell(this, Rect, DataCol, Column, State);
}

void TQxCustomDBVGrid::DrawFixedFrame(const QRect& Outer)
{
    // The raised edge of a fixed cell in the pixel left around it.
    QPainter& p = *Canvas();
    const QColor light = toQColor(clBtnHighlight);
    const QColor dark = toQColor(clBtnShadow);
    p.fillRect(QRect(Outer.left(), Outer.top(), Outer.width(), 1), light);
    p.fillRect(QRect(Outer.left(), Outer.top(), 1, Outer.height()), light);
    p.fillRect(QRect(Outer.left() + Outer.width() - 1, Outer.top(), 1, Outer.height()), dark);
    p.fillRect(QRect(Outer.left(), Outer.top() + Outer.height() - 1, Outer.width(), 1), dark);
}

void TQxCustomDBVGrid::DrawCell(int ACol, int ARow, const QRect& ARect, TKyGridDrawState AState)
{
    QPainter& p = *Canvas();
    if (FLoading) {
        p.fillRect(ARect, toQColor(Color()));
        return;
    }
    const int RecordIndex = ACol - FTitleOffset;
    const int FieldIndex = ARow - FIndicatorOffset;
    const bool fixed = AState & gdFixed;
    const bool framed = fixed && (FOptions & dgColLines) && (FOptions & dgRowLines)
                        && !(FOptions & dgReceiptMode);
    const int textOffset = fixed && (FOptions & dgColLines) && (FOptions & dgRowLines) ? 1 : 2;
    const QRect rect = framed ? ARect.adjusted(1, 1, -1, -1) : ARect;

    if (fixed && FieldIndex < 0) {
        DrawIndicatorCell(RecordIndex, rect, textOffset);
        if (framed)
            DrawFixedFrame(ARect);
        return;
    }
    if (FieldIndex < 0 || FieldIndex >= FColumns->Count()) {
        p.fillRect(ARect, toQColor(Color()));
        return;
    }
    TVColumn* column = FColumns->Items(FieldIndex);
    const QColor brush = toQColor(fixed ? column->Title()->Color() : column->Color());
    p.setFont(fixed ? column->Title()->Font() : column->Font());
    p.setPen(toQColor(FontColor()));
    p.setBrush(brush);

    if (RecordIndex < 0) {
        WriteText(p, rect, textOffset, textOffset, column->Title()->Caption(),
                  column->Title()->Alignment());
        if (framed)
            DrawFixedFrame(ARect);
        return;
    }
    TDataSet* ds = FDataLink->DataSet();
    if (!FDataLink->Active() || !ds || RecordIndex >= FDataLink->RecordCount()) {
        p.fillRect(ARect, brush);
        return;
    }

    const int saved = FDataLink->ActiveRecord();
    FDataLink->SetActiveRecord(RecordIndex);
    try {
        TField* field = column->Field();
        const QString text = field ? field->DisplayText() : QString();
        if (HighlightCell(FieldIndex, RecordIndex, text, AState)) {
            p.setBrush(toQColor(clHighlight));
            p.setPen(toQColor(clHighlightText));
        }
        // A Boolean field shows its text here; only the cell editor shows a check box.
        if (FDefaultDrawing)
            WriteText(p, ARect, 2, 2, text, column->Alignment());
        else
            p.fillRect(ARect, p.brush().color());
        if (FColumns->State() == vcsDefault)
            DrawDataCell(ARect, field, AState);
        DrawColumnCell(ARect, FieldIndex, column, AState);
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

void TQxCustomDBVGrid::DrawIndicatorCell(int RecordIndex, QRect ARect, int TextOffset)
{
    QPainter& p = *Canvas();
    p.fillRect(ARect, toQColor(FixedColor()));
    TDataSet* ds = FDataLink->DataSet();
    if (!FDataLink->Active() || !ds || RecordIndex < 0 || RecordIndex >= FDataLink->RecordCount())
        return;
    bool selected = false;
    if (FOptions & dgMultiSelect) {
        const int saved = FDataLink->ActiveRecord();
        FDataLink->SetActiveRecord(RecordIndex);
        try {
            selected = FBookmarks->CurrentRowSelected();
        } catch (...) {
            FDataLink->SetActiveRecord(saved);
            throw;
        }
        FDataLink->SetActiveRecord(saved);
    }
    const bool active = RecordIndex == FDataLink->ActiveRecord();
    if (!active && !selected)
        return;
    int picture = DBVMULTIDOT;
    if (active) {
        if (ds->State() == dsEdit)
            picture = DBVEDIT;
        else if (ds->State() == dsInsert)
            picture = DBVINSERT;
        else
            picture = selected ? DBVMULTIARROW : DBVGARROW;
        FSelRow = FTitleOffset + RecordIndex;
    }
    const QImage& img = IndicatorPicture(picture);
    p.drawImage(ARect.left() + TextOffset, (ARect.top() + ARect.top() + ARect.height() - img.height()) / 2,
                img);
}
