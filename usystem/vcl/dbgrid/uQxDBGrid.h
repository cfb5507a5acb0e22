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
// cell editor and its drop-down lists, uQxDBGridEditor.h) and uQxDBGridFind.cpp (the find box,
// uQxDBGridFind.h).
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

class TQxColumnTitle : public qx::PersistentObject
{
    Q_OBJECT
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")

public:
    // The alignments as the stream names them (same values as the dataset's TAlignment).
    enum TTitleAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TTitleAlignment)

private:
    Q_PROPERTY(TTitleAlignment Alignment READ alignmentValue WRITE setAlignmentValue)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)

public:
    explicit TQxColumnTitle(TQxColumn* column);
    ~TQxColumnTitle() override;

    TQxColumn* Column() const { return FColumn; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    QString Caption() const;
    virtual void SetCaption(const QString& value);
    TColor Color() const;
    void SetColor(TColor value);
    QFont Font() const;
    void SetFont(const QFont& value);
    // The caption the column would show without an assigned one.
    QString DefaultCaption() const;
    virtual void RestoreDefaults();
    void Assign(const TQxColumnTitle* source);

    std::optional<bool> isPropertyStored(const char* name) const override;

private:
    TTitleAlignment alignmentValue() const { return TTitleAlignment(Alignment()); }
    void setAlignmentValue(TTitleAlignment v) { SetAlignment(TAlignment(v)); }

    TQxColumn* FColumn = nullptr;
    QString FCaption;
    QFont FFont;
    TColor FColor = clBtnFace;
    TAlignment FAlignment = ::taLeftJustify;
};

// ---- column --------------------------------------------------------------------------------

class TQxColumn : public qx::CollectionItem
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "ButtonStyle=cbsAuto;DropDownRows=7")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")

public:
    enum TColumnAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TColumnAlignment)
    enum TQxColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };
    Q_ENUM(TQxColumnButtonStyle)
    enum TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata,
                    imKata, imChinese, imSHanguel, imHanguel };
    Q_ENUM(TImeMode)
    // Which values were assigned (bit order as stored).
    enum TColumnValue {
        cvColor = 0x001,
        cvWidth = 0x002,
        cvFont = 0x004,
        cvAlignment = 0x008,
        cvReadOnly = 0x010,
        cvTitleColor = 0x020,
        cvTitleCaption = 0x040,
        cvTitleAlignment = 0x080,
        cvTitleFont = 0x100,
        cvImeMode = 0x200,
        cvImeName = 0x400,
    };
    Q_DECLARE_FLAGS(TColumnValues, TColumnValue)

private:
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

    // The bound field: looked up by FieldName in the grid's dataset on first read.
    TField* Field() const;
    TField* GetField() const { return Field(); }
    virtual void SetField(TField* value);
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value);

    TAlignment Alignment() const;
    virtual void SetAlignment(TAlignment value);
    TQxColumnButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TQxColumnButtonStyle value);
    TColor Color() const;
    void SetColor(TColor value);
    int DropDownRows() const { return int(FDropDownRows); }
    void SetDropDownRows(int value) { FDropDownRows = unsigned(qMax(0, value)); }
    bool Expanded() const;
    void SetExpanded(bool value);
    QFont Font() const;
    void SetFont(const QFont& value);
    TImeMode ImeMode() const;
    virtual void SetImeMode(TImeMode value);
    QString ImeName() const;
    virtual void SetImeName(const QString& value);
    QStringList PickList() const { return FPickList ? *FPickList : QStringList(); }
    void SetPickList(const QStringList& value);
    bool HasPickList() const { return FPickList && !FPickList->isEmpty(); }
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* value);
    bool ReadOnly() const;
    virtual void SetReadOnly(bool value);
    TQxColumnTitle* Title() const { return FTitle; }
    int Width() const;
    virtual void SetWidth(int value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    QImage Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& value);
    bool FixedColumns() const { return FFixedColumns; }
    void SetFixedColumns(bool value) { FFixedColumns = value; }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value) { FTabStop = value; }
    bool IMEControl() const { return FIMEControl; }
    void SetIMEControl(bool value) { FIMEControl = value; }

    TColumnValues AssignedValues() const { return FAssignedValues; }
    bool IsStored() const { return FStored; }
    void SetIsStored(bool value) { FStored = value; }
    // The datasets of this system are flat: no column has sub-columns.
    TQxColumn* ParentColumn() const { return nullptr; }
    int Depth() const { return 0; }
    bool Expandable() const { return false; }
    bool GetVisible() const { return FVisible; }
    // Drawn and given a width: visible, not expanded (flat datasets never are).
    bool Showing() const;
    int DefaultWidth() const;
    QString DisplayName() const;

    virtual void RestoreDefaults();
    void Assign(const TQxColumn* source);
    std::optional<bool> isPropertyStored(const char* name) const override;

private:
    friend class TQxColumnTitle;
    friend class TQxDBGridColumns;
    friend class TQxCustomDBGrid;
    TColumnAlignment alignmentValue() const { return TColumnAlignment(Alignment()); }
    void setAlignmentValue(TColumnAlignment v) { SetAlignment(TAlignment(v)); }
    void Changed(bool allItems = false);
    QFont DefaultFont() const;
    TAlignment DefaultAlignment() const;
    TColor DefaultColor() const;
    bool DefaultReadOnly() const;
    TImeMode DefaultImeMode() const;
    QString DefaultImeName() const;
    void ClearField() { FField = nullptr; }

    mutable QPointer<TField> FField;
    QString FFieldName;
    TColor FColor = clWindow;
    int FWidth = 0;
    TQxColumnTitle* FTitle = nullptr;
    QFont FFont;
    TImeMode FImeMode = imDontCare;
    QString FImeName;
    std::unique_ptr<QStringList> FPickList;
    QPointer<QMenu> FPopupMenu;
    unsigned FDropDownRows = 7;
    TQxColumnButtonStyle FButtonStyle = cbsAuto;
    TAlignment FAlignment = ::taLeftJustify;
    bool FReadOnly = false;
    TColumnValues FAssignedValues;
    bool FVisible = true;
    bool FExpanded = true;
    bool FStored = true;
    bool FTabStop = true;
    bool FFixedColumns = false;
    QImage FGlyph;
    bool FIMEControl = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TQxColumn::TColumnValues)

using TQxColumnButtonStyle = TQxColumn::TQxColumnButtonStyle;
inline constexpr TQxColumnButtonStyle cbsAuto = TQxColumn::cbsAuto;
inline constexpr TQxColumnButtonStyle cbsEllipsis = TQxColumn::cbsEllipsis;
inline constexpr TQxColumnButtonStyle cbsNone = TQxColumn::cbsNone;

// ---- column collection ---------------------------------------------------------------------

enum TQxDBGridColumnsState { csDefault, csCustomized };

class TQxDBGridColumns : public qx::Collection
{
    Q_OBJECT

public:
    explicit TQxDBGridColumns(TQxCustomDBGrid* grid);
    ~TQxDBGridColumns() override;

    TQxCustomDBGrid* Grid() const { return FGrid; }
    int Count() const { return count(); }
    TQxColumn* Items(int index) const { return static_cast<TQxColumn*>(item(index)); }
    TQxColumn* GetColumn(int index) const { return Items(index); }
    TQxColumn* operator[](int index) const { return Items(index); }
    // A new stored column at the end.
    TQxColumn* Add();
    // A new column the grid made by itself (not stored) at the end.
    TQxColumn* AddDefaultColumn();
    TQxDBGridColumnsState State() const;
    void SetState(TQxDBGridColumnsState value);
    // One stored column per field of the dataset, in field order.
    void RebuildColumns();
    // Every column back to its defaults.
    void RestoreDefaults();
    // Batched changes: the grid hears once, at the end.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // A column changed (null: the whole collection).
    void Notify(TQxColumn* item);
    bool MakingDefaultColumn() const { return FMakingDefault; }
    // Column layout files (".dbg"): the collection as one component image whose only object
    // is a TQxColumnsWrapper (uQxDBGridFiles.cpp).
    void SaveToFile(const QString& FileName);
    void LoadFromFile(const QString& FileName);

protected:
    void update(qx::CollectionItem* item) override;

private:
    TQxCustomDBGrid* FGrid = nullptr;
    int FUpdateCount = 0;
    bool FMakingDefault = false;
};

// ---- data link ---------------------------------------------------------------------------

class TGridDataLink : public TDataLink
{
public:
    // The largest number of mapped columns.
    static constexpr int MaxMapSize = (1 << 28) - 1;

    explicit TGridDataLink(TQxCustomDBGrid* grid);
    ~TGridDataLink() override;

    TQxCustomDBGrid* Grid() const { return FGrid; }
    int FieldCount() const { return FFieldCount; }
    bool AddMapping(const QString& FieldName);
    void ClearMapping();
    TField* GetFields(int I) const;
    int FieldMapEntry(int I) const { return I >= 0 && I < FFieldCount ? FFieldMap[std::size_t(I)] : -1; }
    bool DefaultFields() const;
    bool SparseMap() const { return FSparseMap; }
    void SetSparseMap(bool value) { FSparseMap = value; }
    void Reset();
    bool Modified() const { return FModified; }
    void Modified_(bool value) { FModified = value; }
    bool IsAggRow(int) const { return false; }

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void LayoutChanged() override;
    void FocusControl(TField*& field) override;
    void EditingChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;

private:
    TQxCustomDBGrid* FGrid = nullptr;
    int FFieldCount = 0;
    std::vector<int> FFieldMap;
    bool FModified = false;
    bool FInUpdateData = false;
    bool FSparseMap = false;
};

// ---- selection ---------------------------------------------------------------------------

class TBookmarkList
{
public:
    explicit TBookmarkList(TQxCustomDBGrid* grid);

    int Count() const { return int(FList.size()); }
    TBookmarkStr Items(int index) const { return FList.at(std::size_t(index)); }
    void Clear();
    // The bookmark of the dataset's current record; raises for a closed dataset.
    TBookmarkStr CurrentRow() const;
    bool Find(const TBookmarkStr& Item, int& Index);
    bool CurrentRowSelected();
    void SetCurrentRowSelected(bool Value);
    bool LinkActive() const { return FLinkActive; }
    void SetLinkActive(bool Value);
    // Deletes the selected records (the current record ends on the one after the last).
    void Delete();
    // How many bookmark comparisons searches made (for checking the cache).
    int Comparisons() const { return FComparisons; }

private:
    void listChanged() { FCacheIndex = -1; }
    std::vector<TBookmarkStr> FList;
    TQxCustomDBGrid* FGrid = nullptr;
    TBookmarkStr FCache;
    int FCacheIndex = -1;
    bool FCacheFind = false;
    bool FLinkActive = false;
    int FComparisons = 0;
};

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

class TQxCustomDBGrid : public TQxCustomGrid, public qx::Streamable
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

    void BeginUpdate();
    void EndUpdate();
    void BeginLayout();
    void EndLayout();
    void CancelLayout();
    bool AcquireLayoutLock();
    void DeferLayout();
    virtual void LayoutChanged();
    void InvalidateTitles();
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
    void UpdateScrollBar();

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

    // The shared off-screen bitmap of WriteCellText and the number of grids that hold it.
    static QImage* SharedCellBitmap();
    static int SharedCellBitmapUsers();

protected:
    virtual bool HighlightCell(int DataCol, int DataRow, const QString& Value,
                               TKyGridDrawState AState);
    virtual void SetColumnAttributes();
    void DrawCell(int ACol, int ARow, const QRect& ARect, TKyGridDrawState AState) override;
    void DrawTitleBand(THeadTreeNode* Node, const QRect& ARect, TKyGridDrawState AState);
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
    // The title popup menu's chance at a right-button release in the title rows; true when it
    // showed (the grid then does nothing more with the release). No menu by default.
    virtual bool ShowTitleMenu(const QPoint& Pos) { (void)Pos; return false; }
    bool TitleMenuDue() const { return FTitleMenuDue; }
    void TopLeftChanged() override;
    void UpdateScrollPos() override;
    void UpdateScrollRange() override;
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
    friend class TGridDataLink;
    friend class TBookmarkList;
    friend class TQxDBGridInplaceEdit;
    friend class TFindEdit;

    // Moves between records and cells (uQxDBGridInput.cpp).
    bool MoveByOne(int Direction, bool Select, TShiftState Shift);
    void NextRow(bool Select, TShiftState Shift);
    void PriorRow(bool Select, TShiftState Shift);
    void TabMove(bool Back);
    bool FreshInsertAtEnd() const;
    void ClearSelection();
    void ToggleCurrentRowSelection();
    bool ConfirmDelete(int Count);
    void DeleteRecords(bool InSelectionOrder);
    bool CanDeleteOrInsert() const;
    void FindEditClosed(int ExitMode);

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
    int FUpdateLock = 0;
    int FLayoutLock = 0;
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

// The first column of the grid whose FieldName is FieldName (without case); null when none.
TQxColumn* ColumnByFieldName(const TQxCustomDBGrid* Grid, const QString& FieldName);

// Writes Text into Rect on the canvas: one clipped, vertically centred line on a plain brush;
// word-wrapped through the shared off-screen bitmap otherwise.
void WriteCellText(QPainter& Canvas, const QRect& Rect, int DX, bool RightToLeft,
                   TAlignment Alignment, const QString& Text, int DY, const QColor& Brush,
                   bool PlainBrush = true);
