// TQxListBox: the library's list box whose items carry a three-state check box and a small
// picture from an image list in front of their text. The grid dialogs let the user tick
// columns and fields with it.
//
// An item's check state lives in a small record that travels with the item itself, so it
// stays right when the list sorts, when items are inserted before it, and when the list is
// rebuilt (RecreateWnd). The pictures are numbered per position in a side list instead.
#pragma once

#include "platform/ui/Colors.h"
#include "platform/ui/ControlProps.h"
#include "platform/ui/Events.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/VclTypes.h"

#include <QList>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QStringList>

#include <functional>

class TQxListBox;

// The platform's drawing styles of a list box (the platform's enumeration of this name; the
// library's own set of the same name is TQxListBox::TListBoxStyle).
namespace StdCtrls {
Q_NAMESPACE
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
Q_ENUM_NS(TListBoxStyle)
} // namespace StdCtrls

// The list box's item strings (Items): adding, inserting and deleting items keeps every
// item's check record with its item.
class TListBoxStrings
{
public:
    explicit TListBoxStrings(TQxListBox* listBox) : FListBox(listBox) {}

    int Count() const;
    QString Strings(int Index) const;
    void SetStrings(int Index, const QString& S);
    // Appends S, or puts it at its sorted place when the list is Sorted; returns its index.
    int Add(const QString& S);
    void Insert(int Index, const QString& S);
    void Delete(int Index);
    void Clear();
    // The first item equal to S, ignoring case, or -1.
    int IndexOf(const QString& S) const;
    QStringList Text() const;

private:
    TQxListBox* FListBox = nullptr;
};

class TQxListBox : public QListWidget, public qx::ControlProps<TQxListBox>
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "BorderStyle=bsSingle;Color=clWindow;Ctl3D=true;ItemHeight=16;"
                              "MultiSelect=false;Sorted=false;Style=lbStandard;TabStop=true;"
                              "ListBoxStyle=[];Flat=true;AllowGrayed=false")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Vcl::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(QStringList Items READ ItemStrings WRITE SetItemStrings)
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(StdCtrls::TListBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(TListBoxStyle ListBoxStyle READ ListBoxStyle WRITE SetListBoxStyle)
    Q_PROPERTY(TImageList* ImageList READ ImageList WRITE SetImageList)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)

public:
    // What an item shows: a check box column, a picture column (one bit each).
    enum TListBoxStyleFlag { lbsCheckBox = 0x1, lbsBitmap = 0x2 };
    Q_DECLARE_FLAGS(TListBoxStyle, TListBoxStyleFlag)
    Q_FLAG(TListBoxStyle)

    // The state flags handed to an item drawing (the platform's values).
    enum TOwnerDrawStateFlag { odSelected = 0x1, odDisabled = 0x4, odFocused = 0x10 };
    Q_DECLARE_FLAGS(TOwnerDrawState, TOwnerDrawStateFlag)
    // Drawing events draw on Canvas(), which is valid during the event only.
    using TDrawItemEvent =
        std::function<void(QObject* Control, int Index, const QRect& Rect, TOwnerDrawState State)>;
    using TMeasureItemEvent = std::function<void(QObject* Control, int Index, int& Height)>;

    // An item's check state, with the values the saved states carry.
    enum TCheckBoxState { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };
    Q_ENUM(TCheckBoxState)

    // Width of the check box column, and the side of the box drawn in it.
    static constexpr int CheckWidth = 15;

    explicit TQxListBox(QWidget* parent = nullptr);
    ~TQxListBox() override;

    TListBoxStrings* Items() { return &FItems; }
    QStringList ItemStrings() const;
    void SetItemStrings(const QStringList& value);

    // The current item (the focused one in a multi-selection list), or -1.
    int ItemIndex() const { return currentRow(); }
    void SetItemIndex(int value);
    bool Selected(int Index) const;
    void SetSelected(int Index, bool value);
    int SelCount() const;

    Vcl::TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(Vcl::TFormBorderStyle value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Switching between the 3-D and the flat border re-creates the list (RecreateWnd).
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    // Height of every item (an owner-drawn variable list asks OnMeasureItem). A standard list
    // on screen takes the text height of its font whenever the font changes.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* value) { FPopupMenu = value; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    StdCtrls::TListBoxStyle Style() const { return FStyle; }
    void SetStyle(StdCtrls::TListBoxStyle value);
    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }
    void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus); }

    TListBoxStyle ListBoxStyle() const { return FListBoxStyle; }
    void SetListBoxStyle(TListBoxStyle value);
    // The source of the item pictures; forgotten when that list is freed.
    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }

    // Per item. Index must name an existing item (ERangeError otherwise), except for the
    // picture numbers and ToggleClickCheck, which take any Index.
    bool GetChecked(int Index) const;
    void SetChecked(int Index, bool Checked);
    TCheckBoxState GetState(int Index) const;
    void SetState(int Index, TCheckBoxState State);
    bool GetItemEnabled(int Index) const;
    void SetItemEnabled(int Index, bool Enabled);
    // The caller's own value kept with the item (0 when never set). Setting it while the list
    // is being rebuilt also gives the item back its saved check state.
    int GetItemData(int Index) const;
    void SetItemData(int Index, int Data);
    // The picture number of the item at position Index; the side list grows with "0"
    // entries as far as Index when it is shorter.
    int GetItemImageIndex(int Index);
    void SetItemImageIndex(int Index, int ImageIndex);
    // The side list of picture numbers, one decimal string per position.
    QStringList ImageIndexes() const { return FImageIndexes; }
    // The user's change of an item: the next state in the cycle, then OnClickCheck.
    void ToggleClickCheck(int Index);

    // Rebuilds the list as a re-created window does: the items go and come back with their
    // texts, data values and check states.
    void RecreateWnd();

    // The painter of the item drawing under way (OnDrawItem draws on it); null otherwise.
    QPainter* Canvas() const { return FCanvas; }
    // The rectangle of an item in the list's client area.
    QRect ItemRect(int Index) const;
    // The item at a client point, or -1.
    int ItemAtPos(const QPoint& Pos) const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TKeyEvent OnKeyDown;
    TNotifyEvent OnClickCheck;

protected:
    virtual void Click();
    virtual void DblClick();
    // Draws one item: check box, picture, then the text (or OnDrawItem for an owner-drawn
    // list).
    virtual void DrawItem(QPainter& Canvas, int Index, const QRect& Rect, TOwnerDrawState State);
    virtual int MeasureItem(int Index);

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TListBoxStrings;
    class Delegate;

    void checkIndex(int Index) const;
    // The enabled item whose check column holds pos, or -1.
    int checkAreaHit(const QPoint& pos) const;
    void invalidateCheck(int Index);
    void applyFrame();
    void applyFontHeight();
    int insertText(int Index, const QString& S);
    int sortedPosition(const QString& S) const;
    void layoutChanged();

    TListBoxStrings FItems;
    Vcl::TFormBorderStyle FBorderStyle = Vcl::bsSingle;
    TColor FColor = clWindow;
    bool FCtl3D = true;
    int FItemHeight = 16;
    bool FMultiSelect = false;
    QPointer<QMenu> FPopupMenu;
    bool FSorted = false;
    StdCtrls::TListBoxStyle FStyle = StdCtrls::lbStandard;
    TListBoxStyle FListBoxStyle;
    QPointer<TImageList> FImageList;
    bool FFlat = true;
    bool FAllowGrayed = false;
    QStringList FImageIndexes;
    // States and disabled flags of the items while the list is rebuilt, in item order:
    // state in bits 16 to 23, disabled flag in bits 0 to 7.
    QList<quint32> FSaveStates;
    QPainter* FCanvas = nullptr;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TQxListBox::TListBoxStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TQxListBox::TOwnerDrawState)
