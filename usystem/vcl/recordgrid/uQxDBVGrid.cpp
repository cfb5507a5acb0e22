// The record grid's construction and properties, the operations its data link calls, the
// layout pass that turns field rows and the dataset into grid geometry, and scrolling between
// records.
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

#include "platform/stream/ClassRegistry.h"
#include "platform/ui/TextHook.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/controls/uQxFormLook.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

// ---- construction --------------------------------------------------------------------------

TQxCustomDBVGrid::TQxCustomDBVGrid(QWidget* parent)
    : TQxCustomGrid(parent)
{
    // The parts the overridden hooks read exist before the first base setter calls them.
    FDataLink = std::make_unique<TGridDataLink>(this);
    FColumns = new TQxDBVGridColumns(this);
    FLocks.SetColumns(FColumns);
    FBookmarks = std::make_unique<TBookmarkList>(this);
    // The base fills no cell itself: every cell of a record grid is drawn by DrawCell.
    TQxCustomGrid::SetDefaultDrawing(false);
    FDesignOptionsBoost = TKyGridOptions(goColSizing);
    FVirtualView = true;
    SetScrollBars(ssNone);
    // Until Options is set, the base keeps the options it is made with.
    TQxCustomGrid::SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine
                              | goColSizing | goColMoving | goEditing | goTabs);
    SetRowCount(2);
    SetColCount(2);
    SetColor(clWindow);
    SetParentColor(false);
    FTitleFont = font();
    SetDefaultColWidth(120);
    HideEditor();
    // Typing Chinese starts in the grid itself: its first composition opens the cell editor.
    setAttribute(Qt::WA_InputMethodEnabled);
    FImePad = new TQxIMEPad(this);
    FImePad->hide();
    // A click on a line of the pad is the grid's to answer.
    FImePad->installEventFilter(this);
}

TQxCustomDBVGrid::~TQxCustomDBVGrid()
{
    // The link first: nothing the dataset does from now on reaches a half-destroyed grid.
    FDataLink->SetDataSource(nullptr);
    FDataLink.reset();
    // The rows go before the grid's members they read.
    FLocks.SetColumns(nullptr);
    delete FColumns;
    FColumns = nullptr;
}

namespace {

// The form look pass on a record grid: the input method is left to the user, every field row's
// title goes through the text hook, and the grid takes the library's line colour when the
// library data module is there to give it.
bool applyDBVGridLook(QObject* component)
{
    auto* grid = qobject_cast<TQxDBVGrid*>(component);
    if (!grid)
        return false;
    grid->SetImeMode(qx::GridColumn::imDontCare);
    TQxDBVGridColumns* columns = grid->Columns();
    for (int i = 0; i < columns->Count(); ++i) {
        TVColumnTitle* title = columns->Items(i)->Title();
        title->SetCaption(qx::localizeText(title->Caption()));
    }
    if (dmDatabase)
        grid->SetLineColor(dmDatabase->LineColor);
    return true;
}

// Form files name the grid by its class: the unit registers it once, as it is linked in, and
// adds the grid's rule to the form look pass.
const bool gDBVGridRegistered = [] {
    qx::registerClass<TQxDBVGrid>();
    RegisterFormLookRule(flrDBVGrid, applyDBVGridLook);
    return true;
}();

} // namespace

bool TQxDBVGrid::Registered()
{
    return gDBVGridRegistered && qx::isRegisteredClass(&TQxDBVGrid::staticMetaObject);
}

TQxDBVGrid::TQxDBVGrid(QWidget* parent)
    : TQxCustomDBVGrid(parent)
{}

TQxDBVGrid::~TQxDBVGrid() = default;

// ---- properties ----------------------------------------------------------------------------

void TQxCustomDBVGrid::ApplyBaseOptions()
{
    // Grid lines and the receipt look are always on once Options has been set (so neither
    // dgColLines, dgRowLines nor dgReceiptMode changes the base); the options below add to them.
    TKyGridOptions base = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goReceiptMode;
    if (FOptions & dgColumnResize)
        base |= goColSizing | goRowMoving;
    if (FOptions & dgTabs)
        base |= goTabs;
    if (FOptions & dgRowSelect)
        base |= goRowSelect;
    if (FOptions & dgEditing)
        base |= goEditing;
    if (FOptions & dgAlwaysShowEditor)
        base |= goAlwaysShowEditor;
    TQxCustomGrid::SetOptions(base);
}

void TQxCustomDBVGrid::SetOptions(TDBVGridOptions value)
{
    // A whole row selected cannot be edited.
    if (value & dgRowSelect)
        value &= ~TDBVGridOptions(dgEditing | dgAlwaysShowEditor);
    if (value == FOptions)
        return;
    const TDBVGridOptions layoutOptions(dgEditing | dgAlwaysShowEditor | dgTitles | dgIndicator
                                        | dgColLines | dgRowLines | dgRowSelect
                                        | dgAlwaysShowSelection);
    const TDBVGridOptions changed = value ^ FOptions;
    if ((FOptions & dgMultiSelect) && !(value & dgMultiSelect))
        FBookmarks->Clear();
    FOptions = value;
    ApplyBaseOptions();
    if (changed & layoutOptions)
        LayoutChanged();
    InvalidateGrid();
}

void TQxCustomDBVGrid::SetColumns(TQxDBVGridColumns* value)
{
    if (!value || value == FColumns)
        return;
    BeginLayout();
    try {
        FColumns->clear();
        for (int i = 0; i < value->Count(); ++i) {
            TVColumn* source = value->Items(i);
            TVColumn* row = source->IsPassthrough() ? FColumns->AddPassthrough() : FColumns->Add();
            row->Assign(source);
        }
    } catch (...) {
        EndLayout();
        throw;
    }
    EndLayout();
}

TDataSource* TQxCustomDBVGrid::DataSource() const
{
    return FDataLink->DataSource();
}

void TQxCustomDBVGrid::SetDataSource(TDataSource* value)
{
    if (value == FDataLink->DataSource())
        return;
    FBookmarks->Clear();
    FDataLink->SetDataSource(value);
    LinkActive(FDataLink->Active());
}

void TQxCustomDBVGrid::SetReadOnly(bool value)
{
    FReadOnly = value;
    InvalidateEditor();
}

void TQxCustomDBVGrid::SetTitleFont(const QFont& value)
{
    FTitleFont = value;
    if (!FSelfChangingTitleFont && !FLoading)
        FParentFont = false;
    if (FOptions & dgTitles)
        LayoutChanged();
}

void TQxCustomDBVGrid::SetParentFont(bool value)
{
    FParentFont = value;
    if (value) {
        FSelfChangingTitleFont = true;
        SetTitleFont(font());
        FSelfChangingTitleFont = false;
    }
}

void TQxCustomDBVGrid::SetTitlesWidth(int value)
{
    if (value == FTitlesWidth)
        return;
    FTitlesWidth = value;
    if ((FOptions & dgTitles) && ColCount() > 0)
        SetColWidths(0, value);
}

void TQxCustomDBVGrid::EndLoading()
{
    FLoading = false;
    LayoutChanged();
}

std::optional<bool> TQxCustomDBVGrid::isPropertyStored(const char* name) const
{
    if (qstrcmp(name, "Columns") == 0)
        return FColumns->State() == vcsCustomized;
    return std::nullopt;
}

int TQxCustomDBVGrid::SelectedIndex() const
{
    return Row() - FIndicatorOffset;
}

TField* TQxCustomDBVGrid::SelectedField() const
{
    const int index = SelectedIndex();
    if (index < 0 || index >= FColumns->Count())
        return nullptr;
    return FColumns->Items(index)->Field();
}

void TQxCustomDBVGrid::SetSelectedIndex(int Index)
{
    MoveField(Index + FIndicatorOffset);
}

// ---- layout --------------------------------------------------------------------------------

void TQxCustomDBVGrid::LayoutChanged()
{
    // The rows are counted at once; the rest waits for the layout lock.
    if (FColumns->Count() > 0 && !FLoading)
        SetRowCount(FColumns->Count() + FIndicatorOffset);
    FLocks.LayoutChanged();
}

void TQxCustomDBVGrid::DeferredLayout()
{
    FLocks.DeferredLayout();
}

void TQxCustomDBVGrid::DefineFieldMap()
{
    TDataSet* ds = FDataLink->DataSet();
    if (FColumns->State() == vcsCustomized) {
        FDataLink->SetSparseMap(true);
        for (int i = 0; i < FColumns->Count(); ++i)
            FDataLink->AddMapping(FColumns->Items(i)->FieldName());
    } else {
        FDataLink->SetSparseMap(false);
        if (!ds)
            return;
        for (TField* f : *ds->Fields())
            if (f->Visible())
                FDataLink->AddMapping(f->FieldName());
    }
}

void TQxCustomDBVGrid::InternalLayout()
{
    if (FLoading)
        return;
    TDataSet* ds = FDataLink->DataSet();

    // Rows made by the grid never stand before customized ones.
    for (int i = 1; i < FColumns->Count(); ++i) {
        if (!FColumns->Items(i)->IsPassthrough() && FColumns->Items(i - 1)->IsPassthrough()) {
            for (int j = FColumns->Count() - 1; j >= 0; --j)
                if (FColumns->Items(j)->IsPassthrough())
                    FColumns->remove(j);
            break;
        }
    }

    FIndicatorOffset = (FOptions & dgIndicator) ? 1 : 0;
    FDataLink->ClearMapping();
    if (FDataLink->Active())
        DefineFieldMap();

    if (FColumns->State() == vcsCustomized) {
        // Customized rows bind again by name when read.
        for (int i = 0; i < FColumns->Count(); ++i)
            FColumns->Items(i)->ClearField();
    } else {
        if (!FDataLink->Active() && ds && ds->DefaultFields()) {
            FColumns->clear();
        } else {
            for (int j = FColumns->Count() - 1; j >= 0; --j) {
                TField* f = FColumns->Items(j)->Field();
                bool mapped = false;
                for (int k = 0; f && k < FDataLink->FieldCount(); ++k)
                    mapped = mapped || FDataLink->GetFields(k) == f;
                if (!mapped)
                    FColumns->remove(j);
            }
        }
        for (int i = 0; i < FDataLink->FieldCount(); ++i) {
            TField* f = FDataLink->GetFields(i);
            TVColumn* found = nullptr;
            for (int j = i; f && j < FColumns->Count(); ++j) {
                if (FColumns->Items(j)->Field() == f) {
                    found = FColumns->Items(j);
                    break;
                }
            }
            if (!found) {
                found = FColumns->AddPassthrough();
                found->SetField(f);
            }
            found->setIndex(i);
        }
        if (FDataLink->FieldCount() == 0 && FColumns->Count() == 0)
            FColumns->AddPassthrough();
    }

    SetRowCount(FColumns->Count() + FIndicatorOffset);
    SetFixedRows(FIndicatorOffset);
    FTitleOffset = (FOptions & dgTitles) ? 1 : 0;
    // The indicator row has no height and is never drawn: the active record's column is
    // known from the layout (there is one record column).
    FSelRow = FTitleOffset + (FDataLink->Active() ? FDataLink->ActiveRecord() : 0);
    SetRowHeights();
    UpdateRowCount();
    SetColumnAttributes();
    UpdateActive();
    InvalidateGrid();
}

void TQxCustomDBVGrid::SetRowHeights()
{
    // Measured anew at every pass. A field row holds its title cell too, so the rows are as
    // high as the tallest title font needs.
    int rowHeight = QFontMetrics(font()).height() + 3;
    if (FOptions & dgRowLines)
        rowHeight += GridLineWidth();
    rowHeight = std::max(rowHeight, 20);
    if (FOptions & dgTitles) {
        int titleHeight = FColumns->Count() == 0 ? QFontMetrics(FTitleFont).height() + 4 : 0;
        for (int i = 0; i < FColumns->Count(); ++i)
            titleHeight = std::max(titleHeight,
                                   QFontMetrics(FColumns->Items(i)->Title()->Font()).height() + 4);
        rowHeight = std::max(rowHeight, titleHeight);
    }
    TQxCustomGrid::SetDefaultRowHeight(rowHeight);
    // Row 0 takes no room: with the indicator on it is the indicator row, which is never seen.
    // Without the indicator row 0 is the first field row, and it keeps its height.
    if (FIndicatorOffset > 0 && RowCount() > 0)
        TQxCustomGrid::SetRowHeights(0, 0);
}

void TQxCustomDBVGrid::UpdateRowCount()
{
    if (ColCount() <= FTitleOffset)
        SetColCount(FTitleOffset + 1);
    if (FixedCols() != FTitleOffset)
        SetFixedCols(FTitleOffset);
    TDataSet* ds = FDataLink->DataSet();
    if (FDataLink->Active() && ds && ds->DisplayCount() > 0) {
        SetColCount(FTitleOffset + 1);
        // One record column: the link buffers as many records as columns are fully seen, and
        // a single column counts as seen even when it is wider than the window.
        FDataLink->SetBufferCount(std::max(1, VisibleColCount()));
        SetColCount(std::max(1, FDataLink->RecordCount()) + FTitleOffset);
        if (FOptions & dgRowSelect)
            SetTopRow(FixedRows());
        UpdateActive();
    } else {
        SetColCount(FTitleOffset + 1);
    }
}

void TQxCustomDBVGrid::SetColumnAttributes()
{
    // Only the titles column takes a width here; the record column keeps DefaultColWidth or
    // what the user dragged it to, and Tab asks FieldTabStop instead of tab stops.
    if ((FOptions & dgTitles) && ColCount() > 0)
        SetColWidths(0, FTitlesWidth);
}

void TQxCustomDBVGrid::ColWidthsChanged()
{
    TQxCustomGrid::ColWidthsChanged();
    if ((FDataLink->Active() || FColumns->State() == vcsCustomized) && AcquireLayoutLock()) {
        try {
            for (int i = 0; i < FColumns->Count(); ++i)
                FColumns->Items(i)->SetWidth(DefaultColWidth());
        } catch (...) {
            EndLayout();
            throw;
        }
        EndLayout();
    }
}

// ---- data ----------------------------------------------------------------------------------

void TQxCustomDBVGrid::LinkActive(bool Value)
{
    if (!Value)
        HideEditor();
    FBookmarks->SetLinkActive(Value);
    LayoutChanged();
    if (Value && (FOptions & dgAlwaysShowEditor))
        ShowEditor();
}

void TQxCustomDBVGrid::DataChanged()
{
    UpdateRowCount();
    UpdateActive();
    InvalidateEditor();
    InvalidateGrid();
}

QRect TQxCustomDBVGrid::RecordColumnBox() const
{
    const int col = std::clamp(FDataLink->ActiveRecord() + FTitleOffset, 0, ColCount() - 1);
    return BoxRect(col, 0, col, RowCount() - 1);
}

void TQxCustomDBVGrid::Scroll(int Distance)
{
    if (!FDataLink->Active())
        return;
    const QRect oldBox = RecordColumnBox();
    if (FDataLink->ActiveRecord() >= ColCount() - FTitleOffset)
        UpdateRowCount();
    UpdateActive();
    const QRect newBox = RecordColumnBox();
    if (Distance != 0) {
        HideEditor();
        try {
            if (std::abs(Distance) > std::max(1, VisibleColCount())) {
                InvalidateGrid();
            } else {
                // The record area's pixels move sideways by the records scrolled; only the
                // strip they uncover is drawn again. What is to be repainted is marked after
                // the move: a region marked before it would move along into the titles.
                const QRect first = CellRect(FTitleOffset, TopRow());
                const int left = FTitleOffset > 0 && first.isValid() ? first.left() : 0;
                const QRect area(left, 0, std::max(0, viewport()->width() - left),
                                 viewport()->height());
                const int indicatorCol = FSelRow;
                viewport()->scroll(-Distance * DefaultColWidth(), 0, area);
                if (FIndicatorOffset > 0) {
                    InvalidateCol(indicatorCol);
                    InvalidateCol(FDataLink->ActiveRecord() + FTitleOffset);
                }
            }
        } catch (...) {
            if (FOptions & dgAlwaysShowEditor)
                ShowEditor();
            throw;
        }
        if (FOptions & dgAlwaysShowEditor)
            ShowEditor();
    }
    // The record shown before and the one shown now.
    viewport()->update(oldBox);
    viewport()->update(newBox);
}

void TQxCustomDBVGrid::RecordChanged(TField* Field)
{
    if (!Field) {
        InvalidateGrid();
    } else {
        for (int i = 0; i < FColumns->Count(); ++i)
            if (FColumns->Items(i)->Field() == Field)
                InvalidateRow(i + FIndicatorOffset);
    }
    TField* selected = SelectedField();
    if (selected && (!Field || Field == selected) && selected->Text() != FEditText) {
        FEditText = selected->Text();
        InvalidateEditor();
        if (InplaceEditor())
            InplaceEditor()->Deselect();
    }
}

void TQxCustomDBVGrid::UpdateData()
{
    if (TField* f = SelectedField())
        f->SetText(FEditText);
}

void TQxCustomDBVGrid::EditingChanged()
{
    if (FIndicatorOffset > 0)
        InvalidateCell(FSelRow, 0);
}

void TQxCustomDBVGrid::FocusFieldControl(TField*& Field)
{
    if (!Field)
        return;
    SelectField(Field);
    if (SelectedField() == Field && AcquireFocus()) {
        Field = nullptr;
        ShowEditor();
    }
}

void TQxCustomDBVGrid::SelectField(TField* Field)
{
    if (!Field)
        return;
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->Items(i)->Field() == Field)
            MoveField(i + FIndicatorOffset);
}

void TQxCustomDBVGrid::FieldRemoved(TField* Field)
{
    BeginLayout();
    bool any = false;
    for (int i = 0; i < FColumns->Count(); ++i) {
        if (FColumns->Items(i)->FField == Field) {
            FColumns->Items(i)->SetField(nullptr);
            any = true;
        }
    }
    TDataSet* ds = FDataLink->DataSet();
    if (any && ds && !ds->ControlsDisabled())
        EndLayout();
    else
        DeferLayout();
}

void TQxCustomDBVGrid::UpdateActive()
{
    if (!FDataLink->Active() || FLoading)
        return;
    const int newCol = FDataLink->ActiveRecord() + FTitleOffset;
    if (newCol >= FTitleOffset && newCol < ColCount() && Col() != newCol) {
        if (!(FOptions & dgAlwaysShowEditor))
            HideEditor();
        MoveColRow(newCol, std::max(Row(), FixedRows()), false, false);
        InvalidateEditor();
    }
    TField* f = SelectedField();
    if (f && f->Text() != FEditText)
        InvalidateEditor();
}

void TQxCustomDBVGrid::InvalidateCurrentRecord()
{
    if (FDataLink->Active())
        InvalidateCol(FDataLink->ActiveRecord() + FTitleOffset);
}

TBookmarkStr TQxCustomDBVGrid::RecordBookmark(int RecordIndex)
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds || !FDataLink->Active() || RecordIndex < 0 || RecordIndex >= FDataLink->RecordCount())
        return {};
    const int saved = FDataLink->ActiveRecord();
    FDataLink->SetActiveRecord(RecordIndex);
    TBookmarkStr bookmark;
    try {
        bookmark = ds->Bookmark();
    } catch (...) {
        FDataLink->SetActiveRecord(saved);
        throw;
    }
    FDataLink->SetActiveRecord(saved);
    return bookmark;
}

// ---- window events -------------------------------------------------------------------------

bool TQxCustomDBVGrid::CanEditShow()
{
    return FLocks.LayoutLock() == 0 && TQxCustomGrid::CanEditShow();
}

void TQxCustomDBVGrid::resizeEvent(QResizeEvent* event)
{
    TQxCustomGrid::resizeEvent(event);
    if (FLocks.UpdateLock() == 0 && !FLoading)
        UpdateRowCount();
}

void TQxCustomDBVGrid::showEvent(QShowEvent* event)
{
    TQxCustomGrid::showEvent(event);
    BeginUpdate();
    try {
        UpdateRowCount();
        UpdateActive();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TQxCustomDBVGrid::changeEvent(QEvent* event)
{
    TQxCustomGrid::changeEvent(event);
    if (event->type() != QEvent::FontChange)
        return;
    if (FParentFont) {
        FSelfChangingTitleFont = true;
        FTitleFont = font();
        FSelfChangingTitleFont = false;
    }
    // The rows' unassigned fonts follow the grid's font as they are read; the heights follow
    // in the layout pass.
    BeginLayout();
    EndLayout();
}
