// The grid's model, geometry and scrolling. Painting is in uQxGridsPaint.cpp, keyboard and
// mouse in uQxGridsInput.cpp, the in-place editor in uQxGridsEditor.cpp.
#include "usystem/vcl/grids/uQxGrids.h"

#include "usystem/vcl/grids/CachedScrollBar.h"

#include <QApplication>
#include <QEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

#include "platform/env/ExceptionGuard.h"
#include "platform/ui/Messages.h"

namespace {

// The messages of EInvalidGridOperation.
const QString SIndexOutOfRange = QStringLiteral("Grid index out of range");
const QString SFixedColTooBig = QStringLiteral("Fixed column count must be less than column count");
const QString SFixedRowTooBig = QStringLiteral("Fixed row count must be less than row count");
const QString STooManyDeleted = QStringLiteral("Too many rows or columns deleted");
const QString SGridTooLarge = QStringLiteral("Grid too large for operation");

// The largest number of cells one extents block holds: the block with its count word stays
// addressable in 32-bit sizes, so a grid's size fits every int the grid computes with.
constexpr int MaxExtentCells = 134217725;
// The scroll bars' range: the thumb shows the top-left cell in proportion.
constexpr int MaxScrollPos = 127;

[[noreturn]] void InvalidOp(const QString& message)
{
    throw EInvalidGridOperation(message);
}

// Resizes a block to Count cells; new cells take the default.
void UpdateExtents(std::optional<std::vector<int>>& block, int count, int defaultValue)
{
    if (count < 0)
        InvalidOp(STooManyDeleted);
    if (count > MaxExtentCells)
        InvalidOp(SGridTooLarge);
    if (!block)
        block.emplace();
    block->resize(std::size_t(count), defaultValue);
}

// Inserts (Amount > 0) or deletes (Amount < 0) cells of a block at Index.
void ModifyExtents(std::optional<std::vector<int>>& block, int index, int amount, int defaultValue)
{
    if (amount == 0 || !block)
        return;
    const int oldSize = int(block->size());
    if (index < 0 || index > oldSize)
        InvalidOp(SIndexOutOfRange);
    const qint64 newSize = qint64(oldSize) + amount;
    if (newSize < 0 || (amount < 0 && index - amount > oldSize))
        InvalidOp(STooManyDeleted);
    if (newSize > MaxExtentCells)
        InvalidOp(SGridTooLarge);
    if (amount > 0)
        block->insert(block->begin() + index, std::size_t(amount), defaultValue);
    else
        block->erase(block->begin() + index, block->begin() + index - amount);
}

// Moves one entry of a block from one index to another, shifting those between.
void MoveExtent(std::optional<std::vector<int>>& block, int from, int to)
{
    if (!block)
        return;
    auto& v = *block;
    if (from < 0 || to < 0 || from >= int(v.size()) || to >= int(v.size()))
        return;
    const int value = v[std::size_t(from)];
    if (from < to)
        std::move(v.begin() + from + 1, v.begin() + to + 1, v.begin() + from);
    else
        std::move_backward(v.begin() + to, v.begin() + from, v.begin() + from + 1);
    v[std::size_t(to)] = value;
}

// Moves a coordinate along with a cell that moved from one index to another.
void MoveAdjust(int& coord, int from, int to)
{
    if (from == coord)
        coord = to;
    else if (from < coord && to >= coord)
        --coord;
    else if (from > coord && to <= coord)
        ++coord;
}

int LongMulDiv(qint64 mult1, qint64 mult2, qint64 div1)
{
    return div1 == 0 ? 0 : int(mult1 * mult2 / div1);
}

} // namespace

TQxCustomGrid::TQxCustomGrid(QWidget* parent)
    : QAbstractScrollArea(parent),
      FFocusNotifier(this, [this] { DoEnter(); }, [this] { DoExit(); })
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    setMouseTracking(true);
    applyFrame();
    applyFocusPolicy();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBar(new qx::CachedScrollBar(Qt::Horizontal));
    setVerticalScrollBar(new qx::CachedScrollBar(Qt::Vertical));
    for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
        QScrollBar* bar = o == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
        bar->setRange(0, 0);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                qx::guarded(this, [this, o](int action) { onScrollAction(o, action); }));
        connect(bar, &QAbstractSlider::sliderReleased, this,
                qx::guarded(this, [this, o] { onSliderReleased(o); }));
    }
    resize(FColCount * FDefaultColWidth, FRowCount * FDefaultRowHeight);
    Initialize();
}

TQxCustomGrid::~TQxCustomGrid()
{
    // The editor is a child of the viewport and goes with it; nothing may call back into a
    // half-destroyed grid meanwhile.
    if (FInplaceEdit)
        FInplaceEdit->SetGrid(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Published properties

void TQxCustomGrid::applyFrame()
{
    if (FBorderStyle == bsSingle) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
}

void TQxCustomGrid::applyFocusPolicy()
{
    setFocusPolicy(FTabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TQxCustomGrid::SetBorderStyle(TBorderStyle value)
{
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    applyFrame();
    UpdateScrollRange();
    InvalidateGrid();
}

TColor TQxCustomGrid::Color() const
{
    if (FParentColor && parentWidget()) {
        const QVariant v = parentWidget()->property("Color");
        if (v.isValid())
            return TColor(v.toInt());
    }
    return FColor;
}

void TQxCustomGrid::SetColor(TColor value)
{
    FParentColor = false;
    if (FColor == value)
        return;
    FColor = value;
    InvalidateGrid();
}

void TQxCustomGrid::SetParentColor(bool value)
{
    if (FParentColor == value)
        return;
    FParentColor = value;
    InvalidateGrid();
}

void TQxCustomGrid::SetFixedColor(TColor value)
{
    if (FFixedColor == value)
        return;
    FFixedColor = value;
    InvalidateGrid();
}

void TQxCustomGrid::SetLineColor(TColor value)
{
    // Repaints even when unchanged: descendants set it to refresh their lines.
    FLineColor = value;
    InvalidateGrid();
}

void TQxCustomGrid::SetFontColor(TColor value)
{
    if (FFontColor == value)
        return;
    FFontColor = value;
    InvalidateGrid();
}

void TQxCustomGrid::SetGridLineWidth(int value)
{
    if (FGridLineWidth == value)
        return;
    FGridLineWidth = value;
    UpdateScrollRange();
    InvalidateGrid();
}

void TQxCustomGrid::SetOptions(TKyGridOptions value)
{
    if (FOptions == value)
        return;
    if (value & goRowSelect)
        value &= ~TKyGridOptions(goAlwaysShowEditor);
    FOptions = value;
    if (!FEditorMode) {
        if (value & goAlwaysShowEditor)
            ShowEditor();
        else
            HideEditor();
    } else if (CanEditShow()) {
        // The editor was on but could not show (say goEditing came after
        // goAlwaysShowEditor): it shows now.
        UpdateEdit();
    } else {
        HideEdit();
    }
    if (value & goRowSelect)
        MoveCurrent(Col(), Row(), true, false);
    UpdateScrollRange();
    InvalidateGrid();
}

void TQxCustomGrid::SetScrollBars(TScrollStyle value)
{
    if (FScrollBars == value)
        return;
    FScrollBars = value;
    UpdateScrollRange();
}

void TQxCustomGrid::applyPolicy(Qt::Orientation Bar, bool on)
{
    // Setting a policy lays the area out again even when it does not change.
    const Qt::ScrollBarPolicy policy = on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (Bar == Qt::Horizontal) {
        if (horizontalScrollBarPolicy() != policy)
            setHorizontalScrollBarPolicy(policy);
    } else if (verticalScrollBarPolicy() != policy) {
        setVerticalScrollBarPolicy(policy);
    }
}

void TQxCustomGrid::SetDefaultDrawing(bool value)
{
    if (FDefaultDrawing == value)
        return;
    FDefaultDrawing = value;
    InvalidateGrid();
}

void TQxCustomGrid::SetTabStop(bool value)
{
    FTabStop = value;
    applyFocusPolicy();
}

// ---------------------------------------------------------------------------------------------
// Counts and extents

int TQxCustomGrid::extentOf(const std::optional<std::vector<int>>& block, int index, int fallback)
{
    if (!block || index < 0 || index >= int(block->size()))
        return fallback;
    return (*block)[std::size_t(index)];
}

int TQxCustomGrid::ColWidths(int index) const
{
    return extentOf(FColWidths, index, FDefaultColWidth);
}

int TQxCustomGrid::RowHeights(int index) const
{
    return extentOf(FRowHeights, index, FDefaultRowHeight);
}

bool TQxCustomGrid::TabStops(int index) const
{
    return extentOf(FTabStops, index, 1) != 0;
}

void TQxCustomGrid::SetColWidths(int index, int value)
{
    if (!FColWidths)
        UpdateExtents(FColWidths, FColCount, FDefaultColWidth);
    if (index < 0 || index >= FColCount)
        InvalidOp(SIndexOutOfRange);
    int& cell = (*FColWidths)[std::size_t(index)];
    if (cell == value)
        return;
    const int old = cell;
    cell = value;
    ResizeCol(index, old, value);
    ColWidthsChanged();
}

void TQxCustomGrid::SetRowHeights(int index, int value)
{
    if (!FRowHeights)
        UpdateExtents(FRowHeights, FRowCount, FDefaultRowHeight);
    if (index < 0 || index >= FRowCount)
        InvalidOp(SIndexOutOfRange);
    int& cell = (*FRowHeights)[std::size_t(index)];
    if (cell == value)
        return;
    const int old = cell;
    cell = value;
    ResizeRow(index, old, value);
    RowHeightsChanged();
}

void TQxCustomGrid::SetTabStops(int index, bool value)
{
    if (!FTabStops)
        UpdateExtents(FTabStops, FColCount, 1);
    if (index < 0 || index >= FColCount)
        InvalidOp(SIndexOutOfRange);
    (*FTabStops)[std::size_t(index)] = value ? 1 : 0;
}

void TQxCustomGrid::ResizeCol(int index, int, int)
{
    // Everything from the column's left edge on moves; repaint it.
    const QRect r = CellRect(index, 0);
    const int left = r.isEmpty() ? 0 : r.left();
    viewport()->update(QRect(left, 0, std::max(0, ClientWidth() - left), ClientHeight()));
}

void TQxCustomGrid::ResizeRow(int index, int, int)
{
    const QRect r = CellRect(0, index);
    const int top = r.isEmpty() ? 0 : r.top();
    viewport()->update(QRect(0, top, ClientWidth(), std::max(0, ClientHeight() - top)));
}

void TQxCustomGrid::SetDefaultColWidth(int value)
{
    FColWidths.reset();
    FDefaultColWidth = value;
    ColWidthsChanged();
    InvalidateGrid();
}

void TQxCustomGrid::SetDefaultRowHeight(int value)
{
    FRowHeights.reset();
    FDefaultRowHeight = value;
    RowHeightsChanged();
    InvalidateGrid();
}

void TQxCustomGrid::SetColCount(int value)
{
    if (FColCount == value)
        return;
    if (value < 1)
        value = 1;
    if (value <= FFixedCols)
        SetFixedCols(value - 1);
    ChangeSize(value, FRowCount);
    if (FOptions & goRowSelect) {
        FAnchor.X = FColCount - 1;
        InvalidateGrid();
    }
}

void TQxCustomGrid::SetRowCount(int value)
{
    if (FRowCount == value)
        return;
    if (value < 1)
        value = 1;
    if (value <= FFixedRows)
        SetFixedRows(value - 1);
    ChangeSize(FColCount, value);
}

void TQxCustomGrid::SetFixedCols(int value)
{
    if (FFixedCols == value)
        return;
    if (value < 0)
        InvalidOp(SIndexOutOfRange);
    if (value >= FColCount)
        InvalidOp(SFixedColTooBig);
    FFixedCols = value;
    Initialize();
    UpdateScrollRange();
    InvalidateGrid();
}

void TQxCustomGrid::SetFixedRows(int value)
{
    if (FFixedRows == value)
        return;
    if (value < 0)
        InvalidOp(SIndexOutOfRange);
    if (value >= FRowCount)
        InvalidOp(SFixedRowTooBig);
    FFixedRows = value;
    Initialize();
    UpdateScrollRange();
    InvalidateGrid();
}

void TQxCustomGrid::Initialize()
{
    FTopLeft = {FFixedCols, FFixedRows};
    FCurrent = FTopLeft;
    FAnchor = FCurrent;
    if (FOptions & goRowSelect)
        FAnchor.X = FColCount - 1;
}

void TQxCustomGrid::ChangeSize(int NewColCount, int NewRowCount)
{
    TGridDrawInfo oldInfo;
    CalcDrawInfo(oldInfo);
    const int oldColCount = FColCount;
    const int oldRowCount = FRowCount;

    auto doChange = [&] {
        if (FColWidths)
            UpdateExtents(FColWidths, FColCount, FDefaultColWidth);
        if (FTabStops)
            UpdateExtents(FTabStops, FColCount, 1);
        if (FRowHeights)
            UpdateExtents(FRowHeights, FRowCount, FDefaultRowHeight);
        TGridCoord coord = FCurrent;
        if (coord.Y >= FRowCount)
            coord.Y = FRowCount - 1;
        if (coord.X >= FColCount)
            coord.X = FColCount - 1;
        // The top-left cell may have fallen off the end, or be past the largest useful one.
        TGridDrawInfo info;
        CalcDrawInfo(info);
        const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
        const TGridCoord oldTopLeft = FTopLeft;
        FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, maxTopLeft.X));
        FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, maxTopLeft.Y));
        if (!(FCurrent == coord))
            MoveCurrent(coord.X, coord.Y, true, true);
        if (!(FAnchor == coord))
            MoveAnchor(coord);
        if (FVirtualView || !(oldTopLeft == FTopLeft) || LeftCol() != oldInfo.Horz.FirstGridCell
            || TopRow() != oldInfo.Vert.FirstGridCell) {
            InvalidateGrid();
        } else {
            TGridDrawInfo newInfo;
            CalcDrawInfo(newInfo);
            // Only what lies from the first cell that may differ to the far edge changes.
            const int firstCol =
                std::min(oldInfo.Horz.LastFullVisibleCell, newInfo.Horz.LastFullVisibleCell);
            const int firstRow =
                std::min(oldInfo.Vert.LastFullVisibleCell, newInfo.Vert.LastFullVisibleCell);
            QRect r = CellRect(firstCol, 0);
            viewport()->update(QRect(r.isEmpty() ? 0 : r.left(), 0, width(), height()));
            r = CellRect(0, firstRow);
            viewport()->update(QRect(0, r.isEmpty() ? 0 : r.top(), width(), height()));
        }
        UpdateScrollRange();
        if (!(oldTopLeft == FTopLeft))
            TopLeftChanged();
        SizeChanged(oldColCount, oldRowCount);
    };

    FColCount = NewColCount;
    FRowCount = NewRowCount;
    if (FFixedCols > NewColCount)
        FFixedCols = NewColCount - 1;
    if (FFixedRows > NewRowCount)
        FFixedRows = NewRowCount - 1;
    try {
        doChange();
    } catch (...) {
        // The size could not change: put the old counts back and pass the failure on.
        FColCount = oldColCount;
        FRowCount = oldRowCount;
        doChange();
        InvalidateGrid();
        throw;
    }
}

void TQxCustomGrid::AdjustSize(int Index, int Amount, bool Rows)
{
    if (Amount == 0)
        return;
    const int oldCols = FColCount;
    const int oldRows = FRowCount;
    TGridCoord newCur = FCurrent;
    auto adjust = [&](int& count, std::optional<std::vector<int>>& extents,
                      std::optional<std::vector<int>>* tabStops, int defaultExtent, int& current,
                      int& topLeft, int fixed) {
        const qint64 newCount = qint64(count) + Amount;
        if (newCount < Index || Index < 0 || (Amount < 0 && Index - Amount > count))
            InvalidOp(STooManyDeleted);
        if (newCount > MaxExtentCells)
            InvalidOp(SGridTooLarge);
        if (newCount < 1)
            InvalidOp(STooManyDeleted);
        ModifyExtents(extents, Index, Amount, defaultExtent);
        if (tabStops)
            ModifyExtents(*tabStops, Index, Amount, 1);
        count = int(newCount);
        auto follow = [&](int& c) {
            if (c >= Index) {
                if (Amount < 0 && c < Index - Amount)
                    c = Index;
                else
                    c += Amount;
            }
        };
        follow(current);
        follow(topLeft);
        current = std::clamp(current, 0, count - 1);
        topLeft = std::clamp(topLeft, std::min(fixed, count - 1), count - 1);
    };
    if (Rows)
        adjust(FRowCount, FRowHeights, nullptr, FDefaultRowHeight, newCur.Y, FTopLeft.Y, FFixedRows);
    else
        adjust(FColCount, FColWidths, &FTabStops, FDefaultColWidth, newCur.X, FTopLeft.X, FFixedCols);
    if (FFixedCols >= FColCount)
        FFixedCols = FColCount - 1;
    if (FFixedRows >= FRowCount)
        FFixedRows = FRowCount - 1;
    FAnchor.X = std::min(FAnchor.X, FColCount - 1);
    FAnchor.Y = std::min(FAnchor.Y, FRowCount - 1);
    FCurrent.X = std::min(FCurrent.X, FColCount - 1);
    FCurrent.Y = std::min(FCurrent.Y, FRowCount - 1);
    InvalidateGrid();
    UpdateScrollRange();
    SizeChanged(oldCols, oldRows);
    if (!(newCur == FCurrent))
        MoveCurrent(std::max(newCur.X, FFixedCols), std::max(newCur.Y, FFixedRows), true, true);
}

void TQxCustomGrid::DeleteColumn(int ACol)
{
    MoveColumn(ACol, FColCount - 1);
    SetColCount(FColCount - 1);
}

void TQxCustomGrid::DeleteRow(int ARow)
{
    MoveRow(ARow, FRowCount - 1);
    SetRowCount(FRowCount - 1);
}

void TQxCustomGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex)
        return;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FColCount || ToIndex >= FColCount)
        InvalidOp(SIndexOutOfRange);
    const bool hadWidths = FColWidths.has_value();
    MoveExtent(FColWidths, FromIndex, ToIndex);
    MoveExtent(FTabStops, FromIndex, ToIndex);
    MoveAdjust(FCurrent.X, FromIndex, ToIndex);
    MoveAdjust(FAnchor.X, FromIndex, ToIndex);
    MoveAdjust(FInplaceCol, FromIndex, ToIndex);
    ColumnMoved(FromIndex, ToIndex);
    if (hadWidths)
        ColWidthsChanged();
    InvalidateGrid();
    UpdateEdit();
}

void TQxCustomGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex)
        return;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FRowCount || ToIndex >= FRowCount)
        InvalidOp(SIndexOutOfRange);
    const bool hadHeights = FRowHeights.has_value();
    MoveExtent(FRowHeights, FromIndex, ToIndex);
    MoveAdjust(FCurrent.Y, FromIndex, ToIndex);
    MoveAdjust(FAnchor.Y, FromIndex, ToIndex);
    MoveAdjust(FInplaceRow, FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    if (hadHeights)
        RowHeightsChanged();
    InvalidateGrid();
    UpdateEdit();
}

QList<int> TQxCustomGrid::StoredColWidths() const
{
    QList<int> out;
    out.reserve(FColCount);
    for (int i = 0; i < FColCount; ++i)
        out.append(ColWidths(i));
    return out;
}

QList<int> TQxCustomGrid::StoredRowHeights() const
{
    QList<int> out;
    out.reserve(FRowCount);
    for (int i = 0; i < FRowCount; ++i)
        out.append(RowHeights(i));
    return out;
}

void TQxCustomGrid::ReadColWidths(const QList<int>& widths)
{
    for (int i = 0; i < FColCount && i < widths.size(); ++i)
        SetColWidths(i, widths[i]);
}

void TQxCustomGrid::ReadRowHeights(const QList<int>& heights)
{
    for (int i = 0; i < FRowCount && i < heights.size(); ++i)
        SetRowHeights(i, heights[i]);
}

// ---------------------------------------------------------------------------------------------
// Default answers of the overridable operations

bool TQxCustomGrid::SelectCell(int, int) { return true; }
bool TQxCustomGrid::CanEditAcceptKey(QChar) { return true; }
bool TQxCustomGrid::CanGridAcceptKey(int, TShiftState) { return true; }
bool TQxCustomGrid::CanEditModify() { return FCanEditModify; }
QString TQxCustomGrid::GetEditText(int, int) { return QString(); }
void TQxCustomGrid::SetEditText(int, int, const QString&) {}
QString TQxCustomGrid::GetEditMask(int, int) { return QString(); }
int TQxCustomGrid::GetEditLimit() { return 0; }
void TQxCustomGrid::ColumnMoved(int, int) {}
void TQxCustomGrid::RowMoved(int, int) {}
void TQxCustomGrid::SizeChanged(int, int) {}
void TQxCustomGrid::DeferredLayout() {}

void TQxCustomGrid::DrawFooter(int ACol, int ARow, const QRect& ARect, TKyGridDrawState AState)
{
    if (OnDrawFooter)
        OnDrawFooter(this, ACol, ARow, ARect, AState);
}

void TQxCustomGrid::TopLeftChanged()
{
    if (FEditorMode && FInplaceEdit)
        FInplaceEdit->UpdateLoc(CellRect(Col(), Row()));
}

void TQxCustomGrid::ColWidthsChanged()
{
    UpdateScrollRange();
    UpdateEdit();
}

void TQxCustomGrid::RowHeightsChanged()
{
    UpdateScrollRange();
    UpdateEdit();
}

void TQxCustomGrid::TimedScroll(TGridScrollDirections Direction)
{
    TGridCoord newAnchor = FAnchor;
    if ((Direction & sdLeft) && FAnchor.X > FFixedCols)
        --newAnchor.X;
    if ((Direction & sdRight) && FAnchor.X < FColCount - 1)
        ++newAnchor.X;
    if ((Direction & sdUp) && FAnchor.Y > FFixedRows)
        --newAnchor.Y;
    if ((Direction & sdDown) && FAnchor.Y < FRowCount - 1)
        ++newAnchor.Y;
    // Moving the anchor scrolls it into view.
    if (!(newAnchor == FAnchor))
        MoveAnchor(newAnchor);
}

bool TQxCustomGrid::BeginColumnDrag(int&, int&, const QPoint&) { return true; }
bool TQxCustomGrid::BeginRowDrag(int&, int&, const QPoint&) { return true; }
bool TQxCustomGrid::CheckColumnDrag(int&, int&, const QPoint&) { return true; }
bool TQxCustomGrid::CheckRowDrag(int&, int&, const QPoint&) { return true; }
bool TQxCustomGrid::EndColumnDrag(int&, int&, const QPoint&) { return true; }
bool TQxCustomGrid::EndRowDrag(int&, int&, const QPoint&) { return true; }

// ---------------------------------------------------------------------------------------------
// Geometry

// The client extents come from the frame and the bars' policies rather than from the viewport's
// geometry, which Qt lays out only once the grid is shown: a grid that was never shown still
// answers CellRect and friends as it will look.
int TQxCustomGrid::ClientWidth() const
{
    int w = contentsRect().width();
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        w -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return std::max(0, w);
}

int TQxCustomGrid::ClientHeight() const
{
    int h = contentsRect().height();
    if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        h -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return std::max(0, h);
}

void TQxCustomGrid::CalcFixedInfo(TGridDrawInfo& DrawInfo) const
{
    auto calcFixedAxis = [this](TGridAxisDrawInfo& axis, TKyGridOptions lineOptions, int fixedCount,
                                int firstCell, int cellCount, bool columns) {
        axis.Grid = this;
        axis.Columns = columns;
        axis.EffectiveLineWidth = (FOptions & lineOptions) ? FGridLineWidth : 0;
        axis.FixedBoundary = 0;
        for (int i = 0; i < fixedCount; ++i)
            axis.FixedBoundary += axis.GetExtent(i) + axis.EffectiveLineWidth;
        axis.FixedCellCount = fixedCount;
        axis.FirstGridCell = firstCell;
        axis.GridCellCount = cellCount;
    };
    calcFixedAxis(DrawInfo.Horz, TKyGridOptions(goFixedVertLine | goVertLine), FFixedCols,
                  FTopLeft.X, FColCount, true);
    calcFixedAxis(DrawInfo.Vert, TKyGridOptions(goFixedHorzLine | goHorzLine), FFixedRows,
                  FTopLeft.Y, FRowCount, false);
}

void TQxCustomGrid::CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int UseWidth, int UseHeight) const
{
    CalcFixedInfo(DrawInfo);
    auto calcAxis = [](TGridAxisDrawInfo& axis, int gridExtent) {
        axis.GridExtent = gridExtent;
        axis.FullVisBoundary = axis.FixedBoundary;
        axis.GridBoundary = axis.FixedBoundary;
        axis.LastFullVisibleCell = axis.FirstGridCell;
        // Walks only the cells on screen: the cost follows the client size, not the count.
        for (int i = axis.FirstGridCell; i < axis.GridCellCount; ++i) {
            axis.GridBoundary += axis.GetExtent(i) + axis.EffectiveLineWidth;
            if (axis.GridBoundary > gridExtent + axis.EffectiveLineWidth) {
                axis.GridBoundary = gridExtent;
                break;
            }
            axis.LastFullVisibleCell = i;
            axis.FullVisBoundary = axis.GridBoundary;
        }
    };
    calcAxis(DrawInfo.Horz, UseWidth);
    calcAxis(DrawInfo.Vert, UseHeight);
}

void TQxCustomGrid::CalcDrawInfo(TGridDrawInfo& DrawInfo) const
{
    CalcDrawInfoXY(DrawInfo, ClientWidth(), ClientHeight());
}

TGridCoord TQxCustomGrid::CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo) const
{
    auto calcMaxCell = [](const TGridAxisDrawInfo& axis, int start) {
        int result = start;
        int line = axis.GridExtent + axis.EffectiveLineWidth;
        for (int i = start; i >= axis.FixedCellCount; --i) {
            const int extent = axis.GetExtent(i);
            if (extent > 0) {
                line -= extent + axis.EffectiveLineWidth;
                if (line < axis.FixedBoundary) {
                    if (result == start && axis.GetExtent(start) <= 0)
                        result = i;
                    break;
                }
                result = i;
            }
        }
        return result;
    };
    return {calcMaxCell(DrawInfo.Horz, Coord.X), calcMaxCell(DrawInfo.Vert, Coord.Y)};
}

TGridCoord TQxCustomGrid::CalcCoordFromPoint(int X, int Y, const TGridDrawInfo& DrawInfo) const
{
    auto doCalc = [](const TGridAxisDrawInfo& axis, int n, int offset) {
        if (n < 0)
            return -1;
        int start, stop, line;
        if (n < axis.FixedBoundary) {
            start = 0;
            stop = axis.FixedCellCount - 1;
            line = 0;
        } else {
            start = axis.FirstGridCell;
            stop = axis.GridCellCount - 1;
            line = axis.FixedBoundary - offset;
        }
        for (int i = start; i <= stop; ++i) {
            line += axis.GetExtent(i) + axis.EffectiveLineWidth;
            if (n < line)
                return i;
        }
        return -1;
    };
    return {doCalc(DrawInfo.Horz, X, FColOffset), doCalc(DrawInfo.Vert, Y, 0)};
}

TGridCoord TQxCustomGrid::MouseCoord(int X, int Y) const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    TGridCoord result = CalcCoordFromPoint(X, Y, info);
    if (result.X < 0)
        result.Y = -1;
    else if (result.Y < 0)
        result.X = -1;
    return result;
}

QRect TQxCustomGrid::GridRectToScreenRect(const TGridRect& GridRect, bool IncludeLine) const
{
    if (GridRect.Left > GridRect.Right || GridRect.Top > GridRect.Bottom)
        return QRect();
    TGridDrawInfo info;
    CalcDrawInfo(info);
    if (GridRect.Left > info.Horz.LastFullVisibleCell + 1
        || GridRect.Top > info.Vert.LastFullVisibleCell + 1)
        return QRect();

    // Start of a cell on screen, 0 when it lies beyond the client extent.
    auto linePos = [](const TGridAxisDrawInfo& axis, int line) {
        int result = 0;
        int start;
        if (line < axis.FixedCellCount) {
            start = 0;
        } else {
            if (line >= axis.FirstGridCell)
                result = axis.FixedBoundary;
            start = axis.FirstGridCell;
        }
        for (int i = start; i < line; ++i) {
            result += axis.GetExtent(i) + axis.EffectiveLineWidth;
            if (result > axis.GridExtent)
                return 0;
        }
        return result;
    };
    auto calcAxis = [&](const TGridAxisDrawInfo& axis, int minCell, int maxCell, int& screenMin,
                        int& screenMax) {
        if (minCell >= axis.FixedCellCount && minCell < axis.FirstGridCell) {
            if (maxCell < axis.FirstGridCell)
                return false;
            minCell = axis.FirstGridCell;
        }
        if (maxCell > axis.LastFullVisibleCell) {
            maxCell = axis.LastFullVisibleCell;
            if (maxCell < axis.GridCellCount - 1)
                ++maxCell;
            if (linePos(axis, maxCell) == 0)
                --maxCell;
        }
        screenMin = linePos(axis, minCell);
        screenMax = linePos(axis, maxCell);
        if (screenMax == 0)
            screenMax = screenMin + axis.GetExtent(minCell);
        else
            screenMax += axis.GetExtent(maxCell);
        if (screenMax > axis.GridExtent)
            screenMax = axis.GridExtent;
        if (IncludeLine)
            screenMax += axis.EffectiveLineWidth;
        return true;
    };
    int l = 0, r = 0, t = 0, b = 0;
    if (!calcAxis(info.Horz, GridRect.Left, GridRect.Right, l, r))
        return QRect();
    if (!calcAxis(info.Vert, GridRect.Top, GridRect.Bottom, t, b))
        return QRect();
    if (FColOffset != 0 && GridRect.Left >= FFixedCols) {
        // A single column scrolled by pixels.
        l = std::max(info.Horz.FixedBoundary, l - FColOffset);
        r -= FColOffset;
    }
    if (r <= l || b <= t)
        return QRect();
    return QRect(l, t, r - l, b - t);
}

QRect TQxCustomGrid::BoxRect(int ALeft, int ATop, int ARight, int ABottom) const
{
    return GridRectToScreenRect({ALeft, ATop, ARight, ABottom}, false);
}

QRect TQxCustomGrid::CellRect(int ACol, int ARow) const
{
    return BoxRect(ACol, ARow, ACol, ARow);
}

int TQxCustomGrid::VisibleColCount() const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return info.Horz.LastFullVisibleCell - LeftCol() + 1;
}

int TQxCustomGrid::VisibleRowCount() const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return info.Vert.LastFullVisibleCell - TopRow() + 1;
}

TGridRect TQxCustomGrid::Selection() const
{
    TGridRect r;
    r.Left = std::min(FCurrent.X, FAnchor.X);
    r.Right = std::max(FCurrent.X, FAnchor.X);
    r.Top = std::min(FCurrent.Y, FAnchor.Y);
    r.Bottom = std::max(FCurrent.Y, FAnchor.Y);
    return r;
}

// ---------------------------------------------------------------------------------------------
// Current cell, anchor and scrolling

void TQxCustomGrid::SetCol(int value)
{
    if (value != Col())
        FocusCell(value, Row(), true);
}

void TQxCustomGrid::SetRow(int value)
{
    if (value != Row())
        FocusCell(Col(), value, true);
}

void TQxCustomGrid::SetTopRow(int value)
{
    // Not held to the largest useful top row (a descendant may show empty space below its
    // last row), but always a scrollable row that exists: a fixed or missing row on top would
    // paint the fixed rows twice or cells that are not there.
    value = std::clamp(value, FFixedRows, FRowCount - 1);
    MoveTopLeft(LeftCol(), value);
}

void TQxCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    MoveCurrent(ACol, ARow, MoveAnchor, true);
    UpdateEdit();
    Click();
}

void TQxCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    MoveCurrent(ACol, ARow, MoveAnchor, Show);
}

void TQxCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount)
        InvalidOp(SIndexOutOfRange);
    if (!SelectCell(ACol, ARow))
        return;
    const TGridRect oldSel = Selection();
    const TGridCoord oldCurrent = FCurrent;
    FCurrent = {ACol, ARow};
    if (!(FOptions & goAlwaysShowEditor))
        HideEditor();
    if (MoveAnchor || !(FOptions & goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions & goRowSelect)
            FAnchor.X = FColCount - 1;
    }
    if (FOptions & goRowSelect)
        FCurrent.X = FFixedCols;
    if (Show)
        ClampInView(FCurrent);
    SelectionMoved(oldSel);
    InvalidateCell(oldCurrent.X, oldCurrent.Y);
    InvalidateCell(ACol, ARow);
}

void TQxCustomGrid::MoveAnchor(const TGridCoord& NewAnchor)
{
    if ((FOptions & (goRangeSelect | goEditing)) == TKyGridOptions(goRangeSelect)) {
        const TGridRect oldSel = Selection();
        FAnchor = NewAnchor;
        if (FOptions & goRowSelect)
            FAnchor.X = FColCount - 1;
        ClampInView(NewAnchor);
        SelectionMoved(oldSel);
    } else {
        MoveCurrent(NewAnchor.X, NewAnchor.Y, true, true);
    }
}

void TQxCustomGrid::ClampInView(const TGridCoord& Coord)
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    if (Coord.X > info.Horz.LastFullVisibleCell || Coord.Y > info.Vert.LastFullVisibleCell
        || Coord.X < LeftCol() || Coord.Y < TopRow()) {
        const TGridCoord oldTopLeft = FTopLeft;
        const TGridCoord maxTopLeft = CalcMaxTopLeft(Coord, info);
        if (Coord.X < LeftCol())
            FTopLeft.X = std::max(Coord.X, FFixedCols);
        else if (Coord.X > info.Horz.LastFullVisibleCell)
            FTopLeft.X = maxTopLeft.X;
        if (Coord.Y < TopRow())
            FTopLeft.Y = std::max(Coord.Y, FFixedRows);
        else if (Coord.Y > info.Vert.LastFullVisibleCell)
            FTopLeft.Y = maxTopLeft.Y;
        if (!(oldTopLeft == FTopLeft))
            TopLeftMoved(oldTopLeft);
    }
}

void TQxCustomGrid::SelectionMoved(const TGridRect& OldSel)
{
    const TGridRect newSel = Selection();
    if (OldSel == newSel)
        return;
    InvalidateRect(OldSel);
    InvalidateRect(newSel);
}

void TQxCustomGrid::MoveTopLeft(int ALeft, int ATop)
{
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y)
        return;
    const TGridCoord old = FTopLeft;
    FTopLeft = {ALeft, ATop};
    TopLeftMoved(old);
}

void TQxCustomGrid::TopLeftMoved(const TGridCoord& OldTopLeft)
{
    UpdateScrollPos();
    TGridDrawInfo info;
    CalcDrawInfo(info);
    // The pixel distance between the old and new top-left cell, or false when it is more than a
    // screenful (then the whole grid repaints).
    auto calcScroll = [this](const TGridAxisDrawInfo& axis, int oldPos, int curPos, int& amount) {
        const int start = std::min(oldPos, curPos);
        const int stop = std::max(oldPos, curPos);
        amount = 0;
        for (int i = start; i < stop; ++i) {
            amount += axis.GetExtent(i) + axis.EffectiveLineWidth;
            if (amount > axis.GridBoundary - axis.FixedBoundary) {
                InvalidateGrid();
                return false;
            }
        }
        if (oldPos < curPos)
            amount = -amount;
        return true;
    };
    int dx = 0, dy = 0;
    if (calcScroll(info.Horz, OldTopLeft.X, FTopLeft.X, dx)
        && calcScroll(info.Vert, OldTopLeft.Y, FTopLeft.Y, dy))
        ScrollDataInfo(dx, dy, info);
    TopLeftChanged();
}

void TQxCustomGrid::ScrollDataInfo(int DX, int DY, const TGridDrawInfo& info)
{
    QWidget* vp = viewport();
    const int w = info.Horz.GridExtent;
    const int h = info.Vert.GridExtent;
    const int fx = info.Horz.FixedBoundary;
    const int fy = info.Vert.FixedBoundary;
    // The scroll moves only pixels; the editor is placed again by TopLeftChanged. The XOR
    // indicator is drawn at the end of each paint, so the moved pixels must not carry it.
    if (FIndicator.On)
        InvalidateGrid();
    if (DY == 0) {
        // Column titles and data scroll together.
        if (DX != 0)
            vp->scroll(DX, 0, QRect(fx, 0, std::max(0, w - fx), h));
    } else if (DX == 0) {
        // Row titles and data scroll together.
        vp->scroll(0, DY, QRect(0, fy, w, std::max(0, h - fy)));
    } else {
        vp->scroll(DX, 0, QRect(fx, 0, std::max(0, w - fx), fy));
        vp->scroll(0, DY, QRect(0, fy, fx, std::max(0, h - fy)));
        vp->scroll(DX, DY, QRect(fx, fy, std::max(0, w - fx), std::max(0, h - fy)));
    }
    if (FOptions & goRowSelect)
        InvalidateRect(Selection());
}

void TQxCustomGrid::ScrollData(int DX, int DY)
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    ScrollDataInfo(DX, DY, info);
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

int TQxCustomGrid::ScrollBarPosFor(Qt::Orientation Bar) const
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
    if (Bar == Qt::Horizontal) {
        if (FColCount == 1)
            return FColOffset;
        return LongMulDiv(FTopLeft.X - FFixedCols, MaxScrollPos, maxTopLeft.X - FFixedCols);
    }
    return LongMulDiv(FTopLeft.Y - FFixedRows, MaxScrollPos, maxTopLeft.Y - FFixedRows);
}

void TQxCustomGrid::UpdateScrollPos()
{
    if (FUpdatingScrollBars)
        return;
    FUpdatingScrollBars = true;
    if (horizontalScrollBar()->maximum() > 0)
        horizontalScrollBar()->setValue(ScrollBarPosFor(Qt::Horizontal));
    if (verticalScrollBar()->maximum() > 0)
        verticalScrollBar()->setValue(ScrollBarPosFor(Qt::Vertical));
    FUpdatingScrollBars = false;
}

void TQxCustomGrid::UpdateScrollRange()
{
    if (FUpdatingScrollBars)
        return;
    FUpdatingScrollBars = true;
    // Whether each bar is needed is decided against the area without bars first, then with
    // the other bar's room taken, as the window system does; the bars' policies are then set
    // outright so that showing one never makes the layout oscillate.
    const QRect area = contentsRect();
    const int barW = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const bool allowH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    const bool allowV = FScrollBars == ssVertical || FScrollBars == ssBoth;
    auto needs = [this](int w, int h, bool& needH, bool& needV) {
        TGridDrawInfo info;
        CalcDrawInfoXY(info, w, h);
        const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
        if (FColCount == 1)
            needH = ColWidths(0) > w;
        else
            needH = maxTopLeft.X > FFixedCols || FTopLeft.X > FFixedCols;
        needV = maxTopLeft.Y > FFixedRows || FTopLeft.Y > FFixedRows;
    };
    const int dataBar = DataVerticalBar();
    bool needH = false, needV = false;
    int w = area.width(), h = area.height();
    needs(w, h, needH, needV);
    needH = needH && allowH;
    needV = dataBar < 0 ? needV && allowV : dataBar > 0;
    if (needH || needV) {
        bool h2 = false, v2 = false;
        needs(w - (needV ? barW : 0), h - (needH ? barW : 0), h2, v2);
        needH = needH || (h2 && allowH);
        if (dataBar < 0)
            needV = needV || (v2 && allowV);
    }
    applyPolicy(Qt::Horizontal, needH);
    applyPolicy(Qt::Vertical, needV);

    // With the real viewport size now, clamp the top-left cell and set the ranges.
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
    TGridCoord newTopLeft = FTopLeft;
    newTopLeft.X = std::clamp(newTopLeft.X, FFixedCols, std::max(FFixedCols, maxTopLeft.X));
    newTopLeft.Y = std::clamp(newTopLeft.Y, FFixedRows, std::max(FFixedRows, maxTopLeft.Y));
    if (FColCount == 1) {
        const int maxOffset = std::max(0, ColWidths(0) - ClientWidth());
        if (FColOffset > maxOffset) {
            FColOffset = maxOffset;
            InvalidateGrid();
        }
        horizontalScrollBar()->setRange(0, needH ? maxOffset : 0);
        horizontalScrollBar()->setPageStep(std::max(1, ClientWidth()));
    } else {
        FColOffset = 0;
        horizontalScrollBar()->setRange(0, needH ? MaxScrollPos : 0);
        horizontalScrollBar()->setPageStep(1);
    }
    if (dataBar < 0) {
        verticalScrollBar()->setRange(0, needV ? MaxScrollPos : 0);
        verticalScrollBar()->setPageStep(1);
    }
    FUpdatingScrollBars = false;
    if (!(newTopLeft == FTopLeft))
        MoveTopLeft(newTopLeft.X, newTopLeft.Y);
    else
        UpdateScrollPos();
}

void TQxCustomGrid::onScrollAction(Qt::Orientation Bar, int action)
{
    if (FUpdatingScrollBars)
        return;
    QScrollBar* bar = Bar == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    ScrollBarAction(Bar, action, bar->sliderPosition(), false);
}

void TQxCustomGrid::onSliderReleased(Qt::Orientation Bar)
{
    QScrollBar* bar = Bar == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    ScrollBarAction(Bar, QAbstractSlider::SliderMove, bar->sliderPosition(), true);
}

void TQxCustomGrid::ScrollBarAction(Qt::Orientation Bar, int Action, int Pos, bool Released)
{
    QScrollBar* bar = Bar == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    if (Action == QAbstractSlider::SliderMove && (FOptions & goThumbTracking) == Released) {
        // Without thumb tracking the thumb moves alone and the grid follows on release; with
        // it, the grid has followed already.
        return;
    }
    ModifyScrollBar(Bar, Action, Pos);
    // The bar shows the grid's position, not the one the action computed.
    if (Released) {
        FUpdatingScrollBars = true;
        bar->setValue(ScrollBarPosFor(Bar));
        FUpdatingScrollBars = false;
    } else {
        bar->setSliderPosition(ScrollBarPosFor(Bar));
    }
}

void TQxCustomGrid::ModifyScrollBar(Qt::Orientation Bar, int Action, int Pos)
{
    if (isVisible() && focusPolicy() != Qt::NoFocus && FTabStop && isEnabled() && !IsActiveControl())
        setFocus(Qt::OtherFocusReason);
    TGridDrawInfo info;
    CalcDrawInfo(info);

    if (Bar == Qt::Horizontal && FColCount == 1) {
        // A single column scrolls by pixels.
        const int maxOffset = std::max(0, ColWidths(0) - ClientWidth());
        int offset = FColOffset;
        const int charWidth = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('0')));
        switch (Action) {
        case QAbstractSlider::SliderSingleStepSub: offset -= charWidth; break;
        case QAbstractSlider::SliderSingleStepAdd: offset += charWidth; break;
        case QAbstractSlider::SliderPageStepSub: offset -= ClientWidth() - info.Horz.FixedBoundary; break;
        case QAbstractSlider::SliderPageStepAdd: offset += ClientWidth() - info.Horz.FixedBoundary; break;
        case QAbstractSlider::SliderMove: offset = Pos; break;
        case QAbstractSlider::SliderToMinimum: offset = 0; break;
        case QAbstractSlider::SliderToMaximum: offset = maxOffset; break;
        default: break;
        }
        offset = std::clamp(offset, 0, maxOffset);
        if (offset != FColOffset) {
            const int dx = FColOffset - offset;
            FColOffset = offset;
            ScrollData(dx, 0);
            TopLeftChanged();
        }
        return;
    }

    const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, info);
    const bool horz = Bar == Qt::Horizontal;
    const int first = horz ? FFixedCols : FFixedRows;
    const int max = horz ? maxTopLeft.X : maxTopLeft.Y;
    const TGridAxisDrawInfo& axis = horz ? info.Horz : info.Vert;
    const int page = std::max(1, axis.LastFullVisibleCell - axis.FirstGridCell + 1);
    auto step = [&](int value) {
        switch (Action) {
        case QAbstractSlider::SliderSingleStepSub: return value - 1;
        case QAbstractSlider::SliderSingleStepAdd: return value + 1;
        case QAbstractSlider::SliderPageStepSub: return value - page;
        case QAbstractSlider::SliderPageStepAdd: return value + page;
        case QAbstractSlider::SliderMove: return first + LongMulDiv(Pos, max - first, MaxScrollPos);
        case QAbstractSlider::SliderToMinimum: return first;
        case QAbstractSlider::SliderToMaximum: return max;
        default: return value;
        }
    };
    int value = horz ? FTopLeft.X : FTopLeft.Y;
    // Arrow clicks pass over hidden cells.
    for (;;) {
        const int before = value;
        value = step(value);
        if (value <= first || value >= max || axis.GetExtent(value) > 0 || before == value)
            break;
        if (Action == QAbstractSlider::SliderMove || Action == QAbstractSlider::SliderToMinimum
            || Action == QAbstractSlider::SliderToMaximum)
            break;
    }
    value = std::clamp(value, first, std::max(first, max));
    if (horz)
        MoveTopLeft(value, FTopLeft.Y);
    else
        MoveTopLeft(FTopLeft.X, value);
}

void TQxCustomGrid::scrollContentsBy(int, int)
{
    // The grid scrolls itself (TopLeftMoved); the area's own pixel scrolling is not wanted.
}

void TQxCustomGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
    if (FEditorMode && FInplaceEdit)
        FInplaceEdit->UpdateLoc(CellRect(Col(), Row()));
}

// ---------------------------------------------------------------------------------------------
// Repaint requests

void TQxCustomGrid::InvalidateRect(const TGridRect& ARect)
{
    const QRect r = GridRectToScreenRect(ARect, true);
    if (!r.isEmpty())
        viewport()->update(r);
}

void TQxCustomGrid::InvalidateCell(int ACol, int ARow)
{
    InvalidateRect({ACol, ARow, ACol, ARow});
}

void TQxCustomGrid::InvalidateCol(int ACol)
{
    InvalidateRect({ACol, 0, ACol, FRowCount - 1});
}

void TQxCustomGrid::InvalidateRow(int ARow)
{
    InvalidateRect({0, ARow, FColCount - 1, ARow});
}

void TQxCustomGrid::InvalidateGrid()
{
    viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// Deferred layout

void TQxCustomGrid::PostDeferredLayout()
{
    if (FLayoutPosted)
        return;
    FLayoutPosted = true;
    QCoreApplication::postEvent(this, new qx::LibraryEvent(qx::LibraryMessage::DeferredLayout, this));
}

void TQxCustomGrid::customEvent(QEvent* event)
{
    if (event->type() == qx::eventType(qx::LibraryMessage::DeferredLayout)) {
        FLayoutPosted = false;
        DeferredLayout();
        return;
    }
    QAbstractScrollArea::customEvent(event);
}
