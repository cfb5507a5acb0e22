// The library's grid base: a scrollable table of cells with fixed rows at the top and fixed
// columns at the left, per-column widths and per-row heights, a current cell, a rectangular
// selection, an in-place cell editor, and mouse sizing and moving of columns and rows. It holds
// no data: descendants draw the cells (DrawCell) and supply and take the editor's text.
//
// The grid paints itself into the viewport of a QAbstractScrollArea and drives the two scroll
// bars itself (range 0..127, the thumb showing the top-left cell in proportion), so painting and
// scrolling cost only what is on screen, whatever the number of rows.
//
// The implementation is one class over several files: uQxGrids.cpp (model, geometry,
// scrolling), uQxGridsPaint.cpp (painting), uQxGridsInput.cpp (keyboard, mouse, sizing and
// moving) and uQxGridsEditor.cpp (the in-place editor).
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Colors.h"
#include "platform/ui/ControlProps.h"
#include "platform/ui/Events.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Keys.h"
#include "platform/ui/MaskEdit.h"

class QPainter;
class TQxInplaceEdit;

// Bad indexes and counts of a grid ("Grid index out of range"...).
QX_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)

// A cell of the grid: X the column, Y the row.
struct TGridCoord
{
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A block of cells, all four bounds inclusive.
struct TGridRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

class TQxCustomGrid : public QAbstractScrollArea, public qx::ControlProps<TQxCustomGrid>
{
    Q_OBJECT

public:
    enum TKyGridOption {
        goFixedVertLine = 0x0001,
        goFixedHorzLine = 0x0002,
        goVertLine = 0x0004,
        goHorzLine = 0x0008,
        goRangeSelect = 0x0010,
        goDrawFocusSelected = 0x0020,
        goRowSizing = 0x0040,
        goColSizing = 0x0080,
        goRowMoving = 0x0100,
        goColMoving = 0x0200,
        goEditing = 0x0400,
        goTabs = 0x0800,
        goRowSelect = 0x1000,
        goAlwaysShowEditor = 0x2000,
        goThumbTracking = 0x4000,
        goReceiptMode = 0x8000,
    };
    Q_DECLARE_FLAGS(TKyGridOptions, TKyGridOption)
    Q_FLAG(TKyGridOptions)

    enum TKyGridDrawStateFlag { gdSelected = 0x1, gdFocused = 0x2, gdFixed = 0x4 };
    Q_DECLARE_FLAGS(TKyGridDrawState, TKyGridDrawStateFlag)
    Q_FLAG(TKyGridDrawState)

    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
    Q_ENUM(TScrollStyle)

    enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

    enum TGridScrollDirection { sdLeft = 0x1, sdRight = 0x2, sdUp = 0x4, sdDown = 0x8 };
    Q_DECLARE_FLAGS(TGridScrollDirections, TGridScrollDirection)

    static constexpr TKyGridOptions DefaultOptions{0x001F};

    // Published, in the order the component stream writes them.
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(int FixedColor READ FixedColor WRITE SetFixedColor)
    Q_PROPERTY(int LineColor READ LineColor WRITE SetLineColor)
    Q_PROPERTY(int GridLineWidth READ GridLineWidth WRITE SetGridLineWidth)
    Q_PROPERTY(TKyGridOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)

    explicit TQxCustomGrid(QWidget* parent = nullptr);
    ~TQxCustomGrid() override;

    // Events (Sender first).
    using TDrawFooterEvent =
        std::function<void(QObject* Sender, int ACol, int ARow, QRect Rect, TKyGridDrawState State)>;
    using TMouseWheelUpDownEvent =
        std::function<void(QObject* Sender, TShiftState Shift, QPoint MousePos, bool& Handled)>;

    TDrawFooterEvent OnDrawFooter;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;

    // Published properties.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TColor Color() const;
    void SetColor(TColor value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor value);
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int value);
    TKyGridOptions Options() const { return FOptions; }
    void SetOptions(TKyGridOptions value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);

    // The rest of the model (protected in spirit; public so forms and tests can read them).
    int ColCount() const { return FColCount; }
    void SetColCount(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int value);
    int ColWidths(int index) const;
    void SetColWidths(int index, int value);
    int RowHeights(int index) const;
    void SetRowHeights(int index, int value);
    bool TabStops(int index) const;
    void SetTabStops(int index, bool value);
    int Col() const { return FCurrent.X; }
    void SetCol(int value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int value);
    int LeftCol() const { return FTopLeft.X; }
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int value);
    TGridRect Selection() const;
    int VisibleColCount() const;
    int VisibleRowCount() const;
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value);
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool value);
    TQxInplaceEdit* InplaceEditor() const;

    // Geometry for callers and descendants.
    QRect BoxRect(int ALeft, int ATop, int ARight, int ABottom) const;
    QRect CellRect(int ACol, int ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;
    bool Sizing(int X, int Y);

    // The painter of the paint under way (the canvas DrawCell draws on); null outside painting.
    QPainter* Canvas() const { return FCanvas; }
    // The grid's text colour (the canvas's font colour before a cell changes it).
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);

    // Column widths and row heights as the form file keeps them: written only when the grid
    // saves its cell extents and a per-cell block exists; read back for as many entries as the
    // grid has columns (rows) at that moment.
    bool ShouldStoreColWidths() const { return FSaveCellExtents && FColWidths.has_value(); }
    bool ShouldStoreRowHeights() const { return FSaveCellExtents && FRowHeights.has_value(); }
    QList<int> StoredColWidths() const;
    QList<int> StoredRowHeights() const;
    void ReadColWidths(const QList<int>& widths);
    void ReadRowHeights(const QList<int>& heights);

    // Editor operations (also used by the editor itself).
    void ShowEditor();
    void HideEditor();
    void ShowEditorChar(QChar Ch);
    void InvalidateEditor();

    // Repaint requests.
    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateGrid();

    // The deferred layout pass: posts the library's deferred-layout message to the grid once;
    // further posts before it arrives are dropped. DeferredLayout() runs when it arrives.
    void PostDeferredLayout();
    bool DeferredLayoutPending() const { return FLayoutPosted; }

    // Key and mouse handling, callable by the editor and by descendants.
    virtual void KeyDown(int& Key, TShiftState Shift);
    virtual void KeyUp(int& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void DblClick();
    virtual void Click();
    virtual bool DoMouseWheelDown(TShiftState Shift, QPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, QPoint MousePos);
    // Whether the grid or its editor is the focused control of its form.
    bool IsActiveControl() const;

protected:
    // One axis of the geometry: columns horizontally, rows vertically.
    struct TGridAxisDrawInfo
    {
        int EffectiveLineWidth = 0;
        int FixedBoundary = 0;
        int GridBoundary = 0;
        int GridExtent = 0;
        int LastFullVisibleCell = 0;
        int FullVisBoundary = 0;
        int FixedCellCount = 0;
        int FirstGridCell = 0;
        int GridCellCount = 0;
        const TQxCustomGrid* Grid = nullptr;
        bool Columns = true;
        int GetExtent(int index) const
        {
            return Columns ? Grid->ColWidths(index) : Grid->RowHeights(index);
        }
    };
    struct TGridDrawInfo
    {
        TGridAxisDrawInfo Horz;
        TGridAxisDrawInfo Vert;
    };

    // Overridable operations, as descendants replace them.
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                 int& SizingOfs, TGridDrawInfo& FixedInfo);
    // A new editor; its parent should be the viewport (the cells' coordinates), and the base
    // moves it there when it is not.
    virtual TQxInplaceEdit* CreateEditor();
    virtual bool CanEditShow();
    virtual void DrawCell(int ACol, int ARow, const QRect& ARect, TKyGridDrawState AState) = 0;
    virtual bool SelectCell(int ACol, int ARow);
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);
    virtual void AdjustSize(int Index, int Amount, bool Rows);
    virtual bool CanEditAcceptKey(QChar Key);
    virtual bool CanGridAcceptKey(int Key, TShiftState Shift);
    virtual bool CanEditModify();
    virtual QString GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const QString& Value);
    virtual QString GetEditMask(int ACol, int ARow);
    virtual int GetEditLimit();
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual void DrawFooter(int ACol, int ARow, const QRect& ARect, TKyGridDrawState AState);
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void TopLeftChanged();
    virtual void TimedScroll(TGridScrollDirections Direction);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual bool BeginColumnDrag(int& Origin, int& Destination, const QPoint& MousePt);
    virtual bool BeginRowDrag(int& Origin, int& Destination, const QPoint& MousePt);
    virtual bool CheckColumnDrag(int& Origin, int& Destination, const QPoint& MousePt);
    virtual bool CheckRowDrag(int& Origin, int& Destination, const QPoint& MousePt);
    virtual bool EndColumnDrag(int& Origin, int& Destination, const QPoint& MousePt);
    virtual bool EndRowDrag(int& Origin, int& Destination, const QPoint& MousePt);
    // The whole paint of the client area (the viewport), clipped to the update region.
    virtual void Paint();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Focus leaving the grid and its editor for another control of the form.
    virtual void DoEnter();
    virtual void DoExit();
    // A cancel-mode notice: stop whatever drag is under way.
    virtual void CancelMode();
    // Runs when the posted deferred-layout message arrives; the base does nothing.
    virtual void DeferredLayout();

    // Operations for descendants.
    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    void ScrollData(int DX, int DY);
    void MoveTopLeft(int ALeft, int ATop);
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    void MoveAnchor(const TGridCoord& NewAnchor);
    void ClampInView(const TGridCoord& Coord);
    void InvalidateRect(const TGridRect& ARect);
    void UpdateEdit();
    void HideEdit();
    void UpdateText();
    // The scroll bars: the base ranges them 0..127 after the top-left cell. A descendant that
    // drives a bar from its own data (a data grid's vertical bar follows the dataset) overrides
    // these and ScrollBarAction.
    virtual void UpdateScrollPos();
    virtual void UpdateScrollRange();
    // Whether a vertical bar driven by the descendant's own data shows: 1 shown, 0 hidden,
    // -1 when the grid's rows and ScrollBars decide (the base's rule). A bar that follows
    // data is shown whatever ScrollBars holds, and its range is the descendant's to set.
    virtual int DataVerticalBar() const { return -1; }
    // An action on a scroll bar (QAbstractSlider::SliderAction; Released is the end of a thumb
    // drag, with the thumb's position in Pos). The base scrolls by cells (ModifyScrollBar).
    virtual void ScrollBarAction(Qt::Orientation Bar, int Action, int Pos, bool Released);
    void ModifyScrollBar(Qt::Orientation Bar, int Action, int Pos);
    void CalcDrawInfo(TGridDrawInfo& DrawInfo) const;
    void CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int UseWidth, int UseHeight) const;
    void CalcFixedInfo(TGridDrawInfo& DrawInfo) const;
    TGridCoord CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo) const;
    TGridCoord CalcCoordFromPoint(int X, int Y, const TGridDrawInfo& DrawInfo) const;
    QRect GridRectToScreenRect(const TGridRect& GridRect, bool IncludeLine) const;
    // Client extents (the viewport).
    int ClientWidth() const;
    int ClientHeight() const;

    // State, as descendants read and change it.
    TGridCoord FAnchor;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCanEditModify = true;
    int FColCount = 5;
    std::optional<std::vector<int>> FColWidths;
    std::optional<std::vector<int>> FTabStops;
    TGridCoord FCurrent;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 30;
    int FFixedCols = 1;
    int FFixedRows = 1;
    TColor FFixedColor = clBtnFace;
    int FGridLineWidth = 1;
    TKyGridOptions FOptions = DefaultOptions;
    int FRowCount = 5;
    std::optional<std::vector<int>> FRowHeights;
    TScrollStyle FScrollBars = ssBoth;
    TGridCoord FTopLeft;
    int FSizingIndex = 0;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = 0;
    int FMovePos = 0;
    QPoint FHitTest;
    QPointer<TQxInplaceEdit> FInplaceEdit;
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    int FColOffset = 0;
    bool FDefaultDrawing = true;
    bool FEditorMode = false;
    TColor FLineColor = clBlack;
    TKyGridDrawState FFixedDrawState;
    TGridState FGridState = gsNormal;
    bool FSaveCellExtents = true;
    TKyGridOptions FDesignOptionsBoost = TKyGridOptions(goRowSizing | goColSizing);
    bool FVirtualView = false;
    // Ticks every 60 ms while a selection or a move is dragged.
    QBasicTimer FTimer;

    // Qt event plumbing.
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void customEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    friend class TQxInplaceEdit;
    bool dispatchEvent(QEvent* event);

    static int extentOf(const std::optional<std::vector<int>>& block, int index, int fallback);
    void ChangeSize(int NewColCount, int NewRowCount);
    void Initialize();
    void SelectionMoved(const TGridRect& OldSel);
    void TopLeftMoved(const TGridCoord& OldTopLeft);
    void ScrollDataInfo(int DX, int DY, const TGridDrawInfo& DrawInfo);
    void ResizeCol(int Index, int OldSize, int NewSize);
    void ResizeRow(int Index, int OldSize, int NewSize);
    void MoveAndScroll(int Mouse, int CellHit, TGridDrawInfo& DrawInfo, TGridAxisDrawInfo& Axis,
                       int ScrollBar, const QPoint& MousePt);
    void onScrollAction(Qt::Orientation Bar, int action);
    void onSliderReleased(Qt::Orientation Bar);
    void applyFrame();
    void applyFocusPolicy();
    void applyPolicy(Qt::Orientation Bar, bool on);
    void updateSizingCursor(int X, int Y);
    void setIndicator(bool on, bool vertical, int pos, int limit);
    void DrawMove();
    void DrawSizingLine();
    int ScrollBarPosFor(Qt::Orientation Bar) const;

    QPainter* FCanvas = nullptr;
    QPoint FLastMousePos;
    int FWheelAccumulator = 0;
    bool FFocusFromEditor = false;
    TColor FColor = clWindow;
    TColor FFontColor = clWindowText;
    bool FParentColor = false;
    bool FTabStop = true;
    bool FLayoutPosted = false;
    bool FUpdatingScrollBars = false;
    qx::FocusNotifier FFocusNotifier;
    // The XOR indicator line drawn over the cells while sizing or moving.
    struct Indicator
    {
        bool On = false;
        bool Vertical = true; // a vertical line at x = Pos, else a horizontal one at y = Pos
        int Pos = 0;
        int Limit = 0; // where the line ends along its length
    } FIndicator;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TQxCustomGrid::TKyGridOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TQxCustomGrid::TKyGridDrawState)
Q_DECLARE_OPERATORS_FOR_FLAGS(TQxCustomGrid::TGridScrollDirections)

using TKyGridOption = TQxCustomGrid::TKyGridOption;
using TKyGridOptions = TQxCustomGrid::TKyGridOptions;
using TKyGridDrawState = TQxCustomGrid::TKyGridDrawState;
using TKyGridDrawStateFlag = TQxCustomGrid::TKyGridDrawStateFlag;

// The option and draw-state names as the library's other units spell them.
inline constexpr TKyGridOption goFixedVertLine = TQxCustomGrid::goFixedVertLine;
inline constexpr TKyGridOption goFixedHorzLine = TQxCustomGrid::goFixedHorzLine;
inline constexpr TKyGridOption goVertLine = TQxCustomGrid::goVertLine;
inline constexpr TKyGridOption goHorzLine = TQxCustomGrid::goHorzLine;
inline constexpr TKyGridOption goRangeSelect = TQxCustomGrid::goRangeSelect;
inline constexpr TKyGridOption goDrawFocusSelected = TQxCustomGrid::goDrawFocusSelected;
inline constexpr TKyGridOption goRowSizing = TQxCustomGrid::goRowSizing;
inline constexpr TKyGridOption goColSizing = TQxCustomGrid::goColSizing;
inline constexpr TKyGridOption goRowMoving = TQxCustomGrid::goRowMoving;
inline constexpr TKyGridOption goColMoving = TQxCustomGrid::goColMoving;
inline constexpr TKyGridOption goEditing = TQxCustomGrid::goEditing;
inline constexpr TKyGridOption goTabs = TQxCustomGrid::goTabs;
inline constexpr TKyGridOption goRowSelect = TQxCustomGrid::goRowSelect;
inline constexpr TKyGridOption goAlwaysShowEditor = TQxCustomGrid::goAlwaysShowEditor;
inline constexpr TKyGridOption goThumbTracking = TQxCustomGrid::goThumbTracking;
inline constexpr TKyGridOption goReceiptMode = TQxCustomGrid::goReceiptMode;
inline constexpr TKyGridDrawStateFlag gdSelected = TQxCustomGrid::gdSelected;
inline constexpr TKyGridDrawStateFlag gdFocused = TQxCustomGrid::gdFocused;
inline constexpr TKyGridDrawStateFlag gdFixed = TQxCustomGrid::gdFixed;

// The in-place cell editor: an edit without border laid over the current cell. The grid creates
// it through CreateEditor on first need, owns it as a child of its viewport and asks it back for
// the cell's text; descendants derive their own editors from it.
class TQxInplaceEdit : public TCustomMaskEdit
{
    Q_OBJECT

public:
    explicit TQxInplaceEdit(QWidget* parent = nullptr);
    ~TQxInplaceEdit() override;

    TQxCustomGrid* Grid() const { return FGrid; }
    void SetGrid(TQxCustomGrid* grid) { FGrid = grid; }

    // Shows the editor at a client rectangle of the grid, redrawing it (Move) or only when it
    // was hidden (UpdateLoc); an empty rectangle hides it.
    void Move(const QRect& Loc);
    void UpdateLoc(const QRect& Loc);
    void Hide();
    bool Visible() const;
    // Caret after the text, nothing selected.
    void Deselect();
    // The limit GetEditLimit gave: 0 none, -1 the cell cannot change.
    int EditLimit() const { return FEditLimit; }
    void SetEditLimit(int limit);

    virtual void BoundsChanged();
    virtual void UpdateContents();

protected:
    // Key handling: the moving keys go to the grid, changes are asked of the grid first.
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(int& Key, TShiftState Shift) override;
    QString FilterText(const QString& text) override;
    // Every change of the text goes to the grid at once (SetEditText).
    void Change() override;

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Whether the grid lets the text change now.
    bool EditCanModify();
    // Shows Text without handing it to the grid, as loading a cell does: the grid keeps the
    // edit text it has, and nothing is written back for it.
    void SetShownText(const QString& Text);

private:
    void InternalMove(const QRect& Loc, bool Redraw);
    bool dispatchEvent(QEvent* event);

    QPointer<TQxCustomGrid> FGrid;
    qint64 FClickTime = 0;
    int FEditLimit = 0;
    bool FLoading = false;
    bool FModifyAsked = false; // KeyPress asked CanEditModify for the key being typed

    friend class TQxCustomGrid;
};

// The dotted focus rectangle of the grids: every other pixel of the frame inverted, so that
// drawing it twice takes it away again.
void DrawFocusRect(QPainter& p, const QRect& r);
