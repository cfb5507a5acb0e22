// The record grid: one record of a dataset turned on its side. Every field is a grid row
// (a "column" in the names below, which come from the data grid), the record is the one grid
// column beside the titles column, and a fixed indicator row of no height stands on top. It
// serves as a record view and as a small record editor; the record operations its keys may
// perform are set by DBGridMode.
//
// It is a sibling of the data grid on the grid base, not derived from it; the two share their
// data link, their record selection, their column model, their update and layout locks
// (usystem/vcl/gridlink) and their cell editor (usystem/vcl/dbgrid/QxGridCellEditor.h).
//
// The link buffers one record: the grid always shows the dataset's current record, and
// painting makes that buffered record the link's active record for the time of a cell.
//
// The unit is one header over several files: uQxDBVGridColumns.cpp (field rows and their
// collection), uQxDBVGrid.cpp (construction, properties, the link's operations, the layout
// pass, scrolling), uQxDBVGridPaint.cpp (cells and indicator pictures), uQxDBVGridInput.cpp
// (keys, mouse, record moves, the cell editor's questions) and uQxDBVGridEditor.cpp (the cell
// editor, uQxDBVGridEditor.h).
#pragma once

#include <QFont>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/stream/Persistent.h"
#include "usystem/vcl/edits/uQxIMEPad.h"
#include "usystem/vcl/gridlink/QxBookmarkList.h"
#include "usystem/vcl/gridlink/QxGridColumn.h"
#include "usystem/vcl/gridlink/QxGridDataLink.h"
#include "usystem/vcl/gridlink/QxGridLayoutLocks.h"
#include "usystem/vcl/grids/uQxGrids.h"

class TVColumn;
class TQxDBVGridColumns;
class TQxCustomDBVGrid;
class TDBVGridInplaceEdit;

// ---- field rows ----------------------------------------------------------------------------

// A field row's title, drawn in the titles column. Its values and their rules are the shared
// column model's (QxGridColumn.h); a change of its font lays all rows out again.
class TVColumnTitle : public qx::GridColumnTitle
{
    Q_OBJECT
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")

    Q_PROPERTY(TTitleAlignment Alignment READ alignmentValue WRITE setAlignmentValue)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)

public:
    explicit TVColumnTitle(TVColumn* column);
    ~TVColumnTitle() override;

    TVColumn* Column() const;
    void Assign(const TVColumnTitle* source) { qx::GridColumnTitle::Assign(source); }
};

// A field row: every row is shown; whether it is one the grid made for a field is told by
// its class (TPassthroughColumn).
class TVColumn : public qx::GridColumn
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "ButtonStyle=cbsAuto;DropDownRows=7")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")

    // Published, in the order the component stream writes them.
    Q_PROPERTY(TColumnAlignment Alignment READ alignmentValue WRITE setAlignmentValue)
    Q_PROPERTY(TQxColumnButtonStyle ButtonStyle READ ButtonStyle WRITE SetButtonStyle)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(int DropDownRows READ DropDownRows WRITE SetDropDownRows)
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TImeMode ImeMode READ ImeMode WRITE SetImeMode)
    Q_PROPERTY(QString ImeName READ ImeName WRITE SetImeName)
    Q_PROPERTY(QStringList PickList READ PickList WRITE SetPickList)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(TVColumnTitle* Title READ Title)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(bool IMEControl READ IMEControl WRITE SetIMEControl)

public:
    explicit TVColumn(qx::Collection* collection);
    ~TVColumn() override;

    TQxDBVGridColumns* Columns() const;
    TQxCustomDBVGrid* Grid() const;
    bool IsPassthrough() const override { return false; }

    TVColumnTitle* Title() const { return static_cast<TVColumnTitle*>(ColumnTitle()); }
    void SetTitle(const TVColumnTitle* value) { Title()->Assign(value); }
    // Moves the row within its collection (a pass-through row moves its field too).
    virtual void SetIndex(int Value);
    QString DisplayName() const;
    void Assign(const TVColumn* source) { AssignColumn(source); }

protected:
    // For a derived row whose title is of its own kind.
    TVColumn(qx::Collection* collection, TVColumnTitle* (*makeTitle)(TVColumn*));

private:
    friend class TQxCustomDBVGrid;
};

class TPassthroughColumnTitle : public TVColumnTitle
{
    Q_OBJECT

public:
    explicit TPassthroughColumnTitle(TVColumn* column);
    ~TPassthroughColumnTitle() override;
};

// A row the grid made for a field of the dataset (the rows are not customized): its title,
// alignment, read-only flag, width and position go into the field while the link is open.
class TPassthroughColumn : public TVColumn
{
    Q_OBJECT

public:
    explicit TPassthroughColumn(qx::Collection* collection);
    ~TPassthroughColumn() override;

    bool IsPassthrough() const override { return true; }
    // Moves the field to the dataset position of the field the grid's map holds at Value,
    // then the row.
    void SetIndex(int Value) override;
};

enum TQxDBVGridColumnsState { vcsDefault, vcsCustomized };

class TQxDBVGridColumns : public qx::GridColumns
{
    Q_OBJECT

public:
    explicit TQxDBVGridColumns(TQxCustomDBVGrid* grid);
    ~TQxDBVGridColumns() override;

    TQxCustomDBVGrid* Grid() const { return FGrid; }
    TQxCustomDBVGrid* GetOwner() const { return FGrid; }
    TVColumn* Items(int index) const { return static_cast<TVColumn*>(item(index)); }
    TVColumn* GetColumn(int index) const { return Items(index); }
    TVColumn* operator[](int index) const { return Items(index); }
    // A new customized row at the end.
    TVColumn* Add();
    // A new row the grid makes for a field at the end.
    TPassthroughColumn* AddPassthrough();
    // Customized: at least one row, the first not a pass-through row.
    TQxDBVGridColumnsState GetState() const;
    TQxDBVGridColumnsState State() const { return GetState(); }

protected:
    void update(qx::CollectionItem* item) override;

private:
    TQxCustomDBVGrid* FGrid = nullptr;
};

// ---- the grid ----------------------------------------------------------------------------

class TQxCustomDBVGrid : public TQxCustomGrid, public qx::Streamable, public qx::GridColumnHost
{
    Q_OBJECT

public:
    enum TDBVGridOption {
        dgEditing = 0x0001,
        dgAlwaysShowEditor = 0x0002,
        dgTitles = 0x0004,
        dgIndicator = 0x0008,
        dgColumnResize = 0x0010,
        dgColLines = 0x0020,
        dgRowLines = 0x0040,
        dgTabs = 0x0080,
        dgRowSelect = 0x0100,
        dgAlwaysShowSelection = 0x0200,
        dgConfirmDelete = 0x0400,
        dgCancelOnExit = 0x0800,
        dgMultiSelect = 0x1000,
        dgReceiptMode = 0x2000,
    };
    Q_DECLARE_FLAGS(TDBVGridOptions, TDBVGridOption)
    Q_FLAG(TDBVGridOptions)
    static constexpr TDBVGridOptions DefaultVOptions{3325};

    // The record operations the keys may perform.
    enum TDBGridModeMember { dmDelete = 0x1, dmAppend = 0x2, dmInsert = 0x4, dmNext = 0x8 };
    Q_DECLARE_FLAGS(TDBGridMode, TDBGridModeMember)
    Q_FLAG(TDBGridMode)

    // The link and the selection: the shared implementations, under this grid's own names.
    using TGridDataLink = qx::GridDataLink<TQxCustomDBVGrid, EInvalidGridOperation>;
    using TBookmarkList = qx::BookmarkList<TQxCustomDBVGrid, EInvalidGridOperation>;

    // Events (Sender first, except the click events).
    using TDBVGridClickEvent = std::function<void(TVColumn* Column)>;
    using TColExitEvent = std::function<void(QObject* Sender, bool& CanExit)>;
    using TCellTextChangeEvent =
        std::function<void(QObject* Sender, const QString& CellText, TQxIMEPad*& ImePad)>;
    using TCellImeCodeEvent = std::function<void(QObject* Sender, int lItemIndex, QString& Code)>;
    using THotKeyHintEvent = std::function<void(QObject* Sender, const QString& lHint)>;
    using TMovedEvent = std::function<void(QObject* Sender, int FromIndex, int ToIndex)>;
    using TDrawDataCellEvent = std::function<void(QObject* Sender, const QRect& Rect, TField* Field,
                                                  TKyGridDrawState State)>;
    using TDrawColumnCellEvent = std::function<void(QObject* Sender, const QRect& Rect, int DataCol,
                                                    TVColumn* Column, TKyGridDrawState State)>;

    explicit TQxCustomDBVGrid(QWidget* parent = nullptr);
    ~TQxCustomDBVGrid() override;

    TDBVGridClickEvent OnCellClick;
    TNotifyEvent OnColEnter;
    TColExitEvent OnColExit;
    TCellTextChangeEvent OnCellTextChange;
    TCellImeCodeEvent OnCellImeCode;
    THotKeyHintEvent OnHotKeyHint;
    TMovedEvent OnColumnMoved;
    TDrawDataCellEvent OnDrawDataCell;
    TDrawColumnCellEvent OnDrawColumnCell;
    TNotifyEvent OnEditButtonClick;
    TDBVGridClickEvent OnTitleClick;

    // Published values.
    TDBVGridOptions Options() const { return FOptions; }
    void SetOptions(TDBVGridOptions value);
    TDBGridMode DBGridMode() const { return FDBGridMode; }
    void SetDBGridMode(TDBGridMode value) { FDBGridMode = value; }
    TQxDBVGridColumns* Columns() const { return FColumns; }
    void SetColumns(TQxDBVGridColumns* value);
    TDataSource* DataSource() const;
    TDataSource* GetDataSource() const { return DataSource(); }
    void SetDataSource(TDataSource* value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value) { FDefaultDrawing = value; }
    // The input-method settings of the grid (and of its rows) are kept and streamed; this
    // platform's input methods are not switched per control, so they change nothing.
    qx::GridColumn::TImeMode ImeMode() const { return FImeMode; }
    void SetImeMode(qx::GridColumn::TImeMode value) { FImeMode = value; }
    QString ImeName() const { return FImeName; }
    void SetImeName(const QString& value) { FImeName = value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    QFont TitleFont() const { return FTitleFont; }
    void SetTitleFont(const QFont& value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    int TitlesWidth() const { return FTitlesWidth; }
    void SetTitlesWidth(int value);

    // Run-time values.
    TGridDataLink* DataLink() const { return FDataLink.get(); }
    TBookmarkList* SelectedRows() const { return FBookmarks.get(); }
    // The field row of the current cell (-1 on the indicator row) and its field.
    int SelectedIndex() const;
    void SetSelectedIndex(int Index);
    TField* SelectedField() const;
    int TitleOffset() const { return FTitleOffset; }
    int IndicatorOffset() const { return FIndicatorOffset; }
    // The grid column of the active record, as its indicator was last drawn.
    int SelRow() const { return FSelRow; }
    TQxIMEPad* ImePad() const { return FImePad; }
    bool UpdateFields() const { return FUpdateFields; }
    bool LayoutFromDataset() const { return FLayoutFromDataset; }
    void SetLayoutFromDataset(bool value) { FLayoutFromDataset = value; }
    bool Loading() const { return FLoading; }
    // Form loading: rows and bindings wait until EndLoading.
    void BeginLoading() { FLoading = true; }
    void EndLoading();
    QString EditText() const { return FEditText; }
    int UpdateLock() const { return FLocks.UpdateLock(); }
    int LayoutLock() const { return FLocks.LayoutLock(); }
    // The five indicator pictures (arrow, I-beam, asterisk, dot, arrow with a dot).
    static const QImage& IndicatorPicture(int Index);

    void BeginUpdate() { FLocks.BeginUpdate(); }
    void EndUpdate() { FLocks.EndUpdate(); }
    void BeginLayout() { FLocks.BeginLayout(); }
    void EndLayout() { FLocks.EndLayout(); }
    void CancelLayout() { FLocks.CancelLayout(); }
    bool AcquireLayoutLock() { return FLocks.AcquireLayoutLock(); }
    void DeferLayout() { FLocks.DeferLayout(); }
    virtual void LayoutChanged();

    // The link's operations.
    virtual void DefineFieldMap();
    virtual void LinkActive(bool Value);
    void DataChanged();
    virtual void Scroll(int Distance);
    void RecordChanged(TField* Field);
    void UpdateData();
    void EditingChanged();
    void FocusFieldControl(TField*& Field);
    // Moves the current cell to every row bound to Field in turn (ending on the last).
    void SelectField(TField* Field);
    void FieldRemoved(TField* Field);
    void UpdateActive();
    void UpdateRowCount();
    // The current record was (de)selected: its column is repainted.
    void InvalidateCurrentRecord();

    // Moving between field rows (uQxDBVGridInput.cpp): RawRow is a grid row. Pending edits
    // are written first; the application may refuse leaving the row (OnColExit).
    void MoveField(int RawRow);
    // Whether Tab and Enter stop on grid row RawRow: a field row that can be edited (not
    // read-only, bound to a field that is neither calculated nor read-only, nor a lookup
    // field whose key field is missing or read-only).
    bool FieldTabStop(int RawRow) const;
    // Takes the focus before a mouse or scroll action; true when the grid or its editor has it.
    bool AcquireFocus();
    // The keys of the grid; the record moves among them are gated by DBGridMode.
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    // The cell button (the editor's ellipsis button, Down or the keypad '+'): the
    // application's handler, else the date dialog for a date or date-time field and the
    // field picker for any other field.
    virtual void EditButtonClick();
    // The editor's questions to the application: the candidate lines of a typed code, the
    // code of a chosen line, and the key hints of a row.
    void DoCellTextChange(const QString& CellText, TQxIMEPad*& ImePad);
    void DoCellImeCode(int lItemIndex, QString& Code);
    void DoHotKeyHint(const QString& lHint);
    // The editor of the grid's cells (made on first need).
    TDBVGridInplaceEdit* CellEditor() const;
    bool AcquireFocusEnabled() const { return FAcquireFocus; }
    void SetAcquireFocusEnabled(bool value) { FAcquireFocus = value; }

    std::optional<bool> isPropertyStored(const char* name) const override;

protected:
    virtual bool HighlightCell(int DataCol, int DataRow, const QString& Value,
                               TKyGridDrawState AState);
    virtual void SetColumnAttributes();
    void DrawCell(int ACol, int ARow, const QRect& ARect, TKyGridDrawState AState) override;
    // Writes Text on one line into Rect, filled with the canvas's brush, DY below its top.
    void WriteText(QPainter& Canvas, const QRect& Rect, int DX, int DY, const QString& Text,
                   TAlignment Alignment);
    virtual void DrawDataCell(const QRect& Rect, TField* Field, TKyGridDrawState State);
    virtual void DrawColumnCell(const QRect& Rect, int DataCol, TVColumn* Column,
                                TKyGridDrawState State);
    bool CanEditShow() override;
    void ColWidthsChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void DeferredLayout() override;
    virtual void ColEnter();
    virtual void ColExit(bool& CanExit);
    virtual void CellClick(TVColumn* Column);
    virtual void TitleClick(TVColumn* Column);
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
    // The horizontal bar moves between records; the vertical one scrolls the field rows.
    void ScrollBarAction(Qt::Orientation Bar, int Action, int Pos, bool Released) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TVColumn;
    friend class TPassthroughColumn;
    friend class TQxDBVGridColumns;
    friend class TDBVGridInplaceEdit;

    // Record moves (uQxDBVGridInput.cpp).
    void DoSelection(bool Select, int Direction, TShiftState Shift);
    void NextRow(bool Select, TShiftState Shift);
    void PriorRow(bool Select, TShiftState Shift);
    void TabMove(bool Forward);
    void ClearSelection();
    bool DeletePrompt();
    void DeleteRecords();
    // A line of the candidate pad was clicked.
    void PadMouseDown();

    // What the rows ask the grid (qx::GridColumnHost).
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
    void SetRowHeights();
    void ApplyBaseOptions();
    void DrawIndicatorCell(int RecordIndex, QRect ARect, int TextOffset);
    void DrawFixedFrame(const QRect& Outer);
    TBookmarkStr RecordBookmark(int RecordIndex);
    // The box of the active record's column over all rows.
    QRect RecordColumnBox() const;

    TDBVGridOptions FOptions = DefaultVOptions;
    TDBGridMode FDBGridMode = TDBGridMode(dmDelete | dmAppend | dmInsert);
    QFont FTitleFont;
    bool FReadOnly = false;
    bool FParentFont = true;
    qx::GridColumn::TImeMode FImeMode = qx::GridColumn::imDontCare;
    QString FImeName;
    bool FLayoutFromDataset = false;
    int FTitleOffset = 1;
    int FIndicatorOffset = 1;
    qx::GridLayoutLocks FLocks{this, [this] { InternalLayout(); }};
    bool FInColExit = false;
    bool FDefaultDrawing = true;
    bool FSelfChangingTitleFont = false;
    bool FSelecting = false;
    int FSelRow = 1;
    std::unique_ptr<TGridDataLink> FDataLink;
    QString FEditText;
    TQxDBVGridColumns* FColumns = nullptr;
    std::unique_ptr<TBookmarkList> FBookmarks;
    TBookmarkStr FSelectionAnchor;
    int FTitlesWidth = 100;
    bool FUpdateFields = true;
    bool FAcquireFocus = true;
    bool FLoading = false;
    QPointer<TQxIMEPad> FImePad;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TQxCustomDBVGrid::TDBVGridOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TQxCustomDBVGrid::TDBGridMode)

using TDBVGridOption = TQxCustomDBVGrid::TDBVGridOption;
using TDBVGridOptions = TQxCustomDBVGrid::TDBVGridOptions;
using TDBGridMode = TQxCustomDBVGrid::TDBGridMode;
inline constexpr TQxCustomDBVGrid::TDBGridModeMember dmDelete = TQxCustomDBVGrid::dmDelete;
inline constexpr TQxCustomDBVGrid::TDBGridModeMember dmAppend = TQxCustomDBVGrid::dmAppend;
inline constexpr TQxCustomDBVGrid::TDBGridModeMember dmInsert = TQxCustomDBVGrid::dmInsert;
inline constexpr TQxCustomDBVGrid::TDBGridModeMember dmNext = TQxCustomDBVGrid::dmNext;

// The record grid as forms place it: publishes the properties, adds no behaviour.
class TQxDBVGrid : public TQxCustomDBVGrid
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "BorderStyle=bsSingle;Color=clWindow;FixedColor=clBtnFace;"
                              "LineColor=clBlack;GridLineWidth=1;"
                              "Options=[dgEditing,dgTitles,dgIndicator,dgColumnResize,dgColLines,"
                              "dgRowLines,dgTabs,dgConfirmDelete,dgCancelOnExit];"
                              "ParentColor=false;ScrollBars=ssBoth;TabStop=true;Align=alNone;"
                              "DefaultDrawing=true;ImeMode=imDontCare;DefaultColWidth=64;"
                              "ReadOnly=false")
    Q_CLASSINFO("QxIntegerKinds", "Color,FixedColor,LineColor=TColor")
    Q_PROPERTY(TDBVGridOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(TDBGridMode DBGridMode READ DBGridMode WRITE SetDBGridMode)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(TQxDBVGridColumns* Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(bool DefaultDrawing READ DefaultDrawing WRITE SetDefaultDrawing)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(qx::GridColumn::TImeMode ImeMode READ ImeMode WRITE SetImeMode)
    Q_PROPERTY(QString ImeName READ ImeName WRITE SetImeName)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(QFont TitleFont READ TitleFont WRITE SetTitleFont)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(int TitlesWidth READ TitlesWidth WRITE SetTitlesWidth)

public:
    explicit TQxDBVGrid(QWidget* parent = nullptr);
    ~TQxDBVGrid() override;
    // Whether the class registry knows the grid (it registers itself when the unit loads).
    static bool Registered();
};
