// The data grid: the records of a dataset as rows, its fields (or a stored column list) as
// columns, with titles of several levels built from captions split at '_', frozen columns on
// the left, an indicator column, a multi-row selection kept as bookmarks, and the colour rules
// of the shop's browsers.
//
// The grid never holds more records than it shows: its data link keeps a window of as many
// records as there are visible rows, and painting a row makes that row's record the link's
// active record for a moment (the dataset's cursor does not move, no scroll event fires).
//
// The unit is one header over several files: uQxDBGridColumns.cpp (titles, columns, the
// column collection), uQxDBGrid.cpp (the data link, the selection, the layout pass and the
// title tree, scrolling), uQxDBGridPaint.cpp (the cell painting), uQxDBGridInput.cpp (keys,
// mouse, moves between cells and records, inserting and deleting), uQxDBGridEditor.cpp (the
// cell editor and its drop-down lists, uQxDBGridEditor.h), uQxDBGridFind.cpp (the find box,
// uQxDBGridFind.h) and uQxDBGridTitleMenu.cpp (the popup menu of the title row).
#pragma once

#include <QFont>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/stream/Persistent.h"
#include "usystem/vcl/gridlink/QxBookmarkList.h"
#include "usystem/vcl/gridlink/QxGridColumn.h"
#include "usystem/vcl/gridlink/QxGridDataLink.h"
#include "usystem/vcl/gridlink/QxGridLayoutLocks.h"
#include "usystem/vcl/grids/CellTextLayouts.h"
#include "usystem/vcl/grids/uQxGrids.h"
#include "usystem/vcl/edits/uQxIMEPad.h"

class TQxColumn;
class TQxColumnTitle;
class TQxDBGridColumns;
class TQxCustomDBGrid;
class TQxDBGridInplaceEdit;
class TFindEdit;

// Errors of the data grid ("Grid requested to display more than 256 columns"...).
QX_DECLARE_EXCEPTION(EQxDBGridError, Exception)
// Errors of the title tree ("Node not in Tree"...).
QX_DECLARE_EXCEPTION(ETitleTreeError, Exception)

// ---- column title ------------------------------------------------------------------------

// The values and their rules are the shared column model's (QxGridColumn.h); the data grid's
// title publishes them.
class TQxColumnTitle : public qx::GridColumnTitle
{
    Q_OBJECT
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")

    Q_PROPERTY(TTitleAlignment Alignment READ alignmentValue WRITE setAlignmentValue)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)

public:
    explicit TQxColumnTitle(TQxColumn* column);
    ~TQxColumnTitle() override;

    TQxColumn* Column() const;
    void Assign(const TQxColumnTitle* source) { qx::GridColumnTitle::Assign(source); }
};

// ---- column --------------------------------------------------------------------------------

class TQxColumn : public qx::GridColumn
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "ButtonStyle=cbsAuto;DropDownRows=7")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")

    // Published, in the order the component stream writes them.
    Q_PROPERTY(TColumnAlignment Alignment READ alignmentValue WRITE setAlignmentValue)
    Q_PROPERTY(TQxColumnButtonStyle ButtonStyle READ ButtonStyle WRITE SetButtonStyle)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(int DropDownRows READ DropDownRows WRITE SetDropDownRows)
    Q_PROPERTY(bool Expanded READ Expanded WRITE SetExpanded)
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TImeMode ImeMode READ ImeMode WRITE SetImeMode)
    Q_PROPERTY(QString ImeName READ ImeName WRITE SetImeName)
    Q_PROPERTY(QStringList PickList READ PickList WRITE SetPickList)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(TQxColumnTitle* Title READ Title)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QImage Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(bool FixedColumns READ FixedColumns WRITE SetFixedColumns)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(bool IMEControl READ IMEControl WRITE SetIMEControl)

public:
    explicit TQxColumn(qx::Collection* collection);
    ~TQxColumn() override;

    TQxDBGridColumns* Columns() const;
    TQxCustomDBGrid* Grid() const;
    // A column the grid made by itself (not stored) passes its changes to its field.
    bool IsPassthrough() const override { return !FStored; }

    TQxColumnTitle* Title() const { return static_cast<TQxColumnTitle*>(ColumnTitle()); }
    bool Expanded() const;
    void SetExpanded(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    QImage Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& value);
    bool FixedColumns() const { return FFixedColumns; }
    void SetFixedColumns(bool value) { FFixedColumns = value; }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value) { FTabStop = value; }

    bool IsStored() const { return FStored; }
    void SetIsStored(bool value) { FStored = value; }
    // The datasets of this system are flat: no column has sub-columns.
    TQxColumn* ParentColumn() const { return nullptr; }
    int Depth() const { return 0; }
    bool Expandable() const { return false; }
    bool GetVisible() const { return FVisible; }
    // Drawn and given a width: visible, not expanded (flat datasets never are).
    bool Showing() const;
    QString DisplayName() const;

    void Assign(const TQxColumn* source) { AssignColumn(source); }
    std::optional<bool> isPropertyStored(const char* name) const override;

protected:
    void AssignMore(const qx::GridColumn* source) override;
    void ButtonStyleChanged() override;

private:
    friend class TQxColumnTitle;
    friend class TQxDBGridColumns;
    friend class TQxCustomDBGrid;

    bool FVisible = true;
    bool FExpanded = true;
    bool FStored = true;
    bool FTabStop = true;
    bool FFixedColumns = false;
    QImage FGlyph;
};

using TQxColumnButtonStyle = TQxColumn::TQxColumnButtonStyle;
inline constexpr TQxColumnButtonStyle cbsAuto = TQxColumn::cbsAuto;
inline constexpr TQxColumnButtonStyle cbsEllipsis = TQxColumn::cbsEllipsis;
inline constexpr TQxColumnButtonStyle cbsNone = TQxColumn::cbsNone;

// ---- column collection ---------------------------------------------------------------------

enum TQxDBGridColumnsState { csDefault, csCustomized };

class TQxDBGridColumns : public qx::GridColumns
{
    Q_OBJECT

public:
    explicit TQxDBGridColumns(TQxCustomDBGrid* grid);
    ~TQxDBGridColumns() override;

    TQxCustomDBGrid* Grid() const { return FGrid; }
    TQxColumn* Items(int index) const { return static_cast<TQxColumn*>(item(index)); }
    TQxColumn* GetColumn(int index) const { return Items(index); }
    TQxColumn* operator[](int index) const { return Items(index); }
    // A new stored column at the end.
    TQxColumn* Add();
    // A new column the grid made by itself (not stored) at the end.
    TQxColumn* AddDefaultColumn() { return static_cast<TQxColumn*>(AddDefault()); }
    TQxDBGridColumnsState State() const;
    void SetState(TQxDBGridColumnsState value);
    // One stored column per field of the dataset, in field order.
    void RebuildColumns();
    // Column layout files (".dbg"): the collection as one component image whose only object
    // is a TQxColumnsWrapper (uQxDBGridFiles.cpp).
    void SaveToFile(const QString& FileName);
    void LoadFromFile(const QString& FileName);

protected:
    void update(qx::CollectionItem* item) override;

private:
    TQxCustomDBGrid* FGrid = nullptr;
};

// ---- data link and selection -------------------------------------------------------------

// The grid's link to its data source and its record selection: the shared implementations,
// under the data grid's own names.
using TGridDataLink = qx::GridDataLink<TQxCustomDBGrid, EQxDBGridError>;
using TBookmarkList = qx::BookmarkList<TQxCustomDBGrid, EQxDBGridError>;

// ---- title tree --------------------------------------------------------------------------

class THeadTreeNode
{
public:
    THeadTreeNode();
    THeadTreeNode(const QString& text, int height, int width);
    ~THeadTreeNode();
    THeadTreeNode(const THeadTreeNode&) = delete;
    THeadTreeNode& operator=(const THeadTreeNode&) = delete;

    THeadTreeNode* Parent = nullptr;
    THeadTreeNode* Child = nullptr;
    THeadTreeNode* Next = this; // siblings form a ring
    QString Text;
    int Height = 0;
    int Width = 0;

    // A new last child.
    THeadTreeNode* AddChild(const QString& text, int height, int width);
    // A new sibling right after After (a child of this node).
    THeadTreeNode* Add(THeadTreeNode* After, const QString& text, int height, int width);
    void FreeAllChild();
    // Whether node lies below this one.
    bool Find(const THeadTreeNode* node) const;
    // A new node over the run First..Last of this node's children.
    void InsertParent(THeadTreeNode* First, THeadTreeNode* Last, int height, const QString& text);
    // The children in ring order.
    std::vector<THeadTreeNode*> Children() const;
};

// ---- the grid ----------------------------------------------------------------------------

class TQxCustomDBGrid : public TQxCustomGrid, public qx::Streamable, public qx::GridColumnHost
{
    Q_OBJECT

public:
    enum TQxDBGridOption {
        dgEditing = 0x00001,
        dgAlwaysShowEditor = 0x00002,
        dgTitles = 0x00004,
        dgIndicator = 0x00008,
        dgColumnResize = 0x00010,
        dgColLines = 0x00020,
        dgRowLines = 0x00040,
        dgTabs = 0x00080,
        dgRowSelect = 0x00100,
        dgAlwaysShowSelection = 0x00200,
        dgConfirmDelete = 0x00400,
        dgCancelOnExit = 0x00800,
        dgMultiSelect = 0x01000,
        dgAllowDelete = 0x02000,
        dgAllowAdd = 0x04000,
        dgReceiptMode = 0x08000,
        dgSelectedBar = 0x10000,
    };
    Q_DECLARE_FLAGS(TQxDBGridOptions, TQxDBGridOption)
    Q_FLAG(TQxDBGridOptions)
    static constexpr TQxDBGridOptions DefaultDBOptions{3325};

    // Events (Sender first).
    using TQxDBGridClickEvent = std::function<void(TQxColumn* Column)>;
    using TColExitEvent = std::function<void(QObject* Sender, bool& CanExit, QString& Err)>;
    using TCellTextChangeEvent =
        std::function<void(QObject* Sender, const QString& CellText, TQxIMEPad*& ImePad)>;
    using THotKeyHintEvent = std::function<void(QObject* Sender, const QString& lHint)>;
    using TCellImeCodeEvent = std::function<void(QObject* Sender, int lItemIndex, QString& Code)>;
    using TGetCellTextStyle = std::function<void(QObject* Sender, const QString& lFieldName,
                                                 QString& lText, TColor& lColor)>;
    using TMovedEvent = std::function<void(QObject* Sender, int FromIndex, int ToIndex)>;
    using TDrawDataCellEvent = std::function<void(QObject* Sender, const QRect& Rect, TField* Field,
                                                  TKyGridDrawState State)>;
    using TDrawColumnCellEvent = std::function<void(QObject* Sender, const QRect& Rect, int DataCol,
                                                    TQxColumn* Column, TKyGridDrawState State)>;
    using TQxDBGridSaveTitileEvent = std::function<void(QObject* Sender)>;

    explicit TQxCustomDBGrid(QWidget* parent = nullptr);
    ~TQxCustomDBGrid() override;

    TQxDBGridClickEvent OnCellClick;
    TNotifyEvent OnColEnter;
    TColExitEvent OnColExit;
    TCellTextChangeEvent OnCellTextChange;
    THotKeyHintEvent OnHotKeyHint;
    TCellImeCodeEvent OnCellImeCode;
    TGetCellTextStyle OnGetCellTextStyle;
    TMovedEvent OnColumnMoved;
    TDrawDataCellEvent OnDrawDataCell;
    TDrawColumnCellEvent OnDrawColumnCell;
    TNotifyEvent OnEditButtonClick;
    TQxDBGridClickEvent OnTitleClick;
    TQxDBGridSaveTitileEvent OnSaveTitleClick;

    // Published values.
    TQxDBGridOptions Options() const { return FOptions; }
    void SetOptions(TQxDBGridOptions value);
    TQxDBGridColumns* Columns() const { return FColumns; }
    void SetColumns(TQxDBGridColumns* value);
    int FrozenCols() const { return FFrozenCols; }
    void SetFrozenCols(int value);
    TDataSource* DataSource() const;
    TDataSource* GetDataSource() const { return DataSource(); }
    void SetDataSource(TDataSource* value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value) { FDefaultDrawing = value; }
    TQxColumn::TImeMode ImeMode() const { return FImeMode; }
    void SetImeMode(TQxColumn::TImeMode value) { FImeMode = value; }
    QString ImeName() const { return FImeName; }
    void SetImeName(const QString& value) { FImeName = value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    QFont TitleFont() const { return FTitleFont; }
    void SetTitleFont(const QFont& value);
    // DefaultRowHeight is the base's; a change re-lays the grid out.
    void SetDefaultRowHeight(int value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    // Run-time values.
    TGridDataLink* DataLink() const { return FDataLink.get(); }
    TBookmarkList* SelectedRows() const { return FBookmarks.get(); }
    TField* SelectedField() const;
    int SelectedIndex() const;
    int TitleOffset() const { return FTitleOffset; }
    int IndicatorOffset() const { return FIndicatorOffset; }
    const QList<TQxColumn*>& VisibleColumns() const { return FVisibleColumns; }
    THeadTreeNode* HeadTree() const { return FHeadTree.get(); }
    // The leaf node of a column (none for a hidden one).
    THeadTreeNode* LeafOf(const TQxColumn* column) const;
    TQxIMEPad* ImePad() const { return FImePad; }
    bool UpdateFields() const { return FUpdateFields; }
    bool LayoutFromDataset() const { return FLayoutFromDataset; }
    void SetLayoutFromDataset(bool value) { FLayoutFromDataset = value; }
    bool Loading() const { return FLoading; }
    // Form loading: columns and bindings wait until EndLoading.
    void BeginLoading() { FLoading = true; }
    void EndLoading();
    QString EditText() const { return FEditText; }
    // The grid column of a data column index and back.
    int RawToDataColumn(int ACol) const { return ACol - FIndicatorOffset; }
    int DataToRawColumn(int ACol) const { return ACol + FIndicatorOffset; }
    // Whether a data column (index into Columns) is frozen: among the first FrozenCols visible.
    bool IsFrozenColumn(int DataCol) const;

    void BeginUpdate() { FLocks.BeginUpdate(); }
    void EndUpdate() { FLocks.EndUpdate(); }
    void BeginLayout() { FLocks.BeginLayout(); }
    void EndLayout() { FLocks.EndLayout(); }
    void CancelLayout() { FLocks.CancelLayout(); }
    bool AcquireLayoutLock() { return FLocks.AcquireLayoutLock(); }
    void DeferLayout() { FLocks.DeferLayout(); }
    virtual void LayoutChanged();
    void InvalidateTitles();
    // The selection changed on the current record: the grid repaints (its marks may show
    // on any row).
    void InvalidateCurrentRecord() { InvalidateGrid(); }
    // The grid's measured height of the title tree below a node.
    int MeasureTitleTree(THeadTreeNode* node);

    // Parts of the data handling (also called by the link).
    virtual void DefineFieldMap();
    virtual void LinkActive(bool Value);
    virtual void DataChanged();
    virtual void Scroll(int Distance);
    virtual void RecordChanged(TField* Field);
    virtual void UpdateData();
    void EditingChanged();
    void FocusFieldControl(TField*& Field);
    void FieldRemoved(TField* field);
    void UpdateActive();
    void UpdateRowCount();
    // The vertical bar follows the record number while the link is active, whatever
    // ScrollBars holds: its values, and whether it shows (a range longer than its page).
    void UpdateScrollBar();
    struct TVerticalBar
    {
        int Min = 0, Max = 4, Page = 0, Pos = 0;
        bool Shown() const { return Max - Min >= Page; }
    };
    // The bar's values; false while the link is not active (the bar is then the base's).
    bool VerticalBarValues(TVerticalBar& Bar) const;

    std::optional<bool> isPropertyStored(const char* name) const override;

    // ---- keys, mouse, moves and editing (uQxDBGridInput.cpp) ----
    int GetSelectedIndex() const { return SelectedIndex(); }
    // Makes data column Index current (a column move without direction).
    void SetSelectedIndex(int Index);
    TField* GetSelectedField() const { return SelectedField(); }
    // Moves the current cell to grid column RawCol; with a Direction (+1/-1) hidden columns
    // are stepped over. The application may refuse leaving the cell (OnColExit).
    void MoveCol(int RawCol, int Direction);
    // Takes the focus before a mouse or scroll action; true when the grid or its editor has it.
    bool AcquireFocus();
    bool AcquireFocusEnabled() const { return FAcquireFocus; }
    void SetAcquireFocusEnabled(bool value) { FAcquireFocus = value; }
    // The cell button (the editor's ellipsis button or its keypad '+').
    virtual void EditButtonClick();
    void HotKeyHint(const QString& Text);
    QString ColExitError() const { return FColExitError; }
    void KeyDown(int& Key, TShiftState Shift) override;
    // The editor of the grid's cells (made on first need).
    TQxDBGridInplaceEdit* CellEditor() const;

    // ---- the find box (uQxDBGridFind.cpp) ----
    // Opens the find box over the current column when there are records; otherwise beeps.
    bool StartFind();
    void ShowFindEdit();
    // Moves to the first record whose value in the current column begins with Text (without
    // case); false when none does.
    bool FindText(const QString& Text);
    bool IsValidFindChar(QChar Ch);
    TFindEdit* FindEdit() const;
    TBookmarkStr FindBookmark() const { return FFindBookmark; }

    // ---- the title popup menu (uQxDBGridTitleMenu.cpp) ----
    // The menu a right click on the title row opens (made on first use, owned by the grid).
    // Its items are made anew, owned by the grid, each time it opens; an item's number is its
    // "Tag" property.
    QMenu* TitleMenu();
    // Runs the title menu's item numbered Tag (the items' one click handler).
    void TitleMenuClick(int Tag);
    // Adds every record of the dataset to the selection and comes back to the current record.
    void SelectAllRecords();

    // Recomputes the tab stops and widths of the grid's cells from its columns.
    virtual void SetColumnAttributes();

    // The shared off-screen bitmap of WriteCellText and the number of grids that hold it.
    static QImage* SharedCellBitmap();
    static int SharedCellBitmapUsers();
    // The laid-out texts of the data and title cells, kept for the next paintings; dropped
    // when the grid's font changes.
    const qx::CellTextLayouts& TextLayouts() const { return FTextLayouts; }

protected:
    virtual bool HighlightCell(int DataCol, int DataRow, const QString& Value,
                               TKyGridDrawState AState);
    void DrawCell(int ACol, int ARow, const QRect& ARect, TKyGridDrawState AState) override;
    // The band above Node's cell at ARect, with the bands above it, drawn only inside Strip
    // (a left and an exclusive right pixel edge).
    void DrawTitleBand(THeadTreeNode* Node, const QRect& ARect, TKyGridDrawState AState,
                       QPair<int, int> Strip);
    // Where the bands over a column may paint: right of the indicator and up to the frozen
    // area's right edge for a frozen column; from that edge on for the others.
    QPair<int, int> TitleBandStrip(int DataCol) const;
    bool CanEditShow() override;
    void ColWidthsChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void DeferredLayout() override;
    bool SelectCell(int ACol, int ARow) override;
    TQxInplaceEdit* CreateEditor() override;
    bool CanEditAcceptKey(QChar Key) override;
    bool CanEditModify() override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    QString GetEditMask(int ACol, int ARow) override;
    int GetEditLimit() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoExit() override;
    void focusInEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    virtual void ColEnter();
    virtual void ColExit(bool& CanExit, QString& Err);
    virtual void CellClick(TQxColumn* Column);
    virtual void TitleClick(TQxColumn* Column);
    // The title popup menu at a right-button release in the title rows (Pos in the viewport);
    // true when it showed (the grid then does nothing more with the release).
    virtual bool ShowTitleMenu(const QPoint& Pos);
    bool TitleMenuDue() const { return FTitleMenuDue; }
    void TopLeftChanged() override;
    void UpdateScrollPos() override;
    void UpdateScrollRange() override;
    int DataVerticalBar() const override;
    void ScrollBarAction(Qt::Orientation Bar, int Action, int Pos, bool Released) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // Whether a buffered row's record is in the selection (the row is read, not moved to).
    bool RowSelected(int DataRow);
    // Moves the dataset so that the record of data row DataRow becomes current.
    void MoveToDataRow(int DataRow);

private:
    friend class TQxColumn;
    friend class TQxColumnTitle;
    friend class TQxDBGridColumns;
    friend class TQxDBGridInplaceEdit;
    friend class TFindEdit;

    // Moves between records and cells (uQxDBGridInput.cpp).
    bool MoveByOne(int Direction, bool Select, TShiftState Shift);
    void NextRow(bool Select, TShiftState Shift);
    void PriorRow(bool Select, TShiftState Shift);
    void TabMove(bool Back);
    void ClearSelection();
    void ToggleCurrentRowSelection();
    bool ConfirmDelete(int Count);
    void DeleteRecords(bool InSelectionOrder);
    bool CanDeleteOrInsert() const;
    void FindEditClosed(int ExitMode);

    // What the columns ask the grid (qx::GridColumnHost).
    TDataSet* HostDataSet() const override { return FDataLink->DataSet(); }
    bool HostLinkActive() const override { return FDataLink->Active(); }
    bool HostLoading() const override { return FLoading; }
    QFont HostFont() const override { return font(); }
    TColor HostColor() const override { return Color(); }
    TColor HostFixedColor() const override { return FixedColor(); }
    QFont HostTitleFont() const override { return FTitleFont; }
    int HostImeMode() const override { return int(FImeMode); }
    QString HostImeName() const override { return FImeName; }
    bool HostReadOnly() const override { return FReadOnly; }
    int HostDefaultColWidth() const override { return DefaultColWidth(); }
    bool HostShowsTitles() const override { return FOptions & dgTitles; }
    bool HostUpdateFields() const override { return FUpdateFields; }
    bool HostLayoutFromDataset() const override { return FLayoutFromDataset; }
    void HostSetLayoutFromDataset(bool value) override { FLayoutFromDataset = value; }
    void HostBeginLayout() override { BeginLayout(); }
    void HostEndLayout() override { EndLayout(); }
    void HostCancelLayout() override { CancelLayout(); }

    void InternalLayout();
    void SetRowHeightsFromFonts();
    void BuildTitleTree();
    void ApplyBaseOptions();
    void DrawIndicatorCell(int ARow, QRect ARect);
    void DrawTitleCell(int DataCol, QRect ARect, TKyGridDrawState AState);
    void DrawDataCell(int DataCol, int DataRow, QRect ARect, TKyGridDrawState AState);
    TBookmarkStr RowBookmark(int DataRow);

    TQxDBGridOptions FOptions = DefaultDBOptions;
    QFont FTitleFont;
    bool FReadOnly = false;
    bool FParentFont = true;
    TQxColumn::TImeMode FImeMode = TQxColumn::imDontCare;
    QString FImeName;
    bool FLayoutFromDataset = false;
    int FTitleOffset = 1;
    int FIndicatorOffset = 1;
    qx::GridLayoutLocks FLocks{this, [this] { InternalLayout(); }};
    bool FDefaultDrawing = true;
    bool FSelfChangingTitleFont = false;
    int FSelRow = 0;
    std::unique_ptr<TGridDataLink> FDataLink;
    QString FEditText;
    TQxDBGridColumns* FColumns = nullptr;
    QList<TQxColumn*> FVisibleColumns;
    std::unique_ptr<TBookmarkList> FBookmarks;
    int FPressedIndicatorRow = -1;
    int FCellTextOffset = 1;
    qx::CellTextLayouts FTextLayouts;
    std::unique_ptr<THeadTreeNode> FHeadTree;
    std::vector<std::pair<THeadTreeNode*, TQxColumn*>> FNodeMap;
    int FTitleMargin = 5;
    int FFrozenCols = 0;
    bool FUpdateFields = true;
    bool FLoading = false;
    QPointer<TQxIMEPad> FImePad;
    bool FInUpdateActive = false;
    bool FInScrollBarUpdate = false;
    bool FInRowCountUpdate = false;
    bool FInScrollRange = false;
    // Leaving a cell: the application's check is running, and its last refusal text.
    bool FInColExit = false;
    QString FColExitError;
    // A keyboard range selection (Shift with Up or Down) and the record it started on.
    bool FSelecting = false;
    TBookmarkStr FSelectionAnchor;
    bool FAcquireFocus = true;
    bool FTitleMenuDue = false;
    QPointer<QMenu> FTitleMenu;
    QPointer<TFindEdit> FFindEdit;
    TBookmarkStr FFindBookmark;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TQxCustomDBGrid::TQxDBGridOptions)

using TQxDBGridOption = TQxCustomDBGrid::TQxDBGridOption;
using TQxDBGridOptions = TQxCustomDBGrid::TQxDBGridOptions;
inline constexpr TQxDBGridOption dgEditing = TQxCustomDBGrid::dgEditing;
inline constexpr TQxDBGridOption dgAlwaysShowEditor = TQxCustomDBGrid::dgAlwaysShowEditor;
inline constexpr TQxDBGridOption dgTitles = TQxCustomDBGrid::dgTitles;
inline constexpr TQxDBGridOption dgIndicator = TQxCustomDBGrid::dgIndicator;
inline constexpr TQxDBGridOption dgColumnResize = TQxCustomDBGrid::dgColumnResize;
inline constexpr TQxDBGridOption dgColLines = TQxCustomDBGrid::dgColLines;
inline constexpr TQxDBGridOption dgRowLines = TQxCustomDBGrid::dgRowLines;
inline constexpr TQxDBGridOption dgTabs = TQxCustomDBGrid::dgTabs;
inline constexpr TQxDBGridOption dgRowSelect = TQxCustomDBGrid::dgRowSelect;
inline constexpr TQxDBGridOption dgAlwaysShowSelection = TQxCustomDBGrid::dgAlwaysShowSelection;
inline constexpr TQxDBGridOption dgConfirmDelete = TQxCustomDBGrid::dgConfirmDelete;
inline constexpr TQxDBGridOption dgCancelOnExit = TQxCustomDBGrid::dgCancelOnExit;
inline constexpr TQxDBGridOption dgMultiSelect = TQxCustomDBGrid::dgMultiSelect;
inline constexpr TQxDBGridOption dgAllowDelete = TQxCustomDBGrid::dgAllowDelete;
inline constexpr TQxDBGridOption dgAllowAdd = TQxCustomDBGrid::dgAllowAdd;
inline constexpr TQxDBGridOption dgReceiptMode = TQxCustomDBGrid::dgReceiptMode;
inline constexpr TQxDBGridOption dgSelectedBar = TQxCustomDBGrid::dgSelectedBar;

// The data grid as forms place it: publishes the properties, adds no behaviour.
class TQxDBGrid : public TQxCustomDBGrid
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "BorderStyle=bsSingle;Color=clWindow;FixedColor=clBtnFace;"
                              "LineColor=clBlack;GridLineWidth=1;"
                              "Options=[dgEditing,dgTitles,dgIndicator,dgColumnResize,dgColLines,"
                              "dgRowLines,dgTabs,dgConfirmDelete,dgCancelOnExit];"
                              "ParentColor=false;ScrollBars=ssBoth;TabStop=true;"
                              "DefaultRowHeight=30;DefaultDrawing=true;ImeMode=imDontCare;"
                              "ReadOnly=false")
    Q_CLASSINFO("QxIntegerKinds", "Color,FixedColor,LineColor=TColor")
    Q_PROPERTY(TQxDBGridOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
    Q_PROPERTY(TQxDBGridColumns* Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int FrozenCols READ FrozenCols WRITE SetFrozenCols)
    Q_PROPERTY(TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(bool DefaultDrawing READ DefaultDrawing WRITE SetDefaultDrawing)
    Q_PROPERTY(TQxColumn::TImeMode ImeMode READ ImeMode WRITE SetImeMode)
    Q_PROPERTY(QString ImeName READ ImeName WRITE SetImeName)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(QFont TitleFont READ TitleFont WRITE SetTitleFont)

public:
    explicit TQxDBGrid(QWidget* parent = nullptr);
    ~TQxDBGrid() override;
    // Whether the class registry knows the grid (it registers itself when the unit loads).
    static bool Registered();
};

namespace qx {

// The dialogs the title menu opens. They sit above the grid (the export dialog, the settings
// and chart dialogs), so their unit installs them at start-up (InstallGridDialogs); an item
// whose dialog is not installed reports the missing binding.
struct GridDialogBinding
{
    std::function<void(TQxCustomDBGrid* Grid, int Mode)> showGridSettingsDialog;
    std::function<void(TQxCustomDBGrid* Grid)> showExportDialog;
    std::function<void(TQxCustomDBGrid* Grid)> showGridChart;
};
void setGridDialogBinding(GridDialogBinding binding);
const GridDialogBinding& gridDialogBinding();

} // namespace qx

// The first column of the grid whose FieldName is FieldName (without case); null when none.
TQxColumn* ColumnByFieldName(const TQxCustomDBGrid* Grid, const QString& FieldName);

// Writes Text into Rect on the canvas: one clipped, vertically centred line on a plain brush
// (through Layouts when given, which keeps the laid-out line for the next time); word-wrapped
// through the shared off-screen bitmap otherwise.
void WriteCellText(QPainter& Canvas, const QRect& Rect, int DX, bool RightToLeft,
                   TAlignment Alignment, const QString& Text, int DY, const QColor& Brush,
                   bool PlainBrush = true, qx::CellTextLayouts* Layouts = nullptr);
