#include "usystem/vcl/checks/uQxTreeView.h"

#include "usystem/vcl/checks/QxFrameControl.h"

#include "platform/env/ExceptionGuard.h"
#include "platform/rtl/Exceptions.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/stream/ImageReader.h"
#include "platform/stream/ImageWriter.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Keys.h"

#include <QAbstractItemDelegate>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeWidgetItemIterator>
#include <QtEndian>

#include <vector>

// ---- TTreeNode ----------------------------------------------------------------------------

TTreeNode::TTreeNode() : QTreeWidgetItem(NodeType) {}

TTreeNode::~TTreeNode() = default;

TQxTreeView* TTreeNode::TreeView() const
{
    return qobject_cast<TQxTreeView*>(treeWidget());
}

TTreeNodes* TTreeNode::Owner() const
{
    TQxTreeView* tree = TreeView();
    return tree ? tree->Items() : nullptr;
}

void TTreeNode::SetImageIndex(int value)
{
    if (FImageIndex != value) {
        FImageIndex = value;
        emitDataChanged();
    }
}

void TTreeNode::SetSelectedIndex(int value)
{
    if (FSelectedIndex != value) {
        FSelectedIndex = value;
        emitDataChanged();
    }
}

void TTreeNode::SetStateIndex(int value)
{
    if (FStateIndex != value) {
        FStateIndex = value;
        emitDataChanged();
    }
}

int TTreeNode::Level() const
{
    int level = 0;
    for (const QTreeWidgetItem* p = parent(); p; p = p->parent())
        ++level;
    return level;
}

TTreeNode* TTreeNode::Parent() const
{
    return dynamic_cast<TTreeNode*>(parent());
}

TTreeNode* TTreeNode::Item(int Index) const
{
    if (Index < 0 || Index >= childCount())
        throw ERangeError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return dynamic_cast<TTreeNode*>(child(Index));
}

int TTreeNode::Index() const
{
    if (const QTreeWidgetItem* p = parent())
        return p->indexOfChild(const_cast<TTreeNode*>(this));
    if (const QTreeWidget* tree = treeWidget())
        return tree->indexOfTopLevelItem(const_cast<TTreeNode*>(this));
    return -1;
}

int TTreeNode::AbsoluteIndex() const
{
    const QTreeWidget* tree = treeWidget();
    if (!tree)
        return -1;
    int index = 0;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it, ++index)
        if (*it == this)
            return index;
    return -1;
}

TTreeNode* TTreeNode::getFirstChild() const
{
    return childCount() > 0 ? dynamic_cast<TTreeNode*>(child(0)) : nullptr;
}

namespace {

QTreeWidgetItem* siblingAt(const QTreeWidgetItem* node, int offset)
{
    const QTreeWidgetItem* p = node->parent();
    if (p) {
        const int i = p->indexOfChild(const_cast<QTreeWidgetItem*>(node)) + offset;
        return i >= 0 && i < p->childCount() ? p->child(i) : nullptr;
    }
    const QTreeWidget* tree = node->treeWidget();
    if (!tree)
        return nullptr;
    const int i = tree->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(node)) + offset;
    return i >= 0 && i < tree->topLevelItemCount() ? tree->topLevelItem(i) : nullptr;
}

} // namespace

TTreeNode* TTreeNode::getNextSibling() const
{
    return dynamic_cast<TTreeNode*>(siblingAt(this, 1));
}

TTreeNode* TTreeNode::getPrevSibling() const
{
    return dynamic_cast<TTreeNode*>(siblingAt(this, -1));
}

TTreeNode* TTreeNode::GetNext() const
{
    if (childCount() > 0)
        return dynamic_cast<TTreeNode*>(child(0));
    for (const QTreeWidgetItem* n = this; n; n = n->parent())
        if (QTreeWidgetItem* next = siblingAt(n, 1))
            return dynamic_cast<TTreeNode*>(next);
    return nullptr;
}

bool TTreeNode::Selected() const
{
    const QTreeWidget* tree = treeWidget();
    return tree && tree->currentItem() == this;
}

void TTreeNode::SetSelected(bool value)
{
    QTreeWidget* tree = treeWidget();
    if (!tree)
        return;
    if (value)
        tree->setCurrentItem(this);
    else if (tree->currentItem() == this)
        tree->setCurrentItem(nullptr);
}

void TTreeNode::Assign(const TTreeNode* Source)
{
    if (!Source)
        return;
    SetText(Source->Text());
    FData = Source->FData;
    FImageIndex = Source->FImageIndex;
    FSelectedIndex = Source->FSelectedIndex;
    FOverlayIndex = Source->FOverlayIndex;
    SetStateIndex(Source->FStateIndex);
    emitDataChanged();
}

void TTreeNode::Delete()
{
    delete this;
}

void TTreeNode::DeleteChildren()
{
    qDeleteAll(takeChildren());
}

// ---- TQxCheckTreeNode ---------------------------------------------------------------------

int TQxCheckTreeNode::BaseImage(TCheckType Type, TCheckBoxState State)
{
    switch (Type) {
    case ctCheckBox: return State == cbChecked ? 2 : State == cbGrayed ? 3 : 1;
    case ctRadio: return State == cbChecked ? 5 : 4; // a grayed radio looks unchecked
    case ctNone:
    case ctHiddenCheck: break;
    }
    return -1;
}

TQxCheckTreeNode::TCheckBoxState TQxCheckTreeNode::GetState() const
{
    if (FCheckType == ctHiddenCheck)
        return FState;
    switch (StateIndex()) {
    case 2: case 5: case 7: case 10: case 12: case 15:
        return cbChecked;
    case 3: case 8: case 13:
        return cbGrayed;
    default:
        break;
    }
    return StateIndex() >= -1 && StateIndex() <= 15 ? cbUnchecked : cbGrayed;
}

void TQxCheckTreeNode::SetState(TCheckBoxState State, bool CascadeDownNow, bool CascadeUpNow)
{
    TQxTreeView* tree = TreeView();
    const int base = BaseImage(FCheckType, State);
    if (base >= 0) {
        if (!FEnabled)
            SetStateIndex(base + 10);
        else if (tree && tree->Flatness() == TQxTreeView::cfAlways3d)
            SetStateIndex(base + 5);
        else
            SetStateIndex(base);
    }
    UpdateHotImage(tree && tree->HotNode() == this);
    if (FCheckType == ctHiddenCheck)
        FState = State;
    // Radios are exclusive among the children of one parent; top-level radios are not.
    if (FCheckType == ctRadio && State == cbChecked) {
        if (QTreeWidgetItem* p = parent())
            for (int i = 0; i < p->childCount(); ++i) {
                auto* sibling = dynamic_cast<TQxCheckTreeNode*>(p->child(i));
                if (sibling && sibling != this && sibling->FCheckType == ctRadio)
                    sibling->SetState(cbUnchecked, false, false);
            }
    }
    if (CascadeDownNow)
        cascadeChildren(State);
    if (CascadeUpNow)
        updateParent();
}

void TQxCheckTreeNode::cascadeChildren(TCheckBoxState State)
{
    if (!cascades() || !FCascadeDown || State == cbGrayed)
        return;
    TQxCheckTreeNode* lastDisabled = nullptr;
    for (int i = 0; i < childCount(); ++i) {
        auto* c = dynamic_cast<TQxCheckTreeNode*>(child(i));
        if (!c)
            continue;
        if (c->FEnabled)
            c->SetState(State, true, false);
        else
            lastDisabled = c;
    }
    // A disabled child keeps its state, so this node must show what its children really
    // are rather than the state it was given.
    if (lastDisabled)
        lastDisabled->updateParent();
}

void TQxCheckTreeNode::updateParent()
{
    if (!cascades() || !FCascadeUp)
        return;
    auto* p = dynamic_cast<TQxCheckTreeNode*>(parent());
    if (!p)
        return;
    bool allChecked = true;
    bool allUnchecked = true;
    for (int i = 0; i < p->childCount() && (allChecked || allUnchecked); ++i) {
        auto* c = dynamic_cast<TQxCheckTreeNode*>(p->child(i));
        if (!c || !c->cascades())
            continue;
        switch (c->GetState()) {
        case cbGrayed: allChecked = allUnchecked = false; break;
        case cbChecked: allUnchecked = false; break;
        case cbUnchecked: allChecked = false; break;
        }
    }
    const TCheckBoxState state = allChecked ? cbChecked : allUnchecked ? cbUnchecked : cbGrayed;
    p->SetState(state, false, true);
}

void TQxCheckTreeNode::SetChecked(bool Checked)
{
    const TCheckBoxState wanted = Checked ? cbChecked : cbUnchecked;
    if (GetState() != wanted)
        SetState(wanted, true, true);
}

void TQxCheckTreeNode::SetCheckType(TCheckType value)
{
    if (FCheckType == value)
        return;
    FCheckType = value;
    if (value == ctCheckBox || value == ctRadio)
        SetState(GetState(), true, true);
    else
        SetStateIndex(-1); // a hidden check keeps its stored state
}

void TQxCheckTreeNode::SetEnabled(bool value)
{
    if (FEnabled != value) {
        FEnabled = value;
        SetState(GetState(), false, false);
    }
}

void TQxCheckTreeNode::SetCascadeDown(bool value)
{
    if (FCascadeDown != value) {
        FCascadeDown = value;
        cascadeChildren(GetState());
    }
}

void TQxCheckTreeNode::SetCascadeUp(bool value)
{
    if (FCascadeUp != value) {
        FCascadeUp = value;
        updateParent();
    }
}

void TQxCheckTreeNode::UpdateHotImage(bool Hot)
{
    const TQxTreeView* tree = TreeView();
    if (!FEnabled || (FCheckType != ctCheckBox && FCheckType != ctRadio))
        return;
    if (tree && tree->Flatness() == TQxTreeView::cfAlways3d)
        return;
    const int base = BaseImage(FCheckType, GetState());
    SetStateIndex(Hot ? base + 5 : base);
}

void TQxCheckTreeNode::Assign(const TTreeNode* Source)
{
    TTreeNode::Assign(Source);
    if (const auto* s = dynamic_cast<const TQxCheckTreeNode*>(Source)) {
        FCheckType = s->FCheckType;
        SetCascadeDown(s->FCascadeDown);
        SetCascadeUp(s->FCascadeUp);
    }
}

// ---- TTreeNodes ---------------------------------------------------------------------------

TTreeNodes::TTreeNodes(TQxTreeView* owner) : qx::PersistentObject(owner), FOwner(owner) {}

int TTreeNodes::Count() const
{
    int n = 0;
    for (QTreeWidgetItemIterator it(FOwner); *it; ++it)
        ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int Index) const
{
    if (Index < 0)
        return nullptr;
    int n = 0;
    for (QTreeWidgetItemIterator it(FOwner); *it; ++it, ++n)
        if (n == Index)
            return dynamic_cast<TTreeNode*>(*it);
    return nullptr;
}

TTreeNode* TTreeNodes::GetFirstNode() const
{
    return FOwner->topLevelItemCount() > 0 ? dynamic_cast<TTreeNode*>(FOwner->topLevelItem(0))
                                           : nullptr;
}

TTreeNode* TTreeNodes::insertAt(TTreeNode* parent, int index, const QString& S)
{
    TTreeNode* node = FOwner->CreateNode();
    node->SetText(S);
    if (parent)
        parent->insertChild(index, node);
    else
        FOwner->insertTopLevelItem(index, node);
    return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const QString& S)
{
    TTreeNode* parent = Sibling ? Sibling->Parent() : nullptr;
    return insertAt(parent, parent ? parent->childCount() : FOwner->topLevelItemCount(), S);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const QString& S)
{
    return insertAt(Sibling ? Sibling->Parent() : nullptr, 0, S);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const QString& S)
{
    return insertAt(Parent, Parent ? Parent->childCount() : FOwner->topLevelItemCount(), S);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const QString& S)
{
    return insertAt(Parent, 0, S);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const QString& S)
{
    if (!Sibling)
        return Add(nullptr, S);
    return insertAt(Sibling->Parent(), Sibling->Index(), S);
}

void TTreeNodes::Delete(TTreeNode* Node)
{
    if (Node)
        Node->Delete();
}

void TTreeNodes::Clear()
{
    FOwner->clear();
}

void TTreeNodes::BeginUpdate()
{
    if (FUpdateCount++ == 0)
        FOwner->setUpdatesEnabled(false);
}

void TTreeNodes::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        FOwner->setUpdatesEnabled(true);
}

// The stored nodes: the number of top nodes, then every node depth first as its image,
// selected, state and overlay indexes, its child count and its text (UTF-16 units counted,
// then the units), all integers 32-bit little-endian.
namespace {

void putInt(QByteArray& out, qint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void putNode(QByteArray& out, const TTreeNode* node)
{
    putInt(out, node->ImageIndex());
    putInt(out, node->SelectedIndex());
    putInt(out, node->StateIndex());
    putInt(out, node->OverlayIndex());
    putInt(out, node->Count());
    const QString text = node->Text();
    putInt(out, qint32(text.size()));
    for (QChar c : text) {
        char b[2];
        qToLittleEndian(c.unicode(), b);
        out.append(b, 2);
    }
    for (int i = 0; i < node->Count(); ++i)
        putNode(out, node->Item(i));
}

// Reads what putNode wrote; every count is checked against the bytes that are left.
class NodeDataReader
{
public:
    NodeDataReader(const QByteArray& data, TTreeNodes* nodes) : m_data(data), m_nodes(nodes) {}

    void read()
    {
        const qint32 top = count(MinNodeBytes);
        for (qint32 i = 0; i < top; ++i)
            readNode(nullptr, 0);
        if (m_pos != m_data.size())
            qx::ImageReader::failInvalid();
    }

private:
    static constexpr qint32 MinNodeBytes = 24;
    static constexpr int MaxLevels = 1000;

    qint32 getInt()
    {
        if (m_data.size() - m_pos < 4)
            qx::ImageReader::failInvalid();
        const qint32 v = qFromLittleEndian<qint32>(m_data.constData() + m_pos);
        m_pos += 4;
        return v;
    }

    // A count of things each at least unitBytes long.
    qint32 count(qint32 unitBytes)
    {
        const qint32 n = getInt();
        if (n < 0 || qint64(n) * unitBytes > m_data.size() - m_pos)
            qx::ImageReader::failInvalid();
        return n;
    }

    void readNode(TTreeNode* parent, int level)
    {
        if (level > MaxLevels)
            qx::ImageReader::failInvalid();
        const qint32 image = getInt();
        const qint32 selected = getInt();
        const qint32 state = getInt();
        const qint32 overlay = getInt();
        const qint32 children = getInt();
        const qint32 length = count(2);
        QString text(length, Qt::Uninitialized);
        for (qint32 i = 0; i < length; ++i) {
            text[i] = QChar(qFromLittleEndian<quint16>(m_data.constData() + m_pos));
            m_pos += 2;
        }
        if (children < 0 || qint64(children) * MinNodeBytes > m_data.size() - m_pos)
            qx::ImageReader::failInvalid();
        TTreeNode* node = m_nodes->AddChild(parent, text);
        node->SetImageIndex(image);
        node->SetSelectedIndex(selected);
        node->SetStateIndex(state);
        node->SetOverlayIndex(overlay);
        for (qint32 i = 0; i < children; ++i)
            readNode(node, level + 1);
    }

    const QByteArray& m_data;
    TTreeNodes* m_nodes;
    qint64 m_pos = 0;
};

} // namespace

QByteArray TTreeNodes::NodeData() const
{
    QByteArray out;
    putInt(out, FOwner->topLevelItemCount());
    for (int i = 0; i < FOwner->topLevelItemCount(); ++i)
        putNode(out, dynamic_cast<TTreeNode*>(FOwner->topLevelItem(i)));
    return out;
}

void TTreeNodes::SetNodeData(const QByteArray& data)
{
    Clear();
    try {
        NodeDataReader(data, this).read();
    } catch (...) {
        Clear();
        throw;
    }
}

void TTreeNodes::writeExtraProperties(qx::ImageWriter& writer, const QByteArray& prefix) const
{
    if (FOwner->topLevelItemCount() == 0)
        return;
    writer.writeShortBytes(prefix + "Data");
    writer.writeBinary(NodeData());
}

bool TTreeNodes::readExtraProperty(const QByteArray& name, qx::ImageReader& reader)
{
    if (qstricmp(name.constData(), "Data") != 0)
        return false;
    SetNodeData(reader.readBinary());
    return true;
}

// ---- painting -----------------------------------------------------------------------------

// Draws a node as the platform's tree does: state image, picture, then the text, highlighted
// while the node is selected.
class TQxTreeView::Delegate : public QAbstractItemDelegate
{
public:
    explicit Delegate(TQxTreeView* tree) : QAbstractItemDelegate(tree), m_tree(tree) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        auto* node = dynamic_cast<TTreeNode*>(m_tree->itemFromIndex(index));
        if (!node)
            return;
        p->save();
        const QRect r = option.rect;
        p->fillRect(r, toQColor(m_tree->FColor));
        int x = r.left();
        if (const TImageList* states = m_tree->StateImages()) {
            if (node->StateIndex() > 0)
                states->Draw(*p, x, r.top() + (r.height() - states->Height()) / 2, node->StateIndex());
            x += states->Width();
        }
        const bool selected = option.state & QStyle::State_Selected;
        if (const TImageList* images = m_tree->Images()) {
            const int i = selected && node->SelectedIndex() >= 0 ? node->SelectedIndex() : node->ImageIndex();
            images->Draw(*p, x, r.top() + (r.height() - images->Height()) / 2, i, m_tree->isEnabled());
            x += images->Width();
        }
        const QFontMetrics fm(m_tree->font());
        const QRect text(x + 1, r.top(), fm.horizontalAdvance(node->Text()) + 4, r.height());
        if (selected)
            p->fillRect(text, toQColor(m_tree->hasFocus() ? clHighlight : clBtnFace));
        p->setFont(m_tree->font());
        p->setPen(toQColor(!m_tree->isEnabled() ? clGrayText
                           : selected && m_tree->hasFocus() ? clHighlightText
                                                            : clWindowText));
        p->drawText(text, Qt::AlignVCenter | Qt::AlignHCenter | Qt::TextSingleLine, node->Text());
        if (selected && (option.state & QStyle::State_HasFocus) && m_tree->hasFocus()) {
            p->setPen(QPen(toQColor(clWindowText), 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(text.adjusted(0, 0, -1, -1));
        }
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const QFontMetrics fm(m_tree->font());
        int h = fm.height() + 2;
        int w = 0;
        if (const TImageList* states = m_tree->StateImages()) {
            h = qMax(h, states->Height());
            w += states->Width();
        }
        if (const TImageList* images = m_tree->Images()) {
            h = qMax(h, images->Height());
            w += images->Width();
        }
        const QTreeWidgetItem* item = m_tree->itemFromIndex(index);
        w += (item ? fm.horizontalAdvance(item->text(0)) : 0) + 6;
        return QSize(w, h);
    }

private:
    TQxTreeView* m_tree;
};

// ---- TQxTreeView --------------------------------------------------------------------------

namespace {
// A tree read from a form image gets its mark pictures before anything else is read, so the
// reader makes it through this factory.
const bool gTreeViewRegistered = [] {
    qx::registerClass(&TQxTreeView::staticMetaObject, [](QObject* parent) -> QObject* {
        auto* tree = new TQxTreeView(qobject_cast<QWidget*>(parent));
        tree->CreateStateImages();
        return tree;
    });
    return true;
}();
} // namespace

TQxTreeView::TQxTreeView(QWidget* parent) : QTreeWidget(parent), FItems(new TTreeNodes(this))
{
    (void)gTreeViewRegistered;
    setColumnCount(1);
    setHeaderHidden(true);
    setItemDelegate(new Delegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::StrongFocus);
    setIndentation(19);
    setRootIsDecorated(true);
    setUniformRowHeights(false);
    viewport()->setMouseTracking(true);
    resize(121, 97);
    SetColor(clWindow);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                if (auto* node = dynamic_cast<TTreeNode*>(current))
                    Change(node);
            });
}

TQxTreeView::~TQxTreeView()
{
    // The nodes go first, while the tree they ask about is still whole.
    blockSignals(true);
    clear();
}

TTreeNode* TQxTreeView::CreateNode()
{
    return new TQxCheckTreeNode();
}

TTreeNode* TQxTreeView::Selected() const
{
    return dynamic_cast<TTreeNode*>(currentItem());
}

void TQxTreeView::SetSelected(TTreeNode* Node)
{
    setCurrentItem(Node);
}

TTreeNode* TQxTreeView::GetNodeAt(int X, int Y) const
{
    return dynamic_cast<TTreeNode*>(itemAt(X, Y));
}

void TQxTreeView::SetColor(TColor value)
{
    FColor = value;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, toQColor(value));
    setPalette(pal);
    viewport()->update();
}

void TQxTreeView::SetHotTrack(bool value)
{
    if (FHotTrack != value) {
        FHotTrack = value;
        if (!value)
            setHotNode(nullptr);
    }
}

void TQxTreeView::SetImages(TImageList* value)
{
    if (FImages != value) {
        FImages = value;
        doItemsLayout();
        viewport()->update();
    }
}

void TQxTreeView::SetFlatness(TCheckFlatness value)
{
    if (FFlatness == value)
        return;
    FFlatness = value;
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        if (auto* node = dynamic_cast<TQxCheckTreeNode*>(*it))
            node->SetState(node->GetState(), false, false);
}

void TQxTreeView::CreateStateImages()
{
    auto images = std::make_unique<TImageList>();
    images->SetWidth(StateImageSize);
    images->SetHeight(StateImageSize);
    const QRect markRect(2, 2, 13, 13);
    auto box = [&](unsigned state) {
        QImage img(StateImageSize, StateImageSize, QImage::Format_RGB32);
        img.fill(Qt::white);
        if (state != ~0u) {
            QPainter p(&img);
            qx::drawFrameControlButton(p, markRect, state);
        }
        // White is the transparent colour of the boxes (and all of the placeholder).
        images->AddMasked(img, clWhite);
    };
    auto radio = [&](unsigned state) {
        // The radio's own round shape is its mask: outside it the picture is transparent.
        QImage img(StateImageSize, StateImageSize, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            qx::drawFrameControlButton(p, markRect, state | DFCS_BUTTONRADIO);
        }
        images->Add(QPixmap::fromImage(img));
    };
    box(~0u); // 0: placeholder
    for (unsigned look : {unsigned(DFCS_FLAT), 0u, unsigned(DFCS_INACTIVE)}) {
        box(look);
        box(look | DFCS_CHECKED);
        box(look | DFCS_CHECKED | DFCS_BUTTON3STATE);
        radio(look);
        radio(look | DFCS_CHECKED);
    }
    FStateImages = std::move(images);
    doItemsLayout();
    viewport()->update();
}

QByteArray TQxTreeView::CheckNodesData() const
{
    QByteArray out;
    for (QTreeWidgetItemIterator it(const_cast<TQxTreeView*>(this)); *it; ++it) {
        const auto* node = dynamic_cast<const TQxCheckTreeNode*>(*it);
        out.append(char(node ? node->FCheckType : TQxCheckTreeNode::ctNone));
        out.append(char(node && node->FEnabled ? 1 : 0));
    }
    return out;
}

void TQxTreeView::SetCheckNodesData(const QByteArray& data)
{
    std::vector<TQxCheckTreeNode*> nodes;
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        nodes.push_back(dynamic_cast<TQxCheckTreeNode*>(*it));
    if (qint64(data.size()) < qint64(nodes.size()) * 2)
        qx::ImageReader::failInvalid();
    // Checked whole before any node changes, so a damaged value changes nothing.
    for (std::size_t i = 0; i < nodes.size(); ++i)
        if (quint8(data[qsizetype(2 * i)]) > TQxCheckTreeNode::ctHiddenCheck)
            qx::ImageReader::failInvalid();
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i])
            continue;
        nodes[i]->FCheckType = TQxCheckTreeNode::TCheckType(quint8(data[qsizetype(2 * i)]));
        nodes[i]->FEnabled = data[qsizetype(2 * i + 1)] != 0;
    }
    viewport()->update();
}

void TQxTreeView::writeExtraProperties(qx::ImageWriter& writer, const QByteArray& prefix) const
{
    if (topLevelItemCount() == 0)
        return;
    writer.writeShortBytes(prefix + "CheckNodesData");
    writer.writeBinary(CheckNodesData());
}

bool TQxTreeView::readExtraProperty(const QByteArray& name, qx::ImageReader& reader)
{
    if (qstricmp(name.constData(), "CheckNodesData") != 0)
        return false;
    SetCheckNodesData(reader.readBinary());
    return true;
}

std::optional<QList<QObject*>> TQxTreeView::streamedChildren() const
{
    // The node collection and the mark pictures belong to the tree's own image.
    return QList<QObject*>{};
}

void TQxTreeView::ToggleNode(TTreeNode* Node)
{
    auto* node = dynamic_cast<TQxCheckTreeNode*>(Node);
    if (!node || !node->FEnabled)
        return;
    switch (node->FCheckType) {
    case TQxCheckTreeNode::ctCheckBox: {
        const auto before = node->GetState();
        if (before == TQxCheckTreeNode::cbChecked) {
            node->SetState(TQxCheckTreeNode::cbUnchecked, true, true);
            break;
        }
        node->SetState(TQxCheckTreeNode::cbChecked, true, true);
        // Disabled children can pull the node back to where it was; then the click unchecks.
        if (node->GetState() == before)
            node->SetState(TQxCheckTreeNode::cbUnchecked, true, true);
        break;
    }
    case TQxCheckTreeNode::ctRadio:
        node->SetChecked(true);
        break;
    case TQxCheckTreeNode::ctNone:
    case TQxCheckTreeNode::ctHiddenCheck:
        break;
    }
}

TTreeNode* TQxTreeView::HotNode() const
{
    return FHotIndex.isValid() ? dynamic_cast<TTreeNode*>(itemFromIndex(FHotIndex)) : nullptr;
}

void TQxTreeView::setHotNode(TTreeNode* node)
{
    TTreeNode* old = HotNode();
    if (old == node)
        return;
    FHotIndex = node ? QPersistentModelIndex(indexFromItem(node)) : QPersistentModelIndex();
    if (auto* o = dynamic_cast<TQxCheckTreeNode*>(old))
        o->UpdateHotImage(false);
    if (auto* n = dynamic_cast<TQxCheckTreeNode*>(node))
        n->UpdateHotImage(true);
}

QRect TQxTreeView::StateIconRect(TTreeNode* Node) const
{
    if (!Node || !FStateImages)
        return {};
    const QRect r = visualItemRect(Node);
    if (r.isEmpty())
        return {};
    return QRect(r.left(), r.top(), FStateImages->Width(), r.height());
}

bool TQxTreeView::onStateIcon(TTreeNode* node, const QPoint& pos) const
{
    return StateIconRect(node).contains(pos);
}

void TQxTreeView::Change(TTreeNode* Node)
{
    if (OnChange)
        qx::guard(this, [&] { OnChange(this, Node); });
}

void TQxTreeView::keyPressEvent(QKeyEvent* event)
{
    int key = qx::vkFromKeyEvent(event);
    if (OnKeyDown && key != 0) {
        qx::guard(this, [&] { OnKeyDown(this, key, qx::shiftState(event)); });
        if (key == 0) {
            event->accept();
            return;
        }
    }
    if (key == VK_RETURN) {
        qx::selectNextControl(this, true);
        event->accept();
        return;
    }
    // The keypad's '+' and a typed space flip the selected node. Ctrl flips nothing: it
    // starts shortcuts and repeats while held, which would change marks behind the user's
    // back; a held key flips once, not on every repeat.
    const bool space = event->text() == QLatin1String(" ");
    if ((qx::isKeypadPlus(event) || space) && !event->isAutoRepeat())
        ToggleNode(Selected());
    if (space) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void TQxTreeView::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    TTreeNode* node = GetNodeAt(pos.x(), pos.y());
    if (event->button() == Qt::LeftButton && onStateIcon(node, pos))
        ToggleNode(node);
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && OnClick)
        qx::guard(this, [&] { OnClick(this); });
}

void TQxTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    // A double click on a mark is two clicks on the mark, nothing more: no expanding, no
    // collapsing, no OnDblClick.
    if (event->button() == Qt::LeftButton && onStateIcon(GetNodeAt(pos.x(), pos.y()), pos)) {
        event->accept();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && OnDblClick)
        qx::guard(this, [&] { OnDblClick(this); });
}

void TQxTreeView::mouseMoveEvent(QMouseEvent* event)
{
    if (FHotTrack && FFlatness == cfHotTrack) {
        const QPoint pos = event->position().toPoint();
        setHotNode(GetNodeAt(pos.x(), pos.y()));
    }
    QTreeWidget::mouseMoveEvent(event);
}

bool TQxTreeView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        setHotNode(nullptr);
    return QTreeWidget::viewportEvent(event);
}
