// The library's combo boxes. TQxCustomComboBox is the platform's combo box drawn flat: a
// 2-pixel border in the window or button-face colour instead of the 3-D one when Ctl3D is
// off, thin frame lines on the edges FrameStyle names, clInfoBk while it has the focus, Enter
// moving the focus on and the numeric keypad's plus opening and closing the list.
// TQxComboBox draws its items itself, each with a picture of an image list before its text.
//
// The combo box paints its face itself (border, the text or the drawn item, the drop-down
// button) so that it looks the same on every desktop; the list is the platform's pop-up with
// the items drawn by DrawItem.
#pragma once

#include "platform/ui/AlignLayout.h"
#include "platform/ui/Colors.h"
#include "platform/ui/ControlProps.h"
#include "platform/ui/Events.h"
#include "platform/ui/Focus.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Keys.h"
#include "platform/ui/VclTypes.h"

#include <QComboBox>
#include <QFlags>
#include <QPointer>
#include <QStringList>

#include <functional>

class QPainter;

namespace QxComboTypes {
Q_NAMESPACE
// The platform's combo box styles: an edit with a drop-down list, an edit over an always
// shown list, a pick-only list, and pick-only lists whose items the control draws (all of one
// height, or each measured).
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
Q_ENUM_NS(TComboBoxStyle)
} // namespace QxComboTypes
using QxComboTypes::TComboBoxStyle;
using enum QxComboTypes::TComboBoxStyle;

// The state of an item being drawn; odComboBoxEdit marks the item shown in the face.
enum TOwnerDrawStateFlag {
    odSelected = 0x0001,
    odGrayed = 0x0002,
    odDisabled = 0x0004,
    odChecked = 0x0008,
    odFocused = 0x0010,
    odDefault = 0x0020,
    odComboBoxEdit = 0x1000,
};
Q_DECLARE_FLAGS(TOwnerDrawState, TOwnerDrawStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOwnerDrawState)

// Drawing events draw on the control's Canvas(), which is valid during the event only.
using TDrawItemEvent =
    std::function<void(QObject* Control, int Index, const QRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(QObject* Control, int Index, int& Height)>;

// Fills the four edge strips (2 pixels wide) of the window's rectangle with the button-face
// colour (UseFace) or the window colour, covering the platform's 3-D border.
void PaintFlatComboBorder(QWidget* Wnd, QPainter& Canvas, bool UseFace);

class TQxCustomComboBox : public QComboBox, public qx::ControlProps<TQxCustomComboBox>
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Style=csDropDown;Color=clWindow;Ctl3D=true;DropDownCount=8;"
                              "ItemHeight=16;ItemIndex=-1;Enabled=true;Visible=true;ShowHint=true;"
                              "Tag=0;FrameStyle=[];LineColor=clBlack;Align=alNone")
    Q_CLASSINFO("QxIntegerKinds", "Color,LineColor=TColor")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(QxComboTypes::TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vcl::TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(int LineColor READ LineColor WRITE SetLineColor)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)

public:
    explicit TQxCustomComboBox(QWidget* parent = nullptr);
    ~TQxCustomComboBox() override;

    TComboBoxStyle Style() const { return m_style; }
    virtual void SetStyle(TComboBoxStyle value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool value);
    int DropDownCount() const { return maxVisibleItems(); }
    void SetDropDownCount(int value) { setMaxVisibleItems(qMax(1, value)); }
    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int value);
    QStringList Items() const;
    virtual void SetItems(const QStringList& value);
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int value);
    // The edit text for the styles with an edit, else the selected item's text.
    QString Text() const;
    // With an edit: the edit text. Without: the item of that text is selected (none when no
    // item has it).
    void SetText(const QString& value);
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    void SetFrameStyle(TFrameStyle value);
    TColor LineColor() const { return m_lineColor; }
    void SetLineColor(TColor value);

    // Whether the list is shown; setting it opens or closes the list.
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    // The colour put back when the focus leaves.
    TColor RememberedColor() const { return m_rememberedColor; }
    // Whether the style has an edit part (csDropDown, csSimple).
    bool HasEdit() const { return m_style == csDropDown || m_style == csSimple; }
    // Whether the style has items drawn by DrawItem.
    bool IsOwnerDraw() const { return m_style == csOwnerDrawFixed || m_style == csOwnerDrawVariable; }
    void SelectAll();

    // The painter of the item being drawn: its brush is the item's background, its pen the
    // text colour, its font the control's. Null outside DrawItem.
    QPainter* Canvas() const { return m_canvas; }
    // Draws item Index in Rect on Canvas(); calls OnDrawItem when assigned.
    virtual void DrawItem(int Index, const QRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    // The height of item Index in the list.
    int ItemHeightOf(int Index);
    // Draws item Index (-1: none) with the colours of its state: the face and the list call it.
    void PaintItem(QPainter& Painter, int Index, const QRect& Rect, TOwnerDrawState State);

    TNotifyEvent OnChange;
    TNotifyEvent OnClick;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void showPopup() override;
    void hidePopup() override;

protected:
    virtual void KeyDown(int& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void KeyUp(int& Key, TShiftState Shift);
    virtual void DoEnter();
    virtual void DoExit();
    // The user changed the text or picked an item.
    virtual void Change();
    virtual void Click();
    // The user picked an item: OnSelect when assigned, else Change.
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    // Color was set (also while the control has the focus).
    virtual void ColorChanged();
    // The edit part (styles with an edit) was created or the style changed.
    virtual void EditCreated() {}
    // A pick by the user; returns false to refuse it (the face then shows the old value
    // again and the list closes).
    virtual bool AcceptUserPick() { return true; }

    // The border, the frame lines (flat look) over the whole control.
    void PaintFrame(QPainter& Canvas);
    // The rectangles of the face: inside the border; the drop-down button; the text area.
    QRect InnerRect() const;
    QRect ButtonRect() const;
    QRect FaceRect() const;

    // Runs the key pipeline (KeyDown, KeyPress) and hands what is left to the platform.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // True while the control itself changes its text or selection: no Change then.
    bool m_settingByCode = false;

private:
    void applyStyle();
    void applyPalette();
    void placeSimpleList();
    void paintFace(QPainter& p);
    void drawFaceItem(QPainter& p, const QRect& r);
    void userPicked(int index);
    void userEdited();
    void watchPopup();

    TComboBoxStyle m_style = csDropDown;
    TColor m_color = clWindow;
    TColor m_rememberedColor = clWindow;
    bool m_ctl3D = true;
    int m_itemHeight = 16;
    TFrameStyle m_frameStyle;
    TColor m_lineColor = clBlack;
    QPainter* m_canvas = nullptr;
    QPointer<QWidget> m_simpleList;
    bool m_popupWatched = false;
    bool m_colorByFocus = false;
    qx::FocusNotifier m_focus;
};

// The combo box with drawn items, each with a picture of ImageList before its text.
class TQxComboBox : public TQxCustomComboBox
{
    Q_OBJECT
    Q_PROPERTY(TImageList* ImageList READ ImageList WRITE SetImageList)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)

public:
    explicit TQxComboBox(QWidget* parent = nullptr);

    TImageList* ImageList() const { return m_imageList; }
    void SetImageList(TImageList* value);
    // The image index of every item, as decimal text; an item without one draws image 0.
    QStringList& ImageIndexes() { return m_imageIndexes; }

    void DrawItem(int Index, const QRect& Rect, TOwnerDrawState State) override;

protected:
    void KeyPress(QChar& Key) override;

private:
    QPointer<TImageList> m_imageList;
    QStringList m_imageIndexes;
};
