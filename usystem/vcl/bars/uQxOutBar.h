// TQxOutBar: a side bar of stacked panel tabs. Clicking a tab opens its panel; the open
// panel's area between the tabs above it and the tabs below shows a column of image buttons
// with captions, large (image above caption) or small (image left of caption), scrolled with
// two arrow boxes that repeat while held. Clicks reach the program through the panels' and
// buttons' own onClick.
//
// The bar draws a part the moment it changes (a tab turning hot, a button pressed, a scroll
// step), so it keeps its picture in an image: Layout draws the whole picture, the drawing
// routines change it in place, and the paint event only shows it.
#pragma once

#include "platform/stream/Persistent.h"
#include "platform/ui/Colors.h"
#include "platform/ui/ControlProps.h"
#include "platform/ui/Events.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/VclTypes.h"

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class TKyOutButtons;
class TKyOutPanel;
class TKyOutPanels;
class TQxOutBar;

// Asked before a control's popup menu opens; Handled keeps the menu shut.
using TContextPopupEvent = std::function<void(QObject* Sender, QPoint MousePos, bool& Handled)>;

// ---- buttons ---------------------------------------------------------------------------------

class TKyOutButton : public qx::CollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)

public:
    explicit TKyOutButton(qx::Collection* collection);
    ~TKyOutButton() override;

    TKyOutButtons* Buttons() const;
    QString Text() const { return FText; }
    void SetText(const QString& value);
    // The picture from the bar's Images or SmallImages (by the panel's SmallImages).
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

    // Text, or the class name when Text is empty.
    QString DisplayName() const;
    // Copies Text, ImageIndex and onClick.
    void Assign(const TKyOutButton* Source);

    // Where the bar's last layout put the button and its picture frame (empty while the
    // button is not shown).
    QRect ButtonRect() const { return FButtonRect; }
    QRect ImageRect() const { return FImageRect; }

    // Sender is the button item.
    TNotifyEvent onClick;

private:
    friend class TQxOutBar;

    QString FText;
    int FImageIndex = 0;
    QRect FButtonRect;
    QRect FImageRect;
};

// A panel's buttons; a change of one of them is a change of the panel.
class TKyOutButtons : public qx::Collection
{
    Q_OBJECT

public:
    explicit TKyOutButtons(TKyOutPanel* panel);
    ~TKyOutButtons() override;

    TKyOutPanel* Panel() const { return FPanel; }
    int Count() const { return count(); }
    TKyOutButton* Items(int index) const;
    TKyOutButton* Add();

protected:
    void update(qx::CollectionItem* item) override;

private:
    TKyOutPanel* FPanel;
};

// ---- panels ----------------------------------------------------------------------------------

class TKyOutPanel : public qx::CollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(TKyOutButtons* Buttons READ Buttons)
    Q_PROPERTY(bool SmallImages READ SmallImages WRITE SetSmallImages)

public:
    explicit TKyOutPanel(qx::Collection* collection);
    ~TKyOutPanel() override;

    TKyOutPanels* Panels() const;
    QString Text() const { return FText; }
    void SetText(const QString& value);
    TKyOutButtons* Buttons() const { return FButtons; }
    // Small buttons (picture left of the caption) from the bar's SmallImages.
    bool SmallImages() const { return FSmallImages; }
    void SetSmallImages(bool value);

    // Text, or the class name when Text is empty.
    QString DisplayName() const;
    // Copies Text only.
    void Assign(const TKyOutPanel* Source);

    // Where the bar's last layout put the panel's tab.
    QRect TabRect() const { return FTabRect; }

    // Sender is the panel item.
    TNotifyEvent onClick;

private:
    friend class TQxOutBar;
    friend class TKyOutButtons;

    QString FText;
    TKyOutButtons* FButtons = nullptr; // a child object of the panel
    bool FSmallImages = false;
    QRect FTabRect;
};

// The bar's panels: a change of one panel redraws its tab, a change of the whole collection
// lays the bar out again.
class TKyOutPanels : public qx::Collection
{
    Q_OBJECT

public:
    explicit TKyOutPanels(TQxOutBar* bar);
    ~TKyOutPanels() override;

    TQxOutBar* Bar() const { return FBar; }
    int Count() const { return count(); }
    TKyOutPanel* Items(int index) const;
    TKyOutPanel* Add();

protected:
    void update(qx::CollectionItem* item) override;

private:
    friend class TQxOutBar;

    TQxOutBar* FBar;
};

// ---- the bar ---------------------------------------------------------------------------------

class TQxOutBar : public QWidget, public qx::ControlProps<TQxOutBar>
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Align=alLeft")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(TImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(TImageList* SmallImages READ SmallImages WRITE SetSmallImages)
    Q_PROPERTY(TKyOutPanels* Panels READ Panels)
    Q_PROPERTY(int PanelIndex READ PanelIndex WRITE SetPanelIndex)
    Q_PROPERTY(int TabHeight READ TabHeight WRITE SetTabHeight)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    // How DrawTab draws a tab.
    enum TTabState { tsHot = 0, tsNormal = 1, tsPressed = 2 };
    // How DrawButton draws a button's picture frame.
    enum TButtonState { bsHot = 0, bsFlat = 1, bsPressed = 2 };

    // Tabs beyond this many are not laid out.
    static constexpr int MaxLaidOutPanels = 128;
    // The repeat of a held arrow, in milliseconds.
    static constexpr int ScrollInterval = 200;

    explicit TQxOutBar(QWidget* parent = nullptr);
    ~TQxOutBar() override;

    TKyOutPanels* Panels() const { return FPanels; }
    int PanelIndex() const { return FPanelIndex; }
    // Forgets the hot tab and button; a new index lays the bar out again.
    void SetPanelIndex(int Value);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int Value);
    // Image lists, not owned; a list that goes away leaves the reference empty.
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* Value) { FImages = Value; }
    TImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* Value) { FSmallImages = Value; }
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* Value) { FPopupMenu = Value; }

    // Draws the ground and the frame; with Full also the tabs and the open panel's buttons,
    // placing them anew. Nothing while the bar has no area.
    void Layout(bool Full);
    // Places and draws the open panel's buttons and arrows; ResetTop scrolls to the first.
    void LayoutButtons(bool ResetTop);
    void DrawTab(int Index, int State);
    // Index counts the open panel's buttons.
    void DrawButton(int Index, int State);

    // The panel whose buttons show, or null.
    TKyOutPanel* OpenPanel() const;
    // The laid-out tab at a point of the client area, or -1.
    int TabAt(const QPoint& Pos) const;

    QRect ButtonArea() const { return FButtonArea; }
    // Runs only while an arrow is held.
    QTimer* ScrollTimer() const { return FScrollTimer.get(); }
    int TopButton() const { return FTopButton; }
    int LastButton() const { return FLastButton; }
    QRect UpArrowRect() const { return FUpArrowRect; }
    bool UpArrowShown() const { return FUpArrowShown; }
    bool UpArrowPressed() const { return FUpArrowPressed; }
    QRect DownArrowRect() const { return FDownArrowRect; }
    bool DownArrowShown() const { return FDownArrowShown; }
    bool DownArrowPressed() const { return FDownArrowPressed; }
    int OpenHeight() const { return FOpenHeight; }
    int PressedTab() const { return FPressedTab; }
    int PressedButton() const { return FPressedButton; }
    int HotButton() const { return FHotButton; }
    int HotTab() const { return FHotTab; }

    // The picture as last drawn.
    const QImage& CanvasImage() const { return FCanvas; }

    TNotifyEvent OnClick;
    TContextPopupEvent OnContextPopup;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;

protected:
    virtual void Click();
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TKyOutPanels;

    int laidOutCount() const;
    TImageList* buttonImages(const TKyOutPanel* panel) const;
    // The shown button whose rectangle (or only its picture frame) holds Pos, or -1.
    int buttonAt(const QPoint& Pos, bool imageOnly) const;
    void panelChanged(TKyOutPanel* panel);
    void drawArrow(bool up);
    void scrollStep(bool up);
    void scrollTimerTick();
    void refresh(const QRect& r);

    TKyOutPanels* FPanels = nullptr; // a child object of the bar
    QRect FButtonArea;
    std::unique_ptr<QTimer> FScrollTimer;
    int FTopButton = 0;
    int FLastButton = -1;
    QRect FUpArrowRect;
    bool FUpArrowShown = false;
    bool FUpArrowPressed = false;
    QRect FDownArrowRect;
    bool FDownArrowShown = false;
    bool FDownArrowPressed = false;
    int FPanelIndex = 0;
    int FTabHeight = 23;
    int FOpenHeight = 0;
    int FPressedTab = -1;
    int FPressedButton = -1;
    int FHotButton = -1;
    int FHotTab = -1;
    QPointer<TImageList> FImages;
    QPointer<TImageList> FSmallImages;

    QPointer<QMenu> FPopupMenu;
    QImage FCanvas;
    bool FPainting = false;
    bool FClicked = false;
};
