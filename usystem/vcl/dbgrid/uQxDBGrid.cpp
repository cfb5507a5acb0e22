// The data grid's link to its dataset, its row selection, the title tree, the layout pass that
// turns columns and fields into grid geometry, and the row window that follows the dataset.
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include "platform/env/ExceptionGuard.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/ui/Messages.h"
#include "platform/ui/TextHook.h"
#include "usystem/vcl/controls/uQxFormLook.h"
#include "usystem/vcl/edits/uQxIMEPad.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

// Where the second word of a caption begins (words are separated by '_'; leading and repeated
// separators are skipped), or -1 when it has only one word. first receives the first word.
int secondWordStart(const QString& text, QString* first = nullptr)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && text[i] == QLatin1Char('_'))
        ++i;
    const int begin = i;
    while (i < n && text[i] != QLatin1Char('_'))
        ++i;
    if (first)
        *first = text.mid(begin, i - begin);
    while (i < n && text[i] == QLatin1Char('_'))
        ++i;
    return i < n ? i : -1;
}

QString firstWord(const QString& text)
{
    QString w;
    secondWordStart(text, &w);
    return w;
}

} // namespace

// ---- THeadTreeNode -----------------------------------------------------------------------

THeadTreeNode::THeadTreeNode() = default;

THeadTreeNode::THeadTreeNode(const QString& text, int height, int width)
    : Text(text)
    , Height(height)
    , Width(width)
{}

THeadTreeNode::~THeadTreeNode()
{
    FreeAllChild();
}

std::vector<THeadTreeNode*> THeadTreeNode::Children() const
{
    std::vector<THeadTreeNode*> out;
    if (!Child)
        return out;
    THeadTreeNode* n = Child;
    do {
        out.push_back(n);
        n = n->Next;
    } while (n != Child);
    return out;
}

void THeadTreeNode::FreeAllChild()
{
    for (THeadTreeNode* c : Children()) {
        c->Next = c;
        delete c;
    }
    Child = nullptr;
}

THeadTreeNode* THeadTreeNode::AddChild(const QString& text, int height, int width)
{
    auto* node = new THeadTreeNode(text, height, width);
    node->Parent = this;
    if (!Child) {
        Child = node;
        return node;
    }
    THeadTreeNode* last = Child;
    while (last->Next != Child)
        last = last->Next;
    last->Next = node;
    node->Next = Child;
    return node;
}

THeadTreeNode* THeadTreeNode::Add(THeadTreeNode* After, const QString& text, int height, int width)
{
    if (!After || After->Parent != this)
        throw ETitleTreeError((After ? After->Text : QString()) + QStringLiteral("结点不存在"));
    auto* node = new THeadTreeNode(text, height, width);
    node->Parent = this;
    node->Next = After->Next;
    After->Next = node;
    return node;
}

bool THeadTreeNode::Find(const THeadTreeNode* node) const
{
    for (THeadTreeNode* c : Children())
        if (c == node || c->Find(node))
            return true;
    return false;
}

void THeadTreeNode::InsertParent(THeadTreeNode* First, THeadTreeNode* Last, int height,
                                 const QString& text)
{
    if (!First || First->Parent != this)
        throw ETitleTreeError(QStringLiteral("Node not in Tree"));
    // The run: First and the siblings after it up to Last, without passing the ring's start.
    std::vector<THeadTreeNode*> run;
    THeadTreeNode* n = First;
    for (;;) {
        run.push_back(n);
        if (n == Last)
            break;
        n = n->Next;
        if (n == Child) {
            throw ETitleTreeError((Last ? Last->Text : QString()) + QStringLiteral("结点没找到"));
        }
    }
    THeadTreeNode* prev = First;
    while (prev->Next != First)
        prev = prev->Next;
    auto* node = new THeadTreeNode(text, height, 0);
    node->Parent = this;
    const bool wholeRing = Last->Next == First;
    if (wholeRing) {
        node->Next = node;
        Child = node;
    } else {
        prev->Next = node;
        node->Next = Last->Next;
        if (Child == First || std::find(run.begin(), run.end(), Child) != run.end())
            Child = node;
    }
    Last->Next = First;
    node->Child = First;
    int width = 0;
    for (THeadTreeNode* m : run) {
        m->Parent = node;
        m->Height -= height;
        width += m->Width;
    }
    node->Width = width + int(run.size()) - 1;
}

// ---- TQxCustomDBGrid: construction -------------------------------------------------------

namespace {
int gSharedBitmapUsers = 0;
QImage* gSharedBitmap = nullptr;
} // namespace

QImage* TQxCustomDBGrid::SharedCellBitmap()
{
    return gSharedBitmap;
}

int TQxCustomDBGrid::SharedCellBitmapUsers()
{
    return gSharedBitmapUsers;
}

TQxCustomDBGrid::TQxCustomDBGrid(QWidget* parent)
    : TQxCustomGrid(parent)
{
    // The parts the overridden hooks read exist before the first base setter calls them.
    FDataLink = std::make_unique<TGridDataLink>(this);
    FColumns = new TQxDBGridColumns(this);
    FLocks.SetColumns(FColumns);
    FBookmarks = std::make_unique<TBookmarkList>(this);
    FHeadTree = std::make_unique<THeadTreeNode>(QStringLiteral("根接点"), 10, 0);
    // The base fills no cell itself: every cell of a data grid is drawn by DrawCell.
    TQxCustomGrid::SetDefaultDrawing(false);
    if (gSharedBitmapUsers++ == 0)
        gSharedBitmap = new QImage(64, 64, QImage::Format_RGB32);
    FDesignOptionsBoost = TKyGridOptions(goColSizing);
    FVirtualView = true;
    SetScrollBars(ssHorizontal);
    TQxCustomGrid::SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine
                              | goColSizing | goColMoving | goEditing | goTabs);
    SetRowCount(2);
    SetColCount(2);
    SetColor(clWindow);
    SetParentColor(false);
    FTitleFont = font();
    HideEditor();
    // Typing Chinese starts in the grid itself: its first composition opens the cell editor.
    setAttribute(Qt::WA_InputMethodEnabled);
    FImePad = new TQxIMEPad(this);
    FImePad->hide();
    ApplyBaseOptions();
}

TQxCustomDBGrid::~TQxCustomDBGrid()
{
    // The link first: nothing the dataset does from now on reaches a half-destroyed grid.
    FDataLink->SetDataSource(nullptr);
    FDataLink.reset();
    FVisibleColumns.clear();
    FNodeMap.clear();
    // The columns go before the grid's members they read.
    FLocks.SetColumns(nullptr);
    delete FColumns;
    FColumns = nullptr;
    FHeadTree.reset();
    if (--gSharedBitmapUsers == 0) {
        delete gSharedBitmap;
        gSharedBitmap = nullptr;
    }
}

namespace {

// The form look pass on a data grid: the input method is left to the user, every title goes
// through the text hook, and the grid lays its columns out anew (a title may have gained or
// lost a group word). Widening the last column by a pixel and setting it back runs that layout
// and leaves every width as it was. A column made for a field writes its width into the field
// as characters, rounded; the field gets its own width back, or every show of the form would
// let the column drift the next time the grid makes it.
bool applyDBGridLook(QObject* component)
{
    auto* grid = qobject_cast<TQxDBGrid*>(component);
    if (!grid)
        return false;
    grid->SetImeMode(TQxColumn::imDontCare);
    TQxDBGridColumns* columns = grid->Columns();
    for (int i = 0; i < columns->Count(); ++i) {
        TQxColumnTitle* title = columns->Items(i)->Title();
        title->SetCaption(qx::localizeText(title->Caption()));
    }
    if (columns->Count() > 0) {
        TQxColumn* last = columns->Items(columns->Count() - 1);
        const int width = last->Width();
        const QPointer<TField> field = last->IsPassthrough() ? last->Field() : nullptr;
        const int fieldWidth = field ? field->DisplayWidth() : 0;
        last->SetWidth(width + 1);
        last->SetWidth(width);
        if (field && field->DisplayWidth() != fieldWidth)
            field->SetDisplayWidth(fieldWidth);
    }
    return true;
}

// Form files name the grid by its class: the unit registers it once, as it is linked in, and
// adds the grid's rule to the form look pass.
const bool gDBGridRegistered = [] {
    qx::registerClass<TQxDBGrid>();
    RegisterFormLookRule(flrDBGrid, applyDBGridLook);
    return true;
}();

} // namespace

bool TQxDBGrid::Registered()
{
    return gDBGridRegistered && qx::isRegisteredClass(&TQxDBGrid::staticMetaObject);
}

TQxDBGrid::TQxDBGrid(QWidget* parent)
    : TQxCustomDBGrid(parent)
{}

TQxDBGrid::~TQxDBGrid() = default;

// ---- properties ----------------------------------------------------------------------------

void TQxCustomDBGrid::ApplyBaseOptions()
{
    TKyGridOptions base = TQxCustomGrid::Options();
    const auto mapOpt = [&base](bool on, TKyGridOptions opts) {
        if (on)
            base |= opts;
        else
            base &= ~opts;
    };
    mapOpt(FOptions & dgColLines, goFixedVertLine | goVertLine);
    mapOpt(FOptions & dgRowLines, goFixedHorzLine | goHorzLine);
    mapOpt(FOptions & dgColumnResize, goColSizing | goColMoving);
    mapOpt(FOptions & dgReceiptMode, TKyGridOptions(goReceiptMode));
    mapOpt(FOptions & dgTabs, TKyGridOptions(goTabs));
    mapOpt(FOptions & dgRowSelect, TKyGridOptions(goRowSelect));
    mapOpt(FOptions & dgEditing, TKyGridOptions(goEditing));
    mapOpt(FOptions & dgAlwaysShowEditor, TKyGridOptions(goAlwaysShowEditor));
    TQxCustomGrid::SetOptions(base);
}

void TQxCustomDBGrid::SetOptions(TQxDBGridOptions value)
{
    // A whole row selected cannot be edited.
    if (value & dgRowSelect)
        value &= ~TQxDBGridOptions(dgEditing | dgAlwaysShowEditor);
    if (value == FOptions)
        return;
    const TQxDBGridOptions layoutOptions(dgEditing | dgAlwaysShowEditor | dgTitles | dgIndicator
                                        | dgColLines | dgRowLines | dgRowSelect
                                        | dgAlwaysShowSelection);
    const TQxDBGridOptions changed = value ^ FOptions;
    if ((FOptions & dgMultiSelect) && !(value & dgMultiSelect))
        FBookmarks->Clear();
    FOptions = value;
    ApplyBaseOptions();
    if (changed & layoutOptions)
        LayoutChanged();
    else
        InvalidateGrid();
}

void TQxCustomDBGrid::SetColumns(TQxDBGridColumns* value)
{
    if (!value || value == FColumns)
        return;
    BeginLayout();
    try {
        FColumns->clear();
        for (int i = 0; i < value->Count(); ++i)
            FColumns->Add()->Assign(value->Items(i));
    } catch (...) {
        EndLayout();
        throw;
    }
    EndLayout();
}

void TQxCustomDBGrid::SetFrozenCols(int value)
{
    if (value < 0 || value == FFrozenCols)
        return;
    FFrozenCols = value;
    LayoutChanged();
}

TDataSource* TQxCustomDBGrid::DataSource() const
{
    return FDataLink->DataSource();
}

void TQxCustomDBGrid::SetDataSource(TDataSource* value)
{
    if (value == FDataLink->DataSource())
        return;
    FBookmarks->Clear();
    FDataLink->SetDataSource(value);
    LinkActive(FDataLink->Active());
}

void TQxCustomDBGrid::SetReadOnly(bool value)
{
    FReadOnly = value;
    SetColumnAttributes();
}

void TQxCustomDBGrid::SetTitleFont(const QFont& value)
{
    FTitleFont = value;
    if (!FSelfChangingTitleFont && !FLoading)
        FParentFont = false;
    LayoutChanged();
}

void TQxCustomDBGrid::SetParentFont(bool value)
{
    FParentFont = value;
    if (value) {
        FSelfChangingTitleFont = true;
        SetTitleFont(font());
        FSelfChangingTitleFont = false;
    }
}

void TQxCustomDBGrid::SetDefaultRowHeight(int value)
{
    TQxCustomGrid::SetDefaultRowHeight(value);
    LayoutChanged();
}

void TQxCustomDBGrid::EndLoading()
{
    FLoading = false;
    if (FColumns->Count() > 0)
        SetColCount(FColumns->Count() + FIndicatorOffset);
    LayoutChanged();
}

std::optional<bool> TQxCustomDBGrid::isPropertyStored(const char* name) const
{
    if (qstrcmp(name, "Columns") == 0)
        return FColumns->State() == csCustomized;
    return std::nullopt;
}

TField* TQxCustomDBGrid::SelectedField() const
{
    const int index = SelectedIndex();
    if (index < 0 || index >= FColumns->Count())
        return nullptr;
    return FColumns->Items(index)->Field();
}

int TQxCustomDBGrid::SelectedIndex() const
{
    return Col() - FIndicatorOffset;
}

THeadTreeNode* TQxCustomDBGrid::LeafOf(const TQxColumn* column) const
{
    const int i = column ? column->index() : -1;
    if (i < 0 || i >= int(FNodeMap.size()))
        return nullptr;
    return FNodeMap[std::size_t(i)].first;
}

bool TQxCustomDBGrid::IsFrozenColumn(int DataCol) const
{
    if (DataCol < 0 || DataCol >= FColumns->Count() || FFrozenCols <= 0)
        return false;
    TQxColumn* col = FColumns->Items(DataCol);
    const int visibleIndex = int(FVisibleColumns.indexOf(col));
    return visibleIndex >= 0 && visibleIndex < FFrozenCols;
}

// ---- layout ------------------------------------------------------------------------------

void TQxCustomDBGrid::LayoutChanged()
{
    FLocks.LayoutChanged();
}

void TQxCustomDBGrid::DeferredLayout()
{
    FLocks.DeferredLayout();
}

void TQxCustomDBGrid::DefineFieldMap()
{
    TDataSet* ds = FDataLink->DataSet();
    if (FColumns->State() == csCustomized) {
        FDataLink->SetSparseMap(true);
        for (int i = 0; i < FColumns->Count(); ++i)
            FDataLink->AddMapping(FColumns->Items(i)->FieldName());
    } else {
        FDataLink->SetSparseMap(false);
        if (!ds)
            return;
        for (TField* f : *ds->Fields())
            if (f->Visible())
                FDataLink->AddMapping(f->FullName());
    }
}

void TQxCustomDBGrid::InternalLayout()
{
    if (FLoading)
        return;
    TDataSet* ds = FDataLink->DataSet();

    // Columns made by the grid never stand before stored ones.
    for (int i = 1; i < FColumns->Count(); ++i) {
        if (FColumns->Items(i)->IsStored() && !FColumns->Items(i - 1)->IsStored()) {
            for (int j = FColumns->Count() - 1; j >= 0; --j)
                if (!FColumns->Items(j)->IsStored())
                    FColumns->remove(j);
            break;
        }
    }

    FIndicatorOffset = (FOptions & dgIndicator) ? 1 : 0;
    FDataLink->ClearMapping();
    if (FDataLink->Active())
        DefineFieldMap();

    if (FColumns->State() == csCustomized) {
        // Stored columns bind again by name when read.
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
            TQxColumn* found = nullptr;
            for (int j = i; f && j < FColumns->Count(); ++j) {
                if (FColumns->Items(j)->Field() == f) {
                    found = FColumns->Items(j);
                    break;
                }
            }
            if (!found) {
                found = FColumns->AddDefaultColumn();
                found->SetField(f);
            }
            found->setIndex(i);
        }
        if (FDataLink->FieldCount() == 0 && FColumns->Count() == 0)
            FColumns->AddDefaultColumn();
    }

    // Visible columns, and the hidden ones that stand before the first scrollable column.
    FVisibleColumns.clear();
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->Items(i)->Showing())
            FVisibleColumns.append(FColumns->Items(i));
    int hidden = 0;
    int visibleSeen = 0;
    for (int i = 0; i < FColumns->Count(); ++i) {
        const bool showing = FColumns->Items(i)->Showing();
        if (visibleSeen >= FFrozenCols && showing)
            break;
        if (showing)
            ++visibleSeen;
        else
            ++hidden;
    }
    if (FVisibleColumns.isEmpty() && hidden > 0)
        --hidden;
    const int frozen = std::min<int>(FFrozenCols, int(FVisibleColumns.size()));

    const int colCount = FColumns->Count() + FIndicatorOffset;
    SetColCount(colCount);
    int fixed = FIndicatorOffset + hidden;
    if (FDataLink->Active() || FColumns->State() == csCustomized)
        fixed += frozen;
    SetFixedCols(std::clamp(fixed, 0, colCount - 1));

    FTitleOffset = 0;
    if (FOptions & dgTitles) {
        FTitleOffset = 1;
        if (RowCount() <= FTitleOffset)
            SetRowCount(FTitleOffset + 1);
        SetFixedRows(FTitleOffset);
        SetRowHeightsFromFonts();
        BuildTitleTree();
        SetRowHeights(0, MeasureTitleTree(FHeadTree.get()) - 1);
    } else {
        FNodeMap.assign(std::size_t(FColumns->Count()), {nullptr, nullptr});
        FHeadTree->FreeAllChild();
        SetFixedRows(0);
        // Without titles the rows keep their height; the base's default applies to all.
        const QFontMetrics fm(font());
        int h = fm.height() + 3 + ((FOptions & dgRowLines) ? GridLineWidth() : 0);
        if (DefaultRowHeight() <= 25)
            TQxCustomGrid::SetDefaultRowHeight(std::max(h, 20));
    }
    UpdateRowCount();
    SetColumnAttributes();
    UpdateActive();
    InvalidateGrid();
}

void TQxCustomDBGrid::SetRowHeightsFromFonts()
{
    const QFontMetrics fm(font());
    const int h = fm.height() + 3 + ((FOptions & dgRowLines) ? GridLineWidth() : 0);
    if (DefaultRowHeight() <= 25)
        TQxCustomGrid::SetDefaultRowHeight(h);
    if (DefaultRowHeight() < 20)
        TQxCustomGrid::SetDefaultRowHeight(20);
    // The title row first takes the tallest title font; the title tree then sets it.
    int titleH = QFontMetrics(FTitleFont).height() + 4;
    for (TQxColumn* c : std::as_const(FVisibleColumns))
        titleH = std::max(titleH, QFontMetrics(c->Title()->Font()).height() + 4);
    SetRowHeights(0, titleH);
}

void TQxCustomDBGrid::BuildTitleTree()
{
    THeadTreeNode* root = FHeadTree.get();
    root->FreeAllChild();
    FNodeMap.assign(std::size_t(FColumns->Count()), {nullptr, nullptr});
    for (int i = 0; i < FColumns->Count(); ++i)
        FNodeMap[std::size_t(i)].second = FColumns->Items(i);
    const int rowHeight = RowHeights(0);
    for (TQxColumn* c : std::as_const(FVisibleColumns)) {
        THeadTreeNode* node = root->AddChild(c->Title()->Caption(), rowHeight, c->Width());
        FNodeMap[std::size_t(c->index())].first = node;
    }
    // Group runs of captions by their first word until a whole scan changes nothing. The
    // run stays among siblings: a group never spans two bands above it.
    for (bool changed = true; changed;) {
        changed = false;
        for (int k = 0; k < FVisibleColumns.size(); ++k) {
            THeadTreeNode* node = LeafOf(FVisibleColumns[k]);
            // The column's topmost node below the root that still carries text to split.
            QString group;
            const int cut = secondWordStart(node->Text, &group);
            if (cut < 0)
                continue;
            THeadTreeNode* last = node;
            std::vector<THeadTreeNode*> run{node};
            for (int m = k + 1; m < FVisibleColumns.size(); ++m) {
                THeadTreeNode* next = LeafOf(FVisibleColumns[m]);
                if (next->Parent != node->Parent || last->Next != next
                    || firstWord(next->Text) != group)
                    break;
                run.push_back(next);
                last = next;
            }
            for (THeadTreeNode* r : run)
                r->Text = r->Text.mid(cut);
            node->Parent->InsertParent(node, last, 20, group);
            changed = true;
            break;
        }
    }
}

int TQxCustomDBGrid::MeasureTitleTree(THeadTreeNode* node)
{
    if (!node || !node->Child)
        return 0;
    const QFontMetrics fm(FTitleFont);
    const std::vector<THeadTreeNode*> children = node->Children();
    std::vector<int> subtree(children.size(), 0);
    int result = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        THeadTreeNode* c = children[i];
        int own = 0;
        if (!c->Text.isEmpty()) {
            const int w = std::max(1, c->Width - 4);
            own = fm.boundingRect(QRect(0, 0, w, 100000), Qt::TextWordWrap, c->Text).height();
        }
        if (own > 0)
            own += FTitleMargin;
        subtree[i] = c->Child ? MeasureTitleTree(c) : 0;
        result = std::max(result, own + subtree[i]);
    }
    for (std::size_t i = 0; i < children.size(); ++i)
        children[i]->Height = children[i]->Child ? result - subtree[i] : result;
    node->Height = result;
    return result;
}

void TQxCustomDBGrid::SetColumnAttributes()
{
    const bool active = FDataLink->Active();
    for (int i = 0; i < FColumns->Count(); ++i) {
        TQxColumn* c = FColumns->Items(i);
        const int raw = i + FIndicatorOffset;
        if (raw >= ColCount())
            break;
        TField* f = c->Field();
        bool tab = c->Showing() && !c->ReadOnly() && active && f && !f->Calculated()
                   && !f->ReadOnly() && c->TabStop();
        if (tab && f->Lookup()) {
            TDataSet* ds = FDataLink->DataSet();
            TField* key = ds ? ds->FindField(f->KeyFields()) : nullptr;
            tab = !key || !key->ReadOnly();
        }
        SetTabStops(raw, tab);
        SetColWidths(raw, c->Showing() ? c->Width() : -1);
    }
    if (FIndicatorOffset > 0) {
        SetColWidths(0, 11);
        if (ColWidths(0) < 20)
            SetColWidths(0, 20);
    }
}

void TQxCustomDBGrid::ColWidthsChanged()
{
    TQxCustomGrid::ColWidthsChanged();
    if ((FDataLink->Active() || FColumns->State() == csCustomized) && AcquireLayoutLock()) {
        try {
            for (int i = 0; i < FColumns->Count(); ++i) {
                const int raw = i + FIndicatorOffset;
                if (raw < ColCount() && ColWidths(raw) > 0)
                    FColumns->Items(i)->SetWidth(ColWidths(raw));
            }
        } catch (...) {
            EndLayout();
            throw;
        }
        EndLayout();
    }
}

void TQxCustomDBGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    const int from = FromIndex - FIndicatorOffset;
    const int to = ToIndex - FIndicatorOffset;
    if (from >= 0 && to >= 0 && from < FColumns->Count() && to < FColumns->Count()) {
        BeginLayout();
        try {
            TQxColumn* moved = FColumns->Items(from);
            TField* field = moved->Field();
            TField* target = FColumns->Items(to)->Field();
            // A default column shows its field where the dataset has it: the field moves, and
            // the layout puts the columns in the new field order.
            if (!moved->IsStored() && FDataLink->Active() && field && target)
                field->SetIndex(target->Index());
            moved->setIndex(to);
        } catch (...) {
            EndLayout();
            throw;
        }
        EndLayout();
    }
    // The application hears the columns' own positions, not the grid's (the indicator is none).
    if (OnColumnMoved)
        OnColumnMoved(this, from, to);
}

void TQxCustomDBGrid::InvalidateTitles()
{
    if (!(FOptions & dgTitles))
        return;
    int bottom = 0;
    for (int r = 0; r < FTitleOffset && r < RowCount(); ++r)
        bottom += RowHeights(r) + GridLineWidth();
    viewport()->update(QRect(0, 0, viewport()->width(), bottom + 1));
}

// ---- data --------------------------------------------------------------------------------

void TQxCustomDBGrid::LinkActive(bool Value)
{
    if (!Value)
        HideEditor();
    FBookmarks->SetLinkActive(Value);
    try {
        LayoutChanged();
    } catch (...) {
        UpdateScrollBar();
        throw;
    }
    UpdateScrollBar();
    if (Value && (FOptions & dgAlwaysShowEditor))
        ShowEditor();
}

void TQxCustomDBGrid::DataChanged()
{
    UpdateRowCount();
    UpdateScrollBar();
    UpdateActive();
    InvalidateEditor();
    InvalidateGrid();
}

void TQxCustomDBGrid::Scroll(int Distance)
{
    if (!FDataLink->Active())
        return;
    const int oldRow = Row();
    InvalidateRow(oldRow);
    if (FDataLink->ActiveRecord() >= RowCount() - FTitleOffset)
        UpdateRowCount();
    UpdateScrollBar();
    UpdateActive();
    if (Distance != 0) {
        HideEditor();
        const int visible = RowCount() - FTitleOffset;
        if (std::abs(Distance) >= visible) {
            InvalidateGrid();
        } else {
            // Move the rows' pixels and draw only what came into view, plus the indicators.
            const int step = DefaultRowHeight() + ((FOptions & dgRowLines) ? GridLineWidth() : 0);
            const QRect title = CellRect(0, FTitleOffset - 1);
            const int top = FTitleOffset > 0 ? title.bottom() + 1 + GridLineWidth() : 0;
            const QRect area(0, top, viewport()->width(), viewport()->height() - top);
            viewport()->scroll(0, -Distance * step, area);
            if (FIndicatorOffset > 0) {
                InvalidateCell(0, oldRow);
                InvalidateCell(0, Row());
            }
        }
        if (FOptions & dgAlwaysShowEditor)
            ShowEditor();
    }
    InvalidateRow(Row());
}

void TQxCustomDBGrid::RecordChanged(TField* Field)
{
    if (!Field) {
        InvalidateGrid();
    } else {
        for (int i = 0; i < FColumns->Count(); ++i)
            if (FColumns->Items(i)->Field() == Field)
                InvalidateCol(i + FIndicatorOffset);
    }
    TField* selected = SelectedField();
    if (selected && (!Field || Field == selected) && selected->Text() != FEditText) {
        FEditText = selected->Text();
        InvalidateEditor();
        if (InplaceEditor())
            InplaceEditor()->Deselect();
    }
}

void TQxCustomDBGrid::UpdateData()
{
    TField* f = SelectedField();
    if (!f)
        return;
    f->SetText(FEditText);
    // The link hears no field change while the cell is written, but the field's change
    // handlers may have filled other cells of the row (a looked-up name or price).
    InvalidateRow(Row());
}

void TQxCustomDBGrid::EditingChanged()
{
    if (FIndicatorOffset > 0)
        InvalidateCell(0, Row());
}

void TQxCustomDBGrid::FocusFieldControl(TField*& Field)
{
    if (!Field)
        return;
    TField* wanted = Field;
    for (int i = 0; i < FColumns->Count(); ++i) {
        if (FColumns->Items(i)->Field() != wanted)
            continue;
        const int raw = i + FIndicatorOffset;
        if (raw >= FixedCols() && raw < ColCount())
            MoveColRow(raw, Row(), true, true);
        if (SelectedField() == wanted && isVisible() && isEnabled()) {
            setFocus(Qt::OtherFocusReason);
            Field = nullptr;
            ShowEditor();
        }
    }
}

void TQxCustomDBGrid::FieldRemoved(TField* field)
{
    BeginLayout();
    bool any = false;
    for (int i = 0; i < FColumns->Count(); ++i) {
        if (FColumns->Items(i)->FField == field) {
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

TBookmarkStr TQxCustomDBGrid::RowBookmark(int DataRow)
{
    // The link's window names any of its rows without moving the cursor.
    TDataSet* ds = FDataLink->DataSet();
    if (!ds || !FDataLink->Active())
        return {};
    const int saved = ds->ReadRecord();
    ds->SetReadRecord(FDataLink->FirstRecord() + DataRow);
    const TBookmarkStr bookmark = ds->Bookmark();
    ds->SetReadRecord(saved);
    return bookmark;
}

bool TQxCustomDBGrid::RowSelected(int DataRow)
{
    if (FBookmarks->Count() == 0)
        return false;
    const TBookmarkStr bm = RowBookmark(DataRow);
    int index = 0;
    return !bm.isEmpty() && FBookmarks->Find(bm, index);
}

// ---- rows and scrolling ----------------------------------------------------------------------

void TQxCustomDBGrid::UpdateRowCount()
{
    const int oldRows = RowCount();
    if (RowCount() <= FTitleOffset)
        SetRowCount(FTitleOffset + 1);
    SetFixedRows(FTitleOffset);
    TDataSet* ds = FDataLink->DataSet();
    if (FDataLink->Active() && ds && ds->DisplayCount() > 0) {
        // As many records as rows fit: the window holds nothing the screen does not show.
        FInRowCountUpdate = true;
        try {
            SetRowCount(1000);
            FDataLink->SetBufferCount(std::max(1, VisibleRowCount()));
        } catch (...) {
            FInRowCountUpdate = false;
            throw;
        }
        FInRowCountUpdate = false;
        SetRowCount(std::max(1, FDataLink->RecordCount()) + FTitleOffset);
        if (FOptions & dgRowSelect)
            SetTopRow(FixedRows());
        UpdateActive();
    } else {
        SetRowCount(FTitleOffset + 1);
    }
    if (oldRows != RowCount())
        InvalidateGrid();
}

void TQxCustomDBGrid::UpdateActive()
{
    if (!FDataLink->Active() || FLoading)
        return;
    const int newRow = FDataLink->ActiveRecord() + FTitleOffset;
    if (newRow >= FTitleOffset && newRow < RowCount() && Row() != newRow) {
        if (!(FOptions & dgAlwaysShowEditor))
            HideEditor();
        FInUpdateActive = true;
        try {
            MoveColRow(std::max(Col(), FixedCols()), newRow, false, false);
        } catch (...) {
            FInUpdateActive = false;
            throw;
        }
        FInUpdateActive = false;
        InvalidateEditor();
    }
    TField* f = SelectedField();
    if (f && f->Text() != FEditText)
        InvalidateEditor();
}

bool TQxCustomDBGrid::VerticalBarValues(TVerticalBar& Bar) const
{
    TDataSet* ds = FDataLink->DataSet();
    if (!FDataLink->Active() || !ds)
        return false;
    Bar = TVerticalBar();
    if (ds->IsSequenced()) {
        Bar.Min = 1;
        Bar.Page = std::max(1, RowCount() - FTitleOffset);
        Bar.Max = ds->RecordCount() + Bar.Page - 1;
        Bar.Pos = ds->State() == dsInsert ? verticalScrollBar()->value() : ds->RecNo();
    } else {
        Bar.Pos = ds->Bof() ? 0 : ds->Eof() ? 4 : 2;
    }
    return true;
}

int TQxCustomDBGrid::DataVerticalBar() const
{
    TVerticalBar values;
    if (!VerticalBarValues(values))
        return -1;
    return values.Shown() ? 1 : 0;
}

void TQxCustomDBGrid::UpdateScrollBar()
{
    TVerticalBar values;
    if (!VerticalBarValues(values))
        return;
    QScrollBar* bar = verticalScrollBar();
    const int min = values.Min, max = values.Max, page = values.Page, pos = values.Pos;
    // The bar's range holds the record count; only a changed value is set again.
    const bool wasUpdating = FInScrollBarUpdate;
    FInScrollBarUpdate = true;
    const Qt::ScrollBarPolicy policy = values.Shown() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
    if (bar->minimum() != min || bar->maximum() != std::max(min, max - page + 1))
        bar->setRange(min, std::max(min, max - page + 1));
    if (bar->pageStep() != std::max(1, page))
        bar->setPageStep(std::max(1, page));
    if (bar->value() != pos)
        bar->setValue(pos);
    FInScrollBarUpdate = wasUpdating;
}

void TQxCustomDBGrid::UpdateScrollPos()
{
    // The horizontal bar is the base's; the vertical one follows the dataset.
    const int v = verticalScrollBar()->value();
    TQxCustomGrid::UpdateScrollPos();
    if (FDataLink->Active()) {
        FInScrollBarUpdate = true;
        verticalScrollBar()->setValue(v);
        FInScrollBarUpdate = false;
        UpdateScrollBar();
    }
}

void TQxCustomDBGrid::UpdateScrollRange()
{
    // The row count passes through a provisional value while the window is measured, and a
    // bar shown or hidden resizes the grid again: neither may start another round.
    if (FInRowCountUpdate || FInScrollRange)
        return;
    FInScrollRange = true;
    try {
        // The base shows the vertical bar as DataVerticalBar says while the link is active.
        TQxCustomGrid::UpdateScrollRange();
        UpdateScrollBar();
    } catch (...) {
        FInScrollRange = false;
        throw;
    }
    FInScrollRange = false;
}

void TQxCustomDBGrid::ScrollBarAction(Qt::Orientation Bar, int Action, int Pos, bool Released)
{
    if (Bar == Qt::Horizontal || FInScrollBarUpdate) {
        TQxCustomGrid::ScrollBarAction(Bar, Action, Pos, Released);
        return;
    }
    TDataSet* ds = FDataLink->DataSet();
    if (!FDataLink->Active() || !ds)
        return;
    if (!hasFocus() && focusPolicy() != Qt::NoFocus && isEnabled() && isVisible())
        setFocus(Qt::OtherFocusReason);
    const int page = std::max(1, RowCount() - FTitleOffset);
    switch (Action) {
    // A line scrolls the view: the record just past the last (before the first) row shown.
    case QAbstractSlider::SliderSingleStepAdd:
        ds->MoveBy(FDataLink->RecordCount() - FDataLink->ActiveRecord());
        break;
    case QAbstractSlider::SliderSingleStepSub:
        ds->MoveBy(-FDataLink->ActiveRecord() - 1);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        ds->MoveBy(page - FDataLink->ActiveRecord() + page - 1);
        break;
    case QAbstractSlider::SliderPageStepSub:
        ds->MoveBy(-FDataLink->ActiveRecord() - page);
        break;
    case QAbstractSlider::SliderToMinimum:
        ds->First();
        break;
    case QAbstractSlider::SliderToMaximum:
        ds->Last();
        break;
    case QAbstractSlider::SliderMove:
        if (!Released)
            return;
        if (ds->IsSequenced())
            ds->SetRecNo(std::clamp(Pos, 1, std::max(1, ds->RecordCount())));
        break;
    default:
        break;
    }
    UpdateScrollBar();
}

void TQxCustomDBGrid::MoveToDataRow(int DataRow)
{
    TDataSet* ds = FDataLink->DataSet();
    if (!ds || !FDataLink->Active())
        return;
    const int distance = DataRow - FDataLink->ActiveRecord();
    if (distance != 0)
        ds->MoveBy(distance);
}

bool TQxCustomDBGrid::SelectCell(int ACol, int ARow)
{
    if (FInUpdateActive || !FDataLink->Active() || ARow < FTitleOffset || ARow == Row())
        return TQxCustomGrid::SelectCell(ACol, ARow);
    // A move to another row is a move of the dataset; the grid follows it (UpdateActive).
    MoveToDataRow(ARow - FTitleOffset);
    return Row() == ARow;
}

void TQxCustomDBGrid::TopLeftChanged()
{
    TQxCustomGrid::TopLeftChanged();
    InvalidateTitles();
}

bool TQxCustomDBGrid::CanEditShow()
{
    return FLocks.LayoutLock() == 0 && TQxCustomGrid::CanEditShow();
}

void TQxCustomDBGrid::resizeEvent(QResizeEvent* event)
{
    TQxCustomGrid::resizeEvent(event);
    if (FLocks.UpdateLock() == 0 && !FLoading) {
        UpdateRowCount();
        UpdateScrollRange();
    }
    InvalidateTitles();
}

void TQxCustomDBGrid::showEvent(QShowEvent* event)
{
    TQxCustomGrid::showEvent(event);
    BeginUpdate();
    UpdateRowCount();
    UpdateActive();
    EndUpdate();
    UpdateScrollRange();
}

void TQxCustomDBGrid::changeEvent(QEvent* event)
{
    TQxCustomGrid::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FTextLayouts.clear();
        if (FParentFont) {
            FSelfChangingTitleFont = true;
            FTitleFont = font();
            FSelfChangingTitleFont = false;
        }
        LayoutChanged();
    }
}
