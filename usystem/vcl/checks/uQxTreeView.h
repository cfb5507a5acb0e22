// TQxTreeView: the library's tree whose nodes carry check marks. A node is a three-state check
// box that passes its state down to its children and up to its parents, or a radio button
// exclusive among its siblings. The marks are the tree's state images; how each node is marked
// (its kind and whether the user may change it) is stored with the form in CheckNodesData.
//
// The tree's nodes (TTreeNode, TTreeNodes) follow the platform's tree: Items.Add, AddChild,
// node Text, ImageIndex, Level, and the state image index that shows a node's mark.
#pragma once

#include "platform/stream/Persistent.h"
#include "platform/ui/Colors.h"
#include "platform/ui/ControlProps.h"
#include "platform/ui/Events.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/VclTypes.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeWidget>

#include <functional>
#include <memory>

class TQxTreeView;
class TTreeNodes;

// ---- nodes ----------------------------------------------------------------------------------

class TTreeNode : public QTreeWidgetItem
{
public:
    static constexpr int NodeType = QTreeWidgetItem::UserType + 0x31;

    TTreeNode();
    ~TTreeNode() override;

    TQxTreeView* TreeView() const;
    TTreeNodes* Owner() const;

    QString Text() const { return text(0); }
    void SetText(const QString& value) { setText(0, value); }
    // Picture of the node from the tree's Images; SelectedIndex while the node is selected.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int value);
    // Picture from the tree's state images in front of the node (-1 and 0: none).
    int StateIndex() const { return FStateIndex; }
    void SetStateIndex(int value);
    int OverlayIndex() const { return FOverlayIndex; }
    void SetOverlayIndex(int value) { FOverlayIndex = value; }
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }

    // 0 for a top node.
    int Level() const;
    TTreeNode* Parent() const;
    int Count() const { return childCount(); }
    TTreeNode* Item(int Index) const;
    bool HasChildren() const { return childCount() > 0; }
    // Position among its siblings, and in the tree's node order.
    int Index() const;
    int AbsoluteIndex() const;
    TTreeNode* getFirstChild() const;
    TTreeNode* getNextSibling() const;
    TTreeNode* getPrevSibling() const;
    // The next node in the tree's node order (depth first), or null.
    TTreeNode* GetNext() const;

    bool Expanded() const { return isExpanded(); }
    void SetExpanded(bool value) { setExpanded(value); }
    bool Selected() const;
    void SetSelected(bool value);

    // Copies text, data and picture indexes from another node.
    virtual void Assign(const TTreeNode* Source);
    // Frees the node and its children.
    void Delete();
    void DeleteChildren();

private:
    int FImageIndex = -1;
    int FSelectedIndex = -1;
    int FStateIndex = -1;
    int FOverlayIndex = -1;
    void* FData = nullptr;
};

// The node of the check tree: its kind of mark, its stored state and how its state spreads.
class TQxCheckTreeNode : public TTreeNode
{
public:
    enum TCheckType : quint8 { ctNone = 0, ctCheckBox = 1, ctRadio = 2, ctHiddenCheck = 3 };
    enum TCheckBoxState { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };

    TQxCheckTreeNode() = default;

    TCheckType CheckType() const { return FCheckType; }
    void SetCheckType(TCheckType value);
    bool Enabled() const { return FEnabled; }
    // A disabled node keeps its state against the user and shows the inactive mark.
    void SetEnabled(bool value);
    bool CascadeDown() const { return FCascadeDown; }
    void SetCascadeDown(bool value);
    bool CascadeUp() const { return FCascadeUp; }
    void SetCascadeUp(bool value);

    TCheckBoxState GetState() const;
    void SetState(TCheckBoxState State, bool CascadeDownNow, bool CascadeUpNow);
    void SetChecked(bool Checked);
    bool Checked() const { return GetState() == cbChecked; }

    // The 3-D look under the mouse, the plain look otherwise (hot tracking).
    virtual void UpdateHotImage(bool Hot);
    void Assign(const TTreeNode* Source) override;

    // The first state image of a kind of mark in a state, or -1 when the kind shows none.
    static int BaseImage(TCheckType Type, TCheckBoxState State);

private:
    friend class TQxTreeView;
    bool cascades() const { return FCheckType == ctCheckBox || FCheckType == ctHiddenCheck; }
    void cascadeChildren(TCheckBoxState State);
    void updateParent();

    TCheckType FCheckType = ctCheckBox;
    TCheckBoxState FState = cbUnchecked;
    bool FEnabled = true;
    bool FCascadeDown = true;
    bool FCascadeUp = true;
};

// ---- the node collection ----------------------------------------------------------------------

// The tree's nodes (Items). Stored with the form as the binary value "Data": every node's
// text and picture indexes, depth first.
class TTreeNodes : public qx::PersistentObject
{
    Q_OBJECT
public:
    explicit TTreeNodes(TQxTreeView* owner);

    TQxTreeView* Owner() const { return FOwner; }
    // All nodes, at every level.
    int Count() const;
    // The node at Index in the tree's node order (depth first), or null.
    TTreeNode* Item(int Index) const;
    TTreeNode* operator[](int Index) const { return Item(Index); }
    TTreeNode* GetFirstNode() const;

    // A new last sibling of Sibling (a new top node when Sibling is null).
    TTreeNode* Add(TTreeNode* Sibling, const QString& S);
    TTreeNode* AddFirst(TTreeNode* Sibling, const QString& S);
    // A new last child of Parent (a new top node when Parent is null).
    TTreeNode* AddChild(TTreeNode* Parent, const QString& S);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const QString& S);
    // A new node just before Sibling (a new last top node when Sibling is null).
    TTreeNode* Insert(TTreeNode* Sibling, const QString& S);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

    QByteArray NodeData() const;
    // Replaces every node by those of a stored value; a damaged value raises EReadError and
    // leaves the tree empty.
    void SetNodeData(const QByteArray& data);

    void writeExtraProperties(qx::ImageWriter& writer, const QByteArray& prefix) const override;
    bool readExtraProperty(const QByteArray& name, qx::ImageReader& reader) override;

private:
    TTreeNode* insertAt(TTreeNode* parent, int index, const QString& S);

    TQxTreeView* FOwner = nullptr;
    int FUpdateCount = 0;
};

// ---- the tree -----------------------------------------------------------------------------------

using TTVChangedEvent = std::function<void(QObject* Sender, TTreeNode* Node)>;

class TQxTreeView : public QTreeWidget, public qx::ControlProps<TQxTreeView>, public qx::Streamable
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Color=clWindow;HotTrack=false;Indent=19;ShowRoot=true;"
                              "TabStop=true;Flatness=cfAlwaysFlat;GrayedIsChecked=false")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool HotTrack READ HotTrack WRITE SetHotTrack)
    Q_PROPERTY(TImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(int Indent READ Indent WRITE SetIndent)
    // The look comes before the nodes: setting it redraws every node's mark, which must not
    // touch the mark pictures the nodes are stored with.
    Q_PROPERTY(TCheckFlatness Flatness READ Flatness WRITE SetFlatness)
    Q_PROPERTY(bool GrayedIsChecked READ GrayedIsChecked WRITE SetGrayedIsChecked)
    Q_PROPERTY(TTreeNodes* Items READ Items)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool ShowRoot READ ShowRoot WRITE SetShowRoot)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    enum TCheckFlatness { cfAlwaysFlat, cfAlways3d, cfHotTrack };
    Q_ENUM(TCheckFlatness)

    // Side of a state image.
    static constexpr int StateImageSize = 16;

    explicit TQxTreeView(QWidget* parent = nullptr);
    ~TQxTreeView() override;

    TTreeNodes* Items() const { return FItems; }
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* Node);
    // The node at a point of the tree's client area, or null.
    TTreeNode* GetNodeAt(int X, int Y) const;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* value);
    int Indent() const { return indentation(); }
    void SetIndent(int value) { setIndentation(value); }
    bool ShowRoot() const { return rootIsDecorated(); }
    void SetShowRoot(bool value) { setRootIsDecorated(value); }
    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }
    void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus); }
    // The look of the marks; a change redraws every node's mark.
    TCheckFlatness Flatness() const { return FFlatness; }
    void SetFlatness(TCheckFlatness value);
    bool GrayedIsChecked() const { return FGrayedIsChecked; }
    void SetGrayedIsChecked(bool value) { FGrayedIsChecked = value; }

    // The sixteen mark pictures, or null for a tree made in code. A tree read from a form
    // image has them; a form that builds its tree in its constructor calls CreateStateImages,
    // as loading it from a form would.
    TImageList* StateImages() const { return FStateImages.get(); }
    void CreateStateImages();

    // Every node's kind of mark and enabled flag, two bytes per node in node order.
    QByteArray CheckNodesData() const;
    // Reads them back into the nodes without the setters' side effects. A value too short for
    // the nodes, or naming an unknown kind, raises EReadError.
    void SetCheckNodesData(const QByteArray& data);

    // The user's change of a node's mark.
    void ToggleNode(TTreeNode* Node);
    // The node under the mouse while hot-tracking.
    TTreeNode* HotNode() const;
    // The rectangle of a node's state image in the client area (empty without state images).
    QRect StateIconRect(TTreeNode* Node) const;

    // Makes every new node; the check tree's nodes are TQxCheckTreeNode.
    virtual TTreeNode* CreateNode();

    void writeExtraProperties(qx::ImageWriter& writer, const QByteArray& prefix) const override;
    bool readExtraProperty(const QByteArray& name, qx::ImageReader& reader) override;
    std::optional<QList<QObject*>> streamedChildren() const override;

    // The selected node changed (never called with no node).
    TTVChangedEvent OnChange;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TKeyEvent OnKeyDown;

protected:
    virtual void Change(TTreeNode* Node);
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    friend class TTreeNodes;
    friend class TQxCheckTreeNode;
    class Delegate;

    void setHotNode(TTreeNode* node);
    bool onStateIcon(TTreeNode* node, const QPoint& pos) const;

    TTreeNodes* FItems = nullptr;
    TColor FColor = clWindow;
    bool FHotTrack = false;
    QPointer<TImageList> FImages;
    TCheckFlatness FFlatness = cfAlwaysFlat;
    bool FGrayedIsChecked = false;
    std::unique_ptr<TImageList> FStateImages;
    QPersistentModelIndex FHotIndex;
};
